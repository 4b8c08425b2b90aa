// The two special imports: the PROFIBUS PA library marker and a bundle of
// universal sources (a ZarnGlobSpecial batch directory with its list document).
#include <string>

#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "conversion/component_xml_reader.h"
#include "conversion/pi_library.h"
#include "external/file_copy_trace.h"
#include "external/trace.h"
#include "import/import_driver.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {
namespace {

constexpr std::string_view kFunction = "ZARN_ImportComponent";
constexpr std::string_view kPiLibraryParent = "/DEVICE/PROFIBUS_PA";

}  // namespace

uint32_t CImportDriver::ImportLibrary() {
  const std::string xpath = TrimRightChars(CCatalog_Contents::ComponentPathToXPath(kPiLibraryParent, "/"), "/*");
  const Node parent = catalog_->getSubElementByXPath(xpath);
  // The library's element is looked up before its files are copied, so that a
  // catalog without it keeps its file area untouched.
  if (!parent) return ZARN_E_NO_PI_LIBRARY;
  std::string library = path_.substr(0, path_.rfind(kPiLibraryMarker));
  library = WithoutTrailingSeparator(library);
  if (CFileOperation().GetPathType(library) != kPathDirectory) {
    Trace(kTraceError, kFunction, "no PI library directory: %s", library);
    return ZARN_E_IMPORT_ARGUMENT;
  }
  std::string target;
  if (FileAreaDirectory(catalog_->catalogDirectory(), GetPiLibraryRoot().fsPath, &target)) {
    CreateDestination(target);
  }
  if (const uint32_t result = ImportPiLibrary(catalog_, library)) return result;
  const uint32_t result = catalog_->insertXml(GetPiLibraryXml(), parent, &components_);
  if (result == 0) AppendLogPaths(components_);
  return result;
}

uint32_t CImportDriver::ImportBundle() {
  const size_t marker = path_.find(kBundleMarker);
  const size_t separator = path_.find(kPathSeparator, marker);
  const std::string bundle_file = JoinPath(path_.substr(0, separator), kBundleListFile);
  if (catalog_->importSources().count(bundle_file) != 0) return 0;
  ComponentXmlReader bundle(&catalog_->manufacturerNamesById(), true);
  bundle.SetImportFlag(true);
  bundle.SetDeviceConfiguration(catalog_->deviceConfigurationFile());
  if (const uint32_t result = bundle.Load(bundle_file)) return result;
  bundle.ReadListDocument();
  catalog_->importSources()[bundle_file] = bundle_file;
  recorded_bundle_ = bundle_file;
  uint32_t result = 0;
  for (const std::string& entry : bundle.TempPaths()) {
    if (const uint32_t entry_result = ImportBundleEntry(entry, bundle.InPath())) {
      Trace(kTraceError, kFunction, "imported %s with errorcode %d", entry, static_cast<int32_t>(entry_result));
      result = entry_result;
    }
  }
  // A failed entry rolls the whole bundle back; its files need not be copied.
  if (result == 0) result = CopyBundle(bundle.InPath());
  return result;
}

uint32_t CImportDriver::ImportBundleEntry(const std::string& entry, const std::string& bundle_in_path) {
  ComponentXmlReader reader(&catalog_->manufacturerNamesById(), true, catalog_->manufacturerLevels());
  reader.SetImportFlag(true);
  reader.SetDeviceConfiguration(catalog_->deviceConfigurationFile());
  uint32_t result = reader.Load(entry);
  if (result == 0) AddMissingCatalogLevels(reader.document());
  if (result == 0) result = reader.Read(entry);
  if (result == 0) result = CheckFileReferences(reader);
  if (result != 0) return result;
  const std::string& in_path = reader.InPath();
  const std::string extension = in_path.compare(0, bundle_in_path.size(), bundle_in_path) == 0
                                    ? in_path.substr(bundle_in_path.size())
                                    : std::string();
  const std::string fs_path = std::string(kBundleFileArea) + NativePathToDocument(TrimLeftChars(extension, "/"));
  std::string native;
  if (!FileAreaDirectory(catalog_->catalogDirectory(), fs_path, &native)) {
    Trace(kTraceError, kFunction, "no usable file-area directory for %s: %s", entry, fs_path);
    return ZARN_E_IMPORT_ARGUMENT;
  }
  CCatalog_Contents::ObjectArray objects;
  NodeList components;
  result = catalog_->AddComponents(&reader, &objects, &components);
  if (result != 0) return result;
  for (const auto& object : objects) {
    if (object->catalogNode && object->catalogNode.Name() == format::kComponent) {
      object->catalogNode.SetAttribute(format::kFsPath, fs_path);
    }
  }
  components_.insert(components_.end(), components.begin(), components.end());
  AppendLogPaths(components);
  return 0;
}

uint32_t CImportDriver::CopyBundle(const std::string& bundle_in_path) {
  std::string destination;
  FileAreaDirectory(catalog_->catalogDirectory(), std::string(kBundleFileArea), &destination);
  destination = WithTrailingSeparator(destination);
  const std::string source = WithoutTrailingSeparator(bundle_in_path);
  if (source.empty() || IsPathInside(source, catalog_->catalogDirectory())) {
    Trace(kTraceError, kFunction, "error copying %s to %s", source, destination);
    return ZARN_E_IMPORT_ARGUMENT;
  }
  CFileOperation files(TraceFileCopy);
  if (files.GetPathType(destination) != kPathDirectory && !CreateDestination(destination)) {
    return ZARN_E_CANNOT_WRITE;
  }
  if (!files.Copy(source, destination)) {
    Trace(kTraceError, kFunction, "error copying %s to %s", source, destination);
    return ZARN_E_COPY;
  }
  return 0;
}

}  // namespace zarn
