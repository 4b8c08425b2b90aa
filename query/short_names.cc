// COT names: the short names of catalog elements below their manufacturer,
// classification or protocol.
#include <string>
#include <vector>

#include "catalog/catalog_format.h"
#include "platform/strings.h"
#include "query/log_paths.h"

namespace zarn {
namespace {

bool EndsCotName(const std::string& name) {
  return EqualsNoCase(name, format::kManufacturer) || EqualsNoCase(name, format::kClassification) ||
         EqualsNoCase(name, format::kProtocol);
}

// The ids of a COT name up to its first empty segment.
std::vector<std::string> CotSegments(std::string_view cot_name) {
  std::vector<std::string> segments = Split(TrimLeftChars(cot_name, "\\"), "\\");
  for (size_t i = 0; i < segments.size(); ++i) {
    if (segments[i].empty()) {
      segments.resize(i);
      break;
    }
  }
  return segments;
}

// True when the element and its parent elements carry the segments, last first.
bool EndsWith(Node element, const std::vector<std::string>& segments) {
  Node n = element;
  for (size_t i = segments.size(); i-- > 0; n = n.Parent()) {
    if (!n || n.Attribute(format::kId) != segments[i]) return false;
  }
  return true;
}

// Counts the elements below `node` that end with the segments, up to two; the first
// one found goes into *found.
void FindEndingWith(Node node, const std::vector<std::string>& segments, int* count, Node* found) {
  for (Node child = node.FirstChild(); child && *count < 2; child = child.NextSibling()) {
    if (!child.IsElement()) continue;
    if (EndsWith(child, segments) && (*count)++ == 0) *found = child;
    FindEndingWith(child, segments, count, found);
  }
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

// The same elements as "//*" followed by one "/*[@id=...]" step per segment (the
// first step on the element of the first segment). Only the elements that carry the
// last id can end with the segments; the index names them.
std::string ComponentPathFromCotName(const CCatalog_Contents& catalog, std::string_view cot_name) {
  const xml::Document* document = catalog.document();
  if (document == nullptr) return "";
  const std::vector<std::string> segments = CotSegments(cot_name);
  int count = 0;
  Node found;
  if (segments.empty()) {
    FindEndingWith(document->AsNode(), segments, &count, &found);  // every element: stops at the second
  } else {
    for (const Node& candidate : catalog.ElementsWithId(segments.back())) {
      if (!catalog.IsInDocument(candidate) || !EndsWith(candidate, segments)) continue;
      if (count++ == 0) found = candidate;
      if (count == 2) break;
    }
  }
  return count == 1 ? catalog.ComponentPathOf(found) : "";
}

}  // namespace zarn
