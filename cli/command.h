// The subcommands of zarn-catalog: each lives in its own file and registers itself.
#ifndef ZARN_CLI_COMMAND_H_
#define ZARN_CLI_COMMAND_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "zarn/oleauto.h"

namespace zarn::cli {

// Options common to every subcommand, and the subcommand's own arguments.
struct Invocation {
  std::string command;            // the subcommand's name
  std::string workdir;            // --workdir, else $ZARN_WORKDIR, else the current directory
  std::string lang;               // --lang ("" = the catalog's default)
  std::string trace;              // --trace FILE ("" = none)
  bool json = false;              // --json
  std::vector<std::string> args;  // positional arguments
  std::vector<std::pair<std::string, std::string>> options;  // other --name value pairs
  // The value of --name, or `fallback`.
  std::string Option(std::string_view name, std::string_view fallback = {}) const;
  bool HasOption(std::string_view name) const;
};

// A subcommand. Besides the common options (--workdir, --lang, --trace, --json,
// --help), a command accepts only the options it names here; anything else is
// refused before the command runs. Read them with Invocation::HasOption/Option.
struct Command {
  const char* name;
  const char* group;    // heading in the --help listing
  const char* summary;  // one line
  const char* usage;    // argument synopsis and details for `--help`
  int (*run)(const Invocation&);
  std::vector<std::string> flags = {};   // options without a value: --bundle
  std::vector<std::string> values = {};  // options with a value: --mode N, --mode=N
};

// Exit statuses of zarn-catalog.
constexpr int kExitOk = 0;       // done; also an answer that is empty
constexpr int kExitFailure = 1;  // a call failed or a source did not import
constexpr int kExitUsage = 2;    // unknown command or option, wrong arguments

// Adds a command to the listing; called from static initialisers.
bool RegisterCommand(Command command);
const std::vector<Command>& Commands();

// Calls ZARN_InitCatalogManager with the working directory and, when --lang was
// given, ZARN_SetCatalogLanguage. Returns the first failing result code, or 0.
uint32_t OpenCatalog(const Invocation& in);

// The component XML of `file` as a host gets it: ZARN_GetComponents converts a source
// (a component XML file stays itself) and the first record names the file. *rc
// receives the conversion's result; on failure the result is empty.
std::u16string ConvertedComponentXml(const std::string& file, uint32_t* rc);

// Prints "error: <what> failed: 0x... (meaning)" to stderr, the compiler's messages
// collected since the last report and, where a catalog or its data is missing, what
// to do; with --json an error object on stdout instead. Returns the exit status 1.
int ReportFailure(std::string_view what, uint32_t code);
// Set once by main: --json and the working directory that advice names.
void SetReportStyle(bool json, const std::string& workdir);
// A JSON array of strings.
std::string JsonMessages(const std::vector<std::string>& messages);
// "0x90204032 (no catalog: ...)".
std::string DescribeResult(uint32_t code);

// UTF-16 helpers for calling the exports.
std::u16string W(std::string_view utf8);
std::string U(const char16_t* s);
// Takes the string out of a VT_BSTR variant and clears it.
std::string TakeString(VARIANT* v);
// JSON string literal of a UTF-8 text.
std::string JsonString(std::string_view s);

}  // namespace zarn::cli

// Registers a command from a file of its own.
#define ZARN_CLI_COMMAND(id, ...) \
  static const bool zarn_cli_registered_##id = ::zarn::cli::RegisterCommand(::zarn::cli::Command{__VA_ARGS__})

#endif  // ZARN_CLI_COMMAND_H_
