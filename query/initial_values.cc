#include "query/initial_values.h"

#include "catalog/catalog_format.h"
#include "platform/strings.h"
#include "query/log_paths.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

constexpr std::string_view kPurposeNames[] = {"PURPOSE_TAG", "PURPOSE_DESCRIPTION", "PURPOSE_MESSAGE",
                                              "PURPOSE_DEVICE_TYPE"};

Node SelectValueElement(const CDOMHelper& dom, Node initial_value, std::string_view language) {
  const std::string marked =
      EqualsNoCase(language, "en") ? std::string("./*[2][not(@lang)]") : "./*[@lang=\"" + std::string(language) + "\"]";
  Node value = dom.getElementByXPath(initial_value, marked);
  if (!value) value = dom.getElementByXPath(initial_value, "./*[2]");
  return value;
}

}  // namespace

uint32_t GetInitialValue(const CCatalog_Contents& catalog, std::string_view component_path,
                         std::string_view variable_ref, std::string_view language, std::string* value) {
  const CDOMHelper& dom = catalog.dom();
  const Node component = SelectElementByComponentPath(catalog, component_path);
  const Node initial_value = dom.getElementByXPath(
      component, ".//INITIAL_VALUES/initial_value/*[@ref='" + std::string(variable_ref) + "']/parent::node()");
  Node element = SelectValueElement(dom, initial_value, language);
  if (!element) return ZARN_E_NO_VALUE;
  if (const Node typed = dom.getElementByXPath(element, "./*")) element = typed;
  const Node first = element.FirstChild();
  if (!first) return ZARN_E_EMPTY_VALUE;
  *value = first.IsElement() ? std::string() : first.Text();
  return 0;
}

uint32_t GetPurposeMapping(const CCatalog_Contents& catalog, std::string_view component_path, int32_t kind,
                           std::string* value) {
  std::string xpath = TrimRightChars(CCatalog_Contents::ComponentPathToXPath(component_path, "/"), "/*");
  xpath += "/" + std::string(format::kPurposeMapping);
  if (kind >= 0 && kind < static_cast<int32_t>(std::size(kPurposeNames))) {
    xpath += "/string[text()='" + std::string(kPurposeNames[kind]) + "']/preceding-sibling::*";
  }
  NodeList nodes;
  if (!catalog.getSubElementsByXPath(xpath, &nodes) || nodes.empty()) return ZARN_E_NO_PURPOSE_MAPPING;
  std::string ref;
  CDOMHelper::ReadAttribute(nodes.back(), "ref", &ref);
  *value = ref;
  return 0;
}

}  // namespace zarn
