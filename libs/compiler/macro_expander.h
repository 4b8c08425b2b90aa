// Macro definitions and their expansion (object-like and function-like macros,
// "#" stringizing, "##" pasting, variadic "..." with __VA_ARGS__).
#ifndef ZARN_LIBS_COMPILER_MACRO_EXPANDER_H_
#define ZARN_LIBS_COMPILER_MACRO_EXPANDER_H_

#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "libs/compiler/pp_token.h"

namespace zarnl {

struct Macro {
  bool function_like = false;
  bool variadic = false;  // last parameter is "..." (named __VA_ARGS__)
  std::vector<std::string> params;
  PpTokens body;
  // A fault of the body that matters only where the macro is used: "#" before
  // something that is no parameter. Reported at each expansion, not at #define,
  // since headers commonly carry such macros that nothing expands.
  std::string expansion_error;
};

using MacroTable = std::unordered_map<std::string, Macro>;

// Parses the part of a #define line after "define". Returns false (with *error)
// when it is malformed.
bool ParseMacroDefinition(const PpTokens& tokens, std::string* name, Macro* macro, std::string* error);

class MacroExpander {
 public:
  // Supplies the tokens of the next line when a macro's argument list runs past the
  // end of the input; returns false when there is no further line.
  using MoreTokens = std::function<bool(PpTokens*)>;
  using ErrorSink = std::function<void(const std::string&)>;

  MacroExpander(const MacroTable& macros, ErrorSink error) : macros_(macros), error_(std::move(error)) {}

  // Returns `input` with every macro invocation replaced, rescanned until no
  // further expansion applies. `more` may be empty.
  PpTokens Expand(PpTokens input, const MoreTokens& more);
  // True when some identifier of `input` names a macro.
  bool NeedsExpansion(const PpTokens& input) const;

 private:
  // The largest number of tokens one line may expand to (argument tokens collected
  // on the way count too).
  static constexpr size_t kTokenBudget = 1000000;
  // The deepest nesting of macro invocations inside macro arguments.
  static constexpr int kMaxArgumentDepth = 32;

  void Run(const MoreTokens& more, PpTokens* out);
  bool IsActive(const std::string& name) const;
  void PopMarker(const PpToken& marker);
  // Index (in pending_) of the next token that is not an end-of-macro marker,
  // fetching further lines when needed; -1 when there is none.
  long NextRealToken(const MoreTokens& more);
  bool CollectArguments(const std::string& name, const Macro& m, const MoreTokens& more, std::vector<PpTokens>* args);
  PpTokens Substitute(const Macro& m, const std::vector<PpTokens>& args);
  PpTokens ExpandArgument(const PpTokens& arg);
  void Paste(PpTokens* tokens);
  bool OverBudget(size_t add);

  const MacroTable& macros_;
  ErrorSink error_;
  PpTokens pending_;                 // reversed: the next token is at the back
  std::vector<std::string> active_;  // macros whose expansion is being rescanned
  size_t produced_ = 0;
  bool budget_reported_ = false;
  size_t* budget_ = &produced_;  // shared with nested argument expansions
  int argument_depth_ = 0;
};

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_MACRO_EXPANDER_H_
