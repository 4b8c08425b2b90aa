// The device descriptions makers published (../shared/realworld, read in place): a
// whole directory of them imports into a catalog that the checker finds sound.
// Skipped when the directory is not there.
#include "maintenance/catalog_check.h"
#include "tests/unit/import_driver_fixture.h"

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

  // What `zarn-catalog import DIR` does: list the directory, convert and import
  // each listed file. Returns the number of components imported.
  size_t ImportDirectory(const std::string& dir) {
    std::vector<std::string> files;
    ComponentXMLInfo* listed = nullptr;
    if (ZARN_GetComponents(ToUtf16(dir).c_str(), &listed, nullptr) == 0) {
      for (const ComponentXMLInfo* r = listed; r != nullptr; r = r->next) files.push_back(ToUtf8(r->componentXmlPath));
    }
    ZARN_FreeComponentXMLInfo(listed);
    size_t imported = 0;
    for (const std::string& file : files) {
      ComponentXMLInfo* converted = nullptr;
      ZARN_GetComponents(ToUtf16(file).c_str(), &converted, nullptr);
      if (converted != nullptr && Import(ToUtf8(converted->componentXmlPath)) == 0) ++imported;
      ZARN_FreeComponentXMLInfo(converted);
    }
    return imported;
  }

  std::string corpus_;
};

TEST_P(RealWorldCatalogTest, DirectoryImportsIntoASoundCatalog) {
  EXPECT_GT(ImportDirectory(corpus_), 0u);
  const CatalogCheckResult result = CheckCatalog(Catalog());
  for (const CatalogViolation& v : result.violations) {
    ADD_FAILURE() << "promise " << static_cast<int>(v.invariant) << ": " << v.path << ": " << v.subject << ": "
                  << v.message;
  }
  EXPECT_GT(result.components, 0u);
}

INSTANTIATE_TEST_SUITE_P(Corpus, RealWorldCatalogTest, ::testing::Values("gsd", "iodd"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
}  // namespace zarn
