// The symbol column base: adding by dragging, the delete menu.
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/util/gbk.h"
#include "davodu/special/wp_symble.h"

namespace davodu {

int CWpSymble::OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if ((flags & MK_CONTROL) != 0) {
    // A Ctrl-drag adds from the interval above; only in a selected column.
    if (!IsSelected()) return 1;
    adding_ = true;
    dragging_ = true;
    nearest_top_ = GetNearestTop(point);
    press_point_ = last_point_ = point;
    if (view) view->SetCapture();
    return 1;
  }
  adding_ = false;
  return CWpSegment::OnLButtonDown(view, dc, flags, point);
}

int CWpSymble::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  const bool plain_add = work_state_ == kWorkAdd && dragging_ && pick_state_ == kPickNone;
  if (!adding_ && !plain_add) return CWpSegment::OnLButtonUp(view, dc, flags, point);
  const double top = adding_ ? nearest_top_ : LP2MP(press_point_.y);
  const double bottom = LP2MP(point.y);
  adding_ = false;
  dragging_ = false;
  if (view) view->ReleaseCapture();
  if (!ProbeAddSegment(top, bottom)) return 2;
  SetModifyFlag();
  if (data_source_ >= 1 && data_source_ <= 8) {
    ISymbleData* io = GetData();
    if (io && io->AddSeg(MapYToDep(static_cast<float>(top)), MapYToDep(static_cast<float>(bottom)))) {
      io->Notify();
      active_ = GetIndex(top, bottom);
    }
  } else if (IsLocalSource(data_source_)) {
    const int at = AddASeg(top, bottom);
    if (at >= 0) {
      WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
      seg.data = std::make_shared<SymbleDIndex>(at);
      AnchorSeg(seg);
      active_ = at;
      InvalidateSeg();
    }
    UpdateD2V();
  }
  return 2;
}

int CWpSymble::OnRButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  const CRect body = BodyDraw().Normalized();
  const bool inside = point.x > body.left && point.x < body.right && point.y > body.bottom && point.y < body.top;
  if (inside && active_ >= 0 && active_ < GetSegCount() &&
      TestOneSeg(segs_[static_cast<std::size_t>(active_)], LP2MP(point))) {
    if (CZuMapFile* doc = GetMapFile()) {
      doc->AddMenu(0, "");
      doc->AddMenu(kCmdDelete, Gbk("删除"));
    }
    return 0;
  }
  return CWpSegment::OnRButtonDown(view, dc, flags, point);
}

int CWpSymble::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdCheckDataSet)
    if (ISymbleData* io = GetData()) io->CheckDataSet();
  if (id == kCmdDelete) {
    work_state_ = kWorkDelete;
    DeleteSymbleSeg(active_);
    InvalidateSeg();
    active_ = -1;
  }
  return CWpSegment::OnCommand(view, dc, id, param);
}

}  // namespace davodu
