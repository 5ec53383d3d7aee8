#include "davodu/special/wp_facies.h"

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

}  // namespace davodu
