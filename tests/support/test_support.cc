#include "tests/support/test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/paths.h"
#include "platform/strings.h"
#include "zarn/trace.h"

namespace zarn::testing {
namespace fs = std::filesystem;

// The tests run with the catalog's lookup maps checked against the document walks
// they stand in for: a map that misses a change aborts the test.
const bool kIndexesChecked = (setenv("ZARN_CHECK_INDEXES", "1", 0), true);

ScratchDir::ScratchDir() {
  std::string pattern = JoinPath(TempDirectory(), "zarn_test_XXXXXX");
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  const char* made = mkdtemp(buffer.data());
  path_ = made != nullptr ? made : pattern;
}

ScratchDir::~ScratchDir() {
  std::error_code ec;
  // Restore permissions that a test may have taken away, then remove.
  for (auto it = fs::recursive_directory_iterator(path_, fs::directory_options::skip_permission_denied, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ec);
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
  fs::remove_all(path_, ec);
}

std::string ScratchDir::Join(const std::string& relative) const { return JoinPath(path_, relative); }

namespace {
void Sink(void* context, int32_t level, const char16_t*, const char16_t*, const char16_t* function,
          const char16_t* message) {
  static_cast<TraceCapture*>(context)->Add({level, ToUtf8(function), ToUtf8(message)});
}
}  // namespace

TraceCapture::TraceCapture() { ZARN_SetTraceSink(Sink, this); }
TraceCapture::~TraceCapture() { ZARN_SetTraceSink(nullptr, nullptr); }

bool TraceCapture::Contains(const std::string& text) const {
  for (const Entry& e : entries_) {
    if (e.message.find(text) != std::string::npos) return true;
  }
  return false;
}

bool WriteFile(const std::string& path, const std::string& content) {
  std::error_code ec;
  fs::create_directories(fs::path(path).parent_path(), ec);
  std::ofstream out(path, std::ios::binary);
  out << content;
  return static_cast<bool>(out);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

long DeadPid() {
  const pid_t pid = StartChild([] { return 0; });
  WaitChild(pid);
  return static_cast<long>(pid);
}

pid_t StartChild(const std::function<int()>& body) {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(body());
  return pid;
}

int WaitChild(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFSIGNALED(status) ? -WTERMSIG(status) : WEXITSTATUS(status);
}

std::string SourceDir() {
  const char* dir = std::getenv("ZARN_SOURCE_DIR");
  return dir != nullptr ? dir : ZARN_SOURCE_DIR_DEFAULT;
}

}  // namespace zarn::testing
