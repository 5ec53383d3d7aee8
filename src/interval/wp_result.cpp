#include "davodu/interval/wp_result.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpResult, CWpContent)

CWpResult::CWpResult(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpResult::Initialize() {
  class_name_ = "CWpResult";
  name_ = type_name_ = title_text_ = "WpResult";
}

void CWpResult::Clear() {
  SepFrmObservee();
  CWpContent::Clear();
  Initialize();
}

void CWpResult::UpdateWithObservee() { InvalidSelf(); }

std::string CWpResult::KindLabel() const { return Gbk("解释结果"); }

}  // namespace davodu
