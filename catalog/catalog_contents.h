// The one catalog object: the catalog document, its directories and files, and the
// lookup tables built from it.
#ifndef ZARN_CATALOG_CATALOG_CONTENTS_H_
#define ZARN_CATALOG_CATALOG_CONTENTS_H_

#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "catalog/dom_helper.h"
#include "catalog/id_index.h"
#include "catalog/manufacturer_names.h"
#include "platform/dynlib.h"
#include "platform/file_lock.h"
#include "xml/document.h"

namespace zarn {

class ObjectManagerLink;
class Cconverter;
class CCatalog_Object;
class ComponentXmlReader;
class FileAreaJournal;
struct SourceIdentity;

using StringMap = std::unordered_map<std::string, std::string>;

class CCatalog_Contents : public ManufacturerLevels {
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
  // Loads the catalog again, with its identification index, when another process
  // saved it since this one loaded or saved it. 0, or the code of the load.
  uint32_t RefreshIfChangedOnDisk();
  // A working directory this process cannot write to, holding a catalog: it is
  // queried, and every change fails with ZARN_E_CANNOT_WRITE.
  bool readOnly() const { return read_only_; }
  // The lock file beside the catalog file that processes sharing the working
  // directory take for each call.
  std::string lockFile() const { return catalog_file_.empty() ? std::string() : catalog_file_ + ".lock"; }

  // An open import batch: imports that do not save the document one by one. The
  // sources imported since the last save are pending; a load drops them from the
  // document (they are lost until replayed), a save of a document that holds them
  // makes them permanent.
  struct ImportBatch {
    bool open = false;
    size_t chunk = 0;                  // sources per save
    std::vector<std::string> pending;  // imported, not saved yet, in order
    bool pending_lost = false;         // the document was loaded since they were imported
  };
  ImportBatch& importBatch() { return import_batch_; }
  // What the imports of an open batch changed in the file area since the last save:
  // a save drops it, a kill before the save leaves it to the next start to undo.
  FileAreaJournal& batchJournal();
  // Undoes or finishes the file-area journals of processes that are gone. Call it
  // with the lock held exclusively.
  void RecoverJournals() const;

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
  // The elements whose id is `id`, in document order, from an index that is built
  // again after any change to the document.
  const NodeList& ElementsWithId(const std::string& id) const { return id_index_.ElementsWithId(document_.get(), id); }

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
  // The manufacturer levels a component XML reader files names under, with the
  // user's name variants (catalogData/manufacturer_names.cfg): the first
  // MANUFACTURER level in document order whose id has the key of `name` (both
  // through the name table), else a new level's id and label for the table's name.
  const ManufacturerLevels* manufacturerLevels() const { return this; }
  ManufacturerLevel LevelFor(std::string_view name) const override;
  // The label of a new manufacturer level `id`: the name LevelFor made the id of,
  // else the id.
  std::string ManufacturerLevelLabel(const std::string& id) const;
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

  // ---- Platform sources and hardware-configuration entries ----
  // Loads the generator library `file_name` from the module directory; 0 when it
  // exports ZARN_GeneratePlatformSources, -1 otherwise.
  int32_t LoadPlatformSourceGenerator(const std::string& file_name);
  // The generator's entry point, loading it (setting GeneratePlatformSources) when
  // it is not known yet; null when there is none.
  void* GetPlatformSourceGenerator();
  // Calls the generator; -1 without one.
  int32_t GeneratePlatformSources(const std::string& source_path, const std::string& base_directory,
                                  const std::string& output_directory, void* get_components, void* free_component_info);
  // Appends HWCN_Device (kind 0), HWCN_Rack (1) or HWCN_DeviceItem (2) holding `text`
  // to `element`; another kind appends the text alone.
  void AddHardwareConfigurationEntry(Node element, const std::string& text, int kind);
  // Sets isInvisible="true" on the element the component path names, if any.
  void MarkInvisible(const std::string& component_path);
  // Rewrites the device-item source `file`: marker lines become DEFAULT_VALUE lines
  // naming the device or rack path. The file stays unchanged when it cannot be rewritten.
  static void WriteDeviceItemDefaults(const std::string& file, const std::string& rack_path,
                                      const std::string& device_path);

  // ==== Placement, nodes and insertion ====
  // The object array one import works on: copies of the reader's objects.
  using ObjectArray = std::vector<std::unique_ptr<CCatalog_Object>>;

  // -- Placement in the hierarchy (import/placement*.cc) --
  // The element under which `object` belongs: section, protocol, classification,
  // manufacturer, then (with descend_folders) the folder chain of its idPath.
  // create_missing adds artificial PROTOCOL/CLASSIFICATION/MANUFACTURER/
  // COMPONENT_FOLDER placeholders; without it a lookup ending on a placeholder
  // yields its real twin, else its parent. Null for a null object or no root.
  // With descend_folders the start of the folder walk becomes the object's
  // component reference node (the base GetRemainingPath counts from).
  Node FindParentNode(CCatalog_Object* object, bool create_missing, bool descend_folders, bool accept_components);
  // The deepest existing CLASSIFICATION along the object's classification levels
  // below `start` (missing middle levels are skipped), or `start`. A null start
  // searches from the object's section below the one ZARN_CATALOG.
  Node FindClassificationNode(Node start, const CCatalog_Object& object) const;
  // Creates the CLASSIFICATION levels below `start` (only those after a level whose
  // name equals start's id). Artificial levels get isArtificial, others idTmp. The
  // last created level becomes the object's catalog node. Returns 0.
  uint32_t CreateClassificationPath(Node start, CCatalog_Object* object, bool artificial);
  // Creates `name` with id, ddRevision, idTmp (and virtual for an object placed by
  // parent reference), appends it to `parent`, records it as the object's catalog
  // node, adds identNumbers and copies `source`'s content. Returns 0.
  uint32_t CreateCatalogNode(Node parent, std::string_view name, std::string_view id_tmp, std::string_view id,
                             Node source, CCatalog_Object* object);
  // Places one object (a folder object, or an object without any placement data
  // directly below the root). Returns 0 or the code of PlaceFolderObject.
  uint32_t PlaceCatalogObject(CCatalog_Object* object);
  // The first element in document order from `start` (itself included) whose idTmp
  // equals `id_tmp` ignoring case, or null.
  Node FindNodeByIdTmp(Node start, std::string_view id_tmp) const;
  // Copies the content of a component XML element into a catalog element: no
  // placement-only children, at most one child of a non-repeatable name, text
  // trimmed, empty text dropped.
  void CopyChildElements(Node source, Node target);
  static bool IsPlacementElement(std::string_view name);
  static bool IsRepeatableElement(std::string_view name);

  // -- Component and folder nodes (maintenance/component_nodes*.cc) --
  // Puts the "\"-separated id chain of `node` (virtual elements add their separator
  // but no id) in front of *path.
  void BuildBackslashPath(Node node, std::string* path) const;
  // The first section child of the root with this id, or null.
  Node FindSection(std::string_view id) const;
  // True when `node` already represents `object` (same id segment, same element name).
  bool MatchesCatalogObject(Node node, const CCatalog_Object& object) const;
  // Places a folder object below `node` by its level. 0, ZARN_E_NO_LEVEL, or the
  // code of the creation.
  uint32_t PlaceFolderObject(Node node, CCatalog_Object* object, bool path_complete);
  uint32_t PlaceFolder(Node node, CCatalog_Object* object, bool path_complete);
  // Places or matches a component object below `node`. 0 when created; for a
  // component already present ZARN_E_ALREADY_PRESENT, ZARN_E_SAME_DEVICE_REVISION,
  // ZARN_E_OTHER_DEVICE_REVISION, ZARN_E_SAME_DD_REVISION or ZARN_E_OTHER_DD_REVISION.
  uint32_t PlaceComponent(Node node, CCatalog_Object* object);
  // The protocol or manufacturer level of a folder object without a folder path:
  // `node` (or its ancestor) becomes the object's element, else a new level.
  uint32_t PlaceLevelObject(Node node, CCatalog_Object* object, std::string_view name, const std::string& id);
  // The code for a component that `node` already represents (revision comparison).
  uint32_t ComparePresentComponent(Node node, CCatalog_Object* object);
  // -- Stations by ident number (maintenance/station_identities.cc) --
  // The GSD station of the catalog with the protocol and ident number (DEVICE_TYPE)
  // of `object`, wherever it is filed; null when `object` is no GSD station or
  // none is there. The map behind it is built on first use after a load.
  Node FindStationOfSameIdent(const CCatalog_Object& object);
  // Adds a station just placed (its catalog node) to that map.
  void NoteStationPlaced(const CCatalog_Object& object);
  void ForgetStationIdentities();
  // The part of the object's path (kind "COMPONENT": idPath; "CATALOG_FOLDER":
  // catalogPath) not yet realised below `node`, and its first segment. 0, or -1 for
  // another kind.
  int GetRemainingPath(Node node, CCatalog_Object* object, std::string* remaining, std::string* first,
                       std::string_view kind) const;
  // Moves *node down the "/"-separated folder path as far as it exists.
  void ResolveComponentFolderPath(Node* node, std::string_view path, bool accept_artificial, bool accept_component);
  void ResolveCatalogFolderPath(Node* node, std::string_view path, bool create);
  // The CATALOG_FOLDER reached from the root along the object's catalog path.
  Node FindCatalogFolderNode(CCatalog_Object* object, bool create);
  // 0, or ZARN_E_NO_CATALOG_FOLDER_NODE for a null node.
  uint32_t PlaceCatalogFolder(Node node, CCatalog_Object* object);
  void AddLabel(Node node, std::string_view text);
  // Copies of the reader's components, stably sorted by depth; top-level objects
  // with a manufacturer and no folder path take their id as folder path.
  ObjectArray SortObjectsByLevel(const ComponentXmlReader& reader) const;
  // One pass: every object inherits placement from the object its parent reference
  // names (one level per pass).
  void ResolveParentReferences(ObjectArray* objects) const;
  // The same for one object, following the chain of parent references.
  void InheritPlacement(CCatalog_Object* object, const ObjectArray& objects, std::string parent_id) const;
  // Merges placeholders into their twins (same id, same parent; with `scope` only
  // its placeholder children, twins searched in `target` when given). Appends the
  // component paths of removed placeholders to *removed (may be null).
  void MergeArtificialNodes(std::vector<std::string>* removed, Node scope, Node target);
  // Removes every idTmp; COMPONENT and COMPONENT_FOLDER keep the value in a
  // componentID child when they have none.
  void ConvertTemporaryIds();
  // The text after the last "/" ("" for a trailing "/"); the whole path without one.
  static std::string LastPathSegment(std::string_view path);

  // -- Insertion (import/insertion*.cc) --
  // Merges the objects of one read component XML into the document. *objects
  // receives the placed object copies (on every return after the reader check),
  // *components the COMPONENT elements inserted or to be updated. 0,
  // ZARN_E_NO_COMPONENT (no reader, or ids unfit for the file area), or the code
  // of the placement or relation step that failed; the document is not saved.
  uint32_t AddComponents(ComponentXmlReader* reader, ObjectArray* objects, NodeList* components);
  // The passes of AddComponents.
  void AddFurtherIdentities(const ComponentXmlReader& reader, const ObjectArray& objects);
  void AppendAdditionalIdentification(Node element, const SourceIdentity& identity);
  uint32_t PlaceObjects(bool universal, ObjectArray* objects);
  uint32_t AddRelations(const ComponentXmlReader& reader, const ObjectArray& objects);
  uint32_t PlaceCatalogReferences(const ComponentXmlReader& reader, const ObjectArray& objects);
  void FinishInsertion(NodeList* components);
  // Adds the CHILD_COMPONENT relation for `reference` to the parent of `object`.
  // 0, or ZARN_E_NO_PARENT_CREATOR when no element of this import creates it.
  uint32_t AddRelationInParent(CCatalog_Object* object, const std::string& reference);
  // Replaces the component reference by id `old_ref` below `element` by
  // component_ref `new_ref` and component_ref_org `old_ref`.
  void RewriteComponentRef(Node element, std::string_view old_ref, std::string_view new_ref);
  // -- Holders of relations (maintenance/referencing_components.cc) --
  // ReferencingComponents without walking the document: a map from each
  // component_ref text to the paths of the elements whose COMPONENT_RELATIONS name
  // it, built on first use after a load; every hit is checked against the element,
  // and a path that no longer resolves falls back to the walk (and a new map).
  NodeList ReferencingComponentsOf(const std::set<std::string>& prefixes);
  // Adds the relations of `element` to that map (an import changed them).
  void NoteRelationHolder(Node element);
  // Drops the map (a deletion moved relations); the next lookup builds it again.
  void ForgetRelationHolders();
  // See import/insertion_xml.cc for the contract.
  uint32_t insertXml(std::string_view text, Node parent, NodeList* components);
  // The COMPONENT elements whose own or ancestors' CHILD_COMPONENT relation names
  // `component_path` or one of its ancestor paths, in document order.
  bool FindReferencingComponents(std::string_view component_path, NodeList* out) const;

  // Import bookkeeping: while an import runs, elements that carry idTmp and
  // elements created are remembered, so the import finds them without searching
  // the whole document; removed nodes are kept until the import ends.
  struct ImportScope;
  class ImportScopeGuard;
  // Sets idTmp on `node` and remembers it.
  void SetTemporaryId(Node node, std::string_view value);
  // Remembers an element this import created and linked.
  void NoteCreated(Node node);
  // Every element carrying idTmp, in document order.
  NodeList TemporaryIdElements() const;
  // The placeholders (isArtificial="true") that may have a twin, in document order:
  // during an import those created by it or standing beside an element it created.
  NodeList PlaceholderCandidates() const;
  // Unlinks `node`; during an import it is freed when the import ends.
  void RemoveNode(Node node);
  // True when `node` is linked below the document element.
  bool IsInDocument(Node node) const;
  // ==== end of placement, nodes and insertion ====

 private:
  void ResolveDirectories(const std::string& configured_base_directory);
  uint32_t ProbeWorkingDirectory() const;
  void ReadManufacturerTables();
  // Removes what killed processes left in the catalog and temporary directories.
  void ClearLeftovers() const;
  void ConfigureCompiler();
  void ListDeviceFiles();
  void BuildIdentificationIndex();
  void BuildStationIdentities();
  void RegisterNotifications();

  std::unique_ptr<xml::Document> document_;
  FileIdentity file_identity_;  // of the catalog file as last loaded or saved
  mutable IdIndex id_index_;    // a cache of the document: filled by const lookups
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
  StringMap station_identities_;  // "<PROTOCOL>/<ident number>" -> component path
  bool station_identities_built_ = false;
  std::unordered_map<std::string, std::vector<std::string>> relation_holders_;  // component_ref -> holder paths
  bool relation_holders_built_ = false;
  std::vector<std::shared_ptr<Cconverter>> converters_;
  bool converters_loaded_ = false;
  bool initialisation_pending_ = true;
  bool read_only_ = false;
  bool compile_after_import_ = false;
  StringMap manufacturer_names_by_id_;
  StringMap manufacturer_ids_by_name_;
  ManufacturerNameTable manufacturer_name_table_;
  mutable StringMap new_level_labels_;  // ids LevelFor handed out for new levels -> their names
  bool source_is_module_description_ = false;
  StringMap device_files_;
  StringMap import_sources_;
  bool language_fetched_ = false;
  bool compile_setting_fetched_ = false;
  bool compiler_configured_ = false;
  ImportBatch import_batch_;
  std::unique_ptr<FileAreaJournal> batch_journal_;
  ImportScope* import_scope_ = nullptr;  // placement, nodes and insertion: the running import
};

}  // namespace zarn

#endif  // ZARN_CATALOG_CATALOG_CONTENTS_H_
