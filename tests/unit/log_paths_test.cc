// Log paths through the exports: modes, labels, texts, catalog-folder locations.
#include <gtest/gtest.h>

#include <cstddef>
#include <string>
#include <vector>

#include "api/export_frame.h"
#include "maintenance/log_path_records.h"
#include "platform/strings.h"
#include "query/log_paths.h"
#include "tests/support/catalog_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

using testing::ScratchDir;
using testing::WriteFile;

// A catalog with one tree and a catalog-folder view that refers into it.
constexpr char kCatalog[] = R"(<ZARN_CATALOG>
<section id="DEVICE"><PROTOCOL id="PROFIBUS"><CLASSIFICATION id="SENSOR">
  <MANUFACTURER id="M">
    <LABEL><string>Maker</string><string lang="de">Hersteller</string></LABEL>
    <HELP><string>Maker help</string></HELP>
    <COMPONENT_FOLDER id="F">
      <COMPONENT id="C">
        <LABEL><string>Sensor C</string><string lang="de">Fuehler C</string></LABEL>
        <HELP><string>help C</string></HELP>
      </COMPONENT>
      <COMPONENT id="D"/>
      <COMPONENT id="H" isInvisible="true"/>
    </COMPONENT_FOLDER>
    <COMPONENT_FOLDER id="EMPTY"/>
    <COMPONENT id="E"><LABEL><string lang="de">nur deutsch</string></LABEL></COMPONENT>
  </MANUFACTURER>
  <MANUFACTURER id="N"><COMPONENT_FOLDER id="F"><COMPONENT id="C"/></COMPONENT_FOLDER></MANUFACTURER>
  <MANUFACTURER id="P">
    <COMPONENT_FOLDER id="F1"><COMPONENT_FOLDER id="F2"><COMPONENT id="X"/></COMPONENT_FOLDER></COMPONENT_FOLDER>
  </MANUFACTURER>
</CLASSIFICATION></PROTOCOL></section>
<CATALOG_FOLDER id="Favs">
  <CATALOG_FOLDER id="Sub">
    <COMPONENT id="C"><component_ref>/DEVICE/PROFIBUS/SENSOR/M/F/C</component_ref></COMPONENT>
  </CATALOG_FOLDER>
  <COMPONENT_FOLDER id="F"><component_folder_ref>/DEVICE/PROFIBUS/SENSOR/N/F</component_folder_ref></COMPONENT_FOLDER>
  <COMPONENT><component_ref>/DEVICE/PROFIBUS/SENSOR/M/E</component_ref></COMPONENT>
</CATALOG_FOLDER>
<CATALOG_FOLDER id="A">
  <COMPONENT_FOLDER id="F2"><component_folder_ref>/DEVICE/PROFIBUS/SENSOR/P/F1/F2</component_folder_ref></COMPONENT_FOLDER>
</CATALOG_FOLDER>
<CATALOG_FOLDER id="B">
  <COMPONENT_FOLDER id="F1"><component_folder_ref>/DEVICE/PROFIBUS/SENSOR/P/F1</component_folder_ref></COMPONENT_FOLDER>
</CATALOG_FOLDER>
</ZARN_CATALOG>)";

constexpr char kTree[] = "/DEVICE/PROFIBUS/SENSOR";

std::string Text(const char16_t* s) { return s == nullptr ? "-" : ToUtf8(s); }

// "path 'label': NAME:id > NAME:id ..." for one entry; items with texts add
// "(label|help)".
std::string Render(const LogPathEntry* e) {
  std::string out = Text(e->path) + " '" + Text(e->label) + "':";
  for (const LogPathSegment* s = e->segments; s != nullptr; s = s->next) {
    out += std::string(s == e->segments ? " " : " > ") + Text(s->name) + ":" + Text(s->id);
    if (s->label != nullptr || s->help != nullptr) out += "(" + Text(s->label) + "|" + Text(s->help) + ")";
  }
  return out;
}

class LogPathsTest : public CatalogTest {
 protected:
  void SetUp() override { LoadCatalog(kCatalog); }
  // The rendered entries in chain order; the result code in rc_.
  std::vector<std::string> Get(const std::string& path, int32_t mode, bool texts = false) {
    LogPathEntry* head = reinterpret_cast<LogPathEntry*>(&sentinel_);
    rc_ = ZARN_GetLogPaths(path.empty() ? nullptr : ToUtf16(path).c_str(), &head, texts ? 1 : 0, mode);
    std::vector<std::string> out;
    if (head == reinterpret_cast<LogPathEntry*>(&sentinel_)) return {"<untouched>"};
    for (const LogPathEntry* e = head; e != nullptr; e = e->next) out.push_back(Render(e));
    if (head != nullptr) {
      EXPECT_EQ(ZARN_FreeLogPaths(head), 0u);
    }
    return out;
  }
  std::vector<std::string> One(const std::string& relative, bool texts = false) {
    return Get(std::string(kTree) + relative, 2, texts);
  }

  uint32_t rc_ = 0;
  int sentinel_ = 0;
};

using Entries = std::vector<std::string>;

TEST(LogPathRecordsTest, LayoutIsTheNaturalOneOfThePlatform) {
  EXPECT_EQ(offsetof(LogPathEntry, path), 0u);
  EXPECT_EQ(offsetof(LogPathEntry, label), sizeof(void*));
  EXPECT_EQ(offsetof(LogPathEntry, segments), 2 * sizeof(void*));
  EXPECT_EQ(offsetof(LogPathEntry, next), 3 * sizeof(void*));
  EXPECT_EQ(sizeof(LogPathEntry), 4 * sizeof(void*));
  EXPECT_EQ(offsetof(LogPathSegment, name), 0u);
  EXPECT_EQ(offsetof(LogPathSegment, id), sizeof(void*));
  EXPECT_EQ(offsetof(LogPathSegment, help), 2 * sizeof(void*));
  EXPECT_EQ(offsetof(LogPathSegment, label), 3 * sizeof(void*));
  EXPECT_EQ(offsetof(LogPathSegment, next), 4 * sizeof(void*));
  EXPECT_EQ(sizeof(LogPathSegment), 5 * sizeof(void*));
}

TEST_F(LogPathsTest, ElementOfTheTreeRunsUpToTheSection) {
  EXPECT_EQ(One("/M/F/D"), Entries{"/DEVICE/PROFIBUS/SENSOR/M/F/D 'D': COMPONENT:D > COMPONENT_FOLDER:F > "
                                   "MANUFACTURER:M > CLASSIFICATION:SENSOR > PROTOCOL:PROFIBUS > section:DEVICE"});
  EXPECT_EQ(rc_, 0u);
}

TEST_F(LogPathsTest, EmptyAndUnknownPaths) {
  EXPECT_EQ(Get("", 0), Entries{"<untouched>"});
  EXPECT_EQ(rc_, ZARN_E_EMPTY_PATH);
  EXPECT_EQ(Get("/DEVICE/NOPE", 2), Entries{});
  EXPECT_EQ(rc_, ZARN_E_NOT_FOUND) << "the out-pointer is written (null) after the selection";
  EXPECT_EQ(Get("/DEVICE/PROFIBUS/SENSOR/M/EMPTY", 0), Entries{});
  EXPECT_EQ(rc_, ZARN_E_NOT_FOUND);
  EXPECT_EQ(ZARN_FreeLogPaths(nullptr), ZARN_RESULT_MINUS_ONE);
}

TEST_F(LogPathsTest, ModeOneListsVisibleChildrenHoldingComponentsByIdWithoutWalk) {
  EXPECT_EQ(Get(std::string(kTree) + "/M", 1),
            (Entries{"E 'E': COMPONENT:E > CATALOG_FOLDER:Favs", "F 'F': COMPONENT_FOLDER:F"}));
  EXPECT_EQ(Get(std::string(kTree) + "/M/F", 1), (Entries{"D 'D': COMPONENT:D",
                                                          "C 'Sensor C': CATALOG_FOLDER:Sub > "
                                                          "CATALOG_FOLDER:Favs"}));
  EXPECT_EQ(Get("/", 1), Entries{"DEVICE 'DEVICE': section:DEVICE"}) << "catalog folders are no tree level";
}

// Ids repeated among siblings: several elements answer a path, the first in
// document order may lie in a later branch, and any element name takes part.
constexpr char kRepeatedIds[] = R"(<ZARN_CATALOG>
<D id="D"><S id="S"><COMPONENT id="A"/></S><S id="S"><X id="X"><COMPONENT id="B"/></X>
  <COMPONENT id="C" isInvisible="true"/></S></D>
<D id="D"><S id="S"><X id="X"/></S></D>
<COMPONENT id="D"><COMPONENT id="N"><LABEL><string>n</string></LABEL></COMPONENT></COMPONENT>
</ZARN_CATALOG>)";

TEST_F(LogPathsTest, WalksSelectWhatTheirXPathsSelect) {
  const std::string tree = kTree;
  const std::vector<std::string> paths = {
      "/",     "/DEVICE", tree,   tree + "/M", tree + "/M/F", tree + "/M/F/C",     tree + "/P",   "/Favs",
      "/NOPE", "/D",      "/D/S", "/D/S/X",    "/D/N",        "/DEVICE//PROFIBUS", "/DEVICE/a\"b"};
  for (const char* xml : {kCatalog, kRepeatedIds}) {
    LoadCatalog(xml);
    CCatalog_Contents& catalog = *CatalogModule::Instance().Catalog();
    for (const std::string& path : paths) {
      for (int32_t mode : {0, 1, 2}) {
        NodeList by_xpath;
        catalog.getSubElementsByXPath(LogPathsXPath(path, mode), &by_xpath);
        EXPECT_TRUE(SelectLogPathElements(catalog, path, mode) == by_xpath) << path << " mode " << mode;
      }
      const std::string xpath = TrimRightChars(CCatalog_Contents::ComponentPathToXPath(path), "/*");
      EXPECT_TRUE(SelectElementByComponentPath(catalog, path) == catalog.getSubElementByXPath(xpath)) << path;
    }
  }
}

// Below an element the list is built while walking; it is the list of the selection.
TEST_F(LogPathsTest, ListBelowIsTheListOfTheSelection) {
  for (const char* xml : {kCatalog, kRepeatedIds}) {
    LoadCatalog(xml);
    CCatalog_Contents& catalog = *CatalogModule::Instance().Catalog();
    for (const std::string& path :
         {std::string("/"), std::string(kTree) + "/M", std::string("/Favs"), std::string("/D")}) {
      LogPathEntry* head = nullptr;
      ASSERT_EQ(BuildLogPaths(catalog, SelectLogPathElements(catalog, path, 0), true, false, &head), 0u);
      std::vector<std::string> expected;
      for (const LogPathEntry* e = head; e != nullptr; e = e->next) expected.push_back(Render(e));
      FreeLogPathEntries(head);
      EXPECT_EQ(Get(path, 0, true), expected) << path;
    }
  }
}

TEST_F(LogPathsTest, OtherModesListEveryVisibleComponentBelow) {
  for (int32_t mode : {0, 3, -1}) {
    const Entries got = Get(std::string(kTree) + "/M", mode);
    ASSERT_EQ(got.size(), 3u) << mode;
    EXPECT_EQ(got[0].substr(0, got[0].find(' ')), "/DEVICE/PROFIBUS/SENSOR/M/E") << mode;
    EXPECT_EQ(got[1].substr(0, got[1].find(' ')), "/DEVICE/PROFIBUS/SENSOR/M/F/D") << mode;
    EXPECT_EQ(got[2].substr(0, got[2].find(' ')), "/DEVICE/PROFIBUS/SENSOR/M/F/C") << mode;
  }
}

TEST_F(LogPathsTest, LabelsFollowTheLanguageWithFallbacks) {
  struct Case {
    const char16_t* language;
    const char* path;
    const char* label;
  } cases[] = {
      {u"en", "/M/F/C", "Sensor C"}, {u"de", "/M/F/C", "Fuehler C"}, {u"fr", "/M/F/C", "Sensor C"},
      {u"en", "/M/E", "E"},          {u"de", "/M/E", "nur deutsch"}, {u"de", "/M/F/D", "D"},
      {u"de", "/M", "Hersteller"},
  };
  for (const Case& c : cases) {
    ZARN_SetCatalogLanguage(c.language);
    LogPathEntry* head = nullptr;
    ASSERT_EQ(ZARN_GetLogPath(ToUtf16(std::string(kTree) + c.path).c_str(), &head, 0), 0u) << c.path;
    EXPECT_EQ(Text(head->label), c.label) << ToUtf8(c.language) << " " << c.path;
    ZARN_FreeLogPaths(head);
  }
}

TEST_F(LogPathsTest, TextsFillEveryItemAndOnlyWithTheFlag) {
  ZARN_SetCatalogLanguage(u"de");
  EXPECT_EQ(One("/M/F/D", true),
            Entries{"/DEVICE/PROFIBUS/SENSOR/M/F/D 'D': COMPONENT:D(|) > COMPONENT_FOLDER:F(|) > "
                    "MANUFACTURER:M(Hersteller|Maker help) > CLASSIFICATION:SENSOR(|) > PROTOCOL:PROFIBUS(|) > "
                    "section:DEVICE(|)"})
      << "an element without LABEL or HELP gets empty texts";
  EXPECT_EQ(One("/M/F/D", false)[0].find('('), std::string::npos);
}

TEST_F(LogPathsTest, InvisibleElementsAreNeverListed) {
  for (int32_t mode : {0, 1}) {
    for (const std::string& e : Get(std::string(kTree) + "/M/F", mode)) {
      EXPECT_EQ(e.find(":H"), std::string::npos) << e;
      EXPECT_EQ(e.find("/H"), std::string::npos) << e;
    }
  }
}

TEST_F(LogPathsTest, ReferredComponentIsListedAtItsCatalogFolderOnly) {
  EXPECT_EQ(One("/M/F/C"), Entries{"/DEVICE/PROFIBUS/SENSOR/M/F/C 'Sensor C': CATALOG_FOLDER:Sub > "
                                   "CATALOG_FOLDER:Favs"})
      << "the referring element has an id: the component's own item is left out";
  EXPECT_EQ(One("/M/E"), Entries{"/DEVICE/PROFIBUS/SENSOR/M/E 'E': COMPONENT:E > CATALOG_FOLDER:Favs"})
      << "the referring element has no id: the component's own item comes first";
}

TEST_F(LogPathsTest, ReferredFolderEndsTheWalkOfItsComponents) {
  EXPECT_EQ(One("/N/F/C"), Entries{"/DEVICE/PROFIBUS/SENSOR/N/F/C 'C': COMPONENT:C > CATALOG_FOLDER:Favs"});
}

TEST_F(LogPathsTest, EveryCatalogFolderLocationOnTheWayUpIsListed) {
  EXPECT_EQ(One("/P/F1/F2/X"), (Entries{"/DEVICE/PROFIBUS/SENSOR/P/F1/F2/X 'X': COMPONENT_FOLDER:F2 > CATALOG_FOLDER:B",
                                        "/DEVICE/PROFIBUS/SENSOR/P/F1/F2/X 'X': COMPONENT:X > CATALOG_FOLDER:A"}));
}

TEST_F(LogPathsTest, ReferenceContainersGiveEmptyRecordsExceptAtTheEnd) {
  EXPECT_EQ(Get("/Favs", 0), Entries{"- '-':"}) << "two referring components: only the last is left out";
  EXPECT_EQ(rc_, 0u);
  EXPECT_EQ(Get("/Favs", 1), Entries{});
  EXPECT_EQ(rc_, ZARN_E_NOT_FOUND);
  EXPECT_EQ(Get("/Favs", 2), Entries{"/Favs 'Favs': CATALOG_FOLDER:Favs"});
}

TEST_F(LogPathsTest, ElementsBelowASectionWithoutLevelsKeepNoTreeContinuation) {
  LoadCatalog(R"(<ZARN_CATALOG><section id="NET"><COMPONENT id="K"/><COMPONENT id="L"/></section>
          <CATALOG_FOLDER id="V"><COMPONENT id="K"><component_ref>/NET/K</component_ref></COMPONENT></CATALOG_FOLDER>
          </ZARN_CATALOG>)");
  EXPECT_EQ(Get("/NET", 0), (Entries{"/NET/L 'L': COMPONENT:L > section:NET", "/NET/K 'K': CATALOG_FOLDER:V"}));
}

TEST_F(LogPathsTest, LastReferenceToAPathWins) {
  LoadCatalog(R"(<ZARN_CATALOG><section id="NET"><COMPONENT id="K"/></section>
          <CATALOG_FOLDER id="V1"><COMPONENT id="K"><component_ref>/NET/K</component_ref></COMPONENT></CATALOG_FOLDER>
          <CATALOG_FOLDER id="V2"><COMPONENT id="K"><component_ref>/NET/K</component_ref></COMPONENT></CATALOG_FOLDER>
          </ZARN_CATALOG>)");
  EXPECT_EQ(Get("/NET/K", 2), Entries{"/NET/K 'K': CATALOG_FOLDER:V2"});
}

TEST_F(LogPathsTest, OnlyReferencesInsideCatalogFoldersCount) {
  LoadCatalog(R"(<ZARN_CATALOG><section id="NET"><COMPONENT id="K"/>
          <COMPONENT id="L"><COMPONENT_RELATIONS><COMPONENT_RELATION><COMPONENTS><component>
            <component_ref>/NET/K</component_ref></component></COMPONENTS></COMPONENT_RELATION></COMPONENT_RELATIONS>
          </COMPONENT></section>
          <CATALOG_FOLDER id="V"><CATALOG_FOLDER id="W"><COMPONENT_FOLDER id="X">
            <component_folder_ref>/NET/L</component_folder_ref></COMPONENT_FOLDER></CATALOG_FOLDER></CATALOG_FOLDER>
          </ZARN_CATALOG>)");
  EXPECT_EQ(Get("/NET/K", 2), Entries{"/NET/K 'K': COMPONENT:K > section:NET"});
  EXPECT_EQ(Get("/NET/L", 2), Entries{"/NET/L 'L': CATALOG_FOLDER:W > CATALOG_FOLDER:V"});
}

TEST_F(LogPathsTest, NoCatalogIsReported) {
  LoadWithoutCatalog();
  EXPECT_EQ(Get("/DEVICE", 0), Entries{"<untouched>"});
  EXPECT_EQ(rc_, ZARN_E_NO_CATALOG);
}

}  // namespace
}  // namespace zarn
