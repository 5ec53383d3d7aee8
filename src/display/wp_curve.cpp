#include "davodu/display/wp_curve.h"

#include "davodu/host/gbk.h"
#include "davodu/host/util.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpCurve, CWpContent)

CWpCurve::CWpCurve(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpCurve::Initialize() {
  class_name_ = "CWpCurve";
  name_ = type_name_ = title_text_ = "WpCurve";
  unit_text_.clear();
  depths_.clear();
  values_.clear();
}

void CWpCurve::Clear() {
  CWpContent::Clear();
  Initialize();
}

void CWpCurve::SetUnitText(const std::string& unit) {
  unit_text_ = TrimBlanks(unit);
  if (unit_text_ == Gbk("无")) unit_text_.clear();
}

void CWpCurve::SetSamples(std::vector<double> depths, std::vector<double> values) {
  if (depths.size() != values.size()) {
    depths.clear();
    values.clear();
  }
  depths_ = std::move(depths);
  values_ = std::move(values);
}

float CWpCurve::PtOnCurve(CPoint) const { return static_cast<float>(kFltMax); }

}  // namespace davodu
