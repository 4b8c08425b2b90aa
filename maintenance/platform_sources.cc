// Platform-source generation and the hardware-configuration entries of components.
#include <cstdio>
#include <fstream>

#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "external/object_manager_link.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
#include "platform/strings.h"
#include "zarn/platform.h"

namespace zarn {
namespace {

using GenerateFn = int32_t(ZARN_CALL*)(const char16_t*, const char16_t*, const char16_t*, void*, void*);

constexpr const char* kGeneratorEntry = "ZARN_GeneratePlatformSources";

// The DEFAULT_VALUE line that replaces a marker line.
std::string DefaultValueLine(const std::string& path) { return "\t\tDEFAULT_VALUE \"" + path + "[-1.-1.-1.-1]\";\n"; }

}  // namespace

int32_t CCatalog_Contents::LoadPlatformSourceGenerator(const std::string& file_name) {
  if (!auxiliary_library_.Open(JoinPath(ModuleDirectory(), file_name))) return -1;
  auxiliary_entry_point_ = auxiliary_library_.Symbol(kGeneratorEntry);
  return auxiliary_entry_point_ != nullptr ? 0 : -1;
}

void* CCatalog_Contents::GetPlatformSourceGenerator() {
  if (auxiliary_entry_point_ != nullptr) return auxiliary_entry_point_;
  if (!object_manager_ || !object_manager_->HasSettingsReader()) return nullptr;
  VARIANT value;
  VariantInit(&value);
  if (object_manager_->GetSetting("GeneratePlatformSources", &value) == 0) {
    const std::string name = VariantString(value);
    if (!name.empty()) LoadPlatformSourceGenerator(name);
  }
  VariantClear(&value);
  return auxiliary_entry_point_;
}

int32_t CCatalog_Contents::GeneratePlatformSources(const std::string& source_path, const std::string& base_directory,
                                                   const std::string& output_directory, void* get_components,
                                                   void* free_component_info) {
  auto generate = reinterpret_cast<GenerateFn>(GetPlatformSourceGenerator());
  if (generate == nullptr) return -1;
  const std::u16string source16 = ToUtf16(source_path);
  const std::u16string base16 = ToUtf16(base_directory);
  const std::u16string output16 = ToUtf16(output_directory);
  return generate(source16.c_str(), base16.c_str(), output16.c_str(), get_components, free_component_info);
}

void CCatalog_Contents::AddHardwareConfigurationEntry(Node element, const std::string& text, int kind) {
  if (!element) return;
  static constexpr std::string_view kNames[] = {"HWCN_Device", "HWCN_Rack", "HWCN_DeviceItem"};
  if (kind >= 0 && kind < 3) {
    element.AppendElement(kNames[kind], text);
    return;
  }
  element.AppendText(text);
}

void CCatalog_Contents::MarkInvisible(const std::string& component_path) {
  Node element = FindByComponentPath(component_path);
  if (element) element.SetAttribute(format::kIsInvisible, format::kTrue);
}

void CCatalog_Contents::WriteDeviceItemDefaults(const std::string& file, const std::string& rack_path,
                                                const std::string& device_path) {
  const std::string temporary = file + ".tmp";
  {
    std::ifstream in(file);
    if (!in) return;
    std::ofstream out(temporary, std::ios::trunc);
    if (!out) return;
    std::string line;
    while (std::getline(in, line)) {
      if (line.find("###PATH_TO_DEVICE###") != std::string::npos) {
        out << DefaultValueLine(device_path);
      } else if (line.find("###PATH_TO_RACK###") != std::string::npos) {
        out << DefaultValueLine(rack_path);
      } else {
        out << line << '\n';
      }
    }
    if (!in.eof() || !out.flush()) return;
  }
  CFileOperation().Delete(file);
  std::rename(temporary.c_str(), file.c_str());
}

}  // namespace zarn
