// Text helpers: UTF-8 inside the library, UTF-16 at the boundary; ASCII case folding.
#ifndef ZARN_PLATFORM_STRINGS_H_
#define ZARN_PLATFORM_STRINGS_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "zarn/oleauto.h"

namespace zarn {

// Converts UTF-16 to UTF-8; unpaired surrogates become U+FFFD. NULL gives "".
std::string ToUtf8(const char16_t* s);
std::string ToUtf8(std::u16string_view s);
// Converts UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::u16string ToUtf16(std::string_view s);
// Each byte of ISO 8859-1 text as its character in UTF-8.
std::string Latin1ToUtf8(std::string_view s);

// A text handed to a host or a plug-in's caller: a UTF-16 copy of `utf8` on the C
// heap (malloc), NUL-terminated, with room for `extra_room` further characters before
// the terminator; null when an allocation fails. Released with std::free.
char16_t* NewHostString(std::string_view utf8, size_t extra_room = 0);

// Returns a new BSTR holding s (UTF-8 in).
BSTR MakeBstr(std::string_view s);
// Writes VT_BSTR and a new BSTR holding s into *v (previous contents not cleared).
void SetVariantString(VARIANT* v, std::string_view s);
// Returns the text of a VT_BSTR variant, "" for any other type.
std::string VariantString(const VARIANT& v);

// ASCII-only case folding and comparisons.
std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool EndsWithNoCase(std::string_view s, std::string_view suffix);
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
// Position of needle in s ignoring case, or npos.
size_t FindNoCase(std::string_view s, std::string_view needle);

// Trimming: white space, or any of the given characters.
std::string Trim(std::string_view s);
std::string TrimChars(std::string_view s, std::string_view chars);
std::string TrimRightChars(std::string_view s, std::string_view chars);
std::string TrimLeftChars(std::string_view s, std::string_view chars);

// Splits at any of the separator characters; empty tokens are kept.
std::vector<std::string> Split(std::string_view s, std::string_view separators);
std::string Join(const std::vector<std::string>& parts, std::string_view separator);

// "0x%04x" of a value.
std::string FormatHex4(uint32_t value);

}  // namespace zarn

#endif  // ZARN_PLATFORM_STRINGS_H_
