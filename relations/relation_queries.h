// Questions about components and their relations that need no relation records:
// whether a relation of a component refers to a given component, whether the
// components of a component XML file are in the catalog, and which components refer
// to a given one.
#ifndef ZARN_RELATIONS_RELATION_QUERIES_H_
#define ZARN_RELATIONS_RELATION_QUERIES_H_

#include <cstdint>
#include <string>

#include "catalog/catalog_contents.h"

namespace zarn {

// The type of the relation `relation_id` of the element at `component_path` whose
// references name `referenced_path` (compared ignoring ASCII case): the name of the
// first element child of its RELATION_TYPE, in *type_name. 0 when found or when the
// relation has references but none matches (*type_name empty); ZARN_E_NO_RELATION
// when the relation has no references.
uint32_t FindCatalogRelationType(const CCatalog_Contents& catalog, const std::string& relation_id,
                                 const std::string& component_path, const std::string& referenced_path,
                                 std::string* type_name);

// "0x%04x" of a revision text: hexadecimal when its first "x" or "X" is the second
// character, decimal otherwise.
std::string FormatRevision(const std::string& text);

// The component paths of the components that refer to `component_path`, ";"-joined.
// ZARN_E_NOT_FOUND when the path addresses no element with children,
// ZARN_E_NOT_REFERENCED when nothing refers to it.
uint32_t ReferencingComponents(const CCatalog_Contents& catalog, const std::string& component_path, std::string* paths);

}  // namespace zarn

#endif  // ZARN_RELATIONS_RELATION_QUERIES_H_
