// A source that describes a newer revision of a component the catalog holds replaces it.
#ifndef ZARN_CLI_NEWER_REVISION_H_
#define ZARN_CLI_NEWER_REVISION_H_

#include <cstdint>
#include <string>

#include "zarn/catalog_manager.h"

namespace zarn::cli {

// True for the import results after which the file may be the newer one: the
// component is there in another device or DD revision, or in the same device
// revision (whose DD revision may be older).
bool MayBeNewerRevision(uint32_t import_result);

// True when the catalog holds the component of `component_xml` in an older revision
// than the file's: the device revisions decide when both are known, else the DD
// revisions (ZARN_IsComponentExistent).
bool IsNewerRevision(const std::u16string& component_xml);

// Replaces the component with the file's (ZARN_ReplaceComponent); *paths receives the
// imported entries. Returns the replacement's result (ZARN_S_REPLACED when done).
uint32_t ReplaceWithNewer(const std::u16string& component_xml, LogPathEntry** paths);

}  // namespace zarn::cli

#endif  // ZARN_CLI_NEWER_REVISION_H_
