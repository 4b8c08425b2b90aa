#include "conversion/compilation.h"

#include "external/compiler_library.h"
#include "external/trace.h"
#include "platform/dynlib.h"
#include "platform/strings.h"
#include "zarn/zarnl_compiler.h"

namespace zarn {

int32_t ZARN_CALL DdcCallBack(int32_t request, int32_t, int32_t, VARIANT* data) {
  try {
    switch (request) {
      case ZARNL_REQUEST_FLAG:
        if (data != nullptr) {
          data->vt = VT_BOOL;
          data->boolVal = 1;
        }
        return 0;
      case ZARNL_REQUEST_ERROR:
        Trace(kTraceError, "DdcCallBack", "Compile Error: %s", data != nullptr ? VariantString(*data) : "");
        return 0;
      case ZARNL_REQUEST_INFO:
        return 0;
      case ZARNL_REQUEST_BUILTINS:
        if (data != nullptr) SetVariantString(data, LibraryFileName(kBuiltinsLibraryName));
        return 0;
      default:
        return -1;
    }
  } catch (...) {
    return -1;  // the compiler is C code: nothing may escape into it
  }
}

Compilation::~Compilation() { Close(); }

int32_t Compilation::Open(const std::string& source) {
  Close();
  handle_ = CompilerLibrary::Instance().OpenCompilation(source, &DdcCallBack, kCompilationContext);
  return handle_ != nullptr ? 0 : -1;
}

int32_t Compilation::Produce(const std::string& outputFile) {
  if (handle_ == nullptr) return -1;
  return CompilerLibrary::Instance().WriteDeviceXml(handle_, outputFile);
}

void Compilation::Close() {
  if (handle_ == nullptr) return;
  CompilerLibrary::Instance().CloseCompilation(handle_);
  handle_ = nullptr;
}

}  // namespace zarn
