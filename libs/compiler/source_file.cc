#include "libs/compiler/source_file.h"

#include <filesystem>
#include <system_error>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarnl {
namespace fs = std::filesystem;

namespace {

// Length of the UTF-8 sequence starting at s[i], or 0 when it is not valid.
size_t Utf8SequenceLength(const std::string& s, size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
  if (n == 0 || i + n > s.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return 0;
  }
  return n;
}

bool IsValidUtf8(const std::string& s) {
  for (size_t i = 0; i < s.size();) {
    if (static_cast<unsigned char>(s[i]) < 0x80) {
      ++i;
      continue;
    }
    const size_t n = Utf8SequenceLength(s, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

bool Exists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}

// Matches each component of `relative` below `base` without regard to case.
std::string FindNoCase(const std::string& base, const std::string& relative) {
  std::string current = base.empty() ? "." : base;
  for (const std::string& part : zarn::Split(relative, "/")) {
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      current = zarn::JoinPath(current, "..");
      continue;
    }
    std::error_code ec;
    std::string match;
    for (fs::directory_iterator it(current, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string entry = it->path().filename().string();
      if (zarn::EqualsNoCase(entry, part)) {
        match = entry;
        break;
      }
    }
    if (match.empty()) return std::string();
    current = zarn::JoinPath(current, match);
  }
  return Exists(current) ? current : std::string();
}

std::string FindIn(const std::string& dir, const std::string& name) {
  const std::string path = dir.empty() ? name : zarn::JoinPath(dir, name);
  if (Exists(path)) return path;
  return FindNoCase(dir, name);
}

}  // namespace

bool ReadSourceFile(const std::string& path, std::string* text) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) return false;
  if (!zarn::ReadWholeFile(path, text)) return false;
  if (text->size() >= 3 && text->compare(0, 3, "\xEF\xBB\xBF") == 0) text->erase(0, 3);
  if (!IsValidUtf8(*text)) *text = zarn::Latin1ToUtf8(*text);
  return true;
}

std::vector<std::string> SplitIncludePath(const std::string& list) {
  std::vector<std::string> dirs;
  for (const std::string& entry : zarn::Split(list, ";")) {
    std::string dir = zarn::Trim(entry);
    if (!dir.empty()) dirs.push_back(dir);
  }
  return dirs;
}

std::string FindInclude(const std::string& name, const std::string& including_dir,
                        const std::vector<std::string>& include_dirs) {
  std::string native = name;
  for (char& c : native) {
    if (c == '\\') c = '/';
  }
  if (native.empty()) return std::string();
  if (native[0] == '/') return Exists(native) ? native : FindNoCase("/", native);
  std::string found = FindIn(including_dir, native);
  for (size_t i = 0; found.empty() && i < include_dirs.size(); ++i) {
    found = FindIn(include_dirs[i], native);
  }
  return found;
}

std::vector<std::string> IdentificationIncludeDirs(const std::string& source_path, const std::string& catalog_dir) {
  std::string dir = zarn::WithoutTrailingSeparator(zarn::ParentDirectory(source_path));
  if (dir.empty()) dir = ".";
  std::string stop;
  if (!catalog_dir.empty() && zarn::IsPathInside(catalog_dir, dir)) {
    stop = zarn::NormalisePath(catalog_dir);
    dir = zarn::NormalisePath(dir);
  } else {
    const size_t at = zarn::FindNoCase(dir, "/zarn_catalog");
    if (at != std::string::npos && at > 0) {
      stop.assign(dir, 0, at);
      stop.append("/zarn_catalog");
    }
  }
  std::vector<std::string> dirs{dir};
  while (!dir.empty() && dir != stop && dir != "/" && dir.find('/') != std::string::npos) {
    dir = zarn::ParentDirectory(dir);
    if (dir.empty() && source_path[0] == '/') dir = "/";  // the root's child gives the root
    if (dir.empty()) break;
    dirs.push_back(dir);
    dirs.push_back(zarn::JoinPath(dir, "_global"));
  }
  return dirs;
}

}  // namespace zarnl
