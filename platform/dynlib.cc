#include "platform/dynlib.h"

#include <dlfcn.h>

#include "platform/paths.h"

namespace zarn {

std::string LibraryFileName(std::string_view name) { return std::string(name) + ".so"; }

std::string ModuleFilePath() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&ModuleFilePath), &info) == 0 || info.dli_fname == nullptr) {
    return std::string();
  }
  return NormalisePath(info.dli_fname);
}

std::string ModuleDirectory() { return ParentDirectory(ModuleFilePath()); }

DynamicLibrary::~DynamicLibrary() { Close(); }

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(other.handle_), error_(std::move(other.error_)) {
  other.handle_ = nullptr;
}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    error_ = std::move(other.error_);
    other.handle_ = nullptr;
  }
  return *this;
}

bool DynamicLibrary::Open(const std::string& path) {
  Close();
  handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* e = dlerror();
    error_ = e != nullptr ? e : "cannot load " + path;
    return false;
  }
  return true;
}

bool DynamicLibrary::OpenFromModuleDirectory(std::string_view name) {
  return Open(JoinPath(ModuleDirectory(), LibraryFileName(name)));
}

void DynamicLibrary::Close() {
  if (handle_ != nullptr) dlclose(handle_);
  handle_ = nullptr;
}

void* DynamicLibrary::Symbol(const char* name) const { return handle_ == nullptr ? nullptr : dlsym(handle_, name); }

}  // namespace zarn
