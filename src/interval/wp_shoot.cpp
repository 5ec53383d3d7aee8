#include "davodu/interval/wp_shoot.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpShoot, CWpSegment)

CWpShoot::CWpShoot(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpShoot::Initialize() {
  class_name_ = "CWpShoot";
  name_ = type_name_ = title_text_ = "WpShoot";
}

void CWpShoot::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

void CWpShoot::UpdateWithObservee() { InvalidSelf(); }

}  // namespace davodu
