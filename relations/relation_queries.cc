// Relation queries: relation type of a reference, referencing components, revisions.
#include "relations/relation_queries.h"

#include <cstdio>
#include <cstdlib>

#include "catalog/catalog_format.h"
#include "maintenance/deletion.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn {

uint32_t FindCatalogRelationType(const CCatalog_Contents& catalog, const std::string& relation_id,
                                 const std::string& component_path, const std::string& referenced_path,
                                 std::string* type_name) {
  type_name->clear();
  Node element = SelectEntryElement(catalog, component_path);
  NodeList refs;
  for (Node relations : element ? element.ChildElements() : NodeList()) {
    if (relations.Name() != format::kComponentRelations) continue;
    for (Node relation : relations.ChildElements()) {
      if (relation.Name() != format::kComponentRelation || relation.Attribute(format::kId) != relation_id) continue;
      NodeList some;
      catalog.dom().getElementsByXPath(relation, "COMPONENTS/component/component_ref", &some);
      refs.insert(refs.end(), some.begin(), some.end());
    }
  }
  if (refs.empty()) return ZARN_E_NO_RELATION;
  for (Node ref : refs) {
    if (!EqualsNoCase(ref.Text(), referenced_path)) continue;
    Node relation = ref.Parent().Parent().Parent();
    Node type = relation ? relation.FirstChildElement("RELATION_TYPE") : Node();
    std::vector<Node> kinds = type ? type.ChildElements() : std::vector<Node>();
    if (!kinds.empty()) *type_name = kinds.front().Name();
    break;
  }
  return 0;
}

std::string FormatRevision(const std::string& text) {
  const size_t x = text.find_first_of("xX");
  const unsigned long value =
      x == 1 ? std::strtoul(text.c_str() + 2, nullptr, 16) : std::strtoul(text.c_str(), nullptr, 10);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "0x%04lx", value);
  return buffer;
}

uint32_t ReferencingComponents(const CCatalog_Contents& catalog, const std::string& component_path,
                               std::string* paths) {
  Node element = SelectEntryElement(catalog, component_path);
  if (!element || element.ChildElements().empty()) return ZARN_E_NOT_FOUND;
  NodeList found;
  if (!catalog.FindReferencingComponents(component_path, &found)) return ZARN_E_NOT_REFERENCED;
  std::string text;
  for (Node component : found) text += ";" + catalog.ComponentPathOf(component);
  *paths = TrimChars(text, ";");
  return 0;
}

}  // namespace zarn
