// Who is told about changes of which setting. All functions are thread-safe.
#ifndef ZARN_LIBS_OM_NOTIFICATIONS_H_
#define ZARN_LIBS_OM_NOTIFICATIONS_H_

#include <string>
#include <vector>

#include "zarn/object_manager.h"

namespace zarn::om {

// Adds callback for `name`; registering the same pair again changes nothing.
void AddListener(ZarnSettingsCallback callback, const std::u16string& name);
// Removes callback for `name`, or for every name when `name` is null.
void RemoveListener(ZarnSettingsCallback callback, const std::u16string* name);
// The callbacks registered for `name`, in registration order (a copy, so a
// callback may register or unregister while the caller walks the list).
std::vector<ZarnSettingsCallback> ListenersOf(const std::u16string& name);

}  // namespace zarn::om

#endif  // ZARN_LIBS_OM_NOTIFICATIONS_H_
