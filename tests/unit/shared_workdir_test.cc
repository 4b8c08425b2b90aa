// Several processes on one working directory: every import reported done by any of
// them is in the catalog afterwards, each process sees what the others saved, and a
// call that cannot get the lock in time reports busy and changes nothing.
#include <cstdlib>
#include <vector>

#include "platform/file_lock.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

class SharedWorkdirTest : public ImportDriverTest {
 protected:
  // Component XML files of `count` devices named <prefix>0, <prefix>1, ...
  std::vector<std::string> Sources(const std::string& prefix, int count) {
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
      const std::string id = prefix + std::to_string(i);
      files.push_back(Component(id + "/dev.ddl_comp.xml", Device(id, "", "Flow/" + prefix, "0x0001"),
                                ImportDriverTest::Sources(id + "_src")));
    }
    return files;
  }
  // A child process that imports `files` (in a batch when `batch`), then ends; it
  // exits with the number of imports that did not report success.
  pid_t ImportInChild(const std::vector<std::string>& files, bool batch) {
    return testing::StartChild([=, this] {
      Reopen();
      int failed = 0;
      if (batch) ZARN_BeginImportBatch(3);
      for (const std::string& file : files) failed += Import(file) != 0 ? 1 : 0;
      if (batch && ZARN_CommitImportBatch() != 0) ++failed;
      return failed;
    });
  }
  static int Wait(pid_t pid) { return testing::WaitChild(pid); }
  bool Present(const std::string& prefix, int i) {
    const std::u16string path =
        ToUtf16("/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex/Flow/" + prefix + "/" + prefix + std::to_string(i));
    LogPathEntry* entry = nullptr;
    const uint32_t rc = ZARN_GetLogPath(path.c_str(), &entry, 0);
    ZARN_FreeLogPaths(entry);
    return rc == 0;
  }
};

TEST_F(SharedWorkdirTest, ImportsOfProcessesAtTheSameTimeAreAllKept) {
  ImportFirst();
  const std::vector<std::string> a = Sources("A", 12);
  const std::vector<std::string> b = Sources("B", 12);
  const std::vector<std::string> c = Sources("C", 12);
  const pid_t pa = ImportInChild(a, false);
  const pid_t pb = ImportInChild(b, true);
  const pid_t pc = ImportInChild(c, true);
  EXPECT_EQ(Wait(pa), 0);
  EXPECT_EQ(Wait(pb), 0);
  EXPECT_EQ(Wait(pc), 0);
  // This process loaded the catalog before the others saved: it sees their work.
  for (const char* prefix : {"A", "B", "C"}) {
    for (int i = 0; i < 12; ++i) EXPECT_TRUE(Present(prefix, i)) << prefix << i;
  }
  EXPECT_EQ(Count("//COMPONENT"), 37u);
}

TEST_F(SharedWorkdirTest, ACallThatCannotGetTheLockIsBusyAndChangesNothing) {
  ImportFirst();
  const std::string before = CatalogFile();
  FileLock other;  // another process's lock, as far as the library can tell
  ASSERT_EQ(other.Acquire(Catalog().lockFile(), true, std::chrono::milliseconds(0)), FileLock::Result::kLocked);
  const pid_t pid = testing::StartChild([&] {
    setenv("ZARN_LOCK_TIMEOUT_MS", "100", 1);
    Reopen();
    return Import(Sources("D", 1)[0]) == ZARN_E_BUSY ? 0 : 1;
  });
  EXPECT_EQ(Wait(pid), 0) << "the import reports ZARN_E_BUSY";
  other.Release();
  EXPECT_EQ(CatalogFile(), before);
  EXPECT_FALSE(std::filesystem::exists(CatalogDir() + "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex/Flow/D"));
}

// A working directory this process cannot write to (immutable: not even root
// writes there) still answers queries; changes are refused and change nothing.
TEST_F(SharedWorkdirTest, AReadOnlyWorkingDirectoryIsQueriedAndNotChanged) {
  ImportFirst();
  const std::string work = work_.Join("work");
  ZARN_ResetCatalog();
  if (std::system(("chattr +i '" + work + "' 2>/dev/null").c_str()) != 0) GTEST_SKIP() << "no chattr here";
  ZARN_InitCatalogManager(ToUtf16(work).c_str());
  LogPathEntry* entry = nullptr;
  const uint32_t queried = ZARN_GetLogPath(u"/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex/Other/First", &entry, 0);
  ZARN_FreeLogPaths(entry);
  const std::string before = CatalogFile();
  LogPathEntry* paths = nullptr;
  const uint32_t imported = ZARN_ImportComponent(ToUtf16(Sources("R", 1)[0]).c_str(), &paths, 0);
  ZARN_FreeLogPaths(paths);
  std::system(("chattr -i '" + work + "'").c_str());
  EXPECT_EQ(queried, 0u);
  EXPECT_EQ(imported, ZARN_E_CANNOT_WRITE);
  EXPECT_EQ(CatalogFile(), before);
}

}  // namespace
}  // namespace zarn
