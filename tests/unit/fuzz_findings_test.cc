// Component XML documents the fuzzer (fuzz/fuzz_component_xml.cc) found to leave a
// catalog that breaks one of its promises: each import either fails and changes
// nothing, or leaves a catalog the checker finds sound.
#include "maintenance/catalog_check.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

class FuzzFindingsTest : public ImportDriverTest {
 protected:
  // Every violation the checker finds, one per line.
  std::string Violations() {
    std::string text;
    for (const CatalogViolation& v : CheckCatalog(Catalog()).violations) {
      text += std::to_string(static_cast<int>(v.invariant)) + " " + v.path + " " + v.subject + "\n";
    }
    return text;
  }
};

// A component without a folder path and without a maker has no name of its own
// below its protocol: its content and files went to the protocol level.
TEST_F(FuzzFindingsTest, ComponentWithoutNameBelowALevelIsRefused) {
  const std::string bare = "<COMPONENT id=\"top\"><PROTOCOL name=\"PROFIBUS\"/><ZARN>dev.ddl</ZARN></COMPONENT>";
  EXPECT_EQ(Import(Component("top/dev.ddl_comp.xml", bare, Sources("top_src"))), ZARN_E_NO_LEVEL);
  EXPECT_FALSE(std::filesystem::exists(Catalog().catalogFile()));
  EXPECT_FALSE(std::filesystem::exists(CatalogDir() + "/DEVICE"));
  EXPECT_EQ(Violations(), "");

  // Beside a catalog that has the level already, the level stays as it was.
  ImportFirst();
  const std::string before = CatalogFile();
  const std::string hart = "<COMPONENT id=\"top\"><PROTOCOL name=\"HART\"/><ZARN>dev.ddl</ZARN></COMPONENT>";
  EXPECT_EQ(Import(Component("again/dev.ddl_comp.xml", hart, Sources("again_src"))), ZARN_E_NO_LEVEL);
  EXPECT_EQ(CatalogFile(), before);
  EXPECT_EQ(Violations(), "");
}

// A folder object with a protocol and a classification describes the classification
// level; what it holds beside its placement (identification, a revision, a source)
// went into the level.
TEST_F(FuzzFindingsTest, LevelObjectGivesItsLevelNoComponentContent) {
  const std::string level =
      "<COMPONENT_FOLDER id=\"Coriolis\"><PROTOCOL name=\"HART\"/><CLASSIFICATION name=\"SENSOR_X\"/>"
      "<MANUFACTURER other=\"Nordvik\"/><DEVICE_REVISION>1</DEVICE_REVISION><ZARN>dev.ddl</ZARN>"
      "<LABEL><string>Coriolis meters</string></LABEL></COMPONENT_FOLDER>"
      "<COMPONENT id=\"C1\"><PROTOCOL name=\"HART\"/><CLASSIFICATION name=\"SENSOR_X\"/>"
      "<MANUFACTURER name=\"Nordvik\">0x00f1</MANUFACTURER><ZARN>dev.ddl</ZARN></COMPONENT>";
  ASSERT_EQ(Import(Component("level/dev.ddl_comp.xml", level, Sources("level_src"))), 0u);
  EXPECT_EQ(Violations(), "");
  EXPECT_EQ(Count("//CLASSIFICATION[@id='SENSOR_X']/LABEL"), 1u);
  EXPECT_EQ(Count("//CLASSIFICATION[@id='SENSOR_X']/DEVICE_REVISION"), 0u);
}

// A relation entry that names its component by catalog path (as text, not by ref)
// names a path that neither the catalog nor the import holds: the entry is left
// out (the relation goes with its last entry), the rest of the import stands.
TEST_F(FuzzFindingsTest, RelationPathThatNamesNothingIsLeftOut) {
  ImportFirst();
  const std::string first = "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex/Other/First";
  const std::string relations =
      "<COMPONENT_RELATIONS><COMPONENT_RELATION id=\"gone\"><RELATION_TYPE><SIBLING_COMPONENT/></RELATION_TYPE>"
      "<COMPONENTS><component><component_ref>/DEVICE/NOWHERE/X</component_ref></component></COMPONENTS>"
      "</COMPONENT_RELATION><COMPONENT_RELATION id=\"mixed\"><RELATION_TYPE><SIBLING_COMPONENT/></RELATION_TYPE>"
      "<COMPONENTS><component><component_ref>/DEVICE/NOWHERE/Y</component_ref></component>"
      "<component><component_ref>" +
      first + "</component_ref></component></COMPONENTS></COMPONENT_RELATION></COMPONENT_RELATIONS>";
  ASSERT_EQ(Import(Component("rel/dev.ddl_comp.xml", Device("A", relations), Sources("rel_src"))), 0u);
  EXPECT_EQ(Violations(), "");
  EXPECT_EQ(Count("//COMPONENT[@id='A']//COMPONENT_RELATION[@id='gone']"), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='A']//COMPONENT_RELATION[@id='mixed']//component_ref"), 1u);
  EXPECT_EQ(Count("//COMPONENT[@id='A']//COMPONENT_RELATION[@id='mixed']//component_ref[.='" + first + "']"), 1u);
}

// A component names files its source directory does not hold: the catalog does not
// name them (the names of files that are there stay), and the import stands.
TEST_F(FuzzFindingsTest, NamesOfFilesTheSourcesLackAreLeftOut) {
  const std::string files =
      "<ZARN>dev.ddl</ZARN><IMAGE>missing.png</IMAGE><DEVICE_MANUAL>manual.txt</DEVICE_MANUAL>"
      "<ADDITIONAL_ZARNS><string>a.ddl</string><string>gone.ddl</string></ADDITIONAL_ZARNS>"
      "<HWCN_DeviceItem name=\"none.ddl\"/>";
  ASSERT_EQ(Import(Component("files/dev.ddl_comp.xml", Device("A", files), Sources("files_src"))), 0u);
  EXPECT_EQ(Violations(), "");
  EXPECT_EQ(Count("//COMPONENT[@id='A']/ZARN[.='dev.ddl']"), 1u);
  EXPECT_EQ(Count("//COMPONENT[@id='A']/DEVICE_MANUAL[.='manual.txt']"), 1u);
  EXPECT_EQ(Count("//COMPONENT[@id='A']/IMAGE"), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='A']/HWCN_DeviceItem"), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='A']/ADDITIONAL_ZARNS/string"), 1u);
  EXPECT_EQ(Count("//COMPONENT[@id='A']/ADDITIONAL_ZARNS/string[.='a.ddl']"), 1u);
}

// A component placed by COMPONENT_PARENT below a folder that the import does not
// create (a CHILD_COMPONENT relation of another component names it): it was filed
// at the section level, which got the relation's inverse copy. It fits no level.
TEST_F(FuzzFindingsTest, ParentThatTheImportDoesNotCreate) {
  const std::string body =
      "<COMPONENT_FOLDER id=\"SECTION.DEVICE\"><section name=\"DEVICE\"/></COMPONENT_FOLDER>"
      "<COMPONENT_FOLDER id=\"PROTOCOL.HART\"><PROTOCOL name=\"HART\"/></COMPONENT_FOLDER>"
      "<COMPONENT_FOLDER id=\"CLASSIFICATION.HART.SFC\"><PROTOCOL name=\"HART\"/>"
      "<CLASSIFICATION name=\"SENSOR_FLOW_CORIOLIS\"/></COMPONENT_FOLDER>"
      "<COMPONENT id=\"A\"><PROTOCOL name=\"HART\"/><CLASSIFICATION name=\"SENSOR_FLOW_CORIOLIS\"/>"
      "<COMPONENT_PATH name=\"Flow/A\"/><MANUFACTURER name=\"Nordvik\">0x00f1</MANUFACTURER>"
      "<DEVICE_TYPE>0xf1a5</DEVICE_TYPE><ZARN>dev.ddl</ZARN><COMPONENT_RELATIONS><COMPONENT_RELATION id=\"r\">"
      "<RELATION_TYPE><CHILD_COMPONENT/></RELATION_TYPE><COMPONENTS><component><component_ref ref=\"B\"/>"
      "</component></COMPONENTS></COMPONENT_RELATION></COMPONENT_RELATIONS></COMPONENT>"
      "<COMPONENT id=\"B\"><COMPONENT_PARENT refid=\"Nowhere\"/><ZARN>dev.ddl</ZARN>"
      "<DEVICE_TYPE>0xf1a6</DEVICE_TYPE></COMPONENT>";
  const std::string xml = Component("parent/dev.ddl_comp.xml", body, Sources("parent_src"));
  EXPECT_EQ(Import(xml), ZARN_E_NO_LEVEL);
  EXPECT_FALSE(std::filesystem::exists(Catalog().catalogFile()));
  EXPECT_FALSE(std::filesystem::exists(CatalogDir() + "/DEVICE"));
  ImportFirst();
  const std::string before = CatalogFile();
  EXPECT_EQ(Import(xml), ZARN_E_NO_LEVEL);
  EXPECT_EQ(CatalogFile(), before);
  EXPECT_EQ(Violations(), "");
}

}  // namespace
}  // namespace zarn
