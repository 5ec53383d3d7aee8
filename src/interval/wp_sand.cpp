#include "davodu/interval/wp_sand.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSand, CWpSegment)

CWpSand::CWpSand(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpSand::Initialize() {
  class_name_ = "CWpSand";
  name_ = type_name_ = title_text_ = "WpSand";
}

void CWpSand::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

void CWpSand::UpdateWithObservee() { InvalidSelf(); }

std::string CWpSand::KindLabel() const { return Gbk("砂层"); }

}  // namespace davodu
