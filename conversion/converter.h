// Converter plug-ins: libraries that turn files of other device-description formats
// into device XML (interface in zarn/converter_plugin.h). Two are known by name and
// loaded, when present and complete, from the catalog manager's own directory:
// zarn_devices_converter_x, then zarn_iodd_converter_x; they are tried in that order.
#ifndef ZARN_CONVERSION_CONVERTER_H_
#define ZARN_CONVERSION_CONVERTER_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dynlib.h"
#include "zarn/converter_plugin.h"

namespace zarn {

class CCatalog_Contents;

inline constexpr const char* kDevicesConverterName = "zarn_devices_converter_x";
inline constexpr const char* kIoddConverterName = "zarn_iodd_converter_x";

// One loaded plug-in with its seven entry points (null until resolved).
class Cconverter {
 public:
  // Loads the library the system names `name` from `directory` (default: the
  // catalog manager's own directory) and resolves the entry points. A library that
  // cannot be loaded leaves every entry point null.
  explicit Cconverter(std::string_view name, const std::string& directory = ModuleDirectory());
  // Frees the library.
  ~Cconverter() = default;
  Cconverter(const Cconverter&) = delete;
  Cconverter& operator=(const Cconverter&) = delete;

  // True when the library was loaded and all seven entry points exist.
  bool complete() const;

  // The ";"-separated extension patterns; false when the plug-in reports failure.
  bool SupportedFileTypes(std::string* types) const;
  // True when the plug-in accepts the file (ZARN_IsFileTypeSupported returns 0).
  bool Accepts(const std::string& inputPath) const;
  // ZARN_Convert; *message receives a copy of the plug-in's message.
  uint32_t Convert(const std::string& inputPath, const std::string& outputDirectory,
                   const std::string& catalogDirectory, std::string* message) const;
  // The device XML that Convert writes for inputPath into outputDirectory.
  std::string OutputFileName(const std::string& outputDirectory, const std::string& inputPath) const;

  ZarnConvertFn convert = nullptr;
  ZarnGetSupportedFileTypesFn getSupportedFileTypes = nullptr;
  ZarnFreeSupportedFileTypesFn freeSupportedFileTypes = nullptr;
  ZarnIsFileTypeSupportedFn isFileTypeSupported = nullptr;
  ZarnGetOutputFileNameFn getOutputFileName = nullptr;
  ZarnFreeOutputFileNameFn freeOutputFileName = nullptr;
  ZarnFreeConversionMessageFn freeConversionMessage = nullptr;

 private:
  DynamicLibrary module_;
};

using ConverterList = std::vector<std::shared_ptr<Cconverter>>;

// The catalog's converter list, loaded on the first call from `directory` (the
// catalog manager's own directory) in the order of `names`; incomplete plug-ins
// are dropped. Later calls return the same list.
ConverterList& GetConverters(CCatalog_Contents& catalog);
ConverterList& GetConverters(CCatalog_Contents& catalog, const std::string& directory,
                             const std::vector<std::string>& names);

// Offers `*inputPath` to the plug-ins in order. The first plug-in that lists a
// matching pattern and accepts the file converts it into `outputDirectory`;
// *message receives its message. On success *inputPath becomes the plug-in's
// output file. Returns 0 (also when no plug-in accepts the file, which then passes
// on unchanged); the plug-in's code when it failed (traced "ERROR occurred during
// conversion of %s"); the warning code is turned into 0 (traced "WARNING occurred
// during conversion of %s" at level 4).
uint32_t ConvertWithPlugins(const ConverterList& converters, const std::string& catalogDirectory,
                            const std::string& outputDirectory, std::string* inputPath, std::string* message);

}  // namespace zarn

#endif  // ZARN_CONVERSION_CONVERTER_H_
