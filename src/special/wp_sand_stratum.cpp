#include "davodu/special/wp_sand_stratum.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSandStratum, CWpSegment)

CWpSandStratum::CWpSandStratum(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpSandStratum::Initialize() {
  class_name_ = "CWpSandStratum";
  name_ = type_name_ = title_text_ = "WpSandStratum";
}

void CWpSandStratum::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

void CWpSandStratum::UpdateWithObservee() { InvalidSelf(); }

}  // namespace davodu
