// Selection and reading relative to a node of a catalog or component XML document.
#ifndef ZARN_CATALOG_DOM_HELPER_H_
#define ZARN_CATALOG_DOM_HELPER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "xml/node.h"

namespace zarn {

using xml::Node;
using NodeList = std::vector<Node>;

class CDOMHelper {
 public:
  // The first node `xpath` finds from `node`; null for a null node, an empty XPath
  // or a failed selection (traced as "Error selecting %s").
  Node getElementByXPath(Node node, std::string_view xpath) const;
  // Every node `xpath` finds; false (and an empty list) on the same failures.
  bool getElementsByXPath(Node node, std::string_view xpath, NodeList* out) const;

  // True when the node exists and has the attribute; *value receives its text.
  static bool ReadAttribute(Node node, std::string_view name, std::string* value);
  // The first node of the list whose name equals `name` ignoring case, or null.
  static Node FindChildElement(const NodeList& nodes, std::string_view name);
  // True when `node` is an element named `name` whose idTmp or id equals `id`
  // (names and values compared ignoring case).
  static bool IsNamedWithId(Node node, std::string_view name, std::string_view id);
  // The first element child that IsNamedWithId.
  static Node FindChildByNameAndId(Node parent, std::string_view name, std::string_view id);
  // The child element named `name` when there is exactly one (its id into *id).
  static Node FindSingleChildElement(Node parent, std::string_view name, std::string* id);
  // True when the node or an ancestor is named `name` (ignoring case).
  static bool HasAncestorNamed(Node node, std::string_view name);
  // True when the chain of COMPONENT_FOLDER elements ending at `node` carries the
  // segments of `component_path`.
  static bool MatchesFolderPath(Node node, std::string_view component_path);
  // The fsPath of the nearest ancestor-or-self that has one.
  static bool FindFileSystemPath(Node node, std::string* fs_path);

  // The value of an element in `language`, file references resolved against
  // `base_directory`. Returns 0, or ZARN_E_PATH_TOO_LONG when a resolved path has
  // 260 characters or more (the value is still delivered).
  uint32_t ReadElementValue(std::string_view language, std::string_view base_directory, Node element,
                            std::string* value) const;
  // Looks for `name` among `children`, then among the children of each ancestor,
  // appending every non-empty value and ";" to *value (only the first with
  // first_only). Returns the last ReadElementValue result.
  uint32_t ReadInheritedValue(const NodeList& children, std::string_view name, bool first_only,
                              std::string_view language, std::string_view base_directory, std::string* value) const;

  // Ids of the nested CLASSIFICATION ancestors-or-self joined by "_", outermost first.
  static int ReadClassificationName(Node node, std::string* name);
  static int ReadProtocolName(Node node, std::string* name);
  static int ReadManufacturerName(Node node, std::string* name);
};

// Whether a name is in one of the catalog's element-name sets (exact or ignoring case).
bool IsFileReferenceElement(std::string_view name);
bool IsNameAttributeElement(std::string_view name);

}  // namespace zarn

#endif  // ZARN_CATALOG_DOM_HELPER_H_
