// The import driver: the tree an import builds, the copied files, the identification
// index, repeated imports, modes, and the rollback of every failing step.
#include <filesystem>
#include <set>

#include "maintenance/catalog_check.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

using testing::ReadFile;
using testing::TraceCapture;
using testing::WriteFile;

constexpr const char* kComponentXPath =
    "/ZARN_CATALOG/section[@id='DEVICE']/PROTOCOL[@id='HART']/CLASSIFICATION[@id='SENSOR']/"
    "CLASSIFICATION[@id='FLOW']/CLASSIFICATION[@id='CORIOLIS']/MANUFACTURER[@id='Zentrifex']/"
    "COMPONENT_FOLDER[@id='Flow']/COMPONENT_FOLDER[@id='Coriolis']/COMPONENT[@id='CFM900']";
constexpr const char* kComponentPath = "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex/Flow/Coriolis/CFM900";
constexpr const char* kFsPath = "\\DEVICE\\HART\\SENSOR\\FLOW\\CORIOLIS\\Zentrifex\\Flow\\Coriolis\\CFM900";

TEST_F(ImportDriverTest, ImportBuildsTheTreeCopiesTheFilesAndIndexesTheComponent) {
  ASSERT_EQ(Import(Component("cfm/dev.ddl_comp.xml", Device("CFM900", "<DEVICE_MANUAL>manual.txt</DEVICE_MANUAL>"),
                             Sources("cfm_src"))),
            0u);
  EXPECT_EQ(Count(kComponentXPath), 1u);
  EXPECT_EQ(Count(std::string(kComponentXPath) + "[@fsPath='" + kFsPath + "']"), 1u);
  EXPECT_EQ(Count("//@idTmp"), 0u);
  EXPECT_EQ(Count("//COMPONENT[count(componentID) != 1] | //COMPONENT_FOLDER[count(componentID) != 1]"), 0u);

  const std::string files = CatalogDir() + DocumentPathToNative(kFsPath);
  EXPECT_EQ(ReadFile(files + "/dev.ddl"), "not a device description");
  EXPECT_FALSE(std::filesystem::exists(files + "/a.ddl")) << "another device of the source directory";
  EXPECT_EQ(ReadFile(files + "/manual.txt"), "manual");
  EXPECT_FALSE(std::filesystem::exists(files + "/a.ddl01")) << "stale compiled copy removed";

  std::string indexed;
  ASSERT_TRUE(Catalog().IndexLookup("00F1/F1A5/0003", &indexed));
  EXPECT_EQ(indexed, kComponentPath);
  ASSERT_NE(log_paths_, nullptr);
  EXPECT_EQ(ToUtf8(log_paths_->path), kComponentPath);
  EXPECT_EQ(ToUtf8(log_paths_->label), "CFM900 label");
}

// A source directory shared by several devices, with a backup and a key below it:
// the component's directory receives its source with the source's language
// variants, the header and picture the source names, and its manual; nothing else.
TEST_F(ImportDriverTest, AComponentsDirectoryReceivesOnlyTheFilesItRefersTo) {
  const std::string dir = work_.Join("shared_src");
  WriteFile(dir + "/dev.ddl", "#include \"hdr/common.h\"\nIMAGE logo { PATH \"pics/dev.png\"; } // \"notes.txt\"\n");
  WriteFile(dir + "/dev.gsg", "dev in German");
  WriteFile(dir + "/dev-de.xml", "texts in German");
  WriteFile(dir + "/hdr/common.h", "#include \"macros.h\"\n");
  WriteFile(dir + "/hdr/macros.h", "/* macros */");
  WriteFile(dir + "/pics/dev.png", "png");
  WriteFile(dir + "/manual.txt", "manual");
  WriteFile(dir + "/notes.txt", "named in a comment only");
  WriteFile(dir + "/other.ddl", "another device");
  WriteFile(dir + "/device-developer.txt", "not a language variant");
  WriteFile(dir + "/.ssh/id_rsa", "key");
  WriteFile(dir + "/backup/big.bin", "backup");
  const std::string manual = "<DEVICE_MANUAL>manual.txt</DEVICE_MANUAL>";
  ASSERT_EQ(Import(Component("cfm/dev.ddl_comp.xml", Device("CFM900", manual), dir + "/")), 0u);
  const std::string files = CatalogDir() + DocumentPathToNative(kFsPath);
  std::set<std::string> copied;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(files)) {
    if (entry.is_regular_file()) copied.insert(entry.path().lexically_relative(files).string());
  }
  const std::set<std::string> expected = {"dev.ddl",      "dev.gsg",      "dev-de.xml", "hdr/common.h",
                                          "hdr/macros.h", "pics/dev.png", "manual.txt", "dev.ddl_comp.xml"};
  EXPECT_EQ(copied, expected);
}

TEST_F(ImportDriverTest, SecondImportOfTheSameSourceIsAlreadyPresentAndChangesNothing) {
  const std::string xml = Component("cfm/dev.ddl_comp.xml", Device("CFM900"), Sources("cfm_src"));
  ASSERT_EQ(Import(xml), 0u);
  const std::string before = CatalogFile();
  const TreeSnapshot area = FileArea();
  const uint32_t again = Import(xml);
  EXPECT_TRUE(again == ZARN_E_ALREADY_PRESENT || again == ZARN_E_SAME_DEVICE_REVISION) << std::hex << again;
  EXPECT_EQ(CatalogFile(), before);
  EXPECT_EQ(FileArea(), area);
  EXPECT_EQ(Count("//COMPONENT[@id='CFM900']"), 1u);
}

TEST_F(ImportDriverTest, ModesOtherThanZeroAndOne) {
  ImportFirst();
  const std::string before = CatalogFile();
  const TreeSnapshot area = FileArea();
  const std::string xml = Component("cfm/dev.ddl_comp.xml", Device("CFM900"), Sources("cfm_src"));
  EXPECT_EQ(Import(xml, 2), ZARN_E_IMPORT_ARGUMENT);
  EXPECT_EQ(Import(xml, -1), ZARN_E_IMPORT_ARGUMENT);
  EXPECT_EQ(CatalogFile(), before);
  EXPECT_EQ(FileArea(), area);
  EXPECT_EQ(Import(xml, 1), 0u) << "mode 1 runs the side steps and saves";
  EXPECT_EQ(Count("//COMPONENT[@id='CFM900']"), 0u);
  EXPECT_EQ(log_paths_, nullptr);
}

TEST_F(ImportDriverTest, ModeOneOnAnEmptyCatalogWritesNoFile) {
  EXPECT_EQ(Import(work_.Join("nothing.xml"), 1), 0u);
  EXPECT_FALSE(std::filesystem::exists(Catalog().catalogFile()));
  EXPECT_EQ(Import(work_.Join("nothing.xml")), ZARN_E_IMPORT_ARGUMENT) << "not an existing file";
}

// ---- Failures: every failing step leaves the catalog file and the file area as
// they were before the import.

class ImportFailureTest;

struct FailureCase {
  const char* name;
  uint32_t expected;
  // Prepares the failure and returns the path to import.
  std::string (*prepare)(ImportFailureTest* f);
};

class ImportFailureTest : public ImportDriverTest, public ::testing::WithParamInterface<FailureCase> {
 public:
  using ImportDriverTest::Component;
  using ImportDriverTest::Device;
  using ImportDriverTest::Sources;
  std::string Join(const std::string& relative) { return work_.Join(relative); }
  std::string Temp() { return TempDir(); }
};

uint32_t RefuseCompile(const std::string&) { return 0x90300001u; }

const FailureCase kFailures[] = {
    {"UnreadableComponentXml", ZARN_E_XML_LOAD,
     [](ImportFailureTest* f) {
       const std::string path = f->Join("bad/dev.ddl_comp.xml");
       WriteFile(path, "<COMP_COMPONENTXML><version>");
       return path;
     }},
    {"NoObjects", ZARN_E_NO_COMPONENT,
     [](ImportFailureTest* f) { return f->Component("empty/dev.ddl_comp.xml", "", ""); }},
    {"ObjectWithoutId", ZARN_E_OBJECT_WITHOUT_ID,
     [](ImportFailureTest* f) { return f->Component("noid/dev.ddl_comp.xml", "<COMPONENT/>", ""); }},
    {"FailingCopy", ZARN_E_COPY,
     [](ImportFailureTest* f) {
       return f->Component("cfm/dev.ddl_comp.xml", f->Device("CFM900"), f->Join("no_such_sources"));
     }},
    {"FailingDeviceSource", ZARN_E_HWCN_DEVICE_IMPORT,
     [](ImportFailureTest* f) {
       return f->Component("cfm/dev.ddl_comp.xml",
                           f->Device("CFM900", "<HWCN_Device name=\"" + f->Temp() + "/hw/no.xml\"/>"),
                           f->Sources("cfm_src"));
     }},
    {"FailingRackSourceAfterAnImportedDevice", ZARN_E_HWCN_RACK_IMPORT,
     [](ImportFailureTest* f) {
       const std::string device =
           f->Component(f->Temp() + "/hw/device/dev.ddl_comp.xml", f->Device("CFM900__hwcn_device", "", "Hw", "0x0009"),
                        f->Sources("hw_src"));
       return f->Component("cfm/dev.ddl_comp.xml",
                           f->Device("CFM900", "<HWCN_Device name=\"" + device + "\"/><HWCN_Rack name=\"" + f->Temp() +
                                                   "/hw2/missing.xml\"/>"),
                           f->Sources("cfm_src"));
     }},
    {"FailingSave", ZARN_E_CANNOT_WRITE,
     [](ImportFailureTest* f) {
       SetBeforeRenameHookForTesting(&RefuseRename);
       return f->Component("cfm/dev.ddl_comp.xml", f->Device("CFM900"), f->Sources("cfm_src"));
     }},
    {"FailingCompileAfterImport", 0x90300001u,
     [](ImportFailureTest* f) {
       WriteFile(f->Join("settings.txt"), "CatalogCompileAfterImport=1\n");
       setenv("ZARN_SETTINGS", f->Join("settings.txt").c_str(), 1);
       SetCompileAfterImportHookForTesting(&RefuseCompile);
       return f->Component("cfm/dev.ddl_comp.xml", f->Device("CFM900"), f->Sources("cfm_src"));
     }},
};

TEST_P(ImportFailureTest, LeavesCatalogFileAndDirectoriesAsBefore) {
  ImportFirst();
  const std::string before = CatalogFile();
  const std::vector<std::string> directories = Directories();
  const TreeSnapshot area = FileArea();
  const size_t index_size = Catalog().IndexSize();
  const std::string path = GetParam().prepare(this);
  EXPECT_EQ(Import(path), GetParam().expected);
  SetBeforeRenameHookForTesting(nullptr);
  EXPECT_EQ(CatalogFile(), before);
  EXPECT_EQ(Directories(), directories) << "no directory created by the import remains";
  EXPECT_EQ(FileArea(), area) << "files written into directories that were there are gone again";
  EXPECT_EQ(Catalog().IndexSize(), index_size) << "keys of the failed import are not kept";
  EXPECT_FALSE(Catalog().getSubElementByXPath("//COMPONENT[@id='CFM900']")) << "the catalog was reloaded";
  unsetenv("ZARN_SETTINGS");
  SetCompileAfterImportHookForTesting(nullptr);
  ZARN_ResetCatalog();
  EXPECT_EQ(Import(Component("late/dev.ddl_comp.xml", Device("Late", "", "Late", "0x0007"), Sources("late_src"))), 0u)
      << "the catalog still imports";
}

INSTANTIATE_TEST_SUITE_P(EveryStep, ImportFailureTest, ::testing::ValuesIn(kFailures),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ImportDriverTest, CompileAfterImportRunsThroughTheObjectManager) {
  WriteFile(work_.Join("settings.txt"), "CatalogCompileAfterImport=1\n");
  setenv("ZARN_SETTINGS", work_.Join("settings.txt").c_str(), 1);
  ZARN_ResetCatalog();
  EXPECT_EQ(Import(Component("cfm/dev.ddl_comp.xml", Device("CFM900"), Sources("cfm_src"))), 0u);
  EXPECT_TRUE(Catalog().getCompileAfterImport());
  EXPECT_EQ(Count(kComponentXPath), 1u);
}

// Level folders written by hand without catalogLevel="true" (as Device() writes
// them) are levels all the same: no import adds a section, protocol or
// classification element of its own, nor files to one.
TEST_F(ImportDriverTest, UnmarkedLevelFoldersAddNoElementsOnLaterImports) {
  ImportFirst();
  ASSERT_EQ(Import(Component("a/dev.ddl_comp.xml", Device("A"), Sources("a_src"))), 0u);
  ASSERT_EQ(Import(Component("b/dev.ddl_comp.xml", Device("B", "", "Flow/Coriolis", "0x0004"), Sources("b_src"))), 0u);
  EXPECT_EQ(Count("//section"), 1u);
  EXPECT_EQ(Count("//section/section"), 0u);
  EXPECT_EQ(Count("//PROTOCOL"), 1u);
  EXPECT_EQ(Count("//section[@fsPath] | //PROTOCOL[@fsPath] | //CLASSIFICATION[@fsPath]"), 0u);
  EXPECT_TRUE(CheckCatalog(Catalog()).sound());
}

}  // namespace
}  // namespace zarn
