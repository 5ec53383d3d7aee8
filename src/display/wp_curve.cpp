#include "davodu/display/wp_curve.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpCurve, CWpContent)

CWpCurve::CWpCurve(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpCurve::Initialize() {
  class_name_ = "CWpCurve";
  name_ = type_name_ = title_text_ = "WpCurve";
}

void CWpCurve::Clear() {
  CWpContent::Clear();
  Initialize();
}

float CWpCurve::PtOnCurve(CPoint) const { return static_cast<float>(kFltMax); }

}  // namespace davodu
