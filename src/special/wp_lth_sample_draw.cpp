// The rock sample kit: the bracket of a cored interval and its sample ticks.
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/special/wp_lth_sample.h"

namespace davodu {

namespace {

// Where the parts of a cored interval stand across the body, in percent of
// its width: the bracket, the start of a marked and of a plain tick, and
// the centre of a sample number.
constexpr int kBracketAt = 80;
constexpr int kMarkedTickAt = 40;
constexpr int kTickAt = 60;
constexpr int kNumberAt = 20;
// The slant of the bracket's arms, in map units.
constexpr double kArm = 120;

// The bracket: from the body's right edge at the top in to the bracket
// line, down it, and out to the right edge at the bottom.
std::vector<CPoint> BracketOf(const CRect& r, int arm) {
  const int w = r.right - r.left;
  const int e = r.left + w * kBracketAt / 100;
  // A thin interval keeps its arms from crossing.
  arm = std::min(arm, std::abs(r.top - r.bottom) / 2);
  return {CPoint{r.right, r.top}, CPoint{e, r.top - arm}, CPoint{e, r.bottom + arm},
          CPoint{r.right, r.bottom}};
}

}  // namespace

void CWpLthSample::DrawOneSeg(WPSEGMENT& seg, COLORREF, CDC* dc, CView*, CRect*, CRect*) {
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  AfxGetLineTool().DrawPolyline(dc, BracketOf(r, static_cast<int>(kArm * zoom_)), seg_pen_, zoom_);
  DrawSamples(seg, dc);
}

void CWpLthSample::DrawOneSelectedSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view,
                                      CRect* clip, CRect* done) {
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  // The selection fill is a mark of the view: drawn again, it goes away.
  ZULOGBRUSH fill;
  fill.style = kBrushDefaultSolid;
  fill.color = 0x0000FF;
  fill.rop = kRopNotXor;
  AfxGetFillTool().FillPolygon(dc, BracketOf(r, static_cast<int>(kArm * zoom_)), fill, zoom_);
  DrawOneSeg(seg, color, dc, view, clip, done);
}

void CWpLthSample::DrawSamples(const WPSEGMENT& seg, CDC* dc) {
  const auto* rec = dynamic_cast<const LthSampleDIndex*>(seg.data.get());
  if (!rec || IsMissing(rec->top_depth)) return;
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  const int w = r.right - r.left;
  const int e = r.left + w * kBracketAt / 100;
  const CLineTool& line = AfxGetLineTool();
  const CTextTool& text = AfxGetTextTool();
  // Numbers closer than a text height to the one written last are left
  // out rather than written over it.
  const int text_height = std::max(1, static_cast<int>(mark_font_.height * zoom_));
  bool labelled = false;
  int last_label = 0;
  for (const auto& [distance, number] : rec->samples) {
    const int y = MP2LP(DepToMapY(rec->top_depth + distance));
    const bool marked = IsMarked(number);
    const int from = r.left + w * (marked ? kMarkedTickAt : kTickAt) / 100;
    line.DrawLine(dc, CPoint{from, y}, CPoint{e, y}, sample_pen_, zoom_);
    if (!marked || !mark_text_visible_) continue;
    if (labelled && std::abs(y - last_label) < text_height) continue;
    labelled = true;
    last_label = y;
    const std::string label = std::to_string(static_cast<long long>(number));
    const CPoint at{r.left + w * kNumberAt / 100, mark_text_align_ ? y + text_height / 4 : y};
    text.DrawText(dc, at, label, mark_font_, zoom_, 0, kAlignCenter,
                  mark_text_align_ ? kAlignBottom : kAlignMiddle);
  }
}

}  // namespace davodu
