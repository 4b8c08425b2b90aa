// EXPECT_XML(actual, expected): two XML texts hold the same document once
// whitespace-only text is dropped and attributes are sorted. On failure both
// documents are printed in that canonical form with their first differing line.
#ifndef ZARN_TESTS_SUPPORT_EXPECT_XML_H_
#define ZARN_TESTS_SUPPORT_EXPECT_XML_H_

#include <gtest/gtest.h>

#include <string>

namespace zarn::testing {

// One element a line, indented by depth, attributes sorted, text on its own line;
// "<unparsable: ...>" when the text is no XML.
std::string CanonicalXml(const std::string& text);

::testing::AssertionResult XmlEqual(const char* actual_expr, const char* expected_expr, const std::string& actual,
                                    const std::string& expected);

}  // namespace zarn::testing

#define EXPECT_XML(actual, expected) EXPECT_PRED_FORMAT2(::zarn::testing::XmlEqual, actual, expected)
#define ASSERT_XML(actual, expected) ASSERT_PRED_FORMAT2(::zarn::testing::XmlEqual, actual, expected)

#endif  // ZARN_TESTS_SUPPORT_EXPECT_XML_H_
