// The preprocessor: #include, #define/#undef, conditional groups, #error.
// Every source line of every file becomes exactly one output line (a directive,
// a line of a skipped group or a continued line becomes an empty line; an included
// file's lines follow the empty line of its #include), and each output line knows
// the file and line it came from.
#ifndef ZARN_LIBS_COMPILER_PREPROCESSOR_H_
#define ZARN_LIBS_COMPILER_PREPROCESSOR_H_

#include <cstdint>
#include <string>
#include <vector>

#include "libs/compiler/diagnostics.h"
#include "libs/compiler/macro_expander.h"

namespace zarnl {

struct OutputLine {
  std::string text;
  uint32_t file = 0;  // index into PreprocessOutput::files
  int line = 0;
};

struct PreprocessOutput {
  std::vector<std::string> files;  // files[0] is the main source
  std::vector<OutputLine> lines;

  // The lines joined with "\n" (each line ends with "\n").
  std::string Text() const;
};

class Preprocessor {
 public:
  static constexpr int kMaxIncludeDepth = 64;
  static constexpr size_t kMaxIncludes = 20000;
  // All the text that #include brings in, counted each time a file is included: a
  // source that includes itself over and over through guards-free headers stops
  // here instead of growing without bound.
  static constexpr size_t kMaxIncludedBytes = size_t{128} << 20;

  // include_dirs: searched in order after the including file's directory.
  Preprocessor(std::vector<std::string> include_dirs, Diagnostics* diagnostics)
      : include_dirs_(std::move(include_dirs)), diagnostics_(diagnostics) {}

  // Preprocesses `path` into *out. Errors go to the diagnostics. Returns false only
  // when the main file cannot be read (that is reported too).
  bool Run(const std::string& path, PreprocessOutput* out);

 private:
  class FileState;

  void ProcessFile(FileState* f);
  void Directive(FileState* f, const std::string& text, int line);
  void Include(FileState* f, const PpTokens& tokens, const std::string& text, int line);
  void Conditional(FileState* f, const std::string& name, const PpTokens& tokens, int line);
  bool Condition(FileState* f, const PpTokens& tokens, int line);
  void Error(const FileState& f, int line, const std::string& message);
  // True when the normalised path lies below the main source's directory or an
  // include directory.
  bool InsideSourceTree(const std::string& normal) const;

  std::vector<std::string> include_dirs_;
  Diagnostics* diagnostics_;
  PreprocessOutput* out_ = nullptr;
  MacroTable macros_;
  std::vector<std::string> stack_;  // normalised paths of the files being read
  size_t includes_ = 0;
  size_t included_bytes_ = 0;
};

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_PREPROCESSOR_H_
