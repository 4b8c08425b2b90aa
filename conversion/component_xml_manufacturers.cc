// The manufacturer level a name read from a component XML is filed under: the
// catalog's level of the same key, else the first name of that key met in the
// document, else the name the user's table gives.
#include "conversion/component_xml_reader.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// The name attribute of the last MANUFACTURER_EXT, else MANUFACTURER, child.
std::string NameAsWritten(Node element) {
  std::string ext, plain;
  for (const Node& child : element.ChildElements()) {
    if (!child.HasAttribute("name")) continue;
    const std::string name = Trim(child.Name());
    const std::string value = Trim(child.Attribute("name").value_or(""));
    if (EqualsNoCase(name, "MANUFACTURER_EXT")) ext = value;
    if (EqualsNoCase(name, "MANUFACTURER")) plain = value;
  }
  return ext.empty() ? plain : ext;
}

}  // namespace

std::string ComponentXmlReader::LevelName(const std::string& name) const {
  if (levels_ == nullptr || name.empty()) return name;
  // The catalog does not change while a document is read: a name asked again (every
  // module of a station names its maker) gets the answer it got.
  if (const auto known = level_ids_.find(name); known != level_ids_.end()) return known->second;
  ManufacturerLevel level = levels_->LevelFor(name);
  if (!level.exists) level = levels_met_.emplace(level.key, level).first->second;
  if (level.id != name) relabelled_[level.id] = level.label;
  level_ids_.emplace(name, level.id);
  return level.id;
}

void ComponentXmlReader::RelabelLevel(const CCatalog_Object& object) const {
  const auto found = relabelled_.find(object.manufacturerName);
  if (found == relabelled_.end() || !object.element || NameAsWritten(object.element) == found->first) return;
  Node element = object.element;
  while (Node label = element.FirstChildElement("LABEL")) label.Remove();
  element.AppendElement("LABEL").AppendElement("string", found->second);
}

}  // namespace zarn
