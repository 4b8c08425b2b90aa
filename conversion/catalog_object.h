// CCatalog_Object: one placeable element of a component XML document (a component
// folder, a component, a component reference, a catalog folder, a catalog reference)
// or one relation, as the component XML reader yields it. Objects are owned by the
// reader's lists and must not outlive the reader: `element` and `relationElement`
// point into the reader's document.
#ifndef ZARN_CONVERSION_CATALOG_OBJECT_H_
#define ZARN_CONVERSION_CATALOG_OBJECT_H_

#include <cstdint>
#include <string>
#include <vector>

#include "xml/node.h"

namespace zarn {

// What the component XML reader reads for one object: everything but the working
// fields of placement and insertion. Copyable, so that an import works on copies
// of the reader's objects.
struct CatalogObjectAsRead {
  // ---- Kind flags (set at construction). Component references and relations are
  // folders too: they are built with the component flag off.
  bool isFolder = false;
  bool isComponent = false;
  bool isComponentReference = false;
  bool isRelation = false;
  bool isCatalogFolder = false;
  bool isCatalogReference = false;
  // A COMPONENT_FOLDER marked catalogLevel="true": it describes a level of the
  // catalog (protocol, classification) above the device, so the identification of
  // the device's source does not apply to it.
  bool isCatalogLevel = false;

  // ---- Placement, as read from the element's children.
  std::string protocol;
  std::string section;
  std::string manufacturer;      // used for placement
  std::string manufacturerName;  // as read (normalised) from MANUFACTURER / MANUFACTURER_EXT
  std::string classification;
  std::string parentRef;        // COMPONENT_PARENT refid, replaced when resolved through a reference
  std::string parentRefAsRead;  // COMPONENT_PARENT refid as read
  std::string path;             // folder path, extended by a reference's path
  std::string ownPath;          // folder path as read
  std::string idPath;           // full id path
  std::string id;
  xml::Node element;  // the object's element in the component XML
  std::string label;  // whole LABEL element as XML text
  std::string help;   // whole HELP element as XML text
  int32_t depth = 0;  // length of the parent chain (0: no parent named)
  bool resolvedViaReference = false;

  // ---- Relation objects.
  std::vector<std::string> relationRefs;  // the ref attributes of component/*
  xml::Node relationElement;              // the COMPONENT_RELATION element
  std::string relationOwnerId;            // id of the enclosing COMPONENT (or COMPONENT_FOLDER)
  bool isParentRelation = false;          // the type is PARENT_COMPONENT

  // ---- Identification.
  std::string ddRevision;
  std::string deviceType;
  std::string deviceRevision;
  std::string gsdIdents;  // identification numbers from the GSD file names, ";"-separated

  // ---- Catalog folders and hardware configuration.
  std::string catalogPath;
  std::string catalogPathCopy;
  std::string catalogParentRef;
  std::string hwcnDevice;
  std::string hwcnRack;
  std::string hwcnDeviceItem;

  // ---- Sources.
  std::string sourceFileRef;   // text of the ZARN child: the component's source file name
  std::string sourceFileName;  // source name derived from the component XML file name
  bool hasInitialValues = false;
};

class CCatalog_Object : public CatalogObjectAsRead {
 public:
  // What an object stands for; fixes its kind flags.
  enum class Kind { kFolder, kComponent, kComponentReference, kRelation, kCatalogFolder, kCatalogReference };

  explicit CCatalog_Object(Kind kind);
  // An object with what `read` holds and empty working fields.
  explicit CCatalog_Object(const CatalogObjectAsRead& read) : CatalogObjectAsRead(read) {}
  CCatalog_Object(const CCatalog_Object&) = delete;
  CCatalog_Object& operator=(const CCatalog_Object&) = delete;

  // True when `reference` (a parent or catalog-parent reference) names this
  // object's id, ignoring case. An empty reference names nothing.
  bool IsNamedBy(const std::string& reference) const;
  // True when the object names a parent (component or catalog parent).
  bool HasParentReference() const { return !parentRefAsRead.empty() || !catalogParentRef.empty(); }

  // ---- Working fields of placement and insertion; the reader leaves them empty.
  std::string backslashPath;         // the object's directory in the file area ("\"-separated)
  xml::Node catalogNode;             // the catalog element that now represents the object
  xml::Node componentReferenceNode;  // starting points for path comparison
  xml::Node catalogFolderReferenceNode;
  xml::Node lookupParent;     // parent element found in the lookup pass
  xml::Node existingElement;  // existing element found below it
  std::string catalogIdPath;  // id path of the object's catalog element
  bool update = false;        // the component is imported again and is to be updated
};

}  // namespace zarn

#endif  // ZARN_CONVERSION_CATALOG_OBJECT_H_
