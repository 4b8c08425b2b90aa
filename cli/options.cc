// zarn-catalog's option parser, on getopt_long: long options only (and -h), values as
// "--name VALUE" or "--name=VALUE", "--" ends the options, and an option the
// command does not declare is an error rather than a positional argument.
#include "cli/options.h"

#include <getopt.h>

#include <cstdlib>
#include <cstring>
#include <vector>

namespace zarn::cli {
namespace {

enum CommonId { kHelp = 'h', kWorkdir = 1000, kLang, kTrace, kJson, kVersion, kOwnOption };

void AddCommonOptions(std::vector<option>* table) {
  table->push_back({"help", no_argument, nullptr, kHelp});
  table->push_back({"version", no_argument, nullptr, kVersion});
  table->push_back({"workdir", required_argument, nullptr, kWorkdir});
  table->push_back({"lang", required_argument, nullptr, kLang});
  table->push_back({"trace", required_argument, nullptr, kTrace});
  table->push_back({"json", optional_argument, nullptr, kJson});
}

// --json, --json=yes|true|1|on, --json=no|false|0|off.
bool ParseSwitch(const char* value, bool* out) {
  if (value == nullptr) {
    *out = true;
    return true;
  }
  for (const char* yes : {"yes", "true", "1", "on"}) {
    if (std::strcmp(value, yes) == 0) return *out = true;
  }
  for (const char* no : {"no", "false", "0", "off"}) {
    if (std::strcmp(value, no) == 0) return !(*out = false);
  }
  return false;
}

// The argument getopt_long stopped at, for messages.
std::string Offending(int argc, char** argv) {
  const int at = optind - 1;
  return at > 0 && at < argc ? argv[at] : "";
}

// One getopt_long pass over argv[0..argc); returns false with line->error set.
// `own` are the command's options (null before the subcommand).
bool Pass(int argc, char** argv, const char* optstring, const Command* own, ParsedLine* line) {
  std::vector<option> table;
  AddCommonOptions(&table);
  if (own != nullptr) {
    for (const std::string& f : own->flags) table.push_back({f.c_str(), no_argument, nullptr, kOwnOption});
    for (const std::string& v : own->values) table.push_back({v.c_str(), required_argument, nullptr, kOwnOption});
  }
  table.push_back({nullptr, 0, nullptr, 0});
  Invocation& in = line->invocation;
  optind = 0;  // a fresh scan (GNU getopt re-initialises on 0)
  opterr = 0;
  int index = -1;
  for (int c; (c = getopt_long(argc, argv, optstring, table.data(), &index)) != -1; index = -1) {
    switch (c) {
      case kHelp:
        line->help = true;
        break;
      case kVersion:
        line->version = true;
        break;
      case kWorkdir:
        in.workdir = optarg;
        break;
      case kLang:
        in.lang = optarg;
        break;
      case kTrace:
        in.trace = optarg;
        break;
      case kJson:
        if (!ParseSwitch(optarg, &in.json)) {
          line->error = "--json takes yes or no, not '" + std::string(optarg) + "'";
          return false;
        }
        break;
      case kOwnOption:
        in.options.emplace_back(table[index].name, optarg != nullptr ? optarg : "");
        break;
      case ':':
        line->error = "option " + Offending(argc, argv) + " needs a value";
        return false;
      default: {
        std::string bad = Offending(argc, argv);
        if (optopt != 0 && bad.rfind("--", 0) != 0) bad = std::string("-") + static_cast<char>(optopt);
        bad = bad.substr(0, bad.find('='));
        line->error = "unknown option " + bad + (own != nullptr ? " for " + std::string(own->name) : "");
        return false;
      }
    }
  }
  return true;
}

const Command* FindCommand(const std::string& name) {
  for (const Command& c : Commands()) {
    if (name == c.name) return &c;
  }
  return nullptr;
}

}  // namespace

ParsedLine ParseCommandLine(int argc, char** argv) {
  ParsedLine line;
  Invocation& in = line.invocation;
  const char* env = std::getenv("ZARN_WORKDIR");
  in.workdir = env != nullptr && *env != '\0' ? env : ".";
  // Common options up to the subcommand ("+": stop at the first argument).
  if (!Pass(argc, argv, "+:h", nullptr, &line)) return line;
  if (optind >= argc) return line;
  in.command = argv[optind];
  if (in.command == "help") {
    line.help = true;
    return line;
  }
  line.command = FindCommand(in.command);
  if (line.command == nullptr) {
    line.error = "unknown command '" + in.command + "'";
    return line;
  }
  // The rest, options anywhere among the arguments (getopt_long moves them first).
  const int first = optind;
  char** rest = argv + first;
  if (!Pass(argc - first, rest, ":h", line.command, &line)) return line;
  for (int i = optind; i < argc - first; ++i) in.args.emplace_back(rest[i]);
  return line;
}

}  // namespace zarn::cli
