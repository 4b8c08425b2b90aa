// Directory names of the file area: an element id that is not safe as a directory
// name gets an escaped name of one level that reads back as the id; a safe id is its
// own name; an import files such a component in one directory below its maker.
#include "maintenance/file_area_names.h"

#include <filesystem>

#include "maintenance/catalog_check.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

TEST(FileAreaNameTest, SafeNamesStayAsTheyAre) {
  for (const char* name : {"DEVICE", "PROFIBUS_DP", "Nordvik Sensor A_S", "50% Flow", "Endress+Hauser", "Ä-Öl", "a.b",
                           "CONSOLE", "COM10", "nul_x", "%4", "x%", "%G1"}) {
    EXPECT_EQ(FileAreaName(name), name);
    EXPECT_EQ(NameOfFileAreaDirectory(name), name);
  }
}

TEST(FileAreaNameTest, UnsafeNamesGetOneSafeLevelThatReadsBack) {
  const std::pair<std::string, std::string> cases[] = {
      {"Nordvik\\Sensor", "Nordvik%5CSensor"},
      {"A/S", "A%2FS"},
      {"a;b", "a%3Bb"},
      {"tab\there", "tab%09here"},
      {std::string("nul\0x", 5), "nul%00x"},
      {"del\x7f", "del%7F"},
      {"Inc.", "Inc%2E"},
      {"trailing . ", "trailing%20%2E%20"},
      {".", "%2E"},
      {"..", "%2E%2E"},
      {"CON", "CO%4E"},
      {"nul.txt", "nu%6C.txt"},
      {"com1", "com%31"},
      {"LPT9.", "LPT%39%2E"},
      {"a%41", "a%2541"},
      {"%%41", "%%2541"},
      {"a:b*c?d\"e<f>g|h", "a%3Ab%2Ac%3Fd%22e%3Cf%3Eg%7Ch"},
  };
  for (const auto& [name, directory] : cases) {
    EXPECT_EQ(FileAreaName(name), directory) << name;
    EXPECT_EQ(NameOfFileAreaDirectory(directory), name) << directory;
    EXPECT_EQ(directory.find_first_of("/\\;"), std::string::npos) << directory;
  }
}

TEST(FileAreaNameTest, EveryByteReadsBack) {
  // Names from single bytes and pairs of them, in front of and behind a letter.
  for (int a = 0; a < 256; ++a) {
    for (int b : {0x25, 0x2e, 0x20, 0x41, 0x34, 0x5c, a}) {
      const std::string name = {static_cast<char>(a), static_cast<char>(b), 'x', static_cast<char>(a)};
      const std::string directory = FileAreaName(name);
      ASSERT_EQ(NameOfFileAreaDirectory(directory), name) << directory;
      ASSERT_EQ(directory.find_first_of(std::string_view("/\\;\0", 4)), std::string::npos) << directory;
      ASSERT_NE(directory.back(), '.');
      ASSERT_NE(directory.back(), ' ');
    }
  }
}

class FileAreaNamesImportTest : public ImportDriverTest {};

// A catalog written elsewhere holds a maker level whose id has a backslash and a
// trailing dot; a component imported below it gets one directory for the level.
TEST_F(FileAreaNamesImportTest, LevelWithUnsafeIdGetsOneDirectory) {
  testing::WriteFile(CatalogDir() + "/zarn_catalog_content.xml",
                     "<ZARN_CATALOG><section id=\"DEVICE\"><PROTOCOL id=\"HART\">"
                     "<CLASSIFICATION id=\"SENSOR\"><CLASSIFICATION id=\"FLOW\"><CLASSIFICATION id=\"CORIOLIS\">"
                     "<MANUFACTURER id=\"Zentrifex\\Flow Inc.\"/></CLASSIFICATION></CLASSIFICATION></CLASSIFICATION>"
                     "</PROTOCOL></section></ZARN_CATALOG>");
  ZARN_ResetCatalog();
  ZARN_InitCatalogManager(ToUtf16(work_.Join("work")).c_str());
  const std::string body = Device("Dev", "", "Flow/Coriolis");
  // The component's maker is the level of the catalog.
  std::string placed = body;
  const std::string maker = "name=\"Zentrifex\"";
  for (size_t at = placed.find(maker); at != std::string::npos; at = placed.find(maker, at + 1)) {
    placed.replace(at, maker.size(), "name=\"Zentrifex\\Flow Inc.\"");
  }
  ASSERT_EQ(Import(Component("dev/dev.ddl_comp.xml", placed, Sources("dev_src"))), 0u);
  const std::string level = CatalogDir() + "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex%5CFlow Inc%2E";
  EXPECT_TRUE(std::filesystem::is_regular_file(level + "/Flow/Coriolis/Dev/dev.ddl"))
      << testing::ReadFile(Catalog().catalogFile());
  EXPECT_FALSE(std::filesystem::exists(CatalogDir() + "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex"));
  EXPECT_TRUE(CheckCatalog(Catalog()).violations.empty());
  EXPECT_EQ(Count("//MANUFACTURER[@id='Zentrifex\\Flow Inc.']//COMPONENT[@id='Dev']"), 1u);
}

// An id with backslashes names one directory inside its maker's, however it climbs
// when the backslashes are read as separators; nothing is written outside.
TEST_F(FileAreaNamesImportTest, BackslashIdsStayOneDirectoryLevel) {
  ImportFirst();
  const std::string body =
      "<COMPONENT id=\"..\\..\\x\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/></COMPONENT>";
  const std::string xml = Component("bs/dev.ddl_comp.xml", body, Sources("bs_src"));
  const TreeSnapshot outside = Outside();
  ASSERT_EQ(Import(xml), 0u);
  EXPECT_EQ(Outside(), outside);
  EXPECT_TRUE(std::filesystem::is_regular_file(CatalogDir() + "/DEVICE/HART/M/..%5C..%5Cx/dev.ddl"));
  EXPECT_EQ(Count("//MANUFACTURER[@id='M']/COMPONENT[@id='..\\..\\x']"), 1u);
  EXPECT_TRUE(CheckCatalog(Catalog()).violations.empty());
}

// Names that were safe keep their directories: a catalog imported before keeps
// working, and a component imported beside an existing one lands where it did.
TEST_F(FileAreaNamesImportTest, SafeNamesKeepTheirDirectories) {
  ASSERT_EQ(Import(Component("dev/dev.ddl_comp.xml", Device("Dev"), Sources("dev_src"))), 0u);
  EXPECT_TRUE(
      std::filesystem::is_directory(CatalogDir() + "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex/Flow/Coriolis/Dev"));
  EXPECT_EQ(Count("//COMPONENT[@id='Dev' and "
                  "@fsPath='\\DEVICE\\HART\\SENSOR\\FLOW\\CORIOLIS\\Zentrifex\\Flow\\Coriolis\\Dev']"),
            1u)
      << testing::ReadFile(Catalog().catalogFile());
}

}  // namespace
}  // namespace zarn
