// The fixed table from a classification keyword to its chain of one to three levels.
#ifndef ZARN_CATALOG_CLASSIFICATION_TABLE_H_
#define ZARN_CATALOG_CLASSIFICATION_TABLE_H_

#include <array>
#include <span>
#include <string_view>
#include <vector>

namespace zarn {

struct ClassificationRow {
  std::string_view keyword;
  int level_count;
  std::array<std::string_view, 3> levels;
};

// The 50 rows, in their fixed order.
std::span<const ClassificationRow> ClassificationRows();

// The first row whose keyword equals `keyword` ignoring case, or null.
const ClassificationRow* LookupClassification(std::string_view keyword);

// The level names used when creating a chain: the row's levels, or the keyword
// itself as a single level when no row matches.
std::vector<std::string_view> ClassificationLevelsForCreation(std::string_view keyword);

// The level names used when searching existing levels: the row's levels, or the
// levels of the last row (UNIVERSAL) when no row matches.
std::vector<std::string_view> ClassificationLevelsForSearch(std::string_view keyword);

}  // namespace zarn

#endif  // ZARN_CATALOG_CLASSIFICATION_TABLE_H_
