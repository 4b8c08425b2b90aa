// The manifest of a file-area journal: one line per record, a kind letter and
// tab-separated fields, each field with '%', tab, CR and LF written as %XX. Paths
// are relative to the catalog directory, asides to the journal directory.
//   m <aside> <path>   moved aside        f <path>   file created
//   d <path>           directory created  r <path>   directory to remove after the save
//   c <1|0>            catalog file kept as "catalog" (0: there was none)
//   s <device> <inode> <size> <mtime>     the catalog file right before the save
//   S                  the save succeeded
//   U                  the change is being undone
#ifndef ZARN_IMPORT_JOURNAL_MANIFEST_H_
#define ZARN_IMPORT_JOURNAL_MANIFEST_H_

#include <string>
#include <string_view>
#include <vector>

namespace zarn {

struct ManifestRecord {
  char kind = 0;
  std::vector<std::string> fields;
};

std::string ManifestLine(char kind, const std::vector<std::string>& fields);
// The whole records of `text`; a last line cut short by a kill is left out.
std::vector<ManifestRecord> ParseManifest(std::string_view text);

}  // namespace zarn

#endif  // ZARN_IMPORT_JOURNAL_MANIFEST_H_
