// zarn-catalog replace FILE: converts FILE (a source, or a component XML file) as a
// host does and imports it, replacing the catalog's component of the same identity
// when there is one.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

int RunReplace(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "error: replace takes one source or component XML file (see zarn-catalog replace --help)\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  uint32_t converted = 0;
  const std::u16string component_xml = ConvertedComponentXml(in.args[0], &converted);
  if (converted != 0) return ReportFailure("ZARN_GetComponents", converted);
  VARIANT deleted;
  VARIANT referencing;
  VariantInit(&deleted);
  VariantInit(&referencing);
  LogPathEntry* paths = nullptr;
  const uint32_t rc = ZARN_ReplaceComponent(component_xml.c_str(), &deleted, &referencing, &paths);
  const std::string gone = TakeString(&deleted);
  const std::string refs = TakeString(&referencing);
  std::string imported;
  for (const LogPathEntry* e = paths; e != nullptr; e = e->next) {
    if (e->path != nullptr) imported += (imported.empty() ? "" : ";") + U(e->path);
  }
  if (paths != nullptr) ZARN_FreeLogPaths(paths);
  if (rc != 0 && rc != ZARN_S_REPLACED) return ReportFailure("ZARN_ReplaceComponent", rc);
  if (in.json) {
    std::printf("{\"replaced\": %s, \"deleted\": %s, \"referencing\": %s, \"imported\": %s}\n",
                rc == ZARN_S_REPLACED ? "true" : "false", JsonString(gone).c_str(), JsonString(refs).c_str(),
                JsonString(imported).c_str());
  } else {
    std::printf("%s %s\n", rc == ZARN_S_REPLACED ? "replaced" : "imported", imported.c_str());
    if (!refs.empty()) std::printf("referenced by %s\n", refs.c_str());
  }
  return 0;
}

}  // namespace

ZARN_CLI_COMMAND(replace, "replace", "Import", "import a source, replacing the component it describes",
                 "FILE\n\n  FILE  a source file (converted first, as by convert) or a component XML file\n"
                 "(ZARN_GetComponents, ZARN_ReplaceComponent)",
                 RunReplace);

}  // namespace zarn::cli
