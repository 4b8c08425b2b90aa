#include "query/heap_text.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/strings.h"

namespace zarn {

char16_t* HeapString(std::string_view utf8, size_t extra_room) {
  const std::u16string text = ToUtf16(utf8);
  auto* copy = static_cast<char16_t*>(std::malloc((text.size() + extra_room + 1) * sizeof(char16_t)));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, text.data(), text.size() * sizeof(char16_t));
  copy[text.size()] = u'\0';
  return copy;
}

}  // namespace zarn
