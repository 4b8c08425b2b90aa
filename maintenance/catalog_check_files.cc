// The file-area checks: every directory and file an element names exists inside the
// catalog directory, and every file of the file area lies in a directory an element
// owns (or is named by one). The catalog's own data, its file and the working
// directories of the import and of the write probe are not part of the file area.
#include <filesystem>
#include <unordered_set>

#include "catalog/catalog_format.h"
#include "maintenance/catalog_check_internal.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {
namespace {

namespace fs = std::filesystem;

bool IsOwnData(const std::string& relative_first_segment) {
  return relative_first_segment == format::kCatalogDataDirectoryName || relative_first_segment == "Device" ||
         relative_first_segment == format::kCatalogFileName ||
         relative_first_segment == std::string(format::kCatalogFileName) + ".lock" ||
         StartsWithNoCase(relative_first_segment, "zarnJournal$$") ||
         StartsWithNoCase(relative_first_segment, std::string(format::kCatalogFileName) + ".tmp");
}

class FileAreaCheck {
 public:
  explicit FileAreaCheck(CheckContext* context)
      : c_(context), root_(NormalisePath(context->catalog.catalogDirectory())) {}

  void Run() {
    if (root_.empty()) return;
    ListFileArea();
    CheckDirectories();
    CheckReferences();
    CheckOrphans();
  }

 private:
  std::string Native(const std::string& fs_path) const {
    return NormalisePath(root_ + DocumentPathToNative("\\" + TrimChars(fs_path, "\\/")));
  }
  bool Inside(const std::string& native) const { return native != root_ && IsPathInside(root_, native); }

  void ListFileArea();
  void CheckDirectories();
  void CheckReferences();
  void CheckOrphans();

  CheckContext* c_;
  std::string root_;
  std::vector<std::string> files_;  // normalised native paths
  std::unordered_set<std::string> owned_;
  std::unordered_set<std::string> referenced_;
  std::unordered_set<std::string> pi_names_;  // file names below a PA library directory
  std::vector<std::string> pi_roots_;
};

void FileAreaCheck::ListFileArea() {
  std::error_code ec;
  for (auto it = fs::recursive_directory_iterator(root_, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    const fs::path relative = it->path().lexically_relative(root_);
    if (IsOwnData(relative.begin()->string())) {
      if (it->is_directory(ec)) it.disable_recursion_pending();
      continue;
    }
    if (it->is_regular_file(ec)) files_.push_back(NormalisePath(it->path().string()));
  }
  c_->result->files = files_.size();
}

void FileAreaCheck::CheckDirectories() {
  for (const OwnedDirectory& d : c_->directories) {
    const std::string native = Native(d.fs_path);
    if (!Inside(native)) {
      c_->Report(Invariant::kFileReferencesResolve, d.owner, d.fs_path, "fsPath lies outside the catalog directory");
      continue;
    }
    std::error_code ec;
    const bool exists = fs::is_directory(native, ec);
    if (exists) owned_.insert(native);
    if (!exists && !d.in_pi_library) {
      c_->Report(Invariant::kFileReferencesResolve, d.owner, d.fs_path, "the component's directory is missing");
    }
    if (exists && c_->by_path.count(d.owner) != 0 && c_->by_path.at(d.owner).Name() == format::kPiLibrary) {
      pi_roots_.push_back(native);
    }
  }
  for (const std::string& file : files_) {
    for (const std::string& pi : pi_roots_) {
      if (IsPathInside(pi, file)) pi_names_.insert(FileNamePart(file));
    }
  }
}

void FileAreaCheck::CheckReferences() {
  for (const FileReference& r : c_->references) {
    const std::string native = NormalisePath(JoinPath(Native(r.base), DocumentPathToNative(r.value)));
    std::error_code ec;
    if (Inside(native) && fs::is_regular_file(native, ec)) {
      referenced_.insert(native);
    } else if (!(r.in_pi_library && pi_names_.count(FileNamePart(r.value)) != 0)) {
      c_->Report(Invariant::kFileReferencesResolve, r.owner, r.value,
                 "the file is not in the component's directory (" + r.base + ")");
    }
  }
}

void FileAreaCheck::CheckOrphans() {
  for (const std::string& file : files_) {
    if (referenced_.count(file) != 0) continue;
    bool owned = false;
    for (std::string d = ParentDirectory(file); !owned && d.size() > root_.size(); d = ParentDirectory(d)) {
      owned = owned_.count(d) != 0;
    }
    if (!owned) {
      c_->Report(Invariant::kNoOrphanFiles, "", file.substr(root_.size()),
                 "no element refers to this file or owns its directory");
    }
  }
}

}  // namespace

void CheckFileArea(CheckContext* context) { FileAreaCheck(context).Run(); }

}  // namespace zarn
