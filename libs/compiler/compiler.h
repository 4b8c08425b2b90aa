// The compiler's entry points inside the library: preprocess a source, or
// compile it into device XML (docs/device-xml.md).
#ifndef ZARN_LIBS_COMPILER_COMPILER_H_
#define ZARN_LIBS_COMPILER_COMPILER_H_

#include <string>
#include <vector>

#include "libs/compiler/device_configuration.h"
#include "libs/compiler/diagnostics.h"
#include "libs/compiler/preprocessor.h"

namespace zarnl {

// The include directories for `source`: the ";"-separated `include_path` when it
// has an entry, else those of source identification (IdentificationIncludeDirs,
// with the catalog directory of `configuration` when one is set).
std::vector<std::string> IncludeDirsFor(const std::string& source, const std::string& include_path,
                                        const DeviceConfiguration* configuration);

struct PreprocessResult {
  bool ok = false;  // the source was read and no error was found
  PreprocessOutput output;
  Diagnostics diagnostics;
};

PreprocessResult Preprocess(const std::string& source, const std::vector<std::string>& include_dirs);

struct CompileResult {
  bool readable = false;   // the source file could be read
  bool ok = false;         // readable and no error was found
  std::string device_xml;  // written also when errors were found
  Diagnostics diagnostics;
};

// Preprocesses and parses `source`. `configuration` (may be null) resolves
// DEVICE_TYPE names.
CompileResult Compile(const std::string& source, const std::vector<std::string>& include_dirs,
                      const DeviceConfiguration* configuration);

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_COMPILER_H_
