#include "davodu/interval/wp_oil_test.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpOilTest, CWpContent)

CWpOilTest::CWpOilTest(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpOilTest::Initialize() {
  class_name_ = "CWpOilTest";
  name_ = type_name_ = title_text_ = "WpOilTest";
}

void CWpOilTest::Clear() {
  SepFrmObservee();
  CWpContent::Clear();
  Initialize();
}

void CWpOilTest::UpdateWithObservee() { InvalidSelf(); }

std::string CWpOilTest::KindLabel() const { return Gbk("试油"); }

}  // namespace davodu
