// An owned libxml2 document: load, create nodes, save.
#ifndef ZARN_XML_DOCUMENT_H_
#define ZARN_XML_DOCUMENT_H_

#include <memory>
#include <string>
#include <string_view>

#include "xml/node.h"

namespace zarn::xml {

class Document {
 public:
  // An empty document without a root element.
  Document();
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // Loads a file keeping white space. Returns null and sets *error on failure.
  static std::unique_ptr<Document> LoadFile(const std::string& path, std::string* error);
  // Parses XML text keeping white space. Returns null and sets *error on failure.
  static std::unique_ptr<Document> LoadText(std::string_view text, std::string* error);
  // Takes ownership of a raw xmlDocPtr (used by the XSLT layer).
  static std::unique_ptr<Document> Adopt(void* raw_doc);

  // The document node (context of whole-document selections).
  Node AsNode() const { return Node(raw_); }
  // The document element, or null.
  Node Root() const;
  // Makes `root` the document element (replacing any previous one, which is freed).
  Node SetRoot(OwnedNode root);

  // A new element of this document, not yet linked.
  OwnedNode CreateElement(std::string_view name, std::string_view text = {}) const;
  // A copy of `node` (from any document) belonging to this one, not yet linked.
  OwnedNode ImportNode(Node node, bool deep = true) const;

  // The document as XML text (with an XML declaration).
  std::string ToString() const;
  // Writes the document to `path` crash-safely (temporary file, flush, rename).
  bool Save(const std::string& path, std::string* error) const;

  void* raw() const { return raw_; }
  // Hands the raw xmlDocPtr over to a new owner; this object is then empty.
  void* ReleaseRaw();

 private:
  explicit Document(void* raw) : raw_(raw) {}
  void* raw_ = nullptr;
};

}  // namespace zarn::xml

#endif  // ZARN_XML_DOCUMENT_H_
