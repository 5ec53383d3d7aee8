// The sidewall core kit: drawing the samples, their grades and texts, and
// the marks of a drag.
#include <algorithm>
#include <cmath>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/graphics/pattern_library.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/util/util.h"
#include "davodu/kits/head_text.h"
#include "davodu/special/wp_sidewall_core.h"

namespace davodu {

namespace {

ZULOGBRUSH SolidBrush(COLORREF color) {
  ZULOGBRUSH brush;
  brush.style = kBrushDefaultSolid;
  brush.color = color;
  return brush;
}

// A library pattern in black at its natural size.
ZULOGPOINT PatternPoint(unsigned code) {
  ZULOGPOINT point;
  point.style = static_cast<std::int32_t>(code);
  point.color = 0;
  point.size = static_cast<float>(kPatternCellSize);
  return point;
}

// Whether a code draws anything: a library pattern with shapes or a solid.
bool DrawsSomething(unsigned code) {
  const PatternTile* tile = FindPattern(static_cast<int>(code));
  return tile ? tile->solid || !tile->shapes.empty() : code != 0;
}

ZULOGPEN MarkPen(ZULOGPEN pen, std::int32_t style) {
  pen.style = style;
  pen.rop = kRopNotXor;
  pen.color2 = 0;
  return pen;
}

void Outline(CDC* dc, const CRect& r, const ZULOGPEN& pen, double zoom) {
  const CLineTool& line = AfxGetLineTool();
  line.DrawLine(dc, CPoint{r.left, r.top}, CPoint{r.right, r.top}, pen, zoom);
  line.DrawLine(dc, CPoint{r.right, r.top}, CPoint{r.right, r.bottom}, pen, zoom);
  line.DrawLine(dc, CPoint{r.right, r.bottom}, CPoint{r.left, r.bottom}, pen, zoom);
  line.DrawLine(dc, CPoint{r.left, r.bottom}, CPoint{r.left, r.top}, pen, zoom);
}

}  // namespace

void CWpSidewallCore::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!NeedsDrawing(clip, done)) return;
  CWpInWell::Draw(dc, view, clip, done);
  DrawTitle(dc, view, clip, done);
  const CClipTool& clipper = AfxGetClipTool();
  const int level = clipper.SaveDC(dc);
  clipper.SetClip(dc, BodyDraw());
  const CFillTool& fill = AfxGetFillTool();
  const CLineTool& line = AfxGetLineTool();
  const CTextTool& text = AfxGetTextTool();
  const double left = map_nodes_[0].x, right = map_nodes_[1].x, width = right - left;
  const int text_x = MP2LP(FLOATPOINT{left + width * grade_pos_ + symbol_size_ * 0.4, 0}).x;
  // The lowest draw Y a text took so far: a text must start below it.
  int text_floor = 0;
  bool any_text = false;
  for (int i = 0; i < static_cast<int>(samples_.size()); ++i) {
    const SidewallSample& s = samples_[static_cast<std::size_t>(i)];
    if (!(s.depth >= top_depth_ && s.depth <= bottom_depth_)) continue;
    const FLOATRECT block = BlockOf(i);
    const CRect r = MP2LP(block);
    const int y = (r.top + r.bottom) / 2;
    // The shot: from the hole wall (the column's left edge) to the block.
    line.DrawLine(dc, MP2LP(FLOATPOINT{left, DepToMapY(s.depth)}), CPoint{r.left, y}, outline_pen_, zoom_);
    fill.FillRect(dc, r, SolidBrush(s.color), zoom_);
    if (DrawsSomething(s.pattern)) AfxGetPointTool().FillRect(dc, r, PatternPoint(s.pattern), zoom_);
    Outline(dc, r, outline_pen_, zoom_);
    // The grade: a square as high as the block, beside it.
    if (s.grade_symbol != 0 && DrawsSomething(s.grade_symbol)) {
      const double half = (block.top - block.bottom) / 2;
      const double gx = left + width * grade_pos_;
      const CRect g = MP2LP(FLOATRECT{gx - half, block.top, gx + half, block.bottom});
      fill.FillRect(dc, g, SolidBrush(0xFFFFFF), zoom_);
      AfxGetPointTool().FillRect(dc, g, PatternPoint(s.grade_symbol), zoom_);
      Outline(dc, g, outline_pen_, zoom_);
    }
    // The lithology and the grade; when they do not fit beside the symbols
    // (made smaller down to a readable size), the lithology alone; else
    // nothing.
    const std::string lith = lith_text_visible_ ? TrimBlanks(s.lithology) : std::string();
    const std::string grade = grade_text_visible_ ? TrimBlanks(s.grade) : std::string();
    const int room = draw_nodes_[1].x - text_x - static_cast<int>(std::lround(kHeadTextGap * zoom_));
    std::string words;
    TextSize size;
    double fit = 0;
    for (const std::string& candidate : {lith + (lith.empty() || grade.empty() ? "" : " ") + grade, lith}) {
      if (candidate.empty()) continue;
      size = text.MeasureText(dc, candidate, text_font_, zoom_);
      fit = FitFactor(size, room, size.height);
      words = candidate;
      if (fit * text_font_.height >= kHeadReadableHeight * 0.75) break;
    }
    if (words.empty() || fit * text_font_.height < kHeadReadableHeight * 0.75) continue;
    const ZULOGFONT font = ScaledFont(text_font_, fit);
    const int height = static_cast<int>(std::lround(size.height * fit));
    // Draw Y grows upwards: the text's top is at y + height / 2.
    const int top = y + height / 2;
    if (any_text && top > text_floor) continue;
    text.DrawText(dc, CPoint{text_x, y}, words, font, zoom_, 0, kAlignLeft, kAlignMiddle);
    text_floor = top - height;
    any_text = true;
  }
  DrawBlankSpace(dc, view);
  clipper.AbortClip(dc, level);
  DrawBorder(dc, view, clip, done);
}

void CWpSidewallCore::DrawSelectedMark(CDC* dc, CView*) {
  DrawContentMark(dc, true);
  if (!dc || !dc->IsInteractive() || active_ < 0 || active_ >= static_cast<int>(samples_.size())) return;
  const CRect r = MP2LP(BlockOf(active_));
  const int grow = AfxGetNodeRectWidth() / 2;
  Outline(dc, CRect{r.left - grow, r.top + grow, r.right + grow, r.bottom - grow},
          MarkPen(border_pen_, kPenMarkHandle), zoom_);
}

void CWpSidewallCore::DrawShadow(CDC* dc, int y) {
  if (active_ < 0 || active_ >= static_cast<int>(samples_.size())) return;
  const double depth = DragDepth(active_, y);
  const int at = MP2LP(DepToMapY(depth));
  AfxGetLineTool().DrawLine(dc, CPoint{draw_nodes_[0].x, at}, CPoint{draw_nodes_[1].x, at},
                            MarkPen(border_pen_, kPenMarkSelection), zoom_);
}

}  // namespace davodu
