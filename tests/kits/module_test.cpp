#include "davodu/kits/module.h"

#include <gtest/gtest.h>

#include <memory>

#include "davodu/davodu.h"

namespace davodu {
namespace {

struct Deleter {
  void operator()(CZuObject* o) const { AfxGetObjectFactory()->DeleteObject(o); }
};
using Owned = std::unique_ptr<CZuObject, Deleter>;

TEST(Module, RegistersTheKitClassesInOrderOnce) {
  EXPECT_EQ(DaVoduAttach(), 1);
  EXPECT_EQ(DaVoduAttach(), 1);
  const auto& classes = RegisteredKitClasses();
  ASSERT_EQ(classes.size(), 23u);
  EXPECT_STREQ(classes.front()->class_name, "CWpWell");
  EXPECT_STREQ(classes[14]->class_name, "CWpStratum");
  EXPECT_STREQ(classes.back()->class_name, "CWpIntegratedCore");
  // And the perforation column, which chart templates make.
  int registered = 0;
  for (const CRuntimeClass* c : AfxGetObjectFactory()->GetClasses())
    registered += c->class_name[0] == 'C' && c->class_name[1] == 'W' ? 1 : 0;
  EXPECT_EQ(registered, 24);
  Owned shoot(AfxGetObjectFactory()->CreateObject("CWpShoot"));
  ASSERT_NE(shoot, nullptr);
  EXPECT_EQ(static_cast<CWpKit*>(shoot.get())->GetWpKitType(), 16);
}

TEST(Module, FactoryCreatesKitsWithTheirTypeCodes) {
  DaVoduAttach();
  const struct {
    const char* name;
    int type;
  } cases[] = {
      {"CWpWell", 1},         {"CWpTrack", 3},         {"CWpDepth", 4},
      {"CWpCurve", 6},        {"CWpSegment", 9},       {"CWpSand", 18},
      {"CWpFacies", 17},      {"CWpCorelith", 15},     {"CWpPicture", 10},
      {"CWpOilTest", 8},      {"CWpText", 13},         {"CWpParam", 5},
      {"CWpResult", 7},       {"CWpLthSample", 14},    {"CWpStratum", 20},
      {"CWpSymbleShoot", 26}, {"CWpSymbleCycle", 25},  {"CWpSymbleTexture", 24},
      {"CWpWaterEntry", 12},  {"CWpSandStratum", 21},  {"CWpProgram", 23},
      {"CWpSidewallCore", 5}, {"CWpIntegratedCore", 9},
  };
  for (const auto& c : cases) {
    Owned obj(AfxGetObjectFactory()->CreateObject(c.name));
    auto* kit = dynamic_cast<CWpKit*>(obj.get());
    ASSERT_NE(kit, nullptr) << c.name;
    EXPECT_EQ(kit->GetWpKitType(), c.type) << c.name;
    EXPECT_EQ(kit->GetClassName(), c.name);
    EXPECT_STREQ(kit->GetRuntimeClass()->class_name, c.name);
    EXPECT_EQ(kit->GetLayer(), nullptr);
  }
}

TEST(Module, BaseClassesAreNotCreatableByName) {
  DaVoduAttach();
  for (const char* name : {"CWpKit", "CWpInWell", "CWpContent", "CWpSymble", "", "cwpwell",
                           "CZuObject"})
    EXPECT_EQ(AfxGetObjectFactory()->CreateObject(name), nullptr) << name;
  // They still have create functions of their own.
  Owned symble(CWpSymble::CreateObject());
  ASSERT_NE(symble, nullptr);
}

TEST(Module, KindOfFollowsTheClassTree) {
  DaVoduAttach();
  Owned param(AfxGetObjectFactory()->CreateObject("CWpParam"));
  EXPECT_TRUE(param->IsKindOf(DAVODU_RUNTIME_CLASS(CWpContent)));
  EXPECT_TRUE(param->IsKindOf(DAVODU_RUNTIME_CLASS(CWpInWell)));
  EXPECT_FALSE(param->IsKindOf(DAVODU_RUNTIME_CLASS(CWpSegment)));
  Owned cycle(AfxGetObjectFactory()->CreateObject("CWpSymbleCycle"));
  EXPECT_TRUE(cycle->IsKindOf(DAVODU_RUNTIME_CLASS(CWpSymble)));
  EXPECT_TRUE(cycle->IsKindOf(DAVODU_RUNTIME_CLASS(CWpSegment)));
  EXPECT_NE(dynamic_cast<Observer*>(cycle.get()), nullptr);
  Owned curve(AfxGetObjectFactory()->CreateObject("CWpCurve"));
  EXPECT_EQ(dynamic_cast<Observer*>(curve.get()), nullptr);
  Owned well(AfxGetObjectFactory()->CreateObject("CWpWell"));
  EXPECT_FALSE(well->IsKindOf(DAVODU_RUNTIME_CLASS(CWpInWell)));
}

TEST(Module, ContentKindNames) {
  DaVoduAttach();
  EXPECT_EQ(ContentKindName(0), Gbk("内容"));
  EXPECT_EQ(ContentKindName(1), Gbk("曲线"));
  EXPECT_EQ(ContentKindName(22), Gbk("深度"));
  EXPECT_EQ(ContentKindName(23), "");
  EXPECT_EQ(ContentKindName(-1), "");
}

}  // namespace
}  // namespace davodu
