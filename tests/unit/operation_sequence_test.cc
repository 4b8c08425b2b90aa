// Randomized operation sequences: from a seed, imports, re-imports, replaces,
// deletes, failing saves and reloads over a corpus of device families, with the
// catalog checker after every step and a model of which components should be there.
// The bounded run of the test suite covers a few seeds; a long run takes its seed and
// length from the environment (docs/catalog-invariants.md, "Long runs"):
//   ZARN_SEQUENCE_SEED=7 ZARN_SEQUENCE_STEPS=100000 zarn_tests --gtest_filter='OperationSequence*'
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>

#include "external/compiler_library.h"
#include "maintenance/catalog_check.h"
#include "platform/files.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

// One source of the corpus and the component paths its import files.
struct Family {
  const char* source;  // below examples/devices, or "hand" for the hand-written one
  std::vector<std::string> paths;
};

const std::string kRio = "/DEVICE/PROFIBUS_DP/REMOTEIO/Brennvik Automation/RIO/";
const std::string kPaLibrary = "/DEVICE/PROFIBUS_PA/PI";
constexpr size_t kPd600 = 8;  // the PA device: its protocol element takes the PA library
constexpr size_t kLibrary = 9;

const std::vector<Family>& Corpus() {
  static const std::vector<Family> corpus = {
      {"profibus_dp/brennvik/remote_io_rio8.ddl", {kRio + "brennvik_station_folder/rio8"}},
      {"profibus_dp/brennvik/modules/ai4_module.mdd", {kRio + "Modules/ai4_module"}},
      {"profibus_dp/brennvik/modules/do8_module.mdd",
       {"/DEVICE/PROFIBUS_DP/DISCRETE_OUT/Brennvik Automation/RIO/Modules/do8_module"}},
      {"gsd/QLMK80F3.gsd", {"/DEVICE/PROFIBUS_DP/REMOTEIO/Quelmark Automation/Remote I-O/Modular/QLMK80F3"}},
      {"iodd/Brindle-BL50-20260101-IODD1.1.xml",
       {"/DEVICE/IOLINK/Brindle Instruments/IODD_1234_0x00B150_BL50_S",
        "/DEVICE/IOLINK/Brindle Instruments/IODD_1234_0x00B150_BL50_L"}},
      {"hart/quellmark/temperature_tt420.ddl",
       {"/DEVICE/HART/SENSOR/TEMPERATURE/Quellmark Sensorik/Temperature/Head transmitters/tt420"}},
      {"hart/quellmark/radar_level_lr80.ddl",
       {"/DEVICE/HART/SENSOR/LEVEL/ECHO/Quellmark Sensorik/Level/quellmark_level_folder/lr80"}},
      {"hand", {"/DEVICE/HART/SENSOR/TEMPERATURE/Quellmark Sensorik/Temperature/handmade_tt1"}},
      {"profibus_pa/halvora/pressure_pd600.ddl",
       {"/DEVICE/PROFIBUS_PA/SENSOR/PRESSURE/Halvora Instruments/Pressure/pd600"}},
      {"pa library", {kPaLibrary}},
  };
  return corpus;
}

enum class Op { kImport, kReplace, kDelete, kFailingImport, kFailingDelete, kReload };

const char* OpName(Op op) {
  switch (op) {
    case Op::kImport:
      return "import";
    case Op::kReplace:
      return "replace";
    case Op::kDelete:
      return "delete";
    case Op::kFailingImport:
      return "failing import";
    case Op::kFailingDelete:
      return "failing delete";
    case Op::kReload:
      return "reload";
  }
  return "?";
}

class OperationSequenceTest : public ImportDriverTest {
 protected:
  void SetUp() override {
    ImportDriverTest::SetUp();
    if (!CompilerLibrary::Instance().available()) GTEST_SKIP() << "the compiler library is not built";
    LayOutCatalogData();
    for (const Family& f : Corpus()) converted_.push_back(ConvertOnce(f.source));
  }
  void TearDown() override {
    SetBeforeRenameHookForTesting(nullptr);
    ImportDriverTest::TearDown();
  }

  // The component XML of a family, converted once and kept beside the test's files
  // (its sources stay where they are: the component XML names their directory).
  std::string ConvertOnce(const std::string& source) {
    if (source == "pa library") {
      const std::string pi = work_.Join("pa/PI");
      testing::WriteFile(pi + "/0000/pa_import.h", "");
      testing::WriteFile(pi + "/00002A/00002A_0001_01_02.ddl", "device");
      testing::WriteFile(pi + "/00002A/00002A_0002_01_01.ddl", "device");
      return pi + "/<FoundPiLibrarySpecial>";
    }
    if (source == "hand") {
      const std::string dir = work_.Join("hand_src");
      testing::WriteFile(dir + "/manual.txt", "manual");
      return Component("hand_xml/handmade.xml",
                       "<COMPONENT id=\"handmade_tt1\"><PROTOCOL name=\"HART\"/>"
                       "<CLASSIFICATION name=\"SENSOR_TEMPERATURE\"/><MANUFACTURER_EXT name=\"Quellmark Sensorik\"/>"
                       "<COMPONENT_PATH name=\"Temperature/handmade_tt1\"/><LABEL><string>Hand-made</string>"
                       "</LABEL><ZARN>manual.txt</ZARN></COMPONENT>",
                       dir + "/");
    }
    ComponentXMLInfo* list = nullptr;
    const std::string path = testing::SourceDir() + "/examples/devices/" + source;
    EXPECT_EQ(ZARN_GetComponents(ToUtf16(path).c_str(), &list, nullptr), 0u) << source;
    const std::string xml = list != nullptr ? ToUtf8(list->componentXmlPath) : std::string();
    ZARN_FreeComponentXMLInfo(list);
    const std::string kept = work_.Join("converted/" + std::to_string(converted_.size()) + "/" +
                                        std::filesystem::path(xml).filename().string());
    std::filesystem::create_directories(std::filesystem::path(kept).parent_path());
    std::filesystem::copy_file(xml, kept);
    return kept;
  }

  // One step; returns false (with a failure recorded) when a promise broke.
  void Step(Op op, size_t family) {
    const Family& f = Corpus()[family];
    const bool present = present_.count(family) != 0;
    const std::string what = std::string(OpName(op)) + " " + f.source + (present ? " (present)" : " (absent)");
    SCOPED_TRACE(what);
    if (std::getenv("ZARN_SEQUENCE_VERBOSE") != nullptr) std::printf("%s\n", what.c_str());
    switch (op) {
      case Op::kImport: {
        // The library goes below the PA protocol's element, which a PA device made (an
        // emptied level may stay).
        const bool protocol = static_cast<bool>(Catalog().FindByComponentPath("/DEVICE/PROFIBUS_PA"));
        EXPECT_TRUE(protocol || present_.count(kPd600) == 0) << "a PA device keeps its protocol";
        const uint32_t rc = Import(converted_[family]);
        if (family == kLibrary) {
          EXPECT_EQ(rc, protocol ? 0u : ZARN_E_NO_PI_LIBRARY);
          if (rc == 0) present_.insert(family);
        } else if (present) {
          EXPECT_NE(rc, 0u) << "already there";
        } else {
          EXPECT_EQ(rc, 0u);
          present_.insert(family);
        }
        break;
      }
      case Op::kReplace: {
        if (family == kLibrary) return;  // the library is imported again, never replaced
        const uint32_t rc = ReplaceComponent(converted_[family]);
        EXPECT_TRUE(rc == 0 || rc == ZARN_S_REPLACED) << std::hex << rc;
        present_.insert(family);
        break;
      }
      case Op::kDelete: {
        if (!present) return;
        EXPECT_EQ(Delete(f), 0u);
        present_.erase(family);
        break;
      }
      case Op::kFailingImport:
      case Op::kFailingDelete: {
        if ((op == Op::kFailingImport) == present) return;
        if (op == Op::kFailingImport && family == kLibrary && !Catalog().FindByComponentPath("/DEVICE/PROFIBUS_PA")) {
          return;
        }
        const std::string before = CatalogFile();
        const TreeSnapshot area = FileArea();
        SetBeforeRenameHookForTesting(&RefuseRename);
        const uint32_t rc = op == Op::kFailingImport ? Import(converted_[family]) : Delete(f);
        SetBeforeRenameHookForTesting(nullptr);
        EXPECT_NE(rc, 0u);
        EXPECT_EQ(CatalogFile(), before) << "the catalog file is as before";
        EXPECT_TRUE(FileArea() == area) << "the file area is as before";
        break;
      }
      case Op::kReload:
        ZARN_ResetCatalog();
        break;
    }
    ++done_[std::string(OpName(op)) + (family == kLibrary && op != Op::kReload ? " (PA library)" : "")];
    ExpectModel();
  }

  uint32_t Delete(const Family& f) {
    std::string target;
    for (const std::string& p : f.paths) target += (target.empty() ? "" : ";") + p;
    return DeleteComponent(target);
  }

  void ExpectModel() {
    ExpectSound();
    for (size_t i = 0; i < Corpus().size(); ++i) {
      for (const std::string& path : Corpus()[i].paths) {
        const Node element = Catalog().FindByComponentPath(path);
        const bool real = element && (element.Name() == "COMPONENT" || element.Name() == "PI-LIBRARY");
        EXPECT_EQ(real, present_.count(i) != 0) << path;
      }
    }
  }

  // Runs `steps` operations from `seed`; stops at the first step that broke a promise.
  void Run(uint32_t seed, size_t steps) {
    std::mt19937 random(seed);
    const Op ops[] = {Op::kImport, Op::kImport,        Op::kImport,        Op::kReplace, Op::kDelete,
                      Op::kDelete, Op::kFailingImport, Op::kFailingDelete, Op::kReload};
    std::uniform_int_distribution<size_t> pick_op(0, std::size(ops) - 1);
    std::uniform_int_distribution<size_t> pick_family(0, Corpus().size() - 1);
    for (size_t i = 0; i < steps; ++i) {
      SCOPED_TRACE("seed " + std::to_string(seed) + ", step " + std::to_string(i));
      Step(ops[pick_op(random)], pick_family(random));
      if (HasFailure()) return;
    }
  }

  std::vector<std::string> converted_;
  std::set<size_t> present_;
  std::map<std::string, size_t> done_;  // steps carried out, by kind
};

// Prints what the run did, so that a run can be seen to cover every kind of step.
void PrintSteps(const std::map<std::string, size_t>& done) {
  std::string line;
  for (const auto& [name, count] : done) line += " " + name + ": " + std::to_string(count) + ";";
  std::printf("steps carried out:%s\n", line.c_str());
}

size_t FromEnvironment(const char* name, size_t fallback) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? static_cast<size_t>(std::strtoull(value, nullptr, 10)) : fallback;
}

TEST_F(OperationSequenceTest, EveryStepKeepsThePromisesAndTheModel) {
  const size_t steps = FromEnvironment("ZARN_SEQUENCE_STEPS", 150);
  if (const char* seed = std::getenv("ZARN_SEQUENCE_SEED"); seed != nullptr && *seed != '\0') {
    Run(static_cast<uint32_t>(std::strtoul(seed, nullptr, 10)), steps);
    PrintSteps(done_);
    return;
  }
  for (uint32_t seed : {1u, 2u}) {
    Run(seed, steps);
    if (HasFailure()) return;
    // The next seed starts from an empty catalog.
    PrintSteps(done_);
    for (size_t i = 0; i < Corpus().size(); ++i) {
      if (present_.count(i) != 0) {
        ASSERT_EQ(Delete(Corpus()[i]), 0u);
      }
    }
    present_.clear();
  }
}

}  // namespace
}  // namespace zarn
