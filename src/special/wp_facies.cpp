#include "davodu/special/wp_facies.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpFacies, CWpSegment)

CWpFacies::CWpFacies(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpFacies::Initialize() {
  class_name_ = "CWpFacies";
  name_ = type_name_ = title_text_ = "WpFacies";
}

void CWpFacies::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

void CWpFacies::UpdateWithObservee() { InvalidSelf(); }

std::string CWpFacies::KindLabel() const { return Gbk("沉积相"); }

}  // namespace davodu
