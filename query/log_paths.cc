#include "query/log_paths.h"

#include "catalog/catalog_format.h"
#include "maintenance/log_path_list.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// The names of the direct children mode 1 lists, in the order of the union.
constexpr std::string_view kChildLevels[] = {"COMPONENT",    "COMPONENT_FOLDER", "PROTOCOL", "CLASSIFICATION",
                                             "MANUFACTURER", "ZARN_CATALOG",     "section"};

}  // namespace

std::string LogPathsXPath(std::string_view component_path, int32_t mode) {
  std::string base = CCatalog_Contents::ComponentPathToXPath(component_path, "/");
  base.resize(base.size() - 2);  // the trailing "/*": base addresses the element itself
  if (mode == kLogPathsElement) return base;
  if (mode != kLogPathsChildren) return base + "//" + std::string(format::kComponent) + "[not(@isInvisible)]";
  std::string xpath;
  for (std::string_view level : kChildLevels) {
    if (!xpath.empty()) xpath += " | ";
    xpath += base + "/" + std::string(level) + "[not(@isInvisible) and descendant-or-self::COMPONENT]";
  }
  return xpath;
}

uint32_t BuildLogPaths(CCatalog_Contents& catalog, const NodeList& elements, bool with_texts, bool path_form,
                       LogPathEntry** head) {
  CLogPathList builder(&catalog, elements, with_texts);
  return builder.BuildLogPathList(head, path_form);
}

uint32_t GetLogPaths(CCatalog_Contents& catalog, std::string_view component_path, bool with_texts, int32_t mode,
                     LogPathEntry** head) {
  if (component_path.empty()) return ZARN_E_EMPTY_PATH;
  NodeList elements;
  catalog.getSubElementsByXPath(LogPathsXPath(component_path, mode), &elements);
  const uint32_t result = BuildLogPaths(catalog, elements, with_texts, mode == kLogPathsChildren, head);
  if (result == 0 && *head == nullptr) return ZARN_E_NOT_FOUND;
  return result;
}

Node SelectElementByComponentPath(const CCatalog_Contents& catalog, std::string_view component_path) {
  const std::string xpath = TrimRightChars(CCatalog_Contents::ComponentPathToXPath(component_path, "/"), "/*");
  return catalog.getSubElementByXPath(xpath);
}

}  // namespace zarn
