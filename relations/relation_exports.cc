// Relation exports: thin shims over the relation reader.
#include "api/export_frame.h"
#include "platform/strings.h"
#include "relations/relation_reader.h"
#include "relations/relation_records.h"

using zarn::CatalogCall;
using zarn::CCatalog_Contents;

extern "C" {

ZARN_EXPORT uint32_t ZARN_CALL ZARN_GetRelations(int32_t type, const char16_t* path, RelationInfo** relations) {
  return CatalogCall([&](CCatalog_Contents& catalog) -> uint32_t {
    if (relations == nullptr) return ZARN_E_NO_RELATION;
    return zarn::GetRelations(catalog, type, zarn::ToUtf8(path), relations);
  });
}

ZARN_EXPORT uint32_t ZARN_CALL ZARN_FreeRelations(RelationInfo* relations) {
  return zarn::GuardedCall(0, [&]() -> uint32_t {
    zarn::FreeRelations(relations);
    return 0;
  });
}

}  // extern "C"
