#include "davodu/display/wp_picture.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpPicture, CWpContent)

CWpPicture::CWpPicture(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpPicture::Initialize() {
  class_name_ = "CWpPicture";
  name_ = type_name_ = title_text_ = "WpPicture";
}

void CWpPicture::Clear() {
  CWpContent::Clear();
  Initialize();
}

std::string CWpPicture::KindLabel() const { return Gbk("图象"); }

}  // namespace davodu
