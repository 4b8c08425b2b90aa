// Errors and warnings found while preprocessing or compiling one source.
#ifndef ZARN_LIBS_COMPILER_DIAGNOSTICS_H_
#define ZARN_LIBS_COMPILER_DIAGNOSTICS_H_

#include <cstddef>
#include <string>
#include <vector>

namespace zarnl {

struct Diagnostic {
  std::string file;
  int line = 0;  // 0 when no line applies
  std::string message;
  bool warning = false;  // a warning does not make the compile fail

  // "file:line: message" (or "file: message" without a line); a warning reads
  // "file:line: warning: message".
  std::string Text() const;
};

// Collects errors and warnings in the order they were found. After kMaxErrors
// errors (kMaxWarnings warnings) further ones are counted but not kept; one final
// "too many" entry says so.
class Diagnostics {
 public:
  static constexpr size_t kMaxErrors = 100;
  static constexpr size_t kMaxWarnings = 100;
  // Longer messages (quoting a huge token) are cut there and end with "...".
  static constexpr size_t kMaxMessage = 300;

  void Error(const std::string& file, int line, const std::string& message);
  void Warning(const std::string& file, int line, const std::string& message);
  bool HasErrors() const { return count_ > 0; }
  size_t Count() const { return count_; }  // errors
  bool HasWarnings() const { return warning_count_ > 0; }
  size_t WarningCount() const { return warning_count_; }
  // Errors and warnings; Diagnostic::warning tells them apart.
  const std::vector<Diagnostic>& Entries() const { return entries_; }

 private:
  void Add(const std::string& file, int line, const std::string& message, bool warning, size_t count, size_t max);

  std::vector<Diagnostic> entries_;
  size_t count_ = 0;
  size_t warning_count_ = 0;
};

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_DIAGNOSTICS_H_
