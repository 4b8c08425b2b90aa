// Loading and the order of reading; the object elements, identification and the
// links between objects are read in the files beside this one.
#include "conversion/component_xml_reader.h"

#include "platform/paths.h"
#include "platform/strings.h"

namespace zarn {

ComponentXmlReader::ComponentXmlReader(const ManufacturerTable* manufacturer_table, bool identify,
                                       const ManufacturerLevels* levels)
    : manufacturer_table_(manufacturer_table), levels_(levels), identify_(identify) {
  components_.reserve(10);
  component_references_.reserve(10);
  relations_.reserve(10);
  catalog_folders_.reserve(10);
  catalog_references_.reserve(10);
}

// The objects point into the document: drop them first.
ComponentXmlReader::~ComponentXmlReader() {
  components_.clear();
  component_references_.clear();
  relations_.clear();
  catalog_folders_.clear();
  catalog_references_.clear();
  document_.reset();
}

uint32_t ComponentXmlReader::Load(const std::string& path) {
  std::string error;
  document_ = xml::Document::LoadFile(path, &error);
  return document_ ? 0 : ZARN_E_XML_LOAD;
}

uint32_t ComponentXmlReader::LoadText(const std::string& text) {
  std::string error;
  document_ = xml::Document::LoadText(text, &error);
  return document_ ? 0 : ZARN_E_XML_LOAD;
}

NodeList ComponentXmlReader::SelectAll(const char* name) const {
  NodeList nodes;
  if (document_) selector_.getElementsByXPath(document_->AsNode(), std::string("//") + name, &nodes);
  return nodes;
}

uint32_t ComponentXmlReader::Read(const std::string& component_xml_path) {
  if (!document_) return ZARN_E_XML_LOAD;
  if (SelectAll("version").empty()) return ZARN_E_NO_VERSION;
  const NodeList headers = SelectAll("COMP_COMPONENTXML");
  if (!headers.empty()) CDOMHelper::ReadAttribute(headers.front(), "inPath", &in_path_);
  DeriveSourceName(component_xml_path);

  using Kind = CCatalog_Object::Kind;
  uint32_t status = ReadObjects("COMPONENT_FOLDER", Kind::kFolder, &components_, 0);
  status = ReadObjects("COMPONENT", Kind::kComponent, &components_, status);
  if (identify_) Identify(&status);
  status = ReadObjects("COMPONENT_REFERENCE", Kind::kComponentReference, &component_references_, status);
  status = ReadObjects("CATALOG_FOLDER", Kind::kCatalogFolder, &catalog_folders_, status);
  status = ReadObjects("CATALOG_REFERENCE", Kind::kCatalogReference, &catalog_references_, status);
  ReadRelations();
  ResolveReferences(component_references_, components_);
  ResolveReferences(catalog_references_, catalog_folders_);
  const bool folder_chains_end = ComputeDepth(catalog_folders_);
  const bool component_chains_end = ComputeDepth(components_);
  return folder_chains_end && component_chains_end ? status : kParentChainLoop;
}

// x.ddl_comp.xml names the source x.ddl (likewise .mdd); other names name none.
void ComponentXmlReader::DeriveSourceName(const std::string& component_xml_path) {
  if (component_xml_path.empty()) return;
  const PathParts parts = SplitPath(component_xml_path);
  source_dir_ = parts.drive + parts.directory;
  source_name_ = parts.name;
  const std::string lower = ToLower(source_name_);
  size_t p = lower.find(".ddl");
  if (p == std::string::npos) p = lower.find(".mdd");
  source_name_ = p == std::string::npos ? std::string() : source_name_.substr(0, p + 4);
}

uint32_t ComponentXmlReader::ReadObjects(const char* name, CCatalog_Object::Kind kind, ObjectList* list,
                                         uint32_t status) {
  using Kind = CCatalog_Object::Kind;
  for (Node element : SelectAll(name)) {
    auto object = std::make_unique<CCatalog_Object>(kind);
    if (kind == Kind::kComponent && !source_name_.empty()) {
      element.AppendElement("componentZARN", source_name_);
      object->sourceFileName = source_name_;
    }
    object->element = element;
    if (kind == Kind::kFolder) object->isCatalogLevel = element.Attribute("catalogLevel") == "true";
    status = ReadObjectElement(object.get(), element);
    if (object->isCatalogLevel) RelabelLevel(*object);
    if (kind == Kind::kFolder || kind == Kind::kComponent || kind == Kind::kComponentReference) {
      DeriveSection(object.get());
    }
    list->push_back(std::move(object));
  }
  return status;
}

void ComponentXmlReader::ReadListDocument() {
  if (!document_) return;
  const Node header = selector_.getElementByXPath(document_->AsNode(), "COMP_COMPONENTXML");
  if (header) CDOMHelper::ReadAttribute(header, "inPath", &in_path_);
  for (const Node& entry : SelectAll("COMPONENT_XML")) {
    std::string path;
    if (CDOMHelper::ReadAttribute(entry, "tmpPath", &path)) temp_paths_.push_back(std::move(path));
  }
}

}  // namespace zarn
