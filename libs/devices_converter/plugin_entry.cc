#include "libs/devices_converter/plugin_entry.h"

#include <cstdlib>
#include <filesystem>

#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn::converters {
namespace {

void SetMessage(char16_t** message, const std::string& text) {
  if (message != nullptr && !text.empty()) *message = NewHostString(text);
}

}  // namespace

std::string OutputFileName(const std::string& output_directory, const std::string& input_path) {
  return JoinPath(output_directory, FileNamePart(input_path) + ".device.xml");
}

uint32_t EntryConvert(const ConverterDefinition& def, const char16_t* input_path, const char16_t* output_directory,
                      char16_t** message) {
  if (message != nullptr) *message = nullptr;
  if (input_path == nullptr || output_directory == nullptr) {
    SetMessage(message, "no input file or output directory given");
    return kUnreadableSource;
  }
  ConversionReport report;
  try {
    const std::string input = ToUtf8(input_path);
    const std::string out_dir = ToUtf8(output_directory);
    std::error_code ec;
    std::filesystem::create_directories(out_dir, ec);
    if (!std::filesystem::is_directory(out_dir, ec)) {
      report.Fail(kCannotWriteOutput, "cannot create the output directory " + out_dir);
    } else {
      def.convert(input, out_dir, OutputFileName(out_dir, input), &report);
    }
  } catch (const std::bad_alloc&) {
    report.Fail(kOutOfMemory, "out of memory");
  } catch (const std::exception& e) {
    report.Fail(kUnreadableSource, std::string("conversion failed: ") + e.what());
  } catch (...) {
    report.Fail(kUnreadableSource, "conversion failed");
  }
  SetMessage(message, report.Message());
  return report.Code();
}

uint32_t EntryGetSupportedFileTypes(const ConverterDefinition& def, char16_t** types) {
  if (types == nullptr) return kUnreadableSource;
  *types = NewHostString(def.supported_types);
  return *types != nullptr ? 0 : kOutOfMemory;
}

uint32_t EntryIsFileTypeSupported(const ConverterDefinition& def, const char16_t* input_path) {
  if (input_path == nullptr) return 1;
  try {
    return def.is_supported(ToUtf8(input_path)) ? 0 : 1;
  } catch (...) {
    return 1;
  }
}

void EntryGetOutputFileName(const char16_t* output_directory, const char16_t* input_path, char16_t** name) {
  if (name == nullptr) return;
  *name = nullptr;
  if (output_directory == nullptr || input_path == nullptr) return;
  try {
    *name = NewHostString(OutputFileName(ToUtf8(output_directory), ToUtf8(input_path)));
  } catch (...) {
    *name = nullptr;
  }
}

void FreeHandedOut(char16_t** text) {
  if (text == nullptr) return;
  std::free(*text);
  *text = nullptr;
}

}  // namespace zarn::converters
