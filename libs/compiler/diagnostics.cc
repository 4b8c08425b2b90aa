#include "libs/compiler/diagnostics.h"

namespace zarnl {

std::string Diagnostic::Text() const {
  if (line <= 0) return file + ": " + message;
  return file + ":" + std::to_string(line) + ": " + message;
}

void Diagnostics::Error(const std::string& file, int line, const std::string& message) {
  ++count_;
  if (entries_.size() < kMaxErrors) {
    entries_.push_back(Diagnostic{file, line, message.size() <= kMaxMessage
                                                  ? message
                                                  : message.substr(0, kMaxMessage) + "..."});
  } else if (entries_.size() == kMaxErrors) {
    entries_.push_back(Diagnostic{file, line, "too many errors; further errors not shown"});
  }
}

}  // namespace zarnl
