#include "conversion/source_identifier.h"

#include <gtest/gtest.h>

#include "external/compiler_library.h"
#include "platform/paths.h"
#include "tests/support/test_support.h"

namespace zarn {
namespace {

using testing::ScratchDir;
using testing::SourceDir;
using testing::WriteFile;

// Identification texts and result as one comparable line.
std::string Describe(int32_t result, const SourceIdentity& id) {
  return std::to_string(result) + " [" + id.manufacturer + "|" + id.deviceType + "|" + id.deviceRevision + "|" +
         id.ddRevision + "]";
}

class SourceIdentifierTest : public ::testing::Test {
 protected:
  // Builds the identifier from a device configuration file with `config`.
  void UseConfig(const std::string& config) {
    const std::string path = scratch_.Join("Device/HV__DEV01.cfg");
    ASSERT_TRUE(WriteFile(path, config));
    identifier_ = SourceIdentifier(path);
  }
  std::string Scan(const std::string& text, bool translate = false) {
    SourceIdentity id;
    const int32_t result = identifier_.ScanPreprocessedText(text, translate, &id);
    return Describe(result, id);
  }
  std::string Lookup(const std::string& manufacturer, const std::string& type) {
    std::string out = "<none>";
    identifier_.LookupDeviceType(manufacturer, type, &out);
    return out;
  }

  ScratchDir scratch_;
  SourceIdentifier identifier_{""};
};

struct IncludeCase {
  const char* source;
  const char* extra;
  const char* expected;
};

constexpr IncludeCase kIncludeCases[] = {
    {"/w/zarn_catalog/DEVICE/P/M/d.ddl", "",
     ";/w/zarn_catalog/DEVICE/P/M;/w/zarn_catalog/DEVICE/P;/w/zarn_catalog/DEVICE/P/_global;"
     "/w/zarn_catalog/DEVICE;/w/zarn_catalog/DEVICE/_global;/w/zarn_catalog;/w/zarn_catalog/_global;"},
    // Outside a catalog the walk goes up to the root.
    {"/src/lib/d.ddl", "", ";/src/lib;/src;/src/_global;/;/_global;"},
    // The catalog directory is recognised in any case but compared exactly: the walk
    // then does not stop there.
    {"/w/ZARN_CATALOG/x/d.ddl", "",
     ";/w/ZARN_CATALOG/x;/w/ZARN_CATALOG;/w/ZARN_CATALOG/_global;/w;/w/_global;/;/_global;"},
    // A catalog directory at the very start is no stop directory.
    {"/zarn_catalog/a/d.ddl", "", ";/zarn_catalog/a;/zarn_catalog;/zarn_catalog/_global;/;/_global;"},
    // Each extra entry contributes its ancestors (not itself); empty entries are skipped.
    {"/w/zarn_catalog/DEVICE/d.ddl", ";/w/zarn_catalog/inc/x;;",
     ";/w/zarn_catalog/DEVICE;/w/zarn_catalog;/w/zarn_catalog/_global;"
     ";/w/zarn_catalog/inc;/w/zarn_catalog/inc/_global;/w/zarn_catalog;/w/zarn_catalog/_global;"},
    {"d.ddl", "", ";;"},
};

TEST_F(SourceIdentifierTest, IncludePath) {
  for (const IncludeCase& c : kIncludeCases) {
    EXPECT_EQ(c.expected, BuildIncludePath(c.source, c.extra)) << c.source << " + " << c.extra;
  }
}

struct ScanCase {
  const char* name;
  const char* text;
  const char* expected;
};

constexpr ScanCase kScanCases[] = {
    {"one line", "MANUFACTURER 0x2A, DEVICE_TYPE 0x1234, DEVICE_REVISION 2, DD_REVISION 1", "0 [0x2A|0x1234|2|1]"},
    {"several lines", "\n\nMANUFACTURER 0x2A,\n  DEVICE_TYPE 0x1234,\r\n\tDEVICE_REVISION 2,\nDD_REVISION 1\n",
     "0 [0x2A|0x1234|2|1]"},
    {"dd revision in a block comment",
     "MANUFACTURER 0x2A, DEVICE_TYPE 0x1234, DEVICE_REVISION 2 /* DD_REVISION 1 */\nVARIABLE x {}",
     "-1 [0x2A|0x1234|2|]"},
    {"block comment over four lines",
     "MANUFACTURER 0x2A, DEVICE_TYPE 0x1234 /* DEVICE_REVISION 7\nDEVICE_REVISION 8\nDD_REVISION 9\n"
     "DD_REVISION 9 */ DEVICE_REVISION 2, DD_REVISION 1",
     "0 [0x2A|0x1234|2|1]"},
    {"line comment",
     "MANUFACTURER 0x2A, DEVICE_TYPE 0x1234, // DEVICE_REVISION 5, DD_REVISION 5\n"
     "DEVICE_REVISION 2, DD_REVISION 1",
     "0 [0x2A|0x1234|2|1]"},
    {"no device revision", "MANUFACTURER 0x2A, DEVICE_TYPE 0x1234, DD_REVISION 1\nVARIABLE v { LABEL \"v\"; }",
     "-1 [0x2A|0x1234||1]"},
    {"empty text", "", "-1 [|||]"},
    {"manufacturer may be missing", "DEVICE_TYPE 17, DEVICE_REVISION 2, DD_REVISION 1", "0 [|17|2|1]"},
    {"device type neither number nor name", "DEVICE_TYPE 12-3, DEVICE_REVISION 2, DD_REVISION 1", "-1 [||2|1]"},
    {"device type name kept untranslated", "DEVICE_TYPE ZX_CORIOLIS_900, DEVICE_REVISION 3, DD_REVISION 1",
     "0 [|ZX_CORIOLIS_900|3|1]"},
    {"longer identifiers are not keywords",
     "MY_DEVICE_TYPE 9, DEVICE_TYPES 9, DEVICE_TYPE 0x10, DEVICE_REVISION 1, DD_REVISION 1", "0 [|0x10|1|1]"},
    {"scan stops once complete", "DEVICE_TYPE 0x10, DEVICE_REVISION 1, DD_REVISION 1\nMANUFACTURER 0x99",
     "0 [|0x10|1|1]"},
    {"later lines override before completion", "DEVICE_TYPE 0x10, DEVICE_REVISION 1\nDEVICE_REVISION 4, DD_REVISION 2",
     "0 [|0x10|4|2]"},
};

TEST_F(SourceIdentifierTest, Scan) {
  for (const ScanCase& c : kScanCases) {
    EXPECT_EQ(c.expected, Scan(c.text)) << c.name;
  }
}

constexpr const char* kConfig =
    "MANUFACTURER 0x00F1 = Zentrifex Messtechnik\n"
    "DEVICE_TYPE 0x0A5C = ZX_CORIOLIS_900\n"
    "  DEVICE_TYPE 0xBEEF = 0xF1A5\n"
    "MANUFACTURER 0x00F2 = Never Read\n"
    "DEVICE_TYPE 0x01 = orphan\n"
    "\n"
    "MANUFACTURER 0x00F4 = Brennvik Automation\n"
    "DEVICE_TYPE 0x7 = rio\n";

TEST_F(SourceIdentifierTest, ConfigurationTables) {
  UseConfig(kConfig);
  // The line ending a block is not examined, so the second manufacturer is lost.
  const std::map<std::string, std::string> names = {{"241", "Zentrifex Messtechnik"}, {"244", "Brennvik Automation"}};
  EXPECT_EQ(names, identifier_.manufacturerNames());
  const SourceIdentifier::DeviceTypeTables tables = {
      {"Zentrifex Messtechnik", {{"a5c", "ZX_CORIOLIS_900"}, {"beef", "0xF1A5"}}},
      {"Brennvik Automation", {{"07", "rio"}}}};
  EXPECT_EQ(tables, identifier_.deviceTypeTables());
}

TEST_F(SourceIdentifierTest, MissingConfigurationGivesEmptyTables) {
  identifier_ = SourceIdentifier(scratch_.Join("absent.cfg"));
  EXPECT_TRUE(identifier_.manufacturerNames().empty());
  EXPECT_TRUE(identifier_.deviceTypeTables().empty());
}

TEST_F(SourceIdentifierTest, DeviceTypeLookup) {
  UseConfig(kConfig);
  EXPECT_EQ("0xF1A5", Lookup("Zentrifex Messtechnik", "beef"));
  EXPECT_EQ("0xF1A5", Lookup("241", "beef"));
  EXPECT_EQ("0xF1A5", Lookup("0x00F1", "beef"));
  EXPECT_EQ("rio", Lookup("0xF4", "07"));
  EXPECT_EQ("<none>", Lookup("0x00F2", "01"));
  EXPECT_EQ("<none>", Lookup("0x00F1", "ZX_CORIOLIS_900"));
  EXPECT_EQ("<none>", Lookup("Nobody", "beef"));
}

TEST_F(SourceIdentifierTest, ScanTranslatesNamesOnRequest) {
  UseConfig(kConfig);
  const std::string header = "MANUFACTURER 0x00F1, DEVICE_TYPE beef, DEVICE_REVISION 3, DD_REVISION 1";
  EXPECT_EQ("0 [0x00F1|0xF1A5|3|1]", Scan(header, true));
  EXPECT_EQ("0 [0x00F1|beef|3|1]", Scan(header, false));
  // Numbers are never translated; a name without an entry gives no device type.
  EXPECT_EQ("0 [0x00F1|0xBEEF|3|1]",
            Scan("MANUFACTURER 0x00F1, DEVICE_TYPE 0xBEEF, DEVICE_REVISION 3, DD_REVISION 1", true));
  EXPECT_EQ("-1 [0x00F1||3|1]", Scan("MANUFACTURER 0x00F1, DEVICE_TYPE cafe, DEVICE_REVISION 3, DD_REVISION 1", true));
}

TEST_F(SourceIdentifierTest, MissingSourceLeavesOutputsUnchanged) {
  std::string m = "m", t = "t", r = "r", d = "d";
  EXPECT_EQ(-1, identifier_.IdentifySource(scratch_.Join("none.ddl"), &m, &t, &r, &d, "", false));
  EXPECT_EQ(-1, identifier_.IdentifySource(scratch_.path(), &m, &t, &r, &d, "", false));
  EXPECT_EQ("m t r d", m + " " + t + " " + r + " " + d);
}

// Identification of the sample library through the real compiler library.
class SourceIdentifierSampleTest : public SourceIdentifierTest {
 protected:
  void SetUp() override {
    if (!CompilerLibrary::Instance().available()) GTEST_SKIP() << "compiler library not built";
  }
  std::string Identify(const std::string& relative) {
    SourceIdentity id;
    const std::string path = JoinPath(JoinPath(SourceDir(), "examples/devices"), relative);
    const int32_t result = identifier_.IdentifySource(path, &id.manufacturer, &id.deviceType, &id.deviceRevision,
                                                      &id.ddRevision, "", false);
    return Describe(result, id);
  }
};

struct SampleCase {
  const char* source;
  const char* expected;
};

constexpr SampleCase kSamples[] = {
    {"hart/zentrifex/coriolis_cfm900.ddl", "0 [0x00F1|ZX_CORIOLIS_900|3|1]"},
    {"hart/zentrifex/magflow_emf300.ddl", "0 [0x00F1|0xF1B2|2|4]"},
    {"hart/quellmark/temperature_tt420.ddl", "0 [0x00F3|0xF342|5|1]"},
    {"hart/quellmark/radar_level_lr80.ddl", "0 [0x00F3|0xF380|1|3]"},
    {"hart/tarvona/positioner_vp25.ddl", "0 [0x00F5|0xF525|4|2]"},
    {"ff/zentrifex/coriolis_cfm900_ff.ddl", "0 [0x0000F1|0xF1A6|1|2]"},
    {"ff/quellmark/analyzer_ph7.ddl", "0 [0x0000F3|0xF307|2|1]"},
    {"profibus_pa/halvora/pressure_pd600.ddl", "0 [0x00F2|0xF260|1|1]"},
    {"profibus_pa/halvora/pressure_pd610.ddl", "0 [0x00F2|0xF261|2|1]"},
    {"profibus_pa/tarvona/actuator_ea40.ddl", "0 [0x00F5|0xF540|1|1]"},
    {"profibus_dp/brennvik/remote_io_rio8.ddl", "0 [0x00F4|0xF408|1|1]"},
    {"profibus_dp/brennvik/modules/ai4_module.mdd", "0 [0x00F4|0xF481|1|1]"},
    {"profibus_dp/brennvik/modules/do8_module.mdd", "0 [0x00F4|0xF482|1|1]"},
};

TEST_F(SourceIdentifierSampleTest, SampleLibrary) {
  for (const SampleCase& c : kSamples) {
    EXPECT_EQ(c.expected, Identify(c.source)) << c.source;
  }
}

TEST_F(SourceIdentifierSampleTest, MissingIncludeFailsInThePreprocessor) {
  // The preprocessor fails, so the outputs stay as they were (empty).
  const std::string result = Identify("broken/missing_include.ddl");
  EXPECT_NE(0u, result.rfind("0 ", 0)) << result;
  EXPECT_EQ("[|||]", result.substr(result.find('['))) << result;
}

}  // namespace
}  // namespace zarn
