#include "davodu/interval/wp_corelith.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpCorelith, CWpSegment)

CWpCorelith::CWpCorelith(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpCorelith::Initialize() {
  class_name_ = "CWpCorelith";
  name_ = type_name_ = title_text_ = "WpCorelith";
}

void CWpCorelith::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

void CWpCorelith::UpdateWithObservee() { InvalidSelf(); }

std::string CWpCorelith::KindLabel() const { return Gbk("岩性"); }

}  // namespace davodu
