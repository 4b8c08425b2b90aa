/* The interface of converter plug-ins: libraries that turn a file of some device
 * description format into device XML, which the catalog manager then converts like
 * the compiler's own output.
 *
 * Conventions:
 *  1. Strings are NUL-terminated UTF-16; paths are native file-system paths.
 *  2. Every string a plug-in hands out belongs to the plug-in; the caller copies it
 *     and gives it back through the matching free entry point, which sets the
 *     caller's pointer to NULL.
 *  3. Supported file types are a ";"-separated list of extensions without the dot;
 *     "?" in an entry stands for any one character.
 *  4. ZARN_Convert returns 0 on success, ZARN_CONVERTER_WARNING (0x902040a6) for a
 *     success with warnings (the message says which), any other code on failure.
 */
#ifndef ZARN_CONVERTER_PLUGIN_H_
#define ZARN_CONVERTER_PLUGIN_H_

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#include "zarn/platform.h"

#define ZARN_CONVERTER_WARNING 0x902040a6u

ZARN_BEGIN_DECLS

/* Converts input_path into device XML below output_directory; catalog_directory is
 * the catalog's directory (for its data files). *message receives a text to show
 * (may stay NULL). */
typedef uint32_t(ZARN_CALL* ZarnConvertFn)(const char16_t* input_path, const char16_t* output_directory,
                                           const char16_t* catalog_directory, char16_t** message);
/* *types receives the supported extensions; returns 0 on success. */
typedef uint32_t(ZARN_CALL* ZarnGetSupportedFileTypesFn)(char16_t** types);
typedef void(ZARN_CALL* ZarnFreeSupportedFileTypesFn)(char16_t** types);
/* Returns 0 when the plug-in accepts the file (it may look at the content). */
typedef uint32_t(ZARN_CALL* ZarnIsFileTypeSupportedFn)(const char16_t* input_path);
/* *name receives the path of the device XML that ZARN_Convert writes for input_path. */
typedef void(ZARN_CALL* ZarnGetOutputFileNameFn)(const char16_t* output_directory, const char16_t* input_path,
                                                 char16_t** name);
typedef void(ZARN_CALL* ZarnFreeOutputFileNameFn)(char16_t** name);
typedef void(ZARN_CALL* ZarnFreeConversionMessageFn)(char16_t** message);

/* A plug-in exports these seven names with the signatures above. */
#define ZARN_CONVERTER_ENTRY_CONVERT "ZARN_Convert"
#define ZARN_CONVERTER_ENTRY_GET_SUPPORTED_FILE_TYPES "ZARN_GetSupportedFileTypes"
#define ZARN_CONVERTER_ENTRY_FREE_SUPPORTED_FILE_TYPES "ZARN_FreeSupportedFileTypes"
#define ZARN_CONVERTER_ENTRY_IS_FILE_TYPE_SUPPORTED "ZARN_IsFileTypeSupported"
#define ZARN_CONVERTER_ENTRY_GET_OUTPUT_FILE_NAME "ZARN_GetOutputFileName"
#define ZARN_CONVERTER_ENTRY_FREE_OUTPUT_FILE_NAME "ZARN_FreeOutputFileName"
#define ZARN_CONVERTER_ENTRY_FREE_CONVERSION_MESSAGE "ZARN_FreeConversionMessage"

#ifdef ZARN_CONVERTER_PLUGIN_DECLARE_EXPORTS
ZARN_EXPORT uint32_t ZARN_CALL ZARN_Convert(const char16_t* input_path, const char16_t* output_directory,
                                            const char16_t* catalog_directory, char16_t** message);
ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetSupportedFileTypes(char16_t** types);
ZARN_EXPORT void ZARN_CALL ZARN_FreeSupportedFileTypes(char16_t** types);
ZARN_EXPORT uint32_t ZARN_CALL ZARN_IsFileTypeSupported(const char16_t* input_path);
ZARN_EXPORT void ZARN_CALL ZARN_GetOutputFileName(const char16_t* output_directory, const char16_t* input_path,
                                                  char16_t** name);
ZARN_EXPORT void ZARN_CALL ZARN_FreeOutputFileName(char16_t** name);
ZARN_EXPORT void ZARN_CALL ZARN_FreeConversionMessage(char16_t** message);
#endif

ZARN_END_DECLS

#endif /* ZARN_CONVERTER_PLUGIN_H_ */
