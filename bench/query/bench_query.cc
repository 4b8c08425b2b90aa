// Log paths, short names and initial values on a catalog of 10,000 components,
// through the exports as a host calls them.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/query/catalog_generator.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn::bench {
namespace {

constexpr int kComponents = 10000;

// Writes the generated catalog into a scratch working directory once and loads it.
class Catalog {
 public:
  static Catalog& Instance() {
    static Catalog catalog;
    return catalog;
  }
  ~Catalog() {
    ZARN_ResetCatalog();
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

 private:
  Catalog() {
    char pattern[] = "/tmp/zarn_bench_query_XXXXXX";
    dir_ = mkdtemp(pattern) != nullptr ? pattern : "/tmp";
    std::filesystem::create_directories(dir_ + "/zarn_catalog");
    std::ofstream(dir_ + "/zarn_catalog/zarn_catalog_content.xml") << GenerateCatalog(kComponents);
    ZARN_InitCatalogManager(ToUtf16(dir_).c_str());
    VARIANT v;
    VariantInit(&v);
    if (ZARN_GetCatalogMangerInitialisation(&v) != 0) std::fprintf(stderr, "catalog did not load\n");
    VariantClear(&v);
  }
  std::string dir_;
};

// Counts the entries and releases the list.
int64_t Consume(LogPathEntry* head) {
  int64_t n = 0;
  for (const LogPathEntry* e = head; e != nullptr; e = e->next) ++n;
  if (head != nullptr) ZARN_FreeLogPaths(head);
  return n;
}

void LogPaths(benchmark::State& state, const std::string& path, int32_t mode, uint8_t texts) {
  Catalog::Instance();
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
void BM_LogPathsChildrenOfClassification(benchmark::State& state) {
  LogPaths(state, "/DEVICE/PROFIBUS/CLASS2", 1, 0);
}
void BM_LogPathsChildrenOfComponent(benchmark::State& state) { LogPaths(state, ComponentPath(4321, kComponents), 1, 0); }
void BM_LogPathOfComponentWithTexts(benchmark::State& state) { LogPaths(state, ComponentPath(4321, kComponents), 2, 1); }
void BM_LogPathOfReferredComponent(benchmark::State& state) { LogPaths(state, ComponentPath(4300, kComponents), 2, 0); }
void BM_LogPathsAllComponents(benchmark::State& state) { LogPaths(state, "/", 0, 0); }

void Text(benchmark::State& state, uint32_t (*fn)(const char16_t*, VARIANT*), const std::string& in) {
  Catalog::Instance();
  const std::u16string wide = ToUtf16(in);
  for (auto _ : state) {
    VARIANT v;
    VariantInit(&v);
    benchmark::DoNotOptimize(fn(wide.c_str(), &v));
    VariantClear(&v);
  }
}

void BM_CotName(benchmark::State& state) {
  Text(state, &ZARN_GetCotNameFromComponentPath, ComponentPath(4321, kComponents));
}
void BM_PathFromCotName(benchmark::State& state) {
  Text(state, &ZARN_GetComponentPathFromCotName, "\\FOLDER2\\C04321");
}

void BM_InitialValue(benchmark::State& state) {
  Catalog::Instance();
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
  Catalog::Instance();
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
  Catalog::Instance();
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
BENCHMARK(BM_LogPathsAllComponents)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CotName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PathFromCotName)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InitialValue)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PurposeMapping)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComponentAttribute)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zarn::bench

BENCHMARK_MAIN();
