// Reading the flags, numbers and bounds of relation elements.
#ifndef ZARN_RELATIONS_RELATION_VALUES_H_
#define ZARN_RELATIONS_RELATION_VALUES_H_

#include <cstdint>
#include <string_view>

#include "xml/node.h"
#include "zarn/catalog_manager.h"

namespace zarn {

// True when the text of `element` is "true" (case and surrounding white space
// ignored); false for a null element.
bool IsTrueText(xml::Node element);

// Reads `name`/isConditioned and `name`/integer below `parent` into *conditioned
// (1 for "true") and *number (left as it is when absent). ZARN_E_DOCUMENT when
// either is present without content.
uint32_t ReadBound(xml::Node parent, std::string_view name, uint8_t* conditioned, int32_t* number);

// Reads MIN_VALUE, MAX_VALUE and MIN_VALUE1..10, MAX_VALUE1..10 of a
// required_range element. Values are VT_BSTR texts of the value element's
// content. ZARN_E_DOCUMENT when a value element has no content.
uint32_t ReadRangeBounds(xml::Node range_element, RequiredRange* range);

}  // namespace zarn

#endif  // ZARN_RELATIONS_RELATION_VALUES_H_
