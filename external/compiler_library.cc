#include "external/compiler_library.h"

#include "platform/strings.h"

namespace zarn {

CompilerLibrary& CompilerLibrary::Instance() {
  static CompilerLibrary instance;
  return instance;
}

CompilerLibrary::CompilerLibrary() {
  if (!library_.OpenFromModuleDirectory(kCompilerLibraryName)) return;
  preprocess_ = library_.Function<decltype(preprocess_)>("ZARNL_PreprocessToString");
  open_ = library_.Function<decltype(open_)>("ZARNL_OpenCompilation");
  write_ = library_.Function<decltype(write_)>("ZARNL_WriteDeviceXml");
  close_ = library_.Function<decltype(close_)>("ZARNL_CloseCompilation");
  configure_ = library_.Function<decltype(configure_)>("ZARNL_SetDeviceConfiguration");
  available_ = preprocess_ && open_ && write_ && close_ && configure_;
}

int32_t CompilerLibrary::PreprocessToString(const std::string& source, const std::string& include_path,
                                            std::string* text) {
  if (!available_) return -1;
  VARIANT unused;
  VARIANT out;
  VariantInit(&unused);
  VariantInit(&out);
  const std::u16string source16 = ToUtf16(source);
  const std::u16string include16 = ToUtf16(include_path);
  const int32_t result = preprocess_(source16.c_str(), &unused, &out, include16.c_str(), 1);
  if (result == 0) *text = VariantString(out);
  VariantClear(&out);
  VariantClear(&unused);
  return result;
}

void* CompilerLibrary::OpenCompilation(const std::string& source, ZarnlCallback callback, int32_t context) {
  if (!available_) return nullptr;
  const std::u16string source16 = ToUtf16(source);
  return open_(source16.c_str(), callback, context, 0, 0, nullptr, 0);
}

int32_t CompilerLibrary::WriteDeviceXml(void* handle, const std::string& output_file) {
  if (!available_ || handle == nullptr) return -1;
  const std::u16string out16 = ToUtf16(output_file);
  return write_(handle, out16.c_str(), 0);
}

void CompilerLibrary::CloseCompilation(void* handle) {
  if (available_ && handle != nullptr) close_(handle);
}

void CompilerLibrary::SetDeviceConfiguration(const std::string* path) {
  if (!available_) return;
  if (path == nullptr) {
    configure_(nullptr);
    return;
  }
  const std::u16string path16 = ToUtf16(*path);
  configure_(path16.c_str());
}

}  // namespace zarn
