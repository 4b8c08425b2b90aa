// The element children of an element by name and id, so that finding a folder or a
// component among thousands of siblings does not walk them all.
#ifndef ZARN_CATALOG_CHILD_TABLE_H_
#define ZARN_CATALOG_CHILD_TABLE_H_

#include <string_view>

#include "catalog/dom_helper.h"

namespace zarn {

// The children of `parent` that CDOMHelper::IsNamedWithId(child, name, id), in
// document order. An element with few children is walked; one with many gets a
// table (per thread) kept while xml::ChildTableCount stands still, read on from
// its last child on every call, so appends (the way imports grow the catalog)
// keep it, and anything else makes the next call build it again.
NodeList ChildrenNamedWithId(Node parent, std::string_view name, std::string_view id);
// parent.FirstChildElement(name), from the same table.
Node FirstChildNamed(Node parent, std::string_view name);

}  // namespace zarn

#endif  // ZARN_CATALOG_CHILD_TABLE_H_
