// Test generator: writes its first three arguments, one a line, to
// <output directory>.args and returns 0, or 7 when the source path contains "fail".
#include <fstream>
#include <string>

#include "platform/strings.h"
#include "zarn/platform.h"

extern "C" ZARN_EXPORT int32_t ZARN_CALL ZARN_GeneratePlatformSources(const char16_t* source, const char16_t* base,
                                                                      const char16_t* output, void* get_components,
                                                                      void* free_info) {
  const std::string out = zarn::ToUtf8(output);
  std::ofstream file(out + ".args");
  file << zarn::ToUtf8(source) << '\n'
       << zarn::ToUtf8(base) << '\n'
       << out << '\n'
       << (get_components != nullptr && free_info != nullptr ? "functions" : "null") << '\n';
  return zarn::ToUtf8(source).find("fail") != std::string::npos ? 7 : 0;
}
