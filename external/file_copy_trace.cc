#include "external/file_copy_trace.h"

#include <string_view>

#include "external/trace.h"

namespace zarn {
namespace {

constexpr std::string_view kFunction = "CFileOperation::DoFileCopy";

}  // namespace

void TraceFileCopy(const FileCopyNote& note) {
  switch (note.kind) {
    case FileCopyNote::Kind::kOverwriteOfOtherSize:
      Trace(kTraceError, kFunction, "overwrite error: overwrite %s", note.destination);
      return;
    case FileCopyNote::Kind::kCopyFailed:
      Trace(kTraceError, kFunction, "copy error: %s not copied to %s (%s)", note.source, note.destination, note.reason);
      return;
  }
}

}  // namespace zarn
