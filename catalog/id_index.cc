#include "catalog/id_index.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "catalog/catalog_format.h"

namespace zarn {
namespace {

// Files every element below `top` under its id, in document order. Iterative: a
// catalog document may be deeper than the stack likes.
void FileElements(Node top, std::unordered_map<std::string, NodeList>* elements) {
  NodeList pending{top};
  while (!pending.empty()) {
    const Node node = pending.back();
    pending.pop_back();
    if (std::optional<std::string> id = node.Attribute(format::kId)) (*elements)[*id].push_back(node);
    const size_t mark = pending.size();
    for (Node child = node.FirstChild(); child; child = child.NextSibling()) {
      if (child.IsElement()) pending.push_back(child);
    }
    std::reverse(pending.begin() + static_cast<std::ptrdiff_t>(mark), pending.end());
  }
}

}  // namespace

const NodeList& IdIndex::ElementsWithId(const xml::Document* document, const std::string& id) {
  static const NodeList kNone;
  if (document == nullptr) return kNone;
  if (document != document_ || change_count_ != xml::ChangeCount()) Build(document);
  const auto found = elements_.find(id);
  return found == elements_.end() ? kNone : found->second;
}

void IdIndex::Build(const xml::Document* document) {
  elements_.clear();
  FileElements(document->AsNode(), &elements_);
  document_ = document;
  change_count_ = xml::ChangeCount();
}

}  // namespace zarn
