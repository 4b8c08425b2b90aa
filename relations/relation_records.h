// The relation records handed to a host (RelationInfo, RelationComponent,
// RequiredRange): allocation with their empty values, and release.
#ifndef ZARN_RELATIONS_RELATION_RECORDS_H_
#define ZARN_RELATIONS_RELATION_RECORDS_H_

#include "zarn/catalog_manager.h"

namespace zarn {

// New records on the C heap: pointers null, flags 0, numbers -1, VARIANTs empty.
// Null when the allocation fails.
RelationInfo* NewRelationInfo();
RelationComponent* NewRelationComponent();
RequiredRange* NewRequiredRange();

// Frees a RelationInfo chain with all its components, ranges, strings and
// VARIANTs. Null is allowed.
void FreeRelations(RelationInfo* relations);

}  // namespace zarn

#endif  // ZARN_RELATIONS_RELATION_RECORDS_H_
