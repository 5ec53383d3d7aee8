// The stratification kit: drawing the strata, their names and the fault
// points.
#include <cmath>
#include <cstdlib>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/interval/wp_stratum.h"

namespace davodu {

namespace {

// A stratum of no thickness lying on an edge of the body: a stratum above
// or below the chart's range, drawn neither filled nor named.
bool CollapsedAtEdge(const WPSEGMENT& s, double body_top, double body_bottom) {
  return std::fabs(s.top - s.bottom) < 0.1 &&
         (std::fabs(s.bottom - body_bottom) < 1 || std::fabs(s.top - body_top) < 1);
}

}  // namespace

void CWpStratum::DrawSeg(CDC* dc, CView* view, CRect* clip, CRect* done) {
  const CClipTool& clipper = AfxGetClipTool();
  const int level = clipper.SaveDC(dc);
  clipper.SetClip(dc, BodyDraw());
  const double body_top = GetBodyTop(), body_bottom = GetBodyBottom();
  auto shown = [&](const WPSEGMENT& s) {
    return !CollapsedAtEdge(s, body_top, body_bottom) && body_top > s.bottom && body_bottom < s.top;
  };
  for (WPSEGMENT& s : segs_)
    if (shown(s)) DrawOneSeg(s, seg_color_, dc, view, clip, done);
  DrawBlankSpace(dc, view);
  // The names over every fill.
  for (WPSEGMENT& s : segs_)
    if (shown(s)) DrawStratumAlias(s, dc);
  clipper.AbortClip(dc, level);
  DrawFaultPoint(dc, body_bottom, body_top);
}

void CWpStratum::DrawOneSeg(WPSEGMENT& seg, COLORREF, CDC* dc, CView*, CRect*, CRect*) {
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  if (use_bk_color_) {
    ZULOGBRUSH brush;
    brush.style = kBrushDefaultSolid;
    auto* rec = dynamic_cast<StratumDIndex*>(seg.data.get());
    brush.color = rec ? rec->color : 0xFFFFFF;
    AfxGetFillTool().FillRect(dc, r, brush, zoom_);
  }
  if (divide_line_visible_) {
    const CLineTool& line = AfxGetLineTool();
    line.DrawLine(dc, CPoint{r.left, r.top}, CPoint{r.right, r.top}, divide_pen_, zoom_);
    line.DrawLine(dc, CPoint{r.left, r.bottom}, CPoint{r.right, r.bottom}, divide_pen_, zoom_);
  }
  if (divide_point_visible_) {
    const int x = r.left + (r.right - r.left) / 2;
    AfxGetPointTool().Draw(dc, CPoint{x, r.top}, divide_point_, zoom_);
    AfxGetPointTool().Draw(dc, CPoint{x, r.bottom}, divide_point_, zoom_);
  }
}

void CWpStratum::DrawOneSelectedSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view,
                                    CRect* clip, CRect* done) {
  DrawOneSeg(seg, color, dc, view, clip, done);
  if (show_name_) DrawStratumAlias(seg, dc);
}

void CWpStratum::DrawStratumAlias(WPSEGMENT& seg, CDC* dc) {
  auto* rec = dynamic_cast<StratumDIndex*>(seg.data.get());
  if (!rec || rec->name.empty() || !show_name_) return;
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  // A band lower than a line of text would have the name cross its
  // boundaries into the neighbours' names: thin strata go unnamed.
  if (text_dir_ == STRDIR_HORIZONTAL && std::abs(r.top - r.bottom) < 0.8 * name_font_.height * zoom_)
    return;
  const CPoint at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  const std::string text = DisplayName(rec->name);
  if (text != rec->name && CScriptTextTool::IsScriptText(text)) {
    AfxGetScriptTextTool().DrawScriptText(dc, at, text, name_font_, zoom_,
                                          OrientationAngle(text_dir_, angle_type_));
    return;
  }
  DrawOrientationText(dc, at, text, text_dir_, name_font_, angle_type_, zoom_);
}

void CWpStratum::DrawFaultPoint(CDC* dc, double lower, double upper) {
  if (!fault_point_visible_) return;
  const double s = fault_point_.size / 2;
  for (std::size_t i = 0; i < fault_points_.size(); ++i) {
    const double depth = fault_points_[i].first;
    if (IsMissing(depth)) continue;
    const auto y = static_cast<float>(DepToMapY(depth));
    if (!(lower < y && y < upper)) continue;
    // At the middle, or at an edge with the whole symbol inside the column.
    const double x = fault_point_pos_ == FPP_MIDDLE  ? (GetLeft() + GetRight()) / 2
                     : fault_point_pos_ == FPP_RIGHT ? GetRight() - s
                                                     : GetLeft() + s;
    AfxGetPointTool().Draw(dc, MP2LP(FLOATPOINT{x, y}), fault_point_, zoom_);
    if (!fault_label_visible_) continue;
    const std::string label = FaultLabel(static_cast<int>(i));
    if (label.empty()) continue;
    FLOATPOINT anchor{x, y};
    int align_h = kAlignCenter, align_v = kAlignMiddle;
    switch (fault_label_pos_) {
      case FLP_ABOVE:
        anchor = {x + horizontal_offset_, y + s + vertical_offset_};
        align_h = kAlignCenter, align_v = kAlignBottom;
        break;
      case FLP_BELOW:
        anchor = {x + horizontal_offset_, y - s - vertical_offset_};
        align_h = kAlignCenter, align_v = kAlignTop;
        break;
      case FLP_LEFT:
        anchor = {x - s - horizontal_offset_, y + vertical_offset_};
        align_h = kAlignRight, align_v = kAlignMiddle;
        break;
      default:
        anchor = {x + s + horizontal_offset_, y + vertical_offset_};
        align_h = kAlignLeft, align_v = kAlignMiddle;
        break;
    }
    AfxGetTextTool().DrawText(dc, MP2LP(anchor), label, fault_font_, zoom_, 0, align_h, align_v);
  }
}

}  // namespace davodu
