// zarn-catalog attribute PATH NAME [--mode N]: one attribute of a catalog element.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

int RunAttribute(const Invocation& in) {
  if (in.args.size() != 2) {
    std::fprintf(stderr, "error: attribute takes a path and a name (see zarn-catalog attribute --help)\n");
    return 2;
  }
  const std::string mode_text = in.Option("mode", "0");
  char* end = nullptr;
  const long mode = std::strtol(mode_text.c_str(), &end, 10);
  if (end == mode_text.c_str() || *end != '\0') {
    std::fprintf(stderr, "error: --mode takes a number\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  VARIANT value;
  VariantInit(&value);
  const uint32_t rc =
      ZARN_GetComponentAttribute(W(in.args[0]).c_str(), W(in.args[1]).c_str(), &value, static_cast<int32_t>(mode));
  const std::string text = TakeString(&value);
  if (rc != 0) return ReportFailure("ZARN_GetComponentAttribute", rc);
  if (in.json) {
    std::printf("{\"path\": %s, \"name\": %s, \"mode\": %ld, \"value\": %s}\n", JsonString(in.args[0]).c_str(),
                JsonString(in.args[1]).c_str(), mode, JsonString(text).c_str());
  } else {
    std::printf("%s\n", text.c_str());
  }
  return 0;
}

}  // namespace

ZARN_CLI_COMMAND(attribute, "attribute", "Queries", "print one attribute of a catalog element",
                 "PATH NAME [--mode N]\n\n"
                 "  PATH      a component path, or /ident:MMMM/TTTT/RRRR (identification key)\n"
                 "  NAME      SECTION, CLASSIFICATION, PROTOCOL, MANUFACTURER or a child element name\n"
                 "  --mode N  0: the values of the element and of every level above it (default),\n"
                 "            1: the element's own value, 2: the element's own child, which must exist",
                 RunAttribute, {}, {"mode"});

}  // namespace zarn::cli
