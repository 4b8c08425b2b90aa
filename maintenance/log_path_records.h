// C-heap records of the log path lists handed to hosts (LogPathEntry, LogPathSegment):
// allocation, copying and release.
#ifndef ZARN_MAINTENANCE_LOG_PATH_RECORDS_H_
#define ZARN_MAINTENANCE_LOG_PATH_RECORDS_H_

#include <cstddef>
#include <memory>
#include <string_view>

#include "zarn/catalog_manager.h"

namespace zarn {

// A zero-filled record, or null when the allocation fails.
LogPathEntry* NewLogPathEntry();
LogPathSegment* NewLogPathSegment();
// A NUL-terminated UTF-16 copy of a UTF-8 text in its own C-heap block; null when
// the allocation fails.
char16_t* NewWideString(std::string_view utf8);
// A copy of a wide string; null for null or when the allocation fails (*failed set).
char16_t* CopyWideString(const char16_t* s, bool* failed);

// Frees a chain of segments with their strings. Accepts null.
void FreeLogPathSegments(LogPathSegment* first);
// Frees one entry with its strings and segments, not the entries after it.
void FreeLogPathEntry(LogPathEntry* entry);
// Frees a whole chain of entries. Accepts null.
void FreeLogPathEntries(LogPathEntry* first);

// Owns one entry (not its successors).
struct LogPathEntryDeleter {
  void operator()(LogPathEntry* e) const { FreeLogPathEntry(e); }
};
using LogPathEntryPtr = std::unique_ptr<LogPathEntry, LogPathEntryDeleter>;

// Owns a whole chain of entries.
struct LogPathChainDeleter {
  void operator()(LogPathEntry* e) const { FreeLogPathEntries(e); }
};
using LogPathChain = std::unique_ptr<LogPathEntry, LogPathChainDeleter>;

// Test hook: every record and string allocation goes through `allocator` (malloc
// when null), so that tests can make the n-th allocation fail.
void SetLogPathAllocatorForTesting(void* (*allocator)(size_t));

}  // namespace zarn

#endif  // ZARN_MAINTENANCE_LOG_PATH_RECORDS_H_
