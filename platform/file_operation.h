// CFileOperation: the catalog manager's small file-system toolkit. It tests paths,
// creates directory chains, lists files, copies files and directory trees, and
// deletes files and trees. Paths are native UTF-8 paths; results are booleans
// (or shorter lists) and nothing throws. What a copy meets on its way is handed to
// the caller's note sink (the caller traces it).
//
// A value object: create one on the stack for each piece of work.
#ifndef ZARN_PLATFORM_FILE_OPERATION_H_
#define ZARN_PLATFORM_FILE_OPERATION_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// Something DoFileCopy met that the caller reports: an existing destination of
// another size that is overwritten, or a copy that failed (`reason` says why).
struct FileCopyNote {
  enum class Kind { kOverwriteOfOtherSize, kCopyFailed };
  Kind kind;
  const std::string& source;
  const std::string& destination;
  std::string reason;  // kCopyFailed only
};
using FileCopyNoteSink = void (*)(const FileCopyNote& note);

// What keeps the writes and removals of CFileOperation undoable while a change of
// the catalog is in progress (the file area journal of an import).
class FileWriteGuard {
 public:
  virtual ~FileWriteGuard() = default;
  // Before `path` is written; false when the write must not happen.
  virtual bool BeforeWrite(const std::string& path) = 0;
  // Instead of removing `path`. *handled false: the caller removes it as usual.
  // Else true when it is gone from its place, false when it cannot be moved.
  virtual bool Remove(const std::string& path, bool* handled) = 0;
  // A file written in this change that holds a copy of `source`, or "".
  virtual std::string EarlierCopy(const std::string& source) const = 0;
  virtual void NoteCopy(const std::string& source, const std::string& destination) = 0;
};

// The guard every CFileOperation asks, or null; set by the guard's owner.
FileWriteGuard* ActiveFileWriteGuard();
void SetActiveFileWriteGuard(FileWriteGuard* guard);

// Result of CFileOperation::GetPathType.
enum PathType : int32_t {
  kPathUnreadable = -1,  // the status cannot be read for another reason (bad name, ...)
  kPathMissing = 0,      // nothing there (no such file, or a component is not a directory)
  kPathFile = 1,
  kPathDirectory = 2,
};

class CFileOperation {
 public:
  // The longest source or destination path (in UTF-16 units) that a copy accepts.
  static constexpr size_t kMaxPath = 260;

  // `notes` receives what DoFileCopy meets on its way (null: nobody hears of it).
  explicit CFileOperation(FileCopyNoteSink notes = nullptr) : notes_(notes) {}

  // True when `path` is a file that can be opened for reading (not a directory).
  bool FileExists(const std::string& path) const;
  // The PathType of `path`; symbolic links are followed.
  int32_t GetPathType(const std::string& path) const;
  // Appends the separator unless `path` already ends with one.
  static void AddBackslash(std::string* path);
  // Gives the owner write permission when `path` has no write permission bit at all.
  // False when its status cannot be read or the change fails; otherwise true.
  bool ClearReadOnly(const std::string& path);
  // Trailing separators removed, then everything from the last separator on removed.
  static std::string ParentDirectory(const std::string& path);
  // The directory part of a file path, with its trailing separator ("" when none).
  static std::string DirectoryOfFile(const std::string& path);
  // Creates every missing directory of the chain, top down. True when the whole
  // chain exists at the end (also when nothing was missing).
  bool CreateDirectories(const std::string& path);

  // Listings append full paths (directory + separator + name) in name order.
  // Files directly in `directory` whose name ends with `ending` (ASCII case
  // ignored); an empty ending lists every file.
  void ListFiles(const std::string& directory, std::vector<std::string>* out, const std::string& ending) const;
  // Files anywhere below `directory` whose extension (after the last '.') equals
  // `extension` (given without the dot; ASCII case ignored). Linked directories
  // are not entered.
  void ListFilesByExtension(const std::string& directory, const std::string& extension,
                            std::vector<std::string>* out) const;
  // Files directly in `directory` matching `pattern` ('*' any run, '?' one
  // character, ASCII case ignored) whose extension, dot included, is longer than
  // four characters or is ".xml".
  void ListByPattern(const std::string& directory, const std::string& pattern, std::vector<std::string>* out) const;
  // The size of `path`, 0 when its status cannot be read.
  uint64_t GetFileSize64(const std::string& path) const;

  // Copies the file `source` to `destination`, overwriting it (an existing
  // destination of another size is noted; a read-only one is made writable
  // first). With `move` the copy fails on an existing destination and the source
  // is deleted after the copy; a failed copy is noted. Paths longer than kMaxPath
  // are refused. A source named like a device XML file is not copied; the result
  // then tells whether the destination was fine. The write is first announced to
  // the active FileWriteGuard.
  bool DoFileCopy(const std::string& source, const std::string& destination, bool move);
  // Within one import, a further copy of a source already copied is a hard link to
  // the first copy; false when none can be made (the caller copies).
  bool LinkEarlierCopy(const FileWriteGuard& guard, const std::string& source, const std::string& destination);
  // Both directories: copies the contents of source into destination. Both files:
  // DoFileCopy. A file into a directory: DoFileCopy to the same name there.
  // False when either path does not exist, a directory would go onto a file, or
  // the source directory cannot be read. `move` is not applied.
  bool CopyPath(const std::string& source, const std::string& destination, bool move);
  // CopyPath without moving; a directory whose parent is `destination` (ASCII
  // case ignored) is left alone and gives true. Resets the recursion depth to -1.
  bool Copy(const std::string& source, const std::string& destination);
  // Copies what `source_pattern` (a directory + separator + wildcard, "*.*" for
  // every entry, or a bare directory) finds into `destination`: files with
  // DoFileCopy, subdirectories recursively while the recursion depth allows it.
  // Each subdirectory entered lowers a positive depth by one for the rest of the
  // walk. Linked directories are not entered.
  void CopyDirectory(const std::string& source_pattern, const std::string& destination);
  // Deletes a file, a link, or a directory tree (links are removed, never
  // followed). Failures are recorded in error_code()/error_text() and do not
  // stop the walk. A missing path is left alone.
  void DeletePath(const std::string& path);
  // DeletePath, unless the active FileWriteGuard takes the removal; true when
  // nothing failed.
  bool Delete(const std::string& path);

  // -1: no limit; 0: subdirectories are not copied; n > 0: levels still allowed.
  int32_t recursion_depth() const { return recursion_depth_; }
  void set_recursion_depth(int32_t depth) { recursion_depth_ = depth; }
  // The last failure: an errno value (0 when none) and its text ("No error").
  int32_t error_code() const { return error_code_; }
  const std::string& error_text() const { return error_text_; }
  // Two caller-defined flags carried with the object; no operation reads them.
  bool first_option() const { return first_option_; }
  bool second_option() const { return second_option_; }
  void set_options(bool first, bool second) {
    first_option_ = first;
    second_option_ = second;
  }

 private:
  void RecordError(int32_t code, const std::string& text);
  void Note(FileCopyNote::Kind kind, const std::string& source, const std::string& destination,
            std::string reason = std::string()) const;

  FileCopyNoteSink notes_ = nullptr;
  std::string error_text_ = "No error";
  int32_t error_code_ = 0;
  uint32_t failure_count_ = 0;  // failures recorded so far, for Delete's result
  bool first_option_ = false;
  bool second_option_ = false;
  int32_t recursion_depth_ = -1;
};

// True when the extension of `inputPath` (the text after its last ".", the whole
// path without one) matches `pattern`, ignoring case: same length, "?" matching any
// one character. An empty pattern matches.
bool MatchesFileType(std::string_view inputPath, std::string_view pattern);

// Appends every file below `directory` whose name matches `pattern` (an
// extension with "?" wildcards, or a name ending containing a "."); listing
// order is name order, depth first. True when the list grew.
bool FindFiles(const std::string& directory, const std::string& pattern, std::vector<std::string>* list);

}  // namespace zarn

#endif  // ZARN_PLATFORM_FILE_OPERATION_H_
