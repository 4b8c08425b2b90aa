// Settings exports: the language, and notifications from the object manager.
#include "api/export_frame.h"
#include "platform/strings.h"

using zarn::CatalogCall;
using zarn::CCatalog_Contents;

extern "C" {

ZARN_EXPORT uint32_t ZARN_CALL ZARN_SetCatalogLanguage(const char16_t* language) {
  return CatalogCall([&](CCatalog_Contents& catalog) { return catalog.setLanguage(zarn::ToUtf8(language)); });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_OmCallBack(const char16_t* name, VARIANT value) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    const std::string setting = zarn::ToUtf8(name);
    if (setting == "GUI_Language" && value.vt == VT_BSTR) {
      catalog.setLanguage(zarn::VariantString(value));
      catalog.markLanguageFetched();
    } else if (setting == "CatalogCompileAfterImport" && value.vt == VT_UI1) {
      catalog.setCompileAfterImport(value.bVal == 1);
      catalog.markCompileSettingFetched();
    }
    return 0;
  });
}

}  // extern "C"
