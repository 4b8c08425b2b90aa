// Compiling sources into device XML: identification, variables, components,
// relations, strings, conditioned marks and skipped definitions.
#include <string>

#include "tests/compiler/compiler_fixture.h"

namespace zarnl {
namespace {

using CompilerTest = CompilerFixture;

TEST_F(CompilerTest, ReadsIdentificationInAnyOrder) {
  ASSERT_TRUE(Compile("DD_REVISION 3,\nDEVICE_REVISION 0x10, MANUFACTURER 0x00002A,\nDEVICE_TYPE 17"));
  EXPECT_EQ(X("/ZARN_DEVICE/SOURCE/@name"), "dev.ddl");
  EXPECT_EQ(X("//IDENTIFICATION/MANUFACTURER/@name"), "0x00002A");
  EXPECT_EQ(X("//IDENTIFICATION/MANUFACTURER/@value"), "42");
  EXPECT_EQ(X("//IDENTIFICATION/DEVICE_TYPE/@hex"), "0x0011");
  EXPECT_EQ(X("//IDENTIFICATION/DEVICE_REVISION/@value"), "16");
  EXPECT_EQ(X("//IDENTIFICATION/DD_REVISION/@value"), "3");
}

// A description without COMPONENT: its definitions or its manufacturer number tell
// the protocol it belongs to; a COMPONENT names its own and no note is written.
TEST_F(CompilerTest, PlainDescriptionsNoteTheProtocolTheirDefinitionsTell) {
  const struct {
    const char* header;
    const char* body;
    const char* protocol;  // "<none>" = no note
  } cases[] = {
      {"MANUFACTURER 0x2A, DEVICE_TYPE 1, DEVICE_REVISION 1, DD_REVISION 1\n",
       "BLOCK b { CHARACTERISTICS c; PARAMETERS { P, p; } }", "FF"},
      {"MANUFACTURER 0x2A, DEVICE_TYPE 1, DEVICE_REVISION 1, DD_REVISION 1\n",
       "COMMAND c { NUMBER 3; OPERATION READ; TRANSACTION { REPLY { x } } }", "HART"},
      {"MANUFACTURER 0x2A, DEVICE_TYPE 1, DEVICE_REVISION 1, DD_REVISION 1\n",
       "COMMAND c { SLOT 1; INDEX 20; OPERATION READ; TRANSACTION { REPLY { x } } }", "PROFIBUS"},
      {"MANUFACTURER 0x10FF00, DEVICE_TYPE 1, DEVICE_REVISION 1, DD_REVISION 1\n", "VARIABLE v { TYPE FLOAT; }", "FF"},
      {"MANUFACTURER 0x2A, DEVICE_TYPE 1, DEVICE_REVISION 1, DD_REVISION 1\n", "VARIABLE v { TYPE FLOAT; }", "<none>"},
      {"MANUFACTURER 0x10FF00, DEVICE_TYPE 1, DEVICE_REVISION 1, DD_REVISION 1\n",
       "COMPONENT dev { PROTOCOL HART; } BLOCK b { }", "<none>"},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(Compile(std::string(c.header) + c.body)) << c.body;
    EXPECT_EQ(X("//IDENTIFICATION/PROTOCOL/@name"), c.protocol) << c.body;
  }
}

TEST_F(CompilerTest, ResolvesDeviceTypeNamesThroughConfiguration) {
  DeviceConfiguration configuration;
  configuration.Parse(
      "MANUFACTURER 0x2A = Example\nDEVICE_TYPE 0x12 = PT100\nDEVICE_TYPE 0x13 = FLOW\n"
      "\nMANUFACTURER 0x2B = Other\nDEVICE_TYPE 0x99 = PT100\n");
  ASSERT_TRUE(
      Compile("MANUFACTURER 0x2A, DEVICE_TYPE PT100, DEVICE_REVISION 1, DD_REVISION 1\n"
              "COMPONENT_REFERENCE r { MANUFACTURER 0x2B; DEVICE_TYPE PT100; DEVICE_REVISION 1; }\n"
              "COMPONENT_REFERENCE s { DEVICE_TYPE UNKNOWN; }",
              &configuration));
  EXPECT_EQ(X("//IDENTIFICATION/DEVICE_TYPE/@name"), "PT100");
  EXPECT_EQ(X("//IDENTIFICATION/DEVICE_TYPE/@hex"), "0x0012");
  EXPECT_EQ(X("//COMPONENT_REFERENCE[@id='r']/DEVICE_TYPE/@value"), "153");
  EXPECT_EQ(X("//COMPONENT_REFERENCE[@id='r']/MANUFACTURER/@hex"), "0x002b");
  EXPECT_EQ(Count("//COMPONENT_REFERENCE[@id='s']/DEVICE_TYPE/@value"), 0u);
}

TEST_F(CompilerTest, WritesVariables) {
  ASSERT_TRUE(
      Compile(std::string(kHeader) +
              "VARIABLE p {\n LABEL \"|en|Pressure|de|Druck\"; HELP [help_p];\n"
              " CLASS DEVICE & DYNAMIC; HANDLING READ;\n"
              " TYPE FLOAT { DEFAULT_VALUE -1.5; INITIAL_VALUE 2e3; MIN_VALUE -10; MAX_VALUE 0x64;"
              " MIN_VALUE2 1; UNKNOWN_THING { x } }\n"
              " CONSTANT_UNIT \"bar\"; VALIDITY IF (a) { TRUE; } ELSE { FALSE; }\n}\n"
              "VARIABLE e { TYPE BIT_ENUMERATED (2) { { 0x01, \"|de|Eins|en|One\", \"h\", x }, { 2, [two] } } }\n"
              "VARIABLE s { TYPE ASCII (32); }\n"
              "VARIABLE i { TYPE INDEX (2) list_of_things; HANDLING READ; }\n"
              "VARIABLE h { TYPE ENUMERATED { { 1, \"a\" } } HANDLING SELECT (m) { CASE 1: READ; } }\n"));
  EXPECT_EQ(X("//VARIABLE[@id='p']/@line"), "2");
  EXPECT_EQ(X("//VARIABLE[@id='p']/LABEL/string[not(@lang)]"), "Pressure");
  EXPECT_EQ(X("//VARIABLE[@id='p']/LABEL/string[@lang='de']"), "Druck");
  EXPECT_EQ(X("//VARIABLE[@id='p']/HELP/dictionary_ref/@ref"), "help_p");
  EXPECT_EQ(X("//VARIABLE[@id='p']/CLASS/expression"), "DEVICE & DYNAMIC");
  EXPECT_EQ(X("//VARIABLE[@id='p']/HANDLING/reference/@ref"), "READ");
  EXPECT_EQ(X("//VARIABLE[@id='p']/TYPE/@name"), "FLOAT");
  EXPECT_EQ(Count("//VARIABLE[@id='p']/TYPE/@size"), 0u);
  EXPECT_EQ(X("//VARIABLE[@id='p']/TYPE/DEFAULT_VALUE/float"), "-1.5");
  EXPECT_EQ(X("//VARIABLE[@id='p']/TYPE/INITIAL_VALUE/float"), "2e3");
  EXPECT_EQ(X("//VARIABLE[@id='p']/TYPE/MIN_VALUE/integer"), "-10");
  EXPECT_EQ(X("//VARIABLE[@id='p']/TYPE/MAX_VALUE/integer"), "100");
  EXPECT_EQ(X("//VARIABLE[@id='p']/TYPE/MIN_VALUE2/integer"), "1");
  EXPECT_EQ(Count("//VARIABLE[@id='p']/*"), 5u);  // LABEL HELP CLASS HANDLING TYPE
  EXPECT_EQ(X("//VARIABLE[@id='e']/TYPE/@size"), "2");
  EXPECT_EQ(X("//VARIABLE[@id='e']/TYPE/ENUMERATION[1]/integer"), "1");
  EXPECT_EQ(X("//VARIABLE[@id='e']/TYPE/ENUMERATION[1]/LABEL/string[not(@lang)]"), "One");
  EXPECT_EQ(X("//VARIABLE[@id='e']/TYPE/ENUMERATION[1]/LABEL/string[@lang='de']"), "Eins");
  EXPECT_EQ(X("//VARIABLE[@id='e']/TYPE/ENUMERATION[1]/HELP/string"), "h");
  EXPECT_EQ(X("//VARIABLE[@id='e']/TYPE/ENUMERATION[2]/LABEL/dictionary_ref/@ref"), "two");
  EXPECT_EQ(X("//VARIABLE[@id='s']/TYPE/@size"), "32");
  EXPECT_EQ(X("//VARIABLE[@id='i']/HANDLING/reference/@ref"), "READ");
  EXPECT_EQ(X("//VARIABLE[@id='h']/HANDLING/@conditioned"), "true");
}

struct StringCase {
  const char* literal;
  const char* default_text;
  const char* de_text;  // "<none>" when there is no German text
  size_t count;
};

TEST_F(CompilerTest, SplitsStringsByLanguage) {
  const StringCase cases[] = {
      {"\"plain\"", "plain", "<none>", 1},
      {"\"|en|Pressure|de|Druck\"", "Pressure", "Druck", 2},
      {"\"|de|Druck|en|Pressure|fr|Pression\"", "Pressure", "Druck", 3},
      {"\"|de|Nur deutsch\"", "Nur deutsch", "<none>", 1},
      {"\"Default|de|Standard|en|English\"", "Default", "Standard", 3},
      {"\"|en|A\" \"B|de|C\"", "AB", "C", 2},
      {"\"tab\\tq\\\"\\x41\\101\"", "tab\tq\"AA", "<none>", 1},
      {"\"a|b|c\"", "a|b|c", "<none>", 1},
      {"\"<&>\"", "<&>", "<none>", 1},
  };
  for (const StringCase& c : cases) {
    ASSERT_TRUE(Compile(std::string("VARIABLE v { LABEL ") + c.literal + "; }")) << c.literal;
    EXPECT_EQ(X("//LABEL/string[not(@lang)]"), c.default_text) << c.literal;
    EXPECT_EQ(X("//LABEL/string[@lang='de']"), c.de_text) << c.literal;
    EXPECT_EQ(Count("//LABEL/string"), c.count) << c.literal;
  }
}

TEST_F(CompilerTest, WritesComponentsFoldersAndReferences) {
  ASSERT_TRUE(Compile(std::string(kHeader) +
                      "COMPONENT_FOLDER f { LABEL \"Folder\"; PROTOCOL HART; CLASSIFICATION SENSOR_PRESSURE;"
                      " COMPONENT_PATH \"Pressure/Transmitters\"; }\n"
                      "COMPONENT dev {\n LABEL \"|en|Device|de|Gerät\"; HELP \"h\"; PRODUCT_URI \"urn:x\";\n"
                      " PROTOCOL HART; CLASSIFICATION NET_PROFIBUS; COMPONENT_PARENT f;\n"
                      " COMPONENT_RELATIONS { r1, r2 }\n"
                      " INITIAL_VALUES { unit = 7, tag = \"|en|TT|de|MS\"; blk.param[2] = -3 }\n"
                      " PURPOSE_MAPPING { tag PURPOSE_TAG, descr PURPOSE_DESCRIPTION }\n"
                      " CAN_DELETE TRUE; DETECT detect_method; CHECK_CONFIGURATION FALSE; SCAN scan;\n"
                      " EDD \"module.ddl\"; IMAGE \"dev.png\"; DEVICE_MANUAL \"dev.pdf\";\n"
                      " GSD { \"ZARN80F3.gsd\", \"ZARN0A1B.gsd\" }\n}\n"
                      "COMPONENT_REFERENCE ref { MANUFACTURER 0x2A; DEVICE_TYPE 0x99; DEVICE_REVISION 3;"
                      " PROTOCOL HART; CLASSIFICATION SENSOR_PRESSURE; COMPONENT_PATH \"M\"; COMPONENT_PARENT f; }\n"));
  EXPECT_EQ(X("//COMPONENT_FOLDER[@id='f']/COMPONENT_PATH/@name"), "Pressure/Transmitters");
  EXPECT_EQ(X("//COMPONENT_FOLDER[@id='f']/PROTOCOL/@name"), "HART");
  const std::string c = "//COMPONENT[@id='dev']/";
  EXPECT_EQ(X(c + "LABEL/string[@lang='de']"), "Gerät");
  EXPECT_EQ(X(c + "PRODUCT_URI/string"), "urn:x");
  EXPECT_EQ(X(c + "CLASSIFICATION/@name"), "NET_PROFIBUS");
  EXPECT_EQ(X(c + "COMPONENT_PARENT/@refid"), "f");
  EXPECT_EQ(X(c + "COMPONENT_RELATIONS/relation_ref[2]/@ref"), "r2");
  EXPECT_EQ(X(c + "INITIAL_VALUES/initial_value[variable_ref/@ref='unit']/integer"), "7");
  EXPECT_EQ(X(c + "INITIAL_VALUES/initial_value[variable_ref/@ref='tag']/string[not(@lang)]"), "TT");
  EXPECT_EQ(X(c + "INITIAL_VALUES/initial_value[variable_ref/@ref='tag']/string[@lang='de']"), "MS");
  EXPECT_EQ(X(c + "INITIAL_VALUES/initial_value[3]/variable_ref/@ref"), "blk.param[2]");
  EXPECT_EQ(X(c + "INITIAL_VALUES/initial_value[3]/integer"), "-3");
  EXPECT_EQ(X(c + "PURPOSE_MAPPING/string[text()='PURPOSE_DESCRIPTION']/preceding-sibling::*[1]/@ref"), "descr");
  EXPECT_EQ(X(c + "CAN_DELETE/boolean"), "true");
  EXPECT_EQ(X(c + "DETECT/reference/@ref"), "detect_method");
  EXPECT_EQ(X(c + "EDD/string"), "module.ddl");
  EXPECT_EQ(X(c + "GSD/string[2]"), "ZARN0A1B.gsd");
  EXPECT_EQ(X("//COMPONENT_REFERENCE[@id='ref']/DEVICE_TYPE/@hex"), "0x0099");
  EXPECT_EQ(X("//COMPONENT_REFERENCE[@id='ref']/COMPONENT_PARENT/@refid"), "f");
}

TEST_F(CompilerTest, WritesRelationsInTheRelationGrammar) {
  ASSERT_TRUE(
      Compile(std::string(kHeader) +
              "COMPONENT_RELATION r {\n LABEL \"Modules\"; RELATION_TYPE CHILD_COMPONENT;\n"
              " COMPONENTS {\n  io { AUTO_CREATE 1; AUTO_CREATE_NODELETE 0; MINIMUM_NUMBER 0; MAXIMUM_NUMBER 4;\n"
              "   REQUIRED_RANGES { slot { MIN_VALUE 1; MAX_VALUE 4; MIN_VALUE1 7; MAX_VALUE1 9; },"
              " kind { MIN_VALUE 0; } } },\n  spare\n }\n"
              " MINIMUM_NUMBER 0; MAXIMUM_NUMBER 8; ADDRESSING { slot, sub }\n}\n"));
  const std::string r = "//COMPONENT_RELATION[@id='r']/";
  EXPECT_EQ(Count(r + "RELATION_TYPE/CHILD_COMPONENT"), 1u);
  EXPECT_EQ(X(r + "MAXIMUM_NUMBER/integer"), "8");
  EXPECT_EQ(X(r + "ADDRESSING/variable_ref[2]/@ref"), "sub");
  EXPECT_EQ(Count(r + "COMPONENTS/component"), 2u);
  EXPECT_EQ(X(r + "COMPONENTS/component[1]/*[1]/@ref"), "io");
  EXPECT_EQ(X(r + "COMPONENTS/component[2]/component_ref/@ref"), "spare");
  const std::string io = r + "COMPONENTS/component[1]/";
  EXPECT_EQ(X(io + "AUTO_CREATE/integer"), "1");
  EXPECT_EQ(X(io + "MAXIMUM_NUMBER/integer"), "4");
  EXPECT_EQ(Count(io + "REQUIRED_RANGES/required_range"), 2u);
  EXPECT_EQ(X(io + "REQUIRED_RANGES/required_range[1]/*[1]/@ref"), "slot");
  EXPECT_EQ(X(io + "REQUIRED_RANGES/required_range[1]/MAX_VALUE/integer"), "4");
  EXPECT_EQ(X(io + "REQUIRED_RANGES/required_range[1]/MIN_VALUE1/integer"), "7");
  EXPECT_EQ(X(io + "REQUIRED_RANGES/required_range[2]/variable_ref/@ref"), "kind");
}

TEST_F(CompilerTest, MarksConditionedValuesWithoutEvaluating) {
  ASSERT_TRUE(Compile(std::string(kHeader) +
                      "COMPONENT c {\n LABEL IF (x == 1) { \"a\"; } ELSE { \"b\"; }\n"
                      " IF (y) { PROTOCOL HART; } ELSE IF (z) { PROTOCOL FF; } ELSE { PROTOCOL GENERIC; }\n"
                      " SELECT (m) { CASE 1: IMAGE \"one.png\"; DEFAULT: IMAGE \"other.png\"; }\n"
                      " INITIAL_VALUES { a = 1, IF (q) { b = 2 } }\n}\n"
                      "COMPONENT_RELATION r { RELATION_TYPE CHILD_COMPONENT;\n"
                      " COMPONENTS { io { REQUIRED_RANGES { slot { MIN_VALUE 1;"
                      " MAX_VALUE SELECT (k) { CASE 1: 4; DEFAULT: 8; } } } }, IF (opt) { extra } }\n"
                      " MAXIMUM_NUMBER IF (big) { 16; } ELSE { 8; }\n}\n"));
  EXPECT_EQ(X("//COMPONENT/LABEL/@conditioned"), "true");
  EXPECT_EQ(Count("//COMPONENT/LABEL/*"), 0u);
  EXPECT_EQ(Count("//COMPONENT/PROTOCOL[@conditioned='true']"), 3u);
  EXPECT_EQ(X("//COMPONENT/PROTOCOL[3]/@name"), "GENERIC");
  EXPECT_EQ(Count("//COMPONENT/IMAGE[@conditioned='true']"), 2u);
  EXPECT_EQ(Count("//initial_value[@conditioned]"), 1u);
  EXPECT_EQ(X("//initial_value[@conditioned='true']/integer"), "2");
  EXPECT_EQ(Count("//required_range/MIN_VALUE[@conditioned]"), 0u);
  EXPECT_EQ(X("//required_range/MAX_VALUE/@conditioned"), "true");
  EXPECT_EQ(X("//component[component_ref/@ref='extra']/@conditioned"), "true");
  EXPECT_EQ(Count("//component[component_ref/@ref='io'][@conditioned]"), 0u);
  EXPECT_EQ(X("//COMPONENT_RELATION/MAXIMUM_NUMBER/@conditioned"), "true");
}

TEST_F(CompilerTest, SkipsOtherDefinitionsWhole) {
  ASSERT_TRUE(Compile(std::string(kHeader) +
                      "IMPORT MANUFACTURER 0x99, DEVICE_TYPE 0x1, DEVICE_REVISION 1, DD_REVISION 1"
                      " { EVERYTHING; REDEFINITIONS { VARIABLE q { LABEL \"no\"; } } }\n"
                      "MENU m { LABEL \"}\"; ITEMS { a, b /* } */, \"{\" } }\n"
                      "METHOD go { DEFINITION { int i; for (i = 0; i < 3; i++) { x[i] = '}'; } } }\n"
                      "VARIABLE v2 LIKE VARIABLE v { REDEFINE LABEL \"x\"; }\n"
                      "REDEFINE VARIABLE w { LABEL \"y\"; }\n"
                      "COLLECTION OF VARIABLE col { MEMBERS { A, a; } }\n"
                      "UNIT u { a : b c }\n"
                      "VARIABLE kept { LABEL \"kept\"; }\n"));
  EXPECT_EQ(X("//IDENTIFICATION/MANUFACTURER/@value"), "42");
  EXPECT_EQ(Count("/ZARN_DEVICE/*"), 3u);  // SOURCE, IDENTIFICATION, VARIABLE kept
  EXPECT_EQ(X("//VARIABLE/@id"), "kept");
}

TEST_F(CompilerTest, CompilesAnIncludedMacroHeavySource) {
  File("_global/std.h",
       "#define STD_VAR(n, t, l) VARIABLE n { LABEL l; TYPE t; }\n"
       "#define REL(name, child) COMPONENT_RELATION name { RELATION_TYPE CHILD_COMPONENT; "
       "COMPONENTS { child } }\n");
  ASSERT_TRUE(Compile("#include \"_global/std.h\"\n" + std::string(kHeader) +
                      "STD_VAR(a, INTEGER, \"A\")\nSTD_VAR(b, FLOAT, \"|de|B\")\nREL(r, a_mod)\n"));
  EXPECT_EQ(X("//VARIABLE[@id='b']/@line"), "4");
  EXPECT_EQ(X("//VARIABLE[@id='b']/LABEL/string"), "B");
  EXPECT_EQ(X("//COMPONENT_RELATION/COMPONENTS/component/component_ref/@ref"), "a_mod");
}

}  // namespace
}  // namespace zarnl
