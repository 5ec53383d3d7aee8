// How the well draws itself: its tracks, header tables, name, symbol and
// frame, and its selection mark.
#include <algorithm>

#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_object_cell.h"
#include "davodu/kits/head_text.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

// A well drawn smaller than this (draw units, both ways) is only filled.
constexpr int kMinDrawSize = 7;

}  // namespace

void CWpWell::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!NeedsDrawing(clip, done)) return;
  const CRect me = draw_rect_.Normalized();
  if (clip && (me.Width() < kMinDrawSize || me.Height() < kMinDrawSize)) {
    ZULOGBRUSH brush;
    brush.style = kBrushDefaultSolid;
    AfxGetFillTool().FillRect(dc, me, brush, zoom_);
    return;
  }
  CWpKit::Draw(dc, view, clip, done);
  DrawSheet(dc);
  DrawTitle(dc);
  DrawType(dc);
  DrawBorder(dc, view, clip, done);
}

void CWpWell::DrawSelectedMark(CDC* dc, CView*) {
  ZULOGPEN frame;
  frame.style = kPenMarkSelection;
  frame.rop = kRopNotXor;
  const CLineTool& line = AfxGetLineTool();
  line.DrawRect(dc, TotalDraw().Normalized(), frame, zoom_);
  ZULOGPEN handle = frame;
  handle.style = kPenMarkHandle;
  for (int i : {6, 7, 8, 9}) DrawNodeSquare(dc, i, handle);
}

void CWpWell::DrawTitle(CDC* dc) {
  if (!title_visible_ || title_align_ < 0 || head_align_ < 0 || title_text_.empty()) return;
  const FLOATPOINT c = TitleCentre();
  const CCoordTranslator& tr = GetTranslator();
  const CTextTool& text = AfxGetTextTool();
  // The name as measured: shrunk to fit its band and kept inside it, clear
  // of the frame below and the header tables above.
  const double boundary = map_nodes_[2].y;
  const CRect band = tr.MapToDraw(FLOATRECT{map_nodes_[0].x, boundary + GetTitleHeight(),
                                            map_nodes_[1].x, boundary})
                         .Normalized();
  const double pad = kHeadCellPad * zoom_;
  const TextSize size = HeadTextSize(dc, title_text_, title_font_, zoom_);
  const double f = FitFactor(size, band.Width() - 2 * pad, band.Height() - 2 * pad);
  const ZULOGFONT font = ScaledFont(title_font_, f);
  const double half_w = size.width * f / 2, half_h = size.height * f / 2;
  auto inside = [](double v, double lo, double hi) { return lo > hi ? (lo + hi) / 2 : std::clamp(v, lo, hi); };
  const CPoint at0 = tr.MapToDraw(c);
  const CPoint at{static_cast<int>(inside(at0.x, band.left + pad + half_w, band.right - pad - half_w)),
                  static_cast<int>(inside(at0.y, band.bottom + pad + half_h, band.top - pad - half_h))};
  text.DrawText(dc, at, title_text_, font, zoom_, 0, kAlignCenter, kAlignMiddle);
  if (head_align_ > 0) {
    // Mirrored below the body, the same offset from its corner.
    const CPoint n0 = tr.MapToDraw(map_nodes_[0]), n10 = tr.MapToDraw(map_nodes_[10]);
    text.DrawText(dc, CPoint{n10.x + (at.x - n0.x), n10.y - (at.y - n0.y)}, title_text_, font, zoom_,
                  0, kAlignCenter, kAlignMiddle);
  }
}

void CWpWell::DrawType(CDC* dc) {
  if (!title_visible_ || symbol_align_ < 0 || head_align_ < 0) return;
  TitleCentre();  // the symbol is placed from the name
  const FLOATPOINT c = TypeCentre();
  const CCoordTranslator& tr = GetTranslator();
  const CPointTool& point = AfxGetPointTool();
  point.Draw(dc, tr.MapToDraw(c), symbol_, zoom_);
  if (head_align_ > 0) {
    const FLOATPOINT below{map_nodes_[10].x + (c.x - map_nodes_[0].x),
                           map_nodes_[10].y - (c.y - map_nodes_[0].y)};
    point.Draw(dc, tr.MapToDraw(below), symbol_, zoom_);
  }
}

void CWpWell::DrawSheet(CDC* dc) {
  for (WellSheet* sheet : sheets_) {
    if (head_align_ >= 0)
      if (CZuObjectCell* cell = LiveCell(sheet->upper)) cell->DrawCell(dc);
    if (head_align_ > 0)
      if (CZuObjectCell* cell = LiveCell(sheet->lower)) cell->DrawCell(dc);
  }
}

}  // namespace davodu
