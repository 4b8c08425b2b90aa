#include "platform/paths.h"

#include <cstdlib>
#include <filesystem>

namespace zarn {

PathParts SplitPath(std::string_view path) {
  PathParts parts;
  const size_t slash = path.find_last_of(kPathSeparator);
  std::string_view file = path;
  if (slash != std::string_view::npos) {
    parts.directory = std::string(path.substr(0, slash + 1));
    file = path.substr(slash + 1);
  }
  const size_t dot = file.find_last_of('.');
  if (dot == std::string_view::npos) {
    parts.name = std::string(file);
  } else {
    parts.name = std::string(file.substr(0, dot));
    parts.extension = std::string(file.substr(dot));
  }
  return parts;
}

std::string FileNamePart(std::string_view path) {
  const size_t slash = path.find_last_of(kPathSeparator);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string DirectoryOfFile(std::string_view path) { return SplitPath(path).directory; }

std::string ParentDirectory(std::string_view path) {
  size_t end = path.size();
  while (end > 0 && path[end - 1] == kPathSeparator) --end;
  const std::string_view trimmed = path.substr(0, end);
  const size_t slash = trimmed.find_last_of(kPathSeparator);
  if (slash == std::string_view::npos) return std::string();
  return std::string(trimmed.substr(0, slash));
}

std::string JoinPath(std::string_view a, std::string_view b) {
  if (a.empty()) return std::string(b);
  std::string out(a);
  if (out.back() != kPathSeparator) out += kPathSeparator;
  while (!b.empty() && b.front() == kPathSeparator) b.remove_prefix(1);
  out += b;
  return out;
}

std::string WithTrailingSeparator(std::string_view path) {
  std::string out(path);
  if (out.empty() || out.back() != kPathSeparator) out += kPathSeparator;
  return out;
}

std::string WithoutTrailingSeparator(std::string_view path) {
  std::string out(path);
  while (out.size() > 1 && out.back() == kPathSeparator) out.pop_back();
  return out;
}

std::string DocumentPathToNative(std::string_view path) {
  std::string out(path);
  for (char& c : out) {
    if (c == '\\') c = kPathSeparator;
  }
  return out;
}

std::string NativePathToDocument(std::string_view path) {
  std::string out(path);
  for (char& c : out) {
    if (c == kPathSeparator) c = '\\';
  }
  return out;
}

std::string NormalisePath(std::string_view path) {
  std::filesystem::path p(path);
  if (p.is_relative()) {
    std::error_code ec;
    p = std::filesystem::absolute(p, ec);
  }
  std::string out = p.lexically_normal().string();
  return WithoutTrailingSeparator(out);
}

bool IsPathInside(std::string_view directory, std::string_view path) {
  const std::string dir = NormalisePath(directory);
  const std::string candidate = NormalisePath(path);
  if (candidate == dir) return true;
  return candidate.size() > dir.size() && candidate.compare(0, dir.size(), dir) == 0 &&
         (candidate[dir.size()] == kPathSeparator || dir == "/");
}

bool IsSafePathSegment(std::string_view segment) {
  if (segment.empty() || segment == "." || segment == "..") return false;
  return segment.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

std::string TempDirectory() {
  for (const char* name : {"TEMP", "TMPDIR"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return "/tmp";
}

}  // namespace zarn
