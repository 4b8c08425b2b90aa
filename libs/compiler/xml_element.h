// A small element tree for writing device XML, with correct escaping.
#ifndef ZARN_LIBS_COMPILER_XML_ELEMENT_H_
#define ZARN_LIBS_COMPILER_XML_ELEMENT_H_

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zarnl {

struct XmlElement {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;  // written before the children
  std::vector<XmlElement> children;

  XmlElement() = default;
  explicit XmlElement(std::string_view n) : name(n) {}
  XmlElement(std::string_view n, std::string t) : name(n), text(std::move(t)) {}

  XmlElement& Set(std::string key, std::string_view value) {
    attributes.emplace_back(std::move(key), std::string(value));
    return *this;
  }
  XmlElement& Add(XmlElement child) {
    children.push_back(std::move(child));
    return children.back();
  }
  // Value of attribute `key`, "" when absent.
  std::string Attribute(std::string_view key) const;
  // First child named `child_name`, or nullptr.
  const XmlElement* Child(std::string_view child_name) const;
};

// Text escaped for element content or attribute values: & < > " are replaced,
// characters not allowed in XML 1.0 are dropped and invalid UTF-8 becomes U+FFFD.
std::string EscapeXml(std::string_view text);

// The element, indented by two spaces per level, each element on its own line.
void WriteXml(const XmlElement& element, int depth, std::string* out);

// A whole document: XML declaration, then the root element.
std::string XmlDocument(const XmlElement& root);

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_XML_ELEMENT_H_
