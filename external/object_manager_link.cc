#include "external/object_manager_link.h"

#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn {

ObjectManagerLink::ObjectManagerLink() {
  if (!library_.OpenFromModuleDirectory(kObjectManagerLibraryName)) return;
  create_ = library_.Function<decltype(create_)>("ZARN_CreateObject");
  set_path_ = library_.Function<decltype(set_path_)>("ZARN_SetComponentPath");
  delete_ = library_.Function<decltype(delete_)>("ZARN_DeleteObject");
  get_setting_ = library_.Function<decltype(get_setting_)>("ZARN_GetSettingsAttribute");
  unregister_ = library_.Function<decltype(unregister_)>("ZARN_UnregisterChangeSettingsAttributeNotify");
  register_ = library_.Function<decltype(register_)>("ZARN_RegisterChangeSettingsAttributeNotify");
}

ObjectManagerLink::~ObjectManagerLink() {
  if (unregister_ != nullptr && registered_ != nullptr) unregister_(registered_, nullptr);
}

int32_t ObjectManagerLink::GetSetting(const std::string& name, VARIANT* value) const {
  if (get_setting_ == nullptr) return -1;
  const std::u16string name16 = ToUtf16(name);
  return get_setting_(name16.c_str(), value);
}

void ObjectManagerLink::Register(ZarnSettingsCallback callback, const std::string& name) {
  if (register_ == nullptr) return;
  const std::u16string name16 = ToUtf16(name);
  register_(callback, name16.c_str());
  registered_ = callback;
}

uint32_t ObjectManagerLink::CompileComponent(const std::string& component_path) const {
  void* object = nullptr;
  create_(&object);
  if (object == nullptr) return ZARN_E_NO_OBJECT_HANDLE;
  const std::u16string path16 = ToUtf16(component_path);
  const auto result = static_cast<uint32_t>(set_path_(object, path16.c_str(), 0));
  delete_(object);
  return result;
}

}  // namespace zarn
