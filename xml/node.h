// Nodes of a libxml2 document behind a small value type.
//
// A Node is a non-owning handle: the document owns every node linked into it.
// A node that is not linked into a tree (new, imported or detached) is held by an
// OwnedNode, which frees it unless it is appended somewhere first.
#ifndef ZARN_XML_NODE_H_
#define ZARN_XML_NODE_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zarn::xml {

class OwnedNode;

// Counts the changes made through this layer to any document: nodes linked,
// unlinked or freed, attributes and texts set or removed, documents loaded or freed.
// A table built from a document stays valid as long as the count has not moved.
uint64_t ChangeCount();
// Counts the changes that can make a table of the element children of an element,
// by their names and attributes, wrong even for a reader that reads the newest
// children (those after the last child it saw, and that one again) whenever it
// consults the table: everything ChangeCount counts except appending a child,
// setting or removing an attribute of a last or unlinked node and freeing an
// unlinked node without children.
uint64_t ChildTableCount();

class Node {
 public:
  Node() = default;
  explicit Node(void* raw) : raw_(raw) {}

  explicit operator bool() const { return raw_ != nullptr; }
  bool operator==(const Node& other) const { return raw_ == other.raw_; }
  void* raw() const { return raw_; }

  bool IsElement() const;
  bool IsAttribute() const;
  bool IsText() const;
  bool IsDocument() const;
  // An element of this name and of no namespace: what the XPath name test `name`
  // matches.
  bool IsElementNamed(std::string_view name) const;

  // Qualified name ("prefix:local" for namespaced elements); "" for a null node.
  std::string Name() const;
  // Name() == name, without building the name.
  bool HasName(std::string_view name) const;
  // Name without a namespace prefix.
  std::string LocalName() const;

  // The concatenated text of the node and its descendants (attribute: its value).
  std::string Text() const;
  // Replaces the children of an element (or the value of an attribute) by text.
  void SetText(std::string_view text);

  // Attribute access on elements. Missing attribute: nullopt / false.
  std::optional<std::string> Attribute(std::string_view name) const;
  bool HasAttribute(std::string_view name) const;
  void SetAttribute(std::string_view name, std::string_view value);
  void RemoveAttribute(std::string_view name);
  // What the XPath step "@name" sees: the attribute of no namespace with this name
  // as it stands in the tree (no DTD default). nullopt when there is none.
  std::optional<std::string> PlainAttribute(std::string_view name) const;
  // The attributes of an element in document order, as (name, value).
  std::vector<std::pair<std::string, std::string>> Attributes() const;

  // The parent element; null at the root element (and for attributes: the owner element).
  Node Parent() const;
  Node FirstChild() const;
  Node NextSibling() const;
  Node PreviousSibling() const;
  // All child nodes, or only the element children, in document order.
  std::vector<Node> Children() const;
  std::vector<Node> ChildElements() const;
  // The first element child with exactly this name, or null.
  Node FirstChildElement(std::string_view name) const;

  // The node serialised as XML text, as it stands in the document.
  std::string OuterXml() const;

  // Links `child` as the last child of this element; returns it.
  Node AppendChild(OwnedNode child);
  // Links `child` before `reference` (a child of this element); returns it.
  Node InsertBefore(OwnedNode child, Node reference);
  // Appends a new element child with this name (and text, when given); returns it.
  Node AppendElement(std::string_view name, std::string_view text = {});
  // Appends a text node; returns it.
  Node AppendText(std::string_view text);
  // Unlinks this node from its tree and hands over ownership.
  OwnedNode Detach();
  // Unlinks and frees this node with its subtree; the handle must not be used after.
  void Remove();

  // The document node this node belongs to.
  Node OwnerDocument() const;

 private:
  void* raw_ = nullptr;
};

// Calls visit for every element below `top` (not `top` itself) that the XPath name
// test `name` matches (IsElementNamed), in document order, descending through
// elements only as "descendant::" does. `visit` must not change the tree. One loop
// over the raw nodes: for walks over a whole catalog.
void ForEachElementNamed(Node top, std::string_view name, const std::function<void(Node)>& visit);

// As ForEachElementNamed, for the elements that match either name, in one walk and
// in document order (the union of two "//name" selections).
void ForEachElementNamedEither(Node top, std::string_view first, std::string_view second,
                               const std::function<void(Node)>& visit);

// Calls visit for every child element of `parent` that the XPath name test `name`
// matches, in document order (the step "name" of an XPath). `visit` must not change
// the children of `parent`.
void ForEachChildNamed(Node parent, std::string_view name, const std::function<void(Node)>& visit);

// Owns a node that is not linked into a tree; frees it on destruction.
class OwnedNode {
 public:
  OwnedNode() = default;
  explicit OwnedNode(void* raw) : raw_(raw) {}
  ~OwnedNode();
  OwnedNode(OwnedNode&& other) noexcept : raw_(other.release()) {}
  OwnedNode& operator=(OwnedNode&& other) noexcept;
  OwnedNode(const OwnedNode&) = delete;
  OwnedNode& operator=(const OwnedNode&) = delete;

  Node get() const { return Node(raw_); }
  Node operator->() const = delete;
  explicit operator bool() const { return raw_ != nullptr; }
  void* release() {
    void* r = raw_;
    raw_ = nullptr;
    return r;
  }

 private:
  void* raw_ = nullptr;
};

}  // namespace zarn::xml

#endif  // ZARN_XML_NODE_H_
