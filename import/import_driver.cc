// The import driver: the order of the steps, the final phase (index, compile after
// import, save) and the rollback.
#include "import/import_driver.h"

#include <algorithm>
#include <new>

#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "conversion/component_xml_reader.h"
#include "external/trace.h"
#include "import/file_area_journal.h"
#include "maintenance/log_path_records.h"
#include "platform/file_operation.h"
#include "query/log_paths.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {
namespace {

constexpr std::string_view kFunction = "ZARN_ImportComponent";

// The driver whose Run is in progress; nested imports find their parent here.
CImportDriver* g_active_driver = nullptr;
CompileAfterImportHook g_compile_hook = nullptr;

bool Contains(std::string_view s, std::string_view needle) { return s.find(needle) != std::string_view::npos; }

}  // namespace

void SetCompileAfterImportHookForTesting(CompileAfterImportHook hook) { g_compile_hook = hook; }

bool FileAreaDirectory(const std::string& catalog_directory, const std::string& backslash_path, std::string* native) {
  if (backslash_path.empty() || catalog_directory.empty()) return false;
  for (const std::string& segment : Split(backslash_path, "\\")) {
    if (segment == "." || segment == ".." || segment.find_first_of(std::string_view("/\0", 2)) != std::string::npos) {
      return false;
    }
  }
  const std::string root = NormalisePath(catalog_directory);
  const std::string candidate = NormalisePath(root + DocumentPathToNative("\\" + backslash_path));
  if (candidate == root || !IsPathInside(root, candidate)) return false;
  for (std::string_view own : {"catalogData", "Device"}) {
    if (IsPathInside(JoinPath(root, own), candidate)) return false;
  }
  *native = candidate;
  return true;
}

uint32_t ImportComponent(CCatalog_Contents& catalog, const std::string& source_path, int32_t mode,
                         LogPathEntry** log_paths) {
  if (log_paths != nullptr) *log_paths = nullptr;
  CImportDriver driver(&catalog, source_path, mode, log_paths);
  return driver.Run();
}

CImportDriver::CImportDriver(CCatalog_Contents* catalog, std::string source_path, int32_t mode,
                             LogPathEntry** log_paths)
    : catalog_(catalog), path_(std::move(source_path)), mode_(mode), log_paths_(log_paths), parent_(g_active_driver) {
  g_active_driver = this;
}

CImportDriver::~CImportDriver() { g_active_driver = parent_; }

uint32_t CImportDriver::Run() {
  if (mode_ != kImportModeImport && mode_ != kImportModeSideSteps) return ZARN_E_IMPORT_ARGUMENT;
  uint32_t result;
  if (parent_ == nullptr) {
    journal_ = FileAreaJournal::Active();
    if (journal_ == nullptr) {
      own_journal_ = std::make_unique<FileAreaJournal>(catalog_->catalogDirectory());
      journal_ = own_journal_.get();
    }
    journal_->Activate();
  }
  try {
    result = RunSteps();
  } catch (const std::bad_alloc&) {
    result = ZARN_E_ALLOCATION;
  } catch (...) {
    result = ZARN_E_DOCUMENT;
  }
  if (journal_) journal_->Deactivate();
  try {
    return FinalPhase(result);
  } catch (...) {
    Rollback();
    return result != 0 ? result : ZARN_E_DOCUMENT;
  }
}

uint32_t CImportDriver::RunSteps() {
  if (Contains(path_, ".mdd")) catalog_->setSourceIsModuleDescription(true);
  Trace(kTraceInfo, kFunction, "importing %s", path_);
  RunSideSteps();
  if (mode_ == kImportModeSideSteps) return 0;
  if (library_import_) return ImportLibrary();
  if (Contains(path_, kBundleMarker)) return ImportBundle();
  return ImportComponentXml();
}

void CImportDriver::RunSideSteps() {
  const int32_t type = CFileOperation().GetPathType(path_);
  if (type != kPathFile && type != kPathDirectory && Contains(path_, kPiLibraryMarker)) {
    library_import_ = true;
    return;
  }
  if (!Contains(path_, ".ddl") || catalog_->GetPlatformSourceGenerator() == nullptr) return;
  const std::string directory = WithoutTrailingSeparator(DirectoryOfFile(path_));
  const std::string output = JoinPath(catalog_->temporaryDirectory(), FileNamePart(directory));
  const int32_t generated = catalog_->GeneratePlatformSources(path_, catalog_->baseDirectory(), output,
                                                              reinterpret_cast<void*>(&ZARN_GetComponents),
                                                              reinterpret_cast<void*>(&ZARN_FreeComponentXMLInfo));
  Trace(kTraceInfo, kFunction, generated == 0 ? "created platform sources" : "error creating platform sources");
}

uint32_t CImportDriver::FinalPhase(uint32_t result) {
  if (result == 0) result = IndexAndCompile();
  // A catalog that never had a root element has nothing to write; saving it would
  // leave a file without a document element that no later load accepts.
  const bool saving = result == 0 && catalog_->root() && !Outermost()->defer_save_;
  if (saving && journal_ && !journal_->BeforeSave(catalog_->catalogFile())) result = ZARN_E_CANNOT_WRITE;
  if (saving && result == 0) result = catalog_->save();
  if (result != 0) {
    Rollback();
    return result;
  }
  HandOverToParent();
  if (!journal_) return 0;
  if (saving) {
    journal_->AfterSave();
  } else if (defer_save_ && !catalog_->batchJournal().Absorb(*journal_)) {
    Trace(kTraceError, kFunction, "the batch journal misses changes of %s", path_);
  }
  journal_->Commit();
  return 0;
}

uint32_t CImportDriver::IndexAndCompile() {
  uint32_t result = 0;
  for (Node element : components_) {
    const std::string path = catalog_->ComponentPathOf(element);
    IndexElement(element, path);
    for (Node child = element.FirstChild(); child; child = child.NextSibling()) {
      if (child.IsElement() && child.Name() == format::kAdditionalIdentification) {
        IndexElement(child, path);
      }
    }
    uint32_t compiled;
    if (g_compile_hook != nullptr) {
      compiled = catalog_->getCompileAfterImport() ? g_compile_hook(path) : 0;
    } else {
      compiled = catalog_->CompileAfterImport(path);
    }
    if (compiled != 0) result = compiled;
  }
  return result;
}

void CImportDriver::IndexElement(Node element, const std::string& path) {
  auto text = [&](std::string_view name) {
    const Node child = element.FirstChildElement(name);
    return child ? child.Text() : std::string();
  };
  const std::string key = CCatalog_Contents::IndexKey(text(format::kManufacturer), text(format::kDeviceType),
                                                      text(format::kDeviceRevision));
  std::string present;
  if (key.empty() || path.empty() || catalog_->IndexLookup(key, &present)) return;
  catalog_->IndexInsert(key, path);
  indexed_keys_.push_back(key);
}

void CImportDriver::Rollback() {
  const FileAreaJournal::Suspension suspension;
  if (journal_) journal_->BeginUndo();
  if (has_snapshot_) {
    std::string error;
    if (snapshot_file_existed_) {
      WriteFileAtomically(catalog_->catalogFile(), snapshot_, &error);
    } else {
      CFileOperation().Delete(catalog_->catalogFile());
    }
  }
  objects_.clear();
  components_.clear();
  catalog_->reload();
  document_reloaded_ = true;
  CFileOperation files;
  for (auto it = created_directories_.rbegin(); it != created_directories_.rend(); ++it) {
    const std::string& directory = *it;
    if (IsPathInside(catalog_->catalogDirectory(), directory) &&
        NormalisePath(directory) != NormalisePath(catalog_->catalogDirectory())) {
      files.Delete(directory);
    }
  }
  created_directories_.clear();
  // After the created directories: a directory the import replaced was created anew.
  if (journal_) journal_->Restore();
  for (const std::string& key : indexed_keys_) catalog_->IndexRemove(key);
  indexed_keys_.clear();
  if (!recorded_bundle_.empty()) catalog_->importSources().erase(recorded_bundle_);
}

void CImportDriver::HandOverToParent() {
  if (parent_ == nullptr) return;
  parent_->created_directories_.insert(parent_->created_directories_.end(), created_directories_.begin(),
                                       created_directories_.end());
  parent_->indexed_keys_.insert(parent_->indexed_keys_.end(), indexed_keys_.begin(), indexed_keys_.end());
  created_directories_.clear();
  indexed_keys_.clear();
}

CImportDriver* CImportDriver::Outermost() {
  CImportDriver* d = this;
  while (d->parent_ != nullptr) d = d->parent_;
  return d;
}

void CImportDriver::SnapshotCatalogFile() {
  if (has_snapshot_) return;
  snapshot_file_existed_ = ReadWholeFile(catalog_->catalogFile(), &snapshot_);
  if (!snapshot_file_existed_) snapshot_.clear();
  has_snapshot_ = true;
  // Nested imports save the catalog before this one is done: a kill in between
  // leaves the former file with the journal.
  if (journal_ && !defer_save_ && !journal_->KeepCatalogFile(snapshot_file_existed_, snapshot_)) {
    Trace(kTraceError, kFunction, "cannot keep the catalog file in the journal");
  }
}

std::string CImportDriver::ImportDirectory() const { return DirectoryOfFile(path_); }

void CImportDriver::AppendLogPaths(const NodeList& elements) {
  if (elements.empty()) return;
  LogPathEntry* head = nullptr;
  if (BuildLogPaths(*catalog_, elements, true, false, &head) != 0 || head == nullptr) return;
  if (log_paths_ == nullptr) {
    FreeLogPathEntries(head);
    return;
  }
  LogPathEntry** tail = log_paths_;
  while (*tail != nullptr) tail = &(*tail)->next;
  *tail = head;
}

}  // namespace zarn
