// Import lists: one text line per component found in a source, a list file that
// maps each line to its converted component XML file, and the import of the lines
// a user selected.
//
// The list file (see docs/import-list-file.md) is UTF-8 text: a header line, one
// line per entry holding the escaped component line, a TAB and the escaped file
// path, and an end line with the number of entries. Anything else (a missing header
// or end line, a bad escape, a count that does not match) is damage.
#ifndef ZARN_IMPORT_IMPORT_LIST_H_
#define ZARN_IMPORT_IMPORT_LIST_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "zarn/catalog_manager.h"

namespace zarn {

// Component line to component XML file.
using ImportListMap = std::unordered_map<std::string, std::string>;

// The component line of one record: its hierarchy pairs name:"value" in reverse
// chain order joined by ",", then ,Label:"label",Help:"help".
std::string ComponentLine(const ComponentXMLInfo& record);

// The list file of source `source` below `base_directory`: the source's directory
// parts without "." and ".." joined by "_", "_", its file name without extension,
// ".cat".
std::string ImportListFilePath(const std::string& base_directory, const std::string& source);

// Splits a selection at each ";" outside double quotes; a quote after a backslash
// does not toggle. Empty lines are dropped.
std::vector<std::string> SplitSelection(std::string_view selection);

// The list file's text for `map` (entries sorted by line), and back. ParseImportList
// returns false for damaged text.
std::string SerializeImportList(const ImportListMap& map);
bool ParseImportList(std::string_view text, ImportListMap* map);

// Writes / reads the list file; false when it cannot be written, read or parsed.
bool WriteImportList(const std::string& path, const ImportListMap& map);
bool ReadImportList(const std::string& path, ImportListMap* map);

// ZARN_GetImportComponentList and ZARN_ImportComponentList behind the frame.
uint32_t GetImportComponentList(const char16_t* source, VARIANT* list);
uint32_t ImportComponentList(const char16_t* source, const VARIANT& selection);

}  // namespace zarn

#endif  // ZARN_IMPORT_IMPORT_LIST_H_
