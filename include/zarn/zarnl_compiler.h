/* The device-description compiler library zarn_zarnl_compiler_x.
 *
 * Conventions:
 *  1. Strings are NUL-terminated UTF-16; paths are native file-system paths.
 *  2. A compilation is opened, produces device XML once or more, and is closed.
 *  3. Errors are reported through the callback with request code 4 and a VT_BSTR
 *     text "file:line: message"; warnings the same way as "file:line: warning:
 *     message". The result codes decide success; warnings do not fail it.
 */
#ifndef ZARN_ZARNL_COMPILER_H_
#define ZARN_ZARNL_COMPILER_H_

#include <stdint.h>

#include "zarn/oleauto.h"
#include "zarn/platform.h"

ZARN_BEGIN_DECLS

/* Callback request codes the compiler uses. */
enum {
  ZARNL_REQUEST_NONE = 1,
  ZARNL_REQUEST_FLAG = 2,  /* answer: VT_BOOL */
  ZARNL_REQUEST_ERROR = 4, /* data: VT_BSTR error text with file and line */
  ZARNL_REQUEST_INFO = 5,
  ZARNL_REQUEST_BUILTINS = 8 /* answer: VT_BSTR name of the builtins library */
};

/* Called by the compiler during a compilation; context is the value given to
 * ZARNL_OpenCompilation. Returns 0 when the request was handled, -1 otherwise. */
typedef int32_t(ZARN_CALL* ZarnlCallback)(int32_t request, int32_t context, int32_t detail, VARIANT* data);

/* Preprocesses source. On success returns 0 and sets *text to VT_BSTR with the
 * preprocessed text (one output line per source line); `unused` is not touched.
 * include_path is a ";"-separated list of directories (NULL or empty: the include
 * path of source identification). `options` is 1. */
ZARN_EXPORT int32_t ZARN_CALL ZARNL_PreprocessToString(const char16_t* source, VARIANT* unused, VARIANT* text,
                                                       const char16_t* include_path, int32_t options);

/* Opens a compilation of source. Returns a handle, or NULL when the source cannot
 * be read. The source is preprocessed and parsed here; errors go to callback. */
ZARN_EXPORT void* ZARN_CALL ZARNL_OpenCompilation(const char16_t* source, ZarnlCallback callback, int32_t context,
                                                  int32_t reserved1, int32_t reserved2, const char16_t* output_base,
                                                  int32_t reserved3);

/* Writes the device XML of an opened compilation to output_file.
 * Returns 0 on success; non-zero when the source had errors or writing failed. */
ZARN_EXPORT int32_t ZARN_CALL ZARNL_WriteDeviceXml(void* handle, const char16_t* output_file, int32_t reserved);

/* Closes a compilation; NULL is allowed. */
ZARN_EXPORT void ZARN_CALL ZARNL_CloseCompilation(void* handle);

/* Sets the device configuration file (Device/HV__DEV01.cfg of a catalog), or drops
 * it when path is NULL. DEVICE_TYPE names are resolved through it. */
ZARN_EXPORT void ZARN_CALL ZARNL_SetDeviceConfiguration(const char16_t* path);

ZARN_END_DECLS

#endif /* ZARN_ZARNL_COMPILER_H_ */
