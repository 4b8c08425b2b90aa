// The catalog levels of a component XML written by hand. Converted sources carry one
// level folder (catalogLevel="true") per section, protocol, classification and
// manufacturer their objects name; a component XML written by hand in the
// documented format names the same placement on its objects alone. Such a document
// gets the level folders the conversion would have written, so that both are
// placed alike.
#include <set>
#include <tuple>

#include "conversion/component_xml_reader.h"
#include "xml/document.h"

namespace zarn {
namespace {

using xml::Node;

// The name attribute of the last child `name` of `object` that has one.
std::string LastName(Node object, std::string_view name) {
  std::string value;
  for (Node c = object.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsElement() && c.Name() == name && c.HasAttribute("name")) value = c.Attribute("name").value_or("");
  }
  return value;
}

bool IsObject(Node n) { return n.IsElement() && (n.Name() == "COMPONENT" || n.Name() == "COMPONENT_FOLDER"); }

bool HasChild(Node object, std::string_view name) {
  for (Node c = object.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsElement() && c.Name() == name) return true;
  }
  return false;
}

// A level folder written without its mark: a COMPONENT_FOLDER with the id the
// conversion gives a section, protocol or classification level, that names such a
// level and no folder path or manufacturer. Read as an ordinary folder, a section
// level was filed as one more empty section below DEVICE on every import.
bool IsUnmarkedLevel(Node folder) {
  if (!folder.IsElement() || folder.Name() != "COMPONENT_FOLDER" || folder.HasAttribute("catalogLevel")) return false;
  const std::string id = folder.Attribute("id").value_or("");
  bool level_id = false;
  for (std::string_view prefix : {"SECTION.", "PROTOCOL.", "CLASSIFICATION."}) {
    level_id = level_id || (id.size() > prefix.size() && id.compare(0, prefix.size(), prefix) == 0);
  }
  if (!level_id) return false;
  for (std::string_view name : {"COMPONENT_PATH", "MANUFACTURER", "MANUFACTURER_EXT"}) {
    if (HasChild(folder, name)) return false;
  }
  return HasChild(folder, "section") || HasChild(folder, "PROTOCOL") || HasChild(folder, "CLASSIFICATION");
}

bool HasLevels(Node root) {
  for (Node c = root.FirstChild(); c; c = c.NextSibling()) {
    if (IsObject(c) && c.Attribute("catalogLevel") == "true") return true;
  }
  return false;
}

struct Placement {
  std::string protocol;
  std::string classification;
  std::string manufacturer;
  bool operator<(const Placement& o) const {
    return std::tie(protocol, classification, manufacturer) < std::tie(o.protocol, o.classification, o.manufacturer);
  }
};

class LevelWriter {
 public:
  LevelWriter(xml::Document* document, Node before) : document_(document), before_(before) {}

  Node Level(const std::string& id) {
    Node level = before_.Parent().InsertBefore(document_->CreateElement("COMPONENT_FOLDER"), before_);
    level.SetAttribute("id", id);
    level.SetAttribute("catalogLevel", "true");
    return level;
  }
  static void Named(Node level, std::string_view name, const std::string& value) {
    if (!value.empty()) level.AppendElement(name).SetAttribute("name", value);
  }

 private:
  xml::Document* document_;
  Node before_;
};

}  // namespace

void AddMissingCatalogLevels(xml::Document* document) {
  Node root = document != nullptr ? document->Root() : Node();
  if (!root) return;
  for (Node c = root.FirstChild(); c; c = c.NextSibling()) {
    if (IsUnmarkedLevel(c)) c.SetAttribute("catalogLevel", "true");
  }
  if (HasLevels(root)) return;
  std::vector<Placement> placements;
  std::set<Placement> seen;
  Node first;
  for (Node c = root.FirstChild(); c; c = c.NextSibling()) {
    if (!IsObject(c)) continue;
    if (!first) first = c;
    std::string manufacturer = LastName(c, "MANUFACTURER_EXT");
    if (manufacturer.empty()) manufacturer = LastName(c, "MANUFACTURER");
    Placement p{LastName(c, "PROTOCOL"), LastName(c, "CLASSIFICATION"), manufacturer};
    if (p.protocol.empty() && p.classification.empty()) continue;
    if (seen.insert(p).second) placements.push_back(p);
  }
  if (placements.empty()) return;
  LevelWriter writer(document, first);
  LevelWriter::Named(writer.Level("SECTION.DEVICE"), "section", "DEVICE");
  std::set<std::string> protocols;
  std::set<std::pair<std::string, std::string>> classifications;
  for (const Placement& p : placements) {
    if (!p.protocol.empty() && protocols.insert(p.protocol).second) {
      LevelWriter::Named(writer.Level("PROTOCOL." + p.protocol), "PROTOCOL", p.protocol);
    }
  }
  for (const Placement& p : placements) {
    if (p.classification.empty() || !classifications.insert({p.protocol, p.classification}).second) continue;
    Node level = writer.Level("CLASSIFICATION." + p.protocol + "." + p.classification);
    LevelWriter::Named(level, "PROTOCOL", p.protocol);
    LevelWriter::Named(level, "CLASSIFICATION", p.classification);
  }
  for (const Placement& p : placements) {
    if (p.classification.empty() || p.manufacturer.empty()) continue;
    Node level = writer.Level("MANUFACTURER." + p.protocol + "." + p.classification + "." + p.manufacturer);
    LevelWriter::Named(level, "PROTOCOL", p.protocol);
    LevelWriter::Named(level, "CLASSIFICATION", p.classification);
    LevelWriter::Named(level, "MANUFACTURER_EXT", p.manufacturer);
  }
}

}  // namespace zarn
