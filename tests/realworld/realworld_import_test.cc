// Published device descriptions imported through the command-line host, each into a
// fresh working directory: what lands in the catalog and in its file area.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/realworld/corpus_cli_fixture.h"

namespace zarn {
namespace {

struct Tally {
  int imported = -1;
  int failed = -1;
  std::string json;
};

int JsonCount(const std::string& json, const std::string& key) {
  const size_t at = json.find("\"" + key + "\": ");
  return at == std::string::npos ? -1 : std::atoi(json.c_str() + at + key.size() + 4);
}

class RealWorldTest : public CorpusCliTest {
 protected:
  Tally Import(const std::string& relative) {
    Run("import --json", Corpus(relative));
    return Tally{JsonCount(output_, "imported"), JsonCount(output_, "failed"), output_};
  }
};

// A directory holds one device split over #included fragments and headers: only
// the file that nobody includes is compiled; the others are not devices of their own.
TEST_F(RealWorldTest, EddlDirectoriesImportTheirSourcesNotTheirFragments) {
  Tally htk = Import("eddl/ff_htk");
  EXPECT_EQ(htk.imported, 1) << htk.json;  // 1000_Device.ddl; the others are its fragments or empty
  EXPECT_EQ(htk.failed, 0) << htk.json;
  // svi_tb.ddl and svi_blocks.ddl are fragments of svi_positioner.ddl, which is
  // published without its generated headers and so is the one failure.
  Tally svi = Import("eddl/ff_svi_positioner");
  EXPECT_EQ(svi.imported, 0) << svi.json;
  EXPECT_EQ(svi.failed, 1) << svi.json;
  EXPECT_NE(svi.json.find("svi_positioner.ddl"), std::string::npos) << svi.json;
  // .edd files are sources: their authors' syntax errors are reported, not "nothing to convert".
  Tally edd = Import("eddl/alxhoff");
  EXPECT_EQ(edd.failed, 2) << edd.json;
  EXPECT_NE(edd.json.find("example_eddl.edd"), std::string::npos) << edd.json;
  Tally demo = Import("eddl/eddly");
  EXPECT_EQ(demo.imported, 1) << demo.json;
  // Descriptions without a COMPONENT land under the protocol their definitions tell:
  // function blocks (FF), numbered commands (HART).
  EXPECT_NE(htk.json.find("\"/DEVICE/FF/"), std::string::npos) << htk.json;
  EXPECT_NE(demo.json.find("\"/DEVICE/HART/"), std::string::npos) << demo.json;
}

// A plain FF description names its maker by a 24-bit number; the manufacturer
// list of the catalog (devices.cfg, which users extend) names it, whatever case the
// list writes the number in.
TEST_F(RealWorldTest, PlainDescriptionsTakeTheirMakersNameFromTheManufacturerList) {
  const std::string list = work_.Join("w/zarn_catalog/catalogData/devices.cfg");
  const std::string text = testing::ReadFile(list);
  ASSERT_FALSE(text.empty());
  ASSERT_TRUE(testing::WriteFile(list, text + "MANUFACTURER 0x10FF00 = Tessaro Fieldbus Lab\n"));
  const Tally htk = Import("eddl/ff_htk");
  EXPECT_EQ(htk.imported, 1) << htk.json;
  EXPECT_NE(htk.json.find("\"/DEVICE/FF/Tessaro Fieldbus Lab/1000_Device\""), std::string::npos) << htk.json;
}

}  // namespace
}  // namespace zarn
