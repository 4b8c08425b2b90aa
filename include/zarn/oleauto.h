/* BSTR and VARIANT: the string and value types that cross the library boundary.
 *
 * Conventions:
 *  1. A BSTR is a char16_t* that points just past a 32-bit byte length and is
 *     NUL-terminated. It is allocated with SysAllocString/SysAllocStringLen and
 *     released with SysFreeString (which accepts NULL).
 *  2. A VARIANT is 24 bytes: vt, three reserved words and a 16-byte union.
 *     VariantClear releases a VT_BSTR string and sets vt to VT_EMPTY.
 *  3. Every library of the system allocates with the C heap, so a BSTR made by
 *     one of them may be released by any other.
 */
#ifndef ZARN_OLEAUTO_H_
#define ZARN_OLEAUTO_H_

#include <stdint.h>
#ifdef __cplusplus
#include <cstddef>
#else
#include <uchar.h>
#endif

#include "zarn/platform.h"

ZARN_BEGIN_DECLS

typedef char16_t OLECHAR;
typedef OLECHAR* BSTR;
typedef uint16_t VARTYPE;
typedef int16_t VARIANT_BOOL;

#define VARIANT_TRUE ((VARIANT_BOOL)-1)
#define VARIANT_FALSE ((VARIANT_BOOL)0)

enum {
  VT_EMPTY = 0,
  VT_NULL = 1,
  VT_I2 = 2,
  VT_I4 = 3,
  VT_R4 = 4,
  VT_R8 = 5,
  VT_BSTR = 8,
  VT_BOOL = 11,
  VT_I1 = 16,
  VT_UI1 = 17,
  VT_UI2 = 18,
  VT_UI4 = 19,
  VT_I8 = 20,
  VT_UI8 = 21,
  VT_INT = 22,
  VT_UINT = 23
};

typedef struct tagVARIANT {
  VARTYPE vt;
  uint16_t wReserved1;
  uint16_t wReserved2;
  uint16_t wReserved3;
  union {
    int64_t llVal;
    uint64_t ullVal;
    int32_t lVal;
    uint32_t ulVal;
    int16_t iVal;
    uint16_t uiVal;
    int8_t cVal;
    uint8_t bVal;
    float fltVal;
    double dblVal;
    VARIANT_BOOL boolVal;
    BSTR bstrVal;
    void* byref;
    struct {
      void* pvRecord;
      void* pRecInfo;
    } rec;
  };
} VARIANT;

/* Returns a new BSTR holding a copy of s (NULL gives NULL). */
ZARN_EXPORT BSTR SysAllocString(const OLECHAR* s);
/* Returns a new BSTR of len characters copied from s (s may be NULL: zeroed). */
ZARN_EXPORT BSTR SysAllocStringLen(const OLECHAR* s, uint32_t len);
/* Releases a BSTR; NULL is allowed. */
ZARN_EXPORT void SysFreeString(BSTR s);
/* Returns the length of s in characters; 0 for NULL. */
ZARN_EXPORT uint32_t SysStringLen(BSTR s);
/* Sets vt to VT_EMPTY. */
ZARN_EXPORT void VariantInit(VARIANT* v);
/* Releases what v owns and sets vt to VT_EMPTY; returns 0. */
ZARN_EXPORT int32_t VariantClear(VARIANT* v);

ZARN_END_DECLS

#endif /* ZARN_OLEAUTO_H_ */
