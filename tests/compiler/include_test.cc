// Include search: including directory, include path order, the identification
// include path, cycles and depth.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "libs/compiler/compiler.h"
#include "libs/compiler/source_file.h"
#include "tests/support/test_support.h"

namespace zarnl {
namespace {

using zarn::testing::ScratchDir;
using zarn::testing::WriteFile;

class IncludeTest : public ::testing::Test {
 protected:
  void File(const std::string& rel, const std::string& text) { WriteFile(dir_.Join(rel), text); }
  // Preprocesses `rel` with the include path given as directories relative to the
  // scratch directory; returns the non-empty lines joined by "|".
  std::string Run(const std::string& rel, const std::vector<std::string>& include = {}) {
    std::vector<std::string> dirs;
    for (const std::string& d : include) dirs.push_back(dir_.Join(d));
    result_ = Preprocess(dir_.Join(rel), dirs);
    std::string joined;
    for (const OutputLine& l : result_.output.lines) {
      if (!l.text.empty()) joined += (joined.empty() ? "" : "|") + l.text;
    }
    return joined;
  }
  std::vector<std::string> Errors() const {
    std::vector<std::string> out;
    for (const Diagnostic& d : result_.diagnostics.Entries()) out.push_back(d.Text().substr(dir_.path().size() + 1));
    return out;
  }

  ScratchDir dir_;
  PreprocessResult result_;
};

TEST_F(IncludeTest, SearchesIncludingDirectoryThenPathInOrder) {
  File("src/main.ddl", "#include \"a.h\"\n#include <b.h>\n#include \"sub/c.h\"");
  File("src/a.h", "a_local");
  File("one/a.h", "a_one");
  File("one/b.h", "b_one");
  File("two/b.h", "b_two");
  File("two/sub/c.h", "#include \"d.h\"");
  File("two/sub/d.h", "d_beside_c");
  EXPECT_EQ(Run("src/main.ddl", {"one", "two"}), "a_local|b_one|d_beside_c");
  EXPECT_EQ(Run("src/main.ddl", {"two", "one"}), "a_local|b_two|d_beside_c");
  EXPECT_TRUE(result_.ok);
}

TEST_F(IncludeTest, AcceptsBackslashesAndOtherCase) {
  File("main.ddl", "#include \"Inc\\\\DEFS.H\"\n#define NAME \"inc/defs.h\"\n#include NAME");
  File("inc/defs.h", "defs");
  EXPECT_EQ(Run("main.ddl"), "defs|defs");
  EXPECT_TRUE(result_.ok);
}

TEST_F(IncludeTest, MapsLinesOfIncludedFiles) {
  File("main.ddl", "first\n#include \"x.h\"\nthird");
  File("x.h", "\nx_two");
  Run("main.ddl");
  const auto& lines = result_.output.lines;
  ASSERT_EQ(lines.size(), 5u);  // first, #include, x.h:1, x.h:2, third
  EXPECT_EQ(result_.output.files[lines[3].file], dir_.Join("x.h"));
  EXPECT_EQ(lines[3].line, 2);
  EXPECT_EQ(lines[4].text, "third");
  EXPECT_EQ(lines[4].line, 3);
}

TEST_F(IncludeTest, ReportsMissingIncludeInIncludedFile) {
  File("main.ddl", "#include \"x.h\"");
  File("x.h", "\n\n#include \"gone.h\"");
  Run("main.ddl");
  EXPECT_EQ(Errors(), std::vector<std::string>{"x.h:3: cannot find include file 'gone.h'"});
}

TEST_F(IncludeTest, StopsIncludeCycles) {
  File("main.ddl", "#include \"a.h\"\nend");
  File("a.h", "#include \"b.h\"");
  File("b.h", "#include \"a.h\"\nb");
  EXPECT_EQ(Run("main.ddl"), "b|end");
  EXPECT_EQ(Errors(), std::vector<std::string>{"b.h:1: include cycle: 'a.h' is already being included"});
}

TEST_F(IncludeTest, SelfIncludeGuardedByMacroIsFine) {
  File("main.ddl", "#include \"g.h\"\n#include \"g.h\"");
  File("g.h", "#ifndef G\n#define G\nonce\n#endif");
  EXPECT_EQ(Run("main.ddl"), "once");
  EXPECT_TRUE(result_.ok);
}

TEST_F(IncludeTest, BoundsIncludeDepth) {
  for (int i = 0; i < 100; ++i) {
    File("d" + std::to_string(i) + ".h", "#include \"d" + std::to_string(i + 1) + ".h\"");
  }
  File("main.ddl", "#include \"d0.h\"");
  Run("main.ddl");
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_NE(Errors()[0].find("#include nested too deeply"), std::string::npos);
}

// Hostile sources: an include bomb (each level includes the next twice, without
// guards) stops at the bounds with an error instead of growing to gigabytes, and a
// file named from the root of the file system is never read.
TEST_F(IncludeTest, IncludeBombsAndAbsolutePathsAreRefused) {
  const std::string filler(64 * 1024, 'x');
  for (int i = 0; i < 16; ++i) {
    const std::string next = "b" + std::to_string(i + 1) + ".h";
    File("b" + std::to_string(i) + ".h", "// " + filler + "\n#include \"" + next + "\"\n#include \"" + next + "\"");
  }
  File("b16.h", "// " + filler);
  File("main.ddl", "#include \"b0.h\"");
  Run("main.ddl");
  EXPECT_FALSE(result_.ok);
  ASSERT_FALSE(Errors().empty());
  EXPECT_NE(Errors()[0].find("#include"), std::string::npos) << Errors()[0];
  EXPECT_LT(result_.output.Text().size(), Preprocessor::kMaxIncludedBytes + (1u << 20));

  File("secret.txt", "root:x:0:0:root");
  File("abs.ddl", "#include \"" + dir_.Join("secret.txt") + "\"\n");
  Run("abs.ddl");
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_NE(Errors()[0].find("absolute path is not allowed"), std::string::npos) << Errors()[0];
  EXPECT_EQ(result_.output.Text().find("root:x"), std::string::npos);

  // ".." may move around inside the source's directory, not out of it.
  File("sub/inner/peer.h", "VARIABLE peer {}");
  File("sub/dev.ddl", "#include \"inner/../inner/peer.h\"\n#include \"../secret.txt\"\n");
  Run("sub/dev.ddl");
  ASSERT_EQ(Errors().size(), 1u);
  EXPECT_NE(Errors()[0].find("dev.ddl:2: #include leaves the source's directory"), std::string::npos) << Errors()[0];
  EXPECT_EQ(result_.output.Text().find("root:x"), std::string::npos);
}

TEST_F(IncludeTest, IdentificationIncludeDirsBelowCatalog) {
  const std::string c = "/w/zarn_catalog";
  const std::vector<std::string> expected = {c + "/DEVICE/P/M", c + "/DEVICE/P",       c + "/DEVICE/P/_global",
                                             c + "/DEVICE",     c + "/DEVICE/_global", c,
                                             c + "/_global"};
  EXPECT_EQ(IdentificationIncludeDirs(c + "/DEVICE/P/M/d.ddl", ""), expected);
  EXPECT_EQ(IdentificationIncludeDirs(c + "/DEVICE/P/M/d.ddl", c), expected);
  EXPECT_EQ(IdentificationIncludeDirs("/lib/x/d.ddl", "/other/zarn_catalog"),
            (std::vector<std::string>{"/lib/x", "/lib", "/lib/_global", "/", "/_global"}));
  EXPECT_EQ(IdentificationIncludeDirs("/data/cat/P/d.ddl", "/data/cat"),
            (std::vector<std::string>{"/data/cat/P", "/data/cat", "/data/cat/_global"}));
}

TEST_F(IncludeTest, DefaultIncludePathFindsGlobalDirectories) {
  File("zarn_catalog/DEVICE/P/M/dev.ddl", "#include \"common.h\"\n#include \"local.h\"");
  File("zarn_catalog/DEVICE/_global/common.h", "common");
  File("zarn_catalog/DEVICE/P/M/local.h", "local");
  const std::string source = dir_.Join("zarn_catalog/DEVICE/P/M/dev.ddl");
  result_ = Preprocess(source, IncludeDirsFor(source, "", nullptr));
  EXPECT_TRUE(result_.ok);
  EXPECT_EQ(result_.output.Text(), "\ncommon\n\nlocal\n");
}

}  // namespace
}  // namespace zarnl
