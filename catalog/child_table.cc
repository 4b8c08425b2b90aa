#include "catalog/child_table.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "catalog/catalog_format.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// Below this many children a walk is as quick as a table.
constexpr size_t kTableFrom = 32;

std::string Key(std::string_view name, std::string_view id) {
  std::string key = ToLower(name);
  key += '\x1f';
  key += ToLower(id);
  return key;
}

// The keys an element child is found by: its name with its id, and with its idTmp
// when that differs.
std::vector<std::string> KeysOf(Node child) {
  std::vector<std::string> keys;
  if (!child.IsElement()) return keys;
  const std::string name = child.Name();
  const std::optional<std::string> id = child.Attribute(format::kId);
  const std::optional<std::string> tmp = child.Attribute(format::kIdTmp);
  if (id) keys.push_back(Key(name, *id));
  if (tmp && !(id && EqualsNoCase(*id, *tmp))) keys.push_back(Key(name, *tmp));
  return keys;
}

class Table {
 public:
  // Brings the table up to the children `parent` has now.
  void Update(Node parent) {
    Node next = parent.FirstChild();
    if (last_) {
      Forget(last_);
      next = last_;
    }
    for (; next; next = next.NextSibling()) Add(next);
  }
  const NodeList* Find(const std::string& key) const {
    auto it = children_.find(key);
    return it == children_.end() ? nullptr : &it->second;
  }
  Node FirstNamed(const std::string& name) const {
    auto it = first_by_name_.find(name);
    return it == first_by_name_.end() ? Node() : it->second;
  }

 private:
  void Add(Node child) {
    last_keys_ = KeysOf(child);
    for (const std::string& key : last_keys_) children_[key].push_back(child);
    if (child.IsElement()) first_by_name_.emplace(child.Name(), child);
    last_ = child;
  }
  // Takes the last child out again (its attributes may have changed since).
  void Forget(Node child) {
    for (const std::string& key : last_keys_) {
      NodeList& list = children_[key];
      if (!list.empty() && list.back() == child) list.pop_back();
    }
    last_keys_.clear();
    if (!child.IsElement()) return;
    auto it = first_by_name_.find(child.Name());
    if (it != first_by_name_.end() && it->second == child) first_by_name_.erase(it);
  }

  Node last_;
  std::vector<std::string> last_keys_;
  std::unordered_map<std::string, NodeList> children_;
  std::unordered_map<std::string, Node> first_by_name_;
};

struct Tables {
  uint64_t count = 0;
  std::unordered_map<void*, Table> by_parent;
};

bool HasManyChildren(Node parent) {
  size_t n = 0;
  for (Node c = parent.FirstChild(); c; c = c.NextSibling()) {
    if (++n >= kTableFrom) return true;
  }
  return false;
}

// The up-to-date table of `parent`'s children; null for an element with few.
Table* TableOf(Node parent) {
  thread_local Tables tables;
  if (tables.count != xml::ChildTableCount()) {
    tables.by_parent.clear();
    tables.count = xml::ChildTableCount();
  }
  auto it = tables.by_parent.find(parent.raw());
  if (it == tables.by_parent.end()) {
    if (!HasManyChildren(parent)) return nullptr;
    it = tables.by_parent.emplace(parent.raw(), Table()).first;
  }
  it->second.Update(parent);
  return &it->second;
}

}  // namespace

NodeList ChildrenNamedWithId(Node parent, std::string_view name, std::string_view id) {
  NodeList out;
  if (!parent) return out;
  Table* table = TableOf(parent);
  if (table == nullptr) {
    for (Node c = parent.FirstChild(); c; c = c.NextSibling()) {
      if (CDOMHelper::IsNamedWithId(c, name, id)) out.push_back(c);
    }
    return out;
  }
  if (const NodeList* found = table->Find(Key(name, id))) {
    for (Node c : *found) {
      if (CDOMHelper::IsNamedWithId(c, name, id)) out.push_back(c);
    }
  }
  return out;
}

Node FirstChildNamed(Node parent, std::string_view name) {
  if (!parent) return Node();
  if (Table* table = TableOf(parent)) return table->FirstNamed(std::string(name));
  return parent.FirstChildElement(name);
}

}  // namespace zarn
