// The list file: escaped lines, a header and an end line with the entry count.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "import/import_list.h"

namespace zarn {
namespace {

constexpr std::string_view kHeader = "zarn-import-list 1";
constexpr std::string_view kEnd = "end ";

std::string Escape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '\\')
      out += "\\\\";
    else if (c == '\t')
      out += "\\t";
    else if (c == '\n')
      out += "\\n";
    else if (c == '\r')
      out += "\\r";
    else if (u < 0x20 || u == 0x7f) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02x", u);
      out += hex;
    } else {
      out += c;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool Unescape(std::string_view text, std::string* out) {
  out->clear();
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (c != '\\') {
      *out += c;
      continue;
    }
    if (++i >= text.size()) return false;
    switch (text[i]) {
      case '\\':
        *out += '\\';
        break;
      case 't':
        *out += '\t';
        break;
      case 'n':
        *out += '\n';
        break;
      case 'r':
        *out += '\r';
        break;
      case 'x': {
        if (i + 2 >= text.size()) return false;
        const int hi = HexDigit(text[i + 1]);
        const int lo = HexDigit(text[i + 2]);
        if (hi < 0 || lo < 0) return false;
        *out += static_cast<char>(hi * 16 + lo);
        i += 2;
        break;
      }
      default:
        return false;
    }
  }
  return true;
}

bool ParseEntry(std::string_view line, ImportListMap* map) {
  const size_t tab = line.find('\t');
  if (tab == std::string_view::npos || line.find('\t', tab + 1) != std::string_view::npos) return false;
  std::string key;
  std::string value;
  if (!Unescape(line.substr(0, tab), &key) || !Unescape(line.substr(tab + 1), &value)) return false;
  (*map)[key] = value;
  return true;
}

}  // namespace

std::string SerializeImportList(const ImportListMap& map) {
  std::vector<std::pair<std::string, std::string>> entries(map.begin(), map.end());
  std::sort(entries.begin(), entries.end());
  std::string out = std::string(kHeader) + "\n";
  for (const auto& [line, file] : entries) out += Escape(line) + "\t" + Escape(file) + "\n";
  return out + std::string(kEnd) + std::to_string(entries.size()) + "\n";
}

bool ParseImportList(std::string_view text, ImportListMap* map) {
  map->clear();
  if (text.empty() || text.back() != '\n') return false;
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < text.size();) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  if (lines.size() < 2 || lines.front() != kHeader) return false;
  const std::string_view last = lines.back();
  if (last.substr(0, kEnd.size()) != kEnd || last.size() == kEnd.size()) return false;
  const std::string count(last.substr(kEnd.size()));
  if (count.find_first_not_of("0123456789") != std::string::npos || count.size() > 9) return false;
  if (static_cast<size_t>(std::stoul(count)) != lines.size() - 2) return false;
  for (size_t i = 1; i + 1 < lines.size(); ++i) {
    if (!ParseEntry(lines[i], map)) return false;
  }
  return map->size() == lines.size() - 2;
}

bool WriteImportList(const std::string& path, const ImportListMap& map) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << SerializeImportList(map);
  out.close();
  return static_cast<bool>(out);
}

bool ReadImportList(const std::string& path, ImportListMap* map) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream text;
  text << in.rdbuf();
  return !in.bad() && ParseImportList(text.str(), map);
}

}  // namespace zarn
