// The checker's shared state: what the walk of the document collects for the checks
// of the file area (catalog_check_files.cc).
#ifndef ZARN_MAINTENANCE_CATALOG_CHECK_INTERNAL_H_
#define ZARN_MAINTENANCE_CATALOG_CHECK_INTERNAL_H_

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalog/catalog_contents.h"
#include "maintenance/catalog_check.h"

namespace zarn {

// A file named by an element: `base` is the fsPath (document form) that holds it.
struct FileReference {
  std::string owner;  // component path of the element
  std::string base;
  std::string value;
  bool in_pi_library;
};

// A directory an element names by its fsPath.
struct OwnedDirectory {
  std::string owner;
  std::string fs_path;
  bool in_pi_library;
};

struct CheckContext {
  explicit CheckContext(const CCatalog_Contents& c, CatalogCheckResult* r) : catalog(c), result(r) {}
  void Report(Invariant invariant, const std::string& path, const std::string& subject, const std::string& message) {
    result->violations.push_back({invariant, path, subject, message});
  }

  const CCatalog_Contents& catalog;
  CatalogCheckResult* result;
  std::unordered_map<std::string, Node> by_path;  // tree elements outside catalog folders
  std::vector<FileReference> references;
  std::vector<OwnedDirectory> directories;
};

// Checks 3 and 4: every fsPath and file reference against the file area, and every
// file of the file area against them.
void CheckFileArea(CheckContext* context);

}  // namespace zarn

#endif  // ZARN_MAINTENANCE_CATALOG_CHECK_INTERNAL_H_
