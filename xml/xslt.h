// XSLT 1.0 transformation through libxslt.
#ifndef ZARN_XML_XSLT_H_
#define ZARN_XML_XSLT_H_

#include <memory>
#include <string>

#include "xml/document.h"

namespace zarn::xml {

class Stylesheet {
 public:
  ~Stylesheet();
  Stylesheet(const Stylesheet&) = delete;
  Stylesheet& operator=(const Stylesheet&) = delete;

  // Loads and compiles a stylesheet file. Returns null and sets *error on failure.
  static std::unique_ptr<Stylesheet> LoadFile(const std::string& path, std::string* error);

  // Transforms `source`; *output receives the result serialised as the
  // stylesheet's xsl:output says. Returns false and sets *error on failure.
  bool Transform(const Document& source, std::string* output, std::string* error) const;

 private:
  explicit Stylesheet(void* raw) : raw_(raw) {}
  void* raw_ = nullptr;
};

}  // namespace zarn::xml

#endif  // ZARN_XML_XSLT_H_
