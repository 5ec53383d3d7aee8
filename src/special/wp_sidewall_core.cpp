#include "davodu/special/wp_sidewall_core.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSidewallCore, CWpContent)

CWpSidewallCore::CWpSidewallCore(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpSidewallCore::Initialize() {
  class_name_ = "CWpSidewallCore";
  name_ = type_name_ = title_text_ = "WpSidewallCore";
}

void CWpSidewallCore::Clear() {
  SepFrmObservee();
  CWpContent::Clear();
  Initialize();
}

void CWpSidewallCore::UpdateWithObservee() { InvalidSelf(); }

}  // namespace davodu
