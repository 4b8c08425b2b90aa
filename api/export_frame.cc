#include "api/export_frame.h"

#include <filesystem>

namespace zarn {

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
  Reset();
  std::error_code ec;
  if (!temporary.empty() && std::filesystem::is_directory(temporary, ec)) {
    std::filesystem::remove_all(temporary, ec);
  }
}

}  // namespace zarn
