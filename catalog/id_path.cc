#include "catalog/id_path.h"

#include "catalog/catalog_format.h"

namespace zarn {
namespace {

xml::Node FirstAlongIdsFrom(xml::Node node, const std::vector<std::string>& ids, size_t next) {
  if (next == ids.size()) return node;
  for (xml::Node child = node.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsElement() || child.PlainAttribute(format::kId) != ids[next]) continue;
    if (xml::Node found = FirstAlongIdsFrom(child, ids, next + 1)) return found;
  }
  return xml::Node();
}

}  // namespace

xml::Node FirstAlongIds(xml::Node from, const std::vector<std::string>& ids) {
  return from ? FirstAlongIdsFrom(from, ids, 0) : xml::Node();
}

}  // namespace zarn
