// Small operations on component and folder nodes: backslash paths, sections,
// matching, remaining paths, labels.
#include <algorithm>

#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "maintenance/file_area_names.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// The non-empty "/"-segments of a component path.
std::vector<std::string> Segments(std::string_view component_path) {
  std::vector<std::string> out;
  for (std::string& s : Split(TrimChars(component_path, "/"), "/")) {
    if (!s.empty()) out.push_back(std::move(s));
  }
  return out;
}

}  // namespace

void CCatalog_Contents::BuildBackslashPath(Node node, std::string* path) const {
  const Node top = root();
  for (Node n = node;; n = n.Parent()) {
    if (!n || n == top) {
      path->insert(0, "\\");
      return;
    }
    if (!path->empty()) path->insert(0, "\\");
    if (!n.HasAttribute(format::kVirtual)) path->insert(0, FileAreaName(n.Attribute(format::kId).value_or("")));
  }
}

Node CCatalog_Contents::FindSection(std::string_view id) const {
  // Sections are children of the document element.
  const Node top = root();
  if (!top) return Node();
  for (Node c = top.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsElement() && c.Name() == format::kSection && c.Attribute(format::kId) == id) return c;
  }
  return Node();
}

bool CCatalog_Contents::MatchesCatalogObject(Node node, const CCatalog_Object& object) const {
  std::string segment = LastPathSegment(TrimRightChars(object.ownPath, "/"));
  if (object.ownPath.empty() && !object.parentRefAsRead.empty()) segment = object.id;
  std::optional<std::string> id = node.Attribute(format::kId);
  return id && *id == segment && object.element && node.Name() == object.element.Name();
}

std::string CCatalog_Contents::LastPathSegment(std::string_view path) {
  const size_t slash = path.find_last_of('/');
  if (slash == std::string_view::npos) return std::string(path);
  return TrimChars(path.substr(slash + 1), "/");
}

void CCatalog_Contents::AddLabel(Node node, std::string_view text) {
  if (!node) return;
  node.AppendElement(format::kLabel).AppendElement(format::kString, text);
}

// The ids of `node` and its ancestors below the nearest catalog level (section,
// protocol, classification or manufacturer, the node itself or an ancestor):
// the component folders (and components) on the way down from that level.
std::vector<std::string> FoldersBelowLevel(Node node) {
  std::vector<std::string> out;
  for (Node n = node; n && n.IsElement(); n = n.Parent()) {
    const std::string name = n.Name();
    if (name == format::kSection || name == format::kProtocol || name == format::kClassification ||
        name == format::kManufacturer || name == format::kRootElement) {
      break;
    }
    out.insert(out.begin(), n.Attribute(format::kId).value_or(""));
  }
  return out;
}

int CCatalog_Contents::GetRemainingPath(Node node, CCatalog_Object* object, std::string* remaining, std::string* first,
                                        std::string_view kind) const {
  const bool component = kind == format::kComponent;
  if (!component && kind != format::kCatalogFolder) return -1;
  const std::string path = TrimChars(component ? object->idPath : object->catalogPath, "/");
  Node& reference = component ? object->componentReferenceNode : object->catalogFolderReferenceNode;
  remaining->clear();
  first->clear();
  if (path.empty()) return 0;
  std::vector<std::string> segments = Split(path, "/");
  size_t realised = 0;
  if (component) {
    // The folders that stand between the object's levels and the node, compared as
    // whole names: a folder named like a level above it is not there yet.
    const std::vector<std::string> done = FoldersBelowLevel(node);
    const bool begun =
        !done.empty() && done.size() <= segments.size() && std::equal(done.begin(), done.end(), segments.begin());
    if (!begun) reference = node;
    realised = begun ? done.size() : 0;
  } else {
    const std::string node_path = ComponentPathOf(node);
    if (node_path.find(segments[0]) == std::string::npos) {
      reference = node;
    } else {
      const size_t here = Segments(node_path).size();
      const size_t base = Segments(ComponentPathOf(reference)).size();
      realised = here > base ? here - base : 0;
    }
  }
  if (realised >= segments.size()) return 0;
  segments.erase(segments.begin(), segments.begin() + static_cast<std::ptrdiff_t>(realised));
  *remaining = Join(segments, "/");
  *first = segments[0];
  return 0;
}

}  // namespace zarn
