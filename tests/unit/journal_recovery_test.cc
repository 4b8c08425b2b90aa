// Journals that killed processes left in a catalog directory: undone when their save
// did not happen, finished when it did, left alone while their writer lives, and
// never followed outside the file area.
#include "import/journal_recovery.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "import/file_area_journal.h"
#include "import/journal_manifest.h"
#include "platform/append_file.h"
#include "platform/file_lock.h"
#include "platform/files.h"
#include "tests/support/test_support.h"

namespace zarn {
namespace {

namespace fs = std::filesystem;

class JournalRecoveryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = dir_.Join("catalog");
    catalog_file_ = root_ + "/zarn_catalog_content.xml";
    ASSERT_TRUE(testing::WriteFile(catalog_file_, "<ZARN_CATALOG/>"));
    ASSERT_TRUE(testing::WriteFile(root_ + "/DEVICE/A/a.ddl", "new a"));
    ASSERT_TRUE(testing::WriteFile(root_ + "/DEVICE/A/b.txt", "new file"));
    ASSERT_TRUE(testing::WriteFile(root_ + "/DEVICE/New/x.ddl", "created"));
    ASSERT_TRUE(testing::WriteFile(root_ + "/DEVICE/Gone/g.ddl", "deleted component"));
  }
  // A journal of process `pid` with an aside "0" holding the former a.ddl.
  std::string Journal(long pid, const std::string& records) {
    const std::string journal = root_ + "/" + std::string(kJournalPrefix) + std::to_string(pid) + "-0";
    EXPECT_TRUE(testing::WriteFile(journal + "/0", "old a"));
    EXPECT_TRUE(testing::WriteFile(journal + "/manifest", records));
    return journal;
  }
  std::string Steps() {
    return ManifestLine('m', {"0", "DEVICE/A/a.ddl"}) + ManifestLine('f', {"DEVICE/A/b.txt"}) +
           ManifestLine('d', {"DEVICE/New"}) + ManifestLine('r', {"DEVICE/Gone"});
  }
  std::string BeforeSave() {
    const FileIdentity id = IdentityOf(catalog_file_);
    return ManifestLine('s', {std::to_string(id.device), std::to_string(id.inode), std::to_string(id.size),
                              std::to_string(id.modified_ns)});
  }
  JournalRecoveryResult Recover() { return RecoverFileAreaJournals(root_, catalog_file_); }

  testing::ScratchDir dir_;
  std::string root_;
  std::string catalog_file_;
};

TEST_F(JournalRecoveryTest, AnUnsavedJournalIsUndone) {
  const std::string journal = Journal(testing::DeadPid(), Steps() + BeforeSave());
  EXPECT_EQ(Recover().undone, 1);
  EXPECT_EQ(testing::ReadFile(root_ + "/DEVICE/A/a.ddl"), "old a");
  EXPECT_FALSE(fs::exists(root_ + "/DEVICE/A/b.txt"));
  EXPECT_FALSE(fs::exists(root_ + "/DEVICE/New"));
  EXPECT_TRUE(fs::exists(root_ + "/DEVICE/Gone/g.ddl")) << "the catalog still names it";
  EXPECT_FALSE(fs::exists(journal));
}

TEST_F(JournalRecoveryTest, ASavedJournalIsFinished) {
  // Saved by its record, or by a catalog file that changed after the record before it.
  for (bool recorded : {true, false}) {
    SetUp();
    const std::string journal =
        Journal(testing::DeadPid(), Steps() + BeforeSave() + (recorded ? ManifestLine('S', {}) : ""));
    if (!recorded) {
      ASSERT_TRUE(WriteFileAtomically(catalog_file_, "<ZARN_CATALOG><x/></ZARN_CATALOG>", nullptr));
    }
    EXPECT_EQ(Recover().finished, 1) << recorded;
    EXPECT_EQ(testing::ReadFile(root_ + "/DEVICE/A/a.ddl"), "new a");
    EXPECT_TRUE(fs::exists(root_ + "/DEVICE/A/b.txt"));
    EXPECT_TRUE(fs::exists(root_ + "/DEVICE/New/x.ddl"));
    EXPECT_FALSE(fs::exists(root_ + "/DEVICE/Gone"));
    EXPECT_FALSE(fs::exists(journal));
  }
}

// An undo in progress wins over a changed catalog file (the rollback put the former
// one back); a kept catalog file comes back; a record cut short by the kill is left
// out; a step whose move had not happened yet leaves the file where it is.
TEST_F(JournalRecoveryTest, AnUndoStartedOrCutShortIsCompleted) {
  ASSERT_TRUE(testing::WriteFile(root_ + "/DEVICE/A/c.ddl", "never moved"));
  const std::string journal = root_ + "/" + std::string(kJournalPrefix) + std::to_string(testing::DeadPid()) + "-3";
  ASSERT_TRUE(testing::WriteFile(journal + "/catalog", "<ZARN_CATALOG><before/></ZARN_CATALOG>"));
  ASSERT_TRUE(testing::WriteFile(journal + "/manifest", ManifestLine('c', {"1"}) + BeforeSave() +
                                                            ManifestLine('m', {"1", "DEVICE/A/c.ddl"}) +
                                                            ManifestLine('U', {}) + "d\tDEVICE/A"));
  ASSERT_TRUE(WriteFileAtomically(catalog_file_, "<ZARN_CATALOG><after/></ZARN_CATALOG>", nullptr));
  EXPECT_EQ(Recover().undone, 1);
  EXPECT_EQ(testing::ReadFile(catalog_file_), "<ZARN_CATALOG><before/></ZARN_CATALOG>");
  EXPECT_EQ(testing::ReadFile(root_ + "/DEVICE/A/c.ddl"), "never moved");
  EXPECT_TRUE(fs::exists(root_ + "/DEVICE/A/a.ddl")) << "the cut record named DEVICE/A";
}

TEST_F(JournalRecoveryTest, JournalsOfLiveWritersStay) {
  // This process's parent runs; a writer of another pid namespace holds the lock.
  const std::string running = Journal(static_cast<long>(::getppid()), Steps());
  const std::string locked = root_ + "/" + std::string(kJournalPrefix) + std::to_string(testing::DeadPid()) + "-1";
  fs::create_directories(locked);
  AppendFile writer;
  ASSERT_TRUE(writer.Create(locked + "/manifest"));
  ASSERT_TRUE(writer.Append(ManifestLine('d', {"DEVICE/New"})));
  const JournalRecoveryResult result = Recover();
  EXPECT_EQ(result.undone + result.finished + result.dropped, 0);
  EXPECT_TRUE(fs::exists(running + "/0"));
  EXPECT_TRUE(fs::exists(root_ + "/DEVICE/New/x.ddl"));
  writer.Close();
  EXPECT_EQ(Recover().undone, 1) << "the writer is gone now";
  EXPECT_FALSE(fs::exists(root_ + "/DEVICE/New"));
}

TEST_F(JournalRecoveryTest, PathsOutsideTheFileAreaAreNotFollowed) {
  ASSERT_TRUE(testing::WriteFile(dir_.Join("outside/keep.txt"), "keep"));
  ASSERT_TRUE(testing::WriteFile(root_ + "/catalogData/data.cfg", "keep"));
  Journal(testing::DeadPid(), ManifestLine('d', {"../outside"}) + ManifestLine('d', {dir_.Join("outside")}) +
                                  ManifestLine('d', {"catalogData"}) + ManifestLine('f', {"zarn_catalog_content.xml"}) +
                                  ManifestLine('m', {"../../x", "DEVICE/A/a.ddl"}));
  EXPECT_EQ(Recover().undone, 1);
  EXPECT_TRUE(fs::exists(dir_.Join("outside/keep.txt")));
  EXPECT_TRUE(fs::exists(root_ + "/catalogData/data.cfg"));
  EXPECT_TRUE(fs::exists(catalog_file_));
  EXPECT_EQ(testing::ReadFile(root_ + "/DEVICE/A/a.ddl"), "new a");
}

TEST(JournalManifestTest, FieldsWithSeparatorsSurviveAndACutLineIsDropped) {
  const std::string odd = "a\tb\nc%d\re";
  const std::vector<ManifestRecord> records =
      ParseManifest(ManifestLine('m', {"0", odd}) + ManifestLine('S', {}) + "f\tcut");
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].kind, 'm');
  ASSERT_EQ(records[0].fields.size(), 2u);
  EXPECT_EQ(records[0].fields[1], odd);
  EXPECT_EQ(records[1].kind, 'S');
  EXPECT_TRUE(records[1].fields.empty());
}

}  // namespace
}  // namespace zarn
