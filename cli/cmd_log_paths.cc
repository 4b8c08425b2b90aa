// zarn-catalog log-paths: the log path entries of a catalog element as a host gets them.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli/command.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

std::string OrNull(const char16_t* s) { return s == nullptr ? "null" : JsonString(U(s)); }
std::string OrDash(const char16_t* s) { return s == nullptr ? "-" : U(s); }

void PrintText(const std::vector<const LogPathEntry*>& entries) {
  for (const LogPathEntry* e : entries) {
    std::printf("%s  \"%s\"\n", OrDash(e->path).c_str(), OrDash(e->label).c_str());
    for (const LogPathSegment* s = e->segments; s != nullptr; s = s->next) {
      std::printf("    %-18s %s", OrDash(s->name).c_str(), OrDash(s->id).c_str());
      if (s->label != nullptr) std::printf("  label=\"%s\" help=\"%s\"", U(s->label).c_str(), OrDash(s->help).c_str());
      std::printf("\n");
    }
  }
}

void PrintJson(const std::vector<const LogPathEntry*>& entries) {
  std::printf("[");
  for (size_t i = 0; i < entries.size(); ++i) {
    const LogPathEntry* e = entries[i];
    std::printf("%s{\"path\": %s, \"label\": %s, \"segments\": [", i == 0 ? "" : ", ", OrNull(e->path).c_str(),
                OrNull(e->label).c_str());
    for (const LogPathSegment* s = e->segments; s != nullptr; s = s->next) {
      std::printf("%s{\"name\": %s, \"id\": %s, \"label\": %s, \"help\": %s}", s == e->segments ? "" : ", ",
                  OrNull(s->name).c_str(), OrNull(s->id).c_str(), OrNull(s->label).c_str(), OrNull(s->help).c_str());
    }
    std::printf("]}");
  }
  std::printf("]\n");
}

int RunLogPaths(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "error: log-paths takes one component path (see zarn-catalog log-paths --help)\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  const int32_t mode = static_cast<int32_t>(std::strtol(in.Option("mode", "0").c_str(), nullptr, 10));
  const std::u16string path = W(in.args[0]);
  LogPathEntry* head = nullptr;
  const uint32_t rc = ZARN_GetLogPaths(path.c_str(), &head, in.HasOption("texts") ? 1 : 0, mode);
  if (rc != 0) {
    if (head != nullptr) ZARN_FreeLogPaths(head);
    return ReportFailure("ZARN_GetLogPaths", rc);
  }
  // The chain comes in reverse order of the selection; show it in document order.
  std::vector<const LogPathEntry*> entries;
  for (const LogPathEntry* e = head; e != nullptr; e = e->next) entries.insert(entries.begin(), e);
  if (in.json)
    PrintJson(entries);
  else
    PrintText(entries);
  ZARN_FreeLogPaths(head);
  return 0;
}

}  // namespace

ZARN_CLI_COMMAND(log_paths, "log-paths", "Queries", "list log path entries below a catalog element (ZARN_GetLogPaths)",
                 "PATH [--mode N] [--texts]\n\n"
                 "  PATH       component path, for example /DEVICE/PROFIBUS\n"
                 "  --mode N   1: visible children that hold components (entries carry ids);\n"
                 "             2: the element itself; any other (default 0): every visible component below\n"
                 "  --texts    items carry their LABEL and HELP texts\n"
                 "Entries are shown in document order (the chain a host receives is reversed); a \"-\" path\n"
                 "is the empty record of a catalog-folder reference.",
                 RunLogPaths, {"texts"}, {"mode"});

}  // namespace zarn::cli
