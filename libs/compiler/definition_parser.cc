// Definitions and their attributes.
#include <set>

#include "libs/compiler/parser.h"
#include "libs/compiler/text_literal.h"
#include "libs/compiler/vocabulary.h"
#include "platform/strings.h"

namespace zarnl {
namespace {

const std::set<std::string, std::less<>>& IdentificationKeywords() {
  static const std::set<std::string, std::less<>> k{"MANUFACTURER", "DEVICE_TYPE", "DEVICE_REVISION", "DD_REVISION"};
  return k;
}

const std::set<std::string, std::less<>>& RelationTypes() {
  static const std::set<std::string, std::less<>> k{
      "CHILD_COMPONENT", "PARENT_COMPONENT",           "SIBLING_COMPONENT",           "NEXT_COMPONENT",
      "PREV_COMPONENT",  "SUCCESSOR_CHANGE_COMPONENT", "PREDECESSOR_CHANGE_COMPONENT"};
  return k;
}

bool IsBound(const std::string& name) {
  for (const char* prefix : {"MIN_VALUE", "MAX_VALUE"}) {
    if (name.rfind(prefix, 0) != 0) continue;
    const std::string rest = name.substr(9);
    if (rest.find_first_not_of("0123456789") == std::string::npos) return true;
  }
  return false;
}

bool IsOneOf(const std::string& s, std::initializer_list<const char*> names) {
  for (const char* n : names) {
    if (s == n) return true;
  }
  return false;
}

void MarkConditioned(XmlElement* e, bool conditioned) {
  if (conditioned) e->Set("conditioned", "true");
}

}  // namespace

XmlElement Parser::Parse(std::string* definitions) {
  definitions_ = definitions;
  while (!AtEnd()) {
    const size_t before = pos_;
    TopLevel();
    if (pos_ == before) Next();
  }
  ResolveDeviceType(&identification_);
  if (auto protocol = protocol_hints_.Decide(identification_)) identification_.Add(std::move(*protocol));
  return std::move(identification_);
}

void Parser::TopLevel() {
  const Token& t = Peek();
  if (t.IsPunct(";") || t.IsPunct(",")) {
    Next();
    return;
  }
  if (t.kind != TokenKind::kIdentifier) {
    Error(t, "expected a definition, found '" + std::string(t.text) + "'");
    if (t.IsPunct("{"))
      SkipBalanced();
    else
      Next();
    return;
  }
  if (IdentificationKeywords().count(t.text) != 0) {
    Identification();
    return;
  }
  const std::string keyword(t.text);
  const bool known =
      IsOneOf(keyword, {"VARIABLE", "COMPONENT", "COMPONENT_FOLDER", "COMPONENT_REFERENCE", "COMPONENT_RELATION"});
  const Token& name = Peek(1);
  if (known && name.kind != TokenKind::kIdentifier) {
    Error(name, "expected a name after " + keyword);
    SkipStatement();
    return;
  }
  if (keyword == "COMPONENT") protocol_hints_.NoteComponent();
  if (known && Peek(2).IsPunct("{")) {
    using namespace std::placeholders;
    if (keyword == "VARIABLE") {
      Definition(keyword, std::bind(&Parser::VariableAttribute, this, _1, _2, _3));
    } else if (keyword == "COMPONENT_REFERENCE") {
      Definition(keyword, std::bind(&Parser::ReferenceAttribute, this, _1, _2, _3));
    } else if (keyword == "COMPONENT_RELATION") {
      Definition(keyword, std::bind(&Parser::RelationAttribute, this, _1, _2, _3));
    } else {
      Definition(keyword, std::bind(&Parser::ComponentAttribute, this, _1, _2, _3));
    }
    return;
  }
  // Every other definition (and a definition with LIKE) is skipped whole.
  if (name.kind != TokenKind::kIdentifier && !name.IsPunct("{")) {
    Error(t, "expected a definition, found '" + std::string(t.text) + "'");
    Next();
    return;
  }
  // "name LIKE KEYWORD base { ... }" is a definition of its own.
  if (!known && !IsSkippedDefinition(keyword) && !name.IsWord("LIKE")) {
    Warning(t, "unknown definition keyword " + keyword + Suggestion(keyword, WordKind::kDefinition));
  }
  const size_t begin = pos_;
  SkipStatement();
  protocol_hints_.NoteSkippedDefinition(keyword, tokens_, begin, pos_);
}

void Parser::Identification() {
  const Token& keyword = Next();
  const Token& value = Peek();
  if (value.kind == TokenKind::kInteger || value.kind == TokenKind::kIdentifier || value.kind == TokenKind::kString ||
      value.kind == TokenKind::kFloat) {
    Next();
    XmlElement e = IdentificationElement(std::string(keyword.text), value);
    for (XmlElement& old : identification_.children) {
      if (old.name == e.name) old = e;
    }
    if (identification_.Child(e.name) == nullptr) identification_.Add(std::move(e));
  } else {
    Error(keyword, "expected a value after " + std::string(keyword.text));
  }
  Accept(",");
}

XmlElement Parser::IdentificationElement(const std::string& name, const Token& value) {
  XmlElement e(name);
  e.Set("name", value.kind == TokenKind::kString ? DecodeStringLiteral(value.text) : value.text);
  if (value.kind == TokenKind::kInteger) {
    if (auto v = ParseIntegerLiteral(value.text)) {
      e.Set("value", std::to_string(*v)).Set("hex", zarn::FormatHex4(static_cast<uint32_t>(*v)));
    }
  }
  return e;
}

void Parser::ResolveDeviceType(XmlElement* holder) {
  {
    XmlElement* type = nullptr;
    std::optional<uint32_t> manufacturer;
    for (XmlElement& c : holder->children) {
      if (c.name == "DEVICE_TYPE" && c.Attribute("value").empty()) type = &c;
      if (c.name == "MANUFACTURER" && !c.Attribute("value").empty()) {
        manufacturer = static_cast<uint32_t>(std::stoull(c.Attribute("value")));
      }
    }
    if (type == nullptr || configuration_ == nullptr) return;
    if (auto v = configuration_->ResolveDeviceType(manufacturer, type->Attribute("name"))) {
      type->Set("value", std::to_string(*v)).Set("hex", zarn::FormatHex4(*v));
    }
  }
}

void Parser::Definition(const std::string& keyword, const AttributeHandler& attributes) {
  const Token& key = Next();
  const Token& name = Next();
  XmlElement e(keyword);
  e.Set("id", name.text).Set("line", std::to_string(key.line));
  AttributeBlock(&e, attributes, false);
  if (keyword == "COMPONENT_REFERENCE") ResolveDeviceType(&e);
  WriteXml(e, 1, definitions_);
}

void Parser::AttributeBlock(XmlElement* element, const AttributeHandler& attributes, bool conditioned) {
  ParseBlock(
      [&](bool c) {
        if (Peek().kind != TokenKind::kIdentifier) return;
        const std::string name(Peek().text);
        attributes(name, element, c);
      },
      conditioned);
}

void Parser::ValueAttribute(const std::string& name, XmlElement* parent, bool conditioned) {
  Next();
  Value v = ParseValue(&name);
  XmlElement e(name);
  MarkConditioned(&e, conditioned || v.conditioned);
  if (!v.conditioned) e.children = std::move(v.elements);
  parent->Add(std::move(e));
  EndAttribute();
}

void Parser::NamedAttribute(const std::string& name, const char* key, XmlElement* parent, bool conditioned) {
  Next();
  Value v = ParseValue(&name);
  XmlElement e(name);
  if (!v.conditioned && !v.tokens.empty()) e.Set(key, ValueText(v));
  MarkConditioned(&e, conditioned || v.conditioned);
  parent->Add(std::move(e));
  EndAttribute();
}

void Parser::ReferenceList(const std::string& name, const char* element, XmlElement* parent, bool conditioned) {
  Next();
  XmlElement list(name);
  MarkConditioned(&list, conditioned);
  ParseBlockOrItem(
      [&](bool c) {
        const std::string ref = ReadReference();
        if (ref.empty()) return;
        XmlElement r(element);
        r.Set("ref", ref);
        MarkConditioned(&r, c);
        list.Add(std::move(r));
      },
      false);
  parent->Add(std::move(list));
  EndAttribute();
}

void Parser::VariableAttribute(const std::string& name, XmlElement* parent, bool conditioned) {
  if (IsOneOf(name, {"LABEL", "HELP", "CLASS", "HANDLING"})) {
    ValueAttribute(name, parent, conditioned);
  } else if (name == "TYPE") {
    TypeAttribute(parent, conditioned);
  } else {
    SkipAttribute(name);
  }
}

void Parser::TypeAttribute(XmlElement* parent, bool conditioned) {
  Next();  // TYPE
  if (Peek().kind != TokenKind::kIdentifier) {
    Error(Peek(), "expected a type name after TYPE");
    SkipStatement();
    return;
  }
  const Token& name = Next();
  if (!IsTypeName(name.text)) {
    Warning(name, "unknown type " + std::string(name.text) + Suggestion(name.text, WordKind::kType));
  }
  XmlElement type("TYPE");
  type.Set("name", name.text);
  MarkConditioned(&type, conditioned);
  if (Peek().IsPunct("(")) {
    const Token& open = Next();
    std::vector<Token> size;
    while (!AtEnd() && !Peek().IsPunct(")") && !Peek().IsPunct(";") && !Peek().IsPunct("{") && !Peek().IsPunct("}")) {
      size.push_back(Next());
    }
    if (!Accept(")")) Error(open, "missing ')' in TYPE size");
    const auto number = size.size() == 1 ? ParseIntegerLiteral(size[0].text) : std::nullopt;
    std::string text;
    for (const Token& t : size) text += t.text;
    type.Set("size", number ? std::to_string(*number) : text);
  }
  const bool has_block = Peek().IsPunct("{");
  if (has_block) {
    ParseBlock(
        [&](bool c) {
          if (Peek().IsPunct("{")) {
            EnumerationEntry(&type, c);
          } else if (Peek().kind == TokenKind::kIdentifier &&
                     (IsBound(std::string(Peek().text)) ||
                      IsOneOf(std::string(Peek().text), {"DEFAULT_VALUE", "INITIAL_VALUE"}))) {
            ValueAttribute(std::string(Peek().text), &type, c);
          } else if (Peek().kind == TokenKind::kIdentifier) {
            SkipAttribute(std::string(Peek().text));
          }
        },
        false);
  }
  parent->Add(std::move(type));
  static const std::string kType = "TYPE";
  if (!has_block && MissingSemicolon(tokens_[pos_ - 1], kType)) return;
  if (!has_block && !Peek().IsPunct(";") && !Peek().IsPunct("}")) {
    SkipStatement();  // further type arguments, such as the array of an INDEX type
  } else {
    EndAttribute();
  }
}

void Parser::EnumerationEntry(XmlElement* type, bool conditioned) {
  const Token& open = Next();  // "{"
  std::vector<Value> fields;
  while (!AtEnd() && !Peek().IsPunct("}")) {
    const size_t before = pos_;
    fields.push_back(ParseValue());
    if (!Accept(",") && !Peek().IsPunct("}")) {
      Error(Peek(), "expected ',' or '}' in enumeration entry, found '" + std::string(Peek().text) + "'");
      SkipItem();
      if (!Peek().IsPunct("}")) break;
    }
    if (pos_ == before) Next();
  }
  if (!Accept("}")) Error(open, "missing '}' for enumeration entry opened here");
  XmlElement entry("ENUMERATION");
  MarkConditioned(&entry, conditioned);
  if (!fields.empty()) {
    for (XmlElement& v : fields[0].elements) entry.Add(std::move(v));
  }
  const char* names[] = {"LABEL", "HELP"};
  for (size_t i = 1; i < fields.size() && i <= 2; ++i) {
    XmlElement e(names[i - 1]);
    MarkConditioned(&e, fields[i].conditioned);
    e.children = std::move(fields[i].elements);
    entry.Add(std::move(e));
  }
  type->Add(std::move(entry));
}

void Parser::ComponentAttribute(const std::string& name, XmlElement* parent, bool conditioned) {
  if (IsOneOf(name, {"LABEL", "HELP", "PRODUCT_URI", "CAN_DELETE", "CHECK_CONFIGURATION", "DETECT", "SCAN", "EDD",
                     "IMAGE", "DEVICE_MANUAL"})) {
    ValueAttribute(name, parent, conditioned);
  } else if (IsOneOf(name, {"PROTOCOL", "CLASSIFICATION", "COMPONENT_PATH"})) {
    NamedAttribute(name, "name", parent, conditioned);
  } else if (name == "COMPONENT_PARENT") {
    NamedAttribute(name, "refid", parent, conditioned);
  } else if (name == "COMPONENT_RELATIONS") {
    ReferenceList(name, "relation_ref", parent, conditioned);
  } else if (IsOneOf(name, {"INITIAL_VALUES", "GSD", "PURPOSE_MAPPING"})) {
    Next();
    XmlElement list(name);
    MarkConditioned(&list, conditioned);
    ParseBlockOrItem(
        [&](bool c) {
          if (name == "INITIAL_VALUES") {
            InitialValue(&list, c);
          } else if (name == "PURPOSE_MAPPING") {
            PurposeMapping(&list, c);
          } else {
            Value v = ParseValue();
            for (XmlElement& s : v.elements) {
              if (s.name != "string" || !s.Attribute("lang").empty()) continue;
              MarkConditioned(&s, c);
              list.Add(std::move(s));
            }
          }
        },
        false);
    parent->Add(std::move(list));
    EndAttribute();
  } else {
    SkipAttribute(name);
  }
}

void Parser::InitialValue(XmlElement* values, bool conditioned) {
  const Token& at = Peek();
  const std::string ref = ReadReference();
  if (ref.empty()) return;
  XmlElement iv("initial_value");
  iv.Add(XmlElement("variable_ref")).Set("ref", ref);
  if (!Accept("=")) {
    Error(at, "expected '=' after '" + ref + "' in INITIAL_VALUES");
    SkipItem();
    return;
  }
  Value v = ParseValue();
  MarkConditioned(&iv, conditioned || v.conditioned);
  if (!v.conditioned) {
    for (XmlElement& e : v.elements) iv.Add(std::move(e));
  }
  values->Add(std::move(iv));
}

void Parser::PurposeMapping(XmlElement* mapping, bool conditioned) {
  if (Peek().kind != TokenKind::kIdentifier) return;
  const Token& variable = Next();
  if (Peek().kind != TokenKind::kIdentifier) {
    Error(variable, "expected a purpose after '" + std::string(variable.text) + "' in PURPOSE_MAPPING");
    SkipItem();
    return;
  }
  XmlElement ref("variable_ref");
  ref.Set("ref", variable.text);
  MarkConditioned(&ref, conditioned);
  mapping->Add(std::move(ref));
  mapping->Add(XmlElement("string", std::string(Next().text)));
}

void Parser::ReferenceAttribute(const std::string& name, XmlElement* parent, bool conditioned) {
  if (IsOneOf(name, {"MANUFACTURER", "DEVICE_TYPE", "DEVICE_REVISION"})) {
    const Token& key = Next();
    Value v = ParseValue(&name);
    XmlElement e = v.tokens.size() == 1 ? IdentificationElement(name, v.tokens[0]) : XmlElement(name);
    if (!v.conditioned && v.tokens.size() != 1) Error(key, "expected one value after " + name);
    MarkConditioned(&e, conditioned || v.conditioned);
    parent->Add(std::move(e));
    EndAttribute();
  } else if (IsOneOf(name, {"PROTOCOL", "CLASSIFICATION", "COMPONENT_PATH", "COMPONENT_PARENT", "LABEL", "HELP"})) {
    ComponentAttribute(name, parent, conditioned);
  } else {
    SkipAttribute(name);
  }
}

void Parser::RelationAttribute(const std::string& name, XmlElement* parent, bool conditioned) {
  if (IsOneOf(name, {"LABEL", "HELP", "MINIMUM_NUMBER", "MAXIMUM_NUMBER"})) {
    ValueAttribute(name, parent, conditioned);
  } else if (name == "RELATION_TYPE") {
    const Token& key = Next();
    Value v = ParseValue(&name);
    XmlElement e("RELATION_TYPE");
    MarkConditioned(&e, conditioned || v.conditioned);
    if (v.tokens.size() == 1 && RelationTypes().count(v.tokens[0].text) != 0) {
      e.Add(XmlElement(v.tokens[0].text));
    } else if (!v.conditioned) {
      Error(key, "unknown relation type '" + ValueText(v) + "'");
    }
    parent->Add(std::move(e));
    EndAttribute();
  } else if (name == "ADDRESSING") {
    ReferenceList(name, "variable_ref", parent, conditioned);
  } else if (name == "COMPONENTS") {
    Next();
    XmlElement list(name);
    MarkConditioned(&list, conditioned);
    ParseBlockOrItem([&](bool c) { RelationComponent(&list, c); }, false);
    parent->Add(std::move(list));
    EndAttribute();
  } else {
    SkipAttribute(name);
  }
}

void Parser::RelationComponent(XmlElement* components, bool conditioned) {
  const std::string ref = ReadReference();
  if (ref.empty()) return;
  XmlElement component("component");
  MarkConditioned(&component, conditioned);
  component.Add(XmlElement("component_ref")).Set("ref", ref);
  if (Peek().IsPunct("{")) {
    AttributeBlock(
        &component,
        [&](const std::string& name, XmlElement* parent, bool c) {
          if (IsOneOf(name, {"AUTO_CREATE", "AUTO_CREATE_NODELETE", "MINIMUM_NUMBER", "MAXIMUM_NUMBER"})) {
            ValueAttribute(name, parent, c);
          } else if (name == "REQUIRED_RANGES") {
            Next();
            XmlElement ranges(name);
            MarkConditioned(&ranges, c);
            ParseBlockOrItem([&](bool rc) { RequiredRange(&ranges, rc); }, false);
            parent->Add(std::move(ranges));
            EndAttribute();
          } else {
            SkipAttribute(name);
          }
        },
        false);
  }
  components->Add(std::move(component));
}

void Parser::RequiredRange(XmlElement* ranges, bool conditioned) {
  const Token& at = Peek();
  const std::string ref = ReadReference();
  if (ref.empty()) return;
  XmlElement range("required_range");
  MarkConditioned(&range, conditioned);
  range.Add(XmlElement("variable_ref")).Set("ref", ref);
  if (!Peek().IsPunct("{")) {
    Error(at, "expected '{' after required range variable '" + ref + "'");
    SkipItem();
    return;
  }
  AttributeBlock(
      &range,
      [&](const std::string& name, XmlElement* parent, bool c) {
        if (IsBound(name))
          ValueAttribute(name, parent, c);
        else
          SkipAttribute(name);
      },
      false);
  ranges->Add(std::move(range));
}

}  // namespace zarnl
