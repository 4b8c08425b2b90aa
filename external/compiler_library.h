// The device-description compiler library, loaded on first use from the catalog
// manager's own directory. Every call degrades to a failure result when the library
// or one of its entry points is missing.
#ifndef ZARN_EXTERNAL_COMPILER_LIBRARY_H_
#define ZARN_EXTERNAL_COMPILER_LIBRARY_H_

#include <cstdint>
#include <string>

#include "platform/dynlib.h"
#include "zarn/zarnl_compiler.h"

namespace zarn {

inline constexpr const char* kCompilerLibraryName = "zarn_zarnl_compiler_x";

class CompilerLibrary {
 public:
  // The process-wide instance; loads the library on the first call.
  static CompilerLibrary& Instance();

  // True when the library and all five entry points were found.
  bool available() const { return available_; }

  // Preprocesses `source` with the ";"-separated include path. Returns 0 and sets
  // *text on success; the library's result (or -1 when unavailable) otherwise.
  int32_t PreprocessToString(const std::string& source, const std::string& include_path, std::string* text);
  // Opens a compilation; null on failure or when the library is unavailable.
  void* OpenCompilation(const std::string& source, ZarnlCallback callback, int32_t context);
  // Writes the device XML of an open compilation; 0 on success.
  int32_t WriteDeviceXml(void* handle, const std::string& output_file);
  // Closes a compilation; null is allowed.
  void CloseCompilation(void* handle);
  // Hands the device configuration file to the library; null drops it.
  void SetDeviceConfiguration(const std::string* path);

 private:
  CompilerLibrary();

  DynamicLibrary library_;
  bool available_ = false;
  decltype(&ZARNL_PreprocessToString) preprocess_ = nullptr;
  decltype(&ZARNL_OpenCompilation) open_ = nullptr;
  decltype(&ZARNL_WriteDeviceXml) write_ = nullptr;
  decltype(&ZARNL_CloseCompilation) close_ = nullptr;
  decltype(&ZARNL_SetDeviceConfiguration) configure_ = nullptr;
};

}  // namespace zarn

#endif  // ZARN_EXTERNAL_COMPILER_LIBRARY_H_
