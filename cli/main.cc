// zarn-catalog: the command-line host. It drives the catalog manager through its
// exports exactly as a host program would.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>

#include "cli/command.h"
#include "cli/options.h"
#include "cli/source_messages.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"
#include "zarn/version.h"

namespace zarn::cli {
namespace {

std::vector<Command>& Registry() {
  static std::vector<Command> commands;
  return commands;
}

void PrintOverview(FILE* out) {
  std::fprintf(out,
               "usage: zarn-catalog [COMMON OPTIONS] COMMAND [OPTIONS] [--] [ARGS]\n\n"
               "Common options (before or after the command):\n"
               "  --workdir DIR  working directory holding zarn_catalog/ (default: $ZARN_WORKDIR, else .)\n"
               "  --lang CODE    language of texts (en, de, ...)\n"
               "  --json[=no]    machine-readable output\n"
               "  --trace FILE   write the library's trace to FILE (- for standard error)\n"
               "  --help, -h     this overview, or with a command that command's usage\n"
               "  --version      print the version and exit\n"
               "\nOptions take their value as --name VALUE or --name=VALUE; an option a command does\n"
               "not know is refused. Exit status: 0 done (also for an empty answer), 1 a call failed,\n"
               "2 wrong usage.\n");
  std::map<std::string, std::vector<const Command*>> groups;
  std::vector<std::string> order;
  for (const Command& c : Commands()) {
    if (groups.find(c.group) == groups.end()) order.push_back(c.group);
    groups[c.group].push_back(&c);
  }
  for (const std::string& g : order) {
    std::fprintf(out, "\n%s:\n", g.c_str());
    for (const Command* c : groups[g]) std::fprintf(out, "  %-16s %s\n", c->name, c->summary);
  }
  std::fprintf(out, "\n'zarn-catalog COMMAND --help' describes one command.\n");
}

void PrintCommandHelp(const Command& c) {
  std::printf("usage: zarn-catalog %s %s\n\n%s\n", c.name, c.usage, c.summary);
  std::printf(
      "\nCommon options: --workdir DIR, --lang CODE, --json[=no], --trace FILE\n"
      "Arguments after \"--\" are never taken as options.\n");
}

}  // namespace

bool RegisterCommand(Command command) {
  Registry().push_back(std::move(command));
  return true;
}

const std::vector<Command>& Commands() { return Registry(); }

std::string Invocation::Option(std::string_view name, std::string_view fallback) const {
  for (const auto& [n, v] : options) {
    if (n == name) return v;
  }
  return std::string(fallback);
}

bool Invocation::HasOption(std::string_view name) const {
  for (const auto& o : options) {
    if (o.first == name) return true;
  }
  return false;
}

uint32_t OpenCatalog(const Invocation& in) {
  const std::u16string dir = W(in.workdir);
  uint32_t rc = ZARN_InitCatalogManager(dir.c_str());
  if (rc == 0 && !in.lang.empty()) {
    const std::u16string lang = W(in.lang);
    rc = ZARN_SetCatalogLanguage(lang.c_str());
  }
  return rc;
}

std::u16string ConvertedComponentXml(const std::string& file, uint32_t* rc) {
  *rc = 0;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(file, ec)) return W(file);  // the export tells what it is
  ComponentXMLInfo* records = nullptr;
  *rc = ZARN_GetComponents(W(file).c_str(), &records, nullptr);
  std::u16string path;
  if (*rc == 0) path = records != nullptr && records->componentXmlPath != nullptr ? records->componentXmlPath : W(file);
  ZARN_FreeComponentXMLInfo(records);
  return path;
}

std::u16string W(std::string_view utf8) { return ToUtf16(utf8); }
std::string U(const char16_t* s) { return ToUtf8(s); }

std::string TakeString(VARIANT* v) {
  std::string s = VariantString(*v);
  VariantClear(v);
  return s;
}

std::string JsonString(std::string_view s) {
  std::string out = "\"";
  for (const char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += ch;
        }
    }
  }
  return out + "\"";
}

}  // namespace zarn::cli

int main(int argc, char** argv) {
  using namespace zarn::cli;
  ParsedLine line = ParseCommandLine(argc, argv);
  Invocation& in = line.invocation;
  if (!line.error.empty()) {
    std::fprintf(stderr, "error: %s (see zarn-catalog %s--help)\n", line.error.c_str(),
                 line.command != nullptr ? (in.command + " ").c_str() : "");
    return kExitUsage;
  }
  if (line.version) {
    std::printf("zarn-catalog %s\n", ZARN_VERSION_STRING);
    return kExitOk;
  }
  if (line.command == nullptr) {
    PrintOverview(line.help ? stdout : stderr);
    return line.help ? kExitOk : kExitUsage;
  }
  if (line.help) {
    PrintCommandHelp(*line.command);
    return kExitOk;
  }
  if (!in.trace.empty()) {
    setenv("ZARN_TRACE_FILE", in.trace.c_str(), 1);
    if (std::getenv("ZARN_TRACE_LEVEL") == nullptr) setenv("ZARN_TRACE_LEVEL", "22", 1);
  }
  in.workdir = zarn::NormalisePath(in.workdir);
  SetReportStyle(in.json, in.workdir);
  CollectSourceMessages();
  return line.command->run(in);
}
