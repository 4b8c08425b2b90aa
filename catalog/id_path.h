// Following a component path through the catalog tree one id at a time, as the
// XPath "/*/*[@id=..]/*[@id=..]..." does, without building or running that XPath.
#ifndef ZARN_CATALOG_ID_PATH_H_
#define ZARN_CATALOG_ID_PATH_H_

#include <string>
#include <vector>

#include "xml/node.h"

namespace zarn {

// The first element in document order reached from `from` by one child step per id
// (ids[0] first), matching the id attribute exactly; `from` itself for no ids.
// Siblings may share an id, so every match is followed before the next one is
// tried. Null when no element is reached.
xml::Node FirstAlongIds(xml::Node from, const std::vector<std::string>& ids);

}  // namespace zarn

#endif  // ZARN_CATALOG_ID_PATH_H_
