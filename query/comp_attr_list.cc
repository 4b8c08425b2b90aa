// The CompAttrInfo chain that ZARN_GetComponentAttributes hands to a host.
#include <cstdlib>

#include "query/component_attributes.h"
#include "platform/strings.h"

namespace zarn {
namespace {

constexpr std::string_view kUnreportedElements[] = {"INITIAL_VALUES",   "COMPONENT_RELATIONS", "PROTOCOL",
                                                    "CLASSIFICATION",   "MANUFACTURER",        "COMPONENT",
                                                    "COMPONENT_FOLDER", "CATALOG_FOLDER"};

void FreeEntries(CompAttrEntry* entry) {
  while (entry != nullptr) {
    CompAttrEntry* next = entry->next;
    std::free(entry->name);
    std::free(entry->value);
    std::free(entry);
    entry = next;
  }
}

}  // namespace

bool IsReportedAttribute(std::string_view element_name) {
  for (std::string_view name : kUnreportedElements) {
    if (EqualsNoCase(name, element_name)) return false;
  }
  return true;
}

void CompAttrListBuilder::FreeCompAttrInfoList(CompAttrInfo* list) {
  while (list != nullptr) {
    CompAttrInfo* next = list->next;
    FreeEntries(list->attributes);
    std::free(list->name);
    std::free(list);
    list = next;
  }
}

CompAttrInfo* CompAttrListBuilder::Release() {
  CompAttrInfo* head = head_;
  head_ = nullptr;
  return head;
}

uint32_t CompAttrListBuilder::AddElement(Node element) {
  if (!element) return ZARN_E_NO_COMPONENT;
  std::string id;
  CDOMHelper::ReadAttribute(element, "id", &id);
  char16_t* name = NewHostString(id);
  auto* info = static_cast<CompAttrInfo*>(std::malloc(sizeof(CompAttrInfo)));
  if (name == nullptr || info == nullptr) {
    std::free(name);
    std::free(info);
    return ZARN_E_ALLOCATION;
  }
  *info = CompAttrInfo{name, nullptr, head_};
  head_ = info;
  for (Node child = element.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsElement() || !IsReportedAttribute(child.Name())) continue;
    std::string value;
    selector_.ReadElementValue(language_, base_directory_, child, &value);
    const uint32_t code = AddEntry(info, child.Name(), value);
    if (code != 0) return code;
  }
  return 0;
}

// The value's buffer has room for the base directory as well.
uint32_t CompAttrListBuilder::AddEntry(CompAttrInfo* info, const std::string& name, const std::string& value) const {
  char16_t* name_copy = NewHostString(name);
  char16_t* value_copy = NewHostString(value, base_directory_.size() + 1);
  auto* entry = static_cast<CompAttrEntry*>(std::malloc(sizeof(CompAttrEntry)));
  if (name_copy == nullptr || value_copy == nullptr || entry == nullptr) {
    std::free(name_copy);
    std::free(value_copy);
    std::free(entry);
    return ZARN_E_ALLOCATION;
  }
  *entry = CompAttrEntry{name_copy, value_copy, info->attributes};
  info->attributes = entry;
  return 0;
}

}  // namespace zarn
