// The keywords of the device-description language the compiler knows: those it
// reads and those it knows to skip. A word outside them earns a warning.
#ifndef ZARN_LIBS_COMPILER_VOCABULARY_H_
#define ZARN_LIBS_COMPILER_VOCABULARY_H_

#include <string>
#include <string_view>

namespace zarnl {

// Definition keywords whose definitions are skipped whole (MENU, METHOD, ...).
bool IsSkippedDefinition(std::string_view keyword);
// Attribute keywords of any definition the compiler reads, whether it uses them
// or skips them (LABEL, VALIDITY, MIN_VALUE2, ...).
bool IsKnownAttribute(std::string_view name);
// Type names after TYPE (INTEGER, ENUMERATED, ...).
bool IsTypeName(std::string_view name);

enum class WordKind { kDefinition, kAttribute, kType };
// " (did you mean X?)" when a known word of that kind is close to `word`, else "".
std::string Suggestion(std::string_view word, WordKind kind);

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_VOCABULARY_H_
