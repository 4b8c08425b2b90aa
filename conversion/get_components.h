// Component retrieval behind ZARN_GetComponents.
#ifndef ZARN_CONVERSION_GET_COMPONENTS_H_
#define ZARN_CONVERSION_GET_COMPONENTS_H_

#include <cstdint>
#include <string>

#include "zarn/catalog_manager.h"

namespace zarn {

class CCatalog_Contents;

// Converts or lists `path` (see ZARN_GetComponents). *list is written on success,
// and on the failures that still describe something (a failing plug-in, a
// component XML that reads only in part); it is left alone otherwise.
uint32_t GetComponents(CCatalog_Contents& catalog, const std::string& path, ComponentXMLInfo** list);

}  // namespace zarn

#endif  // ZARN_CONVERSION_GET_COMPONENTS_H_
