// The meaning of a parsed GSD file: the station and its modules.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_GSD_STATION_H_
#define ZARN_LIBS_DEVICES_CONVERTER_GSD_STATION_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "libs/devices_converter/gsd_reader.h"

namespace zarn::converters {

struct GsdModuleInfo {
  std::string name;       // Module "name"
  std::string info_text;  // Info_Text inside the block
  std::string config;     // configuration bytes as written
  std::optional<uint32_t> reference;
};

struct GsdStation {
  std::string vendor_name;  // Vendor_Name
  std::string model_name;   // Model_Name
  std::string info_text;    // Info_Text
  std::string revision;     // Revision (text)
  std::optional<uint32_t> revision_number;  // Revision_Number
  std::string ident_text;                   // Ident_Number as written
  uint32_t ident_number = 0;
  std::string gsd_revision_text;  // GSD_Revision as written
  std::optional<uint32_t> gsd_revision;
  std::optional<uint32_t> max_module;  // Max_Module
  bool modular = false;                // Modular_Station = 1
  bool pa = false;                     // MBP physical layer (31.25_supp = 1)
  std::string slave_family;            // Slave_Family as written
  std::string order_number;            // OrderNumber
  std::string bitmap_device;           // Bitmap_Device: a bitmap's file name without ".bmp"
  std::vector<GsdModuleInfo> modules;
};

// Interprets a parsed file. Returns false with the line and text of the first
// value that cannot be read (a missing Ident_Number is reported at line 0).
bool InterpretGsd(const GsdFile& file, GsdStation* station, int* error_line, std::string* error);

// The classification keyword for a Slave_Family value ("3", "12@Pressure", ...):
// the main family, refined by the sub-family text for process devices;
// "UNIVERSAL" for a family the table does not know.
std::string ClassificationForSlaveFamily(std::string_view slave_family);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_GSD_STATION_H_
