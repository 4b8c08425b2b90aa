// An IO-Link device description (IODD 1.0.1 or 1.1) as the converter uses it.
#ifndef ZARN_LIBS_IODD_CONVERTER_IODD_MODEL_H_
#define ZARN_LIBS_IODD_CONVERTER_IODD_MODEL_H_

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zarn::converters {

struct IoddVariable {
  std::string id;
  std::string name_text_id;         // Name/@textId, "" for standard variables
  std::string description_text_id;  // Description/@textId
  std::string type;                 // the IODD type (UIntegerT, StringT, ...), "" when unknown
  std::optional<uint32_t> bit_length;
  std::optional<uint32_t> fixed_length;  // strings: octets
  std::optional<std::string> default_value;
};

struct IoddVariant {
  std::string product_id;
  std::string name_text_id;
  std::string description_text_id;
  std::string device_symbol;  // image file name, "" when absent
};

// Texts by language ("en", "de", ...) and text id.
struct IoddTexts {
  std::string primary_language;
  std::map<std::string, std::map<std::string, std::string>> by_language;
};

struct IoddDevice {
  std::string version;  // "1.0.1" or "1.1", from the namespace
  std::string vendor_id_text;
  std::string device_id_text;
  std::string vendor_name;
  uint32_t vendor_id = 0;
  uint32_t device_id = 0;
  std::string document_version;     // DocumentInfo/@version
  std::string device_name_text_id;  // DeviceIdentity/DeviceName/@textId
  std::vector<IoddVariant> variants;
  std::vector<IoddVariable> variables;
  IoddTexts texts;
};

}  // namespace zarn::converters

#endif  // ZARN_LIBS_IODD_CONVERTER_IODD_MODEL_H_
