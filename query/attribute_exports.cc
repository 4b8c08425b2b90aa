// Attribute exports: thin shims over the attribute queries.
#include "api/export_frame.h"
#include "platform/strings.h"
#include "query/component_attributes.h"

using zarn::CatalogCall;
using zarn::CCatalog_Contents;

extern "C" {

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetComponentAttributes(const char16_t* path, CompAttrInfo** list) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    if (path == nullptr || *path == u'\0' || list == nullptr) return ZARN_E_NOT_FOUND;
    return zarn::GetComponentAttributes(catalog, zarn::ToUtf8(path), list);
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetComponentAttribute(const char16_t* path, const char16_t* attributeName,
                                                          VARIANT* value, int32_t mode) {
  return zarn::GuardedCall(ZARN_E_DOCUMENT, [&]() -> uint32_t {
    CCatalog_Contents* catalog = zarn::CatalogModule::Instance().Catalog();
    if (path == nullptr || *path == u'\0' || attributeName == nullptr || *attributeName == u'\0' || value == nullptr) {
      return ZARN_E_ATTRIBUTE;
    }
    if (catalog == nullptr) return ZARN_E_NO_CATALOG;
    const zarn::AttributeAnswer answer =
        zarn::GetComponentAttribute(*catalog, zarn::ToUtf8(path), zarn::ToUtf8(attributeName), mode);
    if (answer.answered) zarn::SetVariantString(value, answer.text);
    return answer.code;
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_FreeCompAttrInfoList(CompAttrInfo* list) {
  return zarn::GuardedCall(0, [&]() -> uint32_t {
    zarn::CompAttrListBuilder::FreeCompAttrInfoList(list);
    return 0;
  });
}

}  // extern "C"
