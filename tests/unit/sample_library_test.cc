// The device descriptions of examples/devices, converted by the compiler and the
// stylesheet and imported one by one into a fresh catalog: the tree they build, the
// identification index, the file area, and importing them again.
#include <map>

#include "external/compiler_library.h"
#include "maintenance/catalog_check.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

struct Sample {
  const char* source;  // below examples/devices
  const char* path;    // component path of its component
  const char* key;     // identification key, "" when the test does not look it up
};

const Sample kSamples[] = {
    {"ff/quellmark/analyzer_ph7.ddl", "/DEVICE/FF/SENSOR/ANALYTIC/LIQUID/Quellmark Sensorik/Analytics/ph7", ""},
    {"ff/zentrifex/coriolis_cfm900_ff.ddl", "/DEVICE/FF/SENSOR/FLOW/CORIOLIS/Zentrifex Messtechnik/Flow/cfm900_ff", ""},
    {"hart/quellmark/temperature_tt420.ddl",
     "/DEVICE/HART/SENSOR/TEMPERATURE/Quellmark Sensorik/Temperature/Head transmitters/tt420", "00F3/F342/0005"},
    {"hart/quellmark/radar_level_lr80.ddl",
     "/DEVICE/HART/SENSOR/LEVEL/ECHO/Quellmark Sensorik/Level/quellmark_level_folder/lr80", ""},
    {"hart/tarvona/positioner_vp25.ddl", "/DEVICE/HART/ACTUATOR/ELECTRO_PNEUMATIC/Tarvona Controls/Positioners/vp25",
     ""},
    {"hart/zentrifex/coriolis_cfm900.ddl",
     "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex Messtechnik/Flow/zentrifex_coriolis_folder/cfm900",
     "00F1/F1A5/0003"},  // its device type is given by name
    {"hart/zentrifex/magflow_emf300.ddl", "/DEVICE/HART/SENSOR/FLOW/ELECTRO_MAGNETIC/Zentrifex Messtechnik/Flow/emf300",
     "00F1/F1B2/0002"},
    {"profibus_dp/brennvik/modules/ai4_module.mdd",
     "/DEVICE/PROFIBUS_DP/REMOTEIO/Brennvik Automation/RIO/Modules/ai4_module", ""},
    {"profibus_dp/brennvik/modules/do8_module.mdd",
     "/DEVICE/PROFIBUS_DP/DISCRETE_OUT/Brennvik Automation/RIO/Modules/do8_module", ""},
    {"profibus_dp/brennvik/remote_io_rio8.ddl",
     "/DEVICE/PROFIBUS_DP/REMOTEIO/Brennvik Automation/RIO/brennvik_station_folder/rio8", ""},
    {"profibus_pa/halvora/pressure_pd600.ddl", "/DEVICE/PROFIBUS_PA/SENSOR/PRESSURE/Halvora Instruments/Pressure/pd600",
     ""},
    {"profibus_pa/halvora/pressure_pd610.ddl",
     "/DEVICE/PROFIBUS_PA/SENSOR/PRESSURE/Halvora Instruments/Pressure/Differential/pd610", ""},
    {"profibus_pa/tarvona/actuator_ea40.ddl", "/DEVICE/PROFIBUS_PA/ACTUATOR/ELECTRIC/Tarvona Controls/Actuators/ea40",
     ""},
};

class SampleLibraryTest : public ImportDriverTest {
 protected:
  void SetUp() override {
    ImportDriverTest::SetUp();
    if (!CompilerLibrary::Instance().available()) GTEST_SKIP() << "the compiler library is not built";
    LayOutCatalogData();
  }

  // The component XML of one sample, converted by ZARN_GetComponents.
  std::string Convert(const std::string& source) {
    ComponentXMLInfo* list = nullptr;
    const std::string path = source[0] == '/' ? source : testing::SourceDir() + "/examples/devices/" + source;
    const uint32_t rc = ZARN_GetComponents(ToUtf16(path).c_str(), &list, nullptr);
    EXPECT_EQ(rc, 0u) << source;
    const std::string xml = list != nullptr ? ToUtf8(list->componentXmlPath) : std::string();
    ZARN_FreeComponentXMLInfo(list);
    return xml;
  }

  Node ElementAt(const std::string& path) {
    std::vector<Node> nodes;
    Catalog().getSubElementsByXPath("//COMPONENT", &nodes);
    for (Node n : nodes) {
      if (Catalog().ComponentPathOf(n) == path) return n;
    }
    return Node();
  }
};

TEST_F(SampleLibraryTest, EverySampleBuildsItsLevelsFoldersAndComponent) {
  for (const Sample& s : kSamples) {
    const std::string xml = Convert(s.source);
    ASSERT_FALSE(xml.empty()) << s.source;
    ASSERT_EQ(Import(xml), 0u) << s.source;
    EXPECT_NE(log_paths_, nullptr) << s.source;
  }
  for (const Sample& s : kSamples) {
    Node component = ElementAt(s.path);
    ASSERT_TRUE(component) << s.path;
    const std::string fs_path = component.Attribute("fsPath").value_or("");
    const std::string source_name = std::filesystem::path(s.source).filename().string();
    EXPECT_TRUE(std::filesystem::exists(CatalogDir() + DocumentPathToNative(fs_path) + "/" + source_name))
        << "the source is copied to the component's file area: " << fs_path;
    EXPECT_EQ(component.Attribute("virtual"), std::nullopt) << s.path;
  }
  for (const std::string level : {"/DEVICE", "/DEVICE/HART", "/DEVICE/PROFIBUS_PA/SENSOR"}) {
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(CatalogDir() + level, ec)) {
      EXPECT_TRUE(entry.is_directory()) << "a catalog level holds no files: " << entry.path();
    }
  }
  // Levels: one section, the protocols, classification chains, manufacturers once each.
  EXPECT_EQ(Count("//section"), 1u) << "each import finds the section the first one made";
  EXPECT_EQ(Count("/ZARN_CATALOG/section[@id='DEVICE']/PROTOCOL"), 4u);
  EXPECT_EQ(Count("//PROTOCOL[@id='FF']/CLASSIFICATION[@id='SENSOR']/CLASSIFICATION[@id='ANALYTIC']/"
                  "CLASSIFICATION[@id='LIQUID']/MANUFACTURER[@id='Quellmark Sensorik']"),
            1u);
  EXPECT_EQ(Count("//CLASSIFICATION[@id='FLOW']/CLASSIFICATION[@id='CORIOLIS']/MANUFACTURER"), 2u)
      << "one per protocol, HART and FF";
  EXPECT_EQ(Count("//MANUFACTURER[@id='Quellmark Sensorik']"), 3u) << "temperature, level, analytic";
  EXPECT_EQ(Count("//COMPONENT_FOLDER[starts-with(@id, 'SECTION.') or starts-with(@id, 'PROTOCOL.') or "
                  "starts-with(@id, 'CLASSIFICATION.') or starts-with(@id, 'MANUFACTURER.')]"),
            0u)
      << "level objects become levels, never folders";
  EXPECT_EQ(Count("//PROTOCOL/*[self::MANUFACTURER or self::DEVICE_TYPE][not(@id)]"), 0u)
      << "the device's identification stays off the levels";
  // The import's working marks are gone; every component and folder keeps its id.
  EXPECT_EQ(Count("//@idTmp"), 0u);
  EXPECT_EQ(Count("//*[@isArtificial]"), 0u);
  EXPECT_EQ(Count("//COMPONENT[count(componentID) != 1]"), 0u);
  EXPECT_EQ(Count("//COMPONENT_FOLDER[count(componentID) != 1]"), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='tt420']/MANUFACTURER"), 1u);
  EXPECT_EQ(Count("//COMPONENT[@id='tt420'][MANUFACTURER='0x00f3'][DEVICE_TYPE='0xf342']"), 1u)
      << "the identification elements reach the catalog";
}

TEST_F(SampleLibraryTest, IdentificationIndexFindsImportedSamples) {
  for (const Sample& s : kSamples) {
    if (*s.key == '\0') continue;
    ASSERT_EQ(Import(Convert(s.source)), 0u);
    std::string path;
    ASSERT_TRUE(Catalog().IndexLookup(s.key, &path)) << s.key;
    EXPECT_EQ(path, s.path);
    ZARN_ResetCatalog();
    ASSERT_TRUE(Catalog().IndexLookup(s.key, &path)) << "the index is rebuilt from the saved catalog";
    EXPECT_EQ(path, s.path);
  }
}

// True when the element at `path` carries the identification `key` itself or as a
// further identity.
bool CarriesKey(CCatalog_Contents& catalog, const std::string& path, const std::string& key) {
  const Node element = catalog.FindByComponentPath(path);
  if (!element) return false;
  const auto key_of = [](Node n) {
    const auto text = [&](const char* name) {
      const Node child = n.FirstChildElement(name);
      return child ? child.Text() : std::string();
    };
    return CCatalog_Contents::IndexKey(text("MANUFACTURER"), text("DEVICE_TYPE"), text("DEVICE_REVISION"));
  };
  if (key_of(element) == key) return true;
  for (Node child : element.ChildElements()) {
    if (child.Name() == "additionalIdentification" && key_of(child) == key) return true;
  }
  return false;
}

TEST_F(SampleLibraryTest, EveryIdentityAnswersWithAnElementThatCarriesIt) {
  for (const Sample& s : kSamples) ASSERT_EQ(Import(Convert(s.source)), 0u) << s.source;
  EXPECT_EQ(Count("//additionalIdentification[not(parent::COMPONENT or parent::COMPONENT_FOLDER)]"), 0u)
      << "identities hang on what they identify, never on a level";
  std::vector<std::string> keys;
  for (const Sample& s : kSamples) {
    const Node component = Catalog().FindByComponentPath(s.path);
    ASSERT_TRUE(component) << s.path;
    const auto text = [&](const char* name) { return component.FirstChildElement(name).Text(); };
    const std::string key =
        CCatalog_Contents::IndexKey(text("MANUFACTURER"), text("DEVICE_TYPE"), text("DEVICE_REVISION"));
    EXPECT_EQ(key.find("/0000/"), std::string::npos) << s.source << ": " << key;
    keys.push_back(key);
  }
  for (const char* when : {"after the imports", "after a reload"}) {
    for (size_t i = 0; i < keys.size(); ++i) {
      std::string path;
      ASSERT_TRUE(Catalog().IndexLookup(keys[i], &path)) << keys[i] << " " << when;
      EXPECT_TRUE(CarriesKey(Catalog(), path, keys[i])) << keys[i] << " answers " << path << " " << when;
      EXPECT_TRUE(path == kSamples[i].path || std::string(kSamples[i].path).rfind(path + "/", 0) == 0)
          << keys[i] << " answers " << path << ", not the sample or its folder, " << when;
    }
    ZARN_ResetCatalog();
  }
}

// A directory holding two revisions of one device and another device: the older
// revision becomes a further identity of the device; the other device lends it none.
TEST_F(SampleLibraryTest, FurtherIdentitiesComeFromOtherRevisionsOfTheSameDevice) {
  namespace fs = std::filesystem;
  const std::string examples = testing::SourceDir() + "/examples/devices/";
  const std::string dir = work_.Join("zentrifex_sources");
  fs::create_directories(dir);
  for (const char* file : {"hart/zentrifex/magflow_emf300.ddl", "hart/zentrifex/coriolis_cfm900.ddl",
                           "_global/zarn_std_macros.h", "_global/zarn_std_variables.h"}) {
    fs::copy_file(examples + file, dir + "/" + fs::path(file).filename().string());
  }
  std::string older = testing::ReadFile(dir + "/magflow_emf300.ddl");
  older.replace(older.find("DEVICE_REVISION 2"), 17, "DEVICE_REVISION 1");
  testing::WriteFile(dir + "/magflow_emf300_r1.ddl", older);

  ASSERT_EQ(Import(Convert(dir + "/magflow_emf300.ddl")), 0u);
  const std::string emf300 = "/DEVICE/HART/SENSOR/FLOW/ELECTRO_MAGNETIC/Zentrifex Messtechnik/Flow/emf300";
  EXPECT_EQ(Count("//COMPONENT[@id='emf300']/additionalIdentification[DEVICE_REVISION='0x0001']"), 1u);
  EXPECT_EQ(Count("//additionalIdentification[DEVICE_TYPE!='0xf1b2']"), 0u) << "the CFM 900 is another device";
  for (int reload = 0; reload < 2; ++reload) {
    std::string path;
    ASSERT_TRUE(Catalog().IndexLookup("00F1/F1B2/0001", &path));
    EXPECT_EQ(path, emf300);
    EXPECT_FALSE(Catalog().IndexLookup("00F1/F1A5/0003", &path)) << path;
    ZARN_ResetCatalog();
  }
}

// Converters' components (a GSD station, the variants of an IODD) carry their own
// maker, device type and revisions: their keys answer, and importing them again
// finds them present and changes nothing.
TEST_F(SampleLibraryTest, GsdAndIoddComponentsAreIdentifiedByTheirOwnNumbers) {
  const std::string gsd = Convert("gsd/QLMK80F3.gsd");
  ASSERT_EQ(Import(gsd), 0u);
  ASSERT_EQ(Import(Convert("iodd/Brindle-BL50-20260101-IODD1.1.xml")), 0u);
  const struct {
    const char* key;
    const char* path;
  } keys[] = {{"0000/80F3/0003", "/DEVICE/PROFIBUS_DP/REMOTEIO/Quelmark Automation/Remote I-O/Modular/QLMK80F3"},
              {"04D2/B150/0100", "/DEVICE/IOLINK/Brindle Instruments/IODD_1234_0x00B150_BL50_S"}};
  for (int reload = 0; reload < 2; ++reload) {
    for (const auto& k : keys) {
      std::string path;
      EXPECT_TRUE(Catalog().IndexLookup(k.key, &path)) << k.key;
      EXPECT_EQ(path, k.path);
    }
    ZARN_ResetCatalog();
  }
  EXPECT_EQ(Count("//COMPONENT[@id='QLMK80F3'][@ddRevision='0x0005'][DEVICE_REVISION='0x0003']"), 1u);
  EXPECT_EQ(Count("//SOURCE_IDENTIFICATION"), 0u) << "the converters' note stays out of the catalog";
  const std::string saved = CatalogFile();
  const TreeSnapshot area = FileArea();
  EXPECT_EQ(Import(gsd), ZARN_E_SAME_DEVICE_REVISION) << "the revisions decide, and they are equal";
  EXPECT_EQ(Import(Convert("gsd/QLMK80F3.gsd")), ZARN_E_SAME_DEVICE_REVISION) << "also converted again";
  EXPECT_EQ(CatalogFile(), saved);
  EXPECT_EQ(FileArea(), area);
}

// The device variants of one IODD carry the same files: the file area holds each
// once (hard links), and deleting one variant leaves the other's files whole.
TEST_F(SampleLibraryTest, VariantsOfOneDescriptionShareTheirFilesOnDisk) {
  ASSERT_EQ(Import(Convert("iodd/Brindle-BL50-20260101-IODD1.1.xml")), 0u);
  std::vector<std::filesystem::path> iodds;
  for (const auto& e : std::filesystem::recursive_directory_iterator(CatalogDir() + "/DEVICE")) {
    if (e.path().filename() == "Brindle-BL50-20260101-IODD1.1.xml") iodds.push_back(e.path());
  }
  ASSERT_EQ(iodds.size(), 2u) << "one per variant";
  EXPECT_TRUE(std::filesystem::equivalent(iodds[0], iodds[1]));
  const std::string text = testing::ReadFile(iodds[1].string());
  const std::string variant = iodds[0].parent_path().filename().string();
  ASSERT_EQ(DeleteComponent("/DEVICE/IOLINK/Brindle Instruments/" + variant), 0u);
  EXPECT_FALSE(std::filesystem::exists(iodds[0]));
  EXPECT_EQ(testing::ReadFile(iodds[1].string()), text);
  EXPECT_EQ(std::filesystem::hard_link_count(iodds[1]), 1u);
}

// The remote I/O station declares its modules as children; each module names the
// station as its parent. Whichever comes first, the relations end up in the
// components they name: a module imported later takes over the placeholder that
// holds its inverse relation.
class SampleRelationsTest : public SampleLibraryTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SampleRelationsTest, StationAndModulesFindEachOtherInEitherOrder) {
  const std::string station = "profibus_dp/brennvik/remote_io_rio8.ddl";
  const std::string module = "profibus_dp/brennvik/modules/do8_module.mdd";
  const bool station_first = GetParam();
  ASSERT_EQ(Import(Convert(station_first ? station : module)), 0u);
  ASSERT_EQ(Import(Convert(station_first ? module : station)), 0u);
  ASSERT_EQ(Import(Convert("profibus_dp/brennvik/modules/ai4_module.mdd")), 0u);

  const std::string rio8 = "/DEVICE/PROFIBUS_DP/REMOTEIO/Brennvik Automation/RIO/brennvik_station_folder/rio8";
  for (const char* id : {"do8_module", "ai4_module"}) {
    const std::string inverse = std::string("//COMPONENT[@id='") + id +
                                "']/COMPONENT_RELATIONS/COMPONENT_RELATION[@id='rio8_modules'][isInverse]";
    EXPECT_EQ(Count(inverse), 1u) << id;
    EXPECT_EQ(Count(inverse + "/COMPONENTS/component[component_ref='" + rio8 + "']"), 1u) << id;
  }
  EXPECT_EQ(
      Count("//COMPONENT[@id='do8_module']//COMPONENT_RELATION[@id='do8_station']//component_ref[.='" + rio8 + "']"),
      1u)
      << "the parent the module names is resolved to the station's path";
  // Each module's copy holds the options the station gives that module.
  const std::string entry = "//COMPONENT[@id='%s']//COMPONENT_RELATION[@id='rio8_modules']/COMPONENTS/component";
  const auto of = [&](const char* id) {
    std::string xpath = entry;
    xpath.replace(xpath.find("%s"), 2, id);
    return xpath;
  };
  EXPECT_EQ(Count(of("ai4_module") + "[AUTO_CREATE/integer='1']//MAX_VALUE[integer='4']"), 1u);
  EXPECT_EQ(Count(of("do8_module") + "[not(AUTO_CREATE)]//MIN_VALUE[integer='5']"), 1u);
  EXPECT_EQ(Count("/ZARN_CATALOG/COMPONENT_RELATIONS"), 0u);
  EXPECT_EQ(Count("//*[@isArtificial]"), 0u) << "every placeholder met its component";
  EXPECT_EQ(Count("//COMPONENT[@id='do8_module']"), 1u);
}

// A module that waits for its station keeps the station's placeholder when another
// module is filed into the same levels before the station comes.
TEST_F(SampleLibraryTest, AStationsPlaceholderOutlivesTheNextModuleOfItsLevels) {
  ASSERT_EQ(Import(Convert("profibus_dp/brennvik/modules/do8_module.mdd")), 0u);
  ASSERT_EQ(Import(Convert("profibus_dp/brennvik/modules/ai4_module.mdd")), 0u);
  EXPECT_EQ(Count("//COMPONENT_FOLDER[@id='brennvik_station_folder'][@isArtificial]"
                  "/COMPONENT_FOLDER[@id='rio8'][@isArtificial]"),
            1u);
  ExpectSound();
}

TEST_P(SampleRelationsTest, ModuleDeletedAndImportedAgainGetsItsRelationsBack) {
  const std::string module = "profibus_dp/brennvik/modules/do8_module.mdd";
  ASSERT_EQ(Import(Convert("profibus_dp/brennvik/remote_io_rio8.ddl")), 0u);
  ASSERT_EQ(Import(Convert(module)), 0u);
  const std::string path = "/DEVICE/PROFIBUS_DP/DISCRETE_OUT/Brennvik Automation/RIO/Modules/do8_module";
  std::string deleted;
  ASSERT_EQ(DeleteComponent(GetParam() ? path : Convert(module), &deleted), 0u);  // by path, or by its file
  EXPECT_EQ(deleted, path);
  EXPECT_EQ(Count("//COMPONENT[@id='do8_module']"), 0u);
  EXPECT_EQ(Count("//COMPONENT_FOLDER[@id='do8_module'][@isArtificial]//COMPONENT_RELATION[@id='rio8_modules']"), 1u)
      << "the station's relation waits in a placeholder";

  ASSERT_EQ(Import(Convert(module)), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='do8_module']/COMPONENT_RELATIONS/COMPONENT_RELATION[@id='rio8_modules']"), 1u);
  EXPECT_EQ(Count("//*[@isArtificial][@id='do8_module']"), 0u) << "the module took over its placeholder";
}

TEST_P(SampleRelationsTest, ReplacingTheStationKeepsOneInverseCopyPerModule) {
  const std::string station = "profibus_dp/brennvik/remote_io_rio8.ddl";
  const std::string module = "profibus_dp/brennvik/modules/do8_module.mdd";
  ASSERT_EQ(Import(Convert(GetParam() ? station : module)), 0u);
  ASSERT_EQ(Import(Convert(GetParam() ? module : station)), 0u);
  for (int round = 0; round < 2; ++round) EXPECT_EQ(ReplaceComponent(Convert(station)), ZARN_S_REPLACED);
  EXPECT_EQ(Count("//COMPONENT[@id='do8_module']/COMPONENT_RELATIONS/COMPONENT_RELATION[@id='rio8_modules']"), 1u);
  EXPECT_EQ(Count("//COMPONENT_RELATION[@id='rio8_modules'][isInverse]"), 2u) << "one per module, ai4 waiting";
  ZARN_ResetCatalog();
  EXPECT_EQ(Count("//COMPONENT[@id='do8_module']/COMPONENT_RELATIONS/COMPONENT_RELATION[@id='rio8_modules']"), 1u)
      << "after a reload";
}

// The component paths that the relation `relation_id` of the element at `path`
// lists (its own records, not the inverse copies it holds).
std::vector<std::string> RelatedPaths(const std::string& path, const std::string& relation_id) {
  RelationInfo* relations = nullptr;
  std::vector<std::string> paths;
  if (ZARN_GetRelations(ZARN_RELATION_CHILD, ToUtf16(path).c_str(), &relations) != 0) return paths;
  for (RelationInfo* r = relations; r != nullptr; r = r->next) {
    if (r->isInverse || ToUtf8(r->id) != relation_id) continue;
    for (RelationComponent* c = r->components; c != nullptr; c = c->next) paths.push_back(ToUtf8(c->componentPath));
  }
  ZARN_FreeRelations(relations);
  std::sort(paths.begin(), paths.end());
  return paths;
}

std::string Referencing(const std::string& path) {
  VARIANT paths;
  VariantInit(&paths);
  const uint32_t rc = ZARN_GetReferencingComponents(ToUtf16(path).c_str(), &paths);
  std::string text = rc == 0 ? VariantString(paths) : "rc " + std::to_string(rc);
  VariantClear(&paths);
  return text;
}

// The station names its modules by path, whichever was imported first, and a host
// can follow the relation from either side, also after a reload.
TEST_P(SampleRelationsTest, TheStationNamesItsModulesByPath) {
  const std::string station = "profibus_dp/brennvik/remote_io_rio8.ddl";
  const std::string ai4 = "profibus_dp/brennvik/modules/ai4_module.mdd";
  ASSERT_EQ(Import(Convert(GetParam() ? station : ai4)), 0u);
  ASSERT_EQ(Import(Convert(GetParam() ? ai4 : station)), 0u);
  ASSERT_EQ(Import(Convert("profibus_dp/brennvik/modules/do8_module.mdd")), 0u);
  const std::string rio8 = "/DEVICE/PROFIBUS_DP/REMOTEIO/Brennvik Automation/RIO/brennvik_station_folder/rio8";
  const std::string ai4_path = "/DEVICE/PROFIBUS_DP/REMOTEIO/Brennvik Automation/RIO/Modules/ai4_module";
  const std::string do8_path = "/DEVICE/PROFIBUS_DP/DISCRETE_OUT/Brennvik Automation/RIO/Modules/do8_module";
  for (const char* when : {"after the imports", "after a reload"}) {
    EXPECT_EQ(RelatedPaths(rio8, "rio8_modules"), (std::vector<std::string>{do8_path, ai4_path})) << when;
    CatalogRelationInfo info{};
    const std::u16string relation = u"rio8_modules";
    ASSERT_EQ(ZARN_GetCatalogRelationInfo(relation.c_str(), ToUtf16(rio8).c_str(), ToUtf16(ai4_path).c_str(), &info),
              0u);
    EXPECT_EQ(info.relationId, relation.c_str()) << when;
    EXPECT_EQ(info.relationKind, 2) << when;
    EXPECT_EQ(Referencing(ai4_path), rio8) << when;
    EXPECT_EQ(Referencing(do8_path), rio8) << when;
    ZARN_ResetCatalog();
  }
  EXPECT_EQ(Count("//COMPONENT_RELATION[not(isInverse)]//component_ref[@ref]"), 0u) << "no reference by id is left";
}

// "variable min-max [min1-max1 ...]" for each range of each module of a station's
// own child relation, by module path.
std::map<std::string, std::string> SlotRanges(const std::string& station, int* minimum, int* maximum) {
  RelationInfo* relations = nullptr;
  std::map<std::string, std::string> out;
  if (ZARN_GetRelations(ZARN_RELATION_CHILD, ToUtf16(station).c_str(), &relations) != 0) return out;
  for (RelationInfo* r = relations; r != nullptr; r = r->next) {
    if (r->isInverse) continue;
    *minimum = r->minimumNumber;
    *maximum = r->maximumNumber;
    EXPECT_EQ(ToUtf8(r->addressing), "SLOT");
    for (RelationComponent* c = r->components; c != nullptr; c = c->next) {
      std::string& text = out[ToUtf8(c->componentPath).substr(station.size())];
      for (RequiredRange* g = c->ranges; g != nullptr; g = g->next) {
        text += ToUtf8(g->variable) + " " + VariantString(g->minValue) + "-" + VariantString(g->maxValue);
        for (int i = 0; i < 10 && g->minPresentN[i] != 0; ++i) {
          text += " " + VariantString(g->minValues[i]) + "-" + VariantString(g->maxValues[i]);
        }
      }
    }
  }
  ZARN_FreeRelations(relations);
  return out;
}

// A GSD station's relation reaches the catalog with the slots of its modules, and
// its Slave_Family sub-families are the folders between the maker and the station
// (the same maker folder as the maker's device descriptions).
TEST_F(SampleLibraryTest, GsdStationOffersItsModulesWithTheirSlots) {
  ASSERT_EQ(Import(Convert("gsd/BRVK0C42.gsd")), 0u);
  ASSERT_EQ(Import(Convert("profibus_dp/brennvik/remote_io_rio8.ddl")), 0u);
  const std::string station = "/DEVICE/PROFIBUS_DP/REMOTEIO/Brennvik Automation/Remote I-O/Compact heads/BRVK0C42";
  EXPECT_EQ(Count("//CLASSIFICATION[@id='REMOTEIO']/MANUFACTURER[@id='Brennvik Automation']"), 1u);
  for (const char* when : {"after the import", "after a reload"}) {
    int minimum = -2;
    int maximum = -2;
    const std::map<std::string, std::string> expected = {{"/BRVK0C42_M1", "SLOT 1-1"},
                                                         {"/BRVK0C42_M2", "SLOT 2-6 2-3 5-6"},
                                                         {"/BRVK0C42_M3", "SLOT 2-6 2-3 5-6"},
                                                         {"/BRVK0C42_M4", "SLOT 3-6"},
                                                         {"/BRVK0C42_M5", "SLOT 3-6 3-3 5-6"}};
    EXPECT_EQ(SlotRanges(station, &minimum, &maximum), expected) << when;
    EXPECT_EQ(minimum, 1) << when;
    EXPECT_EQ(maximum, 6) << when;
    ZARN_ResetCatalog();
  }
  ExpectSound();
}

// The modules of a GSD station are placed by reference in the station's directory:
// deleting one keeps the directory for the station and the other modules.
TEST_F(SampleLibraryTest, DeletingAModuleKeepsItsStationsFiles) {
  ASSERT_EQ(Import(Convert("gsd/QLMK80F3.gsd")), 0u);
  const std::string station = "/DEVICE/PROFIBUS_DP/REMOTEIO/Quelmark Automation/Remote I-O/Modular/QLMK80F3";
  const std::string directory = CatalogDir() + station;
  ASSERT_TRUE(std::filesystem::exists(directory + "/QLMK80F3.gsd"));
  ASSERT_EQ(DeleteComponent(station + "/QLMK80F3_M1"), 0u);
  EXPECT_TRUE(std::filesystem::exists(directory + "/QLMK80F3.gsd"));
  EXPECT_EQ(Count("//COMPONENT[@id='QLMK80F3_M2']"), 1u);
  EXPECT_EQ(RelatedPaths(station, "QLMK80F3_modules"),
            (std::vector<std::string>{station + "/QLMK80F3_M2", station + "/QLMK80F3_M3"}))
      << "the deleted module is no longer offered";
}

// Deleting components one by one: every element that stays keeps its file area,
// and a delete whose save fails changes neither file, file area nor tree.
TEST_F(SampleLibraryTest, DeletionKeepsTheFilesOfWhatStays) {
  for (const Sample& s : kSamples) ASSERT_EQ(Import(Convert(s.source)), 0u) << s.source;
  const std::string saved = CatalogFile();
  const TreeSnapshot area = FileArea();
  const size_t components = Count("//COMPONENT");
  SetBeforeRenameHookForTesting(&RefuseRename);
  EXPECT_EQ(DeleteComponent(kSamples[9].path), ZARN_E_CANNOT_WRITE);
  SetBeforeRenameHookForTesting(nullptr);
  EXPECT_EQ(CatalogFile(), saved);
  EXPECT_EQ(FileArea(), area) << "no file goes before the save succeeded";
  EXPECT_EQ(Count("//COMPONENT"), components) << "the tree is as it was";

  for (const Sample& s : kSamples) {
    ASSERT_EQ(DeleteComponent(s.path), 0u) << s.path;
    std::vector<Node> users;
    Catalog().getSubElementsByXPath("//*[@fsPath]", &users);
    for (Node n : users) {
      const std::string fs_path = n.Attribute("fsPath").value_or("");
      EXPECT_TRUE(std::filesystem::is_directory(CatalogDir() + DocumentPathToNative(fs_path)))
          << "deleting " << s.path << " took the directory of " << Catalog().ComponentPathOf(n);
    }
  }
}

// A component XML written by hand (placement on the component, no level folders)
// lands where a converted source with the same fields lands, and its texts stay on
// the component.
TEST_F(SampleLibraryTest, HandWrittenComponentXmlIsPlacedLikeAConvertedOne) {
  const std::string dir = work_.Join("hand");
  testing::WriteFile(dir + "/manual.txt", "manual");
  const std::string xml =
      Component("hand/handmade.xml",
                "<COMPONENT id=\"handmade_tt1\"><PROTOCOL name=\"HART\"/><CLASSIFICATION name=\"SENSOR_TEMPERATURE\"/>"
                "<MANUFACTURER_EXT name=\"Quellmark Sensorik\"/><COMPONENT_PATH name=\"Temperature/handmade_tt1\"/>"
                "<LABEL><string>Hand-made TT 1</string></LABEL><ZARN>manual.txt</ZARN></COMPONENT>",
                dir + "/");
  for (int order = 0; order < 2; ++order) {
    if (order == 1) {
      ASSERT_EQ(DeleteComponent("/DEVICE"), ZARN_E_NOT_DELETABLE);
      ASSERT_EQ(DeleteComponent("/DEVICE/HART/SENSOR/TEMPERATURE/Quellmark Sensorik"), 0u);
      ASSERT_EQ(Import(Convert("hart/quellmark/temperature_tt420.ddl")), 0u) << "the converted one first";
    }
    ASSERT_EQ(Import(xml), 0u);
    const Node hand = ElementAt("/DEVICE/HART/SENSOR/TEMPERATURE/Quellmark Sensorik/Temperature/handmade_tt1");
    ASSERT_TRUE(hand) << "order " << order;
    EXPECT_TRUE(std::filesystem::exists(CatalogDir() + DocumentPathToNative(hand.Attribute("fsPath").value_or("")) +
                                        "/manual.txt"));
    if (order == 0) {
      ASSERT_EQ(Import(Convert("hart/quellmark/temperature_tt420.ddl")), 0u) << "the converted one after";
    }
    EXPECT_EQ(Count("//CLASSIFICATION[@id='TEMPERATURE']/MANUFACTURER[@id='Quellmark Sensorik']"), 1u);
    EXPECT_EQ(Count("//MANUFACTURER[@id='Quellmark Sensorik']/COMPONENT_FOLDER[@id='Temperature']"), 1u)
        << "one folder for both";
    EXPECT_EQ(Count("/ZARN_CATALOG/PROTOCOL | /ZARN_CATALOG/COMPONENT | //section/COMPONENT"), 0u);
    EXPECT_EQ(Count("//*[self::section or self::PROTOCOL or self::CLASSIFICATION or self::MANUFACTURER]/LABEL"
                    "[string='Hand-made TT 1']"),
              0u)
        << "the component's label stays on the component";
  }
}

// The catalog checker over the whole sample library: sound after the import, after
// replacing every component and after deleting every module.

TEST_F(SampleLibraryTest, CheckerFindsTheLibrarySoundAfterImportReplaceAndModuleDeletion) {
  std::vector<std::string> sources;
  for (const Sample& s : kSamples) sources.push_back(s.source);
  sources.insert(sources.end(), {"gsd/QLMK80F3.gsd", "gsd/BRDL0A1B.gsd"});
  for (const std::string& source : sources) ASSERT_EQ(Import(Convert(source)), 0u) << source;
  ExpectSound("after the import");
  EXPECT_GT(CheckCatalog(Catalog()).relations, 0u);
  for (const std::string& source : sources) EXPECT_EQ(ReplaceComponent(Convert(source)), ZARN_S_REPLACED) << source;
  ExpectSound("after replacing every component");
  const std::string quelmark = "/DEVICE/PROFIBUS_DP/REMOTEIO/Quelmark Automation/Remote I-O/Modular/QLMK80F3/";
  for (const std::string& module :
       {std::string("/DEVICE/PROFIBUS_DP/REMOTEIO/Brennvik Automation/RIO/Modules/ai4_module"),
        std::string("/DEVICE/PROFIBUS_DP/DISCRETE_OUT/Brennvik Automation/RIO/Modules/do8_module"),
        quelmark + "QLMK80F3_M1", quelmark + "QLMK80F3_M2", quelmark + "QLMK80F3_M3",
        std::string("/DEVICE/PROFIBUS_PA/SENSOR/PRESSURE/Brindle Instruments/Pressure/BRDL0A1B/BRDL0A1B_M1")}) {
    EXPECT_EQ(DeleteComponent(module), 0u) << module;
  }
  ExpectSound("after deleting every module");
  ZARN_ResetCatalog();
  ExpectSound("after a reload");
}

INSTANTIATE_TEST_SUITE_P(Order, SampleRelationsTest, ::testing::Bool());

}  // namespace
}  // namespace zarn
