// ZARN_GetCatalogRelationInfo, ZARN_IsComponentExistent, ZARN_GetReferencingComponents.
#include <gtest/gtest.h>

#include <string>

#include "relations/relation_queries.h"
#include "tests/support/import_fixture.h"

namespace zarn {
namespace {

constexpr const char* kCatalog =
    "<ZARN_CATALOG><section id=\"DEVICE\"><MANUFACTURER id=\"M\">"
    "<COMPONENT id=\"Dev\"><COMPONENT_RELATIONS>"
    "<COMPONENT_RELATION id=\"kids\"><RELATION_TYPE><CHILD_COMPONENT/></RELATION_TYPE><COMPONENTS>"
    "<component><component_ref>/DEVICE/M/Other</component_ref></component>"
    "<component><component_ref>/DEVICE/M/Mod</component_ref></component></COMPONENTS></COMPONENT_RELATION>"
    "<COMPONENT_RELATION id=\"sib\"><RELATION_TYPE><SIBLING_COMPONENT/></RELATION_TYPE><COMPONENTS>"
    "<component><component_ref>/DEVICE/M/Mod</component_ref></component></COMPONENTS></COMPONENT_RELATION>"
    "<COMPONENT_RELATION id=\"empty\"><RELATION_TYPE><CHILD_COMPONENT/></RELATION_TYPE></COMPONENT_RELATION>"
    "</COMPONENT_RELATIONS></COMPONENT>"
    "<COMPONENT id=\"Dev2\"><COMPONENT_RELATIONS><COMPONENT_RELATION id=\"k\"><RELATION_TYPE><CHILD_COMPONENT/>"
    "</RELATION_TYPE><COMPONENTS><component><component_ref>/DEVICE/M/F</component_ref></component>"
    "<component><component_ref>/DEVICE/M/Mod</component_ref></component></COMPONENTS>"
    "</COMPONENT_RELATION></COMPONENT_RELATIONS></COMPONENT>"
    "<COMPONENT id=\"Mod\"><LABEL>m</LABEL></COMPONENT>"
    "<COMPONENT_FOLDER id=\"F\"><COMPONENT id=\"Lone\"><LABEL>l</LABEL></COMPONENT></COMPONENT_FOLDER>"
    "<COMPONENT id=\"Bare\"/></MANUFACTURER></section></ZARN_CATALOG>";

class RelationQueryTest : public CatalogTest {
 protected:
  void SetUp() override { LoadCatalog(kCatalog); }

  // Returns the result; info_ holds the record.
  uint32_t Info(const std::u16string& id, const std::string& path, const std::string& ref) {
    info_ = {nullptr, 7, 7};
    return ZARN_GetCatalogRelationInfo(id.c_str(), ToUtf16(path).c_str(), ToUtf16(ref).c_str(), &info_);
  }
  uint32_t Referencing(const std::string& path) {
    VARIANT v;
    VariantInit(&v);
    const uint32_t rc = ZARN_GetReferencingComponents(ToUtf16(path).c_str(), &v);
    text_ = VariantString(v);
    VariantClear(&v);
    return rc;
  }

  CatalogRelationInfo info_{};
  std::string text_;
};

TEST_F(RelationQueryTest, RelationInfoGivesTheKindOfAMatchingRelation) {
  const std::u16string kids = u"kids";
  ASSERT_EQ(Info(kids, "/DEVICE/M/Dev", "/device/m/MOD"), 0u);
  EXPECT_EQ(info_.relationId, kids.c_str());
  EXPECT_EQ(info_.relationKind, 2);
  EXPECT_EQ(info_.reserved, 0);
  const std::u16string sib = u"sib";
  ASSERT_EQ(Info(sib, "/DEVICE/M/Dev", "/DEVICE/M/Mod"), 0u);
  EXPECT_EQ(info_.relationId, sib.c_str());
  EXPECT_EQ(info_.relationKind, 1);
}

TEST_F(RelationQueryTest, RelationInfoWithoutMatch) {
  ASSERT_EQ(Info(u"kids", "/DEVICE/M/Dev", "/DEVICE/M/F/Lone"), 0u);
  EXPECT_EQ(info_.relationId, nullptr);
  EXPECT_EQ(info_.relationKind, 7);
  for (const char16_t* id : {u"empty", u"none"}) {
    EXPECT_EQ(Info(id, "/DEVICE/M/Dev", "/DEVICE/M/Mod"), ZARN_E_NO_RELATION);
    EXPECT_EQ(info_.relationId, nullptr);
  }
  EXPECT_EQ(Info(u"kids", "/DEVICE/M/Nothing", "/DEVICE/M/Mod"), ZARN_E_NO_RELATION);
}

TEST_F(RelationQueryTest, ReferencingComponentsAreJoinedWithoutTrailingSeparator) {
  ASSERT_EQ(Referencing("/DEVICE/M/Mod"), 0u);
  EXPECT_EQ(text_, "/DEVICE/M/Dev;/DEVICE/M/Dev2");
  ASSERT_EQ(Referencing("/DEVICE/M/F/Lone"), 0u);  // through its folder /DEVICE/M/F
  EXPECT_EQ(text_, "/DEVICE/M/Dev2");
}

TEST_F(RelationQueryTest, ReferencingComponentsFailures) {
  EXPECT_EQ(Referencing("/DEVICE/M/Nothing"), ZARN_E_NOT_FOUND);
  EXPECT_EQ(Referencing("/DEVICE/M/Bare"), ZARN_E_NOT_FOUND);
  EXPECT_EQ(Referencing("/DEVICE/M/Dev2"), ZARN_E_NOT_REFERENCED);
  EXPECT_EQ(text_, "");
}

TEST(FormatRevisionTest, HexadecimalOnlyWithXSecond) {
  const std::pair<const char*, const char*> cases[] = {
      {"0x1A", "0x001a"}, {"26", "0x001a"}, {"0X0003", "0x0003"}, {"x12", "0x0000"}, {"", "0x0000"}};
  for (const auto& [in, out] : cases) EXPECT_EQ(FormatRevision(in), out) << in;
}

class ExistenceTest : public ImportDriverTest {
 protected:
  uint32_t Exists(const std::string& path) {
    for (VARIANT& x : v_) VariantInit(&x);
    const uint32_t rc = ZARN_IsComponentExistent(ToUtf16(path).c_str(), &v_[0], &v_[1], &v_[2], &v_[3]);
    for (int i = 0; i < 4; ++i) {
      t_[i] = v_[i].vt == VT_BSTR ? VariantString(v_[i]) : "<none>";
      VariantClear(&v_[i]);
    }
    return rc;
  }
  VARIANT v_[4];
  std::string t_[4];
};

TEST_F(ExistenceTest, ImportedComponentIsFoundWithItsRevisions) {
  const std::string file = Component(
      "e/dev.ddl_comp.xml", Device("Ex", "<DD_REVISION>0x1A</DD_REVISION><ZARN>dev.ddl</ZARN>"), Sources("e_src"));
  ASSERT_EQ(Exists(file), ZARN_E_NOT_IN_CATALOG);
  EXPECT_EQ(t_[0], "<none>");
  ASSERT_EQ(Import(file), 0u);
  ASSERT_EQ(Exists(file), 0u);
  EXPECT_EQ(t_[0], "0x1A");
  EXPECT_EQ(t_[1], "0x001a");
  EXPECT_EQ(t_[2], "0x0003");
  EXPECT_EQ(t_[3], "0x0003");
}

TEST_F(ExistenceTest, DirectoriesAndMissingFilesAreNoSource) {
  EXPECT_EQ(Exists(work_.path()), ZARN_E_NO_VERSION);
  EXPECT_EQ(Exists(work_.Join("missing.xml")), ZARN_E_NO_VERSION);
  EXPECT_EQ(t_[0], "<none>");
}

}  // namespace
}  // namespace zarn
