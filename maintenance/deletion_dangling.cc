// Relation entries that would name a deleted element: dropped before the deletion is
// saved, so that no relation of the catalog names a path that is not there.
#include <unordered_set>
#include <vector>

#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "maintenance/deletion.h"
#include "platform/strings.h"

namespace zarn {
namespace {

// True when `path` or one of its ancestor paths is in `gone`.
bool NamesGone(const std::string& path, const std::unordered_set<std::string>& gone) {
  for (size_t slash = path.size(); slash != std::string::npos && slash > 0; slash = path.rfind('/', slash - 1)) {
    if (gone.count(path.substr(0, slash)) != 0) return true;
  }
  return false;
}

class DanglingEntries {
 public:
  DanglingEntries(CCatalog_Contents& catalog, std::unordered_set<std::string> gone)
      : catalog_(catalog), gone_(std::move(gone)) {}

  void Run() {
    if (Node root = catalog_.root(); root && !gone_.empty()) Visit(root);
    for (Node entry : entries_) catalog_.RemoveNode(entry);
    for (Node relation : emptied_) {
      Node holder = relation.Parent();
      catalog_.RemoveNode(relation);
      if (holder && !holder.FirstChildElement(format::kComponentRelation)) catalog_.RemoveNode(holder);
    }
  }

 private:
  void Visit(Node element) {
    for (Node child = element.FirstChild(); child; child = child.NextSibling()) {
      if (!child.IsElement()) continue;
      if (child.Name() == format::kComponentRelation) {
        Relation(child);
      } else {
        Visit(child);
      }
    }
  }

  void Relation(Node relation) {
    size_t kept = 0;
    for (Node cs = relation.FirstChild(); cs; cs = cs.NextSibling()) {
      if (!cs.IsElement() || cs.Name() != "COMPONENTS") continue;
      for (Node entry = cs.FirstChild(); entry; entry = entry.NextSibling()) {
        if (!entry.IsElement() || entry.Name() != "component") continue;
        const Node ref = entry.FirstChildElement(format::kComponentRef);
        if (ref && NamesGone(Trim(ref.Text()), gone_)) {
          entries_.push_back(entry);
        } else {
          ++kept;
        }
      }
    }
    if (kept == 0 && relation.FirstChildElement("isInverse") && !entries_.empty() &&
        entries_.back().Parent().Parent() == relation) {
      emptied_.push_back(relation);
    }
  }

  CCatalog_Contents& catalog_;
  std::unordered_set<std::string> gone_;
  std::vector<Node> entries_;
  std::vector<Node> emptied_;
};

}  // namespace

void DropDanglingRelationEntries(CCatalog_Contents& catalog, const std::vector<std::string>& deleted_paths) {
  std::unordered_set<std::string> gone;
  for (const std::string& path : deleted_paths) {
    // A placeholder at the path keeps the relation for the element's return.
    if (!catalog.FindByComponentPath(path)) gone.insert(path);
  }
  DanglingEntries(catalog, std::move(gone)).Run();
}

}  // namespace zarn
