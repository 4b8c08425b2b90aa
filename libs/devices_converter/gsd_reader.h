// Reader of PROFIBUS GSD files: the keyword/value grammar, without meaning.
//
// A GSD file is text whose first significant line is "#Profibus_DP". Each further
// line is `Keyword = value` or `Keyword(index) = value`; ";" starts a comment
// outside quoted strings; a line ending in "\" continues on the next line.
// `Module = "name" config...` opens a block that `EndModule` closes; inside it a
// bare number is the module's reference number. `SlotDefinition` (also spelt
// `Slot_Definition`) ... `EndSlotDefinition` holds `Slot(n) = ...` lines, kept as they
// are. The blocks PrmText, ExtUserPrmData, UnitDiagType, Physical_Interface and the
// diagnostic areas are skipped whole. Keywords are compared without regard to case.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_GSD_READER_H_
#define ZARN_LIBS_DEVICES_CONVERTER_GSD_READER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::converters {

struct GsdEntry {
  std::string keyword;  // as written, without the index
  std::string index;    // the text between "(" and ")", "" when none
  std::string value;    // trimmed text after "="
  int line = 0;         // 1-based line of the keyword
};

struct GsdModule {
  std::string name;    // the quoted module name
  std::string config;  // the configuration bytes as written after the name
  int line = 0;
  std::optional<uint32_t> reference;  // the bare number inside the block
  std::vector<GsdEntry> entries;      // keywords inside the block
};

struct GsdFile {
  std::vector<GsdEntry> entries;  // keywords outside modules and skipped blocks
  std::vector<GsdModule> modules;
  std::vector<GsdEntry> unknown;  // keywords not in the GSD vocabulary (anywhere)
  bool has_slot_definition = false;
  std::vector<GsdEntry> slots;  // the Slot(n) lines of the slot definition block
};

struct GsdParseResult {
  bool ok = false;
  int error_line = 0;  // where reading stopped, when !ok
  std::string error;   // what was wrong, when !ok
  GsdFile file;
};

// Limits that keep a hostile file from costing unbounded time or memory.
inline constexpr size_t kMaxGsdModules = 4096;
inline constexpr size_t kMaxGsdEntries = 200000;

// Parses GSD text (UTF-8). Never throws except std::bad_alloc.
GsdParseResult ParseGsd(std::string_view text);

// True when the first line that is neither empty nor only a comment is
// "#Profibus_DP" (ignoring case and surrounding white space). `head` may be the
// start of the file only.
bool StartsLikeGsd(std::string_view head);

// True when `keyword` belongs to the GSD vocabulary this reader knows.
bool IsKnownGsdKeyword(std::string_view keyword);

// Value helpers. A number is decimal or "0x" hexadecimal and fits 32 bits.
std::optional<uint32_t> ParseGsdNumber(std::string_view value);
// The text of a quoted string at the start of `value`; *rest gets what follows.
std::optional<std::string> ParseGsdString(std::string_view value, std::string* rest = nullptr);
// The first entry with this keyword (ignoring case), or null.
const GsdEntry* FindGsdEntry(const std::vector<GsdEntry>& entries, std::string_view keyword);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_GSD_READER_H_
