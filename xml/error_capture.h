// Captures libxml2/libxslt error messages for the duration of a scope so that
// nothing is printed to standard error.
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
};

// Installs silent default handlers once per process (idempotent).
void SilenceLibxml();

}  // namespace zarn::xml

#endif  // ZARN_XML_ERROR_CAPTURE_H_
