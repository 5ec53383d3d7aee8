#include "davodu/special/wp_symble_shoot.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSymbleShoot, CWpSymble)

CWpSymbleShoot::CWpSymbleShoot(CZuLayer* layer) : CWpSymble(layer) { Initialize(); }

void CWpSymbleShoot::Initialize() {
  class_name_ = "CWpSymbleShoot";
  name_ = type_name_ = title_text_ = "WpSymbleShoot";
}

void CWpSymbleShoot::Clear() {
  CWpSymble::Clear();
  Initialize();
}

std::string CWpSymbleShoot::KindLabel() const { return Gbk("射孔"); }

}  // namespace davodu
