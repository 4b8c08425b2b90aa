// The attribute queries over the catalog and over component XML files.
#include "query/component_attributes.h"

#include "conversion/component_xml_reader.h"
#include "platform/file_operation.h"
#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {
namespace {

constexpr std::string_view kIdentPrefix = "/ident:";

bool IsComponentXmlPath(const std::string& path) {
  return path.size() >= 4 && path.compare(path.size() - 4, 4, ".xml") == 0;
}

// Every component and folder of a component XML file. Returns the reading result
// of the file unless describing an object fails.
uint32_t DescribeFile(CCatalog_Contents& catalog, const std::string& path, CompAttrListBuilder* builder) {
  if (CFileOperation().GetPathType(path) != kPathFile) return ZARN_E_NO_VERSION;
  ComponentXmlReader reader(&catalog.manufacturerNamesById(), false, catalog.manufacturerLevels());
  uint32_t code = reader.Load(path);
  if (code == 0) code = reader.Read("");
  builder->setBaseDirectory(CFileOperation::DirectoryOfFile(path));
  for (const auto& object : reader.Components()) {
    if (!object->isComponent && !object->isFolder) continue;
    if (!object->element) return ZARN_E_OBJECT_WITHOUT_ELEMENT;
    const uint32_t added = builder->AddElement(object->element);
    if (added != 0) return added;
  }
  return code;
}

// The element a component path addresses; it must have element children.
uint32_t DescribeCatalogElement(CCatalog_Contents& catalog, const std::string& path, CompAttrListBuilder* builder) {
  NodeList children;
  catalog.getSubElementsByXPath(CCatalog_Contents::ComponentPathToXPath(path, "/"), &children);
  if (children.empty() || !children.front().Parent()) return ZARN_E_NOT_FOUND;
  const Node element = children.front().Parent();
  std::string fs_path;
  CDOMHelper::FindFileSystemPath(element, &fs_path);
  builder->setBaseDirectory(catalog.catalogDirectory() + DocumentPathToNative(fs_path));
  return builder->AddElement(element);
}

// SYSTEM, NET and NODE name their sections; every other first segment is DEVICE.
std::string SectionOf(const std::string& path) {
  for (const std::string& token : Split(path, "/")) {
    if (token.empty()) continue;
    return token == "SYSTEM" || token == "NET" || token == "NODE" ? token : "DEVICE";
  }
  return "DEVICE";
}

// A child element named `name` of the addressed element (whose children are
// `children`) read by `mode`; `root` is the catalog directory.
uint32_t ReadByMode(CCatalog_Contents& catalog, const NodeList& children, const std::string& name, int32_t mode,
                    std::string* text) {
  const std::string language = catalog.getLanguage();
  const std::string& root = catalog.catalogDirectory();
  if (mode == 0 || mode == 1) {
    catalog.dom().ReadInheritedValue(children, name, mode == 1, language, root, text);
    return 0;
  }
  if (mode != 2) return 0;
  const Node child = CDOMHelper::FindChildElement(children, name);
  if (!child) return ZARN_E_ATTRIBUTE;
  std::string fs_path;
  CDOMHelper::FindFileSystemPath(child, &fs_path);
  return catalog.dom().ReadElementValue(language, root + DocumentPathToNative(fs_path), child, text);
}

}  // namespace

uint32_t GetComponentAttributes(CCatalog_Contents& catalog, const std::string& path, CompAttrInfo** list) {
  CompAttrListBuilder builder(catalog.getLanguage());
  const uint32_t code = IsComponentXmlPath(path) ? DescribeFile(catalog, path, &builder)
                                                 : DescribeCatalogElement(catalog, path, &builder);
  if (code == 0) *list = builder.Release();
  return code;
}

AttributeAnswer GetComponentAttribute(CCatalog_Contents& catalog, const std::string& path, const std::string& name,
                                      int32_t mode) {
  AttributeAnswer answer;
  const std::string given = Trim(path);
  std::string component_path = given;
  if (given.rfind(kIdentPrefix, 0) == 0 && !catalog.IndexLookup(given.substr(kIdentPrefix.size()), &component_path)) {
    answer.code = ZARN_E_ATTRIBUTE;
    return answer;
  }
  const std::string xpath = CCatalog_Contents::ComponentPathToXPath(component_path, "/");
  NodeList children;
  catalog.getSubElementsByXPath(xpath, &children);
  if (children.empty()) {
    answer.code = ZARN_E_NOT_FOUND;
    return answer;
  }
  uint32_t code = 0;
  if (EqualsNoCase(name, "SECTION")) {
    answer.text = SectionOf(given);
  } else if (EqualsNoCase(name, "CLASSIFICATION")) {
    CDOMHelper::ReadClassificationName(catalog.getSubElementByXPath(xpath), &answer.text);
  } else if (EqualsNoCase(name, "PROTOCOL")) {
    CDOMHelper::ReadProtocolName(catalog.getSubElementByXPath(xpath), &answer.text);
  } else if (EqualsNoCase(name, "MANUFACTURER")) {
    CDOMHelper::ReadManufacturerName(catalog.getSubElementByXPath(xpath), &answer.text);
  } else {
    code = ReadByMode(catalog, children, name, mode, &answer.text);
  }
  answer.text = TrimChars(answer.text, ";");
  answer.answered = true;
  answer.code = answer.text.empty() ? ZARN_E_ATTRIBUTE : code;
  return answer;
}

}  // namespace zarn
