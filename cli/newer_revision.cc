#include "cli/newer_revision.h"

#include <cstdlib>
#include <optional>

#include "cli/command.h"

namespace zarn::cli {
namespace {

std::optional<unsigned long> Revision(VARIANT* v) {
  const std::string text = TakeString(v);
  if (text.empty()) return std::nullopt;
  char* end = nullptr;
  const unsigned long n = std::strtoul(text.c_str(), &end, 16);
  if (end == text.c_str()) return std::nullopt;
  return n;
}

}  // namespace

bool MayBeNewerRevision(uint32_t import_result) {
  return import_result == ZARN_E_OTHER_DEVICE_REVISION || import_result == ZARN_E_OTHER_DD_REVISION ||
         import_result == ZARN_E_SAME_DEVICE_REVISION;
}

bool IsNewerRevision(const std::u16string& component_xml) {
  VARIANT v[4];
  for (VARIANT& x : v) VariantInit(&x);
  const uint32_t rc = ZARN_IsComponentExistent(component_xml.c_str(), &v[0], &v[1], &v[2], &v[3]);
  const std::optional<unsigned long> catalog_dd = Revision(&v[0]), file_dd = Revision(&v[1]);
  const std::optional<unsigned long> catalog_dev = Revision(&v[2]), file_dev = Revision(&v[3]);
  if (rc != 0) return false;
  if (catalog_dev && file_dev && *catalog_dev != *file_dev) return *file_dev > *catalog_dev;
  return catalog_dd && file_dd && *file_dd > *catalog_dd;
}

uint32_t ReplaceWithNewer(const std::u16string& component_xml, LogPathEntry** paths) {
  VARIANT deleted, referencing;
  VariantInit(&deleted);
  VariantInit(&referencing);
  const uint32_t rc = ZARN_ReplaceComponent(component_xml.c_str(), &deleted, &referencing, paths);
  VariantClear(&deleted);
  VariantClear(&referencing);
  return rc;
}

}  // namespace zarn::cli
