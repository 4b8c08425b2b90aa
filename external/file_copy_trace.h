// The trace of what CFileOperation's copies meet on their way, under the name of the
// copy ("CFileOperation::DoFileCopy"). Hand TraceFileCopy to a CFileOperation that
// copies into the file area.
#ifndef ZARN_EXTERNAL_FILE_COPY_TRACE_H_
#define ZARN_EXTERNAL_FILE_COPY_TRACE_H_

#include "platform/file_operation.h"

namespace zarn {

// Level 2 "overwrite error: overwrite %s" (the destination), or
// "copy error: %s not copied to %s (%s)" (source, destination, reason).
void TraceFileCopy(const FileCopyNote& note);

}  // namespace zarn

#endif  // ZARN_EXTERNAL_FILE_COPY_TRACE_H_
