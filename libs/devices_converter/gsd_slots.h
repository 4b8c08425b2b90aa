// Where the modules of a modular GSD station may go: the slots the station has,
// the preset modules it holds in place, and per module the slots it may occupy.
//
// The station's slots run from Modul_Offset (1 when absent) over Max_Module slots.
// With FixPresetModules = 1 the modules marked Preset = 1 take the first slots, one
// each in file order, and no other module goes there. A slot definition names per
// slot the modules it takes (its default and its allowed ones); a slot it does not
// name takes any module.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_GSD_SLOTS_H_
#define ZARN_LIBS_DEVICES_CONVERTER_GSD_SLOTS_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "libs/devices_converter/gsd_reader.h"
#include "libs/devices_converter/gsd_station.h"

namespace zarn::converters {

struct SlotSpan {
  uint32_t first = 0;
  uint32_t last = 0;  // inclusive
  bool operator==(const SlotSpan&) const = default;
};

struct GsdModuleSlots {
  std::vector<SlotSpan> spans;  // ascending, disjoint and apart; empty: no slot takes the module
  bool preset = false;          // Preset = 1
  bool fixed = false;           // preset and held in its slot by FixPresetModules
};

struct GsdSlotPlan {
  SlotSpan station;                     // the slots the station has
  uint32_t fixed_modules = 0;           // modules held in place
  std::vector<GsdModuleSlots> modules;  // by module position
};

// Reads the value of a Slot(n) line: `"name" default allowed`, where allowed lists
// references and ranges ("1,3", "2-5", "1 4-6"). False with *error when it cannot.
bool ParseGsdSlot(const GsdEntry& entry, GsdSlot* slot, std::string* error);

// The plan of a station, or nullopt when it names no slots (no Max_Module above 0
// and no slot definition).
std::optional<GsdSlotPlan> PlanGsdSlots(const GsdStation& station);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_GSD_SLOTS_H_
