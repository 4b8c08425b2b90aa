// The canonical comparison behind EXPECT_XML.
#include "tests/support/expect_xml.h"

#include <gtest/gtest.h>

namespace zarn::testing {
namespace {

TEST(ExpectXmlTest, AttributeOrderAndIndentationDoNotCountTextAndNamesDo) {
  EXPECT_XML("<A b='1' c='2'>\n  <B/>\n</A>", "<A c=\"2\" b=\"1\"><B/></A>");
  EXPECT_FALSE(XmlEqual("a", "e", "<A><B>x</B></A>", "<A><B>y</B></A>"));
  EXPECT_FALSE(XmlEqual("a", "e", "<A><B/></A>", "<A><C/></A>"));
  EXPECT_FALSE(XmlEqual("a", "e", "<A/>", "<A"));
  const std::string message = XmlEqual("a", "e", "<A><B/><C/></A>", "<A><B/><D/></A>").message();
  EXPECT_NE(message.find("line 3:\n  actual:     <C/>\n  expected:   <D/>"), std::string::npos) << message;
}

}  // namespace
}  // namespace zarn::testing
