#include "api/export_frame.h"

#include <chrono>
#include <cstdlib>

#include "external/trace.h"
#include "import/import_batch.h"
#include "platform/file_operation.h"

namespace zarn {

namespace {

void ShutdownAtExit() { CatalogModule::Instance().Shutdown(); }

}  // namespace

CatalogModule& CatalogModule::Instance() {
  static CatalogModule module;
  return module;
}

CatalogModule::~CatalogModule() {
  try {
    Shutdown();
  } catch (...) {
    // Unloading must not throw.
  }
}

CCatalog_Contents* CatalogModule::Catalog() {
  if (catalog_ == nullptr) {
    auto created = std::make_unique<CCatalog_Contents>();
    if (created->initialize(base_directory_) != 0) return nullptr;
    catalog_ = created.release();
    // Tear the catalog down at exit before the statics of the libraries it loaded
    // (compiler, object manager) are destroyed: those were made during initialisation,
    // after this module, so their destructors would otherwise run first.
    static const bool registered = (std::atexit(&ShutdownAtExit), true);
    (void)registered;
    return catalog_;
  }
  if (catalog_->initialisationPending()) return nullptr;
  catalog_->BeginCall();
  return catalog_;
}

CCatalog_Contents* CatalogModule::ExistingCatalog() {
  if (catalog_ != nullptr) catalog_->BeginCall();
  return catalog_;
}

void CatalogModule::Reset() {
  delete catalog_;
  catalog_ = nullptr;
}

void CatalogModule::Shutdown() {
  CCatalog_Contents* catalog = ExistingCatalog();
  if (catalog == nullptr) return;
  const std::string temporary = catalog->temporaryDirectory();
  CommitImportBatch(*catalog);
  Reset();
  CFileOperation files;
  if (!temporary.empty() && files.GetPathType(temporary) == kPathDirectory) files.Delete(temporary);
}

namespace {

FileLock g_call_lock;
int g_call_depth = 0;

std::chrono::milliseconds LockTimeout() {
  const char* value = std::getenv("ZARN_LOCK_TIMEOUT_MS");
  const long ms = value != nullptr ? std::strtol(value, nullptr, 10) : 0;
  return std::chrono::milliseconds(ms > 0 ? ms : 10000);
}

}  // namespace

uint32_t CallLock::Enter(CCatalog_Contents& catalog, CatalogAccess access) {
  if (g_call_depth++ > 0) return 0;
  outermost_ = true;
  if (access == CatalogAccess::kWrite && catalog.readOnly()) {
    Trace(kTraceError, "CallLock", "the working directory is read-only: the catalog cannot be changed");
    return ZARN_E_CANNOT_WRITE;
  }
  const FileLock::Result got = g_call_lock.Acquire(catalog.lockFile(), access == CatalogAccess::kWrite, LockTimeout());
  if (got == FileLock::Result::kBusy) {
    Trace(kTraceError, "CallLock", "the catalog is locked by another process");
    return ZARN_E_BUSY;
  }
  // Before this process changes anything: what a killed writer left half done.
  if (access == CatalogAccess::kWrite && got == FileLock::Result::kLocked) catalog.RecoverJournals();
  return catalog.RefreshIfChangedOnDisk();
}

CallLock::~CallLock() {
  --g_call_depth;
  if (outermost_) g_call_lock.Release();
}

}  // namespace zarn
