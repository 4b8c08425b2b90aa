// zarn-catalog convert PATH: ZARN_GetComponents and the records it returns.
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>

#include "cli/command.h"
#include "cli/source_messages.h"
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
  std::printf(
      "%s\n    {\"id\": %s, \"label\": %s, \"help\": %s, \"componentXmlPath\": %s, \"message\": %s, "
      "\"hierarchy\": [",
      first ? "" : ",", JsonOrNull(r.id).c_str(), JsonOrNull(r.label).c_str(), JsonOrNull(r.help).c_str(),
      JsonOrNull(r.componentXmlPath).c_str(), JsonOrNull(r.message).c_str());
  for (const ComponentXMLLevel* l = r.hierarchy; l != nullptr; l = l->next) {
    std::printf("%s{\"element\": %s, \"value\": %s}", l == r.hierarchy ? "" : ", ", JsonOrNull(l->elementName).c_str(),
                JsonOrNull(l->value).c_str());
  }
  std::printf("]}");
}

bool KeepFile(const std::filesystem::path& from, const std::string& dir) {
  std::error_code ec;
  const std::filesystem::path to = std::filesystem::path(dir) / from.filename();
  if (!std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec)) {
    std::fprintf(stderr, "error: cannot copy %s to %s: %s\n", from.c_str(), to.c_str(), ec.message().c_str());
    return false;
  }
  std::fprintf(stderr, "kept %s\n", to.c_str());
  return true;
}

// Copies the component XML of the conversion into `dir`; when the conversion wrote
// it (a source, not a component XML given as it is), also what it wrote beside it,
// the device XML the component XML names.
bool Keep(const ComponentXMLInfo* list, const std::string& source, const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  const std::filesystem::path source_dir = std::filesystem::absolute(source, ec).parent_path();
  std::set<std::filesystem::path> copied;
  for (const ComponentXMLInfo* r = list; r != nullptr; r = r->next) {
    if (r->componentXmlPath == nullptr || r->id == nullptr) continue;
    const std::filesystem::path file = std::filesystem::absolute(U(r->componentXmlPath), ec);
    const std::filesystem::path from = file.parent_path();
    if (from == source_dir) {
      if (copied.insert(file).second && !KeepFile(file, dir)) return false;
      continue;
    }
    if (!copied.insert(from).second) continue;
    for (const auto& entry : std::filesystem::directory_iterator(from, ec)) {
      if (entry.is_regular_file() && !KeepFile(entry.path(), dir)) return false;
    }
  }
  return true;
}

int Convert(const Invocation& in) {
  if (in.args.size() != 1) {
    std::fprintf(stderr, "usage: zarn-catalog convert PATH [--keep DIR]\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  const std::u16string path = W(in.args[0]);
  ComponentXMLInfo* list = nullptr;
  const uint32_t rc = ZARN_GetComponents(path.c_str(), &list, nullptr);
  if (rc != 0) {
    for (const ComponentXMLInfo* r = list; r != nullptr; r = r->next) {
      if (r->message != nullptr && *r->message != 0) AddSourceMessage(Text(r->message));
    }
    ZARN_FreeComponentXMLInfo(list);
    return ReportFailure("ZARN_GetComponents", rc);
  }
  if (in.json) {
    std::printf("{\"result\": %s, \"records\": [", JsonString(DescribeResult(rc)).c_str());
    for (const ComponentXMLInfo* r = list; r != nullptr; r = r->next) PrintJsonRecord(*r, r == list);
    std::printf("%s]}\n", list != nullptr ? "\n  " : "");
  } else {
    for (const ComponentXMLInfo* r = list; r != nullptr; r = r->next) PrintRecord(*r);
  }
  const bool kept = !in.HasOption("keep") || Keep(list, in.args[0], in.Option("keep"));
  ZARN_FreeComponentXMLInfo(list);
  return kept ? 0 : 1;
}

}  // namespace

ZARN_CLI_COMMAND(convert, "convert", "Conversion",
                 "convert a source, device XML, component XML or directory and list its components "
                 "(ZARN_GetComponents)",
                 "PATH [--keep DIR]\n\n  PATH        a .ddl/.mdd source, a .device.xml, a component XML, a file a\n"
                 "              converter plug-in accepts, or a directory (listed, not converted)\n"
                 "  --keep DIR  copy the component XML and the device XML beside it into DIR\n"
                 "              (they are temporary files otherwise)",
                 Convert, {}, {"keep"});

}  // namespace zarn::cli
