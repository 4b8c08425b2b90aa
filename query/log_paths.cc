#include "query/log_paths.h"

#include "catalog/catalog_format.h"
#include "maintenance/log_path_list.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// The names of the direct children mode 1 lists, in the order of the union.
constexpr std::string_view kChildLevels[] = {"COMPONENT",    "COMPONENT_FOLDER", "PROTOCOL", "CLASSIFICATION",
                                             "MANUFACTURER", "ZARN_CATALOG",     "section"};

bool IsChildLevel(std::string_view name) {
  for (std::string_view level : kChildLevels) {
    if (name == level) return true;
  }
  return false;
}

// descendant-or-self::COMPONENT, stopping at the first one.
bool HoldsComponent(Node node) {
  if (node.Name() == format::kComponent) return true;
  for (Node child = node.FirstChild(); child; child = child.NextSibling()) {
    if (child.IsElement() && HoldsComponent(child)) return true;
  }
  return false;
}

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

NodeList SelectLogPathElements(const CCatalog_Contents& catalog, std::string_view component_path, int32_t mode) {
  NodeList out;
  if (mode != kLogPathsChildren) {
    catalog.getSubElementsByXPath(LogPathsXPath(component_path, mode), &out);
    return out;
  }
  // libxml2 builds the whole descendant set for the predicate of each child; the
  // walk below stops at the first component instead.
  NodeList bases;
  catalog.getSubElementsByXPath(LogPathsXPath(component_path, kLogPathsElement), &bases);
  for (const Node& base : bases) {
    for (Node child = base.FirstChild(); child; child = child.NextSibling()) {
      if (child.IsElement() && IsChildLevel(child.Name()) && !child.HasAttribute(format::kIsInvisible) &&
          HoldsComponent(child)) {
        out.push_back(child);
      }
    }
  }
  return out;
}

uint32_t BuildLogPaths(CCatalog_Contents& catalog, const NodeList& elements, bool with_texts, bool path_form,
                       LogPathEntry** head) {
  CLogPathList builder(&catalog, elements, with_texts);
  return builder.BuildLogPathList(head, path_form);
}

uint32_t GetLogPaths(CCatalog_Contents& catalog, std::string_view component_path, bool with_texts, int32_t mode,
                     LogPathEntry** head) {
  if (component_path.empty()) return ZARN_E_EMPTY_PATH;
  const NodeList elements = SelectLogPathElements(catalog, component_path, mode);
  const uint32_t result = BuildLogPaths(catalog, elements, with_texts, mode == kLogPathsChildren, head);
  if (result == 0 && *head == nullptr) return ZARN_E_NOT_FOUND;
  return result;
}

Node SelectElementByComponentPath(const CCatalog_Contents& catalog, std::string_view component_path) {
  const std::string xpath = TrimRightChars(CCatalog_Contents::ComponentPathToXPath(component_path, "/"), "/*");
  return catalog.getSubElementByXPath(xpath);
}

}  // namespace zarn
