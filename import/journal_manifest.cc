#include "import/journal_manifest.h"

#include <cstdio>

namespace zarn {
namespace {

void AppendEscaped(std::string_view field, std::string* out) {
  for (char c : field) {
    if (c == '%' || c == '\t' || c == '\n' || c == '\r') {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", static_cast<unsigned char>(c));
      out->append(hex);
    } else {
      out->push_back(c);
    }
  }
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Unescaped(std::string_view field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '%' && i + 2 < field.size() && HexDigit(field[i + 1]) >= 0 && HexDigit(field[i + 2]) >= 0) {
      out.push_back(static_cast<char>(HexDigit(field[i + 1]) * 16 + HexDigit(field[i + 2])));
      i += 2;
    } else {
      out.push_back(field[i]);
    }
  }
  return out;
}

}  // namespace

std::string ManifestLine(char kind, const std::vector<std::string>& fields) {
  std::string line(1, kind);
  for (const std::string& f : fields) {
    line.push_back('\t');
    AppendEscaped(f, &line);
  }
  line.push_back('\n');
  return line;
}

std::vector<ManifestRecord> ParseManifest(std::string_view text) {
  std::vector<ManifestRecord> records;
  size_t start = 0;
  for (size_t end = text.find('\n'); end != std::string_view::npos; end = text.find('\n', start)) {
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (line.empty()) continue;
    ManifestRecord record;
    record.kind = line[0];
    for (size_t at = 1; at < line.size() && line[at] == '\t';) {
      const size_t next = line.find('\t', at + 1);
      const size_t stop = next == std::string_view::npos ? line.size() : next;
      record.fields.push_back(Unescaped(line.substr(at + 1, stop - at - 1)));
      at = stop;
    }
    records.push_back(std::move(record));
  }
  return records;
}

}  // namespace zarn
