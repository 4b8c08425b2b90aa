#include "libs/compiler/macro_expander.h"

#include <algorithm>

namespace zarnl {
namespace {

bool IsPunct(const PpToken& t, const char* text) { return t.kind == PpKind::kPunct && t.text == text; }

int ParamIndex(const Macro& m, const PpToken& t) {
  if (!m.function_like || t.kind != PpKind::kIdentifier) return -1;
  for (size_t i = 0; i < m.params.size(); ++i) {
    if (m.params[i] == t.text) return static_cast<int>(i);
  }
  return -1;
}

PpToken Placemarker() {
  PpToken t;
  t.kind = PpKind::kPlacemarker;
  return t;
}

PpToken Stringize(const PpTokens& arg) {
  std::string text = "\"";
  bool first = true;
  for (const PpToken& t : arg) {
    if (t.kind == PpKind::kPlacemarker || t.kind == PpKind::kEndOfMacro) continue;
    if (t.space_before && !first) text += ' ';
    first = false;
    const bool literal = t.kind == PpKind::kString || t.kind == PpKind::kChar;
    for (char c : t.text) {
      if (literal && (c == '"' || c == '\\')) text += '\\';
      text += c;
    }
  }
  text += '"';
  PpToken s;
  s.kind = PpKind::kString;
  s.text = std::move(text);
  return s;
}

bool ParseParams(const PpTokens& tokens, size_t* i, Macro* macro, std::string* error) {
  ++*i;  // "("
  bool expect_name = true;
  while (*i < tokens.size()) {
    const PpToken& t = tokens[(*i)++];
    if (IsPunct(t, ")") && (!expect_name || macro->params.empty())) return true;
    if (expect_name && t.kind == PpKind::kIdentifier && !macro->variadic) {
      macro->params.push_back(t.text);
    } else if (expect_name && IsPunct(t, "...")) {
      macro->params.push_back("__VA_ARGS__");
      macro->variadic = true;
    } else if (!expect_name && IsPunct(t, ",") && !macro->variadic) {
      expect_name = true;
      continue;
    } else {
      *error = "invalid macro parameter list";
      return false;
    }
    expect_name = false;
  }
  *error = "missing ')' in macro parameter list";
  return false;
}

bool CheckBody(Macro* macro, std::string* error) {
  const Macro& m = *macro;
  const PpTokens& b = m.body;
  if (!b.empty() && (IsPunct(b.front(), "##") || IsPunct(b.back(), "##"))) {
    *error = "'##' cannot appear at either end of a macro expansion";
    return false;
  }
  for (size_t i = 0; m.function_like && i < b.size(); ++i) {
    if (IsPunct(b[i], "#") && (i + 1 >= b.size() || ParamIndex(m, b[i + 1]) < 0)) {
      macro->expansion_error = "'#' is not followed by a macro parameter";
      break;
    }
  }
  return true;
}

}  // namespace

bool ParseMacroDefinition(const PpTokens& tokens, std::string* name, Macro* macro, std::string* error) {
  if (tokens.empty() || tokens[0].kind != PpKind::kIdentifier) {
    *error = "macro name missing in #define";
    return false;
  }
  *name = tokens[0].text;
  size_t i = 1;
  if (i < tokens.size() && IsPunct(tokens[i], "(") && !tokens[i].space_before) {
    macro->function_like = true;
    if (!ParseParams(tokens, &i, macro, error)) return false;
  }
  macro->body.assign(tokens.begin() + static_cast<long>(i), tokens.end());
  if (!macro->body.empty()) macro->body.front().space_before = false;
  return CheckBody(macro, error);
}

PpTokens MacroExpander::Expand(PpTokens input, const MoreTokens& more) {
  if (!NeedsExpansion(input)) return input;
  if (budget_ == &produced_) {  // a line of its own, not an argument
    produced_ = 0;
    budget_reported_ = false;
  }
  pending_.assign(std::make_move_iterator(input.rbegin()), std::make_move_iterator(input.rend()));
  PpTokens out;
  out.reserve(input.size());
  Run(more, &out);
  return out;
}

bool MacroExpander::NeedsExpansion(const PpTokens& input) const {
  if (macros_.empty()) return false;
  for (const PpToken& t : input) {
    if (t.kind == PpKind::kIdentifier && !t.no_expand && macros_.count(t.text) != 0) return true;
  }
  return false;
}

bool MacroExpander::IsActive(const std::string& name) const {
  return std::find(active_.begin(), active_.end(), name) != active_.end();
}

void MacroExpander::PopMarker(const PpToken& marker) {
  auto it = std::find(active_.rbegin(), active_.rend(), marker.text);
  if (it != active_.rend()) active_.erase(std::next(it).base());
}

bool MacroExpander::OverBudget(size_t add) {
  *budget_ += add;
  if (*budget_ <= kTokenBudget) return false;
  if (!budget_reported_) error_("macro expansion too large");
  budget_reported_ = true;
  return true;
}

long MacroExpander::NextRealToken(const MoreTokens& more) {
  for (;;) {
    for (long i = static_cast<long>(pending_.size()) - 1; i >= 0; --i) {
      if (pending_[static_cast<size_t>(i)].kind != PpKind::kEndOfMacro) return i;
    }
    PpTokens extra;
    if (!more || !more(&extra)) return -1;
    pending_.insert(pending_.begin(), std::make_move_iterator(extra.rbegin()), std::make_move_iterator(extra.rend()));
  }
}

void MacroExpander::Run(const MoreTokens& more, PpTokens* out) {
  while (!pending_.empty()) {
    PpToken t = std::move(pending_.back());
    pending_.pop_back();
    if (t.kind == PpKind::kEndOfMacro) {
      PopMarker(t);
      continue;
    }
    auto it = t.kind == PpKind::kIdentifier && !t.no_expand ? macros_.find(t.text) : macros_.end();
    if (it == macros_.end()) {
      out->push_back(std::move(t));
      continue;
    }
    if (IsActive(t.text)) {
      t.no_expand = true;
      out->push_back(std::move(t));
      continue;
    }
    const Macro& m = it->second;
    std::vector<PpTokens> args;
    if (m.function_like) {
      const long k = NextRealToken(more);
      if (k < 0 || !IsPunct(pending_[static_cast<size_t>(k)], "(")) {
        out->push_back(std::move(t));
        continue;
      }
      while (static_cast<long>(pending_.size()) > k + 1) {
        PopMarker(pending_.back());
        pending_.pop_back();
      }
      pending_.pop_back();  // "("
      if (!CollectArguments(t.text, m, more, &args)) continue;
    }
    if (!m.expansion_error.empty()) error_("macro '" + t.text + "': " + m.expansion_error);
    PpTokens rep = Substitute(m, args);
    if (OverBudget(rep.size() + 1)) {
      pending_.clear();
      active_.clear();
      return;
    }
    if (!rep.empty()) rep.front().space_before = t.space_before;
    active_.push_back(t.text);
    PpToken marker;
    marker.kind = PpKind::kEndOfMacro;
    marker.text = t.text;
    pending_.push_back(std::move(marker));
    pending_.insert(pending_.end(), std::make_move_iterator(rep.rbegin()), std::make_move_iterator(rep.rend()));
  }
}

bool MacroExpander::CollectArguments(const std::string& name, const Macro& m, const MoreTokens& more,
                                     std::vector<PpTokens>* args) {
  args->assign(1, PpTokens());
  int depth = 1;
  for (;;) {
    if (pending_.empty()) {
      PpTokens extra;
      if (!more || !more(&extra)) {
        error_("unterminated argument list invoking macro '" + name + "'");
        return false;
      }
      pending_.assign(std::make_move_iterator(extra.rbegin()), std::make_move_iterator(extra.rend()));
      continue;
    }
    PpToken t = std::move(pending_.back());
    pending_.pop_back();
    if (t.kind == PpKind::kEndOfMacro) {
      PopMarker(t);
      continue;
    }
    if (IsPunct(t, "(")) {
      ++depth;
    } else if (IsPunct(t, ")") && --depth == 0) {
      break;
    } else if (IsPunct(t, ",") && depth == 1 && !(m.variadic && args->size() == m.params.size())) {
      args->emplace_back();
      continue;
    }
    args->back().push_back(std::move(t));
  }
  size_t collected = 0;
  for (const PpTokens& arg : *args) collected += arg.size();
  if (OverBudget(collected)) {
    pending_.clear();
    return false;
  }
  const size_t n = m.params.size();
  if (n == 0 && args->size() == 1 && args->front().empty()) args->clear();
  if (m.variadic && args->size() + 1 == n) args->emplace_back();
  if (args->size() != n) {
    error_("macro '" + name + "' requires " + std::to_string(n) + " argument(s), but " + std::to_string(args->size()) +
           " given");
    return false;
  }
  return true;
}

PpTokens MacroExpander::ExpandArgument(const PpTokens& arg) {
  if (argument_depth_ >= kMaxArgumentDepth) {
    if (!budget_reported_) error_("macro invocations nested too deeply in arguments");
    budget_reported_ = true;
    return arg;
  }
  MacroExpander sub(macros_, error_);
  sub.argument_depth_ = argument_depth_ + 1;
  sub.active_ = active_;
  sub.budget_ = budget_;
  sub.budget_reported_ = budget_reported_;
  PpTokens result = sub.Expand(arg, MoreTokens());
  budget_reported_ = sub.budget_reported_;
  return result;
}

PpTokens MacroExpander::Substitute(const Macro& m, const std::vector<PpTokens>& args) {
  PpTokens out;
  std::vector<PpTokens> expanded(args.size());
  std::vector<bool> done(args.size(), false);
  const PpTokens& b = m.body;
  bool pastes = false;
  for (size_t i = 0; i < b.size(); ++i) {
    if (m.function_like && IsPunct(b[i], "#") && i + 1 < b.size() && ParamIndex(m, b[i + 1]) >= 0) {
      out.push_back(Stringize(args[static_cast<size_t>(ParamIndex(m, b[i + 1]))]));
      out.back().space_before = b[i].space_before;
      ++i;
      continue;
    }
    const int p = ParamIndex(m, b[i]);
    if (IsPunct(b[i], "##")) pastes = true;
    if (p < 0) {
      out.push_back(b[i]);
      continue;
    }
    const size_t pi = static_cast<size_t>(p);
    const bool raw = (i > 0 && IsPunct(b[i - 1], "##")) || (i + 1 < b.size() && IsPunct(b[i + 1], "##"));
    if (!raw && !done[pi]) {
      expanded[pi] = ExpandArgument(args[pi]);
      done[pi] = true;
    }
    const PpTokens& value = raw ? args[pi] : expanded[pi];
    const size_t start = out.size();
    if (value.empty()) {
      out.push_back(Placemarker());
    } else {
      out.insert(out.end(), value.begin(), value.end());
    }
    out[start].space_before = b[i].space_before;
  }
  if (pastes) Paste(&out);
  out.erase(std::remove_if(out.begin(), out.end(), [](const PpToken& t) { return t.kind == PpKind::kPlacemarker; }),
            out.end());
  return out;
}

void MacroExpander::Paste(PpTokens* tokens) {
  PpTokens out;
  for (size_t i = 0; i < tokens->size(); ++i) {
    PpToken& t = (*tokens)[i];
    if (!(IsPunct(t, "##") && !out.empty() && i + 1 < tokens->size())) {
      out.push_back(std::move(t));
      continue;
    }
    PpToken& right = (*tokens)[++i];
    PpToken& left = out.back();
    if (right.kind == PpKind::kPlacemarker) continue;
    if (left.kind == PpKind::kPlacemarker) {
      const bool space = left.space_before;
      left = std::move(right);
      left.space_before = space;
      continue;
    }
    PpTokens joined = TokenizeLine(left.text + right.text);
    if (joined.size() != 1) {
      error_("pasting \"" + left.text + "\" and \"" + right.text + "\" does not give a valid token");
    }
    if (joined.empty()) continue;
    joined.front().space_before = left.space_before;
    out.pop_back();
    out.insert(out.end(), joined.begin(), joined.end());
  }
  *tokens = std::move(out);
}

}  // namespace zarnl
