#include "davodu/special/wp_symble_cycle.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSymbleCycle, CWpSymble)

CWpSymbleCycle::CWpSymbleCycle(CZuLayer* layer) : CWpSymble(layer) { Initialize(); }

void CWpSymbleCycle::Initialize() {
  class_name_ = "CWpSymbleCycle";
  name_ = type_name_ = title_text_ = "WpSymbleCycle";
}

void CWpSymbleCycle::Clear() {
  CWpSymble::Clear();
  Initialize();
}

std::string CWpSymbleCycle::KindLabel() const { return Gbk("旋回"); }

}  // namespace davodu
