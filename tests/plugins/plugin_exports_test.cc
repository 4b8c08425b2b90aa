// Both plug-in libraries through their exported entry points, as the catalog
// manager loads them. Every handed-out string is given back; the sanitizer
// build's leak check fails the run if one is not released.
#include <gtest/gtest.h>

#include "platform/dynlib.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "tests/plugins/plugin_test_support.h"
#include "tests/support/test_support.h"
#include "zarn/converter_plugin.h"

namespace zarn::testing {
namespace {

struct Plugin {
  DynamicLibrary library;
  ZarnConvertFn convert = nullptr;
  ZarnGetSupportedFileTypesFn get_types = nullptr;
  ZarnFreeSupportedFileTypesFn free_types = nullptr;
  ZarnIsFileTypeSupportedFn is_supported = nullptr;
  ZarnGetOutputFileNameFn get_output = nullptr;
  ZarnFreeOutputFileNameFn free_output = nullptr;
  ZarnFreeConversionMessageFn free_message = nullptr;

  bool Load(const char* name) {
    if (!library.OpenFromModuleDirectory(name)) return false;
    convert = library.Function<ZarnConvertFn>(ZARN_CONVERTER_ENTRY_CONVERT);
    get_types = library.Function<ZarnGetSupportedFileTypesFn>(ZARN_CONVERTER_ENTRY_GET_SUPPORTED_FILE_TYPES);
    free_types = library.Function<ZarnFreeSupportedFileTypesFn>(ZARN_CONVERTER_ENTRY_FREE_SUPPORTED_FILE_TYPES);
    is_supported = library.Function<ZarnIsFileTypeSupportedFn>(ZARN_CONVERTER_ENTRY_IS_FILE_TYPE_SUPPORTED);
    get_output = library.Function<ZarnGetOutputFileNameFn>(ZARN_CONVERTER_ENTRY_GET_OUTPUT_FILE_NAME);
    free_output = library.Function<ZarnFreeOutputFileNameFn>(ZARN_CONVERTER_ENTRY_FREE_OUTPUT_FILE_NAME);
    free_message = library.Function<ZarnFreeConversionMessageFn>(ZARN_CONVERTER_ENTRY_FREE_CONVERSION_MESSAGE);
    return convert && get_types && free_types && is_supported && get_output && free_output && free_message;
  }
};

struct Case {
  const char* library;
  const char* types;
  const char* sample;      // below examples/devices
  uint32_t expected_code;  // converting the sample
};

class PluginExportsTest : public ::testing::TestWithParam<Case> {
 protected:
  void SetUp() override { ASSERT_TRUE(plugin_.Load(GetParam().library)) << plugin_.library.error(); }

  std::string Types() {
    char16_t* types = nullptr;
    EXPECT_EQ(0u, plugin_.get_types(&types));
    const std::string text = ToUtf8(types);
    plugin_.free_types(&types);
    EXPECT_EQ(nullptr, types);
    return text;
  }

  // Converts and returns (code, message); the message is given back.
  std::pair<uint32_t, std::string> Convert(const std::string& input) {
    char16_t* message = nullptr;
    const uint32_t code = plugin_.convert(ToUtf16(input).c_str(), ToUtf16(out_.path()).c_str(), u"", &message);
    const std::string text = ToUtf8(message);
    plugin_.free_message(&message);
    EXPECT_EQ(nullptr, message);
    return {code, text};
  }

  Plugin plugin_;
  ScratchDir out_;
};

TEST_P(PluginExportsTest, SupportedTypes) { EXPECT_EQ(GetParam().types, Types()); }

TEST_P(PluginExportsTest, ConvertsItsSampleAndNamesTheOutput) {
  const std::string input = ExamplePath(GetParam().sample);
  EXPECT_EQ(0u, plugin_.is_supported(ToUtf16(input).c_str()));
  const auto [code, message] = Convert(input);
  EXPECT_EQ(GetParam().expected_code, code) << message;
  char16_t* name = nullptr;
  plugin_.get_output(ToUtf16(out_.path()).c_str(), ToUtf16(input).c_str(), &name);
  const std::string output = ToUtf8(name);
  plugin_.free_output(&name);
  EXPECT_EQ(nullptr, name);
  EXPECT_EQ(JoinPath(out_.path(), FileNamePart(input) + ".device.xml"), output);
  EXPECT_FALSE(ReadFile(output).empty());
}

TEST_P(PluginExportsTest, NullArgumentsAreRefusedQuietly) {
  char16_t* message = nullptr;
  EXPECT_NE(0u, plugin_.convert(nullptr, nullptr, nullptr, &message));
  plugin_.free_message(&message);
  EXPECT_NE(0u, plugin_.convert(u"/nonexistent/file.gsd", ToUtf16(out_.path()).c_str(), nullptr, nullptr));
  EXPECT_NE(0u, plugin_.get_types(nullptr));
  EXPECT_NE(0u, plugin_.is_supported(nullptr));
  EXPECT_NE(0u, plugin_.is_supported(u"/nonexistent/file.xml"));
  char16_t* name = reinterpret_cast<char16_t*>(this);
  plugin_.get_output(nullptr, u"x", &name);
  EXPECT_EQ(nullptr, name);
  plugin_.get_output(u"/o", u"x", nullptr);
  plugin_.free_output(nullptr);
  plugin_.free_output(&name);
  plugin_.free_types(nullptr);
  plugin_.free_message(nullptr);
}

TEST_P(PluginExportsTest, FailureMessagesComeBackAndAreFreed) {
  const auto [code, message] = Convert("/nonexistent/file.zip");
  EXPECT_EQ(0x90204002u, code);
  EXPECT_NE(std::string::npos, message.find("/nonexistent/file.zip")) << message;
}

INSTANTIATE_TEST_SUITE_P(Plugins, PluginExportsTest,
                         ::testing::Values(Case{"zarn_devices_converter_x", "GS?;devices", "gsd/QLMK80F3.gsd", 0},
                                           Case{"zarn_iodd_converter_x", "xml;zip",
                                                "iodd/Brindle-BL50-20260101-IODD1.1.xml", 0}),
                         [](const auto& info) { return std::string(info.param.library).substr(5, 4); });

}  // namespace
}  // namespace zarn::testing
