// Log paths and short (COT) names of catalog elements, as the exports hand them out.
#ifndef ZARN_QUERY_LOG_PATHS_H_
#define ZARN_QUERY_LOG_PATHS_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/catalog_contents.h"
#include "zarn/catalog_manager.h"

namespace zarn {

// Modes of GetLogPaths.
inline constexpr int32_t kLogPathsBelow = 0;     // any mode but 1 and 2
inline constexpr int32_t kLogPathsChildren = 1;  // visible children holding components
inline constexpr int32_t kLogPathsElement = 2;   // the element itself

// The XPath that selects the elements GetLogPaths describes for a component path
// and a mode.
std::string LogPathsXPath(std::string_view component_path, int32_t mode);

// The elements that XPath selects, in document order; for modes 0 and 1 what lies
// below the addressed elements is found by walking instead of by the XPath.
NodeList SelectLogPathElements(const CCatalog_Contents& catalog, std::string_view component_path, int32_t mode);

// The log path list of `elements` (see CLogPathList); the caller owns *head and
// frees it with FreeLogPathEntries. Returns 0 or ZARN_E_ALLOCATION.
uint32_t BuildLogPaths(CCatalog_Contents& catalog, const NodeList& elements, bool with_texts, bool path_form,
                       LogPathEntry** head);

// ZARN_GetLogPaths on the catalog: ZARN_E_EMPTY_PATH (head untouched) for an empty
// path; otherwise *head is written, and the result is 0, ZARN_E_NOT_FOUND for an
// empty list, or ZARN_E_ALLOCATION.
uint32_t GetLogPaths(CCatalog_Contents& catalog, std::string_view component_path, bool with_texts, int32_t mode,
                     LogPathEntry** head);

// The element a component path addresses through its XPath, or null.
Node SelectElementByComponentPath(const CCatalog_Contents& catalog, std::string_view component_path);

// The COT name of the element at `component_path`: "\" + ids below the nearest
// MANUFACTURER, CLASSIFICATION or PROTOCOL, outermost first; "" when the path
// addresses nothing.
std::string CotNameOf(const CCatalog_Contents& catalog, std::string_view component_path);
// The component path of the one element whose trailing ids are the COT name's
// segments; "" when none or several match.
std::string ComponentPathFromCotName(const CCatalog_Contents& catalog, std::string_view cot_name);

}  // namespace zarn

#endif  // ZARN_QUERY_LOG_PATHS_H_
