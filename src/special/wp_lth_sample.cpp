#include "davodu/special/wp_lth_sample.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpLthSample, CWpSegment)

CWpLthSample::CWpLthSample(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpLthSample::Initialize() {
  class_name_ = "CWpLthSample";
  name_ = type_name_ = title_text_ = "WpLthSample";
}

void CWpLthSample::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

void CWpLthSample::UpdateWithObservee() { InvalidSelf(); }

}  // namespace davodu
