// The device descriptions makers published (../shared/realworld, read in place): a
// whole directory of them imports into a catalog that the checker finds sound.
// Skipped when the directory is not there.
#include "maintenance/catalog_check.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

class RealWorldCatalogTest : public ImportDriverTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    ImportDriverTest::SetUp();
    corpus_ = testing::SourceDir() + "/../shared/realworld/" + GetParam();
    if (!std::filesystem::is_directory(corpus_)) GTEST_SKIP() << corpus_ << " is not there";
    LayOutCatalogData();
  }

  std::string corpus_;
};

TEST_P(RealWorldCatalogTest, DirectoryImportsIntoASoundCatalog) {
  EXPECT_GT(ImportConverted(corpus_), 0u);
  ExpectSound();
  EXPECT_GT(CheckCatalog(Catalog()).components, 0u);
}

INSTANTIATE_TEST_SUITE_P(Corpus, RealWorldCatalogTest, ::testing::Values("gsd", "iodd"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace zarn
