// The devices converter: GSD files (and their language variants) and `.devices`
// lists, behind the converter plug-in entry points.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_DEVICES_CONVERTER_H_
#define ZARN_LIBS_DEVICES_CONVERTER_DEVICES_CONVERTER_H_

#include "libs/devices_converter/plugin_entry.h"

namespace zarn::converters {

// Supported types "GS?;devices"; a file is accepted by its content.
const ConverterDefinition& DevicesConverter();

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_DEVICES_CONVERTER_H_
