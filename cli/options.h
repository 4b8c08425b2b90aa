// Command-line parsing of zarn-catalog: common options before the subcommand, the
// subcommand, then its own options and arguments in any order, up to "--".
#ifndef ZARN_CLI_OPTIONS_H_
#define ZARN_CLI_OPTIONS_H_

#include <string>

#include "cli/command.h"

namespace zarn::cli {

struct ParsedLine {
  const Command* command = nullptr;  // null: no subcommand given
  Invocation invocation;
  bool help = false;     // --help / -h
  bool version = false;  // --version
  std::string error;     // a usage error; nothing may run
};

// Parses argv; argv is reordered (options first) as getopt_long does.
ParsedLine ParseCommandLine(int argc, char** argv);

}  // namespace zarn::cli

#endif  // ZARN_CLI_OPTIONS_H_
