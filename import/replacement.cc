// The replacement: existence check, revision precondition, deletion, import.
#include "import/replacement.h"

#include <string>

#include "api/export_frame.h"
#include "external/unidata.h"
#include "platform/strings.h"

namespace zarn {
namespace {

ExistenceCheck existence_check = nullptr;

std::string Text(const VARIANT& v) { return v.vt == VT_BSTR ? VariantString(v) : std::string(); }

// The value step: default values convert to the text type, unless their type
// tag is 0 (the step then never stops the replacement).
bool PrepareValues() {
  CUniData values[2];
  for (CUniData& value : values) {
    if (value.type() != 0 && value.SetType(3) != 0) return false;
  }
  return true;
}

// The existence data of one call, cleared whatever the outcome.
struct ExistenceData {
  VARIANT v[4];
  ExistenceData() {
    for (VARIANT& x : v) VariantInit(&x);
  }
  ~ExistenceData() {
    for (VARIANT& x : v) VariantClear(&x);
  }
};

}  // namespace

void SetExistenceCheckForTesting(ExistenceCheck check) { existence_check = check; }

uint32_t ReplaceComponent(const char16_t* source_path, VARIANT* deleted, VARIANT* referencing,
                          LogPathEntry** log_paths) {
  ExistenceData data;
  const ExistenceCheck check = existence_check != nullptr ? existence_check : &ZARN_IsComponentExistent;
  if (check(source_path, &data.v[0], &data.v[1], &data.v[2], &data.v[3]) != 0) {
    return ZARN_ImportComponent(source_path, log_paths, 0);
  }
  if (!Text(data.v[0]).empty() && Text(data.v[1]).empty()) return ZARN_E_OTHER_DD_REVISION;
  if (!PrepareValues()) return ZARN_E_REPLACE_PREPARE;
  // Files of the old component that could not be removed are overwritten or stay
  // beside the new ones; the new component is imported all the same.
  if (const uint32_t rc = ZARN_DeleteComponent(source_path, deleted, referencing);
      rc != 0 && rc != ZARN_E_CANNOT_DELETE) {
    return rc;
  }
  const uint32_t rc = ZARN_ImportComponent(source_path, log_paths, 0);
  return rc != 0 ? rc : ZARN_S_REPLACED;
}

}  // namespace zarn

ZARN_EXPORT uint32_t ZARN_CALL ZARN_ReplaceComponent(const char16_t* source_path, VARIANT* deleted,
                                                     VARIANT* referencing, LogPathEntry** log_paths) {
  // The whole replacement under one lock: no other process sees the component gone.
  return zarn::GuardedCall(ZARN_E_REPLACE_PREPARE, [&]() -> uint32_t {
    zarn::CCatalog_Contents* catalog = zarn::CatalogModule::Instance().Catalog();
    zarn::CallLock lock;
    if (catalog != nullptr) {
      if (const uint32_t rc = lock.Enter(*catalog, zarn::CatalogAccess::kWrite); rc != 0) return rc;
    }
    return zarn::ReplaceComponent(source_path, deleted, referencing, log_paths);
  });
}
