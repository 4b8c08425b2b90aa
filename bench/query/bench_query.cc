// Log paths, short names and initial values on generated catalogs, through the
// exports as a host calls them: most on 10,000 components, the short names and the
// log paths of all components also on 1,000 (the benchmark's argument).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

#include "bench/query/catalog_generator.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn::bench {
namespace {

constexpr int kComponents = 10000;

// The generated catalogs, each written once into a scratch working directory; the
// catalog manager holds one of them at a time.
class Catalog {
 public:
  // Makes the catalog of `components` components the loaded one.
  static void Use(int components) { Instance().Load(components, false); }
  // Loads it again from its file (the lookup tables start empty).
  static void Reload(int components) { Instance().Load(components, true); }

  ~Catalog() {
    ZARN_ResetCatalog();
    std::error_code ec;
    for (const auto& [size, dir] : dirs_) std::filesystem::remove_all(dir, ec);
  }

 private:
  static Catalog& Instance() {
    static Catalog catalog;
    return catalog;
  }

  void Load(int components, bool again) {
    if (components == loaded_ && !again) return;
    ZARN_ResetCatalog();
    ZARN_InitCatalogManager(ToUtf16(Directory(components)).c_str());
    VARIANT v;
    VariantInit(&v);
    if (ZARN_GetCatalogMangerInitialisation(&v) != 0) std::fprintf(stderr, "catalog did not load\n");
    VariantClear(&v);
    loaded_ = components;
  }

  const std::string& Directory(int components) {
    std::string& dir = dirs_[components];
    if (!dir.empty()) return dir;
    char pattern[] = "/tmp/zarn_bench_query_XXXXXX";
    dir = mkdtemp(pattern) != nullptr ? pattern : "/tmp";
    std::filesystem::create_directories(dir + "/zarn_catalog");
    std::ofstream(dir + "/zarn_catalog/zarn_catalog_content.xml") << GenerateCatalog(components);
    return dir;
  }

  std::map<int, std::string> dirs_;
  int loaded_ = 0;
};

// The component the single-component benchmarks ask for: number 4321 of 10,000, at
// the same place in a smaller catalog.
int Probe(int components) { return static_cast<int>(static_cast<int64_t>(components) * 4321 / kComponents); }

// Counts the entries and releases the list.
int64_t Consume(LogPathEntry* head) {
  int64_t n = 0;
  for (const LogPathEntry* e = head; e != nullptr; e = e->next) ++n;
  if (head != nullptr) ZARN_FreeLogPaths(head);
  return n;
}

void LogPaths(benchmark::State& state, const std::string& path, int32_t mode, uint8_t texts,
              int components = kComponents) {
  Catalog::Use(components);
  const std::u16string wide = ToUtf16(path);
  int64_t entries = 0;
  for (auto _ : state) {
    LogPathEntry* head = nullptr;
    ZARN_GetLogPaths(wide.c_str(), &head, texts, mode);
    entries = Consume(head);
  }
  state.counters["entries"] = static_cast<double>(entries);
}

void BM_LogPathsChildrenOfRoot(benchmark::State& state) { LogPaths(state, "/", 1, 0); }
void BM_LogPathsChildrenOfClassification(benchmark::State& state) { LogPaths(state, "/DEVICE/PROFIBUS/CLASS2", 1, 0); }
void BM_LogPathsChildrenOfComponent(benchmark::State& state) {
  LogPaths(state, ComponentPath(4321, kComponents), 1, 0);
}
void BM_LogPathOfComponentWithTexts(benchmark::State& state) {
  LogPaths(state, ComponentPath(4321, kComponents), 2, 1);
}
void BM_LogPathOfReferredComponent(benchmark::State& state) { LogPaths(state, ComponentPath(4300, kComponents), 2, 0); }
void BM_LogPathsAllComponents(benchmark::State& state) { LogPaths(state, "/", 0, 0, static_cast<int>(state.range(0))); }

// Calls one of the short-name exports; the answer must not be empty.
void Text(benchmark::State& state, uint32_t (*fn)(const char16_t*, VARIANT*), const std::string& in) {
  const std::u16string wide = ToUtf16(in);
  VARIANT probe;
  VariantInit(&probe);
  if (fn(wide.c_str(), &probe) != 0) state.SkipWithError("no answer");
  VariantClear(&probe);
  for (auto _ : state) {
    VARIANT v;
    VariantInit(&v);
    benchmark::DoNotOptimize(fn(wide.c_str(), &v));
    VariantClear(&v);
  }
}

void BM_CotName(benchmark::State& state) {
  const int components = static_cast<int>(state.range(0));
  Catalog::Use(components);
  Text(state, &ZARN_GetCotNameFromComponentPath, ComponentPath(Probe(components), components));
}
void BM_PathFromCotName(benchmark::State& state) {
  const int components = static_cast<int>(state.range(0));
  Catalog::Use(components);
  Text(state, &ZARN_GetComponentPathFromCotName, CotName(Probe(components), components));
}
// The first lookup after a load, which builds the index of the ids.
void BM_PathFromCotNameAfterLoad(benchmark::State& state) {
  const int components = static_cast<int>(state.range(0));
  const std::u16string cot = ToUtf16(CotName(Probe(components), components));
  for (auto _ : state) {
    state.PauseTiming();
    Catalog::Reload(components);
    state.ResumeTiming();
    VARIANT v;
    VariantInit(&v);
    benchmark::DoNotOptimize(ZARN_GetComponentPathFromCotName(cot.c_str(), &v));
    VariantClear(&v);
  }
}

void BM_InitialValue(benchmark::State& state) {
  Catalog::Use(kComponents);
  const std::u16string path = ToUtf16(ComponentPath(4321, kComponents));
  for (auto _ : state) {
    VARIANT v;
    VariantInit(&v);
    benchmark::DoNotOptimize(ZARN_GetInitialValue(path.c_str(), u"var3", &v));
    VariantClear(&v);
  }
}

// mode 0: the values of the element and of every level above it; mode 2: one named child.
void BM_ComponentAttribute(benchmark::State& state) {
  Catalog::Use(kComponents);
  const std::u16string path = ToUtf16(ComponentPath(4321, kComponents));
  const char16_t* name = state.range(0) == 0 ? u"MANUFACTURER" : u"DEVICE_TYPE";
  VARIANT probe;
  VariantInit(&probe);
  if (ZARN_GetComponentAttribute(path.c_str(), name, &probe, static_cast<int32_t>(state.range(0))) != 0) {
    state.SkipWithError("the attribute is not found");
  }
  VariantClear(&probe);
  for (auto _ : state) {
    VARIANT v;
    VariantInit(&v);
    benchmark::DoNotOptimize(ZARN_GetComponentAttribute(path.c_str(), name, &v, static_cast<int32_t>(state.range(0))));
    VariantClear(&v);
  }
}

void BM_PurposeMapping(benchmark::State& state) {
  Catalog::Use(kComponents);
  const std::u16string path = ToUtf16(ComponentPath(4321, kComponents));
  for (auto _ : state) {
    VARIANT v;
    VariantInit(&v);
    benchmark::DoNotOptimize(ZARN_GetPurposeMapping(path.c_str(), ZARN_PURPOSE_DESCRIPTION, &v));
    VariantClear(&v);
  }
}

BENCHMARK(BM_LogPathsChildrenOfRoot)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogPathsChildrenOfClassification)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogPathsChildrenOfComponent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogPathOfComponentWithTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogPathOfReferredComponent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LogPathsAllComponents)->Arg(1000)->Arg(kComponents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CotName)->Arg(1000)->Arg(kComponents)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PathFromCotName)->Arg(1000)->Arg(kComponents)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PathFromCotNameAfterLoad)->Arg(1000)->Arg(kComponents)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InitialValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PurposeMapping)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComponentAttribute)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zarn::bench

BENCHMARK_MAIN();
