#include "api/export_frame.h"

#include "import/file_operation.h"

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
  CFileOperation files;
  if (!temporary.empty() && files.GetPathType(temporary) == kPathDirectory) files.Delete(temporary);
}

}  // namespace zarn
