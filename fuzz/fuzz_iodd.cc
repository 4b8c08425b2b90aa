// Fuzzes the IODD reader (also as a language file) and the device XML it gives.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "libs/iodd_converter/iodd_device_xml.h"
#include "libs/iodd_converter/iodd_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string error;
  auto doc = zarn::xml::Document::LoadText(text, &error);
  if (!doc) return 0;
  zarn::converters::ConversionReport report;
  zarn::converters::IoddDevice device;
  zarn::converters::ReadIoddTexts(*doc, "de", &device.texts);
  if (zarn::converters::ReadIodd(*doc, "fuzz.xml", &device, &report)) {
    zarn::converters::DeviceXmlWriter writer("fuzz");
    zarn::converters::WriteIoddDeviceXml(device, "fuzz.xml", "fuzz.xml", &writer, &report);
    writer.ToString();
  }
  return 0;
}
