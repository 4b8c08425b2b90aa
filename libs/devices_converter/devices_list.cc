#include "libs/devices_converter/devices_list.h"

#include <algorithm>
#include <set>

#include "libs/devices_converter/file_input.h"
#include "libs/devices_converter/gsd_reader.h"
#include "libs/devices_converter/text_encoding.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "xml/document.h"

namespace zarn::converters {
namespace {

constexpr std::string_view kRoot = "DEVICES";
constexpr std::string_view kKnownAttributes[] = {"id",       "manufacturer",   "deviceType", "deviceRevision",
                                                 "protocol", "classification", "folder"};
constexpr std::string_view kRequiredAttributes[] = {"manufacturer", "deviceType", "protocol"};

bool IsKnownAttribute(std::string_view name) {
  for (std::string_view known : kKnownAttributes) {
    if (known == name) return true;
  }
  return false;
}

class ListReader {
 public:
  ListReader(const std::string& path, ConversionReport* report) : path_(path), report_(report) {}

  bool Read(xml::Node root, std::vector<ListedDevice>* devices) {
    if (root.LocalName() != kRoot) return Fail("root element " + std::string(kRoot) + " expected");
    for (xml::Node child : root.ChildElements()) {
      if (child.LocalName() != "DEVICE") {
        report_->Warn(path_ + ": unknown element " + child.Name() + " ignored");
        continue;
      }
      ListedDevice device;
      if (!ReadDevice(child, devices->size() + 1, &device)) return false;
      devices->push_back(std::move(device));
    }
    if (devices->empty()) return Fail("the list names no DEVICE");
    return true;
  }

 private:
  bool ReadDevice(xml::Node e, size_t number, ListedDevice* d) {
    const std::string where = path_ + ": DEVICE " + std::to_string(number);
    for (std::string_view name : kRequiredAttributes) {
      if (Trim(e.Attribute(name).value_or("")).empty()) {
        return Fail("DEVICE " + std::to_string(number) + ": attribute " + std::string(name) + " missing");
      }
    }
    for (const auto& [name, value] : e.Attributes()) {
      if (!IsKnownAttribute(name)) report_->Warn(where + ": unknown attribute " + name + " ignored");
    }
    d->manufacturer = Trim(*e.Attribute("manufacturer"));
    d->device_type = Trim(*e.Attribute("deviceType"));
    d->protocol = Trim(*e.Attribute("protocol"));
    d->device_revision = Trim(e.Attribute("deviceRevision").value_or(""));
    d->classification = Trim(e.Attribute("classification").value_or(""));
    d->folder = Trim(e.Attribute("folder").value_or(""));
    d->id = e.Attribute("id").value_or("");
    if (d->id.empty()) d->id = "DEVICE_" + d->manufacturer + "_" + d->device_type + "_" + d->device_revision;
    d->id = IdentifierFrom(d->id);
    if (!ids_.insert(d->id).second) return Fail("DEVICE " + std::to_string(number) + ": id " + d->id + " used twice");
    ReadTexts(e, where, d);
    if (d->label.empty()) report_->Warn(where + ": no LABEL");
    return true;
  }

  void ReadTexts(xml::Node e, const std::string& where, ListedDevice* d) {
    for (xml::Node child : e.ChildElements()) {
      const std::string name = child.LocalName();
      LocalizedText* target = name == "LABEL" ? &d->label : name == "HELP" ? &d->help : nullptr;
      if (target == nullptr) {
        report_->Warn(where + ": unknown element " + child.Name() + " ignored");
        continue;
      }
      const std::string language = child.Attribute("lang").value_or("");
      const std::string text = Trim(child.Text());
      if (language.empty() && target->text.empty()) {
        target->text = text;
      } else {
        target->Add(language.empty() ? "en" : language, text);
      }
    }
  }

  bool Fail(const std::string& what) {
    report_->Fail(kUnreadableSource, path_ + ": " + what);
    return false;
  }

  const std::string& path_;
  ConversionReport* report_;
  std::set<std::string> ids_;
};

std::optional<uint64_t> NumberOf(const std::string& text) {
  auto n = ParseGsdNumber(text);
  return n ? std::optional<uint64_t>(*n) : std::nullopt;
}

void AddIdentity(xml::Node parent, const ListedDevice& d) {
  DeviceXmlWriter::AddIdentity(parent, "MANUFACTURER", d.manufacturer, NumberOf(d.manufacturer));
  DeviceXmlWriter::AddIdentity(parent, "DEVICE_TYPE", d.device_type, NumberOf(d.device_type));
  if (!d.device_revision.empty()) {
    DeviceXmlWriter::AddIdentity(parent, "DEVICE_REVISION", d.device_revision, NumberOf(d.device_revision));
  }
}

}  // namespace

bool ParseDevicesList(std::string_view text, const std::string& path, std::vector<ListedDevice>* devices,
                      ConversionReport* report) {
  std::string error;
  auto doc = xml::Document::LoadText(text, &error);
  if (!doc) {
    report->Fail(kUnreadableSource, path + ": " + error);
    return false;
  }
  return ListReader(path, report).Read(doc->Root(), devices);
}

void WriteDevicesDeviceXml(const std::vector<ListedDevice>& devices, const std::string& path, DeviceXmlWriter* writer) {
  writer->SetSource(FileNamePart(path), path);
  // The document's identification stands for every component: a manufacturer all
  // devices share, and the full identity of a list of one.
  const ListedDevice& first = devices.front();
  const bool shared = std::all_of(devices.begin(), devices.end(),
                                  [&](const ListedDevice& d) { return d.manufacturer == first.manufacturer; });
  if (shared) writer->AddIdentification("MANUFACTURER", first.manufacturer, NumberOf(first.manufacturer));
  if (devices.size() == 1) {
    writer->AddIdentification("DEVICE_TYPE", first.device_type, NumberOf(first.device_type));
    if (!first.device_revision.empty()) {
      writer->AddIdentification("DEVICE_REVISION", first.device_revision, NumberOf(first.device_revision));
    }
  }
  for (const ListedDevice& d : devices) {
    xml::Node c = writer->AddDefinition("COMPONENT", d.id);
    LocalizedText label = d.label;
    if (label.empty()) label.text = d.id;
    DeviceXmlWriter::AddTexts(c, "LABEL", label);
    if (!d.help.empty()) DeviceXmlWriter::AddTexts(c, "HELP", d.help);
    DeviceXmlWriter::AddNamed(c, "PROTOCOL", d.protocol);
    if (!d.classification.empty()) DeviceXmlWriter::AddNamed(c, "CLASSIFICATION", d.classification);
    if (!d.folder.empty()) DeviceXmlWriter::AddNamed(c, "COMPONENT_PATH", d.folder);
    AddIdentity(c, d);
  }
}

bool IsDevicesList(const std::string& path) {
  if (!EqualsNoCase(SplitPath(path).extension, ".devices")) return false;
  std::string text;
  if (ReadFileLimited(path, kMaxInputFileSize, &text) != ReadStatus::kOk) return false;
  std::string error;
  auto doc = xml::Document::LoadText(text, &error);
  return doc && doc->Root().LocalName() == kRoot;
}

void ConvertDevicesList(const std::string& input, const std::string& output_file, ConversionReport* report) {
  std::string text;
  if (ReadFileLimited(input, kMaxInputFileSize, &text) != ReadStatus::kOk) {
    return report->Fail(kUnreadableSource, input + ": cannot be read (missing or too large)");
  }
  std::vector<ListedDevice> devices;
  if (!ParseDevicesList(text, input, &devices, report)) return;
  DeviceXmlWriter writer("zarn_devices_converter");
  WriteDevicesDeviceXml(devices, input, &writer);
  std::string error;
  if (!writer.Save(output_file, &error)) report->Fail(kCannotWriteOutput, "cannot write " + output_file + ": " + error);
}

}  // namespace zarn::converters
