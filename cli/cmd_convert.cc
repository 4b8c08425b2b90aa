// zarn-catalog convert PATH: ZARN_GetComponents and the records it returns.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

std::string Text(const char16_t* s) { return s != nullptr ? U(s) : std::string(); }

std::string JsonOrNull(const char16_t* s) { return s != nullptr ? JsonString(U(s)) : "null"; }

void PrintRecord(const ComponentXMLInfo& r) {
  std::printf("%s\n", r.id != nullptr ? Text(r.id).c_str() : Text(r.componentXmlPath).c_str());
  if (r.label != nullptr) std::printf("  label:     %s\n", Text(r.label).c_str());
  if (r.help != nullptr) std::printf("  help:      %s\n", Text(r.help).c_str());
  std::printf("  file:      %s\n", Text(r.componentXmlPath).c_str());
  if (r.message != nullptr && *r.message != 0) std::printf("  message:   %s\n", Text(r.message).c_str());
  for (const ComponentXMLLevel* l = r.hierarchy; l != nullptr; l = l->next) {
    std::printf("  %-16s %s\n", Text(l->elementName).c_str(), Text(l->value).c_str());
  }
}

void PrintJsonRecord(const ComponentXMLInfo& r, bool first) {
  std::printf("%s\n    {\"id\": %s, \"label\": %s, \"help\": %s, \"componentXmlPath\": %s, \"message\": %s, "
              "\"hierarchy\": [",
              first ? "" : ",", JsonOrNull(r.id).c_str(), JsonOrNull(r.label).c_str(), JsonOrNull(r.help).c_str(),
              JsonOrNull(r.componentXmlPath).c_str(), JsonOrNull(r.message).c_str());
  for (const ComponentXMLLevel* l = r.hierarchy; l != nullptr; l = l->next) {
    std::printf("%s{\"element\": %s, \"value\": %s}", l == r.hierarchy ? "" : ", ", JsonOrNull(l->elementName).c_str(),
                JsonOrNull(l->value).c_str());
  }
  std::printf("]}");
}

int Convert(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "usage: zarn-catalog convert PATH\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  const std::u16string path = W(in.args[0]);
  ComponentXMLInfo* list = nullptr;
  const uint32_t rc = ZARN_GetComponents(path.c_str(), &list, nullptr);
  if (in.json) {
    std::printf("{\"result\": %s, \"records\": [", JsonString(DescribeResult(rc)).c_str());
    for (const ComponentXMLInfo* r = list; r != nullptr; r = r->next) PrintJsonRecord(*r, r == list);
    std::printf("%s]}\n", list != nullptr ? "\n  " : "");
  } else {
    for (const ComponentXMLInfo* r = list; r != nullptr; r = r->next) PrintRecord(*r);
  }
  ZARN_FreeComponentXMLInfo(list);
  return rc == 0 ? 0 : ReportFailure("ZARN_GetComponents", rc);
}

}  // namespace

ZARN_CLI_COMMAND(convert, "convert", "Conversion",
                 "convert a source, device XML, component XML or directory and list its components "
                 "(ZARN_GetComponents)",
                 "PATH\n\n  PATH  a .ddl/.mdd source, a .device.xml, a component XML, a file a converter\n"
                 "        plug-in accepts, or a directory (listed, not converted)",
                 Convert);

}  // namespace zarn::cli
