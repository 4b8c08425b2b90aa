#include "maintenance/file_area_names.h"

#include <array>
#include <cstdio>

namespace zarn {
namespace {

constexpr std::string_view kUnsafe = "/\\;:*?\"<>|";

bool IsHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f'); }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return c - 'a' + 10;
}

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Whether the part of `name` before its first dot is a reserved device name.
bool IsReservedStem(std::string_view name) {
  const std::string_view stem = name.substr(0, name.find('.'));
  std::string up;
  for (char c : stem) up.push_back(Upper(c));
  for (std::string_view word : {"CON", "PRN", "AUX", "NUL"}) {
    if (up == word) return true;
  }
  return up.size() == 4 && (up.compare(0, 3, "COM") == 0 || up.compare(0, 3, "LPT") == 0) && up[3] >= '0' &&
         up[3] <= '9';
}

void AppendEscape(char c, std::string* out) {
  std::array<char, 4> hex{};
  std::snprintf(hex.data(), hex.size(), "%%%02X", static_cast<unsigned char>(c));
  out->append(hex.data());
}

bool NeedsEscape(std::string_view name, size_t i) {
  const auto c = static_cast<unsigned char>(name[i]);
  if (c < 0x20 || c == 0x7F || kUnsafe.find(name[i]) != std::string_view::npos) return true;
  return name[i] == '%' && i + 2 < name.size() && IsHex(name[i + 1]) && IsHex(name[i + 2]);
}

}  // namespace

std::string FileAreaName(std::string_view name) {
  size_t end = name.size();
  while (end > 0 && (name[end - 1] == '.' || name[end - 1] == ' ')) --end;
  const size_t reserved_at = IsReservedStem(name) ? name.substr(0, name.find('.')).size() - 1 : std::string::npos;
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    if (i >= end || i == reserved_at || NeedsEscape(name, i)) {
      AppendEscape(name[i], &out);
    } else {
      out.push_back(name[i]);
    }
  }
  return out;
}

std::string NameOfFileAreaDirectory(std::string_view directory_name) {
  std::string out;
  out.reserve(directory_name.size());
  for (size_t i = 0; i < directory_name.size(); ++i) {
    if (directory_name[i] == '%' && i + 2 < directory_name.size() && IsHex(directory_name[i + 1]) &&
        IsHex(directory_name[i + 2])) {
      out.push_back(static_cast<char>(HexValue(directory_name[i + 1]) * 16 + HexValue(directory_name[i + 2])));
      i += 2;
    } else {
      out.push_back(directory_name[i]);
    }
  }
  return out;
}

}  // namespace zarn
