// The components that can create a given component: those whose own or ancestors'
// CHILD_COMPONENT relation names its path or one of its ancestor paths.
#include <set>

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

// COMPONENT_RELATIONS/COMPONENT_RELATION/RELATION_TYPE/CHILD_COMPONENT exists, and
// some COMPONENT_RELATIONS/COMPONENT_RELATION/COMPONENTS/component/component_ref
// has a text node in `prefixes`.
bool NamesPrefix(Node element, const std::set<std::string>& prefixes) {
  bool child_type = false;
  bool named = false;
  for (Node relations : Children(element, format::kComponentRelations)) {
    for (Node relation : Children(relations, format::kComponentRelation)) {
      for (Node type : Children(relation, "RELATION_TYPE")) {
        if (!Children(type, "CHILD_COMPONENT").empty()) child_type = true;
      }
      for (Node components : Children(relation, "COMPONENTS")) {
        for (Node component : Children(components, "component")) {
          for (Node ref : Children(component, format::kComponentRef)) {
            for (Node t = ref.FirstChild(); t && !named; t = t.NextSibling()) {
              if (t.IsText() && prefixes.count(t.Text()) != 0) named = true;
            }
          }
        }
      }
    }
  }
  return child_type && named;
}

void Collect(Node element, bool inherited, const std::set<std::string>& prefixes, NodeList* out) {
  const bool refers = inherited || NamesPrefix(element, prefixes);
  if (refers && element.Name() == format::kComponent) out->push_back(element);
  for (Node c = element.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsElement()) Collect(c, refers, prefixes, out);
  }
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
  if (Node top = catalog.root(); top && !prefixes.empty()) Collect(top, false, prefixes, &out);
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
