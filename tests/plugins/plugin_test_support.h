// Helpers of the converter plug-in tests: sample paths, conversions through the
// entry helpers, zip packages, and a check of device XML against its format.
#ifndef ZARN_TESTS_PLUGINS_PLUGIN_TEST_SUPPORT_H_
#define ZARN_TESTS_PLUGINS_PLUGIN_TEST_SUPPORT_H_

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "libs/devices_converter/plugin_entry.h"
#include "xml/document.h"

namespace zarn::testing {

// examples/devices/<relative> in the source tree.
std::string ExamplePath(const std::string& relative);

// What one conversion gave.
struct Converted {
  uint32_t code = 0;
  std::string message;
  std::string output_file;
  std::unique_ptr<xml::Document> doc;  // the device XML, null when none was written
};

// Converts through the entry helpers of `def` (as the exported ZARN_Convert does).
Converted ConvertWith(const converters::ConverterDefinition& def, const std::string& input,
                      const std::string& output_directory);
// ZARN_IsFileTypeSupported through the entry helpers: true when accepted.
bool Accepts(const converters::ConverterDefinition& def, const std::string& input);

// The text of every node `xpath` selects from the document, in order.
std::vector<std::string> Select(const xml::Document& doc, const std::string& xpath);
// The first of them, "" when none.
std::string SelectOne(const xml::Document& doc, const std::string& xpath);

// Writes a zip package holding (name, data) entries. False on failure.
bool WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries);

// Everything in `doc` that breaks the device XML format: root, SOURCE,
// IDENTIFICATION, definition order, ids, string lists, value elements, and
// references that name no definition. Empty when the document conforms.
std::vector<std::string> DeviceXmlProblems(const xml::Document& doc);

}  // namespace zarn::testing

#endif  // ZARN_TESTS_PLUGINS_PLUGIN_TEST_SUPPORT_H_
