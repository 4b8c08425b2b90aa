// The elements of a catalog document by their id, so that a lookup by id inspects
// a few candidates instead of walking the whole document.
#ifndef ZARN_CATALOG_ID_INDEX_H_
#define ZARN_CATALOG_ID_INDEX_H_

#include <cstdint>
#include <string>
#include <unordered_map>

#include "catalog/dom_helper.h"
#include "xml/document.h"

namespace zarn {

// Built on first use and again on the first use after any change to a document
// (xml::ChangeCount), so it never hands out an element that was removed, moved or
// renamed; the candidates are still checked by the caller where that is cheap.
class IdIndex {
 public:
  // The elements of `document` whose id attribute is `id`, in document order
  // (empty for a null document).
  const NodeList& ElementsWithId(const xml::Document* document, const std::string& id);
  // Forgets everything; the next lookup builds the index again.
  void Invalidate() { document_ = nullptr; }

 private:
  void Build(const xml::Document* document);

  const xml::Document* document_ = nullptr;
  uint64_t change_count_ = 0;
  std::unordered_map<std::string, NodeList> elements_;
};

}  // namespace zarn

#endif  // ZARN_CATALOG_ID_INDEX_H_
