// Placement in the hierarchy: parent lookup, classification levels, element
// creation and content copying.
#include "tests/unit/insert_fixture.h"

namespace zarn {
namespace {

class PlacementTest : public InsertFixture {
 protected:
  CCatalog_Object* Lookup(const char* protocol, const char* classification, const char* manufacturer) {
    CCatalog_Object* o = Make(CCatalog_Object::Kind::kComponent);
    o->protocol = protocol;
    o->classification = classification;
    o->manufacturer = manufacturer;
    return o;
  }
  // Copies the children of the first element of `source_xml` into a new element
  // below the root and returns the copy's XML text.
  std::string Copy(const std::string& source_xml) {
    std::string error;
    auto source = xml::Document::LoadText(source_xml, &error);
    Node target = C().EnsureRoot().AppendElement("TARGET");
    C().CopyChildElements(source->Root(), target);
    return target.OuterXml();
  }
};

constexpr const char* kLevels =
    "<ZARN_CATALOG><section id='DEVICE'><PROTOCOL id='HART'>"
    "<CLASSIFICATION id='SENSOR'><CLASSIFICATION id='CORIOLIS'/></CLASSIFICATION>"
    "<CLASSIFICATION id='ACTUATOR'/>"
    "<MANUFACTURER id='Art' isArtificial='true'/><MANUFACTURER id='Art'/>"
    "<MANUFACTURER id='Lone' isArtificial='true'/>"
    "</PROTOCOL></section></ZARN_CATALOG>";

TEST_F(PlacementTest, MissingProtocolIsCreatedAsPlaceholderOnlyWhenAsked) {
  LoadCatalog("<ZARN_CATALOG><section id='DEVICE'/></ZARN_CATALOG>");
  EXPECT_EQ(Path(C().FindParentNode(Lookup("P", "", ""), false, false, false)), "/DEVICE");
  EXPECT_EQ(Count("//PROTOCOL"), 0u);
  const Node created = C().FindParentNode(Lookup("P", "", ""), true, false, false);
  EXPECT_EQ(Path(created), "/DEVICE/P");
  EXPECT_EQ(created.Attribute("isArtificial"), "true");
}

TEST_F(PlacementTest, LookupEndingOnPlaceholderYieldsRealTwinElseParent) {
  LoadCatalog(kLevels);
  const Node real = C().FindParentNode(Lookup("HART", "", "Art"), false, false, false);
  EXPECT_EQ(Path(real), "/DEVICE/HART/Art");
  EXPECT_FALSE(real.HasAttribute("isArtificial"));
  EXPECT_EQ(Path(C().FindParentNode(Lookup("HART", "", "Lone"), false, false, false)), "/DEVICE/HART");
  EXPECT_EQ(Path(C().FindParentNode(Lookup("HART", "", "Lone"), true, false, false)), "/DEVICE/HART/Lone")
      << "creating lookups keep the placeholder";
}

TEST_F(PlacementTest, MissingMiddleClassificationLevelIsSkipped) {
  LoadCatalog(kLevels);
  const Node hart = First("//PROTOCOL");
  // SENSOR > FLOW > CORIOLIS: FLOW is missing, CORIOLIS hangs below SENSOR.
  EXPECT_EQ(Path(C().FindClassificationNode(hart, *Lookup("", "SENSOR_FLOW_CORIOLIS", ""))),
            "/DEVICE/HART/SENSOR/CORIOLIS");
  EXPECT_EQ(Path(C().FindClassificationNode(hart, *Lookup("", "SENSOR_FLOW_THERMAL", ""))), "/DEVICE/HART/SENSOR");
  EXPECT_EQ(Path(C().FindClassificationNode(hart, *Lookup("", "NO_SUCH_KEYWORD", ""))), "/DEVICE/HART")
      << "unknown keywords search UNIVERSAL";
  CCatalog_Object* o = Lookup("", "ACTUATOR", "");
  o->section = "DEVICE";
  EXPECT_EQ(Path(C().FindClassificationNode(Node(), *o)), "/DEVICE") << "no start: the object's section";
}

TEST_F(PlacementTest, ClassificationPathStartsAfterTheStartLevel) {
  LoadCatalog(kLevels);
  CCatalog_Object* o = Lookup("", "sensor_flow_coriolis", "");
  o->id = "obj";
  ASSERT_EQ(C().CreateClassificationPath(First("//CLASSIFICATION[@id='SENSOR']"), o, false), 0u);
  EXPECT_EQ(Path(o->catalogNode), "/DEVICE/HART/SENSOR/FLOW/CORIOLIS");
  CCatalog_Object* unknown = Lookup("", "ODD_THING", "");
  C().CreateClassificationPath(First("//PROTOCOL"), unknown, true);
  EXPECT_XML(First("//PROTOCOL").OuterXml(),
             "<PROTOCOL id='HART'><CLASSIFICATION id='SENSOR'><CLASSIFICATION id='CORIOLIS'/>"
             "<CLASSIFICATION id='FLOW' idTmp='obj'><CLASSIFICATION id='CORIOLIS' idTmp='obj'/></CLASSIFICATION>"
             "</CLASSIFICATION><CLASSIFICATION id='ACTUATOR'/><MANUFACTURER id='Art' isArtificial='true'/>"
             "<MANUFACTURER id='Art'/><MANUFACTURER id='Lone' isArtificial='true'/>"
             "<CLASSIFICATION id='ODD_THING' isArtificial='true'/></PROTOCOL>");
}

TEST_F(PlacementTest, CopyDropsPlacementElementsAndSecondCopiesOfSingleNames) {
  LoadCatalog("");
  EXPECT_EQ(Copy("<C><LABEL><string>a</string></LABEL><label><string>b</string></label>"
                 "<initial_value n='1'/><initial_value n='2'/><PROTOCOL name='P'/><section name='S'/>"
                 "<COMPONENT_PATH name='x'/><HELP>  spaced  </HELP>  \n </C>"),
            "<TARGET><LABEL><string>a</string></LABEL><initial_value n=\"1\"/><initial_value n=\"2\"/>"
            "<HELP>spaced</HELP></TARGET>");
  EXPECT_EQ(Copy("<C>a &amp; b<X/>c</C>"), "<TARGET>a &amp; b<X/>c</TARGET>");
}

TEST_F(PlacementTest, CreatedNodeCarriesIdsRevisionAndVirtualMark) {
  LoadCatalog("<ZARN_CATALOG/>");
  CCatalog_Object* o = Make(CCatalog_Object::Kind::kComponent);
  o->ddRevision = "\"1.\"2\"";
  o->parentRefAsRead = "PARENT";
  o->gsdIdents = "33011;2587";
  C().CreateCatalogNode(C().root(), "COMPONENT", "tmp", "X", Node(), o);
  C().CreateCatalogNode(C().root(), "MANUFACTURER", "tmp2", "M", Node(), o);
  EXPECT_XML(Xml(),
             "<ZARN_CATALOG><COMPONENT id='X' ddRevision='1.&quot;2' idTmp='tmp' virtual='true'>"
             "<identNumbers>33011;2587</identNumbers></COMPONENT><MANUFACTURER id='M' ddRevision='1.&quot;2' "
             "idTmp='tmp2'><identNumbers>33011;2587</identNumbers></MANUFACTURER></ZARN_CATALOG>");
}

TEST_F(PlacementTest, NodeByTemporaryIdIgnoresCaseAndTakesDocumentOrder) {
  LoadCatalog("<ZARN_CATALOG><A idTmp='x'><B idTmp='Y'/></A><C idTmp='y'/></ZARN_CATALOG>");
  EXPECT_EQ(C().FindNodeByIdTmp(C().root(), "y").Name(), "B");
  EXPECT_EQ(C().FindNodeByIdTmp(First("//C"), "Y").Name(), "C");
  EXPECT_FALSE(C().FindNodeByIdTmp(C().root(), "z"));
}

}  // namespace
}  // namespace zarn
