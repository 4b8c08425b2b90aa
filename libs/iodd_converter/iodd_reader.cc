#include "libs/iodd_converter/iodd_reader.h"

#include <set>

#include "libs/devices_converter/gsd_reader.h"
#include "platform/strings.h"
#include "xml/xpath.h"

namespace zarn::converters {
namespace {

struct NamespaceRow {
  std::string_view uri;
  std::string_view version;
};

constexpr NamespaceRow kNamespaces[] = {
    {"http://www.io-link.com/IODD/2009/11", "1.0.1"},
    {"http://www.io-link.com/IODD/2010/10", "1.1"},
};

constexpr std::string_view kKnownTopLevel[] = {"DocumentInfo",       "ProfileHeader",          "ProfileBody",
                                               "CommNetworkProfile", "ExternalTextCollection", "Stamp"};
constexpr std::string_view kKnownIdentity[] = {
    "VendorText", "VendorUrl", "VendorLogo", "DeviceName", "DeviceFamily", "DeviceVariantCollection", "DeviceIcon"};

bool IsOneOf(std::string_view name, const std::string_view* begin, const std::string_view* end) {
  for (const std::string_view* it = begin; it != end; ++it) {
    if (*it == name) return true;
  }
  return false;
}

xml::Node Child(xml::Node parent, std::string_view local_name) {
  if (!parent) return xml::Node();
  for (xml::Node c : parent.ChildElements()) {
    if (c.LocalName() == local_name) return c;
  }
  return xml::Node();
}

std::string TextIdOf(xml::Node parent, std::string_view child) {
  return Child(parent, child).Attribute("textId").value_or("");
}

// The text id of a variant's name or description: IODD 1.1 writes Name and
// Description, IODD 1.0.1 ProductName and ProductText.
std::string VariantTextId(xml::Node variant, std::string_view current, std::string_view older) {
  const std::string id = TextIdOf(variant, current);
  return id.empty() ? TextIdOf(variant, older) : id;
}

class Reader {
 public:
  Reader(const std::string& path, IoddDevice* device, ConversionReport* report)
      : path_(path), d_(device), report_(report) {}

  bool Read(xml::Node root) {
    WarnUnknownChildren(root, std::begin(kKnownTopLevel), std::end(kKnownTopLevel));
    d_->document_version = Child(root, "DocumentInfo").Attribute("version").value_or("");
    xml::Node body = Child(root, "ProfileBody");
    xml::Node identity = Child(body, "DeviceIdentity");
    if (!identity) return Fail("ProfileBody/DeviceIdentity missing");
    if (!ReadIdentity(identity)) return false;
    xml::Node function = Child(body, "DeviceFunction");
    if (function) {
      ReadVariables(function);
    } else {
      report_->Warn(path_ + ": no DeviceFunction, no variables");
    }
    if (!Child(root, "ExternalTextCollection")) report_->Warn(path_ + ": no ExternalTextCollection");
    return true;
  }

 private:
  bool ReadIdentity(xml::Node identity) {
    WarnUnknownChildren(identity, std::begin(kKnownIdentity), std::end(kKnownIdentity));
    d_->vendor_id_text = Trim(identity.Attribute("vendorId").value_or(""));
    d_->device_id_text = Trim(identity.Attribute("deviceId").value_or(""));
    d_->vendor_name = Trim(identity.Attribute("vendorName").value_or(""));
    const auto vendor = ParseGsdNumber(d_->vendor_id_text);
    const auto device = ParseGsdNumber(d_->device_id_text);
    if (!vendor) return Fail("DeviceIdentity: vendorId is not a number");
    if (!device) return Fail("DeviceIdentity: deviceId is not a number");
    d_->vendor_id = *vendor;
    d_->device_id = *device;
    d_->device_name_text_id = TextIdOf(identity, "DeviceName");
    ReadVariants(Child(identity, "DeviceVariantCollection"));
    return true;
  }

  void ReadVariants(xml::Node collection) {
    if (collection) {
      for (xml::Node v : collection.ChildElements()) {
        if (v.LocalName() != "DeviceVariant") continue;
        d_->variants.push_back({v.Attribute("productId").value_or(""), VariantTextId(v, "Name", "ProductName"),
                                VariantTextId(v, "Description", "ProductText"),
                                v.Attribute("deviceSymbol").value_or("")});
      }
    }
    if (d_->variants.empty()) {
      report_->Warn(path_ + ": no DeviceVariant, the device identity stands for one");
      d_->variants.push_back({d_->device_id_text, d_->device_name_text_id, {}, {}});
    }
  }

  void ReadVariables(xml::Node function) {
    xml::Node collection = Child(function, "VariableCollection");
    if (!collection) return report_->Warn(path_ + ": no VariableCollection");
    datatypes_ = Child(function, "DatatypeCollection");
    std::set<std::string> seen;
    for (xml::Node v : collection.ChildElements()) {
      const std::string kind = v.LocalName();
      if (kind != "Variable" && kind != "StdVariableRef") continue;
      IoddVariable var;
      var.id = v.Attribute("id").value_or("");
      if (var.id.empty() || !seen.insert(var.id).second) {
        report_->Warn(path_ + ": variable without id or with a repeated id skipped");
        continue;
      }
      var.default_value = v.Attribute("defaultValue");
      var.name_text_id = TextIdOf(v, "Name");
      var.description_text_id = TextIdOf(v, "Description");
      ReadType(v, &var);
      d_->variables.push_back(std::move(var));
    }
  }

  void ReadType(xml::Node v, IoddVariable* var) {
    xml::Node type = Child(v, "Datatype");
    if (!type) type = ResolveDatatypeRef(Child(v, "DatatypeRef"));
    if (!type) return;
    var->type = type.Attribute("type").value_or("");
    if (auto bits = type.Attribute("bitLength")) var->bit_length = ParseGsdNumber(*bits);
    if (auto fixed = type.Attribute("fixedLength")) var->fixed_length = ParseGsdNumber(*fixed);
  }

  xml::Node ResolveDatatypeRef(xml::Node ref) {
    if (!ref) return xml::Node();
    const std::string id = ref.Attribute("datatypeId").value_or("");
    for (xml::Node t : datatypes_ ? datatypes_.ChildElements() : std::vector<xml::Node>{}) {
      if (t.Attribute("id").value_or("") == id) return t;
    }
    report_->Warn(path_ + ": datatype " + id + " referenced but missing");
    return xml::Node();
  }

  void WarnUnknownChildren(xml::Node parent, const std::string_view* begin, const std::string_view* end) {
    for (xml::Node c : parent.ChildElements()) {
      if (!IsOneOf(c.LocalName(), begin, end)) report_->Warn(path_ + ": unknown element " + c.LocalName() + " ignored");
    }
  }

  bool Fail(const std::string& what) {
    report_->Fail(kUnreadableSource, path_ + ": " + what);
    return false;
  }

  const std::string& path_;
  IoddDevice* d_;
  ConversionReport* report_;
  xml::Node datatypes_;
};

}  // namespace

std::string IoddVersionOf(const xml::Document& doc) {
  std::string error;
  for (const NamespaceRow& row : kNamespaces) {
    const std::string xpath = "/*[local-name()='IODevice' and namespace-uri()='" + std::string(row.uri) + "']";
    if (xml::SelectFirst(doc.AsNode(), xpath, &error)) return std::string(row.version);
  }
  return "";
}

bool ReadIodd(const xml::Document& doc, const std::string& path, IoddDevice* device, ConversionReport* report) {
  device->version = IoddVersionOf(doc);
  if (device->version.empty()) {
    report->Fail(kUnreadableSource, path + ": root element IODevice of IODD 1.0.1 or 1.1 expected");
    return false;
  }
  ReadIoddTexts(doc, "en", &device->texts);
  return Reader(path, device, report).Read(doc.Root());
}

void ReadIoddTexts(const xml::Document& doc, const std::string& fallback_language, IoddTexts* texts) {
  std::vector<xml::Node> languages;
  std::string error;
  xml::SelectNodes(doc.AsNode(), "//*[local-name()='PrimaryLanguage' or local-name()='Language']", &languages, &error);
  for (xml::Node language : languages) {
    std::string tag = language.Attribute("lang").value_or("");
    if (tag.empty()) tag = fallback_language;
    if (language.LocalName() == "PrimaryLanguage" && texts->primary_language.empty()) texts->primary_language = tag;
    auto& table = texts->by_language[tag];
    for (xml::Node text : language.ChildElements()) {
      if (text.LocalName() != "Text") continue;
      const auto id = text.Attribute("id");
      if (id && !table.count(*id)) table[*id] = text.Attribute("value").value_or("");
    }
  }
}

std::string IoddLanguageFileTag(std::string_view iodd_file_name, std::string_view candidate) {
  if (!EndsWithNoCase(iodd_file_name, ".xml") || !EndsWithNoCase(candidate, ".xml")) return "";
  const std::string_view stem = iodd_file_name.substr(0, iodd_file_name.size() - 4);
  const std::string_view other = candidate.substr(0, candidate.size() - 4);
  if (other.size() <= stem.size() + 1 || !StartsWithNoCase(other, stem) || other[stem.size()] != '-') return "";
  const std::string_view tag = other.substr(stem.size() + 1);
  if (tag.size() > 8) return "";
  for (char c : tag) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-')) return "";
  }
  return std::string(tag);
}

}  // namespace zarn::converters
