// The data files a catalog directory needs (the stylesheet, the manufacturer table,
// the compiler's device configuration) and where the library finds its own copies.
#ifndef ZARN_CATALOG_SHIPPED_DATA_H_
#define ZARN_CATALOG_SHIPPED_DATA_H_

#include <string>
#include <string_view>
#include <vector>

namespace zarn {

// Paths relative to the catalog directory, as they lie in the shipped data too.
const std::vector<std::string_view>& ShippedDataFiles();

// Directories that may hold the shipped data, in the order they are searched:
// data/ beside the library (as built) and share/zarn-catalog/ of the prefix it is
// installed in.
std::vector<std::string> ShippedDataDirectories();

// Copies each shipped file that `catalog_directory` lacks from the first shipped
// directory that has it; a file that is there, edited or not, is left alone. Returns
// false when a missing file could not be laid out; the trace then names the file and
// the directories searched.
bool LayOutShippedData(const std::string& catalog_directory);

}  // namespace zarn

#endif  // ZARN_CATALOG_SHIPPED_DATA_H_
