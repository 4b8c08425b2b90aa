// ZARN_GetComponents on the sample sources: compile, stylesheet, inPath and reading,
// and the records that come back.
#include <set>

#include "conversion/conversion.h"
#include "platform/file_operation.h"
#include "tests/unit/conversion_fixture.h"
#include "xml/document.h"
#include "xml/xpath.h"

namespace zarn {
namespace {

struct SampleCase {
  const char* source;
  const char* id;  // the component, first record of the chain
  std::vector<std::string> hierarchy;
  size_t records;  // folders and components (catalog levels give no record)
};

const std::vector<SampleCase>& Samples() {
  static const std::vector<SampleCase> cases = {
      {"ff/quellmark/analyzer_ph7.ddl",
       "ph7",
       {"COMPONENT=Analytics/ph7", "MANUFACTURER=Quellmark Sensorik", "CLASSIFICATION=LIQUID",
        "CLASSIFICATION=ANALYTIC", "CLASSIFICATION=SENSOR", "PROTOCOL=FF"},
       1},
      {"ff/zentrifex/coriolis_cfm900_ff.ddl",
       "cfm900_ff",
       {"COMPONENT=Flow/cfm900_ff", "MANUFACTURER=Zentrifex Messtechnik", "CLASSIFICATION=CORIOLIS",
        "CLASSIFICATION=FLOW", "CLASSIFICATION=SENSOR", "PROTOCOL=FF"},
       1},
      {"hart/quellmark/radar_level_lr80.ddl",
       "lr80",
       {"COMPONENT=lr80", "MANUFACTURER=Quellmark Sensorik", "CLASSIFICATION=ECHO", "CLASSIFICATION=LEVEL",
        "CLASSIFICATION=SENSOR", "PROTOCOL=HART"},
       2},
      {"hart/quellmark/temperature_tt420.ddl",
       "tt420",
       {"COMPONENT=Temperature/Head transmitters/tt420", "MANUFACTURER=Quellmark Sensorik",
        "CLASSIFICATION=TEMPERATURE", "CLASSIFICATION=SENSOR", "PROTOCOL=HART"},
       1},
      {"hart/tarvona/positioner_vp25.ddl",
       "vp25",
       {"COMPONENT=Positioners/vp25", "MANUFACTURER=Tarvona Controls", "CLASSIFICATION=ELECTRO_PNEUMATIC",
        "CLASSIFICATION=ACTUATOR", "PROTOCOL=HART"},
       1},
      {"hart/zentrifex/coriolis_cfm900.ddl",
       "cfm900",
       {"COMPONENT=cfm900", "MANUFACTURER=Zentrifex Messtechnik", "CLASSIFICATION=CORIOLIS", "CLASSIFICATION=FLOW",
        "CLASSIFICATION=SENSOR", "PROTOCOL=HART"},
       2},
      {"hart/zentrifex/magflow_emf300.ddl",
       "emf300",
       {"COMPONENT=Flow/emf300", "MANUFACTURER=Zentrifex Messtechnik", "CLASSIFICATION=ELECTRO_MAGNETIC",
        "CLASSIFICATION=FLOW", "CLASSIFICATION=SENSOR", "PROTOCOL=HART"},
       1},
      {"profibus_dp/brennvik/modules/ai4_module.mdd",
       "ai4_module",
       {"COMPONENT=RIO/Modules/ai4_module", "MANUFACTURER=Brennvik Automation", "CLASSIFICATION=REMOTEIO",
        "PROTOCOL=PROFIBUS_DP"},
       1},
      {"profibus_dp/brennvik/modules/do8_module.mdd",
       "do8_module",
       {"COMPONENT=RIO/Modules/do8_module", "MANUFACTURER=Brennvik Automation", "CLASSIFICATION=DISCRETE_OUT",
        "PROTOCOL=PROFIBUS_DP"},
       1},
      {"profibus_dp/brennvik/remote_io_rio8.ddl",
       "rio8",
       {"COMPONENT=rio8", "MANUFACTURER=Brennvik Automation", "CLASSIFICATION=REMOTEIO", "PROTOCOL=PROFIBUS_DP"},
       2},
      {"profibus_pa/halvora/pressure_pd600.ddl",
       "pd600",
       {"COMPONENT=Pressure/pd600", "MANUFACTURER=Halvora Instruments", "CLASSIFICATION=PRESSURE",
        "CLASSIFICATION=SENSOR", "PROTOCOL=PROFIBUS_PA"},
       1},
      {"profibus_pa/halvora/pressure_pd610.ddl",
       "pd610",
       {"COMPONENT=Pressure/Differential/pd610", "MANUFACTURER=Halvora Instruments", "CLASSIFICATION=PRESSURE",
        "CLASSIFICATION=SENSOR", "PROTOCOL=PROFIBUS_PA"},
       1},
      {"profibus_pa/tarvona/actuator_ea40.ddl",
       "ea40",
       {"COMPONENT=Actuators/ea40", "MANUFACTURER=Tarvona Controls", "CLASSIFICATION=ELECTRIC",
        "CLASSIFICATION=ACTUATOR", "PROTOCOL=PROFIBUS_PA"},
       1},
  };
  return cases;
}

class GetComponentsTest : public ConversionTest {
 protected:
  void SetUp() override {
    ConversionTest::SetUp();
    if (!CompilerAvailable()) GTEST_SKIP() << "the compiler library is not in the bin directory";
  }

  // Converts a sample; its component XML loaded, or null.
  std::unique_ptr<xml::Document> Convert(const std::string& sample, std::vector<Record>* records) {
    EXPECT_EQ(Get(Sample(sample), records), 0u) << sample;
    if (records->empty()) return nullptr;
    return xml::Document::LoadFile(records->front().path, nullptr);
  }
  static std::string Select(const xml::Document& doc, const std::string& xpath) {
    std::string error;
    const xml::Node n = xml::SelectFirst(doc.AsNode(), xpath, &error);
    return n ? n.Text() : "<none: " + xpath + ">";
  }
  static size_t Count(const xml::Document& doc, const std::string& xpath) {
    std::vector<xml::Node> nodes;
    std::string error;
    xml::SelectNodes(doc.AsNode(), xpath, &nodes, &error);
    return nodes.size();
  }
};

TEST_F(GetComponentsTest, EverySampleConvertsWithItsIdAndHierarchy) {
  for (const SampleCase& c : Samples()) {
    std::vector<Record> records;
    ASSERT_EQ(Get(Sample(c.source), &records), 0u) << c.source;
    ASSERT_EQ(records.size(), c.records) << c.source;
    const Record& component = records.front();
    EXPECT_EQ(component.id, c.id) << c.source;
    EXPECT_EQ(component.hierarchy, c.hierarchy) << c.source;
    EXPECT_FALSE(component.label.empty()) << c.source;
    EXPECT_FALSE(component.help.empty()) << c.source;
    EXPECT_TRUE(component.path.ends_with(FileNamePart(c.source) + "en.device.xml_comp.xml")) << component.path;
    EXPECT_TRUE(std::filesystem::is_regular_file(component.path)) << c.source;
    for (const Record& r : records) EXPECT_EQ(r.id.find('.'), std::string::npos) << r.id << ": not a level";
  }
}

TEST_F(GetComponentsTest, TheTableCoversEverySample) {
  std::set<std::string> listed;
  for (const SampleCase& c : Samples()) listed.insert(Sample(c.source));
  std::vector<std::string> sources;
  FindFiles(Sample(""), "ddl", &sources);
  FindFiles(Sample(""), "mdd", &sources);
  for (const std::string& s : sources) {
    if (s.find("/broken/") != std::string::npos || s.find("/_global/") != std::string::npos) continue;
    EXPECT_EQ(listed.count(s), 1u) << s << " is a sample without a row";
  }
}

TEST_F(GetComponentsTest, ComponentXmlNamesItsSourceDirectoryAndCarriesTheSource) {
  std::vector<Record> records;
  auto doc = Convert("hart/quellmark/temperature_tt420.ddl", &records);
  ASSERT_TRUE(doc);
  EXPECT_EQ(doc->Root().Attribute("inPath"), DirectoryOfFile(Sample("hart/quellmark/temperature_tt420.ddl")));
  EXPECT_EQ(Select(*doc, "//COMPONENT[@id='tt420']/ZARN"), "temperature_tt420.ddl");
  EXPECT_EQ(Select(*doc, "//COMPONENT[@id='tt420']/LABEL/string[@lang='de']"), "TT 420 Temperaturmessumformer");
  EXPECT_EQ(Select(*doc,
                   "//COMPONENT[@id='tt420']/INITIAL_VALUES/initial_value[variable_ref/@ref='descriptor']"
                   "/string[@lang='de']"),
            "Temperatur");
  EXPECT_EQ(Select(*doc, "//PURPOSE_MAPPING/string[.='PURPOSE_TAG']/preceding-sibling::*[1]/@ref"), "tag");
}

TEST_F(GetComponentsTest, RelationsReferencesAndRangesReachTheComponentXml) {
  std::vector<Record> records;
  auto doc = Convert("profibus_dp/brennvik/remote_io_rio8.ddl", &records);
  ASSERT_TRUE(doc);
  const std::string relation = "//COMPONENT[@id='rio8']/COMPONENT_RELATIONS/COMPONENT_RELATION[@id='rio8_modules']";
  EXPECT_EQ(Count(*doc, relation + "/RELATION_TYPE/CHILD_COMPONENT"), 1u);
  EXPECT_EQ(Select(*doc, relation + "/MAXIMUM_NUMBER/integer"), "8");
  EXPECT_EQ(Select(*doc, relation + "/ADDRESSING/variable_ref/@ref"), "slot_number");
  EXPECT_EQ(Select(*doc, relation + "/COMPONENTS/component[2]/component_ref/@ref"), "brennvik_do8_ref");
  EXPECT_EQ(Select(*doc, relation + "/COMPONENTS/component[2]//required_range/MAX_VALUE1/isConditioned"), "true");
  EXPECT_EQ(Select(*doc, relation + "/COMPONENTS/component[1]/AUTO_CREATE/integer"), "1");
  EXPECT_EQ(Select(*doc, "//COMPONENT_REFERENCE[@id='brennvik_ai4_ref']/DEVICE_TYPE"), "0xf481");
}

TEST_F(GetComponentsTest, LabelsFollowTheCatalogLanguage) {
  ASSERT_EQ(ZARN_SetCatalogLanguage(u"de"), 0u);
  std::vector<Record> records;
  ASSERT_EQ(Get(Sample("hart/quellmark/temperature_tt420.ddl"), &records), 0u);
  EXPECT_EQ(records.front().label, "TT 420 Temperaturmessumformer");
  EXPECT_TRUE(records.front().path.ends_with("temperature_tt420.ddlde.device.xml_comp.xml"));
}

TEST_F(GetComponentsTest, BrokenSamplesFailWithTheCompilerCodeAndLeaveOnlyTheirOutput) {
  for (const char* broken : {"broken/missing_include.ddl", "broken/syntax_error.ddl"}) {
    testing::TraceCapture trace;
    std::vector<Record> records;
    const uint32_t rc = Get(Sample(broken), &records);
    EXPECT_NE(rc, 0u) << broken;
    EXPECT_TRUE(records.empty()) << broken;
    EXPECT_TRUE(trace.Contains("Compile Error")) << broken;
    for (const std::string& file : TemporaryFiles()) {
      EXPECT_EQ(file.find("_comp.xml"), std::string::npos) << file;
    }
  }
  EXPECT_FALSE(std::filesystem::exists(CatalogPath("DEVICE"))) << "the catalog is not touched";
}

TEST_F(GetComponentsTest, DeviceXmlGivenDirectlyIsTransformedWithoutTheCompiler) {
  std::vector<Record> records;
  ASSERT_EQ(Get(Sample("profibus_pa/tarvona/actuator_ea40.ddl"), &records), 0u);
  // The compiler's device XML sits beside the component XML: hand it in as input.
  const std::string deviceXml = records.front().path.substr(0, records.front().path.size() - 9);
  const std::string copy = work_.Join("ea40.device.xml");
  std::filesystem::copy_file(deviceXml, copy);
  std::vector<Record> again;
  ASSERT_EQ(Get(copy, &again), 0u);
  EXPECT_EQ(Ids(again), Ids(records));
}

TEST_F(GetComponentsTest, GlobalSourcesConvertInNumberedBatches) {
  const std::string dir = work_.Join("lib");
  std::filesystem::create_directories(dir + "/_global");
  std::filesystem::create_directories(dir + "/tarvona");  // includes are found in ancestors' _global
  std::filesystem::copy_file(Sample("profibus_pa/tarvona/actuator_ea40.ddl"), dir + "/tarvona/actuator_ea40.ddl");
  std::filesystem::copy(Sample("_global"), dir + "/_global");
  std::vector<Record> listed;
  ASSERT_EQ(Get(dir, &listed), 0u);
  ASSERT_EQ(Paths(listed), std::vector<std::string>{dir + "/<ZarnGlobSpecial>"});
  for (const std::string n : {"1", "2"}) {
    std::vector<Record> records;
    ASSERT_EQ(Get(listed.front().path, &records), 0u);
    EXPECT_EQ(records.front().id, "ea40");
    const std::string list = JoinPath(Catalog().temporaryDirectory(), "ZarnGlobSpecial" + n + "/ZarnGlobSpecial.xml");
    auto doc = xml::Document::LoadFile(list, nullptr);
    ASSERT_TRUE(doc) << list;
    EXPECT_EQ(doc->Root().Attribute("inPath"), dir + "/");
    EXPECT_EQ(Select(*doc, "/COMP_COMPONENTXML/COMPONENT_XML/@tmpPath"), records.front().path);
    EXPECT_EQ(Count(*doc, "/COMP_COMPONENTXML/COMPONENT_XML"), 1u);
  }
}

// Files no plug-in takes and that are no source get one message saying what they
// are, never the compiler's errors about text that was not EDDL.
TEST_F(GetComponentsTest, FilesNoConverterAcceptsAreNamedWithWhatTheyAre) {
  const struct {
    const char* name;
    const char* text;
    const char* says;
  } cases[] = {
      {"package.zip", "PK\x05\x06 not really a package", "holds no IODD"},
      {"GSDML-V2.35-Maker-Device-20240101.xml", "<ISO15745Profile><ProfileBody/></ISO15745Profile>",
       "PROFINET device description (GSDML)"},
      {"notes.xml", "<notes/>", "root element notes"},
      {"device.eds", "[File]\n", "electronic data sheet"},
      {"readme.txt", "hello", "no converter plug-in accepts .txt files"},
  };
  for (const auto& c : cases) {
    const std::string file = work_.Join(c.name);
    ASSERT_TRUE(testing::WriteFile(file, c.text));
    testing::TraceCapture trace;
    std::vector<Record> records;
    EXPECT_EQ(Get(file, &records), ZARN_E_NO_RECORDS) << c.name;
    ASSERT_EQ(records.size(), 1u) << c.name;
    EXPECT_EQ(records.front().path, file);
    EXPECT_NE(records.front().message.find(c.says), std::string::npos) << records.front().message;
    EXPECT_FALSE(trace.Contains("Compile Error")) << c.name;
  }
  // A language variant beside its station is the station's, not a source of its own.
  ASSERT_TRUE(testing::WriteFile(work_.Join("SI0A1B.gsd"), "#Profibus_DP\nIdent_Number = 0x0A1B\n"));
  ASSERT_TRUE(testing::WriteFile(work_.Join("SI0A1B.gsg"), "#Profibus_DP\nIdent_Number = 0x0A1B\n"));
  std::vector<Record> records;
  EXPECT_EQ(Get(work_.Join("SI0A1B.gsg"), &records), ZARN_E_NO_RECORDS);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_NE(records.front().message.find("is a GSD language variant"), std::string::npos) << records.front().message;
  EXPECT_NE(records.front().message.find("import SI0A1B.gsd"), std::string::npos) << records.front().message;
}

// The conversion's own files: a temporary directory that cannot be made, and a
// device XML that cannot be copied into the conversion's directory (the catalog
// language is part of the copy's name) fail before anything is converted.
TEST_F(ConversionTest, FilesTheConversionCannotWriteAreReported) {
  const std::string device_xml = work_.Join("dev.device.xml");
  ASSERT_TRUE(testing::WriteFile(device_xml, "<ZARN_DEVICE/>"));
  ASSERT_EQ(ZARN_SetCatalogLanguage(u"no/such"), 0u);
  std::vector<Record> records;
  EXPECT_EQ(Get(device_xml, &records), ZARN_E_COMPILER_OPEN);
  EXPECT_TRUE(records.empty());

  const char* temp = std::getenv("TEMP");
  const std::string saved = temp != nullptr ? temp : "";
  ASSERT_TRUE(testing::WriteFile(work_.Join("plain"), "x"));
  setenv("TEMP", work_.Join("plain").c_str(), 1);
  Reopen();
  testing::TraceCapture trace;
  EXPECT_EQ(Get(device_xml), ZARN_E_TMP_DIRECTORY);
  EXPECT_TRUE(trace.Contains("can't create tmp directory"));
  if (temp != nullptr) {
    setenv("TEMP", saved.c_str(), 1);
  } else {
    unsetenv("TEMP");
  }
}

}  // namespace
}  // namespace zarn
