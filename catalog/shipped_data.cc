#include "catalog/shipped_data.h"

#include <filesystem>

#include "catalog/catalog_format.h"
#include "external/trace.h"
#include "platform/dynlib.h"
#include "platform/paths.h"

#ifndef ZARN_DATA_FROM_LIBDIR
#define ZARN_DATA_FROM_LIBDIR "../share/zarn-catalog"
#endif

namespace zarn {
namespace fs = std::filesystem;
namespace {

// Copies through a temporary name beside the target, so a crash never leaves half a file.
bool CopyInPlace(const fs::path& from, const fs::path& to) {
  std::error_code ec;
  fs::create_directories(to.parent_path(), ec);
  fs::path partial = to;
  partial += ".part";
  if (!fs::copy_file(from, partial, fs::copy_options::overwrite_existing, ec)) return false;
  fs::rename(partial, to, ec);
  if (ec) fs::remove(partial, ec);
  return !ec;
}

std::string Searched(const std::vector<std::string>& directories) {
  std::string text;
  for (const std::string& d : directories) text += (text.empty() ? "" : ", ") + d;
  return text;
}

bool LayOutFile(std::string_view relative, const fs::path& target, const std::vector<std::string>& sources) {
  std::error_code ec;
  for (const std::string& dir : sources) {
    const fs::path from = fs::path(dir) / relative;
    if (!fs::is_regular_file(from, ec)) continue;
    if (CopyInPlace(from, target)) return true;
    Trace(kTraceError, "LayOutShippedData", "cannot copy %s to %s", from.string(), target.string());
    return false;
  }
  Trace(kTraceError, "LayOutShippedData", "%s is missing and no shipped copy was found in %s", target.string(),
        Searched(sources));
  return false;
}

}  // namespace

const std::vector<std::string_view>& ShippedDataFiles() {
  static const std::vector<std::string_view> files = {"catalogData/zarnxml_2_componentxml.xslt",
                                                      "catalogData/devices.cfg", "catalogData/manufacturer_names.cfg",
                                                      format::kDeviceConfigurationRelativePath};
  return files;
}

std::vector<std::string> ShippedDataDirectories() {
  std::vector<std::string> dirs;
  const std::string module = ModuleDirectory();
  dirs.push_back(JoinPath(module, "data"));
  dirs.push_back((fs::path(module) / ZARN_DATA_FROM_LIBDIR).lexically_normal().string());
  return dirs;
}

bool LayOutShippedData(const std::string& catalog_directory) {
  std::vector<std::string> sources;
  bool complete = true;
  for (std::string_view relative : ShippedDataFiles()) {
    const fs::path target = fs::path(catalog_directory) / relative;
    std::error_code ec;
    if (fs::exists(target, ec)) continue;
    if (sources.empty()) sources = ShippedDataDirectories();
    complete = LayOutFile(relative, target, sources) && complete;
  }
  return complete;
}

}  // namespace zarn
