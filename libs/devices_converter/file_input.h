// Bounded reading of input files.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_FILE_INPUT_H_
#define ZARN_LIBS_DEVICES_CONVERTER_FILE_INPUT_H_

#include <cstddef>
#include <string>

namespace zarn::converters {

// The largest description file a converter reads whole.
inline constexpr size_t kMaxInputFileSize = 32u << 20;

enum class ReadStatus { kOk, kCannotOpen, kTooLarge };

// Reads at most `limit` bytes of a regular file into *out. kTooLarge when the
// file holds more (with *out holding the first `limit` bytes).
ReadStatus ReadFileLimited(const std::string& path, size_t limit, std::string* out);

// True when the first bytes of `data` contain a NUL byte (a binary file).
bool LooksBinary(const std::string& data);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_FILE_INPUT_H_
