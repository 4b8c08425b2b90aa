// Fuzzes the import of a component XML document: reading, placement, insertion,
// the copy of the component's files, the save, and the rollback of a failed
// import. Everything happens in a scratch directory of this process: the catalog's
// working and temporary directories and a source directory that holds the input
// as dev.ddl_comp.xml beside its source dev.ddl. After each import the catalog
// checker runs over the catalog; a broken promise aborts, so it shows as a crash.
// Between runs the catalog starts again from an empty working directory. "@SRC@"
// in the input stands for the source directory.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "catalog/catalog_contents.h"
#include "conversion/component_xml_reader.h"
#include "import/import_driver.h"
#include "maintenance/catalog_check.h"
#include "maintenance/log_path_records.h"
#include "platform/paths.h"

namespace {

namespace fs = std::filesystem;

struct Scratch {
  std::string root;
  std::string work;
  std::string source;
  std::string input;
};

uint32_t NoCompile(const std::string&) { return 0; }

void WriteFile(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

const Scratch& Directories() {
  static const Scratch scratch = [] {
    Scratch s;
    s.root = zarn::JoinPath(zarn::TempDirectory(), "zarn_fuzz_component_xml_" + std::to_string(getpid()));
    s.work = zarn::JoinPath(s.root, "work");
    s.source = zarn::JoinPath(s.root, "src");
    s.input = zarn::JoinPath(s.source, "dev.ddl_comp.xml");
    std::error_code ec;
    fs::remove_all(s.root, ec);
    fs::create_directories(s.work, ec);
    fs::create_directories(s.source, ec);
    fs::create_directories(zarn::JoinPath(s.root, "tmp"), ec);
    // The catalog's temporary directory lies in the scratch directory too.
    setenv("TEMP", zarn::JoinPath(s.root, "tmp").c_str(), 1);
    unsetenv("ZARN_SETTINGS");
    WriteFile(zarn::JoinPath(s.source, "dev.ddl"), "not a device description", 24);
    WriteFile(zarn::JoinPath(s.source, "manual.txt"), "manual", 6);
    zarn::SetCompileAfterImportHookForTesting(&NoCompile);
    return s;
  }();
  return scratch;
}

// An input whose source directory (inPath) lies outside the scratch directory
// would copy files from there: it is not imported.
bool SourcesInside(const Scratch& s) {
  zarn::ComponentXmlReader reader(nullptr, false);
  if (reader.Load(s.input) != 0) return true;
  reader.Read(s.input);
  const std::string& in_path = reader.InPath();
  return in_path.empty() || (in_path[0] == '/' && zarn::IsPathInside(s.root, in_path));
}

// The promises listed in ZARN_FUZZ_KNOWN ("5,3") are findings already reported:
// their violations are printed once and do not abort, so the run goes on past them.
bool Known(zarn::Invariant invariant) {
  static const std::string known = [] {
    const char* text = std::getenv("ZARN_FUZZ_KNOWN");
    return "," + std::string(text != nullptr ? text : "") + ",";
  }();
  return known.find("," + std::to_string(static_cast<int>(invariant)) + ",") != std::string::npos;
}

void CheckOrAbort(const zarn::CCatalog_Contents& catalog) {
  const zarn::CatalogCheckResult result = zarn::CheckCatalog(catalog);
  static bool known_printed = false;
  bool fatal = false;
  for (const zarn::CatalogViolation& v : result.violations) {
    if (!Known(v.invariant)) fatal = true;
  }
  if (!fatal && (known_printed || result.sound())) return;
  known_printed = true;
  for (const zarn::CatalogViolation& v : result.violations) {
    std::fprintf(stderr, "violation %d (%s) at %s, %s: %s\n", static_cast<int>(v.invariant),
                 std::string(zarn::InvariantName(v.invariant)).c_str(), v.path.c_str(), v.subject.c_str(),
                 v.message.c_str());
  }
  if (!fatal) return;
  if (catalog.root()) std::fprintf(stderr, "%s\n", catalog.root().OuterXml().c_str());
  abort();
}

// Empties the working directory but for what the catalog lays out at start-up.
void ResetWorkingDirectory(const Scratch& s, const std::string& catalog_directory) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(catalog_directory, ec)) {
    const std::string name = entry.path().filename().string();
    if (name == "catalogData" || name == "Device") continue;
    fs::remove_all(entry.path(), ec);
  }
  for (const auto& entry : fs::directory_iterator(s.work, ec)) {
    if (entry.path() != fs::path(catalog_directory)) fs::remove_all(entry.path(), ec);
  }
  fs::remove_all(zarn::JoinPath(s.root, "tmp"), ec);
  fs::create_directories(zarn::JoinPath(s.root, "tmp"), ec);
}

// The input with each "@SRC@" replaced by the source directory, so that a seed can
// name it in inPath although its place depends on the process.
std::string WithSourceDirectory(const Scratch& s, const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  constexpr std::string_view kMarker = "@SRC@";
  for (size_t at = text.find(kMarker); at != std::string::npos; at = text.find(kMarker, at + s.source.size())) {
    text.replace(at, kMarker.size(), s.source);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const Scratch& s = Directories();
  const std::string text = WithSourceDirectory(s, data, size);
  WriteFile(s.input, text.data(), text.size());
  if (!SourcesInside(s)) return 0;
  auto catalog = std::make_unique<zarn::CCatalog_Contents>();
  if (catalog->initialize(s.work) != 0) abort();
  LogPathEntry* log_paths = nullptr;
  zarn::ImportComponent(*catalog, s.input, zarn::kImportModeImport, &log_paths);
  zarn::FreeLogPathEntries(log_paths);
  CheckOrAbort(*catalog);
  const std::string catalog_directory = catalog->catalogDirectory();
  catalog.reset();
  ResetWorkingDirectory(s, catalog_directory);
  return 0;
}
