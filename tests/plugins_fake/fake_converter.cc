// A converter plug-in for the tests. FakeConverter_Configure sets what it lists,
// accepts and returns; FakeConverter_Log tells which entry points were called.
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#define ZARN_CONVERTER_PLUGIN_DECLARE_EXPORTS
#include "zarn/converter_plugin.h"

namespace {

struct Settings {
  std::string types = "fake";
  uint32_t accept = 0;
  uint32_t result = 0;
  std::string message = "converted by " FAKE_CONVERTER_NAME;
  uint32_t typesResult = 0;
};

Settings& Current() {
  static Settings settings;
  return settings;
}

std::string& Log() {
  static std::string log;
  return log;
}

std::string Narrow(const char16_t* s) {
  std::string out;
  for (; s != nullptr && *s != 0; ++s) out += static_cast<char>(*s < 0x80 ? *s : '?');
  return out;
}

char16_t* Wide(const std::string& s) {
  auto* out = static_cast<char16_t*>(std::malloc((s.size() + 1) * sizeof(char16_t)));
  for (size_t i = 0; i < s.size(); ++i) out[i] = static_cast<unsigned char>(s[i]);
  out[s.size()] = 0;
  return out;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string OutputFile(const std::string& directory, const std::string& input) {
  return directory + "/" + BaseName(input) + ".fake.device.xml";
}

void Release(char16_t** s) {
  if (s == nullptr) return;
  std::free(*s);
  *s = nullptr;
}

}  // namespace

extern "C" {

ZARN_EXPORT void FakeConverter_Configure(const char* types, uint32_t accept, uint32_t result, const char* message,
                                         uint32_t typesResult) {
  Current() = Settings{types, accept, result, message, typesResult};
  Log().clear();
}

ZARN_EXPORT const char* FakeConverter_Log() { return Log().c_str(); }

uint32_t ZARN_CALL ZARN_GetSupportedFileTypes(char16_t** types) {
  Log() += "types;";
  *types = Wide(Current().types);
  return Current().typesResult;
}

void ZARN_CALL ZARN_FreeSupportedFileTypes(char16_t** types) { Release(types); }

uint32_t ZARN_CALL ZARN_IsFileTypeSupported(const char16_t* input_path) {
  Log() += "accept:" + BaseName(Narrow(input_path)) + ";";
  return Current().accept;
}

uint32_t ZARN_CALL ZARN_Convert(const char16_t* input_path, const char16_t* output_directory,
                                const char16_t* /*catalog_directory*/, char16_t** message) {
  const std::string input = Narrow(input_path);
  Log() += "convert:" + BaseName(input) + ";";
  *message = Wide(Current().message);
  const uint32_t result = Current().result;
  if (result != 0 && result != ZARN_CONVERTER_WARNING) return result;
  std::ofstream out(OutputFile(Narrow(output_directory), input));
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<ZARN_DEVICE formatVersion=\"1\" generator=\"fake\">"
      << "<SOURCE name=\"" << BaseName(input) << "\" path=\"" << input << "\"/>"
      << "<IDENTIFICATION><MANUFACTURER name=\"0x00F1\" value=\"241\" hex=\"0x00f1\"/></IDENTIFICATION>"
      << "<COMPONENT id=\"fake_" FAKE_CONVERTER_NAME "\"><LABEL><string>Fake " FAKE_CONVERTER_NAME
         "</string></LABEL><PROTOCOL name=\"IOLINK\"/><CLASSIFICATION name=\"SENSOR\"/></COMPONENT>"
      << "</ZARN_DEVICE>\n";
  return result;
}

void ZARN_CALL ZARN_GetOutputFileName(const char16_t* output_directory, const char16_t* input_path, char16_t** name) {
  *name = Wide(OutputFile(Narrow(output_directory), Narrow(input_path)));
}

void ZARN_CALL ZARN_FreeOutputFileName(char16_t** name) { Release(name); }

void ZARN_CALL ZARN_FreeConversionMessage(char16_t** message) { Release(message); }

}  // extern "C"
