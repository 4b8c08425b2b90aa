// Preprocessing tokens of one logical source line.
#ifndef ZARN_LIBS_COMPILER_PP_TOKEN_H_
#define ZARN_LIBS_COMPILER_PP_TOKEN_H_

#include <string>
#include <string_view>
#include <vector>

namespace zarnl {

enum class PpKind : unsigned char {
  kIdentifier,
  kNumber,
  kString,  // "..." (may be unterminated at the end of the line)
  kChar,    // '...'
  kPunct,
  kOther,        // any other character (one UTF-8 sequence or byte)
  kPlacemarker,  // internal: empty macro argument
  kEndOfMacro,   // internal: ends the rescan of one macro's expansion
};

struct PpToken {
  PpKind kind = PpKind::kOther;
  bool space_before = false;
  bool no_expand = false;  // an identifier that named a macro being expanded
  std::string text;
};

using PpTokens = std::vector<PpToken>;

// Splits one logical line (comments already removed) into tokens.
PpTokens TokenizeLine(std::string_view line);

// Writes tokens back as text, one space where the source had white space.
void AppendTokens(const PpTokens& tokens, std::string* out);

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_PP_TOKEN_H_
