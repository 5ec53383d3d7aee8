#include "davodu/special/wp_symble_texture.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSymbleTexture, CWpSymble)

CWpSymbleTexture::CWpSymbleTexture(CZuLayer* layer) : CWpSymble(layer) { Initialize(); }

void CWpSymbleTexture::Initialize() {
  class_name_ = "CWpSymbleTexture";
  name_ = type_name_ = title_text_ = "WpSymbleTexture";
}

void CWpSymbleTexture::Clear() {
  CWpSymble::Clear();
  Initialize();
}

std::string CWpSymbleTexture::KindLabel() const { return Gbk("层理"); }

}  // namespace davodu
