#include "libs/devices_converter/gsd_reader.h"

#include <gtest/gtest.h>

#include "libs/devices_converter/gsd_station.h"

namespace zarn::converters {
namespace {

class GsdReaderTest : public ::testing::Test {
 protected:
  GsdParseResult Parse(const std::string& body) { return ParseGsd("#Profibus_DP\n" + body); }
  // The value of the first top-level keyword, or "<none>".
  std::string Value(const std::string& body, const std::string& keyword) {
    const GsdParseResult r = Parse(body);
    const GsdEntry* e = FindGsdEntry(r.file.entries, keyword);
    return e != nullptr ? e->value : "<none>";
  }
  // "line: error" of a failing parse, "ok" otherwise.
  std::string Error(const std::string& text) {
    const GsdParseResult r = ParseGsd(text);
    return r.ok ? "ok" : std::to_string(r.error_line) + ": " + r.error;
  }
};

TEST_F(GsdReaderTest, ValuesWithCommentsQuotesAndContinuations) {
  EXPECT_EQ("\"A;B\"", Value("Model_Name = \"A;B\" ; comment\n", "Model_Name"));
  EXPECT_EQ("0x80F3", Value("ident_number=0x80F3\n", "Ident_Number"));
  EXPECT_EQ("\"one two\"", Value("Info_Text = \"one \\\n two\"\n", "Info_Text"));
  EXPECT_EQ("1,2,3", Value("User_Prm_Data = 1,\\\n2,\\\n3\n", "User_Prm_Data"));
  EXPECT_EQ("12@Pressure", Value("\r\n; only a comment\r\nSlave_Family = 12@Pressure\r\n", "Slave_Family"));
}

TEST_F(GsdReaderTest, IndexedKeywords) {
  const GsdParseResult r = Parse("Ext_User_Prm_Data_Ref( 3 ) = 7\n");
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(1u, r.file.entries.size());
  EXPECT_EQ("Ext_User_Prm_Data_Ref", r.file.entries[0].keyword);
  EXPECT_EQ("3", r.file.entries[0].index);
}

TEST_F(GsdReaderTest, ModulesCollectTheirKeywordsAndReference) {
  const GsdParseResult r = Parse("Module = \"DI 8\" 0x10, 0x20\n5\nInfo_Text = \"in\"\nEndModule\nMax_Module = 2\n");
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(1u, r.file.modules.size());
  const GsdModule& m = r.file.modules[0];
  EXPECT_EQ("DI 8", m.name);
  EXPECT_EQ("0x10, 0x20", m.config);
  EXPECT_EQ(5u, m.reference.value_or(0));
  ASSERT_EQ(1u, m.entries.size());
  EXPECT_EQ("Info_Text", m.entries[0].keyword);
  EXPECT_NE(nullptr, FindGsdEntry(r.file.entries, "max_module"));
}

TEST_F(GsdReaderTest, SkippedBlocksAreSkippedWhole) {
  const GsdParseResult r = Parse(
      "PrmText = 1\nText(0) = \"Off\"\nNonsense here\nEndPrmText\n"
      "ExtUserPrmData = 1 \"Diag\"\nBit(0) 1 0-1\nEndExtUserPrmData\nModel_Name = \"M\"\n");
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(1u, r.file.entries.size());
  EXPECT_EQ("Model_Name", r.file.entries[0].keyword);
  EXPECT_TRUE(r.file.unknown.empty());
}

TEST_F(GsdReaderTest, UnknownKeywordsAreCollectedWithTheirLines) {
  const GsdParseResult r = Parse("Model_Name = \"M\"\nZarn_Colour = 3\nModule = \"X\" 0x10\nWobble = 1\nEndModule\n");
  ASSERT_TRUE(r.ok) << r.error;
  ASSERT_EQ(2u, r.file.unknown.size());
  EXPECT_EQ("Zarn_Colour", r.file.unknown[0].keyword);
  EXPECT_EQ(3, r.file.unknown[0].line);
  EXPECT_EQ("Wobble", r.file.unknown[1].keyword);
}

TEST_F(GsdReaderTest, UnknownBlocksAndBareWordsAreSkippedAndReported) {
  const GsdParseResult r = Parse(
      "Version_Firmware_Download\nVersion_Name=\"V1\"\nEnd_Version_Firmware_Download\n"
      "Lonely_Word\nModel_Name = \"M\"\n");
  ASSERT_TRUE(r.ok) << r.error_line << ": " << r.error;
  ASSERT_EQ(2u, r.file.unknown.size());
  EXPECT_EQ("Version_Firmware_Download", r.file.unknown[0].keyword);
  EXPECT_EQ(2, r.file.unknown[0].line);
  EXPECT_EQ("Lonely_Word", r.file.unknown[1].keyword);
  for (const GsdEntry& e : r.file.entries) EXPECT_NE("Version_Name", e.keyword) << "the block's content is skipped";
}

TEST_F(GsdReaderTest, MalformedFilesNameTheLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"", "0: empty file, #Profibus_DP expected"},
      {"; comment\nModel_Name = \"M\"\n", "2: #Profibus_DP expected"},
      {"#Profibus_DP\nModel_Name = \"open\n", "2: string not terminated"},
      {"#Profibus_DP\nModule = \"M\" 0x10\nInfo_Text = \"x\"\n", "2: Module without EndModule"},
      {"#Profibus_DP\nEndModule\n", "2: EndModule without Module"},
      {"#Profibus_DP\nModule = \"A\" 1\nModule = \"B\" 2\n", "3: Module inside Module"},
      {"#Profibus_DP\n\nModel_Name\n", "3: '=' expected after Model_Name"},
      {"#Profibus_DP\nPrmText = 1\nText(0) = \"a\"\n", "2: PrmText without EndPrmText"},
      {"#Profibus_DP\nModule = noname\n", "2: Module needs a quoted name"},
      {"#Profibus_DP\nEndPrmText\n", "2: EndPrmText without its block"},
      {"#Profibus_DP\nKey(1 = 2\n", "2: malformed keyword"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.error, Error(c.text)) << c.text;
}

TEST_F(GsdReaderTest, Numbers) {
  const struct {
    const char* text;
    std::optional<uint32_t> value;
  } cases[] = {{"0", 0u},         {" 42 ", 42u},        {"0x80F3", 0x80F3u},   {"0XffFFffFF", 0xFFFFFFFFu},
               {"4294967296", {}}, {"0x100000000", {}}, {"0x", {}},            {"12a", {}},
               {"-1", {}},         {"", {}}};
  for (const auto& c : cases) EXPECT_EQ(c.value, ParseGsdNumber(c.text)) << c.text;
}

TEST_F(GsdReaderTest, Recognition) {
  EXPECT_TRUE(StartsLikeGsd("#Profibus_DP\n"));
  EXPECT_TRUE(StartsLikeGsd("\n; header\n  #PROFIBUS_DP ; comment\nGSD_Revision=1"));
  EXPECT_FALSE(StartsLikeGsd("GSD_Revision = 1\n#Profibus_DP\n"));
  EXPECT_FALSE(StartsLikeGsd(std::string("\x7f" "ELF\0\0\0", 7)));
  EXPECT_FALSE(StartsLikeGsd(""));
}

TEST(GsdStationTest, SlaveFamilyClassification) {
  const struct {
    const char* family;
    const char* classification;
  } cases[] = {{"3", "REMOTEIO"},           {"3@Remote I/O@Modular", "REMOTEIO"},
               {"12@Pressure", "SENSOR_PRESSURE"}, {"12@Flow@Coriolis", "SENSOR_FLOW_CORIOLIS"},
               {"12", "SENSOR"},            {"1@Drives", "FREQUENCY_CONVERTER"},
               {"9", "NETWORK_COMPONENT"}, {"99", "UNIVERSAL"},
               {"", "UNIVERSAL"},           {"x@y", "UNIVERSAL"}};
  for (const auto& c : cases) EXPECT_EQ(c.classification, ClassificationForSlaveFamily(c.family)) << c.family;
}

TEST(GsdStationTest, InterpretationNeedsReadableValues) {
  const struct {
    const char* body;
    const char* error;
  } cases[] = {
      {"Vendor_Name = \"V\"\n", "0: Ident_Number missing"},
      {"Ident_Number = 0xZZ\n", "2: Ident_Number: number expected"},
      {"Ident_Number = 1\nModel_Name = bare\n", "3: Model_Name: quoted string expected"},
      {"Ident_Number = 1\nMax_Module = many\n", "3: Max_Module: number expected"},
  };
  for (const auto& c : cases) {
    const GsdParseResult r = ParseGsd(std::string("#Profibus_DP\n") + c.body);
    ASSERT_TRUE(r.ok) << c.body;
    GsdStation station;
    int line = -1;
    std::string error;
    EXPECT_FALSE(InterpretGsd(r.file, &station, &line, &error)) << c.body;
    EXPECT_EQ(c.error, std::to_string(line) + ": " + error) << c.body;
  }
}

}  // namespace
}  // namespace zarn::converters
