#include <gtest/gtest.h>

#include "catalog/classification_table.h"

namespace zarn {
namespace {

TEST(ClassificationTable, LookupIgnoresCaseAndFallsBackPerUse) {
  EXPECT_EQ(ClassificationLevelsForCreation("sensor_flow_coriolis"),
            (std::vector<std::string_view>{"SENSOR", "FLOW", "CORIOLIS"}));
  EXPECT_EQ(ClassificationLevelsForCreation("SENSOR_FLOW_CORIOLIS_X"),
            (std::vector<std::string_view>{"SENSOR_FLOW_CORIOLIS_X"}));
  EXPECT_EQ(ClassificationLevelsForSearch("SENSOR_FLOW_CORIOLIS_X"), (std::vector<std::string_view>{"UNIVERSAL"}));
  EXPECT_EQ(ClassificationLevelsForSearch("UNIVERSAL"), (std::vector<std::string_view>{"UNIVERSAL"}));
}

TEST(ClassificationTable, EveryRowIsConsistent) {
  for (const ClassificationRow& row : ClassificationRows()) {
    ASSERT_GE(row.level_count, 1) << row.keyword;
    ASSERT_LE(row.level_count, 3) << row.keyword;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(row.levels[i].empty(), i >= row.level_count) << row.keyword;
    EXPECT_EQ(LookupClassification(row.keyword), &row) << "keywords are unique: " << row.keyword;
  }
}

}  // namespace
}  // namespace zarn
