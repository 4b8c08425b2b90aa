// The shared library zarn_zarnl_compiler_x through its C entry points.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/strings.h"
#include "tests/compiler/exports_c_host.h"
#include "tests/support/test_support.h"

namespace {

using zarn::testing::ReadFile;
using zarn::testing::ScratchDir;
using zarn::testing::WriteFile;

struct CallbackLog {
  std::vector<int32_t> requests;
  std::vector<std::string> errors;
  std::vector<int32_t> contexts;
};
CallbackLog* g_log = nullptr;

int32_t ZARN_CALL Callback(int32_t request, int32_t context, int32_t, VARIANT* data) {
  g_log->requests.push_back(request);
  g_log->contexts.push_back(context);
  if (request == ZARNL_REQUEST_ERROR) {
    g_log->errors.push_back(zarn::VariantString(*data));
    return 0;
  }
  if (request == ZARNL_REQUEST_BUILTINS) {
    zarn::SetVariantString(data, "zarn_builtins_standard_x.dll");
    return 0;
  }
  return -1;
}

class ExportsTest : public ::testing::Test {
 protected:
  void SetUp() override { g_log = &log_; }
  void TearDown() override { g_log = nullptr; }

  // Runs the C host over `source` written below a catalog directory.
  ZarnlHostResult Run(const std::string& source) {
    WriteFile(dir_.Join("zarn_catalog/Device/HV__DEV01.cfg"),
              "MANUFACTURER 0x2A = Example\nDEVICE_TYPE 0x12 = PT100\n");
    WriteFile(dir_.Join("zarn_catalog/_global/std.h"), "#define LBL \"|en|Level|de|Pegel\"\n");
    WriteFile(dir_.Join("zarn_catalog/DEVICE/dev.ddl"), source);
    ZarnlHostResult result{};
    const bool loaded =
        zarnl_c_host_run(ZARNL_LIBRARY, Utf16("zarn_catalog/DEVICE/dev.ddl").c_str(), Utf16("out.device.xml").c_str(),
                         Utf16("zarn_catalog/Device/HV__DEV01.cfg").c_str(), Callback, &result) != 0;
    EXPECT_TRUE(loaded);
    return result;
  }
  std::u16string Utf16(const std::string& rel) const { return zarn::ToUtf16(dir_.Join(rel)); }

  ScratchDir dir_;
  CallbackLog log_;
};

TEST_F(ExportsTest, CompilesThroughTheEntryPoints) {
  const ZarnlHostResult r =
      Run("#include \"std.h\"\nMANUFACTURER 0x2A, DEVICE_TYPE PT100, DEVICE_REVISION 1, DD_REVISION 1\n"
          "VARIABLE level { LABEL LBL; }\n");
  EXPECT_EQ(r.preprocess_result, 0);
  EXPECT_EQ(r.preprocessed_type, VT_BSTR);
  EXPECT_GT(r.preprocessed_length, 0);
  EXPECT_TRUE(r.opened);
  EXPECT_EQ(r.write_result, 0);
  EXPECT_EQ(log_.requests, std::vector<int32_t>{ZARNL_REQUEST_BUILTINS});
  EXPECT_EQ(log_.contexts, std::vector<int32_t>{4711});
  const std::string xml = ReadFile(dir_.Join("out.device.xml"));
  EXPECT_NE(xml.find("<DEVICE_TYPE name=\"PT100\" value=\"18\" hex=\"0x0012\"/>"), std::string::npos) << xml;
  EXPECT_NE(xml.find("<string lang=\"de\">Pegel</string>"), std::string::npos) << xml;
}

TEST_F(ExportsTest, ReportsErrorsThroughTheCallback) {
  const ZarnlHostResult r = Run("MANUFACTURER 1\nVARIABLE v { LABEL ; }\n#include \"none.h\"\n");
  EXPECT_NE(r.preprocess_result, 0);
  EXPECT_EQ(r.preprocessed_type, VT_EMPTY);
  EXPECT_TRUE(r.opened);
  EXPECT_NE(r.write_result, 0);
  const std::string file = dir_.Join("zarn_catalog/DEVICE/dev.ddl");
  EXPECT_EQ(log_.errors, (std::vector<std::string>{file + ":3: cannot find include file 'none.h'",
                                                   file + ":2: missing value before ';'"}));
  EXPECT_EQ(ReadFile(dir_.Join("out.device.xml")), "");
}

TEST_F(ExportsTest, ReportsWarningsWithoutFailing) {
  const ZarnlHostResult r = Run("MANUFACTURER 0x2A\nCOMPONENT c {\n LABEL \"c\";\n CLASIFICATION X;\n}\n");
  EXPECT_TRUE(r.opened);
  EXPECT_EQ(r.write_result, 0);
  const std::string file = dir_.Join("zarn_catalog/DEVICE/dev.ddl");
  EXPECT_EQ(
      log_.errors,
      (std::vector<std::string>{file + ":4: warning: unknown attribute CLASIFICATION (did you mean CLASSIFICATION?)"}));
  EXPECT_NE(ReadFile(dir_.Join("out.device.xml")).find("<COMPONENT id=\"c\""), std::string::npos);
}

TEST_F(ExportsTest, OpenFailsForAMissingSource) {
  ZarnlHostResult result{};
  ASSERT_TRUE(
      zarnl_c_host_run(ZARNL_LIBRARY, Utf16("absent.ddl").c_str(), Utf16("o.xml").c_str(), nullptr, Callback, &result));
  EXPECT_NE(result.preprocess_result, 0);
  EXPECT_FALSE(result.opened);
  EXPECT_EQ(log_.errors.size(), 1u);
}

}  // namespace
