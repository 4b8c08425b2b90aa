#include "bench/compiler/source_generator.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace zarnl::bench {
namespace {

constexpr int kIncludeFiles = 8;

void Write(const std::string& path, const std::string& text) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// Each include file holds macros and a few shared variables (about 20 lines).
std::string IncludeFile(int k) {
  std::ostringstream o;
  o << "#ifndef INC_" << k << "_H\n#define INC_" << k << "_H\n"
    << "/* shared definitions, part " << k << " */\n"
    << "#define RANGE_" << k << "(lo, hi) MIN_VALUE lo; MAX_VALUE hi;\n"
    << "#define LBL_" << k << "(txt) \"|en|\" #txt \"|de|\" #txt \"_de\"\n"
    << "#define NAME_" << k << "(a, b) a##_##b\n"
    << "VARIABLE shared_" << k << " {\n  LABEL \"|en|Shared|de|Gemeinsam\";\n"
    << "  TYPE UNSIGNED_INTEGER (2) { DEFAULT_VALUE " << k << "; }\n}\n#endif\n";
  return o.str();
}

// One block of about 36 lines: three variables, a menu, a component and a relation.
void Block(std::ostringstream& o, int i) {
  const int k = i % kIncludeFiles;
  o << "// block " << i << "\n"
    << "VARIABLE NAME_" << k << "(temp, " << i << ") {\n"
    << "  LABEL LBL_" << k << "(Temperature" << i << ");\n"
    << "  HELP \"Temperature of channel " << i << "\";\n"
    << "  CLASS DEVICE & DYNAMIC;\n"
    << "  TYPE FLOAT { DEFAULT_VALUE 0.5; RANGE_" << k << "(-40, 125) }\n"
    << "  HANDLING READ & WRITE;\n}\n"
    << "VARIABLE mode_" << i << " {\n  LABEL \"Mode\";\n"
    << "  TYPE ENUMERATED (1) {\n    { 0, \"|en|Off|de|Aus\", \"Switched off\" },\n"
    << "    { 1, \"|en|On|de|Ein\" }\n  }\n}\n"
    << "VARIABLE slot_" << i << " { LABEL \"Slot\"; TYPE INTEGER (1) { MIN_VALUE 1; MAX_VALUE 8; } }\n"
    << "MENU menu_" << i << " { LABEL \"Menu\"; ITEMS { mode_" << i << ", slot_" << i << " } }\n"
    << "COMPONENT module_" << i << " {\n  LABEL \"|en|Module " << i << "|de|Modul " << i << "\";\n"
    << "  PROTOCOL HART;\n  CLASSIFICATION SENSOR_TEMPERATURE;\n  COMPONENT_PATH \"Modules/Group" << i % 10 << "\";\n"
    << "  COMPONENT_RELATIONS { rel_" << i << " }\n"
    << "  INITIAL_VALUES { mode_" << i << " = 1, slot_" << i << " = " << i % 8 + 1 << " }\n"
    << "  IF (mode_" << i << " == 1) { IMAGE \"on.png\"; } ELSE { IMAGE \"off.png\"; }\n}\n"
    << "COMPONENT_RELATION rel_" << i << " {\n  RELATION_TYPE CHILD_COMPONENT;\n"
    << "  COMPONENTS {\n    module_" << (i + 1) << " { MAXIMUM_NUMBER 4;\n"
    << "      REQUIRED_RANGES { slot_" << i << " { MIN_VALUE 1; MAX_VALUE 8; } } }\n  }\n"
    << "  MINIMUM_NUMBER 0;\n  MAXIMUM_NUMBER 8;\n}\n";
}

}  // namespace

std::string GenerateSource(const std::string& dir, int lines) {
  std::ostringstream o;
  for (int k = 0; k < kIncludeFiles; ++k) {
    const std::string name = "inc_" + std::to_string(k) + ".h";
    Write(dir + "/include/" + name, IncludeFile(k));
    o << "#include \"include/" << name << "\"\n";
  }
  o << "MANUFACTURER 0x00002A, DEVICE_TYPE 0x1234, DEVICE_REVISION 1, DD_REVISION 1\n";
  int written = kIncludeFiles + 1;
  for (int i = 0; written < lines; ++i) {
    std::ostringstream block;
    Block(block, i);
    const std::string text = block.str();
    for (char c : text) written += c == '\n';
    o << text;
  }
  const std::string path = dir + "/main.ddl";
  Write(path, o.str());
  return path;
}

}  // namespace zarnl::bench
