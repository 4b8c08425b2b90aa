// Advisory locks between processes on one working directory, and the identity of a
// file on disk (to notice that another process replaced it).
#ifndef ZARN_PLATFORM_FILE_LOCK_H_
#define ZARN_PLATFORM_FILE_LOCK_H_

#include <chrono>
#include <cstdint>
#include <string>

namespace zarn {

// A lock on the file `path` (created when missing), released by the destructor.
// Shared locks exclude exclusive ones; exclusive ones exclude both. The lock is
// held by the open file: a process that dies releases it.
class FileLock {
 public:
  enum class Result { kLocked, kBusy, kUnavailable };

  FileLock() = default;
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Waits up to `timeout` for the lock. kUnavailable when the lock file can neither
  // be opened nor created (a read-only directory).
  Result Acquire(const std::string& path, bool exclusive, std::chrono::milliseconds timeout);
  void Release();
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// What tells one version of a file from the next: device, inode, size and
// modification time. A crash-safe save renames a new file into place, so each save
// gives a new inode. All zero for a file that is not there.
struct FileIdentity {
  uint64_t device = 0;
  uint64_t inode = 0;
  int64_t size = 0;
  int64_t modified_ns = 0;
  bool operator==(const FileIdentity&) const = default;
};
FileIdentity IdentityOf(const std::string& path);

}  // namespace zarn

#endif  // ZARN_PLATFORM_FILE_LOCK_H_
