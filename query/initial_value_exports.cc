// Exports of the initial values and the purpose mapping.
#include "api/export_frame.h"
#include "platform/strings.h"
#include "query/initial_values.h"

using zarn::CatalogCall;
using zarn::CCatalog_Contents;

extern "C" {

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetInitialValue(const char16_t* component_path, const char16_t* variable_ref,
                                                    VARIANT* value) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    std::string text;
    const uint32_t result = zarn::GetInitialValue(catalog, zarn::ToUtf8(component_path), zarn::ToUtf8(variable_ref),
                                                  catalog.getLanguage(), &text);
    if (result == 0 && value != nullptr) zarn::SetVariantString(value, text);
    return result;
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetPurposeMapping(const char16_t* component_path, int32_t kind, VARIANT* value) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    std::string text;
    const uint32_t result = zarn::GetPurposeMapping(catalog, zarn::ToUtf8(component_path), kind, &text);
    if (result == 0 && value != nullptr) zarn::SetVariantString(value, text);
    return result;
  });
}

}  // extern "C"
