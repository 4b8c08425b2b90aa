// Selection from the catalog document and the component-path conversions.
#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "external/trace.h"
#include "platform/strings.h"
#include "xml/xpath.h"

namespace zarn {

bool CCatalog_Contents::getSubElementsByXPath(std::string_view xpath, NodeList* out) const {
  out->clear();
  if (xpath.empty() || !document_) return false;
  std::string error;
  if (!xml::SelectNodes(document_->AsNode(), xpath, out, &error)) {
    Trace(kTraceError, "CCatalog_Contents::getSubElementsByXPath", "error selection elements: %s", error);
    return false;
  }
  return true;
}

Node CCatalog_Contents::getSubElementByXPath(std::string_view xpath) const {
  if (xpath.empty() || !document_) return Node();
  std::string error;
  Node found = xml::SelectFirst(document_->AsNode(), xpath, &error);
  if (!found && !error.empty()) {
    Trace(kTraceError, "CCatalog_Contents::getSubElementByXPath", "error selection elements: %s", error);
  }
  return found;
}

std::string CCatalog_Contents::ComponentPathToXPath(std::string_view component_path, std::string_view separators) {
  std::string xpath = "/*";
  std::vector<std::string> tokens = Split(TrimLeftChars(component_path, separators), separators);
  for (const std::string& token : tokens) {
    if (token.empty()) break;
    xpath += "/*[@id=\"" + token + "\"]";
  }
  return xpath + "/*";
}

Node CCatalog_Contents::FindByComponentPath(std::string_view component_path) const {
  // Walk the ids from the root instead of running XPath: ids may hold quotes.
  Node node = root();
  for (const std::string& id : Split(TrimChars(component_path, "/"), "/")) {
    if (!node || id.empty()) return Node();
    Node match;
    for (Node child = node.FirstChild(); child; child = child.NextSibling()) {
      if (child.IsElement() && child.Attribute(format::kId) == id) {
        match = child;
        break;
      }
    }
    node = match;
  }
  return node;
}

// Stepping up from `node`, each id goes in front of *path, after a "/" when *path
// is not empty at that point; a "/" goes in front at the end. The path is put
// together in one go: the "/" after the id of ids[i] (nearest first) is there when
// *path or one of the ids nearer than it is not empty.
void CCatalog_Contents::BuildIdPath(Node node, std::string* path) const {
  const Node top = root();
  std::vector<std::string> ids;
  for (Node n = node; n && !(n == top); n = n.Parent()) ids.push_back(n.Attribute(format::kId).value_or(""));
  std::vector<bool> separated(ids.size());
  bool filled = !path->empty();
  for (size_t i = 0; i < ids.size(); ++i) {
    separated[i] = filled;
    filled = filled || !ids[i].empty();
  }
  std::string out = "/";
  for (size_t i = ids.size(); i-- > 0;) {
    out += ids[i];
    if (separated[i]) out += '/';
  }
  out += *path;
  *path = std::move(out);
}

std::string CCatalog_Contents::ComponentPathOf(Node node) const {
  std::string path;
  BuildIdPath(node, &path);
  return path;
}

}  // namespace zarn
