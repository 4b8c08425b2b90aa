// Hardware-configuration sources of an imported component: nested imports of the
// device and rack sources, the entries that link them, the device-item defaults, and
// the removal of the generated source directories.
#include <string>

#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "external/trace.h"
#include "import/import_driver.h"
#include "maintenance/log_path_records.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "query/component_attributes.h"

namespace zarn {
namespace {

constexpr std::string_view kFunction = "ZARN_ImportComponent";
constexpr int kDeviceEntry = 0;
constexpr int kRackEntry = 1;
constexpr int kDeviceItemEntry = 2;

// The path of the first record whose path contains `marker`, or "".
std::string FirstPathContaining(const LogPathEntry* chain, std::string_view marker) {
  for (const LogPathEntry* e = chain; e != nullptr; e = e->next) {
    const std::string path = e->path != nullptr ? ToUtf8(e->path) : std::string();
    if (path.find(marker) != std::string::npos) return path;
  }
  return std::string();
}

}  // namespace

uint32_t CImportDriver::ImportHardwareConfiguration() {
  uint32_t result = 0;
  for (auto& object : objects_) {
    CCatalog_Object* o = object.get();
    std::string device_path;
    std::string rack_path;
    if (!o->hwcnDevice.empty()) {
      if (const uint32_t r = ImportPartner(o, o->hwcnDevice, format::kHwcnDeviceSuffix, kDeviceEntry,
                                           ZARN_E_HWCN_DEVICE_IMPORT, &device_path)) {
        result = r;
      }
    }
    if (!document_reloaded_ && !o->hwcnRack.empty()) {
      if (const uint32_t r =
              ImportPartner(o, o->hwcnRack, format::kHwcnRackSuffix, kRackEntry, ZARN_E_HWCN_RACK_IMPORT, &rack_path)) {
        result = r;
      }
    }
    // A failed nested import reloaded the catalog: the elements of this import are
    // gone, and nothing more can be linked to them.
    if (document_reloaded_) break;
    if (!o->hwcnDeviceItem.empty()) WriteDeviceItem(o, rack_path, device_path);
  }
  return result;
}

uint32_t CImportDriver::ImportPartner(CCatalog_Object* object, const std::string& source, std::string_view marker,
                                      int kind, uint32_t failure, std::string* partner_path) {
  Outermost()->SnapshotCatalogFile();
  LogPathEntry* chain = nullptr;
  catalog_->BeginCall();
  const uint32_t nested = ImportComponent(*catalog_, ResolveAgainstImportDirectory(source), kImportModeImport, &chain);
  *partner_path = FirstPathContaining(chain, marker);
  FreeLogPathEntries(chain);
  if (nested != 0) {
    document_reloaded_ = true;
    return failure;
  }
  catalog_->AddHardwareConfigurationEntry(object->catalogNode, *partner_path, kind);
  catalog_->MarkInvisible(*partner_path);
  return 0;
}

void CImportDriver::WriteDeviceItem(CCatalog_Object* object, const std::string& rack_path,
                                    const std::string& device_path) {
  // An item the sources do not hold is not named (as any other file of the component).
  std::string directory;
  if (!FileAreaDirectory(catalog_->catalogDirectory(), object->backslashPath, &directory) ||
      CFileOperation().GetPathType(JoinPath(directory, DocumentPathToNative(object->hwcnDeviceItem))) != kPathFile) {
    Trace(kTraceWarning, kFunction, "%s names %s, which is not among its sources: left out", object->id,
          object->hwcnDeviceItem);
    return;
  }
  catalog_->AddHardwareConfigurationEntry(object->catalogNode, object->hwcnDeviceItem, kDeviceItemEntry);
  const AttributeAnswer file = GetComponentAttribute(*catalog_, object->catalogIdPath, "HWCN_DeviceItem", 2);
  if (!file.answered || file.text.empty()) return;
  if (!IsPathInside(catalog_->catalogDirectory(), file.text)) {
    Trace(kTraceError, kFunction, "file reference leaves the component directory: %s", file.text);
    return;
  }
  CCatalog_Contents::WriteDeviceItemDefaults(file.text, rack_path, device_path);
}

void CImportDriver::DeleteHardwareConfigurationSources() {
  for (const auto& o : objects_) {
    if (!o->hwcnDevice.empty()) DeleteSourceDirectory(DirectoryOfFile(ResolveAgainstImportDirectory(o->hwcnDevice)));
    if (!o->hwcnRack.empty()) DeleteSourceDirectory(DirectoryOfFile(ResolveAgainstImportDirectory(o->hwcnRack)));
    if (!o->hwcnDeviceItem.empty()) {
      DeleteSourceDirectory(DirectoryOfFile(JoinPath(ImportDirectory(), o->hwcnDeviceItem)));
    }
  }
}

void CImportDriver::DeleteSourceDirectory(const std::string& directory) {
  const std::string temporary = NormalisePath(catalog_->temporaryDirectory());
  const std::string candidate = NormalisePath(directory);
  // Generated sources live in the catalog's temporary directory; anything else is
  // the user's and stays.
  if (candidate == temporary || !IsPathInside(temporary, candidate)) {
    Trace(kTraceWarning, kFunction, "can't delete %s", candidate);
    return;
  }
  CFileOperation files;
  if (!files.Delete(candidate)) Trace(kTraceError, kFunction, "can't delete %s", candidate);
}

std::string CImportDriver::ResolveAgainstImportDirectory(const std::string& path) const {
  const std::string native = DocumentPathToNative(path);
  if (!native.empty() && native[0] == kPathSeparator) return native;
  return JoinPath(ImportDirectory(), native);
}

}  // namespace zarn
