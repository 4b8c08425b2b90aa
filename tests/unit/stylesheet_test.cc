// The stylesheet on hand-written device XML, and Cconversion's transformation step.
#include "conversion/conversion.h"
#include "tests/unit/conversion_fixture.h"
#include "xml/document.h"
#include "xml/xpath.h"

namespace zarn {
namespace {

using testing::ReadFile;
using testing::WriteFile;

constexpr const char* kDeviceXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<ZARN_DEVICE formatVersion="1" generator="test">
  <SOURCE name="dev.ddl" path="/lib/dev.ddl"/>
  <IDENTIFICATION>
    <MANUFACTURER name="0x00002A" value="42" hex="0x002a"/>
    <DEVICE_TYPE name="0x1234" value="4660" hex="0x1234"/>
  </IDENTIFICATION>
  <VARIABLE id="tag" line="3"><LABEL><string>Tag</string></LABEL></VARIABLE>
  <COMPONENT_FOLDER id="fold" line="5">
    <LABEL><string>Folder</string><string lang="de">Ordner</string></LABEL>
    <PROTOCOL name="HART"/><CLASSIFICATION name="SENSOR_PRESSURE"/>
    <COMPONENT_PATH name="/Maker/Pressure/"/>
  </COMPONENT_FOLDER>
  <COMPONENT id="dev" line="10">
    <LABEL><string>Device</string><string lang="de">Gerät</string><string lang="fr">Appareil</string></LABEL>
    <HELP><string>Help</string><string lang="de">Hilfe</string></HELP>
    <PROTOCOL name="HART"/><CLASSIFICATION name="SENSOR_PRESSURE"/>
    <CLASSIFICATION conditioned="true"/>
    <COMPONENT_PARENT refid="fold"/>
    <COMPONENT_RELATIONS><relation_ref ref="rel"/><relation_ref ref="missing"/></COMPONENT_RELATIONS>
    <INITIAL_VALUES>
      <initial_value><variable_ref ref="tag"/><string>PT</string><string lang="de">DT</string></initial_value>
      <initial_value><variable_ref ref="unit"/><reference ref="KPA"/></initial_value>
      <initial_value conditioned="true"><variable_ref ref="mode"/></initial_value>
    </INITIAL_VALUES>
    <CAN_DELETE><boolean>false</boolean></CAN_DELETE>
    <DETECT conditioned="true"/>
    <EDD><string>dev_module.ddl</string></EDD>
    <GSD><string>ZARN80F3.gsd</string></GSD>
    <PURPOSE_MAPPING><variable_ref ref="tag"/><string>PURPOSE_TAG</string></PURPOSE_MAPPING>
  </COMPONENT>
  <COMPONENT id="other" line="30"><PROTOCOL name="FF"/></COMPONENT>
  <COMPONENT_REFERENCE id="ref" line="40">
    <MANUFACTURER name="0x2A" value="42" hex="0x002a"/><DEVICE_TYPE name="0x1" value="1" hex="0x0001"/>
    <COMPONENT_PATH name="Maker/Other"/>
  </COMPONENT_REFERENCE>
  <COMPONENT_RELATION id="rel" line="50" conditioned="true">
    <RELATION_TYPE><CHILD_COMPONENT/></RELATION_TYPE>
    <MAXIMUM_NUMBER conditioned="true"/>
    <COMPONENTS>
      <component><component_ref ref="ref"/><AUTO_CREATE><integer>2</integer></AUTO_CREATE></component>
    </COMPONENTS>
  </COMPONENT_RELATION>
</ZARN_DEVICE>
)";

class StylesheetTest : public ConversionTest {
 protected:
  // Transforms `deviceXml`; the component XML, or null.
  std::unique_ptr<xml::Document> Transform(const std::string& deviceXml, uint32_t* rc = nullptr) {
    const std::string input = work_.Join("t/dev.ddlen.device.xml");
    EXPECT_TRUE(WriteFile(input, deviceXml));
    Cconversion conversion(Catalog().stylesheetPath(), Catalog().baseDirectory());
    const uint32_t result = conversion.transformZARNXml(input);
    if (rc != nullptr) *rc = result;
    return xml::Document::LoadFile(Cconversion::MakeComponentXmlName(input), nullptr);
  }
  // The texts `xpath` selects, joined by "|".
  static std::string Q(const xml::Document& doc, const std::string& xpath) {
    std::vector<xml::Node> nodes;
    std::string error;
    EXPECT_TRUE(xml::SelectNodes(doc.AsNode(), xpath, &nodes, &error)) << xpath << ": " << error;
    std::vector<std::string> texts;
    for (const xml::Node& n : nodes) texts.push_back(n.Text());
    return Join(texts, "|");
  }
};

TEST_F(StylesheetTest, LevelsComeFirstAsFolders) {
  auto doc = Transform(kDeviceXml);
  ASSERT_TRUE(doc);
  EXPECT_EQ(Q(*doc, "/COMP_COMPONENTXML/version"), "1");
  EXPECT_EQ(Q(*doc, "/*/*/@id"),
            "SECTION.DEVICE|PROTOCOL.HART|PROTOCOL.FF|CLASSIFICATION.HART.SENSOR_PRESSURE|"
            "MANUFACTURER.HART.SENSOR_PRESSURE.0x002a|fold|dev|other|ref");
  EXPECT_EQ(Q(*doc, "//*[@id='PROTOCOL.FF']/*/@name"), "FF");
  EXPECT_EQ(Q(*doc, "//*[@id='MANUFACTURER.HART.SENSOR_PRESSURE.0x002a']/*[@name]/@name"),
            "HART|SENSOR_PRESSURE|0x002a");
  EXPECT_EQ(Q(*doc, "/*/COMPONENT_FOLDER[@id='SECTION.DEVICE']/section/@name"), "DEVICE");
  EXPECT_EQ(Q(*doc, "/*/COMPONENT_FOLDER[contains(@id, '.')]/@catalogLevel"), "true|true|true|true|true")
      << "levels are marked, so that the source's identification stays off them";
  EXPECT_EQ(Q(*doc, "//*[@catalogLevel]/LABEL"), "") << "a level is named by its id; the manufacturer is a number";
  EXPECT_EQ(Q(*doc, "//COMPONENT_FOLDER[@id='fold']/@catalogLevel"), "");
}

TEST_F(StylesheetTest, ManufacturerNamedByANameLabelsItsLevel) {
  std::string device = kDeviceXml;
  const std::string numbered = R"(<MANUFACTURER name="0x00002A" value="42" hex="0x002a"/>)";
  device.replace(device.find(numbered), numbered.size(),
                 R"(<MANUFACTURER name="Maker GmbH" value="1234" hex="0x04d2"/>)");
  auto doc = Transform(device);
  ASSERT_TRUE(doc);
  EXPECT_EQ(Q(*doc, "//*[@id='MANUFACTURER.HART.SENSOR_PRESSURE.Maker GmbH']/LABEL/string"), "Maker GmbH");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/MANUFACTURER_EXT/@name"), "Maker GmbH")
      << "a vendor number of another numbering does not replace the name";
}

TEST_F(StylesheetTest, ObjectsCarryPlacementTextsAndSource) {
  auto doc = Transform(kDeviceXml);
  ASSERT_TRUE(doc);
  EXPECT_EQ(Q(*doc, "//COMPONENT_FOLDER[@id='fold']/COMPONENT_PATH/@name"), "Maker/Pressure/fold");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/COMPONENT_PATH/@name"), "dev") << "a member of its parent folder";
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/COMPONENT_PARENT/@refid"), "fold");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/CLASSIFICATION/@name"), "SENSOR_PRESSURE");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/MANUFACTURER_EXT/@name"), "0x002a")
      << "placement only: the MANUFACTURER that identification adds is the one the catalog keeps";
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/MANUFACTURER"), "");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/LABEL/string"), "Device|Gerät|Appareil");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/LABEL/string/@lang"), "de|fr");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/HELP/string[@lang='de']"), "Hilfe");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/ZARN"), "dev.ddl");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/ADDITIONAL_ZARNS/string"), "dev_module.ddl");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/GSD/string"), "ZARN80F3.gsd");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/CAN_DELETE"), "false");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/DETECT/isConditioned"), "true");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='other']/COMPONENT_PATH/@name"), "other");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='other']/CLASSIFICATION"), "");
  EXPECT_EQ(Q(*doc, "//COMPONENT_REFERENCE/COMPONENT_PATH/@name"), "Maker/Other");
  EXPECT_EQ(Q(*doc, "//COMPONENT_REFERENCE/MANUFACTURER_EXT/@name"), "0x2A");
  EXPECT_EQ(Q(*doc, "//COMPONENT_REFERENCE/DEVICE_TYPE"), "0x0001");
}

TEST_F(StylesheetTest, InitialValuesPurposesAndRelationsTakeTheReadersGrammar) {
  auto doc = Transform(kDeviceXml);
  ASSERT_TRUE(doc);
  const std::string values = "//COMPONENT[@id='dev']/INITIAL_VALUES/initial_value";
  EXPECT_EQ(Q(*doc, values + "/*[1]/@ref"), "tag|unit") << "a value under a condition is left out";
  EXPECT_EQ(Q(*doc, values + "[1]/*[2][not(@lang)]"), "PT");
  EXPECT_EQ(Q(*doc, values + "[1]/*[@lang='de']"), "DT");
  EXPECT_EQ(Q(*doc, values + "[2]/reference"), "KPA");
  EXPECT_EQ(Q(*doc, "//COMPONENT[@id='dev']/PURPOSE_MAPPING/string[.='PURPOSE_TAG']/preceding-sibling::*/@ref"), "tag");
  const std::string rel = "//COMPONENT[@id='dev']/COMPONENT_RELATIONS/COMPONENT_RELATION";
  EXPECT_EQ(Q(*doc, rel + "/@id"), "rel") << "a relation the source does not define is dropped";
  EXPECT_EQ(Q(*doc, rel + "/isConditioned"), "true");
  EXPECT_EQ(Q(*doc, rel + "/MAXIMUM_NUMBER/isConditioned"), "true");
  EXPECT_EQ(Q(*doc, rel + "/MAXIMUM_NUMBER/integer"), "");
  EXPECT_EQ(Q(*doc, rel + "/COMPONENTS/component/*/@ref"), "ref");
  EXPECT_EQ(Q(*doc, rel + "/COMPONENTS/component/AUTO_CREATE/integer"), "2");
}

TEST_F(StylesheetTest, SourceWithoutComponentGivesTheDeviceItself) {
  auto doc = Transform(
      "<ZARN_DEVICE><SOURCE name=\"plain.v2.ddl\"/><IDENTIFICATION><MANUFACTURER name=\"7\" value=\"7\" "
      "hex=\"0x0007\"/></IDENTIFICATION><VARIABLE id=\"x\"/></ZARN_DEVICE>");
  ASSERT_TRUE(doc);
  EXPECT_EQ(Q(*doc, "/*/*/@id"), "SECTION.DEVICE|plain.v2");
  EXPECT_EQ(Q(*doc, "//COMPONENT/COMPONENT_PATH/@name"), "plain.v2");
  EXPECT_EQ(Q(*doc, "//COMPONENT/LABEL/string"), "plain.v2");
  EXPECT_EQ(Q(*doc, "//COMPONENT/MANUFACTURER_EXT/@name"), "0x0007");
  EXPECT_EQ(Q(*doc, "//COMPONENT/ZARN"), "plain.v2.ddl");
}

TEST_F(StylesheetTest, OutputIsUtf16WithoutByteOrderMarkAndReadsAsComponentXml) {
  ASSERT_TRUE(Transform(kDeviceXml));
  const std::string bytes = ReadFile(work_.Join("t/dev.ddlen.device.xml_comp.xml"));
  ASSERT_GE(bytes.size(), 4u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("<\0?\0", 4));
  ComponentXmlReader reader(nullptr, false);
  ASSERT_EQ(reader.Load(work_.Join("t/dev.ddlen.device.xml_comp.xml")), 0u);
  EXPECT_EQ(reader.Read(""), 0u);
  EXPECT_EQ(reader.Components().size(), 8u);
}

TEST_F(StylesheetTest, FailuresAreReportedAndWriteNothing) {
  testing::TraceCapture trace;
  uint32_t rc = 0;
  EXPECT_FALSE(Transform("<ZARN_DEVICE>", &rc));
  EXPECT_EQ(rc, ZARN_E_XSLT);
  EXPECT_TRUE(trace.Contains("Failed to load:\n" + work_.Join("t/dev.ddlen.device.xml")));
  std::filesystem::remove(Catalog().stylesheetPath());
  EXPECT_FALSE(Transform(kDeviceXml, &rc));
  EXPECT_EQ(rc, ZARN_E_XSLT);
  EXPECT_TRUE(trace.Contains("Failed to load:\n" + Catalog().stylesheetPath()));
}

TEST_F(StylesheetTest, NamesAndInPath) {
  Cconversion conversion("s.xslt", "/base");
  EXPECT_EQ(Cconversion::MakeComponentXmlName("/t/a.device.xml"), "/t/a.device.xml_comp.xml");
  EXPECT_EQ(conversion.MakeDeviceXmlName("/t/dev.ddl"), "/t/dev.ddlen.device.xml");
  conversion.setLanguage("de");
  EXPECT_EQ(conversion.MakeDeviceXmlName("/t/dev.ddl"), "/t/dev.ddlde.device.xml");
  ASSERT_TRUE(Transform(kDeviceXml));
  const std::string comp = work_.Join("t/dev.ddlen.device.xml_comp.xml");
  EXPECT_EQ(Cconversion::SetInPath(comp, "/src/"), 0u);
  EXPECT_EQ(xml::Document::LoadFile(comp, nullptr)->Root().Attribute("inPath"), "/src/");
  EXPECT_EQ(Cconversion::SetInPath(work_.Join("none.xml"), "/src/"), ZARN_E_DOCUMENT);
}

}  // namespace
}  // namespace zarn
