// zarn-catalog relations TYPE PATH: the relations of one type that apply to a
// catalog element.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command.h"
#include "platform/strings.h"
#include "zarn/catalog_manager.h"

namespace zarn::cli {
namespace {

constexpr const char* kTypeNames[] = {"child", "parent",           "sibling",           "prev",
                                      "next",  "successor-change", "predecessor-change"};

// A type number, or one of the names above. False when it is neither.
bool ParseType(const std::string& text, int32_t* type) {
  for (int32_t i = 0; i < 7; ++i) {
    if (EqualsNoCase(text, kTypeNames[i])) {
      *type = i;
      return true;
    }
  }
  char* end = nullptr;
  const long number = std::strtol(text.c_str(), &end, 10);
  *type = static_cast<int32_t>(number);
  return end != text.c_str() && *end == '\0';
}

std::string Text(const char16_t* s) { return s == nullptr ? std::string() : U(s); }
std::string JsonText(const char16_t* s) { return s == nullptr ? "null" : JsonString(U(s)); }

// "min 1 max 5 max3 [cond]" for the bounds a range holds.
std::string DescribeBounds(const RequiredRange& r) {
  std::string out;
  const auto bound = [&](const char* name, uint8_t present, uint8_t conditioned, const VARIANT& v) {
    if (present == 0) return;
    out += std::string(" ") + name + "=" + (conditioned != 0 ? "<conditioned>" : VariantString(v));
  };
  bound("MIN_VALUE", r.minPresent, r.minConditioned, r.minValue);
  bound("MAX_VALUE", r.maxPresent, r.maxConditioned, r.maxValue);
  for (int i = 0; i < 10; ++i) {
    bound(("MIN_VALUE" + std::to_string(i + 1)).c_str(), r.minPresentN[i], r.minConditionedN[i], r.minValues[i]);
    bound(("MAX_VALUE" + std::to_string(i + 1)).c_str(), r.maxPresentN[i], r.maxConditionedN[i], r.maxValues[i]);
  }
  return out;
}

void PrintText(const RelationInfo* list) {
  for (const RelationInfo* r = list; r != nullptr; r = r->next) {
    std::printf("relation %s  min %d%s  max %d%s%s%s%s  addressing \"%s\"\n", Text(r->id).c_str(), r->minimumNumber,
                r->minimumConditioned ? "?" : "", r->maximumNumber, r->maximumConditioned ? "?" : "",
                r->isInverse ? "  inverse" : "", r->isConditioned ? "  conditioned" : "",
                r->componentConditioned ? "  component-conditioned" : "", Text(r->addressing).c_str());
    for (const RelationComponent* c = r->components; c != nullptr; c = c->next) {
      std::printf("  component %s  id %s  min %d  max %d  auto %d  auto-nodelete %d%s%s\n",
                  Text(c->componentPath).c_str(), Text(c->componentId).c_str(), c->minimumNumber, c->maximumNumber,
                  c->autoCreate, c->autoCreateNoDelete, c->folderPath ? "  via folder " : "",
                  Text(c->folderPath).c_str());
      for (const RequiredRange* g = c->ranges; g != nullptr; g = g->next) {
        std::printf("    range %s%s\n", Text(g->variable).c_str(), DescribeBounds(*g).c_str());
      }
    }
  }
}

std::string JsonVariant(uint8_t present, uint8_t conditioned, const VARIANT& v) {
  if (present == 0) return "null";
  return conditioned != 0 ? "\"<conditioned>\"" : JsonString(VariantString(v));
}

std::string JsonRange(const RequiredRange& g) {
  std::string out = "{\"variable\": " + JsonText(g.variable) +
                    ", \"min\": " + JsonVariant(g.minPresent, g.minConditioned, g.minValue) +
                    ", \"max\": " + JsonVariant(g.maxPresent, g.maxConditioned, g.maxValue);
  for (int i = 0; i < 10; ++i) {
    const std::string n = std::to_string(i + 1);
    out += ", \"min" + n + "\": " + JsonVariant(g.minPresentN[i], g.minConditionedN[i], g.minValues[i]);
    out += ", \"max" + n + "\": " + JsonVariant(g.maxPresentN[i], g.maxConditionedN[i], g.maxValues[i]);
  }
  return out + "}";
}

std::string JsonComponent(const RelationComponent& c) {
  std::string out =
      "{\"componentId\": " + JsonText(c.componentId) + ", \"componentRefOrg\": " + JsonText(c.componentRefOrg) +
      ", \"componentPath\": " + JsonText(c.componentPath) + ", \"folderPath\": " + JsonText(c.folderPath) +
      ", \"autoCreate\": " + std::to_string(c.autoCreate) +
      ", \"autoCreateNoDelete\": " + std::to_string(c.autoCreateNoDelete) +
      ", \"minimum\": " + std::to_string(c.minimumNumber) + ", \"maximum\": " + std::to_string(c.maximumNumber) +
      ", \"ranges\": [";
  for (const RequiredRange* g = c.ranges; g != nullptr; g = g->next) {
    out += (g == c.ranges ? "" : ", ") + JsonRange(*g);
  }
  return out + "]}";
}

void PrintJson(const RelationInfo* list) {
  std::string out = "[";
  for (const RelationInfo* r = list; r != nullptr; r = r->next) {
    out += std::string(r == list ? "" : ", ") + "{\"id\": " + JsonText(r->id) +
           ", \"isInverse\": " + (r->isInverse ? "true" : "false") +
           ", \"isConditioned\": " + (r->isConditioned ? "true" : "false") +
           ", \"addressing\": " + JsonText(r->addressing) + ", \"minimum\": " + std::to_string(r->minimumNumber) +
           ", \"maximum\": " + std::to_string(r->maximumNumber) + ", \"components\": [";
    for (const RelationComponent* c = r->components; c != nullptr; c = c->next) {
      out += (c == r->components ? "" : ", ") + JsonComponent(*c);
    }
    out += "]}";
  }
  std::printf("%s]\n", out.c_str());
}

int RunRelations(const Invocation& in) {
  int32_t type = 0;
  if (in.args.size() != 2 || !ParseType(in.args[0], &type)) {
    std::fprintf(stderr, "error: relations takes a type and a path (see zarn-catalog relations --help)\n");
    return 2;
  }
  if (const uint32_t rc = OpenCatalog(in); rc != 0) return ReportFailure("ZARN_InitCatalogManager", rc);
  RelationInfo* list = nullptr;
  const uint32_t rc = ZARN_GetRelations(type, W(in.args[1]).c_str(), &list);
  if (rc != 0) return ReportFailure("ZARN_GetRelations", rc);
  if (in.json)
    PrintJson(list);
  else
    PrintText(list);
  ZARN_FreeRelations(list);
  return 0;
}

}  // namespace

ZARN_CLI_COMMAND(relations, "relations", "Queries", "list the relations of one type that apply to a catalog element",
                 "TYPE PATH\n\n"
                 "  TYPE  0 child, 1 parent, 2 sibling, 3 prev, 4 next, 5 successor-change,\n"
                 "        6 predecessor-change (number or name)\n"
                 "  PATH  a component path (/DEVICE/HART/...)",
                 RunRelations);

}  // namespace zarn::cli
