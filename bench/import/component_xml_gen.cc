// Writes one component XML holding N generated components, for timing the import
// of a large component XML through the command line:
//
//   component_xml_gen N DIR [--no-levels]
//
// DIR/comp.xml names DIR/src/ as its inPath and DIR/src holds the files the
// components name. Components are spread over 20 manufacturers and 25 families
// like in bench_import; --no-levels leaves the catalogLevel mark off the level
// folders (the shape of hand-written component XML).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/import/generated_names.h"

namespace {

using zarn::bench::Family;
using zarn::bench::Hex4;
using zarn::bench::kManufacturers;
using zarn::bench::Manufacturer;

std::string LevelFolders(bool marked) {
  const std::string mark = marked ? " catalogLevel=\"true\"" : "";
  return "<COMPONENT_FOLDER id=\"SECTION.DEVICE\"" + mark + "><section name=\"DEVICE\"/></COMPONENT_FOLDER>" +
         "<COMPONENT_FOLDER id=\"PROTOCOL.HART\"" + mark + "><PROTOCOL name=\"HART\"/></COMPONENT_FOLDER>" +
         "<COMPONENT_FOLDER id=\"CLASSIFICATION.HART.SFC\"" + mark +
         "><PROTOCOL name=\"HART\"/><CLASSIFICATION name=\"SENSOR_FLOW_CORIOLIS\"/></COMPONENT_FOLDER>\n";
}

std::string Component(int i) {
  const std::string id = "D" + std::to_string(i);
  return "<COMPONENT id=\"" + id + "\"><PROTOCOL name=\"HART\"/><CLASSIFICATION name=\"SENSOR_FLOW_CORIOLIS\"/>" +
         "<MANUFACTURER name=\"" + Manufacturer(i) + "\">" + Hex4(0xf0 + i % kManufacturers) +
         "</MANUFACTURER><COMPONENT_PATH name=\"" + Manufacturer(i) + "/" + Family(i) + "/" + id + "\"/><DEVICE_TYPE>" +
         Hex4(i + 1) + "</DEVICE_TYPE><DEVICE_REVISION>0x0001</DEVICE_REVISION>" +
         "<DD_REVISION>0x0002</DD_REVISION><LABEL><string>Device " + id + "</string></LABEL>" +
         "<DEVICE_MANUAL>manual.pdf</DEVICE_MANUAL></COMPONENT>\n";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: component_xml_gen N DIR [--no-levels]\n");
    return 2;
  }
  const int n = std::atoi(argv[1]);
  const std::filesystem::path dir = argv[2];
  const bool marked = !(argc > 3 && std::string(argv[3]) == "--no-levels");
  std::filesystem::create_directories(dir / "src");
  std::ofstream(dir / "src" / "manual.pdf") << std::string(4000, 'y');
  std::ofstream out(dir / "comp.xml");
  out << "<COMP_COMPONENTXML inPath=\"" << (dir / "src").string() << "/\"><version>1</version>\n"
      << LevelFolders(marked);
  for (int i = 0; i < n; ++i) out << Component(i);
  out << "</COMP_COMPONENTXML>\n";
  return out ? 0 : 1;
}
