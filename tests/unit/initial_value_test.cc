// Initial values and the purpose mapping through the exports.
#include <gtest/gtest.h>

#include <string>

#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

constexpr char kCatalog[] = R"(<ZARN_CATALOG><section id="DEVICE"><COMPONENT id="C">
  <DEVICE_DATA><INITIAL_VALUES>
    <initial_value><variable_ref ref="v_plain"/><value>42</value></initial_value>
    <initial_value><variable_ref ref="v_lang"/><string>tag en</string><string lang="de">Kennung</string></initial_value>
    <initial_value><unknown_ref ref="v_marked"/><string lang="fr">seulement</string></initial_value>
    <initial_value><variable_ref ref="v_typed"/><value><INTEGER>7</INTEGER><REAL>8.5</REAL></value></initial_value>
    <initial_value><variable_ref ref="v_empty"/><value/></initial_value>
    <initial_value><variable_ref ref="v_none"/></initial_value>
  </INITIAL_VALUES></DEVICE_DATA>
  <PURPOSE_MAPPING>
    <variable_ref ref="tag1"/><string>PURPOSE_TAG</string>
    <variable_ref ref="desc"/><string>PURPOSE_DESCRIPTION</string>
    <unknown_ref ref="tag2"/><string>PURPOSE_TAG</string>
    <variable_ref/><string>PURPOSE_DEVICE_TYPE</string>
  </PURPOSE_MAPPING>
</COMPONENT></section></ZARN_CATALOG>)";

class InitialValueTest : public CatalogTest {
 protected:
  void SetUp() override { LoadCatalog(kCatalog); }

  // The value as text, "<untouched>" when the VARIANT was not written.
  std::string Value(const char* path, const char* variable, uint32_t* rc) {
    VARIANT v;
    VariantInit(&v);
    *rc = ZARN_GetInitialValue(ToUtf16(path).c_str(), variable ? ToUtf16(variable).c_str() : nullptr, &v);
    return Take(&v);
  }
  std::string Purpose(const char* path, int32_t kind, uint32_t* rc) {
    VARIANT v;
    VariantInit(&v);
    *rc = ZARN_GetPurposeMapping(ToUtf16(path).c_str(), kind, &v);
    return Take(&v);
  }
  static std::string Take(VARIANT* v) {
    if (v->vt == VT_EMPTY) return "<untouched>";
    std::string out = VariantString(*v);
    VariantClear(v);
    return out;
  }
};

TEST_F(InitialValueTest, ValuesByLanguageWithFallbacks) {
  struct Case {
    const char16_t* language;
    const char* variable;
    uint32_t rc;
    const char* value;
  } cases[] = {
      {u"en", "v_plain", 0, "42"},
      {u"de", "v_plain", 0, "42"},  // no value marked "de": the second child
      {u"en", "v_lang", 0, "tag en"},
      {u"EN", "v_lang", 0, "tag en"},
      {u"de", "v_lang", 0, "Kennung"},
      {u"fr", "v_lang", 0, "tag en"},
      {u"en", "v_marked", 0, "seulement"},  // the second child even with a lang mark
      {u"en", "v_typed", 0, "7"},
      {u"en", "v_empty", ZARN_E_EMPTY_VALUE, "<untouched>"},
      {u"en", "v_none", ZARN_E_NO_VALUE, "<untouched>"},
      {u"en", "v_unknown", ZARN_E_NO_VALUE, "<untouched>"},
      {u"en", nullptr, ZARN_E_NO_VALUE, "<untouched>"},
  };
  for (const Case& c : cases) {
    ZARN_SetCatalogLanguage(c.language);
    uint32_t rc = 0;
    const std::string label = ToUtf8(c.language) + " " + (c.variable ? c.variable : "null");
    EXPECT_EQ(Value("/DEVICE/C", c.variable, &rc), c.value) << label;
    EXPECT_EQ(rc, c.rc) << label;
  }
}

TEST_F(InitialValueTest, UnknownComponentHasNoValue) {
  uint32_t rc = 0;
  EXPECT_EQ(Value("/DEVICE/X", "v_plain", &rc), "<untouched>");
  EXPECT_EQ(rc, ZARN_E_NO_VALUE);
  EXPECT_EQ(Value("", "v_plain", &rc), "<untouched>");
  EXPECT_EQ(rc, ZARN_E_NO_VALUE);
}

TEST_F(InitialValueTest, PurposeMapping) {
  struct Case {
    int32_t kind;
    uint32_t rc;
    const char* value;
  } cases[] = {
      {ZARN_PURPOSE_TAG, 0, "tag2"},  // two pairs: the element before the later string
      {ZARN_PURPOSE_DESCRIPTION, 0, "desc"},
      {ZARN_PURPOSE_MESSAGE, ZARN_E_NO_PURPOSE_MAPPING, "<untouched>"},
      {ZARN_PURPOSE_DEVICE_TYPE, 0, ""},  // the element has no ref
      {7, 0, ""},                         // the PURPOSE_MAPPING element itself
      {-1, 0, ""},
  };
  for (const Case& c : cases) {
    uint32_t rc = 0;
    EXPECT_EQ(Purpose("/DEVICE/C", c.kind, &rc), c.value) << c.kind;
    EXPECT_EQ(rc, c.rc) << c.kind;
  }
}

TEST_F(InitialValueTest, PurposeMappingOfAnUnknownComponent) {
  uint32_t rc = 0;
  EXPECT_EQ(Purpose("/DEVICE/X", ZARN_PURPOSE_TAG, &rc), "<untouched>");
  EXPECT_EQ(rc, ZARN_E_NO_PURPOSE_MAPPING);
  EXPECT_EQ(Purpose("/DEVICE/X", 7, &rc), "<untouched>");
  EXPECT_EQ(rc, ZARN_E_NO_PURPOSE_MAPPING);
}

TEST_F(InitialValueTest, NoCatalog) {
  LoadWithoutCatalog();
  uint32_t rc = 0;
  EXPECT_EQ(Value("/DEVICE/C", "v_plain", &rc), "<untouched>");
  EXPECT_EQ(rc, ZARN_E_NO_CATALOG);
  EXPECT_EQ(Purpose("/DEVICE/C", 0, &rc), "<untouched>");
  EXPECT_EQ(rc, ZARN_E_NO_CATALOG);
}

}  // namespace
}  // namespace zarn
