// The index of elements by id behind the COT name lookup: it must follow every
// change to the catalog (imports, deletions, reloads) and to any document changed
// through the xml layer.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "catalog/id_index.h"
#include "tests/support/import_fixture.h"
#include "xml/document.h"

namespace zarn {
namespace {

// ---- The index on a document changed through the xml layer ----

constexpr char kTree[] = R"(<R><A id="a"><B id="b"/><B id="b"/></A><C id="c"><D/></C></R>)";

struct Change {
  const char* what;
  std::function<void(xml::Document*)> apply;
  const char* id;
  size_t expected;  // elements with `id` after the change
};

Node First(const xml::Document& doc, const std::string& xpath) {
  std::string error;
  return xml::SelectFirst(doc.AsNode(), xpath, &error);
}

// Each kind of change, made after the index was used, shows in the next lookup.
TEST(IdIndexTest, EveryKindOfChangeShowsInTheNextLookup) {
  const Change changes[] = {
      {"id set", [](xml::Document* d) { First(*d, "//D").SetAttribute("id", "c"); }, "c", 2},
      {"id changed", [](xml::Document* d) { First(*d, "//C").SetAttribute("id", "x"); }, "c", 0},
      {"id removed", [](xml::Document* d) { First(*d, "//B").RemoveAttribute("id"); }, "b", 1},
      {"subtree removed", [](xml::Document* d) { First(*d, "//A").Remove(); }, "b", 0},
      {"subtree detached", [](xml::Document* d) { First(*d, "//A").Detach(); }, "a", 0},
      {"content replaced by text", [](xml::Document* d) { First(*d, "//A").SetText("t"); }, "b", 0},
      {"element appended",
       [](xml::Document* d) { First(*d, "//D").AppendChild(d->CreateElement("E")).SetAttribute("id", "a"); }, "a", 2},
      {"copy inserted",
       [](xml::Document* d) { First(*d, "/R").InsertBefore(d->ImportNode(First(*d, "//A")), First(*d, "//C")); }, "b",
       4},
      {"root replaced", [](xml::Document* d) { d->SetRoot(d->CreateElement("R")); }, "c", 0},
  };
  for (const Change& change : changes) {
    std::string error;
    std::unique_ptr<xml::Document> doc = xml::Document::LoadText(kTree, &error);
    ASSERT_TRUE(doc) << error;
    IdIndex index;
    EXPECT_EQ(index.ElementsWithId(doc.get(), "b").size(), 2u) << change.what;
    change.apply(doc.get());
    const NodeList& found = index.ElementsWithId(doc.get(), change.id);
    EXPECT_EQ(found.size(), change.expected) << change.what;
    for (const Node& element : found) EXPECT_EQ(element.Attribute("id"), change.id) << change.what;
  }
}

// A document loaded in place of a freed one (often at the same address) is indexed
// anew; the lookup is in document order.
TEST(IdIndexTest, AnotherDocumentIsIndexedAnew) {
  IdIndex index;
  std::string error;
  auto doc = xml::Document::LoadText(kTree, &error);
  ASSERT_EQ(index.ElementsWithId(doc.get(), "c").size(), 1u);
  doc.reset();
  doc = xml::Document::LoadText(R"(<R><X id="c"><Y id="c"/></X><Z id="c"/></R>)", &error);
  const NodeList& found = index.ElementsWithId(doc.get(), "c");
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].Name(), "X");
  EXPECT_EQ(found[1].Name(), "Y");
  EXPECT_EQ(found[2].Name(), "Z");
  EXPECT_TRUE(index.ElementsWithId(nullptr, "c").empty());
}

// ---- COT names on a catalog that imports, deletes and reloads ----

class CotNameIndexTest : public ImportDriverTest {
 protected:
  // ZARN_GetComponentPathFromCotName; "" for no answer.
  std::string PathOf(const std::string& cot) {
    VARIANT v;
    VariantInit(&v);
    ZARN_GetComponentPathFromCotName(ToUtf16(cot).c_str(), &v);
    std::string path = VariantString(v);
    VariantClear(&v);
    return path;
  }
  // The component path of the one COMPONENT with this id in the loaded document.
  std::string ComponentPath(const std::string& id) {
    NodeList found;
    Catalog().getSubElementsByXPath("//COMPONENT[@id='" + id + "']", &found);
    return found.size() == 1 ? Catalog().ComponentPathOf(found[0]) : "<" + std::to_string(found.size()) + ">";
  }
  uint32_t ImportDevice(const std::string& dir, const std::string& id, const std::string& folder,
                        const std::string& revision) {
    return Import(Component(dir + "/dev.ddl_comp.xml", Device(id, "", folder, revision), Sources(dir + "_src")));
  }
};

TEST_F(CotNameIndexTest, ImportsAndDeletionsShowInTheNextLookup) {
  ImportFirst();
  EXPECT_EQ(PathOf("\\Coriolis\\Dev"), "");  // the index is built without it
  ASSERT_EQ(ImportDevice("one", "Dev", "Flow/Coriolis", "0x0003"), 0u);
  const std::string coriolis = ComponentPath("Dev");
  ASSERT_NE(coriolis.find("/Flow/Coriolis/Dev"), std::string::npos) << coriolis;
  EXPECT_EQ(PathOf("\\Coriolis\\Dev"), coriolis);
  EXPECT_EQ(PathOf("\\Dev"), coriolis);

  // A second Dev elsewhere: the short name alone is ambiguous, the longer ones are not.
  ASSERT_EQ(ImportDevice("two", "Dev", "Level/Radar", "0x0004"), 0u);
  NodeList both;
  Catalog().getSubElementsByXPath("//COMPONENT[@id='Dev']", &both);
  ASSERT_EQ(both.size(), 2u);
  const std::string radar = Catalog().ComponentPathOf(both[0]) == coriolis ? Catalog().ComponentPathOf(both[1])
                                                                           : Catalog().ComponentPathOf(both[0]);
  EXPECT_EQ(PathOf("\\Dev"), "");
  EXPECT_EQ(PathOf("\\Coriolis\\Dev"), coriolis);
  EXPECT_EQ(PathOf("\\Radar\\Dev"), radar);

  // Deleting one makes the short name unique again; the deleted one is not found.
  ASSERT_EQ(DeleteComponent(coriolis), 0u);
  EXPECT_EQ(PathOf("\\Coriolis\\Dev"), "");
  EXPECT_EQ(PathOf("\\Dev"), radar);
  EXPECT_EQ(PathOf("\\Radar\\Dev"), radar);
}

TEST_F(CotNameIndexTest, ReloadedCatalogIsLookedUpInTheNewDocument) {
  ImportFirst();
  ASSERT_EQ(ImportDevice("one", "Dev", "Flow/Coriolis", "0x0003"), 0u);
  const std::string before = ComponentPath("Dev");
  ASSERT_EQ(PathOf("\\Coriolis\\Dev"), before);
  // The file on disk now holds the folder under another id.
  std::string text = CatalogFile();
  const size_t at = text.find("id=\"Coriolis\"");
  ASSERT_NE(at, std::string::npos);
  text.replace(at, 13, "id=\"Vortex\"");
  ASSERT_TRUE(testing::WriteFile(Catalog().catalogFile(), text));
  ASSERT_EQ(Catalog().reload(), 0u);
  EXPECT_EQ(PathOf("\\Coriolis\\Dev"), "");
  const std::string after = ComponentPath("Dev");
  EXPECT_NE(after.find("/Flow/Vortex/Dev"), std::string::npos) << after;
  EXPECT_EQ(PathOf("\\Vortex\\Dev"), after);
  EXPECT_EQ(PathOf("\\Dev"), after);
}

}  // namespace
}  // namespace zarn
