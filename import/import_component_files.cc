// Importing one component XML file: reading, insertion, and copying each object's
// files into its directory of the file area.
#include <algorithm>
#include <cerrno>
#include <set>
#include <string>
#include <vector>

#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "conversion/component_xml_reader.h"
#include "conversion/conversion.h"
#include "conversion/source_includes.h"
#include "external/file_copy_trace.h"
#include "external/trace.h"
#include "import/file_area_journal.h"
#include "import/import_driver.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// The code of a file that could not be copied: a destination path too long to be
// written is told apart from other copy failures.
uint32_t CopyFailure(const CFileOperation& files) {
  return files.error_code() == ENAMETOOLONG ? ZARN_E_PATH_TOO_LONG : ZARN_E_COPY;
}

constexpr std::string_view kFunction = "ZARN_ImportComponent";
constexpr std::string_view kStalePatterns[] = {"*.ddl??", "*.mdd??", "*.device.xml", "*.device.xml_comp.xml"};

// True when copying `source` into the file area cannot reach the catalog itself
// (a source directory that holds the catalog would be copied into itself).
bool IsCopyableSource(const std::string& catalog_directory, const std::string& source) {
  return !source.empty() && !IsPathInside(source, catalog_directory);
}

std::string Stem(std::string_view name) { return ToLower(name.substr(0, name.rfind('.'))); }

// True when the file name `name` is a variant of the file name `reference`: the
// same stem with another extension (a station description in another language,
// a picture in another format) or the stem followed by "-" and a language code
// (a text file of a device description).
bool IsVariantOf(std::string_view name, std::string_view reference) {
  const std::string stem = Stem(name);
  const std::string wanted = Stem(reference);
  if (stem == wanted) return true;
  if (stem.size() < wanted.size() + 3 || stem.compare(0, wanted.size() + 1, wanted + "-") != 0) return false;
  const std::string code = stem.substr(wanted.size() + 1);
  if (code.size() > 5) return false;
  for (char c : code) {
    if (!((c >= 'a' && c <= 'z') || c == '-')) return false;
  }
  return true;
}

// A device description whose text names further files: an EDDL source (its
// includes, its images) or an XML description (its icons and logos).
bool NamesFurtherFiles(std::string_view name) {
  return EndsWithNoCase(name, ".ddl") || EndsWithNoCase(name, ".edd") || EndsWithNoCase(name, ".mdd") ||
         EndsWithNoCase(name, ".xml");
}

// The files of the source directory `source` that an object refers to, each with
// its language variants and, for a device description, the headers it includes
// and the files its strings name (images, icons, logos). `names`: the references as
// the component XML gives them, relative to `source`.
std::set<std::string> ReferencedFiles(const std::string& source, const std::vector<std::string>& names) {
  CFileOperation files;
  std::set<std::string> found;
  std::vector<std::string> descriptions;
  for (const std::string& written : names) {
    const std::string relative = DocumentPathToNative(Trim(written));
    if (relative.empty() || !IsSafeFileReference(relative)) continue;
    const std::string directory = DirectoryOfFile(JoinPath(source, relative));
    const std::string name = FileNamePart(relative);
    std::vector<std::string> listed;
    files.ListFiles(directory, &listed, "");
    for (const std::string& file : listed) {
      if (!IsVariantOf(FileNamePart(file), name)) continue;
      found.insert(file);
      if (EqualsNoCase(FileNamePart(file), name) && NamesFurtherFiles(name)) descriptions.push_back(file);
    }
  }
  if (descriptions.empty()) return found;
  std::vector<std::string> tree;
  FindFiles(source, "", &tree);
  SourceIncludes includes(source, tree);
  for (const std::string& description : descriptions) {
    for (const std::string& file : includes.ReferencedBy(description)) found.insert(file);
  }
  return found;
}

// The name of the file that a converter converted into the component XML at
// `path`: its file name up to ".device.xml" ("a.gsd.device.xmlen.device.xml_comp.xml"
// comes from "a.gsd").
std::string ConvertedSourceName(const std::string& path) {
  const std::string name = FileNamePart(path);
  const size_t at = FindNoCase(name, ".device.xml");
  return at == std::string::npos || at == 0 ? std::string() : name.substr(0, at);
}

bool NamesAFile(std::string_view name) {
  static constexpr std::string_view kNamed[] = {"ZARN",          "componentZARN",   "IMAGE",           "GSD",
                                                "DEVICE_MANUAL", "HWCN_DeviceItem", "ADDITIONAL_ZARNS"};
  return std::find(std::begin(kNamed), std::end(kNamed), name) != std::end(kNamed);
}

// Takes out of `element` each name of a file (its descriptions, image, manual,
// partner item, further descriptions: the text of such a child, its name attribute,
// or one of its strings) that `directory` does not hold; a child left naming
// nothing goes. Each is traced: the catalog names only files it has.
void DropNamesOfMissingFiles(CCatalog_Contents& catalog, Node element, const std::string& directory) {
  CFileOperation files;
  auto missing = [&](const std::string& name) {
    if (name.empty() || files.GetPathType(JoinPath(directory, DocumentPathToNative(name))) == kPathFile) return false;
    Trace(kTraceWarning, kFunction, "%s names %s, which is not among its sources: left out", directory, name);
    return true;
  };
  std::vector<Node> gone;
  for (Node child = element ? element.FirstChild() : Node(); child; child = child.NextSibling()) {
    if (!child.IsElement() || !NamesAFile(child.Name())) continue;
    size_t strings = 0;
    size_t dropped = 0;
    for (Node s = child.FirstChild(); s; s = s.NextSibling()) {
      if (!s.IsElement() || s.Name() != format::kString) continue;
      ++strings;
      if (missing(Trim(s.Text()))) {
        gone.push_back(s);
        ++dropped;
      }
    }
    const std::string value = child.HasAttribute("name") ? child.Attribute("name").value_or("") : Trim(child.Text());
    if (strings > 0 ? dropped == strings : missing(value)) {
      gone.resize(gone.size() - dropped);
      gone.push_back(child);
    }
  }
  for (Node n : gone) catalog.RemoveNode(n);
}

}  // namespace

uint32_t CImportDriver::ImportComponentXml() {
  if (CFileOperation().GetPathType(path_) != kPathFile) return ZARN_E_IMPORT_ARGUMENT;
  reader_ =
      std::make_unique<ComponentXmlReader>(&catalog_->manufacturerNamesById(), true, catalog_->manufacturerLevels());
  reader_->SetImportFlag(catalog_->sourceIsModuleDescription());
  reader_->SetDeviceConfiguration(catalog_->deviceConfigurationFile());
  uint32_t result = reader_->Load(path_);
  if (result == 0) AddMissingCatalogLevels(reader_->document());
  if (result == 0) result = reader_->Read(path_);
  if (result == 0) result = CheckFileReferences(*reader_);
  if (result == 0) result = CheckInPath(*reader_, path_, catalog_->temporaryDirectory());
  if (result == 0 && !reader_->Components().empty()) {
    result = catalog_->AddComponents(reader_.get(), &objects_, &components_);
  }
  if (result == 0 && objects_.empty()) result = ZARN_E_NO_COMPONENT;
  for (auto& object : objects_) {
    if (result != 0) break;
    // A catalog level holds no files of its own: the components below it do.
    if ((object->isComponent || object->isFolder) && !object->isComponentReference && !object->isCatalogLevel) {
      result = CopyObjectFiles(object.get());
    }
  }
  if (result == 0) {
    AppendLogPaths(components_);
    result = ImportHardwareConfiguration();
  }
  DeleteHardwareConfigurationSources();
  return result;
}

uint32_t CImportDriver::CopyObjectFiles(CCatalog_Object* object) {
  std::string destination;
  if (!FileAreaDirectory(catalog_->catalogDirectory(), object->backslashPath, &destination)) {
    Trace(kTraceError, kFunction, "no usable file-area directory for %s: %s", object->id, object->backslashPath);
    return ZARN_E_IMPORT_ARGUMENT;
  }
  destination = WithTrailingSeparator(destination);
  const std::string import_directory = WithoutTrailingSeparator(ImportDirectory());
  const std::string source = WithoutTrailingSeparator(reader_->InPath().empty() ? import_directory : reader_->InPath());
  if (!IsCopyableSource(catalog_->catalogDirectory(), source) ||
      !IsCopyableSource(catalog_->catalogDirectory(), import_directory)) {
    Trace(kTraceError, kFunction, "error copying %s to %s", source, destination);
    return ZARN_E_IMPORT_ARGUMENT;
  }
  CFileOperation files;
  if (object->update && !files.Delete(destination)) return ZARN_E_CANNOT_DELETE;
  if (!CreateDestination(destination)) return ZARN_E_CANNOT_WRITE;
  if (import_directory != source) {
    if (const uint32_t result = CopyImportDirectory(import_directory, destination)) return result;
  }
  if (const uint32_t result = CopySourceFiles(*object, source, destination)) return result;
  DeleteStaleFiles(destination);
  // A file the component names that its sources do not hold is not named by the catalog.
  DropNamesOfMissingFiles(*catalog_, object->catalogNode, destination);
  if (object->catalogNode) {
    if (object->update) {
      object->catalogNode.SetAttribute(format::kDdRevisionAttribute, object->ddRevision);
    } else {
      object->catalogNode.SetAttribute(format::kFsPath, object->backslashPath);
    }
  }
  return 0;
}

uint32_t CImportDriver::CopyImportDirectory(const std::string& import_directory, const std::string& destination) {
  CFileOperation files(TraceFileCopy);
  std::vector<std::string> listed;
  files.ListFiles(import_directory, &listed, "");
  for (const std::string& file : listed) {
    const std::string name = FileNamePart(file);
    if (catalog_->deviceFiles().count(name) != 0) continue;
    if (!files.DoFileCopy(file, destination + name, false)) {
      Trace(kTraceError, kFunction, "error copying %s to %s", file, destination);
      return CopyFailure(files);
    }
  }
  return 0;
}

uint32_t CImportDriver::CopySourceFiles(const CCatalog_Object& object, const std::string& source,
                                        const std::string& destination) {
  std::vector<std::string> names = object.element ? FileReferences(object.element) : std::vector<std::string>();
  names.push_back(object.sourceFileName);
  names.push_back(ConvertedSourceName(path_));
  CFileOperation files(TraceFileCopy);
  if (files.GetPathType(source) != kPathDirectory) {
    Trace(kTraceError, kFunction, "error copying %s to %s", source, destination);
    return ZARN_E_COPY;
  }
  for (const std::string& file : ReferencedFiles(source, names)) {
    const std::string target = JoinPath(destination, file.substr(WithTrailingSeparator(source).size()));
    if (!CreateDestination(DirectoryOfFile(target)) || !files.DoFileCopy(file, target, false)) {
      Trace(kTraceError, kFunction, "error copying %s to %s", file, destination);
      return CopyFailure(files);
    }
  }
  return 0;
}

void CImportDriver::DeleteStaleFiles(const std::string& destination) {
  CFileOperation files;
  for (std::string_view pattern : kStalePatterns) {
    std::vector<std::string> stale;
    files.ListByPattern(destination, std::string(pattern), &stale);
    for (const std::string& file : stale) {
      if (!files.Delete(file)) Trace(kTraceError, kFunction, "can't delete %s", file);
    }
  }
}

bool CImportDriver::CreateDestination(const std::string& directory) {
  const std::string root = NormalisePath(catalog_->catalogDirectory());
  CFileOperation files;
  std::string topmost_missing;
  for (std::string p = NormalisePath(directory); p != root && IsPathInside(root, p); p = ParentDirectory(p)) {
    if (files.GetPathType(p) != kPathMissing) break;
    topmost_missing = p;
  }
  // Noted before it exists: a kill half way leaves nothing the journal does not name.
  FileAreaJournal* journal = FileAreaJournal::Active();
  if (!topmost_missing.empty() && journal != nullptr && !journal->NoteCreatedDirectory(topmost_missing)) {
    return false;
  }
  const bool created = files.CreateDirectories(directory);
  if (!topmost_missing.empty()) created_directories_.push_back(topmost_missing);
  return created;
}

}  // namespace zarn
