// The IODD converter on the samples, on snippets and on zip packages.
#include "libs/iodd_converter/iodd_converter.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "libs/iodd_converter/iodd_reader.h"
#include "platform/paths.h"
#include "tests/plugins/plugin_test_support.h"
#include "tests/support/test_support.h"

namespace zarn::testing {
namespace {

using converters::IoddConverter;

constexpr uint32_t kWarning = 0x902040a6u;
constexpr uint32_t kUnreadable = 0x90204002u;
const char kMain[] = "Brindle-BL50-20260101-IODD1.1.xml";
const char kGerman[] = "Brindle-BL50-20260101-IODD1.1-de.xml";
const char kImage[] = "Brindle-BL50-pic.png";

class IoddConverterTest : public ::testing::Test {
 protected:
  Converted Convert(const std::string& input) { return ConvertWith(IoddConverter(), input, out_.path()); }
  static std::string Sample(const std::string& name) { return ReadFile(ExamplePath("iodd/" + name)); }
  // A minimal IODD in namespace `ns` with `identity` inside DeviceIdentity and `extra` in ProfileBody.
  static std::string Iodd(const std::string& identity, const std::string& extra = "",
                          const std::string& ns = "http://www.io-link.com/IODD/2010/10") {
    return "<IODevice xmlns='" + ns + "'><ProfileBody><DeviceIdentity vendorId='7' deviceId='9' vendorName='V'>" +
           identity + "</DeviceIdentity>" + extra +
           "</ProfileBody><ExternalTextCollection><PrimaryLanguage "
           "xml:lang='en'><Text id='T1' value='One'/></PrimaryLanguage></ExternalTextCollection></IODevice>";
  }
  Converted Snippet(const std::string& text) {
    WriteFile(in_.Join("d.xml"), text);
    return Convert(in_.Join("d.xml"));
  }
  // The sample package: IODD, German texts and image, plus `extra` entries.
  std::string Package(std::vector<std::pair<std::string, std::string>> extra = {}) {
    extra.insert(extra.begin(), {{kMain, Sample(kMain)}, {kGerman, Sample(kGerman)}, {kImage, Sample(kImage)}});
    const std::string path = in_.Join("package.zip");
    EXPECT_TRUE(WriteZip(path, extra));
    return path;
  }
  static std::string Q(const Converted& c, const std::string& xpath) {
    return c.doc ? SelectOne(*c.doc, xpath) : "<no doc>";
  }
  static size_t N(const Converted& c, const std::string& xpath) { return c.doc ? Select(*c.doc, xpath).size() : 0; }

  ScratchDir in_;
  ScratchDir out_;
};

TEST_F(IoddConverterTest, SampleVariantsTextsAndImage) {
  const Converted c = Convert(ExamplePath(std::string("iodd/") + kMain));
  ASSERT_EQ(0u, c.code) << c.message;
  EXPECT_EQ(2u, N(c, "/*/COMPONENT[PROTOCOL/@name='IOLINK']"));
  const std::string s = "/*/COMPONENT[@id='IODD_1234_0x00B150_BL50_S']";
  EXPECT_EQ("BL50-S level sensor, short probe", Q(c, s + "/LABEL/string[not(@lang)]"));
  EXPECT_EQ("BL50-S Füllstandsensor, kurze Sonde", Q(c, s + "/LABEL/string[@lang='de']"));
  EXPECT_EQ("Kapazitiver Füllstandsensor mit 150-mm-Sonde", Q(c, s + "/HELP/string[@lang='de']"));
  EXPECT_EQ(kImage, Q(c, s + "/IMAGE/string"));
  EXPECT_EQ("Brindle Instruments", Q(c, "/*/IDENTIFICATION/MANUFACTURER/@name"));
  EXPECT_EQ("1234", Q(c, "/*/IDENTIFICATION/MANUFACTURER/@value"));
  EXPECT_EQ("0xb150", Q(c, "/*/IDENTIFICATION/DEVICE_TYPE/@hex"));
  EXPECT_EQ("V1.0.2", Q(c, "/*/IDENTIFICATION/DD_REVISION/@name"));
}

TEST_F(IoddConverterTest, VariablesCarryTypesAndDefaultsAsInitialValues) {
  const Converted c = Convert(ExamplePath(std::string("iodd/") + kMain));
  ASSERT_EQ(0u, c.code) << c.message;
  EXPECT_EQ("UNSIGNED_INTEGER", Q(c, "/*/VARIABLE[@id='V_SwitchPoint']/TYPE/@name"));
  EXPECT_EQ("2", Q(c, "/*/VARIABLE[@id='V_SwitchPoint']/TYPE/@size"));
  EXPECT_EQ("Schaltpunkt", Q(c, "/*/VARIABLE[@id='V_SwitchPoint']/LABEL/string[@lang='de']"));
  EXPECT_EQ("16", Q(c, "/*/VARIABLE[@id='V_MediumName']/TYPE/@size"));
  const std::string iv = "/*/COMPONENT[1]/INITIAL_VALUES/initial_value[variable_ref/@ref='";
  EXPECT_EQ("250", Q(c, iv + "V_SwitchPoint']/integer"));
  EXPECT_EQ("0.5", Q(c, iv + "V_Damping']/float"));
  EXPECT_EQ("false", Q(c, iv + "V_Inverted']/boolean"));
  EXPECT_EQ("Water", Q(c, iv + "V_MediumName']/string"));
  EXPECT_EQ("***", Q(c, iv + "V_ApplicationSpecificTag']/string"));
}

TEST_F(IoddConverterTest, SamplesConformToTheDeviceXmlFormat) {
  for (const std::string& input : {ExamplePath(std::string("iodd/") + kMain), Package()}) {
    const Converted c = Convert(input);
    ASSERT_NE(nullptr, c.doc) << input << ": " << c.message;
    EXPECT_EQ(std::vector<std::string>{}, DeviceXmlProblems(*c.doc)) << input;
  }
}

TEST_F(IoddConverterTest, MissingPartsAreWarnings) {
  const struct {
    std::string text;
    const char* warning;
  } cases[] = {
      {Iodd("<DeviceVariantCollection><DeviceVariant productId='P'><Name textId='T_missing'/></DeviceVariant>"
            "</DeviceVariantCollection>"),
       "text T_missing referenced but missing"},
      {Iodd("<Sparkle/>"), "unknown element Sparkle"},
      {Iodd(""), "no DeviceVariant"},
      {Iodd("<DeviceVariantCollection><DeviceVariant productId='P' deviceSymbol='nothere.png'/>"
            "</DeviceVariantCollection>"),
       "image nothere.png referenced but missing"},
      {Iodd("",
            "<DeviceFunction><VariableCollection><Variable id='V'><DatatypeRef datatypeId='D_x'/></Variable>"
            "</VariableCollection></DeviceFunction>"),
       "datatype D_x referenced but missing"},
  };
  for (const auto& c : cases) {
    const Converted r = Snippet(c.text);
    EXPECT_EQ(kWarning, r.code) << c.text;
    EXPECT_NE(std::string::npos, r.message.find(c.warning)) << c.text << " -> " << r.message;
    EXPECT_NE(nullptr, r.doc) << c.text;
  }
  const Converted r = Snippet(cases[3].text);
  EXPECT_EQ(0u, N(r, "//IMAGE")) << "a picture that is not there is not named";
}

// IODD 1.0.1 names a variant's texts ProductName and ProductText.
TEST_F(IoddConverterTest, OlderVariantTextsAreUsedInEveryLanguage) {
  const std::string ns = "http://www.io-link.com/IODD/2009/11";
  const std::string text =
      "<IODevice xmlns='" + ns +
      "'><ProfileBody><DeviceIdentity vendorId='7' deviceId='9' vendorName='V'>"
      "<DeviceVariantCollection><DeviceVariant productId='P-1'><ProductName textId='TN'/>"
      "<ProductText textId='TD'/></DeviceVariant></DeviceVariantCollection></DeviceIdentity></ProfileBody>"
      "<ExternalTextCollection><PrimaryLanguage xml:lang='en'><Text id='TN' value='Switch'/>"
      "<Text id='TD' value='A switch'/></PrimaryLanguage><Language xml:lang='de'><Text id='TN' value='Schalter'/>"
      "</Language></ExternalTextCollection></IODevice>";
  const Converted r = Snippet(text);
  ASSERT_NE(nullptr, r.doc) << r.message;
  EXPECT_EQ("Switch", Q(r, "/*/COMPONENT[1]/LABEL/string[not(@lang)]"));
  EXPECT_EQ("Schalter", Q(r, "/*/COMPONENT[1]/LABEL/string[@lang='de']"));
  EXPECT_EQ("A switch", Q(r, "/*/COMPONENT[1]/HELP/string[not(@lang)]"));
}

TEST_F(IoddConverterTest, UnreadableDescriptionsFail) {
  const struct {
    std::string text;
    const char* message;
  } cases[] = {
      {"<IODevice", "d.xml"},
      {Iodd("", "", "urn:other"), "IODevice of IODD 1.0.1 or 1.1 expected"},
      {"<IODevice xmlns='http://www.io-link.com/IODD/2010/10'/>", "DeviceIdentity missing"},
      {"<IODevice xmlns='http://www.io-link.com/IODD/2010/10'><ProfileBody><DeviceIdentity vendorId='x' deviceId='1'/>"
       "</ProfileBody></IODevice>",
       "vendorId is not a number"},
  };
  for (const auto& c : cases) {
    const Converted r = Snippet(c.text);
    EXPECT_EQ(kUnreadable, r.code) << c.text;
    EXPECT_NE(std::string::npos, r.message.find(c.message)) << c.text << " -> " << r.message;
    EXPECT_EQ(nullptr, r.doc);
  }
}

TEST_F(IoddConverterTest, RecognitionLooksAtTheContent) {
  WriteFile(in_.Join("old.xml"), Iodd("", "", "http://www.io-link.com/IODD/2009/11"));
  WriteFile(in_.Join("other.xml"), Iodd("", "", "urn:other"));
  WriteFile(in_.Join("fake.zip"), "PK not really");
  EXPECT_TRUE(Accepts(IoddConverter(), ExamplePath(std::string("iodd/") + kMain)));
  EXPECT_FALSE(Accepts(IoddConverter(), ExamplePath(std::string("iodd/") + kGerman)));
  EXPECT_FALSE(Accepts(IoddConverter(), ExamplePath(std::string("iodd/") + kImage)));
  EXPECT_TRUE(Accepts(IoddConverter(), in_.Join("old.xml")));
  EXPECT_FALSE(Accepts(IoddConverter(), in_.Join("other.xml")));
  EXPECT_FALSE(Accepts(IoddConverter(), in_.Join("fake.zip")));
  EXPECT_TRUE(Accepts(IoddConverter(), Package()));
}

TEST_F(IoddConverterTest, LanguageFileNames) {
  EXPECT_EQ("de", converters::IoddLanguageFileTag(kMain, kGerman));
  EXPECT_EQ("", converters::IoddLanguageFileTag(kMain, kMain));
  EXPECT_EQ("", converters::IoddLanguageFileTag(kMain, "Brindle-BL50-20260101-IODD1.1-de1.xml"));
  EXPECT_EQ("", converters::IoddLanguageFileTag(kMain, "Other-IODD1.1-de.xml"));
}

TEST_F(IoddConverterTest, PackageIsUnpackedInsideTheOutputDirectory) {
  // The escaping names are unusual enough that nothing else in the scratch area's parent holds them.
  const std::string package =
      Package({{"../../zarn-escaped-entry", "escape"}, {"/zarn-absolute-entry", "abs"}, {"a/../../y", "y"}});
  const Converted c = Convert(package);
  EXPECT_EQ(kWarning, c.code) << c.message;
  EXPECT_NE(std::string::npos, c.message.find("entry not unpacked: ../../zarn-escaped-entry")) << c.message;
  EXPECT_EQ("BL50-S Füllstandsensor, kurze Sonde", Q(c, "/*/COMPONENT[1]/LABEL/string[@lang='de']"));
  EXPECT_FALSE(std::filesystem::exists(JoinPath(ParentDirectory(out_.path()), "zarn-escaped-entry")));
  EXPECT_FALSE(std::filesystem::exists(JoinPath(out_.path(), "zarn-escaped-entry")));
  EXPECT_FALSE(std::filesystem::exists("/zarn-absolute-entry"));
  EXPECT_TRUE(std::filesystem::exists(JoinPath(out_.path(), std::string("package.zip.content/") + kImage)));
  for (const char* file : {kImage, kMain, kGerman}) {
    EXPECT_TRUE(std::filesystem::exists(JoinPath(out_.path(), file)))
        << file << ": the files of the IODD lie beside the device XML, where the import copies from";
  }
  EXPECT_FALSE(std::filesystem::exists(JoinPath(out_.path(), "y")));
}

TEST_F(IoddConverterTest, PackagesWithoutIoddOrBeyondTheLimitsFail) {
  const std::string none = in_.Join("none.zip");
  ASSERT_TRUE(WriteZip(none, {{"readme.txt", "hello"}}));
  EXPECT_EQ(kUnreadable, Convert(none).code);
  const std::string bomb = in_.Join("bomb.zip");
  ASSERT_TRUE(WriteZip(bomb, {{"big.xml", std::string(40u << 20, 'a')}}));
  const Converted c = Convert(bomb);
  EXPECT_EQ(kUnreadable, c.code);
  EXPECT_NE(std::string::npos, c.message.find("size limit")) << c.message;
  EXPECT_FALSE(Accepts(IoddConverter(), bomb));
}

}  // namespace
}  // namespace zarn::testing
