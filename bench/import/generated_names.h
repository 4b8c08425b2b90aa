// Names of the generated components that bench_import and component_xml_gen share:
// component i belongs to one of 20 manufacturers and, within it, to one of 25 families.
#ifndef ZARN_BENCH_IMPORT_GENERATED_NAMES_H_
#define ZARN_BENCH_IMPORT_GENERATED_NAMES_H_

#include <cstdio>
#include <string>

namespace zarn::bench {

inline constexpr int kManufacturers = 20;
inline constexpr int kFamilies = 25;

// "0x%04x" of the low 16 bits, the form identification numbers take in the catalog.
inline std::string Hex4(int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%04x", value & 0xffff);
  return buffer;
}

inline std::string Manufacturer(int i) { return "M" + std::to_string(i % kManufacturers); }
inline std::string Family(int i) { return "Family" + std::to_string((i / kManufacturers) % kFamilies); }

}  // namespace zarn::bench

#endif  // ZARN_BENCH_IMPORT_GENERATED_NAMES_H_
