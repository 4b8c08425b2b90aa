// Import batches: when the catalog file is written, what a failing source in the
// middle of a batch leaves, and what survives a process that never commits.
#include <filesystem>

#include "import/import_batch.h"
#include "maintenance/catalog_check.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

constexpr const char* kDevices = "//COMPONENT[@id='A' or @id='B' or @id='C']";

class ImportBatchTest : public ImportDriverTest {
 protected:
  std::string Source(const std::string& id, const std::string& revision) {
    return Component(id + "/dev.ddl_comp.xml", Device(id, "", "Flow/Coriolis", revision), Sources(id + "_src"));
  }
  std::string FileArea(const std::string& id) {
    return CatalogDir() + "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex/Flow/Coriolis/" + id;
  }
};

TEST_F(ImportBatchTest, TheCatalogIsSavedPerChunkAndAtCommitOnly) {
  ImportFirst();
  ASSERT_EQ(ZARN_BeginImportBatch(2), 0u);
  ASSERT_EQ(Import(Source("A", "0x0001")), 0u);
  ASSERT_NE(log_paths_, nullptr) << "log paths per import, also in a batch";
  EXPECT_EQ(Count(kDevices), 0u) << "the first of a chunk of two is not saved";
  EXPECT_TRUE(Catalog().FindByComponentPath("/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex/Flow/Coriolis/A"))
      << "but it is in the catalog";
  ASSERT_EQ(Import(Source("B", "0x0002")), 0u);
  EXPECT_EQ(Count(kDevices), 2u) << "a full chunk is saved";
  ASSERT_EQ(Import(Source("C", "0x0003")), 0u);
  EXPECT_EQ(Count(kDevices), 2u);
  ASSERT_EQ(ZARN_CommitImportBatch(), 0u);
  EXPECT_EQ(Count(kDevices), 3u);
  EXPECT_EQ(ZARN_CommitImportBatch(), 0u) << "no batch open";
  // Outside a batch every import saves again.
  ASSERT_EQ(Import(Component("d/dev.ddl_comp.xml", Device("D", "", "Other", "0x0004"), Sources("d_src"))), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='D']"), 1u);
}

// A failing source rolls back by reloading the file; the unsaved imports before it
// come back and are saved, the failing one leaves nothing, the next one goes on.
TEST_F(ImportBatchTest, AFailingSourceInABatchLosesNothingOfTheOthers) {
  ImportFirst();
  ASSERT_EQ(ZARN_BeginImportBatch(0), 0u);
  ASSERT_EQ(Import(Source("A", "0x0001")), 0u);
  ASSERT_EQ(Import(Source("B", "0x0002")), 0u);
  EXPECT_EQ(Count(kDevices), 0u);
  const std::string bad =
      Component("bad/dev.ddl_comp.xml", Device("Bad", "<IMAGE>../../etc/passwd</IMAGE>", "Flow/Coriolis", "0x0009"),
                Sources("bad_src"));
  EXPECT_EQ(Import(bad), ZARN_E_IMPORT_ARGUMENT);
  EXPECT_EQ(Count(kDevices), 2u) << "the imports before the failure are saved";
  EXPECT_FALSE(std::filesystem::exists(FileArea("Bad")));
  EXPECT_TRUE(std::filesystem::exists(FileArea("A") + "/dev.ddl"));
  const uint32_t again = Import(Source("A", "0x0001"));
  EXPECT_NE(again, 0u) << "already present";
  ASSERT_EQ(Import(Source("C", "0x0003")), 0u);
  ASSERT_EQ(ZARN_CommitImportBatch(), 0u);
  EXPECT_EQ(Count(kDevices), 3u);
  EXPECT_EQ(Count("//COMPONENT[@id='Bad']"), 0u);
  EXPECT_TRUE(CheckCatalog(Catalog()).sound());
}

// A host call that loads the document again during the batch (a failed delete or
// replacement does) drops the unsaved imports from the document; the batch brings
// them back before its next import and before its commit.
TEST_F(ImportBatchTest, ImportsDroppedByAReloadAreReplayed) {
  ImportFirst();
  ASSERT_EQ(ZARN_BeginImportBatch(0), 0u);
  ASSERT_EQ(Import(Source("A", "0x0001")), 0u);
  ASSERT_EQ(Catalog().reload(), 0u);
  ASSERT_EQ(Import(Source("B", "0x0002")), 0u);
  EXPECT_EQ(Count(kDevices), 1u) << "A was replayed and saved";
  ASSERT_EQ(Catalog().reload(), 0u);
  ASSERT_EQ(ZARN_CommitImportBatch(), 0u);
  EXPECT_EQ(Count(kDevices), 2u);
}

// A process that ends without committing (a crash; here a reset) loses the
// imports of the unsaved chunk only; what was saved loads and checks sound.
TEST_F(ImportBatchTest, WithoutACommitOnlyTheUnsavedChunkIsLost) {
  ImportFirst();
  ASSERT_EQ(ZARN_BeginImportBatch(2), 0u);
  for (const auto& [id, revision] : {std::pair{"A", "0x0001"}, {"B", "0x0002"}, {"C", "0x0003"}}) {
    ASSERT_EQ(Import(Source(id, revision)), 0u);
  }
  ZARN_ResetCatalog();
  EXPECT_EQ(Count(kDevices), 2u);
  EXPECT_EQ(Count("//COMPONENT[@id='C']"), 0u);
  EXPECT_TRUE(CheckCatalog(Catalog()).sound());
  EXPECT_EQ(Import(Source("C", "0x0003")), 0u) << "the lost one imports again";
  EXPECT_EQ(Count(kDevices), 3u);
}

}  // namespace
}  // namespace zarn
