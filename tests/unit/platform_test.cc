#include <gtest/gtest.h>

#include <cstring>

#include "platform/paths.h"
#include "platform/strings.h"
#include "zarn/oleauto.h"

namespace zarn {
namespace {

TEST(OleAuto, BstrCarriesLengthAndTerminator) {
  const char16_t text[] = u"abc";
  BSTR s = SysAllocString(text);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(SysStringLen(s), 3u);
  EXPECT_EQ(s[3], 0);
  uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<char*>(s) - 4, 4);
  EXPECT_EQ(bytes, 6u);
  SysFreeString(s);
  SysFreeString(nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
}

TEST(OleAuto, VariantLayoutAndClear) {
  static_assert(sizeof(VARIANT) == 24);
  static_assert(offsetof(VARIANT, bstrVal) == 8);
  VARIANT v;
  VariantInit(&v);
  EXPECT_EQ(v.vt, VT_EMPTY);
  SetVariantString(&v, "Druck \xC3\xBC");
  EXPECT_EQ(v.vt, VT_BSTR);
  EXPECT_EQ(VariantString(v), "Druck \xC3\xBC");
  VariantClear(&v);
  EXPECT_EQ(v.vt, VT_EMPTY);
}

TEST(Strings, Utf16RoundTripIncludingSurrogates) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
  EXPECT_EQ(ToUtf16(text).size(), 5u);
  EXPECT_EQ(ToUtf8(ToUtf16(text)), text);
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
  EXPECT_EQ(ToUtf16("\xFF"), std::u16string(1, char16_t(0xFFFD)));
}

TEST(Strings, CaseFoldingIsAsciiOnly) {
  EXPECT_TRUE(EqualsNoCase("Sensor_Flow", "SENSOR_FLOW"));
  EXPECT_FALSE(EqualsNoCase("\xC3\xA9", "\xC3\x89"));
  EXPECT_TRUE(EndsWithNoCase("a.DDL", ".ddl"));
  EXPECT_EQ(FindNoCase("x.Device.XML", ".device.xml"), 1u);
}

TEST(Paths, SplitJoinAndParent) {
  const PathParts p = SplitPath("/a/b/c.ddl");
  EXPECT_EQ(p.directory, "/a/b/");
  EXPECT_EQ(p.name, "c");
  EXPECT_EQ(p.extension, ".ddl");
  EXPECT_EQ(ParentDirectory("/a/b/c//"), "/a/b");
  EXPECT_EQ(JoinPath("/a/", "/b"), "/a/b");
  EXPECT_EQ(DocumentPathToNative("\\DEVICE\\X"), "/DEVICE/X");
}

TEST(Paths, SafetyOfSegmentsAndContainment) {
  for (const char* bad : {"", ".", "..", "a/b", "a\\b"}) EXPECT_FALSE(IsSafePathSegment(bad)) << bad;
  EXPECT_FALSE(IsSafePathSegment(std::string("a\0b", 3)));
  EXPECT_TRUE(IsSafePathSegment("PT_100..x"));
  EXPECT_TRUE(IsPathInside("/w/cat", "/w/cat/DEVICE/x"));
  EXPECT_FALSE(IsPathInside("/w/cat", "/w/cat/../other"));
  EXPECT_FALSE(IsPathInside("/w/cat", "/w/catalog"));
}

}  // namespace
}  // namespace zarn
