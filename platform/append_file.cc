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

}  // namespace zarn
