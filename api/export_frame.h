// The frame every export runs in: the catalog accessor and a barrier that turns any
// C++ exception into a result code.
#ifndef ZARN_API_EXPORT_FRAME_H_
#define ZARN_API_EXPORT_FRAME_H_

#include <cstdint>
#include <exception>
#include <new>
#include <string>
#include <utility>

#include "catalog/catalog_contents.h"
#include "zarn/catalog_manager.h"

namespace zarn {

// Module-wide state: the configured base directory and the one catalog object.
class CatalogModule {
 public:
  static CatalogModule& Instance();

  void setBaseDirectory(std::string dir) { base_directory_ = std::move(dir); }
  const std::string& baseDirectory() const { return base_directory_; }

  // The catalog, created and initialised on first use; null when that fails (the
  // next call tries again).
  CCatalog_Contents* Catalog();
  // The existing catalog or null; never creates one.
  CCatalog_Contents* ExistingCatalog();
  // Destroys the catalog unsaved (reset).
  void Reset();
  // Destroys the catalog and removes its per-process temporary directory (unload).
  void Shutdown();

 private:
  CatalogModule() = default;
  ~CatalogModule();

  std::string base_directory_;
  CCatalog_Contents* catalog_ = nullptr;
};

// Runs `work` (a callable returning uint32_t) behind the exception barrier.
template <typename Work>
uint32_t GuardedCall(uint32_t failure, Work&& work) noexcept {
  try {
    return work();
  } catch (const std::bad_alloc&) {
    return ZARN_E_ALLOCATION;
  } catch (...) {
    return failure;
  }
}

// What an export does with the catalog: reads take the working directory's lock
// shared, changes take it exclusive.
enum class CatalogAccess { kRead, kWrite };

// The lock of one export for processes sharing the working directory, held from
// Enter to the destructor. Exports an export calls (a replacement deletes and
// imports) run under the outermost one's lock. Enter also loads the catalog again
// when another process saved it since.
class CallLock {
 public:
  CallLock() = default;
  ~CallLock();
  CallLock(const CallLock&) = delete;
  CallLock& operator=(const CallLock&) = delete;
  // 0, ZARN_E_BUSY when the lock was not had within the wait, or the code of
  // loading the catalog again. A working directory whose lock file cannot be
  // created (read-only) is read without a lock.
  uint32_t Enter(CCatalog_Contents& catalog, CatalogAccess access);

 private:
  bool outermost_ = false;
};

// Runs `work(CCatalog_Contents&)` with the catalog under its lock;
// ZARN_E_NO_CATALOG without one.
template <typename Work>
uint32_t CatalogCall(Work&& work, CatalogAccess access = CatalogAccess::kRead) noexcept {
  return GuardedCall(ZARN_E_DOCUMENT, [&]() -> uint32_t {
    CCatalog_Contents* catalog = CatalogModule::Instance().Catalog();
    if (catalog == nullptr) return ZARN_E_NO_CATALOG;
    CallLock lock;
    if (const uint32_t rc = lock.Enter(*catalog, access); rc != 0) return rc;
    return work(*catalog);
  });
}
// The same for an export that changes the catalog.
template <typename Work>
uint32_t CatalogChange(Work&& work) noexcept {
  return CatalogCall(std::forward<Work>(work), CatalogAccess::kWrite);
}

}  // namespace zarn

#endif  // ZARN_API_EXPORT_FRAME_H_
