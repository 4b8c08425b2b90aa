// Deleting components, component folders, manufacturers and catalog folders from the
// catalog, with everything that hangs on them: catalog-folder references,
// hardware-configuration partners, inverse relations of parent components,
// identification keys and file-area directories. Inverse child relations are kept
// in placeholders so that a later import of the same component gets them back.
//
// Files are only ever deleted strictly inside the catalog directory (outside its
// catalogData and Device directories), whatever an fsPath attribute holds.
#ifndef ZARN_MAINTENANCE_DELETION_H_
#define ZARN_MAINTENANCE_DELETION_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "catalog/catalog_contents.h"

namespace zarn {

class FileAreaJournal;

// What the file lookup found: the catalog elements that the components of a
// component XML file correspond to, and the revisions the existence query reports.
struct ComponentsOfFile {
  std::string entries;                // component paths joined by ";" ("" when none or unreadable)
  bool found = false;                 // some component of the file is in the catalog
  std::string catalogDdRevision;      // DD_REVISION text of the first catalog element found
  std::string catalogDeviceRevision;  // DEVICE_REVISION text of it
  bool fileRevisionsKnown = false;    // some component of the file names its source
  std::string fileDdRevision;         // of the first such component, as read
  std::string fileDeviceRevision;
};

// Reads `file` as component XML (identification on) and looks up each of its
// components, in the order of their levels, in the catalog. Folders of the file are
// not named: they are shared with other files' components, and a folder emptied by
// the deletion disappears anyway. Reading errors give an empty result.
ComponentsOfFile FindComponentsOfFile(CCatalog_Contents& catalog, const std::string& file);

// The first element in document order that a component path names (the document
// element for "/"), or null. Siblings with the same id are all followed.
Node SelectEntryElement(const CCatalog_Contents& catalog, const std::string& component_path);

// Removes `node` from its parent, one catalog-folder reference to it, and every
// ancestor left without child nodes that is not a placeholder. With delete_files the
// node's own fsPath directory is deleted. 0, ZARN_E_NOT_FOUND for a null node,
// ZARN_E_NO_PARENT for a node without parent, ZARN_E_CANNOT_DELETE when the
// directory cannot be deleted (or lies outside the file area). With `file_areas`
// the directory is not deleted but appended there, for after the save.
uint32_t DeleteNode(CCatalog_Contents& catalog, Node node, bool delete_files,
                    std::vector<std::string>* file_areas = nullptr);

// Deletes each fsPath directory of `file_areas` that no element of the catalog still
// uses (as its own directory or as an ancestor of it). False (traced) when one
// cannot be removed completely.
bool DeleteUnusedFileAreas(CCatalog_Contents& catalog, const std::vector<std::string>& file_areas);
// The same in two steps: the fsPaths of `file_areas` that no element uses, and their
// deletion.
std::vector<std::string> UnusedFileAreas(const CCatalog_Contents& catalog, const std::vector<std::string>& file_areas);
bool DeleteFileAreas(CCatalog_Contents& catalog, const std::vector<std::string>& unused);

// Deletes the sibling components X__hwcn_rack and X__hwcn_device of the component
// X (with their files) and appends ";" and their component paths to *result.
void DeleteHardwareConfigurationPartners(CCatalog_Contents& catalog, Node node, std::string* result,
                                         std::vector<std::string>* file_areas = nullptr);

// Removes the inverse relations that the parent components of `node` hold for it.
void DeleteInverseParentRelations(CCatalog_Contents& catalog, Node node);

// Removes, from the relations of what stays, the entries that name one of
// `deleted_paths` (or a path below one) where no placeholder waits for the deleted
// element's return; an inverse copy left without entries goes as a whole. One walk
// of the document.
void DropDanglingRelationEntries(CCatalog_Contents& catalog, const std::vector<std::string>& deleted_paths);

// Copies the inverse child relations of `node` and of its descendants into
// placeholder COMPONENT_FOLDERs below `parent` (same ids). Nothing for a null parent.
void KeepChildRelations(CCatalog_Contents& catalog, Node node, Node parent);

// Removes `key` from the identification index when it leads to `component_path` or
// to an element below it (a key shared with a remaining component stays).
// Returns the path the key led to, "" when it stayed.
std::string RemoveIdentificationKey(CCatalog_Contents& catalog, const std::string& key,
                                    const std::string& component_path);
// The key of an element's own MANUFACTURER, DEVICE_TYPE and DEVICE_REVISION
// children ("" when one is missing).
std::string ElementIdentificationKey(Node element);

// ZARN_DeleteComponent: `target` is a ";"-separated list of component paths or an
// existing component XML file. Each entry is removed and the catalog saved before
// the next entry. On 0, *deleted holds the deleted paths and *referencing the
// remaining components that refer to a deleted one (both ";"-joined). Failures:
// ZARN_E_NOT_FOUND (no entry, or an entry names nothing), ZARN_E_NOT_DELETABLE (the
// document element, a section, PROTOCOL or CLASSIFICATION), ZARN_E_CANNOT_WRITE.
//
// With `replacement` the deletion is the first half of a replacement: nothing is
// saved, the directories it removes are moved aside into the replacement's journal
// (the import's save makes both halves permanent, a failure or a kill puts them
// back), and the identification keys taken out are listed for putting back.
struct DeletionForReplacement {
  FileAreaJournal* journal = nullptr;
  std::vector<std::pair<std::string, std::string>> removed_keys;  // key -> path it led to
};
uint32_t DeleteComponent(CCatalog_Contents& catalog, const std::string& target, std::string* deleted,
                         std::string* referencing, DeletionForReplacement* replacement = nullptr);

}  // namespace zarn

#endif  // ZARN_MAINTENANCE_DELETION_H_
