// Native path helpers. Every place that splits, joins or searches a file-system
// path at its separator goes through here.
#ifndef ZARN_PLATFORM_PATHS_H_
#define ZARN_PLATFORM_PATHS_H_

#include <string>
#include <string_view>

namespace zarn {

// The platform's directory separator.
inline constexpr char kPathSeparator = '/';
inline constexpr std::string_view kPathSeparatorString = "/";

struct PathParts {
  std::string drive;      // always empty on this platform
  std::string directory;  // with its trailing separator, "" when none
  std::string name;       // file name without extension
  std::string extension;  // with its dot, "" when none
};

// Splits a path into drive, directory, file name and extension.
PathParts SplitPath(std::string_view path);
// The part after the last separator.
std::string FileNamePart(std::string_view path);
// Drive and directory of a file path, keeping the trailing separator.
std::string DirectoryOfFile(std::string_view path);
// Trailing separators removed, then everything from the last separator on removed.
std::string ParentDirectory(std::string_view path);
// a + separator + b, without doubling a separator at the joint.
std::string JoinPath(std::string_view a, std::string_view b);
// Appends a separator unless the path already ends with one.
std::string WithTrailingSeparator(std::string_view path);
// Removes trailing separators (but keeps a lone root separator).
std::string WithoutTrailingSeparator(std::string_view path);

// Paths stored inside catalog documents use "\"; these convert both ways.
std::string DocumentPathToNative(std::string_view path);
std::string NativePathToDocument(std::string_view path);

// Lexically normalised absolute form ("." and ".." resolved, no trailing separator).
std::string NormalisePath(std::string_view path);
// True when `path` lies at or below `directory` after normalisation.
bool IsPathInside(std::string_view directory, std::string_view path);
// True when a single path segment (an id, a file name) is safe to use below a
// directory: not empty, not "." or "..", no separator of either kind, no NUL.
bool IsSafePathSegment(std::string_view segment);

// TEMP, else TMPDIR, else /tmp.
std::string TempDirectory();

}  // namespace zarn

#endif  // ZARN_PLATFORM_PATHS_H_
