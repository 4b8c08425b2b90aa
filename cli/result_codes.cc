// Meanings of result codes, for messages of the command-line host.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "zarn/result_messages.h"

namespace zarn::cli {

std::string DescribeResult(uint32_t code) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08x", code);
  const char* text = ZARN_ResultMessage(code);
  if (text == nullptr) return std::string(hex) + " (unknown code)";
  // Conversion hands on the compiler's own result for a source with errors.
  const char* more = code != 0 && code < 0x10000 ? "; --trace - shows them" : "";
  return std::string(hex) + " (" + text + more + ")";
}

int ReportFailure(std::string_view what, uint32_t code) {
  std::fprintf(stderr, "error: %.*s failed: %s\n", static_cast<int>(what.size()), what.data(),
               DescribeResult(code).c_str());
  return 1;
}

}  // namespace zarn::cli
