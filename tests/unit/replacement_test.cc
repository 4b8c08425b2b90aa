// ZARN_ReplaceComponent through imported components.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "import/replacement.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

class ReplacementTest : public ImportDriverTest {
 protected:
  uint32_t Replace(const std::string& file) {
    VARIANT deleted;
    VARIANT referencing;
    VariantInit(&deleted);
    VariantInit(&referencing);
    FreeLogPathEntries(log_paths_);
    log_paths_ = nullptr;
    const uint32_t rc = ZARN_ReplaceComponent(ToUtf16(file).c_str(), &deleted, &referencing, &log_paths_);
    deleted_ = deleted.vt == VT_BSTR ? VariantString(deleted) : "<empty>";
    referencing_ = referencing.vt == VT_BSTR ? VariantString(referencing) : "<empty>";
    VariantClear(&deleted);
    VariantClear(&referencing);
    return rc;
  }
  std::string File(const std::string& extra = {}) {
    return Component("r/dev.ddl_comp.xml", Device("Rep", extra), Sources("r_src"));
  }
  std::string deleted_;
  std::string referencing_;
};

TEST_F(ReplacementTest, AbsentComponentIsImported) {
  ASSERT_EQ(Replace(File()), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='Rep']"), 1u);
  EXPECT_EQ(deleted_, "<empty>");
  EXPECT_NE(log_paths_, nullptr);
}

TEST_F(ReplacementTest, PresentComponentIsDeletedAndImportedAgain) {
  ASSERT_EQ(Import(File()), 0u);
  ASSERT_EQ(
      Replace(Component("r/dev.ddl_comp.xml", Device("Rep", "<HELP><string>new</string></HELP>"), Sources("r_src"))),
      ZARN_S_REPLACED);
  EXPECT_NE(deleted_.find("/Rep"), std::string::npos) << deleted_;
  EXPECT_EQ(referencing_, "");
  EXPECT_EQ(Count("//COMPONENT[@id='Rep']"), 1u);
  EXPECT_EQ(Count("//COMPONENT[@id='Rep']/HELP"), 1u);
}

TEST_F(ReplacementTest, CatalogDdRevisionWithoutFileRevisionChangesNothing) {
  // The file names no source of its own, so it has no DD revision to compare.
  ASSERT_EQ(Import(File("<DD_REVISION>0x01</DD_REVISION>")), 0u);
  const std::string before = CatalogFile();
  EXPECT_EQ(Replace(File("<DD_REVISION>0x01</DD_REVISION>")), ZARN_E_OTHER_DD_REVISION);
  EXPECT_EQ(CatalogFile(), before);
  EXPECT_EQ(deleted_, "<empty>");
}

uint32_t FailingCheck(const char16_t*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) { return ZARN_E_NO_CATALOG; }

TEST_F(ReplacementTest, FailedExistenceCheckFallsBackToImport) {
  SetExistenceCheckForTesting(&FailingCheck);
  const uint32_t rc = Replace(File());
  SetExistenceCheckForTesting(nullptr);
  EXPECT_EQ(rc, 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='Rep']"), 1u);
}

uint32_t ThrowingCheck(const char16_t*, VARIANT*, VARIANT*, VARIANT*, VARIANT*) { throw std::runtime_error("check"); }

// A replacement that fails unexpectedly on its way reports that it could not be
// prepared, and changes nothing.
TEST_F(ReplacementTest, FailureOnTheWayReportsThePreparationAndChangesNothing) {
  ASSERT_EQ(Import(File()), 0u);
  const std::string before = CatalogFile();
  SetExistenceCheckForTesting(&ThrowingCheck);
  const uint32_t rc = Replace(File());
  SetExistenceCheckForTesting(nullptr);
  EXPECT_EQ(rc, ZARN_E_REPLACE_PREPARE);
  EXPECT_EQ(CatalogFile(), before);
}

}  // namespace
}  // namespace zarn
