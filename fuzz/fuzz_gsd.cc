// Fuzzes the GSD reader, its interpretation and the device XML it gives.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "libs/devices_converter/gsd_converter.h"
#include "libs/devices_converter/gsd_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view raw(reinterpret_cast<const char*>(data), size);
  zarn::converters::StartsLikeGsd(raw);
  zarn::converters::ConversionReport report;
  zarn::converters::DeviceXmlWriter writer("fuzz");
  if (zarn::converters::GsdTextToDeviceXml(raw, "fuzz.gsd", {}, &writer, &report)) writer.ToString();
  report.Message();
  return 0;
}
