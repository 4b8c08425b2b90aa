// CFileOperation on a scratch directory, its copy notes traced as the library does.
#include "platform/file_operation.h"

#include <gtest/gtest.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "external/file_copy_trace.h"
#include "tests/support/test_support.h"

namespace zarn {
namespace {
namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class FileOperationTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& relative) const { return dir_.Join(relative); }
  std::string Make(const std::string& relative, const std::string& content = "x") {
    EXPECT_TRUE(testing::WriteFile(Path(relative), content)) << relative;
    return Path(relative);
  }
  std::string MakeDir(const std::string& relative) {
    fs::create_directories(Path(relative));
    return Path(relative);
  }
  bool Exists(const std::string& relative) const { return fs::exists(Path(relative)); }
  // Every file and directory (with a trailing "/") below `relative`, sorted.
  Names Tree(const std::string& relative) const {
    Names out;
    for (const auto& e : fs::recursive_directory_iterator(Path(relative))) {
      out.push_back(fs::relative(e.path(), Path(relative)).string() + (e.is_directory() ? "/" : ""));
    }
    std::sort(out.begin(), out.end());
    return out;
  }
  // File names of full paths, in list order.
  static Names NamesOf(const Names& paths) {
    Names out;
    for (const std::string& p : paths) out.push_back(fs::path(p).filename().string());
    return out;
  }
  bool Writable(const std::string& path) const {
    return (fs::status(path).permissions() & fs::perms::owner_write) != fs::perms::none;
  }

  testing::ScratchDir dir_;
  CFileOperation op_{TraceFileCopy};
};

TEST_F(FileOperationTest, PathTypes) {
  const std::string file = Make("f.txt");
  MakeDir("d");
  fs::create_symlink(Path("loop2"), Path("loop1"));
  fs::create_symlink(Path("loop1"), Path("loop2"));
  const struct {
    std::string path;
    int32_t type;
  } cases[] = {
      {file, kPathFile},
      {Path("d"), kPathDirectory},
      {Path("missing"), kPathMissing},
      {Path("missing/child"), kPathMissing},
      {file + "/child", kPathMissing},  // a component is not a directory
      {Path(std::string(NAME_MAX + 1, 'n')), kPathUnreadable},
      {Path(std::string("a\0b", 3)), kPathUnreadable},
      {Path("loop1"), kPathUnreadable},
  };
  for (const auto& c : cases) EXPECT_EQ(op_.GetPathType(c.path), c.type) << c.path;
}

TEST_F(FileOperationTest, UnsearchableDirectoryIsUnreadable) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  Make("locked/f.txt");
  fs::permissions(Path("locked"), fs::perms::none);
  EXPECT_EQ(op_.GetPathType(Path("locked/f.txt")), kPathUnreadable);
}

TEST_F(FileOperationTest, FileExistsOnlyForReadableFiles) {
  EXPECT_TRUE(op_.FileExists(Make("f.txt")));
  EXPECT_FALSE(op_.FileExists(MakeDir("d")));
  EXPECT_FALSE(op_.FileExists(Path("missing")));
  EXPECT_FALSE(op_.FileExists(Path(std::string("f.txt\0x", 7))));
}

TEST_F(FileOperationTest, ClearReadOnly) {
  const std::string file = Make("ro.txt");
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read);
  EXPECT_TRUE(op_.ClearReadOnly(file));
  EXPECT_TRUE(Writable(file));
  EXPECT_FALSE(op_.ClearReadOnly(Path("missing")));
}

TEST_F(FileOperationTest, PathPieces) {
  std::string path = "/a/b";
  CFileOperation::AddBackslash(&path);
  CFileOperation::AddBackslash(&path);
  EXPECT_EQ(path, "/a/b/");
  EXPECT_EQ(CFileOperation::ParentDirectory("/a/b/c//"), "/a/b");
  EXPECT_EQ(CFileOperation::DirectoryOfFile("/a/b/c.ddl"), "/a/b/");
}

TEST_F(FileOperationTest, CreateDirectoriesBelowExistingLevel) {
  MakeDir("a");
  EXPECT_TRUE(op_.CreateDirectories(Path("a/b/c")));
  EXPECT_EQ(Tree("a"), (Names{"b/", "b/c/"}));
  EXPECT_TRUE(op_.CreateDirectories(Path("a/b/c/")));  // nothing missing
  EXPECT_TRUE(op_.CreateDirectories(Path("x/y/z/")));
  EXPECT_TRUE(Exists("x/y/z"));
}

TEST_F(FileOperationTest, CreateDirectoriesFailsOnFileOrBadName) {
  Make("a/file");
  EXPECT_FALSE(op_.CreateDirectories(Path("a/file/sub")));
  EXPECT_NE(op_.error_code(), 0);
  EXPECT_FALSE(op_.CreateDirectories(Path(std::string("q\0r", 3))));
  EXPECT_FALSE(Exists("q"));
}

TEST_F(FileOperationTest, DestinationPathLimit) {
  // Pad with directories so that a file name reaches the limit exactly.
  std::string base = dir_.path();
  while (CFileOperation::kMaxPath - base.size() - 1 > 200) {
    base += "/" + std::string(100, 'd');
    fs::create_directory(base);
  }
  const std::string source = Make("src.txt", "payload");
  const std::string at_limit = base + "/" + std::string(CFileOperation::kMaxPath - base.size() - 1, 'n');
  ASSERT_EQ(at_limit.size(), 260u);
  EXPECT_TRUE(op_.DoFileCopy(source, at_limit, false));
  EXPECT_EQ(testing::ReadFile(at_limit), "payload");
  EXPECT_FALSE(op_.DoFileCopy(source, at_limit + "x", false));
  EXPECT_FALSE(fs::exists(at_limit + "x"));
  EXPECT_FALSE(op_.DoFileCopy(at_limit + "x", Path("out.txt"), false));
}

TEST_F(FileOperationTest, OverwritesReadOnlyDestinationOfOtherSizeWithWarning) {
  const std::string source = Make("src.txt", "new longer content");
  const std::string target = Make("dst.txt", "old");
  fs::permissions(target, fs::perms::owner_read);
  testing::TraceCapture trace;
  EXPECT_TRUE(op_.DoFileCopy(source, target, false));
  EXPECT_EQ(testing::ReadFile(target), "new longer content");
  EXPECT_TRUE(Writable(target));
  ASSERT_EQ(trace.entries().size(), 1u);
  EXPECT_EQ(trace.entries()[0].level, 2);
  EXPECT_EQ(trace.entries()[0].function, "CFileOperation::DoFileCopy");
  EXPECT_EQ(trace.entries()[0].message, "overwrite error: overwrite " + target);
}

TEST_F(FileOperationTest, FileThatCannotBeCopiedIsTraced) {
  Make("from/a.txt", "a");
  Make("from/b.txt", "b");
  MakeDir("to/a.txt");  // a directory where the file should go
  testing::TraceCapture trace;
  op_.Copy(Path("from"), Path("to"));
  EXPECT_EQ(testing::ReadFile(Path("to/b.txt")), "b") << "the others are copied";
  EXPECT_TRUE(trace.Contains("copy error: " + Path("from/a.txt") + " not copied to " + Path("to/a.txt")));
}

TEST_F(FileOperationTest, OverwriteOfSameSizeIsSilent) {
  const std::string source = Make("src.txt", "abc");
  const std::string target = Make("dst.txt", "xyz");
  testing::TraceCapture trace;
  EXPECT_TRUE(op_.DoFileCopy(source, target, false));
  EXPECT_EQ(testing::ReadFile(target), "abc");
  EXPECT_TRUE(trace.entries().empty());
}

TEST_F(FileOperationTest, DeviceXmlFilesAreNotCopied) {
  for (const std::string name : {"x.device.xml", "x.Device.XML", "x.device.xml_comp.xml"}) {
    EXPECT_TRUE(op_.DoFileCopy(Make(name), Path("out_" + name), false)) << name;
    EXPECT_FALSE(Exists("out_" + name)) << name;
  }
}

TEST_F(FileOperationTest, MoveDeletesSourceButNeverOverwrites) {
  const std::string source = Make("src.txt", "moved");
  EXPECT_TRUE(op_.DoFileCopy(source, Path("dst.txt"), true));
  EXPECT_FALSE(Exists("src.txt"));
  EXPECT_EQ(testing::ReadFile(Path("dst.txt")), "moved");
  const std::string again = Make("again.txt", "other");
  EXPECT_FALSE(op_.DoFileCopy(again, Path("dst.txt"), true));
  EXPECT_TRUE(Exists("again.txt"));
  EXPECT_EQ(testing::ReadFile(Path("dst.txt")), "moved");
}

TEST_F(FileOperationTest, ListByPattern) {
  for (const char* name : {"a.ddl12", "a.ddl", "c.DDL34", "x.ddl1", "b.device.xml", "n.mdd", "y.XML"}) Make(name);
  MakeDir("d.ddl99");
  const struct {
    std::string pattern;
    Names expected;
  } cases[] = {
      {"*.ddl??", {"a.ddl12", "c.DDL34"}},
      {"*.device.xml", {"b.device.xml"}},
      {"*.*", {"a.ddl12", "b.device.xml", "c.DDL34", "x.ddl1", "y.XML"}},
      {"?.ddl1", {"x.ddl1"}},
  };
  for (const auto& c : cases) {
    Names found;
    op_.ListByPattern(dir_.path(), c.pattern, &found);
    EXPECT_EQ(NamesOf(found), c.expected) << c.pattern;
  }
}

TEST_F(FileOperationTest, ListFilesByEnding) {
  for (const char* name : {"a.ddl", "b.DDL", "c.mdd", "sub/d.ddl"}) Make(name);
  Names found;
  op_.ListFiles(dir_.path(), &found, ".ddl");
  EXPECT_EQ(found, (Names{Path("a.ddl"), Path("b.DDL")}));
  found.clear();
  op_.ListFiles(dir_.path(), &found, "");
  EXPECT_EQ(NamesOf(found), (Names{"a.ddl", "b.DDL", "c.mdd"}));
}

TEST_F(FileOperationTest, ListFilesByExtensionWalksTree) {
  for (const char* name : {"a.mdd", "s/b.MDD", "s/t/c.mdd", "s/t/c.mdd.bak", "mdd"}) Make(name);
  Names found;
  op_.ListFilesByExtension(dir_.path(), "mdd", &found);
  EXPECT_EQ(found, (Names{Path("a.mdd"), Path("s/b.MDD"), Path("s/t/c.mdd")}));
}

TEST_F(FileOperationTest, CopyDirectoryIntoItsOwnParentDoesNothing) {
  Make("parent/child/f.txt");
  EXPECT_TRUE(op_.Copy(Path("parent/child"), Path("parent")));
  EXPECT_TRUE(op_.Copy(Path("parent/child"), Path("parent/")));
  EXPECT_EQ(Tree("parent"), (Names{"child/", "child/f.txt"}));
}

TEST_F(FileOperationTest, CopyDispatchesByPathTypes) {
  Make("src/f.txt", "f");
  Make("src/s/g.txt", "g");
  MakeDir("dst");
  EXPECT_TRUE(op_.Copy(Path("src"), Path("dst")));  // the contents, not the directory
  EXPECT_EQ(Tree("dst"), (Names{"f.txt", "s/", "s/g.txt"}));
  EXPECT_TRUE(op_.Copy(Path("src/f.txt"), Path("dst/s")));
  EXPECT_EQ(testing::ReadFile(Path("dst/s/f.txt")), "f");
  EXPECT_TRUE(op_.Copy(Path("src/s/g.txt"), Path("dst/f.txt")));
  EXPECT_EQ(testing::ReadFile(Path("dst/f.txt")), "g");
  EXPECT_FALSE(op_.Copy(Path("src"), Path("dst/f.txt")));
  EXPECT_FALSE(op_.Copy(Path("missing"), Path("dst")));
  EXPECT_FALSE(op_.Copy(Path("src/f.txt"), Path("missing/f.txt")));
}

TEST_F(FileOperationTest, CopyIntoOwnSubdirectoryDoesNotChaseItself) {
  Make("src/f.txt");
  MakeDir("src/sub");
  EXPECT_TRUE(op_.CopyPath(Path("src"), Path("src/sub"), false));
  EXPECT_EQ(Tree("src/sub"), (Names{"f.txt"}));
}

TEST_F(FileOperationTest, CopyDirectoryHonoursRecursionDepth) {
  Make("src/f.txt");
  Make("src/s1/g.txt");
  Make("src/s1/s2/h.txt");
  const struct {
    int32_t depth;
    Names expected;
  } cases[] = {
      {-1, {"f.txt", "s1/", "s1/g.txt", "s1/s2/", "s1/s2/h.txt"}},
      {0, {"f.txt"}},
      {1, {"f.txt", "s1/", "s1/g.txt"}},
  };
  for (const auto& c : cases) {
    const std::string target = MakeDir("dst" + std::to_string(c.depth));
    CFileOperation op;
    op.set_recursion_depth(c.depth);
    op.CopyDirectory(Path("src/*.*"), target);
    EXPECT_EQ(Tree("dst" + std::to_string(c.depth)), c.expected) << "depth " << c.depth;
  }
}

TEST_F(FileOperationTest, CopyResetsRecursionDepth) {
  Make("src/f.txt");
  MakeDir("dst");
  op_.set_recursion_depth(0);
  EXPECT_TRUE(op_.Copy(Path("src"), Path("dst")));
  EXPECT_EQ(op_.recursion_depth(), -1);
}

TEST_F(FileOperationTest, CopyDirectoryWithWildcard) {
  for (const char* name : {"src/a.ddl", "src/b.mdd", "src/c.DDL"}) Make(name);
  MakeDir("dst");
  op_.CopyDirectory(Path("src/*.ddl"), Path("dst"));
  EXPECT_EQ(Tree("dst"), (Names{"a.ddl", "c.DDL"}));
}

TEST_F(FileOperationTest, DeletePathRemovesTreeButNotLinkedTargets) {
  Make("tree/a.txt");
  Make("tree/s/t/b.txt");
  fs::permissions(Path("tree/s/t/b.txt"), fs::perms::owner_read);
  Make("outside/keep.txt");
  fs::create_directory_symlink(Path("outside"), Path("tree/s/link"));
  EXPECT_TRUE(op_.Delete(Path("tree")));
  EXPECT_FALSE(Exists("tree"));
  EXPECT_TRUE(Exists("outside/keep.txt"));
  EXPECT_TRUE(op_.Delete(Path("tree")));  // already gone
}

TEST_F(FileOperationTest, DeleteSingleFile) {
  Make("f.txt");
  op_.DeletePath(Path("f.txt"));
  EXPECT_FALSE(Exists("f.txt"));
  EXPECT_EQ(op_.error_code(), 0);
}

}  // namespace
}  // namespace zarn
