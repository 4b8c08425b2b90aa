// The five entry points of zarn_zarnl_compiler_x: thin shims over the compiler.
// No C++ exception leaves them.
#include <memory>
#include <mutex>
#include <string>

#include "libs/compiler/compiler.h"
#include "platform/files.h"
#include "platform/strings.h"
#include "zarn/zarnl_compiler.h"

namespace {

// The builtins library a compilation would load (asked from the host).
constexpr char kDefaultBuiltins[] = "zarn_builtins_standard_x.so";

struct Compilation {
  zarnl::CompileResult result;
  std::string builtins;
  std::string output_base;
};

std::mutex& ConfigurationLock() {
  static std::mutex lock;
  return lock;
}

std::string AskBuiltins(ZarnlCallback callback, int32_t context) {
  VARIANT v;
  VariantInit(&v);
  std::string name = kDefaultBuiltins;
  if (callback(ZARNL_REQUEST_BUILTINS, context, 0, &v) == 0 && v.vt == VT_BSTR) {
    name = zarn::VariantString(v);
  }
  VariantClear(&v);
  return name;
}

// Errors and warnings alike go to the error request, a warning's text reading
// "file:line: warning: message"; only errors make the compilation fail.
void ReportErrors(const zarnl::Diagnostics& diagnostics, ZarnlCallback callback, int32_t context) {
  for (const zarnl::Diagnostic& d : diagnostics.Entries()) {
    VARIANT v;
    VariantInit(&v);
    zarn::SetVariantString(&v, d.Text());
    callback(ZARNL_REQUEST_ERROR, context, 0, &v);
    VariantClear(&v);
  }
}

}  // namespace

extern "C" {

ZARN_EXPORT int32_t ZARN_CALL ZARNL_PreprocessToString(const char16_t* source, VARIANT* /*unused*/, VARIANT* text,
                                                       const char16_t* include_path, int32_t /*options*/) {
  try {
    if (source == nullptr || text == nullptr) return -1;
    const std::string path = zarn::ToUtf8(source);
    std::vector<std::string> dirs;
    {
      std::lock_guard<std::mutex> lock(ConfigurationLock());
      dirs = zarnl::IncludeDirsFor(path, zarn::ToUtf8(include_path), &zarnl::ProcessDeviceConfiguration());
    }
    zarnl::PreprocessResult result = zarnl::Preprocess(path, dirs);
    if (!result.ok) return 1;
    zarn::SetVariantString(text, result.output.Text());
    return 0;
  } catch (...) {
    return -1;
  }
}

ZARN_EXPORT void* ZARN_CALL ZARNL_OpenCompilation(const char16_t* source, ZarnlCallback callback, int32_t context,
                                                  int32_t /*reserved1*/, int32_t /*reserved2*/,
                                                  const char16_t* output_base, int32_t /*reserved3*/) {
  try {
    if (source == nullptr) return nullptr;
    auto compilation = std::make_unique<Compilation>();
    const std::string path = zarn::ToUtf8(source);
    compilation->output_base = zarn::ToUtf8(output_base);
    if (callback != nullptr) compilation->builtins = AskBuiltins(callback, context);
    {
      std::lock_guard<std::mutex> lock(ConfigurationLock());
      const zarnl::DeviceConfiguration& configuration = zarnl::ProcessDeviceConfiguration();
      compilation->result =
          zarnl::Compile(path, zarnl::IncludeDirsFor(path, std::string(), &configuration), &configuration);
    }
    if (callback != nullptr) ReportErrors(compilation->result.diagnostics, callback, context);
    if (!compilation->result.readable) return nullptr;
    return compilation.release();
  } catch (...) {
    return nullptr;
  }
}

ZARN_EXPORT int32_t ZARN_CALL ZARNL_WriteDeviceXml(void* handle, const char16_t* output_file, int32_t /*reserved*/) {
  try {
    if (handle == nullptr) return -1;
    const Compilation* compilation = static_cast<const Compilation*>(handle);
    if (!compilation->result.ok) return 1;
    std::string path = zarn::ToUtf8(output_file);
    if (path.empty()) path = compilation->output_base + ".device.xml";
    std::string error;
    return zarn::WriteFileAtomically(path, compilation->result.device_xml, &error) ? 0 : 2;
  } catch (...) {
    return -1;
  }
}

ZARN_EXPORT void ZARN_CALL ZARNL_CloseCompilation(void* handle) { delete static_cast<Compilation*>(handle); }

ZARN_EXPORT void ZARN_CALL ZARNL_SetDeviceConfiguration(const char16_t* path) {
  try {
    std::lock_guard<std::mutex> lock(ConfigurationLock());
    zarnl::DeviceConfiguration& configuration = zarnl::ProcessDeviceConfiguration();
    if (path == nullptr) {
      configuration.Clear();
    } else {
      configuration.Load(zarn::ToUtf8(path));
    }
  } catch (...) {
  }
}

}  // extern "C"
