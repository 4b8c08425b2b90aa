// What a change of the catalog does to the file area, kept so that it can be undone
// or finished. Every file an import overwrites or removes in a directory that existed
// before is moved aside into a journal directory inside the catalog directory (same
// file system, so each move is one rename); every file and topmost directory it
// creates is noted; a deletion notes the directories it removes once the catalog is
// saved. A failed import restores all of it; a saved one drops the journal.
//
// The journal is written down as it goes: its directory (`zarnJournal$$<pid>-<n>`)
// holds a manifest with one record per step, appended before the step is taken, and
// the record that the catalog was saved. A process killed half way leaves the journal
// behind, and RecoverFileAreaJournals (journal_recovery.h) undoes an unsaved one or
// finishes a saved one at the next start. The records a recovery after a power loss
// needs are flushed to the disk before their step (see RecordEntry).
//
// One journal is active at a time (the outermost import's); CFileOperation asks it
// before each write or removal inside the catalog directory.
#ifndef ZARN_IMPORT_FILE_AREA_JOURNAL_H_
#define ZARN_IMPORT_FILE_AREA_JOURNAL_H_

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "platform/file_operation.h"

namespace zarn {

class AppendFile;

// One step of a journal. `path` is where the entry was (or is, for a new file or
// directory); `aside` where a moved entry waits.
struct JournalEntry {
  enum class Kind { kMoved, kCreatedFile, kCreatedDirectory, kRemoveAfterSave };
  Kind kind;
  std::string path;
  std::string aside;
};

// Undoes `entries` in reverse order: new files and directories go, moved entries
// come back (those whose aside is missing were never moved).
void UndoJournalEntries(const std::vector<JournalEntry>& entries);

inline constexpr std::string_view kJournalPrefix = "zarnJournal$$";
inline constexpr std::string_view kJournalManifest = "manifest";
inline constexpr std::string_view kJournalCatalogCopy = "catalog";

// Testing: called before (`written` false) and after each record of any journal is
// written; a crash test ends the process there. Pass nullptr to remove it.
using JournalRecordHook = void (*)(char kind, bool written);
void SetJournalRecordHookForTesting(JournalRecordHook hook);

class FileAreaJournal : public FileWriteGuard {
 public:
  // `catalog_directory` bounds what the journal keeps; the journal directory is
  // created below it on the first record.
  explicit FileAreaJournal(std::string catalog_directory);
  ~FileAreaJournal() override;  // drops whatever is left (as Commit)
  FileAreaJournal(const FileAreaJournal&) = delete;
  FileAreaJournal& operator=(const FileAreaJournal&) = delete;

  // The journal of the import in progress, or null.
  static FileAreaJournal* Active();
  // Makes this journal the active one until Deactivate.
  void Activate();
  void Deactivate();

  // Before `path` is written: an existing file is moved aside, a new one noted.
  // False when an existing file cannot be moved aside or the journal cannot be
  // written (the write must not happen).
  bool BeforeWrite(const std::string& path) override;
  // Instead of removing `path`: moves it aside. *handled is false for a path
  // outside the catalog directory or one this import created (the caller removes
  // it as usual). Else true when it is gone from its place (also when it did not
  // exist), false when it cannot be moved.
  bool Remove(const std::string& path, bool* handled) override;
  // Before the directory `path` (the topmost one that is missing) is created.
  bool NoteCreatedDirectory(const std::string& path);
  // The directory `path` goes once the catalog is saved (a deletion).
  bool NoteRemovalAfterSave(const std::string& path);
  // The catalog file as it was before a nested import saves it: a recovery of an
  // unsaved journal puts it back (`existed` false: there was no file).
  bool KeepCatalogFile(bool existed, std::string_view content);

  // Around the save that makes the change permanent: the catalog file's identity
  // before it (a kill between the save and its record is told by the new file), and
  // the record that the save succeeded. Both are no-ops for an empty journal.
  bool BeforeSave(const std::string& catalog_file);
  void AfterSave();

  // Moves the entries of `other` (an import of a batch that succeeded unsaved) to
  // the end of this journal; `other` is left empty.
  bool Absorb(FileAreaJournal& other);
  bool empty() const { return entries_.empty() && !kept_catalog_; }

  // Suspends the active journal for the lifetime of the guard (a rollback removes
  // what the import created for good).
  class Suspension {
   public:
    Suspension();
    ~Suspension();
    Suspension(const Suspension&) = delete;
    Suspension& operator=(const Suspension&) = delete;

   private:
    FileAreaJournal* suspended_;
  };

  // A file this import wrote that holds a copy of `source` (the file of one IODD
  // that each of its device variants carries), or "" when there is none.
  std::string EarlierCopy(const std::string& source) const override;
  void NoteCopy(const std::string& source, const std::string& destination) override;

  // Records that the change is being undone (a recovery then undoes it whatever the
  // catalog file looks like: the rollback may already have put the former one back).
  void BeginUndo();
  // Puts every moved entry back and removes the noted new files and directories.
  void Restore();
  // Drops the moved entries for good.
  void Commit();

 private:
  bool Inside(const std::string& path) const;
  bool Open();
  bool Record(std::string_view line, bool durable);
  bool Sync();
  bool InsideCreatedDirectory(const std::string& path) const;
  bool RecordEntry(const JournalEntry& entry);
  bool MoveAside(const std::string& path);
  void Note(JournalEntry::Kind kind, const std::string& path);
  void Keep(const JournalEntry& entry);

  std::string catalog_directory_;
  std::string journal_directory_;
  std::unique_ptr<AppendFile> manifest_;
  std::vector<JournalEntry> entries_;
  size_t moved_ = 0;
  bool kept_catalog_ = false;
  bool directories_synced_ = false;
  std::unordered_set<std::string> seen_;
  std::unordered_set<std::string> created_;  // new files: removed as usual
  std::vector<std::string> created_directories_;
  std::unordered_map<std::string, std::string> copies_;  // source -> first copy
  FileAreaJournal* previous_ = nullptr;
  bool active_ = false;
};

}  // namespace zarn

#endif  // ZARN_IMPORT_FILE_AREA_JOURNAL_H_
