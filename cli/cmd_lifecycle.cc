// zarn-catalog init, info and set-language.
#include <cstdio>
#include <filesystem>

#include "cli/command.h"
#include "platform/dynlib.h"
#include "platform/paths.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {
namespace fs = std::filesystem;

// Shipped data lies in data/ beside the program (copied there by the build).
std::string ShippedData(const std::string& relative) {
  return JoinPath(JoinPath(ParentDirectory(fs::read_symlink("/proc/self/exe").string()), "data"), relative);
}

bool CopyTree(const std::string& from, const std::string& to) {
  std::error_code ec;
  fs::create_directories(to, ec);
  if (ec) return false;
  fs::copy(from, to, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
  return !ec;
}

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

int Init(const Invocation& in) {
  const std::string catalog = JoinPath(in.workdir, "zarn_catalog");
  if (!CopyTree(ShippedData("catalogData"), JoinPath(catalog, "catalogData")) ||
      !CopyTree(ShippedData("Device"), JoinPath(catalog, "Device"))) {
    std::fprintf(stderr, "error: cannot lay out %s (shipped data in %s)\n", catalog.c_str(),
                 ShippedData("").c_str());
    return 1;
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

ZARN_CLI_COMMAND(init, "init", "Catalog", "lay out a working directory (zarn_catalog/ with its data files)", "", Init);
ZARN_CLI_COMMAND(info, "info", "Catalog", "initialise the catalog and print its directory", "", Info);
ZARN_CLI_COMMAND(set_language, "set-language", "Catalog", "set the language of texts (ZARN_SetCatalogLanguage)",
                 "CODE", SetLanguage);

}  // namespace zarn::cli
