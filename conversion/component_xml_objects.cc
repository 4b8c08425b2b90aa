// Reading one object element of a component XML document: its id and the child
// elements that steer placement.
#include <cerrno>
#include <cstdlib>
#include <string_view>

#include "conversion/component_xml_reader.h"
#include "external/unidata.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// Children whose one attribute goes unchanged into one field.
struct AttributeRule {
  std::string_view element;
  std::string_view attribute;
  std::string CCatalog_Object::*field;
};

constexpr AttributeRule kAttributeRules[] = {
    {"PROTOCOL", "name", &CCatalog_Object::protocol},
    {"CLASSIFICATION", "name", &CCatalog_Object::classification},
    {"section", "name", &CCatalog_Object::section},
    {"HWCN_Device", "name", &CCatalog_Object::hwcnDevice},
    {"HWCN_Rack", "name", &CCatalog_Object::hwcnRack},
    {"HWCN_DeviceItem", "name", &CCatalog_Object::hwcnDeviceItem},
    {"CATALOG_PARENT", "refid", &CCatalog_Object::catalogParentRef},
};

// Children that need their attribute but treat its value specially.
struct SpecialRule {
  std::string_view element;
  std::string_view attribute;
};

constexpr SpecialRule kSpecialRules[] = {
    {"COMPONENT_PARENT", "refid"}, {"MANUFACTURER", "name"}, {"MANUFACTURER_EXT", "name"},
    {"COMPONENT_PATH", "name"},    {"CATALOG_PATH", "name"},
};

// A folder path as placement uses it: outer separators trimmed, "\" made "/".
std::string FolderPath(const std::string& name, std::string_view first_trim, std::string_view second_trim) {
  std::string path = TrimChars(TrimChars(name, first_trim), second_trim);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

// The four hexadecimal digits in front of the last "." of a GSD file name.
bool GsdIdentNumber(const std::string& file_name, unsigned long* number) {
  const size_t dot = file_name.rfind('.');
  if (dot == std::string::npos) return false;
  const size_t start = dot >= 4 ? dot - 4 : 0;
  const std::string digits = file_name.substr(start, dot - start);
  *number = std::strtoul(digits.c_str(), nullptr, 16);
  return true;
}

}  // namespace

uint32_t ParseLooseNumber(const std::string& text) {
  const bool hex = text.find_first_of("xX") == 1;
  const std::string digits = hex ? text.substr(2) : text;
  const char* begin = digits.c_str();
  char* end = nullptr;
  errno = 0;
  if (hex) {
    const unsigned long long value = std::strtoull(begin, &end, 16);
    return end == begin ? 0 : static_cast<uint32_t>(value);
  }
  const long long value = std::strtoll(begin, &end, 10);
  return end == begin ? 0 : static_cast<uint32_t>(value);
}

uint32_t ComponentXmlReader::ReadObjectElement(CCatalog_Object* object, Node element) const {
  if (!CDOMHelper::ReadAttribute(element, "id", &object->id)) return ZARN_E_OBJECT_WITHOUT_ID;
  uint32_t status = 0;
  for (const Node& child : element.ChildElements()) status = ReadChild(object, child);
  return status;
}

uint32_t ComponentXmlReader::ReadChild(CCatalog_Object* object, Node child) const {
  const std::string name = Trim(child.Name());
  for (const AttributeRule& rule : kAttributeRules) {
    if (!EqualsNoCase(name, rule.element)) continue;
    return CDOMHelper::ReadAttribute(child, rule.attribute, &(object->*rule.field)) ? 0 : ZARN_E_CHILD_WITHOUT_NAME;
  }
  for (const SpecialRule& rule : kSpecialRules) {
    if (!EqualsNoCase(name, rule.element)) continue;
    std::string value;
    if (!CDOMHelper::ReadAttribute(child, rule.attribute, &value)) return ZARN_E_CHILD_WITHOUT_NAME;
    if (EqualsNoCase(name, "COMPONENT_PARENT")) {
      object->parentRef = object->parentRefAsRead = value;
    } else if (EqualsNoCase(name, "COMPONENT_PATH")) {
      object->path = object->ownPath = object->idPath = FolderPath(value, "\\", "/");
    } else if (EqualsNoCase(name, "CATALOG_PATH")) {
      object->catalogPath = object->catalogPathCopy = FolderPath(value, "/", "\\");
    } else {
      object->manufacturerName = NormaliseManufacturer(value);
      if (object->isComponentReference || object->isCatalogFolder || object->isCatalogReference) {
        object->manufacturer = object->manufacturerName;
      }
    }
    return 0;
  }
  if (EqualsNoCase(name, "LABEL")) {
    object->label = child.OuterXml();
  } else if (EqualsNoCase(name, "HELP")) {
    object->help = child.OuterXml();
  } else if (EqualsNoCase(name, "ZARN")) {
    object->sourceFileRef = child.FirstChild().Text();
  } else if (EqualsNoCase(name, "INITIAL_VALUES")) {
    object->hasInitialValues = true;
  } else if (EqualsNoCase(name, "GSD")) {
    ReadGsdIdents(object, child);
  }
  return 0;
}

// GSD file names ...80F3.gsd and ...0A1B.gsd give "33011;2587".
void ComponentXmlReader::ReadGsdIdents(CCatalog_Object* object, Node gsd) const {
  std::string idents = object->gsdIdents;
  for (const Node& child : gsd.ChildElements()) {
    if (!EqualsNoCase(child.Name(), "string") || !child.FirstChild().IsText()) continue;
    unsigned long number = 0;
    if (GsdIdentNumber(child.FirstChild().Text(), &number)) idents += ";" + std::to_string(number);
  }
  object->gsdIdents = TrimChars(idents, ";");
}

std::string ComponentXmlReader::NormaliseManufacturer(const std::string& name) const {
  const std::string trimmed = Trim(name);
  CUniData value(trimmed);
  if (value.SetType(CUniData::kTypeNumber) != 0) return LevelName(trimmed);
  const std::string id = FormatHex4(ParseLooseNumber(trimmed));
  if (manufacturer_table_ != nullptr) {
    const auto found = manufacturer_table_->find(id);
    if (found != manufacturer_table_->end()) return LevelName(found->second);
  }
  return id;
}

void DeriveSection(CCatalog_Object* object) {
  if (!object->section.empty()) return;
  const std::string upper = ToUpper(object->classification);
  bool matched = false;
  const auto take = [&](std::string_view prefix) {
    if (upper.rfind(prefix, 0) != 0) return;
    object->section = std::string(prefix);
    object->classification = upper.substr(std::min(prefix.size() + 1, upper.size()));
    matched = true;
  };
  if (upper != "NETWORK_COMPONENT") take("NET");
  take("NODE");
  take("SYSTEM");
  take("DEVICE");
  if (!matched && !object->classification.empty()) object->section = "DEVICE";
}

}  // namespace zarn
