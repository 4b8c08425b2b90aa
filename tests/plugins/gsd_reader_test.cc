#include "libs/devices_converter/gsd_reader.h"

#include <gtest/gtest.h>

#include "libs/devices_converter/gsd_slots.h"
#include "libs/devices_converter/gsd_station.h"
#include "libs/devices_converter/text_encoding.h"

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

TEST_F(GsdReaderTest, SlotDefinitionsKeepTheirSlotLines) {
  for (const char* open : {"SlotDefinition\n", "Slot_Definition\n"}) {
    const std::string close = open[4] == '_' ? "End_Slot_Definition\n" : "EndSlotDefinition\n";
    const GsdParseResult r = Parse(std::string(open) + "Slot(1) = \"A\" 1 1-2\nSlot(3)=\"B\" 2 2\nOdd = 1\n" + close +
                                   "Model_Name = \"M\"\n");
    ASSERT_TRUE(r.ok) << open << r.error;
    EXPECT_TRUE(r.file.has_slot_definition);
    ASSERT_EQ(2u, r.file.slots.size()) << open;
    EXPECT_EQ("3", r.file.slots[1].index);
    EXPECT_EQ("\"B\" 2 2", r.file.slots[1].value);
    ASSERT_EQ(1u, r.file.unknown.size()) << "what else the block holds is reported";
    EXPECT_EQ(5, r.file.unknown[0].line);
    ASSERT_EQ(1u, r.file.entries.size());
    EXPECT_EQ("Model_Name", r.file.entries[0].keyword);
  }
  EXPECT_FALSE(Parse("Model_Name = \"M\"\n").file.has_slot_definition);
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
      {"#Profibus_DP\nSlotDefinition\nSlot(1) = \"a\" 1 1\n", "2: SlotDefinition without EndSlotDefinition"},
      {"#Profibus_DP\nModule = \"A\" 1\nSlot_Definition\n", "3: Slot_Definition inside Module"},
      {"#Profibus_DP\nEndSlotDefinition\n", "2: EndSlotDefinition without its block"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.error, Error(c.text)) << c.text;
}

TEST_F(GsdReaderTest, Numbers) {
  const struct {
    const char* text;
    std::optional<uint32_t> value;
  } cases[] = {{"0", 0u},           {" 42 ", 42u},
               {"0x80F3", 0x80F3u}, {"0XffFFffFF", 0xFFFFFFFFu},
               {"4294967296", {}},  {"0x100000000", {}},
               {"0x", {}},          {"12a", {}},
               {"-1", {}},          {"", {}}};
  for (const auto& c : cases) EXPECT_EQ(c.value, ParseGsdNumber(c.text)) << c.text;
}

TEST_F(GsdReaderTest, Recognition) {
  EXPECT_TRUE(StartsLikeGsd("#Profibus_DP\n"));
  EXPECT_TRUE(StartsLikeGsd("\n; header\n  #PROFIBUS_DP ; comment\nGSD_Revision=1"));
  EXPECT_FALSE(StartsLikeGsd("GSD_Revision = 1\n#Profibus_DP\n"));
  EXPECT_FALSE(
      StartsLikeGsd(std::string("\x7f"
                                "ELF\0\0\0",
                                7)));
  EXPECT_FALSE(StartsLikeGsd(""));
  // Files saved by editors that mark UTF-8: the mark is not part of the first line.
  const std::string marked = DecodeLegacyText("\xEF\xBB\xBF#Profibus_DP\nVendor_Name=\"Nordvik \xC3\x85\"\n");
  EXPECT_TRUE(StartsLikeGsd(marked));
  const GsdParseResult r = ParseGsd(marked);
  ASSERT_TRUE(r.ok) << r.error;
  const GsdEntry* vendor = FindGsdEntry(r.file.entries, "Vendor_Name");
  ASSERT_NE(vendor, nullptr);
  EXPECT_EQ(vendor->value, "\"Nordvik \xC3\x85\"");
}

TEST(GsdStationTest, SlaveFamilyClassification) {
  const struct {
    const char* family;
    const char* classification;
  } cases[] = {{"3", "REMOTEIO"},
               {"3@Remote I/O@Modular", "REMOTEIO"},
               {"12@Pressure", "SENSOR_PRESSURE"},
               {"12@Flow@Coriolis", "SENSOR_FLOW_CORIOLIS"},
               {"12", "SENSOR"},
               {"1@Drives", "FREQUENCY_CONVERTER"},
               {"9", "NETWORK_COMPONENT"},
               {"99", "UNIVERSAL"},
               {"", "UNIVERSAL"},
               {"x@y", "UNIVERSAL"}};
  for (const auto& c : cases) EXPECT_EQ(c.classification, ClassificationForSlaveFamily(c.family)) << c.family;
}

TEST(GsdStationTest, SubFamiliesBecomeFolderLevels) {
  const struct {
    const char* family;
    const char* vendor;
    std::vector<std::string> levels;
  } cases[] = {{"3", "V", {}},
               {"3@Rio@RX200S", "BRENNVIK", {"Rio", "RX200S"}},
               {" 3 @ Remote I/O @ Modular @ ", "V", {"Remote I-O", "Modular"}},
               {"0@@Net\\Work", "V", {"Net-Work"}},
               {"@only", "", {"only"}},
               {"1@NVK", "NVK Oy", {}},
               {"1@kvarn@DPV1", "KVARN-DRIVES", {"DPV1"}},
               {"3@Maker@Maker GmbH@Kit", "Maker GmbH", {"Kit"}},
               {"3@Kit@Maker", "Maker", {"Kit", "Maker"}}};
  for (const auto& c : cases) EXPECT_EQ(c.levels, SubFamilyFolders(c.family, c.vendor)) << c.family;
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
      {"Ident_Number = 1\nModule = \"M\" 1\nPreset = yes\nEndModule\n", "4: Preset: number expected"},
      {"Ident_Number = 1\nSlotDefinition\nSlot(x) = \"A\" 1 1\nEndSlotDefinition\n",
       "4: Slot(x): slot number expected"},
      {"Ident_Number = 1\nSlotDefinition\nSlot(1) = A 1 1\nEndSlotDefinition\n",
       "4: Slot(1): quoted slot name expected"},
      {"Ident_Number = 1\nSlotDefinition\nSlot(1) = \"A\"\nEndSlotDefinition\n",
       "4: Slot(1): default module and allowed modules expected"},
      {"Ident_Number = 1\nSlotDefinition\nSlot(1) = \"A\" 1 3-2\nEndSlotDefinition\n",
       "4: Slot(1): default module and allowed modules expected"},
      {"Ident_Number = 1\nSlotDefinition\nSlot(1) = \"A\" 1 2,x\nEndSlotDefinition\n",
       "4: Slot(1): default module and allowed modules expected"},
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

// Where the modules of a station may go, from its Max_Module, Modul_Offset,
// preset modules and slot definition.
class GsdSlotPlanTest : public ::testing::Test {
 protected:
  // Interprets a station whose keywords are `body`.
  static GsdStation Station(const std::string& body) {
    const GsdParseResult r = ParseGsd("#Profibus_DP\nIdent_Number = 1\nModular_Station = 1\n" + body);
    GsdStation station;
    int line = 0;
    std::string error;
    EXPECT_TRUE(r.ok && InterpretGsd(r.file, &station, &line, &error)) << r.error << error;
    return station;
  }
  // "first-last first-last ..." per module, "F" for a module held in place.
  static std::vector<std::string> Spans(const GsdSlotPlan& plan) {
    std::vector<std::string> out;
    for (const GsdModuleSlots& m : plan.modules) {
      std::string text = m.fixed ? "F" : "";
      for (const SlotSpan& s : m.spans)
        text += (text.empty() || text == "F" ? "" : " ") + std::to_string(s.first) + "-" + std::to_string(s.last);
      out.push_back(text);
    }
    return out;
  }
  static std::string Module(int reference, bool preset = false) {
    return "Module = \"M" + std::to_string(reference) + "\" 0x10\n" + std::to_string(reference) + "\n" +
           (preset ? "Preset = 1\n" : "") + "EndModule\n";
  }
};

TEST_F(GsdSlotPlanTest, SlotsRunFromTheOffsetOverMaxModule) {
  const auto plan = PlanGsdSlots(Station("Max_Module = 4\n" + Module(1) + Module(2)));
  ASSERT_TRUE(plan);
  EXPECT_EQ((SlotSpan{1, 4}), plan->station) << "without Modul_Offset the first slot is 1";
  EXPECT_EQ((std::vector<std::string>{"1-4", "1-4"}), Spans(*plan));
  EXPECT_EQ(0u, plan->fixed_modules);
  const auto zero = PlanGsdSlots(Station("Max_Module = 4\nModul_Offset = 0\n" + Module(1)));
  ASSERT_TRUE(zero);
  EXPECT_EQ((SlotSpan{0, 3}), zero->station);
  const auto high = PlanGsdSlots(Station("Max_Module = 0xFFFFFFFF\nModul_Offset = 5\n" + Module(1)));
  ASSERT_TRUE(high);
  EXPECT_EQ((SlotSpan{5, 0xFFFFFFFFu}), high->station) << "no overflow";
  EXPECT_FALSE(PlanGsdSlots(Station(Module(1)))) << "no Max_Module, no slot definition: no slots known";
  EXPECT_FALSE(PlanGsdSlots(Station("Max_Module = 0\n" + Module(1))));
}

TEST_F(GsdSlotPlanTest, FixedPresetModulesTakeTheFirstSlots) {
  const std::string modules = Module(1) + Module(2, true) + Module(3, true);
  const auto fixed = PlanGsdSlots(Station("Max_Module = 5\nModul_Offset = 2\nFixPresetModules = 1\n" + modules));
  ASSERT_TRUE(fixed);
  EXPECT_EQ((std::vector<std::string>{"4-6", "F2-2", "F3-3"}), Spans(*fixed));
  EXPECT_EQ(2u, fixed->fixed_modules);
  EXPECT_TRUE(fixed->modules[1].preset);
  const auto loose = PlanGsdSlots(Station("Max_Module = 5\n" + modules));
  ASSERT_TRUE(loose);
  EXPECT_EQ((std::vector<std::string>{"1-5", "1-5", "1-5"}), Spans(*loose))
      << "presets without FixPresetModules move freely";
  EXPECT_TRUE(loose->modules[2].preset);
  EXPECT_FALSE(loose->modules[2].fixed);
}

TEST_F(GsdSlotPlanTest, ASlotDefinitionKeepsModulesToTheirSlots) {
  // Slots 1..6; slot 2 takes 2 or 3, slot 4 takes 4 (default) or 1,5; 3, 5, 6 take anything.
  const std::string slots = "SlotDefinition\nSlot(2) = \"C\" 2 2-3\nSlot(4) = \"K\" 4 1, 5\nEndSlotDefinition\n";
  const auto plan = PlanGsdSlots(Station("Max_Module = 6\n" + Module(1) + Module(2) + Module(4) + Module(6) + slots));
  ASSERT_TRUE(plan);
  EXPECT_EQ((std::vector<std::string>{"1-1 3-6", "1-3 5-6", "1-1 3-6", "1-1 3-3 5-6"}), Spans(*plan));
  // Every slot defined and taken by others: module 3 fits nowhere.
  const auto full =
      PlanGsdSlots(Station("Max_Module = 2\n" + Module(1) + Module(3) +
                           "SlotDefinition\nSlot(1) = \"A\" 1 1\nSlot(2) = \"B\" 1 1\nEndSlotDefinition\n"));
  ASSERT_TRUE(full);
  EXPECT_EQ((std::vector<std::string>{"1-2", ""}), Spans(*full));
  // Without Max_Module the defined slots are the station's.
  const auto defined = PlanGsdSlots(
      Station(Module(7) + "SlotDefinition\nSlot(3) = \"A\" 7 7\nSlot(5) = \"B\" 7 7\nEndSlotDefinition\n"));
  ASSERT_TRUE(defined);
  EXPECT_EQ((SlotSpan{3, 5}), defined->station);
  EXPECT_EQ((std::vector<std::string>{"3-5"}), Spans(*defined)) << "slot 4 is not defined, so it is open";
}

TEST_F(GsdSlotPlanTest, FixedPresetsWinOverTheSlotDefinition) {
  const auto plan =
      PlanGsdSlots(Station("Max_Module = 3\nFixPresetModules = 1\n" + Module(1, true) + Module(2) +
                           "SlotDefinition\nSlot(1) = \"A\" 2 2\nSlot(2) = \"B\" 2 2\nEndSlotDefinition\n"));
  ASSERT_TRUE(plan);
  EXPECT_EQ((std::vector<std::string>{"F1-1", "2-3"}), Spans(*plan));
}

}  // namespace
}  // namespace zarn::converters
