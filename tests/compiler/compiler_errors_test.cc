// Syntax errors with file and line, and sources that must neither crash nor hang.
#include <random>
#include <string>

#include "tests/compiler/compiler_fixture.h"

namespace zarnl {
namespace {

using CompilerErrorsTest = CompilerFixture;

struct ErrorCase {
  const char* source;
  const char* first_error;
};

TEST_F(CompilerErrorsTest, ReportsEachErrorKindWithFileAndLine) {
  const ErrorCase cases[] = {
      {"VARIABLE v {\n LABEL \"open;\n}", "dev.ddl:2: unterminated string literal"},
      {"\nVARIABLE v { LABEL @; }", "dev.ddl:2: unexpected character '@'"},
      {"VARIABLE v {\n LABEL \"x\";\n", "dev.ddl:1: missing '}' for '{' opened here"},
      {"MENU m {\n ITEMS { a, b }\n", "dev.ddl:1: missing '}' for '{' opened here"},
      {"\n\n42;", "dev.ddl:3: expected a definition, found '42'"},
      {"}", "dev.ddl:1: expected a definition, found '}'"},
      {"VARIABLE 7 { }", "dev.ddl:1: expected a name after VARIABLE"},
      {"MANUFACTURER ;", "dev.ddl:1: expected a value after MANUFACTURER"},
      {"VARIABLE v {\n LABEL ;\n}", "dev.ddl:2: missing value before ';'"},
      {"VARIABLE v { TYPE 5; }", "dev.ddl:1: expected a type name after TYPE"},
      {"VARIABLE v { TYPE INTEGER (2; }", "dev.ddl:1: missing ')' in TYPE size"},
      {"VARIABLE v { TYPE ENUMERATED { { 1; \"a\" } } }",
       "dev.ddl:1: expected ',' or '}' in enumeration entry, found ';'"},
      {"COMPONENT c {\n 5;\n}", "dev.ddl:2: unexpected '5'"},
      {"COMPONENT c { INITIAL_VALUES { a 5 } }", "dev.ddl:1: expected '=' after 'a' in INITIAL_VALUES"},
      {"COMPONENT c { PURPOSE_MAPPING { tag } }", "dev.ddl:1: expected a purpose after 'tag' in PURPOSE_MAPPING"},
      {"COMPONENT_RELATION r {\n RELATION_TYPE COUSIN;\n}", "dev.ddl:2: unknown relation type 'COUSIN'"},
      {"COMPONENT_RELATION r { COMPONENTS { a { REQUIRED_RANGES { v 1 } } } }",
       "dev.ddl:1: expected '{' after required range variable 'v'"},
      {"COMPONENT c { IF x { LABEL \"a\"; } }", "dev.ddl:1: expected '(' after IF"},
      {"COMPONENT c {\n#error wrong variant\n}", "dev.ddl:2: #error wrong variant"},
  };
  for (const ErrorCase& c : cases) {
    EXPECT_FALSE(Compile(c.source)) << c.source;
    EXPECT_EQ(FirstError(), c.first_error) << c.source;
  }
}

TEST_F(CompilerErrorsTest, ReportsErrorsInIncludedFilesThere) {
  File("part.h", "VARIABLE a { LABEL \"a\"; }\nVARIABLE b { LABEL $; }\n");
  EXPECT_FALSE(Compile("\n#include \"part.h\"\nVARIABLE c { LABEL \"c\"; }\n"));
  EXPECT_EQ(FirstError(), "part.h:2: unexpected character '$'");
}

TEST_F(CompilerErrorsTest, RecoversAndKeepsLaterDefinitions) {
  EXPECT_FALSE(Compile("VARIABLE a { LABEL ; }\n% junk %\nVARIABLE b { LABEL \"b\"; }\n"));
  EXPECT_EQ(X("//VARIABLE[@id='b']/LABEL/string"), "b");
}

TEST_F(CompilerErrorsTest, FailsWhenTheSourceCannotBeRead) {
  result_ = zarnl::Compile(dir_.Join("absent.ddl"), {}, nullptr);
  EXPECT_FALSE(result_.readable);
  EXPECT_EQ(FirstError(), "absent.ddl: cannot read source file");
}

TEST_F(CompilerErrorsTest, SurvivesGarbageAndUnbalancedInput) {
  std::mt19937 random(7);
  std::string garbage;
  for (int i = 0; i < 200000; ++i) garbage += static_cast<char>(random() & 0xFF);
  const std::string inputs[] = {
      garbage,
      std::string(50000, '{'),
      std::string(50000, '}'),
      "COMPONENT c " + std::string(20000, '{'),
      "VARIABLE v { TYPE ENUMERATED { " + std::string(30000, '{'),
      "COMPONENT c { " +
          [] {
            std::string s;
            for (int i = 0; i < 5000; ++i) s += "IF (x) { ";
            return s;
          }(),
      "COMPONENT c { LABEL " +
          [] {
            std::string s;
            for (int i = 0; i < 5000; ++i) s += "IF (x) { 1; } ELSE ";
            return s;
          }(),
      "/* never closed",
      "\"never closed",
      "#if 1\n#if 0\n",
      std::string("VARIABLE v { LABEL \"a\" \0; }", 27),
  };
  for (const std::string& input : inputs) {
    Compile(input);
    EXPECT_FALSE(result_.ok) << input.substr(0, 40);
    EXPECT_LE(Errors().size(), Diagnostics::kMaxErrors + 1);
    EXPECT_LE(Warnings().size(), Diagnostics::kMaxWarnings + 1);
  }
}

TEST_F(CompilerErrorsTest, CompilesHugeSourcesInOnePass) {
  std::string source(kHeader);
  for (int i = 0; i < 20000; ++i) {
    source += "VARIABLE v" + std::to_string(i) + " { LABEL \"|en|V|de|W\"; TYPE INTEGER (2) { DEFAULT_VALUE " +
              std::to_string(i) + "; } }\n";
  }
  ASSERT_TRUE(Compile(source)) << FirstError();
  EXPECT_EQ(Count("/ZARN_DEVICE/VARIABLE"), 20000u);
  EXPECT_EQ(X("//VARIABLE[@id='v19999']/@line"), "20001");
}

}  // namespace
}  // namespace zarnl
