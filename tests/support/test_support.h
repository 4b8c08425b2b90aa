// Shared helpers for the tests: scratch directories, trace capture, file helpers.
#ifndef ZARN_TESTS_SUPPORT_TEST_SUPPORT_H_
#define ZARN_TESTS_SUPPORT_TEST_SUPPORT_H_

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

namespace zarn::testing {

// A fresh directory below the system temporary directory, removed on destruction.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::string& path() const { return path_; }
  // path() joined with a relative path.
  std::string Join(const std::string& relative) const;

 private:
  std::string path_;
};

// Collects every trace entry written while it lives.
class TraceCapture {
 public:
  struct Entry {
    int level;
    std::string function;
    std::string message;
  };
  TraceCapture();
  ~TraceCapture();
  TraceCapture(const TraceCapture&) = delete;
  TraceCapture& operator=(const TraceCapture&) = delete;
  const std::vector<Entry>& entries() const { return entries_; }
  // True when some entry's message contains `text`.
  bool Contains(const std::string& text) const;
  void Clear() { entries_.clear(); }
  void Add(Entry e) { entries_.push_back(std::move(e)); }

 private:
  std::vector<Entry> entries_;
};

// Writes a file, creating its directories. Returns false on failure.
bool WriteFile(const std::string& path, const std::string& content);
// Reads a file; "" when it cannot be read.
std::string ReadFile(const std::string& path);
// The number of a process that has just ended.
long DeadPid();
// Forks a child that runs `body` and exits with its value; returns the child's pid.
pid_t StartChild(const std::function<int()>& body);
// Waits for the child `pid`: its exit code, or minus the signal that ended it.
int WaitChild(pid_t pid);

// The source tree (from ZARN_SOURCE_DIR, else the build's configured path).
std::string SourceDir();

}  // namespace zarn::testing

#endif  // ZARN_TESTS_SUPPORT_TEST_SUPPORT_H_
