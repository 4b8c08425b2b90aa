// ZARN_DeleteComponent on hand-written catalogs and on imported components.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "api/export_frame.h"
#include "maintenance/deletion.h"
#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "tests/support/import_fixture.h"
#include "xml/document.h"
#include "xml/xpath.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

constexpr const char* kAcme = "/DEVICE/HART/SENSOR/Acme";
constexpr const char* kDev1 = "/DEVICE/HART/SENSOR/Acme/Flow/Coriolis/Dev1";
constexpr const char* kMod1 = "/DEVICE/HART/SENSOR/Acme/Mods/Mod1";
constexpr const char* kSolo = "/DEVICE/HART/SENSOR/Solo/A/B/Dev3";

std::string Relation(const std::string& id, const std::string& type, const std::string& ref, bool inverse) {
  return "<COMPONENT_RELATIONS><COMPONENT_RELATION id=\"" + id + "\"><RELATION_TYPE><" + type + "/></RELATION_TYPE>" +
         (inverse ? "<isInverse/>" : "") + "<COMPONENTS><component><component_ref>" + ref +
         "</component_ref></component></COMPONENTS></COMPONENT_RELATION></COMPONENT_RELATIONS>";
}

std::string Ident(const std::string& type, const std::string& revision) {
  return "<MANUFACTURER>0x00f1</MANUFACTURER><DEVICE_TYPE>" + type + "</DEVICE_TYPE><DEVICE_REVISION>" + revision +
         "</DEVICE_REVISION>";
}

// Acme holds Dev1 (with partners, an additional identification and the inverse
// child relation for Mod1, which names Dev1 as its parent) and Mod1; Ctl names
// Dev1 as its child; Solo holds one component at the end of a folder chain; two
// catalog folders refer to Dev1.
std::string CatalogText() {
  const std::string dev1 = std::string("<COMPONENT id=\"Dev1\" fsPath=\"\\DEVICE\\HART\\Acme\\Dev1\">") +
                           Ident("0xf1a5", "0x0003") + "<additionalIdentification>" + Ident("0x0001", "0x0001") +
                           "</additionalIdentification>" + Relation("r1", "CHILD_COMPONENT", kMod1, true) +
                           "</COMPONENT>";
  return std::string("<ZARN_CATALOG><section id=\"DEVICE\"><PROTOCOL id=\"HART\"><CLASSIFICATION id=\"SENSOR\">") +
         "<MANUFACTURER id=\"Acme\"><LABEL>acme</LABEL><COMPONENT_FOLDER id=\"Flow\"><LABEL>flow</LABEL>" +
         "<COMPONENT_FOLDER id=\"Coriolis\">" + dev1 +
         "<COMPONENT id=\"Dev1__hwcn_rack\" fsPath=\"\\DEVICE\\HART\\Acme\\Rack\"/>" +
         "<COMPONENT id=\"Dev1__hwcn_device\" fsPath=\"\\DEVICE\\HART\\Acme\\Device\"/>" +
         "</COMPONENT_FOLDER></COMPONENT_FOLDER>" + "<COMPONENT_FOLDER id=\"Mods\"><COMPONENT id=\"Mod1\">" +
         Ident("0x0002", "0x0001") + Relation("p1", "PARENT_COMPONENT", kDev1, false) +
         "</COMPONENT></COMPONENT_FOLDER>" + "<COMPONENT_FOLDER id=\"Ctls\"><COMPONENT id=\"Ctl\">" +
         Relation("c1", "CHILD_COMPONENT", kDev1, false) + "</COMPONENT></COMPONENT_FOLDER></MANUFACTURER>" +
         "<MANUFACTURER id=\"Solo\"><COMPONENT_FOLDER id=\"A\"><COMPONENT_FOLDER id=\"B\">" +
         "<COMPONENT id=\"Dev3\" fsPath=\"\\..\\..\\outside\"/></COMPONENT_FOLDER></COMPONENT_FOLDER></MANUFACTURER>" +
         "</CLASSIFICATION></PROTOCOL></section>" + "<CATALOG_FOLDER id=\"Fav\"><COMPONENT><component_ref>" + kDev1 +
         "</component_ref></COMPONENT>" + "</CATALOG_FOLDER><CATALOG_FOLDER id=\"Fav2\"><COMPONENT><component_ref>" +
         kDev1 + "</component_ref></COMPONENT></CATALOG_FOLDER></ZARN_CATALOG>";
}

std::string LastSegment(const std::string& path) { return path.substr(path.rfind('/') + 1); }

class DeletionTest : public CatalogTest {
 protected:
  void SetUp() override {
    LoadCatalog(CatalogText());
    for (const char* dir : {"Dev1", "Rack", "Device"}) {
      std::filesystem::create_directories(work_.Join(std::string("zarn_catalog/DEVICE/HART/Acme/") + dir));
      testing::WriteFile(work_.Join(std::string("zarn_catalog/DEVICE/HART/Acme/") + dir + "/f.txt"), "x");
    }
    testing::WriteFile(work_.Join("outside/keep.txt"), "keep");
  }

  // Deletes `target`; deleted_ and referencing_ receive the lists on success.
  uint32_t Delete(const std::string& target) { return DeleteComponent(target, &deleted_, &referencing_); }
  // Number of nodes the XPath selects in the saved catalog file.
  size_t Saved(const std::string& xpath) {
    std::string error;
    std::unique_ptr<xml::Document> doc = xml::Document::LoadFile(Catalog().catalogFile(), &error);
    std::vector<Node> nodes;
    if (doc) xml::SelectNodes(doc->AsNode(), xpath, &nodes, &error);
    return nodes.size();
  }
  bool Exists(const std::string& relative) { return std::filesystem::exists(work_.Join(relative)); }

  std::string deleted_;
  std::string referencing_;
};

TEST_F(DeletionTest, EmptiedFoldersVanishUpToAnElementWithOtherChildren) {
  ASSERT_EQ(Delete(kMod1), 0u);
  EXPECT_EQ(Saved("//COMPONENT_FOLDER[@id='Mods']"), 0u);
  EXPECT_EQ(Saved("//MANUFACTURER[@id='Acme']"), 1u);
  ASSERT_EQ(Delete(kSolo), 0u);
  EXPECT_EQ(Saved("//MANUFACTURER[@id='Solo']"), 0u);
  EXPECT_EQ(Saved("//CLASSIFICATION[@id='SENSOR']"), 1u);
}

TEST_F(DeletionTest, InverseChildRelationsStayInAPlaceholder) {
  ASSERT_EQ(Delete(kDev1), 0u);
  EXPECT_EQ(Saved("//COMPONENT[@id='Dev1']"), 0u);
  EXPECT_EQ(Saved("//COMPONENT_FOLDER[@id='Coriolis']/COMPONENT_FOLDER[@id='Dev1'][@isArtificial='true']"
                  "/COMPONENT_RELATIONS/COMPONENT_RELATION[@id='r1'][isInverse]"),
            1u);
  // The placeholder alone keeps the emptied folder.
  EXPECT_EQ(Saved("//COMPONENT_FOLDER[@id='Coriolis']"), 1u);
}

TEST_F(DeletionTest, KeptRelationsComeBackWhenTheComponentReturns) {
  ASSERT_EQ(Delete(kDev1), 0u);
  // What an import of Dev1 does: a new element beside the placeholder, then the merge.
  Node folder = SelectEntryElement(Catalog(), "/DEVICE/HART/SENSOR/Acme/Flow/Coriolis");
  ASSERT_TRUE(folder);
  folder.AppendElement("COMPONENT").SetAttribute("id", "Dev1");
  Catalog().MergeArtificialNodes(nullptr, Node(), Node());
  ASSERT_EQ(Catalog().save(), 0u);
  EXPECT_EQ(Saved("//COMPONENT_FOLDER[@isArtificial]"), 0u);
  EXPECT_EQ(Saved("//COMPONENT[@id='Dev1']/COMPONENT_RELATIONS/COMPONENT_RELATION[@id='r1'][isInverse]"), 1u);
}

TEST_F(DeletionTest, InverseParentRelationsOfTheDeletedComponentGo) {
  ASSERT_EQ(Delete(kMod1), 0u);
  EXPECT_EQ(Saved("//COMPONENT[@id='Dev1']/COMPONENT_RELATIONS"), 0u);
}

TEST_F(DeletionTest, OnlyTheFirstCatalogFolderReferenceGoes) {
  ASSERT_EQ(Delete(kDev1), 0u);
  EXPECT_EQ(Saved("//CATALOG_FOLDER[@id='Fav']/COMPONENT"), 0u);
  EXPECT_EQ(Saved("//CATALOG_FOLDER[@id='Fav2']/COMPONENT"), 1u);
}

TEST_F(DeletionTest, ResultListsPartnersAndReferencingComponents) {
  ASSERT_EQ(Delete(kDev1), 0u);
  EXPECT_EQ(deleted_, std::string(kDev1) + ";" + kDev1 + "__hwcn_rack;" + kDev1 + "__hwcn_device");
  EXPECT_EQ(referencing_, "/DEVICE/HART/SENSOR/Acme/Ctls/Ctl");
  EXPECT_EQ(Saved("//COMPONENT[starts-with(@id,'Dev1__')]"), 0u);
}

TEST_F(DeletionTest, ManufacturerDeletesEverythingBelowIt) {
  ASSERT_EQ(Delete(kAcme), 0u);
  EXPECT_EQ(Saved("//MANUFACTURER[@id='Acme']"), 0u);
  for (const char* path : {kDev1, kMod1}) EXPECT_NE(deleted_.find(path), std::string::npos) << path;
  EXPECT_NE(deleted_.find("/Ctls/Ctl"), std::string::npos);
  EXPECT_EQ(deleted_.front(), '/');
  EXPECT_NE(deleted_.back(), ';');
}

TEST_F(DeletionTest, ProtectedEntryStopsWhileEarlierEntriesStaySaved) {
  const std::pair<const char*, const char*> cases[] = {{kSolo, "/DEVICE/HART"},
                                                       {kMod1, "/DEVICE/HART/SENSOR"},
                                                       {"/DEVICE/HART/SENSOR/Acme/Ctls/Ctl", "/DEVICE"},
                                                       {"/Fav2", "/"}};
  for (const auto& [earlier, entry] : cases) {
    EXPECT_EQ(Delete(std::string(earlier) + ";" + entry), ZARN_E_NOT_DELETABLE) << entry;
    EXPECT_EQ(Saved("//*[@id='" + LastSegment(earlier) + "']"), 0u) << earlier;
    EXPECT_EQ(Saved("//PROTOCOL[@id='HART']"), 1u) << entry;
  }
}

TEST_F(DeletionTest, MissingEntriesAreNotFound) {
  for (const char* target : {"", ";", "/DEVICE/HART/SENSOR/Nobody", "/x'y"}) {
    EXPECT_EQ(Delete(target), ZARN_E_NOT_FOUND) << target;
  }
  EXPECT_EQ(Delete(std::string(kSolo) + ";/No/Such"), ZARN_E_NOT_FOUND);
  EXPECT_EQ(Saved("//COMPONENT[@id='Dev3']"), 0u);
  // The walk up through emptied parents ends at the document, which has none.
  EXPECT_EQ(DeleteNode(Catalog(), Catalog().document()->AsNode(), false, nullptr), ZARN_E_NO_PARENT);
}

TEST_F(DeletionTest, IdentificationKeysAreRemoved) {
  std::string path;
  ASSERT_TRUE(Catalog().IndexLookup("00F1/F1A5/0003", &path));
  ASSERT_EQ(Delete(kDev1), 0u);
  EXPECT_FALSE(Catalog().IndexLookup("00F1/F1A5/0003", &path));
  EXPECT_FALSE(Catalog().IndexLookup("00F1/0001/0001", &path));
  EXPECT_TRUE(Catalog().IndexLookup("00F1/0002/0001", &path));
}

TEST_F(DeletionTest, FileAreasGoButNothingOutsideTheCatalog) {
  ASSERT_EQ(Delete(kDev1), 0u);
  for (const char* dir : {"Dev1", "Rack", "Device"}) {
    EXPECT_FALSE(Exists(std::string("zarn_catalog/DEVICE/HART/Acme/") + dir)) << dir;
  }
  ASSERT_EQ(Delete(kSolo), 0u);
  EXPECT_TRUE(Exists("outside/keep.txt"));
}

TEST_F(DeletionTest, CatalogFolderEntryDeletesWhatItRefersTo) {
  ASSERT_EQ(Delete("/Fav"), 0u);
  EXPECT_EQ(Saved("//COMPONENT[@id='Dev1']"), 0u);
  EXPECT_EQ(Saved("//CATALOG_FOLDER[@id='Fav']"), 0u);
  EXPECT_EQ(deleted_, std::string("/Fav;") + kDev1 + ";" + kDev1 + "__hwcn_rack;" + kDev1 + "__hwcn_device");
}

TEST_F(DeletionTest, ComponentBehindATwinFolderIsFound) {
  LoadCatalog(
      "<ZARN_CATALOG><M id=\"m\"><P id=\"p\"><C id=\"a\"/></P><P id=\"p\"><C id=\"b\"/></P></M></ZARN_CATALOG>");
  ASSERT_EQ(Delete("/m/p/b"), 0u);
  EXPECT_EQ(Saved("//P"), 1u);
  EXPECT_EQ(Saved("//C[@id='a']"), 1u);
}

// Deletion of imported components through their component XML file.
class DeletionImportTest : public ImportDriverTest {};

TEST_F(DeletionImportTest, ComponentXmlFileNamesItsComponents) {
  const std::string file =
      Component("first/dev.ddl_comp.xml", Device("First", "", "Other", "0x0001"), Sources("first_src"));
  ASSERT_EQ(Import(file), 0u);
  ASSERT_EQ(Count("//COMPONENT[@id='First']"), 1u);
  std::string key_path;
  ASSERT_TRUE(Catalog().IndexLookup("00F1/F1A5/0001", &key_path));
  VARIANT deleted;
  VARIANT referencing;
  VariantInit(&deleted);
  VariantInit(&referencing);
  ASSERT_EQ(ZARN_DeleteComponent(ToUtf16(file).c_str(), &deleted, &referencing), 0u);
  EXPECT_EQ(VariantString(deleted), key_path);
  VariantClear(&deleted);
  VariantClear(&referencing);
  EXPECT_EQ(Count("//COMPONENT[@id='First']"), 0u);
  EXPECT_FALSE(Catalog().IndexLookup("00F1/F1A5/0001", &key_path));
  // Imported again after the deletion.
  ASSERT_EQ(Import(file), 0u);
  EXPECT_EQ(Count("//COMPONENT[@id='First']"), 1u);
}

// A file of the component's directory that cannot be removed (immutable: not even
// root removes it) does not undo the deletion, but the result says so.
TEST_F(DeletionImportTest, FilesThatCannotBeRemovedAreReportedAfterTheDeletion) {
  const std::string file =
      Component("first/dev.ddl_comp.xml", Device("First", "", "Other", "0x0001"), Sources("first_src"));
  ASSERT_EQ(Import(file), 0u);
  const std::string kept = CatalogDir() + "/DEVICE/HART/SENSOR/FLOW/CORIOLIS/Zentrifex/Other/First/dev.ddl";
  ASSERT_TRUE(std::filesystem::exists(kept));
  if (std::system(("chattr +i '" + kept + "' 2>/dev/null").c_str()) != 0) GTEST_SKIP() << "no chattr here";
  VARIANT deleted;
  VARIANT referencing;
  VariantInit(&deleted);
  VariantInit(&referencing);
  EXPECT_EQ(ZARN_DeleteComponent(ToUtf16(file).c_str(), &deleted, &referencing), ZARN_E_CANNOT_DELETE);
  EXPECT_NE(VariantString(deleted), "") << "the lists of a deletion that took place";
  VariantClear(&deleted);
  VariantClear(&referencing);
  std::system(("chattr -i '" + kept + "'").c_str());
  EXPECT_EQ(Count("//COMPONENT[@id='First']"), 0u) << "deleted and saved";
  ASSERT_EQ(Import(file), 0u) << "imported again into the directory the files stayed in";
}

}  // namespace
}  // namespace zarn
