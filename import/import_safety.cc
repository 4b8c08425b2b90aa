// Checks that keep an import's file references inside the component's directory.
#include <string>
#include <vector>

#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "conversion/component_xml_reader.h"
#include "external/trace.h"
#include "import/import_driver.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// The children whose values name files: the file-reference elements and the list
// of additional sources.
bool IsReferenceHolder(std::string_view name) {
  if (EqualsNoCase(name, format::kAdditionalZarns)) return true;
  for (std::string_view reference : format::kFileReferenceElements) {
    if (EqualsNoCase(name, reference)) return true;
  }
  return false;
}

// Checks one value; records it in *offending when it is unsafe.
bool Check(const std::string& value, std::string* offending) {
  if (IsSafeFileReference(value)) return true;
  *offending = value;
  return false;
}

}  // namespace

bool IsSafeFileReference(std::string_view value) {
  const std::string trimmed = Trim(value);
  if (trimmed.empty()) return true;
  if (trimmed.find('\0') != std::string::npos) return false;
  if (trimmed[0] == '/' || trimmed[0] == '\\') return false;
  if (trimmed.size() >= 2 && trimmed[1] == ':') return false;
  for (const std::string& segment : Split(trimmed, "/\\")) {
    if (Trim(segment) == "..") return false;
  }
  return true;
}

std::vector<std::string> FileReferences(Node element) {
  std::vector<std::string> values;
  for (Node child = element.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsElement() || !IsReferenceHolder(Trim(child.Name()))) continue;
    values.push_back(child.Attribute("name").value_or(""));
    bool has_strings = false;
    for (Node s = child.FirstChild(); s; s = s.NextSibling()) {
      if (!s.IsElement()) continue;
      has_strings = true;
      values.push_back(s.Text());
    }
    if (!has_strings) values.push_back(child.Text());
  }
  return values;
}

bool FileReferencesAreSafe(Node element, std::string* offending) {
  for (const std::string& value : FileReferences(element)) {
    if (!Check(value, offending)) return false;
  }
  return true;
}

uint32_t CheckFileReferences(const ComponentXmlReader& reader) {
  for (const auto& object : reader.Components()) {
    std::string offending;
    if (object->element && !FileReferencesAreSafe(object->element, &offending)) {
      Trace(kTraceError, "ZARN_ImportComponent", "file reference leaves the component directory: %s", offending);
      return ZARN_E_IMPORT_ARGUMENT;
    }
    if (!IsSafeFileReference(object->hwcnDeviceItem)) {
      Trace(kTraceError, "ZARN_ImportComponent", "file reference leaves the component directory: %s", object->hwcnDeviceItem);
      return ZARN_E_IMPORT_ARGUMENT;
    }
  }
  return 0;
}

}  // namespace zarn
