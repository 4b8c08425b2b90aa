#include "libs/compiler/lexer.h"

#include <cctype>
#include <string_view>

namespace zarnl {
namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || IsDigit(c); }
bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\f' || c == '\v' || c == '\r'; }

constexpr std::string_view kTwoCharPuncts[] = {"==", "!=", "<=", ">=", "&&", "||", "<<", ">>"};
constexpr std::string_view kOneCharPuncts = "{}()[];,:=+-*/%&|^~!<>?.";

class LineLexer {
 public:
  LineLexer(const OutputLine& line, const std::string& file, TokenList* out, Diagnostics* diagnostics)
      : s_(line.text), line_(line), file_(file), out_(out), diagnostics_(diagnostics) {}

  void Run() {
    while (i_ < s_.size()) {
      const char c = s_[i_];
      if (IsSpace(c)) {
        ++i_;
      } else if (IsIdentStart(c)) {
        Take(TokenKind::kIdentifier, Span(IsIdentChar));
      } else if (IsDigit(c) || (c == '.' && i_ + 1 < s_.size() && IsDigit(s_[i_ + 1]))) {
        Number();
      } else if (c == '"' || c == '\'') {
        Quoted(c);
      } else {
        Punct();
      }
    }
  }

 private:
  template <typename Pred>
  size_t Span(Pred pred) const {
    size_t n = 1;
    while (i_ + n < s_.size() && pred(s_[i_ + n])) ++n;
    return n;
  }

  void Take(TokenKind kind, size_t n) {
    out_->push_back(Token{kind, line_.file, line_.line, s_.substr(i_, n)});
    i_ += n;
  }

  void Number() {
    size_t n = 0;
    bool is_float = false;
    if (s_[i_] == '0' && i_ + 1 < s_.size() && (s_[i_ + 1] == 'x' || s_[i_ + 1] == 'X')) {
      n = 2;
      while (i_ + n < s_.size() && std::isxdigit(static_cast<unsigned char>(s_[i_ + n]))) ++n;
    } else {
      while (i_ + n < s_.size() && (IsDigit(s_[i_ + n]) || s_[i_ + n] == '.')) {
        is_float = is_float || s_[i_ + n] == '.';
        ++n;
      }
      if (i_ + n < s_.size() && (s_[i_ + n] == 'e' || s_[i_ + n] == 'E')) {
        size_t m = n + 1;
        if (i_ + m < s_.size() && (s_[i_ + m] == '+' || s_[i_ + m] == '-')) ++m;
        if (i_ + m < s_.size() && IsDigit(s_[i_ + m])) {
          while (i_ + m < s_.size() && IsDigit(s_[i_ + m])) ++m;
          n = m;
          is_float = true;
        }
      }
    }
    while (i_ + n < s_.size() && std::string_view("uUlLfF").find(s_[i_ + n]) != std::string_view::npos) ++n;
    Take(is_float ? TokenKind::kFloat : TokenKind::kInteger, n);
  }

  void Quoted(char quote) {
    size_t j = i_ + 1;
    while (j < s_.size() && s_[j] != quote) j += (s_[j] == '\\' && j + 1 < s_.size()) ? 2 : 1;
    if (j >= s_.size()) {
      diagnostics_->Error(file_, line_.line,
                          quote == '"' ? "unterminated string literal" : "unterminated character literal");
      i_ = s_.size();
      return;
    }
    Take(quote == '"' ? TokenKind::kString : TokenKind::kChar, j + 1 - i_);
  }

  void Punct() {
    for (std::string_view p : kTwoCharPuncts) {
      if (s_.substr(i_, 2) == p) {
        Take(TokenKind::kPunct, 2);
        return;
      }
    }
    if (kOneCharPuncts.find(s_[i_]) != std::string_view::npos) {
      Take(TokenKind::kPunct, 1);
      return;
    }
    const unsigned char c = static_cast<unsigned char>(s_[i_]);
    std::string shown = c >= 0x20 && c < 0x7F ? std::string(1, static_cast<char>(c)) : "\\x" + Hex(c);
    diagnostics_->Error(file_, line_.line, "unexpected character '" + shown + "'");
    ++i_;
    while (i_ < s_.size() && (static_cast<unsigned char>(s_[i_]) & 0xC0) == 0x80) ++i_;
  }

  static std::string Hex(unsigned char c) {
    const char* digits = "0123456789ABCDEF";
    return std::string{digits[c >> 4], digits[c & 15]};
  }

  std::string_view s_;
  const OutputLine& line_;
  const std::string& file_;
  TokenList* out_;
  Diagnostics* diagnostics_;
  size_t i_ = 0;
};

}  // namespace

void TokenList::push_back(const Token& t) {
  if ((size_ & (kChunk - 1)) == 0) chunks_.push_back(std::make_unique<Token[]>(kChunk));
  chunks_.back()[size_ & (kChunk - 1)] = t;
  ++size_;
}

TokenList Tokenize(const PreprocessOutput& source, Diagnostics* diagnostics) {
  TokenList tokens;
  for (const OutputLine& line : source.lines) {
    if (line.text.empty()) continue;
    LineLexer(line, source.files[line.file], &tokens, diagnostics).Run();
  }
  Token end;
  end.kind = TokenKind::kEnd;
  if (!source.lines.empty()) {
    end.file = source.lines.back().file;
    end.line = source.lines.back().line;
  }
  tokens.push_back(end);
  return tokens;
}

}  // namespace zarnl
