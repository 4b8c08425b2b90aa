// The parser: reads the tokens of one preprocessed source and builds its device
// XML element tree (format in docs/device-xml.md). Unknown definitions and
// unknown attributes are skipped whole, with a warning; errors are reported with
// file and line and parsing goes on after them.
#ifndef ZARN_LIBS_COMPILER_PARSER_H_
#define ZARN_LIBS_COMPILER_PARSER_H_

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "libs/compiler/device_configuration.h"
#include "libs/compiler/diagnostics.h"
#include "libs/compiler/lexer.h"
#include "libs/compiler/protocol_hints.h"
#include "libs/compiler/xml_element.h"

namespace zarnl {

// A value as the source gives it, turned into value elements.
struct Value {
  bool conditioned = false;          // given under IF/SELECT: not evaluated
  std::vector<XmlElement> elements;  // value elements (several for a multi-language string)
  std::vector<Token> tokens;         // the tokens of the value
};

// Parses an integer literal (decimal, 0x hexadecimal, leading-0 octal, u/l suffixes).
std::optional<int64_t> ParseIntegerLiteral(std::string_view text);

class Parser {
 public:
  Parser(const TokenList& tokens, const std::vector<std::string>& files, const DeviceConfiguration* configuration,
         Diagnostics* diagnostics)
      : tokens_(tokens), files_(files), configuration_(configuration), diagnostics_(diagnostics) {}

  // Parses the whole source. Appends each definition's element, as XML text
  // indented for a child of the root, to *definitions; returns the IDENTIFICATION
  // element (the header may stand anywhere in the source).
  XmlElement Parse(std::string* definitions);

 private:
  using ItemHandler = std::function<void(bool conditioned)>;
  using AttributeHandler = std::function<void(const std::string& name, XmlElement* parent, bool conditioned)>;

  // --- token navigation and skipping (token_stream.cc)
  const Token& Peek(size_t ahead = 0) const;
  const Token& Next();
  bool AtEnd() const { return Peek().kind == TokenKind::kEnd; }
  bool Accept(const char* punct);
  void Error(const Token& at, const std::string& message);
  void Warning(const Token& at, const std::string& message);
  // Skips a bracketed group; the current token is its opening "{", "(" or "[".
  void SkipBalanced();
  // Skips to the end of an attribute or definition: through a ";" or a "{...}" block
  // at this level, or up to (not through) a "}" that closes the enclosing block.
  void SkipStatement();
  // Skips an attribute the compiler does not use; warns when `name` is not a
  // keyword of the language at all.
  void SkipAttribute(const std::string& name);
  // Skips one list item: up to (not through) "," ";" or "}" at this level.
  void SkipItem();
  // Skips IF (...) {...} ELSE ... or SELECT (...) {...}; the current token is IF or SELECT.
  void SkipConditional();
  // Reads a "{ ... }" block (current token "{"), calling `item` for each item;
  // items are separated by "," or ";"; IF/ELSE and SELECT/CASE inside mark their
  // items conditioned.
  void ParseBlock(const ItemHandler& item, bool conditioned, bool select_body = false);
  void ParseIf(const ItemHandler& item);
  void ParseSelect(const ItemHandler& item);
  // A block when the current token is "{", else one item (an attribute with a list
  // value given without braces).
  void ParseBlockOrItem(const ItemHandler& item, bool conditioned);

  // --- values (value_parser.cc)
  // Reads a value up to (not through) "," ";" or "}" at this level. For the value
  // of `attribute` a known attribute keyword that starts a new line also ends it,
  // with a warning for the missing ";".
  Value ParseValue(const std::string* attribute = nullptr);
  // True (after a warning) when the current token starts the next attribute on a
  // line after `last` without the ";" that should end `attribute`.
  bool MissingSemicolon(const Token& last, const std::string& attribute);
  std::vector<XmlElement> ValueElements(const std::vector<Token>& tokens);
  std::vector<XmlElement> StringElements(const std::vector<Token>& tokens);
  // The default text of a value: a string's default text, else the tokens' text.
  std::string ValueText(const Value& value);
  // A reference such as `name`, `block.param` or `list[2]` up to "=" "," ";" "}".
  std::string ReadReference();
  void EndAttribute() { Accept(";"); }

  // --- definitions (definition_parser.cc)
  void TopLevel();
  void Identification();
  void Definition(const std::string& keyword, const AttributeHandler& attributes);
  void AttributeBlock(XmlElement* element, const AttributeHandler& attributes, bool conditioned);
  void VariableAttribute(const std::string& name, XmlElement* parent, bool conditioned);
  void TypeAttribute(XmlElement* parent, bool conditioned);
  void EnumerationEntry(XmlElement* type, bool conditioned);
  void ComponentAttribute(const std::string& name, XmlElement* parent, bool conditioned);
  void ReferenceAttribute(const std::string& name, XmlElement* parent, bool conditioned);
  void RelationAttribute(const std::string& name, XmlElement* parent, bool conditioned);
  void RelationComponent(XmlElement* components, bool conditioned);
  void RequiredRange(XmlElement* ranges, bool conditioned);
  void InitialValue(XmlElement* values, bool conditioned);
  void PurposeMapping(XmlElement* mapping, bool conditioned);
  // NAME value; written as <NAME>value elements</NAME>.
  void ValueAttribute(const std::string& name, XmlElement* parent, bool conditioned);
  // NAME keyword; written as <NAME key="keyword"/>.
  void NamedAttribute(const std::string& name, const char* key, XmlElement* parent, bool conditioned);
  // NAME { ref, ... }; each as <element ref="..."/>.
  void ReferenceList(const std::string& name, const char* element, XmlElement* parent, bool conditioned);
  // MANUFACTURER/DEVICE_TYPE/DEVICE_REVISION/DD_REVISION with name, value and hex.
  XmlElement IdentificationElement(const std::string& name, const Token& value);
  // Adds value and hex to a DEVICE_TYPE child given as a name, from the device
  // configuration and the MANUFACTURER child.
  void ResolveDeviceType(XmlElement* holder);

  const TokenList& tokens_;
  const std::vector<std::string>& files_;
  const DeviceConfiguration* configuration_;
  Diagnostics* diagnostics_;
  size_t pos_ = 0;
  int depth_ = 0;
  std::string* definitions_ = nullptr;
  XmlElement identification_{"IDENTIFICATION"};
  ProtocolHints protocol_hints_;
};

}  // namespace zarnl

#endif  // ZARN_LIBS_COMPILER_PARSER_H_
