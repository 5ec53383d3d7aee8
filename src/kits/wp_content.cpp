#include "davodu/kits/wp_content.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpContent, CWpInWell)

CWpContent::CWpContent(CZuLayer* layer) : CWpInWell(layer) { Initialize(); }

void CWpContent::Initialize() {
  class_name_ = "CWpContent";
  name_ = type_name_ = title_text_ = "WpContent";
  title_font_.height = 400;
  title_font_.color = 0x800080;
  title_direction_ = 0;
  border_pen_.width = 10;
  border_flags_[9] = 0;
  type_ = 0;
  pen_ = ZULOGPEN{};
  pen_.color = 0x800080;
  pen_.width = 40;
  group_ = 0;
}

void CWpContent::Clear() {
  CWpInWell::Clear();
  Initialize();
}

// Contents place their head like every kit, except that nodes 6 and 7 mark
// the middle of the title band, where the width handles sit.
void CWpContent::BuildHead() {
  CWpKit::BuildHead();
  const double mid = (map_nodes_[2].y + map_nodes_[4].y) / 2;
  map_nodes_[6].y = mid;
  map_nodes_[7].y = mid;
  MapToDrawNode(6);
  MapToDrawNode(7);
}

}  // namespace davodu
