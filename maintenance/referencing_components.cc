// The components that can create a given component: those whose own or ancestors'
// CHILD_COMPONENT relation names its path or one of its ancestor paths.
#include <set>
#include <vector>

#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "import/insertion_internal.h"

namespace zarn {
namespace {

// Children of `node` named `name` (exact).
NodeList Children(Node node, std::string_view name) {
  NodeList out;
  for (Node c = node.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsElement() && c.Name() == name) out.push_back(c);
  }
  return out;
}

// Of one COMPONENT_RELATIONS element: whether a COMPONENT_RELATION/RELATION_TYPE has
// CHILD_COMPONENT, and whether a COMPONENT_RELATION/COMPONENTS/component/component_ref
// has a text node in `prefixes`.
void ScanRelations(Node relations, const std::set<std::string>& prefixes, bool* child_type, bool* named) {
  for (Node relation : Children(relations, format::kComponentRelation)) {
    for (Node type : Children(relation, "RELATION_TYPE")) {
      if (!Children(type, "CHILD_COMPONENT").empty()) *child_type = true;
    }
    for (Node components : Children(relation, "COMPONENTS")) {
      for (Node component : Children(components, "component")) {
        for (Node ref : Children(component, format::kComponentRef)) {
          for (Node t = ref.FirstChild(); t && !*named; t = t.NextSibling()) {
            if (t.IsText() && prefixes.count(t.Text()) != 0) *named = true;
          }
        }
      }
    }
  }
}

// One walk over the tree; each element's name is read once, by its parent.
void Collect(Node element, const std::string& name, bool inherited, const std::set<std::string>& prefixes,
             NodeList* out) {
  NodeList children;
  std::vector<std::string> names;
  bool child_type = false;
  bool named = false;
  for (Node c = element.FirstChild(); c; c = c.NextSibling()) {
    if (!c.IsElement()) continue;
    children.push_back(c);
    names.push_back(c.Name());
    if (!inherited && names.back() == format::kComponentRelations) ScanRelations(c, prefixes, &child_type, &named);
  }
  const bool refers = inherited || (child_type && named);
  if (refers && name == format::kComponent) out->push_back(element);
  for (size_t i = 0; i < children.size(); ++i) Collect(children[i], names[i], refers, prefixes, out);
}

}  // namespace

void AddPathPrefixes(std::string_view component_path, std::set<std::string>* prefixes) {
  for (size_t slash = component_path.find('/', 1); true; slash = component_path.find('/', slash + 1)) {
    if (slash == std::string_view::npos) {
      prefixes->insert(std::string(component_path));
      return;
    }
    prefixes->insert(std::string(component_path.substr(0, slash)));
  }
}

NodeList ReferencingComponents(const CCatalog_Contents& catalog, const std::set<std::string>& prefixes) {
  NodeList out;
  if (Node top = catalog.root(); top && !prefixes.empty()) Collect(top, top.Name(), false, prefixes, &out);
  return out;
}

bool CCatalog_Contents::FindReferencingComponents(std::string_view component_path, NodeList* out) const {
  out->clear();
  if (component_path.find('/') == std::string_view::npos) return false;
  std::set<std::string> prefixes;
  AddPathPrefixes(component_path, &prefixes);
  *out = ReferencingComponents(*this, prefixes);
  return !out->empty();
}

}  // namespace zarn
