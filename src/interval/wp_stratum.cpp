#include "davodu/interval/wp_stratum.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpStratum, CWpSegment)

CWpStratum::CWpStratum(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpStratum::Initialize() {
  class_name_ = "CWpStratum";
  name_ = type_name_ = title_text_ = "WpStratum";
}

void CWpStratum::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

void CWpStratum::UpdateWithObservee() { InvalidSelf(); }

std::string CWpStratum::KindLabel() const { return Gbk("分层"); }

}  // namespace davodu
