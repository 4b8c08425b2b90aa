// zarn-catalog init, info and set-language.
#include <cstdio>
#include <filesystem>

#include "cli/command.h"
#include "catalog/shipped_data.h"
#include "platform/paths.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {
namespace fs = std::filesystem;

// Opens the catalog and prints its directory after `caption` (or as JSON).
int PrintCatalogDirectory(const Invocation& in, const char* caption) {
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  VARIANT dir;
  VariantInit(&dir);
  if (const uint32_t rc = ZARN_GetCatalogMangerInitialisation(&dir); rc != 0) {
    return ReportFailure("ZARN_GetCatalogMangerInitialisation", rc);
  }
  const std::string path = TakeString(&dir);
  if (in.json) {
    std::printf("{\"catalogDirectory\": %s}\n", JsonString(path).c_str());
  } else {
    std::printf("%s: %s\n", caption, path.c_str());
  }
  return 0;
}

// The catalog manager lays out the data files a working directory lacks when it
// starts; --force first removes them, so that fresh copies replace edited ones.
int Init(const Invocation& in) {
  const std::string catalog = JoinPath(in.workdir, "zarn_catalog");
  std::error_code ec;
  fs::create_directories(in.workdir, ec);
  if (in.HasOption("force")) {
    for (std::string_view file : ShippedDataFiles()) fs::remove(fs::path(catalog) / file, ec);
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  VARIANT dir;  // the first call that needs the catalog starts it
  VariantInit(&dir);
  const uint32_t rc = ZARN_GetCatalogMangerInitialisation(&dir);
  VariantClear(&dir);
  if (rc != 0) return ReportFailure("ZARN_GetCatalogMangerInitialisation", rc);
  for (std::string_view file : ShippedDataFiles()) {
    if (!fs::exists(fs::path(catalog) / file, ec)) {
      std::fprintf(stderr,
                   "error: cannot lay out %s/%s: the catalog manager has no shipped copy of it "
                   "(--trace - shows where it looked)\n",
                   catalog.c_str(), std::string(file).c_str());
      return kExitFailure;
    }
  }
  return PrintCatalogDirectory(in, "working directory laid out");
}

int Info(const Invocation& in) { return PrintCatalogDirectory(in, "catalog directory"); }

int SetLanguage(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "usage: zarn-catalog set-language CODE\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  const std::u16string lang = W(in.args[0]);
  if (const uint32_t rc = ZARN_SetCatalogLanguage(lang.c_str()); rc != 0) {
    return ReportFailure("ZARN_SetCatalogLanguage", rc);
  }
  if (in.json) {
    std::printf("{\"language\": %s}\n", JsonString(in.args[0]).c_str());
  } else {
    std::printf("language set to %s for this session (other commands take --lang)\n", in.args[0].c_str());
  }
  return 0;
}

}  // namespace

ZARN_CLI_COMMAND(
    init, "init", "Catalog", "lay out a working directory (zarn_catalog/ with its data files)",
    "[--force]\n  Data files already there are kept (edits too); --force replaces them with the shipped ones.", Init,
    {"force"});
ZARN_CLI_COMMAND(info, "info", "Catalog", "initialise the catalog and print its directory", "", Info);
ZARN_CLI_COMMAND(set_language, "set-language", "Catalog", "set the language of texts (ZARN_SetCatalogLanguage)", "CODE",
                 SetLanguage);

}  // namespace zarn::cli
