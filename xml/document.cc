#include "xml/document.h"

#include <libxml/parser.h>
#include <libxml/tree.h>

#include <climits>

#include "platform/files.h"
#include "xml/change_count.h"
#include "xml/error_capture.h"

namespace zarn::xml {
namespace {

xmlDocPtr D(void* raw) { return static_cast<xmlDocPtr>(raw); }

// Keep white space, never touch the network, no entity expansion from outside.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOCDATA | XML_PARSE_BIG_LINES;

}  // namespace

Document::Document() {
  InitLibxml();
  raw_ = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
}

Document::~Document() {
  if (raw_ == nullptr) return;
  NoteChange();
  xmlFreeDoc(D(raw_));
}

std::unique_ptr<Document> Document::Adopt(void* raw_doc) {
  if (raw_doc == nullptr) return nullptr;
  NoteChange();
  return std::unique_ptr<Document>(new Document(raw_doc));
}

std::unique_ptr<Document> Document::LoadFile(const std::string& path, std::string* error) {
  ErrorCapture capture;
  xmlDocPtr doc = xmlReadFile(path.c_str(), nullptr, kParseOptions);
  if (doc == nullptr) {
    if (error != nullptr) *error = capture.Text("cannot load " + path);
    return nullptr;
  }
  return Adopt(doc);
}

std::unique_ptr<Document> Document::LoadText(std::string_view text, std::string* error) {
  ErrorCapture capture;
  if (text.size() > static_cast<size_t>(INT_MAX)) {
    if (error != nullptr) *error = "document too large";
    return nullptr;
  }
  xmlDocPtr doc = xmlReadMemory(text.data(), static_cast<int>(text.size()), nullptr, nullptr, kParseOptions);
  if (doc == nullptr) {
    if (error != nullptr) *error = capture.Text("cannot parse the XML text");
    return nullptr;
  }
  return Adopt(doc);
}

Node Document::Root() const { return Node(xmlDocGetRootElement(D(raw_))); }

Node Document::SetRoot(OwnedNode root) {
  if (!root) return Node();
  NoteChange();
  xmlNodePtr r = static_cast<xmlNodePtr>(root.release());
  xmlNodePtr old = xmlDocSetRootElement(D(raw_), r);
  if (old != nullptr) xmlFreeNode(old);
  return Node(r);
}

OwnedNode Document::CreateElement(std::string_view name, std::string_view text) const {
  const std::string n(name);
  OwnedNode e(xmlNewDocNode(D(raw_), nullptr, reinterpret_cast<const xmlChar*>(n.c_str()), nullptr));
  if (e && !text.empty()) e.get().SetText(text);
  return e;
}

OwnedNode Document::ImportNode(Node node, bool deep) const {
  if (!node) return OwnedNode();
  return OwnedNode(xmlDocCopyNode(static_cast<xmlNodePtr>(node.raw()), D(raw_), deep ? 1 : 0));
}

std::string Document::ToString() const {
  ErrorCapture capture;
  xmlChar* buffer = nullptr;
  int size = 0;
  xmlDocDumpMemoryEnc(D(raw_), &buffer, &size, "UTF-8");
  if (buffer == nullptr) return std::string();
  std::string out(reinterpret_cast<const char*>(buffer), static_cast<size_t>(size));
  xmlFree(buffer);
  return out;
}

void* Document::ReleaseRaw() {
  NoteChange();  // the new owner may change or free it behind this layer
  void* r = raw_;
  raw_ = nullptr;
  return r;
}

bool Document::Save(const std::string& path, std::string* error) const {
  return WriteFileAtomically(path, ToString(), error);
}

}  // namespace zarn::xml
