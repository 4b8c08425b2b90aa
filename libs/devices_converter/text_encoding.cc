#include "libs/devices_converter/text_encoding.h"

#include <cstdint>

#include "platform/strings.h"

namespace zarn::converters {
namespace {

// Length of the UTF-8 sequence at text[i] and its code point; 0 when malformed.
size_t DecodeOne(std::string_view text, size_t i, uint32_t* cp) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = b(i);
  size_t len = 0;
  uint32_t min = 0;
  if (c < 0x80) {
    *cp = c;
    return 1;
  } else if ((c & 0xE0) == 0xC0) {
    len = 2, *cp = c & 0x1F, min = 0x80;
  } else if ((c & 0xF0) == 0xE0) {
    len = 3, *cp = c & 0x0F, min = 0x800;
  } else if ((c & 0xF8) == 0xF0) {
    len = 4, *cp = c & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > text.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    if ((b(i + k) & 0xC0) != 0x80) return 0;
    *cp = (*cp << 6) | (b(i + k) & 0x3F);
  }
  if (*cp < min || *cp > 0x10FFFF || (*cp >= 0xD800 && *cp <= 0xDFFF)) return 0;
  return len;
}

bool AllowedInXml(uint32_t cp) {
  if (cp < 0x20) return cp == 0x9 || cp == 0xA || cp == 0xD;
  return cp != 0xFFFE && cp != 0xFFFF;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  uint32_t cp = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t len = DecodeOne(text, i, &cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

std::string DecodeLegacyText(std::string_view text) {
  // A UTF-8 byte order mark says how the rest is encoded; it is not text.
  constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
  if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) text.remove_prefix(kUtf8Bom.size());
  return IsValidUtf8(text) ? std::string(text) : Latin1ToUtf8(text);
}

std::string XmlSafeText(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  uint32_t cp = 0;
  for (size_t i = 0; i < text.size();) {
    const size_t len = DecodeOne(text, i, &cp);
    if (len == 0) {
      ++i;
      continue;
    }
    if (AllowedInXml(cp)) out.append(text.substr(i, len));
    i += len;
  }
  return out;
}

std::string IdentifierFrom(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    const bool keep = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    out += keep ? c : '_';
  }
  return out.empty() ? "_" : out;
}

}  // namespace zarn::converters
