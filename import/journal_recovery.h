// The journals of file-area changes that a killed process left in the catalog
// directory (see file_area_journal.h), taken care of at the next start: a journal
// whose catalog save did not happen is undone (moved entries come back, created files
// and directories go, a kept catalog file comes back), one whose save happened is
// finished (the directories noted for removal go); then the journal goes. Only what
// a journal names is touched, never the rest of the file area. Journals of processes
// that still run (by their number, and by the lock their manifest is held under) stay.
#ifndef ZARN_IMPORT_JOURNAL_RECOVERY_H_
#define ZARN_IMPORT_JOURNAL_RECOVERY_H_

#include <string>

namespace zarn {

struct JournalRecoveryResult {
  int undone = 0;    // journals of unsaved changes, undone
  int finished = 0;  // journals of saved changes, finished
  int dropped = 0;   // journal directories without a manifest, removed
};

// Call it with the catalog's lock held exclusively (nobody saves meanwhile).
JournalRecoveryResult RecoverFileAreaJournals(const std::string& catalog_directory, const std::string& catalog_file);

}  // namespace zarn

#endif  // ZARN_IMPORT_JOURNAL_RECOVERY_H_
