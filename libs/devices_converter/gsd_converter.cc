#include "libs/devices_converter/gsd_converter.h"

#include <algorithm>
#include <filesystem>

#include "libs/devices_converter/file_input.h"
#include "libs/devices_converter/gsd_reader.h"
#include "libs/devices_converter/text_encoding.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn::converters {
namespace fs = std::filesystem;
namespace {

// Rank of the extension letters; variants of lower rank yield to higher ones.
constexpr std::string_view kRankedLetters = "degfis";
constexpr size_t kHeadSize = 64u << 10;
constexpr size_t kMaxDirectoryScan = 100000;
constexpr size_t kMaxListedUnknown = 20;

size_t RankOf(std::string_view extension) {
  if (extension.size() != 4) return kRankedLetters.size();
  const size_t rank = kRankedLetters.find(ToLower(extension.substr(3))[0]);
  return rank == std::string_view::npos ? kRankedLetters.size() : rank;
}

bool IsGsdExtension(std::string_view extension) { return extension.size() == 4 && StartsWithNoCase(extension, ".gs"); }

bool StartsLikeGsdFile(const std::string& path) {
  std::string head;
  if (ReadFileLimited(path, kHeadSize, &head) == ReadStatus::kCannotOpen) return false;
  return !LooksBinary(head) && StartsLikeGsd(DecodeLegacyText(head));
}

std::string Located(const std::string& path, int line, const std::string& what) {
  return path + "(" + std::to_string(line) + "): " + what;
}

void WarnUnknownKeywords(const std::string& path, const GsdFile& file, ConversionReport* report) {
  if (file.unknown.empty()) return;
  std::string text = path + ": unknown keywords";
  for (size_t i = 0; i < file.unknown.size() && i < kMaxListedUnknown; ++i) {
    text += (i == 0 ? " " : ", ") + file.unknown[i].keyword + " (line " + std::to_string(file.unknown[i].line) + ")";
  }
  if (file.unknown.size() > kMaxListedUnknown)
    text += " and " + std::to_string(file.unknown.size() - kMaxListedUnknown) + " more";
  report->Warn(text);
}

// Reads and interprets a GSD file's bytes; false with *error on failure.
bool ReadStation(std::string_view raw, const std::string& path, GsdStation* station, GsdFile* file,
                 std::string* error) {
  GsdParseResult parsed = ParseGsd(DecodeLegacyText(raw));
  if (!parsed.ok) {
    *error = Located(path, parsed.error_line, parsed.error);
    return false;
  }
  int line = 0;
  std::string what;
  if (!InterpretGsd(parsed.file, station, &line, &what)) {
    *error = Located(path, line, what);
    return false;
  }
  *file = std::move(parsed.file);
  return true;
}

std::vector<GsdLanguageTexts> ReadVariants(const std::string& input, ConversionReport* report) {
  std::vector<GsdLanguageTexts> variants;
  const std::string own = GsdLanguageOfExtension(SplitPath(input).extension);
  for (const std::string& sibling : GsdLanguageSiblings(input)) {
    const std::string language = GsdLanguageOfExtension(SplitPath(sibling).extension);
    if (language.empty() || language == "?" || language == own) continue;
    std::string raw, error;
    GsdLanguageTexts texts{language, {}};
    GsdFile file;
    if (ReadFileLimited(sibling, kMaxInputFileSize, &raw) != ReadStatus::kOk ||
        !ReadStation(raw, sibling, &texts.station, &file, &error)) {
      report->Warn("language file not used: " + (error.empty() ? sibling : error));
      continue;
    }
    variants.push_back(std::move(texts));
  }
  return variants;
}

}  // namespace

std::string GsdLanguageOfExtension(std::string_view extension) {
  static constexpr std::string_view kLanguages[] = {"", "en", "de", "fr", "it", "es"};
  if (!IsGsdExtension(extension)) return "?";
  const size_t rank = RankOf(extension);
  return rank < kRankedLetters.size() ? std::string(kLanguages[rank]) : "?";
}

std::vector<std::string> GsdLanguageSiblings(const std::string& path) {
  std::vector<std::string> found;
  const PathParts parts = SplitPath(path);
  std::error_code ec;
  const std::string dir = parts.directory.empty() ? "." : parts.directory;
  size_t scanned = 0;
  for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator() && scanned < kMaxDirectoryScan;
       it.increment(ec), ++scanned) {
    const std::string name = it->path().filename().string();
    const PathParts other = SplitPath(name);
    if (!IsGsdExtension(other.extension) || !EqualsNoCase(other.name, parts.name)) continue;
    if (name == FileNamePart(path)) continue;
    found.push_back(JoinPath(dir, name));
  }
  std::sort(found.begin(), found.end(), [](const std::string& a, const std::string& b) {
    const size_t ra = RankOf(SplitPath(a).extension), rb = RankOf(SplitPath(b).extension);
    return ra != rb ? ra < rb : a < b;
  });
  return found;
}

bool IsConvertibleGsd(const std::string& path) {
  const std::string extension = SplitPath(path).extension;
  if (!IsGsdExtension(extension) || !StartsLikeGsdFile(path)) return false;
  const size_t own_rank = RankOf(extension);
  for (const std::string& sibling : GsdLanguageSiblings(path)) {
    if (RankOf(SplitPath(sibling).extension) < own_rank && StartsLikeGsdFile(sibling)) return false;
  }
  return true;
}

bool GsdTextToDeviceXml(std::string_view raw, const std::string& path, const std::vector<GsdLanguageTexts>& variants,
                        DeviceXmlWriter* writer, ConversionReport* report) {
  GsdStation station;
  GsdFile file;
  std::string error;
  if (!ReadStation(raw, path, &station, &file, &error)) {
    report->Fail(kUnreadableSource, error);
    return false;
  }
  WarnUnknownKeywords(path, file, report);
  WriteGsdDeviceXml(station, variants, FileNamePart(path), path, writer, report);
  return true;
}

void ConvertGsdFile(const std::string& input, const std::string& output_file, ConversionReport* report) {
  std::string raw;
  switch (ReadFileLimited(input, kMaxInputFileSize, &raw)) {
    case ReadStatus::kCannotOpen:
      return report->Fail(kUnreadableSource, input + ": cannot be read");
    case ReadStatus::kTooLarge:
      return report->Fail(kUnreadableSource, input + ": file too large");
    case ReadStatus::kOk:
      break;
  }
  if (LooksBinary(raw)) return report->Fail(kUnreadableSource, Located(input, 1, "binary data, not a GSD file"));
  DeviceXmlWriter writer("zarn_devices_converter");
  if (!GsdTextToDeviceXml(raw, input, ReadVariants(input, report), &writer, report)) return;
  std::string error;
  if (!writer.Save(output_file, &error)) report->Fail(kCannotWriteOutput, "cannot write " + output_file + ": " + error);
}

}  // namespace zarn::converters
