// The scan of preprocessed source text for the four identification attributes.
#include <string_view>

#include "conversion/source_identifier.h"
#include "conversion/source_includes.h"
#include "platform/strings.h"

namespace zarn {
namespace {

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
