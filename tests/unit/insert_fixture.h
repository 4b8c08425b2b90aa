// Fixture for the placement, node and insertion tests: a catalog loaded from text,
// component XML read from text, XPath checks over the catalog document.
#ifndef ZARN_TESTS_UNIT_INSERT_FIXTURE_H_
#define ZARN_TESTS_UNIT_INSERT_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "catalog/catalog_contents.h"
#include "conversion/catalog_object.h"
#include "conversion/component_xml_reader.h"
#include "tests/support/test_support.h"
#include "xml/xpath.h"

namespace zarn {

class InsertFixture : public ::testing::Test {
 protected:
  // Loads the catalog document from `text` ("" for a catalog without file).
  void LoadCatalog(const std::string& text) {
    if (!text.empty()) {
      ASSERT_TRUE(testing::WriteFile(work_.Join("zarn_catalog/zarn_catalog_content.xml"), text));
    }
    catalog_ = std::make_unique<CCatalog_Contents>();
    ASSERT_EQ(catalog_->initialize(work_.path()), 0u);
  }
  CCatalog_Contents& C() { return *catalog_; }

  // Reads component XML text (no identification); the placement manufacturer is
  // taken from the MANUFACTURER child, as identification would.
  ComponentXmlReader& ReadComponents(const std::string& text, bool universal = false) {
    reader_ = std::make_unique<ComponentXmlReader>(nullptr, false);
    reader_->SetImportFlag(universal);
    EXPECT_EQ(reader_->LoadText(text), 0u);
    reader_->Read("");
    for (const auto& o : reader_->Components()) {
      if (o->manufacturer.empty()) o->manufacturer = o->manufacturerName;
    }
    return *reader_;
  }
  CCatalog_Object* Object(size_t i) { return reader_->Components().at(i).get(); }

  // Runs the insertion of `component_xml` into the catalog.
  uint32_t Insert(const std::string& component_xml, bool universal = false) {
    ReadComponents(component_xml, universal);
    return C().AddComponents(reader_.get(), &objects_, &inserted_);
  }

  // Number of nodes `xpath` selects in the catalog.
  size_t Count(const std::string& xpath) {
    NodeList nodes;
    std::string error;
    EXPECT_TRUE(xml::SelectNodes(C().document()->AsNode(), xpath, &nodes, &error)) << error;
    return nodes.size();
  }
  Node First(const std::string& xpath) { return C().getSubElementByXPath(xpath); }
  std::string Path(Node n) { return n ? C().ComponentPathOf(n) : "<null>"; }
  std::string Xml() { return C().root() ? C().root().OuterXml() : ""; }
  std::string Backslash(Node n) {
    std::string p;
    C().BuildBackslashPath(n, &p);
    return p;
  }
  // A catalog object made by hand.
  CCatalog_Object* Make(CCatalog_Object::Kind kind) {
    made_.push_back(std::make_unique<CCatalog_Object>(kind));
    return made_.back().get();
  }

  testing::ScratchDir work_;
  std::unique_ptr<CCatalog_Contents> catalog_;
  std::unique_ptr<ComponentXmlReader> reader_;
  CCatalog_Contents::ObjectArray objects_;
  NodeList inserted_;
  std::vector<std::unique_ptr<CCatalog_Object>> made_;
};

}  // namespace zarn

#endif  // ZARN_TESTS_UNIT_INSERT_FIXTURE_H_
