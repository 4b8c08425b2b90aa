// The published GSD files imported through the command-line host: every modular
// station offers its modules through its relation, each module with the slots it
// may occupy. What the files hold is counted from their text here, not by the
// converter.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/strings.h"
#include "tests/realworld/corpus_cli_fixture.h"
#include "tests/support/test_support.h"

namespace zarn {
namespace {

namespace fs = std::filesystem;

// What a GSD file says about its station, read from the lines as written.
struct GsdText {
  bool modular = false;
  int modules = 0;     // Module = ... lines
  std::string vendor;  // Vendor_Name, unquoted, trimmed, in capitals
  std::string ident;   // Ident_Number as written, in capitals
};

// The keyword of a line and its value, comments and blanks aside; "" when the line has no "=".
std::string KeywordOf(const std::string& line, std::string* value) {
  const std::string text = Trim(line.substr(0, line.find(';')));
  const size_t eq = text.find('=');
  if (eq == std::string::npos) return std::string();
  *value = Trim(text.substr(eq + 1));
  return ToLower(Trim(text.substr(0, eq)));
}

GsdText ReadGsdText(const std::string& path) {
  GsdText out;
  std::istringstream in(testing::ReadFile(path));
  for (std::string line; std::getline(in, line);) {
    std::string value;
    const std::string keyword = KeywordOf(line, &value);
    if (keyword == "modular_station") out.modular = value == "1";
    if (keyword == "module") ++out.modules;
    if (keyword == "vendor_name") out.vendor = ToUpper(Trim(TrimChars(value, "\"")));
    if (keyword == "ident_number") out.ident = ToUpper(value);
  }
  return out;
}

// One module as `zarn-catalog relations` prints it.
struct Offered {
  std::string path;
  std::vector<std::string> ranges;  // "SLOT MIN_VALUE=1 MAX_VALUE=8 ..."
};

struct Relation {
  int relations = 0;  // relation lines
  int maximum = -1;
  std::string addressing;
  std::vector<Offered> modules;
};

Relation ParseRelations(const std::string& text) {
  Relation r;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("relation ", 0) == 0) {
      ++r.relations;
      const size_t max = line.find("  max ");
      if (max != std::string::npos) r.maximum = std::atoi(line.c_str() + max + 6);
      const size_t addressing = line.find("addressing \"");
      if (addressing != std::string::npos) r.addressing = line.substr(addressing + 12, line.size() - addressing - 13);
    } else if (line.rfind("  component ", 0) == 0) {
      r.modules.push_back({line.substr(12, line.find("  id ") - 12), {}});
    } else if (line.rfind("    range ", 0) == 0 && !r.modules.empty()) {
      r.modules.back().ranges.push_back(line.substr(10));
    }
  }
  return r;
}

// The number after "NAME=" in a range line, -1 when it is not there.
int Bound(const std::string& range, const std::string& name) {
  const size_t at = range.find(" " + name + "=");
  return at == std::string::npos ? -1 : std::atoi(range.c_str() + at + name.size() + 2);
}

class RealWorldGsdTest : public CorpusCliTest {
 protected:
  // The station files of the corpus by their stem: .gsd files and the language
  // files that stand alone.
  std::map<std::string, std::string> StationFiles() const {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(Corpus("gsd"))) {
      const std::string ext = ToLower(entry.path().extension().string());
      if (ext.size() != 4 || ext.rfind(".gs", 0) != 0) continue;
      const std::string stem = entry.path().stem().string();
      if (ext == ".gsd" || files.count(stem) == 0) files[stem] = entry.path().string();
    }
    return files;
  }
};

TEST_F(RealWorldGsdTest, ModularStationsOfferTheirModulesWithSlotBounds) {
  ASSERT_EQ(Run("import", Corpus("gsd")), 0) << output_;
  std::map<std::string, std::string> imported;  // last path segment -> path
  std::set<std::string> present;                // files reported as already present
  std::istringstream in(output_);
  for (std::string line; std::getline(in, line);) {
    if (line.rfind("imported /", 0) == 0) imported[line.substr(line.rfind('/') + 1)] = line.substr(9);
    if (line.rfind("already present: ", 0) == 0) present.insert(line.substr(17));
  }
  // A station file of a maker and ident number that another file brought in is that
  // station: it is reported present, not filed a second time.
  std::map<std::string, int> imported_idents;  // vendor/ident -> stations imported
  for (const auto& [stem, file] : StationFiles()) {
    const GsdText gsd = ReadGsdText(file);
    if (imported.count(stem) != 0) ++imported_idents[gsd.vendor + "/" + gsd.ident];
  }
  int stations = 0, modules = 0, ranges = 0, same_station = 0;
  for (const auto& [stem, file] : StationFiles()) {
    const GsdText gsd = ReadGsdText(file);
    const int of_ident = imported_idents[gsd.vendor + "/" + gsd.ident];
    EXPECT_EQ(of_ident, 1) << file << ": one station per maker and ident number";
    if (imported.count(stem) == 0 && of_ident == 1 && present.count(file) == 1) {
      ++same_station;
      continue;
    }
    ASSERT_EQ(imported.count(stem), 1u) << file << " was not imported";
    const std::string station = imported[stem];
    const int rc = Run("relations child", station);
    if (!gsd.modular || gsd.modules == 0) {
      EXPECT_NE(rc, 0) << file << ": a compact station offers no modules: " << output_;
      continue;
    }
    ASSERT_EQ(rc, 0) << file;
    const Relation r = ParseRelations(output_);
    ++stations;
    EXPECT_EQ(r.relations, 1) << file;
    EXPECT_EQ(r.addressing, "SLOT") << file;
    EXPECT_EQ(static_cast<int>(r.modules.size()), gsd.modules) << file;
    for (const Offered& m : r.modules) {
      ++modules;
      EXPECT_EQ(m.path.rfind(station + "/", 0), 0u) << m.path << " is not below its station";
      ASSERT_EQ(m.ranges.size(), 1u) << m.path;
      ++ranges;
      const int first = Bound(m.ranges[0], "MIN_VALUE");
      const int last = Bound(m.ranges[0], "MAX_VALUE");
      EXPECT_EQ(m.ranges[0].rfind("SLOT ", 0), 0u) << m.ranges[0];
      EXPECT_GE(first, 0) << m.path;
      EXPECT_LE(first, last) << m.path;
      EXPECT_LE(last - first + 1, r.maximum) << m.path << ": more slots than the station has";
    }
  }
  RecordProperty("modular_stations", stations);
  RecordProperty("modules_offered", modules);
  RecordProperty("slot_ranges", ranges);
  RecordProperty("present_as_the_same_station", same_station);
  EXPECT_GT(stations, 0);
  ASSERT_EQ(Run("check", ""), 0) << output_;
}

// Two files of one station (ident 0x806A): the GSD revision 1 file filed under the
// family TdF/ET200S, the revision 2 file under ET200S, with other file names.
TEST_F(RealWorldGsdTest, ANewerFileOfAStationReplacesTheOlderOneWhereverItIsFiled) {
  const std::string older = Corpus("gsd/proview/siemens_et200s_im151.gsd");
  const std::string newer = Corpus("gsd/proview/si02806a.gse");
  ASSERT_EQ(Run("import", older), 0) << output_;
  ASSERT_EQ(Run("import", older), 0) << output_;
  EXPECT_NE(output_.find("already present: " + older), std::string::npos) << output_;
  ASSERT_EQ(Run("exists", newer), 0) << output_;
  EXPECT_NE(output_.find("catalog 0x0001, file 0x0002"), std::string::npos) << output_;
  ASSERT_EQ(Run("import", newer), 0) << output_;
  EXPECT_NE(output_.find("replaced (newer revision) /DEVICE/PROFIBUS_DP/REMOTEIO/SIEMENS/ET200S/si02806a\n"),
            std::string::npos)
      << output_;
  ASSERT_EQ(Run("import", older), 0) << output_;
  EXPECT_NE(output_.find("already present: " + older), std::string::npos) << output_;
  ASSERT_EQ(Run("tree", ""), 0);
  EXPECT_EQ(output_.find("siemens_et200s_im151"), std::string::npos) << output_;
  EXPECT_NE(output_.find("[si02806a]"), std::string::npos) << output_;
  ASSERT_EQ(Run("check", ""), 0) << output_;
}

}  // namespace
}  // namespace zarn
