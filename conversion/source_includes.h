// The #include structure of the device-description files of one directory tree:
// which files a source pulls in, so that a directory import compiles only the
// sources and not their fragments, and a component's directory in the file area
// receives the headers its source needs.
#ifndef ZARN_CONVERSION_SOURCE_INCLUDES_H_
#define ZARN_CONVERSION_SOURCE_INCLUDES_H_

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// Removes "//" and "/* */" comments from one line. *inBlock carries a block comment
// that is still open from earlier lines.
std::string StripComments(std::string_view line, bool* inBlock);

// The names that the #include directives of `text` give ("name" or <name>), in
// order, as written. Directives inside comments do not count.
std::vector<std::string> IncludeNames(std::string_view text);

// The string literals of `text` outside comments, escapes left as written.
std::vector<std::string> StringLiterals(std::string_view text);

// True when `text` holds anything but comments and white space.
bool HasContent(std::string_view text);

class SourceIncludes {
 public:
  // `files`: the files below `directory` (full paths) that includes may name.
  SourceIncludes(std::string directory, const std::vector<std::string>& files);

  // The files of the tree that `source` includes, directly or through other
  // included files, without `source` itself. A name resolves against the
  // including file's directory first, then against the tree's directory, without
  // regard to case (descriptions are often written on systems that ignore it).
  // Names that resolve to no file of the tree (standard headers found elsewhere)
  // are left out.
  std::set<std::string> IncludedBy(const std::string& source);

  // IncludedBy and the files of the tree that a string literal of `source` or of
  // an included file names (an image's PATH, a list of pictures), resolved the
  // same way.
  std::set<std::string> ReferencedBy(const std::string& source);

  // The sources of `candidates` that are no fragment: not included by another
  // candidate (directly or through headers) and not empty. Order is kept.
  std::vector<std::string> Sources(const std::vector<std::string>& candidates);

 private:
  struct Scan {
    bool hasContent = false;
    std::vector<std::string> includes;  // resolved paths of the direct includes
    std::vector<std::string> named;     // resolved paths that string literals name
  };
  const Scan& ScanFile(const std::string& file);
  std::string Resolve(const std::string& includer, const std::string& name) const;

  std::string directory_;
  std::map<std::string, std::string> byLowerPath_;  // lower-case normal path -> path
  std::map<std::string, Scan> scans_;
};

}  // namespace zarn

#endif  // ZARN_CONVERSION_SOURCE_INCLUDES_H_
