#include "libs/om/settings_file.h"

#include <cstdlib>
#include <vector>

#include "platform/strings.h"

namespace zarn::om {
namespace {

struct Line {
  std::string text;
  std::string name;  // "" for comments and lines without '='
  std::string value;
};

std::vector<Line> SplitLines(std::string_view text) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    Line line;
    line.text = std::string(TrimRightChars(text.substr(start, end - start), "\r"));
    const std::string trimmed = Trim(line.text);
    const size_t eq = trimmed.find('=');
    if (!trimmed.empty() && trimmed[0] != '#' && eq != std::string::npos) {
      line.name = Trim(std::string_view(trimmed).substr(0, eq));
      line.value = Trim(std::string_view(trimmed).substr(eq + 1));
    }
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

bool HasOuterBlank(std::string_view s) { return Trim(s).size() != s.size(); }

}  // namespace

std::string SettingsFilePath() {
  const char* path = std::getenv("ZARN_SETTINGS");
  return path != nullptr ? std::string(path) : std::string();
}

std::optional<std::string> FindSetting(std::string_view text, std::string_view name) {
  std::optional<std::string> found;
  for (const Line& line : SplitLines(text)) {
    if (!line.name.empty() && line.name == name) found = line.value;
  }
  return found;
}

std::string ReplaceSetting(std::string_view text, std::string_view name, std::string_view value) {
  std::string out;
  bool written = false;
  for (const Line& line : SplitLines(text)) {
    if (!line.name.empty() && line.name == name) {
      if (written) continue;
      out.append(name).append("=").append(value).append("\n");
      written = true;
    } else {
      out.append(line.text).append("\n");
    }
  }
  if (!written) out.append(name).append("=").append(value).append("\n");
  return out;
}

bool IsStorableName(std::string_view name) {
  return !name.empty() && name[0] != '#' && !HasOuterBlank(name) &&
         name.find_first_of(std::string_view("=\r\n\0", 4)) == std::string_view::npos;
}

bool IsStorableValue(std::string_view value) {
  return !HasOuterBlank(value) && value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

bool ParseByte(std::string_view text, unsigned char* out) {
  if (text.empty() || text.size() > 3) return false;
  unsigned number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<unsigned>(c - '0');
  }
  if (number > 255) return false;
  *out = static_cast<unsigned char>(number);
  return true;
}

}  // namespace zarn::om
