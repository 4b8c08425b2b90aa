// Reads IODD documents (root IODevice in the IODD 1.0.1 or 1.1 namespace) and
// their separate language files.
#ifndef ZARN_LIBS_IODD_CONVERTER_IODD_READER_H_
#define ZARN_LIBS_IODD_CONVERTER_IODD_READER_H_

#include <string>
#include <string_view>

#include "libs/devices_converter/conversion_report.h"
#include "libs/iodd_converter/iodd_model.h"
#include "xml/document.h"

namespace zarn::converters {

// The IODD version of a document whose root is IODevice in a known namespace,
// else "".
std::string IoddVersionOf(const xml::Document& doc);

// Reads the device. Returns false after reporting kUnreadableSource when the
// document is no IODD or lacks DeviceIdentity with numeric vendorId and
// deviceId; unknown elements and absent optional parts are warnings.
// `path` names the file in messages.
bool ReadIodd(const xml::Document& doc, const std::string& path, IoddDevice* device, ConversionReport* report);

// Adds the texts of every Language / PrimaryLanguage element of a language file
// (or of the ExternalTextCollection of an IODD) to *texts. A Language element
// without xml:lang takes `fallback_language`.
void ReadIoddTexts(const xml::Document& doc, const std::string& fallback_language, IoddTexts* texts);

// The language tag of a separate language file of the IODD `iodd_file_name`:
// for "X.xml", a file "X-de.xml" gives "de"; other names give "".
std::string IoddLanguageFileTag(std::string_view iodd_file_name, std::string_view candidate);

}  // namespace zarn::converters

#endif  // ZARN_LIBS_IODD_CONVERTER_IODD_READER_H_
