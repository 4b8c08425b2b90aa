#include "libs/devices_converter/device_xml_writer.h"

#include "libs/devices_converter/text_encoding.h"
#include "platform/strings.h"

namespace zarn::converters {

void LocalizedText::Add(std::string_view language, std::string_view value) {
  if (value.empty()) return;
  if (text.empty() && others.empty()) {
    text = std::string(value);
    return;
  }
  others.emplace_back(std::string(language), std::string(value));
}

DeviceXmlWriter::DeviceXmlWriter(std::string_view generator) {
  root_ = document_.SetRoot(document_.CreateElement("ZARN_DEVICE"));
  root_.SetAttribute("formatVersion", "1");
  root_.SetAttribute("generator", XmlSafeText(generator));
}

void DeviceXmlWriter::SetSource(std::string_view name, std::string_view path) {
  xml::Node source = root_.AppendElement("SOURCE");
  source.SetAttribute("name", XmlSafeText(name));
  source.SetAttribute("path", XmlSafeText(path));
}

void DeviceXmlWriter::AddIdentification(std::string_view kind, std::string_view name, std::optional<uint64_t> number) {
  if (!identification_) identification_ = root_.AppendElement("IDENTIFICATION");
  AddIdentity(identification_, kind, name, number);
}

xml::Node DeviceXmlWriter::AddDefinition(std::string_view element, std::string_view id) {
  xml::Node node = root_.AppendElement(element);
  node.SetAttribute("id", XmlSafeText(id));
  return node;
}

xml::Node DeviceXmlWriter::AddNamed(xml::Node parent, std::string_view element, std::string_view name) {
  xml::Node node = parent.AppendElement(element);
  node.SetAttribute(element == "COMPONENT_PARENT" ? "refid" : "name", XmlSafeText(name));
  return node;
}

xml::Node DeviceXmlWriter::AddTexts(xml::Node parent, std::string_view element, const LocalizedText& text) {
  xml::Node node = parent.AppendElement(element);
  node.AppendElement("string", XmlSafeText(text.text));
  for (const auto& [language, value] : text.others) {
    node.AppendElement("string", XmlSafeText(value)).SetAttribute("lang", XmlSafeText(language));
  }
  return node;
}

xml::Node DeviceXmlWriter::AddValue(xml::Node parent, std::string_view kind, std::string_view text) {
  return parent.AppendElement(kind, XmlSafeText(text));
}

xml::Node DeviceXmlWriter::AddWrappedValue(xml::Node parent, std::string_view element, std::string_view kind,
                                           std::string_view text) {
  xml::Node node = parent.AppendElement(element);
  AddValue(node, kind, text);
  return node;
}

xml::Node DeviceXmlWriter::AddIdentity(xml::Node parent, std::string_view kind, std::string_view name,
                                       std::optional<uint64_t> number) {
  xml::Node node = AddNamed(parent, kind, name);
  if (number.has_value()) {
    node.SetAttribute("value", std::to_string(*number));
    node.SetAttribute("hex",
                      *number <= 0xFFFFFFFFu ? FormatHex4(static_cast<uint32_t>(*number)) : std::to_string(*number));
  }
  return node;
}

}  // namespace zarn::converters
