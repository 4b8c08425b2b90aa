// Reading component XML documents into catalog objects.
#include "conversion/component_xml_reader.h"

#include <gtest/gtest.h>

#include "external/compiler_library.h"
#include "platform/paths.h"
#include "tests/support/test_support.h"

namespace zarn {
namespace {

using testing::ScratchDir;
using testing::TraceCapture;
using testing::WriteFile;

class ComponentXmlReaderTest : public ::testing::Test {
 protected:
  static std::string Doc(const std::string& body, const std::string& in_path = "") {
    return "<COMP_COMPONENTXML inPath=\"" + in_path + "\"><version>1.0</version>" + body + "</COMP_COMPONENTXML>";
  }
  // Reads `body` in a component XML document as if it had been loaded from `path`.
  uint32_t Read(const std::string& body, const std::string& path = "") {
    reader_ = std::make_unique<ComponentXmlReader>(&table_, identify_);
    EXPECT_EQ(reader_->LoadText(Doc(body)), 0u);
    return reader_->Read(path);
  }
  const CCatalog_Object& Component(size_t i) const { return *reader_->Components().at(i); }
  static std::string Ids(const ComponentXmlReader::ObjectList& list) {
    std::string ids;
    for (const auto& object : list) ids += (ids.empty() ? "" : ",") + object->id;
    return ids;
  }
  // The text of the child `name` of the i-th component's element, "<none>" without one.
  std::string ChildText(size_t i, const char* name) const {
    const Node child = Component(i).element.FirstChildElement(name);
    return child ? child.Text() : "<none>";
  }

  ManufacturerTable table_;
  bool identify_ = false;
  std::unique_ptr<ComponentXmlReader> reader_;
};

struct SourceNameCase {
  const char* path;
  const char* source_name;
};

TEST_F(ComponentXmlReaderTest, SourceNameComesFromTheComponentXmlFileName) {
  const SourceNameCase cases[] = {
      {"/lib/dev.ddl_comp.xml", "dev.ddl"},
      {"/lib/DEV.MDD_comp.xml", "DEV.MDD"},
      {"/lib/dev.device.xml_comp.xml", ""},
      {"", ""},
  };
  for (const SourceNameCase& c : cases) {
    EXPECT_EQ(Read("<COMPONENT id='C'/>", c.path), 0u) << c.path;
    EXPECT_EQ(reader_->SourceName(), c.source_name) << c.path;
    EXPECT_EQ(Component(0).sourceFileName, c.source_name) << c.path;
    EXPECT_EQ(ChildText(0, "componentZARN"), *c.source_name ? c.source_name : "<none>") << c.path;
  }
  Read("<COMPONENT id='C'/>", "/lib/dev.ddl_comp.xml");
  EXPECT_EQ(reader_->SourceDir(), "/lib/");
}

struct ManufacturerCase {
  const char* name;
  const char* expected;
};

TEST_F(ComponentXmlReaderTest, ManufacturerNumbersNormaliseAlike) {
  const ManufacturerCase without_table[] = {
      {"42", "0x002a"}, {"0x002A", "0x002a"}, {" 0X2a ", "0x002a"}, {"Acme Corp", "Acme Corp"}, {"0x10000", "0x10000"}};
  for (const ManufacturerCase& c : without_table) {
    Read(std::string("<COMPONENT id='C'><MANUFACTURER name='") + c.name + "'/></COMPONENT>");
    EXPECT_EQ(Component(0).manufacturerName, c.expected) << c.name;
    EXPECT_EQ(Component(0).manufacturer, "") << "components place by identification";
  }
  table_["0x002a"] = "Acme";
  for (const char* name : {"42", "0x002A"}) {
    Read(std::string("<COMPONENT_REFERENCE id='R'><MANUFACTURER_EXT name='") + name + "'/></COMPONENT_REFERENCE>");
    EXPECT_EQ(reader_->ComponentReferences().at(0)->manufacturerName, "Acme") << name;
    EXPECT_EQ(reader_->ComponentReferences().at(0)->manufacturer, "Acme") << name;
  }
}

struct IdentificationCase {
  const char* element;
  const char* value;
  const char* text;
};

TEST_F(ComponentXmlReaderTest, IdentificationTexts) {
  const IdentificationCase cases[] = {
      {"DD_REVISION", "\"1.2\"", "1.2"},   {"DD_REVISION", "0x3", "0x0003"},   {"DD_REVISION", "17", "0x0011"},
      {"DEVICE_TYPE", "0xF1B2", "0xf1b2"}, {"DEVICE_TYPE", "\"5\"", "0x0000"}, {"MANUFACTURER", "Acme", "0x0000"},
      {"DEVICE_REVISION", "2", "0x0002"},
  };
  for (const IdentificationCase& c : cases) {
    EXPECT_EQ(IdentificationText(c.element, c.value), c.text) << c.element << " " << c.value;
  }
}

struct SectionCase {
  const char* section;
  const char* classification;
  const char* derived_section;
  const char* derived_classification;
};

TEST_F(ComponentXmlReaderTest, SectionDerivedFromClassification) {
  const SectionCase cases[] = {
      {"", "NET_PROFIBUS", "NET", "PROFIBUS"},
      {"", "NETWORK_COMPONENT", "DEVICE", "NETWORK_COMPONENT"},
      {"", "node_gateway", "NODE", "GATEWAY"},
      {"", "SYSTEM_CONTROLLER", "SYSTEM", "CONTROLLER"},
      {"", "DEVICE_SENSOR", "DEVICE", "SENSOR"},
      {"", "Pressure", "DEVICE", "Pressure"},
      {"", "NET", "NET", ""},
      {"", "", "", ""},
      {"NET", "NODE_X", "NET", "NODE_X"},
  };
  for (const SectionCase& c : cases) {
    CCatalog_Object object(CCatalog_Object::Kind::kComponent);
    object.section = c.section;
    object.classification = c.classification;
    DeriveSection(&object);
    EXPECT_EQ(object.section, c.derived_section) << c.classification;
    EXPECT_EQ(object.classification, c.derived_classification) << c.classification;
  }
  Read(
      "<CATALOG_FOLDER id='F'><CLASSIFICATION name='NET_X'/></CATALOG_FOLDER>"
      "<COMPONENT_REFERENCE id='R'><CLASSIFICATION name='NET_X'/></COMPONENT_REFERENCE>");
  EXPECT_EQ(reader_->CatalogFolders().at(0)->section, "") << "catalog folders keep their classification";
  EXPECT_EQ(reader_->ComponentReferences().at(0)->section, "NET");
}

TEST_F(ComponentXmlReaderTest, FoldersComeBeforeComponentsAndKindsAreFlagged) {
  Read(
      "<COMPONENT id='c1'/><COMPONENT_FOLDER id='f1'><COMPONENT id='c2'/></COMPONENT_FOLDER>"
      "<x><COMPONENT_FOLDER id='f2'/></x><COMPONENT_REFERENCE id='r'/><CATALOG_FOLDER id='cf'/>"
      "<CATALOG_REFERENCE id='cr'/>");
  EXPECT_EQ(Ids(reader_->Components()), "f1,f2,c1,c2");
  EXPECT_TRUE(Component(0).isFolder && !Component(0).isComponent);
  EXPECT_TRUE(Component(2).isComponent && !Component(2).isFolder);
  const CCatalog_Object& reference = *reader_->ComponentReferences().at(0);
  EXPECT_TRUE(reference.isComponentReference && reference.isFolder && !reference.isComponent);
  EXPECT_TRUE(reader_->CatalogFolders().at(0)->isCatalogFolder);
  EXPECT_TRUE(reader_->CatalogReferences().at(0)->isCatalogReference);
  EXPECT_EQ(Component(3).element.Attribute("id"), "c2");
}

TEST_F(ComponentXmlReaderTest, ChildElementsFillTheirFields) {
  EXPECT_EQ(Read("<COMPONENT id='C'><PROTOCOL name='HART'/><section name='NODE'/>"
                 "<COMPONENT_PATH name='\\a\\b/'/><CATALOG_PATH name='/x\\y\\'/><CATALOG_PARENT refid='cp'/>"
                 "<HWCN_Device name='d'/><HWCN_Rack name='r'/><HWCN_DeviceItem name='i'/>"
                 "<LABEL><string>L</string></LABEL><HELP><string lang='de'>H</string></HELP>"
                 "<ZARN>dev.ddl</ZARN><initial_values/><GSD><string>x/ABCD80F3.gsd</string>"
                 "<string>0A1B.gsd</string><string><b/></string></GSD></COMPONENT>"),
            0u);
  const CCatalog_Object& c = Component(0);
  EXPECT_EQ(c.protocol, "HART");
  EXPECT_EQ(c.section, "NODE");
  EXPECT_EQ(c.path, "a/b");
  EXPECT_EQ(c.ownPath, "a/b");
  EXPECT_EQ(c.idPath, "a/b");
  EXPECT_EQ(c.catalogPath, "x/y");
  EXPECT_EQ(c.catalogPathCopy, "x/y");
  EXPECT_EQ(c.catalogParentRef, "cp");
  EXPECT_EQ(c.hwcnDevice + c.hwcnRack + c.hwcnDeviceItem, "dri");
  EXPECT_EQ(c.label, "<LABEL><string>L</string></LABEL>");
  EXPECT_EQ(c.help, "<HELP><string lang=\"de\">H</string></HELP>");
  EXPECT_EQ(c.sourceFileRef, "dev.ddl");
  EXPECT_TRUE(c.hasInitialValues) << "child names are matched ignoring case";
  EXPECT_EQ(c.gsdIdents, "33011;2587");
}

TEST_F(ComponentXmlReaderTest, ComponentResolvedThroughAComponentReference) {
  Read(
      "<COMPONENT_REFERENCE id='Ref'><COMPONENT_PARENT refid='top'/><CLASSIFICATION name='Sensor'/>"
      "<PROTOCOL name='PROFIBUS'/><MANUFACTURER name='42'/><COMPONENT_PATH name='a/b'/></COMPONENT_REFERENCE>"
      "<COMPONENT id='C'><COMPONENT_PARENT refid='REF'/><PROTOCOL name='HART'/><COMPONENT_PATH name='x'/>"
      "</COMPONENT><COMPONENT id='D'><COMPONENT_PARENT refid='ref'/></COMPONENT>"
      "<COMPONENT id='E'><COMPONENT_PARENT refid='other'/></COMPONENT>");
  const CCatalog_Object& c = Component(0);
  EXPECT_EQ(c.protocol, "HART") << "own values stay";
  EXPECT_EQ(c.classification + "|" + c.section + "|" + c.manufacturer, "Sensor|DEVICE|0x002a");
  EXPECT_EQ(c.path, "a/b/x");
  EXPECT_EQ(c.idPath, "a/b/x");
  EXPECT_EQ(c.parentRef, "top");
  EXPECT_EQ(c.parentRefAsRead, "REF");
  EXPECT_TRUE(c.resolvedViaReference);
  const CCatalog_Object& d = Component(1);
  EXPECT_EQ(d.path, "a/b");
  EXPECT_EQ(d.idPath, "a/b/D") << "placed by parent without a path of its own";
  EXPECT_FALSE(Component(2).resolvedViaReference);
  EXPECT_EQ(Component(2).parentRef, "other");
}

struct FailureCase {
  const char* body;
  uint32_t code;
  const char* ids;
};

TEST_F(ComponentXmlReaderTest, InvalidObjectsGiveTheirCodesAndStayListed) {
  const FailureCase cases[] = {
      {"<COMPONENT><PROTOCOL name='P'/></COMPONENT>", ZARN_E_OBJECT_WITHOUT_ID, ""},
      {"<COMPONENT id='C'><LABEL/><PROTOCOL/></COMPONENT>", ZARN_E_CHILD_WITHOUT_NAME, "C"},
      {"<COMPONENT id='C'><COMPONENT_PARENT name='x'/></COMPONENT>", ZARN_E_CHILD_WITHOUT_NAME, "C"},
      {"<COMPONENT_FOLDER id='F'><CATALOG_PATH/></COMPONENT_FOLDER>", ZARN_E_CHILD_WITHOUT_NAME, "F"},
      // The status is that of the last child, and of the last object read.
      {"<COMPONENT id='C'><PROTOCOL/><LABEL/></COMPONENT>", 0, "C"},
      {"<COMPONENT/><COMPONENT_REFERENCE id='R'/>", 0, ""},
      {"<COMPONENT id='C'/><CATALOG_REFERENCE/>", ZARN_E_OBJECT_WITHOUT_ID, "C"},
  };
  for (const FailureCase& c : cases) {
    EXPECT_EQ(Read(c.body), c.code) << c.body;
    EXPECT_EQ(Ids(reader_->Components()), c.ids) << c.body;
  }
  // The componentZARN child added for a named source comes last and counts.
  EXPECT_EQ(Read("<COMPONENT id='C'><PROTOCOL/></COMPONENT>", "/d/x.ddl_comp.xml"), 0u);
}

TEST_F(ComponentXmlReaderTest, DocumentsThatCannotBeRead) {
  ComponentXmlReader reader(nullptr, false);
  EXPECT_EQ(reader.LoadText("<COMP_COMPONENTXML><version>"), ZARN_E_XML_LOAD);
  EXPECT_EQ(reader.Load("/no/such/file_comp.xml"), ZARN_E_XML_LOAD);
  ScratchDir dir;
  EXPECT_EQ(reader.Load(dir.path()), ZARN_E_XML_LOAD) << "a directory";
  ASSERT_EQ(reader.LoadText("<COMP_COMPONENTXML><COMPONENT id='C'/><RELATION/></COMP_COMPONENTXML>"), 0u);
  EXPECT_EQ(reader.Read("/d/x.ddl_comp.xml"), ZARN_E_NO_VERSION);
  EXPECT_TRUE(reader.Components().empty());
  EXPECT_EQ(reader.SourceName(), "");
  EXPECT_FALSE(reader.document()->Root().FirstChildElement("COMPONENT").FirstChildElement("componentZARN"));
}

TEST_F(ComponentXmlReaderTest, DepthFollowsParentChains) {
  EXPECT_EQ(Read("<COMPONENT id='A'><COMPONENT_PARENT refid='outside'/></COMPONENT>"
                 "<COMPONENT id='B'><COMPONENT_PARENT refid='a'/></COMPONENT>"
                 "<COMPONENT id='C'><COMPONENT_PARENT refid='B'/></COMPONENT>"
                 "<COMPONENT id='S'><COMPONENT_PARENT refid='S'/></COMPONENT><COMPONENT id='N'/>"),
            0u);
  std::string depths;
  for (const auto& object : reader_->Components()) depths += std::to_string(object->depth);
  EXPECT_EQ(depths, "12310");
}

TEST_F(ComponentXmlReaderTest, LoopingParentChainsEndWithACode) {
  const char* bodies[] = {
      "<COMPONENT id='A'><COMPONENT_PARENT refid='B'/></COMPONENT>"
      "<COMPONENT id='B'><COMPONENT_PARENT refid='A'/></COMPONENT>",
      "<COMPONENT id='X'><COMPONENT_PARENT refid='A'/></COMPONENT>"
      "<COMPONENT_FOLDER id='A'><COMPONENT_PARENT refid='B'/></COMPONENT_FOLDER>"
      "<COMPONENT_FOLDER id='B'><COMPONENT_PARENT refid='C'/></COMPONENT_FOLDER>"
      "<COMPONENT_FOLDER id='C'><COMPONENT_PARENT refid='A'/></COMPONENT_FOLDER>",
      "<CATALOG_FOLDER id='A'><CATALOG_PARENT refid='B'/></CATALOG_FOLDER>"
      "<CATALOG_FOLDER id='B'><CATALOG_PARENT refid='A'/></CATALOG_FOLDER>",
  };
  for (const char* body : bodies) {
    TraceCapture trace;
    EXPECT_EQ(Read(body), kParentChainLoop) << body;
    EXPECT_TRUE(trace.Contains("loops")) << body;
  }
}

TEST_F(ComponentXmlReaderTest, RelationsWithTypeAndComponents) {
  Read(
      "<COMPONENT_FOLDER id='F'><COMPONENT_RELATIONS>"
      "<COMPONENT_RELATION id='r1'><RELATION_TYPE><CHILD_COMPONENT/></RELATION_TYPE>"
      "<COMPONENTS><component><component_ref ref='a'/></component><component><x ref='b'/></component>"
      "</COMPONENTS></COMPONENT_RELATION></COMPONENT_RELATIONS>"
      "<COMPONENT id='C'><COMPONENT_RELATIONS>"
      "<COMPONENT_RELATION id='r2'><RELATION_TYPE><PARENT_COMPONENT/></RELATION_TYPE><COMPONENTS/>"
      "</COMPONENT_RELATION>"
      "<COMPONENT_RELATION id='r3'><RELATION_TYPE><OTHER/></RELATION_TYPE><COMPONENTS/></COMPONENT_RELATION>"
      "<COMPONENT_RELATION id='r4'><RELATION_TYPE><CHILD_COMPONENT/></RELATION_TYPE></COMPONENT_RELATION>"
      "</COMPONENT_RELATIONS></COMPONENT></COMPONENT_FOLDER>");
  const auto& relations = reader_->Relations();
  ASSERT_EQ(relations.size(), 2u);
  const CCatalog_Object& r1 = *relations[0];
  EXPECT_TRUE(r1.isRelation && r1.isFolder);
  EXPECT_EQ(r1.relationOwnerId, "F");
  ASSERT_EQ(r1.relationRefs.size(), 2u);
  EXPECT_EQ(r1.relationRefs[0] + r1.relationRefs[1], "ab");
  EXPECT_FALSE(r1.isParentRelation);
  EXPECT_EQ(r1.relationElement.Attribute("id"), "r1");
  EXPECT_EQ(relations[1]->relationOwnerId, "C");
  EXPECT_TRUE(relations[1]->isParentRelation);
}

TEST_F(ComponentXmlReaderTest, ListDocument) {
  ComponentXmlReader reader(nullptr, false);
  ASSERT_EQ(reader.LoadText("<COMP_COMPONENTXML inPath='/src'><COMPONENT_XML tmpPath='/t/a_comp.xml'/>"
                            "<g><COMPONENT_XML tmpPath='/t/b_comp.xml'/></g><COMPONENT_XML/></COMP_COMPONENTXML>"),
            0u);
  reader.ReadListDocument();
  EXPECT_EQ(reader.InPath(), "/src");
  ASSERT_EQ(reader.TempPaths().size(), 2u);
  EXPECT_EQ(reader.TempPaths()[1], "/t/b_comp.xml");
}

// Identification of the source through the compiler library's preprocessor.
class ComponentXmlIdentificationTest : public ComponentXmlReaderTest {
 protected:
  void SetUp() override {
    if (!CompilerLibrary::Instance().available()) GTEST_SKIP() << "compiler library not built";
    identify_ = true;
  }
  // Writes the source `name` and reads `body` from `name`_comp.xml beside it.
  uint32_t ReadBeside(const std::string& name, const std::string& dd_revision, const std::string& body) {
    EXPECT_TRUE(WriteFile(dir_.Join(name),
                          "MANUFACTURER 42,\nDEVICE_TYPE 0x1234,\nDEVICE_REVISION 2,\n"
                          "DD_REVISION " +
                              dd_revision + "\n"));
    return Read(body, dir_.Join(name + "_comp.xml"));
  }
  ScratchDir dir_;
};

TEST_F(ComponentXmlIdentificationTest, ElementsWrittenFromTheSource) {
  table_["0x002a"] = "Acme";
  EXPECT_EQ(ReadBeside("dev.ddl", "\"1.2\"", "<COMPONENT_FOLDER id='F'/><COMPONENT id='C'/>"), 0u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(ChildText(i, "DD_REVISION"), "1.2");
    EXPECT_EQ(ChildText(i, "DEVICE_REVISION"), "0x0002");
    EXPECT_EQ(ChildText(i, "DEVICE_TYPE"), "0x1234");
    EXPECT_EQ(ChildText(i, "MANUFACTURER"), "0x002a");
    EXPECT_EQ(Component(i).manufacturer, "Acme");
    EXPECT_EQ(Component(i).deviceType, "0x1234");
  }
  ReadBeside("dev.ddl", "0x3", "<COMPONENT id='C'><MANUFACTURER name='Own'/></COMPONENT>");
  EXPECT_EQ(ChildText(0, "DD_REVISION"), "0x0003");
  EXPECT_EQ(Component(0).manufacturer, "Own") << "a named manufacturer wins";
  table_.clear();
  ReadBeside("dev.ddl", "17", "<COMPONENT id='C'/>");
  EXPECT_EQ(ChildText(0, "DD_REVISION"), "0x0011");
  EXPECT_EQ(Component(0).manufacturer, "42") << "unknown numbers stay as written";
}

TEST_F(ComponentXmlIdentificationTest, CatalogLevelsKeepTheirOwnPlacement) {
  table_["0x002a"] = "Acme";
  EXPECT_EQ(ReadBeside("dev.ddl", "1",
                       "<COMPONENT_FOLDER id='P' catalogLevel='true'><PROTOCOL name='HART'/></COMPONENT_FOLDER>"
                       "<COMPONENT_FOLDER id='M' catalogLevel='true'><CLASSIFICATION name='SENSOR'/>"
                       "<MANUFACTURER_EXT name='0x2a'/></COMPONENT_FOLDER>"
                       "<COMPONENT_FOLDER id='F' catalogLevel='false'/><COMPONENT id='C' catalogLevel='true'/>"),
            0u);
  EXPECT_TRUE(Component(0).isCatalogLevel);
  EXPECT_EQ(Component(0).manufacturer, "") << "the device's manufacturer is not the protocol's";
  EXPECT_EQ(Component(0).deviceType, "");
  EXPECT_EQ(ChildText(0, "MANUFACTURER"), "<none>");
  EXPECT_EQ(ChildText(0, "DEVICE_TYPE"), "<none>");
  EXPECT_EQ(Component(1).manufacturer, "Acme") << "a level's own manufacturer places it";
  EXPECT_FALSE(Component(2).isCatalogLevel);
  EXPECT_EQ(Component(2).manufacturer, "Acme");
  EXPECT_FALSE(Component(3).isCatalogLevel) << "only folders describe levels";
  EXPECT_EQ(ChildText(3, "DEVICE_TYPE"), "0x1234");
}

TEST_F(ComponentXmlIdentificationTest, IdentificationClearsTheStatusOfEarlierObjects) {
  EXPECT_EQ(ReadBeside("dev.ddl", "1", "<COMPONENT/>"), 0u);
  EXPECT_EQ(ReadBeside("dev.ddl", "1", "<COMPONENT/><CATALOG_FOLDER/>"), ZARN_E_OBJECT_WITHOUT_ID);
  EXPECT_EQ(Read("<COMPONENT/>", dir_.Join("none.device.xml_comp.xml")), ZARN_E_OBJECT_WITHOUT_ID)
      << "no source to identify";
}

}  // namespace
}  // namespace zarn
