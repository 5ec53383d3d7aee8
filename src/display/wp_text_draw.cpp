// The text kit: drawing the blocks.
#include <algorithm>
#include <cmath>

#include "davodu/display/wp_text.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/util/gbk.h"

namespace davodu {

namespace {

// Room kept between a block's text and its boundary lines and the column's
// sides, in map units (0.5 mm across, 0.3 mm down), at most a quarter of
// the block.
constexpr double kInsetX = 50;
constexpr double kInsetY = 30;

int AlignH(const std::string& align) {
  if (align == Gbk("右对齐")) return kAlignRight;
  if (align == Gbk("居中")) return kAlignCenter;
  return kAlignLeft;
}

int AlignV(const std::string& align) {
  if (align == Gbk("顶对齐")) return kAlignTop;
  if (align == Gbk("居中")) return kAlignMiddle;
  return kAlignBottom;
}

}  // namespace

void CWpText::UpdateEditor() {
  if (!editor_) return;
  for (const auto& s : segs_) {
    if (!s->editing) continue;
    editor_->SetMapRect(FLOATRECT{s->left, s->top_y, s->right, s->bottom_y});
    editor_->SetPosition(FLOATPOINT{(s->left + s->right) / 2.0, (s->top_y + s->bottom_y) / 2.0});
  }
}

void CWpText::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!visible_) return;
  view_set_ = true;
  UpdateEditor();
  CWpInWell::Draw(dc, view, clip, done);
  DrawTitle(dc, view, clip, done);
  if (!segs_.empty()) {
    // A block reaching beyond the depth range shows the part inside it.
    const CClipTool& tool = AfxGetClipTool();
    const int level = tool.SaveDC(dc);
    tool.SetClip(dc, BodyDraw());
    for (const auto& s : segs_) DrawBody(dc, *s);
    tool.AbortClip(dc, level);
  }
  border_flags_[3] = border_flags_[4] = 0;
  DrawBorder(dc, view, clip, done);
}

void CWpText::DrawBody(CDC* dc, CgTextSegment& seg) {
  if (seg.number == -1) return;
  const double y0 = map_nodes_[0].y, y10 = map_nodes_[10].y;
  if (seg.top_y < y10 || seg.bottom_y > y0 + 0.1) return;  // wholly outside the body
  seg.left = static_cast<float>(map_nodes_[0].x);
  seg.right = static_cast<float>(map_nodes_[1].x);
  const FLOATRECT block{seg.left, seg.top_y, seg.right, seg.bottom_y};
  if (seg.editing && editor_) {
    editor_->SetLogFont(font_);
    editor_->SetMapRect(block);
    editor_->SetPosition(FLOATPOINT{(seg.left + seg.right) / 2.0, (seg.top_y + seg.bottom_y) / 2.0});
  }
  const CCoordTranslator& tr = GetTranslator();
  const CRect rect = tr.MapToDraw(block).Normalized();
  if (!transparent_) {
    ZULOGBRUSH brush;
    brush.style = kBrushDefaultSolid;
    brush.color = back_color_;
    AfxGetFillTool().FillRect(dc, rect, brush, zoom_);
  }
  const double height = seg.top_y - seg.bottom_y;
  const double ix = std::min(kInsetX, (seg.right - seg.left) / 4.0);
  const double iy = std::min(kInsetY, height / 4);
  const CRect inner = tr.MapToDraw(FLOATRECT{seg.left + ix, seg.top_y - iy, seg.right - ix,
                                             seg.bottom_y + iy}).Normalized();
  const std::string& text = seg.editing && editor_ ? editor_->GetString() : seg.text;
  AfxGetTextTool().DrawTextInRect(dc, inner, text, font_, zoom_, AlignH(align_h_), AlignV(align_v_));

  const CLineTool& line = AfxGetLineTool();
  const int x0 = draw_nodes_[0].x, x1 = draw_nodes_[1].x;
  const int top = tr.MapYToDrawY(seg.top_y), bottom = tr.MapYToDrawY(seg.bottom_y);
  line.DrawLine(dc, CPoint{x0, top}, CPoint{x1, top}, boundary_pen_, zoom_);
  line.DrawLine(dc, CPoint{x0, bottom}, CPoint{x1, bottom}, boundary_pen_, zoom_);
  if (seg.active) {
    ZULOGPEN handle;
    handle.style = kPenMarkHandle;
    handle.color = 0xFF0010;
    handle.width = 50;
    const int half = AfxGetNodeRectWidth() / 2;
    const int cx = tr.MapXToDrawX((seg.left + seg.right) / 2.0);
    for (int y : {top, bottom})
      line.DrawRect(dc, CRect{cx - half, y + half, cx + half, y - half}, handle, zoom_);
  }
}

void CWpText::DrawSelectedMark(CDC* dc, CView*) { DrawContentMark(dc, true); }

}  // namespace davodu
