// The seven entry points of zarn_iodd_converter_x.
#define ZARN_CONVERTER_PLUGIN_DECLARE_EXPORTS
#include "zarn/converter_plugin.h"

#include "libs/iodd_converter/iodd_converter.h"

using zarn::converters::IoddConverter;

extern "C" {

ZARN_EXPORT uint32_t ZARN_CALL ZARN_Convert(const char16_t* input_path, const char16_t* output_directory,
                                            const char16_t*, char16_t** message) {
  return zarn::converters::EntryConvert(IoddConverter(), input_path, output_directory, message);
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetSupportedFileTypes(char16_t** types) {
  return zarn::converters::EntryGetSupportedFileTypes(IoddConverter(), types);
}

ZARN_EXPORT void ZARN_CALL ZARN_FreeSupportedFileTypes(char16_t** types) {
  zarn::converters::FreeHandedOut(types);
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_IsFileTypeSupported(const char16_t* input_path) {
  return zarn::converters::EntryIsFileTypeSupported(IoddConverter(), input_path);
}

ZARN_EXPORT void ZARN_CALL ZARN_GetOutputFileName(const char16_t* output_directory, const char16_t* input_path,
                                                  char16_t** name) {
  zarn::converters::EntryGetOutputFileName(output_directory, input_path, name);
}

ZARN_EXPORT void ZARN_CALL ZARN_FreeOutputFileName(char16_t** name) { zarn::converters::FreeHandedOut(name); }

ZARN_EXPORT void ZARN_CALL ZARN_FreeConversionMessage(char16_t** message) {
  zarn::converters::FreeHandedOut(message);
}

}  // extern "C"
