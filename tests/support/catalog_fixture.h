// The fixture of every test that needs a catalog: a scratch working directory whose
// catalog document is given as text and opened through the exports, the catalog
// behind the exports, XPath counts over it, and the delete and replace exports with
// their out-parameters released.
#ifndef ZARN_TESTS_SUPPORT_CATALOG_FIXTURE_H_
#define ZARN_TESTS_SUPPORT_CATALOG_FIXTURE_H_

#include <gtest/gtest.h>

#include <string>

#include "api/export_frame.h"
#include "tests/support/expect_xml.h"
#include "tests/support/test_support.h"

namespace zarn {

class CatalogTest : public ::testing::Test {
 protected:
  void SetUp() override { ZARN_ResetCatalog(); }
  void TearDown() override { ZARN_ResetCatalog(); }

  // Writes `xml` as the catalog document of the working directory (none when `xml`
  // is empty) and opens it through the exports.
  void LoadCatalog(const std::string& xml);
  // Opens the working directory again, as the next process would.
  void Reopen();
  // Opens a working directory below a plain file: no catalog can be had there.
  void LoadWithoutCatalog();
  // The working directory's catalog directory joined with `relative`.
  std::string CatalogPath(const std::string& relative) const { return workdir_ + "/zarn_catalog/" + relative; }
  CCatalog_Contents& Catalog() { return *CatalogModule::Instance().Catalog(); }
  // Number of nodes `xpath` selects in the catalog behind the exports.
  size_t Count(const std::string& xpath);
  // The catalog document behind the exports, serialised.
  std::string CatalogXml();

  testing::ScratchDir work_;
  std::string workdir_ = work_.path();  // the working directory
};

// ZARN_DeleteComponent; *deleted receives the deleted paths when given.
uint32_t DeleteComponent(const std::string& path, std::string* deleted = nullptr, std::string* referencing = nullptr);
// ZARN_ReplaceComponent of the component XML `path`.
uint32_t ReplaceComponent(const std::string& path);

}  // namespace zarn

#endif  // ZARN_TESTS_SUPPORT_CATALOG_FIXTURE_H_
