// Captures libxml2/libxslt error messages for the duration of a scope so that
// nothing is printed to standard error and nothing reaches the host's own handlers;
// the host's handlers are back in place when the scope ends.
#ifndef ZARN_XML_ERROR_CAPTURE_H_
#define ZARN_XML_ERROR_CAPTURE_H_

#include <string>

namespace zarn::xml {

class ErrorCapture {
 public:
  ErrorCapture();
  ~ErrorCapture();
  ErrorCapture(const ErrorCapture&) = delete;
  ErrorCapture& operator=(const ErrorCapture&) = delete;

  // The collected messages, one a line, or `fallback` when none arrived.
  std::string Text(const std::string& fallback) const;
  void Add(const std::string& message);

 private:
  std::string text_;
  void* previous_structured_ = nullptr;
  void* previous_structured_context_ = nullptr;
  void* previous_generic_ = nullptr;
  void* previous_generic_context_ = nullptr;
  void* previous_xslt_generic_ = nullptr;
  void* previous_xslt_generic_context_ = nullptr;
};

// Initialises libxml2 once per process (idempotent); changes no setting of the host.
void InitLibxml();

}  // namespace zarn::xml

#endif  // ZARN_XML_ERROR_CAPTURE_H_
