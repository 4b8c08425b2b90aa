#include "libs/devices_converter/file_input.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace zarn::converters {

ReadStatus ReadFileLimited(const std::string& path, size_t limit, std::string* out) {
  out->clear();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return ReadStatus::kCannotOpen;
  std::ifstream in(path, std::ios::binary);
  if (!in) return ReadStatus::kCannotOpen;
  const uintmax_t size = std::filesystem::file_size(path, ec);
  const size_t want = ec ? limit : static_cast<size_t>(std::min<uintmax_t>(size, limit));
  out->resize(want);
  in.read(out->data(), static_cast<std::streamsize>(want));
  out->resize(static_cast<size_t>(in.gcount()));
  if (in.bad()) return ReadStatus::kCannotOpen;
  if (out->size() == want && in.peek() != std::char_traits<char>::eof()) return ReadStatus::kTooLarge;
  return ReadStatus::kOk;
}

bool LooksBinary(const std::string& data) { return data.substr(0, 4096).find('\0') != std::string::npos; }

}  // namespace zarn::converters
