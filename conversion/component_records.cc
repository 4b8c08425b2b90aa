// The ComponentXMLInfo records of a conversion and their release.
#include <cstdlib>

#include "catalog/classification_table.h"
#include "catalog/dom_helper.h"
#include "conversion/conversion.h"
#include "platform/strings.h"
#include "xml/document.h"

namespace zarn {

bool PushLevel(ComponentXMLInfo* record, std::string_view elementName, std::string_view value) {
  auto* level = static_cast<ComponentXMLLevel*>(std::calloc(1, sizeof(ComponentXMLLevel)));
  if (level == nullptr) return false;
  level->elementName = NewHostString(elementName);
  level->value = NewHostString(value);
  level->next = record->hierarchy;
  record->hierarchy = level;
  return level->elementName != nullptr && level->value != nullptr;
}

void FreeComponentXMLInfoChain(ComponentXMLInfo* list) {
  while (list != nullptr) {
    ComponentXMLInfo* next = list->next;
    for (ComponentXMLLevel* level = list->hierarchy; level != nullptr;) {
      ComponentXMLLevel* following = level->next;
      std::free(level->elementName);
      std::free(level->value);
      std::free(level);
      level = following;
    }
    std::free(list->label);
    std::free(list->help);
    std::free(list->id);
    std::free(list->componentXmlPath);
    std::free(list->message);
    std::free(list);
    list = next;
  }
}

std::string TextInLanguage(const std::string& elementXml, const std::string& language) {
  if (elementXml.empty()) return std::string();
  std::unique_ptr<xml::Document> doc = xml::Document::LoadText(elementXml, nullptr);
  if (!doc || !doc->Root()) return std::string();
  std::string value;
  CDOMHelper().ReadElementValue(language, "", doc->Root(), &value);
  return value;
}

ComponentXMLInfo* Cconversion::NewRecord() {
  auto* record = static_cast<ComponentXMLInfo*>(std::calloc(1, sizeof(ComponentXMLInfo)));
  if (record == nullptr) return nullptr;
  record->next = results_;
  results_ = record;
  return record;
}

uint32_t Cconversion::AddListedFile(const std::string& path, const std::string& value) {
  ComponentXMLInfo* record = NewRecord();
  if (record == nullptr) return ZARN_E_ALLOCATION;
  record->componentXmlPath = NewHostString(path);
  record->message = NewHostString(value);
  return record->componentXmlPath != nullptr && record->message != nullptr ? 0 : ZARN_E_ALLOCATION;
}

uint32_t Cconversion::AddRecord(const std::string& label, const std::string& path,
                                const std::vector<std::pair<std::string, std::string>>& hierarchy) {
  ComponentXMLInfo* record = NewRecord();
  if (record == nullptr) return ZARN_E_ALLOCATION;
  record->label = NewHostString(label);
  record->componentXmlPath = NewHostString(path);
  if (record->label == nullptr || record->componentXmlPath == nullptr) return ZARN_E_ALLOCATION;
  for (const auto& [elementName, value] : hierarchy) {  // each goes to the head: innermost ends first
    if (!PushLevel(record, elementName, value)) return ZARN_E_ALLOCATION;
  }
  return 0;
}

uint32_t Cconversion::AddObjectRecord(const CCatalog_Object& object, const std::string& path,
                                      const std::string& message) {
  ComponentXMLInfo* record = NewRecord();
  if (record == nullptr) return ZARN_E_ALLOCATION;
  const std::string label = TextInLanguage(object.label, language_);
  const std::string help = TextInLanguage(object.help, language_);
  if (!label.empty() && (record->label = NewHostString(label)) == nullptr) return ZARN_E_ALLOCATION;
  if (!help.empty() && (record->help = NewHostString(help)) == nullptr) return ZARN_E_ALLOCATION;
  record->id = NewHostString(object.id);
  record->componentXmlPath = NewHostString(path, 10);
  record->message = NewHostString(message);
  if (record->id == nullptr || record->componentXmlPath == nullptr || record->message == nullptr) {
    return ZARN_E_ALLOCATION;
  }
  // Outermost level first; each goes to the head, so the chain starts innermost.
  bool ok = true;
  if (!object.protocol.empty()) ok = ok && PushLevel(record, "PROTOCOL", object.protocol);
  if (!object.classification.empty()) {
    for (std::string_view level : ClassificationLevelsForCreation(object.classification)) {
      ok = ok && PushLevel(record, "CLASSIFICATION", level);
    }
  }
  if (!object.manufacturer.empty()) ok = ok && PushLevel(record, "MANUFACTURER", object.manufacturer);
  ok = ok && PushLevel(record, object.isComponent ? "COMPONENT" : "COMPONENT_FOLDER", object.idPath);
  return ok ? 0 : ZARN_E_ALLOCATION;
}

uint32_t Cconversion::AddComponentsFromXml(const ManufacturerTable* manufacturers,
                                           const std::string& device_configuration, const std::string& path,
                                           const std::string& message, const ManufacturerLevels* levels) {
  ComponentXmlReader reader(manufacturers, true, levels);
  reader.SetDeviceConfiguration(device_configuration);
  if (reader.Load(path) != 0 || reader.Read(path) != 0 || reader.Components().empty()) {
    return ZARN_E_NO_COMPONENT;
  }
  uint32_t result = 0;
  for (const auto& object : reader.Components()) {
    // Catalog levels are how the import files the objects, not something a host
    // offers for import: they get no record.
    if (object->isCatalogLevel) continue;
    result = AddObjectRecord(*object, path, message);
    if (result != 0) return result;
  }
  return result;
}

}  // namespace zarn
