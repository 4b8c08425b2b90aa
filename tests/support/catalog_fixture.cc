#include "tests/support/catalog_fixture.h"

#include "platform/strings.h"
#include "xml/document.h"
#include "xml/xpath.h"
#include "zarn/catalog_manager.h"

namespace zarn {

void CatalogTest::LoadCatalog(const std::string& xml) {
  if (!xml.empty()) {
    ASSERT_TRUE(testing::WriteFile(CatalogPath("zarn_catalog_content.xml"), xml));
  }
  Reopen();
}

void CatalogTest::Reopen() {
  ZARN_ResetCatalog();
  ZARN_InitCatalogManager(ToUtf16(workdir_).c_str());
}

void CatalogTest::LoadWithoutCatalog() {
  ZARN_ResetCatalog();
  ASSERT_TRUE(testing::WriteFile(work_.Join("plain"), "x"));
  ZARN_InitCatalogManager(ToUtf16(work_.Join("plain/sub")).c_str());
}

size_t CatalogTest::Count(const std::string& xpath) {
  NodeList nodes;
  std::string error;
  EXPECT_TRUE(xml::SelectNodes(Catalog().document()->AsNode(), xpath, &nodes, &error)) << error;
  return nodes.size();
}

std::string CatalogTest::CatalogXml() { return Catalog().root() ? Catalog().root().OuterXml() : ""; }

uint32_t DeleteComponent(const std::string& path, std::string* deleted, std::string* referencing) {
  VARIANT d;
  VARIANT r;
  VariantInit(&d);
  VariantInit(&r);
  const uint32_t rc = ZARN_DeleteComponent(ToUtf16(path).c_str(), &d, &r);
  if (deleted != nullptr) *deleted = d.vt == VT_BSTR ? VariantString(d) : "";
  if (referencing != nullptr) *referencing = r.vt == VT_BSTR ? VariantString(r) : "";
  VariantClear(&d);
  VariantClear(&r);
  return rc;
}

uint32_t ReplaceComponent(const std::string& path) {
  VARIANT deleted;
  VARIANT referencing;
  VariantInit(&deleted);
  VariantInit(&referencing);
  LogPathEntry* paths = nullptr;
  const uint32_t rc = ZARN_ReplaceComponent(ToUtf16(path).c_str(), &deleted, &referencing, &paths);
  ZARN_FreeLogPaths(paths);
  VariantClear(&deleted);
  VariantClear(&referencing);
  return rc;
}

}  // namespace zarn
