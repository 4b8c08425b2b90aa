// Exports of the import driver and of import batches.
#include "api/export_frame.h"
#include "import/import_batch.h"
#include "import/import_driver.h"
#include "platform/strings.h"

extern "C" {

ZARN_EXPORT uint32_t ZARN_CALL ZARN_ImportComponent(const char16_t* source_path, LogPathEntry** log_paths,
                                                    int32_t mode) {
  if (log_paths != nullptr) *log_paths = nullptr;
  return zarn::CatalogChange([&](zarn::CCatalog_Contents& catalog) -> uint32_t {
    if (source_path == nullptr) return ZARN_E_IMPORT_ARGUMENT;
    const std::string path = zarn::ToUtf8(source_path);
    if (catalog.importBatch().open) return zarn::ImportInBatch(catalog, path, mode, log_paths);
    return zarn::ImportComponent(catalog, path, mode, log_paths);
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_BeginImportBatch(uint32_t chunk) {
  return zarn::CatalogChange([&](zarn::CCatalog_Contents& catalog) { return zarn::BeginImportBatch(catalog, chunk); });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_CommitImportBatch(void) {
  return zarn::CatalogChange([&](zarn::CCatalog_Contents& catalog) { return zarn::CommitImportBatch(catalog); });
}

}  // extern "C"
