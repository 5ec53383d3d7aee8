#include "davodu/special/wp_symble.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSymble, CWpSegment)

CWpSymble::CWpSymble(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpSymble::Initialize() {
  class_name_ = "CWpSymble";
  name_ = type_name_ = title_text_ = "WpSymble";
}

void CWpSymble::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

void CWpSymble::UpdateWithObservee() { InvalidSelf(); }

}  // namespace davodu
