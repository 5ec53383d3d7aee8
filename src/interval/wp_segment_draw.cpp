// The segment kit: drawing the segments, the selected one and the marks.
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

namespace {

// The pen of the interactive marks: the border pen as a not-xor mark.
ZULOGPEN MarkPen(ZULOGPEN pen, std::int32_t style) {
  pen.style = style;
  pen.rop = kRopNotXor;
  pen.color2 = 0;
  return pen;
}

}  // namespace

void CWpSegment::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!NeedsDrawing(clip, done)) return;
  CWpInWell::Draw(dc, view, clip, done);
  DrawTitle(dc, view, clip, done);
  DrawSeg(dc, view, clip, done);
  DrawBorder(dc, view, clip, done);
  // The stratification and facies kits draw the fault gaps themselves,
  // between their fills and their labels.
  const int type = GetWpKitType();
  if (type != WPKIT_STRATUM && type != WPKIT_FACIES) DrawBlankSpace(dc, view);
}

void CWpSegment::DrawSeg(CDC* dc, CView* view, CRect* clip, CRect* done) {
  // Sand bars and brackets may reach beyond the body; the others are clipped.
  const bool clipped = GetWpKitType() != WPKIT_SAND;
  const CClipTool& clipper = AfxGetClipTool();
  int level = 0;
  if (clipped) {
    level = clipper.SaveDC(dc);
    clipper.SetClip(dc, BodyDraw());
  }
  const double body_top = GetBodyTop(), body_bottom = GetBodyBottom();
  for (WPSEGMENT& s : segs_)
    if (body_top > s.bottom && body_bottom < s.top) DrawOneSeg(s, seg_color_, dc, view, clip, done);
  if (clipped) clipper.AbortClip(dc, level);
}

void CWpSegment::DrawOneSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView*, CRect*, CRect*) {
  ZULOGBRUSH brush;
  brush.style = kBrushDefaultSolid;
  brush.color = color;
  brush.word3 = 0;
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  AfxGetFillTool().FillRect(dc, r, brush, zoom_);
}

void CWpSegment::DrawOneSelectedSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view,
                                    CRect* clip, CRect* done) {
  CWpSegment::DrawOneSeg(seg, color, dc, view, clip, done);
}

void CWpSegment::DrawSelectedSeg(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (active_ < 0 || active_ >= GetSegCount()) return;
  WPSEGMENT& seg = segs_[static_cast<std::size_t>(active_)];
  DrawOneSelectedSeg(seg, seg_color_, dc, view, clip, done);
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  const int half = AfxGetNodeRectWidth() / 2;
  const int x = (r.left + r.right) / 2;
  const ZULOGPEN pen = MarkPen(border_pen_, kPenMarkHandle);
  for (int y : {r.top, r.bottom})
    AfxGetLineTool().DrawRect(dc, CRect{x - half, y + half, x + half, y - half}, pen, zoom_);
}

void CWpSegment::DrawSelectedMark(CDC* dc, CView* view) {
  const ZULOGPEN frame = MarkPen(border_pen_, kPenMarkSelection);
  const CLineTool& line = AfxGetLineTool();
  const CPoint* n = draw_nodes_;
  auto join = [&](int a, int b) { line.DrawLine(dc, n[a], n[b], frame, zoom_); };
  // The title band, the body's top edge when a client band lies above it,
  // and the body's other three edges.
  join(2, 3), join(4, 5), join(2, 4), join(3, 5);
  if (GetClientHeight() > 1) join(0, 1);
  join(0, 10), join(1, 11), join(10, 11);
  ZULOGPEN handle = MarkPen(border_pen_, kPenMarkTopRight);
  DrawNodeSquare(dc, 5, handle);
  handle.style = kPenMarkHandle;
  for (int i : {6, 7, 8, 9}) DrawNodeSquare(dc, i, handle);
  if (dc && dc->IsInteractive()) DrawSelectedSeg(dc, view, nullptr, nullptr);
}

void CWpSegment::Draw0WRect(CDC* dc, const CRect& r, const ZULOGPEN& pen, double zoom) const {
  const CLineTool& line = AfxGetLineTool();
  line.DrawLine(dc, CPoint{r.left, r.top}, CPoint{r.right, r.top}, pen, zoom);
  line.DrawLine(dc, CPoint{r.left, r.bottom}, CPoint{r.right, r.bottom}, pen, zoom);
  line.DrawLine(dc, CPoint{r.left, r.top}, CPoint{r.left, r.bottom}, pen, zoom);
  line.DrawLine(dc, CPoint{r.right, r.top}, CPoint{r.right, r.bottom}, pen, zoom);
}

void CWpSegment::DrawRubberBand(CDC* dc, int y) {
  const ZULOGPEN pen = MarkPen(border_pen_, kPenMarkSelection);
  const int left = draw_nodes_[0].x, right = draw_nodes_[1].x;
  if (pick_state_ == kPickInside) {
    if (active_ < 0 || active_ >= GetSegCount()) return;
    const WPSEGMENT& seg = segs_[static_cast<std::size_t>(active_)];
    const int dy = y - press_point_.y;
    const CRect r{left, MP2LP(seg.top) + dy, right, MP2LP(seg.bottom) + dy};
    Draw0WRect(dc, r, pen, zoom_);
  } else if (pick_state_ == kPickTop || pick_state_ == kPickBottom) {
    AfxGetLineTool().DrawLine(dc, CPoint{left, y}, CPoint{right, y}, pen, zoom_);
  }
}

}  // namespace davodu
