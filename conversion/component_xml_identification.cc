// Identification of the source a component XML was made from, and the
// identification elements it adds to the objects' elements.
#include "conversion/component_xml_reader.h"
#include "conversion/source_identifier.h"
#include "external/unidata.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// `directory` joined with `file`; nothing when there is no directory.
std::string JoinIfDirectory(const std::string& directory, const std::string& file) {
  return directory.empty() ? std::string() : JoinPath(directory, file);
}

}  // namespace

std::string IdentificationText(const std::string& element_name, const std::string& value) {
  if (element_name == "DD_REVISION" && !value.empty() && value.front() == '"') return TrimChars(value, "\"");
  return FormatHex4(ParseLooseNumber(value));
}

// `file` in the first directory, or in the second when it is not in the first.
std::string ComponentXmlReader::SourceCandidate(const std::string& first_dir, const std::string& second_dir,
                                                const std::string& file) const {
  std::string candidate = JoinIfDirectory(first_dir, file);
  if (!CFileOperation().FileExists(candidate)) candidate = JoinIfDirectory(second_dir, file);
  return candidate;
}

bool ComponentXmlReader::Identify(uint32_t* status) {
  // A converter's output identifies itself; its source is no device description.
  if (IdentifyFromComponentXml()) return true;
  std::string ref;
  for (const auto& object : components_) {
    if (!object->sourceFileRef.empty()) {
      ref = DocumentPathToNative(object->sourceFileRef);
      break;
    }
  }
  std::string primary;
  std::string secondary;
  if (!ref.empty()) {
    primary = JoinIfDirectory(in_path_, ref);
    if (CFileOperation().GetPathType(primary) <= kPathMissing) primary = JoinIfDirectory(source_dir_, ref);
    if (!source_name_.empty()) secondary = SourceCandidate(source_dir_, in_path_, source_name_);
  } else if (!source_name_.empty()) {
    primary = SourceCandidate(source_dir_, in_path_, source_name_);
  }
  if (primary.empty()) return false;

  const SourceIdentifier identifier(device_configuration_);
  SourceIdentity identity;
  const auto identify = [&](const std::string& path) {
    return identifier.IdentifySource(path, &identity.manufacturer, &identity.deviceType, &identity.deviceRevision,
                                     &identity.ddRevision, "", false);
  };
  const bool secondary_done = !ref.empty() && !secondary.empty() && identify(secondary) == 0;
  if (!secondary_done) identify(primary);
  identifier.NumberDeviceType(&identity);
  *status = 0;
  ApplyIdentification(identity);
  return true;
}

// A converter's component (a GSD station, an IODD variant) names its identification
// itself, in a SOURCE_IDENTIFICATION child that the catalog does not keep.
bool ComponentXmlReader::IdentifyFromComponentXml() {
  bool found = false;
  for (const auto& object : components_) {
    Node own = object->element ? object->element.FirstChildElement("SOURCE_IDENTIFICATION") : Node();
    if (!own) continue;
    SourceIdentity identity;
    identity.manufacturer = own.Attribute("manufacturer").value_or("");
    identity.deviceType = own.Attribute("deviceType").value_or("");
    identity.deviceRevision = own.Attribute("deviceRevision").value_or("");
    identity.ddRevision = own.Attribute("ddRevision").value_or("");
    own.Remove();
    ApplyIdentificationTo(object.get(), identity);
    found = true;
  }
  return found;
}

void ComponentXmlReader::ApplyIdentification(const SourceIdentity& identity) {
  for (const auto& object : components_) ApplyIdentificationTo(object.get(), identity);
}

void ComponentXmlReader::ApplyIdentificationTo(CCatalog_Object* object, const SourceIdentity& identity) {
  if (object->isCatalogLevel) {
    object->manufacturer = object->manufacturerName;
    return;
  }
  object->ddRevision = identity.ddRevision;
  object->deviceRevision = identity.deviceRevision;
  object->deviceType = identity.deviceType;
  object->manufacturer = identity.manufacturer;
  const std::pair<const char*, const std::string*> elements[] = {{"DD_REVISION", &object->ddRevision},
                                                                 {"DEVICE_REVISION", &object->deviceRevision},
                                                                 {"DEVICE_TYPE", &object->deviceType},
                                                                 {"MANUFACTURER", &object->manufacturer}};
  for (const auto& [name, value] : elements) {
    if (!value->empty() && object->element) object->element.AppendElement(name, IdentificationText(name, *value));
  }
  if (!object->manufacturerName.empty()) {
    object->manufacturer = object->manufacturerName;
  } else if (!identity.manufacturer.empty()) {
    object->manufacturer = NormaliseIdentifiedManufacturer(identity.manufacturer);
  }
}

// Like the normalisation of MANUFACTURER children, but a number the table does not
// name keeps its text as written.
std::string ComponentXmlReader::NormaliseIdentifiedManufacturer(const std::string& text) const {
  const std::string trimmed = Trim(text);
  CUniData value(trimmed);
  if (value.SetType(CUniData::kTypeNumber) != 0) return LevelName(trimmed);
  if (manufacturer_table_ == nullptr) return trimmed;
  const auto found = manufacturer_table_->find(FormatHex4(ParseLooseNumber(trimmed)));
  return found == manufacturer_table_->end() || found->second.empty() ? trimmed : LevelName(found->second);
}

}  // namespace zarn
