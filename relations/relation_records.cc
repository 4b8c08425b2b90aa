#include "relations/relation_records.h"

#include <cstdlib>

namespace zarn {
namespace {

template <typename Record>
Record* Allocate() {
  return static_cast<Record*>(std::calloc(1, sizeof(Record)));
}

void FreeRanges(RequiredRange* range) {
  while (range != nullptr) {
    RequiredRange* next = range->next;
    std::free(range->variable);
    VariantClear(&range->minValue);
    VariantClear(&range->maxValue);
    for (int i = 0; i < 10; ++i) {
      VariantClear(&range->maxValues[i]);
      VariantClear(&range->minValues[i]);
    }
    std::free(range);
    range = next;
  }
}

void FreeComponents(RelationComponent* component) {
  while (component != nullptr) {
    RelationComponent* next = component->next;
    std::free(component->componentId);
    std::free(component->componentRefOrg);
    std::free(component->componentPath);
    std::free(component->folderPath);
    FreeRanges(component->ranges);
    std::free(component);
    component = next;
  }
}

}  // namespace

RelationInfo* NewRelationInfo() {
  auto* info = Allocate<RelationInfo>();
  if (info != nullptr) info->minimumNumber = info->maximumNumber = -1;
  return info;
}

RelationComponent* NewRelationComponent() {
  auto* component = Allocate<RelationComponent>();
  if (component != nullptr) {
    component->autoCreate = component->autoCreateNoDelete = -1;
    component->minimumNumber = component->maximumNumber = -1;
  }
  return component;
}

RequiredRange* NewRequiredRange() {
  auto* range = Allocate<RequiredRange>();
  if (range == nullptr) return nullptr;
  VariantInit(&range->minValue);
  VariantInit(&range->maxValue);
  for (int i = 0; i < 10; ++i) {
    VariantInit(&range->maxValues[i]);
    VariantInit(&range->minValues[i]);
  }
  return range;
}

void FreeRelations(RelationInfo* relations) {
  while (relations != nullptr) {
    RelationInfo* next = relations->next;
    std::free(relations->id);
    std::free(relations->addressing);
    FreeComponents(relations->components);
    std::free(relations);
    relations = next;
  }
}

}  // namespace zarn
