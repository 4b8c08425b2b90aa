#include "relations/relation_values.h"

#include <cstdlib>
#include <string>

#include "platform/strings.h"

namespace zarn {
namespace {

using xml::Node;

constexpr std::string_view kIsConditioned = "isConditioned";

Node FirstElementChild(Node parent) {
  for (Node child = parent.FirstChild(); child; child = child.NextSibling()) {
    if (child.IsElement()) return child;
  }
  return Node();
}

// The value a value element holds: the text of its first child.
uint32_t CopyValue(Node value_element, uint8_t* present, VARIANT* value) {
  const Node content = value_element.FirstChild();
  if (!content) return ZARN_E_DOCUMENT;
  SetVariantString(value, content.Text());
  *present = 1;
  return 0;
}

// MIN_VALUE / MAX_VALUE: conditioned when it holds isConditioned anywhere; a value
// when its first element child is something else.
uint32_t ReadMainBound(Node bound, uint8_t* present, uint8_t* conditioned, VARIANT* value) {
  if (!bound) return 0;
  if (bound.FirstChildElement(kIsConditioned)) *conditioned = *present = 1;
  const Node first = FirstElementChild(bound);
  if (!first || first.Name() == kIsConditioned) return 0;
  return CopyValue(first, present, value);
}

// MIN_VALUEi / MAX_VALUEi: only the first element child counts.
uint32_t ReadNumberedBound(Node bound, uint8_t* present, uint8_t* conditioned, VARIANT* value) {
  const Node first = FirstElementChild(bound);
  if (!first) return 0;
  if (first.Name() == kIsConditioned) {
    *conditioned = *present = 1;
    return 0;
  }
  return CopyValue(first, present, value);
}

}  // namespace

bool IsTrueText(Node element) { return element && EqualsNoCase(Trim(element.Text()), "true"); }

uint32_t ReadBound(Node parent, std::string_view name, uint8_t* conditioned, int32_t* number) {
  const Node bound = parent.FirstChildElement(name);
  if (!bound) return 0;
  const Node flag = bound.FirstChildElement(kIsConditioned);
  const Node integer = bound.FirstChildElement("integer");
  if ((flag && !flag.FirstChild()) || (integer && !integer.FirstChild())) return ZARN_E_DOCUMENT;
  if (flag) *conditioned = IsTrueText(flag) ? 1 : 0;
  if (integer) *number = static_cast<int32_t>(std::strtol(Trim(integer.Text()).c_str(), nullptr, 10));
  return 0;
}

uint32_t ReadRangeBounds(Node range_element, RequiredRange* range) {
  uint32_t code = ReadMainBound(range_element.FirstChildElement("MAX_VALUE"), &range->maxPresent,
                                &range->maxConditioned, &range->maxValue);
  if (code != 0) return code;
  code = ReadMainBound(range_element.FirstChildElement("MIN_VALUE"), &range->minPresent, &range->minConditioned,
                       &range->minValue);
  for (int i = 0; code == 0 && i < 10; ++i) {
    const std::string number = std::to_string(i + 1);
    code = ReadNumberedBound(range_element.FirstChildElement("MAX_VALUE" + number), &range->maxPresentN[i],
                             &range->maxConditionedN[i], &range->maxValues[i]);
    if (code != 0) break;
    code = ReadNumberedBound(range_element.FirstChildElement("MIN_VALUE" + number), &range->minPresentN[i],
                             &range->minConditionedN[i], &range->minValues[i]);
  }
  return code;
}

}  // namespace zarn
