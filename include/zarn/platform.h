/* Calling convention and visibility of the system's exported functions. */
#ifndef ZARN_PLATFORM_H_
#define ZARN_PLATFORM_H_

#if defined(_WIN32) && !defined(_WIN64)
#define ZARN_CALL __stdcall
#else
#define ZARN_CALL
#endif

#if defined(_WIN32)
#define ZARN_EXPORT __declspec(dllexport)
#else
#define ZARN_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
#define ZARN_EXTERN_C extern "C"
#define ZARN_BEGIN_DECLS extern "C" {
#define ZARN_END_DECLS }
#else
#define ZARN_EXTERN_C
#define ZARN_BEGIN_DECLS
#define ZARN_END_DECLS
#endif

#endif /* ZARN_PLATFORM_H_ */
