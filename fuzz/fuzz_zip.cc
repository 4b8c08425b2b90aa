// Fuzzes zip reading and extraction: whatever the package holds, nothing is
// written outside the target directory and the limits hold.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "libs/iodd_converter/zip_package.h"
#include "platform/paths.h"

namespace {

const std::string& WorkDirectory() {
  static const std::string dir = zarn::JoinPath(zarn::TempDirectory(), "zarn_fuzz_zip_" + std::to_string(getpid()));
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const zarn::converters::ZipLimits limits{64, 1u << 20, 2u << 20};
  std::string error;
  auto package = zarn::converters::ZipPackage::OpenMemory(bytes, limits, &error);
  if (!package) return 0;
  const std::string target = zarn::JoinPath(WorkDirectory(), "out");
  const auto result = zarn::converters::ExtractZip(package.get(), target);
  for (const std::string& file : result.files) {
    if (!zarn::IsPathInside(target, file)) abort();
  }
  if (package->BytesRead() > limits.max_total_size + (64u << 10)) abort();
  std::error_code ec;
  std::filesystem::remove_all(WorkDirectory(), ec);
  return 0;
}
