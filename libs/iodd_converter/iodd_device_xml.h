// Device XML for an IODD: the variables with their default values, and one
// component per device variant (protocol IOLINK) whose initial values are those
// defaults.
#ifndef ZARN_LIBS_IODD_CONVERTER_IODD_DEVICE_XML_H_
#define ZARN_LIBS_IODD_CONVERTER_IODD_DEVICE_XML_H_

#include <string>

#include "libs/devices_converter/conversion_report.h"
#include "libs/devices_converter/device_xml_writer.h"
#include "libs/iodd_converter/iodd_model.h"

namespace zarn::converters {

// The device XML type name for an IODD type ("UIntegerT" -> "UNSIGNED_INTEGER");
// the IODD name itself for a type without a counterpart.
std::string DeviceXmlTypeOf(const std::string& iodd_type);

// Writes the device. `file_name` names the IODD file, `path` the input the
// conversion was given. Text ids that no language resolves are warnings.
void WriteIoddDeviceXml(const IoddDevice& device, const std::string& file_name, const std::string& path,
                        DeviceXmlWriter* writer, ConversionReport* report);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_IODD_CONVERTER_IODD_DEVICE_XML_H_
