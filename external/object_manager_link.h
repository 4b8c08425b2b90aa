// The link to the object-manager library: settings, notifications and the objects
// used to compile a component after its import. Every function may be missing.
#ifndef ZARN_EXTERNAL_OBJECT_MANAGER_LINK_H_
#define ZARN_EXTERNAL_OBJECT_MANAGER_LINK_H_

#include <cstdint>
#include <string>

#include "platform/dynlib.h"
#include "zarn/object_manager.h"

namespace zarn {

inline constexpr const char* kObjectManagerLibraryName = "zarn_om_x";

class ObjectManagerLink {
 public:
  // Loads the library from the module directory when it is there.
  ObjectManagerLink();
  // Unregisters the notification callback (when registered) and frees the library.
  ~ObjectManagerLink();
  ObjectManagerLink(const ObjectManagerLink&) = delete;
  ObjectManagerLink& operator=(const ObjectManagerLink&) = delete;

  bool HasSettingsReader() const { return get_setting_ != nullptr; }
  bool HasRegistration() const { return register_ != nullptr; }
  bool CanCreateObjects() const { return create_ != nullptr && set_path_ != nullptr && delete_ != nullptr; }

  // Reads a setting into *value (the caller clears it). Non-zero when it failed or
  // there is no reader.
  int32_t GetSetting(const std::string& name, VARIANT* value) const;
  // Registers `callback` for the setting `name`.
  void Register(ZarnSettingsCallback callback, const std::string& name);
  // Creates an object, sets its component path and deletes it again; returns the
  // result of setting the path, or ZARN_E_NO_OBJECT_HANDLE without a handle.
  uint32_t CompileComponent(const std::string& component_path) const;

 private:
  DynamicLibrary library_;
  decltype(&ZARN_CreateObject) create_ = nullptr;
  decltype(&ZARN_SetComponentPath) set_path_ = nullptr;
  decltype(&ZARN_DeleteObject) delete_ = nullptr;
  decltype(&ZARN_GetSettingsAttribute) get_setting_ = nullptr;
  decltype(&ZARN_UnregisterChangeSettingsAttributeNotify) unregister_ = nullptr;
  decltype(&ZARN_RegisterChangeSettingsAttributeNotify) register_ = nullptr;
  ZarnSettingsCallback registered_ = nullptr;
};

}  // namespace zarn

#endif  // ZARN_EXTERNAL_OBJECT_MANAGER_LINK_H_
