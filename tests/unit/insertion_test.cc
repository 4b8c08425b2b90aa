// Insertion of component XML into the catalog, and of ready fragments.
#include "tests/unit/insert_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

class InsertionTest : public InsertFixture {
 protected:
  // A component XML document around `body`, with level folders for protocol HART and
  // classification SENSOR_FLOW_CORIOLIS (the components create the maker level).
  static std::string Doc(const std::string& body) {
    return "<COMP_COMPONENTXML><version/>"
           "<COMPONENT_FOLDER id='PROTOCOL.HART'><PROTOCOL name='HART'/><LABEL><string>HART</string></LABEL>"
           "</COMPONENT_FOLDER>"
           "<COMPONENT_FOLDER id='CLASSIFICATION.HART.C'><PROTOCOL name='HART'/>"
           "<CLASSIFICATION name='SENSOR_FLOW_CORIOLIS'/></COMPONENT_FOLDER>" +
           body + "</COMP_COMPONENTXML>";
  }
  static constexpr const char* kSection = "<ZARN_CATALOG><section id='DEVICE'/></ZARN_CATALOG>";
  // A HART sensor component of maker M with optional extra children.
  static std::string Device(const std::string& id, const std::string& extra = "") {
    return "<COMPONENT id='" + id +
           "'><PROTOCOL name='HART'/><CLASSIFICATION name='SENSOR_FLOW_CORIOLIS'/><MANUFACTURER name='M'/>"
           "<LABEL><string>" +
           id + "</string></LABEL>" + extra + "</COMPONENT>";
  }
  static constexpr const char* kDevicePath = "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/M/";
  // The level chain HART, SENSOR, FLOW, CORIOLIS and M as the insertion builds it
  // around `inner`, and a component DEV of Device() as it is placed there.
  static std::string Levels(const std::string& inner) {
    return "<PROTOCOL id='HART' ddRevision=''><LABEL><string>HART</string></LABEL><CLASSIFICATION id='SENSOR'>"
           "<CLASSIFICATION id='FLOW'><CLASSIFICATION id='CORIOLIS'><MANUFACTURER id='M'><LABEL><string>M</string>"
           "</LABEL>" +
           inner + "</MANUFACTURER></CLASSIFICATION></CLASSIFICATION></CLASSIFICATION></PROTOCOL>";
  }
  static std::string Placed(const std::string& id, const std::string& extra = "") {
    return "<COMPONENT id='" + id + "' ddRevision=''><MANUFACTURER name='M'/><LABEL><string>" + id +
           "</string></LABEL>" + extra + "<componentID>" + id + "</componentID></COMPONENT>";
  }
  static std::string InSection(const std::string& inner) {
    return "<ZARN_CATALOG><section id='DEVICE'>" + inner + "</section></ZARN_CATALOG>";
  }
  std::string InsertedPaths() {
    std::string out;
    for (Node n : inserted_) out += Path(n) + ";";
    return out;
  }
};

TEST_F(InsertionTest, FirstImportBuildsEveryLevelOfAnEmptyCatalog) {
  LoadCatalog("");
  ASSERT_EQ(Insert(Doc(Device("DEV1"))), 0u);
  EXPECT_EQ(InsertedPaths(), "/HART/SENSOR/FLOW/CORIOLIS/M/DEV1;") << "without a section the protocol is top";
  EXPECT_EQ(objects_.at(2)->backslashPath, "\\HART\\SENSOR\\FLOW\\CORIOLIS\\M\\DEV1");
  // No temporary marks, no placeholders, no protocol or classification copied, and
  // the levels only lose their temporary ids.
  EXPECT_XML(Xml(), "<ZARN_CATALOG>" + Levels(Placed("DEV1")) + "</ZARN_CATALOG>");
}

TEST_F(InsertionTest, SecondComponentReusesTheLevels) {
  LoadCatalog(kSection);
  ASSERT_EQ(Insert(Doc(Device("DEV1"))), 0u);
  ASSERT_EQ(Insert(Doc(Device("DEV2"))), 0u);
  EXPECT_EQ(InsertedPaths(), std::string(kDevicePath) + "DEV2;");
  EXPECT_XML(Xml(), InSection(Levels(Placed("DEV1") + Placed("DEV2")))) << "content of matched levels is not doubled";
}

TEST_F(InsertionTest, ImportingAgainReportsThePresentComponent) {
  LoadCatalog(kSection);
  const std::string revisions = "<DD_REVISION>0x0001</DD_REVISION><DEVICE_REVISION>0x0002</DEVICE_REVISION>";
  ASSERT_EQ(Insert(Doc(Device("DEV1", revisions))), 0u);
  EXPECT_EQ(Insert(Doc(Device("DEV1", revisions))), ZARN_E_SAME_DEVICE_REVISION);
  EXPECT_EQ(Insert(Doc(Device("DEV1", "<DD_REVISION>0x0009</DD_REVISION>"))), ZARN_E_OTHER_DD_REVISION);
  EXPECT_XML(Xml(), InSection(Levels(Placed("DEV1", revisions))));
}

TEST_F(InsertionTest, FoldersAndComponentsInFolders) {
  LoadCatalog(kSection);
  ASSERT_EQ(Insert(Doc("<COMPONENT_FOLDER id='fam'><PROTOCOL name='HART'/><CLASSIFICATION name='SENSOR_FLOW_CORIOLIS'/>"
                       "<MANUFACTURER name='M'/><COMPONENT_PATH name='\\Family\\'/><HELP>h</HELP></COMPONENT_FOLDER>"
                       "<COMPONENT_FOLDER id='sub'><PROTOCOL name='HART'/><CLASSIFICATION name='SENSOR_FLOW_CORIOLIS'/>"
                       "<MANUFACTURER name='M'/><COMPONENT_PATH name='Family/Sub/Deeper'/></COMPONENT_FOLDER>" +
                       Device("DEV1", "<COMPONENT_PATH name='Family/DEV1'/>"))),
            0u);
  // Every folder created on the way carries the object's id.
  EXPECT_XML(Xml(), InSection(Levels("<COMPONENT_FOLDER id='Family'><MANUFACTURER name='M'/><HELP>h</HELP>"
                                     "<COMPONENT_FOLDER id='Sub'><COMPONENT_FOLDER id='Deeper'><MANUFACTURER name='M'/>"
                                     "<componentID>sub</componentID></COMPONENT_FOLDER><componentID>sub</componentID>"
                                     "</COMPONENT_FOLDER>" +
                                     Placed("DEV1") + "<componentID>fam</componentID></COMPONENT_FOLDER>")));
  EXPECT_EQ(objects_.at(4)->backslashPath, "\\DEVICE\\HART\\SENSOR\\FLOW\\CORIOLIS\\M\\Family\\DEV1");
}

// A folder is created also when its name is, or is part of, the name of a level
// above it: names are compared segment by segment, below the object's own levels.
TEST_F(InsertionTest, FoldersNamedLikeALevelAboveThemAreStillCreated) {
  LoadCatalog(kSection);
  ASSERT_EQ(Insert(Doc(Device("DEV1", "<COMPONENT_PATH name='M/DEV1'/>") +
                       Device("DEV2", "<COMPONENT_PATH name='FLOW/DEV2'/>") +
                       Device("DEV3", "<COMPONENT_PATH name='COR/Sub/DEV3'/>"))),
            0u);
  EXPECT_EQ(InsertedPaths(),
            std::string(kDevicePath) + "M/DEV1;" + kDevicePath + "FLOW/DEV2;" + kDevicePath + "COR/Sub/DEV3;");
  ASSERT_EQ(Insert(Doc(Device("DEV4", "<COMPONENT_PATH name='M/DEV4'/>"))), 0u);
  EXPECT_EQ(InsertedPaths(), std::string(kDevicePath) + "M/DEV4;") << "a later import finds the folder";
  EXPECT_XML(Xml(),
             InSection(Levels("<COMPONENT_FOLDER id='M'>" + Placed("DEV1") + "<componentID>DEV1</componentID>" +
                              Placed("DEV4") + "</COMPONENT_FOLDER><COMPONENT_FOLDER id='FLOW'>" + Placed("DEV2") +
                              "<componentID>DEV2</componentID></COMPONENT_FOLDER><COMPONENT_FOLDER id='COR'>"
                              "<COMPONENT_FOLDER id='Sub'>" +
                              Placed("DEV3") +
                              "<componentID>DEV3</componentID></COMPONENT_FOLDER><componentID>DEV3</componentID>"
                              "</COMPONENT_FOLDER>")));
}

TEST_F(InsertionTest, ChildPlacedByParentReferenceIsVirtual) {
  LoadCatalog(kSection);
  ASSERT_EQ(Insert(Doc(Device("MOD") + "<COMPONENT id='SUB'><COMPONENT_PARENT refid='MOD'/></COMPONENT>")), 0u);
  const Node sub = First("//COMPONENT[@id='MOD']/COMPONENT[@id='SUB']");
  ASSERT_TRUE(sub);
  EXPECT_EQ(sub.Attribute("virtual"), "true");
  ASSERT_EQ(objects_.at(3)->id, "SUB");
  EXPECT_EQ(objects_.at(3)->backslashPath, objects_.at(2)->backslashPath) << "a virtual child shares the directory";
  EXPECT_EQ(InsertedPaths(), std::string(kDevicePath) + "MOD;" + kDevicePath + "MOD/SUB;");
}

TEST_F(InsertionTest, UniversalComponentsWithoutClassificationGoBelowUniversal) {
  LoadCatalog(kSection);
  ASSERT_EQ(Insert("<COMP_COMPONENTXML><version/><COMPONENT_FOLDER id='PROTOCOL.HART'><PROTOCOL name='HART'/>"
                   "</COMPONENT_FOLDER><COMPONENT id='U1'><PROTOCOL name='HART'/><MANUFACTURER name='M'/></COMPONENT>"
                   "</COMP_COMPONENTXML>",
                   true),
            0u);
  EXPECT_XML(Xml(), InSection("<CLASSIFICATION id='UNIVERSAL'><PROTOCOL id='HART'><MANUFACTURER id='M'><LABEL>"
                              "<string>M</string></LABEL><COMPONENT id='U1' ddRevision=''><MANUFACTURER name='M'/>"
                              "<componentID>U1</componentID></COMPONENT></MANUFACTURER></PROTOCOL></CLASSIFICATION>"));
}

TEST_F(InsertionTest, PlaceholderForALaterComponentIsMergedWhenItArrives) {
  // An earlier import left a placeholder for DEV1 that holds a relation.
  LoadCatalog(
      std::string("<ZARN_CATALOG><section id='DEVICE'><PROTOCOL id='HART'><CLASSIFICATION id='SENSOR'>"
                  "<CLASSIFICATION id='FLOW'><CLASSIFICATION id='CORIOLIS'><MANUFACTURER id='M'>"
                  "<COMPONENT_FOLDER id='DEV1' isArtificial='true'><COMPONENT_RELATIONS>"
                  "<COMPONENT_RELATION id='fromChild'/></COMPONENT_RELATIONS></COMPONENT_FOLDER>"
                  "</MANUFACTURER></CLASSIFICATION></CLASSIFICATION></CLASSIFICATION></PROTOCOL></section>"
                  "</ZARN_CATALOG>"));
  ASSERT_EQ(Insert(Doc(Device("DEV1", "<COMPONENT_RELATIONS><COMPONENT_RELATION id='own'/></COMPONENT_RELATIONS>"))),
            0u);
  EXPECT_XML(Xml(), InSection("<PROTOCOL id='HART'><CLASSIFICATION id='SENSOR'><CLASSIFICATION id='FLOW'>"
                              "<CLASSIFICATION id='CORIOLIS'><MANUFACTURER id='M'>" +
                              Placed("DEV1",
                                     "<COMPONENT_RELATIONS><COMPONENT_RELATION id='own'/>"
                                     "<COMPONENT_RELATION id='fromChild'/></COMPONENT_RELATIONS>") +
                              "</MANUFACTURER></CLASSIFICATION></CLASSIFICATION></CLASSIFICATION>"
                              "<LABEL><string>HART</string></LABEL></PROTOCOL>"));
}

TEST_F(InsertionTest, ComponentsThatCreateTheNewOneAreReturnedForUpdate) {
  LoadCatalog(
      std::string("<ZARN_CATALOG><section id='DEVICE'><COMPONENT id='Head'><COMPONENT_RELATIONS>"
                  "<COMPONENT_RELATION><RELATION_TYPE><CHILD_COMPONENT/></RELATION_TYPE><COMPONENTS>"
                  "<component><component_ref>/DEVICE/HART/SENSOR</component_ref></component></COMPONENTS>"
                  "</COMPONENT_RELATION></COMPONENT_RELATIONS><COMPONENT id='Inner'/></COMPONENT>"
                  "<COMPONENT id='Stranger'/></section></ZARN_CATALOG>"));
  ASSERT_EQ(Insert(Doc(Device("DEV1"))), 0u);
  EXPECT_EQ(InsertedPaths(), "/DEVICE/Head;/DEVICE/Head/Inner;" + std::string(kDevicePath) + "DEV1;");
  EXPECT_EQ(Count("//*[@idTmp]"), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='Head']/componentID[.='UpdateThisComponent']"), 1u);
}

TEST_F(InsertionTest, CatalogReferencesPointToTheInsertedComponent) {
  LoadCatalog(kSection);
  ASSERT_EQ(
      Insert(
          Doc("<CATALOG_FOLDER id='fav'><CATALOG_PATH name='Favourites'/></CATALOG_FOLDER>" +
              Device("DEV1",
                     "<COMPONENT_PATH name='DEV1'/><CATALOG_PARENT refid='fav'/><CATALOG_PATH name='Ignored/Mine'/>"))),
      0u);
  // The catalog parent wins over the catalog path.
  EXPECT_XML(Xml(), "<ZARN_CATALOG><section id='DEVICE'>" + Levels(Placed("DEV1")) +
                        "</section><CATALOG_FOLDER id='Favourites'><COMPONENT id='Mine'><component_ref>" + kDevicePath +
                        "DEV1</component_ref></COMPONENT></CATALOG_FOLDER></ZARN_CATALOG>");
}

TEST_F(InsertionTest, IdsThatCannotNameADirectoryAreRefused) {
  const std::string bad[] = {
      Device(".."),
      Device("a/b"),
      Device("DEV1", "<COMPONENT_PATH name='x/../../etc/DEV1'/>"),
      "<COMPONENT id='D'><PROTOCOL name='/abs'/></COMPONENT>",
      "<COMPONENT id='D'><MANUFACTURER name='..'/></COMPONENT>",
  };
  for (const std::string& body : bad) {
    LoadCatalog(kSection);
    const std::string before = Xml();
    EXPECT_EQ(Insert(Doc(body)), ZARN_E_IMPORT_ARGUMENT) << body;
    EXPECT_EQ(Xml(), before) << body;
  }
}

TEST_F(InsertionTest, MissingReaderIsRefused) {
  LoadCatalog("");
  EXPECT_EQ(C().AddComponents(nullptr, &objects_, &inserted_), ZARN_E_NO_COMPONENT);
}

TEST_F(InsertionTest, RelationWithoutCreatorFails) {
  LoadCatalog(kSection);
  testing::TraceCapture trace;
  EXPECT_EQ(Insert(Doc(Device("DEV1",
                              "<COMPONENT_RELATIONS><COMPONENT_RELATION id='r'><RELATION_TYPE>"
                              "<SIBLING_COMPONENT/></RELATION_TYPE><COMPONENTS><component>"
                              "<component_ref ref='ELSEWHERE'/></component></COMPONENTS>"
                              "</COMPONENT_RELATION></COMPONENT_RELATIONS>"))),
            0u)
      << "the owner creates the reference itself";
  EXPECT_EQ(Count("//section/COMPONENT_RELATIONS/COMPONENT_RELATION[RELATION_TYPE/CHILD_COMPONENT]"
                  "/COMPONENTS/component[component_ref='" +
                  std::string(kDevicePath) +
                  "DEV1']"
                  "[component_ref_org='ELSEWHERE']"),
            1u);
  trace.Clear();
  ReadComponents(Doc(Device("DEV2",
                            "<COMPONENT_RELATIONS><COMPONENT_RELATION id='r'><RELATION_TYPE>"
                            "<SIBLING_COMPONENT/></RELATION_TYPE><COMPONENTS><component>"
                            "<component_ref ref='X'/></component></COMPONENTS></COMPONENT_RELATION>"
                            "</COMPONENT_RELATIONS>")));
  reader_->Relations().at(0)->relationOwnerId = "nobody";
  EXPECT_EQ(C().AddComponents(reader_.get(), &objects_, &inserted_), ZARN_E_NO_PARENT_CREATOR);
  EXPECT_TRUE(trace.Contains("no creator was found")) << "traced";
}

TEST_F(InsertionTest, RewriteReplacesAReferenceByIdWithAPath) {
  LoadCatalog(
      "<ZARN_CATALOG><E><COMPONENT_RELATIONS><COMPONENT_RELATION><X><COMPONENTS><component>"
      "<component_ref ref='old'/></component></COMPONENTS></X></COMPONENT_RELATION>"
      "</COMPONENT_RELATIONS></E></ZARN_CATALOG>");
  const std::string before = Xml();
  C().RewriteComponentRef(First("//E"), "other", "/new");
  EXPECT_EQ(Xml(), before);
  C().RewriteComponentRef(First("//E"), "old", "/new");
  EXPECT_XML(Xml(),
             "<ZARN_CATALOG><E><COMPONENT_RELATIONS><COMPONENT_RELATION><X><COMPONENTS><component>"
             "<component_ref>/new</component_ref><component_ref_org>old</component_ref_org></component></COMPONENTS>"
             "</X></COMPONENT_RELATION></COMPONENT_RELATIONS></E></ZARN_CATALOG>");
}

TEST_F(InsertionTest, InsertXmlReplacesSameIdAndConvertsTemporaryIds) {
  LoadCatalog("<ZARN_CATALOG><P id='P'><LIB id='PI'><old/></LIB><LIB id='other'/></P></ZARN_CATALOG>");
  const Node p = First("//P");
  NodeList list;
  testing::TraceCapture trace;
  EXPECT_EQ(C().insertXml("<LIB id='PI'><COMPONENT id='a'/>", p, &list), ZARN_E_DOCUMENT);
  EXPECT_TRUE(trace.Contains("error loading Xml"));
  ASSERT_EQ(C().insertXml("<LIB id='PI'><M id='m'><COMPONENT id='a'/><COMPONENT id='b'/></M></LIB>", p, &list), 0u);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(Path(list[1]), "/P/PI/m/b");
  ASSERT_EQ(C().insertXml("<LIB><COMPONENT id='c'/></LIB>", p, &list), 0u);
  EXPECT_XML(Xml(),
             "<ZARN_CATALOG><P id='P'><LIB id='other'/><LIB id='PI'><M id='m'><COMPONENT id='a'>"
             "<componentID>idTmp</componentID></COMPONENT><COMPONENT id='b'><componentID>idTmp</componentID>"
             "</COMPONENT></M></LIB><LIB><COMPONENT id='c'><componentID>idTmp</componentID></COMPONENT></LIB></P>"
             "</ZARN_CATALOG>")
      << "without an id the fragment goes beside";
  EXPECT_EQ(C().insertXml("<LIB/>", Node(), &list), ZARN_E_DOCUMENT);
}

}  // namespace
}  // namespace zarn
