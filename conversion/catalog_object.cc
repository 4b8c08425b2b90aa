#include "conversion/catalog_object.h"

#include "platform/strings.h"

namespace zarn {

CCatalog_Object::CCatalog_Object(Kind kind) {
  switch (kind) {
    case Kind::kFolder:
      isFolder = true;
      break;
    case Kind::kComponent:
      isComponent = true;
      break;
    case Kind::kComponentReference:
      isFolder = true;
      isComponentReference = true;
      break;
    case Kind::kRelation:
      isFolder = true;
      isRelation = true;
      break;
    case Kind::kCatalogFolder:
      isCatalogFolder = true;
      break;
    case Kind::kCatalogReference:
      isCatalogReference = true;
      break;
  }
}

bool CCatalog_Object::IsNamedBy(const std::string& reference) const {
  return !reference.empty() && EqualsNoCase(id, reference);
}

}  // namespace zarn
