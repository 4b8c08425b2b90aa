// The shared body of the seven converter plug-in entry points.
//
// Each plug-in describes itself by a ConverterDefinition; its exported functions
// are one-line calls of these helpers, which convert strings at the boundary,
// hand out strings that only FreeHandedOut releases, and turn every C++
// exception into a result code.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_PLUGIN_ENTRY_H_
#define ZARN_LIBS_DEVICES_CONVERTER_PLUGIN_ENTRY_H_

#include <cstdint>
#include <string>

#include "libs/devices_converter/conversion_report.h"

namespace zarn::converters {

struct ConverterDefinition {
  // ";"-separated extensions without the dot; "?" stands for any one character.
  const char* supported_types;
  // True when the file is one this plug-in converts (judged by its content).
  bool (*is_supported)(const std::string& input_path);
  // Converts input_path into device XML at output_file; output_directory exists
  // and is the only directory the conversion may write to.
  void (*convert)(const std::string& input_path, const std::string& output_directory, const std::string& output_file,
                  ConversionReport* report);
};

// The device XML file a plug-in writes for input_path: output_directory, the
// input's file name, ".device.xml".
std::string OutputFileName(const std::string& output_directory, const std::string& input_path);

uint32_t EntryConvert(const ConverterDefinition& def, const char16_t* input_path, const char16_t* output_directory,
                      char16_t** message);
uint32_t EntryGetSupportedFileTypes(const ConverterDefinition& def, char16_t** types);
uint32_t EntryIsFileTypeSupported(const ConverterDefinition& def, const char16_t* input_path);
void EntryGetOutputFileName(const char16_t* output_directory, const char16_t* input_path, char16_t** name);

// Releases a string handed out by the helpers above and sets *text to null.
// Accepts null and a null *text.
void FreeHandedOut(char16_t** text);

}  // namespace zarn::converters

// Defines the seven exported entry points of a plug-in whose ConverterDefinition
// `make_definition()` returns. Used once per plug-in library, in a file that
// includes "zarn/converter_plugin.h" with ZARN_CONVERTER_PLUGIN_DECLARE_EXPORTS.
#define ZARN_DEFINE_CONVERTER_PLUGIN(make_definition)                                                                  \
  extern "C" {                                                                                                         \
  ZARN_EXPORT uint32_t ZARN_CALL ZARN_Convert(const char16_t* input_path, const char16_t* output_directory,            \
                                              const char16_t*, char16_t** message) {                                   \
    return zarn::converters::EntryConvert(make_definition(), input_path, output_directory, message);                   \
  }                                                                                                                    \
  ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetSupportedFileTypes(char16_t** types) {                                        \
    return zarn::converters::EntryGetSupportedFileTypes(make_definition(), types);                                     \
  }                                                                                                                    \
  ZARN_EXPORT void ZARN_CALL ZARN_FreeSupportedFileTypes(char16_t** types) { zarn::converters::FreeHandedOut(types); } \
  ZARN_EXPORT uint32_t ZARN_CALL ZARN_IsFileTypeSupported(const char16_t* input_path) {                                \
    return zarn::converters::EntryIsFileTypeSupported(make_definition(), input_path);                                  \
  }                                                                                                                    \
  ZARN_EXPORT void ZARN_CALL ZARN_GetOutputFileName(const char16_t* output_directory, const char16_t* input_path,      \
                                                    char16_t** name) {                                                 \
    zarn::converters::EntryGetOutputFileName(output_directory, input_path, name);                                      \
  }                                                                                                                    \
  ZARN_EXPORT void ZARN_CALL ZARN_FreeOutputFileName(char16_t** name) { zarn::converters::FreeHandedOut(name); }       \
  ZARN_EXPORT void ZARN_CALL ZARN_FreeConversionMessage(char16_t** message) {                                          \
    zarn::converters::FreeHandedOut(message);                                                                          \
  }                                                                                                                    \
  }

#endif  // ZARN_LIBS_DEVICES_CONVERTER_PLUGIN_ENTRY_H_
