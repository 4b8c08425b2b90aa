#include "libs/compiler/protocol_hints.h"

#include <cstdlib>

namespace zarnl {
namespace {

XmlElement Protocol(const char* name, const char* from) {
  XmlElement e("PROTOCOL");
  e.Set("name", name).Set("from", from);
  return e;
}

}  // namespace

void ProtocolHints::NoteSkippedDefinition(std::string_view keyword, const TokenList& tokens, size_t begin, size_t end) {
  if (keyword == "BLOCK") {
    blocks_ = true;
    return;
  }
  if (keyword != "COMMAND") return;
  // The command's own attributes, at the first level of its braces.
  int depth = 0;
  for (size_t i = begin; i < end; ++i) {
    const Token& t = tokens[i];
    if (t.IsPunct("{"))
      ++depth;
    else if (t.IsPunct("}"))
      --depth;
    else if (depth == 1 && t.IsWord("NUMBER"))
      numbered_commands_ = true;
    else if (depth == 1 && (t.IsWord("SLOT") || t.IsWord("INDEX")))
      addressed_commands_ = true;
  }
}

std::optional<XmlElement> ProtocolHints::Decide(const XmlElement& identification) const {
  if (has_component_) return std::nullopt;
  if (blocks_) return Protocol("FF", "BLOCK definitions");
  if (numbered_commands_) return Protocol("HART", "COMMAND definitions with NUMBER");
  if (addressed_commands_) return Protocol("PROFIBUS", "COMMAND definitions with SLOT and INDEX");
  if (const XmlElement* m = identification.Child("MANUFACTURER")) {
    const std::string value = m->Attribute("value");
    if (!value.empty() && std::strtoull(value.c_str(), nullptr, 10) > 0xFFFF) {
      return Protocol("FF", "a 24-bit MANUFACTURER number");
    }
  }
  return std::nullopt;
}

}  // namespace zarnl
