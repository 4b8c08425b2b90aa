// Whole-file reading and crash-safe writing.
#ifndef ZARN_PLATFORM_FILES_H_
#define ZARN_PLATFORM_FILES_H_

#include <string>
#include <string_view>

namespace zarn {

// Reads a whole file. Returns false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string* out);

// Writes `data` to a temporary file beside `path`, flushes it to disk and renames
// it over `path`, so that `path` holds either the old or the new content, never
// a part. Returns false (and removes the temporary file) on failure.
bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* error);

// Testing: called after the temporary file was written and flushed, before the
// rename. Returning false stops the write there, as a crash would (the temporary
// file stays). Pass nullptr to remove the hook.
// The number of this process (names per-process working files).
long CurrentProcessId();

using BeforeRenameHook = bool (*)(const std::string& temp_path);
void SetBeforeRenameHookForTesting(BeforeRenameHook hook);

}  // namespace zarn

#endif  // ZARN_PLATFORM_FILES_H_
