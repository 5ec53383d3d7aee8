// The segment kit: picking, the mouse gestures and the delete
// command.
#include <cmath>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/interval/wp_segment.h"

namespace davodu {

int CWpSegment::PickSeg(CPoint point, int& index) {
  index = -1;
  if (!PtInBody(point) || segs_.empty()) return kPickNone;
  const FLOATPOINT p = LP2MP(point);
  if (p.x < GetLeft() || p.x > GetRight()) return kPickNone;
  const double e = GetTranslator().DrawLengthToMap(AfxGetNodeRectWidth() / 2);
  const double mid = (GetLeft() + GetRight()) / 2;
  if (active_ >= 0 && active_ < GetSegCount()) {
    const WPSEGMENT& a = segs_[static_cast<std::size_t>(active_)];
    const bool on_handle_x = mid - e < p.x && p.x < mid + e;
    if (on_handle_x && a.top - e < p.y && p.y < a.top + e) {
      index = active_;
      return kPickTop;
    }
    if (on_handle_x && a.bottom - e < p.y && p.y < a.bottom + e) {
      index = active_;
      return kPickBottom;
    }
  }
  for (int i = 0; i < GetSegCount(); ++i) {
    if (TestOneSeg(segs_[static_cast<std::size_t>(i)], p)) {
      index = i;
      return kPickInside;
    }
  }
  return kPickNone;
}

int CWpSegment::OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  const bool in_body = PtInBody(point);
  int result = 0;
  if (!in_body) result = CWpContent::OnLButtonDown(view, dc, flags, point);
  if (IsSelected()) {
    const int old_active = active_;
    const int old_pick = pick_state_;
    if (in_body) {
      int picked = -1;
      pick_state_ = PickSeg(point, picked);
      active_ = picked;
    } else {
      active_ = -1;
      pick_state_ = kPickNone;
      flags_[2] = false;
    }
    if (active_ != old_active) time_stamp_ = AfxGetTimeStamp();
    if (pick_state_ == kPickInside || pick_state_ == kPickTop || pick_state_ == kPickBottom) {
      edit_mode_ = EM_RESIZE;
      if (view) {
        view->SetCursor(pick_state_ == kPickInside ? IDC_SIZEALL : IDC_CROSS);
        view->SetCapture();
      }
      InvalidateSeg();
    } else if (in_body) {
      active_ = -1;
      InvalidateSeg();
      edit_mode_ = EM_NONE;
      if (view) {
        view->SetCursor(IDC_ARROW);
        view->SetCapture();
      }
    } else if (pick_state_ != old_pick && edit_mode_ != EM_MOVE) {
      InvalidateSeg();
    }
  } else {
    active_ = -1;
    pick_state_ = kPickNone;
    InvalidateSeg();
  }
  press_point_ = last_point_ = point;
  dragging_ = false;
  return result;
}

int CWpSegment::OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) {
  const bool button = (flags & MK_LBUTTON) != 0 || (view && view->HasCapture());
  if (button && pick_state_ > 0) {
    dragging_ = true;
    DrawRubberBand(dc, point.y);      // on at the new place
    DrawRubberBand(dc, last_point_.y);  // off at the old one
    last_point_ = point;
  } else if (button && work_state_ == kWorkAdd) {
    dragging_ = true;
    last_point_ = point;
  } else {
    dragging_ = false;
  }
  if (PtInBody(point)) return 0;
  return CWpContent::OnMouseMove(view, dc, flags, point);
}

int CWpSegment::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (work_state_ == kWorkAdd && dragging_ && PtInBody(point) && PtInBody(press_point_)) {
    int ignored = -1;
    if (PickSeg(point, ignored) == kPickNone && PickSeg(press_point_, ignored) == kPickNone) {
      const int added = AddASeg(LP2MP(press_point_.y), LP2MP(point.y));
      if (added >= 0) AnchorSeg(segs_[static_cast<std::size_t>(added)]);
      InvalidateSeg();
    }
  }
  if (active_ >= 0 && active_ < GetSegCount() && dragging_) {
    const double dy = LP2MP(point.y) - LP2MP(press_point_.y);
    if (pick_state_ == kPickInside && MoveSegValid(active_, dy)) {
      MoveSeg(active_, dy);
      InvalidateSeg();
    } else if ((pick_state_ == kPickTop || pick_state_ == kPickBottom) && PtInBody(point)) {
      MoveSegP(active_, dy, pick_state_);
      InvalidateSeg();
    }
  }
  dragging_ = false;
  if (view) view->ReleaseCapture();
  return CWpContent::OnLButtonUp(view, dc, flags, point);
}

int CWpSegment::OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (work_state_ != kWorkDelete) return CWpContent::OnRButtonDown(view, dc, flags, point);
  if (CZuMapFile* doc = GetMapFile()) {
    if (!doc->GetMenu().empty()) doc->AddMenu(0, "");
    if (active_ >= 0 && active_ < GetSegCount()) doc->AddMenu(kCmdDeleteSeg, Gbk("删除图形"));
  }
  return 0;
}

int CWpSegment::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdDeleteSeg && active_ >= 0 && active_ < GetSegCount()) {
    DelASeg(active_);
    InvalidateSeg();
    active_ = -1;
    pick_state_ = kPickNone;
  }
  return CWpContent::OnCommand(view, dc, id, param);
}

}  // namespace davodu
