// ZARN_GetComponents and ZARN_FreeComponentXMLInfo: from an input path (a source, a
// device XML, a plug-in format, a component XML, a directory or a marker path) to
// component XML and the records describing it.
#include <stdlib.h>

#include <filesystem>
#include <unordered_set>

#include "api/export_frame.h"
#include "conversion/conversion.h"
#include "conversion/converter.h"
#include "conversion/get_components.h"
#include "conversion/source_includes.h"
#include "conversion/unaccepted_input.h"
#include "external/trace.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "xml/document.h"

namespace zarn {
namespace {

constexpr std::string_view kFunction = "ZARN_GetComponents";
constexpr std::string_view kGlobSpecial = "ZarnGlobSpecial";
constexpr std::string_view kGlobMarker = "<ZarnGlobSpecial>";
constexpr std::string_view kPiMarker = "<FoundPiLibrarySpecial>";

// One call of ZARN_GetComponents.
class ComponentRetrieval {
 public:
  ComponentRetrieval(CCatalog_Contents& catalog, const std::string& path)
      : catalog_(catalog),
        conversion_(catalog.stylesheetPath(), catalog.baseDirectory()),
        path_(path),
        sourceDir_(DirectoryOfFile(path)) {
    conversion_.setLanguage(catalog.getLanguage());
  }

  uint32_t Run(ComponentXMLInfo** list);

 private:
  uint32_t ConvertFile(ComponentXMLInfo** list);
  uint32_t ListDirectory();
  void ListImportableFiles();
  // The .ddl, .edd and .mdd files below the directory that are sources of their own.
  std::vector<std::string> DeviceDescriptionSources() const;
  uint32_t ConvertGlobalSources();
  // Compile, stylesheet, inPath and reading of one file into `outputDirectory`.
  uint32_t ConvertSource(const std::string& input, const std::string& outputDirectory, const std::string& message);
  uint32_t WriteListDocument(const std::string& batchDirectory);
  bool IsComponentXml(const std::string& path) const;
  // A fresh directory below `parent`; "" when it cannot be created.
  static std::string MakeOutputDirectory(const std::string& parent);
  const ManufacturerTable* manufacturers() const { return &catalog_.manufacturerNamesById(); }
  std::string ComponentXmlNameFor(const std::string& deviceXmlBase) const {
    return Cconversion::MakeComponentXmlName(conversion_.MakeDeviceXmlName(deviceXmlBase));
  }

  CCatalog_Contents& catalog_;
  Cconversion conversion_;
  std::string path_;
  std::string sourceDir_;
};

uint32_t ComponentRetrieval::Run(ComponentXMLInfo** list) {
  CFileOperation files;
  const int32_t kind = files.GetPathType(path_);
  const std::string& temporary = catalog_.temporaryDirectory();
  if (files.GetPathType(temporary) != kPathDirectory && !files.CreateDirectories(temporary)) {
    Trace(kTraceError, kFunction, "can't create tmp directory");
    return ZARN_E_TMP_DIRECTORY;
  }
  if (kind == kPathFile) return ConvertFile(list);
  uint32_t result = 0;
  if (kind == kPathDirectory) {
    result = ListDirectory();
  } else if (path_.find(kGlobSpecial) != std::string::npos) {
    result = ConvertGlobalSources();
  } else if (path_.find(kPiMarker) != std::string::npos) {
    result = conversion_.AddRecord("PA-Library", path_, {{"PROTOCOL", "PROFIBUS"}, {"COMPONENT", "PA-Library"}});
  } else {
    result = ZARN_E_NO_RECORDS;
  }
  if (result == 0) *list = conversion_.ReleaseResults();
  return result;
}

bool ComponentRetrieval::IsComponentXml(const std::string& path) const {
  ComponentXmlReader reader(nullptr, false);
  return reader.Load(path) == 0 && reader.Read("") == 0;
}

std::string ComponentRetrieval::MakeOutputDirectory(const std::string& parent) {
  std::string pattern = JoinPath(parent, "zarnXXXXXX");
  if (mkdtemp(pattern.data()) == nullptr) return std::string();
  return pattern;
}

uint32_t ComponentRetrieval::ConvertFile(ComponentXMLInfo** list) {
  if (EqualsNoCase(SplitPath(path_).extension, ".xml") && IsComponentXml(path_)) {
    const uint32_t result = conversion_.AddComponentsFromXml(manufacturers(), catalog_.deviceConfigurationFile(), path_,
                                                             "", catalog_.manufacturerLevels());
    *list = conversion_.ReleaseResults();
    return result;
  }
  const std::string outputDirectory = MakeOutputDirectory(catalog_.temporaryDirectory());
  if (outputDirectory.empty()) {
    Trace(kTraceError, kFunction, "can't create tmp directory");
    return ZARN_E_TMP_DIRECTORY;
  }
  std::string input = path_;
  std::string message;
  const uint32_t converted =
      ConvertWithPlugins(GetConverters(catalog_), catalog_.catalogDirectory(), outputDirectory, &input, &message);
  if (converted != 0) {
    conversion_.AddListedFile(path_, message);
    *list = conversion_.ReleaseResults();
    return converted;
  }
  if (input == path_) {
    if (const std::string reason = UnacceptedInputReason(path_); !reason.empty()) {
      Trace(kTraceError, kFunction, "%s", reason);
      conversion_.AddListedFile(path_, reason);
      *list = conversion_.ReleaseResults();
      return ZARN_E_NO_RECORDS;  // nothing at that path converts; the record says why
    }
  }
  const uint32_t result = ConvertSource(input, outputDirectory, message);
  if (result == 0 || conversion_.results() != nullptr) *list = conversion_.ReleaseResults();
  return result;
}

uint32_t ComponentRetrieval::ConvertSource(const std::string& input, const std::string& outputDirectory,
                                           const std::string& message) {
  const std::string base = JoinPath(outputDirectory, FileNamePart(input));
  if (const uint32_t rc = conversion_.Compile(input, base); rc != 0) return rc;
  const std::string deviceXml = conversion_.MakeDeviceXmlName(base);
  if (const uint32_t rc = conversion_.transformZARNXml(deviceXml); rc != 0) return rc;
  const std::string componentXml = Cconversion::MakeComponentXmlName(deviceXml);
  Cconversion::SetInPath(componentXml, sourceDir_);
  return conversion_.AddComponentsFromXml(manufacturers(), catalog_.deviceConfigurationFile(), componentXml, message,
                                          catalog_.manufacturerLevels());
}

uint32_t ComponentRetrieval::ListDirectory() {
  std::vector<std::string> all;
  // A directory without files holds nothing to convert, which is no failure.
  if (!FindFiles(path_, "", &all)) return 0;
  const std::string piMark = DocumentPathToNative("PI\\0000\\pa_import.h");
  const std::string globalMark = DocumentPathToNative("_global\\io_module_general_properties.mdd");
  std::string piLibrary;
  for (const std::string& file : all) {
    if (const size_t at = file.find(piMark); at != std::string::npos) {
      piLibrary = JoinPath(TrimRightChars(file.substr(0, at), kPathSeparatorString), "PI");
      break;
    }
    if (file.find(globalMark) != std::string::npos) {
      return conversion_.AddListedFile(JoinPath(path_, kGlobMarker), "");
    }
  }
  if (!piLibrary.empty()) {
    if (const uint32_t rc = conversion_.AddListedFile(JoinPath(piLibrary, kPiMarker), "xml"); rc != 0) return rc;
  }
  if (path_.find("_global") == std::string::npos) ListImportableFiles();
  return conversion_.results() != nullptr ? 0 : ZARN_E_NO_RECORDS;
}

void ComponentRetrieval::ListImportableFiles() {
  std::unordered_set<std::string> componentXmls;
  std::vector<std::string> xmls;
  FindFiles(path_, "xml", &xmls);
  for (const std::string& file : xmls) {
    if (!IsComponentXml(file)) continue;
    componentXmls.insert(file);
    conversion_.AddListedFile(file, "");
  }
  if (!componentXmls.empty()) return;
  bool handledByPlugin = false;
  for (const auto& converter : GetConverters(catalog_)) {
    std::string types;
    if (!converter->SupportedFileTypes(&types)) continue;
    for (const std::string& entry : Split(types, ";")) {
      if (entry.empty()) continue;
      std::vector<std::string> files;
      FindFiles(path_, entry, &files);
      for (const std::string& file : files) {
        if (!converter->Accepts(file)) continue;
        const std::string output = converter->OutputFileName(DirectoryOfFile(file), file);
        if (componentXmls.count(ComponentXmlNameFor(output)) != 0) continue;
        conversion_.AddListedFile(file, "");
        if (EqualsNoCase(entry, "devices")) handledByPlugin = true;
      }
    }
  }
  if (handledByPlugin) return;
  for (const std::string& file : DeviceDescriptionSources()) {
    if (componentXmls.count(ComponentXmlNameFor(file)) == 0) conversion_.AddListedFile(file, "");
  }
}

std::vector<std::string> ComponentRetrieval::DeviceDescriptionSources() const {
  std::vector<std::string> candidates;
  FindFiles(path_, "ddl", &candidates);
  FindFiles(path_, "edd", &candidates);
  if (!FindFiles(path_, "Ident.mdd", &candidates)) FindFiles(path_, "mdd", &candidates);
  if (candidates.empty()) return candidates;
  // A file that another file of the tree includes is a fragment of that source,
  // and a file of nothing but comments describes no device.
  std::vector<std::string> all;
  FindFiles(path_, "", &all);
  return SourceIncludes(path_, all).Sources(candidates);
}

uint32_t ComponentRetrieval::ConvertGlobalSources() {
  const std::string batch =
      JoinPath(catalog_.temporaryDirectory(), std::string(kGlobSpecial) + std::to_string(catalog_.NextBatchNumber()));
  CFileOperation files;
  if (!files.CreateDirectories(batch)) {
    Trace(kTraceError, kFunction, "can't create tmp directory");
    return ZARN_E_TMP_DIRECTORY;
  }
  std::vector<std::string> sources;
  FindFiles(sourceDir_, "ddl", &sources);
  FindFiles(sourceDir_, "mdd", &sources);
  for (const std::string& source : sources) {
    const std::string outputDirectory = MakeOutputDirectory(batch);
    if (outputDirectory.empty() || source.find("_global") != std::string::npos) continue;
    ConvertSource(source, outputDirectory, "");  // a failing source gives no records
  }
  if (conversion_.results() == nullptr) return ZARN_E_NO_RECORDS;
  return WriteListDocument(batch);
}

uint32_t ComponentRetrieval::WriteListDocument(const std::string& batchDirectory) {
  xml::Document doc;
  xml::Node root = doc.SetRoot(doc.CreateElement("COMP_COMPONENTXML"));
  root.SetAttribute("inPath", sourceDir_);
  // The records are in reverse order of creation: list the files in creation order.
  std::vector<std::string> paths;
  for (const ComponentXMLInfo* r = conversion_.results(); r != nullptr; r = r->next) {
    paths.insert(paths.begin(), ToUtf8(r->componentXmlPath));
  }
  std::unordered_set<std::string> seen;
  for (const std::string& path : paths) {
    if (!seen.insert(path).second) continue;
    root.AppendElement("COMPONENT_XML").SetAttribute("tmpPath", path);
  }
  return doc.Save(JoinPath(batchDirectory, "ZarnGlobSpecial.xml"), nullptr) ? 0 : ZARN_E_DOCUMENT;
}

}  // namespace

uint32_t GetComponents(CCatalog_Contents& catalog, const std::string& path, ComponentXMLInfo** list) {
  return ComponentRetrieval(catalog, path).Run(list);
}

}  // namespace zarn

extern "C" {

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetComponents(const char16_t* path, ComponentXMLInfo** list,
                                                  const char16_t* /*language*/) {
  if (path == nullptr) return ZARN_RESULT_MINUS_ONE;
  return zarn::CatalogCall([&](zarn::CCatalog_Contents& catalog) -> uint32_t {
    ComponentXMLInfo* unwanted = nullptr;  // a host that passes no list still gets the work done
    const uint32_t result = zarn::GetComponents(catalog, zarn::ToUtf8(path), list != nullptr ? list : &unwanted);
    zarn::FreeComponentXMLInfoChain(unwanted);
    return result;
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_FreeComponentXMLInfo(ComponentXMLInfo* list) {
  return zarn::CatalogCall([&](zarn::CCatalog_Contents&) -> uint32_t {
    zarn::FreeComponentXMLInfoChain(list);
    return 0;
  });
}

}  // extern "C"
