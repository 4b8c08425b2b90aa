// Time per import into a growing catalog, and beside it the floor: parsing and
// saving a catalog document of the same size with libxml2 alone (xml/document.h).
//
//   BM_ImportGrowing/1000   1,000 generated components imported one by one into an
//                           empty catalog; counters give the time per import over
//                           the first and the last hundred.
//   BM_ImportInto/N         one import into a catalog that already holds N
//                           components (the catalog grows by one per iteration).
//   BM_ParseCatalog/N, BM_SaveCatalog/N   the floor for a document of N components.
//   BM_LibraryImport/N      N generated sources imported into an empty catalog in one
//                           import batch (saved every 500); counters give the total,
//                           the time per source over the first and the last tenth and
//                           the peak resident memory.
//   BM_OpenCatalog/N        the first call on a catalog of N components (start-up,
//                           load, identification index) against BM_ParseCatalog/N.
//
// Catalogs of N components are built from one genuinely imported component: its
// manufacturer, folder and component elements are cloned with new ids, so that the
// document has the shape imports give it, without importing N components first.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "api/export_frame.h"
#include "bench/import/generated_names.h"
#include "import/import_driver.h"
#include "maintenance/log_path_records.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "xml/document.h"
#include "xml/xpath.h"
#include "zarn/catalog_manager.h"

namespace {

using zarn::Node;

using zarn::bench::Family;
using zarn::bench::Hex4;
using zarn::bench::kManufacturers;
using zarn::bench::Manufacturer;

// The component XML of generated component i (about 1 KB in the catalog), with the
// level folders marked as the converters mark them.
std::string ComponentXml(int i, const std::string& sources) {
  const std::string id = "D" + std::to_string(i);
  return "<COMP_COMPONENTXML inPath=\"" + sources + "\"><version>1</version>" +
         "<COMPONENT_FOLDER id=\"SECTION.DEVICE\" catalogLevel=\"true\"><section name=\"DEVICE\"/></COMPONENT_FOLDER>" +
         "<COMPONENT_FOLDER id=\"PROTOCOL.HART\" catalogLevel=\"true\"><PROTOCOL name=\"HART\"/></COMPONENT_FOLDER>" +
         "<COMPONENT_FOLDER id=\"CLASSIFICATION.HART.SFC\" catalogLevel=\"true\"><PROTOCOL name=\"HART\"/>" +
         "<CLASSIFICATION name=\"SENSOR_FLOW_CORIOLIS\"/></COMPONENT_FOLDER><COMPONENT id=\"" + id +
         "\"><PROTOCOL name=\"HART\"/><CLASSIFICATION name=\"SENSOR_FLOW_CORIOLIS\"/><MANUFACTURER name=\"" +
         Manufacturer(i) + "\">" + Hex4(0xf0 + i % kManufacturers) + "</MANUFACTURER><COMPONENT_PATH name=\"" +
         Manufacturer(i) + "/" + Family(i) + "/" + id + "\"/><DEVICE_TYPE>" + Hex4(i + 1) +
         "</DEVICE_TYPE><DEVICE_REVISION>0x0001</DEVICE_REVISION>" +
         "<DD_REVISION>0x0002</DD_REVISION><LABEL><string>Device " + id + "</string><string lang=\"de\">Gerät " + id +
         "</string></LABEL><HELP><string>Flow transmitter " + id +
         " for liquids and gases</string><string lang=\"de\">Durchflussmessumformer " + id +
         " für Flüssigkeiten und Gase</string></HELP><DEVICE_MANUAL>manual.pdf</DEVICE_MANUAL><IMAGE>" + id +
         ".png</IMAGE><INITIAL_VALUES><initial_value><variable_ref ref=\"tag\"/><value>TAG_" + id +
         "</value></initial_value><initial_value><variable_ref ref=\"unit\"/><value>1032</value></initial_value>"
         "<initial_value><variable_ref ref=\"damping\"/><value>0.5</value></initial_value></INITIAL_VALUES>"
         "</COMPONENT></COMP_COMPONENTXML>";
}

// A scratch working directory with the sources every component copies and the
// component XML files, one per component.
class Workspace {
 public:
  Workspace() {
    dir_ = (std::filesystem::temp_directory_path() / ("zarn_import_bench_" + std::to_string(::getpid()))).string();
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_ + "/src");
    std::filesystem::create_directories(dir_ + "/xml");
    std::string error;
    zarn::WriteFileAtomically(dir_ + "/src/device.ddl", std::string(2000, 'x'), &error);
    zarn::WriteFileAtomically(dir_ + "/src/manual.pdf", std::string(4000, 'y'), &error);
  }
  ~Workspace() { std::filesystem::remove_all(dir_); }

  static Workspace& Get() {
    static Workspace workspace;
    return workspace;
  }
  // The component XML file of component i (written on first use).
  std::string ComponentFile(int i) {
    const std::string path = dir_ + "/xml/" + std::to_string(i) + "/comp.xml";
    if (!std::filesystem::exists(path)) {
      std::filesystem::create_directories(dir_ + "/xml/" + std::to_string(i));
      std::string error;
      zarn::WriteFileAtomically(path, ComponentXml(i, dir_ + "/src/"), &error);
    }
    return path;
  }
  // A fresh working directory whose catalog holds `catalog_text` ("" for none).
  std::string FreshCatalog(const std::string& catalog_text) {
    const std::string work = dir_ + "/work";
    ZARN_ResetCatalog();
    std::filesystem::remove_all(work);
    std::filesystem::create_directories(work + "/zarn_catalog");
    std::string error;
    if (!catalog_text.empty()) {
      zarn::WriteFileAtomically(work + "/zarn_catalog/zarn_catalog_content.xml", catalog_text, &error);
    }
    ZARN_InitCatalogManager(zarn::ToUtf16(work).c_str());
    return work + "/zarn_catalog/zarn_catalog_content.xml";
  }
  const std::string& dir() const { return dir_; }

 private:
  std::string dir_;
};

uint32_t ImportOne(int i) {
  LogPathEntry* paths = nullptr;
  const std::u16string file = zarn::ToUtf16(Workspace::Get().ComponentFile(i));
  const uint32_t rc = ZARN_ImportComponent(file.c_str(), &paths, 0);
  zarn::FreeLogPathEntries(paths);
  return rc;
}

Node First(const zarn::xml::Document& doc, const std::string& xpath) {
  std::string error;
  return zarn::xml::SelectFirst(doc.AsNode(), xpath, &error);
}

void SetChildText(Node element, std::string_view name, const std::string& text) {
  if (Node child = element.FirstChildElement(name)) child.SetText(text);
}

// A catalog document of n components, cloned from one imported component.
const std::string& CatalogOfSize(int n) {
  static std::map<int, std::string> catalogs;
  if (auto it = catalogs.find(n); it != catalogs.end()) return it->second;
  Workspace& ws = Workspace::Get();
  const std::string file = ws.FreshCatalog("");
  if (ImportOne(0) != 0) std::fprintf(stderr, "seed import failed\n");
  std::string error;
  std::unique_ptr<zarn::xml::Document> doc = zarn::xml::Document::LoadFile(file, &error);
  const Node seed_manufacturer = First(*doc, "//COMPONENT_FOLDER[@id='M0']");
  Node classification = seed_manufacturer.Parent();
  const zarn::xml::OwnedNode manufacturer_template = doc->ImportNode(seed_manufacturer, true);
  const Node folder_template = First(*doc, "//COMPONENT_FOLDER[@id='Family0']");
  const Node component_template = First(*doc, "//COMPONENT[@id='D0']");
  std::map<std::string, Node> manufacturers = {{"M0", seed_manufacturer}};
  std::map<std::string, Node> folders = {{"M0/Family0", folder_template}};
  for (int i = 1; i < n; ++i) {
    const std::string m = Manufacturer(i);
    const std::string f = Family(i);
    Node& manufacturer = manufacturers[m];
    if (!manufacturer) {
      zarn::xml::OwnedNode clone = doc->ImportNode(manufacturer_template.get(), false);
      clone.get().SetAttribute("id", m);
      manufacturer = classification.AppendChild(std::move(clone));
      manufacturer.AppendElement("componentID", "D" + std::to_string(i));
    }
    Node& folder = folders[m + "/" + f];
    if (!folder) {
      zarn::xml::OwnedNode clone = doc->ImportNode(folder_template, false);
      clone.get().SetAttribute("id", f);
      folder = manufacturer.AppendChild(std::move(clone));
      folder.AppendElement("componentID", "D" + std::to_string(i));
    }
    const std::string id = "D" + std::to_string(i);
    zarn::xml::OwnedNode component = doc->ImportNode(component_template, true);
    Node c = folder.AppendChild(std::move(component));
    c.SetAttribute("id", id);
    c.SetAttribute("fsPath", "\\DEVICE\\HART\\SENSOR\\FLOW\\CORIOLIS\\" + m + "\\" + f + "\\" + id);
    SetChildText(c, "componentID", id);
    SetChildText(c, "DEVICE_TYPE", Hex4(i + 1));
    SetChildText(c, "MANUFACTURER", Hex4(0xf0 + i % kManufacturers));
  }
  return catalogs.emplace(n, doc->ToString()).first->second;
}

void BM_ImportGrowing(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  for (int i = 0; i < n; ++i) Workspace::Get().ComponentFile(i);
  double first = 0;
  double last = 0;
  for (auto _ : state) {
    Workspace::Get().FreshCatalog("");
    for (int i = 0; i < n; ++i) {
      const auto start = std::chrono::steady_clock::now();
      if (ImportOne(i) != 0) state.SkipWithError("import failed");
      const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      if (i < 100) first += ms;
      if (i >= n - 100) last += ms;
    }
  }
  state.counters["first100_ms_per_import"] = first / 100 / static_cast<double>(state.iterations());
  state.counters["last100_ms_per_import"] = last / 100 / static_cast<double>(state.iterations());
}
BENCHMARK(BM_ImportGrowing)->Arg(1000)->Iterations(1)->Unit(benchmark::kMillisecond);

// Peak resident memory since the last ResetPeakMemory, in MB (Linux; 0 elsewhere).
void ResetPeakMemory() { std::ofstream("/proc/self/clear_refs") << "5"; }
double PeakMemoryMB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return 0;
}

void BM_LibraryImport(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const int tenth = n / 10;
  for (int i = 0; i < n; ++i) Workspace::Get().ComponentFile(i);
  double first = 0;
  double last = 0;
  double total = 0;
  ResetPeakMemory();
  for (auto _ : state) {
    Workspace::Get().FreshCatalog("");
    const auto begin = std::chrono::steady_clock::now();
    if (ZARN_BeginImportBatch(0) != 0) state.SkipWithError("no batch");
    for (int i = 0; i < n; ++i) {
      const auto start = std::chrono::steady_clock::now();
      if (ImportOne(i) != 0) state.SkipWithError("import failed");
      const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
      if (i < tenth) first += ms;
      if (i >= n - tenth) last += ms;
    }
    if (ZARN_CommitImportBatch() != 0) state.SkipWithError("commit failed");
    total += std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["total_s"] = total / runs;
  state.counters["first_tenth_ms_per_source"] = first / tenth / runs;
  state.counters["last_tenth_ms_per_source"] = last / tenth / runs;
  state.counters["last_to_first"] = last / first;
  state.counters["peak_rss_MB"] = PeakMemoryMB();
}
BENCHMARK(BM_LibraryImport)->Arg(1000)->Arg(10000)->Iterations(1)->Unit(benchmark::kSecond);

void BM_OpenCatalog(benchmark::State& state) {
  const std::string& catalog = CatalogOfSize(static_cast<int>(state.range(0)));
  Workspace::Get().FreshCatalog(catalog);
  const std::u16string work = zarn::ToUtf16(Workspace::Get().dir() + "/work");
  ResetPeakMemory();
  for (auto _ : state) {
    ZARN_ResetCatalog();
    ZARN_InitCatalogManager(work.c_str());
    LogPathEntry* path = nullptr;
    // The first call that needs the document loads it.
    if (ZARN_GetLogPath(u"/DEVICE", &path, 0) != 0) state.SkipWithError("catalog not opened");
    ZARN_FreeLogPaths(path);
  }
  state.counters["catalog_MB"] = static_cast<double>(catalog.size()) / 1e6;
  state.counters["peak_rss_MB"] = PeakMemoryMB();
}
BENCHMARK(BM_OpenCatalog)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_ImportInto(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string& catalog = n > 0 ? CatalogOfSize(n) : std::string();
  const int count = 40;
  for (int i = n; i < n + count; ++i) Workspace::Get().ComponentFile(i);
  Workspace::Get().FreshCatalog(catalog);
  int next = n;
  for (auto _ : state) {
    if (next >= n + count) {
      state.PauseTiming();
      Workspace::Get().FreshCatalog(catalog);
      next = n;
      state.ResumeTiming();
    }
    if (const uint32_t rc = ImportOne(next++); rc != 0) {
      std::fprintf(stderr, "import failed: 0x%08x\n", rc);
      state.SkipWithError("import failed");
    }
  }
  state.counters["catalog_MB"] = static_cast<double>(catalog.size()) / 1e6;
}
BENCHMARK(BM_ImportInto)->Arg(0)->Arg(1000)->Arg(10000)->Iterations(30)->Unit(benchmark::kMillisecond);

void BM_ParseCatalog(benchmark::State& state) {
  const std::string& catalog = CatalogOfSize(static_cast<int>(state.range(0)));
  const std::string file = Workspace::Get().dir() + "/parse.xml";
  std::string error;
  zarn::WriteFileAtomically(file, catalog, &error);
  for (auto _ : state) {
    std::unique_ptr<zarn::xml::Document> doc = zarn::xml::Document::LoadFile(file, &error);
    benchmark::DoNotOptimize(doc.get());
  }
  state.counters["catalog_MB"] = static_cast<double>(catalog.size()) / 1e6;
}
BENCHMARK(BM_ParseCatalog)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SaveCatalog(benchmark::State& state) {
  const std::string& catalog = CatalogOfSize(static_cast<int>(state.range(0)));
  std::string error;
  std::unique_ptr<zarn::xml::Document> doc = zarn::xml::Document::LoadText(catalog, &error);
  const std::string file = Workspace::Get().dir() + "/save.xml";
  for (auto _ : state) {
    if (!doc->Save(file, &error)) state.SkipWithError("save failed");
  }
}
BENCHMARK(BM_SaveCatalog)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
