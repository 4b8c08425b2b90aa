// zarn-catalog list SOURCE and import-list SOURCE [LINE...]: the two steps of an
// import list.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

// Lines of a list text: split at ";" outside double quotes (a quote after a
// backslash does not count).
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::string current;
  bool quoted = false;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '"' && (i == 0 || text[i - 1] != '\\')) quoted = !quoted;
    if (text[i] == ';' && !quoted) {
      out.push_back(current);
      current.clear();
    } else {
      current += text[i];
    }
  }
  if (!current.empty()) out.push_back(current);
  return out;
}

int RunList(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "error: list takes one source (see zarn-catalog list --help)\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  VARIANT list;
  VariantInit(&list);
  const uint32_t rc = ZARN_GetImportComponentList(W(in.args[0]).c_str(), &list);
  const std::vector<std::string> lines = Lines(TakeString(&list));
  if (rc != 0) return ReportFailure("ZARN_GetImportComponentList", rc);
  std::string json = "[";
  for (const std::string& line : lines) {
    if (in.json)
      json += (json.size() > 1 ? ", " : "") + JsonString(line);
    else
      std::printf("%s\n", line.c_str());
  }
  if (in.json) std::printf("%s]\n", json.c_str());
  return 0;
}

int RunImportList(const Invocation& in) {
  if (in.args.empty()) {
    std::fprintf(stderr, "error: import-list takes a source (see zarn-catalog import-list --help)\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  std::vector<std::string> selected(in.args.begin() + 1, in.args.end());
  VARIANT selection;
  VariantInit(&selection);
  if (!selected.empty()) SetVariantString(&selection, Join(selected, ";"));
  const uint32_t rc = ZARN_ImportComponentList(W(in.args[0]).c_str(), selection);
  VariantClear(&selection);
  if (rc != 0 && rc != ZARN_S_REPLACED) return ReportFailure("ZARN_ImportComponentList", rc);
  if (in.json)
    std::printf("{\"result\": %s}\n", JsonString(DescribeResult(rc)).c_str());
  else
    std::printf("%s\n", rc == ZARN_S_REPLACED ? "done (last component replaced)" : "done");
  return 0;
}

}  // namespace

ZARN_CLI_COMMAND(list, "list", "Import", "list the components of a source, one import line each",
                 "SOURCE\n\n  SOURCE  a source file or directory; the lines are remembered for import-list", RunList);
ZARN_CLI_COMMAND(import_list, "import-list", "Import", "import the selected lines of a source's import list",
                 "SOURCE [LINE...]\n\n  SOURCE  the source given to list\n"
                 "  LINE    lines printed by list; none imports everything in the source",
                 RunImportList);

}  // namespace zarn::cli
