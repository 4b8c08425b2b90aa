// Initial values of device variables and the purpose mapping of components.
#ifndef ZARN_QUERY_INITIAL_VALUES_H_
#define ZARN_QUERY_INITIAL_VALUES_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/catalog_contents.h"

namespace zarn {

// The initial value that the component at `component_path` prescribes for the
// variable `variable_ref` in `language`: the child of the initial_value marked with
// the language ("en": the unmarked second child), else its second child; a typed
// value (a value element with element children) is read from its first element
// child. Returns 0 with *value set; ZARN_E_NO_VALUE when the component, the
// initial_value or the value element is missing; ZARN_E_EMPTY_VALUE when the value
// element has no child node. *value is untouched on failure.
uint32_t GetInitialValue(const CCatalog_Contents& catalog, std::string_view component_path,
                         std::string_view variable_ref, std::string_view language, std::string* value);

// The ref attribute of the element just before the last PURPOSE_MAPPING string that
// names the purpose `kind` (0 tag, 1 description, 2 message, 3 device type); any
// other kind reads the ref of the PURPOSE_MAPPING element itself ("" when absent).
// Returns 0 with *value set, or ZARN_E_NO_PURPOSE_MAPPING (*value untouched).
uint32_t GetPurposeMapping(const CCatalog_Contents& catalog, std::string_view component_path, int32_t kind,
                           std::string* value);

}  // namespace zarn

#endif  // ZARN_QUERY_INITIAL_VALUES_H_
