// The catalog's lifecycle through the exports: creation, load, reset, settings.
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "api/export_frame.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

using testing::ReadFile;
using testing::TraceCapture;
using testing::WriteFile;

class CatalogLifecycleTest : public CatalogTest {
 protected:
  uint32_t Init(const std::string& dir) { return ZARN_InitCatalogManager(ToUtf16(dir).c_str()); }
  // The catalog directory as the export reports it ("" on failure, code in *rc).
  std::string CatalogDirectory(uint32_t* rc = nullptr) {
    VARIANT v;
    VariantInit(&v);
    const uint32_t r = ZARN_GetCatalogMangerInitialisation(&v);
    if (rc != nullptr) *rc = r;
    std::string dir = VariantString(v);
    VariantClear(&v);
    return dir;
  }
  std::string CatalogFile() { return work_.Join("zarn_catalog/zarn_catalog_content.xml"); }
};

TEST_F(CatalogLifecycleTest, InitNeverFailsAndDirectoriesFollowTheBase) {
  EXPECT_EQ(Init("/no/such/place"), 0u);
  EXPECT_EQ(Init(work_.path()), 0u);
  EXPECT_EQ(CatalogDirectory(), work_.Join("zarn_catalog"));
  EXPECT_EQ(Catalog().catalogFile(), CatalogFile());
  EXPECT_EQ(Catalog().stylesheetPath(), work_.Join("zarn_catalog/catalogData/zarnxml_2_componentxml.xslt"));
  EXPECT_NE(Catalog().temporaryDirectory().find("zarnCatalog$$"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(work_.Join("zarn_catalog")));
  EXPECT_FALSE(std::filesystem::exists(work_.Join("123ZARN_TEST_CATALOG123")));
  EXPECT_FALSE(Catalog().root());
}

TEST_F(CatalogLifecycleTest, UnwritableWorkingDirectoryGivesNoCatalogAndRetries) {
  ASSERT_TRUE(WriteFile(work_.Join("plainfile"), "x"));
  const std::string bad = work_.Join("plainfile/sub");
  TraceCapture trace;
  Init(bad);
  uint32_t rc = 0;
  CatalogDirectory(&rc);
  EXPECT_EQ(rc, ZARN_E_NO_CATALOG);
  EXPECT_TRUE(trace.Contains("can't write to working directory"));
  trace.Clear();
  EXPECT_EQ(ZARN_SetCatalogLanguage(u"de"), ZARN_E_NO_CATALOG);
  EXPECT_TRUE(trace.Contains("can't write to working directory")) << "each call retries the creation";
  Init(work_.path());
  CatalogDirectory(&rc);
  EXPECT_EQ(rc, 0u);
}

// A process that died while probing, or one that probes at the same time, leaves
// the probe directory behind: the catalog stays usable.
TEST_F(CatalogLifecycleTest, LeftOverWriteProbeDoesNotBlockTheCatalog) {
  const std::string probe = work_.Join("123ZARN_TEST_CATALOG123");
  ASSERT_TRUE(std::filesystem::create_directories(probe + "/999999"));
  Init(work_.path());
  uint32_t rc = 1;
  CatalogDirectory(&rc);
  EXPECT_EQ(rc, 0u) << "another process's entry is there";
  EXPECT_TRUE(std::filesystem::is_directory(probe + "/999999")) << "and it stays";
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(probe), {}), 1) << "ours is gone";
  std::filesystem::remove(probe + "/999999");
  ZARN_ResetCatalog();
  Init(work_.path());
  CatalogDirectory(&rc);
  EXPECT_EQ(rc, 0u);
  EXPECT_FALSE(std::filesystem::exists(probe)) << "the last one out removes the directory";
}

TEST_F(CatalogLifecycleTest, MalformedCatalogFileIsKeptUntouched) {
  ASSERT_TRUE(WriteFile(CatalogFile(), "<ZARN_CATALOG><section id=\"DEVICE\">"));
  Init(work_.path());
  uint32_t rc = 0;
  CatalogDirectory(&rc);
  EXPECT_EQ(rc, ZARN_E_NO_CATALOG);
  EXPECT_EQ(ReadFile(CatalogFile()), "<ZARN_CATALOG><section id=\"DEVICE\">");
}

// A catalog file that is there but cannot be read is no catalog, never an empty
// one that the next save would write over it.
TEST_F(CatalogLifecycleTest, UnreadableCatalogFileIsNoCatalog) {
  std::filesystem::create_directories(CatalogFile());  // a directory where the file belongs
  Init(work_.path());
  uint32_t rc = 0;
  CatalogDirectory(&rc);
  EXPECT_EQ(rc, ZARN_E_NO_CATALOG);
  EXPECT_TRUE(std::filesystem::is_directory(CatalogFile()));
  if (geteuid() == 0) return;  // permissions do not bind root
  std::filesystem::remove(CatalogFile());
  ASSERT_TRUE(WriteFile(CatalogFile(), "<ZARN_CATALOG><section id=\"DEVICE\"/></ZARN_CATALOG>"));
  std::filesystem::permissions(CatalogFile(), std::filesystem::perms::none);
  ZARN_ResetCatalog();
  Init(work_.path());
  CatalogDirectory(&rc);
  EXPECT_EQ(rc, ZARN_E_NO_CATALOG);
  std::filesystem::permissions(CatalogFile(), std::filesystem::perms::owner_all);
  EXPECT_EQ(ReadFile(CatalogFile()), "<ZARN_CATALOG><section id=\"DEVICE\"/></ZARN_CATALOG>");
}

// The document stays loaded from call to call while the file stays as it is; a file
// that another process saved meanwhile is read again by the next call.
TEST_F(CatalogLifecycleTest, SecondAccessKeepsTheDocumentUnlessTheFileChangedAndResetReReadsIt) {
  ASSERT_TRUE(WriteFile(CatalogFile(), "<ZARN_CATALOG><section id=\"DEVICE\"/></ZARN_CATALOG>"));
  Init(work_.path());
  EXPECT_EQ(CatalogDirectory(), work_.Join("zarn_catalog"));
  Catalog().root().AppendElement("section").SetAttribute("id", "KEPT");
  EXPECT_EQ(CatalogDirectory(), work_.Join("zarn_catalog"));
  EXPECT_TRUE(Catalog().FindByComponentPath("/KEPT")) << "the same document, not read again";
  ASSERT_TRUE(WriteFile(CatalogFile(), "<ZARN_CATALOG><section id=\"NET\"/></ZARN_CATALOG>"));
  EXPECT_EQ(CatalogDirectory(), work_.Join("zarn_catalog"));
  EXPECT_TRUE(Catalog().FindByComponentPath("/NET")) << "saved by another process: read again";
  EXPECT_FALSE(Catalog().FindByComponentPath("/KEPT"));
  Catalog().root().AppendElement("section").SetAttribute("id", "KEPT");
  EXPECT_EQ(ZARN_ResetCatalog(), 0u);
  EXPECT_EQ(ZARN_ResetCatalog(), 0u) << "reset without a catalog";
  EXPECT_TRUE(Catalog().FindByComponentPath("/NET"));
  EXPECT_FALSE(Catalog().FindByComponentPath("/KEPT"));
}

TEST_F(CatalogLifecycleTest, LanguageDefaultsAndNotifications) {
  Init(work_.path());
  EXPECT_EQ(Catalog().getLanguage(), "en");
  VARIANT number;
  VariantInit(&number);
  number.vt = VT_I4;
  number.lVal = 7;
  EXPECT_EQ(ZARN_OmCallBack(u"GUI_Language", number), 0u);
  EXPECT_EQ(Catalog().getLanguage(), "en");
  VARIANT text;
  VariantInit(&text);
  SetVariantString(&text, "de");
  EXPECT_EQ(ZARN_OmCallBack(u"GUI_Language", text), 0u);
  VariantClear(&text);
  EXPECT_EQ(Catalog().getLanguage(), "de");

  VARIANT byte;
  VariantInit(&byte);
  byte.vt = VT_UI1;
  byte.bVal = 1;
  ZARN_OmCallBack(u"CatalogCompileAfterImport", byte);
  EXPECT_TRUE(Catalog().getCompileAfterImport());
  byte.bVal = 2;
  ZARN_OmCallBack(u"CatalogCompileAfterImport", byte);
  EXPECT_FALSE(Catalog().getCompileAfterImport()) << "only the byte 1 means true";

  ZARN_ResetCatalog();
  EXPECT_EQ(ZARN_SetCatalogLanguage(u"fr"), 0u);
  EXPECT_EQ(Catalog().getLanguage(), "fr");
  ZARN_ResetCatalog();
  EXPECT_EQ(Catalog().getLanguage(), "en") << "a reset discards the language";
}

TEST_F(CatalogLifecycleTest, ManufacturerTablesFromDevicesCfg) {
  ASSERT_TRUE(WriteFile(work_.Join("zarn_catalog/catalogData/devices.cfg"),
                        "# makers\nMANUFACTURER 0x002A = Acme Instruments\nMANUFACTURER 0x0011=Old\n"
                        "MANUFACTURER 0x0011 = Newer\nDEVICE_TYPE 0x1 = x\nMANUFACTURER 0x10FF00 = Wide\n"
                        "MANUFACTURER 17 = Decimal\nMANUFACTURER Nordvik = Text\n"));
  Init(work_.path());
  // Numbers are keyed as the readers write them, whatever case or width the file uses.
  const StringMap& names = Catalog().manufacturerNamesById();
  ASSERT_EQ(names.size(), 4u);
  EXPECT_EQ(names.at("0x002a"), "Acme Instruments");
  EXPECT_EQ(names.at("0x0011"), "Decimal") << "17 is 0x0011, named last";
  EXPECT_EQ(names.at("0x10ff00"), "Wide");
  EXPECT_EQ(names.at("Nordvik"), "Text");
  EXPECT_EQ(Catalog().manufacturerIdsByName().at("Acme Instruments"), "0x002A");
}

bool StopBeforeRename(const std::string&) { return false; }

TEST_F(CatalogLifecycleTest, InterruptedSaveLeavesThePreviousFile) {
  const std::string before = "<ZARN_CATALOG><section id=\"DEVICE\"/></ZARN_CATALOG>";
  ASSERT_TRUE(WriteFile(CatalogFile(), before));
  Init(work_.path());
  Catalog().root().AppendElement("section").SetAttribute("id", "NET");
  SetBeforeRenameHookForTesting(&StopBeforeRename);
  EXPECT_EQ(Catalog().save(), ZARN_E_CANNOT_WRITE);
  SetBeforeRenameHookForTesting(nullptr);
  EXPECT_EQ(ReadFile(CatalogFile()), before);
  EXPECT_EQ(Catalog().save(), 0u);
  EXPECT_NE(ReadFile(CatalogFile()).find("\"NET\""), std::string::npos);
}

}  // namespace
}  // namespace zarn
