// Directory names of the file area. Every catalog element with files owns a
// directory named after its id (section, levels, folders, component), but an id
// may hold characters that are not safe in a directory name. Such characters are
// written as %XX (two upper-case hex digits of the byte), so that one id always
// gives one directory level with a name that works on any file system the catalog
// is copied to, and the id can be read back from it:
// - "/", "\", ";", ":", "*", "?", "\"", "<", ">", "|", bytes below 0x20 and 0x7F;
// - "%" where two hex digits follow it (elsewhere it stays as it is);
// - dots and blanks at the end of the name ("." and ".." included);
// - the last letter or digit of a reserved device name (CON, PRN, AUX, NUL, COM0-9,
//   LPT0-9, in any case, also before an extension: "nul.txt").
// A name that needs none of this is its own directory name, so the directories of
// existing catalogs stay where they are.
#ifndef ZARN_MAINTENANCE_FILE_AREA_NAMES_H_
#define ZARN_MAINTENANCE_FILE_AREA_NAMES_H_

#include <string>
#include <string_view>

namespace zarn {

// The directory name of the element id `name`.
std::string FileAreaName(std::string_view name);
// The id a directory name of FileAreaName stands for.
std::string NameOfFileAreaDirectory(std::string_view directory_name);

}  // namespace zarn

#endif  // ZARN_MAINTENANCE_FILE_AREA_NAMES_H_
