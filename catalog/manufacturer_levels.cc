// The manufacturer level a name is filed under. Levels sit below the root, a
// section, a protocol or a classification; the PA library's own manufacturers and
// the MANUFACTURER identification children of components are not levels.
#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "platform/strings.h"

namespace zarn {
namespace {

bool HoldsLevels(const Node& element) {
  const std::string name = element.Name();
  return name == format::kSection || name == format::kProtocol || name == format::kClassification ||
         name == format::kRootElement;
}

// The first MANUFACTURER level below `element`, in document order, whose id has `key`.
Node FindLevelByKey(Node element, const ManufacturerNameTable& table, const std::string& key) {
  for (Node child = element.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsElement()) continue;
    if (child.Name() == format::kManufacturer) {
      const std::optional<std::string> id = child.Attribute(format::kId);
      if (id && table.KeyOf(*id) == key) return child;
    } else if (HoldsLevels(child)) {
      if (Node found = FindLevelByKey(child, table, key)) return found;
    }
  }
  return Node();
}

// The default text of a level's LABEL, else its id.
std::string LevelLabel(Node level) {
  if (Node label = level.FirstChildElement(format::kLabel)) {
    for (Node s : label.ChildElements()) {
      if (s.Name() == format::kString && !s.HasAttribute("lang")) return Trim(s.Text());
    }
  }
  return level.Attribute(format::kId).value_or("");
}

}  // namespace

ManufacturerLevel CCatalog_Contents::LevelFor(std::string_view name) const {
  ManufacturerLevel level;
  level.label = manufacturer_name_table_.NameOf(name);
  level.key = ManufacturerKey(level.label);
  level.id = ManufacturerLevelId(level.label);
  if (Node found = root() ? FindLevelByKey(root(), manufacturer_name_table_, level.key) : Node()) {
    level.id = found.Attribute(format::kId).value_or(level.id);
    level.label = LevelLabel(found);
    level.exists = true;
  } else if (level.id != level.label) {
    new_level_labels_.emplace(level.id, level.label);
  }
  return level;
}

std::string CCatalog_Contents::ManufacturerLevelLabel(const std::string& id) const {
  const auto found = new_level_labels_.find(id);
  return found != new_level_labels_.end() ? found->second : id;
}

}  // namespace zarn
