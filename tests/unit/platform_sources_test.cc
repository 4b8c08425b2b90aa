// Platform-source generation and hardware-configuration entries.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "api/export_frame.h"
#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

using testing::ReadFile;
using testing::ScratchDir;
using testing::WriteFile;

class PlatformSourcesTest : public CatalogTest {
 protected:
  void SetUp() override {
    CatalogTest::SetUp();
    unsetenv("ZARN_SETTINGS");
  }
  void TearDown() override {
    CatalogTest::TearDown();
    unsetenv("ZARN_SETTINGS");
  }
  CCatalog_Contents& Open(const std::string& catalog_xml) {
    LoadCatalog(catalog_xml);
    return Catalog();
  }
  std::string Rewrite(const std::string& text) {
    const std::string file = work_.Join("item.ddl");
    WriteFile(file, text);
    CCatalog_Contents::WriteDeviceItemDefaults(file, "/R", "/D");
    return ReadFile(file);
  }
};

TEST_F(PlatformSourcesTest, DeviceItemMarkersBecomeDefaultValues) {
  EXPECT_EQ(Rewrite("a\r\n  x ###PATH_TO_RACK### y\nb"), "a\r\n\t\tDEFAULT_VALUE \"/R[-1.-1.-1.-1]\";\nb\n");
  EXPECT_EQ(Rewrite("###PATH_TO_RACK######PATH_TO_DEVICE###\n"), "\t\tDEFAULT_VALUE \"/D[-1.-1.-1.-1]\";\n")
      << "the device marker wins";
  EXPECT_EQ(Rewrite("no markers\nat all"), "no markers\nat all\n");
  EXPECT_FALSE(std::filesystem::exists(work_.Join("item.ddl.tmp")));
  CCatalog_Contents::WriteDeviceItemDefaults(work_.Join("missing.ddl"), "/R", "/D");
  EXPECT_FALSE(std::filesystem::exists(work_.Join("missing.ddl")));
}

TEST_F(PlatformSourcesTest, HardwareConfigurationEntriesAndInvisibility) {
  CCatalog_Contents& c = Open("<ZARN_CATALOG><section id='DEVICE'><COMPONENT id='C'/></section></ZARN_CATALOG>");
  Node component = c.FindByComponentPath("/DEVICE/C");
  ASSERT_TRUE(component);
  c.AddHardwareConfigurationEntry(component, "/DEVICE/C__hwcn_device", 0);
  c.AddHardwareConfigurationEntry(component, "/DEVICE/C__hwcn_rack", 1);
  c.AddHardwareConfigurationEntry(component, "item.ddl", 2);
  c.AddHardwareConfigurationEntry(component, "loose", 5);
  EXPECT_EQ(component.OuterXml(),
            "<COMPONENT id=\"C\"><HWCN_Device>/DEVICE/C__hwcn_device</HWCN_Device>"
            "<HWCN_Rack>/DEVICE/C__hwcn_rack</HWCN_Rack><HWCN_DeviceItem>item.ddl</HWCN_DeviceItem>loose</COMPONENT>");
  c.MarkInvisible("/DEVICE/C");
  c.MarkInvisible("/DEVICE/nothing");
  EXPECT_EQ(component.Attribute("isInvisible"), "true");
}

TEST_F(PlatformSourcesTest, GeneratorComesFromTheSettingAndIsCalledWithItsArguments) {
  CCatalog_Contents& without = Open("");
  EXPECT_EQ(without.GetPlatformSourceGenerator(), nullptr);
  EXPECT_EQ(without.GeneratePlatformSources("/s/a.ddl", "/b", work_.Join("out"), nullptr, nullptr), -1);
  ZARN_ResetCatalog();

  const std::string settings = work_.Join("settings.txt");
  WriteFile(settings, "GeneratePlatformSources=zarn_test_generator_x.so\n");
  setenv("ZARN_SETTINGS", settings.c_str(), 1);
  CCatalog_Contents& c = Open("");
  ASSERT_NE(c.GetPlatformSourceGenerator(), nullptr);
  int marker = 0;
  EXPECT_EQ(c.GeneratePlatformSources("/s/a.ddl", "/b", work_.Join("out"), &marker, &marker), 0);
  EXPECT_EQ(ReadFile(work_.Join("out.args")), "/s/a.ddl\n/b\n" + work_.Join("out") + "\nfunctions\n");
  EXPECT_EQ(c.GeneratePlatformSources("/s/fail.ddl", "/b", work_.Join("out"), &marker, &marker), 7);
  EXPECT_EQ(c.LoadPlatformSourceGenerator("zarn_no_such_generator.so"), -1);
}

}  // namespace
}  // namespace zarn
