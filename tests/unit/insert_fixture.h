// Fixture for the placement, node and insertion tests: a catalog loaded from text,
// component XML read from text and inserted into it.
#ifndef ZARN_TESTS_UNIT_INSERT_FIXTURE_H_
#define ZARN_TESTS_UNIT_INSERT_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "catalog/catalog_contents.h"
#include "conversion/catalog_object.h"
#include "conversion/component_xml_reader.h"
#include "tests/support/catalog_fixture.h"

namespace zarn {

class InsertFixture : public CatalogTest {
 protected:
  CCatalog_Contents& C() { return Catalog(); }

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

  Node First(const std::string& xpath) { return C().getSubElementByXPath(xpath); }
  std::string Path(Node n) { return n ? C().ComponentPathOf(n) : "<null>"; }
  std::string Xml() { return CatalogXml(); }
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

  std::unique_ptr<ComponentXmlReader> reader_;
  CCatalog_Contents::ObjectArray objects_;
  NodeList inserted_;
  std::vector<std::unique_ptr<CCatalog_Object>> made_;
};

}  // namespace zarn

#endif  // ZARN_TESTS_UNIT_INSERT_FIXTURE_H_
