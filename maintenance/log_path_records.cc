#include "maintenance/log_path_records.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/strings.h"

namespace zarn {
namespace {

void* (*g_allocator)(size_t) = nullptr;

void* Allocate(size_t bytes) { return g_allocator != nullptr ? g_allocator(bytes) : std::malloc(bytes); }

template <typename T>
T* NewZeroed() {
  void* block = Allocate(sizeof(T));
  if (block != nullptr) std::memset(block, 0, sizeof(T));
  return static_cast<T*>(block);
}

char16_t* NewWide(const char16_t* s, size_t length) {
  auto* copy = static_cast<char16_t*>(Allocate((length + 1) * sizeof(char16_t)));
  if (copy == nullptr) return nullptr;
  std::memcpy(copy, s, length * sizeof(char16_t));
  copy[length] = u'\0';
  return copy;
}

bool IsAscii(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

void SetLogPathAllocatorForTesting(void* (*allocator)(size_t)) { g_allocator = allocator; }

LogPathEntry* NewLogPathEntry() { return NewZeroed<LogPathEntry>(); }

LogPathSegment* NewLogPathSegment() { return NewZeroed<LogPathSegment>(); }

char16_t* NewWideString(std::string_view utf8) {
  if (!IsAscii(utf8)) {
    const std::u16string wide = ToUtf16(utf8);
    return NewWide(wide.data(), wide.size());
  }
  // Names, ids and most texts: widened straight into the block.
  auto* copy = static_cast<char16_t*>(Allocate((utf8.size() + 1) * sizeof(char16_t)));
  if (copy == nullptr) return nullptr;
  for (size_t i = 0; i < utf8.size(); ++i) copy[i] = static_cast<char16_t>(utf8[i]);
  copy[utf8.size()] = u'\0';
  return copy;
}

char16_t* CopyWideString(const char16_t* s, bool* failed) {
  if (s == nullptr) return nullptr;
  char16_t* copy = NewWide(s, std::char_traits<char16_t>::length(s));
  if (copy == nullptr) *failed = true;
  return copy;
}

void FreeLogPathSegments(LogPathSegment* first) {
  while (first != nullptr) {
    LogPathSegment* next = first->next;
    std::free(first->name);
    std::free(first->id);
    std::free(first->help);
    std::free(first->label);
    std::free(first);
    first = next;
  }
}

void FreeLogPathEntry(LogPathEntry* entry) {
  if (entry == nullptr) return;
  std::free(entry->path);
  std::free(entry->label);
  FreeLogPathSegments(entry->segments);
  std::free(entry);
}

void FreeLogPathEntries(LogPathEntry* first) {
  while (first != nullptr) {
    LogPathEntry* next = first->next;
    FreeLogPathEntry(first);
    first = next;
  }
}

}  // namespace zarn
