// Settings the catalog takes from the object manager: language and compile after import.
#include "catalog/catalog_contents.h"
#include "external/object_manager_link.h"
#include "platform/strings.h"

namespace zarn {

std::string CCatalog_Contents::getLanguage() {
  if (!language_fetched_ && object_manager_ && object_manager_->HasSettingsReader()) {
    VARIANT value;
    VariantInit(&value);
    if (object_manager_->GetSetting("GUI_Language", &value) == 0) {
      const std::string language = VariantString(value);
      if (!language.empty()) {
        language_ = language;
        language_fetched_ = true;
      }
    }
    VariantClear(&value);
  }
  return language_;
}

uint32_t CCatalog_Contents::setLanguage(const std::string& language) {
  language_ = language;
  return 0;
}

bool CCatalog_Contents::getCompileAfterImport() {
  if (!compile_setting_fetched_ && object_manager_ && object_manager_->HasSettingsReader()) {
    VARIANT value;
    VariantInit(&value);
    if (object_manager_->GetSetting("CatalogCompileAfterImport", &value) == 0 && value.vt != VT_EMPTY &&
        value.vt != VT_NULL) {
      compile_after_import_ = value.bVal != 0;
      compile_setting_fetched_ = true;
    }
    VariantClear(&value);
  }
  return compile_after_import_;
}

uint32_t CCatalog_Contents::CompileAfterImport(const std::string& component_path) {
  if (!getCompileAfterImport() || !object_manager_ || !object_manager_->CanCreateObjects()) return 0;
  return object_manager_->CompileComponent(component_path);
}

}  // namespace zarn
