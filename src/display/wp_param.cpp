#include "davodu/display/wp_param.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpParam, CWpContent)

CWpParam::CWpParam(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpParam::Initialize() {
  class_name_ = "CWpParam";
  name_ = type_name_ = title_text_ = "WpParam";
}

void CWpParam::Clear() {
  SepFrmObservee();
  CWpContent::Clear();
  Initialize();
}

void CWpParam::UpdateWithObservee() { InvalidSelf(); }

std::string CWpParam::KindLabel() const { return Gbk("参数"); }

}  // namespace davodu
