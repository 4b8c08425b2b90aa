// Creating catalog elements for objects and copying component XML content into them.
#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "platform/strings.h"

namespace zarn {
namespace {

template <size_t N>
bool InNameSet(const std::string_view (&set)[N], std::string_view name) {
  for (std::string_view s : set) {
    if (EqualsNoCase(s, name)) return true;
  }
  return false;
}

bool PlacedByReference(const CCatalog_Object& object) {
  return object.ownPath.empty() && !object.parentRefAsRead.empty();
}

// True when an element child of `target` has the local name `name` (ignoring case).
bool HasChildNamed(Node target, std::string_view name) {
  for (Node c = target.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsElement() && EqualsNoCase(c.LocalName(), name)) return true;
  }
  return false;
}

// A section, protocol, classification or manufacturer level.
bool IsLevel(std::string_view name) {
  return name == format::kSection || name == format::kProtocol || name == format::kClassification ||
         name == format::kManufacturer;
}

// What a component or folder holds and a level never does: sources, identification,
// initial values, relations, identities.
bool IsComponentContent(Node child) {
  static constexpr std::string_view kContent[] = {"ZARN",
                                                  "componentZARN",
                                                  "INITIAL_VALUES",
                                                  "PURPOSE_MAPPING",
                                                  "COMPONENT_RELATIONS",
                                                  "additionalIdentification",
                                                  "componentID",
                                                  "DD_REVISION",
                                                  "DEVICE_REVISION",
                                                  "IMAGE"};
  const std::string name = child.Name();
  if ((name == format::kManufacturer || name == format::kDeviceType) && !child.HasAttribute(format::kId)) return true;
  for (std::string_view c : kContent) {
    if (name == c) return true;
  }
  return false;
}

}  // namespace

bool CCatalog_Contents::IsPlacementElement(std::string_view name) {
  return InNameSet(format::kPlacementElements, name);
}

bool CCatalog_Contents::IsRepeatableElement(std::string_view name) {
  return InNameSet(format::kRepeatableElements, name);
}

uint32_t CCatalog_Contents::CreateCatalogNode(Node parent, std::string_view name, std::string_view id_tmp,
                                              std::string_view id, Node source, CCatalog_Object* object) {
  Node element = parent.AppendChild(document()->CreateElement(name));
  element.SetAttribute(format::kId, id);
  element.SetAttribute(format::kDdRevisionAttribute, TrimChars(object->ddRevision, "\""));
  SetTemporaryId(element, id_tmp);
  const bool level = EqualsNoCase(name, format::kSection) || EqualsNoCase(name, format::kProtocol) ||
                     EqualsNoCase(name, format::kManufacturer);
  if (PlacedByReference(*object) && !level) element.SetAttribute(format::kVirtual, format::kTrue);
  NoteCreated(element);
  object->catalogNode = element;
  if (!object->gsdIdents.empty()) element.AppendElement(format::kIdentNumbers, object->gsdIdents);
  CopyChildElements(source, element);
  return 0;
}

uint32_t CCatalog_Contents::PlaceCatalogObject(CCatalog_Object* object) {
  if (object->parentRef.empty() && object->protocol.empty() && object->classification.empty() &&
      object->manufacturer.empty() && object->path.empty() && object->section.empty()) {
    const uint32_t rc =
        CreateCatalogNode(EnsureRoot(), format::kRootElement, object->id, object->id, object->element, object);
    BuildBackslashPath(object->catalogNode, &object->backslashPath);
    return rc;
  }
  Node node;
  if (object->parentRef.empty()) node = FindParentNode(object, false, true, true);
  if (!node) node = FindNodeByIdTmp(root(), object->parentRef);
  return PlaceFolderObject(node, object, false);
}

Node CCatalog_Contents::FindNodeByIdTmp(Node start, std::string_view id_tmp) const {
  if (!start) return Node();
  auto matches = [&](Node n) {
    std::optional<std::string> v = n.Attribute(format::kIdTmp);
    return v && EqualsNoCase(*v, id_tmp);
  };
  if (import_scope_ != nullptr) {
    // Only elements of the running import carry idTmp.
    for (Node n : TemporaryIdElements()) {
      if (!matches(n)) continue;
      for (Node a = n; a; a = a.Parent()) {
        if (a == start) return n;
      }
    }
    return Node();
  }
  if (matches(start)) return start;
  for (Node c = start.FirstChild(); c; c = c.NextSibling()) {
    if (!c.IsElement()) continue;
    if (Node found = FindNodeByIdTmp(c, id_tmp)) return found;
  }
  return Node();
}

void CCatalog_Contents::CopyChildElements(Node source, Node target) {
  if (!source || !target) return;
  // A level object of a component XML gives its level labels and texts, not content.
  const bool level = IsLevel(target.Name());
  for (Node child = source.FirstChild(); child; child = child.NextSibling()) {
    if (level && child.IsElement() && IsComponentContent(child)) continue;
    if (child.IsText()) {
      const std::string text = Trim(child.Text());
      if (!text.empty()) target.AppendText(text);
      continue;
    }
    if (!child.IsElement() || IsPlacementElement(child.Name())) continue;
    const std::string name = child.LocalName();
    if (!IsRepeatableElement(name) && HasChildNamed(target, name)) continue;
    xml::OwnedNode copy = document()->CreateElement(child.Name());
    for (const auto& [attribute, value] : child.Attributes()) copy.get().SetAttribute(attribute, value);
    Node added = target.AppendChild(std::move(copy));
    if (std::optional<std::string> tmp = added.Attribute(format::kIdTmp)) SetTemporaryId(added, *tmp);
    CopyChildElements(child, added);
  }
}

}  // namespace zarn
