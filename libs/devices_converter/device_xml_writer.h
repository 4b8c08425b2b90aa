// Builds a device XML document (docs/device-xml.md) for a converter plug-in.
//
// The writer appends in call order; callers add SOURCE, IDENTIFICATION, then the
// definitions (VARIABLE, COMPONENT, COMPONENT_RELATION) in the order the format
// lists them. Every text goes through XmlSafeText, so any input bytes give a
// well-formed document.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_DEVICE_XML_WRITER_H_
#define ZARN_LIBS_DEVICES_CONVERTER_DEVICE_XML_WRITER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xml/document.h"

namespace zarn::converters {

// A text in a default language and further languages.
struct LocalizedText {
  std::string text;                                         // default text
  std::vector<std::pair<std::string, std::string>> others;  // (language, text)

  bool empty() const { return text.empty() && others.empty(); }
  // Adds a language; the first text given becomes the default when there is none.
  void Add(std::string_view language, std::string_view value);
};

class DeviceXmlWriter {
 public:
  // `generator` names the plug-in in the root's `generator` attribute.
  explicit DeviceXmlWriter(std::string_view generator);

  // <SOURCE name= path=/>.
  void SetSource(std::string_view name, std::string_view path);
  // A child of <IDENTIFICATION> (created on first use): kind is MANUFACTURER,
  // DEVICE_TYPE, DEVICE_REVISION or DD_REVISION; value and hex only with a number.
  void AddIdentification(std::string_view kind, std::string_view name, std::optional<uint64_t> number);
  // A top-level definition element with its id.
  xml::Node AddDefinition(std::string_view element, std::string_view id);

  // <element name=.../> (or refid=... for COMPONENT_PARENT).
  static xml::Node AddNamed(xml::Node parent, std::string_view element, std::string_view name);
  // <element><string>default</string><string lang="..">..</string></element>.
  static xml::Node AddTexts(xml::Node parent, std::string_view element, const LocalizedText& text);
  // A value element (integer, float, string, boolean) holding `text`.
  static xml::Node AddValue(xml::Node parent, std::string_view kind, std::string_view text);
  // <element><kind>text</kind></element>.
  static xml::Node AddWrappedValue(xml::Node parent, std::string_view element, std::string_view kind,
                                   std::string_view text);
  // <kind name= value= hex=/> as in IDENTIFICATION, below `parent`.
  static xml::Node AddIdentity(xml::Node parent, std::string_view kind, std::string_view name,
                               std::optional<uint64_t> number);

  std::string ToString() const { return document_.ToString(); }
  // Writes the document to `path` (crash-safe). Returns false with *error on failure.
  bool Save(const std::string& path, std::string* error) const { return document_.Save(path, error); }

 private:
  xml::Document document_;
  xml::Node root_;
  xml::Node identification_;
};

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_DEVICE_XML_WRITER_H_
