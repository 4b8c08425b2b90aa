#include "libs/compiler/pp_token.h"

#include <array>

namespace zarnl {
namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\r'; }

constexpr std::array<std::string_view, 24> kPuncts = {
    "...", "<<=", ">>=", "##", "<<", ">>", "<=", ">=", "==", "!=", "&&", "||",
    "->",  "++",  "--",  "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "::"};

size_t QuotedLength(std::string_view s, size_t i) {
  const char quote = s[i];
  size_t j = i + 1;
  while (j < s.size() && s[j] != quote) j += (s[j] == '\\' && j + 1 < s.size()) ? 2 : 1;
  return (j < s.size() ? j + 1 : s.size()) - i;
}

size_t NumberLength(std::string_view s, size_t i) {
  size_t j = i + 1;
  while (j < s.size()) {
    const char c = s[j];
    if ((c == '+' || c == '-') && (s[j - 1] == 'e' || s[j - 1] == 'E' || s[j - 1] == 'p' || s[j - 1] == 'P')) {
      ++j;
    } else if (IsIdentChar(c) || c == '.') {
      ++j;
    } else {
      break;
    }
  }
  return j - i;
}

size_t PunctLength(std::string_view s, size_t i) {
  for (std::string_view p : kPuncts) {
    if (s.substr(i, p.size()) == p) return p.size();
  }
  return 1;
}

size_t OtherLength(std::string_view s, size_t i) {
  const unsigned char c = static_cast<unsigned char>(s[i]);
  size_t n = (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 1;
  return i + n <= s.size() ? n : 1;
}

bool IsPunctChar(char c) { return std::string_view("{}[]()<>;:,.=+-*/%&|^!~?#").find(c) != std::string_view::npos; }

}  // namespace

PpTokens TokenizeLine(std::string_view line) {
  PpTokens tokens;
  bool space = false;
  size_t i = 0;
  while (i < line.size()) {
    const char c = line[i];
    if (IsSpace(c)) {
      space = true;
      ++i;
      continue;
    }
    PpToken t;
    size_t n;
    if (IsIdentStart(c)) {
      n = 1;
      while (i + n < line.size() && IsIdentChar(line[i + n])) ++n;
      t.kind = PpKind::kIdentifier;
    } else if (IsDigit(c) || (c == '.' && i + 1 < line.size() && IsDigit(line[i + 1]))) {
      n = NumberLength(line, i);
      t.kind = PpKind::kNumber;
    } else if (c == '"' || c == '\'') {
      n = QuotedLength(line, i);
      t.kind = c == '"' ? PpKind::kString : PpKind::kChar;
    } else if (IsPunctChar(c)) {
      n = PunctLength(line, i);
      t.kind = PpKind::kPunct;
    } else {
      n = OtherLength(line, i);
      t.kind = PpKind::kOther;
    }
    t.text.assign(line.substr(i, n));
    t.space_before = space;
    space = false;
    tokens.push_back(std::move(t));
    i += n;
  }
  return tokens;
}

void AppendTokens(const PpTokens& tokens, std::string* out) {
  bool first = true;
  for (const PpToken& t : tokens) {
    if (t.kind == PpKind::kPlacemarker || t.kind == PpKind::kEndOfMacro) continue;
    const bool glue = !first && !out->empty() && IsIdentChar(out->back()) && !t.text.empty() && IsIdentChar(t.text[0]);
    if ((t.space_before || glue) && !first) *out += ' ';
    *out += t.text;
    first = false;
  }
}

}  // namespace zarnl
