// Finding the parent of a catalog object: section, protocol, classification and
// manufacturer levels, then the folder chain; creating missing classification levels.
#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "catalog/child_table.h"
#include "catalog/classification_table.h"
#include "conversion/catalog_object.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// The child level named `name` whose idTmp or id is `id`. A placeholder and its
// real twin may stand side by side until the import merges them: the real one is
// taken, so that what is placed below goes where the merge keeps it.
Node FindLevel(Node current, std::string_view name, std::string_view id) {
  Node first;
  for (Node child : ChildrenNamedWithId(current, name, id)) {
    if (!child.HasAttribute(format::kIsArtificial)) return child;
    if (!first) first = child;
  }
  return first;
}

// The child level named `name` with `id`; with `create` a new placeholder (id,
// isArtificial) is appended when there is none.
Node FindOrCreatePlaceholder(CCatalog_Contents* catalog, Node current, std::string_view name, const std::string& id,
                             bool create) {
  Node found = FindLevel(current, name, id);
  if (found || !create) return found;
  found = current.AppendElement(name);
  found.SetAttribute(format::kId, id);
  found.SetAttribute(format::kIsArtificial, format::kTrue);
  catalog->NoteCreated(found);
  return found;
}

// The real element beside a placeholder (same id, no isArtificial), else the
// placeholder's parent.
Node RedirectFromPlaceholder(Node placeholder) {
  const std::string id = placeholder.Attribute(format::kId).value_or("");
  Node parent = placeholder.Parent();
  if (!parent) return parent;
  for (Node c = parent.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsElement() && c.Attribute(format::kId) == id && !c.HasAttribute(format::kIsArtificial)) return c;
  }
  return parent;
}

}  // namespace

Node CCatalog_Contents::FindParentNode(CCatalog_Object* object, bool create_missing, bool descend_folders,
                                       bool accept_components) {
  if (object == nullptr || !root()) return Node();
  Node current = root();
  const std::string section = object->section.empty() ? std::string(format::kSectionDevice) : object->section;
  if (Node s = FindSection(section)) current = s;

  if (!object->protocol.empty()) {
    if (Node p = FindOrCreatePlaceholder(this, current, format::kProtocol, object->protocol, create_missing)) {
      current = p;
    }
  }
  if (!object->classification.empty()) {
    Node c = FindClassificationNode(current, *object);
    if (c && !(c == current)) {
      current = c;
    } else if (create_missing) {
      // Placeholders made below go under the levels just made, where the real
      // objects will look for them.
      CreateClassificationPath(current, object, true);
      current = FindClassificationNode(current, *object);
    }
  }
  Node manufacturer;
  if (!object->manufacturer.empty()) {
    manufacturer = FindOrCreatePlaceholder(this, current, format::kManufacturer, object->manufacturer, create_missing);
    if (manufacturer) current = manufacturer;
  }
  if (descend_folders && (manufacturer || object->manufacturer.empty())) {
    object->componentReferenceNode = current;
    ResolveComponentFolderPath(&current, object->idPath, create_missing, accept_components);
  }
  if (current && current.HasAttribute(format::kIsArtificial) && !create_missing) {
    current = RedirectFromPlaceholder(current);
  }
  return current;
}

Node CCatalog_Contents::FindClassificationNode(Node start, const CCatalog_Object& object) const {
  Node current = start;
  if (!current) {
    NodeList roots;
    getSubElementsByXPath("//" + std::string(format::kRootElement), &roots);
    if (roots.size() != 1) return Node();
    current = CDOMHelper::FindChildByNameAndId(roots[0], format::kSection, object.section);
    if (!current) return current;
  }
  for (std::string_view level : ClassificationLevelsForSearch(object.classification)) {
    if (Node c = FindLevel(current, format::kClassification, level)) current = c;
  }
  return current;
}

uint32_t CCatalog_Contents::CreateClassificationPath(Node start, CCatalog_Object* object, bool artificial) {
  if (!start) return 0;
  const std::string start_id = start.Attribute(format::kId).value_or("");
  std::vector<std::string_view> levels = ClassificationLevelsForCreation(object->classification);
  size_t first = 0;
  for (size_t i = 0; i < levels.size(); ++i) {
    if (EqualsNoCase(levels[i], start_id)) {
      first = i + 1;
      break;
    }
  }
  Node current = start;
  Node last;
  for (size_t i = first; i < levels.size(); ++i) {
    Node level = current.AppendElement(format::kClassification);
    level.SetAttribute(format::kId, levels[i]);
    if (artificial) {
      level.SetAttribute(format::kIsArtificial, format::kTrue);
    } else {
      SetTemporaryId(level, object->id);
    }
    NoteCreated(level);
    current = level;
    last = level;
  }
  if (last) {
    object->catalogNode = last;
    CopyChildElements(object->element, last);
  }
  return 0;
}

}  // namespace zarn
