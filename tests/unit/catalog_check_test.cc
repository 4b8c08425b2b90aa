// The catalog checker on a small catalog written as text: sound as written, and each
// promise broken once, reported under its number with the element concerned.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "api/export_frame.h"
#include "maintenance/catalog_check.h"
#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

using testing::WriteFile;

// A station A with a child relation to its module B, which holds the inverse copy.
constexpr const char* kCatalog =
    "<ZARN_CATALOG><section id=\"DEVICE\"><PROTOCOL id=\"HART\"><MANUFACTURER id=\"M\"><LABEL><string>M</string>"
    "</LABEL>"
    "<COMPONENT id=\"A\" fsPath=\"\\DEVICE\\HART\\M\\A\"><ZARN>a.ddl</ZARN><MANUFACTURER>0x0001</MANUFACTURER>"
    "<DEVICE_TYPE>0x0002</DEVICE_TYPE><DEVICE_REVISION>0x0003</DEVICE_REVISION><componentID>A</componentID>"
    "<COMPONENT_RELATIONS><COMPONENT_RELATION id=\"r\"><RELATION_TYPE><CHILD_COMPONENT/></RELATION_TYPE>"
    "<COMPONENTS><component><component_ref>/DEVICE/HART/M/B</component_ref></component></COMPONENTS>"
    "</COMPONENT_RELATION></COMPONENT_RELATIONS></COMPONENT>"
    "<COMPONENT id=\"B\" fsPath=\"\\DEVICE\\HART\\M\\B\"><ZARN>b.ddl</ZARN><componentID>B</componentID>"
    "<COMPONENT_RELATIONS><COMPONENT_RELATION id=\"r\"><isInverse/><RELATION_TYPE><CHILD_COMPONENT/>"
    "</RELATION_TYPE><COMPONENTS><component><component_ref>/DEVICE/HART/M/A</component_ref></component>"
    "</COMPONENTS></COMPONENT_RELATION></COMPONENT_RELATIONS></COMPONENT>"
    "</MANUFACTURER></PROTOCOL></section></ZARN_CATALOG>";

class CatalogCheckTest : public CatalogTest {
 protected:
  // Writes the catalog (with `from` replaced by `to`) and its files, and opens it.
  CCatalog_Contents& Open(const std::string& from = {}, const std::string& to = {}) {
    std::string xml = kCatalog;
    if (!from.empty()) {
      const size_t at = xml.find(from);
      EXPECT_NE(at, std::string::npos) << from;
      if (at != std::string::npos) xml.replace(at, from.size(), to);
    }
    WriteFile(CatalogPath("zarn_catalog_content.xml"), xml);
    WriteFile(CatalogPath("DEVICE/HART/M/A/a.ddl"), "a");
    WriteFile(CatalogPath("DEVICE/HART/M/B/b.ddl"), "b");
    Reopen();
    return Catalog();
  }
};

TEST_F(CatalogCheckTest, SoundCatalogIsCountedAndPasses) {
  const CatalogCheckResult result = CheckCatalog(Open());
  for (const CatalogViolation& v : result.violations) ADD_FAILURE() << v.path << " " << v.subject << " " << v.message;
  EXPECT_EQ(result.components, 2u);
  EXPECT_EQ(result.files, 2u);
  EXPECT_EQ(result.relations, 2u);
}

// A key left in the index after its element went (a deletion that forgot it) answers
// a path that names nothing; the walk of the document alone would not see it.
TEST_F(CatalogCheckTest, IndexKeyWithoutElementIsReported) {
  CCatalog_Contents& catalog = Open();
  ASSERT_TRUE(CheckCatalog(catalog).sound());
  catalog.IndexInsert(CCatalog_Contents::IndexKey("0x0009", "0x0009", "0x0009"), "/DEVICE/HART/M/gone");
  const CatalogCheckResult result = CheckCatalog(catalog);
  ASSERT_EQ(result.violations.size(), 1u);
  EXPECT_EQ(result.violations[0].invariant, Invariant::kIdentitiesOnComponents);
  EXPECT_EQ(result.violations[0].subject, "identification index");
}

struct Breakage {
  const char* name;
  Invariant invariant;
  const char* path;                                                         // the element reported
  std::function<void(CatalogCheckTest*, std::string*, std::string*)> edit;  // from, to
  std::function<void(const std::string& catalog_directory)> after_open = {};
};

class CatalogCheckBreakageTest : public CatalogCheckTest, public ::testing::WithParamInterface<Breakage> {};

void Replace(std::string* from, std::string* to, const char* f, const char* t) {
  *from = f;
  *to = t;
}

const Breakage kBreakages[] = {
    {"TruncatedFile", Invariant::kDocumentLoads, "", [](auto*, std::string*, std::string*) {},
     [](const std::string& dir) { WriteFile(dir + "/zarn_catalog_content.xml", "<ZARN_CATALOG><section"); }},
    {"WorkingAttribute", Invariant::kNoWorkingAttributes, "/DEVICE/HART/M/B",
     [](auto*, std::string* f, std::string* t) {
       Replace(f, t, "<COMPONENT id=\"B\"", "<COMPONENT id=\"B\" idTmp=\"B\"");
     }},
    {"MissingFile", Invariant::kFileReferencesResolve, "/DEVICE/HART/M/B",
     [](auto*, std::string* f, std::string* t) { Replace(f, t, "<ZARN>b.ddl", "<ZARN>gone.ddl"); }},
    {"DirectoryOutside", Invariant::kFileReferencesResolve, "/DEVICE/HART/M/B",
     [](auto*, std::string* f, std::string* t) { Replace(f, t, "\\DEVICE\\HART\\M\\B\"", "\\..\\..\\B\""); }},
    {"OrphanFile", Invariant::kNoOrphanFiles, "", [](auto*, std::string*, std::string*) {},
     [](const std::string& dir) { WriteFile(dir + "/DEVICE/HART/left_over.ddl", "x"); }},
    {"SecondInverseCopy", Invariant::kRelationsSingleAndResolved, "/DEVICE/HART/M/B",
     [](auto*, std::string* f, std::string* t) {
       Replace(f, t, "</COMPONENT_RELATION></COMPONENT_RELATIONS></COMPONENT></MANUFACTURER>",
               "</COMPONENT_RELATION><COMPONENT_RELATION id=\"r\"><isInverse/><COMPONENTS><component>"
               "<component_ref>/DEVICE/HART/M/A</component_ref></component></COMPONENTS></COMPONENT_RELATION>"
               "</COMPONENT_RELATIONS></COMPONENT></MANUFACTURER>");
     }},
    {"ReferenceById", Invariant::kRelationsSingleAndResolved, "/DEVICE/HART/M/A",
     [](auto*, std::string* f, std::string* t) {
       Replace(f, t, "<component_ref>/DEVICE/HART/M/B</component_ref>", "<component_ref ref=\"b_ref\"/>");
     }},
    {"ReferenceToNothing", Invariant::kRelationsSingleAndResolved, "/DEVICE/HART/M/A",
     [](auto*, std::string* f, std::string* t) {
       Replace(f, t, "<component_ref>/DEVICE/HART/M/B</component_ref>",
               "<component_ref>/DEVICE/HART/M/Z</component_ref>");
     }},
    {"IdentityOnASection", Invariant::kIdentitiesOnComponents, "/DEVICE",
     [](auto*, std::string* f, std::string* t) {
       Replace(f, t, "</PROTOCOL></section>",
               "</PROTOCOL><additionalIdentification id=\"x\"><MANUFACTURER>0x0009</MANUFACTURER>"
               "<DEVICE_TYPE>0x0009</DEVICE_TYPE><DEVICE_REVISION>0x0009</DEVICE_REVISION>"
               "</additionalIdentification></section>");
     }},
    {"ContentOnALevel", Invariant::kLevelsHoldNoContent, "/DEVICE/HART",
     [](auto*, std::string* f, std::string* t) {
       Replace(f, t, "<PROTOCOL id=\"HART\">", "<PROTOCOL id=\"HART\"><ZARN>a.ddl</ZARN>");
     }},
    {"PlaceholderInAComponent", Invariant::kNoPlaceholderInComponent, "/DEVICE/HART/M/A/P",
     [](auto*, std::string* f, std::string* t) {
       Replace(f, t, "<componentID>A</componentID>",
               "<componentID>A</componentID><COMPONENT_FOLDER id=\"P\" isArtificial=\"true\"/>");
     }},
};

TEST_P(CatalogCheckBreakageTest, IsReportedUnderItsPromise) {
  const Breakage& b = GetParam();
  std::string from;
  std::string to;
  b.edit(this, &from, &to);
  CCatalog_Contents& catalog = Open(from, to);
  if (b.after_open) b.after_open(catalog.catalogDirectory());
  const CatalogCheckResult result = CheckCatalog(catalog);
  // A breakage may break a second promise as well (content on a level names a file
  // that is not there); the one broken on purpose must be among them.
  bool found = false;
  std::string listed;
  for (const CatalogViolation& v : result.violations) {
    found = found || (v.invariant == b.invariant && v.path == b.path);
    listed += "\n  " + std::to_string(static_cast<int>(v.invariant)) + " " + v.path + " " + v.message;
  }
  EXPECT_TRUE(found) << b.name << ":" << listed;
  EXPECT_LE(result.violations.size(), 3u) << listed;
}

INSTANTIATE_TEST_SUITE_P(EachPromise, CatalogCheckBreakageTest, ::testing::ValuesIn(kBreakages),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zarn
