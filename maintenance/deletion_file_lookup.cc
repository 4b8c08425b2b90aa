// The catalog elements that the components of a component XML file correspond to.
#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "conversion/component_xml_reader.h"
#include "maintenance/deletion.h"
#include "platform/strings.h"

namespace zarn {
namespace {

std::string ChildText(Node element, std::string_view name) {
  Node child = element.FirstChildElement(name);
  return child ? child.Text() : std::string();
}

void NoteCatalogElement(Node element, ComponentsOfFile* out) {
  if (out->found) return;
  out->found = true;
  out->catalogDdRevision = ChildText(element, format::kDdRevision);
  out->catalogDeviceRevision = ChildText(element, format::kDeviceRevision);
}

void NoteEntry(const CCatalog_Contents& catalog, Node element, ComponentsOfFile* out) {
  out->entries += ";" + catalog.ComponentPathOf(element);
  NoteCatalogElement(element, out);
}

}  // namespace

ComponentsOfFile FindComponentsOfFile(CCatalog_Contents& catalog, const std::string& file) {
  ComponentsOfFile out;
  const bool module_description = file.find(".mdd") != std::string::npos;
  if (module_description) catalog.setSourceIsModuleDescription(true);
  ComponentXmlReader reader(&catalog.manufacturerNamesById(), true, catalog.manufacturerLevels());
  reader.SetImportFlag(module_description);
  reader.SetDeviceConfiguration(catalog.deviceConfigurationFile());
  if (reader.Load(file) != 0) return out;
  AddMissingCatalogLevels(reader.document());
  if (reader.Read(file) == ZARN_E_NO_VERSION) return out;
  CCatalog_Contents::ObjectArray objects = catalog.SortObjectsByLevel(reader);
  catalog.ResolveParentReferences(&objects);
  for (const auto& object : objects) {
    // Folders are shared with other files' components: only components are named.
    if (!object->isComponent) continue;
    if (module_description && object->classification.empty()) {
      object->classification = "UNIVERSAL";
      object->section = "DEVICE";
    }
    if (!out.fileRevisionsKnown && !object->sourceFileRef.empty()) {
      out.fileRevisionsKnown = true;
      // The identified revisions, else those the component XML element states.
      out.fileDdRevision =
          !object->ddRevision.empty() ? object->ddRevision : ChildText(object->element, format::kDdRevision);
      out.fileDeviceRevision = !object->deviceRevision.empty() ? object->deviceRevision
                                                               : ChildText(object->element, format::kDeviceRevision);
    }
    // A station filed elsewhere under the same ident number is this file's station.
    if (const Node station = catalog.FindStationOfSameIdent(*object)) {
      NoteEntry(catalog, station, &out);
      continue;
    }
    Node deepest = catalog.FindParentNode(object.get(), false, true, true);
    Node parent = deepest ? deepest.Parent() : Node();
    if (!parent) continue;
    const std::string id = CCatalog_Contents::LastPathSegment(object->path);
    for (Node child : parent.ChildElements()) {
      if (child.Attribute(format::kId) == id) NoteEntry(catalog, child, &out);
    }
  }
  out.entries = TrimChars(out.entries, ";");
  return out;
}

}  // namespace zarn
