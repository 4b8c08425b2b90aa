// Insertion of one read component XML into the catalog document: the object array,
// further identities, and the four passes (lookup and placement, relations,
// catalog folders, tidying).
#include <algorithm>
#include <set>

#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "catalog/classification_table.h"
#include "conversion/catalog_object.h"
#include "conversion/component_xml_reader.h"
#include "conversion/source_identifier.h"
#include "external/trace.h"
#include "import/import_scope.h"
#include "import/insertion_internal.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

constexpr std::string_view kUniversal = "UNIVERSAL";

// Objects of a module description that name no classification are filed under
// UNIVERSAL; a catalog level keeps the level it describes.
void ApplyUniversalDefault(bool universal, CCatalog_Object* object) {
  if (universal && object->classification.empty() && !object->isCatalogLevel) {
    object->classification = kUniversal;
    object->section = format::kSectionDevice;
  }
}

// A segment that can stand in a component path and in a list of them: "/" separates
// the ids of a path, ";" the paths of a deletion list and of the reports, "." and
// ".." name no element, and a control character makes no readable name. Its
// directory in the file area is made safe by FileAreaName (a backslash included).
bool IsUsableSegment(std::string_view segment) {
  if (segment.empty() || segment == "." || segment == ".." || segment.find_first_of("/;") != std::string_view::npos) {
    return false;
  }
  for (char c : segment) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return false;
  }
  return true;
}

bool SegmentsAreSafe(std::string_view value) {
  for (const std::string& s : Split(value, "/")) {
    if (!s.empty() && !IsUsableSegment(s)) return false;
  }
  return true;
}

// A relation is stored with, or resolved to, the component it names: the relation
// object takes the placement of the document's reference or object with the id
// `reference`, so that the parent lookup ends on that component's element (a
// placeholder chain when the component is not in the catalog yet). A name the
// document does not define leaves the relation where it was.
void TakePlacementOfNamedObject(const std::string& reference, const ComponentXmlReader::ObjectList& references,
                                const CCatalog_Contents::ObjectArray& objects, CCatalog_Object* relation) {
  const CCatalog_Object* named = nullptr;
  for (const auto& r : references) {
    if (r->id == reference) named = r.get();
  }
  for (const auto& o : objects) {
    if (named == nullptr && o->id == reference) named = o.get();
  }
  if (named == nullptr) return;
  relation->section = named->section;
  relation->protocol = named->protocol;
  relation->classification = named->classification;
  relation->manufacturer = named->manufacturer;
  relation->path = named->path;
  relation->ownPath = named->ownPath;
  relation->idPath = named->idPath;
}

// The object whose element carries the component XML's further identities: its
// first folder or component (catalog levels come first in the array).
const CCatalog_Object* IdentityHolder(const CCatalog_Contents::ObjectArray& objects) {
  for (const auto& object : objects) {
    if (!object->isCatalogLevel && object->element) return object.get();
  }
  return nullptr;
}

// True when `identity` names the same maker and device type as the identification
// elements of `element`: another revision of the device, not another device.
bool SameDevice(Node element, const SourceIdentity& identity) {
  const auto same = [&](std::string_view name, const std::string& value) {
    const Node child = element.FirstChildElement(name);
    return child && EqualsNoCase(child.Text(), IdentificationText(std::string(name), value));
  };
  return same(format::kManufacturer, identity.manufacturer) && same(format::kDeviceType, identity.deviceType);
}

}  // namespace

Node FirstWithTemporaryId(const NodeList& candidates, std::string_view value) {
  for (Node n : candidates) {
    if (n.Attribute(format::kIdTmp) == value) return n;
  }
  return Node();
}

// The element of this import that holds the relations of object `owner_id`: the
// folders made on the way to a component carry its id too, but not its relations.
Node RelationOwner(const NodeList& candidates, std::string_view owner_id) {
  Node first;
  for (Node n : candidates) {
    if (n.Attribute(format::kIdTmp) != owner_id) continue;
    if (n.FirstChildElement(format::kComponentRelations)) return n;
    if (!first) first = n;
  }
  return first;
}

// An object placed by COMPONENT_PARENT alone (no folder path of its own) goes where
// its parent goes; a parent that no object of the document is leaves it no place
// but the section level, which holds no component.
bool ParentReferenceResolves(const CCatalog_Object& object, const CCatalog_Contents::ObjectArray& objects) {
  if (!object.ownPath.empty() || object.parentRefAsRead.empty()) return true;
  return std::any_of(objects.begin(), objects.end(), [&](const auto& o) {
    return o.get() != &object && (EqualsNoCase(o->id, object.parentRef) || EqualsNoCase(o->id, object.parentRefAsRead));
  });
}

bool FileAreaIdsAreSafe(const CCatalog_Contents::ObjectArray& objects, std::string* offending) {
  for (const auto& o : objects) {
    if (!o->isComponent && !o->isFolder) continue;
    // A catalog level's own id names no element: the level is named by its field.
    std::vector<std::string> values = {o->isCatalogLevel ? std::string() : o->id, o->section, o->protocol,
                                       o->manufacturer};
    for (std::string_view level : ClassificationLevelsForCreation(o->classification)) values.emplace_back(level);
    for (const std::string& v : values) {
      if (!v.empty() && !IsUsableSegment(v)) {
        *offending = v;
        return false;
      }
    }
    for (const std::string* path : {&o->path, &o->ownPath, &o->idPath}) {
      if (!SegmentsAreSafe(*path)) {
        *offending = *path;
        return false;
      }
    }
  }
  return true;
}

uint32_t CCatalog_Contents::AddComponents(ComponentXmlReader* reader, ObjectArray* objects, NodeList* components) {
  components->clear();
  objects->clear();
  if (reader == nullptr) return ZARN_E_NO_COMPONENT;
  ImportScopeGuard scope(this);
  *objects = SortObjectsByLevel(*reader);
  ResolveParentReferences(objects);
  std::string offending;
  if (!FileAreaIdsAreSafe(*objects, &offending)) {
    Trace(kTraceError, "CCatalog_Contents::AddComponents", "id not usable as a directory name: %s", offending);
    return ZARN_E_IMPORT_ARGUMENT;
  }
  EnsureRoot();
  AddFurtherIdentities(*reader, *objects);
  uint32_t rc = PlaceObjects(reader->GetImportFlag(), objects);
  if (rc == 0) rc = AddRelations(*reader, *objects);
  if (rc == 0) rc = PlaceCatalogReferences(*reader, *objects);
  if (rc == 0) DropUnresolvedRelationPaths(*this, TemporaryIdElements());
  if (rc == 0) FinishInsertion(components);
  return rc;
}

void CCatalog_Contents::AddFurtherIdentities(const ComponentXmlReader& reader, const ObjectArray& objects) {
  const CCatalog_Object* holder = IdentityHolder(objects);
  if (holder == nullptr || reader.GetImportFlag() || reader.InPath().empty()) return;
  std::vector<std::string> files;
  CFileOperation().ListFilesByExtension(reader.InPath(), "ddl", &files);
  const SourceIdentifier identifier(deviceConfigurationFile());
  for (const std::string& file : files) {
    const std::string name = FileNamePart(file);
    const bool own = std::any_of(objects.begin(), objects.end(), [&](const auto& o) {
      return EqualsNoCase(name, o->sourceFileName) || EqualsNoCase(name, o->sourceFileRef);
    });
    if (own) continue;
    SourceIdentity id;
    if (identifier.IdentifySource(file, &id.manufacturer, &id.deviceType, &id.deviceRevision, &id.ddRevision, "",
                                  false) != 0) {
      continue;
    }
    identifier.NumberDeviceType(&id);
    if (SameDevice(holder->element, id)) AppendAdditionalIdentification(holder->element, id);
  }
}

void CCatalog_Contents::AppendAdditionalIdentification(Node element, const SourceIdentity& identity) {
  if (!element) return;
  const std::string revision = IdentificationText("DEVICE_REVISION", identity.deviceRevision);
  const std::string manufacturer = IdentificationText("MANUFACTURER", identity.manufacturer);
  const std::string type = IdentificationText("DEVICE_TYPE", identity.deviceType);
  const std::string dd = IdentificationText("DD_REVISION", identity.ddRevision);
  const std::string id = manufacturer + "_" + type + "_" + revision;
  Node added = element.AppendElement(format::kAdditionalIdentification);
  added.SetAttribute(format::kId, id);
  added.SetAttribute(format::kIdTmp, id);
  added.AppendElement(format::kDeviceRevision, revision);
  added.AppendElement(format::kManufacturer, manufacturer);
  added.AppendElement(format::kDeviceType, type);
  added.AppendElement(format::kDdRevision, dd);
}

uint32_t CCatalog_Contents::PlaceObjects(bool universal, ObjectArray* objects) {
  for (auto& object : *objects) {
    CCatalog_Object* o = object.get();
    if (!ParentReferenceResolves(*o, *objects)) {
      Trace(kTraceError, "CCatalog_Contents::AddComponents", "%s: its COMPONENT_PARENT %s is not in the document",
            o->id, o->parentRefAsRead);
      return ZARN_E_NO_LEVEL;
    }
    ApplyUniversalDefault(universal, o);
    o->lookupParent = FindParentNode(o, false, false, false);
    o->existingElement = Node();
    for (Node c = o->lookupParent ? o->lookupParent.FirstChild() : Node(); c; c = c.NextSibling()) {
      if (c.IsElement() && MatchesCatalogObject(c, *o)) {
        o->existingElement = c;
        break;
      }
    }
    uint32_t rc = 0;
    if (o->isFolder) {
      rc = PlaceCatalogObject(o);
    } else if (o->isComponent) {
      const Node same_station = FindStationOfSameIdent(*o);
      rc = same_station ? ComparePresentComponent(same_station, o)
                        : PlaceComponent(FindParentNode(o, false, true, true), o);
      if (rc == 0) NoteStationPlaced(*o);
    }
    if (rc != 0) return rc;
    o->catalogIdPath = o->catalogNode ? ComponentPathOf(o->catalogNode) : std::string();
  }
  return 0;
}

uint32_t CCatalog_Contents::AddRelations(const ComponentXmlReader& reader, const ObjectArray& objects) {
  for (const auto& relation : reader.Relations()) {
    for (const std::string& reference : relation->relationRefs) {
      TakePlacementOfNamedObject(reference, reader.ComponentReferences(), objects, relation.get());
      ApplyUniversalDefault(reader.GetImportFlag(), relation.get());
      if (!relation->isParentRelation) {
        if (const uint32_t rc = AddRelationInParent(relation.get(), reference)) return rc;
        continue;
      }
      const std::string parent_path = ComponentPathOf(FindParentNode(relation.get(), true, true, true));
      if (Node owner = RelationOwner(TemporaryIdElements(), relation->relationOwnerId)) {
        RewriteComponentRef(owner, reference, parent_path);
      }
    }
  }
  return 0;
}

uint32_t CCatalog_Contents::PlaceCatalogReferences(const ComponentXmlReader& reader, const ObjectArray& objects) {
  std::vector<CCatalog_Object*> folders;
  for (const auto& f : reader.CatalogFolders()) folders.push_back(f.get());
  std::stable_sort(folders.begin(), folders.end(), [](auto* a, auto* b) { return a->depth < b->depth; });
  for (CCatalog_Object* folder : folders) {
    if (const uint32_t rc = PlaceCatalogFolder(FindCatalogFolderNode(folder, true), folder)) return rc;
  }
  for (const auto& o : objects) {
    if ((!o->isComponent && !o->isFolder) || (o->catalogParentRef.empty() && o->catalogPath.empty())) continue;
    Node target = !o->catalogParentRef.empty() ? FirstWithTemporaryId(TemporaryIdElements(), o->catalogParentRef)
                                               : FindCatalogFolderNode(o.get(), true);
    const size_t slash = o->catalogPathCopy.find_last_of('/');
    const std::string id = slash == std::string::npos ? o->catalogPathCopy : o->catalogPathCopy.substr(slash + 1);
    xml::OwnedNode element = document()->CreateElement(o->isComponent ? format::kComponent : format::kComponentFolder);
    element.get().SetAttribute(format::kId, id);
    element.get().AppendElement(o->isComponent ? format::kComponentRef : format::kComponentFolderRef, o->catalogIdPath);
    if (target) NoteCreated(target.AppendChild(std::move(element)));
  }
  return 0;
}

void CCatalog_Contents::FinishInsertion(NodeList* components) {
  MergeArtificialNodes(nullptr, Node(), Node());
  std::set<std::string> prefixes;
  for (Node c : TemporaryIdElements()) {
    if (c.Name() == format::kComponent) AddPathPrefixes(ComponentPathOf(c), &prefixes);
  }
  for (Node creator : ReferencingComponentsOf(prefixes)) {
    if (!creator.HasAttribute(format::kIdTmp)) SetTemporaryId(creator, format::kUpdateThisComponent);
  }
  components->clear();
  for (Node c : TemporaryIdElements()) {
    NoteRelationHolder(c);
    if (c.Name() == format::kComponent) components->push_back(c);
  }
  ConvertTemporaryIds();
}

}  // namespace zarn
