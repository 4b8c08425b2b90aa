#include "conversion/compilation.h"

#include <gtest/gtest.h>

#include "external/compiler_library.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "tests/support/test_support.h"

namespace zarn {
namespace {

using testing::ScratchDir;
using testing::SourceDir;
using testing::TraceCapture;

class CompilationTest : public ::testing::Test {
 protected:
  static std::string Sample(const std::string& relative) {
    return JoinPath(JoinPath(SourceDir(), "examples/devices"), relative);
  }

  ScratchDir scratch_;
};

TEST_F(CompilationTest, CallbackRequests) {
  struct Case {
    int32_t request;
    int32_t result;
    VARTYPE vt;
    const char* value;
  };
  const Case cases[] = {
      {1, -1, VT_EMPTY, ""},
      {2, 0, VT_BOOL, "1"},
      {3, -1, VT_EMPTY, ""},
      {5, 0, VT_EMPTY, ""},
      {6, -1, VT_EMPTY, ""},
      {7, -1, VT_EMPTY, ""},
      {8, 0, VT_BSTR, "zarn_builtins_standard_x.so"},
      {0, -1, VT_EMPTY, ""},
      {99, -1, VT_EMPTY, ""},
  };
  for (const Case& c : cases) {
    VARIANT v;
    VariantInit(&v);
    EXPECT_EQ(c.result, DdcCallBack(c.request, 0, 0, &v)) << "request " << c.request;
    EXPECT_EQ(c.vt, v.vt) << "request " << c.request;
    std::string value = v.vt == VT_BSTR ? VariantString(v) : v.vt == VT_BOOL ? std::to_string(v.boolVal) : "";
    EXPECT_EQ(c.value, value) << "request " << c.request;
    VariantClear(&v);
  }
}

TEST_F(CompilationTest, CompileErrorIsTraced) {
  TraceCapture trace;
  VARIANT v;
  VariantInit(&v);
  SetVariantString(&v, "x.ddl:3: unexpected '}'");
  EXPECT_EQ(0, DdcCallBack(4, 0, 0, &v));
  VariantClear(&v);
  ASSERT_EQ(1u, trace.entries().size());
  EXPECT_EQ(2, trace.entries()[0].level);
  EXPECT_EQ("DdcCallBack", trace.entries()[0].function);
  EXPECT_EQ("Compile Error: x.ddl:3: unexpected '}'", trace.entries()[0].message);
}

TEST_F(CompilationTest, NullDataIsNotTouched) {
  for (const int32_t request : {2, 4, 8}) EXPECT_EQ(0, DdcCallBack(request, 0, 0, nullptr)) << request;
}

TEST_F(CompilationTest, NothingOpen) {
  Compilation compilation;
  EXPECT_FALSE(compilation.is_open());
  EXPECT_EQ(-1, compilation.Produce(scratch_.Join("out.device.xml")));
  EXPECT_EQ(-1, compilation.Open(scratch_.Join("missing.ddl")));
  EXPECT_FALSE(compilation.is_open());
}

class CompilationSampleTest : public CompilationTest {
 protected:
  void SetUp() override {
    if (!CompilerLibrary::Instance().available()) GTEST_SKIP() << "compiler library not built";
  }
};

TEST_F(CompilationSampleTest, SyntaxErrorIsReportedWithFileAndLine) {
  TraceCapture trace;
  int32_t result = -1;
  {
    Compilation compilation;
    if (compilation.Open(Sample("broken/syntax_error.ddl")) == 0) {
      result = compilation.Produce(scratch_.Join("broken.device.xml"));
    }
  }
  EXPECT_NE(0, result);
  ASSERT_FALSE(trace.entries().empty());
  EXPECT_TRUE(trace.Contains("Compile Error: ")) << trace.entries()[0].message;
  EXPECT_TRUE(trace.Contains("syntax_error.ddl:")) << trace.entries()[0].message;
}

TEST_F(CompilationSampleTest, WarningIsTracedAndTheCompileSucceeds) {
  TraceCapture trace;
  const std::string source = scratch_.Join("warned.ddl");
  testing::WriteFile(source, "MANUFACTURER 0x2A\nCOMPONENT c {\n CLASIFICATION SENSOR_PRESSURE;\n}\n");
  int32_t result = -1;
  {
    Compilation compilation;
    ASSERT_EQ(0, compilation.Open(source));
    result = compilation.Produce(scratch_.Join("warned.device.xml"));
  }
  EXPECT_EQ(0, result);
  EXPECT_TRUE(trace.Contains("Compile Error: " + source + ":3: warning: unknown attribute CLASIFICATION"))
      << (trace.entries().empty() ? "no trace" : trace.entries()[0].message);
}

}  // namespace
}  // namespace zarn
