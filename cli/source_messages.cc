// Collects compiler messages from the trace through an in-process sink.
#include "cli/source_messages.h"

#include <string_view>

#include "platform/strings.h"
#include "zarn/trace.h"

namespace zarn::cli {
namespace {

constexpr std::string_view kCompileError = "Compile Error: ";

std::vector<std::string>& Pending() {
  static std::vector<std::string> messages;
  return messages;
}

void Sink(void*, int32_t, const char16_t*, const char16_t*, const char16_t*, const char16_t* message) {
  if (message == nullptr) return;
  const std::string text = ToUtf8(message);
  if (text.rfind(kCompileError, 0) == 0) Pending().push_back(text.substr(kCompileError.size()));
}

}  // namespace

void CollectSourceMessages() {
  static const bool installed = [] {
    ZARN_SetTraceSink(&Sink, nullptr);
    return true;
  }();
  (void)installed;
}

void AddSourceMessage(std::string message) { Pending().push_back(std::move(message)); }

std::vector<std::string> TakeSourceMessages() {
  std::vector<std::string> out;
  out.swap(Pending());
  return out;
}

}  // namespace zarn::cli
