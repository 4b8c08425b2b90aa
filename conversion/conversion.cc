#include "conversion/conversion.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>

#include "conversion/compilation.h"
#include "conversion/converter.h"
#include "external/trace.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "xml/document.h"
#include "xml/xslt.h"

namespace zarn {
namespace {

constexpr std::string_view kTransformFunction = "Cconversion::transformZARNXml";

// The serialised result says encoding="UTF-8"; the file is written as UTF-16LE, so
// its declaration must say so for a parser to read it back.
std::string DeclareUtf16(std::string text) {
  if (text.rfind("<?xml", 0) != 0) return "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" + text;
  const size_t end = text.find("?>");
  const size_t enc = text.find("encoding=", 0);
  if (end == std::string::npos || enc == std::string::npos || enc > end) return text;
  const char quote = text[enc + 9];
  const size_t close = text.find(quote, enc + 10);
  if (close == std::string::npos || close > end) return text;
  return text.replace(enc + 10, close - enc - 10, "UTF-16");
}

bool WriteUtf16(const std::string& path, const std::string& utf8) {
  const std::u16string text = ToUtf16(utf8);
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>((c >> 8) & 0xFF));
  }
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// True when the file is device XML already (its root element is ZARN_DEVICE).
bool IsDeviceXml(const std::string& path) {
  if (!EndsWithNoCase(path, ".xml")) return false;
  std::unique_ptr<xml::Document> doc = xml::Document::LoadFile(path, nullptr);
  return doc && doc->Root() && doc->Root().Name() == "ZARN_DEVICE";
}

// The compiled stylesheet of `path`, compiled again only when the file changed. Every
// call of ZARN_GetComponents converts with it; compiling it each time would cost
// about as much as the transformation itself.
std::shared_ptr<xml::Stylesheet> LoadStylesheet(const std::string& path, std::string* error) {
  struct Entry {
    std::filesystem::file_time_type time;
    std::uintmax_t size = 0;
    std::shared_ptr<xml::Stylesheet> sheet;
  };
  static std::map<std::string, Entry>* cache = new std::map<std::string, Entry>();  // lives until exit
  std::error_code ec;
  const auto time = std::filesystem::last_write_time(path, ec);
  const std::uintmax_t size = ec ? 0 : std::filesystem::file_size(path, ec);
  auto found = cache->find(path);
  if (!ec && found != cache->end() && found->second.time == time && found->second.size == size) {
    return found->second.sheet;
  }
  std::shared_ptr<xml::Stylesheet> sheet = xml::Stylesheet::LoadFile(path, error);
  if (!sheet || ec) {
    cache->erase(path);
    return sheet;
  }
  (*cache)[path] = Entry{time, size, sheet};
  return sheet;
}

}  // namespace

Cconversion::Cconversion(std::string stylesheetPath, std::string baseDir)
    : stylesheetPath_(std::move(stylesheetPath)), baseDir_(std::move(baseDir)) {}

Cconversion::~Cconversion() { FreeComponentXMLInfoChain(results_); }

ComponentXMLInfo* Cconversion::ReleaseResults() {
  ComponentXMLInfo* head = results_;
  results_ = nullptr;
  return head;
}

std::string Cconversion::MakeComponentXmlName(const std::string& inputPath) { return inputPath + "_comp.xml"; }

std::string Cconversion::MakeDeviceXmlName(const std::string& outputBase) const {
  return outputBase + language_ + ".device.xml";
}

uint32_t Cconversion::transformZARNXml(const std::string& inputPath) {
  std::string error;
  std::unique_ptr<xml::Document> source = xml::Document::LoadFile(inputPath, &error);
  if (!source) {
    Trace(kTraceError, kTransformFunction, "Failed to load:\n%s %s\n", inputPath, error);
    return ZARN_E_XSLT;
  }
  if (!stylesheet_) {
    stylesheet_ = LoadStylesheet(stylesheetPath_, &error);
    if (!stylesheet_) {
      Trace(kTraceError, kTransformFunction, "Failed to load:\n%s %s\n", stylesheetPath_, error);
      return ZARN_E_XSLT;
    }
  }
  std::string output;
  if (!stylesheet_->Transform(*source, &output, &error)) {
    Trace(kTraceError, kTransformFunction, "Failed to transformNode:\n%s\n", error);
    return ZARN_E_XSLT;
  }
  if (!WriteUtf16(MakeComponentXmlName(inputPath), DeclareUtf16(std::move(output)))) {
    Trace(kTraceError, kTransformFunction, "Failed to load:\n%s %s\n", MakeComponentXmlName(inputPath),
          "cannot be written");
    return ZARN_E_XSLT;
  }
  return 0;
}

uint32_t Cconversion::Compile(const std::string& sourcePath, const std::string& base) {
  const std::string output = MakeDeviceXmlName(base.empty() ? sourcePath : base);
  if (IsDeviceXml(sourcePath)) {
    // Converter output and device XML files given directly need no compiler.
    std::error_code ec;
    if (sourcePath == output) return 0;
    std::filesystem::copy_file(sourcePath, output, std::filesystem::copy_options::overwrite_existing, ec);
    return ec ? ZARN_E_COMPILER_OPEN : 0;
  }
  Compilation compilation;
  if (compilation.Open(sourcePath) != 0) return ZARN_E_COMPILER_OPEN;
  return static_cast<uint32_t>(compilation.Produce(output));
}

uint32_t Cconversion::SetInPath(const std::string& componentXmlPath, const std::string& directory) {
  std::unique_ptr<xml::Document> doc = xml::Document::LoadFile(componentXmlPath, nullptr);
  if (!doc) return ZARN_E_DOCUMENT;
  xml::Node root = doc->Root();
  if (root && root.Name() == "COMP_COMPONENTXML") root.SetAttribute("inPath", directory);
  // A file of the per-call output: written in place, without the flush to disk that
  // the catalog's own saves pay for.
  std::ofstream out(componentXmlPath, std::ios::binary | std::ios::trunc);
  out << doc->ToString();
  return out.flush() ? 0 : ZARN_E_DOCUMENT;
}

}  // namespace zarn
