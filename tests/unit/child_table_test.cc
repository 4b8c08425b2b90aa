// The table of children by name and id behind folder and level lookups: after any
// kind of change through the xml layer it answers what a walk over the children
// answers, also for ids given as idTmp and for names and ids in other case.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "catalog/child_table.h"
#include "xml/document.h"

namespace zarn {
namespace {

constexpr int kChildren = 200;  // enough for the table to be used

std::unique_ptr<xml::Document> Folder() {
  std::string text = "<R><F id=\"top\">";
  for (int i = 0; i < kChildren; ++i) {
    text += "<COMPONENT id=\"C" + std::to_string(i) + "\"/><COMPONENT_FOLDER id=\"C" + std::to_string(i) + "\"/>";
  }
  text += "<LABEL/></F></R>";
  std::string error;
  return xml::Document::LoadText(text, &error);
}

Node Top(const xml::Document& doc) { return doc.Root().FirstChild(); }

NodeList Walk(Node parent, std::string_view name, std::string_view id) {
  NodeList out;
  for (Node c = parent.FirstChild(); c; c = c.NextSibling()) {
    if (CDOMHelper::IsNamedWithId(c, name, id)) out.push_back(c);
  }
  return out;
}

Node Child(const xml::Document& doc, int index) {
  Node c = Top(doc).FirstChild();
  for (int i = 0; i < index; ++i) c = c.NextSibling();
  return c;
}

struct Change {
  const char* what;
  std::function<void(xml::Document*)> apply;
};

TEST(ChildTableTest, AnswersLikeAWalkAfterEveryKindOfChange) {
  const Change changes[] = {
      {"appended", [](xml::Document* d) { Top(*d).AppendElement("COMPONENT").SetAttribute("id", "new"); }},
      {"appended, then its id changed",
       [](xml::Document* d) {
         Node n = Top(*d).AppendElement("COMPONENT");
         n.SetAttribute("id", "new");
         (void)ChildrenNamedWithId(Top(*d), "COMPONENT", "new");
         n.SetAttribute("id", "C7");
       }},
      {"last child's id changed", [](xml::Document* d) { Top(*d).AppendElement("X").SetAttribute("id", "C3"); }},
      {"middle child's id changed", [](xml::Document* d) { Child(*d, 6).SetAttribute("id", "C9"); }},
      {"middle child's idTmp set", [](xml::Document* d) { Child(*d, 10).SetAttribute("idTmp", "c1"); }},
      {"middle child's id removed", [](xml::Document* d) { Child(*d, 2).RemoveAttribute("id"); }},
      {"middle child removed", [](xml::Document* d) { Child(*d, 2).Remove(); }},
      {"middle child detached", [](xml::Document* d) { (void)Child(*d, 4).Detach(); }},
      {"inserted before",
       [](xml::Document* d) {
         Node top = Top(*d);
         top.InsertBefore(d->CreateElement("COMPONENT"), top.FirstChild()).SetAttribute("id", "C1");
       }},
      {"children replaced by text", [](xml::Document* d) { Top(*d).SetText("gone"); }},
  };
  const char* ids[] = {"C1", "c1", "C3", "C7", "C9", "new", "C2", "top"};
  for (const Change& change : changes) {
    SCOPED_TRACE(change.what);
    std::unique_ptr<xml::Document> doc = Folder();
    for (const char* id : ids) (void)ChildrenNamedWithId(Top(*doc), "COMPONENT", id);
    (void)FirstChildNamed(Top(*doc), "LABEL");
    change.apply(doc.get());
    for (const char* name : {"COMPONENT", "component_folder", "X"}) {
      for (const char* id : ids) {
        EXPECT_EQ(ChildrenNamedWithId(Top(*doc), name, id), Walk(Top(*doc), name, id)) << name << " " << id;
      }
    }
    EXPECT_EQ(FirstChildNamed(Top(*doc), "LABEL"), Top(*doc).FirstChildElement("LABEL"));
    EXPECT_EQ(FirstChildNamed(Top(*doc), "X"), Top(*doc).FirstChildElement("X"));
  }
}

// A table outlives neither its parent nor its document: a new document whose
// nodes may sit where the old ones were is answered from its own children.
TEST(ChildTableTest, ForgetsFreedDocuments) {
  for (int round = 0; round < 5; ++round) {
    std::unique_ptr<xml::Document> doc = Folder();
    if (round % 2 == 1) Top(*doc).AppendElement("COMPONENT").SetAttribute("id", "odd");
    EXPECT_EQ(ChildrenNamedWithId(Top(*doc), "COMPONENT", "odd").size(), round % 2 == 1 ? 1u : 0u);
    EXPECT_EQ(ChildrenNamedWithId(Top(*doc), "COMPONENT", "C5").size(), 1u);
  }
}

}  // namespace
}  // namespace zarn
