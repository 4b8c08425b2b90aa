// BSTR and VARIANT on the C heap, with the layout described in zarn/oleauto.h.
#include "zarn/oleauto.h"

#include <cstdlib>
#include <cstring>

extern "C" {

BSTR SysAllocStringLen(const OLECHAR* s, uint32_t len) {
  if (len > (UINT32_MAX - 8) / sizeof(OLECHAR)) return nullptr;
  const uint32_t bytes = len * sizeof(OLECHAR);
  auto* block = static_cast<unsigned char*>(std::malloc(sizeof(uint32_t) + bytes + sizeof(OLECHAR)));
  if (block == nullptr) return nullptr;
  std::memcpy(block, &bytes, sizeof bytes);
  auto* text = reinterpret_cast<OLECHAR*>(block + sizeof(uint32_t));
  if (s != nullptr) {
    std::memcpy(text, s, bytes);
  } else {
    std::memset(text, 0, bytes);
  }
  text[len] = 0;
  return text;
}

BSTR SysAllocString(const OLECHAR* s) {
  if (s == nullptr) return nullptr;
  uint32_t len = 0;
  while (s[len] != 0) ++len;
  return SysAllocStringLen(s, len);
}

void SysFreeString(BSTR s) {
  if (s == nullptr) return;
  std::free(reinterpret_cast<unsigned char*>(s) - sizeof(uint32_t));
}

uint32_t SysStringLen(BSTR s) {
  if (s == nullptr) return 0;
  uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<unsigned char*>(s) - sizeof(uint32_t), sizeof bytes);
  return bytes / sizeof(OLECHAR);
}

void VariantInit(VARIANT* v) {
  if (v == nullptr) return;
  std::memset(v, 0, sizeof *v);
}

int32_t VariantClear(VARIANT* v) {
  if (v == nullptr) return 0;
  if (v->vt == VT_BSTR) SysFreeString(v->bstrVal);
  std::memset(v, 0, sizeof *v);
  return 0;
}

}  // extern "C"
