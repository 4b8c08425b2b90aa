// The frame every export runs in: the catalog accessor and a barrier that turns any
// C++ exception into a result code.
#ifndef ZARN_API_EXPORT_FRAME_H_
#define ZARN_API_EXPORT_FRAME_H_

#include <cstdint>
#include <exception>
#include <new>
#include <string>

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

// Runs `work(CCatalog_Contents&)` with the catalog; ZARN_E_NO_CATALOG without one.
template <typename Work>
uint32_t CatalogCall(Work&& work) noexcept {
  return GuardedCall(ZARN_E_DOCUMENT, [&]() -> uint32_t {
    CCatalog_Contents* catalog = CatalogModule::Instance().Catalog();
    if (catalog == nullptr) return ZARN_E_NO_CATALOG;
    return work(*catalog);
  });
}

}  // namespace zarn

#endif  // ZARN_API_EXPORT_FRAME_H_
