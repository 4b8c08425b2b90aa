// Stations by ident number. A PROFIBUS ident number names one station type of its
// maker: two GSD files of one maker with the same number (a newer release of the
// file, a copy filed under another family) describe the same station, whatever
// their file names and families, so a station is found by maker and number as well
// as by its place. (Makers of test devices reuse example numbers: the maker is part
// of the key.)
#include <cstdlib>

#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "conversion/catalog_object.h"
#include "platform/strings.h"

namespace zarn {
namespace {

constexpr std::string_view kGsd = "GSD";

std::string ChildText(Node element, std::string_view name) {
  const Node child = element ? element.FirstChildElement(name) : Node();
  return child ? child.Text() : std::string();
}

// "<PROTOCOL>/<MANUFACTURER>/<number>" for a station, "" for anything else.
std::string StationKey(std::string_view protocol, std::string_view manufacturer, Node element) {
  if (protocol.empty() || !element || !element.FirstChildElement(kGsd)) return std::string();
  const std::string type = TrimChars(ChildText(element, format::kDeviceType), " \t");
  if (type.empty()) return std::string();
  char* end = nullptr;
  const unsigned long number = std::strtoul(type.c_str(), &end, 16);
  if (end == type.c_str() || *end != '\0') return std::string();
  return ToUpper(protocol) + "/" + ToUpper(manufacturer) + "/" + std::to_string(number);
}

// The id of the nearest ancestor level `name` of `node`.
std::string LevelOf(Node node, std::string_view name) {
  for (Node n = node; n; n = n.Parent()) {
    if (n.IsElement() && n.Name() == name) return n.Attribute(format::kId).value_or(std::string());
  }
  return std::string();
}

std::string StationKeyOf(Node station) {
  return StationKey(LevelOf(station, format::kProtocol), LevelOf(station, format::kManufacturer), station);
}

}  // namespace

void CCatalog_Contents::ForgetStationIdentities() {
  station_identities_.clear();
  station_identities_built_ = false;
}

void CCatalog_Contents::BuildStationIdentities() {
  station_identities_built_ = true;
  NodeList stations;
  if (!getSubElementsByXPath("//PROTOCOL//COMPONENT[GSD][DEVICE_TYPE][not(@isInvisible)]", &stations)) return;
  for (const Node& station : stations) {
    const std::string key = StationKeyOf(station);
    if (!key.empty()) station_identities_.emplace(key, ComponentPathOf(station));
  }
}

Node CCatalog_Contents::FindStationOfSameIdent(const CCatalog_Object& object) {
  const std::string key = StationKey(object.protocol, object.manufacturer, object.element);
  if (key.empty()) return Node();
  if (!station_identities_built_) BuildStationIdentities();
  const auto it = station_identities_.find(key);
  if (it == station_identities_.end()) return Node();
  // Deletions do not report here: a path that no longer names that station is dropped.
  const Node station = FindByComponentPath(it->second);
  if (station && StationKeyOf(station) == key) return station;
  station_identities_.erase(it);
  return Node();
}

void CCatalog_Contents::NoteStationPlaced(const CCatalog_Object& object) {
  if (!station_identities_built_ || !object.catalogNode) return;
  const std::string key = StationKeyOf(object.catalogNode);
  if (!key.empty()) station_identities_.insert_or_assign(key, ComponentPathOf(object.catalogNode));
}

}  // namespace zarn
