// Lines per second of the preprocessor and of the whole compilation for sources
// of about 10,000 and 100,000 lines, and the time of `cpp -P` on the same files.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <sys/resource.h>
#include <sys/time.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "bench/compiler/source_generator.h"
#include "libs/compiler/compiler.h"

namespace {

struct Source {
  std::string path;
  int lines = 0;  // lines of the main file and its includes, as preprocessed
};

// One generated source per size, kept for the whole run.
const Source& SourceOfSize(int lines) {
  static std::map<int, Source> sources;
  auto it = sources.find(lines);
  if (it != sources.end()) return it->second;
  const std::string dir = (std::filesystem::temp_directory_path() / ("zarnl_bench_" + std::to_string(lines))).string();
  std::filesystem::remove_all(dir);
  Source s;
  s.path = zarnl::bench::GenerateSource(dir, lines);
  s.lines = static_cast<int>(zarnl::Preprocess(s.path, {}).output.lines.size());
  return sources.emplace(lines, s).first->second;
}

void SetLines(benchmark::State& state, const Source& s) {
  state.counters["lines"] = s.lines;
  state.counters["lines/s"] =
      benchmark::Counter(static_cast<double>(s.lines), benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Preprocess(benchmark::State& state) {
  const Source& s = SourceOfSize(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    zarnl::PreprocessResult r = zarnl::Preprocess(s.path, {});
    if (!r.ok) state.SkipWithError("preprocessing failed");
    benchmark::DoNotOptimize(r.output.lines.data());
  }
  SetLines(state, s);
}

void BM_Compile(benchmark::State& state) {
  const Source& s = SourceOfSize(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    zarnl::CompileResult r = zarnl::Compile(s.path, {}, nullptr);
    if (!r.ok) state.SkipWithError("compilation failed");
    benchmark::DoNotOptimize(r.device_xml.data());
  }
  SetLines(state, s);
}

double ChildrenCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The floor: the system's C preprocessor run as a subprocess on the same file.
// The time taken is the processor time of the subprocess (the shell and cpp), so
// that it compares with the processor time of the benchmarks above on a busy
// machine; the wall time of each run is reported as the counter wall_ms.
void BM_CppFloor(benchmark::State& state) {
  const Source& s = SourceOfSize(static_cast<int>(state.range(0)));
  const std::string command = "cpp -P " + s.path + " -o /dev/null 2>/dev/null";
  double wall = 0;
  for (auto _ : state) {
    const double before = ChildrenCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    if (std::system(command.c_str()) != 0) state.SkipWithError("cpp failed");
    wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.SetIterationTime(ChildrenCpuSeconds() - before);
  }
  state.counters["wall_ms"] = benchmark::Counter(wall * 1000, benchmark::Counter::kAvgIterations);
  SetLines(state, s);
}

// Processor time, not wall time: the machine these run on is shared.
BENCHMARK(BM_Preprocess)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Compile)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CppFloor)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

// glibc returns large freed blocks to the system and serves blocks above 32 MB
// with fresh pages, so a size whose buffers pass that limit pays page faults in
// every iteration while a smaller size reuses its warm heap. Keeping freed memory
// in the heap gives every size the same conditions (pass --default-allocator to
// measure without this).
int main(int argc, char** argv) {
  bool default_allocator = false;
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--default-allocator") default_allocator = true;
  }
  if (!default_allocator) {
    mallopt(M_MMAP_THRESHOLD, 512 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
  }
  std::vector<char*> args;
  for (int i = 0; i < argc; ++i) {
    if (std::string(argv[i]) != "--default-allocator") args.push_back(argv[i]);
  }
  int count = static_cast<int>(args.size());
  benchmark::Initialize(&count, args.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
