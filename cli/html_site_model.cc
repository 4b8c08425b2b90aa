// Gathering the catalog for export-html: the tree from the log paths (mode 1, one
// level at a time, as `tree` does), the components from the log paths of every
// component, their attributes, texts per language and relations.
#include <algorithm>
#include <map>
#include <string>

#include "cli/command.h"
#include "cli/html_site.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

constexpr int kMaxDepth = 64;

// Attributes whose values name files of the component's directory.
bool IsFileAttribute(const std::string& name) {
  static const char* const kNames[] = {"ZARN", "GSD", "IMAGE", "DEVICE_MANUAL", "componentZARN", "HWCN_DeviceItem"};
  return std::any_of(std::begin(kNames), std::end(kNames), [&](const char* n) { return name == n; });
}

std::string Text(const char16_t* s) { return s == nullptr ? std::string() : U(s); }

std::string ChildPath(const std::string& parent, const std::string& id) {
  return (parent == "/" ? "" : parent) + "/" + id;
}

std::vector<std::string> AllComponentPaths() {
  std::vector<std::string> out;
  LogPathEntry* head = nullptr;
  if (ZARN_GetLogPaths(u"/", &head, 0, 0) != 0) return out;
  for (const LogPathEntry* e = head; e != nullptr; e = e->next) {
    if (e->path != nullptr) out.push_back(U(e->path));
  }
  ZARN_FreeLogPaths(head);
  std::reverse(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

void ReadAttributes(SiteComponent* c) {
  CompAttrInfo* list = nullptr;
  const std::u16string wide = W(c->path);
  if (ZARN_GetComponentAttributes(wide.c_str(), &list) != 0) return;
  if (list != nullptr) {
    for (const CompAttrEntry* a = list->attributes; a != nullptr; a = a->next) {
      const std::string name = Text(a->name);
      const std::string value = Text(a->value);
      c->attributes.push_back({name, value});
      if (!IsFileAttribute(name) || value.empty()) continue;
      if (std::find(c->files.begin(), c->files.end(), value) == c->files.end()) c->files.push_back(value);
      if (name == "IMAGE") c->image = value;
    }
  }
  ZARN_FreeCompAttrInfoList(list);
  std::reverse(c->attributes.begin(), c->attributes.end());
  std::sort(c->files.begin(), c->files.end());
}

std::string Bound(uint8_t present, uint8_t conditioned, const VARIANT& v) {
  if (present == 0) return "";
  return conditioned != 0 ? "?" : VariantString(v);
}

// The components a component's own relations offer (an ancestor's relations, which
// the export also reports for the component, are left to the ancestor).
void ReadOffers(SiteComponent* c, const std::vector<std::string>& inherited) {
  RelationInfo* list = nullptr;
  const std::u16string wide = W(c->path);
  if (ZARN_GetRelations(ZARN_RELATION_CHILD, wide.c_str(), &list) != 0) return;
  for (const RelationInfo* r = list; r != nullptr; r = r->next) {
    const std::string id = Text(r->id);
    if (r->isInverse != 0 || std::find(inherited.begin(), inherited.end(), id) != inherited.end()) continue;
    std::map<std::string, size_t> folders;  // a folder's components make one offer
    for (const RelationComponent* m = r->components; m != nullptr; m = m->next) {
      const std::string folder = Text(m->folderPath);
      if (!folder.empty() && folders.count(folder) != 0) {
        ++c->offers[folders[folder]].components;
        continue;
      }
      if (!folder.empty()) folders[folder] = c->offers.size();
      SiteOffer offer{folder.empty() ? Text(m->componentPath) : folder, id, m->minimumNumber, m->maximumNumber, {}};
      offer.components = 1;
      offer.folder = !folder.empty();
      for (const RequiredRange* g = m->ranges; g != nullptr; g = g->next) {
        offer.ranges.push_back(Text(g->variable) + " " + Bound(g->minPresent, g->minConditioned, g->minValue) + ".." +
                               Bound(g->maxPresent, g->maxConditioned, g->maxValue));
      }
      c->offers.push_back(std::move(offer));
    }
  }
  ZARN_FreeRelations(list);
  std::reverse(c->offers.begin(), c->offers.end());
}

// The ids of the child relations that `path` reports (its own and its ancestors').
std::vector<std::string> RelationIds(const std::string& path) {
  std::vector<std::string> ids;
  RelationInfo* list = nullptr;
  const std::u16string wide = W(path);
  if (ZARN_GetRelations(ZARN_RELATION_CHILD, wide.c_str(), &list) != 0) return ids;
  for (const RelationInfo* r = list; r != nullptr; r = r->next) ids.push_back(Text(r->id));
  ZARN_FreeRelations(list);
  return ids;
}

// The nearest ancestor path of `path` that is a component, "" when none.
std::string ComponentAncestor(const Site& site, std::string path) {
  for (size_t slash = path.rfind('/'); slash != std::string::npos && slash > 0; slash = path.rfind('/')) {
    path.resize(slash);
    if (site.by_path.count(path) != 0) return path;
  }
  return std::string();
}

// The label of every component in the catalog language, by path (one call).
std::map<std::string, std::string> AllLabels() {
  std::map<std::string, std::string> out;
  LogPathEntry* head = nullptr;
  if (ZARN_GetLogPaths(u"/", &head, 0, 0) != 0) return out;
  for (const LogPathEntry* e = head; e != nullptr; e = e->next) {
    if (e->path != nullptr) out[U(e->path)] = Text(e->label);
  }
  ZARN_FreeLogPaths(head);
  return out;
}

void SetLanguage(const std::string& code) {
  const std::u16string wide = W(code);
  ZARN_SetCatalogLanguage(wide.c_str());
}

// LABEL and HELP of one component in the catalog language, where they differ from
// the default texts.
void ReadTranslation(SiteComponent* c, const std::string& language) {
  CompAttrInfo* list = nullptr;
  const std::u16string wide = W(c->path);
  if (ZARN_GetComponentAttributes(wide.c_str(), &list) != 0) return;
  for (const CompAttrEntry* a = list != nullptr ? list->attributes : nullptr; a != nullptr; a = a->next) {
    const std::string name = Text(a->name);
    std::vector<SiteText>* texts = name == "LABEL" ? &c->labels : name == "HELP" ? &c->helps : nullptr;
    const std::string text = Text(a->value);
    if (texts == nullptr || text.empty() || (!texts->empty() && texts->front().text == text)) continue;
    texts->push_back({language, text});
  }
  ZARN_FreeCompAttrInfoList(list);
}

// The default texts come with the attributes; a language is held when some label
// differs from its default one (found with one call per language), and only the
// held languages are read component by component.
void ReadTexts(Site* site, const std::vector<std::string>& languages) {
  for (SiteComponent& c : site->components) {
    for (const auto& [name, value] : c.attributes) {
      if (name == "LABEL" && !value.empty()) c.labels.push_back({"", value});
      if (name == "HELP" && !value.empty()) c.helps.push_back({"", value});
    }
  }
  site->languages.push_back("");
  const std::map<std::string, std::string> defaults = AllLabels();
  for (size_t i = 1; i < languages.size(); ++i) {
    SetLanguage(languages[i]);
    if (AllLabels() == defaults) continue;
    site->languages.push_back(languages[i]);
    for (SiteComponent& c : site->components) ReadTranslation(&c, languages[i]);
  }
  if (!languages.empty()) SetLanguage(languages[0]);
}

std::vector<SiteNode> Children(const Site& site, const std::string& path, int depth) {
  std::vector<SiteNode> out;
  LogPathEntry* head = nullptr;
  const std::u16string wide = W(path);
  if (depth >= kMaxDepth || ZARN_GetLogPaths(wide.c_str(), &head, 0, 1) != 0) return out;
  for (const LogPathEntry* e = head; e != nullptr; e = e->next) {
    if (e->path == nullptr) continue;
    SiteNode node;
    node.id = U(e->path);
    node.label = e->label != nullptr ? U(e->label) : node.id;
    node.path = ChildPath(path, node.id);
    const auto it = site.by_path.find(node.path);
    if (it != site.by_path.end()) node.component = it->second;
    out.insert(out.begin(), std::move(node));
  }
  ZARN_FreeLogPaths(head);
  for (SiteNode& node : out) node.children = Children(site, node.path, depth + 1);
  return out;
}

}  // namespace

std::string SiteComponent::Attribute(const std::string& name) const {
  for (const auto& [n, v] : attributes) {
    if (n == name) return v;
  }
  return std::string();
}

Site GatherSite(const std::vector<std::string>& languages) {
  Site site;
  if (!languages.empty()) SetLanguage(languages[0]);
  for (const std::string& path : AllComponentPaths()) {
    site.by_path[path] = static_cast<int>(site.components.size());
    SiteComponent c;
    c.path = path;
    c.id = path.substr(path.rfind('/') + 1);
    site.components.push_back(std::move(c));
  }
  // A component inside a component whose relations offer modules (the modules of a
  // GSD station) is one of those modules: the station's relation, which the export
  // reports for each of them too, is read once, for the station.
  std::map<std::string, std::vector<std::string>> relations_of;  // component path -> relation ids
  for (SiteComponent& c : site.components) {
    ReadAttributes(&c);
    const std::string ancestor = ComponentAncestor(site, c.path);
    auto known = relations_of.find(ancestor);
    if (!ancestor.empty() && known == relations_of.end()) {
      known = relations_of.emplace(ancestor, RelationIds(ancestor)).first;
    }
    if (!ancestor.empty() && !known->second.empty()) continue;
    ReadOffers(&c, ancestor.empty() ? std::vector<std::string>() : known->second);
  }
  for (const SiteComponent& c : site.components) {
    for (const SiteOffer& offer : c.offers) {
      const auto it = site.by_path.find(offer.path);
      if (it == site.by_path.end()) continue;
      std::vector<std::string>& fits = site.components[it->second].fits;
      if (std::find(fits.begin(), fits.end(), c.path) == fits.end()) fits.push_back(c.path);
    }
  }
  ReadTexts(&site, languages);
  site.roots = Children(site, "/", 0);
  return site;
}

}  // namespace zarn::cli
