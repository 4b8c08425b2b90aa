// The object array of one import: copies of the reader's objects in level order,
// completed by the placement they inherit through parent references.
#include <algorithm>

#include "catalog/catalog_contents.h"
#include "conversion/catalog_object.h"
#include "conversion/component_xml_reader.h"
#include "platform/strings.h"

namespace zarn {
namespace {

std::string JoinTrimmed(const std::string& a, const std::string& b) { return TrimChars(a + "/" + b, "/"); }

// `object` takes the placement of `parent` (one level of a parent chain).
void Inherit(CCatalog_Object* object, const CCatalog_Object& parent) {
  const bool by_reference = object->ownPath.empty() && !object->parentRefAsRead.empty();
  if (!parent.path.empty()) object->path = JoinTrimmed(parent.path, object->ownPath);
  object->idPath = JoinTrimmed(parent.idPath, by_reference ? object->id : object->ownPath);
  if (!parent.section.empty()) object->section = parent.section;
  if (!parent.classification.empty()) object->classification = parent.classification;
  if (!parent.protocol.empty()) object->protocol = parent.protocol;
  object->manufacturer = parent.manufacturer;
  if (object->isCatalogFolder) {
    object->catalogParentRef = parent.catalogParentRef;
  } else {
    object->parentRef = parent.parentRef;
  }
  if (!parent.catalogPath.empty()) object->catalogPath = JoinTrimmed(parent.catalogPath, object->catalogPath);
}

}  // namespace

CCatalog_Contents::ObjectArray CCatalog_Contents::SortObjectsByLevel(const ComponentXmlReader& reader) const {
  ObjectArray objects;
  for (const auto& o : reader.Components())
    objects.push_back(std::make_unique<CCatalog_Object>(static_cast<const CatalogObjectAsRead&>(*o)));
  std::stable_sort(objects.begin(), objects.end(), [](const auto& a, const auto& b) { return a->depth < b->depth; });
  for (auto& o : objects) {
    if (o->depth != 0) break;
    // A top-level device folder with a manufacturer is named by its id; a catalog
    // level is the manufacturer level itself.
    if (o->path.empty() && !o->manufacturer.empty() && !o->isCatalogLevel) o->path = o->ownPath = o->idPath = o->id;
  }
  return objects;
}

void CCatalog_Contents::ResolveParentReferences(ObjectArray* objects) const {
  for (auto& object : *objects) {
    const std::string reference = object->isCatalogFolder ? object->catalogParentRef : object->parentRef;
    if (reference.empty()) continue;
    for (const auto& parent : *objects) {
      if (parent != object && parent->id == reference) Inherit(object.get(), *parent);
    }
  }
}

void CCatalog_Contents::InheritPlacement(CCatalog_Object* object, const ObjectArray& objects,
                                         std::string parent_id) const {
  bool first = true;
  // A chain visits each object at most once.
  for (size_t step = 0; step <= objects.size() && !parent_id.empty(); ++step) {
    const CCatalog_Object* parent = nullptr;
    for (const auto& o : objects) {
      if (o.get() != object && (first ? EqualsNoCase(o->id, parent_id) : o->id == parent_id)) {
        parent = o.get();
        break;
      }
    }
    if (parent == nullptr) return;
    Inherit(object, *parent);
    parent_id = object->isCatalogFolder ? object->catalogParentRef : object->parentRef;
    first = false;
  }
}

}  // namespace zarn
