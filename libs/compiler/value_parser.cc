// Values of attributes: literals, references, expressions, conditionals.
#include <cerrno>
#include <cstdlib>

#include "libs/compiler/parser.h"
#include "libs/compiler/text_literal.h"
#include "libs/compiler/vocabulary.h"

namespace zarnl {
namespace {

bool IsValueEnd(const Token& t) {
  return t.kind == TokenKind::kEnd || t.IsPunct(";") || t.IsPunct(",") || t.IsPunct("}");
}

bool IsOpener(const Token& t) { return t.IsPunct("{") || t.IsPunct("(") || t.IsPunct("["); }
bool IsCloser(const Token& t) { return t.IsPunct("}") || t.IsPunct(")") || t.IsPunct("]"); }

// An operator or separator at the end of a line: the value goes on below.
bool ContinuesBelow(const Token& t) { return t.kind == TokenKind::kPunct && !IsCloser(t); }

std::string JoinTokens(const std::vector<Token>& tokens, const char* separator) {
  std::string text;
  for (const Token& t : tokens) {
    if (!text.empty()) text += separator;
    text += t.text;
  }
  return text;
}

}  // namespace

std::optional<int64_t> ParseIntegerLiteral(std::string_view literal) {
  std::string text(literal);
  while (!text.empty() && std::string("uUlL").find(text.back()) != std::string::npos) text.pop_back();
  if (text.empty()) return std::nullopt;
  for (int base : {0, 10}) {
    errno = 0;
    char* end = nullptr;
    const unsigned long long v = std::strtoull(text.c_str(), &end, base);
    if (errno == 0 && end != text.c_str() && *end == '\0' && v <= 0x7FFFFFFFFFFFFFFFull) {
      return static_cast<int64_t>(v);
    }
  }
  return std::nullopt;
}

bool Parser::MissingSemicolon(const Token& last, const std::string& attribute) {
  const Token& t = Peek();
  if (t.kind != TokenKind::kIdentifier || !IsKnownAttribute(t.text)) return false;
  if (t.file == last.file && t.line == last.line) return false;
  if (ContinuesBelow(last)) return false;
  Warning(last, "missing ';' after " + attribute);
  return true;
}

Value Parser::ParseValue(const std::string* attribute) {
  Value v;
  if (Peek().IsWord("IF") || Peek().IsWord("SELECT")) {
    v.conditioned = true;
    SkipConditional();
    return v;
  }
  int depth = 0;
  while (depth > 0 || !IsValueEnd(Peek())) {
    const Token& t = Peek();
    if (t.kind == TokenKind::kEnd) break;
    if (attribute != nullptr && depth == 0 && !v.tokens.empty() && MissingSemicolon(v.tokens.back(), *attribute)) {
      break;
    }
    if (IsOpener(t)) ++depth;
    if (IsCloser(t) && depth > 0) --depth;
    v.tokens.push_back(Next());
  }
  if (v.tokens.empty()) {
    Error(Peek(), "missing value before '" + std::string(Peek().text) + "'");
    return v;
  }
  v.elements = ValueElements(v.tokens);
  return v;
}

std::vector<XmlElement> Parser::StringElements(const std::vector<Token>& tokens) {
  std::string text;
  for (const Token& t : tokens) text += DecodeStringLiteral(t.text);
  std::vector<XmlElement> elements;
  for (LanguageText& part : SplitLanguages(text)) {
    XmlElement e("string", std::move(part.text));
    if (!part.lang.empty()) e.Set("lang", part.lang);
    elements.push_back(std::move(e));
  }
  return elements;
}

std::vector<XmlElement> Parser::ValueElements(const std::vector<Token>& t) {
  bool all_strings = !t.empty();
  for (const Token& token : t) all_strings = all_strings && token.kind == TokenKind::kString;
  if (all_strings) return StringElements(t);
  const bool signed_number = t.size() == 2 && (t[0].IsPunct("-") || t[0].IsPunct("+"));
  const Token* number = t.size() == 1 ? &t[0] : signed_number ? &t[1] : nullptr;
  const std::string sign = signed_number && t[0].IsPunct("-") ? "-" : "";
  if (number != nullptr && number->kind == TokenKind::kInteger) {
    if (auto v = ParseIntegerLiteral(number->text)) {
      return {XmlElement("integer", sign + std::to_string(*v))};
    }
  }
  if (number != nullptr && number->kind == TokenKind::kFloat) {
    return {XmlElement("float", sign + std::string(number->text))};
  }
  if (t.size() == 1 && t[0].kind == TokenKind::kIdentifier) {
    if (t[0].text == "TRUE" || t[0].text == "FALSE") {
      return {XmlElement("boolean", t[0].text == "TRUE" ? "true" : "false")};
    }
    return {XmlElement("reference").Set("ref", t[0].text)};
  }
  if (t.size() == 3 && t[0].IsPunct("[") && t[1].kind == TokenKind::kIdentifier && t[2].IsPunct("]")) {
    return {XmlElement("dictionary_ref").Set("ref", t[1].text)};
  }
  return {XmlElement("expression", JoinTokens(t, " "))};
}

std::string Parser::ValueText(const Value& value) {
  if (!value.elements.empty() && value.elements.front().name == "string") {
    return value.elements.front().text;
  }
  return JoinTokens(value.tokens, "");
}

std::string Parser::ReadReference() {
  // name ( "." name | "[" ... "]" )*
  if (Peek().kind != TokenKind::kIdentifier) return std::string();
  std::string ref(Next().text);
  for (;;) {
    if (Peek().IsPunct(".") && Peek(1).kind == TokenKind::kIdentifier) {
      ref += Next().text;
      ref += Next().text;
    } else if (Peek().IsPunct("[")) {
      const size_t start = pos_;
      SkipBalanced();
      for (size_t i = start; i < pos_; ++i) ref += tokens_[i].text;
    } else {
      return ref;
    }
  }
}

}  // namespace zarnl
