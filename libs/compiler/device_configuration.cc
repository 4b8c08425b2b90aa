#include "libs/compiler/device_configuration.h"

#include <cstdlib>
#include <sstream>

#include "platform/files.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarnl {
namespace {

// Removes from the start of `line` every character that occurs in `word`, then
// splits at the first "=" into a hexadecimal number and a trimmed name.
bool SplitEntry(const std::string& line, const std::string& word, uint32_t* number, std::string* name) {
  std::string rest = zarn::Trim(line);
  rest.erase(0, rest.find_first_not_of(word));
  const size_t eq = rest.find('=');
  if (rest.empty() || eq == std::string::npos) return false;
  const std::string left = zarn::Trim(rest.substr(0, eq));
  char* end = nullptr;
  const unsigned long value = std::strtoul(left.c_str(), &end, 16);
  if (left.empty() || end == left.c_str()) return false;
  *number = static_cast<uint32_t>(value);
  *name = zarn::Trim(rest.substr(eq + 1));
  return true;
}

}  // namespace

bool DeviceConfiguration::Load(const std::string& path) {
  Clear();
  path_ = path;
  std::string text;
  if (!zarn::ReadWholeFile(path, &text)) return false;
  Parse(text);
  return true;
}

void DeviceConfiguration::Clear() {
  path_.clear();
  manufacturer_names_.clear();
  device_types_.clear();
}

void DeviceConfiguration::Parse(const std::string& text) {
  std::istringstream in(text);
  std::string line;
  bool in_block = false;
  uint32_t manufacturer = 0;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (in_block) {
      if (line.find("DEVICE_TYPE") == std::string::npos) {
        in_block = false;
        continue;  // ends the block and is not examined further
      }
      uint32_t type = 0;
      std::string name;
      if (SplitEntry(line, "DEVICE_TYPE", &type, &name)) device_types_[manufacturer].emplace_back(type, name);
      continue;
    }
    if (line.rfind("MANUFACTURER", 0) == 0) {
      std::string name;
      if (SplitEntry(line, "MANUFACTURER", &manufacturer, &name)) {
        manufacturer_names_[manufacturer] = name;
        device_types_[manufacturer];
        in_block = true;
      }
    }
  }
}

std::string DeviceConfiguration::CatalogDirectory() const {
  if (path_.empty()) return std::string();
  return zarn::ParentDirectory(zarn::ParentDirectory(path_));
}

std::optional<uint32_t> DeviceConfiguration::ResolveDeviceType(std::optional<uint32_t> manufacturer,
                                                               const std::string& name) const {
  auto find_in = [&](const TypeTable& table) -> std::optional<uint32_t> {
    for (const auto& [type, type_name] : table) {
      if (zarn::EqualsNoCase(type_name, name)) return type;
    }
    return std::nullopt;
  };
  if (manufacturer) {
    auto it = device_types_.find(*manufacturer);
    if (it != device_types_.end()) {
      if (auto found = find_in(it->second)) return found;
    }
  }
  for (const auto& [id, table] : device_types_) {
    if (auto found = find_in(table)) return found;
  }
  return std::nullopt;
}

DeviceConfiguration& ProcessDeviceConfiguration() {
  static DeviceConfiguration configuration;
  return configuration;
}

}  // namespace zarnl
