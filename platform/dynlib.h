// Dynamic libraries: loading by name from this library's own directory.
#ifndef ZARN_PLATFORM_DYNLIB_H_
#define ZARN_PLATFORM_DYNLIB_H_

#include <string>
#include <string_view>

namespace zarn {

// The file name of a library the system names `name`: "name.so".
std::string LibraryFileName(std::string_view name);

// Full path of the binary (shared library or program) that holds this code.
std::string ModuleFilePath();
// Directory of ModuleFilePath(), without a trailing separator.
std::string ModuleDirectory();

// An owned handle to a loaded library; closed on destruction.
class DynamicLibrary {
 public:
  DynamicLibrary() = default;
  ~DynamicLibrary();
  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // Loads the library at `path`. Returns false (and keeps the error text) on failure.
  bool Open(const std::string& path);
  // Loads the library the system names `name` from ModuleDirectory().
  bool OpenFromModuleDirectory(std::string_view name);
  void Close();
  bool IsOpen() const { return handle_ != nullptr; }
  // The address of an exported symbol, or null.
  void* Symbol(const char* name) const;
  template <typename F>
  F Function(const char* name) const {
    return reinterpret_cast<F>(Symbol(name));
  }
  const std::string& error() const { return error_; }

 private:
  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace zarn

#endif  // ZARN_PLATFORM_DYNLIB_H_
