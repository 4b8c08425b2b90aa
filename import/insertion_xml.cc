// insertXml: inserting a ready XML fragment below a catalog element.
//
// Contract (for the import driver and the PROFIBUS PA library tree):
//   insertXml(text, parent, &components)
//   - `text` is a complete XML document; its top element, with all descendants,
//     is copied into the catalog document and appended to `parent`. Every
//     COMPONENT of the fragment is marked as inserted by this call.
//   - A child of `parent` with the same element name and the same id as the top
//     element is removed first (the fragment replaces it); a top element without
//     an id is appended beside any existing children.
//   - *components receives every COMPONENT of the catalog inserted by the call,
//     in document order; each has a componentID child afterwards, and no element
//     of the catalog keeps an idTmp attribute.
//   - Returns 0; ZARN_E_DOCUMENT (traced as "error loading Xml %s") when the text
//     is not well-formed, leaving the catalog unchanged; ZARN_E_DOCUMENT when
//     `parent` is null (nothing is inserted, *components is still filled). A
//     document without a top element inserts nothing and returns 0.
//   - The catalog is changed in memory only; the caller saves it (or reloads it
//     to drop the change).
#include "catalog/catalog_contents.h"
#include "catalog/catalog_format.h"
#include "external/trace.h"
#include "import/import_scope.h"
#include "xml/document.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

// Every element with idTmp in the subtree of `node`, the node itself included.
void CollectTemporaryIds(Node node, NodeList* out) {
  if (node.HasAttribute(format::kIdTmp)) out->push_back(node);
  for (Node c = node.FirstChild(); c; c = c.NextSibling()) {
    if (c.IsElement()) CollectTemporaryIds(c, out);
  }
}

}  // namespace

uint32_t CCatalog_Contents::insertXml(std::string_view text, Node parent, NodeList* components) {
  components->clear();
  std::string error;
  std::unique_ptr<xml::Document> fragment = xml::Document::LoadText(text, &error);
  if (!fragment) {
    Trace(kTraceError, "CCatalog_Contents::insertXml", "error loading Xml %s", std::string(text));
    return ZARN_E_DOCUMENT;
  }
  NodeList marked;
  dom().getElementsByXPath(fragment->AsNode(), "//COMPONENT", &marked);
  for (Node c : marked) c.SetAttribute(format::kIdTmp, format::kIdTmp);

  ImportScopeGuard scope(this);
  uint32_t rc = 0;
  const Node top = fragment->Root();
  xml::OwnedNode imported = top && document() ? document()->ImportNode(top) : xml::OwnedNode();
  if (imported) {
    const std::optional<std::string> id = imported.get().Attribute(format::kId);
    const std::string name = imported.get().LocalName();
    if (id && !name.empty() && parent) {
      for (Node c = parent.FirstChild(); c; c = c.NextSibling()) {
        if (c.IsElement() && c.Name() == name && c.Attribute(format::kId) == id) {
          RemoveNode(c);
          break;
        }
      }
    }
    if (parent) {
      const Node added = parent.AppendChild(std::move(imported));
      NoteCreated(added);
      NodeList tagged;
      CollectTemporaryIds(added, &tagged);
      for (Node n : tagged) SetTemporaryId(n, n.Attribute(format::kIdTmp).value_or(""));
    } else {
      rc = ZARN_E_DOCUMENT;
    }
  }
  for (Node c : TemporaryIdElements()) {
    if (c.Name() == format::kComponent) components->push_back(c);
  }
  ConvertTemporaryIds();
  return rc;
}

}  // namespace zarn
