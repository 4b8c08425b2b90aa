// CUniData: a value of the product family's unidata library, reduced to what the
// catalog manager relies on: a text whose type can be checked and set.
#ifndef ZARN_EXTERNAL_UNIDATA_H_
#define ZARN_EXTERNAL_UNIDATA_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace zarn {

class CUniData {
 public:
  // Type codes that SetType understands.
  static constexpr uint16_t kTypeEmpty = 0;   // a default-constructed value
  static constexpr uint16_t kTypeText = 1;    // a value constructed from text
  static constexpr uint16_t kTypeNumber = 3;  // decimal, or hexadecimal with "0x"/"0X"
  static constexpr uint16_t kTypeName = 8;    // letter or "_", then letters, digits, "_"

  CUniData() = default;
  explicit CUniData(std::string_view text) : text_(text), type_(kTypeText) {}

  // Returns 0 when the value can be taken as type `code` (and takes it: type()
  // becomes `code`); non-zero, leaving the value unchanged, otherwise. Codes other
  // than kTypeNumber and kTypeName are never accepted.
  int32_t SetType(uint16_t code);

  uint16_t type() const { return type_; }
  const std::string& text() const { return text_; }

 private:
  std::string text_;
  uint16_t type_ = kTypeEmpty;
};

// True when `text` is a decimal number (optionally signed) or "0x"/"0X" followed by
// hexadecimal digits.
bool IsNumberText(std::string_view text);
// True when `text` is a letter or "_" followed by letters, digits and "_".
bool IsNameText(std::string_view text);

}  // namespace zarn

#endif  // ZARN_EXTERNAL_UNIDATA_H_
