// The settings file: one "name=value" line per setting, '#' starts a comment line.
// Names are compared exactly; blanks around names and values are not part of them.
// When a name occurs more than once, the last line counts.
#ifndef ZARN_LIBS_OM_SETTINGS_FILE_H_
#define ZARN_LIBS_OM_SETTINGS_FILE_H_

#include <optional>
#include <string>
#include <string_view>

namespace zarn::om {

// The path named by ZARN_SETTINGS, or "" when the variable is unset or empty.
std::string SettingsFilePath();

// The value of `name` in the settings text, or nothing when no line sets it.
std::optional<std::string> FindSetting(std::string_view text, std::string_view name);

// The settings text with `name` set to `value`: the first line that sets the name
// is replaced, later ones are dropped, and a new line is appended when none sets
// it. Comment lines and other settings stay as they were.
std::string ReplaceSetting(std::string_view text, std::string_view name, std::string_view value);

// True when `name` can be stored: not empty, no '=', no line break, no leading '#',
// no blanks around it.
bool IsStorableName(std::string_view name);
// True when `value` can be stored: no line break, no NUL, no blanks around it.
bool IsStorableValue(std::string_view value);

// Parses the decimal number 0..255 that a byte setting holds. False otherwise.
bool ParseByte(std::string_view text, unsigned char* out);

}  // namespace zarn::om

#endif  // ZARN_LIBS_OM_SETTINGS_FILE_H_
