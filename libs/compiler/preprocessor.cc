#include "libs/compiler/preprocessor.h"

#include <algorithm>
#include <optional>

#include "libs/compiler/line_reader.h"
#include "libs/compiler/pp_expression.h"
#include "libs/compiler/source_file.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarnl {
namespace {

struct Group {
  int line = 0;
  bool parent_active = true;  // the enclosing group is being read
  bool taken = false;         // some branch of this group was active
  bool active = false;        // the current branch is being read
  bool seen_else = false;
};

bool IsDirective(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\f\v");
  return first != std::string::npos && text[first] == '#';
}

bool IsPunct(const PpToken& t, const char* p) { return t.kind == PpKind::kPunct && t.text == p; }

PpToken NumberToken(bool value) {
  PpToken t;
  t.kind = PpKind::kNumber;
  t.text = value ? "1" : "0";
  t.space_before = true;
  return t;
}

std::string Unquote(const std::string& text) {
  if (text.size() >= 2 && text.back() == text.front()) return text.substr(1, text.size() - 2);
  return text.substr(1);
}

}  // namespace

class Preprocessor::FileState {
 public:
  FileState(std::string path, uint32_t index, int depth, std::string_view text)
      : path(std::move(path)), index(index), depth(depth), reader(text) {}

  bool Active() const { return groups.empty() || groups.back().active; }

  // Next logical line, taking a pushed-back line first.
  bool Next(LogicalLine* line) {
    if (pushed) {
      *line = std::move(*pushed);
      pushed.reset();
      return true;
    }
    return reader.Next(line);
  }

  std::string path;
  uint32_t index;
  int depth;
  LineReader reader;
  std::optional<LogicalLine> pushed;
  std::vector<Group> groups;
};

std::string PreprocessOutput::Text() const {
  size_t size = 0;
  for (const OutputLine& l : lines) size += l.text.size() + 1;
  std::string text;
  text.reserve(size);
  for (const OutputLine& l : lines) {
    text += l.text;
    text += '\n';
  }
  return text;
}

bool Preprocessor::Run(const std::string& path, PreprocessOutput* out) {
  out_ = out;
  out->files.assign(1, path);
  out->lines.clear();
  std::string text;
  if (!ReadSourceFile(path, &text)) {
    diagnostics_->Error(path, 0, "cannot read source file");
    return false;
  }
  FileState main(path, 0, 0, text);
  stack_.assign(1, zarn::NormalisePath(path));
  ProcessFile(&main);
  return true;
}

// The main source's directory and the include directories bound what "..." may reach.
bool Preprocessor::InsideSourceTree(const std::string& normal) const {
  if (zarn::IsPathInside(zarn::ParentDirectory(stack_.front()), normal)) return true;
  return std::any_of(include_dirs_.begin(), include_dirs_.end(),
                     [&](const std::string& dir) { return zarn::IsPathInside(dir, normal); });
}

void Preprocessor::Error(const FileState& f, int line, const std::string& message) {
  diagnostics_->Error(f.path, line, message);
}

void Preprocessor::ProcessFile(FileState* f) {
  LogicalLine ll;
  std::vector<LogicalLine> pulled;
  int line_for_errors = 0;
  MacroExpander::MoreTokens more = [&](PpTokens* tokens) {
    LogicalLine next;
    if (!f->Next(&next)) return false;
    if (IsDirective(next.text)) {
      f->pushed = std::move(next);
      return false;
    }
    *tokens = TokenizeLine(next.text);
    pulled.push_back(std::move(next));
    return true;
  };
  MacroExpander expanding(macros_, [&](const std::string& m) { Error(*f, line_for_errors, m); });
  while (f->Next(&ll)) {
    if (IsDirective(ll.text)) {
      out_->lines.push_back(OutputLine{std::string(), f->index, ll.line});
      Directive(f, ll.text, ll.line);
    } else if (!f->Active()) {
      out_->lines.push_back(OutputLine{std::string(), f->index, ll.line});
    } else {
      PpTokens tokens = TokenizeLine(ll.text);
      if (!expanding.NeedsExpansion(tokens)) {
        while (!ll.text.empty() && (ll.text.back() == ' ' || ll.text.back() == '\t')) ll.text.pop_back();
        out_->lines.push_back(OutputLine{std::move(ll.text), f->index, ll.line});
      } else {
        line_for_errors = ll.line;
        pulled.clear();
        PpTokens expanded = expanding.Expand(std::move(tokens), more);
        std::string text = ll.text.substr(0, ll.text.find_first_not_of(" \t"));
        AppendTokens(expanded, &text);
        out_->lines.push_back(OutputLine{std::move(text), f->index, ll.line});
        for (const LogicalLine& p : pulled) {
          for (int k = 0; k < p.span; ++k) out_->lines.push_back(OutputLine{std::string(), f->index, p.line + k});
        }
      }
    }
    for (int k = 1; k < ll.span; ++k) out_->lines.push_back(OutputLine{std::string(), f->index, ll.line + k});
  }
  for (auto it = f->groups.rbegin(); it != f->groups.rend(); ++it) Error(*f, it->line, "unterminated #if");
  if (f->reader.OpenCommentLine() != 0) Error(*f, f->reader.OpenCommentLine(), "unterminated comment");
}

void Preprocessor::Directive(FileState* f, const std::string& text, int line) {
  PpTokens tokens = TokenizeLine(text);
  if (tokens.size() < 2 || tokens[1].kind != PpKind::kIdentifier) {
    if (f->Active() && tokens.size() >= 2 && tokens[1].kind != PpKind::kNumber) {
      Error(*f, line, "invalid preprocessing directive");
    }
    return;
  }
  const std::string& name = tokens[1].text;
  if (name == "if" || name == "ifdef" || name == "ifndef" || name == "elif" || name == "else" || name == "endif") {
    Conditional(f, name, tokens, line);
    return;
  }
  if (!f->Active()) return;
  if (name == "include") {
    Include(f, tokens, text, line);
  } else if (name == "define") {
    std::string macro_name, error;
    Macro macro;
    PpTokens rest(tokens.begin() + 2, tokens.end());
    if (!ParseMacroDefinition(rest, &macro_name, &macro, &error)) {
      Error(*f, line, error);
    } else if (macro_name == "defined") {
      Error(*f, line, "\"defined\" cannot be used as a macro name");
    } else {
      macros_[macro_name] = std::move(macro);
    }
  } else if (name == "undef") {
    if (tokens.size() < 3 || tokens[2].kind != PpKind::kIdentifier) {
      Error(*f, line, "macro name missing in #undef");
    } else {
      macros_.erase(tokens[2].text);
    }
  } else if (name == "error") {
    const size_t at = text.find("error");
    Error(*f, line, "#error " + zarn::Trim(text.substr(at + 5)));
  } else if (name != "pragma" && name != "line" && name != "warning" && name != "ident") {
    Error(*f, line, "invalid preprocessing directive #" + name);
  }
}

void Preprocessor::Conditional(FileState* f, const std::string& name, const PpTokens& tokens, int line) {
  if (name == "if" || name == "ifdef" || name == "ifndef") {
    Group g;
    g.line = line;
    g.parent_active = f->Active();
    if (g.parent_active) {
      if (name == "if") {
        g.active = Condition(f, tokens, line);
      } else if (tokens.size() < 3 || tokens[2].kind != PpKind::kIdentifier) {
        Error(*f, line, "macro name missing in #" + name);
      } else {
        g.active = (macros_.count(tokens[2].text) != 0) == (name == "ifdef");
      }
    }
    g.taken = g.active;
    f->groups.push_back(g);
    return;
  }
  if (f->groups.empty()) {
    Error(*f, line, "#" + name + " without #if");
    return;
  }
  Group& g = f->groups.back();
  if (name == "endif") {
    f->groups.pop_back();
    return;
  }
  if (g.seen_else) {
    Error(*f, line, "#" + name + " after #else");
    g.active = false;
    return;
  }
  if (name == "else") {
    g.seen_else = true;
    g.active = g.parent_active && !g.taken;
  } else {  // elif
    g.active = g.parent_active && !g.taken && Condition(f, tokens, line);
  }
  g.taken = g.taken || g.active;
}

bool Preprocessor::Condition(FileState* f, const PpTokens& tokens, int line) {
  PpTokens expr;
  for (size_t i = 2; i < tokens.size(); ++i) {
    if (tokens[i].kind != PpKind::kIdentifier || tokens[i].text != "defined") {
      expr.push_back(tokens[i]);
      continue;
    }
    const bool paren = i + 1 < tokens.size() && IsPunct(tokens[i + 1], "(");
    const size_t at = paren ? i + 2 : i + 1;
    if (at >= tokens.size() || tokens[at].kind != PpKind::kIdentifier ||
        (paren && (at + 1 >= tokens.size() || !IsPunct(tokens[at + 1], ")")))) {
      Error(*f, line, "operator \"defined\" requires an identifier");
      return false;
    }
    expr.push_back(NumberToken(macros_.count(tokens[at].text) != 0));
    i = paren ? at + 1 : at;
  }
  MacroExpander expander(macros_, [&](const std::string& m) { Error(*f, line, m); });
  expr = expander.Expand(std::move(expr), MacroExpander::MoreTokens());
  int64_t value = 0;
  std::string error;
  if (!EvaluateCondition(expr, &value, &error)) {
    Error(*f, line, error);
    return false;
  }
  return value != 0;
}

void Preprocessor::Include(FileState* f, const PpTokens& tokens, const std::string& text, int line) {
  PpTokens rest(tokens.begin() + 2, tokens.end());
  std::string name;
  if (!rest.empty() && rest[0].kind == PpKind::kString) {
    name = Unquote(rest[0].text);
  } else if (!rest.empty() && IsPunct(rest[0], "<") && text.find('>') != std::string::npos) {
    const size_t open = text.find('<');
    name = text.substr(open + 1, text.find('>', open) - open - 1);
  } else {
    MacroExpander expander(macros_, [&](const std::string& m) { Error(*f, line, m); });
    rest = expander.Expand(std::move(rest), MacroExpander::MoreTokens());
    if (!rest.empty() && rest[0].kind == PpKind::kString) {
      name = Unquote(rest[0].text);
    } else if (rest.size() >= 2 && IsPunct(rest[0], "<") && IsPunct(rest.back(), ">")) {
      for (size_t i = 1; i + 1 < rest.size(); ++i) name += rest[i].text;
    }
  }
  if (zarn::Trim(name).empty()) {
    Error(*f, line, "#include expects \"FILE\" or <FILE>");
    return;
  }
  // A device description includes headers beside it or on its include path, never
  // a file named from the root of the file system.
  if (name[0] == '/' || name[0] == '\\' || (name.size() > 1 && name[1] == ':')) {
    Error(*f, line, "#include of an absolute path is not allowed: '" + name + "'");
    return;
  }
  const std::string found = FindInclude(name, zarn::ParentDirectory(f->path), include_dirs_);
  if (found.empty()) {
    Error(*f, line, "cannot find include file '" + name + "'");
    return;
  }
  const std::string normal = zarn::NormalisePath(found);
  if (!InsideSourceTree(normal)) {
    Error(*f, line, "#include leaves the source's directory and the include directories: '" + name + "'");
    return;
  }
  if (std::find(stack_.begin(), stack_.end(), normal) != stack_.end()) {
    Error(*f, line, "include cycle: '" + name + "' is already being included");
    return;
  }
  if (f->depth + 1 >= kMaxIncludeDepth || ++includes_ > kMaxIncludes) {
    Error(*f, line, "#include nested too deeply or too often");
    return;
  }
  if (included_bytes_ > kMaxIncludedBytes) {
    Error(*f, line, "#include brings in more than " + std::to_string(kMaxIncludedBytes >> 20) + " MB of text");
    return;
  }
  std::string content;
  if (!ReadSourceFile(found, &content)) {
    Error(*f, line, "cannot read include file '" + name + "'");
    return;
  }
  included_bytes_ += content.size();
  const uint32_t index = static_cast<uint32_t>(out_->files.size());
  out_->files.push_back(found);
  FileState child(found, index, f->depth + 1, content);
  stack_.push_back(normal);
  ProcessFile(&child);
  stack_.pop_back();
}

}  // namespace zarnl
