// ZARN_GetImportComponentList and ZARN_ImportComponentList.
#include <set>

#include "api/export_frame.h"
#include "external/trace.h"
#include "import/import_list.h"
#include "maintenance/log_path_records.h"
#include "platform/file_operation.h"
#include "platform/strings.h"

namespace zarn {
namespace {

constexpr std::string_view kImportFunction = "ZARN_ImportComponentList";

// The path type of a source; kPathMissing and kPathUnreadable mean "attributes
// cannot be read".
int32_t SourceType(const std::string& source) {
  CFileOperation files;
  return files.GetPathType(source);
}

// The file paths of the records ZARN_GetComponents lists for a directory.
uint32_t ListDirectory(const std::u16string& source, std::vector<std::u16string>* files) {
  ComponentXMLInfo* records = nullptr;
  const uint32_t rc = ZARN_GetComponents(source.c_str(), &records, nullptr);
  for (const ComponentXMLInfo* r = records; r != nullptr; r = r->next) {
    if (r->componentXmlPath != nullptr) files->push_back(r->componentXmlPath);
  }
  ZARN_FreeComponentXMLInfo(records);
  return rc;
}

// Adds the lines of one source to the map and the list text.
void AddLines(const std::u16string& source, const std::u16string& language, ImportListMap* map, std::string* text) {
  ComponentXMLInfo* records = nullptr;
  if (ZARN_GetComponents(source.c_str(), &records, language.c_str()) == 0) {
    for (const ComponentXMLInfo* r = records; r != nullptr; r = r->next) {
      const std::string line = ComponentLine(*r);
      (*map)[line] = r->componentXmlPath != nullptr ? ToUtf8(r->componentXmlPath) : std::string();
      *text += line + ";";
    }
  }
  ZARN_FreeComponentXMLInfo(records);
}

// The outcome of the imports of one call: the last failure, else the last result.
struct ImportOutcome {
  uint32_t result = 0;
  bool failed = false;

  void Import(const std::string& file) {
    VARIANT deleted;
    VARIANT referencing;
    VariantInit(&deleted);
    VariantInit(&referencing);
    LogPathEntry* log_paths = nullptr;
    const uint32_t rc = ZARN_ReplaceComponent(ToUtf16(file).c_str(), &deleted, &referencing, &log_paths);
    if (static_cast<int32_t>(rc) < 0) {
      Trace(kTraceError, kImportFunction, "could not import %s; retVal: %d", file, static_cast<int32_t>(rc));
      result = rc;
      failed = true;
    } else {
      Trace(kTraceInfo, kImportFunction,
            deleted.vt == VT_EMPTY ? "successfully imported %s" : "successfully replaced %s", file);
      if (!failed) result = rc;
    }
    ZARN_FreeLogPaths(log_paths);
    VariantClear(&deleted);
    VariantClear(&referencing);
  }
};

// Imports the first record ZARN_GetComponents gives for `source`; its failure code
// otherwise (traced when `trace_failure`).
uint32_t ImportFirstRecord(const std::u16string& source, ImportOutcome* outcome, bool trace_failure) {
  ComponentXMLInfo* records = nullptr;
  const uint32_t rc = ZARN_GetComponents(source.c_str(), &records, nullptr);
  if (rc != 0) {
    if (trace_failure) {
      Trace(kTraceInfo, kImportFunction, "ZARN_GetComponents returned %d when called with %s", static_cast<int32_t>(rc),
            ToUtf8(source));
    }
  } else if (records != nullptr && records->componentXmlPath != nullptr) {
    outcome->Import(ToUtf8(records->componentXmlPath));
  }
  ZARN_FreeComponentXMLInfo(records);
  return rc;
}

uint32_t ImportEverything(const std::string& source) {
  const int32_t type = SourceType(source);
  if (type != kPathFile && type != kPathDirectory) return ZARN_E_NO_RECORDS;
  ImportOutcome outcome;
  if (type == kPathFile) {
    const uint32_t rc = ImportFirstRecord(ToUtf16(source), &outcome, false);
    return rc != 0 ? rc : outcome.result;
  }
  std::vector<std::u16string> files;
  ListDirectory(ToUtf16(source), &files);
  for (const std::u16string& file : files) ImportFirstRecord(file, &outcome, true);
  return outcome.result;
}

// Converts the sources of `path` (a file, or every source a directory lists) and
// fills the map and the list text with their lines.
uint32_t BuildImportList(CCatalog_Contents& catalog, const std::string& path, ImportListMap* map, std::string* text) {
  const int32_t type = SourceType(path);
  if (type != kPathFile && type != kPathDirectory) return ZARN_E_NO_RECORDS;
  std::vector<std::u16string> sources{ToUtf16(path)};
  uint32_t result = 0;
  if (type == kPathDirectory) {
    sources.clear();
    result = ListDirectory(ToUtf16(path), &sources);
  }
  if (result == 0) {
    const std::u16string language = ToUtf16(catalog.getLanguage());
    for (const std::u16string& s : sources) AddLines(s, language, map, text);
  }
  return result;
}

// The converted file of `line`. The files a list names live in the temporary
// directory of the process that wrote the list; once that process has ended, the
// source is converted again (once per call) and the list file is brought up to date.
std::string ConvertedFile(CCatalog_Contents& catalog, const std::string& source, const std::string& line,
                          ImportListMap* map, bool* refreshed) {
  auto it = map->find(line);
  if (it == map->end()) return std::string();
  if (*refreshed || CFileOperation().GetPathType(it->second) == kPathFile) return it->second;
  *refreshed = true;
  Trace(kTraceInfo, kImportFunction, "the converted files of the list are gone; converting %s again", source);
  ImportListMap fresh;
  std::string text;
  BuildImportList(catalog, source, &fresh, &text);
  for (auto& [fresh_line, file] : fresh) (*map)[fresh_line] = file;
  WriteImportList(ImportListFilePath(catalog.baseDirectory(), source), *map);
  return (*map)[line];
}

uint32_t ImportSelection(CCatalog_Contents& catalog, const std::string& source, const std::string& selection) {
  ImportListMap map;
  if (!ReadImportList(ImportListFilePath(catalog.baseDirectory(), source), &map)) return ZARN_E_LIST_FILE;
  ImportOutcome outcome;
  std::set<std::string> done;
  bool refreshed = false;
  for (const std::string& line : SplitSelection(selection)) {
    if (map.find(line) == map.end()) {
      Trace(kTraceError, kImportFunction, "could not import %s; no import files found", line);
      continue;
    }
    const std::string file = ConvertedFile(catalog, source, line, &map, &refreshed);
    if (done.insert(file).second) outcome.Import(file);
  }
  return outcome.result;
}

}  // namespace

uint32_t GetImportComponentList(const char16_t* source, VARIANT* list) {
  if (source == nullptr) return ZARN_E_NO_RECORDS;
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    const std::string path = ToUtf8(source);
    const int32_t type = SourceType(path);
    if (type != kPathFile && type != kPathDirectory) return ZARN_E_NO_RECORDS;
    ImportListMap map;
    std::string text;
    const uint32_t result = BuildImportList(catalog, path, &map, &text);
    if (list != nullptr) SetVariantString(list, TrimChars(text, ";"));
    if (!WriteImportList(ImportListFilePath(catalog.baseDirectory(), path), map)) return ZARN_E_LIST_FILE;
    return result;
  });
}

uint32_t ImportComponentList(const char16_t* source, const VARIANT& selection) {
  if (source == nullptr) return ZARN_E_NO_RECORDS;
  const std::string lines = selection.vt == VT_BSTR ? VariantString(selection) : std::string();
  if (lines.empty()) return CatalogChange([&](CCatalog_Contents&) { return ImportEverything(ToUtf8(source)); });
  return CatalogChange([&](CCatalog_Contents& catalog) { return ImportSelection(catalog, ToUtf8(source), lines); });
}

}  // namespace zarn

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetImportComponentList(const char16_t* source, VARIANT* list) {
  return zarn::GetImportComponentList(source, list);
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_ImportComponentList(const char16_t* source, VARIANT selection) {
  return zarn::ImportComponentList(source, selection);
}
