#include "catalog/dom_helper.h"

#include "catalog/catalog_format.h"
#include "catalog/child_table.h"
#include "external/trace.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "xml/xpath.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

template <size_t N>
bool InSet(const std::string_view (&set)[N], std::string_view name, bool ignore_case) {
  for (std::string_view s : set) {
    if (ignore_case ? EqualsNoCase(s, name) : s == name) return true;
  }
  return false;
}

// Reads the id of the nearest ancestor-or-self named `name`.
int ReadAncestorId(Node node, std::string_view name, std::string* id) {
  for (Node n = node; n; n = n.Parent()) {
    if (EqualsNoCase(n.Name(), name)) {
      *id = n.Attribute(format::kId).value_or("");
      return 0;
    }
  }
  return -1;
}

// base directory + separator + file name; flags a path that is too long.
uint32_t ResolveFile(std::string_view base_directory, std::string_view file, std::string* full) {
  *full = JoinPath(TrimRightChars(base_directory, "\\/"), file);
  return ToUtf16(*full).size() >= format::kMaxPath ? ZARN_E_PATH_TOO_LONG : 0;
}

std::string LanguageXPath(std::string_view language) {
  if (EqualsNoCase(language, "en")) return "string[not(@lang)]";
  return "string[@lang=\"" + std::string(language) + "\"]";
}

// What "string[@lang=\"<language>\"]" selects first among the children of
// `element`, or with a null language "string[not(@lang)]".
Node FirstStringChild(Node element, const std::string* language) {
  for (Node child = element.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsElementNamed(format::kString)) continue;
    const std::optional<std::string> lang = child.PlainAttribute(format::kLang);
    if (language == nullptr ? !lang : lang == *language) return child;
  }
  return Node();
}

// The string child of `element` in `language`; the XPath of LanguageXPath, walked
// (a language with a quote is left to the XPath, which traces it as malformed).
Node FindLanguageString(const CDOMHelper& dom, Node element, std::string_view language) {
  if (EqualsNoCase(language, "en")) return FirstStringChild(element, nullptr);
  if (language.find('"') != std::string_view::npos) return dom.getElementByXPath(element, LanguageXPath(language));
  const std::string wanted(language);
  return FirstStringChild(element, &wanted);
}

}  // namespace

bool IsFileReferenceElement(std::string_view name) { return InSet(format::kFileReferenceElements, name, true); }

bool IsNameAttributeElement(std::string_view name) { return InSet(format::kNameAttributeElements, name, false); }

Node CDOMHelper::getElementByXPath(Node node, std::string_view xpath) const {
  if (!node || xpath.empty()) return Node();
  std::string error;
  Node found = xml::SelectFirst(node, xpath, &error);
  if (!found && !error.empty()) {
    Trace(kTraceError, "CDOMHelper::getElementByXPath", "Error selecting %s", error);
  }
  return found;
}

bool CDOMHelper::getElementsByXPath(Node node, std::string_view xpath, NodeList* out) const {
  out->clear();
  if (!node || xpath.empty()) return false;
  std::string error;
  if (!xml::SelectNodes(node, xpath, out, &error)) {
    Trace(kTraceError, "CDOMHelper::getElementsByXPath", "Error selecting %s", error);
    return false;
  }
  return true;
}

bool CDOMHelper::ReadAttribute(Node node, std::string_view name, std::string* value) {
  if (!node) return false;
  std::optional<std::string> v = node.Attribute(name);
  if (!v) return false;
  *value = std::move(*v);
  return true;
}

Node CDOMHelper::FindChildElement(const NodeList& nodes, std::string_view name) {
  for (const Node& n : nodes) {
    if (EqualsNoCase(n.Name(), name)) return n;
  }
  return Node();
}

bool CDOMHelper::IsNamedWithId(Node node, std::string_view name, std::string_view id) {
  if (!node.IsElement() || !EqualsNoCase(node.Name(), name)) return false;
  // During an import an element's idTmp (the id of the object that placed it) may
  // differ from its id, and either names it.
  const std::optional<std::string> tmp = node.Attribute(format::kIdTmp);
  if (tmp && EqualsNoCase(*tmp, id)) return true;
  const std::optional<std::string> value = node.Attribute(format::kId);
  return value && EqualsNoCase(*value, id);
}

Node CDOMHelper::FindChildByNameAndId(Node parent, std::string_view name, std::string_view id) {
  const NodeList found = ChildrenNamedWithId(parent, name, id);
  return found.empty() ? Node() : found.front();
}

Node CDOMHelper::FindSingleChildElement(Node parent, std::string_view name, std::string* id) {
  Node found;
  int count = 0;
  for (Node child = parent.FirstChild(); child; child = child.NextSibling()) {
    if (child.IsElement() && EqualsNoCase(child.Name(), name)) {
      found = child;
      ++count;
    }
  }
  if (count != 1) return Node();
  if (id != nullptr) *id = found.Attribute(format::kId).value_or("");
  return found;
}

bool CDOMHelper::HasAncestorNamed(Node node, std::string_view name) {
  for (Node n = node; n; n = n.Parent()) {
    if (EqualsNoCase(n.Name(), name)) return true;
  }
  return false;
}

bool CDOMHelper::MatchesFolderPath(Node node, std::string_view component_path) {
  std::string path = TrimChars(component_path, "/");
  while (true) {
    if (!node || node.Name() != format::kComponentFolder) return false;
    const size_t slash = path.find_last_of('/');
    const std::string last = slash == std::string::npos ? path : path.substr(slash + 1);
    if (!EqualsNoCase(node.Attribute(format::kId).value_or(""), last)) return false;
    if (slash == std::string::npos) return true;
    path.resize(slash);
    node = node.Parent();
  }
}

bool CDOMHelper::FindFileSystemPath(Node node, std::string* fs_path) {
  for (Node n = node; n; n = n.Parent()) {
    if (ReadAttribute(n, format::kFsPath, fs_path)) return true;
  }
  return false;
}

uint32_t CDOMHelper::ReadElementValue(std::string_view language, std::string_view base_directory, Node element,
                                      std::string* value) const {
  uint32_t result = 0;
  const std::string name = element.Name();
  const NodeList children = element.Children();
  if (FindChildElement(children, format::kString)) {
    if (name == format::kAdditionalZarns) {
      const std::string base = TrimRightChars(base_directory, "\\/");
      for (const Node& child : children) {
        if (child.Name() != format::kString) continue;
        std::string full;
        if (ResolveFile(base, child.Text(), &full) != 0) result = ZARN_E_PATH_TOO_LONG;
        *value = full + ";" + *value;
      }
      *value = TrimChars(*value, ";");
      return result;
    }
    if (EqualsNoCase(language, "000")) {
      *value = element.OuterXml();
      return 0;
    }
    Node found = FindLanguageString(*this, element, language);
    if (!found) found = FirstStringChild(element, nullptr);
    if (!found && name == format::kLabel) found = getElementByXPath(element, "parent::*/@id");
    if (found) *value = found.Text();
  } else if (IsNameAttributeElement(name)) {
    *value = element.Attribute("name").value_or("");
  } else if (name == "COMPONENT_PARENT") {
    *value = element.Attribute("refid").value_or("");
  } else {
    *value = element.Text();
  }
  if (IsFileReferenceElement(name) && !EqualsNoCase(name, format::kAdditionalZarns)) {
    std::string full;
    result = ResolveFile(base_directory, DocumentPathToNative(*value), &full);
    *value = std::move(full);
  }
  *value = Trim(*value);
  return result;
}

uint32_t CDOMHelper::ReadInheritedValue(const NodeList& children, std::string_view name, bool first_only,
                                        std::string_view language, std::string_view base_directory,
                                        std::string* value) const {
  uint32_t result = 0;
  NodeList list = children;
  while (!list.empty()) {
    const Node element = list.front().Parent();
    if (const Node child = FindChildElement(list, name)) {
      std::string fs_path;
      FindFileSystemPath(child, &fs_path);
      std::string text;
      result = ReadElementValue(language, std::string(base_directory) + DocumentPathToNative(fs_path), child, &text);
      if (!text.empty()) *value += text + ";";
      if (first_only) break;
    }
    const Node parent = element.Parent();
    if (!parent) break;
    list = parent.Children();
  }
  return result;
}

int CDOMHelper::ReadClassificationName(Node node, std::string* name) {
  Node n = node;
  while (n && !EqualsNoCase(n.Name(), format::kClassification)) n = n.Parent();
  if (!n) return -1;
  std::string joined = n.Attribute(format::kId).value_or("");
  for (Node up = n.Parent(); up && EqualsNoCase(up.Name(), format::kClassification); up = up.Parent()) {
    joined = up.Attribute(format::kId).value_or("") + "_" + joined;
  }
  *name = joined;
  return 0;
}

int CDOMHelper::ReadProtocolName(Node node, std::string* name) { return ReadAncestorId(node, format::kProtocol, name); }

int CDOMHelper::ReadManufacturerName(Node node, std::string* name) {
  return ReadAncestorId(node, format::kManufacturer, name);
}

}  // namespace zarn
