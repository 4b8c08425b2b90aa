// What an import changes in directories of the file area that existed before it:
// every file it overwrites and every file or directory it removes is moved aside
// into a journal directory beside the file area (same file system, so each move is
// one rename), and every file it creates is noted. A failed import restores all of
// it; a saved one drops the journal. Files the import writes into directories it
// created itself go with those directories.
//
// One journal is active at a time (the outermost import's); CFileOperation asks it
// before each write or removal inside the catalog directory.
#ifndef ZARN_IMPORT_FILE_AREA_JOURNAL_H_
#define ZARN_IMPORT_FILE_AREA_JOURNAL_H_

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace zarn {

class FileAreaJournal {
 public:
  // `catalog_directory` bounds what the journal keeps; the journal directory is
  // created below it on the first move.
  explicit FileAreaJournal(std::string catalog_directory);
  ~FileAreaJournal();  // drops whatever is left (as Commit)
  FileAreaJournal(const FileAreaJournal&) = delete;
  FileAreaJournal& operator=(const FileAreaJournal&) = delete;

  // The journal of the import in progress, or null.
  static FileAreaJournal* Active();
  // Makes this journal the active one until Deactivate.
  void Activate();
  void Deactivate();

  // Before `path` is written: an existing file is moved aside, a new one noted.
  // False when an existing file cannot be moved aside (the write must not happen).
  bool BeforeWrite(const std::string& path);
  // Instead of removing `path`: moves it aside. *handled is false for a path
  // outside the catalog directory or one this import created (the caller removes
  // it as usual). Else true when it is gone from its place (also when it did not
  // exist), false when it cannot be moved.
  bool Remove(const std::string& path, bool* handled);

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
  std::string EarlierCopy(const std::string& source) const;
  void NoteCopy(const std::string& source, const std::string& destination);

  // Puts every moved entry back and removes the noted new files.
  void Restore();
  // Drops the moved entries for good.
  void Commit();

 private:
  struct Entry {
    std::string path;   // where it was (or is, for a new file)
    std::string aside;  // where it waits; "" for a new file
  };
  bool Inside(const std::string& path) const;
  bool MoveAside(const std::string& path);

  std::string catalog_directory_;
  std::string journal_directory_;
  std::vector<Entry> entries_;
  std::unordered_set<std::string> seen_;
  std::unordered_set<std::string> created_;  // new files: removed as usual
  std::unordered_map<std::string, std::string> copies_;  // source -> first copy
  FileAreaJournal* previous_ = nullptr;
  bool active_ = false;
};

}  // namespace zarn

#endif  // ZARN_IMPORT_FILE_AREA_JOURNAL_H_
