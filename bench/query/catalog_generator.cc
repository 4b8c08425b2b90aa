#include "bench/query/catalog_generator.h"

#include <cstdio>

namespace zarn::bench {
namespace {

constexpr int kClasses = 5;
constexpr int kMakersPerClass = 20;
constexpr int kPerFolder = 10;

std::string Format(const char* format, int a, int b = 0, int c = 0) {
  char buffer[256];
  std::snprintf(buffer, sizeof buffer, format, a, b, c);
  return buffer;
}

// Where component n sits: classification, manufacturer and folder numbers.
struct Place {
  int cls, maker, folder;
};

Place PlaceOf(int n, int components) {
  const int makers = kClasses * kMakersPerClass;
  const int per_maker = (components + makers - 1) / makers;
  const int maker = n / per_maker;
  return {maker / kMakersPerClass, maker, (n % per_maker) / kPerFolder};
}

// The folder component n's child relation refers to: its own folder (the family it
// takes modules from), or for every thousandth component and with `all_fit` the
// whole protocol (a coupler that takes any device).
std::string FitsFolder(int n, int components, bool all_fit) {
  if (all_fit || n % 1000 == 0) return "/DEVICE/PROFIBUS";
  const Place p = PlaceOf(n, components);
  return Format("/DEVICE/PROFIBUS/CLASS%d/MAKER%03d", p.cls, p.maker) + Format("/FOLDER%d", p.folder);
}

std::string Component(int n, const std::string& fits) {
  std::string c = Format("<COMPONENT id=\"C%05d\"><LABEL><string>Device %d</string>", n, n);
  c += Format("<string lang=\"de\">Geraet %d</string></LABEL><HELP><string>Help of device %d</string></HELP>", n, n);
  c += Format("<MANUFACTURER>0x%04x</MANUFACTURER><DEVICE_TYPE>0x%04x</DEVICE_TYPE>", n / 100, n);
  c += "<DEVICE_REVISION>0x0001</DEVICE_REVISION><DD_REVISION>0x0001</DD_REVISION>";
  c += Format("<componentID>C%05d</componentID><componentZARN>dev%d.ddl</componentZARN>", n, n);
  c += "<COMPONENT_RELATIONS><COMPONENT_RELATION id=\"r1\"><RELATION_TYPE><CHILD_COMPONENT/></RELATION_TYPE>"
       "<COMPONENTS><component><component_ref>" +
       fits + "</component_ref></component></COMPONENTS></COMPONENT_RELATION></COMPONENT_RELATIONS><INITIAL_VALUES>";
  for (int v = 0; v < 5; ++v) {
    c += Format("<initial_value><variable_ref ref=\"var%d\"/><string>value %d</string>", v, v);
    c += Format("<string lang=\"de\">Wert %d</string></initial_value>", v);
  }
  c += "</INITIAL_VALUES><PURPOSE_MAPPING><variable_ref ref=\"var0\"/><string>PURPOSE_TAG</string>"
       "<variable_ref ref=\"var1\"/><string>PURPOSE_DESCRIPTION</string></PURPOSE_MAPPING></COMPONENT>\n";
  return c;
}

}  // namespace

std::string ComponentPath(int n, int components) {
  const Place p = PlaceOf(n, components);
  return Format("/DEVICE/PROFIBUS/CLASS%d/MAKER%03d", p.cls, p.maker) + Format("/FOLDER%d/C%05d", p.folder, n);
}

std::string CotName(int n, int components) { return Format("\\FOLDER%d\\C%05d", PlaceOf(n, components).folder, n); }

std::string GenerateCatalog(int components, bool all_fit) {
  std::string xml = "<?xml version=\"1.0\"?>\n<ZARN_CATALOG><section id=\"DEVICE\"><PROTOCOL id=\"PROFIBUS\">\n";
  Place open{-1, -1, -1};
  for (int n = 0; n < components; ++n) {
    const Place p = PlaceOf(n, components);
    if (p.maker != open.maker && open.maker >= 0) xml += "</COMPONENT_FOLDER></MANUFACTURER>\n";
    if (p.cls != open.cls && open.cls >= 0) xml += "</CLASSIFICATION>\n";
    if (p.cls != open.cls) xml += Format("<CLASSIFICATION id=\"CLASS%d\">\n", p.cls);
    if (p.maker != open.maker) {
      xml += Format("<MANUFACTURER id=\"MAKER%03d\"><LABEL><string>Maker %d</string></LABEL>", p.maker, p.maker);
      xml += Format("<COMPONENT_FOLDER id=\"FOLDER%d\">\n", p.folder);
    } else if (p.folder != open.folder) {
      xml += Format("</COMPONENT_FOLDER><COMPONENT_FOLDER id=\"FOLDER%d\">\n", p.folder);
    }
    open = p;
    xml += Component(n, FitsFolder(n, components, all_fit));
  }
  xml += "</COMPONENT_FOLDER></MANUFACTURER></CLASSIFICATION></PROTOCOL></section>\n<CATALOG_FOLDER id=\"Favourites\">";
  for (int n = 0; n < components; n += 100) {
    xml += Format("<COMPONENT id=\"C%05d\"><component_ref>", n) + ComponentPath(n, components) +
           "</component_ref></COMPONENT>";
  }
  return xml + "</CATALOG_FOLDER></ZARN_CATALOG>\n";
}

}  // namespace zarn::bench
