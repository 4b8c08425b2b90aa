// Warnings with file and line for what the compiler reads past: unknown keywords,
// unknown type names and a missing ";". They neither fail a compile nor change
// the device XML.
#include <string>
#include <vector>

#include "tests/compiler/compiler_fixture.h"

namespace zarnl {
namespace {

using CompilerWarningsTest = CompilerFixture;
using Texts = std::vector<std::string>;

struct WarningCase {
  const char* source;
  Texts warnings;
};

TEST_F(CompilerWarningsTest, WarnsOfUnknownAttributesAndDefinitionKeywords) {
  const WarningCase cases[] = {
      {"COMPONENT c {\n CLASIFICATION SENSOR_PRESSURE;\n}",
       {"dev.ddl:2: warning: unknown attribute CLASIFICATION (did you mean CLASSIFICATION?)"}},
      {"VARIABLE v {\n LABLE \"x\"; FROBNICATE { a; };\n}",
       {"dev.ddl:2: warning: unknown attribute LABLE (did you mean LABEL?)",
        "dev.ddl:2: warning: unknown attribute FROBNICATE"}},
      {"VARIABLE v { TYPE INTEGER {\n DEFAULT_VALU 1; MIN_VALUE2 0;\n} }",
       {"dev.ddl:2: warning: unknown attribute DEFAULT_VALU (did you mean DEFAULT_VALUE?)"}},
      {"COMPONENT_REFERENCE r {\n DEVICE_REVISON 1;\n}",
       {"dev.ddl:2: warning: unknown attribute DEVICE_REVISON (did you mean DEVICE_REVISION?)"}},
      {"COMPONENT_RELATION r { COMPONENTS { a { AUTO_CRATE 1;\n REQUIRED_RANGES { v { MIN_VALU 1; } } } } }",
       {"dev.ddl:1: warning: unknown attribute AUTO_CRATE (did you mean AUTO_CREATE?)",
        "dev.ddl:2: warning: unknown attribute MIN_VALU (did you mean MIN_VALUE?)"}},
      {"\nVARIABEL v { LABEL \"x\"; }\nFROBNICATOR f { }",
       {"dev.ddl:2: warning: unknown definition keyword VARIABEL (did you mean VARIABLE?)",
        "dev.ddl:3: warning: unknown definition keyword FROBNICATOR"}},
      // The language's own keywords the compiler skips are no news.
      {"VARIABLE v { VALIDITY TRUE; POST_EDIT_ACTIONS { m }; TYPE INTEGER { DISPLAY_FORMAT \"3d\"; } }\n"
       "MENU m { ITEMS { v } }\nMETHOD m2 { DEFINITION { x = 1; } }\nVARIABLE w LIKE v { REDEFINE LABEL \"w\"; }",
       {}},
  };
  for (const WarningCase& c : cases) {
    EXPECT_TRUE(Compile(c.source)) << c.source << ": " << FirstError();
    EXPECT_EQ(Warnings(), c.warnings) << c.source;
  }
}

TEST_F(CompilerWarningsTest, WarnsOfUnknownTypeNamesAndKeepsThem) {
  EXPECT_TRUE(Compile("VARIABLE v {\n TYPE FLOT;\n}\nVARIABLE w { TYPE UNSIGNED_INTEGER (2); }"));
  EXPECT_EQ(Warnings(), Texts{"dev.ddl:2: warning: unknown type FLOT (did you mean FLOAT?)"});
  EXPECT_EQ(X("//VARIABLE[@id='v']/TYPE/@name"), "FLOT");
}

TEST_F(CompilerWarningsTest, RecoversFromAMissingSemicolonBeforeTheNextAttribute) {
  EXPECT_TRUE(
      Compile("VARIABLE v {\n LABEL \"a\"\n HELP \"b\";\n TYPE INTEGER\n HANDLING READ\n"
              " CLASS CONTAINED }\n"
              "COMPONENT c {\n PROTOCOL HART\n CLASSIFICATION SENSOR_PRESSURE;\n}"));
  EXPECT_EQ(
      Warnings(),
      (Texts{"dev.ddl:2: warning: missing ';' after LABEL", "dev.ddl:4: warning: missing ';' after TYPE",
             "dev.ddl:5: warning: missing ';' after HANDLING", "dev.ddl:8: warning: missing ';' after PROTOCOL"}));
  EXPECT_EQ(X("//VARIABLE/LABEL/string"), "a");
  EXPECT_EQ(X("//VARIABLE/HELP/string"), "b");
  EXPECT_EQ(X("//VARIABLE/TYPE/@name"), "INTEGER");
  EXPECT_EQ(X("//VARIABLE/HANDLING/reference/@ref"), "READ");
  EXPECT_EQ(X("//COMPONENT/PROTOCOL/@name"), "HART");
  EXPECT_EQ(X("//COMPONENT/CLASSIFICATION/@name"), "SENSOR_PRESSURE");
}

TEST_F(CompilerWarningsTest, ValuesGoingOnBelowAreNotCut) {
  EXPECT_TRUE(
      Compile("VARIABLE v {\n CLASS CONTAINED &\n DYNAMIC;\n HANDLING READ\n & WRITE;\n"
              " LABEL \"a\"\n \"b\";\n HELP [help_text];\n}"));
  EXPECT_EQ(Warnings(), Texts{});
  EXPECT_EQ(X("//VARIABLE/LABEL/string"), "ab");
  EXPECT_EQ(X("//VARIABLE/CLASS/expression"), "CONTAINED & DYNAMIC");
}

TEST_F(CompilerWarningsTest, LeaveTheResultAndTheDeviceXmlAlone) {
  const std::string clean = "COMPONENT c { LABEL \"c\"; }\nVARIABLE v { TYPE FLOAT; }\n";
  ASSERT_TRUE(Compile(kHeader + clean));
  const std::string expected = result_.device_xml;
  EXPECT_TRUE(Compile(std::string(kHeader) +
                      "COMPONENT c { LABEL \"c\"; CLASIFICATION X; }\nVARIABLE v { TYPE FLOAT; BOGUS 1; }\n"
                      "BOGUS_DEFINITION b { }\n"));
  EXPECT_EQ(Warnings().size(), 3u);
  EXPECT_EQ(Errors(), Texts{});
  EXPECT_EQ(result_.device_xml, expected);
}

TEST_F(CompilerWarningsTest, KeepsAtMostTheirLimitWithoutCrowdingOutErrors) {
  std::string source = "VARIABLE v {\n";
  for (size_t i = 0; i < Diagnostics::kMaxWarnings + 20; ++i) source += " BOGUS 1;\n";
  source += " LABEL ;\n}\n";
  EXPECT_FALSE(Compile(source));
  EXPECT_EQ(result_.diagnostics.WarningCount(), Diagnostics::kMaxWarnings + 20);
  const Texts warnings = Warnings();
  ASSERT_EQ(warnings.size(), Diagnostics::kMaxWarnings + 1);
  EXPECT_EQ(warnings.back(), "dev.ddl:102: warning: too many warnings; further warnings not shown");
  EXPECT_EQ(Errors(), Texts{"dev.ddl:122: missing value before ';'"});
}

}  // namespace
}  // namespace zarnl
