// The catalog checker: proves the promises of docs/catalog-invariants.md on a loaded
// catalog and its file area. It reads only (document, index, file area) and its work
// grows linearly with the catalog: one walk of the document, one of the file area.
#ifndef ZARN_MAINTENANCE_CATALOG_CHECK_H_
#define ZARN_MAINTENANCE_CATALOG_CHECK_H_

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

class CCatalog_Contents;

// The promises, numbered as in docs/catalog-invariants.md.
enum class Invariant {
  kDocumentLoads = 1,
  kNoWorkingAttributes = 2,
  kFileReferencesResolve = 3,
  kNoOrphanFiles = 4,
  kRelationsSingleAndResolved = 5,
  kIdentitiesOnComponents = 6,
  kLevelsHoldNoContent = 7,
  kNoPlaceholderInComponent = 8,
};

// A short name of the promise ("relations single and resolved").
std::string_view InvariantName(Invariant invariant);

struct CatalogViolation {
  Invariant invariant;
  std::string path;     // component path of the element concerned ("" for the document)
  std::string subject;  // the file, relation or attribute concerned
  std::string message;
};

struct CatalogCheckResult {
  std::vector<CatalogViolation> violations;
  size_t components = 0;  // COMPONENT elements of the tree (catalog-folder references not counted)
  size_t files = 0;       // files in the file area (shipped data not counted)
  size_t relations = 0;   // COMPONENT_RELATION elements
  bool sound() const { return violations.empty(); }
};

// Checks `catalog` as loaded, its file on disk and its file area.
CatalogCheckResult CheckCatalog(const CCatalog_Contents& catalog);

}  // namespace zarn

#endif  // ZARN_MAINTENANCE_CATALOG_CHECK_H_
