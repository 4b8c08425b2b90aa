#include "conversion/pi_library.h"

#include "catalog/catalog_contents.h"
#include "conversion/conversion.h"
#include "external/file_copy_trace.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

constexpr const char* kPiParentPath = "\\DEVICE\\PROFIBUS_PA";

// Ids and file names come from file names: escaped so the text stays well-formed.
std::string Escape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void OpenTag(std::string* out, std::string_view name, const std::string& id, const std::string& fsPath) {
  *out += "<" + std::string(name) + " id=\"" + Escape(id) + "\" fsPath=\"" + Escape(fsPath) + "\">";
}

void Element(std::string* out, std::string_view name, const std::string& text) {
  *out += "<" + std::string(name) + ">" + Escape(text) + "</" + std::string(name) + ">";
}

template <typename Node>
void MapEntryXml(const Node& node, std::string_view name, const std::string& label, std::string* out) {
  OpenTag(out, name, node.id, node.fsPath);
  Element(out, "LABEL", label);
  for (const auto& [id, child] : node.children) child->ToXml(out);
  *out += "</" + std::string(name) + ">";
}

}  // namespace

cHcfComponentType::cHcfComponentType(std::string manufacturer_, std::string deviceType_, std::string deviceRevision_,
                                     std::string ddRevision_, std::string sourceFile_)
    : manufacturer(std::move(manufacturer_)),
      deviceType(std::move(deviceType_)),
      id(deviceRevision_),
      ddRevision(std::move(ddRevision_)),
      deviceRevision(std::move(deviceRevision_)),
      sourceFile(std::move(sourceFile_)) {
  label = "DeviceRevision: 0x" + deviceRevision + ", DdRevision: 0x" + ddRevision;
}

void cHcfComponentType::ToXml(std::string* out) const {
  OpenTag(out, "COMPONENT", id, fsPath);
  Element(out, "LABEL", label);
  *out += "\n";
  Element(out, "DD_REVISION", "0x" + ddRevision);
  *out += "\n";
  Element(out, "DEVICE_REVISION", "0x" + deviceRevision);
  *out += "\n";
  Element(out, "ZARN", sourceFile);
  *out += "\n";
  Element(out, "MANUFACTURER", "0x" + manufacturer);
  *out += "\n";
  Element(out, "DEVICE_TYPE", "0x" + deviceType);
  *out += "\n</COMPONENT>";
}

void cDeviceType::ToXml(std::string* out) const { MapEntryXml(*this, "DEVICE_TYPE", label, out); }

uint32_t cDeviceType::Add(std::unique_ptr<cHcfComponentType> component) {
  const std::string key = component->deviceRevision + component->ddRevision;
  if (children.count(key) != 0) return ZARN_E_ALREADY_PRESENT;
  component->fsPath = fsPath + "\\" + component->id;
  children.emplace(key, std::move(component));
  return 0;
}

void cManufacturerType::ToXml(std::string* out) const { MapEntryXml(*this, "MANUFACTURER", label, out); }

void cHcfType::ToXml(std::string* out) const { MapEntryXml(*this, "PI-LIBRARY", "PI-LIBRARY", out); }

uint32_t cHcfType::Add(std::unique_ptr<cHcfComponentType> component) {
  cDeviceType* deviceType = Child(component->manufacturer)->Child(component->deviceType);
  return deviceType->Add(std::move(component));
}

bool SplitPiFileName(const std::string& stem, std::string parts[4]) {
  const std::vector<std::string> split = Split(stem, "_");
  if (split.size() != 4) return false;
  for (size_t i = 0; i < 4; ++i) {
    if (split[i].empty()) return false;
    parts[i] = split[i];
  }
  return true;
}

cHcfType& GetPiLibraryRoot() {
  static cHcfType* root = new cHcfType("PI", std::string(kPiParentPath) + "\\PI");  // lives until exit
  return *root;
}

std::string GetPiLibraryXml() {
  std::string out;
  GetPiLibraryRoot().ToXml(&out);
  return out;
}

uint32_t ImportPiLibrary(CCatalog_Contents* catalog, const std::string& piLibraryDirectory) {
  if (catalog == nullptr) return ZARN_E_NO_CATALOG;
  CFileOperation files(TraceFileCopy);
  cHcfType& root = GetPiLibraryRoot();
  const std::string target = JoinPath(catalog->catalogDirectory(), DocumentPathToNative(root.fsPath));
  // The library's files go into what is there, and the tree is read from there: it
  // holds every library this catalog received (their entries keep their files) and
  // nothing another catalog of this process received.
  if (files.GetPathType(piLibraryDirectory) == kPathDirectory &&
      (!files.CreateDirectories(target) || !files.CopyPath(piLibraryDirectory, target, false))) {
    return ZARN_E_COPY;
  }
  root.children.clear();
  std::vector<std::string> sources;
  if (files.GetPathType(target) == kPathDirectory) FindFiles(target, "ddl", &sources);
  for (const std::string& source : sources) {
    const PathParts name = SplitPath(source);
    std::string parts[4];
    if (!SplitPiFileName(name.name, parts)) continue;
    root.Add(std::make_unique<cHcfComponentType>(parts[0], parts[1], parts[2], parts[3], name.name + name.extension));
  }
  return 0;
}

}  // namespace zarn
