// zarn-catalog cot-name and path-from-cot: short (COT) names of catalog elements.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

// Runs one of the two conversions and prints its text.
int Convert(const Invocation& in, const char* command, const char* export_name, const char* key,
            uint32_t (*fn)(const char16_t*, VARIANT*)) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "error: %s takes one argument (see zarn-catalog %s --help)\n", command, command);
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  const std::u16string arg = W(in.args[0]);
  VARIANT v;
  VariantInit(&v);
  const uint32_t rc = fn(arg.c_str(), &v);
  const std::string text = TakeString(&v);  // written even on failure
  if (rc == ZARN_RESULT_MINUS_ONE) {
    std::fprintf(stderr, "error: no single element matches %s\n", in.args[0].c_str());
    return 1;
  }
  if (rc != 0) return ReportFailure(export_name, rc);
  if (in.json)
    std::printf("{\"%s\": %s}\n", key, JsonString(text).c_str());
  else
    std::printf("%s\n", text.c_str());
  return 0;
}

int RunCotName(const Invocation& in) {
  return Convert(in, "cot-name", "ZARN_GetCotNameFromComponentPath", "cotName", &ZARN_GetCotNameFromComponentPath);
}

int RunPathFromCot(const Invocation& in) {
  return Convert(in, "path-from-cot", "ZARN_GetComponentPathFromCotName", "componentPath",
                 &ZARN_GetComponentPathFromCotName);
}

}  // namespace

ZARN_CLI_COMMAND(cot_name, "cot-name", "Queries", "short (COT) name of a catalog element",
                 "PATH\n\n  PATH   component path, for example /DEVICE/PROFIBUS/SENSOR/M/F/C (gives \\F\\C)",
                 RunCotName);
ZARN_CLI_COMMAND(path_from_cot, "path-from-cot", "Queries", "component path of the element with a COT name",
                 "NAME\n\n  NAME   COT name, for example \\F\\C (quote the backslashes in a shell)", RunPathFromCot);

}  // namespace zarn::cli
