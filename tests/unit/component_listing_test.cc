// ZARN_GetComponents on directories, marker paths and component XML files: records
// that name files without converting them.
#include "tests/unit/conversion_fixture.h"

namespace zarn {
namespace {

using testing::WriteFile;

constexpr const char* kComponentXml =
    "<COMP_COMPONENTXML inPath=\"\"><version>1</version>"
    "<COMPONENT id=\"c1\"><LABEL><string>One</string><string lang=\"de\">Eins</string></LABEL>"
    "<PROTOCOL name=\"HART\"/><CLASSIFICATION name=\"SENSOR_FLOW_CORIOLIS\"/><MANUFACTURER name=\"M\"/>"
    "<COMPONENT_PATH name=\"F/c1\"/></COMPONENT>"
    "<COMPONENT_FOLDER id=\"f1\"><COMPONENT_PATH name=\"F\"/></COMPONENT_FOLDER>"
    "<COMPONENT id=\"c2\"><HELP><string>Two</string></HELP></COMPONENT>"
    "</COMP_COMPONENTXML>";

class ComponentListingTest : public ConversionTest {
 protected:
  std::string Dir(const std::string& relative) const { return work_.Join("in/" + relative); }
  void Touch(const std::string& relative) { ASSERT_TRUE(WriteFile(Dir(relative), "x")); }
};

TEST_F(ComponentListingTest, ArgumentsAndFreeing) {
  ComponentXMLInfo* list = nullptr;
  EXPECT_EQ(ZARN_GetComponents(nullptr, &list, nullptr), ZARN_RESULT_MINUS_ONE);
  EXPECT_EQ(Get(work_.Join("no/such/file.ddl")), ZARN_E_NO_RECORDS);
  EXPECT_EQ(ZARN_FreeComponentXMLInfo(nullptr), 0u);
}

TEST_F(ComponentListingTest, ComponentXmlFileGivesOneRecordPerObjectLastReadFirst) {
  ASSERT_TRUE(WriteFile(Dir("x.xml"), kComponentXml));
  std::vector<Record> records;
  ASSERT_EQ(Get(Dir("x.xml"), &records), 0u);
  ASSERT_EQ(Ids(records), (std::vector<std::string>{"c2", "c1", "f1"}));
  EXPECT_EQ(records[1].label, "One");
  // Without a source to identify, a component places by its folders alone (its
  // MANUFACTURER names no placement).
  EXPECT_EQ(records[1].hierarchy,
            (std::vector<std::string>{"COMPONENT=F/c1", "CLASSIFICATION=CORIOLIS", "CLASSIFICATION=FLOW",
                                      "CLASSIFICATION=SENSOR", "PROTOCOL=HART"}));
  EXPECT_EQ(records[0].help, "Two");
  EXPECT_FALSE(records[0].hasLabel);
  EXPECT_EQ(records[2].hierarchy, std::vector<std::string>{"COMPONENT_FOLDER=F"});
  EXPECT_EQ(records[0].path, Dir("x.xml"));
  ASSERT_EQ(ZARN_SetCatalogLanguage(u"de"), 0u);
  records.clear();
  ASSERT_EQ(Get(Dir("x.xml"), &records), 0u);
  EXPECT_EQ(records[1].label, "Eins");
}

TEST_F(ComponentListingTest, GlobalSourcesGiveOneMarkerRecord) {
  Touch("a.ddl");
  Touch("sub/_global/io_module_general_properties.mdd");
  std::vector<Record> records;
  ASSERT_EQ(Get(Dir(""), &records), 0u);
  ASSERT_EQ(Paths(records), std::vector<std::string>{Dir("<ZarnGlobSpecial>")});
  EXPECT_EQ(records[0].message, "");
}

TEST_F(ComponentListingTest, PiLibraryIsMarkedBeforeTheSourcesAreListed) {
  Touch("pa/PI/0000/pa_import.h");
  Touch("pa/PI/00002A_0001_01_02.ddl");
  Touch("b.ddl");
  std::vector<Record> records;
  ASSERT_EQ(Get(Dir(""), &records), 0u);
  EXPECT_EQ(Paths(records), (std::vector<std::string>{Dir("pa/PI/00002A_0001_01_02.ddl"), Dir("b.ddl"),
                                                      Dir("pa/PI/<FoundPiLibrarySpecial>")}));
  EXPECT_EQ(records.back().message, "xml");
}

TEST_F(ComponentListingTest, PiLibraryMarkerGivesThePaLibraryRecord) {
  std::vector<Record> records;
  ASSERT_EQ(Get(Dir("pa/PI/<FoundPiLibrarySpecial>"), &records), 0u);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].label, "PA-Library");
  EXPECT_EQ(records[0].path, Dir("pa/PI/<FoundPiLibrarySpecial>"));
  EXPECT_EQ(records[0].hierarchy, (std::vector<std::string>{"COMPONENT=PA-Library", "PROTOCOL=PROFIBUS"}));
}

TEST_F(ComponentListingTest, DirectoryWithComponentXmlListsOnlyThose) {
  ASSERT_TRUE(WriteFile(Dir("x.xml"), kComponentXml));
  ASSERT_TRUE(WriteFile(Dir("sub/y.xml"), kComponentXml));
  ASSERT_TRUE(WriteFile(Dir("plain.xml"), "<other/>"));
  Touch("a.ddl");
  std::vector<Record> records;
  ASSERT_EQ(Get(Dir(""), &records), 0u);
  EXPECT_EQ(Paths(records), (std::vector<std::string>{Dir("x.xml"), Dir("sub/y.xml")}));
}

TEST_F(ComponentListingTest, SourcesAreListedIdentMddPreferred) {
  Touch("a.ddl");
  Touch("m/one.mdd");
  Touch("m/devIdent.mdd");
  std::vector<Record> records;
  ASSERT_EQ(Get(Dir(""), &records), 0u);
  EXPECT_EQ(Paths(records), (std::vector<std::string>{Dir("m/devIdent.mdd"), Dir("a.ddl")}));
  std::filesystem::remove(Dir("m/devIdent.mdd"));
  records.clear();
  ASSERT_EQ(Get(Dir(""), &records), 0u);
  EXPECT_EQ(Paths(records), (std::vector<std::string>{Dir("m/one.mdd"), Dir("a.ddl")}));
}

// A directory of one device split over fragments: only the files nobody includes
// are sources; .edd counts like .ddl; a file of comments only is no source.
TEST_F(ComponentListingTest, FragmentsAndEmptyFilesAreNoSources) {
  ASSERT_TRUE(WriteFile(Dir("dev/main.ddl"), "#include \"defs.h\"\n#include \"Parts/Menus.DDL\"\nMANUFACTURER 1,\n"));
  ASSERT_TRUE(WriteFile(Dir("dev/defs.h"), "#include <blocks.ddl>\n"));  // a header pulls in a fragment
  ASSERT_TRUE(WriteFile(Dir("dev/blocks.ddl"), "VARIABLE b {}\n"));
  ASSERT_TRUE(WriteFile(Dir("dev/parts/menus.ddl"), "#include \"menu_items.ddl\" // next to the includer\n"));
  ASSERT_TRUE(WriteFile(Dir("dev/parts/menu_items.ddl"), "MENU m {}\n"));
  ASSERT_TRUE(WriteFile(Dir("dev/template.ddl"), "/* a template,\n   nothing else */\n// really\n \n"));
  ASSERT_TRUE(
      WriteFile(Dir("dev/unused.ddl"), "/* #include \"main.ddl\" */\n// #include \"other.edd\"\nVARIABLE u {}\n"));
  ASSERT_TRUE(WriteFile(Dir("dev/other.edd"), "#include \"missing.h\"\nVARIABLE o {}\n"));
  std::vector<Record> records;
  ASSERT_EQ(Get(Dir("dev"), &records), 0u);
  EXPECT_EQ(Paths(records),
            (std::vector<std::string>{Dir("dev/other.edd"), Dir("dev/unused.ddl"), Dir("dev/main.ddl")}));
  // A directory of .edd sources alone has something to convert.
  ASSERT_TRUE(WriteFile(Dir("edd/a.edd"), "VARIABLE a {}\n"));
  records.clear();
  ASSERT_EQ(Get(Dir("edd"), &records), 0u);
  EXPECT_EQ(Paths(records), std::vector<std::string>{Dir("edd/a.edd")});
}

TEST_F(ComponentListingTest, EmptyDirectoryGivesAnEmptyListAndGlobalDirectoryNoRecords) {
  std::filesystem::create_directories(Dir("empty/sub"));
  std::vector<Record> records;
  EXPECT_EQ(Get(Dir("empty"), &records), 0u) << "nothing to convert is no failure";
  EXPECT_TRUE(records.empty());
  Touch("_global/a.ddl");
  EXPECT_EQ(Get(Dir("_global")), ZARN_E_NO_RECORDS);
  EXPECT_EQ(Get(Dir("<ZarnGlobSpecial>")), ZARN_E_NO_RECORDS) << "a batch without convertible sources";
}

TEST_F(ComponentListingTest, RecordLayoutKeepsItsFieldOrder) {
  EXPECT_EQ(offsetof(ComponentXMLInfo, label), 0u);
  EXPECT_EQ(offsetof(ComponentXMLInfo, help), 8u);
  EXPECT_EQ(offsetof(ComponentXMLInfo, id), 16u);
  EXPECT_EQ(offsetof(ComponentXMLInfo, componentXmlPath), 24u);
  EXPECT_EQ(offsetof(ComponentXMLInfo, message), 32u);
  EXPECT_EQ(offsetof(ComponentXMLInfo, hierarchy), 40u);
  EXPECT_EQ(offsetof(ComponentXMLInfo, next), 48u);
  EXPECT_EQ(offsetof(ComponentXMLLevel, value), 8u);
  EXPECT_EQ(offsetof(ComponentXMLLevel, next), 32u);
}

}  // namespace
}  // namespace zarn
