// Tokens of the device-description language, read from preprocessed lines.
#ifndef ZARN_LIBS_COMPILER_LEXER_H_
#define ZARN_LIBS_COMPILER_LEXER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "libs/compiler/diagnostics.h"
#include "libs/compiler/preprocessor.h"

namespace zarnl {

enum class TokenKind : unsigned char { kIdentifier, kInteger, kFloat, kString, kChar, kPunct, kEnd };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  uint32_t file = 0;
  int line = 0;
  std::string_view text;  // as written (a string keeps its quotes); points into the
                          // preprocessed lines, which outlive the tokens

  bool Is(TokenKind k, const char* t) const { return kind == k && text == t; }
  bool IsPunct(const char* t) const { return Is(TokenKind::kPunct, t); }
  bool IsWord(const char* t) const { return Is(TokenKind::kIdentifier, t); }
};

// The tokens of a source, stored in chunks of fixed size: appending never moves a
// token (references stay valid) and no single allocation grows with the source.
class TokenList {
 public:
  void push_back(const Token& t);
  const Token& operator[](size_t i) const { return chunks_[i >> kChunkBits][i & (kChunk - 1)]; }
  size_t size() const { return size_; }
  const Token& back() const { return (*this)[size_ - 1]; }

 private:
  static constexpr size_t kChunkBits = 11;
  static constexpr size_t kChunk = size_t{1} << kChunkBits;
  std::vector<std::unique_ptr<Token[]>> chunks_;
  size_t size_ = 0;
};

// Splits the preprocessed lines into tokens (which point into `source`); the list always ends with one kEnd
// token (carrying the last line). An unexpected character or an unterminated
// string is reported and skipped.
TokenList Tokenize(const PreprocessOutput& source, Diagnostics* diagnostics);

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_LEXER_H_
