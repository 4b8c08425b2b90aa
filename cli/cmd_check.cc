// zarn-catalog check: proves the catalog's promises on a working directory (see
// docs/catalog-invariants.md) and lists every violation, one line each.
#include <cstdio>
#include <string>

#include "catalog/catalog_contents.h"
#include "cli/command.h"
#include "maintenance/catalog_check.h"

namespace zarn::cli {
namespace {

void PrintText(const CatalogCheckResult& r) {
  for (const CatalogViolation& v : r.violations) {
    std::printf("violation %d (%s): %s: %s: %s\n", static_cast<int>(v.invariant),
                std::string(InvariantName(v.invariant)).c_str(), v.path.empty() ? "/" : v.path.c_str(),
                v.subject.c_str(), v.message.c_str());
  }
  std::printf("%s: %zu components, %zu files, %zu relations checked, %zu violations\n",
              r.sound() ? "sound" : "not sound", r.components, r.files, r.relations, r.violations.size());
}

void PrintJson(const CatalogCheckResult& r) {
  std::printf("{\"sound\": %s, \"components\": %zu, \"files\": %zu, \"relations\": %zu, \"violations\": [",
              r.sound() ? "true" : "false", r.components, r.files, r.relations);
  for (size_t i = 0; i < r.violations.size(); ++i) {
    const CatalogViolation& v = r.violations[i];
    std::printf("%s{\"invariant\": %d, \"name\": %s, \"path\": %s, \"subject\": %s, \"message\": %s}",
                i == 0 ? "" : ", ", static_cast<int>(v.invariant), JsonString(InvariantName(v.invariant)).c_str(),
                JsonString(v.path).c_str(), JsonString(v.subject).c_str(), JsonString(v.message).c_str());
  }
  std::printf("]}\n");
}

int RunCheck(const Invocation& in) {
  if (!in.args.empty()) {
    std::fprintf(stderr, "error: check takes no arguments (see zarn-catalog check --help)\n");
    return 2;
  }
  // A catalog of its own, read from the working directory like any process reads it.
  CCatalog_Contents catalog;
  if (const uint32_t rc = catalog.initialize(in.workdir)) return ReportFailure("loading the catalog", rc);
  const CatalogCheckResult result = CheckCatalog(catalog);
  if (in.json)
    PrintJson(result);
  else
    PrintText(result);
  return result.sound() ? 0 : 1;
}

}  // namespace

ZARN_CLI_COMMAND(check, "check", "Catalog",
                 "prove the catalog's promises on the working directory; one line per violation",
                 "[--json]\n\n"
                 "  Exit status 0 when the catalog is sound, 1 with one line per violation\n"
                 "  (promise, component path, file or relation concerned), 2 on a usage error.\n"
                 "  The promises are listed in docs/catalog-invariants.md.",
                 RunCheck);

}  // namespace zarn::cli
