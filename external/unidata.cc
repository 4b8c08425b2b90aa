#include "external/unidata.h"

namespace zarn {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool AllOf(std::string_view s, bool (*pred)(char)) {
  if (s.empty()) return false;
  for (const char c : s) {
    if (!pred(c)) return false;
  }
  return true;
}

}  // namespace

bool IsNumberText(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    return AllOf(text.substr(2), IsHexDigit);
  }
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
  return AllOf(text, IsDigit);
}

bool IsNameText(std::string_view text) {
  if (text.empty() || !(IsLetter(text[0]) || text[0] == '_')) return false;
  for (const char c : text) {
    if (!(IsLetter(c) || IsDigit(c) || c == '_')) return false;
  }
  return true;
}

int32_t CUniData::SetType(uint16_t code) {
  bool ok = false;
  if (code == kTypeNumber)
    ok = IsNumberText(text_);
  else if (code == kTypeName)
    ok = IsNameText(text_);
  if (!ok) return -1;
  type_ = code;
  return 0;
}

}  // namespace zarn
