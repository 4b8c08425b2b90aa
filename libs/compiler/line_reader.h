// Splits a source text into logical lines: physical lines joined at a trailing
// backslash, comments replaced by one space (not inside string or character
// literals). A block comment may span lines.
#ifndef ZARN_LIBS_COMPILER_LINE_READER_H_
#define ZARN_LIBS_COMPILER_LINE_READER_H_

#include <string>
#include <string_view>

namespace zarnl {

struct LogicalLine {
  std::string text;  // comments removed
  int line = 0;      // physical line number of its first line (1-based)
  int span = 1;      // number of physical lines it covers
};

class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}

  // Reads the next logical line. Returns false at the end of the text.
  bool Next(LogicalLine* out);
  // Line where an unterminated block comment began, or 0 when none is open.
  int OpenCommentLine() const { return in_comment_ ? comment_line_ : 0; }

 private:
  // Reads one physical line into *out (without its end of line). Returns false at the end.
  bool NextPhysical(std::string_view* out);
  void StripComments(std::string_view raw, std::string* out);

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 0;  // physical lines read so far
  bool in_comment_ = false;
  int comment_line_ = 0;
  int current_line_ = 0;
};

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_LINE_READER_H_
