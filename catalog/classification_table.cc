#include "catalog/classification_table.h"

#include "platform/strings.h"

namespace zarn {
namespace {

constexpr ClassificationRow kRows[] = {
    {"ACTUATOR", 1, {"ACTUATOR", "", ""}},
    {"ACTUATOR_ELECTRO_PNEUMATIC", 2, {"ACTUATOR", "ELECTRO_PNEUMATIC", ""}},
    {"ACTUATOR_ELECTRIC", 2, {"ACTUATOR", "ELECTRIC", ""}},
    {"ACTUATOR_HYDRAULIC", 2, {"ACTUATOR", "HYDRAULIC", ""}},
    {"CONVERTER", 1, {"CONVERTER", "", ""}},
    {"CONTROLLER", 1, {"CONTROLLER", "", ""}},
    {"DISCRETE_IN", 1, {"DISCRETE_IN", "", ""}},
    {"DISCRETE_OUT", 1, {"DISCRETE_OUT", "", ""}},
    {"FREQUENCY_CONVERTER", 1, {"FREQUENCY_CONVERTER", "", ""}},
    {"INDICATOR", 1, {"INDICATOR", "", ""}},
    {"NETWORK_COMPONENT", 1, {"NETWORK_COMPONENT", "", ""}},
    {"REMOTEIO", 1, {"REMOTEIO", "", ""}},
    {"RECORDER", 1, {"RECORDER", "", ""}},
    {"SENSOR", 1, {"SENSOR", "", ""}},
    {"SENSOR_ACOUSTIC", 2, {"SENSOR", "ACOUSTIC", ""}},
    {"SENSOR_ANALYTIC", 2, {"SENSOR", "ANALYTIC", ""}},
    {"SENSOR_ANALYTIC_GAS", 3, {"SENSOR", "ANALYTIC", "GAS"}},
    {"SENSOR_ANALYTIC_LIQUID", 3, {"SENSOR", "ANALYTIC", "LIQUID"}},
    {"SENSOR_CONCENTRATION", 2, {"SENSOR", "CONCENTRATION", ""}},
    {"SENSOR_DENSITY", 2, {"SENSOR", "DENSITY", ""}},
    {"SENSOR_FLOW", 2, {"SENSOR", "FLOW", ""}},
    {"SENSOR_FLOW_CORIOLIS", 3, {"SENSOR", "FLOW", "CORIOLIS"}},
    {"SENSOR_FLOW_ELECTRO_MAGNETIC", 3, {"SENSOR", "FLOW", "ELECTRO_MAGNETIC"}},
    {"SENSOR_FLOW_MECHANICAL", 3, {"SENSOR", "FLOW", "MECHANICAL"}},
    {"SENSOR_FLOW_RADIOMETRIC", 3, {"SENSOR", "FLOW", "RADIOMETRIC"}},
    {"SENSOR_FLOW_THERMAL", 3, {"SENSOR", "FLOW", "THERMAL"}},
    {"SENSOR_FLOW_ULTRASONIC", 3, {"SENSOR", "FLOW", "ULTRASONIC"}},
    {"SENSOR_FLOW_VORTEX_COUNTER", 3, {"SENSOR", "FLOW", "VORTEX_COUNTER"}},
    {"SENSOR_LEVEL", 2, {"SENSOR", "LEVEL", ""}},
    {"SENSOR_LEVEL_BUOYANCY", 3, {"SENSOR", "LEVEL", "BUOYANCY"}},
    {"SENSOR_LEVEL_CAPACITIVE", 3, {"SENSOR", "LEVEL", "CAPACITIVE"}},
    {"SENSOR_LEVEL_ECHO", 3, {"SENSOR", "LEVEL", "ECHO"}},
    {"SENSOR_LEVEL_HYDROSTATIC", 3, {"SENSOR", "LEVEL", "HYDROSTATIC"}},
    {"SENSOR_LEVEL_RADIOMETRIC", 3, {"SENSOR", "LEVEL", "RADIOMETRIC"}},
    {"SENSOR_MULTIVARIABLE", 2, {"SENSOR", "MULTIVARIABLE", ""}},
    {"SENSOR_POSITION", 2, {"SENSOR", "POSITION", ""}},
    {"SENSOR_PRESSURE", 2, {"SENSOR", "PRESSURE", ""}},
    {"SENSOR_TEMPERATURE", 2, {"SENSOR", "TEMPERATURE", ""}},
    {"SEMICONDUCTOR", 1, {"SEMICONDUCTOR", "", ""}},
    {"SWITCHGEAR", 1, {"SWITCHGEAR", "", ""}},
    {"CONTAINER", 1, {"CONTAINER", "", ""}},
    {"OPC_SERVER", 1, {"OPC_SERVER", "", ""}},
    {"CONVENTIONAL_DEVICE", 1, {"CONVENTIONAL_DEVICE", "", ""}},
    {"DATA_OBJECTS", 1, {"DATA_OBJECTS", "", ""}},
    {"PC", 1, {"PC", "", ""}},
    {"INTERFACE", 1, {"INTERFACE", "", ""}},
    {"COT", 1, {"COT", "", ""}},
    {"PROJECT", 1, {"PROJECT", "", ""}},
    {"SETTINGS", 1, {"SETTINGS", "", ""}},
    {"UNIVERSAL", 1, {"UNIVERSAL", "", ""}},
};
static_assert(std::size(kRows) == 50);

std::vector<std::string_view> LevelsOf(const ClassificationRow& row) {
  return std::vector<std::string_view>(row.levels.begin(), row.levels.begin() + row.level_count);
}

}  // namespace

std::span<const ClassificationRow> ClassificationRows() { return kRows; }

const ClassificationRow* LookupClassification(std::string_view keyword) {
  for (const ClassificationRow& row : kRows) {
    if (EqualsNoCase(row.keyword, keyword)) return &row;
  }
  return nullptr;
}

std::vector<std::string_view> ClassificationLevelsForCreation(std::string_view keyword) {
  const ClassificationRow* row = LookupClassification(keyword);
  return row != nullptr ? LevelsOf(*row) : std::vector<std::string_view>{keyword};
}

std::vector<std::string_view> ClassificationLevelsForSearch(std::string_view keyword) {
  const ClassificationRow* row = LookupClassification(keyword);
  return LevelsOf(row != nullptr ? *row : kRows[std::size(kRows) - 1]);
}

}  // namespace zarn
