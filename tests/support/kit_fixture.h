// A document with one layer and the module attached, for kit tests.
#ifndef DAVODU_TESTS_SUPPORT_KIT_FIXTURE_H_
#define DAVODU_TESTS_SUPPORT_KIT_FIXTURE_H_

#include <gtest/gtest.h>

#include <vector>

#include "davodu/davodu.h"

namespace davodu::testing {

class KitTest : public ::testing::Test {
 protected:
  KitTest() {
    DaVoduAttach();
    layer = doc.GetActiveMap()->AddLayer("chart");
  }

  // A kit created by class name and owned by the layer.
  template <typename T>
  T* MakeRoot(const char* class_name) {
    auto* kit = dynamic_cast<T*>(AfxGetObjectFactory()->CreateObject(class_name));
    EXPECT_NE(kit, nullptr) << class_name;
    layer->AddObject(kit);
    return kit;
  }
  template <typename T>
  T* Make(const char* class_name) {
    auto* kit = dynamic_cast<T*>(AfxGetObjectFactory()->CreateObject(class_name));
    EXPECT_NE(kit, nullptr) << class_name;
    return kit;
  }

  CZuMapFile doc;
  CZuLayer* layer = nullptr;
};

// A well whose scale segments and fault points are given by the test instead
// of being computed from well data.
class FixedScaleWell : public CWpWell {
 public:
  FixedScaleWell() : CWpWell(nullptr) {}
  std::vector<ZUPOINT3D> segments;
  std::vector<ZUPOINT3D> faults;
  void ScaleSegment() override {
    scale_segments_ = segments;
    fault_info_.points = faults;
  }
};

// Dresses a well's title as the demo chart does: a 6 mm name with a filled
// circle of 3 mm right of it.
inline void DressTitleWithSymbol(CWpWell* well) {
  ZULOGFONT font = well->GetTitleFont();
  font.height = 600;
  well->SetTitleFont(&font);
  ZULOGPOINT symbol = well->GetTypePoint();
  symbol.style = kPointFilledCircle;
  symbol.size = 300;
  well->SetTypePoint(symbol);
  well->SetTypeAlign(4);
}

}  // namespace davodu::testing

#endif  // DAVODU_TESTS_SUPPORT_KIT_FIXTURE_H_
