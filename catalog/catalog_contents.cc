#include "catalog/catalog_contents.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "catalog/catalog_format.h"
#include "catalog/shipped_data.h"
#include "external/compiler_library.h"
#include "external/object_manager_link.h"
#include "external/trace.h"
#include "import/file_area_journal.h"
#include "import/journal_recovery.h"
#include "platform/file_operation.h"
#include "platform/files.h"
#include "platform/leftovers.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "xml/xpath.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace fs = std::filesystem;

CCatalog_Contents::CCatalog_Contents() {
  identification_index_.reserve(9973);
  manufacturer_names_by_id_.reserve(997);
  manufacturer_ids_by_name_.reserve(997);
  device_files_.reserve(97);
  import_sources_.reserve(997);
}

CCatalog_Contents::~CCatalog_Contents() {
  // Imports of a batch that no save took in: the file on disk does not name them.
  if (batch_journal_) batch_journal_->Restore();
  if (compiler_configured_) CompilerLibrary::Instance().SetDeviceConfiguration(nullptr);
  document_.reset();
  auxiliary_library_.Close();
  object_manager_.reset();
  converters_.clear();
}

uint32_t CCatalog_Contents::initialize(const std::string& configured_base_directory) {
  object_manager_ = std::make_unique<ObjectManagerLink>();
  ResolveDirectories(configured_base_directory);
  uint32_t result = 0;
  if (!base_directory_.empty()) result = ProbeWorkingDirectory();
  stylesheet_path_ =
      JoinPath(JoinPath(catalog_directory_, format::kCatalogDataDirectoryName), format::kStylesheetFileName);
  catalog_file_ = JoinPath(catalog_directory_, format::kCatalogFileName);
  // A catalog in a directory this process cannot write to can still be queried.
  if (result == ZARN_E_CANNOT_WRITE && CFileOperation().GetPathType(catalog_file_) == kPathFile) {
    Trace(kTraceInfo, "CCatalog_Contents::initialize", "the working directory is read-only: the catalog is only read");
    read_only_ = true;
    result = 0;
  }
  if (result == 0 && !read_only_) LayOutShippedData(catalog_directory_);  // a conversion reports what is still missing
  ClearLeftovers();
  char name[64];
  std::snprintf(name, sizeof name, "zarnCatalog$$%d", static_cast<int>(CurrentProcessId()));
  temporary_directory_ = JoinPath(temporary_directory_, name);
  ReadManufacturerTables();
  ConfigureCompiler();
  ListDeviceFiles();
  if (result == 0) result = load();
  if (result != 0) return result;
  BuildIdentificationIndex();
  initialisation_pending_ = false;
  RegisterNotifications();
  return 0;
}

// A process killed while saving leaves its temporary catalog file; one killed at any
// time its temporary directory. A save takes moments, so a temporary file of a
// process that is gone and a minute old is debris; a temporary directory is given an
// hour, since another pid namespace may share the temporary directory.
void CCatalog_Contents::ClearLeftovers() const {
  const std::string saving = std::string(format::kCatalogFileName) + ".tmp";
  RemoveLeftoversOfDeadProcesses(catalog_directory_, saving, std::chrono::minutes(1));
  RemoveLeftoversOfDeadProcesses(temporary_directory_, "zarnCatalog$$", std::chrono::hours(1));
  // A writer holds the lock while its change is under way; when another process holds
  // it now, the next write call recovers instead.
  FileLock lock;
  if (!read_only_ && lock.Acquire(lockFile(), true, std::chrono::milliseconds(0)) == FileLock::Result::kLocked) {
    RecoverJournals();
  }
}

void CCatalog_Contents::RecoverJournals() const {
  if (read_only_ || catalog_directory_.empty()) return;
  RecoverFileAreaJournals(catalog_directory_, catalog_file_);
}

FileAreaJournal& CCatalog_Contents::batchJournal() {
  if (!batch_journal_) batch_journal_ = std::make_unique<FileAreaJournal>(catalog_directory_);
  return *batch_journal_;
}

void CCatalog_Contents::ResolveDirectories(const std::string& configured_base_directory) {
  base_directory_ = configured_base_directory;
  catalog_directory_.clear();
  temporary_directory_.clear();
  if (!base_directory_.empty()) {
    catalog_directory_ = JoinPath(base_directory_, format::kCatalogDirectoryName);
    temporary_directory_ = TempDirectory();
    return;
  }
  if (object_manager_->HasSettingsReader()) {
    VARIANT value;
    VariantInit(&value);
    if (object_manager_->GetSetting("WorkingDirectory", &value) == 0) {
      const std::string dir = VariantString(value);
      std::error_code ec;
      if (!dir.empty() && fs::is_directory(dir, ec)) {
        catalog_directory_ = JoinPath(dir, format::kCatalogDirectoryName);
        temporary_directory_ = JoinPath(dir, "tmp");
        base_directory_ = dir;
      }
    }
    VariantClear(&value);
  }
  if (catalog_directory_.empty() || temporary_directory_.empty()) {
    base_directory_ = ParentDirectory(ParentDirectory(ModuleFilePath()));
    catalog_directory_ = JoinPath(base_directory_, format::kCatalogDirectoryName);
    temporary_directory_ = TempDirectory();
  }
}

// The probe directory may be left over from a process that died, or be in use by
// another process probing at the same time: each process writes an entry of its own
// below it, and the directory goes when the last entry does.
uint32_t CCatalog_Contents::ProbeWorkingDirectory() const {
  const std::string probe = JoinPath(base_directory_, format::kWriteProbeDirectoryName);
  const std::string entry = JoinPath(probe, std::to_string(CurrentProcessId()));
  std::error_code ec;
  bool written = false;
  for (int attempt = 0; attempt < 3 && !written; ++attempt) {
    fs::create_directory(probe, ec);
    fs::remove(entry, ec);  // a process of the same number that died
    written = fs::create_directory(entry, ec);
  }
  if (!written) {
    Trace(kTraceError, "CCatalog_Contents::initialize", "can't write to working directory");
    return ZARN_E_CANNOT_WRITE;
  }
  fs::remove(entry, ec);
  fs::remove(probe, ec);  // fails while another process's entry is there
  return 0;
}

namespace {

// The key a manufacturer number of devices.cfg is looked up by: the number as the
// readers write it ("0x%04x"), so that "0x002A", "0x2a" and "42" name one maker.
// Text that is no number stays as written.
std::string ManufacturerKey(const std::string& id) {
  const bool hex = id.size() > 2 && id[0] == '0' && (id[1] == 'x' || id[1] == 'X');
  const std::string digits = hex ? id.substr(2) : id;
  const char* allowed = hex ? "0123456789abcdefABCDEF" : "0123456789";
  if (digits.empty() || digits.size() > 8 || digits.find_first_not_of(allowed) != std::string::npos) return id;
  return FormatHex4(static_cast<uint32_t>(std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10)));
}

}  // namespace

void CCatalog_Contents::ReadManufacturerTables() {
  const std::string data = JoinPath(catalog_directory_, format::kCatalogDataDirectoryName);
  manufacturer_name_table_ = ManufacturerNameTable();
  manufacturer_name_table_.Load(JoinPath(data, format::kManufacturerNamesFileName));
  std::ifstream in(JoinPath(data, format::kManufacturerListFileName));
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("MANUFACTURER", 0) != 0) continue;
    const std::string rest = Trim(TrimLeftChars(line, "MANUFACTURER"));
    const size_t eq = rest.find('=');
    if (eq == std::string::npos) continue;
    const std::string id = Trim(rest.substr(0, eq));
    const std::string name = Trim(rest.substr(eq + 1));
    manufacturer_names_by_id_[ManufacturerKey(id)] = name;
    manufacturer_ids_by_name_[name] = id;
  }
}

void CCatalog_Contents::ConfigureCompiler() {
  device_configuration_file_ = JoinPath(catalog_directory_, format::kDeviceConfigurationRelativePath);
  std::ifstream probe(device_configuration_file_);
  if (!probe) return;
  CompilerLibrary::Instance().SetDeviceConfiguration(&device_configuration_file_);
  compiler_configured_ = true;
}

void CCatalog_Contents::ListDeviceFiles() {
  std::vector<std::string> files;
  CFileOperation().ListFiles(JoinPath(catalog_directory_, format::kDeviceFileAreaName), &files, "");
  for (const std::string& path : files) {
    const std::string name = FileNamePart(path);
    device_files_[name] = name;
  }
}

uint32_t CCatalog_Contents::load() {
  if (catalog_directory_.empty() || catalog_file_.empty()) return ZARN_E_DOCUMENT;
  CFileOperation files;
  if (!files.FileExists(catalog_directory_) && !files.CreateDirectories(catalog_directory_)) {
    return ZARN_E_CANNOT_WRITE;
  }
  document_.reset();
  ForgetStationIdentities();
  ForgetRelationHolders();
  if (!import_batch_.pending.empty()) import_batch_.pending_lost = true;
  // Only a catalog file that is not there starts an empty catalog. One that is there
  // but cannot be read (permissions, a directory in its place) is no catalog: an
  // empty one would be saved over it by the next import.
  const int32_t type = files.GetPathType(catalog_file_);
  if (type != kPathMissing && (type != kPathFile || !files.FileExists(catalog_file_))) {
    Trace(kTraceError, "CCatalog_Contents::load", "catalog file %s cannot be read", catalog_file_);
    return ZARN_E_DOCUMENT;
  }
  file_identity_ = IdentityOf(catalog_file_);
  if (type == kPathFile) {
    std::string error;
    document_ = xml::Document::LoadFile(catalog_file_, &error);
    if (!document_) {
      Trace(kTraceError, "CCatalog_Contents::load", "error loading Xml %s", error);
      return ZARN_E_DOCUMENT;
    }
    return 0;
  }
  document_ = std::make_unique<xml::Document>();
  return 0;
}

uint32_t CCatalog_Contents::save() {
  if (!document_) return ZARN_E_CANNOT_WRITE;
  if (batch_journal_ && !batch_journal_->BeforeSave(catalog_file_)) return ZARN_E_CANNOT_WRITE;
  std::string error;
  if (!document_->Save(catalog_file_, &error)) {
    Trace(kTraceError, "CCatalog_Contents::save", "%s", error);
    return ZARN_E_CANNOT_WRITE;
  }
  file_identity_ = IdentityOf(catalog_file_);
  // The document on disk now holds every import of the batch so far.
  if (batch_journal_) {
    batch_journal_->AfterSave();
    batch_journal_->Commit();
  }
  if (!import_batch_.pending_lost) import_batch_.pending.clear();
  return 0;
}

uint32_t CCatalog_Contents::reload() {
  document_.reset();
  return load();
}

uint32_t CCatalog_Contents::RefreshIfChangedOnDisk() {
  if (initialisation_pending_ || IdentityOf(catalog_file_) == file_identity_) return 0;
  Trace(kTraceInfo, "CCatalog_Contents::load", "the catalog file was saved by another process; loading it again");
  const uint32_t rc = reload();
  identification_index_.clear();
  if (rc == 0) BuildIdentificationIndex();
  return rc;
}

Node CCatalog_Contents::EnsureRoot() {
  if (!document_) document_ = std::make_unique<xml::Document>();
  if (Node r = document_->Root()) return r;
  return document_->SetRoot(document_->CreateElement(format::kRootElement));
}

void CCatalog_Contents::BuildIdentificationIndex() {
  const Node root = document_ ? document_->Root() : Node();
  if (!root) return;
  const Node top = root.OwnerDocument();
  // One walk in document order: the first component that carries an identity answers for it.
  xml::ForEachElementNamedEither(top, format::kComponent, format::kAdditionalIdentification, [&](Node node) {
    // A further identity answers with the component that carries it.
    const bool further = node.Name() == format::kAdditionalIdentification;
    if (!further && node.HasAttribute(format::kIsInvisible)) return;
    auto text = [&](std::string_view name) {
      const Node child = node.FirstChildElement(name);
      return child ? child.Text() : std::string();
    };
    const std::string key =
        IndexKey(text(format::kManufacturer), text(format::kDeviceType), text(format::kDeviceRevision));
    IndexInsert(key, ComponentPathOf(further ? node.Parent() : node));
  });
}

void CCatalog_Contents::RegisterNotifications() {
  if (!object_manager_ || !object_manager_->HasRegistration()) return;
  object_manager_->Register(&ZARN_OmCallBack, "GUI_Language");
  object_manager_->Register(&ZARN_OmCallBack, "CatalogCompileAfterImport");
}

void CCatalog_Contents::BeginCall() {
  call_text_.clear();
  source_is_module_description_ = false;
}

}  // namespace zarn
