#include "platform/leftovers.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace zarn {
namespace {

namespace fs = std::filesystem;

// The process number after `prefix` in `name`; -1 when the rest is not a number.
long PidAfter(const std::string& name, std::string_view prefix) {
  if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return -1;
  const std::string digits = name.substr(prefix.size());
  if (digits.find_first_not_of("0123456789") != std::string::npos || digits.size() > 9) return -1;
  return std::atol(digits.c_str());
}

bool OldEnough(const fs::path& path, std::chrono::seconds min_age) {
  std::error_code ec;
  const fs::file_time_type changed = fs::last_write_time(path, ec);
  return !ec && fs::file_time_type::clock::now() - changed >= min_age;
}

}  // namespace

bool ProcessIsRunning(long pid) {
  if (pid <= 0) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

int RemoveLeftoversOfDeadProcesses(const std::string& directory, std::string_view prefix,
                                   std::chrono::seconds min_age) {
  int removed = 0;
  std::error_code ec;
  for (const fs::directory_entry& e : fs::directory_iterator(directory, ec)) {
    const long pid = PidAfter(e.path().filename().string(), prefix);
    if (pid <= 0 || pid == static_cast<long>(::getpid()) || ProcessIsRunning(pid)) continue;
    if (!OldEnough(e.path(), min_age)) continue;
    std::error_code remove_ec;
    if (fs::remove_all(e.path(), remove_ec) > 0 && !remove_ec) ++removed;
  }
  return removed;
}

}  // namespace zarn
