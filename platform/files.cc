#include "platform/files.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include "platform/paths.h"

namespace zarn {
namespace {

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

BeforeRenameHook g_before_rename = nullptr;

}  // namespace

void SetBeforeRenameHookForTesting(BeforeRenameHook hook) { g_before_rename = hook; }

bool ReadWholeFile(const std::string& path, std::string* out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return false;
  *out = buffer.str();
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view data, std::string* error) {
  const std::string temp = path + ".tmp" + std::to_string(::getpid());
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    if (error != nullptr) *error = std::string("cannot create ") + temp + ": " + std::strerror(errno);
    return false;
  }
  const bool written = WriteAll(fd, data) && ::fsync(fd) == 0;
  const int saved_errno = errno;
  const bool closed = ::close(fd) == 0;
  if (written && closed && g_before_rename != nullptr && !g_before_rename(temp)) {
    if (error != nullptr) *error = "write of " + path + " interrupted";
    return false;
  }
  if (!written || !closed || ::rename(temp.c_str(), path.c_str()) != 0) {
    if (error != nullptr) {
      *error = std::string("cannot write ") + path + ": " + std::strerror(written ? errno : saved_errno);
    }
    ::unlink(temp.c_str());
    return false;
  }
  const std::string dir = ParentDirectory(path);
  const int dfd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

long CurrentProcessId() { return static_cast<long>(::getpid()); }

}  // namespace zarn
