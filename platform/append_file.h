// An append-only record file that its writer holds under an exclusive flock(2) lock
// for as long as it lives: another process (of any pid namespace) that gets the lock
// knows the writer is gone. Each record goes down in one write(2), so a killed
// writer leaves whole records, at most the last one cut short. A record is on the
// disk (it survives a power loss) once Sync returned true after it.
#ifndef ZARN_PLATFORM_APPEND_FILE_H_
#define ZARN_PLATFORM_APPEND_FILE_H_

#include <string>
#include <string_view>

namespace zarn {

class AppendFile {
 public:
  AppendFile() = default;
  ~AppendFile();
  AppendFile(const AppendFile&) = delete;
  AppendFile& operator=(const AppendFile&) = delete;

  // Creates `path` (it must not exist) and locks it. False when it cannot.
  bool Create(const std::string& path);
  // Appends `record` in one write; false when it did not go down whole.
  bool Append(std::string_view record);
  // Flushes the records appended so far to the disk (fdatasync).
  bool Sync();
  // Opens the existing `path` and takes its lock without waiting: true when its
  // writer is gone (the lock is held until Close). Nothing is appended after it.
  bool LockExisting(const std::string& path);
  void Close();
  bool open() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Flushes the entries of the directory `path` (a file created, renamed or removed in
// it) to the disk. False when it cannot.
bool SyncDirectory(const std::string& path);
// Flushes everything written to the file system holding `path` (syncfs): for rare
// paths that touched many directories (an undo, a recovery).
bool SyncFileSystem(const std::string& path);

}  // namespace zarn

#endif  // ZARN_PLATFORM_APPEND_FILE_H_
