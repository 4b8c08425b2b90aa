#include "conversion/converter.h"

#include "catalog/catalog_contents.h"
#include "external/trace.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

constexpr std::string_view kFunction = "ZARN_GetComponents";

// Copies a plug-in's string and hands it back through its free entry point.
template <typename Free>
std::string TakePluginString(char16_t** text, Free free_fn) {
  std::string copy = ToUtf8(*text);
  if (*text != nullptr) free_fn(text);
  return copy;
}

}  // namespace

Cconverter::Cconverter(std::string_view name, const std::string& directory) {
  if (!module_.Open(JoinPath(directory, LibraryFileName(name)))) return;
  convert = module_.Function<ZarnConvertFn>(ZARN_CONVERTER_ENTRY_CONVERT);
  getSupportedFileTypes = module_.Function<ZarnGetSupportedFileTypesFn>(ZARN_CONVERTER_ENTRY_GET_SUPPORTED_FILE_TYPES);
  freeSupportedFileTypes =
      module_.Function<ZarnFreeSupportedFileTypesFn>(ZARN_CONVERTER_ENTRY_FREE_SUPPORTED_FILE_TYPES);
  isFileTypeSupported = module_.Function<ZarnIsFileTypeSupportedFn>(ZARN_CONVERTER_ENTRY_IS_FILE_TYPE_SUPPORTED);
  getOutputFileName = module_.Function<ZarnGetOutputFileNameFn>(ZARN_CONVERTER_ENTRY_GET_OUTPUT_FILE_NAME);
  freeOutputFileName = module_.Function<ZarnFreeOutputFileNameFn>(ZARN_CONVERTER_ENTRY_FREE_OUTPUT_FILE_NAME);
  freeConversionMessage = module_.Function<ZarnFreeConversionMessageFn>(ZARN_CONVERTER_ENTRY_FREE_CONVERSION_MESSAGE);
}

bool Cconverter::complete() const {
  return module_.IsOpen() && convert != nullptr && getSupportedFileTypes != nullptr &&
         freeSupportedFileTypes != nullptr && isFileTypeSupported != nullptr && getOutputFileName != nullptr &&
         freeOutputFileName != nullptr && freeConversionMessage != nullptr;
}

bool Cconverter::SupportedFileTypes(std::string* types) const {
  char16_t* text = nullptr;
  if (getSupportedFileTypes(&text) != 0) {
    if (text != nullptr) freeSupportedFileTypes(&text);
    return false;
  }
  *types = TakePluginString(&text, freeSupportedFileTypes);
  return true;
}

bool Cconverter::Accepts(const std::string& inputPath) const {
  return isFileTypeSupported(ToUtf16(inputPath).c_str()) == 0;
}

uint32_t Cconverter::Convert(const std::string& inputPath, const std::string& outputDirectory,
                             const std::string& catalogDirectory, std::string* message) const {
  char16_t* text = nullptr;
  const uint32_t result =
      convert(ToUtf16(inputPath).c_str(), ToUtf16(outputDirectory).c_str(), ToUtf16(catalogDirectory).c_str(), &text);
  *message = TakePluginString(&text, freeConversionMessage);
  return result;
}

std::string Cconverter::OutputFileName(const std::string& outputDirectory, const std::string& inputPath) const {
  char16_t* name = nullptr;
  getOutputFileName(ToUtf16(outputDirectory).c_str(), ToUtf16(inputPath).c_str(), &name);
  return TakePluginString(&name, freeOutputFileName);
}

ConverterList& GetConverters(CCatalog_Contents& catalog) {
  return GetConverters(catalog, ModuleDirectory(), {kDevicesConverterName, kIoddConverterName});
}

ConverterList& GetConverters(CCatalog_Contents& catalog, const std::string& directory,
                             const std::vector<std::string>& names) {
  ConverterList& list = catalog.converterList();
  if (catalog.convertersLoaded()) return list;
  catalog.convertersLoaded() = true;
  for (const std::string& name : names) {
    auto converter = std::make_shared<Cconverter>(name, directory);
    if (converter->complete()) list.push_back(std::move(converter));
  }
  return list;
}

uint32_t ConvertWithPlugins(const ConverterList& converters, const std::string& catalogDirectory,
                            const std::string& outputDirectory, std::string* inputPath, std::string* message) {
  for (const auto& converter : converters) {
    std::string types;
    if (!converter->SupportedFileTypes(&types)) continue;
    for (const std::string& entry : Split(types, ";")) {
      if (entry.empty() || !MatchesFileType(*inputPath, entry) || !converter->Accepts(*inputPath)) continue;
      uint32_t result = converter->Convert(*inputPath, outputDirectory, catalogDirectory, message);
      if (result == ZARN_E_CONVERTER_WARNING) {
        Trace(kTraceWarning, kFunction, "WARNING occurred during conversion of %s", *inputPath);
        result = 0;
      }
      if (result == 0) {
        *inputPath = converter->OutputFileName(outputDirectory, *inputPath);
      } else {
        Trace(kTraceError, kFunction, "ERROR occurred during conversion of %s", *inputPath);
      }
      return result;
    }
  }
  return 0;
}

}  // namespace zarn
