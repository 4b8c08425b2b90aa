// A working directory with a catalog (stylesheet, manufacturer list, device
// configuration) and helpers to run ZARN_GetComponents and look at its records.
#ifndef ZARN_TESTS_UNIT_CONVERSION_FIXTURE_H_
#define ZARN_TESTS_UNIT_CONVERSION_FIXTURE_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "api/export_frame.h"
#include "external/compiler_library.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {

// One record of ZARN_GetComponents, copied out.
struct Record {
  std::string label, help, id, path, message;
  std::vector<std::string> hierarchy;  // "ELEMENT=value", in chain order
  bool hasLabel = false;
};

class ConversionTest : public CatalogTest {
 protected:
  void SetUp() override {
    CatalogTest::SetUp();
    const std::string data = JoinPath(testing::SourceDir(), "data/catalogData");
    namespace fs = std::filesystem;
    fs::create_directories(CatalogPath("catalogData"));
    fs::copy(data, CatalogPath("catalogData"), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::create_directories(CatalogPath("Device"));
    fs::copy_file(Sample("zarn_catalog/Device/HV__DEV01.cfg"), CatalogPath("Device/HV__DEV01.cfg"));
    Reopen();
  }
  void TearDown() override { CatalogModule::Instance().Shutdown(); }

  static bool CompilerAvailable() { return CompilerLibrary::Instance().available(); }
  static std::string Sample(const std::string& relative) {
    return JoinPath(testing::SourceDir(), "examples/devices/" + relative);
  }

  // Runs ZARN_GetComponents; the records in chain order.
  uint32_t Get(const std::string& path, std::vector<Record>* records = nullptr) {
    ComponentXMLInfo* list = nullptr;
    const uint32_t rc = ZARN_GetComponents(ToUtf16(path).c_str(), &list, nullptr);
    for (const ComponentXMLInfo* r = list; r != nullptr && records != nullptr; r = r->next) {
      Record copy{
          ToUtf8(r->label),   ToUtf8(r->help), ToUtf8(r->id), ToUtf8(r->componentXmlPath), ToUtf8(r->message), {},
          r->label != nullptr};
      for (const ComponentXMLLevel* l = r->hierarchy; l != nullptr; l = l->next) {
        copy.hierarchy.push_back(ToUtf8(l->elementName) + "=" + ToUtf8(l->value));
      }
      records->push_back(copy);
    }
    EXPECT_EQ(ZARN_FreeComponentXMLInfo(list), 0u);
    return rc;
  }
  // The ids of the records, in chain order.
  static std::vector<std::string> Ids(const std::vector<Record>& records) {
    std::vector<std::string> ids;
    for (const Record& r : records) ids.push_back(r.id);
    return ids;
  }
  static std::vector<std::string> Paths(const std::vector<Record>& records) {
    std::vector<std::string> paths;
    for (const Record& r : records) paths.push_back(r.path);
    return paths;
  }
  // Every file below the catalog's temporary directory.
  std::vector<std::string> TemporaryFiles() {
    std::vector<std::string> files;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(Catalog().temporaryDirectory(), ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
      if (it->is_regular_file()) files.push_back(it->path().string());
    }
    return files;
  }
};

}  // namespace zarn

#endif  // ZARN_TESTS_UNIT_CONVERSION_FIXTURE_H_
