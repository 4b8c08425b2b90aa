// Walking folder chains: component folders below the levels, catalog folders below
// the document element.
#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "catalog/child_table.h"
#include "conversion/catalog_object.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn {

void CCatalog_Contents::ResolveComponentFolderPath(Node* node, std::string_view path, bool accept_artificial,
                                                   bool accept_component) {
  if (!*node) return;
  for (const std::string& segment : Split(TrimChars(path, "/"), "/")) {
    if (segment.empty()) break;
    Node taken;
    for (Node c : ChildrenNamedWithId(*node, format::kComponentFolder, segment)) {
      if (c.Name() != format::kComponentFolder || c.Attribute(format::kId) != segment) continue;
      if (accept_artificial || !c.HasAttribute(format::kIsArtificial)) {
        taken = c;
        break;
      }
    }
    if (!taken && accept_component) taken = CDOMHelper::FindChildByNameAndId(*node, format::kComponent, segment);
    if (!taken && accept_artificial) {
      taken = node->AppendElement(format::kComponentFolder);
      taken.SetAttribute(format::kId, segment);
      taken.SetAttribute(format::kIsArtificial, format::kTrue);
      NoteCreated(taken);
    }
    if (!taken) return;
    *node = taken;
  }
}

void CCatalog_Contents::ResolveCatalogFolderPath(Node* node, std::string_view path, bool create) {
  if (!*node) return;
  for (const std::string& segment : Split(TrimChars(path, "/"), "/")) {
    if (segment.empty()) continue;
    Node taken = CDOMHelper::FindChildByNameAndId(*node, format::kCatalogFolder, segment);
    if (!taken && create) {
      taken = node->AppendElement(format::kCatalogFolder);
      taken.SetAttribute(format::kId, segment);
      NoteCreated(taken);
    }
    if (!taken) return;
    *node = taken;
  }
}

Node CCatalog_Contents::FindCatalogFolderNode(CCatalog_Object* object, bool create) {
  Node node = create ? EnsureRoot() : root();
  object->catalogFolderReferenceNode = node;
  ResolveCatalogFolderPath(&node, object->catalogPath, create);
  return node;
}

uint32_t CCatalog_Contents::PlaceCatalogFolder(Node node, CCatalog_Object* object) {
  if (!node) return ZARN_E_NO_CATALOG_FOLDER_NODE;
  if (object->catalogPath.empty() || MatchesCatalogObject(node, *object)) return 0;
  std::string remaining, first;
  GetRemainingPath(node, object, &remaining, &first, format::kCatalogFolder);
  if (first.empty()) {
    SetTemporaryId(node, object->id);
    object->catalogNode = node;
    return 0;
  }
  Node folder = node.AppendElement(format::kCatalogFolder);
  folder.SetAttribute(format::kId, first);
  SetTemporaryId(folder, object->id);
  NoteCreated(folder);
  object->catalogNode = folder;
  CopyChildElements(object->element, folder);
  return 0;
}

}  // namespace zarn
