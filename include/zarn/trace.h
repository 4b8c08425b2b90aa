/* The trace library zarn_trace_x: one function that every component reports to.
 *
 * Levels: 2 errors, 4 warnings, 16 progress information. In the format, %s takes
 * a const char16_t* and %d an int32_t; %% writes a percent sign.
 *
 * Where the output goes is set by the environment:
 *   ZARN_TRACE_FILE   a file path (entries are appended, one a line) or "-" for
 *                     standard error; without it nothing is written.
 *   ZARN_TRACE_LEVEL  bit mask of the levels written (decimal or 0x hex); 6 when unset.
 * A sink installed with ZARN_SetTraceSink receives every entry, whatever the mask.
 * Tracing never fails the caller: the result of ZARN_DoTrace may be ignored.
 */
#ifndef ZARN_TRACE_H_
#define ZARN_TRACE_H_

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#include "zarn/platform.h"

ZARN_BEGIN_DECLS

enum { ZARN_TRACE_ERROR = 2, ZARN_TRACE_WARNING = 4, ZARN_TRACE_INFO = 16 };

/* Formats and writes one entry. Returns 0, or -1 when the entry was not written. */
ZARN_EXPORT int32_t ZARN_DoTrace(int32_t level, const char16_t* category, const char16_t* source,
                                 const char16_t* function, const char16_t* format, ...);

/* Receives one formatted entry. The strings live only for the duration of the call. */
typedef void (*ZarnTraceSink)(void* context, int32_t level, const char16_t* category, const char16_t* source,
                              const char16_t* function, const char16_t* message);

/* Installs an in-process sink (NULL removes it). Meant for tests and embedding hosts. */
ZARN_EXPORT void ZARN_SetTraceSink(ZarnTraceSink sink, void* context);

/* Re-reads ZARN_TRACE_FILE and ZARN_TRACE_LEVEL (they are read once, at first use). */
ZARN_EXPORT void ZARN_ReloadTraceSettings(void);

ZARN_END_DECLS

#endif /* ZARN_TRACE_H_ */
