// Processes killed in the middle of an import, a re-import, a replacement, a deletion
// or a batch: the next start undoes or finishes what they left half done, so that the
// catalog checker finds every file reference resolved, no orphan file and no journal.
// A child process runs the operation and kills itself at a chosen step of its
// journals (before or after a record, or right before the catalog file is renamed
// into place), or the parent kills it after a random delay.
//
// ZARN_CRASH_TRIALS=<n> (the crash_recovery_long target) kills at every step and adds
// n random-delay trials; without it a spread of steps and a few delays are tried.
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <iostream>
#include <random>
#include <thread>

#include "import/file_area_journal.h"
#include "maintenance/catalog_check.h"
#include "tests/support/import_fixture.h"
#include "xml/document.h"
#include "xml/xpath.h"

namespace zarn {
namespace {

namespace fs = std::filesystem;

enum class Operation { kImport, kNested, kLibraryAgain, kReplace, kDelete, kBatch };
const char* Name(Operation op) {
  switch (op) {
    case Operation::kImport:
      return "import";
    case Operation::kNested:
      return "import with nested imports";
    case Operation::kLibraryAgain:
      return "library again";
    case Operation::kReplace:
      return "replace";
    case Operation::kDelete:
      return "delete";
    case Operation::kBatch:
      return "batch";
  }
  return "?";
}
constexpr Operation kOperations[] = {Operation::kImport,  Operation::kNested, Operation::kLibraryAgain,
                                     Operation::kReplace, Operation::kDelete, Operation::kBatch};

// The child's step counter and where it ends itself.
int g_steps = 0;
int g_kill_at = 0;
std::string g_kinds;  // the kinds of records written, each once
void Step() {
  if (++g_steps == g_kill_at) ::raise(SIGKILL);
}
void OnRecord(char kind, bool /*written*/) {
  if (g_kinds.find(kind) == std::string::npos) g_kinds.push_back(kind);
  Step();
}
bool BeforeRename(const std::string& /*temp_path*/) {
  Step();
  return true;
}

long TrialsFromEnvironment() {
  const char* value = std::getenv("ZARN_CRASH_TRIALS");
  return value != nullptr ? std::strtol(value, nullptr, 10) : 0;
}

class CrashRecoveryTest : public ImportDriverTest {
 protected:
  void SetUp() override {
    ImportDriverTest::SetUp();
    // A PA library first (its second import overwrites its files), then components.
    LoadCatalog("<ZARN_CATALOG><section id=\"DEVICE\"><PROTOCOL id=\"PROFIBUS_PA\"/></section></ZARN_CATALOG>");
    const std::string pi = work_.Join("pa/PI");
    testing::WriteFile(pi + "/0000/pa_import.h", "");
    testing::WriteFile(pi + "/00002A/00002A_0001_01_02.ddl", "device");
    testing::WriteFile(pi + "/00002A/00002A_0001_01_03.ddl", "device, later revision");
    library_ = pi + "/<FoundPiLibrarySpecial>";
    ASSERT_EQ(Import(library_), 0u);
    ImportFirst();
    dev_src_ = Sources("dev_src");
    dev_ = Component("dev/dev.ddl_comp.xml", Device("Dev"), dev_src_);
    ASSERT_EQ(Import(dev_), 0u);
    fresh_ = Component("fresh/dev.ddl_comp.xml", Device("Fresh", "", "Flow/Coriolis", "0x0007"), Sources("fresh_src"));
    for (int i = 0; i < 3; ++i) {
      const std::string id = "B" + std::to_string(i);
      batch_.push_back(Component(id + "/dev.ddl_comp.xml", Device(id, "", "Flow/Batch", "0x001" + std::to_string(i)),
                                 Sources(id + "_src")));
    }
    // A component whose hardware-configuration partners are imported (and saved)
    // while it is imported.
    const std::string hw = work_.Join("hw");
    const std::string device = Component(hw + "/device/dev.ddl_comp.xml",
                                         Device("CFM900__hwcn_device", "", "Hw", "0x0009"), Sources("hw_device_src"));
    const std::string rack = Component(hw + "/rack/dev.ddl_comp.xml", Device("CFM900__hwcn_rack", "", "Hw", "0x000a"),
                                       Sources("hw_rack_src"));
    const std::string src = Sources("cfm_src");
    testing::WriteFile(src + "item.ddl", "x\n###PATH_TO_DEVICE###\n###PATH_TO_RACK###\n");
    nested_ = Component(hw + "/dev.ddl_comp.xml",
                        Device("CFM900", "<HWCN_Device name=\"" + device + "\"/><HWCN_Rack name=\"" + rack +
                                             "\"/><HWCN_DeviceItem name=\"item.ddl\"/>"),
                        src);
    ZARN_ResetCatalog();
    fs::copy(work_.Join("work"), work_.Join("template"), fs::copy_options::recursive);
    // The replacement brings a new revision of Dev: another label, another source.
    testing::WriteFile(dev_src_ + "dev.ddl", kNewSource);
    Component("dev/dev.ddl_comp.xml", Device("Dev", kNewHelp), dev_src_);
  }

  static constexpr const char* kNewHelp = "<HELP><string>new</string></HELP>";
  static constexpr const char* kNewSource = "the new revision";

  // Dev as the catalog file has it: the old one (its source file as first imported)
  // or the new one (label and source file of the replacement), never a mix.
  void ExpectOldOrNewDev(const std::string& trial) {
    std::string error;
    std::unique_ptr<xml::Document> doc = xml::Document::LoadFile(Catalog().catalogFile(), &error);
    ASSERT_TRUE(doc) << trial << ": " << error;
    std::vector<Node> devs;
    xml::SelectNodes(doc->AsNode(), "//COMPONENT[@id='Dev']", &devs, &error);
    ASSERT_EQ(devs.size(), 1u) << trial << ": the old component or the new one, never neither";
    std::string directory;
    ASSERT_TRUE(FileAreaDirectory(CatalogDir(), devs[0].Attribute("fsPath").value_or(""), &directory)) << trial;
    const bool is_new = devs[0].FirstChildElement("HELP") ? true : false;
    EXPECT_EQ(testing::ReadFile(directory + "/dev.ddl"), is_new ? kNewSource : "not a device description")
        << trial << (is_new ? ": the new component" : ": the old component") << " with the other's file";
  }

  void StartFromTemplate() {
    ZARN_ResetCatalog();
    fs::remove_all(work_.Join("work"));
    fs::copy(work_.Join("template"), work_.Join("work"), fs::copy_options::recursive);
  }

  void Run(Operation op) {
    VARIANT deleted;
    VARIANT referencing;
    VariantInit(&deleted);
    VariantInit(&referencing);
    LogPathEntry* paths = nullptr;
    switch (op) {
      case Operation::kImport:
        ZARN_ImportComponent(ToUtf16(fresh_).c_str(), &paths, 0);
        break;
      case Operation::kNested:
        ZARN_ImportComponent(ToUtf16(nested_).c_str(), &paths, 0);
        break;
      case Operation::kLibraryAgain:
        ZARN_ImportComponent(ToUtf16(library_).c_str(), &paths, 0);
        break;
      case Operation::kReplace:
        ZARN_ReplaceComponent(ToUtf16(dev_).c_str(), &deleted, &referencing, &paths);
        break;
      case Operation::kDelete:
        ZARN_DeleteComponent(ToUtf16(dev_).c_str(), &deleted, &referencing);
        break;
      case Operation::kBatch:
        ZARN_BeginImportBatch(2);
        for (const std::string& file : batch_) {
          ZARN_ImportComponent(ToUtf16(file).c_str(), &paths, 0);
          ZARN_FreeLogPaths(paths);
          paths = nullptr;
        }
        ZARN_CommitImportBatch();
        break;
    }
    ZARN_FreeLogPaths(paths);
    VariantClear(&deleted);
    VariantClear(&referencing);
  }

  // Runs `op` in a child that kills itself at step `kill_at` (0: never) or is killed
  // after `delay`. True when it was killed; *steps receives the steps of a child
  // that ran to the end.
  bool RunInChild(Operation op, int kill_at, std::chrono::microseconds delay, int* steps = nullptr,
                  std::string* kinds = nullptr) {
    const std::string count_file = work_.Join("steps");
    const pid_t pid = testing::StartChild([&] {
      Reopen();
      g_steps = 0;
      g_kill_at = kill_at;
      SetJournalRecordHookForTesting(&OnRecord);
      SetBeforeRenameHookForTesting(&BeforeRename);
      Run(op);
      testing::WriteFile(count_file, std::to_string(g_steps) + " " + g_kinds);
      return 0;
    });
    if (delay.count() > 0) {
      std::this_thread::sleep_for(delay);
      ::kill(pid, SIGKILL);
    }
    const bool killed = testing::WaitChild(pid) == -SIGKILL;
    const std::string counted = killed ? std::string() : testing::ReadFile(count_file);
    if (steps != nullptr) *steps = std::atoi(counted.c_str());
    if (kinds != nullptr) *kinds = counted.substr(std::min(counted.size(), counted.find(' ') + 1));
    return killed;
  }

  // Starts the catalog as the next process would and checks it.
  void ExpectSound(Operation op, const std::string& trial) {
    Reopen();
    const CatalogCheckResult result = CheckCatalog(Catalog());
    for (const CatalogViolation& v : result.violations) {
      ADD_FAILURE() << Name(op) << " " << trial << ": promise " << static_cast<int>(v.invariant) << " " << v.path << " "
                    << v.subject << ": " << v.message;
    }
    for (const fs::directory_entry& e : fs::directory_iterator(CatalogDir())) {
      EXPECT_NE(e.path().filename().string().rfind(std::string(kJournalPrefix), 0), 0u)
          << Name(op) << " " << trial << ": journal left: " << e.path();
    }
    EXPECT_EQ(Count("//COMPONENT[@id='First']"), 1u) << Name(op) << " " << trial;
    if (op == Operation::kReplace) {
      ExpectOldOrNewDev(std::string(Name(op)) + " " + trial);
    } else if (op != Operation::kDelete) {
      EXPECT_EQ(Count("//COMPONENT[@id='Dev']"), 1u) << Name(op) << " " << trial << ": an import loses nothing";
    }
    EXPECT_EQ(Count("//PI-LIBRARY//COMPONENT"), 2u) << Name(op) << " " << trial;
  }

  // Whether the operation took effect after the recovery (the library's second
  // import changes nothing the catalog tells; a batch counts when any of it stays).
  bool TookEffect(Operation op) {
    switch (op) {
      case Operation::kImport:
        return Count("//COMPONENT[@id='Fresh']") == 1;
      case Operation::kNested:
        return Count("//COMPONENT[@id='CFM900']") == 1;
      case Operation::kLibraryAgain:
        return true;
      case Operation::kReplace:
        return Count("//COMPONENT[@id='Dev']/HELP") == 1;
      case Operation::kDelete:
        return Count("//COMPONENT[@id='Dev']") == 0;
      case Operation::kBatch:
        return Count("//COMPONENT[starts-with(@id, 'B')]") > 0;
    }
    return false;
  }

  // The steps of `op` run to the end.
  int StepsOf(Operation op, std::chrono::microseconds* duration, std::string* kinds) {
    StartFromTemplate();
    int steps = 0;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(RunInChild(op, 0, std::chrono::microseconds(0), &steps, kinds));
    *duration = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
    ExpectSound(op, "not killed");
    return steps;
  }

  std::string dev_;
  std::string dev_src_;
  std::string fresh_;
  std::string nested_;
  std::string library_;
  std::vector<std::string> batch_;
};

TEST_F(CrashRecoveryTest, AKillAtAnyStepLeavesASoundCatalogAndNoJournal) {
  const long extra = TrialsFromEnvironment();
  int trials = 0;
  int killed = 0;
  int random_trials = 0;
  int kept = 0;  // trials after which the operation had taken effect
  std::mt19937 random(42);
  for (Operation op : kOperations) {
    std::chrono::microseconds duration{0};
    std::string kinds;
    const int steps = StepsOf(op, &duration, &kinds);
    // What each operation is here for: moves aside, a kept catalog file, removals
    // after the save, and the saves themselves.
    const char* expected = op == Operation::kLibraryAgain ? "msS"
                           : op == Operation::kNested     ? "cdfsS"
                           : op == Operation::kDelete     ? "rsS"
                           : op == Operation::kReplace    ? "mdfsS"
                                                          : "dfsS";
    for (const char* k = expected; *k != 0; ++k) {
      EXPECT_NE(kinds.find(*k), std::string::npos) << Name(op) << ": no record '" << *k << "' in " << kinds;
    }
    // Every step in the long run, five of them spread over the operation otherwise.
    const int stride = extra > 0 ? 1 : std::max(1, steps / 5);
    for (int k = 1; k <= steps; k += stride) {
      StartFromTemplate();
      ++trials;
      if (RunInChild(op, k, std::chrono::microseconds(0))) ++killed;
      ExpectSound(op, "killed at step " + std::to_string(k) + " of " + std::to_string(steps));
      if (TookEffect(op)) ++kept;
      if (HasFailure()) return;
    }
    // Kills at any moment, also between the steps (in a copy, a directory walk).
    const long delays = extra > 0 ? extra / 5 : 1;
    for (long i = 0; i < delays; ++i) {
      StartFromTemplate();
      ++trials;
      ++random_trials;
      const auto delay = std::chrono::microseconds(1 + random() % std::max<long>(1, duration.count()));
      if (RunInChild(op, 0, delay)) ++killed;
      ExpectSound(op, "killed after " + std::to_string(delay.count()) + " us");
      if (TookEffect(op)) ++kept;
      if (HasFailure()) return;
    }
  }
  std::cout << "crash trials: " << trials << " (" << random_trials << " at a random moment), killed " << killed
            << ", operation in effect afterwards " << kept << ", all recovered sound\n";
}

bool FailRename(const std::string& /*temp_path*/) { return false; }

// The paths whose entries differ between two snapshots, one a line.
std::string Differences(const TreeSnapshot& now, const TreeSnapshot& before) {
  std::string out;
  for (const auto& [path, content] : now) {
    // The catalog file the failed save left half written goes at the next start.
    if (path.rfind("/zarn_catalog_content.xml.tmp", 0) == 0) continue;
    const auto it = before.find(path);
    if (it == before.end() || it->second != content) out += (it == before.end() ? "new " : "changed ") + path + "\n";
  }
  for (const auto& [path, content] : before) {
    if (now.count(path) == 0) out += "gone " + path + "\n";
  }
  return out;
}

// A replacement whose save fails, or whose deletion names nothing, changes nothing:
// the old component keeps its entry, its identification key and its files.
TEST_F(CrashRecoveryTest, AFailedReplacementKeepsTheOldComponent) {
  StartFromTemplate();
  ZARN_InitCatalogManager(ToUtf16(work_.Join("work")).c_str());
  const std::string before = CatalogFile();
  const TreeSnapshot files = FileArea();
  SetBeforeRenameHookForTesting(&FailRename);
  Run(Operation::kReplace);
  SetBeforeRenameHookForTesting(nullptr);
  EXPECT_EQ(CatalogFile(), before);
  EXPECT_EQ(Differences(FileArea(), files), "");
  EXPECT_EQ(Count("//COMPONENT[@id='Dev']/HELP"), 0u);
  VARIANT found[4];
  for (VARIANT& v : found) VariantInit(&v);
  EXPECT_EQ(ZARN_IsComponentExistent(ToUtf16(dev_).c_str(), &found[0], &found[1], &found[2], &found[3]), 0u);
  for (VARIANT& v : found) VariantClear(&v);
  std::string at;
  EXPECT_TRUE(Catalog().IndexLookup(CCatalog_Contents::IndexKey("0x00f1", "0xf1a5", "0x0003"), &at));
  EXPECT_TRUE(CheckCatalog(Catalog()).violations.empty());
  // The same replacement then goes through.
  Run(Operation::kReplace);
  EXPECT_EQ(Count("//COMPONENT[@id='Dev']/HELP"), 1u);
  ExpectOldOrNewDev("after the failed one");
}

}  // namespace
}  // namespace zarn
