#include "query/log_paths.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "catalog/catalog_format.h"
#include "catalog/id_path.h"
#include "maintenance/log_path_list.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// The names of the direct children mode 1 lists, in the order of the union.
constexpr std::string_view kChildLevels[] = {"COMPONENT",    "COMPONENT_FOLDER", "PROTOCOL", "CLASSIFICATION",
                                             "MANUFACTURER", "ZARN_CATALOG",     "section"};

bool IsChildLevel(Node node) {
  for (std::string_view level : kChildLevels) {
    if (node.IsElementNamed(level)) return true;
  }
  return false;
}

bool IsVisible(Node node) { return !node.PlainAttribute(format::kIsInvisible); }

// descendant-or-self::COMPONENT, stopping at the first one.
bool HoldsComponent(Node node) {
  if (node.IsElementNamed(format::kComponent)) return true;
  for (Node child = node.FirstChild(); child; child = child.NextSibling()) {
    if (child.IsElement() && HoldsComponent(child)) return true;
  }
  return false;
}

// Calls visit for what "node//COMPONENT[not(@isInvisible)]" selects, in document order.
template <typename Visit>
void ForEachVisibleComponent(Node node, Visit& visit) {
  xml::ForEachElementNamed(node, format::kComponent, [&visit](Node component) {
    if (IsVisible(component)) visit(component);
  });
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

// The XPath of mode 2 selects the elements at the path (cheap: one child step per
// id); what modes 0 and 1 select below them is found by walking their subtrees,
// which are disjoint and in document order. Their XPaths would have libxml2 build
// the whole descendant set (for mode 1 once per child, for its predicate).
NodeList SelectLogPathElements(const CCatalog_Contents& catalog, std::string_view component_path, int32_t mode) {
  NodeList bases;
  catalog.getSubElementsByXPath(LogPathsXPath(component_path, kLogPathsElement), &bases);
  if (mode == kLogPathsElement) return bases;
  NodeList out;
  for (const Node& base : bases) {
    if (mode != kLogPathsChildren) {
      auto collect = [&out](Node component) { out.push_back(component); };
      ForEachVisibleComponent(base, collect);
      continue;
    }
    for (Node child = base.FirstChild(); child; child = child.NextSibling()) {
      if (IsChildLevel(child) && IsVisible(child) && HoldsComponent(child)) out.push_back(child);
    }
  }
  return out;
}

uint32_t BuildLogPaths(CCatalog_Contents& catalog, const NodeList& elements, bool with_texts, bool path_form,
                       LogPathEntry** head) {
  CLogPathList builder(&catalog, elements, with_texts);
  return builder.BuildLogPathList(head, path_form);
}

namespace {

// The components below the element: each one is described as soon as the walk
// finds it, while its nodes are still in the processor's cache (a catalog of
// thousands of components is far larger than the cache).
uint32_t BuildLogPathsBelow(CCatalog_Contents& catalog, std::string_view component_path, bool with_texts,
                            LogPathEntry** head) {
  NodeList bases;
  catalog.getSubElementsByXPath(LogPathsXPath(component_path, kLogPathsElement), &bases);
  CLogPathList builder(&catalog, NodeList(), with_texts);
  builder.Start(false);
  auto add = [&builder](Node component) { builder.Add(component); };
  for (const Node& base : bases) ForEachVisibleComponent(base, add);
  return builder.Finish(head);
}

}  // namespace

uint32_t GetLogPaths(CCatalog_Contents& catalog, std::string_view component_path, bool with_texts, int32_t mode,
                     LogPathEntry** head) {
  if (component_path.empty()) return ZARN_E_EMPTY_PATH;
  uint32_t result = 0;
  if (mode == kLogPathsChildren || mode == kLogPathsElement) {
    const NodeList elements = SelectLogPathElements(catalog, component_path, mode);
    result = BuildLogPaths(catalog, elements, with_texts, mode == kLogPathsChildren, head);
  } else {
    result = BuildLogPathsBelow(catalog, component_path, with_texts, head);
  }
  if (result == 0 && *head == nullptr) return ZARN_E_NOT_FOUND;
  return result;
}

// The first element of "/*/*[@id=...]/..." (ComponentPathToXPath without its last
// step), found by walking the children along the ids. An id with a quote makes that
// XPath malformed: it is left to the XPath, which traces the failure.
Node SelectElementByComponentPath(const CCatalog_Contents& catalog, std::string_view component_path) {
  std::vector<std::string> ids = Split(TrimLeftChars(component_path, "/"), "/");
  ids.erase(std::find(ids.begin(), ids.end(), std::string()), ids.end());
  const Node root = catalog.root();
  if (ids.empty() || !root) return Node();
  for (const std::string& id : ids) {
    if (id.find('"') != std::string::npos) {
      return catalog.getSubElementByXPath(
          TrimRightChars(CCatalog_Contents::ComponentPathToXPath(component_path, "/"), "/*"));
    }
  }
  return FirstAlongIds(root, ids);
}

}  // namespace zarn
