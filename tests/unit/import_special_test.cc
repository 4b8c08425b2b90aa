// The special imports: bundles of universal sources, the PROFIBUS PA library, the
// hardware-configuration sources and platform-source generation.
#include "maintenance/catalog_check.h"
#include "maintenance/deletion.h"
#include "platform/files.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

using testing::ReadFile;
using testing::TraceCapture;
using testing::WriteFile;

class ImportSpecialTest : public ImportDriverTest {
 protected:
  // A batch directory holding two component XML files whose sources lie in
  // bundle/one and bundle/two, and the list document naming them. Returns the
  // batch directory.
  std::string Bundle() {
    const std::string batch = TempDir() + "/ZarnGlobSpecial1";
    const std::string in = work_.Join("bundle/");
    WriteFile(in + "one/m1.mdd", "module one");
    WriteFile(in + "two/m2.mdd", "module two");
    Component(batch + "/1/m1.xml", Module("M1"), in + "one/");
    Component(batch + "/2/m2.xml", Module("M2"), in + "two/");
    WriteFile(batch + "/ZarnGlobSpecial.xml", "<COMP_COMPONENTXML inPath=\"" + in + "\"><COMPONENT_XML tmpPath=\"" +
                                                  batch + "/1/m1.xml\"/><COMPONENT_XML tmpPath=\"" + batch +
                                                  "/2/m2.xml\"/></COMP_COMPONENTXML>");
    return batch;
  }
  static std::string Module(const std::string& id) {
    return "<COMPONENT id=\"" + id + "\"><PROTOCOL name=\"PROFIBUS_DP\"/><MANUFACTURER name=\"Brennvik\"/>" +
           "<COMPONENT_PATH name=\"Modules/" + id + "\"/></COMPONENT>";
  }
};

TEST_F(ImportSpecialTest, BundleIsImportedOnceWithItsFilesBelowTheUniversalArea) {
  const std::string batch = Bundle();
  ASSERT_EQ(Import(batch + "/1/m1.xml"), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='M1'][@fsPath='\\DEVICE\\UNIVERSAL\\Halvorn\\one\\']"), 1u);
  EXPECT_EQ(Count("//COMPONENT[@id='M2'][@fsPath='\\DEVICE\\UNIVERSAL\\Halvorn\\two\\']"), 1u);
  EXPECT_EQ(ReadFile(CatalogDir() + "/DEVICE/UNIVERSAL/Halvorn/one/m1.mdd"), "module one");
  EXPECT_EQ(ReadFile(CatalogDir() + "/DEVICE/UNIVERSAL/Halvorn/two/m2.mdd"), "module two");
  int entries = 0;
  for (const LogPathEntry* e = log_paths_; e != nullptr; e = e->next) ++entries;
  EXPECT_EQ(entries, 2);
  const std::string saved = CatalogFile();
  EXPECT_EQ(Import(batch + "/2/m2.xml"), 0u) << "the bundle was processed already";
  EXPECT_EQ(log_paths_, nullptr);
  EXPECT_EQ(CatalogFile(), saved);
}

TEST_F(ImportSpecialTest, FailingBundleEntryRollsTheBundleBackAndMayBeRetried) {
  const std::string batch = Bundle();
  WriteFile(batch + "/2/m2.xml", "<COMP_COMPONENTXML><version>");
  TraceCapture trace;
  EXPECT_EQ(Import(batch + "/1/m1.xml"), ZARN_E_XML_LOAD);
  EXPECT_TRUE(trace.Contains("with errorcode"));
  EXPECT_FALSE(std::filesystem::exists(Catalog().catalogFile()));
  EXPECT_FALSE(std::filesystem::exists(CatalogDir() + "/DEVICE"));
  Bundle();
  EXPECT_EQ(Import(batch + "/1/m1.xml"), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='M2']"), 1u);
}

constexpr char kPaProtocol[] =
    "<ZARN_CATALOG><section id=\"DEVICE\"><PROTOCOL id=\"PROFIBUS_PA\"/></section></ZARN_CATALOG>";

class PiLibraryImportTest : public ImportSpecialTest {
 protected:
  std::string Library() {
    const std::string pi = work_.Join("pa/PI");
    WriteFile(pi + "/0000/pa_import.h", "");
    WriteFile(pi + "/00002A/00002A_0001_01_02.ddl", "device");
    return pi + "/<FoundPiLibrarySpecial>";
  }
};

TEST_F(PiLibraryImportTest, MissingLibraryElementFailsAndCopiesNothing) {
  ImportFirst();
  const std::string before = CatalogFile();
  const TreeSnapshot area = FileArea();
  EXPECT_EQ(Import(Library()), ZARN_E_NO_PI_LIBRARY);
  EXPECT_EQ(CatalogFile(), before);
  EXPECT_EQ(FileArea(), area);
}

TEST_F(PiLibraryImportTest, LibraryGoesBelowItsElementWithItsFiles) {
  LoadCatalog(kPaProtocol);
  ASSERT_EQ(Import(Library()), 0u);
  EXPECT_EQ(Count("/ZARN_CATALOG/section/PROTOCOL/PI-LIBRARY[@id='PI']/MANUFACTURER[@id='00002A']/"
                  "DEVICE_TYPE[@id='0001']/COMPONENT[@id='01']"),
            1u);
  EXPECT_EQ(Count("//@idTmp"), 0u);
  EXPECT_EQ(ReadFile(CatalogDir() + "/DEVICE/PROFIBUS_PA/PI/00002A/00002A_0001_01_02.ddl"), "device");
  EXPECT_NE(log_paths_, nullptr);
}

// A library directory that is not there changes nothing; a second library joins
// the first, whose entries keep their files.
TEST_F(PiLibraryImportTest, MissingOrSecondLibraryKeepsWhatWasThere) {
  LoadCatalog(kPaProtocol);
  ASSERT_EQ(Import(Library()), 0u);
  const std::string before = CatalogFile();
  const TreeSnapshot area = FileArea();
  EXPECT_EQ(Import(work_.Join("gone/PI/<FoundPiLibrarySpecial>")), ZARN_E_IMPORT_ARGUMENT);
  EXPECT_EQ(CatalogFile(), before);
  EXPECT_EQ(FileArea(), area);

  const std::string second = work_.Join("pb/PI");
  WriteFile(second + "/0000/pa_import.h", "");
  WriteFile(second + "/00003B/00003B_0002_01_01.ddl", "other device");
  ASSERT_EQ(Import(second + "/<FoundPiLibrarySpecial>"), 0u);
  for (const char* file : {"00002A/00002A_0001_01_02.ddl", "00003B/00003B_0002_01_01.ddl"}) {
    EXPECT_TRUE(std::filesystem::exists(CatalogDir() + "/DEVICE/PROFIBUS_PA/PI/" + std::string(file))) << file;
  }
  EXPECT_EQ(Count("//PI-LIBRARY//COMPONENT"), 2u);
}

// Deleting the library takes the identification keys of its devices out of the
// index with it; a failed save of the deletion puts them back.
TEST_F(PiLibraryImportTest, DeletedLibraryLeavesNoKeyBehind) {
  LoadCatalog(kPaProtocol);
  ASSERT_EQ(Import(Library()), 0u);
  const size_t keys = Catalog().IndexSize();
  ASSERT_GT(keys, 0u);
  std::string deleted;
  std::string referencing;
  SetBeforeRenameHookForTesting(&RefuseRename);
  EXPECT_EQ(DeleteComponent(Catalog(), "/DEVICE/PROFIBUS_PA/PI", &deleted, &referencing), ZARN_E_CANNOT_WRITE);
  EXPECT_EQ(Catalog().IndexSize(), keys);
  SetBeforeRenameHookForTesting(nullptr);
  ASSERT_EQ(DeleteComponent(Catalog(), "/DEVICE/PROFIBUS_PA/PI", &deleted, &referencing), 0u);
  EXPECT_EQ(Catalog().IndexSize(), 0u);
  ExpectSound();
}

TEST_F(ImportSpecialTest, HardwareConfigurationSourcesAreImportedLinkedAndRemoved) {
  const std::string hw = TempDir() + "/hw";
  const std::string device = Component(hw + "/device/dev.ddl_comp.xml",
                                       Device("CFM900__hwcn_device", "", "Hw", "0x0009"), Sources("hw_device_src"));
  const std::string rack =
      Component(hw + "/rack/dev.ddl_comp.xml", Device("CFM900__hwcn_rack", "", "Hw", "0x000a"), Sources("hw_rack_src"));
  const std::string src = Sources("cfm_src");
  WriteFile(src + "item.ddl", "x\n###PATH_TO_DEVICE###\n###PATH_TO_RACK###\n");
  const std::string xml = Component(hw + "/dev.ddl_comp.xml",
                                    Device("CFM900", "<HWCN_Device name=\"" + device + "\"/><HWCN_Rack name=\"" + rack +
                                                         "\"/><HWCN_DeviceItem name=\"item.ddl\"/>"),
                                    src);
  ASSERT_EQ(Import(xml), 0u);
  const std::string base = "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex/";
  EXPECT_EQ(Count("//COMPONENT[@id='CFM900']/HWCN_Device[.='" + base + "Hw/CFM900__hwcn_device']"), 1u);
  EXPECT_EQ(Count("//COMPONENT[@id='CFM900']/HWCN_Rack[.='" + base + "Hw/CFM900__hwcn_rack']"), 1u);
  EXPECT_EQ(Count("//COMPONENT[@id='CFM900']/HWCN_DeviceItem[.='item.ddl']"), 1u);
  EXPECT_EQ(Count("//COMPONENT[@isInvisible='true']"), 2u);
  const std::string item =
      ReadFile(CatalogDir() + "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex/Flow/Coriolis/CFM900/item.ddl");
  EXPECT_NE(item.find("DEFAULT_VALUE \"" + base + "Hw/CFM900__hwcn_device[-1.-1.-1.-1]\""), std::string::npos) << item;
  EXPECT_NE(item.find("DEFAULT_VALUE \"" + base + "Hw/CFM900__hwcn_rack[-1.-1.-1.-1]\""), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(hw)) << "generated sources are removed";
  EXPECT_TRUE(std::filesystem::exists(src + "item.ddl")) << "the user's sources stay";
}

TEST_F(ImportSpecialTest, HardwareConfigurationSourcesOutsideTheTemporaryDirectoryStay) {
  const std::string device = Component("user_hw/dev.ddl_comp.xml", Device("CFM900__hwcn_device", "", "Hw", "0x0009"),
                                       Sources("hw_device_src"));
  ASSERT_EQ(Import(Component("cfm/dev.ddl_comp.xml", Device("CFM900", "<HWCN_Device name=\"" + device + "\"/>"),
                             Sources("cfm_src"))),
            0u);
  EXPECT_TRUE(std::filesystem::exists(device));
}

TEST_F(ImportSpecialTest, PlatformSourcesAreGeneratedForDeviceDescriptions) {
  WriteFile(work_.Join("settings.txt"), "GeneratePlatformSources=zarn_test_generator_x.so\n");
  setenv("ZARN_SETTINGS", work_.Join("settings.txt").c_str(), 1);
  ZARN_ResetCatalog();
  std::filesystem::create_directories(TempDir());
  TraceCapture trace;
  const std::string xml = Component("out/cfm.ddlen.device.xml_comp.xml", Device("CFM900"), Sources("cfm_src"));
  ASSERT_EQ(Import(xml), 0u);
  EXPECT_TRUE(trace.Contains("created platform sources"));
  EXPECT_EQ(ReadFile(TempDir() + "/out.args"),
            xml + "\n" + Catalog().baseDirectory() + "\n" + TempDir() + "/out\nfunctions\n");
}

}  // namespace
}  // namespace zarn
