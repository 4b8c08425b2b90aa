// Device XML for a GSD station: the station as a component, each module as a
// component below it, and for a modular station the relation to its modules.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_GSD_DEVICE_XML_H_
#define ZARN_LIBS_DEVICES_CONVERTER_GSD_DEVICE_XML_H_

#include <string>
#include <vector>

#include "libs/devices_converter/conversion_report.h"
#include "libs/devices_converter/device_xml_writer.h"
#include "libs/devices_converter/gsd_station.h"

namespace zarn::converters {

// The texts of one language variant of the station's file.
struct GsdLanguageTexts {
  std::string language;  // "en", "de", ...
  GsdStation station;
};

// Writes the station. `file_name` is the GSD file's name (the GSD element names
// it; its four characters before the extension carry the ident number), `path`
// the path the file was read from. Texts of `variants` are added per language;
// modules are matched by position. Missing texts and an ident number the file
// name does not carry are reported as warnings.
void WriteGsdDeviceXml(const GsdStation& station, const std::vector<GsdLanguageTexts>& variants,
                       const std::string& file_name, const std::string& path, DeviceXmlWriter* writer,
                       ConversionReport* report);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_GSD_DEVICE_XML_H_
