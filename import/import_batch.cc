// Import batches: deferred saves, replay after a rollback, chunked saves.
#include "import/import_batch.h"

#include <utility>
#include <vector>

#include "external/trace.h"
#include "import/import_driver.h"
#include "maintenance/log_path_records.h"

namespace zarn {
namespace {

constexpr std::string_view kFunction = "ZARN_ImportComponent";

uint32_t ImportUnsaved(CCatalog_Contents& catalog, const std::string& source_path, int32_t mode,
                       LogPathEntry** log_paths) {
  if (log_paths != nullptr) *log_paths = nullptr;
  CImportDriver driver(&catalog, source_path, mode, log_paths);
  driver.DeferSave();
  return driver.Run();
}

// The pending imports after the document was loaded again: imported once more and
// saved. An import that fails now (its source went away) is traced; it cannot be
// brought back.
uint32_t Replay(CCatalog_Contents& catalog) {
  CCatalog_Contents::ImportBatch& batch = catalog.importBatch();
  std::vector<std::string> sources = std::move(batch.pending);
  batch.pending.clear();
  batch.pending_lost = false;
  for (const std::string& source : sources) {
    LogPathEntry* paths = nullptr;
    const uint32_t rc = ImportUnsaved(catalog, source, kImportModeImport, &paths);
    FreeLogPathEntries(paths);
    if (rc == 0) {
      batch.pending.push_back(source);
    } else {
      Trace(kTraceError, kFunction, "replaying the batch: %s cannot be imported again (0x%08X)", source, rc);
    }
  }
  return batch.pending.empty() ? 0 : catalog.save();
}

}  // namespace

uint32_t BeginImportBatch(CCatalog_Contents& catalog, size_t chunk) {
  if (const uint32_t rc = CommitImportBatch(catalog); rc != 0) return rc;
  CCatalog_Contents::ImportBatch& batch = catalog.importBatch();
  batch.open = true;
  batch.chunk = chunk == 0 ? kDefaultImportChunk : chunk;
  return 0;
}

uint32_t ImportInBatch(CCatalog_Contents& catalog, const std::string& source_path, int32_t mode,
                       LogPathEntry** log_paths) {
  CCatalog_Contents::ImportBatch& batch = catalog.importBatch();
  // Another call (a failed replacement, say) may have loaded the document again.
  if (batch.pending_lost) {
    if (const uint32_t rc = Replay(catalog); rc != 0) return rc;
  }
  const uint32_t rc = ImportUnsaved(catalog, source_path, mode, log_paths);
  if (rc == 0 && mode == kImportModeImport) batch.pending.push_back(source_path);
  if (batch.pending_lost) {
    const uint32_t replayed = Replay(catalog);
    return rc != 0 ? rc : replayed;
  }
  if (rc == 0 && (mode != kImportModeImport || batch.pending.size() >= batch.chunk) && catalog.root()) {
    return catalog.save();
  }
  return rc;
}

uint32_t CommitImportBatch(CCatalog_Contents& catalog) {
  CCatalog_Contents::ImportBatch& batch = catalog.importBatch();
  if (!batch.open) return 0;
  uint32_t rc = 0;
  if (batch.pending_lost) {
    rc = Replay(catalog);
  } else if (!batch.pending.empty() && catalog.root()) {
    rc = catalog.save();
  }
  if (rc == 0) batch = CCatalog_Contents::ImportBatch();
  return rc;
}

}  // namespace zarn
