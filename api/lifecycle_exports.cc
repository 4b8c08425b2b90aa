// Lifecycle exports: working directory, catalog directory, reset.
#include "api/export_frame.h"
#include "platform/strings.h"

using zarn::CatalogCall;
using zarn::CatalogModule;
using zarn::CCatalog_Contents;

extern "C" {

ZARN_EXPORT uint32_t ZARN_CALL ZARN_InitCatalogManager(const char16_t* base_directory) {
  return zarn::GuardedCall(0, [&]() -> uint32_t {
    CatalogModule::Instance().setBaseDirectory(zarn::ToUtf8(base_directory));
    return 0;
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetCatalogMangerInitialisation(VARIANT* directory) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    if (directory != nullptr) zarn::SetVariantString(directory, catalog.catalogDirectory());
    return 0;
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_ResetCatalog(void) {
  return zarn::GuardedCall(0, []() -> uint32_t {
    CatalogModule::Instance().Reset();
    return 0;
  });
}

}  // extern "C"
