// The document checks: one walk collects the tree elements with their component
// paths, reports working attributes, placeholders in components, identities on
// levels and level content as it goes, and gathers the relations and file
// references for the checks that need the whole tree.
#include "maintenance/catalog_check.h"

#include <filesystem>
#include <set>
#include <tuple>
#include <unordered_set>

#include "catalog/catalog_format.h"
#include "maintenance/catalog_check_internal.h"
#include "platform/strings.h"
#include "xml/document.h"

namespace zarn {
namespace {

// Elements that form the catalog tree (with an id) and those that are levels.
bool IsTreeElement(std::string_view name) {
  static const std::set<std::string_view> k{"section",        "PROTOCOL",         "CLASSIFICATION",
                                            "MANUFACTURER",   "COMPONENT_FOLDER", "COMPONENT",
                                            "CATALOG_FOLDER", "PI-LIBRARY",       "DEVICE_TYPE"};
  return k.count(name) != 0;
}

bool IsLevel(std::string_view name) {
  return name == "section" || name == "PROTOCOL" || name == "CLASSIFICATION" || name == "MANUFACTURER";
}

// Children that belong to a component or folder, never to a level.
bool IsComponentContent(std::string_view name) {
  static const std::set<std::string_view> k{"ZARN",
                                            "componentZARN",
                                            "INITIAL_VALUES",
                                            "PURPOSE_MAPPING",
                                            "COMPONENT_RELATIONS",
                                            "additionalIdentification",
                                            "componentID",
                                            "DD_REVISION",
                                            "DEVICE_REVISION",
                                            "IMAGE"};
  return k.count(name) != 0;
}

// The file references the checker resolves: the component's own files.
bool IsCheckedReference(std::string_view name) {
  static const std::set<std::string_view> k{"ZARN",          "componentZARN",   "IMAGE",           "GSD",
                                            "DEVICE_MANUAL", "HWCN_DeviceItem", "ADDITIONAL_ZARNS"};
  return k.count(name) != 0;
}

std::string ChildText(Node element, std::string_view name) {
  const Node child = element.FirstChildElement(name);
  return child ? Trim(child.Text()) : std::string();
}

std::string KeyOf(Node element) {
  return CCatalog_Contents::IndexKey(ChildText(element, format::kManufacturer), ChildText(element, format::kDeviceType),
                                     ChildText(element, format::kDeviceRevision));
}

// Where the walk stands.
struct Position {
  std::string path;
  std::string fs_path;  // the nearest fsPath, document form
  bool in_component = false;
  bool in_catalog_folder = false;
  bool in_pi_library = false;
};

class DocumentWalk {
 public:
  explicit DocumentWalk(CheckContext* context) : c_(context) {}

  void Run(Node root) {
    Visit(root, Position());
    CheckRelations();
    CheckIdentities();
  }

 private:
  void Visit(Node element, const Position& at);
  void CheckElement(Node element, const Position& at, const Position& own);
  void CollectReferences(Node element, const Position& own);
  void CheckRelations();
  void CheckRelation(const std::string& owner, Node relation);
  void CheckIdentities();
  bool Carries(const std::string& path, const std::string& key) const;

  CheckContext* c_;
  std::vector<std::pair<std::string, Node>> relations_;  // owner path, COMPONENT_RELATION
  std::vector<std::pair<std::string, Node>> keyed_;      // indexed elements: components, further identities
  std::vector<std::pair<std::string, std::string>> folder_references_;  // owner, referenced path
  std::unordered_set<std::string> carried_;                             // every key the index is built from
};

void DocumentWalk::Visit(Node element, const Position& at) {
  for (Node child = element.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsElement()) continue;
    const std::string name = child.Name();
    Position own = at;
    const std::optional<std::string> id = child.Attribute(format::kId);
    const bool tree = id.has_value() && IsTreeElement(name);
    if (tree) own.path = at.path + "/" + *id;
    if (const auto fs = child.Attribute(format::kFsPath)) own.fs_path = *fs;
    if (name == format::kCatalogFolder) own.in_catalog_folder = true;
    if (name == format::kPiLibrary) own.in_pi_library = true;
    CheckElement(child, at, own);
    if (tree && !own.in_catalog_folder) {
      c_->by_path.emplace(own.path, child);
      if (child.HasAttribute(format::kFsPath)) c_->directories.push_back({own.path, own.fs_path, own.in_pi_library});
      CollectReferences(child, own);
    }
    if (name == format::kComponent && tree && !own.in_catalog_folder) {
      ++c_->result->components;
      if (!child.HasAttribute(format::kIsInvisible)) keyed_.emplace_back(own.path, child);
      own.in_component = true;
    }
    if (name == format::kComponentRelation) {
      ++c_->result->relations;
      relations_.emplace_back(at.path, child);
    }
    if (name == format::kAdditionalIdentification) keyed_.emplace_back(at.path, child);
    if (name == format::kAdditionalIdentification ||
        (name == format::kComponent && !child.HasAttribute(format::kIsInvisible))) {
      if (std::string key = KeyOf(child); !key.empty()) carried_.insert(std::move(key));
    }
    if (name == format::kComponentRef && own.in_catalog_folder)
      folder_references_.emplace_back(at.path, Trim(child.Text()));
    Visit(child, own);
  }
}

void DocumentWalk::CheckElement(Node element, const Position& at, const Position& own) {
  const std::string name = element.Name();
  for (const auto& [attribute, value] : element.Attributes()) {
    if (attribute == format::kIdTmp || value == format::kUpdateThisComponent) {
      c_->Report(Invariant::kNoWorkingAttributes, own.path, attribute + "=\"" + value + "\"",
                 "a working attribute of the import is left");
    }
  }
  if (at.in_component && element.HasAttribute(format::kIsArtificial)) {
    c_->Report(Invariant::kNoPlaceholderInComponent, own.path, name, "a placeholder is left inside a component");
  }
  if (name == format::kAdditionalIdentification) {
    const std::string parent = element.Parent().Name();
    if (parent != format::kComponent && parent != format::kComponentFolder) {
      c_->Report(Invariant::kIdentitiesOnComponents, at.path, element.Attribute(format::kId).value_or(""),
                 "an identity hangs on a " + parent);
    }
  }
  if (IsLevel(name) && element.HasAttribute(format::kId) && !own.in_pi_library) {
    for (Node child = element.FirstChild(); child; child = child.NextSibling()) {
      if (!child.IsElement()) continue;
      const std::string child_name = child.Name();
      const bool identification = (child_name == format::kManufacturer || child_name == format::kDeviceType) &&
                                  !child.HasAttribute(format::kId);
      if (identification || IsComponentContent(child_name)) {
        c_->Report(Invariant::kLevelsHoldNoContent, own.path, child.Name(), "a level holds component content");
      }
    }
  }
}

void DocumentWalk::CollectReferences(Node element, const Position& own) {
  for (Node child = element.FirstChild(); child; child = child.NextSibling()) {
    if (!child.IsElement() || !IsCheckedReference(child.Name())) continue;
    bool listed = false;
    for (Node s = child.FirstChild(); s; s = s.NextSibling()) {
      if (!s.IsElement() || s.Name() != format::kString) continue;
      listed = true;
      c_->references.push_back({own.path, own.fs_path, Trim(s.Text()), own.in_pi_library});
    }
    const std::string value = child.HasAttribute("name") ? child.Attribute("name").value_or("") : Trim(child.Text());
    if (!listed && !value.empty()) c_->references.push_back({own.path, own.fs_path, value, own.in_pi_library});
  }
}

void DocumentWalk::CheckRelations() {
  for (const auto& [owner, relation] : relations_) CheckRelation(owner, relation);
  // One own relation per id and element; one inverse copy per id, element and creator.
  std::set<std::tuple<std::string, std::string, std::string>> seen;
  for (const auto& [owner, relation] : relations_) {
    const bool inverse = static_cast<bool>(relation.FirstChildElement("isInverse"));
    std::string creator;
    if (inverse) {
      const Node components = relation.FirstChildElement("COMPONENTS");
      const Node first = components ? components.FirstChildElement("component") : Node();
      creator = first ? ChildText(first, format::kComponentRef) : std::string();
    }
    const std::string id = relation.Attribute(format::kId).value_or("");
    if (!seen.emplace(owner, id, inverse ? "inverse:" + creator : std::string()).second) {
      c_->Report(Invariant::kRelationsSingleAndResolved, owner, id,
                 inverse ? "a second inverse copy of the relation from " + creator : "a second relation of this id");
    }
  }
  for (const auto& [owner, target] : folder_references_) {
    if (c_->by_path.count(target) == 0) {
      c_->Report(Invariant::kRelationsSingleAndResolved, owner, target, "a catalog-folder reference names nothing");
    }
  }
}

void DocumentWalk::CheckRelation(const std::string& owner, Node relation) {
  const std::string id = relation.Attribute(format::kId).value_or("");
  for (Node cs = relation.FirstChild(); cs; cs = cs.NextSibling()) {
    if (!cs.IsElement() || cs.Name() != "COMPONENTS") continue;
    for (Node entry = cs.FirstChild(); entry; entry = entry.NextSibling()) {
      if (!entry.IsElement() || entry.Name() != "component") continue;
      for (Node ref = entry.FirstChild(); ref; ref = ref.NextSibling()) {
        if (!ref.IsElement() || ref.Name() != format::kComponentRef) continue;
        const std::string target = Trim(ref.Text());
        if (target.empty()) {
          c_->Report(Invariant::kRelationsSingleAndResolved, owner, id + " -> " + ref.Attribute("ref").value_or(""),
                     "the relation names a component by id only");
        } else if (c_->by_path.count(target) == 0) {
          c_->Report(Invariant::kRelationsSingleAndResolved, owner, id + " -> " + target,
                     "the relation names a path that is not in the catalog");
        }
      }
    }
  }
}

bool DocumentWalk::Carries(const std::string& path, const std::string& key) const {
  const auto found = c_->by_path.find(path);
  if (found == c_->by_path.end()) return false;
  if (KeyOf(found->second) == key) return true;
  for (Node child : found->second.ChildElements()) {
    if (child.Name() == format::kAdditionalIdentification && KeyOf(child) == key) return true;
  }
  return false;
}

void DocumentWalk::CheckIdentities() {
  for (const auto& [path, element] : keyed_) {
    const std::string key = KeyOf(element);
    if (key.empty()) continue;
    std::string answer;
    if (!c_->catalog.IndexLookup(key, &answer)) {
      c_->Report(Invariant::kIdentitiesOnComponents, path, "/ident:" + key, "the key is not in the index");
    } else if (!Carries(answer, key)) {
      c_->Report(Invariant::kIdentitiesOnComponents, path, "/ident:" + key,
                 "the key answers " + answer + ", which does not carry it");
    }
  }
  // The index holds no key that no element carries (one left behind by a deletion).
  const size_t indexed = c_->catalog.IndexSize();
  if (indexed > carried_.size()) {
    c_->Report(Invariant::kIdentitiesOnComponents, "", "identification index",
               std::to_string(indexed - carried_.size()) + " key(s) of the index are carried by no element");
  }
}

void CheckDocumentFile(CheckContext* c) {
  std::string error;
  const bool exists = std::filesystem::exists(c->catalog.catalogFile());
  if (!exists) {
    if (c->catalog.root())
      c->Report(Invariant::kDocumentLoads, "", c->catalog.catalogFile(), "the catalog file is missing");
    return;
  }
  const auto document = xml::Document::LoadFile(c->catalog.catalogFile(), &error);
  if (!document || !document->Root() || document->Root().Name() != format::kRootElement) {
    c->Report(Invariant::kDocumentLoads, "", c->catalog.catalogFile(),
              "the catalog file does not load as a catalog: " + error);
  }
}

}  // namespace

std::string_view InvariantName(Invariant invariant) {
  switch (invariant) {
    case Invariant::kDocumentLoads:
      return "document loads";
    case Invariant::kNoWorkingAttributes:
      return "no working attributes";
    case Invariant::kFileReferencesResolve:
      return "file references resolve";
    case Invariant::kNoOrphanFiles:
      return "no orphan files";
    case Invariant::kRelationsSingleAndResolved:
      return "relations single and resolved";
    case Invariant::kIdentitiesOnComponents:
      return "identities on components";
    case Invariant::kLevelsHoldNoContent:
      return "levels hold no component content";
    case Invariant::kNoPlaceholderInComponent:
      return "no placeholder inside a component";
  }
  return "unknown";
}

CatalogCheckResult CheckCatalog(const CCatalog_Contents& catalog) {
  CatalogCheckResult result;
  CheckContext context(catalog, &result);
  CheckDocumentFile(&context);
  if (Node root = catalog.root()) DocumentWalk(&context).Run(root);
  CheckFileArea(&context);
  return result;
}

}  // namespace zarn
