// Fuzzes the device-description compiler: preprocessor, lexer, parser and device
// XML writer, on a source written to a scratch file of this process (the compiler
// reads files, so that includes resolve beside the source).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <string>

#include "libs/compiler/compiler.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/zarn_fuzz_compiler_" + std::to_string(getpid()) + ".ddl";
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  zarnl::Preprocess(path, {});
  zarnl::Compile(path, {}, nullptr);
  return 0;
}
