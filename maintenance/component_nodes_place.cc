// Placing folder and component objects below the node found for them, creating the
// levels and folders that are still missing.
#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "maintenance/file_area_names.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

bool PlacedByReference(const CCatalog_Object& object) {
  return object.ownPath.empty() && !object.parentRefAsRead.empty();
}

// The text of the first child element named `name`, or nullopt.
std::optional<std::string> ChildText(Node element, std::string_view name) {
  if (!element) return std::nullopt;
  Node child = element.FirstChildElement(name);
  if (!child) return std::nullopt;
  return child.Text();
}

// A section, protocol, classification or manufacturer level, or the root: an
// element that holds no content of a component.
bool IsLevelElement(Node node) {
  const std::string name = node.Name();
  return name == format::kSection || name == format::kProtocol || name == format::kClassification ||
         name == format::kManufacturer || name == format::kRootElement;
}

}  // namespace

uint32_t CCatalog_Contents::PlaceFolderObject(Node node, CCatalog_Object* object, bool path_complete) {
  if (!node) return ZARN_E_NO_LEVEL;
  const bool s = !object->section.empty();
  const bool p = !object->protocol.empty();
  const bool c = !object->classification.empty();
  const bool m = !object->manufacturer.empty();
  const bool t = !object->path.empty();
  const bool matched = MatchesCatalogObject(node, *object);

  if (s && !p && !c && !m && object->isCatalogLevel && node.Name() == format::kSection &&
      node.Attribute(format::kId) == object->section) {
    // The section a catalog level describes exists already: nothing to add.
    return PlaceLevelObject(node, object, format::kSection, object->section);
  }
  if (s && !p && !c && !m && !matched) {
    const uint32_t rc = CreateCatalogNode(node, format::kSection, object->id, object->section, object->element, object);
    if (object->backslashPath.empty()) BuildBackslashPath(node, &object->backslashPath);
    object->backslashPath += FileAreaName(TrimChars(object->section, "\\/"));
    return rc;
  }
  if (p && !c && !m) {
    if (t && CDOMHelper::HasAncestorNamed(node, format::kProtocol)) return PlaceFolder(node, object, path_complete);
    if (t) {
      Node level = node.AppendElement(format::kProtocol);
      level.SetAttribute(format::kId, object->protocol);
      NoteCreated(level);
      object->catalogNode = level;
      PlaceFolderObject(level, object, false);
      return 0;
    }
    return PlaceLevelObject(node, object, format::kProtocol, object->protocol);
  }
  if (c && !t && !m && !matched) {
    CreateClassificationPath(node, object, false);
    if (object->backslashPath.empty()) BuildBackslashPath(node, &object->backslashPath);
    return 0;
  }
  if (c && m && !matched) {
    if (t && CDOMHelper::HasAncestorNamed(node, format::kManufacturer)) {
      return PlaceFolder(node, object, path_complete);
    }
    if (t) {
      Node level = node.AppendElement(format::kManufacturer);
      level.SetAttribute(format::kId, object->manufacturer);
      AddLabel(level, ManufacturerLevelLabel(object->manufacturer));
      NoteCreated(level);
      object->catalogNode = level;
      PlaceFolderObject(level, object, false);
      return 0;
    }
    return PlaceLevelObject(node, object, format::kManufacturer, object->manufacturer);
  }
  if (c) return PlaceFolder(node, object, path_complete);
  return ZARN_E_NO_LEVEL;
}

uint32_t CCatalog_Contents::PlaceLevelObject(Node node, CCatalog_Object* object, std::string_view name,
                                             const std::string& id) {
  if (CDOMHelper::HasAncestorNamed(node, name)) {
    // The level exists (perhaps as a placeholder): it becomes the object's element.
    node.RemoveAttribute(format::kIsArtificial);
    object->catalogNode = node;
    if (object->backslashPath.empty()) BuildBackslashPath(node, &object->backslashPath);
    CopyChildElements(object->element, node);
    return 0;
  }
  const uint32_t rc = CreateCatalogNode(node, name, object->id, id, object->element, object);
  object->backslashPath.clear();
  BuildBackslashPath(node, &object->backslashPath);
  object->backslashPath += "\\" + FileAreaName(id);
  return rc;
}

uint32_t CCatalog_Contents::PlaceFolder(Node node, CCatalog_Object* object, bool path_complete) {
  std::string remaining, first;
  GetRemainingPath(node, object, &remaining, &first, format::kComponent);
  const bool by_reference = PlacedByReference(*object);
  if (by_reference) {
    Node folder = node.AppendElement(format::kComponentFolder);
    folder.SetAttribute(format::kId, object->id);
    SetTemporaryId(folder, object->id);
    folder.SetAttribute(format::kVirtual, format::kTrue);
    NoteCreated(folder);
    CopyChildElements(object->element, folder);
    object->catalogNode = folder;
    if (object->backslashPath.empty()) BuildBackslashPath(folder, &object->backslashPath);
    return 0;
  }
  if (path_complete || remaining.empty()) {
    CopyChildElements(object->element, node);
    if (!object->gsdIdents.empty()) node.AppendElement(format::kIdentNumbers, object->gsdIdents);
    if (object->backslashPath.empty()) BuildBackslashPath(node, &object->backslashPath);
    object->catalogNode = node;
    SetTemporaryId(node, object->id);
    return 0;
  }
  Node folder = node.AppendElement(format::kComponentFolder);
  folder.SetAttribute(format::kId, first);
  SetTemporaryId(folder, object->id);
  NoteCreated(folder);
  object->catalogNode = folder;
  PlaceFolderObject(folder, object, remaining.find('/') == std::string::npos);
  return 0;
}

uint32_t CCatalog_Contents::PlaceComponent(Node node, CCatalog_Object* object) {
  if (!node) return ZARN_E_NO_LEVEL;
  const std::string x = LastPathSegment(object->path);
  if (MatchesCatalogObject(node, *object)) return ComparePresentComponent(node, object);

  std::string remaining, first;
  GetRemainingPath(node, object, &remaining, &first, format::kComponent);
  const bool by_reference = PlacedByReference(*object);
  std::string_view level_name;
  std::string level_id;
  if (!object->protocol.empty() && !CDOMHelper::HasAncestorNamed(node, format::kProtocol)) {
    level_name = format::kProtocol;
    level_id = object->protocol;
  } else if (!object->manufacturer.empty() && !CDOMHelper::HasAncestorNamed(node, format::kManufacturer)) {
    level_name = format::kManufacturer;
    level_id = object->manufacturer;
  } else if (!object->path.empty() && !EqualsNoCase(first, x) &&
             !CDOMHelper::MatchesFolderPath(node, object->ownPath) && !by_reference && object->ownPath != first) {
    level_name = format::kComponentFolder;
    level_id = first;
  }
  if (!level_name.empty()) {
    Node level = node.AppendElement(level_name);
    level.SetAttribute(format::kId, level_id);
    if (level_name == format::kManufacturer) AddLabel(level, ManufacturerLevelLabel(level_id));
    // A folder made on the way to a component is the component's work, like the
    // folders a folder object makes: it keeps the component's id as componentID.
    if (level_name == format::kComponentFolder) SetTemporaryId(level, object->id);
    NoteCreated(level);
    object->catalogNode = level;
    PlaceComponent(level, object);
    return 0;
  }
  const std::string id = by_reference ? object->id : x;
  uint32_t rc = 0;
  if (id.empty()) {
    // A component without a name of its own would hand its content and files to a
    // level, which holds neither: there is no place for it.
    if (IsLevelElement(node)) return ZARN_E_NO_LEVEL;
    CopyChildElements(object->element, node);
  } else {
    rc = CreateCatalogNode(node, format::kComponent, object->id, id, object->element, object);
  }
  object->backslashPath.clear();
  BuildBackslashPath(node, &object->backslashPath);
  if (!by_reference) object->backslashPath += "\\" + FileAreaName(id);
  return rc;
}

uint32_t CCatalog_Contents::ComparePresentComponent(Node node, CCatalog_Object* object) {
  if (object->update) {
    // Never set by the import: a component imported again is reported as present.
    object->catalogNode = node;
    object->backslashPath.clear();
    BuildBackslashPath(node, &object->backslashPath);
    return 0;
  }
  uint32_t rc = ZARN_E_ALREADY_PRESENT;
  const std::optional<std::string> dd_old = ChildText(node, format::kDdRevision);
  const std::optional<std::string> dd_new = ChildText(object->element, format::kDdRevision);
  if (dd_old && dd_new) rc = EqualsNoCase(*dd_old, *dd_new) ? ZARN_E_SAME_DD_REVISION : ZARN_E_OTHER_DD_REVISION;
  const std::optional<std::string> dev_old = ChildText(node, format::kDeviceRevision);
  const std::optional<std::string> dev_new = ChildText(object->element, format::kDeviceRevision);
  if (dev_old && dev_new) {
    rc = EqualsNoCase(*dev_old, *dev_new) ? ZARN_E_SAME_DEVICE_REVISION : ZARN_E_OTHER_DEVICE_REVISION;
  }
  return rc;
}

}  // namespace zarn
