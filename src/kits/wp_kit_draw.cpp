// How every kit draws: the highlight, the draw test, the children, the
// client brush, the handle squares and the frame.
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/kits/wp_kit.h"

namespace davodu {

void CWpKit::Highlight(CDC* dc, CView*) {
  ZULOGPEN pen;
  pen.rop = kRopNotXor;
  const int type = GetWpKitType();
  if (type == WPKIT_WELL)
    pen.style = kPenMarkDepthFrame;
  else if (type == WPKIT_TRACK)
    pen.color = 0x00FF00;
  else
    pen.color = 0xFF0000;
  const CLineTool& line = AfxGetLineTool();
  const CPoint* n = draw_nodes_;
  auto seg = [&](int a, int b) { line.DrawLine(dc, n[a], n[b], pen, zoom_); };
  if (title_visible_ && head_align_ >= 0) {
    seg(4, 5), seg(2, 4), seg(3, 5);
    if (head_align_ == 1) seg(14, 15), seg(12, 14), seg(13, 15);
  }
  if (head_align_ >= 0) {
    seg(2, 3);
    if (head_align_ == 1) seg(12, 13);
    if (type == WPKIT_WELL || type == WPKIT_TRACK) {
      seg(0, 2), seg(1, 3);
      if (head_align_ == 1) seg(10, 12), seg(11, 13);
    }
  }
  if (client_height_ > 1) seg(0, 1);
  seg(0, 10), seg(1, 11), seg(10, 11);
}

bool CWpKit::NeedsDrawing(const CRect* clip, const CRect* done) const {
  if (!visible_) return false;
  const CRect me = draw_rect_.Normalized();
  if (clip) {
    const CRect c = clip->Normalized();
    // Y grows upwards: a rectangle wholly left, right, above or below misses.
    if (me.left >= c.right || c.left >= me.right || c.bottom >= me.top || me.bottom >= c.top)
      return false;
  }
  if (done) {
    const CRect d = done->Normalized();
    if (me.left >= d.left && me.right <= d.right && me.top <= d.top && me.bottom >= d.bottom)
      return false;
  }
  return true;
}

void CWpKit::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!NeedsDrawing(clip, done)) return;
  DrawChildren(dc, view, clip, done);
  DrawClientBrush(dc);
  CZuObject::Draw(dc, view, clip, done);
}

void CWpKit::DrawChildren(CDC* dc, CView* view, CRect* clip, CRect* done) {
  for (CWpKit* c : children_) c->Draw(dc, view, clip, done);
}

void CWpKit::DrawClientBrush(CDC* dc) {
  const CPoint* n = draw_nodes_;
  const CPoint polygon[] = {n[4], n[8], n[5], n[7], n[3], n[9], n[2], n[6]};
  AfxGetFillTool().FillPolygon(dc, polygon, 8, client_brush_, zoom_);
}

void CWpKit::DrawNodeSquare(CDC* dc, int i, const ZULOGPEN& pen) const {
  const int half = AfxGetNodeRectWidth() / 2;
  const CPoint& p = draw_nodes_[i];
  AfxGetLineTool().DrawRect(dc, CRect{p.x - half, p.y + half, p.x + half, p.y - half}, pen, zoom_);
}

bool CWpKit::BorderLineShown(int index) const {
  if (index >= 1 && index <= 6 && head_align_ == -1) return false;
  if ((index == 2 || index == 5 || index == 6) && !title_visible_) return false;
  return true;
}

void CWpKit::DrawBorder(CDC* dc, CView*, CRect*, CRect*) {
  // Line of each flag, and its mirror in the lower head (-1: none).
  static const int kLines[kBorderCount][4] = {
      {0, 1, -1, -1},  {2, 3, 12, 13}, {4, 5, 14, 15}, {0, 2, 10, 12}, {1, 3, 11, 13},
      {2, 4, 12, 14},  {3, 5, 13, 15}, {0, 10, -1, -1}, {1, 11, -1, -1}, {10, 11, -1, -1}};
  const CLineTool& line = AfxGetLineTool();
  for (int i = 0; i < kBorderCount; ++i) {
    if (!border_flags_[i] || !BorderLineShown(i)) continue;
    const int* l = kLines[i];
    line.DrawLine(dc, draw_nodes_[l[0]], draw_nodes_[l[1]], border_pen_, zoom_);
    if (l[2] >= 0 && head_align_ == 1)
      line.DrawLine(dc, draw_nodes_[l[2]], draw_nodes_[l[3]], border_pen_, zoom_);
  }
}

}  // namespace davodu
