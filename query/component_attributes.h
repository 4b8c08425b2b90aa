// The attribute queries: every attribute of a catalog element (or of the components
// and folders of a component XML file) as a CompAttrInfo chain, and one attribute of
// a catalog element as text.
#ifndef ZARN_QUERY_COMPONENT_ATTRIBUTES_H_
#define ZARN_QUERY_COMPONENT_ATTRIBUTES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/catalog_contents.h"
#include "zarn/catalog_manager.h"

namespace zarn {

// Builds a CompAttrInfo chain for one call. New records go to the head of their
// chains. Whatever has not been released when the builder is destroyed is freed.
class CompAttrListBuilder {
 public:
  explicit CompAttrListBuilder(std::string language) : language_(std::move(language)) {}
  ~CompAttrListBuilder() { FreeCompAttrInfoList(head_); }
  CompAttrListBuilder(const CompAttrListBuilder&) = delete;
  CompAttrListBuilder& operator=(const CompAttrListBuilder&) = delete;

  // The directory that file references are resolved against.
  void setBaseDirectory(std::string directory) { base_directory_ = std::move(directory); }
  // Puts a record for `element` at the head: its id and one entry per reported
  // element child. ZARN_E_NO_COMPONENT for a null element; ZARN_E_ALLOCATION when
  // a record or text cannot be allocated (what was linked stays linked).
  uint32_t AddElement(Node element);
  // Hands the chain to the caller; the builder is then empty.
  CompAttrInfo* Release();

  // Frees a chain with everything it owns; null is allowed.
  static void FreeCompAttrInfoList(CompAttrInfo* list);

 private:
  uint32_t AddEntry(CompAttrInfo* info, const std::string& name, const std::string& value) const;

  CompAttrInfo* head_ = nullptr;
  std::string base_directory_;
  std::string language_;
  CDOMHelper selector_;
};

// False for the child elements that never count as attributes (INITIAL_VALUES,
// COMPONENT_RELATIONS, the levels and the nested components and folders).
bool IsReportedAttribute(std::string_view element_name);

// The attributes of the catalog element at the component path `path`, or (for a
// path ending in ".xml") of every component and folder of that component XML file.
// On 0 the chain goes to *list (null when nothing was described); on failure
// nothing is stored. REQUIRES: `path` not empty.
uint32_t GetComponentAttributes(CCatalog_Contents& catalog, const std::string& path, CompAttrInfo** list);

// The outcome of a single-attribute query: its code, and the text when the path
// addressed an element (`answered`).
struct AttributeAnswer {
  uint32_t code = 0;
  bool answered = false;
  std::string text;
};

// One attribute of the element at `path` (component path or "/ident:" key), read
// by `mode` as ZARN_GetComponentAttribute describes. REQUIRES: path and name not
// empty.
AttributeAnswer GetComponentAttribute(CCatalog_Contents& catalog, const std::string& path, const std::string& name,
                                      int32_t mode);

}  // namespace zarn

#endif  // ZARN_QUERY_COMPONENT_ATTRIBUTES_H_
