// Component and folder nodes: backslash paths, matching, placement of folder and
// component objects, placeholders and temporary ids.
#include "tests/unit/insert_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

class ComponentNodesTest : public InsertFixture {
 protected:
  // A component object whose source element is `source_xml` (its id, revisions).
  CCatalog_Object* Component(const std::string& source_xml, const std::string& path) {
    std::string error;
    sources_.push_back(xml::Document::LoadText(source_xml, &error));
    CCatalog_Object* o = Make(CCatalog_Object::Kind::kComponent);
    o->element = sources_.back()->Root();
    o->id = o->element.Attribute("id").value_or("");
    o->path = o->ownPath = o->idPath = path;
    return o;
  }
  std::vector<std::unique_ptr<xml::Document>> sources_;
};

constexpr const char* kTree =
    "<ZARN_CATALOG><section id='DEVICE'><PROTOCOL id='P'><CLASSIFICATION id='C'><MANUFACTURER id='M'>"
    "<COMPONENT_FOLDER id='F'><COMPONENT id='X'><DD_REVISION>0x0001</DD_REVISION>"
    "<DEVICE_REVISION>0x0002</DEVICE_REVISION></COMPONENT></COMPONENT_FOLDER>"
    "<COMPONENT_FOLDER id='V' virtual='true'><COMPONENT id='Y'/></COMPONENT_FOLDER>"
    "<COMPONENT id='Z' virtual='true'/><COMPONENT id='Plain'/>"
    "</MANUFACTURER></CLASSIFICATION></PROTOCOL></section></ZARN_CATALOG>";

TEST_F(ComponentNodesTest, BackslashPathSkipsIdsOfVirtualElements) {
  LoadCatalog(kTree);
  EXPECT_EQ(Backslash(First("//COMPONENT[@id='X']")), "\\DEVICE\\P\\C\\M\\F\\X");
  EXPECT_EQ(Backslash(First("//COMPONENT[@id='Y']")), "\\DEVICE\\P\\C\\M\\\\Y");
  EXPECT_EQ(Backslash(First("//COMPONENT[@id='Z']")), "\\DEVICE\\P\\C\\M") << "a virtual start adds nothing";
  EXPECT_EQ(Backslash(Node()), "\\");
}

TEST_F(ComponentNodesTest, LastPathSegment) {
  const std::pair<const char*, const char*> cases[] = {{"A/B/", ""}, {"A", "A"}, {"A/B", "B"}, {"", ""}};
  for (const auto& [path, last] : cases) EXPECT_EQ(CCatalog_Contents::LastPathSegment(path), last) << path;
}

TEST_F(ComponentNodesTest, MatchingUsesTheOwnSegmentAndTheElementName) {
  LoadCatalog(kTree);
  const Node x = First("//COMPONENT[@id='X']");
  EXPECT_TRUE(C().MatchesCatalogObject(x, *Component("<COMPONENT id='any'/>", "F/X/")));
  EXPECT_FALSE(C().MatchesCatalogObject(x, *Component("<COMPONENT id='any'/>", "F/x")));
  EXPECT_FALSE(C().MatchesCatalogObject(x, *Component("<COMPONENT_FOLDER id='X'/>", "X")));
  CCatalog_Object* by_reference = Component("<COMPONENT id='X'/>", "");
  by_reference->parentRefAsRead = "F";
  EXPECT_TRUE(C().MatchesCatalogObject(x, *by_reference));
}

TEST_F(ComponentNodesTest, ComponentAlreadyPresentReportsTheRevisionSituation) {
  struct Case {
    const char* revisions;
    uint32_t code;
  } cases[] = {
      {"<DD_REVISION>0X0001</DD_REVISION>", ZARN_E_SAME_DD_REVISION},
      {"<DD_REVISION>0x0003</DD_REVISION>", ZARN_E_OTHER_DD_REVISION},
      {"<DD_REVISION>0x0003</DD_REVISION><DEVICE_REVISION>0x0002</DEVICE_REVISION>", ZARN_E_SAME_DEVICE_REVISION},
      {"<DD_REVISION>0x0001</DD_REVISION><DEVICE_REVISION>0x0009</DEVICE_REVISION>", ZARN_E_OTHER_DEVICE_REVISION},
      {"", ZARN_E_ALREADY_PRESENT},
  };
  LoadCatalog(kTree);
  for (const Case& c : cases) {
    CCatalog_Object* o = Component(std::string("<COMPONENT id='X'>") + c.revisions + "</COMPONENT>", "F/X");
    EXPECT_EQ(C().PlaceComponent(First("//COMPONENT[@id='X']"), o), c.code) << c.revisions;
    EXPECT_FALSE(o->update);
  }
}

TEST_F(ComponentNodesTest, ComponentCreatesMissingFolderAndRecordsItsDirectory) {
  LoadCatalog(kTree);
  CCatalog_Object* o = Component("<COMPONENT id='NEW'><LABEL><string>n</string></LABEL></COMPONENT>", "G/NEW");
  o->protocol = "P";
  o->manufacturer = "M";
  o->componentReferenceNode = First("//MANUFACTURER");
  ASSERT_EQ(C().PlaceComponent(First("//MANUFACTURER"), o), 0u);
  EXPECT_EQ(Path(o->catalogNode), "/DEVICE/P/C/M/G/NEW");
  EXPECT_EQ(o->backslashPath, "\\DEVICE\\P\\C\\M\\G\\NEW");
  EXPECT_XML(First("//COMPONENT_FOLDER[@id='G']").OuterXml(),
             "<COMPONENT_FOLDER id='G' idTmp='NEW'><COMPONENT id='NEW' ddRevision='' idTmp='NEW'>"
             "<LABEL><string>n</string></LABEL></COMPONENT></COMPONENT_FOLDER>");
}

TEST_F(ComponentNodesTest, PlaceholderManufacturerBecomesRealForItsFolderObject) {
  LoadCatalog(
      "<ZARN_CATALOG><section id='DEVICE'><PROTOCOL id='P'><CLASSIFICATION id='C'>"
      "<MANUFACTURER id='M' isArtificial='true'/></CLASSIFICATION></PROTOCOL></section></ZARN_CATALOG>");
  CCatalog_Object* o = Component("<COMPONENT_FOLDER id='mf'><HELP>h</HELP></COMPONENT_FOLDER>", "");
  o->isComponent = false;
  o->isFolder = true;
  o->protocol = "P";
  o->classification = "C";
  o->manufacturer = "M";
  const Node m = First("//MANUFACTURER");
  ASSERT_EQ(C().PlaceFolderObject(m, o, false), 0u);
  EXPECT_EQ(o->catalogNode, m);
  EXPECT_XML(m.OuterXml(), "<MANUFACTURER id='M'><HELP>h</HELP></MANUFACTURER>");
  EXPECT_EQ(o->backslashPath, "\\DEVICE\\P\\C\\M");
  o->section = "DEVICE";
  o->protocol = o->classification = o->manufacturer = "";
  EXPECT_EQ(C().PlaceFolderObject(Node(), o, false), ZARN_E_NO_LEVEL);
}

TEST_F(ComponentNodesTest, FolderChainWithoutAcceptArtificialStopsBeforePlaceholders) {
  LoadCatalog(
      "<ZARN_CATALOG><M id='M'><COMPONENT_FOLDER id='A' isArtificial='true'><COMPONENT_FOLDER "
      "id='B'/></COMPONENT_FOLDER>"
      "<COMPONENT_FOLDER id='A'/><COMPONENT id='K'/></M></ZARN_CATALOG>");
  Node n = First("//M");
  C().ResolveComponentFolderPath(&n, "/A/B/", false, false);
  EXPECT_FALSE(n.HasAttribute("isArtificial"));
  EXPECT_EQ(Path(n), "/M/A") << "the real A, no B below it";
  n = First("//M");
  C().ResolveComponentFolderPath(&n, "A/B", true, false);
  EXPECT_EQ(Path(n), "/M/A/B") << "the placeholder comes first";
  n = First("//M");
  C().ResolveComponentFolderPath(&n, "k/NEW", true, true);
  EXPECT_EQ(Path(n), "/M/K/NEW");
  EXPECT_EQ(n.Attribute("isArtificial"), "true");
}

TEST_F(ComponentNodesTest, PlaceholdersMergeIntoTheirTwinWithTheirRelations) {
  LoadCatalog(
      "<ZARN_CATALOG><P id='P'>"
      "<COMPONENT_FOLDER id='T' isArtificial='true'><COMPONENT_RELATIONS><COMPONENT_RELATION id='r1'/>"
      "</COMPONENT_RELATIONS><COMPONENT_FOLDER id='Sub' isArtificial='true'/><Other/></COMPONENT_FOLDER>"
      "<COMPONENT_FOLDER id='T' isArtificial='true'><COMPONENT_FOLDER id='Sub'/></COMPONENT_FOLDER>"
      "<COMPONENT_FOLDER id='Alone' isArtificial='true'/></P></ZARN_CATALOG>");
  std::vector<std::string> removed;
  C().MergeArtificialNodes(&removed, Node(), Node());
  EXPECT_EQ(removed, (std::vector<std::string>{"/P/T/Sub", "/P/T"}));
  EXPECT_XML(Xml(),
             "<ZARN_CATALOG><P id='P'><COMPONENT_FOLDER id='T' isArtificial='true'><COMPONENT_FOLDER id='Sub'/>"
             "<COMPONENT_RELATIONS><COMPONENT_RELATION id='r1'/></COMPONENT_RELATIONS></COMPONENT_FOLDER>"
             "<COMPONENT_FOLDER id='Alone' isArtificial='true'/></P></ZARN_CATALOG>");
}

TEST_F(ComponentNodesTest, TemporaryIdsBecomeComponentIdsOnce) {
  LoadCatalog(
      "<ZARN_CATALOG><section id='S' idTmp='s'><COMPONENT_FOLDER id='F' idTmp='f'>"
      "<COMPONENT id='X' idTmp='x2'><componentID>x1</componentID></COMPONENT></COMPONENT_FOLDER>"
      "</section></ZARN_CATALOG>");
  C().ConvertTemporaryIds();
  EXPECT_XML(Xml(),
             "<ZARN_CATALOG><section id='S'><COMPONENT_FOLDER id='F'><COMPONENT id='X'><componentID>x1</componentID>"
             "</COMPONENT><componentID>f</componentID></COMPONENT_FOLDER></section></ZARN_CATALOG>");
}

TEST_F(ComponentNodesTest, CatalogFoldersAreCreatedAlongTheirPath) {
  LoadCatalog("<ZARN_CATALOG><CATALOG_FOLDER id='Fav'/></ZARN_CATALOG>");
  CCatalog_Object* o = Make(CCatalog_Object::Kind::kCatalogFolder);
  o->id = "cf";
  o->catalogPath = "Fav/Mine/Deep";
  const Node node = C().FindCatalogFolderNode(o, true);
  EXPECT_EQ(Path(node), "/Fav/Mine/Deep");
  ASSERT_EQ(C().PlaceCatalogFolder(node, o), 0u);
  EXPECT_EQ(node.Attribute("idTmp"), "cf") << "the whole path exists: the last folder is the object's";
  CCatalog_Object* partial = Make(CCatalog_Object::Kind::kCatalogFolder);
  partial->id = "p";
  partial->catalogPath = "Fav/New";
  ASSERT_EQ(C().PlaceCatalogFolder(C().FindCatalogFolderNode(partial, false), partial), 0u);
  EXPECT_EQ(Path(partial->catalogNode), "/Fav/New");
  EXPECT_EQ(partial->catalogNode.Attribute("idTmp"), "p");
  EXPECT_EQ(C().PlaceCatalogFolder(Node(), o), ZARN_E_NO_CATALOG_FOLDER_NODE);
}

TEST_F(ComponentNodesTest, ParentReferencesResolveWholeChainsInLevelOrder) {
  LoadCatalog("");
  ReadComponents(
      "<X><version/><COMPONENT id='C'><COMPONENT_PARENT refid='B'/></COMPONENT>"
      "<COMPONENT id='B'><COMPONENT_PARENT refid='A'/><COMPONENT_PATH name='bf'/></COMPONENT>"
      "<COMPONENT id='A'><PROTOCOL name='P'/><MANUFACTURER name='M'/><CLASSIFICATION name='SENSOR'/>"
      "</COMPONENT></X>");
  CCatalog_Contents::ObjectArray objects = C().SortObjectsByLevel(*reader_);
  C().ResolveParentReferences(&objects);
  ASSERT_EQ(objects.size(), 3u);
  EXPECT_EQ(objects[0]->id, "A");
  EXPECT_EQ(objects[0]->idPath, "A") << "top level with a manufacturer: the id is the path";
  EXPECT_EQ(objects[1]->idPath, "A/bf");
  EXPECT_EQ(objects[2]->idPath, "A/bf/C");
  EXPECT_EQ(objects[2]->protocol, "P");
  EXPECT_EQ(objects[2]->manufacturer, "M");
  EXPECT_EQ(objects[2]->parentRef, "");
  EXPECT_EQ(Object(0)->idPath, "") << "the reader's objects stay as read";
}

}  // namespace
}  // namespace zarn
