// A fixture that compiles a source text and reads the device XML with XPath.
#ifndef ZARN_TESTS_COMPILER_COMPILER_FIXTURE_H_
#define ZARN_TESTS_COMPILER_COMPILER_FIXTURE_H_

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "libs/compiler/compiler.h"
#include "tests/support/test_support.h"
#include "xml/document.h"
#include "xml/xpath.h"

namespace zarnl {

class CompilerFixture : public ::testing::Test {
 protected:
  static constexpr const char* kHeader = "MANUFACTURER 0x2A, DEVICE_TYPE 0x1234, DEVICE_REVISION 2, DD_REVISION 1\n";

  void File(const std::string& rel, const std::string& text) { zarn::testing::WriteFile(dir_.Join(rel), text); }
  // Compiles `text` as dev.ddl; the device XML is then read by X and Count.
  bool Compile(const std::string& text, const DeviceConfiguration* configuration = nullptr) {
    File("dev.ddl", text);
    result_ = zarnl::Compile(dir_.Join("dev.ddl"), {}, configuration);
    std::string error;
    document_ = zarn::xml::Document::LoadText(result_.device_xml, &error);
    EXPECT_TRUE(document_ != nullptr) << error;
    return result_.ok;
  }
  // Text of the first node `xpath` selects below the root, "<none>" when none.
  std::string X(const std::string& xpath) const {
    std::string error;
    if (!document_) return "<no document>";
    zarn::xml::Node n = zarn::xml::SelectFirst(document_->Root(), xpath, &error);
    return n ? n.Text() : "<none>";
  }
  size_t Count(const std::string& xpath) const {
    std::vector<zarn::xml::Node> nodes;
    std::string error;
    if (document_) zarn::xml::SelectNodes(document_->Root(), xpath, &nodes, &error);
    return nodes.size();
  }
  // The errors as "dev.ddl:line: message" (directory removed).
  std::vector<std::string> Errors() const { return DiagnosticTexts(false); }
  // The warnings as "dev.ddl:line: warning: message".
  std::vector<std::string> Warnings() const { return DiagnosticTexts(true); }
  std::vector<std::string> DiagnosticTexts(bool warnings) const {
    std::vector<std::string> out;
    for (const Diagnostic& d : result_.diagnostics.Entries()) {
      if (d.warning != warnings) continue;
      std::string text = d.Text();
      out.push_back(text.rfind(dir_.path(), 0) == 0 ? text.substr(dir_.path().size() + 1) : text);
    }
    return out;
  }
  std::string FirstError() const {
    const auto errors = Errors();
    return errors.empty() ? "<none>" : errors.front();
  }

  zarn::testing::ScratchDir dir_;
  CompileResult result_;
  std::unique_ptr<zarn::xml::Document> document_;
};

}  // namespace zarnl

#endif  // ZARN_TESTS_COMPILER_COMPILER_FIXTURE_H_
