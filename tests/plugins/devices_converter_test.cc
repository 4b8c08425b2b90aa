// The devices converter on the sample files and on hand-written snippets.
#include "libs/devices_converter/devices_converter.h"

#include <gtest/gtest.h>

#include "libs/devices_converter/gsd_converter.h"
#include "platform/paths.h"
#include "tests/plugins/plugin_test_support.h"
#include "tests/support/test_support.h"

namespace zarn::testing {
namespace {

using converters::DevicesConverter;

constexpr uint32_t kWarning = 0x902040a6u;
constexpr uint32_t kUnreadable = 0x90204002u;

class DevicesConverterTest : public ::testing::Test {
 protected:
  Converted Convert(const std::string& input) { return ConvertWith(DevicesConverter(), input, out_.path()); }
  Converted Sample(const std::string& name) { return Convert(ExamplePath("gsd/" + name)); }
  // Writes a GSD file into the input directory and converts it.
  Converted Snippet(const std::string& name, const std::string& text) {
    WriteFile(in_.Join(name), text);
    return Convert(in_.Join(name));
  }
  std::string Gsd(const std::string& body) {
    return "#Profibus_DP\nVendor_Name = \"Vendor\"\nModel_Name = \"Model\"\nIdent_Number = 0x1234\n" + body;
  }
  static std::string Q(const Converted& c, const std::string& xpath) {
    return c.doc ? SelectOne(*c.doc, xpath) : "<no doc>";
  }
  static size_t N(const Converted& c, const std::string& xpath) { return c.doc ? Select(*c.doc, xpath).size() : 0; }

  ScratchDir in_;
  ScratchDir out_;
};

TEST_F(DevicesConverterTest, CompactStation) {
  const Converted c = Sample("BRDL0A1B.gsd");
  ASSERT_EQ(0u, c.code) << c.message;
  EXPECT_EQ("BT-10 Pressure Transmitter", Q(c, "/*/COMPONENT[@id='BRDL0A1B']/LABEL/string"));
  EXPECT_EQ("PROFIBUS_PA", Q(c, "/*/COMPONENT[@id='BRDL0A1B']/PROTOCOL/@name"));
  EXPECT_EQ("SENSOR_PRESSURE", Q(c, "/*/COMPONENT[@id='BRDL0A1B']/CLASSIFICATION/@name"));
  EXPECT_EQ("Brindle Instruments", Q(c, "/*/COMPONENT[@id='BRDL0A1B']/MANUFACTURER/@name"));
  EXPECT_EQ("BRDL0A1B.gsd", Q(c, "/*/COMPONENT[@id='BRDL0A1B']/GSD/string"));
  EXPECT_EQ("BRDL0A1B.bmp", Q(c, "/*/COMPONENT[@id='BRDL0A1B']/IMAGE/string")) << "Bitmap_Device, beside the file";
  EXPECT_EQ("Compact pressure transmitter for process automation, with one analog input.",
            Q(c, "/*/COMPONENT[@id='BRDL0A1B']/HELP/string"));
  EXPECT_EQ("2587", Q(c, "/*/IDENTIFICATION/DEVICE_TYPE/@value"));
  EXPECT_EQ("0x0a1b", Q(c, "/*/IDENTIFICATION/DEVICE_TYPE/@hex"));
  EXPECT_EQ("V1.2", Q(c, "/*/IDENTIFICATION/DEVICE_REVISION/@name"));
  EXPECT_EQ("2", Q(c, "/*/IDENTIFICATION/DEVICE_REVISION/@value"));
  EXPECT_EQ("3", Q(c, "/*/IDENTIFICATION/DD_REVISION/@value"));
  EXPECT_EQ("BRDL0A1B", Q(c, "/*/COMPONENT[LABEL/string='Analog input (pressure)']/COMPONENT_PARENT/@refid"));
  EXPECT_EQ(0u, N(c, "//COMPONENT_RELATION"));
}

TEST_F(DevicesConverterTest, ModularStationWithGermanVariant) {
  const Converted c = Sample("QLMK80F3.gsd");
  ASSERT_EQ(0u, c.code) << c.message;
  EXPECT_EQ("PROFIBUS_DP", Q(c, "/*/COMPONENT[@id='QLMK80F3']/PROTOCOL/@name"));
  EXPECT_EQ("REMOTEIO", Q(c, "/*/COMPONENT[@id='QLMK80F3']/CLASSIFICATION/@name"));
  EXPECT_EQ("QR-8 Dezentrale Peripherie", Q(c, "/*/COMPONENT[@id='QLMK80F3']/LABEL/string[@lang='de']"));
  EXPECT_EQ("Kopfstation für bis zu acht Module", Q(c, "/*/COMPONENT[@id='QLMK80F3']/HELP/string[@lang='de']"));
  EXPECT_EQ(3u, N(c, "/*/COMPONENT[COMPONENT_PARENT/@refid='QLMK80F3']"));
  EXPECT_EQ("DA 8 x 24 V DC 0,5 A", Q(c, "/*/COMPONENT[@id='QLMK80F3_M2']/LABEL/string[@lang='de']"));
  EXPECT_EQ("Acht digitale Eingänge, 24 V DC", Q(c, "/*/COMPONENT[@id='QLMK80F3_M1']/HELP/string[@lang='de']"));
  const std::string relation = Q(c, "/*/COMPONENT[@id='QLMK80F3']/COMPONENT_RELATIONS/relation_ref/@ref");
  EXPECT_EQ(1u, N(c, "/*/COMPONENT_RELATION[@id='" + relation + "']/RELATION_TYPE/CHILD_COMPONENT"));
  EXPECT_EQ("8", Q(c, "/*/COMPONENT_RELATION/MAXIMUM_NUMBER/integer"));
  EXPECT_EQ("0", Q(c, "/*/COMPONENT_RELATION/MINIMUM_NUMBER/integer"));
  EXPECT_EQ(3u, N(c, "/*/COMPONENT_RELATION/COMPONENTS/component/component_ref"));
  EXPECT_EQ(3u, N(c,
                  "//component/REQUIRED_RANGES/required_range[unknown_ref/@ref='SLOT']"
                  "[MIN_VALUE/integer='1'][MAX_VALUE/integer='8'][count(*)=3]"))
      << "no slot definition: every module may take every slot from Modul_Offset";
  EXPECT_EQ("Remote I-O/Modular", Q(c, "/*/COMPONENT[@id='QLMK80F3']/COMPONENT_PATH/@name"));
  EXPECT_EQ(0u, N(c, "/*/COMPONENT[@id!='QLMK80F3']/COMPONENT_PATH")) << "modules go below their station";
}

// Modul_Offset, a fixed preset module and a slot definition that keeps some
// modules to some slots and leaves others open.
TEST_F(DevicesConverterTest, ModularStationWithSlotDefinition) {
  const Converted c = Sample("BRVK0C42.gsd");
  ASSERT_EQ(0u, c.code) << c.message;
  const std::string relation = "/*/COMPONENT_RELATION[@id='BRVK0C42_modules']";
  EXPECT_EQ("1 6 SLOT", Q(c, relation + "/MINIMUM_NUMBER/integer") + " " + Q(c, relation + "/MAXIMUM_NUMBER/integer") +
                            " " + Q(c, relation + "/ADDRESSING/unknown_ref/@ref"));
  const auto module = [&](int n) {
    return relation + "/COMPONENTS/component[component_ref/@ref='BRVK0C42_M" + std::to_string(n) + "']";
  };
  const auto slots = [&](int n) {
    std::string text;
    for (const char* bound :
         {"MIN_VALUE", "MAX_VALUE", "MIN_VALUE1", "MAX_VALUE1", "MIN_VALUE2", "MAX_VALUE2", "MIN_VALUE3"}) {
      const std::string value = Q(c, module(n) + "/REQUIRED_RANGES/required_range/" + bound + "/integer");
      if (!value.empty()) text += (text.empty() ? "" : " ") + value;
    }
    return text;
  };
  EXPECT_EQ("1 1", slots(1)) << "the preset power supply, fixed in the first slot";
  EXPECT_EQ("1 1 1 1",
            Q(c, module(1) + "/AUTO_CREATE/integer") + " " + Q(c, module(1) + "/AUTO_CREATE_NODELETE/integer") + " " +
                Q(c, module(1) + "/MINIMUM_NUMBER/integer") + " " + Q(c, module(1) + "/MAXIMUM_NUMBER/integer"));
  EXPECT_EQ("2 6 2 3 5 6", slots(2)) << "its defined slot 2 and the open slots 3, 5, 6";
  EXPECT_EQ("2 6 2 3 5 6", slots(3)) << "allowed in slot 2";
  EXPECT_EQ("3 6", slots(4)) << "its slot 4 joins the open ones";
  EXPECT_EQ("3 6 3 3 5 6", slots(5)) << "the open slots only";
  EXPECT_EQ(0u, N(c, module(2) + "/*[self::AUTO_CREATE or self::MINIMUM_NUMBER or self::MAXIMUM_NUMBER]"));
  EXPECT_EQ("SLOT", Q(c, module(5) + "/REQUIRED_RANGES/required_range/*[1]/@ref"));
  EXPECT_EQ("Remote I-O/Compact heads", Q(c, "/*/COMPONENT[@id='BRVK0C42']/COMPONENT_PATH/@name"));
}

TEST_F(DevicesConverterTest, SlotProblemsAreReported) {
  const Converted none =
      Snippet("ZARN1234.gsd", Gsd("Modular_Station = 1\nMax_Module = 1\nModule = \"A\" 0x10\n1\nEndModule\n"
                                  "Module = \"B\" 0x10\n2\nEndModule\n"
                                  "Slot_Definition\nSlot(1) = \"S\" 1 1\nEnd_Slot_Definition\n"));
  EXPECT_EQ(kWarning, none.code);
  EXPECT_NE(std::string::npos, none.message.find("module 2 (B) fits no slot")) << none.message;
  EXPECT_EQ("0", Q(none, "//component[component_ref/@ref='ZARN1234_M2']/MAXIMUM_NUMBER/integer"));
  EXPECT_EQ(0u, N(none, "//component[component_ref/@ref='ZARN1234_M2']/REQUIRED_RANGES"));
  EXPECT_EQ("1", Q(none, "//component[component_ref/@ref='ZARN1234_M1']//MAX_VALUE/integer"));
  std::string scattered = "Modular_Station = 1\nMax_Module = 30\nModule = \"A\" 0x10\n1\nEndModule\nSlotDefinition\n";
  for (int slot = 2; slot <= 30; slot += 2) scattered += "Slot(" + std::to_string(slot) + ") = \"S\" 2 2\n";
  const Converted many = Snippet("ZARN1234.gsd", Gsd(scattered + "EndSlotDefinition\n"));
  EXPECT_NE(std::string::npos, many.message.find("more than 10 separate slot ranges")) << many.message;
  EXPECT_EQ("1 29 0", Q(many, "//required_range/MIN_VALUE/integer") + " " +
                          Q(many, "//required_range/MAX_VALUE/integer") + " " +
                          std::to_string(N(many, "//required_range/MIN_VALUE1")));
  const Converted bad = Snippet("ZARN1234.gsd", Gsd("SlotDefinition\nSlot(1) = \"S\" one\nEndSlotDefinition\n"));
  EXPECT_EQ(kUnreadable, bad.code);
  EXPECT_EQ(in_.Join("ZARN1234.gsd") + "(6): Slot(1): default module and allowed modules expected", bad.message);
}

TEST_F(DevicesConverterTest, SamplesConformToTheDeviceXmlFormat) {
  for (const char* name :
       {"gsd/BRDL0A1B.gsd", "gsd/QLMK80F3.gsd", "gsd/QLMK80F3.gsg", "gsd/BRVK0C42.gsd", "gsd/field_devices.devices"}) {
    const Converted c = Convert(ExamplePath(name));
    ASSERT_NE(nullptr, c.doc) << name << ": " << c.message;
    EXPECT_EQ(std::vector<std::string>{}, DeviceXmlProblems(*c.doc)) << name;
    EXPECT_EQ(name + std::string(".device.xml"), "gsd/" + FileNamePart(c.output_file)) << name;
  }
}

TEST_F(DevicesConverterTest, UnknownKeywordsGiveTheWarningCode) {
  const Converted c = Snippet("ZARN1234.gsd", Gsd("Zarn_Colour = 3\nModule = \"M\" 0x10\nGlow = 1\nEndModule\n"));
  EXPECT_EQ(kWarning, c.code);
  EXPECT_NE(std::string::npos, c.message.find("Zarn_Colour (line 5)")) << c.message;
  EXPECT_NE(std::string::npos, c.message.find("Glow (line 7)")) << c.message;
  EXPECT_NE(nullptr, c.doc);
}

TEST_F(DevicesConverterTest, UnreadableGsdFailsNamingFileAndLine) {
  const Converted c = Snippet("ZARN1234.gsd", Gsd("Module = \"M\" 0x10\n"));
  EXPECT_EQ(kUnreadable, c.code);
  EXPECT_EQ(in_.Join("ZARN1234.gsd") + "(5): Module without EndModule", c.message);
  EXPECT_EQ(nullptr, c.doc);
}

TEST_F(DevicesConverterTest, WarningsForMissingPartsAndForeignFileNames) {
  const Converted c = Snippet("station.gsd",
                              "#Profibus_DP\nIdent_Number = 0x1234\nModular_Station = 1\n"
                              "Module = \"M\" 0x10\nEndModule\n");
  EXPECT_EQ(kWarning, c.code);
  EXPECT_NE(std::string::npos, c.message.find("Model_Name missing")) << c.message;
  EXPECT_NE(std::string::npos, c.message.find("without Max_Module")) << c.message;
  EXPECT_NE(std::string::npos, c.message.find("does not end in the ident number 0x1234")) << c.message;
  EXPECT_EQ("station.gsd", Q(c, "/*/COMPONENT[@id='station']/LABEL/string"));
  const Converted b = Snippet("st001234.gsd",
                              "#Profibus_DP\nIdent_Number = 0x1234\nModel_Name = \"S\"\n"
                              "Bitmap_Device = \"nothere\"\nOrderNumber = \"6ES7 1\"\n");
  EXPECT_NE(std::string::npos, b.message.find("bitmap nothere.bmp named by Bitmap_Device is not beside")) << b.message;
  EXPECT_EQ(0u, N(b, "//IMAGE")) << "no picture is named that is not there";
  EXPECT_EQ("6ES7 1", Q(b, "/*/COMPONENT[1]/ORDER_NUMBER/string"));
}

TEST_F(DevicesConverterTest, Latin1AndControlCharactersBecomeValidXml) {
  const Converted c = Snippet("ZARN1234.gsd", Gsd("Info_Text = \"Ger\xe4t\x01 ok\"\n"));
  ASSERT_EQ(0u, c.code) << c.message;
  EXPECT_EQ("Gerät ok", Q(c, "/*/COMPONENT/HELP/string"));
}

TEST_F(DevicesConverterTest, RecognitionLooksAtTheContent) {
  WriteFile(in_.Join("BIN01234.gsd"), std::string("\x7f"
                                                  "ELF\2\1\1\0\0\0#Profibus_DP\n",
                                                  22));
  WriteFile(in_.Join("TEXT1234.gsd"), "GSD_Revision = 1\n");
  WriteFile(in_.Join("GOOD1234.gse"), Gsd(""));
  WriteFile(in_.Join("list.devices"), "<DEVICES/>");
  WriteFile(in_.Join("other.devices"), "<LIST/>");
  EXPECT_FALSE(Accepts(DevicesConverter(), in_.Join("BIN01234.gsd")));
  EXPECT_FALSE(Accepts(DevicesConverter(), in_.Join("TEXT1234.gsd")));
  EXPECT_FALSE(Accepts(DevicesConverter(), in_.Join("missing.gsd")));
  EXPECT_TRUE(Accepts(DevicesConverter(), in_.Join("GOOD1234.gse")));
  EXPECT_TRUE(Accepts(DevicesConverter(), in_.Join("list.devices")));
  EXPECT_FALSE(Accepts(DevicesConverter(), in_.Join("other.devices")));
  EXPECT_EQ(kUnreadable, Convert(in_.Join("BIN01234.gsd")).code);
}

TEST_F(DevicesConverterTest, ALanguageVariantYieldsToItsBaseFile) {
  EXPECT_TRUE(Accepts(DevicesConverter(), ExamplePath("gsd/QLMK80F3.gsd")));
  EXPECT_FALSE(Accepts(DevicesConverter(), ExamplePath("gsd/QLMK80F3.gsg")));
  WriteFile(in_.Join("ALONE123.gsg"), Gsd(""));
  EXPECT_TRUE(Accepts(DevicesConverter(), in_.Join("ALONE123.gsg")));
  EXPECT_EQ(
      (std::vector<std::string>{"", "en", "de", "fr", "it", "es", "?"}),
      (std::vector<std::string>{converters::GsdLanguageOfExtension(".gsd"), converters::GsdLanguageOfExtension(".GSE"),
                                converters::GsdLanguageOfExtension(".gsg"), converters::GsdLanguageOfExtension(".gsf"),
                                converters::GsdLanguageOfExtension(".gsi"), converters::GsdLanguageOfExtension(".gss"),
                                converters::GsdLanguageOfExtension(".gsx")}));
}

TEST_F(DevicesConverterTest, BrokenLanguageVariantIsAWarning) {
  WriteFile(in_.Join("ZARN1234.gsd"), Gsd(""));
  WriteFile(in_.Join("zarn1234.GSG"), "#Profibus_DP\nModel_Name = \"offen\n");
  const Converted c = Convert(in_.Join("ZARN1234.gsd"));
  EXPECT_EQ(kWarning, c.code);
  EXPECT_NE(std::string::npos, c.message.find("language file not used")) << c.message;
}

TEST_F(DevicesConverterTest, DevicesList) {
  const Converted c = Sample("field_devices.devices");
  ASSERT_EQ(0u, c.code) << c.message;
  EXPECT_EQ(2u, N(c, "/*/COMPONENT"));
  EXPECT_EQ("Brindle Instruments", Q(c, "/*/IDENTIFICATION/MANUFACTURER/@name"));
  EXPECT_EQ(0u, N(c, "/*/IDENTIFICATION/DEVICE_TYPE"));
  EXPECT_EQ("TG-20 Temperaturanzeige", Q(c, "/*/COMPONENT[@id='BRDL_TG20']/LABEL/string[@lang='de']"));
  EXPECT_EQ("Temperature/Gauges", Q(c, "/*/COMPONENT[@id='BRDL_TG20']/COMPONENT_PATH/@name"));
  EXPECT_EQ("HART", Q(c, "/*/COMPONENT[@id='BRDL_TG20']/PROTOCOL/@name"));
  EXPECT_EQ("769", Q(c, "/*/COMPONENT[@id='BRDL_VP3']/DEVICE_TYPE/@value"));
}

TEST_F(DevicesConverterTest, DevicesListIdentification) {
  const std::string one =
      "<DEVICE manufacturer='0x00F1' deviceType='3' deviceRevision='2' protocol='P'><LABEL>a</LABEL></DEVICE>";
  const std::string other = "<DEVICE manufacturer='Other' deviceType='4' protocol='P'><LABEL>b</LABEL></DEVICE>";
  Converted c = Snippet("one.devices", "<DEVICES>" + one + "</DEVICES>");
  EXPECT_EQ("0x00f1 3 2", Q(c, "/*/IDENTIFICATION/MANUFACTURER/@hex") + " " +
                              Q(c, "/*/IDENTIFICATION/DEVICE_TYPE/@value") + " " +
                              Q(c, "/*/IDENTIFICATION/DEVICE_REVISION/@name"));
  EXPECT_EQ("DEVICE_0x00F1_3_2", Q(c, "/*/COMPONENT/@id"));
  c = Snippet("two.devices", "<DEVICES>" + one + other + "</DEVICES>");
  EXPECT_EQ(0u, N(c, "/*/IDENTIFICATION"));
  EXPECT_EQ("0x00f1", Q(c, "/*/COMPONENT[1]/MANUFACTURER/@hex"));
}

TEST_F(DevicesConverterTest, DevicesListProblems) {
  const struct {
    const char* text;
    uint32_t code;
    const char* message;
  } cases[] = {
      {"<DEVICES><DEVICE manufacturer='1' deviceType='2' protocol='HART'/></DEVICES>", kWarning, "no LABEL"},
      {"<DEVICES><DEVICE manufacturer='1' deviceType='2'/></DEVICES>", kUnreadable, "attribute protocol missing"},
      {"<DEVICES><DEVICE manufacturer='1' deviceType='2' protocol='P' colour='red'><LABEL>x</LABEL></DEVICE></DEVICES>",
       kWarning, "unknown attribute colour"},
      {"<DEVICES><DEVICE id='a' manufacturer='1' deviceType='2' protocol='P'><LABEL>x</LABEL></DEVICE>"
       "<DEVICE id='a' manufacturer='1' deviceType='3' protocol='P'/></DEVICES>",
       kUnreadable, "id a used twice"},
      {"<DEVICES/>", kUnreadable, "names no DEVICE"},
      {"<DEVICES><DEVICE", kUnreadable, "list.devices"},
  };
  for (const auto& c : cases) {
    const Converted r = Snippet("list.devices", c.text);
    EXPECT_EQ(c.code, r.code) << c.text;
    EXPECT_NE(std::string::npos, r.message.find(c.message)) << c.text << " -> " << r.message;
  }
}

}  // namespace
}  // namespace zarn::testing
