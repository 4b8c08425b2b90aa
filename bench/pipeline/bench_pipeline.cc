// ZARN_GetComponents on a generated library of 500 device-description sources, one
// call per source: sources per second. A second run times the three stages of one
// conversion (compile, stylesheet, reading the component XML) to give their shares.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "api/export_frame.h"
#include "conversion/conversion.h"
#include "external/compiler_library.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

namespace fs = std::filesystem;
constexpr int kSources = 500;

std::string SourceText(int n) {
  char header[160];
  std::snprintf(header, sizeof header, "MANUFACTURER 0x00F1, DEVICE_TYPE 0x%04X, DEVICE_REVISION %d, DD_REVISION 1\n",
                0x1000 + n, 1 + n % 7);
  std::string s = header;
  for (int v = 0; v < 12; ++v) {
    s += "VARIABLE var" + std::to_string(v) + " { LABEL \"|en|Value " + std::to_string(v) + "|de|Wert " +
         std::to_string(v) +
         "\"; HELP \"Help\"; CLASS CONTAINED; TYPE FLOAT { DEFAULT_VALUE 1.0; MIN_VALUE 0; "
         "MAX_VALUE 100; } HANDLING READ & WRITE; }\n";
  }
  s += "MENU main { LABEL \"Main\"; ITEMS { var0, var1 } }\n";
  s += "COMPONENT_RELATION rel { RELATION_TYPE CHILD_COMPONENT; COMPONENTS { dev" + std::to_string(n) +
       " { MINIMUM_NUMBER 0; MAXIMUM_NUMBER 2; } } }\n";
  s += "COMPONENT dev" + std::to_string(n) + " { LABEL \"|en|Device " + std::to_string(n) + "|de|Geraet " +
       std::to_string(n) +
       "\"; HELP \"A generated device\"; PROTOCOL HART; CLASSIFICATION SENSOR_PRESSURE; "
       "COMPONENT_PATH \"Generated/Group" +
       std::to_string(n % 10) +
       "\"; COMPONENT_RELATIONS { rel } "
       "INITIAL_VALUES { var0 = 5, var1 = 7 } PURPOSE_MAPPING { var2 PURPOSE_TAG } }\n";
  return s;
}

// A working directory with a catalog and the generated sources, made once.
struct Library {
  std::string work;
  std::vector<std::string> sources;

  Library() {
    char pattern[] = "/tmp/zarn_bench_pipeline_XXXXXX";
    work = mkdtemp(pattern);
    const char* env = std::getenv("ZARN_SOURCE_DIR");
    const std::string source_dir = env != nullptr ? env : ZARN_SOURCE_DIR_DEFAULT;
    fs::create_directories(work + "/zarn_catalog/catalogData");
    fs::copy(source_dir + "/data/catalogData", work + "/zarn_catalog/catalogData",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    for (int n = 0; n < kSources; ++n) {
      const std::string path = work + "/lib/group" + std::to_string(n % 10) + "/dev" + std::to_string(n) + ".ddl";
      fs::create_directories(fs::path(path).parent_path());
      std::ofstream(path) << SourceText(n);
      sources.push_back(path);
    }
    ZARN_InitCatalogManager(ToUtf16(work).c_str());
  }
  ~Library() {
    CatalogModule::Instance().Shutdown();
    std::error_code ec;
    fs::remove_all(work, ec);
  }
};

Library& TheLibrary() {
  static Library library;
  return library;
}

void BM_GetComponents(benchmark::State& state) {
  if (!CompilerLibrary::Instance().available()) {
    state.SkipWithError("the compiler library is not in the bin directory");
    return;
  }
  Library& library = TheLibrary();
  size_t records = 0;
  for (auto _ : state) {
    for (const std::string& source : library.sources) {
      ComponentXMLInfo* list = nullptr;
      if (ZARN_GetComponents(ToUtf16(source).c_str(), &list, nullptr) != 0) {
        state.SkipWithError(("conversion failed: " + source).c_str());
        return;
      }
      for (const ComponentXMLInfo* r = list; r != nullptr; r = r->next) ++records;
      ZARN_FreeComponentXMLInfo(list);
    }
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kSources);
  state.counters["records_per_source"] = static_cast<double>(records) / (state.iterations() * kSources);
}
BENCHMARK(BM_GetComponents)->Unit(benchmark::kMillisecond)->Iterations(1);

// CPU time of this thread in seconds: the stage shares must not depend on what else
// the machine is running.
double CpuSeconds() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The three stages of ZARN_GetComponents' file branch, timed apart (wall and CPU).
void BM_PipelineStages(benchmark::State& state) {
  if (!CompilerLibrary::Instance().available()) {
    state.SkipWithError("the compiler library is not in the bin directory");
    return;
  }
  Library& library = TheLibrary();
  CCatalog_Contents* catalog = CatalogModule::Instance().Catalog();
  using Clock = std::chrono::steady_clock;
  double compile = 0, transform = 0, read = 0;
  double compileCpu = 0, transformCpu = 0, readCpu = 0;
  const std::string out = library.work + "/stages";
  fs::create_directories(out);
  for (auto _ : state) {
    Cconversion conversion(catalog->stylesheetPath(), catalog->baseDirectory());
    for (const std::string& source : library.sources) {
      const std::string base = JoinPath(out, FileNamePart(source));
      const auto t0 = Clock::now();
      const double c0 = CpuSeconds();
      conversion.Compile(source, base);
      const auto t1 = Clock::now();
      const double c1 = CpuSeconds();
      const std::string device = conversion.MakeDeviceXmlName(base);
      conversion.transformZARNXml(device);
      const auto t2 = Clock::now();
      const double c2 = CpuSeconds();
      conversion.AddComponentsFromXml(&catalog->manufacturerNamesById(), catalog->deviceConfigurationFile(),
                                      Cconversion::MakeComponentXmlName(device), "");
      const auto t3 = Clock::now();
      const double c3 = CpuSeconds();
      compileCpu += c1 - c0;
      transformCpu += c2 - c1;
      readCpu += c3 - c2;
      compile += std::chrono::duration<double>(t1 - t0).count();
      transform += std::chrono::duration<double>(t2 - t1).count();
      read += std::chrono::duration<double>(t3 - t2).count();
    }
  }
  const double total = compile + transform + read;
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kSources);
  state.counters["compile_pct"] = 100.0 * compile / total;
  state.counters["stylesheet_pct"] = 100.0 * transform / total;
  state.counters["read_pct"] = 100.0 * read / total;
  const double cpu = compileCpu + transformCpu + readCpu;
  state.counters["compile_cpu_pct"] = 100.0 * compileCpu / cpu;
  state.counters["stylesheet_cpu_pct"] = 100.0 * transformCpu / cpu;
  state.counters["read_cpu_pct"] = 100.0 * readCpu / cpu;
}
BENCHMARK(BM_PipelineStages)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
}  // namespace zarn

BENCHMARK_MAIN();
