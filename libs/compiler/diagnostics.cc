#include "libs/compiler/diagnostics.h"

namespace zarnl {

std::string Diagnostic::Text() const {
  const std::string text = warning ? "warning: " + message : message;
  if (line <= 0) return file + ": " + text;
  return file + ":" + std::to_string(line) + ": " + text;
}

void Diagnostics::Error(const std::string& file, int line, const std::string& message) {
  Add(file, line, message, false, ++count_, kMaxErrors);
}

void Diagnostics::Warning(const std::string& file, int line, const std::string& message) {
  Add(file, line, message, true, ++warning_count_, kMaxWarnings);
}

// `count` is the number of entries of this kind including the new one.
void Diagnostics::Add(const std::string& file, int line, const std::string& message, bool warning, size_t count,
                      size_t max) {
  if (count <= max) {
    entries_.push_back(Diagnostic{
        file, line, message.size() <= kMaxMessage ? message : message.substr(0, kMaxMessage) + "...", warning});
  } else if (count == max + 1) {
    entries_.push_back(Diagnostic{
        file, line,
        warning ? "too many warnings; further warnings not shown" : "too many errors; further errors not shown",
        warning});
  }
}

}  // namespace zarnl
