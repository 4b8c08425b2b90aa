/* The C host of the compiler library's entry points, used by exports_test. */
#ifndef ZARN_TESTS_COMPILER_EXPORTS_C_HOST_H_
#define ZARN_TESTS_COMPILER_EXPORTS_C_HOST_H_

#include "zarn/zarnl_compiler.h"

ZARN_BEGIN_DECLS

typedef struct {
  int32_t preprocess_result;
  int32_t preprocessed_type;
  int32_t preprocessed_length;
  int32_t opened;
  int32_t write_result;
} ZarnlHostResult;

/* Sets the configuration, preprocesses `source` (default include path), opens,
 * writes `output` and closes. Returns 0 when the library or an entry point cannot be
 * loaded, 1 otherwise. */
int zarnl_c_host_run(const char* library, const char16_t* source, const char16_t* output, const char16_t* configuration,
                     ZarnlCallback callback, ZarnlHostResult* result);

ZARN_END_DECLS

#endif /* ZARN_TESTS_COMPILER_EXPORTS_C_HOST_H_ */
