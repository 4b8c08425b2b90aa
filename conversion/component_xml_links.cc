// The links between the objects of a component XML: relations, resolution through
// references, and the depth of parent chains.
#include <string_view>

#include "conversion/component_xml_reader.h"
#include "external/trace.h"
#include "platform/strings.h"

namespace zarn {
namespace {

constexpr std::string_view kRelationTypes[] = {"PARENT_COMPONENT",
                                               "CHILD_COMPONENT",
                                               "SIBLING_COMPONENT",
                                               "PREV_COMPONENT",
                                               "NEXT_COMPONENT",
                                               "PREDECESSOR_CHANGE_COMPONENT",
                                               "SUCCESSOR_CHANGE_COMPONENT"};

bool NamesRelationType(const NodeList& type_children) {
  for (std::string_view type : kRelationTypes) {
    if (CDOMHelper::FindChildElement(type_children, type)) return true;
  }
  return false;
}

// Fills the empty placement fields of `target` from `reference` and hangs its
// paths below the reference's.
void ResolveThrough(const CCatalog_Object& reference, CCatalog_Object* target) {
  for (std::string CCatalog_Object::*field : {&CCatalog_Object::section, &CCatalog_Object::classification,
                                              &CCatalog_Object::manufacturer, &CCatalog_Object::protocol}) {
    if ((target->*field).empty()) target->*field = reference.*field;
  }
  if (!reference.path.empty()) target->path = TrimChars(reference.path + "/" + target->ownPath, "/");
  const bool placed_by_parent = target->ownPath.empty() && !target->parentRefAsRead.empty();
  target->idPath = TrimChars(reference.idPath + "/" + (placed_by_parent ? target->id : target->ownPath), "/");
  target->parentRef = reference.parentRef;
  target->resolvedViaReference = true;
}

}  // namespace

void ComponentXmlReader::ReadRelations() {
  for (const Node& relation : SelectAll("COMPONENT_RELATION")) {
    const NodeList children = relation.Children();
    const Node type = CDOMHelper::FindChildElement(children, "RELATION_TYPE");
    const Node components = CDOMHelper::FindChildElement(children, "COMPONENTS");
    if (!type || !components) continue;
    const NodeList type_children = type.Children();
    if (!NamesRelationType(type_children)) continue;
    auto object = std::make_unique<CCatalog_Object>(CCatalog_Object::Kind::kRelation);
    NodeList refs;
    selector_.getElementsByXPath(components, "component/*/@ref", &refs);
    for (const Node& ref : refs) object->relationRefs.push_back(ref.Text());
    Node owner = selector_.getElementByXPath(relation, "ancestor::COMPONENT[1]");
    if (!owner) owner = selector_.getElementByXPath(relation, "ancestor::COMPONENT_FOLDER[1]");
    CDOMHelper::ReadAttribute(owner, "id", &object->relationOwnerId);
    object->relationElement = relation;
    object->isParentRelation = static_cast<bool>(CDOMHelper::FindChildElement(type_children, "PARENT_COMPONENT"));
    relations_.push_back(std::move(object));
  }
}

void ComponentXmlReader::ResolveReferences(const ObjectList& references, const ObjectList& targets) {
  for (const auto& reference : references) {
    for (const auto& target : targets) {
      if (reference->IsNamedBy(target->parentRef)) ResolveThrough(*reference, target.get());
    }
  }
}

const CCatalog_Object* ComponentXmlReader::FindParent(const CCatalog_Object& current) const {
  if (current.isComponent || current.isFolder) {
    for (const auto& object : components_) {
      if (object->IsNamedBy(current.parentRefAsRead)) return object.get();
    }
  } else if (current.isCatalogFolder) {
    for (const auto& object : catalog_folders_) {
      if (object->IsNamedBy(current.catalogParentRef)) return object.get();
    }
  }
  return nullptr;
}

// A chain without a loop visits each object of the list at most once, so a walk
// longer than the list has entered a loop.
bool ComponentXmlReader::ComputeDepth(const ObjectList& list) const {
  bool all_end = true;
  for (const auto& object : list) {
    if (!object->HasParentReference()) continue;
    object->depth = 1;
    const CCatalog_Object* current = object.get();
    for (size_t steps = 1;; ++steps) {
      const CCatalog_Object* parent = FindParent(*current);
      if (parent == nullptr || !parent->HasParentReference() || parent == current) break;
      if (steps > list.size()) {
        Trace(kTraceError, "ComponentXmlReader::Read", "the parent chain of %s loops", object->id);
        all_end = false;
        break;
      }
      ++object->depth;
      current = parent;
    }
  }
  return all_end;
}

}  // namespace zarn
