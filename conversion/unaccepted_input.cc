#include "conversion/unaccepted_input.h"

#include <filesystem>
#include <memory>

#include "platform/paths.h"
#include "platform/strings.h"
#include "xml/document.h"

namespace zarn {
namespace {

// ".gse", ".gsg", ...: the texts of a GSD station in one language.
bool IsGsdLanguageVariant(const std::string& ext) {
  return ext.size() == 4 && EqualsNoCase(ext.substr(0, 3), ".gs") && !EqualsNoCase(ext, ".gsd");
}

std::string GsdVariantReason(const std::string& path, const std::string& name) {
  const std::filesystem::path station = std::filesystem::path(path).replace_extension(".gsd");
  std::error_code ec;
  const std::string reason = name + " is a GSD language variant: it holds one language's texts of a station";
  if (std::filesystem::exists(station, ec)) {
    return reason + "; import " + station.filename().string() + ", which reads its variants beside it";
  }
  return reason + ", and the station's own file " + station.filename().string() + " is not beside it";
}

// What an XML file is, by its root element.
std::string XmlReason(const std::string& path, const std::string& name) {
  std::string error;
  std::unique_ptr<xml::Document> doc = xml::Document::LoadFile(path, &error);
  if (!doc || !doc->Root()) return name + " is not well-formed XML: " + error;
  const std::string root = doc->Root().Name();
  if (root == "ZARN_DEVICE") return "";
  if (root == "ISO15745Profile" && StartsWithNoCase(name, "GSDML")) {
    return name + " is a PROFINET device description (GSDML); no converter plug-in for that format is installed";
  }
  if (root == "ISO15745Profile") {
    return name +
           " is an ISO 15745 device profile that no converter plug-in accepts "
           "(an IO-Link description has the root element IODevice)";
  }
  return name + " is XML with the root element " + root +
         ", neither a component XML, a device XML nor a format a converter plug-in reads";
}

}  // namespace

bool IsDeviceDescriptionSource(const std::string& path) {
  const std::string ext = SplitPath(path).extension;
  return EqualsNoCase(ext, ".ddl") || EqualsNoCase(ext, ".edd") || EqualsNoCase(ext, ".mdd");
}

std::string UnacceptedInputReason(const std::string& path) {
  const std::string ext = SplitPath(path).extension;
  const std::string name = std::filesystem::path(path).filename().string();
  if (IsDeviceDescriptionSource(path)) return "";
  if (EqualsNoCase(ext, ".xml")) return XmlReason(path, name);
  if (IsGsdLanguageVariant(ext)) return GsdVariantReason(path, name);
  if (EqualsNoCase(ext, ".zip")) {
    return name +
           " is a zip package that no converter plug-in accepts: it holds no IODD "
           "(an IO-Link package carries its description as ...-IODD1.x.xml)";
  }
  if (EqualsNoCase(ext, ".eds")) {
    return name + " is an electronic data sheet (EDS); no converter plug-in for that format is installed";
  }
  if (ext.empty()) return "";  // a source without extension is the compiler's to judge
  return name + ": no converter plug-in accepts " + ext +
         " files, and it is no device-description "
         "source (.ddl, .edd, .mdd)";
}

}  // namespace zarn
