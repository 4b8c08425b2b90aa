// The identification index: "%04X/%04X/%04X" of manufacturer, device type and
// device revision to the component path of the first component that has them.
#include <cstdio>
#include <cstdlib>

#include "catalog/catalog_contents.h"

namespace zarn {
namespace {

unsigned long ParseHexText(std::string_view text) {
  std::string digits(text);
  const size_t x = digits.find_first_of("xX");
  if (x == 1) digits = digits.substr(2);
  return std::strtoul(digits.c_str(), nullptr, 16);
}

}  // namespace

std::string CCatalog_Contents::IndexKey(std::string_view manufacturer, std::string_view device_type,
                                        std::string_view device_revision) {
  if (manufacturer.empty() || device_type.empty() || device_revision.empty()) return std::string();
  char key[64];
  std::snprintf(key, sizeof key, "%04lX/%04lX/%04lX", ParseHexText(manufacturer), ParseHexText(device_type),
                ParseHexText(device_revision));
  return key;
}

bool CCatalog_Contents::IndexLookup(const std::string& key, std::string* path) const {
  if (key.empty()) return false;
  const auto it = identification_index_.find(key);
  if (it == identification_index_.end()) return false;
  *path = it->second;
  return true;
}

void CCatalog_Contents::IndexInsert(const std::string& key, const std::string& path) {
  if (key.empty() || path.empty()) return;
  identification_index_.emplace(key, path);
}

bool CCatalog_Contents::IndexRemove(const std::string& key) { return identification_index_.erase(key) == 0; }

}  // namespace zarn
