// Export of the import driver.
#include "api/export_frame.h"
#include "import/import_driver.h"
#include "platform/strings.h"

extern "C" {

ZARN_EXPORT uint32_t ZARN_CALL ZARN_ImportComponent(const char16_t* source_path, LogPathEntry** log_paths,
                                                    int32_t mode) {
  if (log_paths != nullptr) *log_paths = nullptr;
  return zarn::CatalogCall([&](zarn::CCatalog_Contents& catalog) -> uint32_t {
    if (source_path == nullptr) return ZARN_E_IMPORT_ARGUMENT;
    return zarn::ImportComponent(catalog, zarn::ToUtf8(source_path), mode, log_paths);
  });
}

}  // extern "C"
