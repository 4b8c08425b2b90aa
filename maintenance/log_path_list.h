// The log path list: for a list of catalog elements, the LogPathEntry records a host
// shows, each with the element's path, its label and the chain of items from the
// element upward, along the component tree or along the catalog folders that refer
// to it.
#ifndef ZARN_MAINTENANCE_LOG_PATH_LIST_H_
#define ZARN_MAINTENANCE_LOG_PATH_LIST_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "catalog/catalog_contents.h"
#include "maintenance/log_path_records.h"
#include "zarn/catalog_manager.h"

namespace zarn {

// Builds the list for one request. REQUIRES: the catalog outlives the builder and
// its document is not changed while BuildLogPathList runs.
// The component_ref and component_folder_ref texts inside the catalog folders of a
// document, each mapped to its reference element (the last one in document order).
struct CatalogFolderReferences {
  std::unordered_map<std::string, Node> components;
  std::unordered_map<std::string, Node> folders;
  // The last "/"-separated segments of the reference texts: an element whose id
  // does not end with one of them is referred to by none, and its component path
  // need not be built.
  std::unordered_set<std::string_view> tails;  // views of the maps' keys
};

class CLogPathList {
 public:
  // with_texts: items carry the LABEL and HELP texts in the catalog language.
  CLogPathList(CCatalog_Contents* catalog, NodeList elements, bool with_texts);

  // Builds the entries of every element, the entries of later elements in front, and
  // stores the head in *head (null for an empty element list). With path_form set,
  // entries carry the element's id instead of its component path and there is no
  // walk up the tree. The items of an entry and the handling of catalog-folder
  // references are those documented at ZARN_GetLogPaths: an element that a catalog
  // folder refers to (itself or through an ancestor) gets one entry per
  // catalog-folder location, and the component-tree continuation above the last
  // referred element is freed before it is linked, never listed.
  // A reference container (see IsReferenceContainer) gets an empty record (path,
  // label and items null), except as the last element: then the list ends with the
  // record of the element before it.
  // Returns 0, or ZARN_E_ALLOCATION when a record or string cannot be allocated;
  // nothing is returned then (*head null) and nothing leaks.
  uint32_t BuildLogPathList(LogPathEntry** head, bool path_form);

  // The same list for elements the caller finds one by one (the constructor's list
  // is not used): Start, Add for each element in order, Finish. Lets a caller that
  // walks the document describe each element while its nodes are at hand.
  void Start(bool path_form);
  void Add(Node element);
  // Stores the head as BuildLogPathList does; 0 or ZARN_E_ALLOCATION.
  uint32_t Finish(LogPathEntry** head);

  // Appends an item for `element` (name, id, and with texts its LABEL and HELP
  // texts, "" when absent) at the end of *items. Nothing happens for a null element.
  // Returns false when an allocation fails; *items is then unchanged.
  bool AppendElementItem(Node element, LogPathSegment** items) const;
  // Appends an item for each ancestor of `element` below the document element,
  // nearest first. Returns false when an allocation fails (items appended before
  // the failure stay in the list).
  bool AppendAncestorItems(Node element, LogPathSegment** items) const;
  // A new record with copies of record's path and label, and of its items when
  // with_items is set; its next is `record`. Null when an allocation fails.
  static LogPathEntry* CopyLogPathEntry(const LogPathEntry* record, bool with_items);

  // Builds the maps from the texts of the component_ref and component_folder_ref
  // elements inside catalog folders to those elements (the last reference in
  // document order wins). BuildLogPathList builds and releases them itself.
  void BuildReferenceMaps();
  void ReleaseReferenceMaps();
  // 0 when element's component path is the text of a catalog-folder reference
  // (component references looked up before folder references): *container receives
  // the referring element, the nearest COMPONENT or COMPONENT_FOLDER above the
  // reference inside its catalog folder (the reference itself when there is none),
  // and *reference_id that element's id ("" when it has none). -1 otherwise.
  // REQUIRES: the reference maps are built.
  int FindCatalogFolderReference(Node element, std::string* reference_id, Node* container) const;
  // 0 with the element's id in *id when the element has neither a component_ref nor
  // a component_folder_ref child; -1 otherwise (the element is a reference container).
  static int IsReferenceContainer(Node element, std::string* id);

 private:
  using Group = std::vector<LogPathEntryPtr>;

  bool DescribeElement(Node element, bool path_form, bool last, Group* group);
  bool SetPathAndLabel(LogPathEntry* record, Node element, const std::string& path) const;
  bool Locate(Node element, bool continue_walk, Group* group, bool* marked);
  std::string ReadChildText(Node element, std::string_view child_name) const;

  // Describes the element held back by Add (it is the last one when `last`).
  void DescribePending(bool last);

  CCatalog_Contents* catalog_;
  NodeList elements_;
  // The running build: each element is described when the next one comes, since
  // the last element is treated apart.
  bool path_form_ = false;
  bool failed_ = false;
  Node pending_;
  LogPathChain list_;
  bool with_texts_;
  std::string language_;
  Node root_;
  // The catalog-folder references of the document, shared by the lists built until
  // the document changes (xml::ChangeCount).
  std::shared_ptr<const CatalogFolderReferences> references_;
};

}  // namespace zarn

#endif  // ZARN_MAINTENANCE_LOG_PATH_LIST_H_
