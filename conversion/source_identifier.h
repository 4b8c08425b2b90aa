// Identification of a device-description source (.ddl/.mdd) without compiling it:
// the source is preprocessed through the compiler library with an include path built
// from its location, and the preprocessed text is scanned for MANUFACTURER,
// DEVICE_TYPE, DEVICE_REVISION and DD_REVISION.
//
// Device type names may be translated through the device configuration file of a
// catalog (Device/HV__DEV01.cfg): blocks of
//   MANUFACTURER <hex number> = <manufacturer name>
//   DEVICE_TYPE <hex number> = <text>
//   ...
// each block ending at the first line without DEVICE_TYPE (that line is skipped).
#ifndef ZARN_CONVERSION_SOURCE_IDENTIFIER_H_
#define ZARN_CONVERSION_SOURCE_IDENTIFIER_H_

#include <cstdint>
#include <map>
#include <string>

namespace zarn {

// The include path for identifying the source at `sourcePath`: ";" + the source's
// directory, then the ancestor list of that directory, then the ancestor list of
// each non-empty entry of the ";"-separated `extraIncludeDirs`.
std::string BuildIncludePath(const std::string& sourcePath, const std::string& extraIncludeDirs);

// Every ancestor of `directory`, nearest first, each followed by its "_global"
// subdirectory, each entry followed by ";". Stops at the catalog directory (the
// part of `directory` up to "/zarn_catalog") when `directory` lies below one, else
// at the root.
std::string AncestorList(const std::string& directory);

// The four identification texts of a source.
struct SourceIdentity {
  std::string manufacturer;
  std::string deviceType;
  std::string deviceRevision;
  std::string ddRevision;
};

class SourceIdentifier {
 public:
  // manufacturer name -> (device type key "%02x" -> device type text)
  using DeviceTypeTables = std::map<std::string, std::map<std::string, std::string>>;

  // Reads the device configuration file at `deviceConfigurationFile`; an empty
  // path or a missing file gives empty tables.
  explicit SourceIdentifier(const std::string& deviceConfigurationFile);

  // Identifies the source at `sourcePath`. Returns 0 when device type, device
  // revision and DD revision were all found; -1 when the source is not a regular
  // file (outputs unchanged) or an attribute is missing (outputs hold what was
  // found); the preprocessor's result when it fails (outputs unchanged).
  // With `translateNames`, a DEVICE_TYPE name is translated through the tables.
  int32_t IdentifySource(const std::string& sourcePath, std::string* manufacturer, std::string* deviceType,
                         std::string* deviceRevision, std::string* ddRevision, const std::string& extraIncludeDirs,
                         bool translateNames) const;

  // Scans preprocessed text; *identity starts empty. Returns 0 when device type,
  // device revision and DD revision are all non-empty, else -1.
  int32_t ScanPreprocessedText(const std::string& text, bool translateNames, SourceIdentity* identity) const;

  // Translates the device type text `deviceType` of manufacturer `manufacturer`
  // (a manufacturer name, or its number) through the tables. Returns false when
  // there is no table or no entry.
  bool LookupDeviceType(const std::string& manufacturer, const std::string& deviceType, std::string* out) const;

  // The number ("0x" and hex digits) of the device type named `name` (compared
  // without regard to case) in the table of `manufacturer` (a name or a number);
  // when that manufacturer has no entry, in any table. False when no table names it.
  bool LookupDeviceTypeNumber(const std::string& manufacturer, const std::string& name, std::string* out) const;
  // Replaces a device type given by name with its number when the tables name it.
  void NumberDeviceType(SourceIdentity* identity) const;

  const DeviceTypeTables& deviceTypeTables() const { return deviceTypeTables_; }
  // manufacturer number as decimal text -> manufacturer name
  const std::map<std::string, std::string>& manufacturerNames() const { return manufacturerNames_; }

 private:
  void ReadDeviceConfiguration(const std::string& path);
  std::string NormaliseDeviceType(const std::string& manufacturer, const std::string& value, bool translateNames) const;

  DeviceTypeTables deviceTypeTables_;
  std::map<std::string, std::string> manufacturerNames_;
};

}  // namespace zarn

#endif  // ZARN_CONVERSION_SOURCE_IDENTIFIER_H_
