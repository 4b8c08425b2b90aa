#include "libs/iodd_converter/iodd_converter.h"

#include <algorithm>
#include <filesystem>

#include "libs/devices_converter/device_xml_writer.h"
#include "libs/devices_converter/file_input.h"
#include "libs/iodd_converter/iodd_device_xml.h"
#include "libs/iodd_converter/iodd_reader.h"
#include "libs/iodd_converter/zip_package.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn::converters {
namespace fs = std::filesystem;
namespace {

constexpr size_t kMaxXmlEntriesExamined = 16;
constexpr size_t kMaxDirectoryScan = 10000;

std::unique_ptr<xml::Document> LoadXml(const std::string& path, std::string* error) {
  std::string text;
  if (ReadFileLimited(path, kMaxInputFileSize, &text) != ReadStatus::kOk) {
    *error = path + ": cannot be read (missing or too large)";
    return nullptr;
  }
  auto doc = xml::Document::LoadText(text, error);
  if (!doc) *error = path + ": " + *error;
  return doc;
}

bool IsIoddText(const std::string& text) {
  std::string error;
  auto doc = xml::Document::LoadText(text, &error);
  return doc && !IoddVersionOf(*doc).empty();
}

bool ZipHoldsIodd(const std::string& path) {
  std::string error;
  auto package = ZipPackage::OpenFile(path, ZipLimits{}, &error);
  if (!package) return false;
  size_t examined = 0;
  for (size_t i = 0; i < package->EntryCount() && examined < kMaxXmlEntriesExamined; ++i) {
    const std::string name = package->EntryName(i);
    if (!IsSafeEntryName(name) || !EndsWithNoCase(name, ".xml")) continue;
    ++examined;
    std::string text;
    if (package->ReadEntry(i, &text, &error) && IsIoddText(text)) return true;
  }
  return false;
}

// Unpacks the package and returns the path of its IODD, or "" after a failure.
std::string UnpackIodd(const std::string& input, const std::string& output_directory, ConversionReport* report) {
  const std::string target = JoinPath(output_directory, FileNamePart(input) + ".content");
  std::error_code ec;
  if (IsPathInside(output_directory, target)) fs::remove_all(target, ec);
  std::string error;
  auto package = ZipPackage::OpenFile(input, ZipLimits{}, &error);
  if (!package) return report->Fail(kUnreadableSource, input + ": " + error), "";
  ExtractionResult result = ExtractZip(package.get(), target);
  if (!result.ok) return report->Fail(kUnreadableSource, input + ": " + result.error), "";
  for (const std::string& name : result.refused) report->Warn(input + ": entry not unpacked: " + name);
  std::sort(result.files.begin(), result.files.end());
  std::vector<std::string> found;
  for (const std::string& file : result.files) {
    std::string text;
    if (EndsWithNoCase(file, ".xml") && ReadFileLimited(file, kMaxInputFileSize, &text) == ReadStatus::kOk &&
        IsIoddText(text)) {
      found.push_back(file);
    }
  }
  if (found.empty()) return report->Fail(kUnreadableSource, input + ": the package holds no IODD"), "";
  if (found.size() > 1) report->Warn(input + ": several IODDs in the package, converted " + FileNamePart(found[0]));
  return found.front();
}

void ReadLanguageFiles(const std::string& iodd_path, IoddDevice* device, ConversionReport* report) {
  const std::string dir = WithoutTrailingSeparator(DirectoryOfFile(iodd_path));
  const std::string own = FileNamePart(iodd_path);
  std::error_code ec;
  size_t scanned = 0;
  std::vector<std::pair<std::string, std::string>> files;  // (path, tag)
  for (auto it = fs::directory_iterator(dir.empty() ? "." : dir, ec);
       !ec && it != fs::directory_iterator() && scanned < kMaxDirectoryScan; it.increment(ec), ++scanned) {
    const std::string tag = IoddLanguageFileTag(own, it->path().filename().string());
    if (!tag.empty()) files.emplace_back(it->path().string(), tag);
  }
  std::sort(files.begin(), files.end());
  for (const auto& [path, tag] : files) {
    std::string error;
    auto doc = LoadXml(path, &error);
    if (!doc) {
      report->Warn("language file not used: " + error);
      continue;
    }
    ReadIoddTexts(*doc, tag, &device->texts);
  }
}

// A picture the IODD names but its maker did not ship is left out of the component,
// so that the catalog names no file it does not have.
void CheckImages(const std::string& iodd_path, IoddDevice* device, ConversionReport* report) {
  const std::string dir = DirectoryOfFile(iodd_path);
  for (IoddVariant& v : device->variants) {
    if (v.device_symbol.empty()) continue;
    std::error_code ec;
    if (!IsSafePathSegment(v.device_symbol) || !fs::is_regular_file(JoinPath(dir, v.device_symbol), ec)) {
      report->Warn(FileNamePart(iodd_path) + ": image " + v.device_symbol + " referenced but missing");
      v.device_symbol.clear();
    }
  }
}

// The files of a package's IODD (the IODD itself, its language files, the device
// pictures, icons and logo beside it) go beside the device XML, where the catalog
// takes the files of a converted component from: the component names the IODD and
// its pictures, and they must travel with it. Files already there stay.
void PlacePackageFilesBesideOutput(const std::string& iodd_path, const std::string& output_directory) {
  const std::string dir = WithoutTrailingSeparator(DirectoryOfFile(iodd_path));
  std::error_code ec;
  size_t scanned = 0;
  for (auto it = fs::directory_iterator(dir, ec); !ec && it != fs::directory_iterator() && scanned < kMaxDirectoryScan;
       it.increment(ec), ++scanned) {
    std::error_code file_ec;
    if (!it->is_regular_file(file_ec)) continue;
    const std::string name = it->path().filename().string();
    fs::copy_file(it->path(), JoinPath(output_directory, name), fs::copy_options::skip_existing, file_ec);
  }
}

}  // namespace

bool IsIoddInput(const std::string& path) {
  const std::string extension = SplitPath(path).extension;
  if (EqualsNoCase(extension, ".zip")) return ZipHoldsIodd(path);
  if (!EqualsNoCase(extension, ".xml")) return false;
  std::string text;
  return ReadFileLimited(path, kMaxInputFileSize, &text) == ReadStatus::kOk && IsIoddText(text);
}

void ConvertIodd(const std::string& input, const std::string& output_directory, const std::string& output_file,
                 ConversionReport* report) {
  std::string iodd_path = input;
  if (EqualsNoCase(SplitPath(input).extension, ".zip")) {
    iodd_path = UnpackIodd(input, output_directory, report);
    if (iodd_path.empty()) return;
  }
  std::string error;
  auto doc = LoadXml(iodd_path, &error);
  if (!doc) return report->Fail(kUnreadableSource, error);
  IoddDevice device;
  if (!ReadIodd(*doc, iodd_path, &device, report)) return;
  ReadLanguageFiles(iodd_path, &device, report);
  CheckImages(iodd_path, &device, report);
  if (iodd_path != input) PlacePackageFilesBesideOutput(iodd_path, output_directory);
  DeviceXmlWriter writer("zarn_iodd_converter");
  WriteIoddDeviceXml(device, FileNamePart(iodd_path), input, &writer, report);
  if (!writer.Save(output_file, &error)) report->Fail(kCannotWriteOutput, "cannot write " + output_file + ": " + error);
}

const ConverterDefinition& IoddConverter() {
  static const ConverterDefinition definition{"xml;zip", &IsIoddInput, &ConvertIodd};
  return definition;
}

}  // namespace zarn::converters
