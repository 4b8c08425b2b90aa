// ZARN_GetCatalogRelationInfo, ZARN_IsComponentExistent, ZARN_GetReferencingComponents.
#include "api/export_frame.h"
#include "maintenance/deletion.h"
#include "platform/file_operation.h"
#include "platform/strings.h"
#include "relations/relation_queries.h"
#include "zarn/catalog_manager.h"

using namespace zarn;

namespace {

std::string Utf8(const char16_t* s) { return s != nullptr ? ToUtf8(s) : std::string(); }

bool IsReadableFile(const std::string& path) {
  CFileOperation files;
  if (path.empty() || files.GetPathType(path) != kPathFile) return false;
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return false;
  std::fclose(f);
  return true;
}

}  // namespace

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetCatalogRelationInfo(const char16_t* relation_id, const char16_t* component_path,
                                                           const char16_t* referenced_path, CatalogRelationInfo* info) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    std::string type;
    const uint32_t rc =
        FindCatalogRelationType(catalog, Utf8(relation_id), Utf8(component_path), Utf8(referenced_path), &type);
    if (info == nullptr) return rc;
    if (type.empty()) {
      info->relationId = nullptr;
      return rc;
    }
    info->relationId = relation_id;
    info->relationKind = EqualsNoCase(type, "CHILD_COMPONENT") ? 2 : 1;
    info->reserved = 0;
    return rc;
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_IsComponentExistent(const char16_t* source_path, VARIANT* catalog_dd_revision,
                                                        VARIANT* file_dd_revision, VARIANT* catalog_device_revision,
                                                        VARIANT* file_device_revision) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    const std::string path = Utf8(source_path);
    if (!IsReadableFile(path)) return ZARN_E_NO_VERSION;
    const ComponentsOfFile found = FindComponentsOfFile(catalog, path);
    if (!found.found) return ZARN_E_NOT_IN_CATALOG;
    if (catalog_dd_revision != nullptr) SetVariantString(catalog_dd_revision, found.catalogDdRevision);
    if (catalog_device_revision != nullptr) SetVariantString(catalog_device_revision, found.catalogDeviceRevision);
    if (found.fileRevisionsKnown) {
      if (file_dd_revision != nullptr) SetVariantString(file_dd_revision, FormatRevision(found.fileDdRevision));
      if (file_device_revision != nullptr) {
        SetVariantString(file_device_revision, FormatRevision(found.fileDeviceRevision));
      }
    }
    return 0;
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetReferencingComponents(const char16_t* component_path, VARIANT* paths) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    std::string text;
    const uint32_t rc = ReferencingComponents(catalog, Utf8(component_path), &text);
    if (rc == 0 && paths != nullptr) SetVariantString(paths, text);
    return rc;
  });
}
