// zarn-catalog initial-value and purpose: per-component data of device variables.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

// A purpose by name or number; -1 when unknown.
int32_t ParseKind(const std::string& text, bool* ok) {
  static const char* const kNames[] = {"tag", "description", "message", "device-type"};
  for (int32_t i = 0; i < 4; ++i) {
    if (text == kNames[i]) return i;
  }
  char* end = nullptr;
  const long value = std::strtol(text.c_str(), &end, 10);
  *ok = !text.empty() && *end == '\0';
  return static_cast<int32_t>(value);
}

bool ComponentExists(const std::u16string& path) {
  LogPathEntry* entries = nullptr;
  const uint32_t rc = ZARN_GetLogPath(path.c_str(), &entries, 0);
  ZARN_FreeLogPaths(entries);
  return rc == 0;
}

int PrintValue(const Invocation& in, const char* export_name, uint32_t rc, VARIANT* v) {
  if (rc != 0) return ReportFailure(export_name, rc);
  const std::string text = TakeString(v);
  if (in.json)
    std::printf("{\"value\": %s}\n", JsonString(text).c_str());
  else
    std::printf("%s\n", text.c_str());
  return 0;
}

int RunInitialValue(const Invocation& in) {
  if (in.args.size() != 2) {
    std::fprintf(stderr, "error: initial-value takes PATH VARIABLE (see zarn-catalog initial-value --help)\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  const std::u16string path = W(in.args[0]);
  const std::u16string variable = W(in.args[1]);
  VARIANT v;
  VariantInit(&v);
  const uint32_t rc = ZARN_GetInitialValue(path.c_str(), variable.c_str(), &v);
  if (rc == ZARN_E_NO_VALUE && ComponentExists(path)) {
    // The component prescribes nothing for the variable: an empty answer.
    if (in.json) std::printf("{\"value\": null}\n");
    return 0;
  }
  return PrintValue(in, "ZARN_GetInitialValue", rc, &v);
}

int RunPurpose(const Invocation& in) {
  bool ok = true;
  const int32_t kind = in.args.size() == 2 ? ParseKind(in.args[1], &ok) : 0;
  if (in.args.size() != 2 || !ok) {
    std::fprintf(stderr, "error: purpose takes PATH KIND (see zarn-catalog purpose --help)\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  const std::u16string path = W(in.args[0]);
  VARIANT v;
  VariantInit(&v);
  return PrintValue(in, "ZARN_GetPurposeMapping", ZARN_GetPurposeMapping(path.c_str(), kind, &v), &v);
}

}  // namespace

ZARN_CLI_COMMAND(initial_value, "initial-value", "Queries",
                 "initial value of a device variable of a component, in the catalog language",
                 "PATH VARIABLE\n\n"
                 "  PATH       component path\n"
                 "  VARIABLE   the variable reference (the ref of the initial value's first child)\n"
                 "Prints nothing (exit 0) when the component prescribes no value for VARIABLE.",
                 RunInitialValue);
ZARN_CLI_COMMAND(purpose, "purpose", "Queries", "variable that a component maps to a purpose",
                 "PATH KIND\n\n"
                 "  PATH   component path\n"
                 "  KIND   tag (0), description (1), message (2), device-type (3), or any number",
                 RunPurpose);

}  // namespace zarn::cli
