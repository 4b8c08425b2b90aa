#include "xml/node.h"

#include <libxml/tree.h>

#include <atomic>

#include "xml/change_count.h"

namespace zarn::xml {
namespace {

std::atomic<uint64_t> g_change_count{0};
std::atomic<uint64_t> g_child_table_count{0};

xmlNodePtr N(void* raw) { return static_cast<xmlNodePtr>(raw); }
const xmlChar* X(const std::string& s) { return reinterpret_cast<const xmlChar*>(s.c_str()); }

std::string TakeString(xmlChar* s) {
  if (s == nullptr) return std::string();
  std::string out(reinterpret_cast<const char*>(s));
  xmlFree(s);
  return out;
}

bool IsChildType(xmlNodePtr n) {
  return n->type == XML_ELEMENT_NODE || n->type == XML_TEXT_NODE || n->type == XML_CDATA_SECTION_NODE ||
         n->type == XML_COMMENT_NODE || n->type == XML_PI_NODE || n->type == XML_ENTITY_REF_NODE;
}

// An attribute change of a linked node that is not a last child can make a table
// of its parent's children wrong.
void NoteAttributeChange(xmlNodePtr n) {
  if (n->parent != nullptr && n->next != nullptr) {
    NoteChange();
  } else {
    NoteChangeKeepingChildTables();
  }
}

// An unlinked node with children may have had a table of its children.
void NoteFree(xmlNodePtr n) {
  if (n->children != nullptr) {
    NoteChange();
  } else {
    NoteChangeKeepingChildTables();
  }
}

// Replacing the children of a node by text frees them: a table of its children
// (which only elements with element children have) goes wrong.
void NoteTextChange(xmlNodePtr n) {
  bool element_child = false;
  for (xmlNodePtr c = n->children; c != nullptr && !element_child; c = c->next) {
    element_child = c->type == XML_ELEMENT_NODE;
  }
  if (element_child) {
    NoteChange();
  } else {
    NoteChangeKeepingChildTables();
  }
}

}  // namespace

uint64_t ChangeCount() { return g_change_count.load(std::memory_order_relaxed); }
uint64_t ChildTableCount() { return g_child_table_count.load(std::memory_order_relaxed); }
void NoteChangeKeepingChildTables() { g_change_count.fetch_add(1, std::memory_order_relaxed); }
void NoteChange() {
  g_change_count.fetch_add(1, std::memory_order_relaxed);
  g_child_table_count.fetch_add(1, std::memory_order_relaxed);
}

bool Node::IsElement() const { return raw_ != nullptr && N(raw_)->type == XML_ELEMENT_NODE; }
bool Node::IsAttribute() const { return raw_ != nullptr && N(raw_)->type == XML_ATTRIBUTE_NODE; }
bool Node::IsText() const {
  return raw_ != nullptr && (N(raw_)->type == XML_TEXT_NODE || N(raw_)->type == XML_CDATA_SECTION_NODE);
}
bool Node::IsDocument() const {
  return raw_ != nullptr && (N(raw_)->type == XML_DOCUMENT_NODE || N(raw_)->type == XML_HTML_DOCUMENT_NODE);
}

bool Node::IsElementNamed(std::string_view name) const {
  if (!IsElement() || N(raw_)->ns != nullptr || N(raw_)->name == nullptr) return false;
  return name == reinterpret_cast<const char*>(N(raw_)->name);
}

std::string Node::Name() const {
  if (raw_ == nullptr || N(raw_)->name == nullptr) return std::string();
  std::string local(reinterpret_cast<const char*>(N(raw_)->name));
  if ((IsElement() || IsAttribute()) && N(raw_)->ns != nullptr && N(raw_)->ns->prefix != nullptr) {
    return std::string(reinterpret_cast<const char*>(N(raw_)->ns->prefix)) + ":" + local;
  }
  if (IsText()) return "#text";
  return local;
}

bool Node::HasName(std::string_view name) const {
  if (raw_ == nullptr || N(raw_)->name == nullptr) return name.empty();
  if (IsText()) return name == "#text";
  std::string_view local(reinterpret_cast<const char*>(N(raw_)->name));
  if ((IsElement() || IsAttribute()) && N(raw_)->ns != nullptr && N(raw_)->ns->prefix != nullptr) {
    std::string_view prefix(reinterpret_cast<const char*>(N(raw_)->ns->prefix));
    return name.size() == prefix.size() + 1 + local.size() && name.substr(0, prefix.size()) == prefix &&
           name[prefix.size()] == ':' && name.substr(prefix.size() + 1) == local;
  }
  return name == local;
}

std::string Node::LocalName() const {
  if (raw_ == nullptr || N(raw_)->name == nullptr) return std::string();
  return reinterpret_cast<const char*>(N(raw_)->name);
}

std::string Node::Text() const {
  if (raw_ == nullptr) return std::string();
  return TakeString(xmlNodeGetContent(N(raw_)));
}

void Node::SetText(std::string_view text) {
  if (raw_ == nullptr) return;
  NoteTextChange(N(raw_));
  const std::string value(text);
  xmlChar* escaped = xmlEncodeSpecialChars(N(raw_)->doc, X(value));
  xmlNodeSetContent(N(raw_), escaped);
  xmlFree(escaped);
}

std::optional<std::string> Node::Attribute(std::string_view name) const {
  if (!IsElement()) return std::nullopt;
  // The attributes in the tree first, as xmlHasProp looks them up; a value that is
  // one text node is read in place.
  for (xmlAttrPtr a = N(raw_)->properties; a != nullptr; a = a->next) {
    if (a->name == nullptr || name != reinterpret_cast<const char*>(a->name)) continue;
    const xmlNode* value = a->children;
    if (value == nullptr) return std::string();
    if (value->next == nullptr && value->type == XML_TEXT_NODE && value->content != nullptr) {
      return std::string(reinterpret_cast<const char*>(value->content));
    }
    return TakeString(xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(a)));
  }
  const xmlDoc* doc = N(raw_)->doc;
  if (doc == nullptr || (doc->intSubset == nullptr && doc->extSubset == nullptr)) return std::nullopt;
  const std::string n(name);  // a default value that the document's DTD declares
  xmlAttrPtr attr = xmlHasProp(N(raw_), X(n));
  if (attr == nullptr) return std::nullopt;
  return TakeString(xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(attr)));
}

std::optional<std::string> Node::PlainAttribute(std::string_view name) const {
  if (!IsElement()) return std::nullopt;
  for (xmlAttrPtr a = N(raw_)->properties; a != nullptr; a = a->next) {
    if (a->ns == nullptr && a->name != nullptr && name == reinterpret_cast<const char*>(a->name)) {
      return TakeString(xmlNodeGetContent(reinterpret_cast<xmlNodePtr>(a)));
    }
  }
  return std::nullopt;
}

bool Node::HasAttribute(std::string_view name) const {
  if (!IsElement()) return false;
  const std::string n(name);
  return xmlHasProp(N(raw_), X(n)) != nullptr;
}

void Node::SetAttribute(std::string_view name, std::string_view value) {
  if (!IsElement()) return;
  const std::string n(name);
  const std::string v(value);
  NoteAttributeChange(N(raw_));
  xmlSetProp(N(raw_), X(n), X(v));
}

void Node::RemoveAttribute(std::string_view name) {
  if (!IsElement()) return;
  const std::string n(name);
  xmlAttrPtr attr = xmlHasProp(N(raw_), X(n));
  if (attr == nullptr) return;
  NoteAttributeChange(N(raw_));
  xmlRemoveProp(attr);
}

std::vector<std::pair<std::string, std::string>> Node::Attributes() const {
  std::vector<std::pair<std::string, std::string>> out;
  if (!IsElement()) return out;
  for (xmlAttrPtr a = N(raw_)->properties; a != nullptr; a = a->next) {
    Node attr(a);
    out.emplace_back(attr.Name(), attr.Text());
  }
  return out;
}

Node Node::Parent() const {
  if (raw_ == nullptr) return Node();
  xmlNodePtr p = N(raw_)->parent;
  return (p != nullptr && p->type == XML_ELEMENT_NODE) ? Node(p) : Node();
}

Node Node::FirstChild() const {
  if (raw_ == nullptr || IsAttribute()) return Node();
  return Node(N(raw_)->children);
}

Node Node::NextSibling() const { return raw_ == nullptr ? Node() : Node(N(raw_)->next); }
Node Node::PreviousSibling() const { return raw_ == nullptr ? Node() : Node(N(raw_)->prev); }

std::vector<Node> Node::Children() const {
  std::vector<Node> out;
  if (raw_ == nullptr || IsAttribute()) return out;
  for (xmlNodePtr c = N(raw_)->children; c != nullptr; c = c->next) {
    if (IsChildType(c)) out.emplace_back(c);
  }
  return out;
}

std::vector<Node> Node::ChildElements() const {
  std::vector<Node> out;
  if (raw_ == nullptr || IsAttribute()) return out;
  for (xmlNodePtr c = N(raw_)->children; c != nullptr; c = c->next) {
    if (c->type == XML_ELEMENT_NODE) out.emplace_back(c);
  }
  return out;
}

Node Node::FirstChildElement(std::string_view name) const {
  if (raw_ == nullptr || IsAttribute()) return Node();
  for (xmlNodePtr c = N(raw_)->children; c != nullptr; c = c->next) {
    if (c->type == XML_ELEMENT_NODE && Node(c).HasName(name)) return Node(c);
  }
  return Node();
}

std::string Node::OuterXml() const {
  if (raw_ == nullptr) return std::string();
  xmlBufferPtr buffer = xmlBufferCreate();
  if (buffer == nullptr) return std::string();
  if (IsDocument()) {
    for (xmlNodePtr c = N(raw_)->children; c != nullptr; c = c->next) {
      xmlNodeDump(buffer, N(raw_)->doc, c, 0, 0);
    }
  } else {
    xmlNodeDump(buffer, N(raw_)->doc, N(raw_), 0, 0);
  }
  std::string out(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                  static_cast<size_t>(xmlBufferLength(buffer)));
  xmlBufferFree(buffer);
  return out;
}

Node Node::AppendChild(OwnedNode child) {
  if (raw_ == nullptr || !child) return Node();
  NoteChangeKeepingChildTables();
  xmlNodePtr c = N(child.release());
  // xmlAddChild may merge text into a neighbour and free `c`; link by hand instead.
  c->parent = N(raw_);
  c->next = nullptr;
  c->prev = N(raw_)->last;
  if (N(raw_)->last != nullptr) {
    N(raw_)->last->next = c;
  } else {
    N(raw_)->children = c;
  }
  N(raw_)->last = c;
  return Node(c);
}

Node Node::InsertBefore(OwnedNode child, Node reference) {
  if (!reference) return AppendChild(std::move(child));
  if (raw_ == nullptr || !child || N(reference.raw())->parent != N(raw_)) return Node();
  NoteChange();
  xmlNodePtr c = N(child.release());
  xmlNodePtr ref = N(reference.raw());
  c->parent = N(raw_);
  c->next = ref;
  c->prev = ref->prev;
  if (ref->prev != nullptr) {
    ref->prev->next = c;
  } else {
    N(raw_)->children = c;
  }
  ref->prev = c;
  return Node(c);
}

Node Node::AppendElement(std::string_view name, std::string_view text) {
  if (!IsElement() && !IsDocument()) return Node();
  const std::string n(name);
  xmlNodePtr e = xmlNewDocNode(N(raw_)->doc, nullptr, X(n), nullptr);
  if (e == nullptr) return Node();
  OwnedNode owned(e);
  Node added = AppendChild(std::move(owned));
  if (!text.empty()) added.SetText(text);
  return added;
}

Node Node::AppendText(std::string_view text) {
  if (!IsElement()) return Node();
  const std::string t(text);
  xmlNodePtr n = xmlNewDocTextLen(N(raw_)->doc, X(t), static_cast<int>(t.size()));
  if (n == nullptr) return Node();
  return AppendChild(OwnedNode(n));
}

OwnedNode Node::Detach() {
  if (raw_ == nullptr) return OwnedNode();
  NoteChange();
  xmlUnlinkNode(N(raw_));
  return OwnedNode(raw_);
}

void Node::Remove() {
  if (raw_ == nullptr) return;
  NoteChange();
  if (IsAttribute()) {
    xmlRemoveProp(reinterpret_cast<xmlAttrPtr>(raw_));
  } else {
    xmlUnlinkNode(N(raw_));
    xmlFreeNode(N(raw_));
  }
  raw_ = nullptr;
}

Node Node::OwnerDocument() const { return raw_ == nullptr ? Node() : Node(reinterpret_cast<xmlNodePtr>(N(raw_)->doc)); }

namespace {

bool HasPlainName(xmlNodePtr n, std::string_view name) {
  return n->ns == nullptr && n->name != nullptr && name == reinterpret_cast<const char*>(n->name);
}

// One loop over the raw nodes below `top`, descending through elements only.
template <typename Match>
void WalkElements(Node top, Match matches, const std::function<void(Node)>& visit) {
  xmlNodePtr const stop = N(top.raw());
  if (stop == nullptr || stop->type == XML_ATTRIBUTE_NODE) return;
  xmlNodePtr n = stop->children;
  while (n != nullptr) {
    if (n->type == XML_ELEMENT_NODE) {
      if (matches(n)) visit(Node(n));
      if (n->children != nullptr) {
        n = n->children;
        continue;
      }
    }
    while (n->next == nullptr) {
      n = n->parent;
      if (n == stop || n == nullptr) return;
    }
    n = n->next;
  }
}

}  // namespace

void ForEachElementNamed(Node top, std::string_view name, const std::function<void(Node)>& visit) {
  WalkElements(
      top, [name](xmlNodePtr n) { return HasPlainName(n, name); }, visit);
}

void ForEachElementNamedEither(Node top, std::string_view first, std::string_view second,
                               const std::function<void(Node)>& visit) {
  WalkElements(
      top, [first, second](xmlNodePtr n) { return HasPlainName(n, first) || HasPlainName(n, second); }, visit);
}

void ForEachChildNamed(Node parent, std::string_view name, const std::function<void(Node)>& visit) {
  xmlNodePtr const p = N(parent.raw());
  if (p == nullptr || p->type == XML_ATTRIBUTE_NODE) return;
  for (xmlNodePtr c = p->children; c != nullptr; c = c->next) {
    if (c->type == XML_ELEMENT_NODE && HasPlainName(c, name)) visit(Node(c));
  }
}

OwnedNode::~OwnedNode() {
  if (raw_ == nullptr) return;
  NoteFree(N(raw_));
  xmlFreeNode(N(raw_));
}

OwnedNode& OwnedNode::operator=(OwnedNode&& other) noexcept {
  if (this != &other) {
    if (raw_ != nullptr) {
      NoteFree(N(raw_));
      xmlFreeNode(N(raw_));
    }
    raw_ = other.release();
  }
  return *this;
}

}  // namespace zarn::xml
