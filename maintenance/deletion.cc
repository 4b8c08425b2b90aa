// ZARN_DeleteComponent's work: entries resolved to work lists, removal, saving and
// the referencing list.
#include <unordered_set>
#include <vector>

#include "catalog/catalog_format.h"
#include "catalog/id_path.h"
#include "external/trace.h"
#include "import/file_area_journal.h"
#include "import/import_driver.h"
#include "maintenance/deletion.h"
#include "platform/file_operation.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

// The work lists of one call; they live across the entries of the call.
struct DeletionLists {
  std::string result;
  std::vector<std::string> components;
  std::vector<std::string> folders;
  std::vector<std::string> referencing;
  std::unordered_set<std::string> referencing_seen{997};
  // Of the entry in hand: directories to delete once the catalog is saved, and the
  // identification keys taken out (put back when the save fails).
  std::vector<std::string> file_areas;
  std::vector<std::pair<std::string, std::string>> removed_keys;
  bool files_left = false;  // a deleted element's directory could not be removed
  DeletionForReplacement* replacement = nullptr;
};

// "/*/CATALOG_FOLDER[@id='a']/*[@id='b']" for /a/b; "" when an id holds a quote.
std::string CatalogFolderQuery(const std::string& path) {
  std::vector<std::string> segments;
  for (const std::string& s : Split(path, "/")) {
    if (!s.empty()) segments.push_back(s);
  }
  std::string query = "/*";
  for (size_t i = 0; i < segments.size(); ++i) {
    if (segments[i].find('\'') != std::string::npos) return std::string();
    query += (i + 1 < segments.size() ? "/CATALOG_FOLDER[@id='" : "/*[@id='") + segments[i] + "']";
  }
  return segments.empty() ? std::string() : query;
}

void CollectCatalogFolder(CCatalog_Contents& catalog, Node folder, const std::string& entry, DeletionLists* lists) {
  NodeList refs;
  catalog.dom().getElementsByXPath(folder, ".//component_ref/text()", &refs);
  for (Node ref : refs) {
    const std::string value = ref.Text();
    if (value.empty()) continue;
    lists->result += ";" + value;
    lists->components.push_back(value);
  }
  lists->components.push_back(entry);
}

void CollectFolder(CCatalog_Contents& catalog, Node element, const std::string& entry, DeletionLists* lists) {
  NodeList components;
  catalog.dom().getElementsByXPath(element, ".//*[name()='COMPONENT']", &components);
  for (Node component : components) {
    const std::string path = catalog.ComponentPathOf(component);
    lists->result += ";" + path;
    lists->components.push_back(path);
  }
  // One chain of subfolders, level by level: the first folder of each level leads on.
  for (Node level = element; level;) {
    NodeList folders;
    catalog.dom().getElementsByXPath(level, "./*[name()='COMPONENT_FOLDER']", &folders);
    for (Node folder : folders) lists->folders.insert(lists->folders.begin(), catalog.ComponentPathOf(folder));
    level = folders.empty() ? Node() : folders.front();
  }
  lists->folders.push_back(entry);
}

bool IsProtectedElement(Node element) {
  const std::string name = element.Name();
  return !element.Parent() || name == format::kRootElement || name == format::kSection || name == format::kProtocol ||
         name == format::kClassification;
}

// Takes out of the index every key that `element` or an element below it carries
// (its own identification, further identities, those of folders and components
// inside it), as long as the index files the key at or below `own_path`.
void RemoveKeysBelow(CCatalog_Contents& catalog, Node element, const std::string& own_path, DeletionLists* lists) {
  if (std::string key = ElementIdentificationKey(element); !key.empty()) {
    if (std::string was = RemoveIdentificationKey(catalog, key, own_path); !was.empty()) {
      lists->removed_keys.emplace_back(key, was);
    }
  }
  for (Node child : element.ChildElements()) RemoveKeysBelow(catalog, child, own_path, lists);
}

// Removal of one element named by `path`, with everything that hangs on it.
void RemoveElement(CCatalog_Contents& catalog, const std::string& path, DeletionLists* lists) {
  Node element = SelectEntryElement(catalog, path);
  if (!element) return;
  DeleteHardwareConfigurationPartners(catalog, element, &lists->result, &lists->file_areas);
  DeleteInverseParentRelations(catalog, element);
  KeepChildRelations(catalog, element, element.Parent());
  const std::string own_path = catalog.ComponentPathOf(element);
  RemoveKeysBelow(catalog, element, own_path, lists);
  DeleteNode(catalog, element, true, &lists->file_areas);
}

void CollectReferencing(CCatalog_Contents& catalog, DeletionLists* lists) {
  for (const std::string& path : lists->components) {
    NodeList found;
    if (!catalog.FindReferencingComponents(path, &found)) continue;
    for (Node component : found) {
      const std::string referencing = catalog.ComponentPathOf(component);
      if (lists->referencing_seen.insert(referencing).second) lists->referencing.push_back(referencing);
    }
  }
}

bool NoteRemovals(const CCatalog_Contents& catalog, const std::vector<std::string>& unused, FileAreaJournal* journal) {
  for (const std::string& fs_path : unused) {
    std::string native;
    if (FileAreaDirectory(catalog.catalogDirectory(), fs_path, &native) && !journal->NoteRemovalAfterSave(native)) {
      return false;
    }
  }
  return journal->BeforeSave(catalog.catalogFile());
}

// The first half of a replacement: the unused directories go aside into its journal,
// the catalog is not saved.
void MoveAsideForReplacement(const CCatalog_Contents& catalog, const std::vector<std::string>& unused,
                             DeletionLists* lists) {
  for (const std::string& fs_path : unused) {
    std::string native;
    if (!FileAreaDirectory(catalog.catalogDirectory(), fs_path, &native)) continue;
    bool handled = false;
    if (!lists->replacement->journal->Remove(native, &handled) || !handled) {
      Trace(kTraceError, "ZARN_DeleteComponent", "cannot move aside the directory %s", native);
      lists->files_left = true;
    }
  }
  std::vector<std::pair<std::string, std::string>>& keys = lists->replacement->removed_keys;
  keys.insert(keys.end(), lists->removed_keys.begin(), lists->removed_keys.end());
}

uint32_t DeleteEntry(CCatalog_Contents& catalog, const std::string& entry, DeletionLists* lists) {
  Node element = SelectEntryElement(catalog, entry);
  if (!element) return ZARN_E_NOT_FOUND;
  lists->result += ";" + catalog.ComponentPathOf(element);
  const std::string folder_query = CatalogFolderQuery(catalog.ComponentPathOf(element));
  if (Node folder = folder_query.empty() ? Node() : catalog.getSubElementByXPath(folder_query)) {
    CollectCatalogFolder(catalog, folder, entry, lists);
  } else if (EqualsNoCase(element.Name(), format::kComponentFolder) ||
             EqualsNoCase(element.Name(), format::kManufacturer)) {
    CollectFolder(catalog, element, entry, lists);
  } else {
    lists->components.push_back(entry);
  }
  lists->result = TrimChars(lists->result, ";");
  if (IsProtectedElement(element)) return ZARN_E_NOT_DELETABLE;
  lists->file_areas.clear();
  lists->removed_keys.clear();
  for (const std::string& path : lists->components) RemoveElement(catalog, path, lists);
  for (const std::string& path : lists->folders) RemoveElement(catalog, path, lists);
  // Who referred to the deleted elements is reported; their entries then go.
  const size_t referencing_before = lists->referencing.size();
  CollectReferencing(catalog, lists);
  std::vector<std::string> deleted = lists->components;
  deleted.insert(deleted.end(), lists->folders.begin(), lists->folders.end());
  DropDanglingRelationEntries(catalog, deleted);
  // A directory shared with an element that stays (a module placed by reference in
  // its station's directory, the components of one bundle) is kept. The others are
  // noted before the save, so that a kill after it still has them removed.
  const std::vector<std::string> unused = UnusedFileAreas(catalog, lists->file_areas);
  if (lists->replacement != nullptr) {
    MoveAsideForReplacement(catalog, unused, lists);
    return 0;
  }
  FileAreaJournal journal(catalog.catalogDirectory());
  if (!NoteRemovals(catalog, unused, &journal) || catalog.save() != 0) {
    // Nothing of this entry is kept: the tree comes back from the file, the keys
    // go back into the index, and no file was touched yet.
    catalog.reload();
    for (const auto& [key, path] : lists->removed_keys) catalog.IndexInsert(key, path);
    for (size_t i = referencing_before; i < lists->referencing.size(); ++i) {
      lists->referencing_seen.erase(lists->referencing[i]);
    }
    lists->referencing.resize(referencing_before);
    return ZARN_E_CANNOT_WRITE;
  }
  journal.AfterSave();
  if (!DeleteFileAreas(catalog, unused)) lists->files_left = true;
  journal.Commit();
  return 0;
}

}  // namespace

Node SelectEntryElement(const CCatalog_Contents& catalog, const std::string& component_path) {
  if (component_path.empty() || !catalog.root()) return Node();
  std::vector<std::string> ids = Split(TrimChars(component_path, "/"), "/");
  if (ids.size() == 1 && ids[0].empty()) ids.clear();
  return FirstAlongIds(catalog.root(), ids);
}

uint32_t DeleteComponent(CCatalog_Contents& catalog, const std::string& target, std::string* deleted,
                         std::string* referencing, DeletionForReplacement* replacement) {
  std::string entries = target;
  CFileOperation files;
  if (!target.empty() && files.GetPathType(target) == kPathFile) {
    entries = FindComponentsOfFile(catalog, target).entries;
  }
  std::vector<std::string> list;
  for (const std::string& entry : Split(entries, ";")) {
    if (!entry.empty()) list.push_back(entry);
  }
  if (list.empty()) return ZARN_E_NOT_FOUND;
  DeletionLists lists;
  lists.replacement = replacement;
  for (const std::string& entry : list) {
    if (const uint32_t rc = DeleteEntry(catalog, entry, &lists); rc != 0) return rc;
  }
  *deleted = lists.result;
  *referencing = TrimRightChars(Join(lists.referencing, ";"), ";");
  return lists.files_left ? ZARN_E_CANNOT_DELETE : 0;
}

}  // namespace zarn
