// The scan of preprocessed source text for the four identification attributes.
#include <string_view>

#include "conversion/source_identifier.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// Removes "//" and "/* */" comments from one line. *inBlock carries a block comment
// that is still open from earlier lines.
std::string StripComments(std::string_view line, bool* inBlock) {
  std::string out;
  size_t i = 0;
  while (i < line.size()) {
    if (*inBlock) {
      const size_t end = line.find("*/", i);
      if (end == std::string_view::npos) return out;
      *inBlock = false;
      i = end + 2;
      continue;
    }
    const size_t line_comment = line.find("//", i);
    const size_t block = line.find("/*", i);
    if (line_comment != std::string_view::npos && (block == std::string_view::npos || line_comment < block)) {
      out.append(line.substr(i, line_comment - i));
      return out;
    }
    if (block == std::string_view::npos) {
      out.append(line.substr(i));
      return out;
    }
    out.append(line.substr(i, block - i));
    *inBlock = true;
    i = block + 2;
  }
  return out;
}

bool IsIdentifierChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The value after the first whole-word occurrence of `keyword` in `line`, up to the
// next "," or the end of the line, trimmed. Returns false when the keyword is absent.
bool FindKeywordValue(std::string_view line, std::string_view keyword, std::string* value) {
  for (size_t at = line.find(keyword); at != std::string_view::npos; at = line.find(keyword, at + 1)) {
    const size_t end = at + keyword.size();
    if (at > 0 && IsIdentifierChar(line[at - 1])) continue;
    if (end < line.size() && IsIdentifierChar(line[end])) continue;
    const size_t comma = line.find(',', end);
    *value = Trim(line.substr(end, comma == std::string_view::npos ? std::string_view::npos : comma - end));
    return true;
  }
  return false;
}

bool Complete(const SourceIdentity& id) {
  return !id.deviceType.empty() && !id.deviceRevision.empty() && !id.ddRevision.empty();
}

}  // namespace

int32_t SourceIdentifier::ScanPreprocessedText(const std::string& text, bool translateNames,
                                               SourceIdentity* identity) const {
  *identity = SourceIdentity();
  if (text.empty()) return -1;
  bool inBlock = false;
  std::string value;
  for (const std::string& raw : Split(text, "\n")) {
    if (raw.empty()) continue;
    const std::string line = Trim(StripComments(raw, &inBlock));
    if (FindKeywordValue(line, "MANUFACTURER", &value)) identity->manufacturer = value;
    if (FindKeywordValue(line, "DEVICE_TYPE", &value)) {
      identity->deviceType = NormaliseDeviceType(identity->manufacturer, value, translateNames);
    }
    if (FindKeywordValue(line, "DEVICE_REVISION", &value)) identity->deviceRevision = value;
    if (FindKeywordValue(line, "DD_REVISION", &value)) identity->ddRevision = value;
    if (Complete(*identity)) return 0;
  }
  return -1;
}

}  // namespace zarn
