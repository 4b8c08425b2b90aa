#include "xml/error_capture.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>
#include <libxslt/xsltutils.h>

#include <cstdarg>
#include <cstdio>

namespace zarn::xml {
namespace {

void StructuredHandler(void* context, xmlErrorPtr error) {
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

void SilentGeneric(void*, const char*, ...) {}

}  // namespace

void SilenceLibxml() {
  static const bool done = [] {
    xmlInitParser();
    xmlSetGenericErrorFunc(nullptr, SilentGeneric);
    xsltSetGenericErrorFunc(nullptr, SilentGeneric);
    return true;
  }();
  (void)done;
}

ErrorCapture::ErrorCapture() {
  SilenceLibxml();
  previous_structured_ = reinterpret_cast<void*>(xmlStructuredError);
  previous_structured_context_ = xmlStructuredErrorContext;
  previous_generic_ = reinterpret_cast<void*>(xmlGenericError);
  previous_generic_context_ = xmlGenericErrorContext;
  xmlSetStructuredErrorFunc(this, StructuredHandler);
  xmlSetGenericErrorFunc(this, GenericHandler);
  xsltSetGenericErrorFunc(this, GenericHandler);
}

ErrorCapture::~ErrorCapture() {
  xmlSetStructuredErrorFunc(previous_structured_context_,
                            reinterpret_cast<xmlStructuredErrorFunc>(previous_structured_));
  xmlSetGenericErrorFunc(previous_generic_context_,
                         reinterpret_cast<xmlGenericErrorFunc>(previous_generic_));
  xsltSetGenericErrorFunc(nullptr, SilentGeneric);
}

void ErrorCapture::Add(const std::string& message) {
  if (!text_.empty()) text_ += '\n';
  text_ += message;
}

std::string ErrorCapture::Text(const std::string& fallback) const {
  return text_.empty() ? fallback : text_;
}

}  // namespace zarn::xml
