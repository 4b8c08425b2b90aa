// zarnl: the command-line driver of the device-description compiler.
//   zarnl -E [-I dir]... source             prints the preprocessed text
//   zarnl [-I dir]... source -o out.xml      writes device XML
//   zarnl [-I dir]... [--config cfg] source  checks the source only
// Errors go to standard error as "file:line: message"; the exit status is 1 when
// the source has errors (no output is written then), 2 on wrong usage.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "libs/compiler/compiler.h"
#include "platform/files.h"

namespace {

struct Options {
  bool preprocess_only = false;
  std::vector<std::string> include_dirs;
  std::string source;
  std::string output;
  std::string config;
};

int Usage() {
  std::cerr << "usage: zarnl -E [-I dir]... source\n"
               "       zarnl [-I dir]... [--config HV__DEV01.cfg] source [-o out.device.xml]\n";
  return 2;
}

bool ParseArgs(int argc, char** argv, Options* o) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "-E") {
      o->preprocess_only = true;
    } else if ((a == "-I" || a == "-o" || a == "--config") && i + 1 < argc) {
      std::string value = argv[++i];
      if (a == "-I") o->include_dirs.push_back(value);
      else if (a == "-o") o->output = value;
      else o->config = value;
    } else if (a.size() > 2 && a.rfind("-I", 0) == 0) {
      o->include_dirs.push_back(a.substr(2));
    } else if (!a.empty() && a[0] != '-' && o->source.empty()) {
      o->source = a;
    } else {
      return false;
    }
  }
  return !o->source.empty();
}

void Report(const zarnl::Diagnostics& d) {
  for (const zarnl::Diagnostic& e : d.Entries()) std::cerr << e.Text() << '\n';
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  if (!ParseArgs(argc, argv, &o)) return Usage();
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
    std::cout << r.output.Text();
    Report(r.diagnostics);
    return r.ok ? 0 : 1;
  }
  zarnl::CompileResult r = zarnl::Compile(o.source, dirs, &configuration);
  Report(r.diagnostics);
  if (!r.ok) return 1;
  if (!o.output.empty()) {
    std::string error;
    if (!zarn::WriteFileAtomically(o.output, r.device_xml, &error)) {
      std::cerr << o.output << ": cannot write: " << error << '\n';
      return 1;
    }
  }
  return r.ok ? 0 : 1;
}
