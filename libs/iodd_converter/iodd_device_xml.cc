#include "libs/iodd_converter/iodd_device_xml.h"

#include <set>

#include "libs/devices_converter/gsd_reader.h"
#include "libs/devices_converter/text_encoding.h"
#include "platform/strings.h"

namespace zarn::converters {
namespace {

// A version text ("V1.02", "1.2") as a number: the first two digit groups as the
// high and the low byte; nothing when it holds no digit.
std::optional<uint64_t> VersionNumber(const std::string& text) {
  uint64_t parts[2] = {0, 0};
  int part = -1;
  bool in_digits = false;
  for (char c : text) {
    const bool digit = c >= '0' && c <= '9';
    if (digit && !in_digits && ++part > 1) break;
    if (digit) parts[part] = parts[part] * 10 + static_cast<uint64_t>(c - '0');
    in_digits = digit;
  }
  if (part < 0) return std::nullopt;
  return ((parts[0] & 0xFF) << 8) | (parts[1] & 0xFF);
}

struct TypeRow {
  std::string_view iodd;
  std::string_view device_xml;
  std::string_view value_kind;  // the value element of its defaults
};

constexpr TypeRow kTypes[] = {
    {"BooleanT", "BOOLEAN", "boolean"}, {"UIntegerT", "UNSIGNED_INTEGER", "integer"},
    {"IntegerT", "INTEGER", "integer"}, {"Float32T", "FLOAT", "float"},
    {"StringT", "ASCII", "string"},     {"OctetStringT", "OCTET", "string"},
    {"TimeT", "TIME", "string"},        {"TimeSpanT", "DURATION", "string"},
    {"RecordT", "RECORD", "string"},    {"ArrayT", "ARRAY", "string"},
};

const TypeRow* RowOf(const std::string& type) {
  for (const TypeRow& row : kTypes) {
    if (row.iodd == type) return &row;
  }
  return nullptr;
}

bool IsInteger(std::string_view text) {
  if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
  if (text.empty() || text.size() > 20) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool IsFloat(std::string_view text) {
  if (text.empty() || text.size() > 64) return false;
  for (char c : text) {
    if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+' || c == 'e' || c == 'E')) return false;
  }
  return true;
}

// The value element and text for a default value of `type`.
std::pair<std::string, std::string> ValueOf(const IoddVariable& v) {
  const std::string text = Trim(*v.default_value);
  const TypeRow* row = RowOf(v.type);
  const std::string_view kind = row != nullptr ? row->value_kind : "string";
  if (kind == "integer" && IsInteger(text)) return {"integer", text};
  if (kind == "float" && IsFloat(text)) return {"float", text};
  if (kind == "boolean") {
    if (text == "true" || text == "1") return {"boolean", "true"};
    if (text == "false" || text == "0") return {"boolean", "false"};
  }
  return {"string", *v.default_value};
}

class DeviceWriter {
 public:
  DeviceWriter(const IoddDevice& d, DeviceXmlWriter* w, ConversionReport* report, const std::string& file_name)
      : d_(d), w_(w), report_(report), file_name_(file_name) {}

  void Write(const std::string& path) {
    w_->SetSource(file_name_, path);
    Identification();
    for (const IoddVariable& v : d_.variables) Variable(v);
    std::set<std::string> ids;
    for (const IoddVariant& v : d_.variants) Variant(v, &ids);
  }

 private:
  void Identification() {
    w_->AddIdentification("MANUFACTURER", ManufacturerName(), d_.vendor_id);
    w_->AddIdentification("DEVICE_TYPE", d_.device_id_text, d_.device_id);
    if (!d_.document_version.empty()) {
      // The IODD's version is the device description's revision: "V1.02" is 0x0102.
      w_->AddIdentification("DEVICE_REVISION", d_.document_version, VersionNumber(d_.document_version));
      w_->AddIdentification("DD_REVISION", d_.document_version, VersionNumber(d_.document_version));
    }
  }

  void Variable(const IoddVariable& v) {
    xml::Node e = w_->AddDefinition("VARIABLE", v.id);
    LocalizedText label = Text(v.name_text_id);
    if (label.empty()) label.text = v.id;
    DeviceXmlWriter::AddTexts(e, "LABEL", label);
    const LocalizedText help = Text(v.description_text_id);
    if (!help.empty()) DeviceXmlWriter::AddTexts(e, "HELP", help);
    xml::Node type = e.AppendElement("TYPE");
    const TypeRow* row = RowOf(v.type);
    type.SetAttribute("name", XmlSafeText(row != nullptr   ? std::string(row->device_xml)
                                          : v.type.empty() ? "UNKNOWN"
                                                           : v.type));
    if (auto size = SizeOf(v)) type.SetAttribute("size", std::to_string(*size));
    if (v.default_value) {
      const auto [kind, text] = ValueOf(v);
      DeviceXmlWriter::AddWrappedValue(type, "DEFAULT_VALUE", kind, text);
    }
  }

  void Variant(const IoddVariant& v, std::set<std::string>* ids) {
    std::string id = IdentifierFrom("IODD_" + d_.vendor_id_text + "_" + d_.device_id_text + "_" + v.product_id);
    for (int n = 2; !ids->insert(id).second; ++n) id = IdentifierFrom(id + "_" + std::to_string(n));
    xml::Node c = w_->AddDefinition("COMPONENT", id);
    LocalizedText label = Text(v.name_text_id);
    if (label.empty()) label = Text(d_.device_name_text_id);
    if (label.empty()) label.text = v.product_id.empty() ? id : v.product_id;
    DeviceXmlWriter::AddTexts(c, "LABEL", label);
    const LocalizedText help = Text(v.description_text_id);
    if (!help.empty()) DeviceXmlWriter::AddTexts(c, "HELP", help);
    DeviceXmlWriter::AddNamed(c, "PROTOCOL", "IOLINK");
    DeviceXmlWriter::AddIdentity(c, "MANUFACTURER", ManufacturerName(), d_.vendor_id);
    DeviceXmlWriter::AddIdentity(c, "DEVICE_TYPE", d_.device_id_text, d_.device_id);
    InitialValues(c);
    if (!v.device_symbol.empty()) DeviceXmlWriter::AddWrappedValue(c, "IMAGE", "string", v.device_symbol);
  }

  void InitialValues(xml::Node c) {
    xml::Node values;
    for (const IoddVariable& v : d_.variables) {
      if (!v.default_value) continue;
      if (!values) values = c.AppendElement("INITIAL_VALUES");
      xml::Node iv = values.AppendElement("initial_value");
      iv.AppendElement("variable_ref").SetAttribute("ref", XmlSafeText(v.id));
      const auto [kind, text] = ValueOf(v);
      DeviceXmlWriter::AddValue(iv, kind, text);
    }
  }

  std::optional<uint32_t> SizeOf(const IoddVariable& v) const {
    if (v.fixed_length) return v.fixed_length;
    if (v.bit_length) return (*v.bit_length / 8) + (*v.bit_length % 8 != 0 ? 1 : 0);
    return std::nullopt;
  }

  std::string ManufacturerName() const { return d_.vendor_name.empty() ? d_.vendor_id_text : d_.vendor_name; }

  // The texts of `id` in every language; the primary language gives the default.
  LocalizedText Text(const std::string& id) {
    LocalizedText text;
    if (id.empty()) return text;
    const auto& languages = d_.texts.by_language;
    if (auto it = languages.find(d_.texts.primary_language); it != languages.end()) {
      if (auto t = it->second.find(id); t != it->second.end()) text.text = t->second;
    }
    for (const auto& [language, table] : languages) {
      if (language == d_.texts.primary_language) continue;
      if (auto t = table.find(id); t != table.end() && !t->second.empty()) text.Add(language, t->second);
    }
    if (text.empty() && reported_.insert(id).second) {
      report_->Warn(file_name_ + ": text " + id + " referenced but missing");
    }
    return text;
  }

  const IoddDevice& d_;
  DeviceXmlWriter* w_;
  ConversionReport* report_;
  const std::string& file_name_;
  std::set<std::string> reported_;
};

}  // namespace

std::string DeviceXmlTypeOf(const std::string& iodd_type) {
  const TypeRow* row = RowOf(iodd_type);
  return row != nullptr ? std::string(row->device_xml) : iodd_type;
}

void WriteIoddDeviceXml(const IoddDevice& device, const std::string& file_name, const std::string& path,
                        DeviceXmlWriter* writer, ConversionReport* report) {
  DeviceWriter(device, writer, report, file_name).Write(path);
}

}  // namespace zarn::converters
