// GSD files as a converter plug-in sees them: recognition, language variants
// beside the file, conversion into device XML.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_GSD_CONVERTER_H_
#define ZARN_LIBS_DEVICES_CONVERTER_GSD_CONVERTER_H_

#include <string>
#include <string_view>
#include <vector>

#include "libs/devices_converter/conversion_report.h"
#include "libs/devices_converter/device_xml_writer.h"
#include "libs/devices_converter/gsd_device_xml.h"

namespace zarn::converters {

// The language a GSD file's extension stands for: .gsd "" (default), .gse "en",
// .gsg "de", .gsf "fr", .gsi "it", .gss "es"; "?" for any other .gs? name.
std::string GsdLanguageOfExtension(std::string_view extension);

// The files X.gs? beside `path` that are language variants of it (same base
// name, ignoring case), `path` itself excluded, ordered .gsd, .gse, .gsg, ...
std::vector<std::string> GsdLanguageSiblings(const std::string& path);

// True when `path` is a GSD file this plug-in converts: its first significant
// line is #Profibus_DP, and no variant of higher rank (.gsd before .gse before
// .gsg ...) lies beside it, so that a station is converted once.
bool IsConvertibleGsd(const std::string& path);

// Parses GSD bytes (UTF-8 or ISO 8859-1) and writes the station. Returns false
// after reporting kUnreadableSource with "<path>(<line>): <what>".
bool GsdTextToDeviceXml(std::string_view raw, const std::string& path, const std::vector<GsdLanguageTexts>& variants,
                        DeviceXmlWriter* writer, ConversionReport* report);

// Converts the GSD file `input` (with its language variants) into `output_file`.
void ConvertGsdFile(const std::string& input, const std::string& output_file, ConversionReport* report);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_GSD_CONVERTER_H_
