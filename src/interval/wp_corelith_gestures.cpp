// The lithology kit: adding intervals by dragging, the context menu of the
// active interval and its commands.
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/interval/wp_corelith.h"

namespace davodu {

namespace {

// The mouse flags of an add: adding, anchored (started with Shift at the
// bottom of the interval above), started (the first move was seen).
constexpr int kAdding = 0;
constexpr int kAnchored = 1;
constexpr int kStarted = 2;

bool Picking(int pick_state) {
  return pick_state == CWpSegment::kPickInside || pick_state == CWpSegment::kPickTop ||
         pick_state == CWpSegment::kPickBottom;
}

}  // namespace

int CWpCorelith::OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  flags_[kAdding] = flags_[kStarted] = false;
  if ((flags & kShiftKey) == 0) {
    flags_[kAnchored] = false;
    return CWpSegment::OnLButtonDown(view, dc, flags, point);
  }
  if (!IsSelected() || !PtInBody(point)) return 1;
  // The new interval will start where the interval above the press ends.
  flags_[kAdding] = flags_[kAnchored] = true;
  nearest_top_ = GetNearestTop(point);
  pick_state_ = kPickNone;
  press_point_ = CPoint{point.x, MP2LP(nearest_top_)};
  last_point_ = press_point_;
  dragging_ = false;
  if (view) view->SetCapture();
  return 1;
}

int CWpCorelith::OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) {
  const bool button = (flags & MK_LBUTTON) != 0 || (view && view->HasCapture());
  if (!button) return 1;
  // A segment or boundary drag, a width drag or a move of the column.
  if (Picking(pick_state_) || edit_mode_ != EM_NONE)
    return CWpSegment::OnMouseMove(view, dc, flags, point);
  if (!PtInBody(point) || !PtInBody(press_point_)) return 1;
  if (!flags_[kStarted]) {
    flags_[kStarted] = true;
    last_point_ = point;
    return 1;
  }
  flags_[kAdding] = true;
  // The band of the new interval, as a mark of the view: drawn again at
  // the old place it goes away.
  ZULOGBRUSH band;
  band.style = kBrushDefaultSolid;
  band.color = 0x004000;
  band.rop = kRopNotXor;
  const int left = draw_nodes_[0].x, right = draw_nodes_[1].x;
  AfxGetFillTool().FillRect(dc, CRect{left, press_point_.y, right, last_point_.y}, band, zoom_);
  AfxGetFillTool().FillRect(dc, CRect{left, press_point_.y, right, point.y}, band, zoom_);
  last_point_ = point;
  return 1;
}

int CWpCorelith::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (!flags_[kAdding]) {
    flags_[kAnchored] = flags_[kStarted] = false;
    return CWpSegment::OnLButtonUp(view, dc, flags, point);
  }
  // From the press (or the interval above) down to the release; an add
  // dragged upwards is refused by the probe.
  const double bottom = LP2MP(point.y);
  const double top = flags_[kAnchored] ? nearest_top_ : LP2MP(press_point_.y);
  AddDragged(top, bottom);
  flags_[kAdding] = flags_[kAnchored] = flags_[kStarted] = false;
  dragging_ = false;
  if (view) view->ReleaseCapture();
  InvalidateSeg();
  return 2;
}

int CWpCorelith::OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  // On the active interval: its own menu; elsewhere the column's.
  const bool on_active = PtInBody(point) && active_ >= 0 && active_ < GetSegCount() &&
                         TestOneSeg(segs_[static_cast<std::size_t>(active_)], LP2MP(point));
  if (!on_active) return CWpSegment::OnRButtonDown(view, dc, flags, point);
  if (CZuMapFile* doc = GetMapFile()) {
    if (!doc->GetMenu().empty()) doc->AddMenu(0, "");
    doc->AddMenu(kCmdDeleteCorelith, Gbk("删除"));
  }
  return 0;
}

int CWpCorelith::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdCheckDataSet) {
    if (LogCorelithDIO* io = GetData()) io->CheckDataSet();
  } else if (id == kCmdDeleteCorelith && active_ >= 0 && active_ < GetSegCount()) {
    DeleteOneCorelith(active_);
    InvalidateSeg();
    active_ = -1;
  }
  return CWpSegment::OnCommand(view, dc, id, param);
}

}  // namespace davodu
