// ComponentXmlReader: loads one component XML document (or one list document that
// names several) and turns its elements into CCatalog_Object lists.
//
// A component XML document holds at least one `version` element and any number of
// COMPONENT_FOLDER, COMPONENT, COMPONENT_REFERENCE, CATALOG_FOLDER,
// CATALOG_REFERENCE and COMPONENT_RELATION elements anywhere in the tree; the first
// COMP_COMPONENTXML element may name the source directory (`inPath`). A list
// document has the root COMP_COMPONENTXML with `inPath` and COMPONENT_XML elements
// whose `tmpPath` names one component XML file each.
//
// Use: construct; SetImportFlag (import only); Load; Read or ReadListDocument; read
// the lists; destroy. The reader owns its document and every object; objects must
// not outlive it.
#ifndef ZARN_CONVERSION_COMPONENT_XML_READER_H_
#define ZARN_CONVERSION_COMPONENT_XML_READER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "catalog/dom_helper.h"
#include "catalog/manufacturer_names.h"
#include "conversion/catalog_object.h"
#include "xml/document.h"
#include "zarn/catalog_manager.h"

namespace zarn {

struct SourceIdentity;

// Manufacturer names by id text ("0x002a" -> name), as the catalog holds them.
using ManufacturerTable = std::unordered_map<std::string, std::string>;

// Read's result when a chain of parent references loops through two or more
// objects: the document cannot be read as a component XML.
inline constexpr uint32_t kParentChainLoop = ZARN_E_NO_COMPONENT;

class ComponentXmlReader {
 public:
  using ObjectList = std::vector<std::unique_ptr<CCatalog_Object>>;

  // `manufacturer_table` is borrowed and may be null; `identify` runs the
  // identification of the component's source in Read. `levels` (borrowed, may be
  // null) files every manufacturer name read under the catalog's level for it; two
  // names of one key met in the document that no level has yet take the first one.
  ComponentXmlReader(const ManufacturerTable* manufacturer_table, bool identify,
                     const ManufacturerLevels* levels = nullptr);
  ~ComponentXmlReader();
  ComponentXmlReader(const ComponentXmlReader&) = delete;
  ComponentXmlReader& operator=(const ComponentXmlReader&) = delete;

  // The catalog's device configuration file: a device type that a source gives by
  // name is identified by the number this file gives that name.
  void SetDeviceConfiguration(std::string path) { device_configuration_ = std::move(path); }

  // Loads the file keeping white space. 0, or ZARN_E_XML_LOAD when the file is
  // missing or not well-formed (the caller must not Read then).
  uint32_t Load(const std::string& path);
  // Loads XML text instead of a file (same results as Load).
  uint32_t LoadText(const std::string& text);

  // Reads the loaded component XML. `component_xml_path` is the loaded file's path
  // (may be empty): it names the source (x.ddl_comp.xml -> x.ddl) and the
  // directory searched for it. Returns ZARN_E_NO_VERSION without a version
  // element (lists stay empty); else the status of the last object element read
  // (0, ZARN_E_OBJECT_WITHOUT_ID, ZARN_E_CHILD_WITHOUT_NAME; 0 after an
  // identification that no reference or catalog element followed);
  // kParentChainLoop when a parent chain loops. Objects stay in their lists on
  // every status but the missing version.
  // REQUIRES: a successful Load.
  uint32_t Read(const std::string& component_xml_path);
  // Reads a loaded list document: InPath and TempPaths.
  void ReadListDocument();

  // All folders in document order, then all components in document order.
  const ObjectList& Components() const { return components_; }
  const ObjectList& ComponentReferences() const { return component_references_; }
  const ObjectList& Relations() const { return relations_; }
  const ObjectList& CatalogFolders() const { return catalog_folders_; }
  const ObjectList& CatalogReferences() const { return catalog_references_; }
  const std::string& InPath() const { return in_path_; }
  const std::vector<std::string>& TempPaths() const { return temp_paths_; }
  void SetImportFlag(bool value) { import_flag_ = value; }
  bool GetImportFlag() const { return import_flag_; }

  // The source name and directory derived from the path given to Read.
  const std::string& SourceName() const { return source_name_; }
  const std::string& SourceDir() const { return source_dir_; }
  xml::Document* document() const { return document_.get(); }

 private:
  // Every element named `name` anywhere in the document, in document order.
  NodeList SelectAll(const char* name) const;
  void DeriveSourceName(const std::string& component_xml_path);
  // Creates, reads and stores one object per element named `name`; returns the
  // status of the last one (or `status` when there is none).
  uint32_t ReadObjects(const char* name, CCatalog_Object::Kind kind, ObjectList* list, uint32_t status);
  // Reads one object element (id and the children it understands).
  uint32_t ReadObjectElement(CCatalog_Object* object, Node element) const;
  uint32_t ReadChild(CCatalog_Object* object, Node child) const;
  void ReadGsdIdents(CCatalog_Object* object, Node gsd) const;
  // The name as placement uses it: numbers become "0x%04x" and then the table's
  // name when it has one; a name becomes the id of its level (LevelName).
  std::string NormaliseManufacturer(const std::string& name) const;
  // The id of the level `name` is filed under (`name` itself without levels).
  std::string LevelName(const std::string& name) const;
  // A manufacturer level folder whose name LevelName changed gets that level's label.
  void RelabelLevel(const CCatalog_Object& object) const;

  // Identification of the source (component_xml_identification.cc).
  bool Identify(uint32_t* status);
  std::string SourceCandidate(const std::string& first_dir, const std::string& second_dir,
                              const std::string& file) const;
  void ApplyIdentification(const SourceIdentity& identity);
  void ApplyIdentificationTo(CCatalog_Object* object, const SourceIdentity& identity);
  bool IdentifyFromComponentXml();
  std::string NormaliseIdentifiedManufacturer(const std::string& text) const;

  // Relations, references and depth (component_xml_links.cc).
  void ReadRelations();
  static void ResolveReferences(const ObjectList& references, const ObjectList& targets);
  // Fills `depth`; false when a parent chain loops.
  bool ComputeDepth(const ObjectList& list) const;
  const CCatalog_Object* FindParent(const CCatalog_Object& current) const;

  std::unique_ptr<xml::Document> document_;
  std::string in_path_;
  ObjectList components_;
  ObjectList component_references_;
  ObjectList relations_;
  ObjectList catalog_folders_;
  ObjectList catalog_references_;
  const ManufacturerTable* manufacturer_table_;
  const ManufacturerLevels* levels_;
  mutable std::unordered_map<std::string, ManufacturerLevel> levels_met_;  // by key
  mutable std::unordered_map<std::string, std::string> relabelled_;        // level id -> label
  mutable std::unordered_map<std::string, std::string> level_ids_;         // name -> level id
  bool identify_;
  std::string source_name_;
  std::string source_dir_;
  std::string device_configuration_;
  bool import_flag_ = false;
  std::vector<std::string> temp_paths_;
  CDOMHelper selector_;
};

// Gives a component XML without level folders (one written by hand) the level
// folders a converted source with the same placement carries: section DEVICE, one
// per protocol, per protocol and classification, and per protocol, classification
// and manufacturer. Level folders written without catalogLevel="true" (ids
// SECTION.*, PROTOCOL.*, CLASSIFICATION.*, naming no folder path or manufacturer)
// are marked first; a document that has level folders then is left as it is.
void AddMissingCatalogLevels(xml::Document* document);

// Derives section and classification of an object from a classification
// "NET_x", "NODE_x", "SYSTEM_x" or "DEVICE_x" when no section is named; any other
// non-empty classification gives the section DEVICE.
void DeriveSection(CCatalog_Object* object);

// The text of an identification element: DD_REVISION texts in double quotes lose
// the quotes; everything else is read as a number ("0x.." hexadecimal, else
// decimal, 0 when it does not parse) and written as "0x%04x".
std::string IdentificationText(const std::string& element_name, const std::string& value);

// Reads a number: hexadecimal when the first "x"/"X" is the second character,
// else decimal; 0 when nothing parses.
uint32_t ParseLooseNumber(const std::string& text);

}  // namespace zarn

#endif  // ZARN_CONVERSION_COMPONENT_XML_READER_H_
