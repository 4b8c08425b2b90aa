// The PROFIBUS PA library tree built from file names, its XML and its import.
#include "conversion/pi_library.h"
#include "tests/unit/conversion_fixture.h"

namespace zarn {
namespace {

using testing::ReadFile;
using testing::WriteFile;

TEST(PiLibraryTreeTest, FileNamesSplitIntoFourParts) {
  std::string parts[4];
  ASSERT_TRUE(SplitPiFileName("00002A_0001_01_02", parts));
  EXPECT_EQ(parts[0] + "|" + parts[1] + "|" + parts[2] + "|" + parts[3], "00002A|0001|01|02");
  for (const char* bad : {"00002A_0001_01", "00002A_0001_01_02_03", "00002A__01_02", "plain"}) {
    EXPECT_FALSE(SplitPiFileName(bad, parts)) << bad;
  }
}

TEST(PiLibraryTreeTest, ComponentsShareTheirManufacturerAndDeviceTypeInIdOrder) {
  cHcfType root("PI", "\\DEVICE\\PROFIBUS_PA\\PI");
  EXPECT_EQ(root.Add(std::make_unique<cHcfComponentType>("00002A", "0001", "02", "01", "00002A_0001_02_01.ddl")), 0u);
  EXPECT_EQ(root.Add(std::make_unique<cHcfComponentType>("00002A", "0001", "01", "02", "00002A_0001_01_02.ddl")), 0u);
  EXPECT_EQ(root.Add(std::make_unique<cHcfComponentType>("00002A", "0001", "01", "02", "copy.ddl")),
            ZARN_E_ALREADY_PRESENT);
  std::string xml;
  root.ToXml(&xml);
  EXPECT_EQ(xml,
            "<PI-LIBRARY id=\"PI\" fsPath=\"\\DEVICE\\PROFIBUS_PA\\PI\"><LABEL>PI-LIBRARY</LABEL>"
            "<MANUFACTURER id=\"00002A\" fsPath=\"\\DEVICE\\PROFIBUS_PA\\PI\\00002A\"><LABEL></LABEL>"
            "<DEVICE_TYPE id=\"0001\" fsPath=\"\\DEVICE\\PROFIBUS_PA\\PI\\00002A\\0001\"><LABEL></LABEL>"
            "<COMPONENT id=\"01\" fsPath=\"\\DEVICE\\PROFIBUS_PA\\PI\\00002A\\0001\\01\">"
            "<LABEL>DeviceRevision: 0x01, DdRevision: 0x02</LABEL>\n<DD_REVISION>0x02</DD_REVISION>\n"
            "<DEVICE_REVISION>0x01</DEVICE_REVISION>\n<ZARN>00002A_0001_01_02.ddl</ZARN>\n"
            "<MANUFACTURER>0x00002A</MANUFACTURER>\n<DEVICE_TYPE>0x0001</DEVICE_TYPE>\n</COMPONENT>"
            "<COMPONENT id=\"02\" fsPath=\"\\DEVICE\\PROFIBUS_PA\\PI\\00002A\\0001\\02\">"
            "<LABEL>DeviceRevision: 0x02, DdRevision: 0x01</LABEL>\n<DD_REVISION>0x01</DD_REVISION>\n"
            "<DEVICE_REVISION>0x02</DEVICE_REVISION>\n<ZARN>00002A_0001_02_01.ddl</ZARN>\n"
            "<MANUFACTURER>0x00002A</MANUFACTURER>\n<DEVICE_TYPE>0x0001</DEVICE_TYPE>\n</COMPONENT>"
            "</DEVICE_TYPE></MANUFACTURER></PI-LIBRARY>");
}

class PiLibraryDirectoryTest : public ConversionTest {};

TEST_F(PiLibraryDirectoryTest, ImportBuildsTheTreeAndCopiesTheLibrary) {
  const std::string lib = work_.Join("pa/PI");
  ASSERT_TRUE(WriteFile(lib + "/0000/pa_import.h", "x"));
  ASSERT_TRUE(WriteFile(lib + "/00ABCD_0007_03_04.ddl", "source"));
  ASSERT_TRUE(WriteFile(lib + "/sub/00ABCD_0008_01_01.ddl", "source"));
  ASSERT_TRUE(WriteFile(lib + "/readme_ddl.ddl", "skipped"));
  const std::string target = CatalogPath("DEVICE/PROFIBUS_PA/PI");
  ASSERT_TRUE(WriteFile(target + "/stale.txt", "old"));
  EXPECT_EQ(ImportPiLibrary(&Catalog(), lib), 0u);
  EXPECT_EQ(&GetPiLibraryRoot(), &GetPiLibraryRoot());
  const std::string xml = GetPiLibraryXml();
  EXPECT_NE(xml.find("<DEVICE_TYPE id=\"0007\" fsPath=\"\\DEVICE\\PROFIBUS_PA\\PI\\00ABCD\\0007\">"),
            std::string::npos);
  EXPECT_NE(xml.find("<ZARN>00ABCD_0008_01_01.ddl</ZARN>"), std::string::npos);
  EXPECT_EQ(xml.find("readme"), std::string::npos);
  EXPECT_EQ(ReadFile(target + "/00ABCD_0007_03_04.ddl"), "source");
  EXPECT_EQ(ReadFile(target + "/sub/00ABCD_0008_01_01.ddl"), "source");
  EXPECT_EQ(ReadFile(target + "/stale.txt"), "old") << "what was there stays: earlier entries keep their files";
  EXPECT_EQ(ImportPiLibrary(nullptr, lib), ZARN_E_NO_CATALOG);
}

}  // namespace
}  // namespace zarn
