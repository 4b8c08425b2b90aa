// Bounded, contained reading of zip packages.
//
// Every read counts the bytes actually decompressed, so a package cannot make
// the reader use more than its limits whatever its headers claim; extraction
// writes only below the directory it is given and refuses entry names that are
// absolute or climb with "..".
#ifndef ZARN_LIBS_IODD_CONVERTER_ZIP_PACKAGE_H_
#define ZARN_LIBS_IODD_CONVERTER_ZIP_PACKAGE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::converters {

struct ZipLimits {
  size_t max_entries = 1000;
  uint64_t max_entry_size = 32u << 20;
  uint64_t max_total_size = 64u << 20;
};

class ZipPackage {
 public:
  ~ZipPackage();
  ZipPackage(const ZipPackage&) = delete;
  ZipPackage& operator=(const ZipPackage&) = delete;

  // Opens a package; null with *error when it is no readable zip archive or
  // holds more entries than the limits allow.
  static std::unique_ptr<ZipPackage> OpenFile(const std::string& path, const ZipLimits& limits, std::string* error);
  // The same for a package held in memory (the data must outlive the package).
  static std::unique_ptr<ZipPackage> OpenMemory(std::string_view data, const ZipLimits& limits, std::string* error);

  size_t EntryCount() const { return count_; }
  // The stored name of entry i ("" when it has none).
  std::string EntryName(size_t i) const;
  // Reads entry i whole. False with *error when it cannot be read or the entry
  // or the package total would pass the limits.
  bool ReadEntry(size_t i, std::string* out, std::string* error);
  // Total bytes read so far.
  uint64_t BytesRead() const { return total_read_; }
  // True once a read was stopped by a size limit.
  bool LimitExceeded() const { return limit_exceeded_; }

 private:
  ZipPackage(void* archive, size_t count, const ZipLimits& limits)
      : archive_(archive), count_(count), limits_(limits) {}
  static std::unique_ptr<ZipPackage> Adopt(void* archive, const ZipLimits& limits, std::string* error);

  void* archive_;
  size_t count_;
  ZipLimits limits_;
  uint64_t total_read_ = 0;
  bool limit_exceeded_ = false;
};

// True when a stored entry name may be written below a directory: relative,
// "/"-separated, without "..", "." or empty segments, without "\" or ":".
bool IsSafeEntryName(std::string_view name);

struct ExtractionResult {
  bool ok = false;
  std::string error;                 // when !ok
  std::vector<std::string> files;    // written files, full paths
  std::vector<std::string> refused;  // entry names not extracted (unsafe, unreadable, duplicate)
};

// Extracts every safe file entry of `package` below `target_directory` (created
// when missing). Fails when a limit is passed.
ExtractionResult ExtractZip(ZipPackage* package, const std::string& target_directory);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_IODD_CONVERTER_ZIP_PACKAGE_H_
