// zarnl: the command-line driver of the device-description compiler.
//   zarnl -E [-I dir]... source             prints the preprocessed text
//   zarnl [-I dir]... source -o out.xml      writes device XML
//   zarnl [-I dir]... [--config cfg] source  checks the source only
// Errors and warnings go to standard error as "file:line: message" and
// "file:line: warning: message"; the exit status is 1 when the source has errors
// (or warnings under --warnings-as-errors; no output is written then), 2 on wrong
// usage (nothing is done).
#include <getopt.h>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "libs/compiler/compiler.h"
#include "platform/files.h"
#include "zarn/version.h"

namespace {

constexpr char kUsage[] =
    "usage: zarnl [options] SOURCE\n"
    "Compiles a device-description source into device XML, or only checks it\n"
    "when no output is named.\n"
    "\n"
    "  -o, --output FILE            write the device XML to FILE (not on errors)\n"
    "  -E, --preprocess             print the preprocessed text instead\n"
    "  -I, --include-dir DIR        search DIR for included files (repeatable; without\n"
    "                               one, the source's directory and its ancestors\n"
    "                               with their _global directories)\n"
    "      --config FILE            device configuration (HV__DEV01.cfg) naming the\n"
    "                               device types DEVICE_TYPE may give by name\n"
    "  -Werror, --warnings-as-errors\n"
    "                               fail on warnings as on errors\n"
    "  -h, --help                   show this help\n"
    "      --version                show the version\n"
    "\n"
    "Errors and warnings go to standard error as \"file:line: message\" and\n"
    "\"file:line: warning: message\". Exit status: 0 success, 1 errors in the source\n"
    "(or warnings under --warnings-as-errors; nothing is written then), 2 wrong usage.\n";

struct Options {
  bool help = false;
  bool version = false;
  bool preprocess_only = false;
  bool warnings_as_errors = false;
  std::vector<std::string> include_dirs;
  std::string source;
  std::string output;
  std::string config;
  std::string error;  // wrong usage
};

enum OptionId { kConfig = 1000, kVersion, kWarningsAsErrors };

const option kTable[] = {{"help", no_argument, nullptr, 'h'},
                         {"version", no_argument, nullptr, kVersion},
                         {"preprocess", no_argument, nullptr, 'E'},
                         {"include-dir", required_argument, nullptr, 'I'},
                         {"output", required_argument, nullptr, 'o'},
                         {"config", required_argument, nullptr, kConfig},
                         {"warnings-as-errors", no_argument, nullptr, kWarningsAsErrors},
                         {nullptr, 0, nullptr, 0}};

// The argument getopt_long stopped at, for messages.
std::string Offending(int argc, char** argv) {
  const int at = optind - 1;
  std::string bad = at > 0 && at < argc ? argv[at] : "";
  if (optopt != 0 && bad.rfind("--", 0) != 0) bad = std::string("-") + static_cast<char>(optopt);
  return bad.substr(0, bad.find('='));
}

bool TakeOption(int c, int argc, char** argv, Options* o) {
  switch (c) {
    case 'h':
      o->help = true;
      return true;
    case kVersion:
      o->version = true;
      return true;
    case 'E':
      o->preprocess_only = true;
      return true;
    case 'I':
      o->include_dirs.emplace_back(optarg);
      return true;
    case 'o':
      o->output = optarg;
      return true;
    case kConfig:
      o->config = optarg;
      return true;
    case kWarningsAsErrors:
      o->warnings_as_errors = true;
      return true;
    case 'W':  // -Werror; -W takes the rest of the word
      if (std::strcmp(optarg, "error") == 0) return o->warnings_as_errors = true;
      o->error = "unknown option -W" + std::string(optarg);
      return false;
    case ':':
      o->error = "option " + Offending(argc, argv) + " needs a value";
      return false;
    default: {
      const std::string bad = Offending(argc, argv);
      for (const option* known = kTable; known->name != nullptr; ++known) {
        if (bad == "--" + std::string(known->name)) {  // a flag given a value
          o->error = "option " + bad + " takes no value";
          return false;
        }
      }
      o->error = "unknown option " + bad;
      return false;
    }
  }
}

Options ParseArgs(int argc, char** argv) {
  Options o;
  opterr = 0;
  for (int c; (c = getopt_long(argc, argv, ":hEI:o:W:", kTable, nullptr)) != -1;) {
    if (!TakeOption(c, argc, argv, &o)) return o;
  }
  if (o.help || o.version) return o;
  if (optind == argc)
    o.error = "no source given";
  else if (optind + 1 < argc)
    o.error = "one source only, not also '" + std::string(argv[optind + 1]) + "'";
  else
    o.source = argv[optind];
  return o;
}

void Report(const zarnl::Diagnostics& d) {
  for (const zarnl::Diagnostic& e : d.Entries()) std::cerr << e.Text() << '\n';
}

// The result of a run whose diagnostics are `d`: 0, or 1 for errors (and for
// warnings when they count as errors).
int Status(bool ok, const zarnl::Diagnostics& d, const Options& o) {
  return ok && !(o.warnings_as_errors && d.HasWarnings()) ? 0 : 1;
}

int Run(const Options& o) {
  zarnl::DeviceConfiguration configuration;
  if (!o.config.empty() && !configuration.Load(o.config)) {
    std::cerr << o.config << ": cannot read device configuration\n";
    return 2;
  }
  std::string path;
  for (const std::string& d : o.include_dirs) path += d + ";";
  const auto dirs = zarnl::IncludeDirsFor(o.source, path, &configuration);
  if (o.preprocess_only) {
    zarnl::PreprocessResult r = zarnl::Preprocess(o.source, dirs);
    Report(r.diagnostics);
    // The text helps to find an error, so it is printed despite errors; not when
    // warnings fail the run, which then writes nothing as a compile does.
    const int status = Status(r.ok, r.diagnostics, o);
    if (status == 0 || !r.ok) std::cout << r.output.Text();
    return status;
  }
  zarnl::CompileResult r = zarnl::Compile(o.source, dirs, &configuration);
  Report(r.diagnostics);
  const int status = Status(r.ok, r.diagnostics, o);
  if (status != 0 || o.output.empty()) return status;
  std::string error;
  if (!zarn::WriteFileAtomically(o.output, r.device_xml, &error)) {
    std::cerr << o.output << ": cannot write: " << error << '\n';
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = ParseArgs(argc, argv);
  if (!o.error.empty()) {
    std::cerr << "zarnl: " << o.error << "\nTry 'zarnl --help'.\n";
    return 2;
  }
  if (o.help) {
    std::cout << kUsage;
    return 0;
  }
  if (o.version) {
    std::cout << "zarnl " << ZARN_VERSION_STRING << '\n';
    return 0;
  }
  return Run(o);
}
