#include "xml/xslt.h"

#include <libxml/tree.h>
#include <libxslt/transform.h>
#include <libxslt/xsltInternals.h>
#include <libxslt/xsltutils.h>

#include "xml/error_capture.h"

namespace zarn::xml {
namespace {

xsltStylesheetPtr S(void* raw) { return static_cast<xsltStylesheetPtr>(raw); }

}  // namespace

Stylesheet::~Stylesheet() {
  if (raw_ != nullptr) xsltFreeStylesheet(S(raw_));
}

std::unique_ptr<Stylesheet> Stylesheet::LoadFile(const std::string& path, std::string* error) {
  std::unique_ptr<Document> doc = Document::LoadFile(path, error);
  if (!doc) return nullptr;
  ErrorCapture capture;
  // The compiled stylesheet takes the document over, also when compiling fails.
  auto* raw_doc = static_cast<xmlDocPtr>(doc->raw());
  xsltStylesheetPtr sheet = xsltParseStylesheetDoc(raw_doc);
  if (sheet == nullptr) {
    if (error != nullptr) *error = capture.Text("not a valid stylesheet: " + path);
    return nullptr;  // `doc` still frees the document: libxslt did not keep it
  }
  doc->ReleaseRaw();  // the stylesheet owns the document now
  return std::unique_ptr<Stylesheet>(new Stylesheet(sheet));
}

bool Stylesheet::Transform(const Document& source, std::string* output, std::string* error) const {
  ErrorCapture capture;
  xsltTransformContextPtr ctx = xsltNewTransformContext(S(raw_), static_cast<xmlDocPtr>(source.raw()));
  if (ctx == nullptr) {
    if (error != nullptr) *error = "cannot create a transformation context";
    return false;
  }
  xmlDocPtr result =
      xsltApplyStylesheetUser(S(raw_), static_cast<xmlDocPtr>(source.raw()), nullptr, nullptr, nullptr, ctx);
  const bool failed = result == nullptr || ctx->state == XSLT_STATE_ERROR || ctx->state == XSLT_STATE_STOPPED;
  xsltFreeTransformContext(ctx);
  std::unique_ptr<Document> owned = Document::Adopt(result);
  if (failed) {
    if (error != nullptr) *error = capture.Text("the transformation failed");
    return false;
  }
  xmlChar* text = nullptr;
  int size = 0;
  if (xsltSaveResultToString(&text, &size, result, S(raw_)) != 0) {
    if (error != nullptr) *error = "cannot serialise the transformation result";
    return false;
  }
  output->assign(text != nullptr ? reinterpret_cast<const char*>(text) : "", static_cast<size_t>(size));
  xmlFree(text);
  return true;
}

}  // namespace zarn::xml
