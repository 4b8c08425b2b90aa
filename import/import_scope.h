// Bookkeeping of one running import. While an insertion runs, the catalog
// remembers every element that receives idTmp and every element it creates, so
// that the lookups of the import ("the element with this idTmp", "every element
// with idTmp", "every placeholder that may have a twin") need not search the whole
// document: idTmp exists only on elements touched by the running import, and a
// placeholder can only gain a twin when the import creates one of the two.
// Nodes the import removes are unlinked and kept until the scope ends, so handles
// remembered earlier never dangle; IsInDocument tells whether they still count.
#ifndef ZARN_IMPORT_IMPORT_SCOPE_H_
#define ZARN_IMPORT_IMPORT_SCOPE_H_

#include <vector>

#include "catalog/catalog_contents.h"

namespace zarn {

struct CCatalog_Contents::ImportScope {
  NodeList tagged;                      // elements given (or copied with) idTmp
  NodeList created;                     // elements created and linked
  std::vector<xml::OwnedNode> removed;  // unlinked, freed when the scope ends
};

// Opens the bookkeeping for the lifetime of the guard. A guard opened while
// another one is active does nothing.
class CCatalog_Contents::ImportScopeGuard {
 public:
  explicit ImportScopeGuard(CCatalog_Contents* catalog);
  ~ImportScopeGuard();
  ImportScopeGuard(const ImportScopeGuard&) = delete;
  ImportScopeGuard& operator=(const ImportScopeGuard&) = delete;

 private:
  CCatalog_Contents* catalog_;
  bool active_;
  ImportScope scope_;
};

// True when `a` comes before `b` in document order (both in the same tree).
bool PrecedesInDocument(Node a, Node b);
// Sorts into document order and drops duplicates.
void SortDocumentOrder(NodeList* nodes);

}  // namespace zarn

#endif  // ZARN_IMPORT_IMPORT_SCOPE_H_
