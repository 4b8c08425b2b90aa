#include "libs/iodd_converter/zip_package.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <filesystem>

#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn::converters {
namespace fs = std::filesystem;
namespace {

zip_t* Z(void* raw) { return static_cast<zip_t*>(raw); }

std::string ZipErrorText(int code) {
  zip_error_t e;
  zip_error_init_with_code(&e, code);
  std::string text = zip_error_strerror(&e);
  zip_error_fini(&e);
  return text;
}

bool WriteNewFile(const std::string& path, const std::string& data) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t done = 0;
  while (done < data.size()) {
    const ssize_t n = write(fd, data.data() + done, data.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  const bool ok = close(fd) == 0 && done == data.size();
  return ok;
}

}  // namespace

ZipPackage::~ZipPackage() {
  if (archive_ != nullptr) zip_discard(Z(archive_));
}

std::unique_ptr<ZipPackage> ZipPackage::Adopt(void* archive, const ZipLimits& limits, std::string* error) {
  const zip_int64_t count = zip_get_num_entries(Z(archive), 0);
  if (count < 0 || static_cast<uint64_t>(count) > limits.max_entries) {
    zip_discard(Z(archive));
    *error = "the package holds more than " + std::to_string(limits.max_entries) + " entries";
    return nullptr;
  }
  return std::unique_ptr<ZipPackage>(new ZipPackage(archive, static_cast<size_t>(count), limits));
}

std::unique_ptr<ZipPackage> ZipPackage::OpenFile(const std::string& path, const ZipLimits& limits, std::string* error) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &code);
  if (archive == nullptr) {
    *error = "not a readable zip package: " + ZipErrorText(code);
    return nullptr;
  }
  return Adopt(archive, limits, error);
}

std::unique_ptr<ZipPackage> ZipPackage::OpenMemory(std::string_view data, const ZipLimits& limits, std::string* error) {
  zip_error_t e;
  zip_error_init(&e);
  zip_source_t* source = zip_source_buffer_create(data.data(), data.size(), 0, &e);
  zip_t* archive = source != nullptr ? zip_open_from_source(source, ZIP_RDONLY, &e) : nullptr;
  if (archive == nullptr) {
    *error = std::string("not a readable zip package: ") + zip_error_strerror(&e);
    if (source != nullptr) zip_source_free(source);
    zip_error_fini(&e);
    return nullptr;
  }
  zip_error_fini(&e);
  return Adopt(archive, limits, error);
}

std::string ZipPackage::EntryName(size_t i) const {
  const char* name = zip_get_name(Z(archive_), i, ZIP_FL_ENC_GUESS);
  return name != nullptr ? name : "";
}

bool ZipPackage::ReadEntry(size_t i, std::string* out, std::string* error) {
  out->clear();
  zip_file_t* file = zip_fopen_index(Z(archive_), i, 0);
  if (file == nullptr) {
    *error = EntryName(i) + ": " + zip_strerror(Z(archive_));
    return false;
  }
  char buffer[64 * 1024];
  bool ok = true;
  for (;;) {
    const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
    if (n < 0) {
      *error = EntryName(i) + ": " + zip_file_strerror(file);
      ok = false;
      break;
    }
    if (n == 0) break;
    total_read_ += static_cast<uint64_t>(n);
    if (out->size() + static_cast<uint64_t>(n) > limits_.max_entry_size || total_read_ > limits_.max_total_size) {
      *error = EntryName(i) + ": the package unpacks to more than the size limit";
      limit_exceeded_ = true;
      ok = false;
      break;
    }
    out->append(buffer, static_cast<size_t>(n));
  }
  zip_fclose(file);
  if (!ok) out->clear();
  return ok;
}

bool IsSafeEntryName(std::string_view name) {
  if (name.empty() || name.size() > 1024 || name.front() == '/') return false;
  if (name.find_first_of(std::string_view("\\:\0", 3)) != std::string_view::npos) return false;
  std::string_view rest = name;
  if (rest.back() == '/') rest.remove_suffix(1);  // a directory entry
  for (const std::string& segment : Split(rest, "/")) {
    if (segment.empty() || segment == "." || segment == "..") return false;
  }
  return true;
}

ExtractionResult ExtractZip(ZipPackage* package, const std::string& target_directory) {
  ExtractionResult result;
  std::error_code ec;
  fs::create_directories(target_directory, ec);
  if (!fs::is_directory(target_directory, ec)) {
    result.error = "cannot create " + target_directory;
    return result;
  }
  for (size_t i = 0; i < package->EntryCount(); ++i) {
    const std::string name = package->EntryName(i);
    if (!IsSafeEntryName(name)) {
      result.refused.push_back(name);
      continue;
    }
    if (name.back() == '/') continue;  // directories come with their files
    const std::string target = JoinPath(target_directory, name);
    if (!IsPathInside(target_directory, target)) {
      result.refused.push_back(name);
      continue;
    }
    std::string data, error;
    if (!package->ReadEntry(i, &data, &error)) {
      if (package->LimitExceeded()) {
        result.error = error;
        return result;
      }
      result.refused.push_back(name);
      continue;
    }
    fs::create_directories(fs::path(target).parent_path(), ec);
    if (!WriteNewFile(target, data)) {
      result.refused.push_back(name);
      continue;
    }
    result.files.push_back(target);
  }
  result.ok = true;
  return result;
}

}  // namespace zarn::converters
