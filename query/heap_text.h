// Texts for records that a host receives and releases through the library: UTF-16
// copies on the C heap (malloc), NUL-terminated.
#ifndef ZARN_QUERY_HEAP_TEXT_H_
#define ZARN_QUERY_HEAP_TEXT_H_

#include <cstddef>
#include <string_view>

namespace zarn {

// A copy of `utf8` as UTF-16 with room for `extra_room` further characters before
// the terminator; null when the allocation fails. Release with std::free.
char16_t* HeapString(std::string_view utf8, size_t extra_room = 0);

}  // namespace zarn

#endif  // ZARN_QUERY_HEAP_TEXT_H_
