#include "external/unidata.h"

#include <gtest/gtest.h>

namespace zarn {
namespace {

struct TypeCase {
  const char* text;
  bool number;
  bool name;
};

constexpr TypeCase kTypeCases[] = {
    {"0", true, false},
    {"42", true, false},
    {"-7", true, false},
    {"0x2A", true, false},
    {"0X00ff", true, false},
    {"0x", false, false},
    {"0xG1", false, false},
    {"1a", false, false},
    {"12 3", false, false},
    {"", false, false},
    {"pt100", false, true},
    {"_x9", false, true},
    {"ZX_CORIOLIS_900", false, true},
    {"beef", false, true},
    {"a-b", false, false},
    {"9lives", false, false},
    {"x y", false, false},
    {"0x1A,", false, false},
};

TEST(UniDataTest, NumberAndNameChecks) {
  for (const TypeCase& c : kTypeCases) {
    EXPECT_EQ(c.number, CUniData(c.text).SetType(CUniData::kTypeNumber) == 0) << "number: '" << c.text << "'";
    EXPECT_EQ(c.name, CUniData(c.text).SetType(CUniData::kTypeName) == 0) << "name: '" << c.text << "'";
  }
}

TEST(UniDataTest, OtherCodesAreRefused) {
  for (const uint16_t code : {0, 1, 2, 4, 5, 7, 9, 11}) {
    EXPECT_NE(0, CUniData("12").SetType(code)) << code;
  }
}

TEST(UniDataTest, TypeTagFollowsSuccessfulConversion) {
  EXPECT_EQ(CUniData::kTypeEmpty, CUniData().type());
  CUniData value("0x10");
  EXPECT_EQ(CUniData::kTypeText, value.type());
  EXPECT_NE(0, value.SetType(CUniData::kTypeName));
  EXPECT_EQ(CUniData::kTypeText, value.type());
  EXPECT_EQ(0, value.SetType(CUniData::kTypeNumber));
  EXPECT_EQ(CUniData::kTypeNumber, value.type());
  EXPECT_NE(0, CUniData().SetType(CUniData::kTypeNumber));
}

}  // namespace
}  // namespace zarn
