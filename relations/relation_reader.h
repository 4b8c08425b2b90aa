// Reads the COMPONENT_RELATION elements of one relation type that apply to a
// catalog element into a RelationInfo chain.
//
// Grammar of a relation (names exact; flags are texts compared with "true"):
//   COMPONENT_RELATION id=..
//     RELATION_TYPE / one of CHILD_COMPONENT, PARENT_COMPONENT, SIBLING_COMPONENT,
//                     PREV_COMPONENT, NEXT_COMPONENT, SUCCESSOR_CHANGE_COMPONENT,
//                     PREDECESSOR_CHANGE_COMPONENT
//     isConditioned, isInverse (presence), ADDRESSING (any @ref below it)
//     MAXIMUM_NUMBER, MINIMUM_NUMBER: isConditioned, integer
//     COMPONENTS / component*:
//       isConditioned, component_ref (a component path), component_ref_org,
//       MAXIMUM_NUMBER, MINIMUM_NUMBER, AUTO_CREATE, AUTO_CREATE_NODELETE,
//       REQUIRED_RANGES / required_range*: variable_ref or unknown_ref (@ref),
//         MIN_VALUE, MAX_VALUE, MIN_VALUE1..10, MAX_VALUE1..10: a value element or
//         isConditioned
#ifndef ZARN_RELATIONS_RELATION_READER_H_
#define ZARN_RELATIONS_RELATION_READER_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "catalog/catalog_contents.h"
#include "zarn/catalog_manager.h"

namespace zarn {

// The element name of relation type `type` (0 to 6); "" for any other number.
std::string_view RelationTypeName(int32_t type);

class RelationReader {
 public:
  RelationReader(const CCatalog_Contents& catalog, int32_t type);
  // Frees whatever has not been released.
  ~RelationReader();
  RelationReader(const RelationReader&) = delete;
  RelationReader& operator=(const RelationReader&) = delete;

  // Reads COMPONENT_RELATIONS/COMPONENT_RELATION of `element` in document order,
  // each matching relation going to the head of the chain. A relation that fails
  // (an element without content, an allocation) stops there; what was linked
  // stays.
  void ReadRelationsOf(Node element);
  // Hands the chain to the caller.
  RelationInfo* Release();

 private:
  // True when `relation` has a RELATION_TYPE child holding the requested type.
  bool HasRequestedType(Node relation) const;
  // 0, ZARN_E_DOCUMENT or ZARN_E_ALLOCATION.
  uint32_t ReadRelation(Node relation);
  uint32_t ReadComponent(RelationInfo* info, Node component);
  uint32_t AddRelationComponent(RelationInfo* info, Node component, const std::string& component_id,
                                const std::string& path, const std::string* folder_path);
  uint32_t ReadRange(RelationComponent* owner, Node range);

  const CCatalog_Contents& catalog_;
  std::string type_name_;   // "" for an unknown type
  std::string type_xpath_;  // for an unknown type: fails and is traced
  CDOMHelper selector_;
  RelationInfo* head_ = nullptr;
};

// The relations of `type` of the element at `path` and of each of its ancestors.
// 0 with the chain in *relations; ZARN_E_NO_RELATION (and null) when none applies.
uint32_t GetRelations(const CCatalog_Contents& catalog, int32_t type, const std::string& path,
                      RelationInfo** relations);

}  // namespace zarn

#endif  // ZARN_RELATIONS_RELATION_READER_H_
