// Exports of the log paths and short names.
#include "api/export_frame.h"
#include "maintenance/log_path_records.h"
#include "platform/strings.h"
#include "query/log_paths.h"

using zarn::CatalogCall;
using zarn::CCatalog_Contents;

namespace {

// Writes the text into the caller's VARIANT and gives -1 for an empty text.
uint32_t ReturnNameOrMinusOne(VARIANT* out, const std::string& text) {
  if (out != nullptr) zarn::SetVariantString(out, text);
  return text.empty() ? ZARN_RESULT_MINUS_ONE : 0;
}

}  // namespace

extern "C" {

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetLogPaths(const char16_t* component_path, LogPathEntry** entries,
                                                uint8_t with_texts, int32_t mode) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    LogPathEntry* head = nullptr;
    const uint32_t result = zarn::GetLogPaths(catalog, zarn::ToUtf8(component_path), with_texts != 0, mode, &head);
    if (result == ZARN_E_EMPTY_PATH) return result;
    if (entries != nullptr) {
      *entries = head;
    } else {
      zarn::FreeLogPathEntries(head);
    }
    return result;
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetLogPath(const char16_t* component_path, LogPathEntry** entries,
                                               uint8_t with_texts) {
  return ZARN_GetLogPaths(component_path, entries, with_texts, zarn::kLogPathsElement);
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_FreeLogPaths(LogPathEntry* entries) {
  if (entries == nullptr) return ZARN_RESULT_MINUS_ONE;
  zarn::FreeLogPathEntries(entries);
  return 0;
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetCotNameFromComponentPath(const char16_t* component_path, VARIANT* cot_name) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    return ReturnNameOrMinusOne(cot_name, zarn::CotNameOf(catalog, zarn::ToUtf8(component_path)));
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetComponentPathFromCotName(const char16_t* cot_name, VARIANT* component_path) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    return ReturnNameOrMinusOne(component_path, zarn::ComponentPathFromCotName(catalog, zarn::ToUtf8(cot_name)));
  });
}

}  // extern "C"
