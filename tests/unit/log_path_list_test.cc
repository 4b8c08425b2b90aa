// The log path list builder: its helpers, and that a failed allocation returns
// nothing and leaks nothing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "api/export_frame.h"
#include "maintenance/log_path_list.h"
#include "maintenance/log_path_records.h"
#include "platform/strings.h"
#include "tests/support/test_support.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

// Drives the builder on the module's catalog, loaded from a scratch directory.
class LogPathListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ZARN_ResetCatalog();
    ASSERT_TRUE(testing::WriteFile(work_.Join("zarn_catalog/zarn_catalog_content.xml"),
                                   R"(<ZARN_CATALOG><section id="S"><MANUFACTURER id="M">
               <COMPONENT id="C"><LABEL><string>Label C</string></LABEL><HELP><string>Help C</string></HELP></COMPONENT>
               <COMPONENT id="D"/>
             </MANUFACTURER></section>
             <CATALOG_FOLDER id="V"><COMPONENT_FOLDER id="W">
               <COMPONENT id="C"><component_ref>/S/M/C</component_ref></COMPONENT>
             </COMPONENT_FOLDER>
             <COMPONENT id="D"><component_ref>/S/M/D</component_ref></COMPONENT>
             <COMPONENT id="D2"><component_folder_ref>/S/M/D</component_folder_ref></COMPONENT>
             <component_ref>/S/M</component_ref></CATALOG_FOLDER></ZARN_CATALOG>)"));
    ZARN_InitCatalogManager(ToUtf16(work_.path()).c_str());
    catalog_ = CatalogModule::Instance().Catalog();
    ASSERT_NE(catalog_, nullptr);
  }
  void TearDown() override {
    SetLogPathAllocatorForTesting(nullptr);
    ZARN_ResetCatalog();
  }

  Node At(const std::string& path) { return catalog_->FindByComponentPath(path); }
  std::unique_ptr<CLogPathList> Builder(NodeList elements, bool texts) {
    return std::make_unique<CLogPathList>(catalog_, std::move(elements), texts);
  }
  // Paths of the chain built for `elements` ("-" for an empty record).
  std::string Paths(NodeList elements) {
    LogPathEntry* head = nullptr;
    EXPECT_EQ(Builder(std::move(elements), false)->BuildLogPathList(&head, false), 0u);
    std::string out;
    for (const LogPathEntry* e = head; e != nullptr; e = e->next) {
      out += (out.empty() ? "" : " ") + (e->path != nullptr ? ToUtf8(e->path) : std::string("-"));
    }
    FreeLogPathEntries(head);
    return out;
  }

  testing::ScratchDir work_;
  CCatalog_Contents* catalog_ = nullptr;
};

std::string Items(const LogPathSegment* s) {
  std::string out;
  for (; s != nullptr; s = s->next) {
    out += (out.empty() ? "" : " > ") + ToUtf8(s->name) + ":" + ToUtf8(s->id);
    if (s->label != nullptr) out += "(" + ToUtf8(s->label) + "|" + ToUtf8(s->help) + ")";
  }
  return out;
}

TEST_F(LogPathListTest, ItemsOfAnElementAndItsAncestors) {
  auto builder = Builder({}, true);
  LogPathSegment* items = nullptr;
  ASSERT_TRUE(builder->AppendElementItem(At("/S/M/C"), &items));
  ASSERT_TRUE(builder->AppendElementItem(Node(), &items)) << "a null element adds nothing";
  ASSERT_TRUE(builder->AppendAncestorItems(At("/S/M/C"), &items));
  EXPECT_EQ(Items(items), "COMPONENT:C(Label C|Help C) > MANUFACTURER:M(|) > section:S(|)");
  FreeLogPathSegments(items);
}

TEST_F(LogPathListTest, CopyOfAnEntryIsDeepAndPointsAtTheOriginal) {
  auto builder = Builder({}, false);
  LogPathEntryPtr entry(NewLogPathEntry());
  entry->path = NewWideString("/S/M/C");
  ASSERT_TRUE(builder->AppendAncestorItems(At("/S/M/C"), &entry->segments));
  LogPathEntryPtr copy(CLogPathList::CopyLogPathEntry(entry.get(), true));
  ASSERT_TRUE(copy);
  EXPECT_EQ(copy->next, entry.get());
  EXPECT_EQ(ToUtf8(copy->path), "/S/M/C");
  EXPECT_NE(copy->path, entry->path);
  EXPECT_EQ(copy->label, nullptr);
  EXPECT_EQ(Items(copy->segments), "MANUFACTURER:M > section:S");
  EXPECT_NE(copy->segments, entry->segments);
  LogPathEntryPtr bare(CLogPathList::CopyLogPathEntry(entry.get(), false));
  EXPECT_EQ(bare->segments, nullptr);
}

TEST_F(LogPathListTest, ReferenceContainersAndReferences) {
  std::string id;
  EXPECT_EQ(CLogPathList::IsReferenceContainer(At("/V/W/C"), &id), -1);
  EXPECT_EQ(CLogPathList::IsReferenceContainer(At("/V/W"), &id), 0);
  EXPECT_EQ(id, "W");

  auto builder = Builder({}, false);
  builder->BuildReferenceMaps();
  Node container;
  EXPECT_EQ(builder->FindCatalogFolderReference(At("/S/M/C"), &id, &container), 0);
  EXPECT_EQ(container, At("/V/W/C"));
  EXPECT_EQ(id, "C");
  EXPECT_EQ(builder->FindCatalogFolderReference(At("/S/M/D"), &id, &container), 0);
  EXPECT_EQ(container, At("/V/D")) << "component references come before folder references";
  EXPECT_EQ(builder->FindCatalogFolderReference(At("/S/M"), &id, &container), 0);
  EXPECT_EQ(container.Name(), "component_ref") << "no referring element: the reference itself";
  EXPECT_EQ(id, "");
  EXPECT_EQ(builder->FindCatalogFolderReference(At("/S"), &id, &container), -1);
  builder->ReleaseReferenceMaps();
  EXPECT_EQ(builder->FindCatalogFolderReference(At("/S/M/C"), &id, &container), -1);
}

TEST_F(LogPathListTest, EmptyElementListGivesAnEmptyList) {
  LogPathEntry* head = reinterpret_cast<LogPathEntry*>(this);
  EXPECT_EQ(Builder({}, true)->BuildLogPathList(&head, false), 0u);
  EXPECT_EQ(head, nullptr);
}

TEST_F(LogPathListTest, ReferenceContainerGivesAnEmptyRecordUnlessItIsLast) {
  EXPECT_EQ(Paths({At("/V/W/C"), At("/S/M/D")}), "/S/M/D -");
  EXPECT_EQ(Paths({At("/S/M/D"), At("/V/W/C")}), "/S/M/D");
  EXPECT_EQ(Paths({At("/V/W/C"), At("/V/D")}), "-");
}

TEST_F(LogPathListTest, ReferredElementsKeepOnlyTheirCatalogFolderEntries) {
  LogPathEntry* head = nullptr;
  ASSERT_EQ(Builder({At("/S/M/D")}, false)->BuildLogPathList(&head, false), 0u);
  ASSERT_NE(head, nullptr);
  EXPECT_EQ(Items(head->segments), "CATALOG_FOLDER:V");
  EXPECT_EQ(head->next, nullptr) << "the continuation stopped at the manufacturer is not listed";
  FreeLogPathEntries(head);
  ASSERT_EQ(Builder({At("/S/M/D")}, false)->BuildLogPathList(&head, true), 0u);
  EXPECT_EQ(ToUtf8(head->path), "D");
  EXPECT_EQ(Items(head->segments), "CATALOG_FOLDER:V");
  EXPECT_EQ(head->next, nullptr);
  FreeLogPathEntries(head);
}

// Fails the allocation numbered g_fail_at (counting from 1).
int g_allocations = 0;
int g_fail_at = 0;
void* FailingAllocator(size_t bytes) { return ++g_allocations == g_fail_at ? nullptr : std::malloc(bytes); }

TEST_F(LogPathListTest, EveryFailedAllocationReturnsNothingAndLeaksNothing) {
  const NodeList elements = {At("/V/W/C"), At("/S/M/C"), At("/S/M/D"), At("/S/M"), At("/S/M/C")};
  SetLogPathAllocatorForTesting(&FailingAllocator);
  for (bool texts : {false, true}) {
    for (g_fail_at = 1;; ++g_fail_at) {
      g_allocations = 0;
      LogPathEntry* head = reinterpret_cast<LogPathEntry*>(this);
      const uint32_t rc = Builder(elements, texts)->BuildLogPathList(&head, false);
      if (rc == 0) {
        EXPECT_GT(g_fail_at, 20) << "the run makes some allocations";
        FreeLogPathEntries(head);
        break;
      }
      EXPECT_EQ(rc, ZARN_E_ALLOCATION) << g_fail_at;
      EXPECT_EQ(head, nullptr) << g_fail_at;
    }
  }
}

}  // namespace
}  // namespace zarn
