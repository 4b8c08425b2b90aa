// Meanings of result codes, and how the command-line host reports a failed call:
// the code and its meaning, the compiler's messages about the source, and what to
// do where a catalog or its data is missing; with --json one error object instead.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "cli/source_messages.h"
#include "zarn/result_messages.h"

namespace zarn::cli {
namespace {

struct ReportStyle {
  bool json = false;
  std::string workdir;
};

ReportStyle& Style() {
  static ReportStyle style;
  return style;
}

std::string Hex(uint32_t code) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08x", code);
  return hex;
}

// What the user can do about a code, "" when the message says it all.
std::string Advice(uint32_t code) {
  if (code == ZARN_E_NO_CATALOG || code == ZARN_E_CANNOT_WRITE) {
    const std::string dir = Style().workdir.empty() ? "DIR" : Style().workdir;
    return "is " + dir + " a working directory? run `zarn-catalog init --workdir " + dir + "`";
  }
  if (code == ZARN_E_XSLT) return "the catalog data may be damaged: run `zarn-catalog init --force --workdir DIR`";
  return "";
}

}  // namespace

void SetReportStyle(bool json, const std::string& workdir) { Style() = ReportStyle{json, workdir}; }

std::string DescribeResult(uint32_t code) {
  const char* text = ZARN_ResultMessage(code);
  return Hex(code) + " (" + (text != nullptr ? text : "unknown code") + ")";
}

std::string JsonMessages(const std::vector<std::string>& messages) {
  std::string out = "[";
  for (size_t i = 0; i < messages.size(); ++i) out += (i == 0 ? "" : ", ") + JsonString(messages[i]);
  return out + "]";
}

int ReportFailure(std::string_view what, uint32_t code) {
  const std::vector<std::string> messages = TakeSourceMessages();
  const char* text = ZARN_ResultMessage(code);
  const std::string advice = Advice(code);
  if (Style().json) {
    std::printf("{\"error\": {\"call\": %s, \"code\": %u, \"hex\": \"%s\", \"message\": %s, \"messages\": %s%s}}\n",
                JsonString(what).c_str(), code, Hex(code).c_str(),
                JsonString(text != nullptr ? text : "unknown code").c_str(), JsonMessages(messages).c_str(),
                advice.empty() ? "" : (", \"advice\": " + JsonString(advice)).c_str());
    std::fflush(stdout);
    return kExitFailure;
  }
  std::fprintf(stderr, "error: %.*s failed: %s\n", static_cast<int>(what.size()), what.data(),
               DescribeResult(code).c_str());
  for (const std::string& m : messages) std::fprintf(stderr, "  %s\n", m.c_str());
  if (!advice.empty()) std::fprintf(stderr, "  %s\n", advice.c_str());
  return kExitFailure;
}

}  // namespace zarn::cli
