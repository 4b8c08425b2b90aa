#include "conversion/source_identifier.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "external/compiler_library.h"
#include "external/unidata.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {
namespace {

constexpr std::string_view kCatalogMark = "/zarn_catalog";

// The directory at which the ancestor walk stops: everything before "/zarn_catalog"
// (found without regard to case) followed by "/zarn_catalog"; "" when the mark is
// absent or at the very start.
std::string StopDirectory(const std::string& directory) {
  const size_t at = FindNoCase(directory, kCatalogMark);
  if (at == std::string::npos || at == 0) return std::string();
  return directory.substr(0, at) + std::string(kCatalogMark);
}

// The directory without its last component; the root's child gives the root.
std::string WithoutLastComponent(const std::string& directory) {
  const size_t slash = directory.find_last_of(kPathSeparator);
  if (slash == 0) return std::string(kPathSeparatorString);
  return directory.substr(0, slash);
}

bool IsRegularFile(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec);
}

// The number that a hexadecimal text (with or without "0x") stands for.
unsigned long long ParseHex(const std::string& text) { return std::strtoull(text.c_str(), nullptr, 16); }

// Splits "left = right" at the first "=", both sides trimmed.
void SplitAssignment(const std::string& text, std::string* left, std::string* right) {
  const size_t eq = text.find('=');
  *left = Trim(text.substr(0, eq));
  *right = eq == std::string::npos ? std::string() : Trim(text.substr(eq + 1));
}

// Decimal text of a numeric manufacturer text; other texts unchanged.
std::string ManufacturerNumberKey(const std::string& manufacturer) {
  if (!IsNumberText(manufacturer)) return manufacturer;
  const bool hex = manufacturer.size() > 1 && (manufacturer[1] == 'x' || manufacturer[1] == 'X');
  return std::to_string(std::strtoll(manufacturer.c_str(), nullptr, hex ? 16 : 10));
}

// The key of the entry whose text is `name`, compared without regard to case.
bool FindTypeByName(const std::map<std::string, std::string>& table, const std::string& name, std::string* out) {
  for (const auto& [key, text] : table) {
    if (!EqualsNoCase(text, name)) continue;
    *out = "0x" + key;
    return true;
  }
  return false;
}

}  // namespace

std::string AncestorList(const std::string& directory) {
  const std::string stop = StopDirectory(directory);
  std::string list;
  std::string d = directory;
  while (!d.empty() && d.find(kPathSeparator) != std::string::npos && d != stop && d != kPathSeparatorString) {
    d = WithoutLastComponent(d);
    list += d + ";" + JoinPath(d, "_global") + ";";
  }
  return list;
}

std::string BuildIncludePath(const std::string& sourcePath, const std::string& extraIncludeDirs) {
  const size_t slash = sourcePath.find_last_of(kPathSeparator);
  const std::string directory = slash == std::string::npos ? std::string() : sourcePath.substr(0, slash);
  std::string path = ";" + directory + ";" + AncestorList(directory);
  for (const std::string& entry : Split(extraIncludeDirs, ";")) {
    if (!entry.empty()) path += ";" + AncestorList(entry);
  }
  return path;
}

SourceIdentifier::SourceIdentifier(const std::string& deviceConfigurationFile) {
  if (!deviceConfigurationFile.empty()) ReadDeviceConfiguration(deviceConfigurationFile);
}

void SourceIdentifier::ReadDeviceConfiguration(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.rfind("MANUFACTURER", 0) != 0) continue;
    std::string number;
    std::string name;
    SplitAssignment(Trim(TrimLeftChars(line, "MANUFACTURER")), &number, &name);
    manufacturerNames_[std::to_string(ParseHex(number))] = name;
    std::map<std::string, std::string> table;
    // The block ends at the first line without DEVICE_TYPE; that line is consumed.
    while (std::getline(in, line) && line.find("DEVICE_TYPE") != std::string::npos) {
      std::string type;
      std::string value;
      SplitAssignment(Trim(TrimLeftChars(Trim(line), "DEVICE_TYPE")), &type, &value);
      char key[32];
      std::snprintf(key, sizeof key, "%02llx", ParseHex(type));
      table[key] = value;
      deviceTypeTables_[name] = table;
    }
  }
}

bool SourceIdentifier::LookupDeviceType(const std::string& manufacturer, const std::string& deviceType,
                                        std::string* out) const {
  auto table = deviceTypeTables_.find(manufacturer);
  if (table == deviceTypeTables_.end()) {
    const auto name = manufacturerNames_.find(ManufacturerNumberKey(manufacturer));
    if (name == manufacturerNames_.end()) return false;
    table = deviceTypeTables_.find(name->second);
    if (table == deviceTypeTables_.end()) return false;
  }
  const auto entry = table->second.find(deviceType);
  if (entry == table->second.end()) return false;
  *out = entry->second;
  return true;
}

bool SourceIdentifier::LookupDeviceTypeNumber(const std::string& manufacturer, const std::string& name,
                                              std::string* out) const {
  auto table = deviceTypeTables_.find(manufacturer);
  if (table == deviceTypeTables_.end()) {
    const auto named = manufacturerNames_.find(ManufacturerNumberKey(manufacturer));
    if (named != manufacturerNames_.end()) table = deviceTypeTables_.find(named->second);
  }
  if (table != deviceTypeTables_.end() && FindTypeByName(table->second, name, out)) return true;
  for (const auto& entry : deviceTypeTables_) {
    if (FindTypeByName(entry.second, name, out)) return true;
  }
  return false;
}

void SourceIdentifier::NumberDeviceType(SourceIdentity* identity) const {
  if (identity->deviceType.empty() || IsNumberText(identity->deviceType)) return;
  LookupDeviceTypeNumber(identity->manufacturer, identity->deviceType, &identity->deviceType);
}

std::string SourceIdentifier::NormaliseDeviceType(const std::string& manufacturer, const std::string& value,
                                                  bool translateNames) const {
  if (CUniData(value).SetType(CUniData::kTypeNumber) == 0) return value;
  if (CUniData(value).SetType(CUniData::kTypeName) != 0) return std::string();
  if (!translateNames) return value;
  std::string translated;
  return LookupDeviceType(manufacturer, value, &translated) ? translated : std::string();
}

int32_t SourceIdentifier::IdentifySource(const std::string& sourcePath, std::string* manufacturer,
                                         std::string* deviceType, std::string* deviceRevision, std::string* ddRevision,
                                         const std::string& extraIncludeDirs, bool translateNames) const {
  if (!IsRegularFile(sourcePath)) return -1;
  std::string text;
  const int32_t preprocessed =
      CompilerLibrary::Instance().PreprocessToString(sourcePath, BuildIncludePath(sourcePath, extraIncludeDirs), &text);
  if (preprocessed != 0) return preprocessed;
  SourceIdentity identity;
  const int32_t result = ScanPreprocessedText(text, translateNames, &identity);
  *manufacturer = identity.manufacturer;
  *deviceType = identity.deviceType;
  *deviceRevision = identity.deviceRevision;
  *ddRevision = identity.ddRevision;
  return result;
}

}  // namespace zarn
