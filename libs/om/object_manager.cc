// Exports of the object-manager library. Every export catches whatever the code
// below it throws and turns it into kInternalError.
#include "zarn/object_manager.h"

#include <mutex>
#include <new>
#include <string>

#include "libs/om/notifications.h"
#include "libs/om/settings_file.h"
#include "platform/files.h"
#include "platform/strings.h"

namespace zarn::om {
namespace {

// Result codes (also listed in docs/settings.md).
constexpr int32_t kOk = 0;
constexpr int32_t kBadArgument = static_cast<int32_t>(0x90300001u);
constexpr int32_t kNoSettingsFile = static_cast<int32_t>(0x90300002u);
constexpr int32_t kUnknownSetting = static_cast<int32_t>(0x90300003u);
constexpr int32_t kBadValue = static_cast<int32_t>(0x90300004u);
constexpr int32_t kWriteFailed = static_cast<int32_t>(0x90300005u);
constexpr int32_t kInternalError = static_cast<int32_t>(0x90300006u);

// The only setting that comes back as a byte; every other one is a string.
constexpr std::string_view kByteSetting = "CatalogCompileAfterImport";

// Serialises read-modify-write of the settings file within this process.
std::mutex g_file_mutex;

// What SetComponentPath records.
struct ComponentObject {
  std::string component_path;
};

template <typename F>
int32_t Guarded(F&& body) {
  try {
    return body();
  } catch (...) {
    return kInternalError;
  }
}

// The settings text, or kNoSettingsFile.
int32_t LoadSettings(std::string* path, std::string* text) {
  *path = SettingsFilePath();
  if (path->empty() || !ReadWholeFile(*path, text)) return kNoSettingsFile;
  return kOk;
}

int32_t StoreInVariant(const std::string& name, const std::string& text, VARIANT* value) {
  if (name != kByteSetting) {
    SetVariantString(value, text);
    return kOk;
  }
  unsigned char byte = 0;
  if (!ParseByte(text, &byte)) return kBadValue;
  value->vt = VT_UI1;
  value->bVal = byte;
  return kOk;
}

// The text a value is stored as, or false for a type the file cannot hold.
bool ValueText(const VARIANT& value, std::string* text) {
  switch (value.vt) {
    case VT_BSTR:
      *text = ToUtf8(value.bstrVal);
      return true;
    case VT_UI1:
      *text = std::to_string(value.bVal);
      return true;
    case VT_I1:
      *text = std::to_string(value.cVal);
      return true;
    case VT_I2:
      *text = std::to_string(value.iVal);
      return true;
    case VT_UI2:
      *text = std::to_string(value.uiVal);
      return true;
    case VT_I4:
    case VT_INT:
      *text = std::to_string(value.lVal);
      return true;
    case VT_UI4:
    case VT_UINT:
      *text = std::to_string(value.ulVal);
      return true;
    case VT_BOOL:
      text->assign(1, value.boolVal != VARIANT_FALSE ? '1' : '0');
      return true;
    default:
      return false;
  }
}

int32_t WriteSetting(const std::string& name, const std::string& text) {
  std::lock_guard<std::mutex> lock(g_file_mutex);
  const std::string path = SettingsFilePath();
  if (path.empty()) return kNoSettingsFile;
  std::string old_text;
  if (!ReadWholeFile(path, &old_text)) old_text.clear();  // a missing file is started afresh
  return WriteFileAtomically(path, ReplaceSetting(old_text, name, text), nullptr) ? kOk : kWriteFailed;
}

}  // namespace
}  // namespace zarn::om

using namespace zarn::om;  // NOLINT: the exports below are thin shims over it

ZARN_EXTERN_C int32_t ZARN_CALL ZARN_GetSettingsAttribute(const char16_t* name, VARIANT* value) {
  return Guarded([&] {
    if (name == nullptr || value == nullptr) return kBadArgument;
    std::string path, text;
    const int32_t loaded = LoadSettings(&path, &text);
    if (loaded != kOk) return loaded;
    const std::string key = zarn::ToUtf8(name);
    const std::optional<std::string> found = FindSetting(text, key);
    return found ? StoreInVariant(key, *found, value) : kUnknownSetting;
  });
}

ZARN_EXTERN_C int32_t ZARN_CALL ZARN_SetSettingsAttribute(const char16_t* name, const VARIANT* value) {
  return Guarded([&] {
    if (name == nullptr || value == nullptr) return kBadArgument;
    const std::string key = zarn::ToUtf8(name);
    std::string text;
    unsigned char byte = 0;
    if (!IsStorableName(key) || !ValueText(*value, &text) || !IsStorableValue(text) ||
        (key == kByteSetting && !ParseByte(text, &byte))) {
      return kBadValue;
    }
    const int32_t written = WriteSetting(key, text);
    if (written != kOk) return written;
    for (ZarnSettingsCallback callback : ListenersOf(name)) callback(name, *value);
    return kOk;
  });
}

ZARN_EXTERN_C int32_t ZARN_CALL ZARN_RegisterChangeSettingsAttributeNotify(ZarnSettingsCallback callback,
                                                                           const char16_t* name) {
  return Guarded([&] {
    if (callback == nullptr || name == nullptr) return kBadArgument;
    AddListener(callback, name);
    return kOk;
  });
}

ZARN_EXTERN_C int32_t ZARN_CALL ZARN_UnregisterChangeSettingsAttributeNotify(ZarnSettingsCallback callback,
                                                                             const char16_t* name) {
  return Guarded([&] {
    if (callback == nullptr) return kBadArgument;
    const std::u16string key = name != nullptr ? std::u16string(name) : std::u16string();
    RemoveListener(callback, name != nullptr ? &key : nullptr);
    return kOk;
  });
}

ZARN_EXTERN_C int32_t ZARN_CALL ZARN_CreateObject(void** object) {
  return Guarded([&] {
    if (object == nullptr) return kBadArgument;
    *object = new (std::nothrow) ComponentObject();
    return *object != nullptr ? kOk : kInternalError;
  });
}

ZARN_EXTERN_C int32_t ZARN_CALL ZARN_SetComponentPath(void* object, const char16_t* path, int32_t /*flags*/) {
  return Guarded([&] {
    if (object == nullptr || path == nullptr || *path == 0) return kBadArgument;
    static_cast<ComponentObject*>(object)->component_path = zarn::ToUtf8(path);
    return kOk;
  });
}

ZARN_EXTERN_C int32_t ZARN_CALL ZARN_DeleteObject(void* object) {
  delete static_cast<ComponentObject*>(object);
  return kOk;
}
