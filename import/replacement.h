// ZARN_ReplaceComponent: brings a component up to date from a converted source.
// An absent component is imported; a present one is deleted and imported again as
// one change with one save: a failed import, or a kill before the save, leaves the
// old component in the catalog with its files.
#ifndef ZARN_IMPORT_REPLACEMENT_H_
#define ZARN_IMPORT_REPLACEMENT_H_

#include <cstdint>

#include "zarn/catalog_manager.h"

namespace zarn {

// Runs the replacement through the exports. Returns the import's result for an
// absent component, ZARN_S_REPLACED after deletion and import, ZARN_E_OTHER_DD_REVISION
// when the catalog holds a DD revision but no file DD revision (nothing changes),
// the deletion's or the import's failure, or ZARN_E_REPLACE_PREPARE when the
// revision values cannot be prepared.
uint32_t ReplaceComponent(const char16_t* source_path, VARIANT* deleted, VARIANT* referencing,
                          LogPathEntry** log_paths);

// Testing: replaces the existence check (null restores ZARN_IsComponentExistent).
using ExistenceCheck = uint32_t (*)(const char16_t*, VARIANT*, VARIANT*, VARIANT*, VARIANT*);
void SetExistenceCheckForTesting(ExistenceCheck check);

}  // namespace zarn

#endif  // ZARN_IMPORT_REPLACEMENT_H_
