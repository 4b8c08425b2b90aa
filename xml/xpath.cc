#include "xml/xpath.h"

#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <memory>

#include "xml/error_capture.h"
#include "xml/libxml_compat.h"

namespace zarn::xml {
namespace {

struct ContextDeleter {
  void operator()(xmlXPathContextPtr p) const { xmlXPathFreeContext(p); }
};
struct ObjectDeleter {
  void operator()(xmlXPathObjectPtr p) const { xmlXPathFreeObject(p); }
};

xmlDocPtr DocumentOf(Node context) {
  auto* n = static_cast<xmlNodePtr>(context.raw());
  if (n->type == XML_DOCUMENT_NODE || n->type == XML_HTML_DOCUMENT_NODE) return reinterpret_cast<xmlDocPtr>(n);
  return n->doc;
}

void StructuredToCapture(void* context, XmlErrorArg error) {
  if (context == nullptr || error == nullptr || error->message == nullptr) return;
  std::string message = error->message;
  while (!message.empty() && message.back() == '\n') message.pop_back();
  static_cast<ErrorCapture*>(context)->Add(message);
}

// Evaluates `xpath`; returns null and sets *error on failure.
std::unique_ptr<xmlXPathObject, ObjectDeleter> Evaluate(Node context, std::string_view xpath, std::string* error) {
  ErrorCapture capture;
  std::unique_ptr<xmlXPathContext, ContextDeleter> ctx(xmlXPathNewContext(DocumentOf(context)));
  if (!ctx) {
    if (error != nullptr) *error = "cannot create an XPath context";
    return nullptr;
  }
  ctx->node = static_cast<xmlNodePtr>(context.raw());
  ctx->error = StructuredToCapture;
  ctx->userData = &capture;
  const std::string expr(xpath);
  std::unique_ptr<xmlXPathObject, ObjectDeleter> result(
      xmlXPathEvalExpression(reinterpret_cast<const xmlChar*>(expr.c_str()), ctx.get()));
  if (!result && error != nullptr) *error = capture.Text("invalid XPath expression: " + expr);
  return result;
}

}  // namespace

bool SelectNodes(Node context, std::string_view xpath, std::vector<Node>* out, std::string* error) {
  out->clear();
  if (!context) {
    if (error != nullptr) *error = "no context node";
    return false;
  }
  auto result = Evaluate(context, xpath, error);
  if (!result) return false;
  if (result->type != XPATH_NODESET || result->nodesetval == nullptr) return true;
  xmlNodeSetPtr set = result->nodesetval;
  out->reserve(static_cast<size_t>(set->nodeNr));
  for (int i = 0; i < set->nodeNr; ++i) {
    xmlNodePtr n = set->nodeTab[i];
    if (n != nullptr && n->type != XML_NAMESPACE_DECL) out->emplace_back(n);
  }
  return true;
}

Node SelectFirst(Node context, std::string_view xpath, std::string* error) {
  std::vector<Node> nodes;
  if (!SelectNodes(context, xpath, &nodes, error) || nodes.empty()) return Node();
  return nodes.front();
}

}  // namespace zarn::xml
