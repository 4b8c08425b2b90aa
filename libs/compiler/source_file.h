// Reading source files and finding included ones.
#ifndef ZARN_LIBS_COMPILER_SOURCE_FILE_H_
#define ZARN_LIBS_COMPILER_SOURCE_FILE_H_

#include <string>
#include <vector>

namespace zarnl {

// Reads a source file as UTF-8 text: a UTF-8 byte-order mark is dropped, text that
// is not valid UTF-8 is taken as Latin-1 and converted. Returns false when the file
// cannot be read or is not a regular file.
bool ReadSourceFile(const std::string& path, std::string* text);

// Splits a ";"-separated directory list; empty entries are dropped.
std::vector<std::string> SplitIncludePath(const std::string& list);

// Finds an included file: `name` ("\" taken as "/") relative to `including_dir`,
// then to each directory of `include_dirs` in order; an absolute name is taken as
// is. When a path does not exist as written, its components are matched without
// regard to case. Returns the path found, or "" when there is none.
std::string FindInclude(const std::string& name, const std::string& including_dir,
                        const std::vector<std::string>& include_dirs);

// The include directories that source identification uses for a source: the
// source's directory, then each ancestor directory, nearest first, each followed
// by its "_global" subdirectory. The walk stops after `catalog_dir` when the source
// lies below it; with no such catalog directory it stops after the directory that
// ends in "zarn_catalog" (any case) on the way up, else after the root directory.
std::vector<std::string> IdentificationIncludeDirs(const std::string& source_path, const std::string& catalog_dir);

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_SOURCE_FILE_H_
