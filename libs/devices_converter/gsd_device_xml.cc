#include "libs/devices_converter/gsd_device_xml.h"

#include <filesystem>

#include "libs/devices_converter/gsd_slots.h"
#include "libs/devices_converter/text_encoding.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn::converters {
namespace {

// The variable a module's slot range is stated for; GSD files define no variables,
// so it is named, not referred to.
constexpr const char* kSlotVariable = "SLOT";
// Separate slot ranges of one module that numbered bounds can list.
constexpr size_t kNumberedBounds = 10;

// Adds `value` in `language` unless it is empty or repeats the default text.
void AddVariant(LocalizedText* text, const std::string& language, const std::string& value) {
  if (value.empty() || value == text->text) return;
  text->Add(language, value);
}

template <typename Pick>
LocalizedText Texts(const std::string& own, const std::vector<GsdLanguageTexts>& variants, Pick pick) {
  LocalizedText text;
  text.text = own;
  for (const GsdLanguageTexts& v : variants) AddVariant(&text, v.language, pick(v.station));
  return text;
}

class StationWriter {
 public:
  StationWriter(const GsdStation& station, const std::vector<GsdLanguageTexts>& variants, const std::string& file_name,
                DeviceXmlWriter* writer, ConversionReport* report)
      : s_(station), variants_(variants), file_name_(file_name), w_(writer), report_(report) {
    station_id_ = IdentifierFrom(SplitPath(file_name).name);
    protocol_ = station.pa ? "PROFIBUS_PA" : "PROFIBUS_DP";
    classification_ = ClassificationForSlaveFamily(station.slave_family);
  }

  void Write(const std::string& path) {
    path_ = path;
    w_->SetSource(file_name_, path);
    Identification();
    Station();
    for (size_t i = 0; i < s_.modules.size(); ++i) Module(i);
    if (HasModuleRelation()) ModuleRelation();
  }

 private:
  std::optional<uint64_t> RevisionNumber() const {
    if (s_.revision_number) return *s_.revision_number;
    if (auto n = ParseGsdNumber(s_.revision)) return *n;
    return std::nullopt;
  }

  std::string RevisionName() const {
    if (!s_.revision.empty()) return s_.revision;
    return s_.revision_number ? std::to_string(*s_.revision_number) : std::string();
  }

  void Identification() {
    if (!s_.vendor_name.empty()) w_->AddIdentification("MANUFACTURER", s_.vendor_name, std::nullopt);
    w_->AddIdentification("DEVICE_TYPE", s_.ident_text, s_.ident_number);
    if (!RevisionName().empty()) w_->AddIdentification("DEVICE_REVISION", RevisionName(), RevisionNumber());
    if (!s_.gsd_revision_text.empty()) {
      std::optional<uint64_t> number;
      if (s_.gsd_revision) number = *s_.gsd_revision;
      w_->AddIdentification("DD_REVISION", s_.gsd_revision_text, number);
    }
  }

  void Station() {
    xml::Node c = w_->AddDefinition("COMPONENT", station_id_);
    if (s_.model_name.empty()) report_->Warn(file_name_ + ": Model_Name missing, the file name is used");
    const std::string label = s_.model_name.empty() ? file_name_ : s_.model_name;
    DeviceXmlWriter::AddTexts(c, "LABEL", Texts(label, variants_, [](const GsdStation& v) { return v.model_name; }));
    if (!s_.info_text.empty()) {
      DeviceXmlWriter::AddTexts(c, "HELP",
                                Texts(s_.info_text, variants_, [](const GsdStation& v) { return v.info_text; }));
    }
    Placement(c);
    if (const std::string folders = FamilyFolders(); !folders.empty()) {
      DeviceXmlWriter::AddNamed(c, "COMPONENT_PATH", folders);
    }
    DeviceXmlWriter::AddIdentity(c, "DEVICE_TYPE", s_.ident_text, s_.ident_number);
    if (!RevisionName().empty()) DeviceXmlWriter::AddIdentity(c, "DEVICE_REVISION", RevisionName(), RevisionNumber());
    if (HasModuleRelation()) {
      c.AppendElement("COMPONENT_RELATIONS").AppendElement("relation_ref").SetAttribute("ref", RelationId());
    }
    DeviceXmlWriter::AddWrappedValue(c, "GSD", "string", file_name_);
    if (!s_.order_number.empty()) DeviceXmlWriter::AddWrappedValue(c, "ORDER_NUMBER", "string", s_.order_number);
    if (const std::string bitmap = DeviceBitmap(); !bitmap.empty()) {
      DeviceXmlWriter::AddWrappedValue(c, "IMAGE", "string", bitmap);
    }
    CheckFileNameCarriesIdent();
  }

  // The device bitmap Bitmap_Device names, when it lies beside the GSD ("" else: the
  // component names no picture it does not have).
  std::string DeviceBitmap() const {
    if (s_.bitmap_device.empty() || !IsSafePathSegment(s_.bitmap_device)) return std::string();
    const std::string name = s_.bitmap_device + ".bmp";
    std::error_code ec;
    if (std::filesystem::is_regular_file(JoinPath(DirectoryOfFile(path_), name), ec)) return name;
    report_->Warn(file_name_ + ": bitmap " + name + " named by Bitmap_Device is not beside the file");
    return std::string();
  }

  // The sub-families of Slave_Family, the folders between the manufacturer and the station.
  std::string FamilyFolders() const {
    std::string path;
    for (const std::string& level : SubFamilyFolders(s_.slave_family, s_.vendor_name))
      path += (path.empty() ? "" : "/") + level;
    return path;
  }

  void Module(size_t i) {
    const GsdModuleInfo& m = s_.modules[i];
    xml::Node c = w_->AddDefinition("COMPONENT", ModuleId(i));
    const auto pick_name = [i](const GsdStation& v) {
      return i < v.modules.size() ? v.modules[i].name : std::string();
    };
    const auto pick_help = [i](const GsdStation& v) {
      return i < v.modules.size() ? v.modules[i].info_text : std::string();
    };
    DeviceXmlWriter::AddTexts(c, "LABEL", Texts(m.name, variants_, pick_name));
    if (!m.info_text.empty()) DeviceXmlWriter::AddTexts(c, "HELP", Texts(m.info_text, variants_, pick_help));
    Placement(c);
    DeviceXmlWriter::AddNamed(c, "COMPONENT_PARENT", station_id_);
  }

  void Placement(xml::Node c) {
    DeviceXmlWriter::AddNamed(c, "PROTOCOL", protocol_);
    DeviceXmlWriter::AddNamed(c, "CLASSIFICATION", classification_);
    if (!s_.vendor_name.empty()) DeviceXmlWriter::AddIdentity(c, "MANUFACTURER", s_.vendor_name, std::nullopt);
  }

  // The relation to the modules: how many the station takes (Max_Module, at least
  // the modules it holds in place) and, per module, the slots it may occupy.
  void ModuleRelation() {
    xml::Node r = w_->AddDefinition("COMPONENT_RELATION", RelationId());
    LocalizedText label;
    label.text = "Modules";
    label.Add("de", "Module");
    DeviceXmlWriter::AddTexts(r, "LABEL", label);
    r.AppendElement("RELATION_TYPE").AppendElement("CHILD_COMPONENT");
    const std::optional<GsdSlotPlan> plan = PlanGsdSlots(s_);
    if (plan) DeviceXmlWriter::AddWrappedValue(r, "MINIMUM_NUMBER", "integer", std::to_string(plan->fixed_modules));
    if (s_.max_module) {
      DeviceXmlWriter::AddWrappedValue(r, "MAXIMUM_NUMBER", "integer", std::to_string(*s_.max_module));
    } else {
      report_->Warn(file_name_ + ": modular station without Max_Module");
    }
    if (plan) r.AppendElement("ADDRESSING").AppendElement("unknown_ref").SetAttribute("ref", kSlotVariable);
    xml::Node components = r.AppendElement("COMPONENTS");
    for (size_t i = 0; i < s_.modules.size(); ++i) {
      xml::Node c = components.AppendElement("component");
      c.AppendElement("component_ref").SetAttribute("ref", ModuleId(i));
      if (plan) ModuleSlots(c, i, plan->modules[i]);
    }
  }

  void ModuleSlots(xml::Node c, size_t i, const GsdModuleSlots& m) {
    if (m.preset) DeviceXmlWriter::AddWrappedValue(c, "AUTO_CREATE", "integer", "1");
    if (m.fixed) {
      DeviceXmlWriter::AddWrappedValue(c, "AUTO_CREATE_NODELETE", "integer", "1");
      DeviceXmlWriter::AddWrappedValue(c, "MINIMUM_NUMBER", "integer", "1");
      DeviceXmlWriter::AddWrappedValue(c, "MAXIMUM_NUMBER", "integer", "1");
    }
    const std::string name = "module " + std::to_string(i + 1) + " (" + s_.modules[i].name + ")";
    if (m.spans.empty()) {
      report_->Warn(file_name_ + ": " + name + " fits no slot");
      DeviceXmlWriter::AddWrappedValue(c, "MAXIMUM_NUMBER", "integer", "0");
      return;
    }
    xml::Node range = c.AppendElement("REQUIRED_RANGES").AppendElement("required_range");
    range.AppendElement("unknown_ref").SetAttribute("ref", kSlotVariable);
    Bound(range, "MIN_VALUE", m.spans.front().first);
    Bound(range, "MAX_VALUE", m.spans.back().last);
    if (m.spans.size() == 1) return;
    if (m.spans.size() > kNumberedBounds) {
      report_->Warn(file_name_ + ": " + name + " may occupy more than " + std::to_string(kNumberedBounds) +
                    " separate slot ranges; only its first and last slot are given");
      return;
    }
    for (size_t k = 0; k < m.spans.size(); ++k) {
      Bound(range, "MIN_VALUE" + std::to_string(k + 1), m.spans[k].first);
      Bound(range, "MAX_VALUE" + std::to_string(k + 1), m.spans[k].last);
    }
  }

  static void Bound(xml::Node range, const std::string& name, uint32_t slot) {
    DeviceXmlWriter::AddWrappedValue(range, name, "integer", std::to_string(slot));
  }

  void CheckFileNameCarriesIdent() {
    const std::string stem = SplitPath(file_name_).name;
    const auto carried = stem.size() >= 4 ? ParseGsdNumber("0x" + stem.substr(stem.size() - 4)) : std::nullopt;
    if (carried != s_.ident_number) {
      report_->Warn(file_name_ + ": the file name does not end in the ident number " + FormatHex4(s_.ident_number));
    }
  }

  bool HasModuleRelation() const { return s_.modular && !s_.modules.empty(); }
  std::string ModuleId(size_t i) const { return station_id_ + "_M" + std::to_string(i + 1); }
  std::string RelationId() const { return station_id_ + "_modules"; }

  const GsdStation& s_;
  const std::vector<GsdLanguageTexts>& variants_;
  const std::string& file_name_;
  DeviceXmlWriter* w_;
  ConversionReport* report_;
  std::string station_id_;
  std::string path_;  // the GSD file
  std::string protocol_;
  std::string classification_;
};

}  // namespace

void WriteGsdDeviceXml(const GsdStation& station, const std::vector<GsdLanguageTexts>& variants,
                       const std::string& file_name, const std::string& path, DeviceXmlWriter* writer,
                       ConversionReport* report) {
  StationWriter(station, variants, file_name, writer, report).Write(path);
}

}  // namespace zarn::converters
