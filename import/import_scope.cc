#include "import/import_scope.h"

#include <algorithm>
#include <unordered_set>

#include "catalog/catalog_format.h"

namespace zarn {
namespace {

// The chain from the topmost ancestor down to `node`.
NodeList AncestorChain(Node node) {
  NodeList chain;
  for (Node n = node; n; n = n.Parent()) chain.push_back(n);
  std::reverse(chain.begin(), chain.end());
  return chain;
}

constexpr size_t kSortByWalkFrom = 64;

// The topmost ancestor-or-self of `node` (the document element for a linked node).
Node TopOf(Node node) {
  Node n = node;
  while (Node p = n.Parent()) n = p;
  return n;
}

// Sorts distinct nodes by one walk over each tree they belong to (trees in the
// order their first node comes in the list).
void SortByWalk(NodeList* nodes) {
  std::unordered_set<void*> wanted;
  for (Node n : *nodes) wanted.insert(n.raw());
  std::vector<Node> tops;
  std::unordered_set<void*> seen_tops;
  for (Node n : *nodes) {
    const Node top = TopOf(n);
    if (seen_tops.insert(top.raw()).second) tops.push_back(top);
  }
  NodeList sorted;
  sorted.reserve(nodes->size());
  for (Node top : tops) {
    Node n = top;
    while (n) {
      if (wanted.count(n.raw()) != 0) sorted.push_back(n);
      if (Node child = n.FirstChild()) {
        n = child;
        continue;
      }
      while (n && !(n == top) && !n.NextSibling()) n = n.Parent();
      n = (!n || n == top) ? Node() : n.NextSibling();
    }
  }
  *nodes = std::move(sorted);
}

}  // namespace

bool PrecedesInDocument(Node a, Node b) {
  if (a == b) return false;
  const NodeList ca = AncestorChain(a);
  const NodeList cb = AncestorChain(b);
  size_t i = 0;
  while (i < ca.size() && i < cb.size() && ca[i] == cb[i]) ++i;
  if (i == ca.size()) return true;   // a is an ancestor of b
  if (i == cb.size()) return false;  // b is an ancestor of a
  for (Node n = ca[i].NextSibling(); n; n = n.NextSibling()) {
    if (n == cb[i]) return true;
  }
  return false;
}

void SortDocumentOrder(NodeList* nodes) {
  std::sort(nodes->begin(), nodes->end(), [](Node x, Node y) { return x.raw() < y.raw(); });
  nodes->erase(std::unique(nodes->begin(), nodes->end()), nodes->end());
  // Comparing two siblings walks the siblings between them: with many nodes one
  // walk over their trees is cheaper.
  if (nodes->size() < kSortByWalkFrom) {
    std::sort(nodes->begin(), nodes->end(), PrecedesInDocument);
  } else {
    SortByWalk(nodes);
  }
}

CCatalog_Contents::ImportScopeGuard::ImportScopeGuard(CCatalog_Contents* catalog)
    : catalog_(catalog), active_(catalog->import_scope_ == nullptr) {
  if (active_) catalog_->import_scope_ = &scope_;
}

CCatalog_Contents::ImportScopeGuard::~ImportScopeGuard() {
  if (active_) catalog_->import_scope_ = nullptr;
}

void CCatalog_Contents::SetTemporaryId(Node node, std::string_view value) {
  if (!node) return;
  node.SetAttribute(format::kIdTmp, value);
  if (import_scope_ != nullptr) import_scope_->tagged.push_back(node);
}

void CCatalog_Contents::NoteCreated(Node node) {
  if (node && import_scope_ != nullptr) import_scope_->created.push_back(node);
}

void CCatalog_Contents::RemoveNode(Node node) {
  if (!node) return;
  if (import_scope_ != nullptr) {
    import_scope_->removed.push_back(node.Detach());
  } else {
    node.Remove();
  }
}

bool CCatalog_Contents::IsInDocument(Node node) const {
  const Node top = root();
  if (!node || !top) return false;
  Node n = node;
  while (Node p = n.Parent()) n = p;
  return n == top;
}

NodeList CCatalog_Contents::TemporaryIdElements() const {
  NodeList out;
  if (import_scope_ == nullptr) {
    getSubElementsByXPath("//*[@" + std::string(format::kIdTmp) + "]", &out);
    return out;
  }
  for (Node n : import_scope_->tagged) {
    if (IsInDocument(n) && n.HasAttribute(format::kIdTmp)) out.push_back(n);
  }
  SortDocumentOrder(&out);
  return out;
}

NodeList CCatalog_Contents::PlaceholderCandidates() const {
  NodeList out;
  if (import_scope_ == nullptr) {
    getSubElementsByXPath("//*[@isArtificial='true']", &out);
    return out;
  }
  NodeList parents;
  for (Node n : import_scope_->created) {
    if (!IsInDocument(n)) continue;
    if (n.Attribute(format::kIsArtificial) == format::kTrue) out.push_back(n);
    if (Node p = n.Parent()) parents.push_back(p);
  }
  SortDocumentOrder(&parents);
  for (Node p : parents) {
    for (Node c = p.FirstChild(); c; c = c.NextSibling()) {
      if (c.IsElement() && c.Attribute(format::kIsArtificial) == format::kTrue) out.push_back(c);
    }
  }
  SortDocumentOrder(&out);
  return out;
}

}  // namespace zarn
