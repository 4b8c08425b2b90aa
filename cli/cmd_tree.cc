// zarn-catalog tree: the catalog tree as a host builds it from the log paths, one
// level at a time (ZARN_GetLogPaths mode 1).
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

constexpr int kMaxDepth = 64;

struct TreeNode {
  std::string id;
  std::string label;
  std::string path;
  std::vector<TreeNode> children;
};

std::string ChildPath(const std::string& parent, const std::string& id) {
  return (parent == "/" ? "" : parent) + "/" + id;
}

// The children of `path` in document order; a failing call (a leaf) gives none.
std::vector<TreeNode> Children(const std::string& path, int depth) {
  std::vector<TreeNode> out;
  if (depth >= kMaxDepth) return out;
  LogPathEntry* head = nullptr;
  const std::u16string wide = W(path);
  if (ZARN_GetLogPaths(wide.c_str(), &head, 0, 1) != 0) return out;
  for (const LogPathEntry* e = head; e != nullptr; e = e->next) {
    if (e->path == nullptr) continue;  // a catalog-folder reference
    TreeNode node;
    node.id = U(e->path);
    node.label = e->label != nullptr ? U(e->label) : node.id;
    node.path = ChildPath(path, node.id);
    out.insert(out.begin(), std::move(node));
  }
  ZARN_FreeLogPaths(head);
  for (TreeNode& node : out) node.children = Children(node.path, depth + 1);
  return out;
}

void PrintText(const std::vector<TreeNode>& nodes, int indent) {
  for (const TreeNode& n : nodes) {
    std::printf("%*s%s", indent * 2, "", n.label.c_str());
    if (n.label != n.id) std::printf("  [%s]", n.id.c_str());
    std::printf("\n");
    PrintText(n.children, indent + 1);
  }
}

void PrintJson(const std::vector<TreeNode>& nodes) {
  std::printf("[");
  for (size_t i = 0; i < nodes.size(); ++i) {
    const TreeNode& n = nodes[i];
    std::printf("%s{\"id\": %s, \"label\": %s, \"path\": %s, \"children\": ", i == 0 ? "" : ", ",
                JsonString(n.id).c_str(), JsonString(n.label).c_str(), JsonString(n.path).c_str());
    PrintJson(n.children);
    std::printf("}");
  }
  std::printf("]");
}

int RunTree(const Invocation& in) {
  if (in.args.size() > 1) {
    std::fprintf(stderr, "error: tree takes at most one component path (see zarn-catalog tree --help)\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  const std::string root = in.args.empty() ? "/" : in.args[0];
  LogPathEntry* self = nullptr;
  const std::u16string wide = W(root);
  const uint32_t rc = ZARN_GetLogPath(wide.c_str(), &self, 0);
  ZARN_FreeLogPaths(self);
  // The whole catalog is there also when it holds nothing yet: an empty tree.
  const bool empty_catalog = rc == ZARN_E_NOT_FOUND && root == "/";
  if (rc != 0 && !empty_catalog) return ReportFailure("ZARN_GetLogPath", rc);
  const std::vector<TreeNode> children = Children(root, 0);
  if (in.json) {
    std::printf("{\"path\": %s, \"children\": ", JsonString(root).c_str());
    PrintJson(children);
    std::printf("}\n");
  } else {
    std::printf("%s\n", root.c_str());
    PrintText(children, 1);
  }
  return 0;
}

}  // namespace

ZARN_CLI_COMMAND(tree, "tree", "Queries", "print the catalog tree with labels and ids (from the log paths)",
                 "[PATH]\n\n"
                 "  PATH   component path of the top of the tree (default: /, the whole catalog)\n"
                 "Shows each visible level that holds components, labelled in the catalog language\n"
                 "(--lang), with the id in brackets where it differs from the label.",
                 RunTree);

}  // namespace zarn::cli
