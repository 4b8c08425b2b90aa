#include "libs/compiler/text_literal.h"

namespace zarnl {
namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// Length of a language mark "|xx|" or "|xx-YY|" at s[i], or 0.
size_t MarkLength(const std::string& s, size_t i) {
  if (s[i] != '|') return 0;
  size_t j = i + 1;
  size_t letters = 0;
  while (j < s.size() && IsAlpha(s[j]) && letters < 3) ++j, ++letters;
  if (letters < 2) return 0;
  if (j < s.size() && (s[j] == '-' || s[j] == '_')) {
    size_t k = j + 1;
    while (k < s.size() && (IsAlpha(s[k]) || (s[k] >= '0' && s[k] <= '9')) && k - j <= 4) ++k;
    if (k - j < 3) return 0;
    j = k;
  }
  return j < s.size() && s[j] == '|' ? j + 1 - i : 0;
}

}  // namespace

std::string DecodeStringLiteral(std::string_view literal) {
  if (literal.size() >= 2 && literal.front() == '"' && literal.back() == '"') {
    literal = literal.substr(1, literal.size() - 2);
  }
  std::string out;
  out.reserve(literal.size());
  for (size_t i = 0; i < literal.size(); ++i) {
    if (literal[i] != '\\' || i + 1 >= literal.size()) {
      out += literal[i];
      continue;
    }
    const char c = literal[++i];
    switch (c) {
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case 'a':
        out += '\a';
        break;
      case 'b':
        out += '\b';
        break;
      case 'f':
        out += '\f';
        break;
      case 'v':
        out += '\v';
        break;
      case 'x': {
        int value = 0, digits = 0;
        while (i + 1 < literal.size() && digits < 2 && HexValue(literal[i + 1]) >= 0) {
          value = value * 16 + HexValue(literal[++i]);
          ++digits;
        }
        if (digits == 0)
          out += 'x';
        else
          out += static_cast<char>(value);
        break;
      }
      default:
        if (c >= '0' && c <= '7') {
          int value = c - '0', digits = 1;
          while (i + 1 < literal.size() && digits < 3 && literal[i + 1] >= '0' && literal[i + 1] <= '7') {
            value = value * 8 + (literal[++i] - '0');
            ++digits;
          }
          out += static_cast<char>(value & 0xFF);
        } else {
          out += c;  // \\ \" \' \? and anything else
        }
    }
  }
  return out;
}

std::vector<LanguageText> SplitLanguages(const std::string& text) {
  std::vector<LanguageText> parts;
  std::string unmarked;
  bool has_unmarked = false;
  size_t i = 0;
  std::string* current = &unmarked;
  while (i < text.size()) {
    const size_t mark = MarkLength(text, i);
    if (mark == 0) {
      *current += text[i++];
      continue;
    }
    std::string lang = text.substr(i + 1, mark - 2);
    for (size_t k = 0; k < lang.size() && IsAlpha(lang[k]); ++k) lang[k] = static_cast<char>(lang[k] | 0x20);
    parts.push_back(LanguageText{lang, std::string()});
    current = &parts.back().text;
    i += mark;
  }
  has_unmarked = !unmarked.empty() || parts.empty();
  std::vector<LanguageText> result;
  size_t default_index = parts.size();
  if (has_unmarked) {
    result.push_back(LanguageText{"", unmarked});
  } else {
    default_index = 0;
    for (size_t k = 0; k < parts.size(); ++k) {
      if (parts[k].lang == "en") {
        default_index = k;
        break;
      }
    }
    result.push_back(LanguageText{"", parts[default_index].text});
  }
  for (size_t k = 0; k < parts.size(); ++k) {
    if (k == default_index) continue;
    bool seen = false;
    for (const LanguageText& r : result) seen = seen || r.lang == parts[k].lang;
    if (!seen) result.push_back(parts[k]);
  }
  return result;
}

}  // namespace zarnl
