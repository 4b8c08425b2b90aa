// zarn-catalog attributes PATH: every attribute of a catalog element, or of the
// components and folders of a component XML file.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "platform/paths.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

void PrintText(const CompAttrInfo* list) {
  for (const CompAttrInfo* info = list; info != nullptr; info = info->next) {
    std::printf("%s\n", U(info->name).c_str());
    for (const CompAttrEntry* e = info->attributes; e != nullptr; e = e->next) {
      std::printf("  %-22s %s\n", U(e->name).c_str(), U(e->value).c_str());
    }
  }
}

void PrintJson(const CompAttrInfo* list) {
  std::printf("[");
  for (const CompAttrInfo* info = list; info != nullptr; info = info->next) {
    std::printf("%s{\"id\": %s, \"attributes\": [", info == list ? "" : ", ", JsonString(U(info->name)).c_str());
    for (const CompAttrEntry* e = info->attributes; e != nullptr; e = e->next) {
      std::printf("%s{\"name\": %s, \"value\": %s}", e == info->attributes ? "" : ", ", JsonString(U(e->name)).c_str(),
                  JsonString(U(e->value)).c_str());
    }
    std::printf("]}");
  }
  std::printf("]\n");
}

int RunAttributes(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "error: attributes takes one path (see zarn-catalog attributes --help)\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  std::string path = in.args[0];
  if (path.size() >= 4 && path.compare(path.size() - 4, 4, ".xml") == 0) path = NormalisePath(path);
  CompAttrInfo* list = nullptr;
  const uint32_t rc = ZARN_GetComponentAttributes(W(path).c_str(), &list);
  if (rc != 0) return ReportFailure("ZARN_GetComponentAttributes", rc);
  if (in.json)
    PrintJson(list);
  else
    PrintText(list);
  ZARN_FreeCompAttrInfoList(list);
  return 0;
}

}  // namespace

ZARN_CLI_COMMAND(attributes, "attributes", "Queries",
                 "list the attributes of a catalog element or of a component XML file",
                 "PATH\n\n"
                 "  PATH  a component path (/DEVICE/HART/...) or a component XML file (*.xml)",
                 RunAttributes);

}  // namespace zarn::cli
