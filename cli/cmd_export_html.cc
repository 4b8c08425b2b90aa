// zarn-catalog export-html OUT: the catalog as a static site of its own.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/html_site.h"

namespace zarn::cli {
namespace {

// The languages texts are looked for in; the catalog language (--lang) comes first.
std::vector<std::string> Languages(const std::string& first) {
  std::vector<std::string> out{first.empty() ? "en" : first};
  for (const char* code : {"en", "de", "fr", "es", "it", "pt", "nl", "sv", "da", "fi", "no", "pl", "cs", "hu", "ru",
                           "tr", "zh", "ja", "ko"}) {
    if (out.front() != code) out.push_back(code);
  }
  return out;
}

int RunExportHtml(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "usage: zarn-catalog export-html OUT [--lang CODE]\n");
    return kExitUsage;
  }
  const auto start = std::chrono::steady_clock::now();
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  const Site site = GatherSite(Languages(in.lang));
  std::string error;
  if (!WriteSite(site, in.args[0], in.lang.empty() ? "en" : in.lang, &error)) {
    std::fprintf(stderr, "error: %s\n", error.c_str());
    return kExitFailure;
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("wrote %s/index.html: %zu components, %zu languages, %.2f s\n", in.args[0].c_str(),
              site.components.size(), site.languages.size(), seconds);
  return kExitOk;
}

}  // namespace

ZARN_CLI_COMMAND(export_html, "export-html", "Queries",
                 "write the catalog as a static site that opens in a browser from the file system",
                 "OUT [--lang CODE]\n\n"
                 "  OUT     directory to write (created): index.html with the catalog tree and a\n"
                 "          search over labels, ids, order numbers and identification; a page per\n"
                 "          component with its texts in every language the catalog holds, its\n"
                 "          identification, attributes, picture, files and relations\n"
                 "  --lang  the language the pages open in (default en)\n"
                 "Built through the library's exports only, as a host would.",
                 RunExportHtml);

}  // namespace zarn::cli
