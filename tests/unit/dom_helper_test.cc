// Reading values from catalog elements: languages, file references, inheritance.
#include <gtest/gtest.h>

#include "catalog/dom_helper.h"
#include "tests/support/test_support.h"
#include "xml/document.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

class DomHelperTest : public ::testing::Test {
 protected:
  Node Load(const std::string& text) {
    std::string error;
    doc_ = xml::Document::LoadText(text, &error);
    EXPECT_TRUE(doc_) << error;
    return doc_ ? doc_->Root() : Node();
  }
  std::string Read(Node element, const std::string& lang, const std::string& base = "/cat", uint32_t* rc = nullptr) {
    std::string value;
    const uint32_t r = helper_.ReadElementValue(lang, base, element, &value);
    if (rc != nullptr) *rc = r;
    return value;
  }
  Node Child(Node n, const char* name) { return n.FirstChildElement(name); }

  CDOMHelper helper_;
  std::unique_ptr<xml::Document> doc_;
};

TEST_F(DomHelperTest, LabelLanguageFallbacks) {
  const Node c = Load(
      "<COMPONENT id='PT100'><LABEL><string lang='de'>Druck</string><string>Pressure</string></LABEL>"
      "<HELP><string lang='de'>nur deutsch</string></HELP>"
      "<DESC><string lang='de'>x</string></DESC></COMPONENT>");
  const Node label = Child(c, "LABEL");
  EXPECT_EQ(Read(label, "de"), "Druck");
  EXPECT_EQ(Read(label, "fr"), "Pressure");
  EXPECT_EQ(Read(label, "EN"), "Pressure");
  EXPECT_EQ(Read(Child(c, "HELP"), "en"), "") << "only LABEL falls back to the id";
  const Node only_de = Load("<COMPONENT id='X1'><LABEL><string lang='de'>Nur</string></LABEL></COMPONENT>");
  EXPECT_EQ(Read(Child(only_de, "LABEL"), "en"), "X1");
  EXPECT_EQ(Read(Child(only_de, "LABEL"), "000"), "<LABEL><string lang=\"de\">Nur</string></LABEL>");
}

TEST_F(DomHelperTest, FileReferencesAndNameAttributes) {
  const Node c = Load(
      "<COMPONENT><IMAGE>pic.bmp</IMAGE><ADDITIONAL_ZARNS><string>a</string><string>b</string>"
      "</ADDITIONAL_ZARNS><PROTOCOL name='HART'/><COMPONENT_PARENT refid='P1'/><DD_REVISION> 3 </DD_REVISION>"
      "</COMPONENT>");
  EXPECT_EQ(Read(Child(c, "IMAGE"), "en", "/cat/"), "/cat/pic.bmp");
  EXPECT_EQ(Read(Child(c, "ADDITIONAL_ZARNS"), "en", "D/"), "D/b;D/a");
  EXPECT_EQ(Read(Child(c, "PROTOCOL"), "en"), "HART");
  EXPECT_EQ(Read(Child(c, "COMPONENT_PARENT"), "en"), "P1");
  EXPECT_EQ(Read(Child(c, "DD_REVISION"), "en"), "3");
}

TEST_F(DomHelperTest, PathLimitIsReportedButTheValueDelivered) {
  const Node c = Load("<COMPONENT><IMAGE>p.bmp</IMAGE></COMPONENT>");
  const std::string at_limit(260 - 6, 'd');  // base + "/" + "p.bmp" = 260
  uint32_t rc = 0;
  EXPECT_EQ(Read(Child(c, "IMAGE"), "en", at_limit, &rc).size(), 260u);
  EXPECT_EQ(rc, ZARN_E_PATH_TOO_LONG);
  Read(Child(c, "IMAGE"), "en", at_limit.substr(1), &rc);
  EXPECT_EQ(rc, 0u);
  std::string umlauts;  // 253 characters in 506 bytes: below the limit
  for (int i = 0; i < 253; ++i) umlauts += "\xc3\xa4";
  Read(Child(c, "IMAGE"), "en", umlauts, &rc);
  EXPECT_EQ(rc, 0u) << "the limit counts characters, not bytes";
}

TEST_F(DomHelperTest, InheritedValuesUseEachLevelsFsPath) {
  const Node root = Load(
      "<ZARN_CATALOG><PROTOCOL id='P' fsPath='\\DEVICE\\P'><IMAGE>proto.bmp</IMAGE>"
      "<COMPONENT id='C' fsPath='\\DEVICE\\P\\C'><IMAGE>own.bmp</IMAGE><X/></COMPONENT></PROTOCOL></ZARN_CATALOG>");
  const Node component = Child(Child(root, "PROTOCOL"), "COMPONENT");
  std::string value;
  helper_.ReadInheritedValue(component.Children(), "IMAGE", false, "en", "/cat", &value);
  EXPECT_EQ(value, "/cat/DEVICE/P/C/own.bmp;/cat/DEVICE/P/proto.bmp;");
  value.clear();
  helper_.ReadInheritedValue(component.Children(), "IMAGE", true, "en", "/cat", &value);
  EXPECT_EQ(value, "/cat/DEVICE/P/C/own.bmp;");
}

TEST_F(DomHelperTest, AncestorNamesAndFolderPaths) {
  const Node root = Load(
      "<ZARN_CATALOG><PROTOCOL id='HART'><CLASSIFICATION id='SENSOR'><CLASSIFICATION id='FLOW'>"
      "<MANUFACTURER id='Acme'><COMPONENT_FOLDER id='a'><COMPONENT_FOLDER id='b'><COMPONENT id='c'/>"
      "</COMPONENT_FOLDER></COMPONENT_FOLDER></MANUFACTURER></CLASSIFICATION></CLASSIFICATION></PROTOCOL>"
      "</ZARN_CATALOG>");
  const Node b = helper_.getElementByXPath(root, "//COMPONENT_FOLDER[@id='b']");
  const Node c = Child(b, "COMPONENT");
  std::string name;
  EXPECT_EQ(CDOMHelper::ReadClassificationName(c, &name), 0);
  EXPECT_EQ(name, "SENSOR_FLOW");
  EXPECT_EQ(CDOMHelper::ReadProtocolName(c, &name), 0);
  EXPECT_EQ(name, "HART");
  EXPECT_EQ(CDOMHelper::ReadManufacturerName(c, &name), 0);
  EXPECT_EQ(name, "Acme");
  EXPECT_EQ(CDOMHelper::ReadManufacturerName(root, &name), -1);
  EXPECT_TRUE(CDOMHelper::MatchesFolderPath(b, "/a/B/"));
  EXPECT_TRUE(CDOMHelper::MatchesFolderPath(b, "b"));
  EXPECT_FALSE(CDOMHelper::MatchesFolderPath(b, "/x/b"));
  EXPECT_FALSE(CDOMHelper::MatchesFolderPath(c, "/c"));
  EXPECT_TRUE(CDOMHelper::HasAncestorNamed(c, "protocol"));
  EXPECT_EQ(CDOMHelper::FindChildByNameAndId(Child(root, "PROTOCOL"), "classification", "sensor"),
            Child(Child(root, "PROTOCOL"), "CLASSIFICATION"));
}

TEST_F(DomHelperTest, SelectionErrorsAreTracedAsErrorSelecting) {
  const Node root = Load("<a><b/></a>");
  testing::TraceCapture trace;
  EXPECT_FALSE(helper_.getElementByXPath(root, "b[@"));
  NodeList nodes;
  EXPECT_FALSE(helper_.getElementsByXPath(root, "!!", &nodes));
  ASSERT_EQ(trace.entries().size(), 2u);
  EXPECT_EQ(trace.entries()[1].function, "CDOMHelper::getElementsByXPath");
  EXPECT_EQ(trace.entries()[1].message.rfind("Error selecting ", 0), 0u);
  EXPECT_FALSE(helper_.getElementByXPath(Node(), "b"));
  EXPECT_EQ(trace.entries().size(), 2u) << "a null node is no error";
}

}  // namespace
}  // namespace zarn
