// The published corpus beside the clone (../shared/realworld) and a fresh working
// directory, driven through the command-line host as a user would. Tests skip when
// the corpus is absent.
#ifndef ZARN_TESTS_REALWORLD_CORPUS_CLI_FIXTURE_H_
#define ZARN_TESTS_REALWORLD_CORPUS_CLI_FIXTURE_H_

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/paths.h"
#include "tests/support/test_support.h"

namespace zarn {

class CorpusCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    corpus_ = JoinPath(testing::SourceDir(), "../shared/realworld");
    if (!std::filesystem::is_directory(corpus_)) GTEST_SKIP() << "no corpus at " << corpus_;
    ASSERT_EQ(Run("init", ""), 0);
  }

  // Runs one command of the host on the working directory; its standard output
  // is kept in output_.
  int Run(const std::string& command, const std::string& argument) {
    const std::string out = work_.Join("out.txt");
    const std::string line = std::string(ZARN_CLI) + " " + command + " --workdir '" + work_.Join("w") + "' " +
                             (argument.empty() ? "" : "'" + argument + "' ") + ">'" + out + "' 2>/dev/null";
    const int status = std::system(line.c_str());
    output_ = testing::ReadFile(out);
    return status;
  }
  std::string Corpus(const std::string& relative) const { return JoinPath(corpus_, relative); }

  std::string corpus_;
  testing::ScratchDir work_;
  std::string output_;
};

}  // namespace zarn

#endif  // ZARN_TESTS_REALWORLD_CORPUS_CLI_FIXTURE_H_
