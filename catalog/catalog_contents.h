// The one catalog object: the catalog document, its directories and files, and the
// lookup tables built from it.
#ifndef ZARN_CATALOG_CATALOG_CONTENTS_H_
#define ZARN_CATALOG_CATALOG_CONTENTS_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalog/dom_helper.h"
#include "platform/dynlib.h"
#include "xml/document.h"

namespace zarn {

class ObjectManagerLink;
class Cconverter;

using StringMap = std::unordered_map<std::string, std::string>;

class CCatalog_Contents {
 public:
  CCatalog_Contents();
  ~CCatalog_Contents();
  CCatalog_Contents(const CCatalog_Contents&) = delete;
  CCatalog_Contents& operator=(const CCatalog_Contents&) = delete;

  // The whole start-up from the configured base directory. 0 on success; the
  // accessor discards the object otherwise.
  uint32_t initialize(const std::string& configured_base_directory);
  // Reads the catalog file (an absent file gives an empty document).
  uint32_t load();
  // Writes the document to the catalog file crash-safely; ZARN_E_CANNOT_WRITE on failure.
  uint32_t save();
  // Drops the document and loads it again from the file.
  uint32_t reload();

  // ---- Document access ----
  xml::Document* document() const { return document_.get(); }
  // The document element, or null while the catalog is empty.
  Node root() const { return document_ ? document_->Root() : Node(); }
  // Creates the root element ZARN_CATALOG when there is none; returns it.
  Node EnsureRoot();

  // Selection from the document node; null / false for an empty XPath or a failure
  // (traced as "error selection elements: %s").
  bool getSubElementsByXPath(std::string_view xpath, NodeList* out) const;
  Node getSubElementByXPath(std::string_view xpath) const;
  // The element a component path addresses, or null.
  Node FindByComponentPath(std::string_view component_path) const;

  // XPath selecting the children of the element a component path addresses:
  // /a/b gives /*/*[@id="a"]/*[@id="b"]/*.
  static std::string ComponentPathToXPath(std::string_view component_path, std::string_view separators = "/");
  // Puts the component path of `node` in front of *path.
  void BuildIdPath(Node node, std::string* path) const;
  // The component path of `node`.
  std::string ComponentPathOf(Node node) const;

  CDOMHelper& dom() { return dom_helper_; }
  const CDOMHelper& dom() const { return dom_helper_; }

  // ---- Directories and files ----
  const std::string& catalogDirectory() const { return catalog_directory_; }
  const std::string& catalogFile() const { return catalog_file_; }
  const std::string& stylesheetPath() const { return stylesheet_path_; }
  const std::string& baseDirectory() const { return base_directory_; }
  const std::string& deviceConfigurationFile() const { return device_configuration_file_; }
  const std::string& temporaryDirectory() const { return temporary_directory_; }

  // ---- Identification index ----
  // Forms "%04X/%04X/%04X" of the three hexadecimal texts; "" when one is empty.
  static std::string IndexKey(std::string_view manufacturer, std::string_view device_type,
                              std::string_view device_revision);
  bool IndexLookup(const std::string& key, std::string* path) const;
  // Stores key -> path when both are non-empty and the key is new.
  void IndexInsert(const std::string& key, const std::string& path);
  // Removes the key; returns true when it was absent.
  bool IndexRemove(const std::string& key);
  size_t IndexSize() const { return identification_index_.size(); }

  // ---- Manufacturer tables and device files ----
  const StringMap& manufacturerNamesById() const { return manufacturer_names_by_id_; }
  const StringMap& manufacturerIdsByName() const { return manufacturer_ids_by_name_; }
  const StringMap& deviceFiles() const { return device_files_; }
  StringMap& importSources() { return import_sources_; }

  // ---- Settings ----
  std::string getLanguage();
  uint32_t setLanguage(const std::string& language);
  void markLanguageFetched() { language_fetched_ = true; }
  bool getCompileAfterImport();
  void setCompileAfterImport(bool value) { compile_after_import_ = value; }
  void markCompileSettingFetched() { compile_setting_fetched_ = true; }
  // Runs the object manager's compile for an imported component (0 when disabled).
  uint32_t CompileAfterImport(const std::string& component_path);
  ObjectManagerLink* objectManager() const { return object_manager_.get(); }

  // ---- Per-call state ----
  bool initialisationPending() const { return initialisation_pending_; }
  // Empties the call text and clears the module-description flag (every access).
  void BeginCall();
  std::string& callText() { return call_text_; }
  std::string& lastPlaced() { return last_placed_; }
  bool sourceIsModuleDescription() const { return source_is_module_description_; }
  void setSourceIsModuleDescription(bool value) { source_is_module_description_ = value; }
  int32_t NextBatchNumber() { return ++batch_counter_; }

  // ---- Converter plug-ins and the auxiliary (platform-source) library ----
  std::vector<std::shared_ptr<Cconverter>>& converterList() { return converters_; }
  bool& convertersLoaded() { return converters_loaded_; }
  DynamicLibrary& auxiliaryLibrary() { return auxiliary_library_; }
  void*& auxiliaryEntryPoint() { return auxiliary_entry_point_; }

 private:
  void ResolveDirectories(const std::string& configured_base_directory);
  uint32_t ProbeWorkingDirectory() const;
  void ReadManufacturerTables();
  void ConfigureCompiler();
  void ListDeviceFiles();
  void BuildIdentificationIndex();
  void RegisterNotifications();

  std::unique_ptr<xml::Document> document_;
  std::string catalog_directory_;
  std::string catalog_file_;
  std::string stylesheet_path_;
  std::string call_text_;
  std::string last_placed_;
  std::string language_ = "en";
  std::string temporary_directory_;
  std::string base_directory_;
  DynamicLibrary auxiliary_library_;
  std::unique_ptr<ObjectManagerLink> object_manager_;
  void* auxiliary_entry_point_ = nullptr;
  std::string device_configuration_file_;
  CDOMHelper dom_helper_;
  int32_t batch_counter_ = 0;
  StringMap identification_index_;
  std::vector<std::shared_ptr<Cconverter>> converters_;
  bool converters_loaded_ = false;
  bool initialisation_pending_ = true;
  bool compile_after_import_ = false;
  StringMap manufacturer_names_by_id_;
  StringMap manufacturer_ids_by_name_;
  bool source_is_module_description_ = false;
  StringMap device_files_;
  StringMap import_sources_;
  bool language_fetched_ = false;
  bool compile_setting_fetched_ = false;
  bool compiler_configured_ = false;
};

}  // namespace zarn

#endif  // ZARN_CATALOG_CATALOG_CONTENTS_H_
