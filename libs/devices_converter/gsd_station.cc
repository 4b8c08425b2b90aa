#include "libs/devices_converter/gsd_station.h"

#include "libs/devices_converter/gsd_slots.h"
#include "platform/strings.h"

namespace zarn::converters {
namespace {

class Interpreter {
 public:
  Interpreter(const GsdFile& file, GsdStation* station) : file_(file), station_(station) {}

  bool Run(int* error_line, std::string* error) {
    Strings();
    Numbers();
    Modules();
    Slots();
    if (ok_ && !FindGsdEntry(file_.entries, "Ident_Number")) Fail(0, "Ident_Number missing");
    if (!ok_) {
      *error_line = line_;
      *error = error_;
    }
    return ok_;
  }

 private:
  void Strings() {
    ReadString(file_.entries, "Vendor_Name", &station_->vendor_name);
    ReadString(file_.entries, "Model_Name", &station_->model_name);
    ReadString(file_.entries, "Info_Text", &station_->info_text);
    ReadString(file_.entries, "Revision", &station_->revision);
    ReadString(file_.entries, "OrderNumber", &station_->order_number);
    ReadString(file_.entries, "Bitmap_Device", &station_->bitmap_device);
    if (const GsdEntry* e = FindGsdEntry(file_.entries, "Slave_Family")) station_->slave_family = e->value;
  }

  void Numbers() {
    if (const GsdEntry* e = FindGsdEntry(file_.entries, "Ident_Number")) {
      station_->ident_text = e->value;
      station_->ident_number = ReadNumber(*e).value_or(0);
    }
    if (const GsdEntry* e = FindGsdEntry(file_.entries, "GSD_Revision")) {
      station_->gsd_revision_text = e->value;
      station_->gsd_revision = ReadNumber(*e);
    }
    station_->revision_number = OptionalNumber("Revision_Number");
    station_->max_module = OptionalNumber("Max_Module");
    station_->modul_offset = OptionalNumber("Modul_Offset");
    station_->modular = OptionalNumber("Modular_Station").value_or(0) != 0;
    station_->fix_preset_modules = OptionalNumber("FixPresetModules").value_or(0) != 0;
    station_->pa = OptionalNumber("31.25_supp").value_or(0) != 0;
  }

  void Modules() {
    for (const GsdModule& m : file_.modules) {
      GsdModuleInfo info{m.name, {}, m.config, m.reference, false};
      ReadString(m.entries, "Info_Text", &info.info_text);
      if (const GsdEntry* e = FindGsdEntry(m.entries, "Preset")) info.preset = ReadNumber(*e).value_or(0) != 0;
      station_->modules.push_back(std::move(info));
    }
  }

  void Slots() {
    station_->has_slot_definition = file_.has_slot_definition;
    for (const GsdEntry& e : file_.slots) {
      GsdSlot slot;
      std::string error;
      if (!ParseGsdSlot(e, &slot, &error)) return Fail(e.line, "Slot(" + e.index + "): " + error);
      station_->slots.push_back(std::move(slot));
    }
  }

  std::optional<uint32_t> OptionalNumber(std::string_view keyword) {
    const GsdEntry* e = FindGsdEntry(file_.entries, keyword);
    return e != nullptr ? ReadNumber(*e) : std::nullopt;
  }

  std::optional<uint32_t> ReadNumber(const GsdEntry& e) {
    auto number = ParseGsdNumber(e.value);
    if (!number) Fail(e.line, e.keyword + ": number expected");
    return number;
  }

  void ReadString(const std::vector<GsdEntry>& entries, std::string_view keyword, std::string* out) {
    const GsdEntry* e = FindGsdEntry(entries, keyword);
    if (e == nullptr) return;
    auto text = ParseGsdString(e->value);
    if (!text) return Fail(e->line, e->keyword + ": quoted string expected");
    *out = std::move(*text);
  }

  void Fail(int line, std::string text) {
    if (!ok_) return;
    ok_ = false;
    line_ = line;
    error_ = std::move(text);
  }

  const GsdFile& file_;
  GsdStation* station_;
  bool ok_ = true;
  int line_ = 0;
  std::string error_;
};

struct FamilyRow {
  uint32_t family;
  std::string_view classification;
};

// Main families of the Slave_Family keyword onto the classification table.
constexpr FamilyRow kFamilies[] = {
    {0, "UNIVERSAL"},  {1, "FREQUENCY_CONVERTER"}, {2, "SWITCHGEAR"},  {3, "REMOTEIO"},
    {4, "ACTUATOR"},   {5, "CONTROLLER"},          {6, "INDICATOR"},   {7, "SENSOR_POSITION"},
    {8, "CONTROLLER"}, {9, "NETWORK_COMPONENT"},   {10, "CONTROLLER"}, {11, "SENSOR"},
    {12, "SENSOR"},
};

struct SubFamilyRow {
  std::string_view word;
  std::string_view classification;
};

// Sub-family words of process devices (family 12), first match wins.
constexpr SubFamilyRow kProcessSubFamilies[] = {
    {"Pressure", "SENSOR_PRESSURE"},
    {"Temperature", "SENSOR_TEMPERATURE"},
    {"Coriolis", "SENSOR_FLOW_CORIOLIS"},
    {"Flow", "SENSOR_FLOW"},
    {"Level", "SENSOR_LEVEL"},
    {"Analy", "SENSOR_ANALYTIC"},
    {"Density", "SENSOR_DENSITY"},
    {"Positioner", "ACTUATOR_ELECTRO_PNEUMATIC"},
    {"Valve", "ACTUATOR"},
    {"Actuator", "ACTUATOR"},
    {"Multi", "SENSOR_MULTIVARIABLE"},
    {"Remote", "REMOTEIO"},
    {"Discrete In", "DISCRETE_IN"},
    {"Discrete Out", "DISCRETE_OUT"},
};

}  // namespace

bool InterpretGsd(const GsdFile& file, GsdStation* station, int* error_line, std::string* error) {
  return Interpreter(file, station).Run(error_line, error);
}

std::string ClassificationForSlaveFamily(std::string_view slave_family) {
  const std::string text = Trim(slave_family);
  const size_t at = text.find('@');
  const auto family = ParseGsdNumber(std::string_view(text).substr(0, at));
  if (!family) return "UNIVERSAL";
  if (*family == 12 && at != std::string::npos) {
    const std::string_view sub = std::string_view(text).substr(at + 1);
    for (const SubFamilyRow& row : kProcessSubFamilies) {
      if (FindNoCase(sub, row.word) != std::string::npos) return std::string(row.classification);
    }
  }
  for (const FamilyRow& row : kFamilies) {
    if (row.family == *family) return std::string(row.classification);
  }
  return "UNIVERSAL";
}

std::vector<std::string> SubFamilyFolders(std::string_view slave_family, std::string_view vendor) {
  std::vector<std::string> levels;
  const std::string text = Trim(slave_family);
  size_t at = text.find('@');
  while (at != std::string::npos) {
    const size_t next = text.find('@', at + 1);
    std::string level = Trim(std::string_view(text).substr(at + 1, next == std::string::npos ? next : next - at - 1));
    for (char& c : level) {
      if (c == '/' || c == '\\') c = '-';
    }
    const bool repeats_maker = levels.empty() && FindNoCase(vendor, level) != std::string::npos;
    if (!level.empty() && !repeats_maker) levels.push_back(std::move(level));
    at = next;
  }
  return levels;
}

}  // namespace zarn::converters
