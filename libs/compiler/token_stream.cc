// Token navigation, skipping and block iteration of the parser.
#include "libs/compiler/parser.h"
#include "libs/compiler/vocabulary.h"

namespace zarnl {
namespace {

constexpr int kMaxNesting = 200;

const char* CloserOf(const Token& t) {
  if (t.kind != TokenKind::kPunct) return nullptr;
  if (t.text == "{") return "}";
  if (t.text == "(") return ")";
  if (t.text == "[") return "]";
  return nullptr;
}

bool IsCloser(const Token& t) { return t.IsPunct("}") || t.IsPunct(")") || t.IsPunct("]"); }

}  // namespace

const Token& Parser::Peek(size_t ahead) const {
  const size_t at = pos_ + ahead;
  return at < tokens_.size() ? tokens_[at] : tokens_.back();
}

const Token& Parser::Next() {
  const Token& t = Peek();
  if (pos_ + 1 < tokens_.size()) ++pos_;
  return t;
}

bool Parser::Accept(const char* punct) {
  if (!Peek().IsPunct(punct)) return false;
  Next();
  return true;
}

void Parser::Error(const Token& at, const std::string& message) {
  diagnostics_->Error(at.file < files_.size() ? files_[at.file] : std::string(), at.line, message);
}

void Parser::Warning(const Token& at, const std::string& message) {
  diagnostics_->Warning(at.file < files_.size() ? files_[at.file] : std::string(), at.line, message);
}

void Parser::SkipBalanced() {
  const Token& open = Next();
  std::vector<const char*> closers{CloserOf(open)};
  while (!closers.empty()) {
    const Token& t = Peek();
    if (t.kind == TokenKind::kEnd) {
      Error(open, std::string("missing '") + closers.front() + "' for '" + std::string(open.text) + "' opened here");
      return;
    }
    Next();
    if (const char* closer = CloserOf(t)) {
      closers.push_back(closer);
    } else if (IsCloser(t)) {
      // A closer of another kind than expected is taken as closing anyway, so that
      // one stray bracket cannot swallow the rest of the source.
      closers.pop_back();
    }
  }
}

void Parser::SkipStatement() {
  for (;;) {
    const Token& t = Peek();
    if (t.kind == TokenKind::kEnd || t.IsPunct("}")) return;
    if (t.IsPunct(";")) {
      Next();
      return;
    }
    if (t.IsPunct("{")) {
      SkipBalanced();
      return;
    }
    if (CloserOf(t) != nullptr) {
      SkipBalanced();
    } else {
      Next();
    }
  }
}

void Parser::SkipAttribute(const std::string& name) {
  if (!IsKnownAttribute(name)) {
    Warning(Peek(), "unknown attribute " + name + Suggestion(name, WordKind::kAttribute));
  }
  Next();
  if (Peek().IsWord("IF") || Peek().IsWord("SELECT")) {  // a conditional value, ELSE and all
    SkipConditional();
    Accept(";");
    return;
  }
  SkipStatement();
}

void Parser::SkipItem() {
  for (;;) {
    const Token& t = Peek();
    if (t.kind == TokenKind::kEnd || t.IsPunct("}") || t.IsPunct(";") || t.IsPunct(",")) return;
    if (CloserOf(t) != nullptr) {
      SkipBalanced();
    } else {
      Next();
    }
  }
}

void Parser::SkipConditional() {
  for (;;) {
    const bool is_if = Peek().IsWord("IF");
    Next();  // IF or SELECT
    if (Peek().IsPunct("(")) SkipBalanced();
    if (Peek().IsPunct("{")) {
      SkipBalanced();
    } else {
      SkipItem();
      Accept(";");
    }
    if (!is_if || !Peek().IsWord("ELSE")) return;
    Next();
    if (Peek().IsWord("IF") || Peek().IsWord("SELECT")) continue;
    if (Peek().IsPunct("{")) {
      SkipBalanced();
    } else {
      SkipItem();
      Accept(";");
    }
    return;
  }
}

void Parser::ParseBlock(const ItemHandler& item, bool conditioned, bool select_body) {
  const Token& open = Next();  // "{"
  if (++depth_ > kMaxNesting) {
    Error(open, "blocks nested too deeply");
    --pos_;
    SkipBalanced();
    --depth_;
    return;
  }
  for (;;) {
    const Token& t = Peek();
    if (t.kind == TokenKind::kEnd) {
      Error(open, "missing '}' for '{' opened here");
      break;
    }
    if (t.IsPunct("}")) {
      Next();
      break;
    }
    if (t.IsPunct(";") || t.IsPunct(",")) {
      Next();
    } else if (t.IsWord("IF")) {
      ParseIf(item);
    } else if (t.IsWord("SELECT")) {
      ParseSelect(item);
    } else if (select_body && t.IsWord("CASE")) {
      Next();
      while (!AtEnd() && !Peek().IsPunct(":") && !Peek().IsPunct("}")) {
        if (CloserOf(Peek()) != nullptr)
          SkipBalanced();
        else
          Next();
      }
      Accept(":");
    } else if (select_body && t.IsWord("DEFAULT")) {
      Next();
      Accept(":");
    } else {
      const size_t before = pos_;
      item(conditioned || select_body);
      if (pos_ == before) {
        Error(t, "unexpected '" + std::string(t.text) + "'");
        if (CloserOf(t) != nullptr)
          SkipBalanced();
        else
          Next();
      }
    }
  }
  --depth_;
}

void Parser::ParseBlockOrItem(const ItemHandler& item, bool conditioned) {
  if (Peek().IsPunct("{")) {
    ParseBlock(item, conditioned);
    return;
  }
  const size_t before = pos_;
  item(conditioned);
  if (pos_ == before) {
    Error(Peek(), "unexpected '" + std::string(Peek().text) + "'");
    SkipItem();
  }
}

void Parser::ParseIf(const ItemHandler& item) {
  for (;;) {
    const Token& keyword = Next();  // IF
    if (Peek().IsPunct("(")) {
      SkipBalanced();
    } else {
      Error(keyword, "expected '(' after IF");
    }
    ParseBlockOrItem(item, true);
    if (!Peek().IsWord("ELSE")) return;
    Next();
    if (Peek().IsWord("IF")) continue;
    if (Peek().IsWord("SELECT")) {
      ParseSelect(item);
    } else {
      ParseBlockOrItem(item, true);
    }
    return;
  }
}

void Parser::ParseSelect(const ItemHandler& item) {
  const Token& keyword = Next();  // SELECT
  if (Peek().IsPunct("(")) {
    SkipBalanced();
  } else {
    Error(keyword, "expected '(' after SELECT");
  }
  if (!Peek().IsPunct("{")) {
    Error(keyword, "expected '{' after SELECT (...)");
    SkipItem();
    return;
  }
  ParseBlock(item, true, true);
}

}  // namespace zarnl
