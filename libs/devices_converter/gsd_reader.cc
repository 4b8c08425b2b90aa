#include "libs/devices_converter/gsd_reader.h"

#include <iterator>

#include "platform/strings.h"

namespace zarn::converters {
namespace {

// One line after comments are removed and continuations are joined.
struct LogicalLine {
  std::string text;
  int line = 0;
};

// Yields logical lines. A quoted string may continue over a "\" line end.
class LineSource {
 public:
  explicit LineSource(std::string_view text) : text_(text) {}

  // Returns false at the end; sets *unterminated when a string is not closed.
  bool Next(LogicalLine* out, bool* unterminated) {
    *unterminated = false;
    out->text.clear();
    if (pos_ >= text_.size()) return false;
    out->line = line_ + 1;
    bool in_quote = false;
    while (pos_ < text_.size()) {
      ++line_;
      const size_t before = out->text.size();
      AppendPhysicalLine(&out->text, &in_quote);
      const std::string tail = TrimRightChars(std::string_view(out->text).substr(before), " \t");
      out->text.resize(before);
      out->text += tail;
      if (out->text.empty() || out->text.back() != '\\') break;
      out->text.pop_back();
    }
    *unterminated = in_quote;
    return true;
  }

 private:
  // Appends one physical line without its comment; a continued line (out not
  // empty) loses its leading white space.
  void AppendPhysicalLine(std::string* out, bool* in_quote) {
    bool comment = false;
    if (!out->empty()) {
      while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }
    while (pos_ < text_.size() && text_[pos_] != '\n') {
      const char c = text_[pos_++];
      if (c == '\r' || comment) continue;
      if (c == '"') *in_quote = !*in_quote;
      if (c == ';' && !*in_quote) {
        comment = true;
        continue;
      }
      out->push_back(c);
    }
    if (pos_ < text_.size()) ++pos_;  // the line feed
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 0;
};

// Lines searched for the end of a block the reader does not know.
constexpr int kUnknownBlockLookahead = 2000;

struct BlockPair {
  std::string_view open;
  std::string_view close;
};

constexpr BlockPair kSkippedBlocks[] = {
    {"PrmText", "EndPrmText"},
    {"ExtUserPrmData", "EndExtUserPrmData"},
    {"UnitDiagType", "EndUnitDiagType"},
    {"Physical_Interface", "End_Physical_Interface"},
    {"Unit_Diag_Area", "Unit_Diag_Area_End"},
    {"X_Unit_Diag_Area", "X_Unit_Diag_Area_End"},
};

// The block that says which modules each slot takes; its lines are kept.
constexpr BlockPair kSlotBlocks[] = {
    {"SlotDefinition", "EndSlotDefinition"},
    {"Slot_Definition", "End_Slot_Definition"},
};

const BlockPair* SlotBlock(std::string_view keyword) {
  for (const BlockPair& b : kSlotBlocks) {
    if (EqualsNoCase(b.open, keyword)) return &b;
  }
  return nullptr;
}

const BlockPair* SkippedBlock(std::string_view keyword) {
  for (const BlockPair& b : kSkippedBlocks) {
    if (EqualsNoCase(b.open, keyword)) return &b;
  }
  return nullptr;
}

bool IsBlockEnd(std::string_view keyword) {
  for (const BlockPair& b : kSkippedBlocks) {
    if (EqualsNoCase(b.close, keyword)) return true;
  }
  for (const BlockPair& b : kSlotBlocks) {
    if (EqualsNoCase(b.close, keyword)) return true;
  }
  return false;
}

// Splits "Key(3) = value" / "Key" into its parts. Returns false on a malformed index.
bool SplitLine(const std::string& text, GsdEntry* entry, bool* has_value) {
  size_t eq = std::string::npos;
  bool in_quote = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"') in_quote = !in_quote;
    if (text[i] == '=' && !in_quote) {
      eq = i;
      break;
    }
  }
  *has_value = eq != std::string::npos;
  std::string key = Trim(std::string_view(text).substr(0, eq));
  entry->value = *has_value ? Trim(std::string_view(text).substr(eq + 1)) : std::string();
  const size_t open = key.find('(');
  if (open != std::string::npos) {
    if (key.back() != ')') return false;
    entry->index = Trim(std::string_view(key).substr(open + 1, key.size() - open - 2));
    key = Trim(std::string_view(key).substr(0, open));
  }
  entry->keyword = std::move(key);
  return !entry->keyword.empty();
}

class Parser {
 public:
  explicit Parser(std::string_view text) : lines_(text) {}

  GsdParseResult Run() {
    if (!ReadHeader()) return Finish();
    while (!failed_ && NextLine()) HandleLine();
    if (!failed_ && module_open_) Fail(result_.file.modules.back().line, "Module without EndModule");
    return Finish();
  }

 private:
  bool NextLine() {
    bool unterminated = false;
    while (lines_.Next(&current_, &unterminated)) {
      if (unterminated) {
        Fail(current_.line, "string not terminated");
        return false;
      }
      current_.text = Trim(current_.text);
      if (!current_.text.empty()) return true;
    }
    return false;
  }

  bool ReadHeader() {
    if (!NextLine()) {
      if (!failed_) Fail(current_.line, "empty file, #Profibus_DP expected");
      return false;
    }
    if (!EqualsNoCase(current_.text, "#Profibus_DP")) {
      Fail(current_.line, "#Profibus_DP expected");
      return false;
    }
    return true;
  }

  void HandleLine() {
    if (current_.text[0] == '#') return;  // further directives carry no data
    GsdEntry entry;
    bool has_value = false;
    if (!SplitLine(current_.text, &entry, &has_value)) return Fail(current_.line, "malformed keyword");
    entry.line = current_.line;
    if (!has_value) return HandleBareWord(entry);
    if (const BlockPair* block = SkippedBlock(entry.keyword)) return SkipBlock(*block, entry.line);
    if (EqualsNoCase(entry.keyword, "Module")) return OpenModule(entry);
    AddEntry(std::move(entry));
  }

  void HandleBareWord(const GsdEntry& entry) {
    if (EqualsNoCase(entry.keyword, "EndModule")) {
      if (!module_open_) return Fail(entry.line, "EndModule without Module");
      module_open_ = false;
      return;
    }
    if (module_open_ && entry.index.empty()) {
      if (auto number = ParseGsdNumber(entry.keyword)) {
        result_.file.modules.back().reference = number;
        return;
      }
    }
    if (const BlockPair* block = SkippedBlock(entry.keyword)) return SkipBlock(*block, entry.line);
    if (const BlockPair* block = SlotBlock(entry.keyword)) return ReadSlotBlock(*block, entry.line);
    if (IsBlockEnd(entry.keyword)) return Fail(entry.line, entry.keyword + " without its block");
    if (IsKnownGsdKeyword(entry.keyword)) return Fail(entry.line, "'=' expected after " + entry.keyword);
    // A block the reader does not know (X ... End_X, EndX or X_End) is skipped whole,
    // any other bare word alone; both are reported with the unknown keywords.
    result_.file.unknown.push_back(entry);
    SkipUnknownBlock(entry.keyword);
  }

  // Looks ahead (a bounded number of lines) for the end of a block opened by
  // `keyword`; consumes the block when it finds one, else nothing.
  void SkipUnknownBlock(const std::string& keyword) {
    const LineSource saved_lines = lines_;
    const LogicalLine saved_current = current_;
    const std::string ends[] = {"End_" + keyword, "End" + keyword, keyword + "_End"};
    for (int scanned = 0; scanned < kUnknownBlockLookahead && NextLine(); ++scanned) {
      GsdEntry entry;
      bool has_value = false;
      if (!SplitLine(current_.text, &entry, &has_value) || has_value) continue;
      for (const std::string& end : ends) {
        if (EqualsNoCase(entry.keyword, end)) return;
      }
    }
    lines_ = saved_lines;
    current_ = saved_current;
    failed_ = false;
    result_.error.clear();
    result_.error_line = 0;
  }

  void SkipBlock(const BlockPair& block, int opened_at) {
    while (NextLine()) {
      GsdEntry entry;
      bool has_value = false;
      if (SplitLine(current_.text, &entry, &has_value) && !has_value && EqualsNoCase(entry.keyword, block.close)) {
        return;
      }
    }
    if (!failed_) Fail(opened_at, std::string(block.open) + " without " + std::string(block.close));
  }

  // Keeps the Slot(n) lines up to the block's end; anything else in it is unknown.
  void ReadSlotBlock(const BlockPair& block, int opened_at) {
    if (module_open_) return Fail(opened_at, std::string(block.open) + " inside Module");
    result_.file.has_slot_definition = true;
    while (NextLine()) {
      GsdEntry entry;
      bool has_value = false;
      if (!SplitLine(current_.text, &entry, &has_value)) return Fail(current_.line, "malformed keyword");
      entry.line = current_.line;
      if (!has_value && EqualsNoCase(entry.keyword, block.close)) return;
      if (++entry_count_ > kMaxGsdEntries) return Fail(entry.line, "too many keywords");
      if (has_value && EqualsNoCase(entry.keyword, "Slot")) {
        result_.file.slots.push_back(std::move(entry));
      } else {
        result_.file.unknown.push_back(std::move(entry));
      }
    }
    if (!failed_) Fail(opened_at, std::string(block.open) + " without " + std::string(block.close));
  }

  void OpenModule(const GsdEntry& entry) {
    if (module_open_) return Fail(entry.line, "Module inside Module");
    if (result_.file.modules.size() >= kMaxGsdModules) return Fail(entry.line, "too many modules");
    GsdModule module;
    std::string rest;
    auto name = ParseGsdString(entry.value, &rest);
    if (!name) return Fail(entry.line, "Module needs a quoted name");
    module.name = std::move(*name);
    module.config = Trim(rest);
    module.line = entry.line;
    result_.file.modules.push_back(std::move(module));
    module_open_ = true;
  }

  void AddEntry(GsdEntry entry) {
    if (++entry_count_ > kMaxGsdEntries) return Fail(entry.line, "too many keywords");
    if (!IsKnownGsdKeyword(entry.keyword)) result_.file.unknown.push_back(entry);
    auto& target = module_open_ ? result_.file.modules.back().entries : result_.file.entries;
    target.push_back(std::move(entry));
  }

  void Fail(int line, std::string text) {
    if (failed_) return;
    failed_ = true;
    result_.error_line = line;
    result_.error = std::move(text);
  }

  GsdParseResult Finish() {
    result_.ok = !failed_;
    return std::move(result_);
  }

  LineSource lines_;
  LogicalLine current_;
  GsdParseResult result_;
  bool failed_ = false;
  bool module_open_ = false;
  size_t entry_count_ = 0;
};

}  // namespace

GsdParseResult ParseGsd(std::string_view text) { return Parser(text).Run(); }

bool StartsLikeGsd(std::string_view head) {
  LineSource lines(head);
  LogicalLine line;
  bool unterminated = false;
  while (lines.Next(&line, &unterminated)) {
    const std::string text = Trim(line.text);
    if (!text.empty()) return EqualsNoCase(text, "#Profibus_DP");
  }
  return false;
}

std::optional<uint32_t> ParseGsdNumber(std::string_view value) {
  const std::string text = Trim(value);
  const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
  const size_t start = hex ? 2 : 0;
  if (text.size() == start) return std::nullopt;
  uint64_t number = 0;
  for (size_t i = start; i < text.size(); ++i) {
    const char c = text[i];
    int digit = -1;
    if (c >= '0' && c <= '9') digit = c - '0';
    if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    if (digit < 0) return std::nullopt;
    number = number * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (number > 0xFFFFFFFFu) return std::nullopt;
  }
  return static_cast<uint32_t>(number);
}

std::optional<std::string> ParseGsdString(std::string_view value, std::string* rest) {
  const std::string text = Trim(value);
  if (text.empty() || text[0] != '"') return std::nullopt;
  const size_t close = text.find('"', 1);
  if (close == std::string::npos) return std::nullopt;
  if (rest != nullptr) *rest = text.substr(close + 1);
  return text.substr(1, close - 1);
}

const GsdEntry* FindGsdEntry(const std::vector<GsdEntry>& entries, std::string_view keyword) {
  for (const GsdEntry& e : entries) {
    if (EqualsNoCase(e.keyword, keyword)) return &e;
  }
  return nullptr;
}

}  // namespace zarn::converters
