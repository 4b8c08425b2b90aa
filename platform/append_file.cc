#include "platform/append_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace zarn {

AppendFile::~AppendFile() { Close(); }

bool AppendFile::Create(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd_ < 0) return false;
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    Close();
    return false;
  }
  return true;
}

bool AppendFile::Append(std::string_view record) {
  if (fd_ < 0) return false;
  ssize_t written;
  do {
    written = ::write(fd_, record.data(), record.size());
  } while (written < 0 && errno == EINTR);
  return written == static_cast<ssize_t>(record.size());
}

bool AppendFile::Sync() { return fd_ >= 0 && ::fdatasync(fd_) == 0; }

void AppendFile::Close() {
  if (fd_ < 0) return;
  ::close(fd_);
  fd_ = -1;
}

bool AppendFile::LockExisting(const std::string& path) {
  Close();
  fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) return false;
  if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    Close();
    return false;
  }
  return true;
}

namespace {

// Runs `flush` on a read-only descriptor of `path`.
template <typename Flush>
bool WithDescriptor(const std::string& path, int flags, Flush flush) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | flags);
  if (fd < 0) return false;
  const bool flushed = flush(fd) == 0;
  ::close(fd);
  return flushed;
}

}  // namespace

bool SyncDirectory(const std::string& path) { return WithDescriptor(path, O_DIRECTORY, ::fsync); }

bool SyncFileSystem(const std::string& path) { return WithDescriptor(path, 0, ::syncfs); }

}  // namespace zarn
