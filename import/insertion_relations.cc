// The relation that links a component to the parent component that creates it.
#include <algorithm>

#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "external/trace.h"
#include "platform/strings.h"
#include "import/insertion_internal.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

constexpr std::string_view kComponents = "COMPONENTS";
constexpr std::string_view kComponentElement = "component";
constexpr std::string_view kComponentRefOrg = "component_ref_org";

// The children of COMPONENT_RELATIONS/COMPONENT_RELATION/COMPONENTS/component.
template <typename F>
void ForEachRelationComponent(Node element, F&& f) {
  for (Node rs = element.FirstChild(); rs; rs = rs.NextSibling()) {
    if (rs.Name() != format::kComponentRelations) continue;
    for (Node r = rs.FirstChild(); r; r = r.NextSibling()) {
      if (r.Name() != format::kComponentRelation) continue;
      for (Node cs = r.FirstChild(); cs; cs = cs.NextSibling()) {
        if (cs.Name() != kComponents) continue;
        for (Node c = cs.FirstChild(); c; c = c.NextSibling()) {
          if (c.Name() == kComponentElement) f(c);
        }
      }
    }
  }
}

// True when the element holds a relation to `reference`: a component_ref whose
// ref attribute, or a component_ref_org whose text, is the reference.
bool CreatesReference(Node element, const std::string& reference) {
  bool found = false;
  ForEachRelationComponent(element, [&](Node component) {
    for (Node ref = component.FirstChild(); ref && !found; ref = ref.NextSibling()) {
      if (ref.Name() == format::kComponentRef && ref.Attribute("ref") == reference) found = true;
      if (ref.Name() != kComponentRefOrg) continue;
      for (Node t = ref.FirstChild(); t && !found; t = t.NextSibling()) {
        if (t.IsText() && t.Text() == reference) found = true;
      }
    }
  });
  return found;
}

// The first element in document order below `node` (COMPONENTS may lie at any
// depth below COMPONENT_RELATIONS) that is a child of COMPONENTS/component and
// carries ref = `reference`.
Node FindRefElement(Node node, bool below_relations, std::string_view reference) {
  for (Node c = node.FirstChild(); c; c = c.NextSibling()) {
    if (!c.IsElement()) continue;
    if (below_relations && c.Name() == kComponents) {
      for (Node comp = c.FirstChild(); comp; comp = comp.NextSibling()) {
        if (comp.Name() != kComponentElement) continue;
        for (Node x = comp.FirstChild(); x; x = x.NextSibling()) {
          if (x.IsElement() && x.Attribute("ref") == reference) return x;
        }
      }
    }
    if (below_relations) {
      if (Node found = FindRefElement(c, true, reference)) return found;
    }
  }
  return Node();
}

// The entry of a relation (COMPONENTS/component) that names `reference`: its
// numbers, auto-creation and ranges are the ones that hold for that component. The
// first entry when none names it.
Node RelationEntryFor(Node relation, const std::string& reference) {
  Node first;
  for (Node cs = relation ? relation.FirstChild() : Node(); cs; cs = cs.NextSibling()) {
    if (cs.Name() != kComponents) continue;
    for (Node c = cs.FirstChild(); c; c = c.NextSibling()) {
      if (c.Name() != kComponentElement) continue;
      if (!first) first = c;
      for (Node x = c.FirstChild(); x; x = x.NextSibling()) {
        if (x.IsElement() && x.Attribute("ref") == reference) return c;
      }
    }
  }
  return first;
}

// True when `relation` holds a component_ref whose text is `path`.
bool NamesPath(Node relation, const std::string& path) {
  bool found = false;
  for (Node cs = relation.FirstChild(); cs && !found; cs = cs.NextSibling()) {
    if (cs.Name() != kComponents) continue;
    for (Node c = cs.FirstChild(); c && !found; c = c.NextSibling()) {
      Node ref = c.Name() == kComponentElement ? c.FirstChildElement(format::kComponentRef) : Node();
      if (ref && ref.Text() == path) found = true;
    }
  }
  return found;
}

}  // namespace

void RemoveInverseCopies(CCatalog_Contents& catalog, Node relations, std::string_view id,
                         const std::string& creator_path) {
  std::vector<Node> stale;
  for (Node r = relations ? relations.FirstChild() : Node(); r; r = r.NextSibling()) {
    if (r.Name() != format::kComponentRelation || r.Attribute(format::kId) != id) continue;
    if (r.FirstChildElement("isInverse") && NamesPath(r, creator_path)) stale.push_back(r);
  }
  for (Node r : stale) catalog.RemoveNode(r);
}

void DropUnresolvedRelationPaths(CCatalog_Contents& catalog, const NodeList& imported) {
  std::vector<Node> entries;
  std::vector<Node> relations;
  for (Node element : imported) {
    ForEachRelationComponent(element, [&](Node component) {
      const Node ref = component.FirstChildElement(format::kComponentRef);
      const std::string path = ref ? Trim(ref.Text()) : std::string();
      if (path.empty() || catalog.FindByComponentPath(path)) return;
      Trace(kTraceWarning, "CCatalog_Contents::AddComponents",
            "the relation entry names %s, which is not in the catalog", path);
      entries.push_back(component);
      const Node relation = component.Parent().Parent();
      if (std::find(relations.begin(), relations.end(), relation) == relations.end()) relations.push_back(relation);
    });
  }
  for (Node entry : entries) catalog.RemoveNode(entry);
  for (Node relation : relations) {
    bool left = false;
    for (Node cs = relation.FirstChild(); cs && !left; cs = cs.NextSibling()) {
      left = cs.Name() == kComponents && cs.FirstChildElement(kComponentElement);
    }
    if (!left) catalog.RemoveNode(relation);
  }
}

void CCatalog_Contents::RewriteComponentRef(Node element, std::string_view old_ref, std::string_view new_ref) {
  if (!element) return;
  Node found;
  for (Node rs = element.FirstChild(); rs && !found; rs = rs.NextSibling()) {
    if (rs.Name() == format::kComponentRelations) found = FindRefElement(rs, true, old_ref);
  }
  if (!found) return;
  Node parent = found.Parent();
  parent.AppendElement(format::kComponentRef, new_ref);
  parent.AppendElement(kComponentRefOrg, old_ref);
  RemoveNode(found);
  NoteRelationHolder(element);
}

uint32_t CCatalog_Contents::AddRelationInParent(CCatalog_Object* object, const std::string& reference) {
  Node parent = FindParentNode(object, true, true, true);
  if (!parent) return ZARN_E_NO_PARENT_CREATOR;
  Node relations = parent.FirstChildElement(format::kComponentRelations);
  if (!relations) relations = parent.AppendElement(format::kComponentRelations);
  const Node source = object->relationElement;
  xml::OwnedNode owned = document()->CreateElement(format::kComponentRelation);
  Node relation = owned.get();
  relation.SetAttribute(format::kId, source ? source.Attribute(format::kId).value_or("") : "");
  auto copy_child = [&](Node to, std::string_view xpath) {
    if (Node from = dom().getElementByXPath(source, xpath)) CopyChildElements(from, to.AppendElement(from.Name()));
  };
  CopyChildElements(source ? source.FirstChildElement("isConditioned") : Node(),
                    relation.AppendElement("isConditioned"));
  relation.AppendElement("isInverse");
  relation.AppendElement("RELATION_TYPE").AppendElement("CHILD_COMPONENT");
  copy_child(relation, "ADDRESSING");

  Node creator;
  for (Node candidate : TemporaryIdElements()) {
    if (candidate.Attribute(format::kIdTmp) == object->relationOwnerId && CreatesReference(candidate, reference)) {
      creator = candidate;
      break;
    }
  }
  if (!creator) {
    const std::string xpath =
        "//*[@idTmp='" + object->relationOwnerId +
        "' and (COMPONENT_RELATIONS/COMPONENT_RELATION/COMPONENTS/component/component_ref/@ref='" + reference +
        "' or COMPONENT_RELATIONS/COMPONENT_RELATION/COMPONENTS/component/component_ref_org/text() = '" + reference +
        "')]";
    Trace(kTraceError, "CCatalog_Contents::AddRelationInParent",
          "no creator was found when handling parent component -> error with parent relation %s; XPath: %s", reference,
          xpath);
    return ZARN_E_NO_PARENT_CREATOR;
  }
  const std::string creator_path = ComponentPathOf(creator);
  Node component = relation.AppendElement(kComponents).AppendElement(kComponentElement);
  const Node entry = RelationEntryFor(source, reference);
  auto copy_option = [&](std::string_view name) {
    if (Node from = entry ? entry.FirstChildElement(name) : Node()) {
      CopyChildElements(from, component.AppendElement(from.Name()));
    }
  };
  copy_option("isConditioned");
  component.AppendElement(format::kComponentRef, creator_path);
  component.AppendElement(kComponentRefOrg, reference);
  for (const char* name :
       {"MAXIMUM_NUMBER", "MINIMUM_NUMBER", "AUTO_CREATE", "AUTO_CREATE_NODELETE", "REQUIRED_RANGES"}) {
    copy_option(name);
  }
  copy_child(relation, "MAXIMUM_NUMBER");
  copy_child(relation, "MINIMUM_NUMBER");
  // The creator imported again (or replaced) writes its copy anew: one per relation.
  RemoveInverseCopies(*this, relations, relation.Attribute(format::kId).value_or(""), creator_path);
  relations.AppendChild(std::move(owned));
  // The creator's own entry names the component by path from now on, so that the
  // relation resolves from the creator's side as well.
  RewriteComponentRef(creator, reference, ComponentPathOf(parent));
  NoteRelationHolder(parent);
  return 0;
}

}  // namespace zarn
