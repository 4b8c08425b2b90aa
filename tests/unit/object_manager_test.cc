// The object-manager library, loaded and resolved by name as the catalog manager does.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/dynlib.h"
#include "platform/strings.h"
#include "tests/support/test_support.h"
#include "zarn/object_manager.h"

namespace zarn {
namespace {

using GetFn = int32_t(ZARN_CALL*)(const char16_t*, VARIANT*);
using SetFn = int32_t(ZARN_CALL*)(const char16_t*, const VARIANT*);
using NotifyFn = int32_t(ZARN_CALL*)(ZarnSettingsCallback, const char16_t*);
using CreateFn = int32_t(ZARN_CALL*)(void**);
using SetPathFn = int32_t(ZARN_CALL*)(void*, const char16_t*, int32_t);
using DeleteFn = int32_t(ZARN_CALL*)(void*);

// What the callbacks saw: "<tag>:<name>=<value as text>".
std::vector<std::string> g_seen;

std::string Describe(const VARIANT& v) {
  if (v.vt == VT_BSTR) return ToUtf8(v.bstrVal);
  if (v.vt == VT_UI1) return "byte " + std::to_string(v.bVal);
  return "vt " + std::to_string(v.vt);
}
uint32_t ZARN_CALL FirstListener(const char16_t* name, VARIANT value) {
  g_seen.push_back("first:" + ToUtf8(name) + "=" + Describe(value));
  return 0;
}
uint32_t ZARN_CALL SecondListener(const char16_t* name, VARIANT value) {
  g_seen.push_back("second:" + ToUtf8(name) + "=" + Describe(value));
  return 0;
}

class ObjectManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib_.OpenFromModuleDirectory("zarn_om_x")) << lib_.error();
    get_ = Resolve<GetFn>("ZARN_GetSettingsAttribute");
    set_ = Resolve<SetFn>("ZARN_SetSettingsAttribute");
    register_ = Resolve<NotifyFn>("ZARN_RegisterChangeSettingsAttributeNotify");
    unregister_ = Resolve<NotifyFn>("ZARN_UnregisterChangeSettingsAttributeNotify");
    create_ = Resolve<CreateFn>("ZARN_CreateObject");
    set_path_ = Resolve<SetPathFn>("ZARN_SetComponentPath");
    delete_ = Resolve<DeleteFn>("ZARN_DeleteObject");
    settings_ = dir_.Join("settings.txt");
    setenv("ZARN_SETTINGS", settings_.c_str(), 1);
    g_seen.clear();
  }
  void TearDown() override {
    if (unregister_ != nullptr) {
      unregister_(FirstListener, nullptr);
      unregister_(SecondListener, nullptr);
    }
    unsetenv("ZARN_SETTINGS");
  }
  template <typename F>
  F Resolve(const char* name) {
    F f = lib_.Function<F>(name);
    EXPECT_NE(f, nullptr) << name;
    return f;
  }
  void Settings(const std::string& text) { ASSERT_TRUE(testing::WriteFile(settings_, text)); }

  // Reads a setting; returns "error" on a non-zero result, else the value as text.
  std::string Get(const char16_t* name) {
    VARIANT v;
    VariantInit(&v);
    const int32_t rc = get_(name, &v);
    std::string out = rc != 0 ? "error" : Describe(v);
    VariantClear(&v);
    return out;
  }
  int32_t SetString(const char16_t* name, const std::string& text) {
    VARIANT v;
    VariantInit(&v);
    SetVariantString(&v, text);
    const int32_t rc = set_(name, &v);
    VariantClear(&v);
    return rc;
  }
  int32_t SetByte(const char16_t* name, uint8_t byte) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_UI1;
    v.bVal = byte;
    return set_(name, &v);
  }

  testing::ScratchDir dir_;
  std::string settings_;
  DynamicLibrary lib_;
  GetFn get_ = nullptr;
  SetFn set_ = nullptr;
  NotifyFn register_ = nullptr;
  NotifyFn unregister_ = nullptr;
  CreateFn create_ = nullptr;
  SetPathFn set_path_ = nullptr;
  DeleteFn delete_ = nullptr;
};

TEST_F(ObjectManagerTest, ReadsStringsAndBytes) {
  Settings(
      "# host settings\nWorkingDirectory = /srv/zarn work\nGUI_Language=de\r\n"
      "CatalogCompileAfterImport=2\nGeneratePlatformSources=gen_x.so\n");
  EXPECT_EQ(Get(u"WorkingDirectory"), "/srv/zarn work");
  EXPECT_EQ(Get(u"GUI_Language"), "de");
  EXPECT_EQ(Get(u"CatalogCompileAfterImport"), "byte 2");
  EXPECT_EQ(Get(u"GeneratePlatformSources"), "gen_x.so");
}

TEST_F(ObjectManagerTest, ReadFailures) {
  Settings("GUI_Language=en\n#CatalogCompileAfterImport=1\ngui_language=fr\n");
  EXPECT_EQ(Get(u"CatalogCompileAfterImport"), "error");  // only in a comment
  EXPECT_EQ(Get(u"Unknown"), "error");
  EXPECT_EQ(Get(u"GUI_Language"), "en");  // names are compared exactly
  Settings("CatalogCompileAfterImport=yes\n");
  EXPECT_EQ(Get(u"CatalogCompileAfterImport"), "error");
  EXPECT_NE(get_(nullptr, nullptr), 0);
}

TEST_F(ObjectManagerTest, MissingFileOrVariableFailsEveryRead) {
  EXPECT_EQ(Get(u"GUI_Language"), "error");
  Settings("GUI_Language=de\n");
  unsetenv("ZARN_SETTINGS");
  EXPECT_EQ(Get(u"GUI_Language"), "error");
}

TEST_F(ObjectManagerTest, SetWritesFileKeepingOtherLines) {
  Settings("# comment\nGUI_Language=en\nWorkingDirectory=/w\nGUI_Language=fr\n");
  ASSERT_EQ(SetString(u"GUI_Language", "de"), 0);
  ASSERT_EQ(SetByte(u"CatalogCompileAfterImport", 1), 0);
  EXPECT_EQ(testing::ReadFile(settings_),
            "# comment\nGUI_Language=de\nWorkingDirectory=/w\nCatalogCompileAfterImport=1\n");
  EXPECT_EQ(Get(u"CatalogCompileAfterImport"), "byte 1");
}

TEST_F(ObjectManagerTest, SetCreatesMissingFileAndRefusesBadValues) {
  ASSERT_EQ(SetString(u"GUI_Language", "de"), 0);
  EXPECT_EQ(Get(u"GUI_Language"), "de");
  EXPECT_NE(SetString(u"CatalogCompileAfterImport", "maybe"), 0);
  EXPECT_NE(SetString(u"GUI_Language", "two\nlines"), 0);
  EXPECT_NE(SetString(u"A=B", "x"), 0);
  EXPECT_EQ(testing::ReadFile(settings_), "GUI_Language=de\n");
  unsetenv("ZARN_SETTINGS");
  EXPECT_NE(SetString(u"GUI_Language", "fr"), 0);
}

TEST_F(ObjectManagerTest, SetStoresIntegersAndBooleansAsNumbers) {
  register_(FirstListener, u"CatalogCompileAfterImport");
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BOOL;
  v.boolVal = VARIANT_TRUE;
  ASSERT_EQ(set_(u"CatalogCompileAfterImport", &v), 0);
  EXPECT_EQ(Get(u"CatalogCompileAfterImport"), "byte 1");
  v.vt = VT_I4;
  v.lVal = 300;  // does not fit the byte
  EXPECT_NE(set_(u"CatalogCompileAfterImport", &v), 0);
  v.lVal = -7;
  ASSERT_EQ(set_(u"GUI_Language", &v), 0);
  EXPECT_EQ(Get(u"GUI_Language"), "-7");
  v.vt = VT_R8;
  EXPECT_NE(set_(u"GUI_Language", &v), 0);
  // Listeners get the value exactly as it was passed.
  EXPECT_EQ(g_seen, std::vector<std::string>{"first:CatalogCompileAfterImport=vt 11"});
}

TEST_F(ObjectManagerTest, SetNotifiesListenersOfThatName) {
  register_(FirstListener, u"GUI_Language");
  register_(FirstListener, u"GUI_Language");  // a second registration adds nothing
  register_(SecondListener, u"GUI_Language");
  register_(SecondListener, u"CatalogCompileAfterImport");
  ASSERT_EQ(SetString(u"GUI_Language", "de"), 0);
  ASSERT_EQ(SetByte(u"CatalogCompileAfterImport", 2), 0);
  ASSERT_EQ(SetString(u"WorkingDirectory", "/w"), 0);
  EXPECT_EQ(g_seen, (std::vector<std::string>{"first:GUI_Language=de", "second:GUI_Language=de",
                                              "second:CatalogCompileAfterImport=byte 2"}));
}

TEST_F(ObjectManagerTest, UnregisterByNameAndForAllNames) {
  register_(FirstListener, u"GUI_Language");
  register_(FirstListener, u"CatalogCompileAfterImport");
  register_(SecondListener, u"GUI_Language");
  unregister_(SecondListener, u"GUI_Language");
  ASSERT_EQ(SetString(u"GUI_Language", "de"), 0);
  EXPECT_EQ(g_seen, std::vector<std::string>{"first:GUI_Language=de"});
  g_seen.clear();
  unregister_(FirstListener, nullptr);
  ASSERT_EQ(SetString(u"GUI_Language", "fr"), 0);
  ASSERT_EQ(SetByte(u"CatalogCompileAfterImport", 1), 0);
  EXPECT_TRUE(g_seen.empty());
}

TEST_F(ObjectManagerTest, ComponentObjectLifecycle) {
  void* object = nullptr;
  ASSERT_EQ(create_(&object), 0);
  ASSERT_NE(object, nullptr);
  EXPECT_EQ(set_path_(object, u"/DEVICE/HART/DEV01", 0), 0);
  EXPECT_NE(set_path_(object, u"", 0), 0);
  EXPECT_NE(set_path_(object, nullptr, 0), 0);
  EXPECT_NE(set_path_(nullptr, u"/DEVICE", 0), 0);
  EXPECT_EQ(delete_(object), 0);
  EXPECT_EQ(delete_(nullptr), 0);
  EXPECT_NE(create_(nullptr), 0);
}

}  // namespace
}  // namespace zarn
