// Name variants of one maker: the key that folds them, the user's table, and the one
// manufacturer level their GSD and IODD files land under, across imports, reloads
// and deletions. The makers are invented.
#include <map>
#include <set>

#include "catalog/manufacturer_names.h"
#include "maintenance/catalog_check.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

TEST(ManufacturerKeyTest, VariantsOfOneMakerShareTheKeyOthersDoNot) {
  for (const char* variant :
       {"Nordvik Sensor", "NORDVIK SENSOR", "NORDVIK SENSOR      ", "  nordvik   sensor", "Nordvik Sensor A/S",
        "Nordvik Sensor A/S - Process Division", "Nordvik Sensor GmbH & Co. KG", "Nordvik Sensor AG PA&D",
        "Nordvik Sensor, Inc.", "Nordvik Sensor,Inc.", "Nordvik Sensor S.p.A.", "Nordvik Sensor Corporation",
        "Nordvik Sensor - Process Division", "Nordvik Sensor A_S", "Nordvik-Sensor", "Nordvik Sensor und Co. KG"}) {
    EXPECT_EQ(ManufacturerKey(variant), "nordvik sensor") << variant;
  }
  // A word that is no legal form stays, a legal form in front is the name, and a
  // name of punctuation only keeps its text.
  EXPECT_EQ(ManufacturerKey("Nordvik Sensor Automation B.V."), "nordvik sensor automation");
  EXPECT_EQ(ManufacturerKey("AB Kvarn Systems Oy"), "ab kvarn systems");
  EXPECT_EQ(ManufacturerKey("Kvarn+Lund"), "kvarn lund");
  EXPECT_EQ(ManufacturerKey("- , -"), "- , -");
  EXPECT_NE(ManufacturerKey("Nordvik Sensorik"), ManufacturerKey("Nordvik Sensor"));

  EXPECT_EQ(ManufacturerLevelId(" Nordvik  Sensor A/S "), "Nordvik Sensor A_S");
  EXPECT_EQ(ManufacturerLevelId("Kvarn\\Lund"), "Kvarn_Lund");
  EXPECT_EQ(ManufacturerLevelId("../.."), "../..") << "no name: judged by the import as written";
}

TEST(ManufacturerNameTableTest, ExactThenByKeyAndMalformedLinesAreTraced) {
  testing::ScratchDir dir;
  const std::string file = dir.Join("manufacturer_names.cfg");
  ASSERT_TRUE(testing::WriteFile(file,
                                 "# comment = not an entry\n"
                                 "\n"
                                 "Fjordline Instruments = Nordvik Sensor A/S\n"
                                 "  KVARN   LUND = Kvarn Lund Oy \n"
                                 "no separator here\n"
                                 " = Empty Variant\n"));
  testing::TraceCapture trace;
  ManufacturerNameTable table;
  table.Load(file);
  EXPECT_EQ(table.NameOf("Fjordline Instruments"), "Nordvik Sensor A/S");
  EXPECT_EQ(table.NameOf("FJORDLINE INSTRUMENTS GmbH"), "Nordvik Sensor A/S") << "by key";
  EXPECT_EQ(table.NameOf("Kvarn Lund"), "Kvarn Lund Oy") << "blanks collapsed on both sides";
  EXPECT_EQ(table.NameOf("  Unknown   Maker "), "Unknown Maker");
  EXPECT_EQ(table.KeyOf("Fjordline Instruments"), "nordvik sensor");
  EXPECT_TRUE(trace.Contains(file + ":5:"));
  EXPECT_TRUE(trace.Contains(file + ":6:"));
  EXPECT_FALSE(trace.Contains(file + ":1:"));

  ManufacturerNameTable missing;
  missing.Load(dir.Join("absent.cfg"));
  EXPECT_TRUE(missing.empty());
}

// GSD and IODD files of invented makers, converted and imported as a user would.
class ManufacturerLevelTest : public ImportDriverTest {
 protected:
  void SetUp() override {
    ImportDriverTest::SetUp();
    LayOutCatalogData();
  }

  // A compact GSD station of `vendor` with ident number `ident` (4 hex digits).
  std::string Gsd(const std::string& dir, const std::string& vendor, const std::string& ident) {
    const std::string path = work_.Join(dir + "/NRDV" + ident + ".gsd");
    testing::WriteFile(path, "#Profibus_DP\nGSD_Revision = 3\nVendor_Name = \"" + vendor + "\"\nModel_Name = \"NV-" +
                                 ident +
                                 "\"\nRevision = \"V1.0\"\nRevision_Number = 1\n"
                                 "Ident_Number = 0x" +
                                 ident +
                                 "\nProtocol_Ident = 0\nStation_Type = 0\n"
                                 "Slave_Family = 12\nModular_Station = 0\n"
                                 "Module = \"Input\" 0x94\n1\nEndModule\n");
    return path;
  }
  // An IO-Link device of `vendor` with device id `device`.
  std::string Iodd(const std::string& dir, const std::string& vendor, const std::string& device) {
    const std::string path = work_.Join(dir + "/Nordvik-NS" + device + "-20260101-IODD1.1.xml");
    testing::WriteFile(path,
                       "<IODevice xmlns='http://www.io-link.com/IODD/2010/10'><ProfileBody>"
                       "<DeviceIdentity vendorId='77' deviceId='" +
                           device + "' vendorName='" + vendor +
                           "'>"
                           "<DeviceVariantCollection><DeviceVariant productId='NS-" +
                           device +
                           "'><Name textId='TN'/>"
                           "</DeviceVariant></DeviceVariantCollection></DeviceIdentity></ProfileBody>"
                           "<ExternalTextCollection><PrimaryLanguage xml:lang='en'><Text id='TN' value='Switch'/>"
                           "</PrimaryLanguage></ExternalTextCollection></IODevice>");
    return path;
  }

  // The manufacturer levels of the saved catalog: component path -> label.
  std::map<std::string, std::string> Levels() {
    std::map<std::string, std::string> levels;
    std::string error;
    std::unique_ptr<xml::Document> doc = xml::Document::LoadFile(Catalog().catalogFile(), &error);
    std::vector<Node> nodes;
    if (doc) xml::SelectNodes(doc->AsNode(), "//MANUFACTURER[@id]", &nodes, &error);
    for (Node n : nodes) {
      Node label = n.FirstChildElement("LABEL");
      std::string path;
      for (Node a = n; a && a.HasAttribute("id"); a = a.Parent()) path = "/" + a.Attribute("id").value_or("") + path;
      levels[path] = label ? label.Text() : "";
    }
    return levels;
  }

  const std::string kSensors = "/DEVICE/PROFIBUS_DP/SENSOR";
  const std::string level_ = kSensors + "/Nordvik Sensor A_S";
};

TEST_F(ManufacturerLevelTest, VariantsInOneImportShareTheLevelOfTheFirstName) {
  Gsd("one", "Nordvik Sensor A/S", "0B01");
  Gsd("one", "NORDVIK SENSOR      ", "0B02");
  Gsd("one", "Nordvik Sensor A/S - Process Division", "0B03");
  ASSERT_EQ(ImportConverted(work_.Join("one")), 3u);
  const std::map<std::string, std::string> expected = {{level_, "Nordvik Sensor A/S"}};
  EXPECT_EQ(Levels(), expected);
  for (const char* station : {"NRDV0B01", "NRDV0B02", "NRDV0B03"}) {
    EXPECT_EQ(Count("//MANUFACTURER[@id='Nordvik Sensor A_S']/COMPONENT[@id='" + std::string(station) + "']"), 1u)
        << station;
  }
  ExpectSound();
}

TEST_F(ManufacturerLevelTest, LaterImportsReloadsAndDeletesFindTheLevel) {
  Gsd("a", "Nordvik Sensor A/S", "0B01");
  ASSERT_EQ(ImportConverted(work_.Join("a")), 1u);
  Reopen();
  // The host is shown the level the variant will go to.
  const std::string variant = Gsd("b", "NORDVIK SENSOR", "0B02");
  ComponentXMLInfo* records = nullptr;
  ASSERT_EQ(ZARN_GetComponents(ToUtf16(variant).c_str(), &records, nullptr), 0u);
  std::string shown;
  for (const ComponentXMLInfo* r = records; r != nullptr; r = r->next) {
    for (const ComponentXMLLevel* l = r->hierarchy; l != nullptr && ToUtf8(r->id) == "NRDV0B02"; l = l->next) {
      if (ToUtf8(l->elementName) == "MANUFACTURER") shown = ToUtf8(l->value);
    }
  }
  ZARN_FreeComponentXMLInfo(records);
  EXPECT_EQ(shown, "Nordvik Sensor A_S");
  ASSERT_EQ(ImportConverted(work_.Join("b")), 1u);
  Reopen();
  Gsd("c", "Nordvik Sensor AG Process Division", "0B03");
  ASSERT_EQ(ImportConverted(work_.Join("c")), 1u);
  EXPECT_EQ(Levels().size(), 1u);
  EXPECT_EQ(Count("//MANUFACTURER[@id='Nordvik Sensor A_S']/COMPONENT"), 3u);
  // The variant's file imported again is present, its key answers under the level.
  EXPECT_EQ(ImportConverted(work_.Join("b")), 0u);
  std::string path;
  ASSERT_TRUE(Catalog().IndexLookup("0000/0B02/0001", &path));
  EXPECT_EQ(path, level_ + "/NRDV0B02");
  // An IO-Link device of the maker gets a level of the same name under its protocol.
  Iodd("d", "NORDVIK SENSOR", "11");
  ASSERT_EQ(ImportConverted(work_.Join("d")), 1u);
  EXPECT_EQ(Count("//PROTOCOL[@id!='PROFIBUS_DP']//MANUFACTURER[@id='Nordvik Sensor A_S']"), 1u);
  EXPECT_EQ(Levels().size(), 2u);
  ExpectSound();
  // A deletion names the station by its variant's path, and the level goes last.
  Reopen();
  ASSERT_EQ(DeleteComponent(level_ + "/NRDV0B02"), 0u);
  EXPECT_FALSE(Catalog().IndexLookup("0000/0B02/0001", &path));
  ASSERT_EQ(DeleteComponent(level_), 0u);
  EXPECT_EQ(Count("//COMPONENT[starts-with(@id, 'NRDV')]"), 0u);
  ExpectSound();
}

TEST_F(ManufacturerLevelTest, TheUserTableJoinsOtherNamesAndNamesNewLevels) {
  ASSERT_TRUE(testing::WriteFile(CatalogDir() + "/catalogData/manufacturer_names.cfg",
                                 "# two names of one maker\n"
                                 "Fjordline Instruments = Nordvik Sensor A/S\n"
                                 "KVARN = Kvarn Lund Oy\n"));
  ZARN_ResetCatalog();
  Gsd("a", "Nordvik Sensor", "0B01");
  Gsd("a", "Fjordline Instruments Ltd.", "0B02");
  Gsd("a", "KVARN", "0C01");
  ASSERT_EQ(ImportConverted(work_.Join("a")), 3u);
  // The first name made the level; the table sent the other maker's name there. A
  // new level takes the table's name.
  const std::map<std::string, std::string> expected = {{kSensors + "/Nordvik Sensor", "Nordvik Sensor"},
                                                       {kSensors + "/Kvarn Lund Oy", "Kvarn Lund Oy"}};
  EXPECT_EQ(Levels(), expected);
  EXPECT_EQ(Count("//MANUFACTURER[@id='Nordvik Sensor']/COMPONENT[@id='NRDV0B02']"), 1u);
  ExpectSound();
}

TEST_F(ManufacturerLevelTest, OneHandWrittenDocumentWithTwoVariantsFillsOneLevel) {
  const auto component = [](const std::string& id, const std::string& maker) {
    return "<COMPONENT id=\"" + id + "\"><PROTOCOL name=\"HART\"/><CLASSIFICATION name=\"SENSOR_PRESSURE\"/>" +
           "<MANUFACTURER_EXT name=\"" + maker + "\"/><COMPONENT_PATH name=\"" + id + "\"/></COMPONENT>";
  };
  // Named after a source, so that its identification gives the components their maker.
  const std::string xml = Component(
      "hand/dev.ddl_comp.xml", component("H1", "Kvarn Lund GmbH") + component("H2", "KVARN LUND"), Sources("hand_src"));
  ASSERT_EQ(Import(xml), 0u);
  const std::map<std::string, std::string> levels = Levels();
  ASSERT_EQ(levels.size(), 1u);
  EXPECT_EQ(levels.begin()->first, "/DEVICE/HART/SENSOR/PRESSURE/Kvarn Lund GmbH");
  EXPECT_EQ(Count("//MANUFACTURER[@id='Kvarn Lund GmbH']/COMPONENT"), 2u);
  ExpectSound();
}

// The makers' own files: every maker key has one level below each parent.
TEST_F(ManufacturerLevelTest, RealWorldMakersHaveOneLevelPerKey) {
  const std::string corpus = testing::SourceDir() + "/../shared/realworld/";
  if (!std::filesystem::is_directory(corpus + "gsd") || !std::filesystem::is_directory(corpus + "iodd")) {
    GTEST_SKIP() << corpus << " is not there";
  }
  ASSERT_GT(ImportConverted(corpus + "gsd"), 0u);
  ASSERT_GT(ImportConverted(corpus + "iodd"), 0u);
  // One level per key below each parent, and one name per key in the whole catalog.
  std::set<std::string> keys, names;
  std::map<std::string, std::set<std::string>> levels_by_key;
  for (const auto& [level, label] : Levels()) {
    const size_t at = level.rfind('/');
    const std::string key = ManufacturerKey(level.substr(at + 1));
    levels_by_key[level.substr(0, at) + " " + key].insert(level);
    keys.insert(key);
    names.insert(level.substr(at + 1));
  }
  for (const auto& [key, levels] : levels_by_key) EXPECT_EQ(levels.size(), 1u) << key;
  EXPECT_EQ(names.size(), keys.size());
  std::cout << "manufacturer levels: " << Levels().size() << ", names: " << names.size()
            << ", maker keys: " << keys.size() << "\n";
  ExpectSound();
}

}  // namespace
}  // namespace zarn
