#include "libs/compiler/vocabulary.h"

#include <algorithm>
#include <set>
#include <vector>

namespace zarnl {
namespace {

using WordSet = std::set<std::string, std::less<>>;

const WordSet& ReadDefinitions() {
  static const WordSet k{"VARIABLE", "COMPONENT", "COMPONENT_FOLDER", "COMPONENT_REFERENCE", "COMPONENT_RELATION"};
  return k;
}

const WordSet& SkippedDefinitions() {
  static const WordSet k{"MENU",          "METHOD",         "COLLECTION",   "RECORD",   "ARRAY",   "REFERENCE_ARRAY",
                         "VALUE_ARRAY",   "ITEM_ARRAY",     "LIST",         "FILE",     "COMMAND", "BLOCK",
                         "BLOCK_A",       "BLOCK_B",        "EDIT_DISPLAY", "UNIT",     "REFRESH", "WRITE_AS_ONE",
                         "VARIABLE_LIST", "RESPONSE_CODES", "DOMAIN",       "PROGRAM",  "GRID",    "CHART",
                         "GRAPH",         "IMAGE",          "SOURCE",       "WAVEFORM", "AXIS",    "CONNECTION",
                         "INTERFACE",     "TEMPLATE",       "PLUGIN",       "LIKE",     "IMPORT",  "OPEN",
                         "CLOSE"};
  return k;
}

const WordSet& Attributes() {
  static const WordSet k{
      // variables and their types
      "LABEL", "HELP", "CLASS", "TYPE", "HANDLING", "VALIDITY", "VISIBILITY", "STYLE", "CONSTANT_UNIT",
      "DISPLAY_FORMAT", "EDIT_FORMAT", "SCALING_FACTOR", "MIN_VALUE", "MAX_VALUE", "DEFAULT_VALUE", "INITIAL_VALUE",
      "PRE_EDIT_ACTIONS", "POST_EDIT_ACTIONS", "PRE_READ_ACTIONS", "POST_READ_ACTIONS", "PRE_WRITE_ACTIONS",
      "POST_WRITE_ACTIONS", "REFRESH_ACTIONS", "POST_RQST_ACTIONS", "POST_USER_ACTIONS", "READ_TIMEOUT",
      "WRITE_TIMEOUT", "RESPONSE_CODES", "PRIVATE", "WRITE_MODE", "TIME_FORMAT", "TIME_SCALE", "HEIGHT", "WIDTH",
      // components, folders and references
      "PRODUCT_URI", "PROTOCOL", "CLASSIFICATION", "COMPONENT_PATH", "COMPONENT_PARENT", "COMPONENT_RELATIONS",
      "INITIAL_VALUES", "CAN_DELETE", "CHECK_CONFIGURATION", "DETECT", "SCAN", "SCAN_LIST", "EDD", "IMAGE",
      "DEVICE_MANUAL", "GSD", "PURPOSE_MAPPING", "DECLARATION", "REDUNDANCY", "MANUFACTURER", "DEVICE_TYPE",
      "DEVICE_REVISION",
      // relations
      "RELATION_TYPE", "COMPONENTS", "MINIMUM_NUMBER", "MAXIMUM_NUMBER", "ADDRESSING", "AUTO_CREATE",
      "AUTO_CREATE_NODELETE", "REQUIRED_RANGES"};
  return k;
}

const WordSet& TypeNames() {
  static const WordSet k{"INTEGER",      "UNSIGNED_INTEGER",
                         "FLOAT",        "DOUBLE",
                         "ENUMERATED",   "BIT_ENUMERATED",
                         "INDEX",        "ASCII",
                         "PACKED_ASCII", "PASSWORD",
                         "BITSTRING",    "HART_DATE_FORMAT",
                         "TIME",         "TIME_VALUE",
                         "DATE",         "DATE_AND_TIME",
                         "DURATION",     "OCTET",
                         "VISIBLE",      "EUC",
                         "BOOLEAN"};
  return k;
}

// MIN_VALUE1, MAX_VALUE12, ...: the bounds of a multi-range type.
bool IsNumberedBound(std::string_view name) {
  for (std::string_view prefix : {"MIN_VALUE", "MAX_VALUE"}) {
    if (name.substr(0, prefix.size()) != prefix) continue;
    return name.find_first_not_of("0123456789", prefix.size()) == std::string_view::npos;
  }
  return false;
}

// Edits (insert, delete, replace, swap two neighbours) that turn a into b.
size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::vector<size_t>> d(a.size() + 1, std::vector<size_t>(b.size() + 1));
  for (size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    for (size_t j = 1; j <= b.size(); ++j) {
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

}  // namespace

bool IsSkippedDefinition(std::string_view keyword) { return SkippedDefinitions().count(keyword) != 0; }

bool IsKnownAttribute(std::string_view name) { return Attributes().count(name) != 0 || IsNumberedBound(name); }

bool IsTypeName(std::string_view name) { return TypeNames().count(name) != 0; }

std::string Suggestion(std::string_view word, WordKind kind) {
  if (word.size() > 40) return std::string();  // no keyword is that long
  std::vector<const WordSet*> sets;
  if (kind == WordKind::kDefinition) sets = {&ReadDefinitions(), &SkippedDefinitions()};
  if (kind == WordKind::kAttribute) sets = {&Attributes()};
  if (kind == WordKind::kType) sets = {&TypeNames()};
  // Close means at most two edits, and fewer than a third of the word.
  size_t best = std::min<size_t>(3, (word.size() + 2) / 3);
  std::string found;
  for (const WordSet* set : sets) {
    for (const std::string& known : *set) {
      const size_t d = EditDistance(word, known);
      if (d < best) {
        best = d;
        found = known;
      }
    }
  }
  return found.empty() ? std::string() : " (did you mean " + found + "?)";
}

}  // namespace zarnl
