// ZARN_DeleteComponent.
#include "api/export_frame.h"
#include "maintenance/deletion.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

using namespace zarn;

ZARN_EXPORT uint32_t ZARN_CALL ZARN_DeleteComponent(const char16_t* target, VARIANT* deleted, VARIANT* referencing) {
  return CatalogChange([&](CCatalog_Contents& catalog) -> uint32_t {
    std::string deleted_text;
    std::string referencing_text;
    const uint32_t rc =
        DeleteComponent(catalog, target != nullptr ? ToUtf8(target) : std::string(), &deleted_text, &referencing_text);
    // Files that could not be removed leave the deletion done: its lists are given.
    if (rc != 0 && rc != ZARN_E_CANNOT_DELETE) return rc;
    if (deleted != nullptr) SetVariantString(deleted, deleted_text);
    if (referencing != nullptr) SetVariantString(referencing, referencing_text);
    return rc;
  });
}
