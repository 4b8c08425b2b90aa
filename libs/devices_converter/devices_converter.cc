#include "libs/devices_converter/devices_converter.h"

#include "libs/devices_converter/devices_list.h"
#include "libs/devices_converter/gsd_converter.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn::converters {
namespace {

bool IsSupported(const std::string& path) { return IsConvertibleGsd(path) || IsDevicesList(path); }

void Convert(const std::string& input, const std::string&, const std::string& output_file, ConversionReport* report) {
  if (EqualsNoCase(SplitPath(input).extension, ".devices")) return ConvertDevicesList(input, output_file, report);
  ConvertGsdFile(input, output_file, report);
}

}  // namespace

const ConverterDefinition& DevicesConverter() {
  static const ConverterDefinition definition{"GS?;devices", &IsSupported, &Convert};
  return definition;
}

}  // namespace zarn::converters
