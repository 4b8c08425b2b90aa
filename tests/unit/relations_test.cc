// Relations of catalog components through ZARN_GetRelations and ZARN_FreeRelations.
#include <gtest/gtest.h>

#include <cstddef>

#include "platform/strings.h"
#include "tests/support/catalog_fixture.h"
#include "zarn/catalog_manager.h"

namespace zarn {
namespace {

using testing::ScratchDir;
using testing::TraceCapture;
using testing::WriteFile;

// The host records of this build (64-bit): the header is the truth, pinned here.
static_assert(sizeof(void*) != 8 || sizeof(VARIANT) == 24);
static_assert(sizeof(void*) != 8 ||
              (offsetof(RelationInfo, id) == 0 && offsetof(RelationInfo, isInverse) == 8 &&
               offsetof(RelationInfo, isConditioned) == 9 && offsetof(RelationInfo, componentConditioned) == 10 &&
               offsetof(RelationInfo, minimumConditioned) == 11 && offsetof(RelationInfo, maximumConditioned) == 12 &&
               offsetof(RelationInfo, addressing) == 16 && offsetof(RelationInfo, minimumNumber) == 24 &&
               offsetof(RelationInfo, maximumNumber) == 28 && offsetof(RelationInfo, components) == 32 &&
               offsetof(RelationInfo, next) == 40 && sizeof(RelationInfo) == 48));
static_assert(sizeof(void*) != 8 ||
              (offsetof(RelationComponent, componentId) == 0 && offsetof(RelationComponent, componentRefOrg) == 8 &&
               offsetof(RelationComponent, componentPath) == 16 &&
               offsetof(RelationComponent, autoCreateConditioned) == 24 &&
               offsetof(RelationComponent, autoCreateNoDeleteConditioned) == 25 &&
               offsetof(RelationComponent, minimumConditioned) == 26 &&
               offsetof(RelationComponent, maximumConditioned) == 27 && offsetof(RelationComponent, autoCreate) == 28 &&
               offsetof(RelationComponent, autoCreateNoDelete) == 32 &&
               offsetof(RelationComponent, minimumNumber) == 36 && offsetof(RelationComponent, maximumNumber) == 40 &&
               offsetof(RelationComponent, folderPath) == 48 && offsetof(RelationComponent, ranges) == 56 &&
               offsetof(RelationComponent, next) == 64 && sizeof(RelationComponent) == 72));
static_assert(sizeof(void*) != 8 ||
              (offsetof(RequiredRange, variable) == 0 && offsetof(RequiredRange, minPresent) == 8 &&
               offsetof(RequiredRange, maxPresent) == 9 && offsetof(RequiredRange, minConditioned) == 10 &&
               offsetof(RequiredRange, maxConditioned) == 11 && offsetof(RequiredRange, minValue) == 16 &&
               offsetof(RequiredRange, maxValue) == 40 && offsetof(RequiredRange, maxValues) == 64 &&
               offsetof(RequiredRange, minValues) == 304 && offsetof(RequiredRange, maxPresentN) == 544 &&
               offsetof(RequiredRange, minPresentN) == 554 && offsetof(RequiredRange, maxConditionedN) == 564 &&
               offsetof(RequiredRange, minConditionedN) == 574 && offsetof(RequiredRange, next) == 584 &&
               sizeof(RequiredRange) == 592));
static_assert(sizeof(void*) != 8 || (offsetof(CompAttrInfo, name) == 0 && offsetof(CompAttrInfo, attributes) == 8 &&
                                     offsetof(CompAttrInfo, next) == 16 && offsetof(CompAttrEntry, name) == 0 &&
                                     offsetof(CompAttrEntry, value) == 8 && offsetof(CompAttrEntry, next) == 16));

// A relation of type `type` named `id` referring to the component paths `refs`.
std::string Relation(const std::string& id, const std::string& type, const std::string& refs_xml) {
  return "<COMPONENT_RELATION id='" + id + "'><RELATION_TYPE><" + type + "/></RELATION_TYPE><COMPONENTS>" + refs_xml +
         "</COMPONENTS></COMPONENT_RELATION>";
}
std::string Ref(const std::string& path) {
  return "<component><component_ref>" + path + "</component_ref></component>";
}

const std::string kModules = "/DEVICE/HART/Acme/Modules";
const std::string kHeads = "/DEVICE/HART/Acme/Heads";

const std::string kFull =
    "<COMPONENT_RELATION id='full'><RELATION_TYPE><SIBLING_COMPONENT/></RELATION_TYPE>"
    "<isConditioned>TRUE</isConditioned><isInverse/>"
    "<MINIMUM_NUMBER><isConditioned>false</isConditioned><integer>1</integer></MINIMUM_NUMBER>"
    "<MAXIMUM_NUMBER><isConditioned>true</isConditioned><integer> 4 </integer></MAXIMUM_NUMBER>"
    "<ADDRESSING><slot ref='s1'/><x><y ref='s2'/></x></ADDRESSING>"
    "<COMPONENTS><component><isConditioned>true</isConditioned><component_ref>/DEVICE/HART/Acme/Modules/M1"
    "</component_ref><component_ref_org>m1</component_ref_org>"
    "<AUTO_CREATE><isConditioned>true</isConditioned><integer>2</integer></AUTO_CREATE>"
    "<AUTO_CREATE_NODELETE><integer>3</integer></AUTO_CREATE_NODELETE>"
    "<MAXIMUM_NUMBER><integer>9</integer></MAXIMUM_NUMBER>"
    "<REQUIRED_RANGES><required_range><variable_ref ref='v1'/><unknown_ref ref='u'/>"
    "<MIN_VALUE><integer>5</integer></MIN_VALUE><MAX_VALUE><isConditioned/></MAX_VALUE>"
    "<MAX_VALUE3><float>2.5</float></MAX_VALUE3><MIN_VALUE10><isConditioned/></MIN_VALUE10></required_range>"
    "<required_range><unknown_ref ref='u2'/></required_range></REQUIRED_RANGES></component>"
    "</COMPONENTS></COMPONENT_RELATION>";

const std::string kCatalog =
    "<ZARN_CATALOG><section id='DEVICE'><PROTOCOL id='HART'><MANUFACTURER id='Acme'>"
    "<COMPONENT_FOLDER id='Heads'><componentID>HeadsID</componentID><COMPONENT_RELATIONS>" +
    Relation("fromFolder", "CHILD_COMPONENT", Ref(kModules)) +
    "</COMPONENT_RELATIONS>"
    "<COMPONENT id='Head1'><componentID>Head1</componentID></COMPONENT>"
    "<COMPONENT id='Head2'><COMPONENT_RELATIONS>" +
    Relation("A", "CHILD_COMPONENT", Ref(kModules + "/M1")) + Relation("P", "PARENT_COMPONENT", "") +
    Relation("B", "CHILD_COMPONENT", Ref(kModules + "/M2") + Ref("/DEVICE/NOPE")) + kFull +
    "</COMPONENT_RELATIONS></COMPONENT>"
    "<COMPONENT id='Broken'><COMPONENT_RELATIONS>"
    "<COMPONENT_RELATION id='emptyFlag'><RELATION_TYPE><NEXT_COMPONENT/></RELATION_TYPE><isConditioned/>"
    "</COMPONENT_RELATION>" +
    Relation("emptyValue", "NEXT_COMPONENT",
             Ref(kModules + "/M1") + "<component><component_ref>" + kModules +
                 "/M2</component_ref><REQUIRED_RANGES><required_range><MIN_VALUE><integer/></MIN_VALUE>"
                 "</required_range></REQUIRED_RANGES></component>" +
                 Ref(kModules + "/M1")) +
    Relation("fine", "NEXT_COMPONENT", "") +
    "</COMPONENT_RELATIONS></COMPONENT></COMPONENT_FOLDER>"
    "<COMPONENT_FOLDER id='Modules'><componentID>ModulesID</componentID>"
    "<COMPONENT id='M1'><componentID>M1</componentID></COMPONENT><COMPONENT id='M2'/>"
    "<COMPONENT_FOLDER id='Sub'><COMPONENT id='M3'/></COMPONENT_FOLDER></COMPONENT_FOLDER>"
    "</MANUFACTURER></PROTOCOL></section></ZARN_CATALOG>";

class RelationsTest : public CatalogTest {
 protected:
  void SetUp() override { LoadCatalog(kCatalog); }
  void TearDown() override {
    ZARN_FreeRelations(list_);
    ZARN_ResetCatalog();
  }

  // Reads the relations into list_; returns the code.
  uint32_t Get(int32_t type, const std::string& path) {
    ZARN_FreeRelations(list_);
    list_ = reinterpret_cast<RelationInfo*>(&sentinel_);
    const uint32_t rc = ZARN_GetRelations(type, ToUtf16(path).c_str(), &list_);
    EXPECT_NE(list_, reinterpret_cast<RelationInfo*>(&sentinel_)) << "the chain is always stored";
    if (list_ == reinterpret_cast<RelationInfo*>(&sentinel_)) list_ = nullptr;
    return rc;
  }
  // "id(path,path);id(...)": the relations and the paths of their components.
  std::string Summary() const {
    std::string out;
    for (const RelationInfo* r = list_; r != nullptr; r = r->next) {
      out += (out.empty() ? "" : ";") + ToUtf8(r->id) + "(";
      for (const RelationComponent* c = r->components; c != nullptr; c = c->next) {
        out += ToUtf8(c->componentPath) + (c->next != nullptr ? "," : "");
      }
      out += ")";
    }
    return out;
  }
  const RelationInfo* Find(const std::string& id) const {
    for (const RelationInfo* r = list_; r != nullptr; r = r->next) {
      if (ToUtf8(r->id) == id) return r;
    }
    return nullptr;
  }

  RelationInfo* list_ = nullptr;
  int sentinel_ = 0;
};

TEST_F(RelationsTest, InheritedFromTheFolderAndFannedOutOverItsComponents) {
  ASSERT_EQ(Get(ZARN_RELATION_CHILD, kHeads + "/Head1"), 0u);
  EXPECT_EQ(Summary(), "fromFolder(" + kModules + "/Sub/M3," + kModules + "/M2," + kModules + "/M1)");
  for (const RelationComponent* c = list_->components; c != nullptr; c = c->next) {
    EXPECT_EQ(ToUtf8(c->folderPath), kModules);
    EXPECT_EQ(ToUtf8(c->componentId), "ModulesID") << "the referenced element's componentID";
    EXPECT_EQ(c->componentRefOrg, nullptr);
    EXPECT_EQ(c->ranges, nullptr);
    EXPECT_EQ(c->minimumNumber, -1);
  }
}

TEST_F(RelationsTest, ChainsComeInReverseReadingOrder) {
  ASSERT_EQ(Get(ZARN_RELATION_CHILD, kHeads + "/Head2"), 0u);
  EXPECT_EQ(Summary(), "fromFolder(" + kModules + "/Sub/M3," + kModules + "/M2," + kModules + "/M1);B(" + kModules +
                           "/M2);A(" + kModules + "/M1)");
  ASSERT_EQ(Get(ZARN_RELATION_PARENT, kHeads + "/Head2"), 0u);
  EXPECT_EQ(Summary(), "P()");
  EXPECT_EQ(ToUtf8(list_->addressing), "");
  EXPECT_EQ(list_->minimumNumber, -1);
  EXPECT_EQ(list_->maximumNumber, -1);
}

TEST_F(RelationsTest, NothingApplies) {
  TraceCapture trace;
  EXPECT_EQ(Get(7, kHeads + "/Head2"), ZARN_E_NO_RELATION);
  EXPECT_EQ(list_, nullptr);
  EXPECT_FALSE(trace.entries().empty()) << "the type selection fails and is traced";
  EXPECT_EQ(Get(-1, kHeads + "/Head2"), ZARN_E_NO_RELATION);
  EXPECT_EQ(Get(ZARN_RELATION_PREV, kHeads + "/Head2"), ZARN_E_NO_RELATION);
  EXPECT_EQ(Get(ZARN_RELATION_CHILD, "/DEVICE/NOPE"), ZARN_E_NO_RELATION);
  EXPECT_EQ(Get(ZARN_RELATION_CHILD, ""), ZARN_E_NO_RELATION);
  EXPECT_EQ(ZARN_GetRelations(0, nullptr, &list_), ZARN_E_NO_RELATION);
  EXPECT_EQ(ZARN_FreeRelations(nullptr), 0u);
}

TEST_F(RelationsTest, EveryFieldOfTheRecords) {
  ASSERT_EQ(Get(ZARN_RELATION_SIBLING, kHeads + "/Head2"), 0u);
  const RelationInfo* r = Find("full");
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->isInverse, 1);
  EXPECT_EQ(r->isConditioned, 1);
  EXPECT_EQ(r->componentConditioned, 1);
  EXPECT_EQ(r->minimumConditioned, 0);
  EXPECT_EQ(r->maximumConditioned, 1);
  EXPECT_EQ(r->minimumNumber, 1);
  EXPECT_EQ(r->maximumNumber, 4);
  EXPECT_EQ(ToUtf8(r->addressing), "s1;s2");
  const RelationComponent* c = r->components;
  ASSERT_NE(c, nullptr);
  EXPECT_EQ(c->next, nullptr);
  EXPECT_EQ(ToUtf8(c->componentId), "M1");
  EXPECT_EQ(ToUtf8(c->componentRefOrg), "m1");
  EXPECT_EQ(ToUtf8(c->componentPath), kModules + "/M1");
  EXPECT_EQ(c->folderPath, nullptr);
  EXPECT_EQ(c->autoCreateConditioned + 10 * c->autoCreateNoDeleteConditioned, 1);
  EXPECT_EQ(c->autoCreate, 2);
  EXPECT_EQ(c->autoCreateNoDelete, 3);
  EXPECT_EQ(c->minimumNumber, -1);
  EXPECT_EQ(c->maximumNumber, 9);
  const RequiredRange* second = c->ranges;
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(ToUtf8(second->variable), "u2");
  EXPECT_EQ(second->minPresent + second->maxPresent, 0);
  const RequiredRange* g = second->next;
  ASSERT_NE(g, nullptr);
  EXPECT_EQ(g->next, nullptr);
  EXPECT_EQ(ToUtf8(g->variable), "v1");
  EXPECT_EQ(g->minPresent, 1);
  EXPECT_EQ(g->minConditioned, 0);
  EXPECT_EQ(VariantString(g->minValue), "5");
  EXPECT_EQ(g->maxPresent, 1);
  EXPECT_EQ(g->maxConditioned, 1);
  EXPECT_EQ(g->maxValue.vt, VT_EMPTY);
  EXPECT_EQ(VariantString(g->maxValues[2]), "2.5");
  EXPECT_EQ(g->maxPresentN[2], 1);
  EXPECT_EQ(g->maxConditionedN[2], 0);
  EXPECT_EQ(g->minPresentN[9] + g->minConditionedN[9], 2);
  int others = 0;
  for (int i = 0; i < 10; ++i) {
    if (i != 2) others += g->maxPresentN[i] + g->maxConditionedN[i] + (g->maxValues[i].vt != VT_EMPTY);
    if (i != 9) others += g->minPresentN[i] + g->minConditionedN[i] + (g->minValues[i].vt != VT_EMPTY);
  }
  EXPECT_EQ(others, 0);
}

TEST_F(RelationsTest, AFailingRelationStopsAloneAndKeepsWhatWasLinked) {
  ASSERT_EQ(Get(ZARN_RELATION_NEXT, kHeads + "/Broken"), 0u);
  EXPECT_EQ(Summary(), "fine();emptyValue(" + kModules + "/M2," + kModules + "/M1)")
      << "emptyFlag is skipped; emptyValue stops at its second component";
  const RelationComponent* stopped = Find("emptyValue")->components;
  ASSERT_NE(stopped->ranges, nullptr);
  EXPECT_EQ(stopped->ranges->minPresent, 0);
}

}  // namespace
}  // namespace zarn
