#include "davodu/display/wp_text.h"

#include "davodu/host/util/gbk.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpText, CWpContent)

CWpText::CWpText(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpText::Initialize() {
  class_name_ = "CWpText";
  name_ = type_name_ = title_text_ = "WpText";
}

void CWpText::Clear() {
  CWpContent::Clear();
  Initialize();
}

std::string CWpText::KindLabel() const { return Gbk("文本"); }

}  // namespace davodu
