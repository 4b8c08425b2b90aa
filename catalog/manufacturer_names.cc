#include "catalog/manufacturer_names.h"

#include <fstream>
#include <set>
#include <vector>

#include "external/trace.h"
#include "platform/strings.h"

namespace zarn {
namespace {

bool IsWordByte(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// White space of any kind made one blank, none at either end.
std::string CollapseBlanks(std::string_view text) {
  std::string out;
  bool blank = false;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v') {
      blank = !out.empty();
      continue;
    }
    if (blank) out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

// The letters and digits of a word, lower case: "S.p.A." -> "spa", "A/S" -> "as".
std::string WordCore(std::string_view word) {
  std::string core;
  for (char c : word) {
    if (IsWordByte(c)) core += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return core;
}

bool IsLegalForm(const std::string& core) {
  static const std::set<std::string> kForms = {
      "gmbh",     "mbh", "ag",  "kg",           "kgaa", "ohg",         "gbr",     "ek",  "co",      "cokg",
      "gmbhcokg", "se",  "inc", "incorporated", "corp", "corporation", "company", "ltd", "limited", "llc",
      "llp",      "plc", "pty", "pte",          "sa",   "sas",         "sarl",    "spa", "srl",     "sro",
      "bv",       "nv",  "as",  "asa",          "aps",  "ab",          "oy",      "oyj", "ltda"};
  return kForms.count(core) != 0;
}

// Words that only join a name to a legal form cut off behind them ("& Co. KG").
bool IsConnector(const std::string& core) { return core.empty() || core == "und" || core == "and"; }

// The text before the first department separator: a comma, or " - " between words.
std::string_view BeforeDepartment(std::string_view text) {
  size_t cut = text.find(',');
  const size_t dash = text.find(" - ");
  if (dash != std::string_view::npos && dash < cut) cut = dash;
  if (cut == std::string_view::npos) return text;
  const std::string_view head = text.substr(0, cut);
  return WordCore(head).empty() ? text : head;
}

}  // namespace

std::string ManufacturerKey(std::string_view name) {
  const std::string text = CollapseBlanks(name);
  std::vector<std::string> words = Split(BeforeDepartment(text), " ");
  for (size_t i = 1; i < words.size(); ++i) {
    if (!IsLegalForm(WordCore(words[i]))) continue;
    words.resize(i);
    break;
  }
  while (words.size() > 1 && IsConnector(WordCore(words.back()))) words.pop_back();
  std::string joined;
  for (char c : Join(words, " ")) joined += IsWordByte(c) ? c : ' ';
  const std::string key = ToLower(CollapseBlanks(joined));
  return key.empty() ? ToLower(text) : key;
}

std::string ManufacturerLevelId(std::string_view name) {
  std::string id = CollapseBlanks(name);
  if (WordCore(id).empty()) return id;  // no name at all: the import's checks judge it as written
  for (char& c : id) {
    if (c == '/' || c == '\\') c = '_';
  }
  return id;
}

void ManufacturerNameTable::Load(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::string text = Trim(line);
    if (text.empty() || text[0] == '#') continue;
    const size_t eq = text.find('=');
    const std::string variant = eq == std::string::npos ? std::string() : CollapseBlanks(text.substr(0, eq));
    const std::string manufacturer = eq == std::string::npos ? std::string() : CollapseBlanks(text.substr(eq + 1));
    if (variant.empty() || manufacturer.empty()) {
      Trace(kTraceWarning, "ManufacturerNameTable::Load", "%s:%d: not <name variant> = <manufacturer>, skipped", path,
            number);
      continue;
    }
    Add(variant, manufacturer);
  }
}

void ManufacturerNameTable::Add(std::string_view variant, std::string_view manufacturer) {
  const std::string name = CollapseBlanks(manufacturer);
  exact_[CollapseBlanks(variant)] = name;
  by_key_[ManufacturerKey(variant)] = name;
}

std::string ManufacturerNameTable::NameOf(std::string_view name) const {
  const std::string text = CollapseBlanks(name);
  if (exact_.empty()) return text;
  if (auto found = exact_.find(text); found != exact_.end()) return found->second;
  if (auto found = by_key_.find(ManufacturerKey(text)); found != by_key_.end()) return found->second;
  return text;
}

}  // namespace zarn
