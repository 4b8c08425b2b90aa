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

}  // namespace
}  // namespace zarn
