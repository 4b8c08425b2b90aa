#include "relations/relation_reader.h"

#include "platform/strings.h"
#include "relations/relation_records.h"
#include "relations/relation_values.h"

namespace zarn {
namespace {

constexpr std::string_view kRelationTypeNames[] = {
    "CHILD_COMPONENT", "PARENT_COMPONENT",           "SIBLING_COMPONENT",           "PREV_COMPONENT",
    "NEXT_COMPONENT",  "SUCCESSOR_CHANGE_COMPONENT", "PREDECESSOR_CHANGE_COMPONENT"};

// The text of the first child element `name` of `parent` ("" without one).
std::string ChildText(Node parent, std::string_view name) {
  const Node child = parent.FirstChildElement(name);
  return child ? child.Text() : std::string();
}

// Relation-level values, read before the record is made.
struct RelationHead {
  std::string id;
  std::string addressing;
  uint8_t conditioned = 0;
  uint8_t inverse = 0;
  uint8_t minimum_conditioned = 0;
  uint8_t maximum_conditioned = 0;
  int32_t minimum = -1;
  int32_t maximum = -1;
};

uint32_t ReadHead(const CDOMHelper& selector, Node relation, RelationHead* head) {
  CDOMHelper::ReadAttribute(relation, "id", &head->id);
  const Node conditioned = relation.FirstChildElement("isConditioned");
  if (conditioned && !conditioned.FirstChild()) return ZARN_E_DOCUMENT;
  head->conditioned = IsTrueText(conditioned) ? 1 : 0;
  uint32_t code = ReadBound(relation, "MAXIMUM_NUMBER", &head->maximum_conditioned, &head->maximum);
  if (code == 0) code = ReadBound(relation, "MINIMUM_NUMBER", &head->minimum_conditioned, &head->minimum);
  if (code != 0) return code;
  head->inverse = relation.FirstChildElement("isInverse") ? 1 : 0;
  if (!relation.FirstChildElement("ADDRESSING")) return 0;
  NodeList refs;
  selector.getElementsByXPath(relation, "ADDRESSING//@ref", &refs);
  std::vector<std::string> texts;
  for (const Node& ref : refs) texts.push_back(ref.Text());
  head->addressing = Join(texts, ";");
  return 0;
}

}  // namespace

std::string_view RelationTypeName(int32_t type) {
  return type >= 0 && type < 7 ? kRelationTypeNames[type] : std::string_view();
}

// An unknown type gives the XPath "RELATION_TYPE/", which fails (and is traced)
// for every relation: nothing matches.
RelationReader::RelationReader(const CCatalog_Contents& catalog, int32_t type)
    : catalog_(catalog), type_name_(RelationTypeName(type)), type_xpath_("RELATION_TYPE/" + type_name_) {}

RelationReader::~RelationReader() { FreeRelations(head_); }

RelationInfo* RelationReader::Release() {
  RelationInfo* head = head_;
  head_ = nullptr;
  return head;
}

void RelationReader::ReadRelationsOf(Node element) {
  xml::ForEachChildNamed(element, "COMPONENT_RELATIONS", [this](Node relations) {
    xml::ForEachChildNamed(relations, "COMPONENT_RELATION", [this](Node relation) { ReadRelation(relation); });
  });
}

bool RelationReader::HasRequestedType(Node relation) const {
  if (type_name_.empty()) return static_cast<bool>(selector_.getElementByXPath(relation, type_xpath_));
  bool found = false;
  xml::ForEachChildNamed(relation, "RELATION_TYPE",
                         [&](Node type) { xml::ForEachChildNamed(type, type_name_, [&](Node) { found = true; }); });
  return found;
}

uint32_t RelationReader::ReadRelation(Node relation) {
  if (!HasRequestedType(relation)) return 0;
  RelationHead head;
  const uint32_t code = ReadHead(selector_, relation, &head);
  if (code != 0) return code;
  RelationInfo* info = NewRelationInfo();
  if (info == nullptr) return ZARN_E_ALLOCATION;
  info->next = head_;
  head_ = info;
  info->id = NewHostString(head.id);
  info->addressing = NewHostString(head.addressing);
  if (info->id == nullptr || info->addressing == nullptr) return ZARN_E_ALLOCATION;
  info->isInverse = head.inverse;
  info->isConditioned = head.conditioned;
  info->minimumConditioned = head.minimum_conditioned;
  info->maximumConditioned = head.maximum_conditioned;
  info->minimumNumber = head.minimum;
  info->maximumNumber = head.maximum;
  uint32_t failure = 0;
  xml::ForEachChildNamed(relation, "COMPONENTS", [&](Node components) {
    xml::ForEachChildNamed(components, "component", [&](Node component) {
      if (failure == 0) failure = ReadComponent(info, component);
    });
  });
  return failure;
}

// A reference to a COMPONENT gives one record; a reference to anything else (a
// folder) one record per COMPONENT below it.
uint32_t RelationReader::ReadComponent(RelationInfo* info, Node component) {
  if (IsTrueText(component.FirstChildElement("isConditioned"))) info->componentConditioned = 1;
  const Node target = catalog_.FindByComponentPath(Trim(ChildText(component, "component_ref")));
  if (!target) return 0;
  const std::string component_id = ChildText(target, "componentID");
  if (target.Name() == "COMPONENT") {
    return AddRelationComponent(info, component, component_id, catalog_.ComponentPathOf(target), nullptr);
  }
  const std::string folder_path = catalog_.ComponentPathOf(target);
  uint32_t code = 0;
  xml::ForEachElementNamed(target, "COMPONENT", [&](Node each) {
    if (code == 0)
      code = AddRelationComponent(info, component, component_id, catalog_.ComponentPathOf(each), &folder_path);
  });
  return code;
}

uint32_t RelationReader::AddRelationComponent(RelationInfo* info, Node component, const std::string& component_id,
                                              const std::string& path, const std::string* folder_path) {
  RelationComponent* record = NewRelationComponent();
  if (record == nullptr) return ZARN_E_ALLOCATION;
  record->next = info->components;
  info->components = record;
  record->componentId = NewHostString(component_id);
  record->componentPath = NewHostString(path);
  if (folder_path != nullptr) record->folderPath = NewHostString(*folder_path);
  const Node original = component.FirstChildElement("component_ref_org");
  if (original) record->componentRefOrg = NewHostString(original.Text());
  if (record->componentId == nullptr || record->componentPath == nullptr ||
      (folder_path != nullptr && record->folderPath == nullptr) || (original && record->componentRefOrg == nullptr)) {
    return ZARN_E_ALLOCATION;
  }
  uint32_t code = ReadBound(component, "AUTO_CREATE", &record->autoCreateConditioned, &record->autoCreate);
  if (code == 0) {
    code = ReadBound(component, "AUTO_CREATE_NODELETE", &record->autoCreateNoDeleteConditioned,
                     &record->autoCreateNoDelete);
  }
  if (code == 0) code = ReadBound(component, "MINIMUM_NUMBER", &record->minimumConditioned, &record->minimumNumber);
  if (code == 0) code = ReadBound(component, "MAXIMUM_NUMBER", &record->maximumConditioned, &record->maximumNumber);
  if (code != 0) return code;
  xml::ForEachChildNamed(component, "REQUIRED_RANGES", [&](Node ranges) {
    xml::ForEachChildNamed(ranges, "required_range", [&](Node range) {
      if (code == 0) code = ReadRange(record, range);
    });
  });
  return code;
}

uint32_t RelationReader::ReadRange(RelationComponent* owner, Node range_element) {
  RequiredRange* range = NewRequiredRange();
  if (range == nullptr) return ZARN_E_ALLOCATION;
  range->next = owner->ranges;
  owner->ranges = range;
  std::optional<std::string> variable = range_element.FirstChildElement("variable_ref").Attribute("ref");
  if (!variable) variable = range_element.FirstChildElement("unknown_ref").Attribute("ref");
  if (variable) {
    range->variable = NewHostString(*variable);
    if (range->variable == nullptr) return ZARN_E_ALLOCATION;
  }
  return ReadRangeBounds(range_element, range);
}

uint32_t GetRelations(const CCatalog_Contents& catalog, int32_t type, const std::string& path,
                      RelationInfo** relations) {
  const std::string xpath = TrimRightChars(CCatalog_Contents::ComponentPathToXPath(path, "/"), "/*");
  RelationReader reader(catalog, type);
  for (Node element = catalog.getSubElementByXPath(xpath); element; element = element.Parent()) {
    reader.ReadRelationsOf(element);
  }
  *relations = reader.Release();
  return *relations != nullptr ? 0 : ZARN_E_NO_RELATION;
}

}  // namespace zarn
