// The device configuration file Device/HV__DEV01.cfg of a catalog: manufacturer
// numbers with names, and per manufacturer the device types with their names.
//
//   MANUFACTURER 0x2A = Example Instruments
//   DEVICE_TYPE 0x12 = PT100_TRANSMITTER
//   DEVICE_TYPE 0x13 = PRESSURE_TRANSMITTER
//   (any other line ends the manufacturer's block)
#ifndef ZARN_LIBS_COMPILER_DEVICE_CONFIGURATION_H_
#define ZARN_LIBS_COMPILER_DEVICE_CONFIGURATION_H_

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zarnl {

class DeviceConfiguration {
 public:
  // Reads the file at `path`. Returns false (and keeps no tables) when it cannot be
  // read; path() is kept either way, so that the catalog directory is known.
  bool Load(const std::string& path);
  // Reads configuration text (as Load does with a file's content).
  void Parse(const std::string& text);
  void Clear();

  const std::string& path() const { return path_; }
  // The catalog directory: two levels above the file ("" when no file is set).
  std::string CatalogDirectory() const;

  // The number of device type `name` (compared without regard to case) in the
  // table of `manufacturer`; when that has none, in any manufacturer's table.
  std::optional<uint32_t> ResolveDeviceType(std::optional<uint32_t> manufacturer, const std::string& name) const;

 private:
  using TypeTable = std::vector<std::pair<uint32_t, std::string>>;
  std::string path_;
  std::map<uint32_t, std::string> manufacturer_names_;
  std::map<uint32_t, TypeTable> device_types_;
};

// The configuration set through ZARNL_SetDeviceConfiguration (one per process).
DeviceConfiguration& ProcessDeviceConfiguration();

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_DEVICE_CONFIGURATION_H_
