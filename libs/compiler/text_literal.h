// String literals: C escapes, and texts in several languages ("|en|..|de|..").
#ifndef ZARN_LIBS_COMPILER_TEXT_LITERAL_H_
#define ZARN_LIBS_COMPILER_TEXT_LITERAL_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zarnl {

// The text of a literal written as `"..."` (quotes included), escapes resolved:
// \n \t \r \a \b \f \v \\ \" \' \? \xHH \ooo; any other escaped character stands
// for itself.
std::string DecodeStringLiteral(std::string_view literal);

// One text per language. The first entry is the default text (language ""): the
// text without a language mark, else the "en" text, else the first language's.
// The others follow in source order, each once.
struct LanguageText {
  std::string lang;  // "" for the default
  std::string text;
};
std::vector<LanguageText> SplitLanguages(const std::string& text);

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_TEXT_LITERAL_H_
