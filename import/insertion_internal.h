// Helpers shared by the insertion files.
#ifndef ZARN_IMPORT_INSERTION_INTERNAL_H_
#define ZARN_IMPORT_INSERTION_INTERNAL_H_

#include <set>
#include <string>
#include <string_view>

#include "catalog/catalog_contents.h"

namespace zarn {

// Adds "/a", "/a/b", ... up to `component_path` itself (which starts with "/").
void AddPathPrefixes(std::string_view component_path, std::set<std::string>* prefixes);
// Every COMPONENT, in document order, that is or lies below an element with a
// CHILD_COMPONENT relation whose component_ref names one of `prefixes`.
NodeList ReferencingComponents(const CCatalog_Contents& catalog, const std::set<std::string>& prefixes);

// The first element of `candidates` whose idTmp equals `value` exactly, or null.
// Removes from `relations` (a COMPONENT_RELATIONS) the inverse copies of relation
// `id` that name `creator_path`: a component keeps one copy per relation and creator.
void RemoveInverseCopies(CCatalog_Contents& catalog, Node relations, std::string_view id,
                         const std::string& creator_path);

// Removes from the relations of `imported` (the elements of one import) every entry
// whose component_ref names by path an element the catalog does not hold; a relation
// left without entries goes as a whole. Each removal is traced.
void DropUnresolvedRelationPaths(CCatalog_Contents& catalog, const NodeList& imported);

Node FirstWithTemporaryId(const NodeList& candidates, std::string_view value);

// True when every id and folder segment of the objects can name a directory of the
// file area (see IsSafePathSegment); *offending receives the first that cannot.
bool FileAreaIdsAreSafe(const CCatalog_Contents::ObjectArray& objects, std::string* offending);

}  // namespace zarn

#endif  // ZARN_IMPORT_INSERTION_INTERNAL_H_
