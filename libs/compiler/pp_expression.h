// Integer expressions of #if and #elif.
#ifndef ZARN_LIBS_COMPILER_PP_EXPRESSION_H_
#define ZARN_LIBS_COMPILER_PP_EXPRESSION_H_

#include <cstdint>
#include <string>

#include "libs/compiler/pp_token.h"

namespace zarnl {

// Evaluates a fully macro-expanded #if expression: integer literals (decimal,
// octal, hexadecimal, with u/l suffixes), character literals, the C operators
// ?: || && | ^ & == != < > <= >= << >> + - * / % ! ~ and parentheses. Any remaining
// identifier counts as 0. Returns false with *error when the expression is malformed
// or divides by zero.
bool EvaluateCondition(const PpTokens& tokens, int64_t* value, std::string* error);

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_PP_EXPRESSION_H_
