// The symbol column base: drawing.
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/graphics/pattern_library.h"
#include "davodu/host/graphics/symbol_glyphs.h"
#include "davodu/special/wp_symble.h"

namespace davodu {

CRect CWpSymble::SymbolRect(const WPSEGMENT& seg) const {
  const double w = GetRight() - GetLeft();
  return MP2LP(FLOATRECT{GetLeft() + w * edge_left_, seg.top, GetRight() - w * edge_right_, seg.bottom});
}

void CWpSymble::DrawOneSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView*, CRect*, CRect*) {
  const auto* rec = dynamic_cast<const SymbleDIndex*>(seg.data.get());
  ZULOGPOINT point;
  if (rec) point.style = static_cast<std::int32_t>(rec->style);
  point.color = use_bk_color_ ? color : rec ? rec->color : 0;
  point.size = static_cast<float>(kPatternCellSize);
  const CRect r = SymbolRect(seg);
  DrawToFitRect(dc, r, point, zoom_);
  if (frame_visible_) {
    ZULOGPEN pen;
    pen.width = 1;
    pen.color = 0;
    Draw0WRect(dc, r, pen, zoom_);
  }
}

}  // namespace davodu
