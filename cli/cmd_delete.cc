// zarn-catalog delete TARGET: deletes catalog elements and lists what went and what
// still refers to it.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

std::vector<std::string> SplitList(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    const size_t end = text.find(';', start);
    out.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return out;
}

std::string JsonList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (size_t i = 0; i < items.size(); ++i) out += (i == 0 ? "" : ", ") + JsonString(items[i]);
  return out + "]";
}

int RunDelete(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "error: delete takes one target (see zarn-catalog delete --help)\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  VARIANT deleted;
  VARIANT referencing;
  VariantInit(&deleted);
  VariantInit(&referencing);
  const uint32_t rc = ZARN_DeleteComponent(W(in.args[0]).c_str(), &deleted, &referencing);
  if (rc != 0) return ReportFailure("ZARN_DeleteComponent", rc);
  const std::vector<std::string> gone = SplitList(TakeString(&deleted));
  const std::vector<std::string> refs = SplitList(TakeString(&referencing));
  if (in.json) {
    std::printf("{\"deleted\": %s, \"referencing\": %s}\n", JsonList(gone).c_str(), JsonList(refs).c_str());
    return 0;
  }
  for (const std::string& p : gone) std::printf("deleted %s\n", p.c_str());
  for (const std::string& p : refs) std::printf("referenced by %s\n", p.c_str());
  return 0;
}

}  // namespace

ZARN_CLI_COMMAND(delete_component, "delete", "Maintenance",
                 "delete components, folders, manufacturers or catalog folders",
                 "TARGET\n\n"
                 "  TARGET  component paths joined by \";\", or a component XML file whose\n"
                 "          components are looked up in the catalog",
                 RunDelete);

}  // namespace zarn::cli
