// The single removal steps of a deletion: the node itself with its emptied
// ancestors, hardware-configuration partners, inverse relations and identification keys.
#include "catalog/catalog_format.h"
#include "external/trace.h"
#include "import/import_driver.h"
#include "maintenance/deletion.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {
namespace {

constexpr std::string_view kInverseChildRelations =
    "COMPONENT_RELATIONS/COMPONENT_RELATION[descendant::isInverse and descendant::CHILD_COMPONENT]";

// True when a text node below `element` is `text`.
bool HasDescendantText(Node element, const std::string& text) {
  for (Node c = element.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsText() && c.Text() == text) return true;
    if (c.IsElement() && HasDescendantText(c, text)) return true;
  }
  return false;
}

// The first element named `name` below `node`, in document order, that holds the text `path`.
Node FindReferenceBelow(Node node, std::string_view name, const std::string& path) {
  for (Node c = node.FirstChild(); c; c = c.NextSibling()) {
    if (!c.IsElement()) continue;
    if (c.Name() == name && HasDescendantText(c, path)) return c;
    if (Node found = FindReferenceBelow(c, name, path)) return found;
  }
  return Node();
}

// Removes the first catalog-folder element of kind `name` that holds `path`. Catalog
// folders hang below the root (and below each other), so only their subtrees are
// searched, not the component tree.
bool RemoveCatalogFolderReference(CCatalog_Contents& catalog, std::string_view name, const std::string& path) {
  Node root = catalog.root();
  for (Node folder = root ? root.FirstChild() : Node(); folder; folder = folder.NextSibling()) {
    if (!folder.IsElement() || folder.Name() != format::kCatalogFolder) continue;
    if (Node reference = FindReferenceBelow(folder, name, path)) {
      catalog.RemoveNode(reference);
      return true;
    }
  }
  return false;
}

// Deletes the file-area directory `fs_path` (document form); true on success.
// A directory that is not there is gone already. With `refused_is_gone`, an fsPath
// outside the file area (never ours to delete) counts as gone as well.
bool DeleteFileArea(const CCatalog_Contents& catalog, const std::string& fs_path, bool refused_is_gone = false) {
  std::string native;
  if (!FileAreaDirectory(catalog.catalogDirectory(), fs_path, &native)) {
    Trace(kTraceError, "CCatalog_Contents::DeleteNode", "refusing to delete %s", fs_path);
    return refused_is_gone;
  }
  CFileOperation files;
  return files.GetPathType(native) == kPathMissing || files.Delete(native);
}

// The fsPath in one form for comparing: backslashes, no trailing one.
std::string FileAreaKey(const std::string& fs_path) {
  std::string key = fs_path;
  for (char& c : key) {
    if (c == '/') c = '\\';
  }
  return TrimRightChars(key, "\\");
}

}  // namespace

std::vector<std::string> UnusedFileAreas(const CCatalog_Contents& catalog, const std::vector<std::string>& file_areas) {
  std::vector<std::string> unused;
  if (file_areas.empty()) return unused;
  NodeList users;
  catalog.getSubElementsByXPath("//*[@fsPath]", &users);
  std::vector<std::string> used;
  for (Node n : users) used.push_back(FileAreaKey(n.Attribute(format::kFsPath).value_or("")));
  for (const std::string& fs_path : file_areas) {
    const std::string key = FileAreaKey(fs_path);
    bool in_use = false;
    for (const std::string& u : used) {
      if (u == key || u.compare(0, key.size() + 1, key + "\\") == 0) in_use = true;
    }
    if (!in_use && !key.empty()) unused.push_back(fs_path);
  }
  return unused;
}

bool DeleteFileAreas(CCatalog_Contents& catalog, const std::vector<std::string>& unused) {
  bool all_gone = true;
  for (const std::string& fs_path : unused) {
    if (!DeleteFileArea(catalog, fs_path, true)) {
      Trace(kTraceError, "ZARN_DeleteComponent", "the files of %s cannot all be removed; they stay", fs_path);
      all_gone = false;
    }
  }
  return all_gone;
}

bool DeleteUnusedFileAreas(CCatalog_Contents& catalog, const std::vector<std::string>& file_areas) {
  return DeleteFileAreas(catalog, UnusedFileAreas(catalog, file_areas));
}

uint32_t DeleteNode(CCatalog_Contents& catalog, Node node, bool delete_files, std::vector<std::string>* file_areas) {
  if (!node) return ZARN_E_NOT_FOUND;
  const std::string path = catalog.ComponentPathOf(node);
  if (!path.empty() && !RemoveCatalogFolderReference(catalog, format::kComponent, path)) {
    RemoveCatalogFolderReference(catalog, format::kComponentFolder, path);
  }
  Node parent = node.Parent();
  if (!parent) return ZARN_E_NO_PARENT;
  const std::string fs_path = node.Attribute(format::kFsPath).value_or("");
  catalog.RemoveNode(node);
  if (!parent.FirstChild() && !parent.HasAttribute(format::kIsArtificial)) DeleteNode(catalog, parent, false);
  if (delete_files && !fs_path.empty() && file_areas != nullptr) {
    file_areas->push_back(fs_path);
  } else if (delete_files && !fs_path.empty() && !DeleteFileArea(catalog, fs_path)) {
    return ZARN_E_CANNOT_DELETE;
  }
  return 0;
}

void DeleteHardwareConfigurationPartners(CCatalog_Contents& catalog, Node node, std::string* result,
                                         std::vector<std::string>* file_areas) {
  if (!node) return;
  const std::string id = node.Attribute(format::kId).value_or("");
  Node parent = node.Parent();
  if (id.empty() || !parent) return;
  for (std::string_view suffix : {format::kHwcnRackSuffix, format::kHwcnDeviceSuffix}) {
    const std::string partner_id = id + std::string(suffix);
    Node partner;
    for (Node c : parent.ChildElements()) {
      if (c.Name() == format::kComponent && c.Attribute(format::kId) == partner_id) {
        partner = c;
        break;
      }
    }
    if (!partner) continue;
    const std::string path = catalog.ComponentPathOf(partner);
    if (!path.empty()) *result += ";" + path;
    DeleteNode(catalog, partner, true, file_areas);
  }
}

void DeleteInverseParentRelations(CCatalog_Contents& catalog, Node node) {
  NodeList relations;
  catalog.dom().getElementsByXPath(node, ".//COMPONENT_RELATIONS/COMPONENT_RELATION[descendant::PARENT_COMPONENT]",
                                   &relations);
  for (Node relation : relations) {
    std::string own = catalog.ComponentPathOf(relation);
    own = TrimRightChars(own.substr(0, own.rfind('/') == std::string::npos ? 0 : own.rfind('/')), "/");
    if (own.find('\'') != std::string::npos) continue;
    NodeList refs;
    catalog.dom().getElementsByXPath(relation, "COMPONENTS/component/component_ref", &refs);
    for (Node ref : refs) {
      Node parent_component = SelectEntryElement(catalog, ref.Text());
      if (!parent_component) continue;
      NodeList inverse;
      catalog.dom().getElementsByXPath(parent_component, ".//COMPONENT_RELATION[descendant::*[text()='" + own + "']]",
                                       &inverse);
      for (Node candidate : inverse) {
        if (candidate.FirstChildElement("isInverse")) DeleteNode(catalog, candidate, false);
      }
    }
  }
}

void KeepChildRelations(CCatalog_Contents& catalog, Node node, Node parent) {
  if (!node || !parent || !node.IsElement()) return;
  // A module inside its station's component comes back only with the station, which
  // writes the relation anew; a placeholder there would wait for nothing.
  for (Node n = parent; n; n = n.Parent()) {
    if (n.IsElement() && n.Name() == format::kComponent) return;
  }
  Node placeholder;
  const auto ensure_placeholder = [&]() {
    if (placeholder) return;
    placeholder = parent.AppendElement(format::kComponentFolder);
    placeholder.SetAttribute(format::kId, node.Attribute(format::kId).value_or(""));
    placeholder.SetAttribute(format::kIsArtificial, format::kTrue);
  };
  NodeList relations;
  catalog.dom().getElementsByXPath(node, kInverseChildRelations, &relations);
  if (!relations.empty()) {
    ensure_placeholder();
    catalog.ForgetRelationHolders();
    Node holder = placeholder.AppendElement(format::kComponentRelations);
    for (Node relation : relations) {
      Node copy = holder.AppendElement(format::kComponentRelation);
      if (auto id = relation.Attribute(format::kId)) copy.SetAttribute(format::kId, *id);
      catalog.CopyChildElements(relation, copy);
    }
  }
  for (Node child : node.ChildElements()) {
    NodeList below;
    catalog.dom().getElementsByXPath(child, ".//" + std::string(kInverseChildRelations), &below);
    if (below.empty()) continue;
    ensure_placeholder();
    KeepChildRelations(catalog, child, placeholder);
  }
}

std::string ElementIdentificationKey(Node element) {
  Node manufacturer = element.FirstChildElement(format::kManufacturer);
  Node type = element.FirstChildElement(format::kDeviceType);
  Node revision = element.FirstChildElement(format::kDeviceRevision);
  if (!manufacturer || !type || !revision) return std::string();
  return CCatalog_Contents::IndexKey(manufacturer.Text(), type.Text(), revision.Text());
}

std::string RemoveIdentificationKey(CCatalog_Contents& catalog, const std::string& key,
                                    const std::string& component_path) {
  std::string indexed;
  if (!catalog.IndexLookup(key, &indexed)) return std::string();
  if (indexed == component_path || indexed.compare(0, component_path.size() + 1, component_path + "/") == 0) {
    catalog.IndexRemove(key);
    return indexed;
  }
  return std::string();
}

}  // namespace zarn
