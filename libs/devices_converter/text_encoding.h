// Text from device description files of unknown encoding, made fit for XML.
#ifndef ZARN_LIBS_DEVICES_CONVERTER_TEXT_ENCODING_H_
#define ZARN_LIBS_DEVICES_CONVERTER_TEXT_ENCODING_H_

#include <string>
#include <string_view>

namespace zarn::converters {

// True when `text` is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// `text` as UTF-8 without a leading UTF-8 byte order mark: kept when it is valid
// UTF-8, else read as ISO 8859-1.
std::string DecodeLegacyText(std::string_view text);

// Valid UTF-8 without the characters XML 1.0 does not allow (C0 controls other
// than tab, line feed and carriage return; U+FFFE, U+FFFF); invalid bytes dropped.
std::string XmlSafeText(std::string_view text);

// `text` with every character outside [A-Za-z0-9_] replaced by "_"; "_" when empty.
std::string IdentifierFrom(std::string_view text);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_DEVICES_CONVERTER_TEXT_ENCODING_H_
