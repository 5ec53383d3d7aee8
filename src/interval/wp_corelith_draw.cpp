// The lithology kit: drawing the strips, merged blocks, names and divides.
#include <cmath>
#include <cstdlib>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/graphics/pattern_library.h"
#include "davodu/interval/wp_corelith.h"
#include "davodu/kits/oriented_text.h"

namespace davodu {

namespace {

// The outline of the strips: a hairline in black.
ZULOGPEN OutlinePen() {
  ZULOGPEN pen;
  pen.width = 1.0f;
  pen.color = 0;
  pen.color2 = 0xFFFFFF;
  return pen;
}

ZULOGBRUSH SolidBrush(COLORREF color) {
  ZULOGBRUSH brush;
  brush.style = kBrushDefaultSolid;
  brush.color = color;
  return brush;
}

// A pattern drawn as a point style filling a rectangle, in black at its
// natural size.
ZULOGPOINT PatternPoint(unsigned code) {
  ZULOGPOINT point;
  point.style = static_cast<std::int32_t>(code);
  point.color = 0;
  point.size = static_cast<float>(kPatternCellSize);
  return point;
}

// Whether a symbol code draws something in a strip: a library pattern with
// shapes or a solid, or a plain point symbol.
bool DrawsSomething(unsigned code) {
  const PatternTile* tile = FindPattern(static_cast<int>(code));
  if (!tile) return code != 0;
  return tile->solid || !tile->shapes.empty();
}

}  // namespace

void CWpCorelith::DrawSeg(CDC* dc, CView* view, CRect* clip, CRect* done) {
  const CClipTool& clipper = AfxGetClipTool();
  const int level = clipper.SaveDC(dc);
  clipper.SetClip(dc, BodyDraw());
  const double body_top = GetBodyTop(), body_bottom = GetBodyBottom();
  for (int i = 0; i < GetSegCount();) {
    const WPSEGMENT& s = segs_[static_cast<std::size_t>(i)];
    if (!(body_top > s.bottom && body_bottom < s.top)) {
      ++i;
      continue;
    }
    // The interval and the followers that read alike, as one block.
    const int k = CombinSegment(i);
    WPSEGMENT block = s;
    block.bottom = segs_[static_cast<std::size_t>(i + k)].bottom;
    DrawOneSeg(block, seg_color_, dc, view, clip, done);
    i += k + 1;
  }
  clipper.AbortClip(dc, level);
}

void CWpCorelith::DrawOneSeg(WPSEGMENT& seg, COLORREF, CDC* dc, CView*, CRect*, CRect*) {
  const auto* d = dynamic_cast<const ColthDIndex*>(seg.data.get());
  const ColthDIndex fallback;
  if (!d) d = &fallback;
  const double left = GetLeft(), width = GetRight() - GetLeft();
  const ZULOGPEN outline = OutlinePen();
  const CFillTool& fill = AfxGetFillTool();

  // 1. The colour strip.
  const double color_right = left + d->color_width * width * color_per_;
  if (color_right > left) {
    const CRect r = MP2LP(FLOATRECT{left, seg.top, color_right, seg.bottom});
    fill.FillRect(dc, r, SolidBrush(d->color), zoom_);
    Draw0WRect(dc, r, outline, zoom_);
  }
  // 2. The pattern strip, as wide as the lithology's width factor makes
  // its share (a grain-size profile draws finer rocks narrower).
  const double x0 = left + width * color_per_;
  const double x1 = x0 + d->pattern_width * width * pattern_per_;
  if (x1 > x0) {
    const CRect r = MP2LP(FLOATRECT{x0, seg.top, x1, seg.bottom});
    if (use_bk_color_) fill.FillRect(dc, r, SolidBrush(d->color), zoom_);
    AfxGetPointTool().FillRect(dc, r, PatternPoint(d->pattern_code), zoom_);
    Draw0WRect(dc, r, outline, zoom_);
  }
  // 3. The oil strip, only where a grade is given that shows something.
  const double oil_right = x0 + d->oil_width * width * oil_per_;
  if (!d->oil_name.empty() && oil_right > x0 && DrawsSomething(d->oil_code)) {
    const CRect r = MP2LP(FLOATRECT{x0, seg.top, oil_right, seg.bottom});
    fill.FillRect(dc, r, SolidBrush(0xFFFFFF), zoom_);
    AfxGetPointTool().FillRect(dc, r, PatternPoint(d->oil_code), zoom_);
    Draw0WRect(dc, r, outline, zoom_);
  }
  // 4 and 5. The name and the divides across the whole interval.
  const CRect whole = MP2LP(FLOATRECT{left, seg.top, GetRight(), seg.bottom});
  if (name_visible_) DrawName(whole, *d, dc);
  if (divide_line_visible_) {
    const CLineTool& line = AfxGetLineTool();
    line.DrawLine(dc, CPoint{whole.left, whole.top}, CPoint{whole.right, whole.top}, divide_pen_, zoom_);
    line.DrawLine(dc, CPoint{whole.left, whole.bottom}, CPoint{whole.right, whole.bottom}, divide_pen_,
                  zoom_);
  }
  if (divide_point_visible_) {
    const int x = whole.left + (whole.right - whole.left) / 2;
    AfxGetPointTool().Draw(dc, CPoint{x, whole.top}, divide_point_, zoom_);
    AfxGetPointTool().Draw(dc, CPoint{x, whole.bottom}, divide_point_, zoom_);
  }
}

void CWpCorelith::DrawOneSelectedSeg(WPSEGMENT& seg, COLORREF color, CDC* dc, CView* view, CRect* clip,
                                     CRect* done) {
  DrawOneSeg(seg, color, dc, view, clip, done);
}

void CWpCorelith::DrawName(const CRect& r, const ColthDIndex& d, CDC* dc) {
  const std::string& text = d.lithology.empty() ? d.category : d.lithology;
  if (text.empty()) return;
  // A name that would cross the block's lines is left out: the block must
  // hold a line of text with some room above and below, and be as wide as
  // the text (a GBK byte takes one character cell).
  const double height = name_font_.height * zoom_;
  const double width = static_cast<double>(text.size()) * name_font_.GetWidth() * zoom_;
  if (std::abs(r.top - r.bottom) < 1.5 * height || std::abs(r.right - r.left) < width) return;
  DrawOrientationText(dc, CPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2}, text,
                      STRDIR_HORIZONTAL, name_font_, kAngleUpright, zoom_);
}

}  // namespace davodu
