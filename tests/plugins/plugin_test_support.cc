#include "tests/plugins/plugin_test_support.h"

#include <zip.h>

#include <filesystem>
#include <map>
#include <set>

#include "platform/paths.h"
#include "platform/strings.h"
#include "tests/support/test_support.h"
#include "xml/xpath.h"

namespace zarn::testing {

std::string ExamplePath(const std::string& relative) {
  return JoinPath(JoinPath(SourceDir(), "examples/devices"), relative);
}

Converted ConvertWith(const converters::ConverterDefinition& def, const std::string& input,
                      const std::string& output_directory) {
  Converted out;
  char16_t* message = nullptr;
  out.code = converters::EntryConvert(def, ToUtf16(input).c_str(), ToUtf16(output_directory).c_str(), &message);
  out.message = ToUtf8(message);
  converters::FreeHandedOut(&message);
  out.output_file = converters::OutputFileName(output_directory, input);
  std::string error;
  if (std::filesystem::exists(out.output_file)) out.doc = xml::Document::LoadFile(out.output_file, &error);
  return out;
}

bool Accepts(const converters::ConverterDefinition& def, const std::string& input) {
  return converters::EntryIsFileTypeSupported(def, ToUtf16(input).c_str()) == 0;
}

std::vector<std::string> Select(const xml::Document& doc, const std::string& xpath) {
  std::vector<xml::Node> nodes;
  std::string error;
  xml::SelectNodes(doc.AsNode(), xpath, &nodes, &error);
  std::vector<std::string> texts;
  for (xml::Node n : nodes) texts.push_back(n.Text());
  return texts;
}

std::string SelectOne(const xml::Document& doc, const std::string& xpath) {
  const auto all = Select(doc, xpath);
  return all.empty() ? "" : all.front();
}

bool WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (archive == nullptr) return false;
  bool ok = true;
  // The archive reads the data when it is closed; `entries` outlives that.
  for (const auto& [name, data] : entries) {
    zip_source_t* source = zip_source_buffer(archive, data.data(), data.size(), 0);
    if (source == nullptr || zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
      zip_source_free(source);
      ok = false;
    }
  }
  return zip_close(archive) == 0 && ok;
}

namespace {

class FormatChecker {
 public:
  explicit FormatChecker(const xml::Document& doc) : doc_(doc) {}

  std::vector<std::string> Run() {
    xml::Node root = doc_.Root();
    if (!root || root.Name() != "ZARN_DEVICE") return {"root element is not ZARN_DEVICE"};
    if (root.Attribute("formatVersion").value_or("") != "1") Problem("formatVersion is not 1");
    CheckTopLevel(root);
    CheckStrings();
    CheckValues();
    CheckReferences();
    return problems_;
  }

 private:
  void CheckTopLevel(xml::Node root) {
    static const std::map<std::string, int> kRank = {
        {"SOURCE", 0},    {"IDENTIFICATION", 1},      {"VARIABLE", 2},          {"COMPONENT_FOLDER", 3},
        {"COMPONENT", 4}, {"COMPONENT_REFERENCE", 5}, {"COMPONENT_RELATION", 6}};
    int last = -1;
    for (xml::Node e : root.ChildElements()) {
      auto it = kRank.find(e.Name());
      if (it == kRank.end()) {
        Problem("unknown top-level element " + e.Name());
        continue;
      }
      if (it->second < last) Problem(e.Name() + " out of order");
      last = it->second;
      if (it->second >= 2) CheckDefinition(e);
    }
    if (Select(doc_, "/ZARN_DEVICE/SOURCE[@name and @path]").size() != 1)
      Problem("one SOURCE with name and path expected");
    if (!Select(doc_, "/ZARN_DEVICE/IDENTIFICATION/*[not(@name)]").empty()) Problem("identification without name");
    if (!Select(doc_, "//*[@value and not(@hex)] | //*[@hex and not(@value)]").empty()) Problem("value without hex");
  }

  void CheckDefinition(xml::Node e) {
    const std::string id = e.Attribute("id").value_or("");
    if (id.empty()) return Problem(e.Name() + " without id");
    if (!ids_[e.Name()].insert(id).second) Problem(e.Name() + " id repeated: " + id);
  }

  void CheckStrings() {
    for (const char* list : {"LABEL", "HELP"}) {
      std::vector<xml::Node> nodes;
      std::string error;
      xml::SelectNodes(doc_.AsNode(), std::string("//") + list, &nodes, &error);
      for (xml::Node n : nodes) {
        const auto strings = n.ChildElements();
        if (strings.empty() || strings[0].Name() != "string" || strings[0].HasAttribute("lang")) {
          Problem(std::string(list) + " must begin with a default string");
        }
        for (size_t i = 1; i < strings.size(); ++i) {
          if (strings[i].Name() != "string" || !strings[i].HasAttribute("lang"))
            Problem(std::string(list) + ": string without lang");
        }
      }
    }
  }

  void CheckValues() {
    for (const std::string& text : Select(doc_, "//integer")) {
      if (text.empty() || text.find_first_not_of("-0123456789") != std::string::npos) Problem("integer " + text);
    }
    for (const std::string& text : Select(doc_, "//boolean")) {
      if (text != "true" && text != "false") Problem("boolean " + text);
    }
    for (const char* named : {"PROTOCOL", "CLASSIFICATION", "COMPONENT_PATH"}) {
      if (!Select(doc_, std::string("//") + named + "[not(@name)]").empty())
        Problem(std::string(named) + " without name");
    }
  }

  void CheckReferences() {
    Expect("//COMPONENT_PARENT/@refid", {"COMPONENT", "COMPONENT_FOLDER", "COMPONENT_REFERENCE"});
    Expect("//relation_ref/@ref", {"COMPONENT_RELATION"});
    Expect("//component_ref/@ref", {"COMPONENT", "COMPONENT_FOLDER", "COMPONENT_REFERENCE"});
    Expect("//variable_ref/@ref", {"VARIABLE"});
  }

  void Expect(const std::string& xpath, std::initializer_list<std::string> kinds) {
    for (const std::string& ref : Select(doc_, xpath)) {
      bool found = false;
      for (const std::string& kind : kinds) found = found || ids_[kind].count(ref) > 0;
      if (!found) Problem(xpath + " names no definition: " + ref);
    }
  }

  void Problem(const std::string& text) { problems_.push_back(text); }

  const xml::Document& doc_;
  std::map<std::string, std::set<std::string>> ids_;
  std::vector<std::string> problems_;
};

}  // namespace

std::vector<std::string> DeviceXmlProblems(const xml::Document& doc) { return FormatChecker(doc).Run(); }

}  // namespace zarn::testing
