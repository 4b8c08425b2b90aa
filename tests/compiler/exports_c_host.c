/* A host written in C: loads zarn_zarnl_compiler_x with dlopen and drives it
 * through the public header's entry points, as the catalog manager does. */
#include <dlfcn.h>
#include <stddef.h>

#include "tests/compiler/exports_c_host.h"
#include "zarn/zarnl_compiler.h"

typedef int32_t(ZARN_CALL* PreprocessFn)(const char16_t*, VARIANT*, VARIANT*, const char16_t*, int32_t);
typedef void*(ZARN_CALL* OpenFn)(const char16_t*, ZarnlCallback, int32_t, int32_t, int32_t, const char16_t*, int32_t);
typedef int32_t(ZARN_CALL* WriteFn)(void*, const char16_t*, int32_t);
typedef void(ZARN_CALL* CloseFn)(void*);
typedef void(ZARN_CALL* ConfigureFn)(const char16_t*);

int zarnl_c_host_run(const char* library, const char16_t* source, const char16_t* output, const char16_t* configuration,
                     ZarnlCallback callback, ZarnlHostResult* result) {
  void* lib = dlopen(library, RTLD_NOW | RTLD_LOCAL);
  if (lib == NULL) return 0;
  PreprocessFn preprocess = (PreprocessFn)dlsym(lib, "ZARNL_PreprocessToString");
  OpenFn open = (OpenFn)dlsym(lib, "ZARNL_OpenCompilation");
  WriteFn write = (WriteFn)dlsym(lib, "ZARNL_WriteDeviceXml");
  CloseFn close = (CloseFn)dlsym(lib, "ZARNL_CloseCompilation");
  ConfigureFn configure = (ConfigureFn)dlsym(lib, "ZARNL_SetDeviceConfiguration");
  if (!preprocess || !open || !write || !close || !configure) {
    dlclose(lib);
    return 0;
  }
  configure(configuration);
  VARIANT unused, text;
  VariantInit(&unused);
  VariantInit(&text);
  result->preprocess_result = preprocess(source, &unused, &text, NULL, 1);
  result->preprocessed_type = text.vt;
  result->preprocessed_length = text.vt == VT_BSTR ? (int32_t)SysStringLen(text.bstrVal) : -1;
  VariantClear(&text);
  void* handle = open(source, callback, 4711, 0, 0, NULL, 0);
  result->opened = handle != NULL;
  result->write_result = handle != NULL ? write(handle, output, 0) : -1;
  close(handle);
  configure(NULL);
  dlclose(lib);
  return 1;
}
