// The progress `zarn-catalog import` shows: its figures, the shortened source name,
// and what the line and plain styles write as sources are listed and go through.
#include "cli/import_progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zarn::cli {
namespace {

TEST(ImportProgressFormatTest, RateTimeLeftAndElapsed) {
  EXPECT_EQ(FormatRate(0, 3.0), "") << "nothing done yet: no rate";
  EXPECT_EQ(FormatRate(5, 0.0), "");
  EXPECT_EQ(FormatRate(120, 2.912), "41.2/s");
  EXPECT_EQ(FormatRate(1400, 4.0), "350/s");
  EXPECT_EQ(FormatRate(1, 20.0), "0.1/s");

  EXPECT_EQ(FormatTimeLeft(120, 3000, 2.91), "about 70 s left");  // 2880 more at 41.2/s
  EXPECT_EQ(FormatTimeLeft(10, 100, 20.0), "about 3 min left");   // 180 s
  EXPECT_EQ(FormatTimeLeft(10, 100, 21.0), "about 4 min left") << "minutes round up";
  EXPECT_EQ(FormatTimeLeft(1, 100, 40.0), "about 1 h 6 min left");
  EXPECT_EQ(FormatTimeLeft(0, 100, 5.0), "") << "no rate yet";
  EXPECT_EQ(FormatTimeLeft(100, 100, 5.0), "") << "nothing left";

  EXPECT_EQ(FormatElapsed(0.04), "0.0 s");
  EXPECT_EQ(FormatElapsed(12.34), "12.3 s");
  EXPECT_EQ(FormatElapsed(250.9), "4 min 10 s");
  EXPECT_EQ(FormatElapsed(3900), "1 h 5 min");
}

TEST(ImportProgressFormatTest, NamesAreShortenedFromTheStart) {
  EXPECT_EQ(ShortenName("hart/radar.ddl", 20), "hart/radar.ddl");
  EXPECT_EQ(ShortenName("hart/quellmark/radar_level_lr80.ddl", 20), "...ar_level_lr80.ddl");
  EXPECT_EQ(ShortenName("abcdef", 3), "...");
  EXPECT_EQ(ShortenName("abcdef", 0), "");
  // Columns are code points: a two-byte letter is one column and is never cut in half.
  EXPECT_EQ(ShortenName("Dr\xC3\xBC"
                        "ck.gsd",
                        9),
            "Dr\xC3\xBC"
            "ck.gsd");
  EXPECT_EQ(ShortenName("x/\xC3\xBC\xC3\xBC\xC3\xBC.gsd", 8), "...\xC3\xBC.gsd");
}

TEST(ImportProgressFormatTest, LinesFitTheTerminal) {
  const std::string name = "profibus_pa/tarvona/" + std::string(120, 'x') + ".ddl";
  for (const int columns : {60, 80, 132}) {
    const std::string line = StatusLine(120, 3000, 2.91, name, columns);
    EXPECT_EQ(line.size(), static_cast<size_t>(columns - 1)) << line;
    EXPECT_EQ(line.rfind("[120/3000] 41.2/s, about 70 s left  ...", 0), 0u) << line;
    EXPECT_EQ(line.substr(line.size() - 8), "xxxx.ddl");
  }
  EXPECT_EQ(StatusLine(0, 1, 0.0, "radar.ddl", 80), "[0/1]  radar.ddl");
  EXPECT_EQ(StatusLine(120, 3000, 2.91, name, 20), "[120/3000] 41.2/s, ") << "too narrow for a name";
  EXPECT_EQ(StatusLine(5, 3, 1.0, "", 80), "[5/5] 5.0/s") << "the total is never below the count";

  EXPECT_EQ(PlainLine(120, 3000, 2.91), "progress: 120/3000 sources (41.2/s, about 70 s left)");
  EXPECT_EQ(PlainLine(0, 3000, 0.0), "progress: 0/3000 sources");
}

class ImportProgressTest : public ::testing::Test {
 protected:
  ImportProgress Make(ProgressStyle style) {
    return ImportProgress(
        style, 60, "/lib/devices/", [this](const std::string& text) { written_.push_back(text); },
        [this] { return now_; });
  }
  std::string Last() const { return written_.empty() ? std::string() : written_.back(); }

  double now_ = 100.0;
  std::vector<std::string> written_;
};

TEST_F(ImportProgressTest, ListingsAreReplacedByTheirSources) {
  ImportProgress progress = Make(ProgressStyle::kLine);
  {
    ImportStep root(progress, "/lib/devices");
    EXPECT_EQ(Last(), "\r\033[K[0/1]  devices");
    root.Lists(3, false);  // hart/, gsd.devices and empty/
    {
      ImportStep hart(progress, "/lib/devices/hart");
      hart.Lists(3, false);
      for (const char* source : {"a.ddl", "b.ddl", "c.ddl"}) {
        now_ += 1.0;
        ImportStep step(progress, std::string("/lib/devices/hart/") + source);
      }
      EXPECT_EQ(Last(), "\r\033[K[3/5] 1.0/s, about 2 s left  hart/c.ddl");
    }
    {
      // A list that converts into components of its own and names further files.
      ImportStep list(progress, "/lib/devices/gsd.devices");
      list.Lists(1, true);
      ImportStep station(progress, "/lib/devices/QLMK80F3.gsd");
      now_ += 2.0;
    }
    ImportStep empty(progress, "/lib/devices/empty");
    empty.NotASource();
    empty.NotASource();  // counted away once only
  }
  EXPECT_EQ(Last(), "\r\033[K[5/6] 1.0/s, about 1 s left  empty");
  progress.Working("/elsewhere/x.ddl");
  EXPECT_EQ(Last(), "\r\033[K[5/5] 1.0/s  /elsewhere/x.ddl") << "the listings are counted away";
  EXPECT_EQ(progress.Summary(), "5 sources in 5.0 s");

  written_.clear();
  progress.Clear();
  progress.Clear();
  EXPECT_EQ(written_, std::vector<std::string>{"\r\033[K"}) << "a cleared line is not cleared again";
}

TEST_F(ImportProgressTest, PlainLinesNowAndThen) {
  ImportProgress progress = Make(ProgressStyle::kPlain);
  progress.Expect(999);  // 1000 sources
  for (int i = 0; i < 250; ++i) {
    now_ += 1.0 / 128;
    ImportStep step(progress, "/lib/devices/x.gsd");
  }
  EXPECT_EQ(written_, (std::vector<std::string>{"progress: 100/1000 sources (128/s, about 8 s left)\n",
                                                "progress: 200/1000 sources (128/s, about 7 s left)\n"}))
      << "every hundred sources, without escapes";
  written_.clear();
  now_ += ImportProgress::kPlainSeconds;  // a slow source
  { ImportStep step(progress, "/lib/devices/slow.ddl"); }
  { ImportStep step(progress, "/lib/devices/next.ddl"); }
  ASSERT_EQ(written_.size(), 1u) << "after a while even without a hundred more";
  EXPECT_EQ(written_[0].rfind("progress: 251/1000 sources (", 0), 0u) << written_[0];

  written_.clear();
  ImportProgress last = Make(ProgressStyle::kPlain);
  now_ += 60;
  { ImportStep step(last, "/lib/devices/one.ddl"); }
  EXPECT_TRUE(written_.empty()) << "the last source leaves the figures to the summary";

  ImportProgress none = Make(ProgressStyle::kNone);
  { ImportStep step(none, "/lib/devices/one.ddl"); }
  none.Clear();
  EXPECT_TRUE(written_.empty());
  EXPECT_EQ(none.Summary(), "1 source in 0.0 s");
}

}  // namespace
}  // namespace zarn::cli
