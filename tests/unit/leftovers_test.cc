// What killed processes leave behind goes; what running processes use stays.
#include "platform/leftovers.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/test_support.h"

namespace zarn {
namespace {

namespace fs = std::filesystem;

TEST(LeftoversTest, OnlyOldEntriesOfEndedProcessesAreRemoved) {
  testing::ScratchDir dir;
  const std::string dead = std::to_string(testing::DeadPid());
  const std::string alive = std::to_string(static_cast<long>(::getppid()));
  const auto aged = [&](const std::string& name, std::chrono::minutes age, bool directory) {
    const std::string path = dir.Join(name);
    if (directory)
      fs::create_directories(path + "/inner");
    else
      ASSERT_TRUE(testing::WriteFile(path, "partial"));
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
  };
  aged("zarn_catalog_content.xml.tmp" + dead, std::chrono::minutes(5), false);
  aged("zarn_catalog_content.xml.tmp" + alive, std::chrono::minutes(5), false);
  aged("zarnCatalog$$" + dead, std::chrono::minutes(5), true);
  aged("zarnCatalog$$x" + dead, std::chrono::minutes(5), true);
  EXPECT_EQ(RemoveLeftoversOfDeadProcesses(dir.path(), "zarn_catalog_content.xml.tmp", std::chrono::minutes(1)), 1);
  EXPECT_EQ(RemoveLeftoversOfDeadProcesses(dir.path(), "zarnCatalog$$", std::chrono::minutes(10)), 0)
      << "too young: another pid namespace may be using it";
  EXPECT_EQ(RemoveLeftoversOfDeadProcesses(dir.path(), "zarnCatalog$$", std::chrono::minutes(1)), 1);
  EXPECT_FALSE(fs::exists(dir.Join("zarn_catalog_content.xml.tmp" + dead)));
  EXPECT_TRUE(fs::exists(dir.Join("zarn_catalog_content.xml.tmp" + alive)));
  EXPECT_FALSE(fs::exists(dir.Join("zarnCatalog$$" + dead)));
  EXPECT_TRUE(fs::exists(dir.Join("zarnCatalog$$x" + dead))) << "not a process number";
  EXPECT_FALSE(ProcessIsRunning(std::stol(dead)));
  EXPECT_TRUE(ProcessIsRunning(static_cast<long>(::getpid())));
}

}  // namespace
}  // namespace zarn
