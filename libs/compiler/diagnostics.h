// Errors found while preprocessing or compiling one source.
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

  // "file:line: message" (or "file: message" without a line).
  std::string Text() const;
};

// Collects errors. After kMaxErrors further errors are counted but not kept; one
// final "too many errors" entry says so.
class Diagnostics {
 public:
  static constexpr size_t kMaxErrors = 100;
  // Longer messages (quoting a huge token) are cut there and end with "...".
  static constexpr size_t kMaxMessage = 300;

  void Error(const std::string& file, int line, const std::string& message);
  bool HasErrors() const { return count_ > 0; }
  size_t Count() const { return count_; }
  const std::vector<Diagnostic>& Entries() const { return entries_; }

 private:
  std::vector<Diagnostic> entries_;
  size_t count_ = 0;
};

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_DIAGNOSTICS_H_
