// What processes that were killed leave behind: the temporary file of a save
// ("zarn_catalog_content.xml.tmp<pid>") and the temporary directory of a process
// ("zarnCatalog$$<pid>"). The next process clears them away.
#ifndef ZARN_PLATFORM_LEFTOVERS_H_
#define ZARN_PLATFORM_LEFTOVERS_H_

#include <chrono>
#include <string>
#include <string_view>

namespace zarn {

// True unless no process with this number runs (one we may not signal counts as running).
bool ProcessIsRunning(long pid);

// Removes the entries of `directory` named `prefix` followed by the number of a
// process that no longer runs and last changed at least `min_age` ago (so that a
// process of another pid namespace sharing the directory keeps what it is using).
// Returns how many were removed.
int RemoveLeftoversOfDeadProcesses(const std::string& directory, std::string_view prefix, std::chrono::seconds min_age);

}  // namespace zarn

#endif  // ZARN_PLATFORM_LEFTOVERS_H_
