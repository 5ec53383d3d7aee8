#include "davodu/display/wp_depth.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpDepth, CWpContent)

CWpDepth::CWpDepth(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpDepth::Initialize() {
  class_name_ = "CWpDepth";
  name_ = type_name_ = title_text_ = "WpDepth";
}

void CWpDepth::Clear() {
  CWpContent::Clear();
  Initialize();
}

}  // namespace davodu
