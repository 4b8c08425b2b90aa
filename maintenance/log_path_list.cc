#include "maintenance/log_path_list.h"

#include <new>
#include <utility>

#include "catalog/catalog_format.h"
#include "catalog/child_table.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// The levels at which a continuation that came from a catalog-folder reference stops.
bool IsTreeLevel(Node node) {
  const std::string name = node.Name();
  return EqualsNoCase(name, format::kManufacturer) || EqualsNoCase(name, format::kClassification) ||
         EqualsNoCase(name, format::kProtocol);
}

// Collects the component_ref and component_folder_ref elements below `node`, in
// document order.
void CollectReferences(Node node, NodeList* components, NodeList* folders) {
  for (Node child = node.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsElement()) continue;
    const std::string name = child.Name();
    if (name == format::kComponentRef) components->push_back(child);
    if (name == format::kComponentFolderRef) folders->push_back(child);
    CollectReferences(child, components, folders);
  }
}

// The text after the last "/" (all of it without one).
std::string_view LastSegment(std::string_view text) { return text.substr(text.rfind('/') + 1); }

void FillMap(const NodeList& references, std::unordered_map<std::string, Node>* map,
             std::unordered_set<std::string_view>* tails) {
  map->reserve(references.size());
  for (const Node& reference : references) {
    const Node first = reference.FirstChild();
    if (!first || !first.IsText()) continue;
    const auto entry = map->insert_or_assign(first.Text(), reference).first;
    tails->insert(LastSegment(entry->first));  // map keys do not move while the map lives
  }
}

LogPathSegment** Tail(LogPathSegment** items) {
  while (*items != nullptr) items = &(*items)->next;
  return items;
}

}  // namespace

CLogPathList::CLogPathList(CCatalog_Contents* catalog, NodeList elements, bool with_texts)
    : catalog_(catalog),
      elements_(std::move(elements)),
      with_texts_(with_texts),
      language_(catalog->getLanguage()),
      root_(catalog->root()) {}

uint32_t CLogPathList::BuildLogPathList(LogPathEntry** head, bool path_form) {
  Start(path_form);
  for (const Node& element : elements_) Add(element);
  return Finish(head);
}

void CLogPathList::Start(bool path_form) {
  path_form_ = path_form;
  failed_ = false;
  pending_ = Node();
  list_.reset();
  try {
    BuildReferenceMaps();
  } catch (const std::bad_alloc&) {
    failed_ = true;
  }
}

void CLogPathList::Add(Node element) {
  if (pending_) DescribePending(false);
  pending_ = element;
}

uint32_t CLogPathList::Finish(LogPathEntry** head) {
  *head = nullptr;
  if (pending_) DescribePending(true);
  pending_ = Node();
  ReleaseReferenceMaps();
  if (failed_) {
    list_.reset();
    return ZARN_E_ALLOCATION;
  }
  *head = list_.release();
  return 0;
}

void CLogPathList::DescribePending(bool last) {
  if (failed_) return;
  try {
    Group group;
    if (!DescribeElement(pending_, path_form_, last, &group)) {
      failed_ = true;
      return;
    }
    for (LogPathEntryPtr& entry : group) {
      entry->next = list_.release();
      list_.reset(entry.release());
    }
  } catch (const std::bad_alloc&) {
    failed_ = true;
  }
}

// The entries of one element in `group`, the first location first; the entry that
// is still walking is always the last of the group.
bool CLogPathList::DescribeElement(Node element, bool path_form, bool last, Group* group) {
  std::string id;
  const bool container = IsReferenceContainer(element, &id) != 0;
  if (container && last) return true;  // the list ends with the record before it
  group->emplace_back(NewLogPathEntry());
  if (!group->back()) return false;
  if (container) return true;
  const std::string path = path_form ? id : catalog_->ComponentPathOf(element);
  if (!SetPathAndLabel(group->back().get(), element, path)) return false;
  bool marked = false;
  if (!Locate(element, !path_form, group, &marked)) return false;
  if (!path_form) {
    for (Node a = element.Parent(); a && !(a == root_); a = a.Parent()) {
      if (a.Name().empty()) continue;
      if (marked && IsTreeLevel(a)) break;
      if (!Locate(a, true, group, &marked)) return false;
    }
  }
  // A continuation that no further reference ended is the tree location of a
  // referred element: it is not listed.
  if (marked) group->pop_back();
  return true;
}

// Adds `element` to the walking entry, or, when a catalog folder refers to it, ends
// the walking entry at the catalog folders and (with continue_walk) lets a marked
// copy carry on from the element.
bool CLogPathList::Locate(Node element, bool continue_walk, Group* group, bool* marked) {
  LogPathEntry* current = group->back().get();
  std::string reference_id;
  Node container;
  if (FindCatalogFolderReference(element, &reference_id, &container) != 0) {
    return AppendElementItem(element, &current->segments);
  }
  LogPathEntryPtr copy;
  if (continue_walk) {
    copy.reset(CopyLogPathEntry(current, false));
    if (!copy || !AppendElementItem(element, &copy->segments)) return false;
  }
  if (reference_id.empty() && !AppendElementItem(element, &current->segments)) return false;
  if (!AppendAncestorItems(container, &current->segments)) return false;
  if (copy) {
    group->push_back(std::move(copy));
    *marked = true;
  }
  return true;
}

bool CLogPathList::SetPathAndLabel(LogPathEntry* record, Node element, const std::string& path) const {
  std::string label = ReadChildText(element, format::kLabel);
  if (label.empty()) label = path.substr(path.find_last_of('/') + 1);
  record->path = NewWideString(path);
  if (record->path == nullptr) return false;
  if (label.empty()) return true;
  record->label = NewWideString(label);
  return record->label != nullptr;
}

std::string CLogPathList::ReadChildText(Node element, std::string_view child_name) const {
  std::string value;
  if (const Node child = FirstChildNamed(element, child_name)) {
    catalog_->dom().ReadElementValue(language_, "", child, &value);
  }
  return value;
}

bool CLogPathList::AppendElementItem(Node element, LogPathSegment** items) const {
  if (!element) return true;
  LogPathSegment* item = NewLogPathSegment();
  if (item == nullptr) return false;
  item->name = NewWideString(element.Name());
  item->id = NewWideString(element.Attribute(format::kId).value_or(""));
  bool ok = item->name != nullptr && item->id != nullptr;
  if (ok && with_texts_) {
    item->label = NewWideString(ReadChildText(element, format::kLabel));
    item->help = NewWideString(ReadChildText(element, format::kHelp));
    ok = item->label != nullptr && item->help != nullptr;
  }
  if (!ok) {
    FreeLogPathSegments(item);
    return false;
  }
  *Tail(items) = item;
  return true;
}

bool CLogPathList::AppendAncestorItems(Node element, LogPathSegment** items) const {
  if (!element) return true;
  for (Node a = element.Parent(); a && !(a == root_); a = a.Parent()) {
    if (!AppendElementItem(a, items)) return false;
  }
  return true;
}

LogPathEntry* CLogPathList::CopyLogPathEntry(const LogPathEntry* record, bool with_items) {
  LogPathEntryPtr copy(NewLogPathEntry());
  if (!copy) return nullptr;
  bool failed = false;
  copy->path = CopyWideString(record->path, &failed);
  copy->label = CopyWideString(record->label, &failed);
  LogPathSegment** tail = &copy->segments;
  for (const LogPathSegment* s = with_items ? record->segments : nullptr; s != nullptr && !failed; s = s->next) {
    *tail = NewLogPathSegment();
    if (*tail == nullptr) return nullptr;
    (*tail)->name = CopyWideString(s->name, &failed);
    (*tail)->id = CopyWideString(s->id, &failed);
    (*tail)->help = CopyWideString(s->help, &failed);
    (*tail)->label = CopyWideString(s->label, &failed);
    tail = &(*tail)->next;
  }
  if (failed) return nullptr;
  copy->next = const_cast<LogPathEntry*>(record);
  return copy.release();
}

// The references of "//CATALOG_FOLDER//component_ref" and of the same for
// component_folder_ref. Catalog folders hang from the document element and from each
// other only, so the walk starts at the top-level folders instead of selecting over
// the whole document (which libxml2 would stream through every node).
void CLogPathList::BuildReferenceMaps() {
  // One cache per thread: a list lives within one call, and the document it reads
  // is not changed while it is built.
  thread_local std::shared_ptr<const CatalogFolderReferences> cached;
  thread_local const void* cached_document = nullptr;
  thread_local uint64_t cached_change_count = 0;
  const void* document = root_ ? root_.OwnerDocument().raw() : nullptr;
  if (cached != nullptr && cached_document == document && cached_change_count == xml::ChangeCount()) {
    references_ = cached;
    return;
  }
  cached.reset();
  NodeList components;
  NodeList folders;
  for (Node child = root_ ? root_.FirstChild() : Node(); child; child = child.NextSibling()) {
    if (child.IsElement() && child.Name() == format::kCatalogFolder) CollectReferences(child, &components, &folders);
  }
  auto references = std::make_shared<CatalogFolderReferences>();
  FillMap(components, &references->components, &references->tails);
  FillMap(folders, &references->folders, &references->tails);
  references_ = references;
  cached = std::move(references);
  cached_document = document;
  cached_change_count = xml::ChangeCount();
}

void CLogPathList::ReleaseReferenceMaps() { references_.reset(); }

int CLogPathList::FindCatalogFolderReference(Node element, std::string* reference_id, Node* container) const {
  if (!element || references_ == nullptr || (references_->components.empty() && references_->folders.empty())) {
    return -1;
  }
  // Below the document element a component path ends with the element's own id
  // when it has one.
  if (!(element == root_)) {
    const std::string id = element.Attribute(format::kId).value_or("");
    if (!id.empty() && references_->tails.count(LastSegment(id)) == 0) return -1;
  }
  const std::string path = catalog_->ComponentPathOf(element);
  auto found = references_->components.find(path);
  if (found == references_->components.end()) {
    found = references_->folders.find(path);
    if (found == references_->folders.end()) return -1;
  }
  const Node reference = found->second;
  *container = reference;
  for (Node n = reference.Parent(); n && n.Name() != format::kCatalogFolder; n = n.Parent()) {
    const std::string name = n.Name();
    if (name == format::kComponent || name == format::kComponentFolder) {
      *container = n;
      break;
    }
  }
  *reference_id = (*container == reference) ? "" : container->Attribute(format::kId).value_or("");
  return 0;
}

int CLogPathList::IsReferenceContainer(Node element, std::string* id) {
  for (Node child = element.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsElement()) continue;
    if (child.HasName(format::kComponentRef) || child.HasName(format::kComponentFolderRef)) return -1;
  }
  *id = element.Attribute(format::kId).value_or("");
  return 0;
}

}  // namespace zarn
