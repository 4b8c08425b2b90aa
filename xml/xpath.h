// XPath 1.0 selection with the error description captured, never printed.
#ifndef ZARN_XML_XPATH_H_
#define ZARN_XML_XPATH_H_

#include <string>
#include <string_view>
#include <vector>

#include "xml/node.h"

namespace zarn::xml {

// Selects every node that `xpath` finds from `context`, in document order.
// Returns false and sets *error when the expression is malformed or the evaluation
// fails; an expression that yields no node set (a number, a string) gives an
// empty list. Namespace nodes are left out.
bool SelectNodes(Node context, std::string_view xpath, std::vector<Node>* out, std::string* error);

// The first node in document order that `xpath` finds, or null. *error is set
// (and null returned) on failure; on success *error is left untouched.
Node SelectFirst(Node context, std::string_view xpath, std::string* error);

}  // namespace zarn::xml

#endif  // ZARN_XML_XPATH_H_
