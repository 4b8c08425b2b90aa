// The outcome of one conversion: a result code, warnings and the failure text,
// folded into the one code and message a converter plug-in hands back.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_CONVERSION_REPORT_H_
#define ZARN_LIBS_DEVICES_CONVERTER_CONVERSION_REPORT_H_

#include <cstdint>
#include <string>
#include <vector>

namespace zarn::converters {

// Result codes of the converter plug-ins.
inline constexpr uint32_t kConverted = 0;
inline constexpr uint32_t kConvertedWithWarnings = 0x902040a6u;
inline constexpr uint32_t kUnreadableSource = 0x90204002u;   // cannot be read in its format
inline constexpr uint32_t kCannotWriteOutput = 0x90204020u;  // output directory or file
inline constexpr uint32_t kOutOfMemory = 0x90204030u;

class ConversionReport {
 public:
  // Records a failure; the first failure wins.
  void Fail(uint32_t code, std::string text);
  void Warn(std::string text) { warnings_.push_back(std::move(text)); }

  bool failed() const { return failure_code_ != 0; }
  const std::vector<std::string>& warnings() const { return warnings_; }
  // The failure code, else the warning code when there are warnings, else 0.
  uint32_t Code() const;
  // The failure text followed by the warnings, one per line; "" when all went well.
  std::string Message() const;

 private:
  uint32_t failure_code_ = 0;
  std::string failure_text_;
  std::vector<std::string> warnings_;
};

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_CONVERSION_REPORT_H_
