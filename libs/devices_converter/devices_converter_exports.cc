// The seven entry points of zarn_devices_converter_x.
#define ZARN_CONVERTER_PLUGIN_DECLARE_EXPORTS
#include "zarn/converter_plugin.h"

#include "libs/devices_converter/devices_converter.h"
#include "libs/devices_converter/plugin_entry.h"

ZARN_DEFINE_CONVERTER_PLUGIN(zarn::converters::DevicesConverter)
