#include "davodu/interval/wp_segment.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSegment, CWpContent)

CWpSegment::CWpSegment(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpSegment::Initialize() {
  class_name_ = "CWpSegment";
  name_ = type_name_ = title_text_ = "WpSegment";
}

void CWpSegment::Clear() {
  CWpContent::Clear();
  Initialize();
}

}  // namespace davodu
