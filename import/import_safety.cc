// Checks that keep an import's file references inside the component's directory.
#include <string>
#include <vector>

#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "conversion/component_xml_reader.h"
#include "external/trace.h"
#include "import/import_driver.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
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
      Trace(kTraceError, "ZARN_ImportComponent", "file reference leaves the component directory: %s",
            object->hwcnDeviceItem);
      return ZARN_E_IMPORT_ARGUMENT;
    }
  }
  return 0;
}

namespace {

// The first segment of `path` below the file-system root ("/a" for "/a/b/c").
std::string TopDirectory(const std::string& path) {
  const size_t next = path.find('/', 1);
  return next == std::string::npos ? path : path.substr(0, next);
}

// True when `directory` holds a file whose name the component XML's file name
// starts with: the source it was converted from (dev.ddl for
// dev.ddlen.device.xml_comp.xml).
bool HoldsSourceOf(const std::string& directory, const std::string& component_xml) {
  const std::string name = ToLower(FileNamePart(component_xml));
  std::vector<std::string> files;
  CFileOperation().ListFiles(directory, &files, "");
  for (const std::string& file : files) {
    const std::string candidate = ToLower(FileNamePart(file));
    if (candidate.size() < name.size() && name.compare(0, candidate.size(), candidate) == 0) return true;
  }
  return false;
}

}  // namespace

bool IsAcceptedInPath(const std::string& in_path, const std::string& component_xml,
                      const std::string& temporary_directory) {
  if (Trim(in_path).empty()) return true;
  const std::string directory = NormalisePath(in_path);
  if (directory.empty() || directory == NormalisePath("/")) return false;
  CFileOperation files;
  // A directory that does not exist gives nothing; the copy reports it.
  if (files.GetPathType(directory) != kPathDirectory) return true;
  // Conversion writes its component XML into the temporary directory and names
  // there the directory of the source it converted (or of a batch's sources).
  if (!temporary_directory.empty() && IsPathInside(temporary_directory, component_xml)) return true;
  const std::string own = NormalisePath(DirectoryOfFile(component_xml));
  if (IsPathInside(own, directory)) return true;
  if (HoldsSourceOf(directory, component_xml)) return true;
  // A directory beside the component XML's (not above it) in the same tree below
  // the root's first level.
  return !IsPathInside(directory, own) && TopDirectory(directory) == TopDirectory(own);
}

uint32_t CheckInPath(const ComponentXmlReader& reader, const std::string& component_xml,
                     const std::string& temporary_directory) {
  if (IsAcceptedInPath(reader.InPath(), component_xml, temporary_directory)) return 0;
  Trace(kTraceError, "ZARN_ImportComponent",
        "inPath %s is not a source directory of %s: not the directory of the file, below or beside it, nor the "
        "directory of the source it is named after",
        reader.InPath(), component_xml);
  return ZARN_E_IMPORT_ARGUMENT;
}

}  // namespace zarn
