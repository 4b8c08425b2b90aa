// The replacement: existence check, revision precondition, deletion, import.
#include "import/replacement.h"

#include <string>

#include "api/export_frame.h"
#include "external/unidata.h"
#include "import/file_area_journal.h"
#include "import/import_driver.h"
#include "maintenance/deletion.h"
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

// After a failed half the catalog is the file's again (the deletion saved nothing),
// the keys the deletion took out are back and the moved directories too.
void Undo(CCatalog_Contents& catalog, FileAreaJournal& journal, const DeletionForReplacement& half, bool reload) {
  journal.Deactivate();
  if (reload) catalog.reload();
  journal.Restore();
  for (const auto& [key, path] : half.removed_keys) catalog.IndexInsert(key, path);
}

// The deletion and the import as one change with one journal and one save: the
// deletion moves the old component's directories aside and saves nothing, the
// import saves the catalog without the old component and with the new one. A
// failure of either half, or a kill before the save, leaves the old component.
uint32_t ReplacePresent(CCatalog_Contents& catalog, const std::string& source, VARIANT* deleted, VARIANT* referencing,
                        LogPathEntry** log_paths) {
  FileAreaJournal journal(catalog.catalogDirectory());
  journal.Activate();
  DeletionForReplacement half{&journal, {}};
  std::string deleted_text;
  std::string referencing_text;
  // Files of the old component that could not be moved aside are overwritten or stay
  // beside the new ones; the new component is imported all the same.
  if (const uint32_t rc = DeleteComponent(catalog, source, &deleted_text, &referencing_text, &half);
      rc != 0 && rc != ZARN_E_CANNOT_DELETE) {
    Undo(catalog, journal, half, true);
    return rc;
  }
  // The import itself, not the export: inside a batch too it saves at once.
  const uint32_t rc = ImportComponent(catalog, source, kImportModeImport, log_paths);
  if (rc != 0) {
    Undo(catalog, journal, half, false);  // the import's rollback loaded the catalog again
    return rc;
  }
  if (deleted != nullptr) SetVariantString(deleted, deleted_text);
  if (referencing != nullptr) SetVariantString(referencing, referencing_text);
  return ZARN_S_REPLACED;
}

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
  if (log_paths != nullptr) *log_paths = nullptr;
  return CatalogChange([&](CCatalog_Contents& catalog) -> uint32_t {
    return ReplacePresent(catalog, source_path != nullptr ? ToUtf8(source_path) : std::string(), deleted, referencing,
                          log_paths);
  });
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
