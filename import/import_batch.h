// Import batches: many imports with one save per chunk instead of one per import.
//
// While a batch is open, every import (ZARN_ImportComponent) merges its source into
// the document and leaves the file alone; after `chunk` successful imports, and when
// the batch is committed, the catalog is saved (crash-safely, as always). Each import
// stays atomic: a failing one is rolled back like any import, which reloads the
// catalog from its file, and then the imports of the unsaved chunk are replayed and
// saved at once, so that none reported done is lost. A crash loses at most the
// imports of the unsaved chunk; what was saved loads and checks sound.
#ifndef ZARN_IMPORT_IMPORT_BATCH_H_
#define ZARN_IMPORT_IMPORT_BATCH_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "catalog/catalog_contents.h"
#include "zarn/catalog_manager.h"

namespace zarn {

inline constexpr size_t kDefaultImportChunk = 500;

// Opens a batch saving every `chunk` imports (0: kDefaultImportChunk). An open
// batch is committed first. 0, or the code of that commit.
uint32_t BeginImportBatch(CCatalog_Contents& catalog, size_t chunk);
// One import of an open batch (as ImportComponent otherwise).
uint32_t ImportInBatch(CCatalog_Contents& catalog, const std::string& source_path, int32_t mode,
                       LogPathEntry** log_paths);
// Saves what the batch imported and closes it. 0 (also without an open batch),
// ZARN_E_CANNOT_WRITE when the save fails (the batch stays open: a second commit
// tries again).
uint32_t CommitImportBatch(CCatalog_Contents& catalog);

}  // namespace zarn

#endif  // ZARN_IMPORT_IMPORT_BATCH_H_
