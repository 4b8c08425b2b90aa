// Tidying after placement: placeholders merged into their twins, temporary ids
// turned into componentID children.
#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "import/import_scope.h"
#include "import/insertion_internal.h"
#include "platform/strings.h"

namespace zarn {
namespace {

NodeList PlaceholderChildren(Node scope) {
  NodeList out;
  for (Node c = scope.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsElement() && c.Attribute(format::kIsArtificial) == format::kTrue) out.push_back(c);
  }
  return out;
}

// The first child of `scope` whose id equals `id`, other than `self`.
Node FindTwin(Node scope, const std::string& id, Node self) {
  for (Node c = scope.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsElement() && !(c == self) && c.Attribute(format::kId) == id) return c;
  }
  return Node();
}

}  // namespace

void CCatalog_Contents::MergeArtificialNodes(std::vector<std::string>* removed, Node scope, Node target) {
  // Outside an import, removed placeholders are kept until the whole merge is done,
  // so that placeholders selected up front are never freed handles.
  const NodeList placeholders = scope ? PlaceholderChildren(scope) : PlaceholderCandidates();
  std::optional<ImportScopeGuard> guard;
  if (import_scope_ == nullptr) guard.emplace(this);
  for (Node placeholder : placeholders) {
    if (!IsInDocument(placeholder)) continue;
    const std::string id = placeholder.Attribute(format::kId).value_or("");
    Node twin = FindTwin(target ? target : placeholder.Parent(), id, placeholder);
    if (!twin) continue;
    std::vector<std::string> nested;
    MergeArtificialNodes(&nested, placeholder, twin);
    if (removed != nullptr) removed->insert(removed->end(), nested.begin(), nested.end());
    const Node relations = placeholder.FirstChildElement(format::kComponentRelations);
    if (relations) {
      Node into = twin.FirstChildElement(format::kComponentRelations);
      if (!into) into = twin.AppendElement(format::kComponentRelations);
      // A copy the twin got meanwhile gives way to the kept one: one per relation.
      for (Node kept = relations.FirstChild(); kept; kept = kept.NextSibling()) {
        if (kept.Name() != format::kComponentRelation) continue;
        Node ref = dom().getElementByXPath(kept, "COMPONENTS/component/component_ref");
        if (ref) RemoveInverseCopies(*this, into, kept.Attribute(format::kId).value_or(""), ref.Text());
      }
      CopyChildElements(relations, into);
    }
    // Placeholders below it that found no twin still wait for their components
    // (a station a module names, not imported yet): they move into the twin.
    const NodeList waiting = PlaceholderChildren(placeholder);
    for (Node w : waiting) twin.AppendChild(w.Detach());
    // Relations merged into the twin or moved with the waiting placeholders: the
    // holders and their paths changed.
    if (relations || !waiting.empty()) ForgetRelationHolders();
    if (removed != nullptr) removed->push_back(ComponentPathOf(placeholder));
    RemoveNode(placeholder);
  }
}

void CCatalog_Contents::ConvertTemporaryIds() {
  for (Node element : TemporaryIdElements()) {
    const std::string value = element.Attribute(format::kIdTmp).value_or("");
    const std::string name = element.Name();
    element.RemoveAttribute(format::kIdTmp);
    const bool keeps_id = EqualsNoCase(name, format::kComponent) || EqualsNoCase(name, format::kComponentFolder);
    if (keeps_id && !element.FirstChildElement(format::kComponentId)) {
      element.AppendElement(format::kComponentId, value);
    }
  }
}

}  // namespace zarn
