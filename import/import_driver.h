// The import driver behind ZARN_ImportComponent: merges one source (a component XML
// file, a bundle of universal sources, or the PROFIBUS PA library marker) into the
// catalog, copies the component's files into the file area, imports the
// hardware-configuration sources a component names, keeps the identification index
// up to date and saves the catalog. On any failure the catalog is reloaded from its
// file and every directory the import created is deleted.
//
// The file area is the catalog directory. Whatever a component XML holds (ids,
// COMPONENT_PATH segments, inPath values, file references), the driver creates,
// copies into and deletes only directories strictly inside the catalog directory
// (outside its catalogData and Device directories), and deletes hardware-
// configuration source directories only inside the catalog's temporary directory.
// Input that would need anything else fails with ZARN_E_IMPORT_ARGUMENT.
#ifndef ZARN_IMPORT_IMPORT_DRIVER_H_
#define ZARN_IMPORT_IMPORT_DRIVER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "catalog/catalog_contents.h"
#include "zarn/catalog_manager.h"

namespace zarn {

class ComponentXmlReader;
class FileAreaJournal;

// Modes of ZARN_ImportComponent.
inline constexpr int32_t kImportModeImport = 0;     // the whole import
inline constexpr int32_t kImportModeSideSteps = 1;  // platform sources and the final phase only

// Markers in source paths.
inline constexpr std::string_view kPiLibraryMarker = "<FoundPiLibrarySpecial>";
inline constexpr std::string_view kBundleMarker = "ZarnGlobSpecial";
inline constexpr std::string_view kBundleListFile = "ZarnGlobSpecial.xml";
// Where universal bundles go, below the catalog directory (document form).
inline constexpr std::string_view kBundleFileArea = "\\DEVICE\\UNIVERSAL\\Halvorn\\";

// Imports `source_path` into `catalog` (see ZARN_ImportComponent). *log_paths (may
// be null) receives the log paths of what was imported; the caller frees the chain
// with FreeLogPathEntries, also after a failure.
uint32_t ImportComponent(CCatalog_Contents& catalog, const std::string& source_path, int32_t mode,
                         LogPathEntry** log_paths);

// True when the file-area directory `backslash_path` (document form, "\"-separated)
// is fit for an import: not empty, no segment "." or "..", no NUL, and the native
// directory it names lies strictly inside `catalog_directory`, outside its
// catalogData and Device directories. *native receives that directory.
bool FileAreaDirectory(const std::string& catalog_directory, const std::string& backslash_path, std::string* native);

// True when `value` can name a file below a component's directory: empty, or a
// relative path without a "." or ".." segment, a NUL or a drive prefix.
bool IsSafeFileReference(std::string_view value);
// True when every file reference of a component XML element is safe: the texts and
// `name` attributes of its file-reference children (ZARN, IMAGE, HWCN_DeviceItem,
// ...) and the `string` children of ADDITIONAL_ZARNS and GSD. *offending receives
// the first unsafe value.
bool FileReferencesAreSafe(Node element, std::string* offending);
// The values of those children as written (untrimmed, possibly empty), in order.
std::vector<std::string> FileReferences(Node element);

// FileReferencesAreSafe for every object of a read component XML, and a safe
// HWCN_DeviceItem; 0, or ZARN_E_IMPORT_ARGUMENT (traced) for the first unsafe value.
uint32_t CheckFileReferences(const ComponentXmlReader& reader);

// True when the inPath of a component XML may be copied from: empty or not an
// existing directory (nothing is copied); never the file-system root; any other
// for a component XML in the temporary directory (conversion writes it there with
// the directory of the converted sources); else the directory of the component
// XML or one below it, one holding the source the file is named after (dev.ddl
// for dev.ddl_comp.xml), or one beside it (not above it) below the same
// first-level directory.
bool IsAcceptedInPath(const std::string& in_path, const std::string& component_xml,
                      const std::string& temporary_directory);
// IsAcceptedInPath for a read component XML; 0, or ZARN_E_IMPORT_ARGUMENT (traced).
uint32_t CheckInPath(const ComponentXmlReader& reader, const std::string& component_xml,
                     const std::string& temporary_directory);

// Testing: replaces the object manager's compile-after-import for every import
// (nullptr restores it). The hook receives the component path and returns the
// operation's result.
using CompileAfterImportHook = uint32_t (*)(const std::string& component_path);
void SetCompileAfterImportHookForTesting(CompileAfterImportHook hook);

// One run of the import. Nested imports (hardware-configuration sources) run while
// their parent's driver is active and hand their created directories and index keys
// to it, so that a failure of the outer import also undoes them.
class CImportDriver {
 public:
  CImportDriver(CCatalog_Contents* catalog, std::string source_path, int32_t mode, LogPathEntry** log_paths);
  ~CImportDriver();
  CImportDriver(const CImportDriver&) = delete;
  CImportDriver& operator=(const CImportDriver&) = delete;

  // Runs the whole import; 0 or the failure code.
  uint32_t Run();
  // The import (and its nested imports) leaves the document unsaved: a batch saves it.
  void DeferSave() { defer_save_ = true; }

 private:
  // Step by step (import_driver.cc).
  uint32_t RunSteps();
  void RunSideSteps();
  uint32_t FinalPhase(uint32_t result);
  uint32_t IndexAndCompile();
  void IndexElement(Node element, const std::string& path);
  void Rollback();
  void HandOverToParent();

  // Library and bundle imports (import_bundle.cc).
  uint32_t ImportLibrary();
  uint32_t ImportBundle();
  uint32_t ImportBundleEntry(const std::string& entry, const std::string& bundle_in_path);
  uint32_t CopyBundle(const std::string& bundle_in_path);

  // Component import and file copy (import_component_files.cc).
  uint32_t ImportComponentXml();
  uint32_t CopyObjectFiles(CCatalog_Object* object);
  uint32_t CopyImportDirectory(const std::string& import_directory, const std::string& destination);
  // Copies the files of the source directory that `object` refers to (its
  // source, their language variants, images, manuals, included headers) into
  // `destination`, keeping their places below the source directory.
  uint32_t CopySourceFiles(const CCatalog_Object& object, const std::string& source, const std::string& destination);
  void DeleteStaleFiles(const std::string& destination);
  // Creates `directory` (native, checked by the caller) and remembers the topmost
  // directory that did not exist before. False when it cannot be created.
  bool CreateDestination(const std::string& directory);
  void AppendLogPaths(const NodeList& elements);

  // Hardware-configuration sources (import_hardware_configuration.cc).
  uint32_t ImportHardwareConfiguration();
  uint32_t ImportPartner(CCatalog_Object* object, const std::string& source, std::string_view marker, int kind,
                         uint32_t failure, std::string* partner_path);
  void WriteDeviceItem(CCatalog_Object* object, const std::string& rack_path, const std::string& device_path);
  void DeleteHardwareConfigurationSources();
  void DeleteSourceDirectory(const std::string& directory);
  std::string ResolveAgainstImportDirectory(const std::string& path) const;
  // The outermost driver keeps the catalog file as it was before any nested import
  // saved it, so that its rollback can restore it.
  void SnapshotCatalogFile();
  CImportDriver* Outermost();

  std::string ImportDirectory() const;

  CCatalog_Contents* catalog_;
  std::string path_;
  int32_t mode_;
  LogPathEntry** log_paths_;
  CImportDriver* parent_;
  bool library_import_ = false;
  std::unique_ptr<ComponentXmlReader> reader_;
  // The outermost driver's record of what the import changes in existing
  // directories of the file area: its own, or the one of the replacement it is part
  // of (which holds what the replacement's deletion moved aside).
  std::unique_ptr<FileAreaJournal> own_journal_;
  FileAreaJournal* journal_ = nullptr;
  CCatalog_Contents::ObjectArray objects_;
  NodeList components_;
  std::vector<std::string> created_directories_;
  std::vector<std::string> indexed_keys_;
  std::string recorded_bundle_;
  bool has_snapshot_ = false;
  bool snapshot_file_existed_ = false;
  std::string snapshot_;
  bool document_reloaded_ = false;
  bool defer_save_ = false;
};

}  // namespace zarn

#endif  // ZARN_IMPORT_IMPORT_DRIVER_H_
