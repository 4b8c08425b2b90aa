// Name variants of one maker: the key that folds them together and the user's table
// (catalogData/manufacturer_names.cfg) that maps further variants to one name.
//
// Makers write their own name in many ways across their files: in capitals, with
// and without their legal form, with a division behind it, with trailing blanks.
// ManufacturerKey folds all of these to one text; the catalog files every name of
// one key under one manufacturer level.
#ifndef ZARN_CATALOG_MANUFACTURER_NAMES_H_
#define ZARN_CATALOG_MANUFACTURER_NAMES_H_

#include <string>
#include <string_view>
#include <unordered_map>

namespace zarn {

// The key of a maker's name: ASCII case folded; the name cut at a department
// separator (" - ", ", "), then at its first legal form after the first word
// (GmbH, AG, Inc., A/S, S.p.A., ...), dropping what follows it (a division); every
// character other than a letter, a digit or a non-ASCII byte made a blank; blanks
// collapsed and trimmed. "NORDVIK SENSOR", "Nordvik Sensor A/S" and "Nordvik Sensor
// A/S - Process Division" all give "nordvik sensor". A name that would lose every
// word keeps its first one.
std::string ManufacturerKey(std::string_view name);

// The id a manufacturer level gets for `name`: the name with blanks trimmed and
// collapsed, and the separators of component paths and file-area directories ("/",
// "\") made "_", which keeps its key. A text without a letter or digit is no name
// and is left as it is.
std::string ManufacturerLevelId(std::string_view name);

// The user's table of name variants, read from a file of lines
//   <name variant> = <manufacturer>
// (the first "=" separates; "#" starts a comment line; blank lines are skipped). A
// name is looked up exactly (blanks trimmed and collapsed), then by its key.
class ManufacturerNameTable {
 public:
  // Reads `path`; a missing file is an empty table. Lines without "=" or with an
  // empty side are traced as warnings (file:line) and skipped.
  void Load(const std::string& path);
  void Add(std::string_view variant, std::string_view manufacturer);
  bool empty() const { return exact_.empty(); }

  // The manufacturer the table gives `name`, else `name` with blanks trimmed and
  // collapsed.
  std::string NameOf(std::string_view name) const;
  // The key under which `name` is filed: the key of NameOf(name).
  std::string KeyOf(std::string_view name) const { return ManufacturerKey(NameOf(name)); }

 private:
  std::unordered_map<std::string, std::string> exact_;
  std::unordered_map<std::string, std::string> by_key_;
};

// Where a name is filed: the manufacturer level of the catalog that `name` belongs
// to. Implemented by the catalog over its document; the component XML reader asks it
// for every manufacturer name it reads.
struct ManufacturerLevel {
  std::string key;    // ManufacturerKey of the name the table gives
  std::string id;     // the level's id: an existing level's, else ManufacturerLevelId
  std::string label;  // the level's label: an existing level's, else the table's name
  bool exists = false;
};

class ManufacturerLevels {
 public:
  virtual ~ManufacturerLevels() = default;
  virtual ManufacturerLevel LevelFor(std::string_view name) const = 0;
};

}  // namespace zarn

#endif  // ZARN_CATALOG_MANUFACTURER_NAMES_H_
