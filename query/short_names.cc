// COT names: the short names of catalog elements below their manufacturer,
// classification or protocol.
#include "catalog/catalog_format.h"
#include "platform/strings.h"
#include "query/log_paths.h"

namespace zarn {
namespace {

bool EndsCotName(const std::string& name) {
  return EqualsNoCase(name, format::kManufacturer) || EqualsNoCase(name, format::kClassification) ||
         EqualsNoCase(name, format::kProtocol);
}

}  // namespace

std::string CotNameOf(const CCatalog_Contents& catalog, std::string_view component_path) {
  std::string name;
  for (Node n = SelectElementByComponentPath(catalog, component_path); n; n = n.Parent()) {
    if (EndsCotName(n.Name())) break;
    if (std::optional<std::string> id = n.Attribute(format::kId)) name = "\\" + *id + name;
  }
  return name;
}

std::string ComponentPathFromCotName(const CCatalog_Contents& catalog, std::string_view cot_name) {
  const std::string steps = TrimChars(CCatalog_Contents::ComponentPathToXPath(cot_name, "\\"), "/*");
  NodeList found;
  catalog.getSubElementsByXPath("//*" + steps, &found);
  if (found.size() != 1) return "";
  return catalog.ComponentPathOf(found.front());
}

}  // namespace zarn
