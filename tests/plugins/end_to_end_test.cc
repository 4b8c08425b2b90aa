// A sample through the loaded catalog manager's ZARN_GetComponents, which finds the
// plug-ins beside its own library, converts with them and applies the stylesheet
// (the GSD and IODD samples take that way in the sample-library import tests).
// Skipped while the catalog manager or its stylesheet is not built.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "platform/dynlib.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "tests/plugins/plugin_test_support.h"
#include "tests/support/test_support.h"
#include "zarn/catalog_manager.h"

namespace zarn::testing {
namespace {

namespace fs = std::filesystem;

struct Record {
  std::string label;
  std::string id;
  std::map<std::string, std::string> levels;  // element name -> value (last wins)
  std::string Level(const std::string& name) const {
    auto it = levels.find(name);
    return it != levels.end() ? it->second : "<none>";
  }
};

class EndToEndTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string stylesheet = JoinPath(SourceDir(), "data/catalogData/zarnxml_2_componentxml.xslt");
    if (!fs::exists(stylesheet)) GTEST_SKIP() << "the stylesheet is not in the tree yet";
    if (!Library().IsOpen()) GTEST_SKIP() << "catalog manager not built";
    // The catalog manager hands the plug-ins' device XML to the compiler library.
    if (!fs::exists(JoinPath(ModuleDirectory(), LibraryFileName("zarn_zarnl_compiler_x")))) {
      GTEST_SKIP() << "compiler library not built";
    }
    init_ = Library().Function<decltype(&ZARN_InitCatalogManager)>("ZARN_InitCatalogManager");
    reset_ = Library().Function<decltype(&ZARN_ResetCatalog)>("ZARN_ResetCatalog");
    get_ = Library().Function<decltype(&ZARN_GetComponents)>("ZARN_GetComponents");
    free_ = Library().Function<decltype(&ZARN_FreeComponentXMLInfo)>("ZARN_FreeComponentXMLInfo");
    if (!init_ || !reset_ || !get_ || !free_) GTEST_SKIP() << "ZARN_GetComponents not exported yet";
    std::error_code ec;
    fs::create_directories(work_.Join("zarn_catalog"), ec);
    fs::copy(JoinPath(SourceDir(), "data/catalogData"), work_.Join("zarn_catalog/catalogData"),
             fs::copy_options::recursive, ec);
    ASSERT_EQ(0u, init_(ToUtf16(work_.path()).c_str()));
  }
  void TearDown() override {
    if (reset_) reset_();
  }

  // Converts `sample` and returns the records of components (not of the catalog
  // level folders), first created first.
  std::vector<Record> Get(const std::string& sample, uint32_t* code) {
    ComponentXMLInfo* list = nullptr;
    *code = get_(ToUtf16(ExamplePath(sample)).c_str(), &list, u"en");
    std::vector<Record> records;
    for (ComponentXMLInfo* r = list; r != nullptr; r = r->next) {
      Record rec{ToUtf8(r->label), ToUtf8(r->id), {}};
      for (ComponentXMLLevel* l = r->hierarchy; l != nullptr; l = l->next)
        rec.levels[ToUtf8(l->elementName)] = ToUtf8(l->value);
      if (rec.levels.count("COMPONENT") != 0) records.insert(records.begin(), rec);
    }
    free_(list);
    return records;
  }

  // Loaded once and kept for the life of the process, as a host keeps it: the
  // catalog manager's process-wide caches stay reachable.
  static DynamicLibrary& Library() {
    static DynamicLibrary* library = [] {
      auto* l = new DynamicLibrary();
      l->OpenFromModuleDirectory("zarn_catalog_manager_x");
      return l;
    }();
    return *library;
  }

  decltype(&ZARN_InitCatalogManager) init_ = nullptr;
  decltype(&ZARN_ResetCatalog) reset_ = nullptr;
  decltype(&ZARN_GetComponents) get_ = nullptr;
  decltype(&ZARN_FreeComponentXMLInfo) free_ = nullptr;
  ScratchDir work_;
};

TEST_F(EndToEndTest, DevicesList) {
  uint32_t code = 0;
  const auto records = Get("gsd/field_devices.devices", &code);
  ASSERT_EQ(0u, code);
  ASSERT_EQ(2u, records.size());
  EXPECT_EQ("TG-20 temperature gauge", records[0].label);
  EXPECT_EQ("HART", records[0].Level("PROTOCOL"));
}

}  // namespace
}  // namespace zarn::testing
