// Importing one component XML file: reading, insertion, and copying each object's
// files into its directory of the file area.
#include <string>

#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "conversion/component_xml_reader.h"
#include "external/trace.h"
#include "import/file_operation.h"
#include "import/import_driver.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {
namespace {

constexpr std::string_view kFunction = "ZARN_ImportComponent";
constexpr std::string_view kStalePatterns[] = {"*.ddl??", "*.mdd??", "*.device.xml", "*.device.xml_comp.xml"};

// True when copying `source` into the file area cannot reach the catalog itself
// (a source directory that holds the catalog would be copied into itself).
bool IsCopyableSource(const std::string& catalog_directory, const std::string& source) {
  return !source.empty() && !IsPathInside(source, catalog_directory);
}

}  // namespace

uint32_t CImportDriver::ImportComponentXml() {
  if (CFileOperation().GetPathType(path_) != kPathFile) return ZARN_E_IMPORT_ARGUMENT;
  reader_ = std::make_unique<ComponentXmlReader>(&catalog_->manufacturerNamesById(), true);
  reader_->SetImportFlag(catalog_->sourceIsModuleDescription());
  reader_->SetDeviceConfiguration(catalog_->deviceConfigurationFile());
  uint32_t result = reader_->Load(path_);
  if (result == 0) AddMissingCatalogLevels(reader_->document());
  if (result == 0) result = reader_->Read(path_);
  if (result == 0) result = CheckFileReferences(*reader_);
  if (result == 0 && !reader_->Components().empty()) {
    result = catalog_->AddComponents(reader_.get(), &objects_, &components_);
  }
  if (result == 0 && objects_.empty()) result = ZARN_E_NO_COMPONENT;
  for (auto& object : objects_) {
    if (result != 0) break;
    // A catalog level holds no files of its own: the components below it do.
    if ((object->isComponent || object->isFolder) && !object->isComponentReference && !object->isCatalogLevel) {
      result = CopyObjectFiles(object.get());
    }
  }
  if (result == 0) {
    AppendLogPaths(components_);
    result = ImportHardwareConfiguration();
  }
  DeleteHardwareConfigurationSources();
  return result;
}

uint32_t CImportDriver::CopyObjectFiles(CCatalog_Object* object) {
  std::string destination;
  if (!FileAreaDirectory(catalog_->catalogDirectory(), object->backslashPath, &destination)) {
    Trace(kTraceError, kFunction, "no usable file-area directory for %s: %s", object->id, object->backslashPath);
    return ZARN_E_IMPORT_ARGUMENT;
  }
  destination = WithTrailingSeparator(destination);
  const std::string import_directory = WithoutTrailingSeparator(ImportDirectory());
  const std::string source =
      WithoutTrailingSeparator(reader_->InPath().empty() ? import_directory : reader_->InPath());
  if (!IsCopyableSource(catalog_->catalogDirectory(), source) ||
      !IsCopyableSource(catalog_->catalogDirectory(), import_directory)) {
    Trace(kTraceError, kFunction, "error copying %s to %s", source, destination);
    return ZARN_E_IMPORT_ARGUMENT;
  }
  CFileOperation files;
  if (object->update && !files.Delete(destination)) return ZARN_E_CANNOT_DELETE;
  if (!CreateDestination(destination)) return ZARN_E_CANNOT_WRITE;
  if (import_directory != source) {
    if (const uint32_t result = CopyImportDirectory(import_directory, destination)) return result;
  }
  if (!files.Copy(source, destination)) {
    Trace(kTraceError, kFunction, "error copying %s to %s", source, destination);
    return ZARN_E_COPY;
  }
  DeleteStaleFiles(destination);
  if (object->catalogNode) {
    if (object->update) {
      object->catalogNode.SetAttribute(format::kDdRevisionAttribute, object->ddRevision);
    } else {
      object->catalogNode.SetAttribute(format::kFsPath, object->backslashPath);
    }
  }
  return 0;
}

uint32_t CImportDriver::CopyImportDirectory(const std::string& import_directory, const std::string& destination) {
  CFileOperation files;
  std::vector<std::string> listed;
  files.ListFiles(import_directory, &listed, "");
  for (const std::string& file : listed) {
    const std::string name = FileNamePart(file);
    if (catalog_->deviceFiles().count(name) != 0) continue;
    if (!files.DoFileCopy(file, destination + name, false)) {
      Trace(kTraceError, kFunction, "error copying %s to %s", file, destination);
      return ZARN_E_COPY;
    }
  }
  return 0;
}

void CImportDriver::DeleteStaleFiles(const std::string& destination) {
  CFileOperation files;
  for (std::string_view pattern : kStalePatterns) {
    std::vector<std::string> stale;
    files.ListByPattern(destination, std::string(pattern), &stale);
    for (const std::string& file : stale) {
      if (!files.Delete(file)) Trace(kTraceError, kFunction, "can't delete %s", file);
    }
  }
}

bool CImportDriver::CreateDestination(const std::string& directory) {
  const std::string root = NormalisePath(catalog_->catalogDirectory());
  CFileOperation files;
  std::string topmost_missing;
  for (std::string p = NormalisePath(directory); p != root && IsPathInside(root, p); p = ParentDirectory(p)) {
    if (files.GetPathType(p) != kPathMissing) break;
    topmost_missing = p;
  }
  const bool created = files.CreateDirectories(directory);
  if (!topmost_missing.empty()) created_directories_.push_back(topmost_missing);
  return created;
}

}  // namespace zarn
