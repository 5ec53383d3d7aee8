// The coring summary kit: the outline of a run, its recovery bar and texts.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/special/wp_integrated_core.h"

namespace davodu {

namespace {

// The bar starts this share of the body width in from the left edge; the
// texts keep the same margin from the bar and the right edge.
constexpr double kMargin = 0.06;
// Lines of text are this many font heights apart.
constexpr double kLineSpacing = 1.25;

std::string Format(const char* format, double a, double b = 0) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, a, b);
  return buf;
}

std::string Length(double v) { return IsMissing(v) ? std::string("-") : Format("%.2f", v); }

}  // namespace

void CWpIntegratedCore::DrawOneSeg(WPSEGMENT& seg, COLORREF, CDC* dc, CView*, CRect*, CRect*) {
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  const int w = r.right - r.left;
  const int bar_left = r.left + static_cast<int>(w * kMargin);
  const int bar_right = r.left + static_cast<int>(w * (kMargin + bar_width_));
  const CFillTool& fill = AfxGetFillTool();
  const CLineTool& line = AfxGetLineTool();
  // The core recovered from the top of the run down; the rest was lost.
  const double share = RecoveredShare(dynamic_cast<const CoreRunDIndex*>(seg.data.get()));
  const int height = r.top - r.bottom;
  const int recovered_to = share < 0 ? r.top : r.top - static_cast<int>(height * share + 0.5);
  if (recovered_to < r.top) fill.FillRect(dc, CRect{bar_left, r.top, bar_right, recovered_to}, core_brush_, zoom_);
  if (recovered_to > r.bottom) {
    fill.FillRect(dc, CRect{bar_left, recovered_to, bar_right, r.bottom}, lost_brush_, zoom_);
    if (recovered_to < r.top) line.DrawLine(dc, CPoint{bar_left, recovered_to}, CPoint{bar_right, recovered_to}, outline_pen_, zoom_);
  }
  line.DrawRect(dc, CRect{bar_left, r.top, bar_right, r.bottom}, outline_pen_, zoom_);
  // The cored interval.
  Draw0WRect(dc, r, outline_pen_, zoom_);
  DrawTexts(seg, dc);
}

void CWpIntegratedCore::DrawOneSelectedSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view,
                                           CRect* clip, CRect* done) {
  DrawOneSeg(seg, color, dc, view, clip, done);
  // The selection is a mark of the view: drawn again, it goes away.
  ZULOGBRUSH mark;
  mark.style = kBrushDefaultSolid;
  mark.color = 0x0000FF;
  mark.rop = kRopNotXor;
  AfxGetFillTool().FillRect(dc, MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom}), mark, zoom_);
}

void CWpIntegratedCore::DrawTexts(const WPSEGMENT& seg, CDC* dc) {
  const auto* rec = dynamic_cast<const CoreRunDIndex*>(seg.data.get());
  if (!text_visible_ || !rec) return;
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  const int w = r.right - r.left;
  const int left = r.left + static_cast<int>(w * (2 * kMargin + bar_width_));
  const int right = r.right - static_cast<int>(w * kMargin);
  const double line_height = text_font_.height * zoom_ * kLineSpacing;
  if (right <= left || !(line_height > 0)) return;
  // As many lines as the interval holds: the run number, then its
  // recovery, then the lengths between them.
  const std::string run = rec->run >= 0 ? std::to_string(rec->run) : std::string("-");
  const std::string lengths = Length(rec->core_length) + "/" + Length(rec->footage);
  const std::string recovery = IsMissing(rec->recovery) ? std::string("-") : Format("%.1f%%", rec->recovery);
  const int fits = static_cast<int>((r.top - r.bottom) / line_height);
  std::vector<std::string> lines;
  if (fits >= 3)
    lines = {run, lengths, recovery};
  else if (fits == 2)
    lines = {run, recovery};
  else if (fits == 1)
    lines = {run};
  const CTextTool& text = AfxGetTextTool();
  const int x = (left + right) / 2;
  const double middle = (r.top + r.bottom) / 2.0;
  const double first = middle + (static_cast<double>(lines.size()) - 1) * line_height / 2;
  for (std::size_t k = 0; k < lines.size(); ++k) {
    if (text.MeasureText(dc, lines[k], text_font_, zoom_).width > right - left) continue;
    const int y = static_cast<int>(first - static_cast<double>(k) * line_height + 0.5);
    text.DrawText(dc, CPoint{x, y}, lines[k], text_font_, zoom_, 0, kAlignCenter, kAlignMiddle);
  }
}

}  // namespace davodu
