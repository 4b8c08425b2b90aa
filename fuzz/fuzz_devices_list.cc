// Fuzzes the .devices list reader and the device XML it gives.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "libs/devices_converter/devices_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zarn::converters::ConversionReport report;
  std::vector<zarn::converters::ListedDevice> devices;
  if (zarn::converters::ParseDevicesList(text, "fuzz.devices", &devices, &report)) {
    zarn::converters::DeviceXmlWriter writer("fuzz");
    zarn::converters::WriteDevicesDeviceXml(devices, "fuzz.devices", &writer);
    writer.ToString();
  }
  return 0;
}
