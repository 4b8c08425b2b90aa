// A working directory lays itself out from the shipped data, keeps what a user edited,
// and every result code a host can get has a message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "api/export_frame.h"
#include "catalog/shipped_data.h"
#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "zarn/catalog_manager.h"
#include "zarn/result_messages.h"

namespace zarn {
namespace {
namespace fs = std::filesystem;

class ShippedDataTest : public CatalogTest {
 protected:
  void TearDown() override { CatalogModule::Instance().Shutdown(); }

  // Starts the catalog on the scratch directory, as the first export of a host does.
  void Start() {
    Reopen();
    VARIANT dir;
    VariantInit(&dir);
    ASSERT_EQ(ZARN_GetCatalogMangerInitialisation(&dir), 0u);
    VariantClear(&dir);
  }
  std::string InCatalog(std::string_view relative) const { return CatalogPath(std::string(relative)); }
  static std::string Shipped(std::string_view relative) {
    const std::string file(relative);
    if (file.rfind("Device/", 0) == 0) return testing::SourceDir() + "/examples/devices/zarn_catalog/" + file;
    return testing::SourceDir() + "/data/" + file;
  }
};

TEST_F(ShippedDataTest, AnEmptyWorkingDirectoryGetsEveryDataFileAndKeepsEditsLater) {
  Start();
  for (std::string_view file : ShippedDataFiles()) {
    EXPECT_EQ(testing::ReadFile(InCatalog(file)), testing::ReadFile(Shipped(file))) << file;
  }
  const std::string table = InCatalog("catalogData/devices.cfg");
  ASSERT_TRUE(testing::WriteFile(table, "MANUFACTURER 0x0001 = Edited by hand\n"));
  fs::remove(InCatalog("catalogData/zarnxml_2_componentxml.xslt"));
  Start();
  EXPECT_EQ(testing::ReadFile(table), "MANUFACTURER 0x0001 = Edited by hand\n");
  EXPECT_TRUE(fs::is_regular_file(InCatalog("catalogData/zarnxml_2_componentxml.xslt")));
  for (const auto& entry : fs::recursive_directory_iterator(work_.Join("zarn_catalog"))) {
    EXPECT_NE(entry.path().extension(), ".part") << entry.path();
  }
}

TEST_F(ShippedDataTest, ACatalogDirectoryThatCannotBeWrittenIsTracedAndKeptUnchanged) {
  ASSERT_TRUE(testing::WriteFile(work_.Join("plain_file"), "x"));
  testing::TraceCapture trace;
  EXPECT_FALSE(LayOutShippedData(work_.Join("plain_file/zarn_catalog")));
  EXPECT_TRUE(trace.Contains("plain_file/zarn_catalog/catalogData/zarnxml_2_componentxml.xslt"));
  EXPECT_EQ(testing::ReadFile(work_.Join("plain_file")), "x");
}

TEST(ResultMessageTest, EveryResultCodeOfThePublicHeaderHasAMessage) {
  std::ifstream header(testing::SourceDir() + "/include/zarn/catalog_manager.h");
  int codes = 0;
  for (std::string line; std::getline(header, line);) {
    std::istringstream words(line);
    std::string directive, name, value;
    words >> directive >> name >> value;
    if (directive != "#define" || value.rfind("0x", 0) != 0) continue;
    if (name.rfind("ZARN_", 0) != 0) continue;
    ++codes;
    const auto code = static_cast<uint32_t>(std::stoul(value, nullptr, 16));
    EXPECT_NE(ZARN_ResultMessage(code), nullptr) << name;
  }
  EXPECT_GT(codes, 40);
  EXPECT_STREQ(ZARN_ResultMessage(3), "the compiler found errors in the source");
  EXPECT_EQ(ZARN_ResultMessage(0x90209999u), nullptr);
}

}  // namespace
}  // namespace zarn
