// The protocol of a device description that has no COMPONENT to name it. Such a
// description still tells: some definitions exist in one protocol only (function
// blocks in FF, numbered commands in HART, slot/index commands in PROFIBUS), and
// FF numbers its manufacturers with 24 bits where the others use 16.
#ifndef ZARN_LIBS_COMPILER_PROTOCOL_HINTS_H_
#define ZARN_LIBS_COMPILER_PROTOCOL_HINTS_H_

#include <optional>
#include <string>
#include <string_view>

#include "libs/compiler/lexer.h"
#include "libs/compiler/xml_element.h"

namespace zarnl {

class ProtocolHints {
 public:
  // A top-level definition the compiler skips: its keyword and its tokens
  // [begin, end) from the keyword on.
  void NoteSkippedDefinition(std::string_view keyword, const TokenList& tokens, size_t begin, size_t end);
  void NoteComponent() { has_component_ = true; }

  // <PROTOCOL name="..." from="..."/> for a description without COMPONENT whose
  // protocol can be told, decided in this order: FF function blocks, HART numbered
  // commands, PROFIBUS slot/index commands, a manufacturer number above 0xFFFF (FF).
  std::optional<XmlElement> Decide(const XmlElement& identification) const;

 private:
  bool has_component_ = false;
  bool blocks_ = false;
  bool numbered_commands_ = false;
  bool addressed_commands_ = false;
};

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_PROTOCOL_HINTS_H_
