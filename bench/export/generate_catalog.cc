// Writes the generated catalog of the query benchmarks into a working directory.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/query/catalog_generator.h"

int main(int argc, char** argv) {
  const bool all_fit = argc == 4 && std::string(argv[3]) == "--all-fit";
  if (argc != 3 && !all_fit) {
    std::fprintf(stderr, "usage: zarn_generate_catalog COMPONENTS WORKDIR [--all-fit]\n");
    return 2;
  }
  const int components = std::atoi(argv[1]);
  const std::filesystem::path directory = std::filesystem::path(argv[2]) / "zarn_catalog";
  std::filesystem::create_directories(directory);
  std::ofstream out(directory / "zarn_catalog_content.xml", std::ios::binary);
  out << zarn::bench::GenerateCatalog(components, all_fit);
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", (directory / "zarn_catalog_content.xml").c_str());
    return 1;
  }
  std::printf("%d components in %s\n", components, directory.c_str());
  return 0;
}
