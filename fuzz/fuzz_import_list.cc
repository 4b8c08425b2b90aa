// Fuzzes the import list file: whatever the text, parsing ends with a map whose
// entries write back to a list that parses to the same map.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "import/import_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  zarn::ImportListMap map;
  if (!zarn::ParseImportList(text, &map)) return 0;
  zarn::ImportListMap again;
  if (!zarn::ParseImportList(zarn::SerializeImportList(map), &again) || again != map) abort();
  return 0;
}
