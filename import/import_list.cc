// Component lines, list-file paths and selections.
#include "import/import_list.h"

#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {
namespace {

std::string Utf8(const char16_t* s) { return s != nullptr ? ToUtf8(s) : std::string(); }

}  // namespace

std::string ComponentLine(const ComponentXMLInfo& record) {
  std::string text;
  for (const ComponentXMLLevel* level = record.hierarchy; level != nullptr; level = level->next) {
    text.insert(0, Utf8(level->elementName) + ":\"" + Utf8(level->value) + "\"");
    if (level->next != nullptr) text.insert(0, ",");
  }
  return text + ",Label:\"" + Utf8(record.label) + "\",Help:\"" + Utf8(record.help) + "\"";
}

std::string ImportListFilePath(const std::string& base_directory, const std::string& source) {
  const PathParts parts = SplitPath(source);
  std::vector<std::string> kept;
  for (const std::string& part : Split(parts.directory, "/")) {
    if (!part.empty() && part != "." && part != "..") kept.push_back(part);
  }
  return JoinPath(base_directory, Join(kept, "_") + "_" + parts.name + ".cat");
}

std::vector<std::string> SplitSelection(std::string_view selection) {
  std::vector<std::string> lines;
  std::string current;
  bool quoted = false;
  for (size_t i = 0; i < selection.size(); ++i) {
    const char c = selection[i];
    if (c == '"' && (i == 0 || selection[i - 1] != '\\')) quoted = !quoted;
    if (c == ';' && !quoted) {
      if (!current.empty()) lines.push_back(current);
      current.clear();
      continue;
    }
    current += c;
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

}  // namespace zarn
