#include "libs/iodd_converter/zip_package.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/paths.h"
#include "tests/plugins/plugin_test_support.h"
#include "tests/support/test_support.h"

namespace zarn::converters {
namespace {

using zarn::testing::ReadFile;
using zarn::testing::ScratchDir;
using zarn::testing::WriteZip;

class ZipPackageTest : public ::testing::Test {
 protected:
  // A package file with these entries, opened with `limits`.
  std::unique_ptr<ZipPackage> Open(const std::vector<std::pair<std::string, std::string>>& entries,
                                   const ZipLimits& limits = {}) {
    const std::string path = dir_.Join("p.zip");
    EXPECT_TRUE(WriteZip(path, entries));
    bytes_ = ReadFile(path);
    return ZipPackage::OpenMemory(bytes_, limits, &error_);
  }

  ScratchDir dir_;
  std::string bytes_;
  std::string error_;
};

TEST_F(ZipPackageTest, SafeEntryNames) {
  const struct {
    const char* name;
    bool safe;
  } cases[] = {{"a.xml", true},    {"dir/a.xml", true}, {"dir/", true},    {"../x", false},
               {"../../x", false}, {"a/../b", false},   {"/etc/x", false}, {"a\\..\\b", false},
               {"C:x", false},     {"./a", false},      {"a//b", false},   {"", false}};
  for (const auto& c : cases) EXPECT_EQ(c.safe, IsSafeEntryName(c.name)) << c.name;
}

TEST_F(ZipPackageTest, ReadsEntriesWithinTheLimits) {
  auto package = Open({{"a.txt", "alpha"}, {"b/c.txt", "gamma"}});
  ASSERT_NE(nullptr, package) << error_;
  ASSERT_EQ(2u, package->EntryCount());
  std::string data;
  ASSERT_TRUE(package->ReadEntry(1, &data, &error_)) << error_;
  EXPECT_EQ("gamma", data);
  EXPECT_EQ("b/c.txt", package->EntryName(1));
}

TEST_F(ZipPackageTest, LimitsHoldWhateverTheHeadersSay) {
  EXPECT_EQ(nullptr, Open({{"1", "a"}, {"2", "b"}, {"3", "c"}}, ZipLimits{2, 100, 100}));
  auto package = Open({{"big", std::string(5000, 'z')}, {"small", "s"}}, ZipLimits{10, 1000, 2000});
  ASSERT_NE(nullptr, package) << error_;
  std::string data;
  EXPECT_FALSE(package->ReadEntry(0, &data, &error_));
  EXPECT_TRUE(package->LimitExceeded());
  EXPECT_TRUE(data.empty());
  EXPECT_LE(package->BytesRead(), 1000u + (64u << 10));
}

TEST_F(ZipPackageTest, ExtractionStaysBelowTheTarget) {
  auto package = Open({{"../../x", "1"}, {"ok/a.txt", "2"}, {"/abs", "3"}});
  ASSERT_NE(nullptr, package) << error_;
  const std::string target = dir_.Join("deep/t");
  const ExtractionResult r = ExtractZip(package.get(), target);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(std::vector<std::string>{JoinPath(target, "ok/a.txt")}, r.files);
  EXPECT_EQ((std::vector<std::string>{"../../x", "/abs"}), r.refused);
  EXPECT_FALSE(std::filesystem::exists(dir_.Join("x")));
  EXPECT_EQ("2", ReadFile(JoinPath(target, "ok/a.txt")));
}

TEST_F(ZipPackageTest, NotAZip) {
  bytes_ = "PK\x03\x04 broken";
  EXPECT_EQ(nullptr, ZipPackage::OpenMemory(bytes_, {}, &error_));
  EXPECT_NE(std::string::npos, error_.find("not a readable zip package"));
}

}  // namespace
}  // namespace zarn::converters
