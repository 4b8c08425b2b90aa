// The identification index and the component-path conversions.
#include <gtest/gtest.h>

#include "api/export_frame.h"
#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

using testing::ScratchDir;
using testing::TraceCapture;
using testing::WriteFile;

class CatalogIndexTest : public CatalogTest {
 protected:
  CCatalog_Contents& Open(const std::string& catalog_xml) {
    LoadCatalog(catalog_xml);
    return Catalog();
  }
  std::string Lookup(CCatalog_Contents& c, const char* m, const char* t, const char* r) {
    std::string path;
    return c.IndexLookup(CCatalog_Contents::IndexKey(m, t, r), &path) ? path : "<none>";
  }
};

constexpr const char* kIds =
    "<ZARN_CATALOG><section id='DEVICE'><PROTOCOL id='HART'>"
    "<COMPONENT id='A'><MANUFACTURER>0x1A</MANUFACTURER><DEVICE_TYPE>0x0001</DEVICE_TYPE>"
    "<DEVICE_REVISION>2</DEVICE_REVISION>"
    "<additionalIdentification id='1A_2_3'><MANUFACTURER>0x1a</MANUFACTURER><DEVICE_TYPE>2</DEVICE_TYPE>"
    "<DEVICE_REVISION>3</DEVICE_REVISION></additionalIdentification>"
    "<additionalIdentification><MANUFACTURER>0x1a</MANUFACTURER><DEVICE_TYPE>9</DEVICE_TYPE>"
    "<DEVICE_REVISION>9</DEVICE_REVISION></additionalIdentification></COMPONENT>"
    "<COMPONENT id='B'><MANUFACTURER>1a</MANUFACTURER><DEVICE_TYPE>1</DEVICE_TYPE>"
    "<DEVICE_REVISION>0x2</DEVICE_REVISION></COMPONENT>"
    "<COMPONENT id='NoRev'><MANUFACTURER>1</MANUFACTURER><DEVICE_TYPE>1</DEVICE_TYPE></COMPONENT>"
    "<COMPONENT id='Hidden' isInvisible='true'><MANUFACTURER>5</MANUFACTURER><DEVICE_TYPE>5</DEVICE_TYPE>"
    "<DEVICE_REVISION>5</DEVICE_REVISION></COMPONENT>"
    "</PROTOCOL></section></ZARN_CATALOG>";

TEST_F(CatalogIndexTest, KeysNormaliseHexTexts) {
  EXPECT_EQ(CCatalog_Contents::IndexKey("0x1A", "0x1234", "2"), "001A/1234/0002");
  EXPECT_EQ(CCatalog_Contents::IndexKey("1a", "1234", "0X2"), "001A/1234/0002");
  EXPECT_EQ(CCatalog_Contents::IndexKey("1a", "", "2"), "");
}

TEST_F(CatalogIndexTest, FirstInDocumentOrderWinsAndHiddenOrIncompleteAreSkipped) {
  CCatalog_Contents& c = Open(kIds);
  EXPECT_EQ(Lookup(c, "0x1A", "1", "2"), "/DEVICE/HART/A");
  EXPECT_EQ(Lookup(c, "1A", "2", "3"), "/DEVICE/HART/A") << "a further identity answers with its component";
  EXPECT_EQ(Lookup(c, "1A", "9", "9"), "/DEVICE/HART/A") << "with or without an id";
  EXPECT_EQ(Lookup(c, "5", "5", "5"), "<none>");
  EXPECT_EQ(c.IndexSize(), 3u);
  c.IndexInsert(CCatalog_Contents::IndexKey("1a", "1", "2"), "/other");
  EXPECT_EQ(Lookup(c, "1a", "1", "2"), "/DEVICE/HART/A") << "never overwritten";
  EXPECT_FALSE(c.IndexRemove("001A/0001/0002"));
  EXPECT_TRUE(c.IndexRemove("001A/0001/0002")) << "absent now";
  std::string path;
  EXPECT_FALSE(c.IndexLookup("", &path));
}

TEST_F(CatalogIndexTest, ComponentPathsBothWays) {
  EXPECT_EQ(CCatalog_Contents::ComponentPathToXPath("/PROFIBUS/SENSOR/X"),
            "/*/*[@id=\"PROFIBUS\"]/*[@id=\"SENSOR\"]/*[@id=\"X\"]/*");
  EXPECT_EQ(CCatalog_Contents::ComponentPathToXPath("/"), "/*/*");
  EXPECT_EQ(CCatalog_Contents::ComponentPathToXPath("/a//b"), "/*/*[@id=\"a\"]/*") << "empty token ends";
  CCatalog_Contents& c = Open(kIds);
  const Node b = c.getSubElementByXPath("/*/*[@id=\"DEVICE\"]/*[@id=\"HART\"]/*[@id=\"B\"]");
  ASSERT_TRUE(b);
  EXPECT_EQ(c.ComponentPathOf(b), "/DEVICE/HART/B");
  EXPECT_EQ(c.ComponentPathOf(b.FirstChildElement("DEVICE_TYPE")), "/DEVICE/HART/B");
  EXPECT_EQ(c.ComponentPathOf(c.root()), "/");
  // An element without id keeps its place between two ids, not at the end.
  Node x = b.FirstChildElement("DEVICE_TYPE").AppendElement("X");
  x.AppendElement("Y").SetAttribute("id", "y");
  EXPECT_EQ(c.ComponentPathOf(x.FirstChildElement("Y")), "/DEVICE/HART/B///y");
  std::string path = "tail";
  c.BuildIdPath(b.FirstChildElement("DEVICE_TYPE"), &path);
  EXPECT_EQ(path, "/DEVICE/HART/B//tail");
  EXPECT_EQ(c.FindByComponentPath("/DEVICE/HART/B"), b);
  EXPECT_FALSE(c.FindByComponentPath("/DEVICE/HART/Z"));
}

TEST_F(CatalogIndexTest, MalformedXPathIsTracedOnceAndFindsNothing) {
  CCatalog_Contents& c = Open(kIds);
  TraceCapture trace;
  EXPECT_FALSE(c.getSubElementByXPath("/*[@id="));
  ASSERT_EQ(trace.entries().size(), 1u);
  EXPECT_EQ(trace.entries()[0].level, 2);
  EXPECT_EQ(trace.entries()[0].function, "CCatalog_Contents::getSubElementByXPath");
  EXPECT_EQ(trace.entries()[0].message.rfind("error selection elements: ", 0), 0u);
  NodeList nodes;
  EXPECT_FALSE(c.getSubElementsByXPath("//[", &nodes));
  EXPECT_FALSE(c.getSubElementsByXPath("", &nodes));
  EXPECT_EQ(trace.entries().size(), 2u);
}

}  // namespace
}  // namespace zarn
