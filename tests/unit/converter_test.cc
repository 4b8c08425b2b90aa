// Converter plug-ins: loading, file-type matching and the conversion of one file,
// driven through two test plug-ins that can be told what to list, accept and return.
#include "conversion/converter.h"
#include "platform/file_operation.h"
#include "tests/unit/conversion_fixture.h"

namespace zarn {
namespace {

using testing::WriteFile;

using ConfigureFn = void (*)(const char*, uint32_t, uint32_t, const char*, uint32_t);
using LogFn = const char* (*)();

// Talks to one test plug-in through its control entry points.
class FakePlugin {
 public:
  explicit FakePlugin(const std::string& name) { library_.Open(JoinPath(ModuleDirectory(), LibraryFileName(name))); }
  bool loaded() const { return library_.IsOpen(); }
  void Configure(const char* types, uint32_t accept = 0, uint32_t result = 0, const char* message = "done",
                 uint32_t typesResult = 0) {
    library_.Function<ConfigureFn>("FakeConverter_Configure")(types, accept, result, message, typesResult);
  }
  std::string Log() const { return library_.Function<LogFn>("FakeConverter_Log")(); }

 private:
  DynamicLibrary library_;
};

struct MatchCase {
  const char* path;
  const char* pattern;
  bool matches;
};

TEST(MatchesFileTypeTest, ExtensionAgainstPattern) {
  const MatchCase cases[] = {
      {"/d/a.xml", "XM?", true},   {"/d/a.XMX", "XM?", true}, {"/d/a.xmlx", "XM?", false},
      {"/d/a.iodd", "IODD", true}, {"/d/a.xml", "", true},    {"/d/a.b.ddl", "ddl", true},
      {"/d/a.dd", "ddl", false},   {"noext", "NOEXT", true},  {"/d/a.ddl", "d?", false},
  };
  for (const MatchCase& c : cases) {
    EXPECT_EQ(MatchesFileType(c.path, c.pattern), c.matches) << c.path << " against " << c.pattern;
  }
}

class ConverterTest : public ConversionTest {
 protected:
  void SetUp() override {
    ConversionTest::SetUp();
    if (!a_.loaded() || !b_.loaded()) GTEST_SKIP() << "test plug-ins not built";
    a_.Configure("fake");
    b_.Configure("fake");
    input_ = work_.Join("in/device.fake");
    ASSERT_TRUE(WriteFile(input_, "x"));
  }
  // Loads the two test plug-ins (in this order) as the catalog's converters.
  ConverterList& LoadFakes() {
    return GetConverters(Catalog(), ModuleDirectory(),
                         {"zarn_no_such_converter_x", "zarn_fake_converter_a", "zarn_fake_converter_b"});
  }

  FakePlugin a_{"zarn_fake_converter_a"};
  FakePlugin b_{"zarn_fake_converter_b"};
  std::string input_;
};

TEST_F(ConverterTest, MissingPluginsAreDroppedAndTheListIsLoadedOnce) {
  EXPECT_EQ(LoadFakes().size(), 2u);
  EXPECT_EQ(GetConverters(Catalog(), ModuleDirectory(), {"zarn_fake_converter_a"}).size(), 2u);
  EXPECT_FALSE(Cconverter("zarn_no_such_converter_x").complete());
}

TEST_F(ConverterTest, WithoutPluginsAFileIsNotConverted) {
  GetConverters(Catalog(), work_.path(), {"zarn_devices_converter_x", "zarn_iodd_converter_x"});
  EXPECT_TRUE(Catalog().converterList().empty());
  std::vector<Record> records;
  EXPECT_EQ(Get(input_, &records), ZARN_E_NO_RECORDS) << "not handed to the compiler";
  ASSERT_EQ(records.size(), 1u);
  EXPECT_NE(records.front().message.find("no converter plug-in accepts .fake files"), std::string::npos)
      << records.front().message;
}

TEST_F(ConverterTest, OnlyTheFirstAcceptingPluginConverts) {
  LoadFakes();
  std::vector<Record> records;
  ASSERT_EQ(Get(input_, &records), 0u);
  ASSERT_FALSE(records.empty());
  EXPECT_EQ(records.front().id, "fake_a");
  EXPECT_EQ(records.front().message, "done");
  EXPECT_EQ(records.front().hierarchy.front(), "COMPONENT=fake_a");
  EXPECT_EQ(a_.Log(), "types;accept:device.fake;convert:device.fake;");
  EXPECT_EQ(b_.Log(), "");
}

TEST_F(ConverterTest, RefusedFileGoesToTheNextEntryThenTheNextPlugin) {
  a_.Configure("fak?;FAKE", 1);
  LoadFakes();
  std::vector<Record> records;
  ASSERT_EQ(Get(input_, &records), 0u);
  EXPECT_EQ(a_.Log(), "types;accept:device.fake;accept:device.fake;");
  EXPECT_EQ(b_.Log(), "types;accept:device.fake;convert:device.fake;");
  EXPECT_EQ(records.front().id, "fake_b");
}

TEST_F(ConverterTest, PluginWhoseTypesFailIsSkipped) {
  a_.Configure("fake", 0, 0, "", 5);
  LoadFakes();
  ASSERT_EQ(Get(input_), 0u);
  EXPECT_EQ(a_.Log(), "types;");
  EXPECT_NE(b_.Log().find("convert:"), std::string::npos);
}

TEST_F(ConverterTest, WarningBecomesSuccessWithALevelFourTrace) {
  a_.Configure("fake", 0, ZARN_E_CONVERTER_WARNING, "check the units");
  LoadFakes();
  testing::TraceCapture trace;
  std::vector<Record> records;
  ASSERT_EQ(Get(input_, &records), 0u);
  EXPECT_EQ(records.front().message, "check the units");
  ASSERT_TRUE(trace.Contains("WARNING occurred during conversion of " + input_));
  for (const auto& e : trace.entries()) {
    if (e.message.find("WARNING occurred") != std::string::npos) {
      EXPECT_EQ(e.level, 4);
    }
  }
}

TEST_F(ConverterTest, FailureReturnsThePluginCodeAndARecordNamingTheFile) {
  a_.Configure("fake", 0, 0x12345, "broken file");
  LoadFakes();
  testing::TraceCapture trace;
  std::vector<Record> records;
  EXPECT_EQ(Get(input_, &records), 0x12345u);
  ASSERT_EQ(records.size(), 1u);
  EXPECT_EQ(records[0].path, input_);
  EXPECT_EQ(records[0].message, "broken file");
  EXPECT_TRUE(records[0].id.empty());
  EXPECT_TRUE(trace.Contains("ERROR occurred during conversion of " + input_));
  EXPECT_EQ(b_.Log(), "");
}

TEST_F(ConverterTest, DirectoryListingOffersFilesToThePlugins) {
  a_.Configure("devices", 0);
  b_.Configure("fake", 0);
  LoadFakes();
  ASSERT_TRUE(WriteFile(work_.Join("in/other.devices"), "x"));
  ASSERT_TRUE(WriteFile(work_.Join("in/plain.ddl"), "x"));
  std::vector<Record> records;
  ASSERT_EQ(Get(work_.Join("in"), &records), 0u);
  EXPECT_EQ(Paths(records), (std::vector<std::string>{input_, work_.Join("in/other.devices")}))
      << "a devices entry that finds files keeps the sources out";
}

}  // namespace
}  // namespace zarn
