// The `.devices` list: devices without a description file of their own
// (format in docs/devices-list.md), and its conversion into device XML.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_DEVICES_LIST_H_
#define ZARN_LIBS_DEVICES_CONVERTER_DEVICES_LIST_H_

#include <string>
#include <string_view>
#include <vector>

#include "libs/devices_converter/conversion_report.h"
#include "libs/devices_converter/device_xml_writer.h"

namespace zarn::converters {

struct ListedDevice {
  std::string id;
  std::string manufacturer;
  std::string device_type;
  std::string device_revision;
  std::string protocol;
  std::string classification;
  std::string folder;
  LocalizedText label;
  LocalizedText help;
};

// Reads list text. Returns false after reporting kUnreadableSource when the text
// is not a device list or a device lacks a required attribute; unknown
// attributes and elements are warnings.
bool ParseDevicesList(std::string_view text, const std::string& path, std::vector<ListedDevice>* devices,
                      ConversionReport* report);

// Writes one component per device. REQUIRES: devices is not empty.
void WriteDevicesDeviceXml(const std::vector<ListedDevice>& devices, const std::string& path, DeviceXmlWriter* writer);

// True when `path` ends in ".devices" and holds a DEVICES document.
bool IsDevicesList(const std::string& path);

// Converts the list at `input` into `output_file`.
void ConvertDevicesList(const std::string& input, const std::string& output_file, ConversionReport* report);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_DEVICES_LIST_H_
