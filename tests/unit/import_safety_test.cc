// Hostile component XML: ids, folder paths and file references that would reach
// outside the catalog directory are refused, and nothing is written outside it.
#include <chrono>

#include "platform/paths.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

struct HostileCase {
  const char* name;
  const char* body;  // the COMPONENT element; {SRC} stands for an absolute directory
};

const HostileCase kHostile[] = {
    {"IdClimbs", "<COMPONENT id=\"..\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/></COMPONENT>"},
    {"IdHoldsSeparator", "<COMPONENT id=\"a/b\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/></COMPONENT>"},
    {"IdHoldsListSeparator", "<COMPONENT id=\"a;b\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/></COMPONENT>"},
    {"IdHoldsControlCharacter",
     "<COMPONENT id=\"a&#9;b\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/></COMPONENT>"},
    {"FolderHoldsListSeparator",
     "<COMPONENT id=\"C\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/>"
     "<COMPONENT_PATH name=\"x;/DEVICE/C\"/></COMPONENT>"},
    {"ManufacturerHoldsListSeparator",
     "<COMPONENT id=\"C\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M;N\"/></COMPONENT>"},
    {"FolderPathClimbs",
     "<COMPONENT id=\"C\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/>"
     "<COMPONENT_PATH name=\"a/../../../../x\"/></COMPONENT>"},
    {"FolderPathClimbsWithBackslashes",
     "<COMPONENT id=\"C\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/>"
     "<COMPONENT_PATH name=\"a\\..\\..\\x\"/></COMPONENT>"},
    {"ProtocolClimbs", "<COMPONENT id=\"C\"><PROTOCOL name=\"..\"/><MANUFACTURER name=\"M\"/></COMPONENT>"},
    {"ManufacturerClimbs", "<COMPONENT id=\"C\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"../..\"/></COMPONENT>"},
    {"SectionIsAbsolute", "<COMPONENT id=\"C\"><section name=\"{SRC}\"/><PROTOCOL name=\"HART\"/></COMPONENT>"},
    {"SectionIsCatalogData", "<COMPONENT_FOLDER id=\"F\"><section name=\"catalogData\"/></COMPONENT_FOLDER>"},
    {"SourceReferenceClimbs",
     "<COMPONENT id=\"C\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/><ZARN>../../../etc/passwd</ZARN>"
     "</COMPONENT>"},
    {"ImageIsAbsolute",
     "<COMPONENT id=\"C\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/><IMAGE>{SRC}/a.ddl</IMAGE></COMPONENT>"},
    {"AdditionalSourceClimbs",
     "<COMPONENT id=\"C\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/>"
     "<ADDITIONAL_ZARNS><string>x/../../y.ddl</string></ADDITIONAL_ZARNS></COMPONENT>"},
    {"DeviceItemClimbs",
     "<COMPONENT id=\"C\"><PROTOCOL name=\"HART\"/><MANUFACTURER name=\"M\"/>"
     "<HWCN_DeviceItem name=\"../../item.ddl\"/></COMPONENT>"},
};

class HostileImportTest : public ImportDriverTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileImportTest, IsRefusedAndWritesNothingOutsideTheCatalog) {
  ImportFirst();
  const std::string sources = Sources("hostile_src");
  std::string body = GetParam().body;
  for (size_t at; (at = body.find("{SRC}")) != std::string::npos;) body.replace(at, 5, work_.Join("hostile_src"));
  const std::string xml = Component("hostile/dev.ddl_comp.xml", body, sources);
  const std::string before = CatalogFile();
  const TreeSnapshot area = FileArea();
  const TreeSnapshot outside = Outside();
  EXPECT_EQ(Import(xml), ZARN_E_IMPORT_ARGUMENT);
  EXPECT_EQ(CatalogFile(), before);
  EXPECT_EQ(FileArea(), area);
  EXPECT_EQ(Outside(), outside);
}

INSTANTIATE_TEST_SUITE_P(Refused, HostileImportTest, ::testing::ValuesIn(kHostile),
                         [](const auto& info) { return std::string(info.param.name); });

// An inPath that names no source directory of the component XML is refused before
// anything is read below it or copied from it: the root (whose tree the import
// would otherwise search for sources), a system directory, a parent directory.
TEST_F(ImportDriverTest, InPathOutsideTheComponentsTreeIsRefused) {
  ImportFirst();
  Sources("cfm_src");
  for (const std::string& in_path : {std::string("/"), std::string("/etc/"), work_.Join("")}) {
    SCOPED_TRACE(in_path);
    const std::string xml = Component("far/dev.ddl_comp.xml", Device("CFM900", "<ZARN>passwd</ZARN>"), in_path);
    const std::string before = CatalogFile();
    const TreeSnapshot area = FileArea();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Import(xml), ZARN_E_IMPORT_ARGUMENT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(CatalogFile(), before);
    EXPECT_EQ(FileArea(), area);
  }
}

// Malformed component XML fails with a result code and changes nothing: cut off,
// entities that expand without end, bytes that are not UTF-8, an empty file and a
// document without components (which must not import as a component).
TEST_F(ImportDriverTest, MalformedComponentXmlChangesNothing) {
  ImportFirst();
  std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\">";
  for (char e = 'b'; e <= 'j'; ++e) {
    std::string value;
    for (int i = 0; i < 10; ++i) value += std::string("&") + static_cast<char>(e - 1) + ";";
    laughs += std::string("<!ENTITY ") + e + " \"" + value + "\">";
  }
  laughs +=
      "]><COMP_COMPONENTXML><version>1</version><COMPONENT id=\"x\"><LABEL><string>&j;</string></LABEL>"
      "</COMPONENT></COMP_COMPONENTXML>";
  const std::string device = "<COMP_COMPONENTXML><version>1</version>" + Device("CFM900") + "</COMP_COMPONENTXML>";
  const std::pair<const char*, std::string> inputs[] = {
      {"truncated", device.substr(0, device.size() / 2)},
      {"entity expansion", laughs},
      {"invalid UTF-8", "<COMP_COMPONENTXML><version>1</version>" +
                            Device("CFM900", "<HELP><string>\xff\xfe</string></HELP>") + "</COMP_COMPONENTXML>"},
      {"empty", ""},
      {"no component", "<COMP_COMPONENTXML><version>1</version></COMP_COMPONENTXML>"},
  };
  for (const auto& [what, text] : inputs) {
    SCOPED_TRACE(what);
    const std::string xml = work_.Join(std::string("bad_") + std::to_string(text.size()) + "/dev.ddl_comp.xml");
    testing::WriteFile(xml, text);
    const std::string before = CatalogFile();
    const TreeSnapshot area = FileArea();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_NE(Import(xml), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(CatalogFile(), before);
    EXPECT_EQ(FileArea(), area);
  }
}

TEST(InPathTest, SourceDirectoriesOfTheComponentXmlOnly) {
  testing::ScratchDir dir;
  testing::WriteFile(dir.Join("x/dev.ddl_comp.xml"), "");
  testing::WriteFile(dir.Join("x/sub/a.txt"), "");
  testing::WriteFile(dir.Join("src/dev.ddl"), "");
  testing::WriteFile(dir.Join("tmp/out/a_comp.xml"), "");
  const std::string xml = dir.Join("x/dev.ddl_comp.xml");
  for (const std::string& good :
       {std::string(), dir.Join("x"), dir.Join("x/sub/"), dir.Join("src/"), dir.Join("none/")}) {
    EXPECT_TRUE(IsAcceptedInPath(good, xml, dir.Join("tmp"))) << good << " for the component XML's own";
  }
  for (const std::string& bad : {std::string("/"), std::string("/etc/"), dir.Join(""), DirectoryOfFile(dir.Join(""))}) {
    EXPECT_FALSE(IsAcceptedInPath(bad, xml, dir.Join("tmp"))) << bad;
  }
  EXPECT_TRUE(IsAcceptedInPath("/etc/", dir.Join("tmp/out/a_comp.xml"), dir.Join("tmp"))) << "written by conversion";
  EXPECT_FALSE(IsAcceptedInPath("/", dir.Join("tmp/out/a_comp.xml"), dir.Join("tmp")));
}

TEST(FileAreaDirectoryTest, AcceptsOnlyDirectoriesStrictlyInsideTheCatalog) {
  const std::string catalog = "/w/zarn_catalog";
  std::string native;
  EXPECT_TRUE(FileAreaDirectory(catalog, "\\DEVICE\\HART\\M\\C", &native));
  EXPECT_EQ(native, "/w/zarn_catalog/DEVICE/HART/M/C");
  EXPECT_TRUE(FileAreaDirectory(catalog, "\\DEVICE\\\\C", &native)) << "a virtual element adds an empty segment";
  for (const char* bad : {"", "\\", "\\..", "\\DEVICE\\..\\..", "\\a/..\\..\\..", "\\catalogData", "\\catalogData\\x",
                          "\\Device", "\\.\\x"}) {
    EXPECT_FALSE(FileAreaDirectory(catalog, bad, &native)) << bad;
  }
  EXPECT_FALSE(FileAreaDirectory(catalog, std::string("\\a\0b", 4), &native));
}

TEST(FileReferenceTest, RelativeNamesBelowTheDirectoryOnly) {
  for (const char* good : {"", "a.ddl", "sub/a.ddl", "sub\\a.ddl", "a..b.ddl", "./a.ddl"}) {
    EXPECT_TRUE(IsSafeFileReference(good)) << good;
  }
  for (const char* bad : {"/etc/passwd", "\\x", "..", "../a", "a/../../b", "a\\..\\b", "C:\\x", "c:x"}) {
    EXPECT_FALSE(IsSafeFileReference(bad)) << bad;
  }
}

}  // namespace
}  // namespace zarn
