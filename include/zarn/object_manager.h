/* The object-manager library zarn_om_x: settings and component objects of the host.
 *
 * The catalog manager loads it when present and uses the first six functions.
 * Settings live in a plain "name=value" text file named by ZARN_SETTINGS (one setting
 * a line, '#' starts a comment line). Strings come back as VT_BSTR; the setting
 * CatalogCompileAfterImport comes back as VT_UI1 holding the number of its value.
 */
#ifndef ZARN_OBJECT_MANAGER_H_
#define ZARN_OBJECT_MANAGER_H_

#include <stdint.h>

#include "zarn/oleauto.h"
#include "zarn/platform.h"

ZARN_BEGIN_DECLS

/* Told when a setting changes: its name and the new value, passed by value. */
typedef uint32_t(ZARN_CALL* ZarnSettingsCallback)(const char16_t* name, VARIANT value);

/* Reads a setting into *value (initialised by the caller, cleared by the caller).
 * Returns 0 on success, non-zero when the setting is unknown. */
ZARN_EXPORT int32_t ZARN_CALL ZARN_GetSettingsAttribute(const char16_t* name, VARIANT* value);
/* Registers callback for changes of the setting `name`. */
ZARN_EXPORT int32_t ZARN_CALL ZARN_RegisterChangeSettingsAttributeNotify(ZarnSettingsCallback callback,
                                                                         const char16_t* name);
/* Unregisters callback for `name`, or for every name when name is NULL. */
ZARN_EXPORT int32_t ZARN_CALL ZARN_UnregisterChangeSettingsAttributeNotify(ZarnSettingsCallback callback,
                                                                           const char16_t* name);
/* Creates a component object; *object is NULL on failure. */
ZARN_EXPORT int32_t ZARN_CALL ZARN_CreateObject(void** object);
/* Sets the component path of an object; returns 0 on success. */
ZARN_EXPORT int32_t ZARN_CALL ZARN_SetComponentPath(void* object, const char16_t* path, int32_t flags);
/* Deletes an object made by ZARN_CreateObject; NULL is allowed. */
ZARN_EXPORT int32_t ZARN_CALL ZARN_DeleteObject(void* object);

/* Changes a setting, writes the settings file and tells every registered callback.
 * Returns 0 on success. */
ZARN_EXPORT int32_t ZARN_CALL ZARN_SetSettingsAttribute(const char16_t* name, const VARIANT* value);

ZARN_END_DECLS

#endif /* ZARN_OBJECT_MANAGER_H_ */
