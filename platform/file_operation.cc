#include "platform/file_operation.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {
namespace {

FileWriteGuard* g_active_guard = nullptr;

// A path that can be handed to the system: not empty and without an embedded NUL
// (which would silently cut it short).
bool UsablePath(const std::string& path) { return !path.empty() && path.find('\0') == std::string::npos; }

size_t PathLength(const std::string& path) { return ToUtf16(path).size(); }

enum class EntryKind { kFile, kDirectory, kLinkedDirectory, kOther };

struct Entry {
  std::string name;
  EntryKind kind;
};

EntryKind KindOf(const std::string& path) {
  struct stat link_status {};
  struct stat target {};
  if (::lstat(path.c_str(), &link_status) != 0 || ::stat(path.c_str(), &target) != 0) {
    return EntryKind::kOther;
  }
  if (S_ISDIR(target.st_mode)) {
    return S_ISLNK(link_status.st_mode) ? EntryKind::kLinkedDirectory : EntryKind::kDirectory;
  }
  return S_ISREG(target.st_mode) ? EntryKind::kFile : EntryKind::kOther;
}

// The entries of `directory` except "." and "..", in name order. False when the
// directory cannot be opened.
bool ReadDirectory(const std::string& directory, std::vector<Entry>* out) {
  const std::string dir = directory.empty() ? std::string(".") : directory;
  if (dir.find('\0') != std::string::npos) return false;
  DIR* handle = ::opendir(dir.c_str());
  if (handle == nullptr) return false;
  while (const dirent* e = ::readdir(handle)) {
    const std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    out->push_back({name, KindOf(JoinPath(dir, name))});
  }
  ::closedir(handle);
  std::sort(out->begin(), out->end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  return true;
}

char Fold(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// '*' matches any run of characters, '?' exactly one; ASCII case is ignored.
bool WildcardMatch(std::string_view pattern, std::string_view name) {
  size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || Fold(pattern[p]) == Fold(name[n]))) {
      ++p;
      ++n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// The part of a file name after its last '.', "" when it has none.
std::string_view ExtensionOf(std::string_view name) {
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

// The parent of a path, "/" for a directory right below the root.
std::string ParentOrRoot(const std::string& path) {
  const std::string parent = zarn::ParentDirectory(path);
  return parent.empty() && !path.empty() && path[0] == kPathSeparator ? std::string(kPathSeparatorString) : parent;
}

bool IsEnumerable(const std::string& directory) {
  DIR* handle = ::opendir(directory.c_str());
  if (handle == nullptr) return false;
  const bool readable = ::readdir(handle) != nullptr;
  ::closedir(handle);
  return readable;
}

}  // namespace

FileWriteGuard* ActiveFileWriteGuard() { return g_active_guard; }

void SetActiveFileWriteGuard(FileWriteGuard* guard) { g_active_guard = guard; }

void CFileOperation::Note(FileCopyNote::Kind kind, const std::string& source, const std::string& destination,
                          std::string reason) const {
  if (notes_ != nullptr) notes_(FileCopyNote{kind, source, destination, std::move(reason)});
}

void CFileOperation::RecordError(int32_t code, const std::string& text) {
  error_code_ = code;
  error_text_ = text;
  ++failure_count_;
}

bool CFileOperation::FileExists(const std::string& path) const {
  if (!UsablePath(path)) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return false;
  struct stat status {};
  const bool is_file = ::fstat(fd, &status) == 0 && !S_ISDIR(status.st_mode);
  ::close(fd);
  return is_file;
}

int32_t CFileOperation::GetPathType(const std::string& path) const {
  if (path.find('\0') != std::string::npos) return kPathUnreadable;
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) {
    return errno == ENOENT || errno == ENOTDIR ? kPathMissing : kPathUnreadable;
  }
  return S_ISDIR(status.st_mode) ? kPathDirectory : kPathFile;
}

void CFileOperation::AddBackslash(std::string* path) { *path = WithTrailingSeparator(*path); }

bool CFileOperation::ClearReadOnly(const std::string& path) {
  struct stat status {};
  if (!UsablePath(path) || ::stat(path.c_str(), &status) != 0) return false;
  if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) != 0) return true;
  if (::chmod(path.c_str(), (status.st_mode & 07777) | S_IWUSR) == 0) return true;
  RecordError(errno, "cannot make writable: " + path);
  return false;
}

std::string CFileOperation::ParentDirectory(const std::string& path) { return zarn::ParentDirectory(path); }

std::string CFileOperation::DirectoryOfFile(const std::string& path) { return zarn::DirectoryOfFile(path); }

bool CFileOperation::CreateDirectories(const std::string& path) {
  if (!UsablePath(path)) return false;
  std::vector<std::string> missing;
  for (std::string level = WithoutTrailingSeparator(path);
       !level.empty() && level != kPathSeparatorString && GetPathType(level) != kPathDirectory;
       level = zarn::ParentDirectory(level)) {
    missing.push_back(level);
  }
  for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
    if (::mkdir(it->c_str(), 0777) != 0 && !(errno == EEXIST && GetPathType(*it) == kPathDirectory)) {
      RecordError(errno, "cannot create directory " + *it);
      return false;
    }
  }
  return true;
}

void CFileOperation::ListFiles(const std::string& directory, std::vector<std::string>* out,
                               const std::string& ending) const {
  std::vector<Entry> entries;
  ReadDirectory(directory, &entries);
  for (const Entry& e : entries) {
    if (e.kind == EntryKind::kFile && EndsWithNoCase(e.name, ending)) {
      out->push_back(JoinPath(directory, e.name));
    }
  }
}

void CFileOperation::ListFilesByExtension(const std::string& directory, const std::string& extension,
                                          std::vector<std::string>* out) const {
  const std::string_view wanted = std::string_view(extension).substr(extension.starts_with('.') ? 1 : 0);
  std::vector<Entry> entries;
  ReadDirectory(directory, &entries);
  for (const Entry& e : entries) {
    const std::string path = JoinPath(directory, e.name);
    if (e.kind == EntryKind::kDirectory) {
      ListFilesByExtension(path, extension, out);
    } else if (e.kind == EntryKind::kFile && EqualsNoCase(ExtensionOf(e.name), wanted)) {
      out->push_back(path);
    }
  }
}

void CFileOperation::ListByPattern(const std::string& directory, const std::string& pattern,
                                   std::vector<std::string>* out) const {
  std::vector<Entry> entries;
  ReadDirectory(directory, &entries);
  for (const Entry& e : entries) {
    if (e.kind != EntryKind::kFile || !WildcardMatch(pattern, e.name)) continue;
    const std::string extension = SplitPath(e.name).extension;
    if (extension.size() > 4 || EqualsNoCase(extension, ".xml")) out->push_back(JoinPath(directory, e.name));
  }
}

uint64_t CFileOperation::GetFileSize64(const std::string& path) const {
  struct stat status {};
  if (!UsablePath(path) || ::stat(path.c_str(), &status) != 0) return 0;
  return static_cast<uint64_t>(status.st_size);
}

bool CFileOperation::DoFileCopy(const std::string& source, const std::string& destination, bool move) {
  if (!UsablePath(source) || !UsablePath(destination) || PathLength(source) > kMaxPath ||
      PathLength(destination) > kMaxPath) {
    RecordError(ENAMETOOLONG, "path refused: " + destination);
    return false;
  }
  bool result = true;
  if (FileExists(destination)) {
    if (GetFileSize64(source) != GetFileSize64(destination)) {
      Note(FileCopyNote::Kind::kOverwriteOfOtherSize, source, destination);
    }
    struct stat status {};
    if (::stat(destination.c_str(), &status) != 0) {
      RecordError(errno, "cannot read the status of " + destination);
      result = false;
    } else if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
      ClearReadOnly(destination);
    }
  }
  // Device XML files never travel into the file area; they are converted instead.
  if (FindNoCase(source, ".device.xml") != std::string::npos) return result;
  FileWriteGuard* journal = ActiveFileWriteGuard();
  if (result && journal != nullptr && !journal->BeforeWrite(destination)) {
    RecordError(EIO, "cannot keep the former " + destination);
    result = false;
  }
  if (result && !move && journal != nullptr && LinkEarlierCopy(*journal, source, destination)) return true;
  if (result) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const auto options = move ? fs::copy_options::none : fs::copy_options::overwrite_existing;
    if (!fs::copy_file(source, destination, options, ec)) {
      RecordError(ec.value(), "cannot copy " + source + " to " + destination);
      Note(FileCopyNote::Kind::kCopyFailed, source, destination, ec.message());
      result = false;
    }
  }
  if (result && move) DeletePath(source);
  if (result && !move && journal != nullptr) journal->NoteCopy(source, destination);
  return result;
}

// One import copies one source file into several component directories (the
// device variants of one IODD): the second and later copies are hard links to the
// first, so the file area holds the file once. Nothing writes a file-area file in
// place (an overwrite first moves the former file aside), so the copies never
// change each other. False when there is no earlier copy or no link can be made.
bool CFileOperation::LinkEarlierCopy(const FileWriteGuard& journal, const std::string& source,
                                     const std::string& destination) {
  const std::string earlier = journal.EarlierCopy(source);
  if (earlier.empty() || earlier == destination || FileExists(destination)) return false;
  if (GetFileSize64(earlier) != GetFileSize64(source)) return false;
  std::error_code ec;
  std::filesystem::create_hard_link(earlier, destination, ec);
  return !ec;
}

bool CFileOperation::CopyPath(const std::string& source, const std::string& destination, bool /*move*/) {
  const int32_t from = GetPathType(source);
  const int32_t to = GetPathType(destination);
  if (from <= kPathMissing || to <= kPathMissing || (from == kPathDirectory && to == kPathFile)) return false;
  if (from == kPathDirectory) {
    if (!IsEnumerable(source)) return false;
    CopyDirectory(JoinPath(source, "*.*"), destination);
    return true;
  }
  if (to == kPathFile) return DoFileCopy(source, destination, false);
  return DoFileCopy(source, JoinPath(destination, FileNamePart(source)), false);
}

bool CFileOperation::Copy(const std::string& source, const std::string& destination) {
  const bool into_own_parent = GetPathType(source) == kPathDirectory &&
                               EqualsNoCase(ParentOrRoot(source), WithoutTrailingSeparator(destination));
  const bool result = into_own_parent || CopyPath(source, destination, false);
  recursion_depth_ = -1;
  return result;
}

void CFileOperation::CopyDirectory(const std::string& source_pattern, const std::string& destination) {
  const bool whole = GetPathType(source_pattern) == kPathDirectory;
  const std::string directory = whole ? source_pattern : zarn::DirectoryOfFile(source_pattern);
  const std::string name = whole ? std::string() : FileNamePart(source_pattern);
  const std::string_view mask = whole || name == "*.*" ? std::string_view("*") : std::string_view(name);
  std::vector<Entry> entries;
  if (!ReadDirectory(directory, &entries)) RecordError(errno, "cannot list " + directory);
  for (const Entry& e : entries) {
    if (!WildcardMatch(mask, e.name)) continue;
    const std::string from = JoinPath(directory, e.name);
    const std::string to = JoinPath(destination, e.name);
    if (e.kind == EntryKind::kFile) {
      DoFileCopy(from, to, false);
    } else if (e.kind == EntryKind::kDirectory && recursion_depth_ != 0 && !IsPathInside(from, destination)) {
      // (A destination inside the subdirectory would make the copy chase itself.)
      if (GetPathType(to) != kPathDirectory && ::mkdir(to.c_str(), 0777) != 0) {
        RecordError(errno, "cannot create directory " + to);
        continue;
      }
      if (recursion_depth_ > 0) --recursion_depth_;
      CopyDirectory(JoinPath(from, "*.*"), to);
    }
  }
}

void CFileOperation::DeletePath(const std::string& path) {
  struct stat status {};
  if (!UsablePath(path) || ::lstat(path.c_str(), &status) != 0) {
    if (UsablePath(path) && errno != ENOENT && errno != ENOTDIR) RecordError(errno, "cannot read " + path);
    return;
  }
  if (!S_ISDIR(status.st_mode)) {
    if (!S_ISLNK(status.st_mode)) ClearReadOnly(path);
    if (::unlink(path.c_str()) != 0) RecordError(errno, "cannot delete " + path);
    return;
  }
  std::vector<Entry> entries;
  if (!ReadDirectory(path, &entries)) RecordError(errno, "cannot list " + path);
  for (const Entry& e : entries) DeletePath(JoinPath(path, e.name));
  if (::rmdir(path.c_str()) != 0) RecordError(errno, "cannot remove directory " + path);
}

bool CFileOperation::Delete(const std::string& path) {
  if (FileWriteGuard* journal = ActiveFileWriteGuard()) {
    bool handled = false;
    const bool removed = journal->Remove(path, &handled);
    if (handled) {
      if (!removed) RecordError(EIO, "cannot move aside " + path);
      return removed;
    }
  }
  const uint32_t failures_before = failure_count_;
  DeletePath(path);
  return failure_count_ == failures_before;
}

bool MatchesFileType(std::string_view inputPath, std::string_view pattern) {
  if (pattern.empty()) return true;
  const size_t dot = inputPath.rfind('.');
  const std::string extension = ToUpper(dot == std::string_view::npos ? inputPath : inputPath.substr(dot + 1));
  const std::string wanted = ToUpper(pattern);
  if (extension.size() != wanted.size()) return false;
  for (size_t i = 0; i < wanted.size(); ++i) {
    if (wanted[i] != '?' && wanted[i] != extension[i]) return false;
  }
  return true;
}

bool FindFiles(const std::string& directory, const std::string& pattern, std::vector<std::string>* list) {
  namespace fs = std::filesystem;
  const size_t before = list->size();
  std::vector<std::string> found;
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(directory, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    const std::string path = it->path().string();
    const bool matches =
        pattern.find('.') != std::string::npos ? EndsWithNoCase(path, pattern) : MatchesFileType(path, pattern);
    if (matches) found.push_back(path);
  }
  std::sort(found.begin(), found.end());
  list->insert(list->end(), found.begin(), found.end());
  return list->size() > before;
}

}  // namespace zarn
