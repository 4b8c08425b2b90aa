// Every source of the sample device library compiles without warnings; the broken
// ones fail with their file and line.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "libs/compiler/compiler.h"
#include "tests/support/test_support.h"

namespace zarnl {
namespace {

namespace fs = std::filesystem;

class SamplesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = zarn::testing::SourceDir() + "/examples/devices";
    if (!fs::is_directory(root_)) GTEST_SKIP() << "no sample library at " << root_;
    configuration_.Load(root_ + "/zarn_catalog/Device/HV__DEV01.cfg");
  }
  CompileResult Compile(const std::string& path) {
    return zarnl::Compile(path, IncludeDirsFor(path, "", &configuration_), &configuration_);
  }

  std::string root_;
  DeviceConfiguration configuration_;
};

TEST_F(SamplesTest, EverySampleCompilesWithoutWarnings) {
  int compiled = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root_)) {
    const std::string path = entry.path().string();
    const std::string ext = entry.path().extension().string();
    if (!entry.is_regular_file() || (ext != ".ddl" && ext != ".mdd")) continue;
    const CompileResult r = Compile(path);
    const bool broken = path.find("/broken/") != std::string::npos;
    EXPECT_EQ(r.ok, !broken) << path << ": "
                             << (r.diagnostics.Entries().empty() ? "" : r.diagnostics.Entries()[0].Text());
    if (!broken) {
      EXPECT_FALSE(r.diagnostics.HasWarnings()) << path << ": " << r.diagnostics.Entries()[0].Text();
    }
    ++compiled;
  }
  EXPECT_GT(compiled, 0);
}

TEST_F(SamplesTest, BrokenSamplesNameFileAndLine) {
  const std::string path = root_ + "/broken/syntax_error.ddl";
  if (!fs::exists(path)) GTEST_SKIP();
  const CompileResult r = Compile(path);
  ASSERT_FALSE(r.diagnostics.Entries().empty());
  EXPECT_EQ(r.diagnostics.Entries()[0].file, path);
  EXPECT_GT(r.diagnostics.Entries()[0].line, 0);
}

}  // namespace
}  // namespace zarnl
