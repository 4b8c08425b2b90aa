// What the library tells about a source while a call runs: the compiler's
// "file:line: message" lines, which a user needs to see when an import or a
// conversion fails, with or without --trace.
#ifndef ZARN_CLI_SOURCE_MESSAGES_H_
#define ZARN_CLI_SOURCE_MESSAGES_H_

#include <string>
#include <vector>

namespace zarn::cli {

// Starts collecting (once per process; later calls do nothing).
void CollectSourceMessages();
// Adds a message of the host's own (a converter's record message, say).
void AddSourceMessage(std::string message);
// The messages collected since the last call, oldest first.
std::vector<std::string> TakeSourceMessages();

}  // namespace zarn::cli

#endif  // ZARN_CLI_SOURCE_MESSAGES_H_
