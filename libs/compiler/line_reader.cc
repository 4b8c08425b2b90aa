#include "libs/compiler/line_reader.h"

namespace zarnl {

bool LineReader::NextPhysical(std::string_view* out) {
  if (pos_ >= text_.size()) return false;
  size_t end = text_.find('\n', pos_);
  if (end == std::string_view::npos) end = text_.size();
  std::string_view line = text_.substr(pos_, end - pos_);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  pos_ = end + 1;
  ++line_;
  *out = line;
  return true;
}

bool LineReader::Next(LogicalLine* out) {
  std::string_view physical;
  if (!NextPhysical(&physical)) return false;
  out->line = line_;
  out->span = 1;
  out->text.clear();
  current_line_ = line_;
  std::string raw;
  bool joined = false;
  while (!physical.empty() && physical.back() == '\\') {
    raw.append(physical.substr(0, physical.size() - 1));
    joined = true;
    if (!NextPhysical(&physical)) {
      physical = std::string_view();
      break;
    }
    ++out->span;
  }
  if (joined) {
    raw.append(physical);
    StripComments(raw, &out->text);
  } else {
    StripComments(physical, &out->text);
  }
  return true;
}

void LineReader::StripComments(std::string_view raw, std::string* out) {
  out->reserve(raw.size());
  size_t i = 0;
  while (i < raw.size()) {
    if (in_comment_) {
      const size_t end = raw.find("*/", i);
      if (end == std::string_view::npos) return;
      in_comment_ = false;
      i = end + 2;
      *out += ' ';
      continue;
    }
    const char c = raw[i];
    if (c == '"' || c == '\'') {
      size_t j = i + 1;
      while (j < raw.size() && raw[j] != c) j += (raw[j] == '\\' && j + 1 < raw.size()) ? 2 : 1;
      j = j < raw.size() ? j + 1 : raw.size();
      out->append(raw.substr(i, j - i));
      i = j;
    } else if (c == '/' && i + 1 < raw.size() && raw[i + 1] == '/') {
      return;
    } else if (c == '/' && i + 1 < raw.size() && raw[i + 1] == '*') {
      in_comment_ = true;
      comment_line_ = current_line_;
      i += 2;
    } else {
      *out += c;
      ++i;
    }
  }
}

}  // namespace zarnl
