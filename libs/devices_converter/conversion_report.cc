#include "libs/devices_converter/conversion_report.h"

namespace zarn::converters {
namespace {
// Enough warnings to say what is wrong without flooding the host's message box.
constexpr size_t kMaxListedWarnings = 50;
}  // namespace

void ConversionReport::Fail(uint32_t code, std::string text) {
  if (failure_code_ != 0) return;
  failure_code_ = code;
  failure_text_ = std::move(text);
}

uint32_t ConversionReport::Code() const {
  if (failure_code_ != 0) return failure_code_;
  return warnings_.empty() ? kConverted : kConvertedWithWarnings;
}

std::string ConversionReport::Message() const {
  std::string out = failure_text_;
  for (size_t i = 0; i < warnings_.size() && i < kMaxListedWarnings; ++i) {
    if (!out.empty()) out += '\n';
    out += warnings_[i];
  }
  if (warnings_.size() > kMaxListedWarnings) {
    out += "\n... " + std::to_string(warnings_.size() - kMaxListedWarnings) + " more warnings";
  }
  return out;
}

}  // namespace zarn::converters
