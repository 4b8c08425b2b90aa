// The meaning of a parsed GSD file: the station and its modules.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_GSD_STATION_H_
#define ZARN_LIBS_DEVICES_CONVERTER_GSD_STATION_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "libs/devices_converter/gsd_reader.h"

namespace zarn::converters {

struct GsdModuleInfo {
  std::string name;       // Module "name"
  std::string info_text;  // Info_Text inside the block
  std::string config;     // configuration bytes as written
  std::optional<uint32_t> reference;
  bool preset = false;  // Preset = 1: configured when the station is
};

// One Slot(n) line: the slot's number and name, the module placed there by
// default and the modules it allows (by their reference numbers).
struct GsdSlot {
  uint32_t number = 0;
  std::string name;
  uint32_t default_module = 0;
  std::vector<std::pair<uint32_t, uint32_t>> allowed;  // inclusive ranges of references
  int line = 0;

  bool Takes(uint32_t reference) const;
};

struct GsdStation {
  std::string vendor_name;                  // Vendor_Name
  std::string model_name;                   // Model_Name
  std::string info_text;                    // Info_Text
  std::string revision;                     // Revision (text)
  std::optional<uint32_t> revision_number;  // Revision_Number
  std::string ident_text;                   // Ident_Number as written
  uint32_t ident_number = 0;
  std::string gsd_revision_text;  // GSD_Revision as written
  std::optional<uint32_t> gsd_revision;
  std::optional<uint32_t> max_module;    // Max_Module
  std::optional<uint32_t> modul_offset;  // Modul_Offset: the number of the first slot
  bool modular = false;                  // Modular_Station = 1
  bool fix_preset_modules = false;       // FixPresetModules = 1: preset modules stay in place
  bool pa = false;                       // MBP physical layer (31.25_supp = 1)
  std::string slave_family;              // Slave_Family as written
  std::string order_number;              // OrderNumber
  std::string bitmap_device;             // Bitmap_Device: a bitmap's file name without ".bmp"
  std::vector<GsdModuleInfo> modules;
  bool has_slot_definition = false;
  std::vector<GsdSlot> slots;
};

// Interprets a parsed file. Returns false with the line and text of the first
// value that cannot be read (a missing Ident_Number is reported at line 0).
bool InterpretGsd(const GsdFile& file, GsdStation* station, int* error_line, std::string* error);

// The classification keyword for a Slave_Family value ("3", "12@Pressure", ...):
// the main family, refined by the sub-family text for process devices;
// "UNIVERSAL" for a family the table does not know.
std::string ClassificationForSlaveFamily(std::string_view slave_family);

// The folder levels a Slave_Family value gives below the maker `vendor`: its
// sub-families ("3@Remote I/O@Modular" gives "Remote I-O", "Modular"), trimmed,
// empty ones dropped, path separators replaced by "-" so that each stays one
// level. Leading sub-families that only repeat the maker's name ("NVK" of
// "NVK Oy", "KVARN" of "KVARN-DRIVES") are left out: the maker level is there.
std::vector<std::string> SubFamilyFolders(std::string_view slave_family, std::string_view vendor);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_GSD_STATION_H_
