// Attributes of catalog elements and of component XML files through the exports.
#include <gtest/gtest.h>

#include "platform/paths.h"
#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

using testing::ScratchDir;
using testing::WriteFile;

constexpr char kEmf[] = "/DEVICE/HART/Flow/Magnetic/Acme/EMF";

constexpr char kCatalog[] = R"(<ZARN_CATALOG>
<section id="DEVICE"><PROTOCOL id="HART" fsPath="\DEVICE\HART">
 <CLASSIFICATION id="Flow"><CLASSIFICATION id="Magnetic">
  <MANUFACTURER id="Acme"><VENDOR_INFO>maker</VENDOR_INFO><IMAGE>maker.bmp</IMAGE>
   <COMPONENT id="EMF" fsPath="\DEVICE\HART\Acme\EMF"><componentID>EMF</componentID>
    <LABEL><string>Flowmeter</string><string lang="de">Durchfluss</string></LABEL>
    <IMAGE>emf.bmp</IMAGE><VENDOR_INFO>device</VENDOR_INFO><INITIAL_VALUES/><COMPONENT_RELATIONS/>
    <MANUFACTURER>0x002a</MANUFACTURER><DEVICE_TYPE>0xf1b2</DEVICE_TYPE><DEVICE_REVISION>0x0002</DEVICE_REVISION>
   </COMPONENT>
   <COMPONENT id="EMPTY"/>
  </MANUFACTURER>
 </CLASSIFICATION></CLASSIFICATION>
</PROTOCOL></section>
<section id="NET"><PROTOCOL id="PROFIBUS"><COMPONENT id="Coupler"><VENDOR_INFO>net</VENDOR_INFO></COMPONENT>
</PROTOCOL></section>
</ZARN_CATALOG>)";

class ComponentAttributesTest : public CatalogTest {
 protected:
  void SetUp() override { LoadCatalog(kCatalog); }

  std::string CatalogDir() const { return workdir_ + "/zarn_catalog"; }

  // "code|text" of one attribute; "code|<untouched>" when no value was written.
  std::string Attribute(const std::string& path, const std::string& name, int32_t mode = 0) {
    VARIANT value;
    VariantInit(&value);
    const uint32_t rc = ZARN_GetComponentAttribute(ToUtf16(path).c_str(), ToUtf16(name).c_str(), &value, mode);
    const std::string text = value.vt == VT_BSTR ? VariantString(value) : "<untouched>";
    VariantClear(&value);
    return Code(rc) + "|" + text;
  }

  // "code|id{NAME=value,...};..." of every record returned, released afterwards.
  std::string Attributes(const std::string& path) {
    CompAttrInfo* list = reinterpret_cast<CompAttrInfo*>(&sentinel_);
    const uint32_t rc = ZARN_GetComponentAttributes(ToUtf16(path).c_str(), &list);
    if (list == reinterpret_cast<CompAttrInfo*>(&sentinel_)) return Code(rc) + "|<untouched>";
    std::string out;
    for (const CompAttrInfo* info = list; info != nullptr; info = info->next) {
      out += (out.empty() ? "" : ";") + ToUtf8(info->name) + "{";
      for (const CompAttrEntry* e = info->attributes; e != nullptr; e = e->next) {
        out += ToUtf8(e->name) + "=" + ToUtf8(e->value) + (e->next != nullptr ? "," : "");
      }
      out += "}";
    }
    EXPECT_EQ(ZARN_FreeCompAttrInfoList(list), 0u);
    return Code(rc) + "|" + out;
  }

  static std::string Code(uint32_t rc) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%x", rc);
    return buf;
  }

  int sentinel_ = 0;
};

TEST_F(ComponentAttributesTest, ModesReadTheElementAndTheLevelsAbove) {
  EXPECT_EQ(Attribute(kEmf, "VENDOR_INFO", 0), "0|device;maker") << "inner level first";
  EXPECT_EQ(Attribute(kEmf, "IMAGE", 0),
            "0|" + CatalogDir() + "/DEVICE/HART/Acme/EMF/emf.bmp;" + CatalogDir() + "/DEVICE/HART/maker.bmp");
  EXPECT_EQ(Attribute(kEmf, "VENDOR_INFO", 1), "0|device");
  EXPECT_EQ(Attribute(kEmf, "VENDOR_INFO", 2), "0|device");
  EXPECT_EQ(Attribute(kEmf, "IMAGE", 2), "0|" + CatalogDir() + "/DEVICE/HART/Acme/EMF/emf.bmp");
  EXPECT_EQ(Attribute(kEmf, "HELP", 2), "90204043|");
  EXPECT_EQ(Attribute(kEmf, "VENDOR_INFO", 3), "90204043|") << "other modes read nothing";
  EXPECT_EQ(Attribute(kEmf, "HELP", 0), "90204043|");
}

TEST_F(ComponentAttributesTest, LevelsAndSections) {
  EXPECT_EQ(Attribute(kEmf, "CLASSIFICATION"), "0|Flow_Magnetic");
  EXPECT_EQ(Attribute(kEmf, "protocol"), "0|HART");
  EXPECT_EQ(Attribute(kEmf, "MANUFACTURER"), "0|Acme");
  EXPECT_EQ(Attribute(kEmf, "SECTION"), "0|DEVICE");
  EXPECT_EQ(Attribute("/NET/PROFIBUS/Coupler", "Section"), "0|NET");
  EXPECT_EQ(Attribute("/NET/PROFIBUS/Coupler", "CLASSIFICATION"), "90204043|");
  EXPECT_EQ(Attribute(" /ident:002A/F1B2/0002 ", "VENDOR_INFO", 1), "0|device");
  EXPECT_EQ(Attribute("/ident:002A/F1B2/0002", "SECTION"), "0|DEVICE") << "the key is no section";
}

TEST_F(ComponentAttributesTest, SingleAttributeFailures) {
  EXPECT_EQ(Attribute("", "LABEL"), "90204043|<untouched>");
  EXPECT_EQ(Attribute(kEmf, ""), "90204043|<untouched>");
  EXPECT_EQ(Attribute("/ident:0001/0002/0003", "LABEL"), "90204043|<untouched>");
  EXPECT_EQ(Attribute("/DEVICE/NOPE", "LABEL"), "90204042|<untouched>");
  EXPECT_EQ(Attribute("/DEVICE/HART/Flow/Magnetic/Acme/EMPTY", "LABEL"), "90204042|<untouched>");
  VARIANT value;
  VariantInit(&value);
  EXPECT_EQ(ZARN_GetComponentAttribute(nullptr, u"LABEL", &value, 0), ZARN_E_ATTRIBUTE);
  EXPECT_EQ(ZARN_GetComponentAttribute(u"/DEVICE", nullptr, &value, 0), ZARN_E_ATTRIBUTE);
  EXPECT_EQ(value.vt, VT_EMPTY);
}

TEST_F(ComponentAttributesTest, TextsFollowTheCatalogLanguage) {
  EXPECT_EQ(Attribute(kEmf, "LABEL", 2), "0|Flowmeter");
  ASSERT_EQ(ZARN_SetCatalogLanguage(u"de"), 0u);
  EXPECT_EQ(Attribute(kEmf, "LABEL", 2), "0|Durchfluss");
}

TEST_F(ComponentAttributesTest, AllAttributesOfACatalogElement) {
  EXPECT_EQ(Attributes(kEmf), "0|EMF{DEVICE_REVISION=0x0002,DEVICE_TYPE=0xf1b2,VENDOR_INFO=device,IMAGE=" +
                                  CatalogDir() + "/DEVICE/HART/Acme/EMF/emf.bmp,LABEL=Flowmeter,componentID=EMF}");
  EXPECT_EQ(Attributes("/DEVICE/HART/Flow/Magnetic/Acme"),
            "0|Acme{IMAGE=" + CatalogDir() + "/DEVICE/HART/maker.bmp,VENDOR_INFO=maker}");
  EXPECT_EQ(Attributes("/DEVICE/HART/Flow/Magnetic/Acme/EMPTY"), "90204042|<untouched>")
      << "an element without children cannot be addressed";
  EXPECT_EQ(Attributes("/DEVICE/NOPE"), "90204042|<untouched>");
  EXPECT_EQ(Attributes(""), "90204042|<untouched>");
  CompAttrInfo* list = nullptr;
  EXPECT_EQ(ZARN_GetComponentAttributes(nullptr, &list), ZARN_E_NOT_FOUND);
  EXPECT_EQ(ZARN_FreeCompAttrInfoList(nullptr), 0u);
}

struct FileCase {
  const char* content;
  const char* expected;
};

TEST_F(ComponentAttributesTest, AllAttributesOfAComponentXmlFile) {
  const std::string file = work_.Join("lib/dev.ddl_comp.xml");
  const std::string lib = work_.Join("lib");
  ASSERT_TRUE(WriteFile(file,
                        "<COMP_COMPONENTXML><version/><COMPONENT id='C1'><IMAGE>a.bmp</IMAGE>"
                        "<PROTOCOL name='HART'/><MANUFACTURER name='42'/></COMPONENT>"
                        "<COMPONENT_FOLDER id='F'><LABEL><string>Folder</string></LABEL></COMPONENT_FOLDER>"
                        "<COMPONENT id='C2'/></COMP_COMPONENTXML>"));
  EXPECT_EQ(Attributes(file), "0|C2{};C1{IMAGE=" + lib + "/a.bmp};F{LABEL=Folder}")
      << "records come in reverse; no componentZARN is added";

  const FileCase cases[] = {
      {"<COMP_COMPONENTXML><version/></COMP_COMPONENTXML>", "0|"},
      {"<COMP_COMPONENTXML><version/>", "90204002|<untouched>"},
      {"<COMP_COMPONENTXML><COMPONENT id='C'/></COMP_COMPONENTXML>", "90204005|<untouched>"},
      {"<COMP_COMPONENTXML><version/><COMPONENT id='C'><PROTOCOL/></COMPONENT></COMP_COMPONENTXML>",
       "90204004|<untouched>"},
      {"<COMP_COMPONENTXML><version/><COMPONENT/></COMP_COMPONENTXML>", "90204003|<untouched>"},
      {"<COMP_COMPONENTXML><version/><COMPONENT id='A'><COMPONENT_PARENT refid='B'/></COMPONENT>"
       "<COMPONENT id='B'><COMPONENT_PARENT refid='A'/></COMPONENT></COMP_COMPONENTXML>",
       "90204006|<untouched>"},
  };
  for (const FileCase& c : cases) {
    ASSERT_TRUE(WriteFile(file, c.content));
    EXPECT_EQ(Attributes(file), c.expected) << c.content;
  }
  EXPECT_EQ(Attributes(work_.Join("lib/missing.xml")), "90204005|<untouched>");
  ASSERT_TRUE(WriteFile(work_.Join("lib/dir.xml/x"), "x"));
  EXPECT_EQ(Attributes(work_.Join("lib/dir.xml")), "90204005|<untouched>") << "a directory";
}

}  // namespace
}  // namespace zarn
