#include "platform/strings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace zarn {
namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

// Decodes one UTF-8 sequence at s[i]; advances i. Invalid input gives U+FFFD.
char32_t DecodeUtf8(std::string_view s, size_t& i) {
  const auto b0 = static_cast<unsigned char>(s[i++]);
  if (b0 < 0x80) return b0;
  int extra = 0;
  char32_t c = 0;
  if ((b0 & 0xE0) == 0xC0) {
    extra = 1;
    c = b0 & 0x1F;
  } else if ((b0 & 0xF0) == 0xE0) {
    extra = 2;
    c = b0 & 0x0F;
  } else if ((b0 & 0xF8) == 0xF0) {
    extra = 3;
    c = b0 & 0x07;
  } else {
    return 0xFFFD;
  }
  for (int k = 0; k < extra; ++k) {
    if (i >= s.size()) return 0xFFFD;
    const auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return 0xFFFD;
    c = (c << 6) | (b & 0x3F);
    ++i;
  }
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0xFFFD;
  return c;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace

std::string ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::string ToUtf8(const char16_t* s) { return s == nullptr ? std::string() : ToUtf8(std::u16string_view(s)); }

std::u16string ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) AppendUtf16(out, DecodeUtf8(s, i));
  return out;
}

std::string Latin1ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size() + s.size() / 8);
  for (const char ch : s) AppendUtf8(out, static_cast<unsigned char>(ch));
  return out;
}

char16_t* NewHostString(std::string_view utf8, size_t extra_room) {
  try {
    const std::u16string text = ToUtf16(utf8);
    auto* out = static_cast<char16_t*>(std::malloc((text.size() + extra_room + 1) * sizeof(char16_t)));
    if (out == nullptr) return nullptr;
    std::memcpy(out, text.data(), text.size() * sizeof(char16_t));
    out[text.size()] = u'\0';
    return out;
  } catch (...) {
    return nullptr;
  }
}

BSTR MakeBstr(std::string_view s) {
  const std::u16string w = ToUtf16(s);
  return SysAllocStringLen(w.data(), static_cast<uint32_t>(w.size()));
}

void SetVariantString(VARIANT* v, std::string_view s) {
  v->vt = VT_BSTR;
  v->bstrVal = MakeBstr(s);
}

std::string VariantString(const VARIANT& v) {
  if (v.vt != VT_BSTR || v.bstrVal == nullptr) return std::string();
  return ToUtf8(std::u16string_view(v.bstrVal, SysStringLen(v.bstrVal)));
}

std::string ToUpper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

std::string ToLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

size_t FindNoCase(std::string_view s, std::string_view needle) {
  if (needle.size() > s.size()) return std::string_view::npos;
  for (size_t i = 0; i + needle.size() <= s.size(); ++i) {
    if (EqualsNoCase(s.substr(i, needle.size()), needle)) return i;
  }
  return std::string_view::npos;
}

std::string TrimChars(std::string_view s, std::string_view chars) {
  return TrimRightChars(TrimLeftChars(s, chars), chars);
}

std::string TrimLeftChars(std::string_view s, std::string_view chars) {
  const size_t b = s.find_first_not_of(chars);
  return b == std::string_view::npos ? std::string() : std::string(s.substr(b));
}

std::string TrimRightChars(std::string_view s, std::string_view chars) {
  const size_t e = s.find_last_not_of(chars);
  return e == std::string_view::npos ? std::string() : std::string(s.substr(0, e + 1));
}

std::string Trim(std::string_view s) { return TrimChars(s, " \t\r\n\v\f"); }

std::vector<std::string> Split(std::string_view s, std::string_view separators) {
  std::vector<std::string> out;
  size_t start = 0;
  while (true) {
    const size_t pos = s.find_first_of(separators, start);
    out.emplace_back(s.substr(start, pos == std::string_view::npos ? std::string_view::npos : pos - start));
    if (pos == std::string_view::npos) break;
    start = pos + 1;
  }
  return out;
}

std::string Join(const std::vector<std::string>& parts, std::string_view separator) {
  std::string out;
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += separator;
    out += parts[i];
  }
  return out;
}

std::string FormatHex4(uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%04x", value);
  return buf;
}

}  // namespace zarn
