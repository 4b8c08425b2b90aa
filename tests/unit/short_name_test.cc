// COT names in and out through the exports.
#include <gtest/gtest.h>

#include <string>

#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

constexpr char kCatalog[] = R"(<ZARN_CATALOG><section id="DEVICE"><PROTOCOL id="PROFIBUS">
  <CLASSIFICATION id="SENSOR">
    <MANUFACTURER id="M">
      <COMPONENT_FOLDER id="F"><COMPONENT id="C"/><COMPONENT id="D"/></COMPONENT_FOLDER>
      <COMPONENT id="E"><LABEL><string>no id here</string></LABEL></COMPONENT>
    </MANUFACTURER>
    <manufacturer id="N"><COMPONENT_FOLDER id="F"><COMPONENT id="C"/></COMPONENT_FOLDER></manufacturer>
  </CLASSIFICATION>
  <COMPONENT id="P"/>
</PROTOCOL></section></ZARN_CATALOG>)";

class ShortNameTest : public CatalogTest {
 protected:
  void SetUp() override { LoadCatalog(kCatalog); }

  // Calls one of the two exports; the VARIANT must always come back as VT_BSTR.
  std::string Call(uint32_t (*fn)(const char16_t*, VARIANT*), const char* in, uint32_t* rc) {
    VARIANT v;
    VariantInit(&v);
    *rc = fn(in == nullptr ? nullptr : ToUtf16(in).c_str(), &v);
    EXPECT_EQ(v.vt, VT_BSTR) << in;
    std::string out = VariantString(v);
    VariantClear(&v);
    return out;
  }
};

TEST_F(ShortNameTest, CotNameFromComponentPath) {
  struct Case {
    const char* path;
    const char* cot;
    uint32_t rc;
  } cases[] = {
      {"/DEVICE/PROFIBUS/SENSOR/M/F/C", "\\F\\C", 0},
      {"/DEVICE/PROFIBUS/SENSOR/M/E", "\\E", 0},
      {"/DEVICE/PROFIBUS/SENSOR/N/F", "\\F", 0},  // level names compared ignoring case
      {"/DEVICE/PROFIBUS/P", "\\P", 0},
      {"/DEVICE", "\\DEVICE", 0},
      {"/DEVICE/PROFIBUS/SENSOR/M", "", ZARN_RESULT_MINUS_ONE},
      {"/DEVICE/PROFIBUS/SENSOR/M/NOPE", "", ZARN_RESULT_MINUS_ONE},
      {"", "", ZARN_RESULT_MINUS_ONE},
      {nullptr, "", ZARN_RESULT_MINUS_ONE},
  };
  for (const Case& c : cases) {
    uint32_t rc = 0;
    EXPECT_EQ(Call(&ZARN_GetCotNameFromComponentPath, c.path, &rc), c.cot) << (c.path ? c.path : "null");
    EXPECT_EQ(rc, c.rc) << (c.path ? c.path : "null");
  }
}

TEST_F(ShortNameTest, ComponentPathFromCotName) {
  struct Case {
    const char* cot;
    const char* path;
    uint32_t rc;
  } cases[] = {
      {"\\F\\D", "/DEVICE/PROFIBUS/SENSOR/M/F/D", 0},
      {"\\E", "/DEVICE/PROFIBUS/SENSOR/M/E", 0},
      {"\\P", "/DEVICE/PROFIBUS/P", 0},
      {"\\F\\C", "", ZARN_RESULT_MINUS_ONE},  // in two manufacturers
      {"\\F\\NOPE", "", ZARN_RESULT_MINUS_ONE},
      {"\\DEVICE", "/DEVICE", 0},
      {"\\DEVICE\\PROFIBUS", "/DEVICE/PROFIBUS", 0},
      {"\\PROFIBUS\\P", "/DEVICE/PROFIBUS/P", 0},
      {"\\F", "", ZARN_RESULT_MINUS_ONE},
      {"\\F\\D\\\\X", "/DEVICE/PROFIBUS/SENSOR/M/F/D", 0},  // an empty segment ends the name
      {"\\M\\F\\D\\\\", "/DEVICE/PROFIBUS/SENSOR/M/F/D", 0},
      {"", "", ZARN_RESULT_MINUS_ONE},  // every element matches
  };
  for (const Case& c : cases) {
    uint32_t rc = 0;
    EXPECT_EQ(Call(&ZARN_GetComponentPathFromCotName, c.cot, &rc), c.path) << c.cot;
    EXPECT_EQ(rc, c.rc) << c.cot;
  }
}

TEST_F(ShortNameTest, NoCatalogLeavesTheVariantAlone) {
  LoadWithoutCatalog();
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(ZARN_GetCotNameFromComponentPath(u"/DEVICE", &v), ZARN_E_NO_CATALOG);
  EXPECT_EQ(ZARN_GetComponentPathFromCotName(u"\\DEVICE", &v), ZARN_E_NO_CATALOG);
  EXPECT_EQ(v.vt, VT_EMPTY);
}

}  // namespace
}  // namespace zarn
