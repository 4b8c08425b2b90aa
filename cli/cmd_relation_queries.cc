// zarn-catalog exists FILE, referencing PATH, relation-info ID PATH REFPATH.
#include <cstdio>
#include <string>

#include "cli/command.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

bool Arguments(const Invocation& in, size_t count, const char* command) {
  if (in.args.size() == count) return true;
  std::fprintf(stderr, "error: wrong arguments (see zarn-catalog %s --help)\n", command);
  return false;
}

int RunExists(const Invocation& in) {
  if (!Arguments(in, 1, "exists")) return 2;
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  uint32_t converted = 0;
  const std::u16string component_xml = ConvertedComponentXml(in.args[0], &converted);
  if (converted != 0) return ReportFailure("ZARN_GetComponents", converted);
  VARIANT v[4];
  for (VARIANT& x : v) VariantInit(&x);
  const uint32_t rc = ZARN_IsComponentExistent(component_xml.c_str(), &v[0], &v[1], &v[2], &v[3]);
  if (rc != 0 && rc != ZARN_E_NOT_IN_CATALOG) return ReportFailure("ZARN_IsComponentExistent", rc);
  std::string t[4];
  for (int i = 0; i < 4; ++i) t[i] = TakeString(&v[i]);
  const bool found = rc == 0;
  if (in.json) {
    std::printf(
        "{\"exists\": %s, \"catalogDdRevision\": %s, \"fileDdRevision\": %s, "
        "\"catalogDeviceRevision\": %s, \"fileDeviceRevision\": %s}\n",
        found ? "true" : "false", JsonString(t[0]).c_str(), JsonString(t[1]).c_str(), JsonString(t[2]).c_str(),
        JsonString(t[3]).c_str());
  } else if (found) {
    std::printf("in the catalog\nDD revision: catalog %s, file %s\ndevice revision: catalog %s, file %s\n",
                t[0].c_str(), t[1].c_str(), t[2].c_str(), t[3].c_str());
  } else {
    std::printf("not in the catalog\n");
  }
  return 0;
}

int RunReferencing(const Invocation& in) {
  if (!Arguments(in, 1, "referencing")) return 2;
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  VARIANT paths;
  VariantInit(&paths);
  const uint32_t rc = ZARN_GetReferencingComponents(W(in.args[0]).c_str(), &paths);
  if (rc == ZARN_E_NOT_REFERENCED) {  // nothing refers to it: an empty answer
    if (in.json) std::printf("[]\n");
    return 0;
  }
  if (rc != 0) return ReportFailure("ZARN_GetReferencingComponents", rc);
  const std::string text = TakeString(&paths);
  std::string json = "[";
  size_t start = 0;
  for (size_t end = 0; start <= text.size(); start = end + 1) {
    end = text.find(';', start);
    if (end == std::string::npos) end = text.size();
    const std::string item = text.substr(start, end - start);
    if (in.json)
      json += (json.size() > 1 ? ", " : "") + JsonString(item);
    else
      std::printf("%s\n", item.c_str());
  }
  if (in.json) std::printf("%s]\n", json.c_str());
  return 0;
}

int RunRelationInfo(const Invocation& in) {
  if (!Arguments(in, 3, "relation-info")) return 2;
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  const std::u16string id = W(in.args[0]);
  CatalogRelationInfo info = {nullptr, 0, 0};
  const uint32_t rc = ZARN_GetCatalogRelationInfo(id.c_str(), W(in.args[1]).c_str(), W(in.args[2]).c_str(), &info);
  if (rc != 0) return ReportFailure("ZARN_GetCatalogRelationInfo", rc);
  const bool matched = info.relationId != nullptr;
  const char* kind = !matched ? "none" : info.relationKind == 2 ? "child" : "other";
  if (in.json) {
    std::printf("{\"matched\": %s, \"kind\": %d}\n", matched ? "true" : "false", matched ? info.relationKind : 0);
  } else {
    std::printf("%s\n", matched ? (std::string("refers to it: ") + kind + " relation").c_str()
                                : "the relation does not refer to it");
  }
  return 0;
}

}  // namespace

ZARN_CLI_COMMAND(exists, "exists", "Queries", "tell whether a source's component is in the catalog",
                 "FILE\n\n  FILE  a source file (converted first, as by convert) or a component XML file\n"
                 "(ZARN_GetComponents, ZARN_IsComponentExistent)",
                 RunExists);
ZARN_CLI_COMMAND(referencing, "referencing", "Queries", "list the components whose relations refer to a component",
                 "PATH\n\n  PATH  a component path", RunReferencing);
ZARN_CLI_COMMAND(relation_info, "relation-info", "Queries",
                 "tell whether a relation of a component refers to another component",
                 "ID PATH REFPATH\n\n  ID       the relation's id\n  PATH     the component holding it\n"
                 "  REFPATH  the component path it may refer to",
                 RunRelationInfo);

}  // namespace zarn::cli
