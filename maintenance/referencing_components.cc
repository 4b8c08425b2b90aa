// The components that can create a given component: those whose own or ancestors'
// CHILD_COMPONENT relation names its path or one of its ancestor paths.
#include <algorithm>
#include <cstdlib>
#include <set>
#include <vector>

#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "external/trace.h"
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

// The component_ref texts of the COMPONENT_RELATIONS children of `element`.
std::vector<std::string> NamedReferences(Node element) {
  std::vector<std::string> refs;
  for (Node relations : Children(element, format::kComponentRelations)) {
    for (Node relation : Children(relations, format::kComponentRelation)) {
      for (Node components : Children(relation, "COMPONENTS")) {
        for (Node component : Children(components, "component")) {
          for (Node ref : Children(component, format::kComponentRef)) refs.push_back(ref.Text());
        }
      }
    }
  }
  return refs;
}

// True when `element` itself refers to one of `prefixes` (as Collect decides it).
bool Refers(Node element, const std::set<std::string>& prefixes) {
  bool child_type = false;
  bool named = false;
  for (Node relations : Children(element, format::kComponentRelations)) {
    ScanRelations(relations, prefixes, &child_type, &named);
  }
  return child_type && named;
}

// `element` when it is a COMPONENT, and every COMPONENT below it.
void CollectComponents(Node element, std::vector<void*>* seen, NodeList* out) {
  if (element.Name() == format::kComponent) {
    if (std::find(seen->begin(), seen->end(), element.raw()) != seen->end()) return;
    seen->push_back(element.raw());
    out->push_back(element);
  }
  for (Node c = element.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsElement()) CollectComponents(c, seen, out);
  }
}

// Tests set ZARN_CHECK_INDEXES: every answer of the map is compared with the walk.
bool CheckAgainstWalk() {
  static const bool check = std::getenv("ZARN_CHECK_INDEXES") != nullptr;
  return check;
}

bool SameElements(NodeList a, NodeList b) {
  auto less = [](const Node& x, const Node& y) { return x.raw() < y.raw(); };
  std::sort(a.begin(), a.end(), less);
  std::sort(b.begin(), b.end(), less);
  return a == b;
}

}  // namespace

void CCatalog_Contents::ForgetRelationHolders() {
  relation_holders_.clear();
  relation_holders_built_ = false;
}

void CCatalog_Contents::NoteRelationHolder(Node element) {
  if (!relation_holders_built_ || !element) return;
  const std::vector<std::string> refs = NamedReferences(element);
  if (refs.empty()) return;
  const std::string path = ComponentPathOf(element);
  for (const std::string& ref : refs) {
    std::vector<std::string>& holders = relation_holders_[ref];
    if (std::find(holders.begin(), holders.end(), path) == holders.end()) holders.push_back(path);
  }
}

NodeList CCatalog_Contents::ReferencingComponentsOf(const std::set<std::string>& prefixes) {
  if (!relation_holders_built_) {
    relation_holders_built_ = true;
    std::vector<Node> stack;
    if (Node top = root()) stack.push_back(top);
    while (!stack.empty()) {
      const Node n = stack.back();
      stack.pop_back();
      NoteRelationHolder(n);
      for (Node c = n.FirstChild(); c; c = c.NextSibling()) {
        if (c.IsElement()) stack.push_back(c);
      }
    }
  }
  NodeList out;
  std::vector<void*> seen;
  bool stale = false;
  for (const std::string& prefix : prefixes) {
    auto it = relation_holders_.find(prefix);
    if (it == relation_holders_.end()) continue;
    for (const std::string& path : it->second) {
      const Node holder = FindByComponentPath(path);
      if (!holder) {
        stale = true;
        continue;
      }
      if (Refers(holder, prefixes)) CollectComponents(holder, &seen, &out);
    }
  }
  if (stale) {
    ForgetRelationHolders();
    return ReferencingComponents(*this, prefixes);
  }
  if (CheckAgainstWalk() && !SameElements(out, ReferencingComponents(*this, prefixes))) {
    Trace(kTraceError, "ReferencingComponentsOf", "the relation map misses or adds a holder");
    std::abort();
  }
  return out;
}

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
