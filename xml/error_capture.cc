#include "xml/error_capture.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <cstdio>

#include "xml/libxml_compat.h"

namespace zarn::xml {
namespace {

void StructuredHandler(void* context, XmlErrorArg error) {
  if (context == nullptr || error == nullptr) return;
  std::string message = error->message != nullptr ? error->message : "XML error";
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  if (error->line > 0) message = "line " + std::to_string(error->line) + ": " + message;
  static_cast<ErrorCapture*>(context)->Add(message);
}

void GenericHandler(void* context, const char* format, ...) {
  if (context == nullptr || format == nullptr) return;
  char buffer[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  std::string message = buffer;
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  if (!message.empty()) static_cast<ErrorCapture*>(context)->Add(message);
}

}  // namespace

void InitLibxml() {
  static const bool done = [] {
    xmlInitParser();
    return true;
  }();
  (void)done;
}

// The handlers are the calling thread's libxml2 and libxslt state, which belongs
// to the host: they are saved here and put back exactly as they were.
ErrorCapture::ErrorCapture() {
  InitLibxml();
  previous_structured_ = reinterpret_cast<void*>(xmlStructuredError);
  previous_structured_context_ = xmlStructuredErrorContext;
  previous_generic_ = reinterpret_cast<void*>(xmlGenericError);
  previous_generic_context_ = xmlGenericErrorContext;
  previous_xslt_generic_ = reinterpret_cast<void*>(xsltGenericError);
  previous_xslt_generic_context_ = xsltGenericErrorContext;
  xmlSetStructuredErrorFunc(this, StructuredHandler);
  xmlSetGenericErrorFunc(this, GenericHandler);
  xsltSetGenericErrorFunc(this, GenericHandler);
}

ErrorCapture::~ErrorCapture() {
  xmlSetStructuredErrorFunc(previous_structured_context_,
                            reinterpret_cast<xmlStructuredErrorFunc>(previous_structured_));
  xmlSetGenericErrorFunc(previous_generic_context_, reinterpret_cast<xmlGenericErrorFunc>(previous_generic_));
  xsltSetGenericErrorFunc(previous_xslt_generic_context_,
                          reinterpret_cast<xmlGenericErrorFunc>(previous_xslt_generic_));
}

void ErrorCapture::Add(const std::string& message) {
  if (!text_.empty()) text_ += '\n';
  text_ += message;
}

std::string ErrorCapture::Text(const std::string& fallback) const { return text_.empty() ? fallback : text_; }

}  // namespace zarn::xml
