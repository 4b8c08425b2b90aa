#include "tests/support/expect_xml.h"

#include <algorithm>
#include <memory>
#include <sstream>
#include <vector>

#include "xml/document.h"

namespace zarn::testing {
namespace {

bool WhitespaceOnly(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; });
}

void Write(xml::Node node, int depth, std::ostringstream* out) {
  const std::string indent(2 * depth, ' ');
  if (node.IsText()) {
    const std::string text = node.Text();
    if (!WhitespaceOnly(text)) *out << indent << '"' << text << "\"\n";
    return;
  }
  if (!node.IsElement()) return;  // comments and processing instructions do not count
  auto attributes = node.Attributes();
  std::sort(attributes.begin(), attributes.end());
  *out << indent << '<' << node.Name();
  for (const auto& [name, value] : attributes) *out << ' ' << name << "=\"" << value << '"';
  const std::vector<xml::Node> children = node.Children();
  *out << (children.empty() ? "/>\n" : ">\n");
  if (children.empty()) return;
  for (xml::Node child : children) Write(child, depth + 1, out);
  *out << indent << "</" << node.Name() << ">\n";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

}  // namespace

std::string CanonicalXml(const std::string& text) {
  std::string error;
  std::unique_ptr<xml::Document> doc = xml::Document::LoadText(text, &error);
  if (!doc || !doc->Root()) return "<unparsable: " + error + ">\n" + text;
  std::ostringstream out;
  Write(doc->Root(), 0, &out);
  return out.str();
}

::testing::AssertionResult XmlEqual(const char* actual_expr, const char* expected_expr, const std::string& actual,
                                    const std::string& expected) {
  const std::string a = CanonicalXml(actual);
  const std::string e = CanonicalXml(expected);
  if (a == e) return ::testing::AssertionSuccess();
  const std::vector<std::string> al = Lines(a);
  const std::vector<std::string> el = Lines(e);
  size_t i = 0;
  while (i < al.size() && i < el.size() && al[i] == el[i]) ++i;
  return ::testing::AssertionFailure() << actual_expr << " is not the document " << expected_expr
                                       << ".\nfirst difference at line " << i + 1
                                       << ":\n  actual:   " << (i < al.size() ? al[i] : "<end>")
                                       << "\n  expected: " << (i < el.size() ? el[i] : "<end>") << "\nactual:\n"
                                       << a << "expected:\n"
                                       << e;
}

}  // namespace zarn::testing
