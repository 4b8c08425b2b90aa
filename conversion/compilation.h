// One compilation of a device-description source by the compiler library, and the
// callback through which the compiler asks the catalog manager for answers.
#ifndef ZARN_CONVERSION_COMPILATION_H_
#define ZARN_CONVERSION_COMPILATION_H_

#include <cstdint>
#include <string>

#include "zarn/oleauto.h"
#include "zarn/platform.h"

namespace zarn {

// The callback context handed to the compiler with every compilation.
inline constexpr int32_t kCompilationContext = 4711;
// The builtins library the compiler is told to load.
inline constexpr const char* kBuiltinsLibraryName = "zarn_builtins_standard_x";

// Answers the compiler's requests:
//   1: nothing, returns -1;  2: *data := VT_BOOL 1, returns 0;
//   4: traces "Compile Error: %s" with the text in *data (level 2), returns 0;
//   5: nothing, returns 0;   8: *data := VT_BSTR file name of the builtins library, returns 0;
//   other requests: nothing, returns -1.
// *data is overwritten without being cleared; a null `data` is not touched.
int32_t ZARN_CALL DdcCallBack(int32_t request, int32_t unused1, int32_t unused2, VARIANT* data);

// Holds the handle of an open compilation; closes it on destruction.
class Compilation {
 public:
  Compilation() = default;
  ~Compilation();
  Compilation(const Compilation&) = delete;
  Compilation& operator=(const Compilation&) = delete;

  // Opens a compilation of `source` with DdcCallBack and kCompilationContext
  // (closing one still open). Returns 0, or -1 when the compiler refused it.
  int32_t Open(const std::string& source);
  // Writes the device XML of the open compilation to `outputFile`. Returns the
  // compiler's result (0 on success); -1 when nothing is open.
  int32_t Produce(const std::string& outputFile);
  // Closes the compilation, if one is open.
  void Close();

  bool is_open() const { return handle_ != nullptr; }

 private:
  void* handle_ = nullptr;
};

}  // namespace zarn

#endif  // ZARN_CONVERSION_COMPILATION_H_
