// The sand layer table kit: the two head rows, the rows and their cells.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/kits/head_text.h"
#include "davodu/special/wp_sand_stratum.h"

namespace davodu {

namespace {

int LineCount(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
}

ZULOGBRUSH SolidBrush(COLORREF color) {
  ZULOGBRUSH brush;
  brush.style = kBrushDefaultSolid;
  brush.color = color;
  return brush;
}

// Whether black text on the colour would be hard to read (its luma below
// the middle).
bool IsDark(COLORREF color) {
  const double r = color & 0xFF, g = (color >> 8) & 0xFF, b = (color >> 16) & 0xFF;
  return 0.299 * r + 0.587 * g + 0.114 * b < 110;
}

}  // namespace

std::pair<double, double> CWpSandStratum::FieldSpan(int k) const {
  const double left = GetLeft(), width = GetRight() - GetLeft();
  double total = 0, before = 0;
  for (int i = 0; i < static_cast<int>(fields_.size()); ++i) {
    if (i < k) before += fields_[static_cast<std::size_t>(i)].width;
    total += fields_[static_cast<std::size_t>(i)].width;
  }
  if (k < 0 || k >= static_cast<int>(fields_.size()) || total <= 0) return {left, left};
  const double w = fields_[static_cast<std::size_t>(k)].width;
  return {left + width * before / total, left + width * (before + w) / total};
}

double CWpSandStratum::FieldRowHeight() const {
  int lines = 1;
  for (const SandStratumField& f : fields_) lines = std::max(lines, LineCount(f.title));
  return lines * head_font_.height + (lines - 1) * kHeadTextGap + 2 * kHeadCellPad;
}

float CWpSandStratum::MinTitle() {
  const double title_row = title_text_.empty() ? 0.0 : title_font_.height + 2 * kHeadCellPad;
  return static_cast<float>(title_row + FieldRowHeight());
}

void CWpSandStratum::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!NeedsDrawing(clip, done)) return;
  CWpInWell::Draw(dc, view, clip, done);
  if (title_visible_ && head_align_ >= 0) {
    DrawHead(dc, std::max(draw_nodes_[4].y, draw_nodes_[2].y), std::min(draw_nodes_[4].y, draw_nodes_[2].y));
    if (head_align_ > 0)
      DrawHead(dc, std::max(draw_nodes_[12].y, draw_nodes_[14].y), std::min(draw_nodes_[12].y, draw_nodes_[14].y));
  }
  DrawSeg(dc, view, clip, done);
  DrawBorder(dc, view, clip, done);
  DrawBlankSpace(dc, view);
}

void CWpSandStratum::DrawHead(CDC* dc, int top, int bottom) {
  const double zoom = layer_ ? GetTranslator().zoom() : zoom_;
  const double pad = kHeadCellPad * zoom;
  const int left = draw_nodes_[2].x, right = draw_nodes_[3].x;
  // The sub-column row keeps its height; the title row has the rest.
  const int field_row = std::min(top - bottom, static_cast<int>(std::lround(FieldRowHeight() * zoom)));
  const int split = bottom + field_row;
  const CLineTool& line = AfxGetLineTool();
  if (top - split > 1 && !title_text_.empty()) {
    const TextSize size = HorizontalTextBlockSize(dc, title_text_, title_font_, zoom);
    const double f = FitFactor(size, (right - left) - 2 * pad, (top - split) - 2 * pad);
    if (f > 0)
      DrawHorizontalTextBlock(dc, (left + right) / 2, (top + split) / 2, title_text_, ScaledFont(title_font_, f),
                              zoom);
    line.DrawLine(dc, CPoint{left, split}, CPoint{right, split}, line_pen_, zoom_);
  }
  for (int k = 0; k < static_cast<int>(fields_.size()); ++k) {
    const auto [x0, x1] = FieldSpan(k);
    const int a = MP2LP(FLOATPOINT{x0, 0}).x, b = MP2LP(FLOATPOINT{x1, 0}).x;
    if (k > 0) line.DrawLine(dc, CPoint{a, split}, CPoint{a, bottom}, line_pen_, zoom_);
    const std::string& title = fields_[static_cast<std::size_t>(k)].title;
    if (title.empty()) continue;
    const TextSize size = HorizontalTextBlockSize(dc, title, head_font_, zoom);
    const double f = FitFactor(size, (b - a) - 2 * pad, field_row - 2 * pad);
    if (f * head_font_.height < kHeadReadableHeight * 0.75) continue;
    DrawHorizontalTextBlock(dc, (a + b) / 2, (split + bottom) / 2, title, ScaledFont(head_font_, f), zoom);
  }
}

void CWpSandStratum::DrawSeg(CDC* dc, CView* view, CRect* clip, CRect* done) {
  const CClipTool& clipper = AfxGetClipTool();
  const int level = clipper.SaveDC(dc);
  const CRect body = BodyDraw();
  clipper.SetClip(dc, body);
  const double body_top = GetBodyTop(), body_bottom = GetBodyBottom();
  for (WPSEGMENT& s : segs_)
    if (body_top > s.bottom && body_bottom < s.top) DrawOneSeg(s, seg_color_, dc, view, clip, done);
  // The sub-column dividers run the body's length, as a table's do.
  const CLineTool& line = AfxGetLineTool();
  for (int k = 1; k < static_cast<int>(fields_.size()); ++k) {
    const int x = MP2LP(FLOATPOINT{FieldSpan(k).first, 0}).x;
    line.DrawLine(dc, CPoint{x, body.top}, CPoint{x, body.bottom}, line_pen_, zoom_);
  }
  clipper.AbortClip(dc, level);
}

void CWpSandStratum::DrawOneSeg(WPSEGMENT& seg, COLORREF, CDC* dc, CView*, CRect*, CRect*) {
  const auto* rec = dynamic_cast<const SandStratumDIndex*>(seg.data.get());
  const CLineTool& line = AfxGetLineTool();
  const CRect row = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  for (int k = 0; rec && k < static_cast<int>(fields_.size()); ++k) {
    const auto [x0, x1] = FieldSpan(k);
    const CRect cell = MP2LP(FLOATRECT{x0, seg.top, x1, seg.bottom});
    if (rec->has_flood_color && IsFloodingField(fields_[static_cast<std::size_t>(k)].field))
      AfxGetFillTool().FillRect(dc, cell, SolidBrush(rec->flood_color), zoom_);
    if (static_cast<std::size_t>(k) >= rec->cells.size()) continue;
    ZULOGFONT font = cell_font_;
    // On a dark flooding colour the text is written in white.
    if (rec->has_flood_color && IsFloodingField(fields_[static_cast<std::size_t>(k)].field) &&
        IsDark(rec->flood_color))
      font.color = 0xFFFFFF;
    DrawCellText(dc, cell, rec->cells[static_cast<std::size_t>(k)], font);
  }
  line.DrawLine(dc, CPoint{row.left, row.top}, CPoint{row.right, row.top}, line_pen_, zoom_);
  line.DrawLine(dc, CPoint{row.left, row.bottom}, CPoint{row.right, row.bottom}, line_pen_, zoom_);
}

void CWpSandStratum::DrawCellText(CDC* dc, const CRect& cell, const std::string& text, const ZULOGFONT& font) {
  if (text.empty()) return;
  const double zoom = layer_ ? GetTranslator().zoom() : zoom_;
  const double gap = kHeadTextGap * zoom;
  const TextSize size = HeadTextSize(dc, text, font, zoom);
  const double f = FitFactor(size, std::abs(cell.right - cell.left) - 2 * gap, std::abs(cell.top - cell.bottom) - gap);
  // Smaller than readable, it is left out: the row is too thin or the
  // sub-column too narrow for it.
  if (f * font.height < kHeadReadableHeight * 0.75) return;
  AfxGetTextTool().DrawText(dc, CPoint{(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2}, text,
                            ScaledFont(font, f), zoom, 0, kAlignCenter, kAlignMiddle);
}

}  // namespace davodu
