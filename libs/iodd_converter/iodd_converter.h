// The IODD converter: IODD files and zip packages holding one, behind the
// converter plug-in entry points.
#ifndef ZARN_LIBS_IODD_CONVERTER_IODD_CONVERTER_H_
#define ZARN_LIBS_IODD_CONVERTER_IODD_CONVERTER_H_

#include <string>

#include "libs/devices_converter/plugin_entry.h"

namespace zarn::converters {

// Supported types "xml;zip"; a file is accepted by its content.
const ConverterDefinition& IoddConverter();

// True for an .xml file whose root is IODevice (IODD 1.0.1 or 1.1), or a .zip
// package holding one.
bool IsIoddInput(const std::string& path);

// Converts an IODD file or package. A package is unpacked below
// output_directory into "<package name>.content".
void ConvertIodd(const std::string& input, const std::string& output_directory, const std::string& output_file,
                 ConversionReport* report);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_IODD_CONVERTER_IODD_CONVERTER_H_
