// Import lists: component lines, list-file paths and format, selections, and the
// two exports on component XML files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/import_list.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

TEST(ComponentLineTest, AttributePairsComeInReverseOrder) {
  std::u16string names[] = {u"A", u"B", u"C"};
  std::u16string values[] = {u"a", u"b\"q", u"c"};
  ComponentXMLLevel levels[3] = {};
  for (int i = 0; i < 3; ++i) {
    levels[i].elementName = names[i].data();
    levels[i].value = values[i].data();
    levels[i].next = i < 2 ? &levels[i + 1] : nullptr;
  }
  std::u16string label = u"L;x";
  ComponentXMLInfo record = {};
  record.label = label.data();
  record.hierarchy = levels;
  EXPECT_EQ(ComponentLine(record), "C:\"c\",B:\"b\"q\",A:\"a\",Label:\"L;x\",Help:\"\"");
  record.hierarchy = nullptr;
  EXPECT_EQ(ComponentLine(record), ",Label:\"L;x\",Help:\"\"");
}

TEST(ImportListPathTest, DirectoryPartsJoinedByUnderscore) {
  const std::pair<const char*, const char*> cases[] = {
      {"/src/lib/dev.ddl", "/base/src_lib_dev.cat"},
      {"/src/./x/../dev.ddl", "/base/src_x_dev.cat"},
      {"dev.ddl", "/base/_dev.cat"},
      {"/src/lib", "/base/src_lib.cat"},
  };
  for (const auto& [source, expected] : cases) EXPECT_EQ(ImportListFilePath("/base", source), expected) << source;
}

TEST(SelectionTest, SplitsOutsideQuotesOnly) {
  using Lines = std::vector<std::string>;
  const std::pair<const char*, Lines> cases[] = {
      {"a;b", {"a", "b"}},
      {"A:\"x;y\",Label:\"l\";b", {"A:\"x;y\",Label:\"l\"", "b"}},
      {"A:\"x\\\";y\";b", {"A:\"x\\\";y\"", "b"}},
      {";;a;", {"a"}},
      {"", {}},
  };
  for (const auto& [selection, lines] : cases) EXPECT_EQ(SplitSelection(selection), lines) << selection;
}

TEST(ListFileTest, RoundTripOfAwkwardTexts) {
  const ImportListMap map = {{"A:\"x;y\",Label:\"é\\\"\",Help:\"line\nnext\ttab\"", "/p/ä b\\c.xml"},
                             {std::string("nul\x01\x7f") + "\r", ""}};
  ImportListMap back;
  ASSERT_TRUE(ParseImportList(SerializeImportList(map), &back));
  EXPECT_EQ(back, map);
  const std::string text = SerializeImportList(map);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 4);
}

TEST(ListFileTest, DamageIsDetected) {
  const std::string good = SerializeImportList({{"a", "/f.xml"}, {"b", "/g.xml"}});
  std::vector<std::string> damaged = {"",
                                      "zarn-import-list 1\n",
                                      "garbage\n",
                                      good + "x",
                                      good + "a\tb\n",
                                      "zarn-import-list 1\na\\q\t/f\nend 1\n",
                                      "zarn-import-list 1\na/f\nend 1\n",
                                      "zarn-import-list 1\na\t/f\nend 2\n",
                                      "zarn-import-list 1\na\t/f\nend x\n",
                                      "zarn-import-list 1\na\t/f\\x4\nend 1\n",
                                      "zarn-import-list 1\na\t/f\na\t/g\nend 2\n"};
  for (size_t cut = 1; cut < good.size(); ++cut) damaged.push_back(good.substr(0, cut));
  ImportListMap map;
  for (const std::string& text : damaged) EXPECT_FALSE(ParseImportList(text, &map)) << text;
}

class ImportListTest : public ImportDriverTest {
 protected:
  void SetUp() override {
    ImportDriverTest::SetUp();
    src_ = Sources("l_src");
    file_ = Component("l/dev.ddl_comp.xml", Device("Lst"), src_);
  }
  uint32_t List(const std::string& source) {
    VARIANT v;
    VariantInit(&v);
    const uint32_t rc = ZARN_GetImportComponentList(ToUtf16(source).c_str(), &v);
    lines_ = SplitSelection(VariantString(v));
    text_ = VariantString(v);
    VariantClear(&v);
    return rc;
  }
  uint32_t ImportLines(const std::string& source, const std::string& selection) {
    VARIANT v;
    VariantInit(&v);
    if (!selection.empty()) SetVariantString(&v, selection);
    const uint32_t rc = ZARN_ImportComponentList(ToUtf16(source).c_str(), v);
    VariantClear(&v);
    return rc;
  }
  // The line of the component (its label).
  std::string ComponentLineOf(const std::string& id) {
    for (const std::string& line : lines_) {
      if (line.find("Label:\"" + id + " label\"") != std::string::npos) return line;
    }
    return "<none>";
  }
  std::string ListFile(const std::string& source) { return ImportListFilePath(Catalog().baseDirectory(), source); }

  std::string src_;
  std::string file_;
  std::string text_;
  std::vector<std::string> lines_;
};

TEST_F(ImportListTest, SelectedLineIsImportedOnce) {
  ASSERT_EQ(List(file_), 0u);
  EXPECT_NE(text_.front(), ';');
  EXPECT_NE(text_.back(), ';');
  const std::string line = ComponentLineOf("Lst");
  ASSERT_NE(line, "<none>") << text_;
  ASSERT_EQ(ImportLines(file_, line + ";" + line), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='Lst']"), 1u);
}

TEST_F(ImportListTest, UnknownLinesAreSkipped) {
  ASSERT_EQ(List(file_), 0u);
  EXPECT_EQ(ImportLines(file_, "X:\"nothing;here\"," + ComponentLineOf("Lst")), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='Lst']"), 0u);
  testing::TraceCapture trace;
  EXPECT_EQ(ImportLines(file_, "unknown;" + ComponentLineOf("Lst")), 0u);
  EXPECT_TRUE(trace.Contains("could not import unknown; no import files found"));
  EXPECT_EQ(Count("//COMPONENT[@id='Lst']"), 1u);
}

TEST_F(ImportListTest, ListOfAnEndedProcessConvertsTheSourceAgain) {
  ASSERT_EQ(List(file_), 0u);
  ImportListMap map;
  ASSERT_TRUE(ReadImportList(ListFile(file_), &map));
  for (auto& [line, file] : map) file = work_.Join("ended_process/dev.ddl_comp.xml");
  ASSERT_TRUE(WriteImportList(ListFile(file_), map));
  ASSERT_EQ(ImportLines(file_, ComponentLineOf("Lst")), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='Lst']"), 1u);
  ASSERT_TRUE(ReadImportList(ListFile(file_), &map));
  EXPECT_EQ(map[ComponentLineOf("Lst")], file_) << "the list names the fresh conversion";
}

TEST_F(ImportListTest, MissingOrDamagedListFile) {
  EXPECT_EQ(ImportLines(file_, "a"), ZARN_E_LIST_FILE);
  ASSERT_EQ(List(file_), 0u);
  const std::string good = testing::ReadFile(ListFile(file_));
  for (const std::string& bad : {good.substr(0, good.size() / 2), std::string("\x00\xff garbage", 10)}) {
    ASSERT_TRUE(testing::WriteFile(ListFile(file_), bad));
    EXPECT_EQ(ImportLines(file_, ComponentLineOf("Lst")), ZARN_E_LIST_FILE);
  }
  EXPECT_EQ(Count("//COMPONENT[@id='Lst']"), 0u);
}

TEST_F(ImportListTest, EmptySelectionImportsTheSource) {
  EXPECT_EQ(ImportLines(file_, ""), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='Lst']"), 1u);
  EXPECT_EQ(ImportLines(work_.Join("missing"), ""), ZARN_E_NO_RECORDS);
}

}  // namespace
}  // namespace zarn
