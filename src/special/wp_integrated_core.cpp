#include "davodu/special/wp_integrated_core.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpIntegratedCore, CWpSegment)

CWpIntegratedCore::CWpIntegratedCore(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpIntegratedCore::Initialize() {
  class_name_ = "CWpIntegratedCore";
  name_ = type_name_ = title_text_ = "WpIntegratedCore";
}

void CWpIntegratedCore::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

void CWpIntegratedCore::UpdateWithObservee() { InvalidSelf(); }

}  // namespace davodu
