#include "conversion/source_includes.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/strings.h"

namespace zarn {
namespace {

std::string LowerNormal(const std::string& path) {
  return ToLower(std::filesystem::path(path).lexically_normal().string());
}

std::string DirectoryPart(const std::string& path) { return std::filesystem::path(path).parent_path().string(); }

bool ReadText(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  *text = buffer.str();
  return true;
}

// The name of an include directive (comments already removed), or "" when the
// line is none.
std::string IncludeName(std::string_view line) {
  std::string rest = Trim(line);
  if (rest.empty() || rest[0] != '#') return std::string();
  rest = Trim(std::string_view(rest).substr(1));
  constexpr std::string_view kInclude = "include";
  if (rest.compare(0, kInclude.size(), kInclude) != 0) return std::string();
  rest = Trim(std::string_view(rest).substr(kInclude.size()));
  if (rest.size() < 2 || (rest[0] != '"' && rest[0] != '<')) return std::string();
  const size_t end = rest.find(rest[0] == '"' ? '"' : '>', 1);
  return end == std::string::npos ? std::string() : rest.substr(1, end - 1);
}

}  // namespace

std::string StripComments(std::string_view line, bool* inBlock) {
  std::string out;
  size_t i = 0;
  while (i < line.size()) {
    if (*inBlock) {
      const size_t end = line.find("*/", i);
      if (end == std::string_view::npos) return out;
      *inBlock = false;
      i = end + 2;
      continue;
    }
    const size_t line_comment = line.find("//", i);
    const size_t block = line.find("/*", i);
    if (line_comment != std::string_view::npos && (block == std::string_view::npos || line_comment < block)) {
      out.append(line.substr(i, line_comment - i));
      return out;
    }
    if (block == std::string_view::npos) {
      out.append(line.substr(i));
      return out;
    }
    out.append(line.substr(i, block - i));
    out.push_back(' ');
    *inBlock = true;
    i = block + 2;
  }
  return out;
}

std::vector<std::string> IncludeNames(std::string_view text) {
  std::vector<std::string> names;
  bool inBlock = false;
  for (const std::string& line : Split(text, "\n")) {
    const std::string name = IncludeName(StripComments(line, &inBlock));
    if (!name.empty()) names.push_back(name);
  }
  return names;
}

std::vector<std::string> StringLiterals(std::string_view text) {
  std::vector<std::string> literals;
  bool inBlock = false;
  for (const std::string& raw : Split(text, "\n")) {
    const std::string line = StripComments(raw, &inBlock);
    for (size_t open = line.find('"'); open != std::string::npos; open = line.find('"', open + 1)) {
      size_t close = open + 1;
      while (close < line.size() && line[close] != '"') close += line[close] == '\\' ? 2 : 1;
      if (close >= line.size()) break;
      literals.push_back(line.substr(open + 1, close - open - 1));
      open = close;
    }
  }
  return literals;
}

bool HasContent(std::string_view text) {
  bool inBlock = false;
  for (const std::string& line : Split(text, "\n")) {
    if (!Trim(StripComments(line, &inBlock)).empty()) return true;
  }
  return false;
}

SourceIncludes::SourceIncludes(std::string directory, const std::vector<std::string>& files)
    : directory_(std::move(directory)) {
  for (const std::string& file : files) byLowerPath_.emplace(LowerNormal(file), file);
}

std::string SourceIncludes::Resolve(const std::string& includer, const std::string& name) const {
  std::string written = name;
  for (char& c : written) {
    if (c == '\\') c = '/';
  }
  for (const std::string& base : {DirectoryPart(includer), directory_}) {
    const auto found = byLowerPath_.find(LowerNormal((std::filesystem::path(base) / written).string()));
    if (found != byLowerPath_.end()) return found->second;
  }
  return std::string();
}

const SourceIncludes::Scan& SourceIncludes::ScanFile(const std::string& file) {
  const std::string key = LowerNormal(file);
  if (const auto known = scans_.find(key); known != scans_.end()) return known->second;
  Scan scan;
  std::string text;
  if (ReadText(file, &text)) {
    scan.hasContent = HasContent(text);
    for (const std::string& name : IncludeNames(text)) {
      const std::string resolved = Resolve(file, name);
      if (!resolved.empty()) scan.includes.push_back(resolved);
    }
    for (const std::string& literal : StringLiterals(text)) {
      const std::string resolved = literal.empty() ? std::string() : Resolve(file, literal);
      if (!resolved.empty()) scan.named.push_back(resolved);
    }
  }
  return scans_.emplace(key, std::move(scan)).first->second;
}

std::set<std::string> SourceIncludes::IncludedBy(const std::string& source) {
  const std::string self = LowerNormal(source);
  std::set<std::string> reached;
  std::set<std::string> seen{self};
  std::vector<std::string> pending{source};
  while (!pending.empty()) {
    const std::string file = pending.back();
    pending.pop_back();
    for (const std::string& included : ScanFile(file).includes) {
      if (!seen.insert(LowerNormal(included)).second) continue;
      reached.insert(included);
      pending.push_back(included);
    }
  }
  return reached;
}

std::set<std::string> SourceIncludes::ReferencedBy(const std::string& source) {
  std::set<std::string> referenced = IncludedBy(source);
  std::vector<std::string> scanned(referenced.begin(), referenced.end());
  scanned.push_back(source);
  for (const std::string& file : scanned) {
    for (const std::string& named : ScanFile(file).named) {
      if (LowerNormal(named) != LowerNormal(source)) referenced.insert(named);
    }
  }
  return referenced;
}

std::vector<std::string> SourceIncludes::Sources(const std::vector<std::string>& candidates) {
  std::set<std::string> fragments;
  for (const std::string& candidate : candidates) {
    for (const std::string& included : IncludedBy(candidate)) fragments.insert(LowerNormal(included));
  }
  std::vector<std::string> sources;
  for (const std::string& candidate : candidates) {
    if (fragments.count(LowerNormal(candidate)) == 0 && ScanFile(candidate).hasContent) sources.push_back(candidate);
  }
  return sources;
}

}  // namespace zarn
