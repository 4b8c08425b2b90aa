#include "libs/compiler/pp_expression.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace zarnl {
namespace {

// Recursive descent over the token list; one precedence level per function.
class ExpressionParser {
 public:
  explicit ExpressionParser(const PpTokens& tokens) : t_(tokens) {}

  bool Parse(int64_t* value, std::string* error) {
    if (t_.empty()) {
      *error = "#if with no expression";
      return false;
    }
    *value = Conditional();
    if (error_.empty() && pos_ < t_.size()) Fail("unexpected '" + t_[pos_].text + "' in #if expression");
    *error = error_;
    return error_.empty();
  }

 private:
  static constexpr int kMaxDepth = 200;

  bool Is(const char* p) const { return pos_ < t_.size() && t_[pos_].kind == PpKind::kPunct && t_[pos_].text == p; }
  bool Accept(const char* p) {
    if (!Is(p)) return false;
    ++pos_;
    return true;
  }
  void Fail(const std::string& message) {
    if (error_.empty()) error_ = message;
    pos_ = t_.size();
  }

  int64_t Conditional() {
    if (++depth_ > kMaxDepth) {
      Fail("#if expression nested too deeply");
      return 0;
    }
    int64_t c = Binary(0);
    if (Accept("?")) {
      const int64_t a = Conditional();
      if (!Accept(":")) Fail("expected ':' in #if expression");
      const int64_t b = Conditional();
      c = c ? a : b;
    }
    --depth_;
    return c;
  }

  // Binary operators by precedence level, lowest first.
  int64_t Binary(int level) {
    static const char* const kLevels[][4] = {
        {"||"},       {"&&"},     {"|"},          {"^"}, {"&"}, {"==", "!="}, {"<", ">", "<=", ">="},
        {"<<", ">>"}, {"+", "-"}, {"*", "/", "%"}};
    if (level == 10) return Unary();
    int64_t left = Binary(level + 1);
    for (;;) {
      const char* op = nullptr;
      for (const char* candidate : kLevels[level]) {
        if (candidate != nullptr && Is(candidate)) op = candidate;
      }
      if (op == nullptr || !error_.empty()) return left;
      ++pos_;
      const int64_t right = Binary(level + 1);
      left = Apply(op, left, right);
    }
  }

  int64_t Apply(const std::string& op, int64_t a, int64_t b) {
    const uint64_t ua = static_cast<uint64_t>(a), ub = static_cast<uint64_t>(b);
    if (op == "||") return a || b;
    if (op == "&&") return a && b;
    if (op == "|") return a | b;
    if (op == "^") return a ^ b;
    if (op == "&") return a & b;
    if (op == "==") return a == b;
    if (op == "!=") return a != b;
    if (op == "<") return a < b;
    if (op == ">") return a > b;
    if (op == "<=") return a <= b;
    if (op == ">=") return a >= b;
    if (op == "<<") return static_cast<int64_t>(ua << (ub & 63));
    if (op == ">>") return a >> (ub & 63);
    if (op == "+") return static_cast<int64_t>(ua + ub);
    if (op == "-") return static_cast<int64_t>(ua - ub);
    if (op == "*") return static_cast<int64_t>(ua * ub);
    if (b == 0) {
      Fail("division by zero in #if expression");
      return 0;
    }
    if (a == INT64_MIN && b == -1) return op == "/" ? a : 0;
    return op == "/" ? a / b : a % b;
  }

  int64_t Unary() {
    if (++depth_ > kMaxDepth) {
      Fail("#if expression nested too deeply");
      return 0;
    }
    int64_t v;
    if (Accept("-")) {
      v = static_cast<int64_t>(0 - static_cast<uint64_t>(Unary()));
    } else if (Accept("+")) {
      v = Unary();
    } else if (Accept("!")) {
      v = !Unary();
    } else if (Accept("~")) {
      v = ~Unary();
    } else {
      v = Primary();
    }
    --depth_;
    return v;
  }

  int64_t Primary() {
    if (pos_ >= t_.size()) {
      Fail("missing operand in #if expression");
      return 0;
    }
    if (Accept("(")) {
      const int64_t v = Conditional();
      if (!Accept(")")) Fail("missing ')' in #if expression");
      return v;
    }
    const PpToken& t = t_[pos_++];
    if (t.kind == PpKind::kIdentifier) return 0;
    if (t.kind == PpKind::kNumber) return Number(t.text);
    if (t.kind == PpKind::kChar) return Char(t.text);
    Fail("unexpected '" + t.text + "' in #if expression");
    return 0;
  }

  int64_t Number(const std::string& text) {
    char* end = nullptr;
    errno = 0;
    const uint64_t v = std::strtoull(text.c_str(), &end, 0);
    std::string suffix(end);
    for (char& c : suffix) c = static_cast<char>(c | 0x20);
    if (end == text.c_str() || (suffix.find_first_not_of("ul") != std::string::npos)) {
      Fail("invalid integer '" + text + "' in #if expression");
    }
    return static_cast<int64_t>(v);
  }

  static int64_t Char(const std::string& text) {
    if (text.size() >= 4 && text[1] == '\\') {
      switch (text[2]) {
        case 'n':
          return '\n';
        case 't':
          return '\t';
        case '0':
          return 0;
        default:
          return static_cast<unsigned char>(text[2]);
      }
    }
    return text.size() >= 3 ? static_cast<unsigned char>(text[1]) : 0;
  }

  const PpTokens& t_;
  size_t pos_ = 0;
  int depth_ = 0;
  std::string error_;
};

}  // namespace

bool EvaluateCondition(const PpTokens& tokens, int64_t* value, std::string* error) {
  ExpressionParser parser(tokens);
  return parser.Parse(value, error);
}

}  // namespace zarnl
