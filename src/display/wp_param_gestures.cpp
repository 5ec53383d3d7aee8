// The parameter column kit: the mouse (a press picks the interval under it)
// and the commands.
#include "davodu/data/data_io.h"
#include "davodu/display/wp_param.h"
#include "davodu/host/objects/zu_map.h"

namespace davodu {

int CWpParam::SegmentAt(CPoint point) const {
  const FLOATPOINT p = LP2MP(point);
  for (const auto& s : segs_)
    if (p.x > s->left && p.x < s->right && p.y > s->bottom_y && p.y < s->top_y) return s->number;
  return -1;
}

int CWpParam::OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (!IsSelected()) {
    ActivateSegment(-1);
    return 0;
  }
  if (PtInBody(point)) {
    ActivateSegment(SegmentAt(point));
    InvalidBody();
    SetModifyFlag();
    return CZuObject::OnLButtonDown(view, dc, flags, point);
  }
  ActivateSegment(-1);
  InvalidSelf();
  return CWpKit::OnLButtonDown(view, dc, flags, point);
}

int CWpParam::OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (IsSelected() && PtInBody(point) && edit_mode_ != EM_MOVE && edit_mode_ != EM_RESIZE) return 1;
  return CWpContent::OnMouseMove(view, dc, flags, point);
}

int CWpParam::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (!PtInBody(point) || edit_mode_ == EM_MOVE || edit_mode_ == EM_RESIZE)
    CWpContent::OnLButtonUp(view, dc, flags, point);
  edit_mode_ = EM_NONE;
  return 2;
}

int CWpParam::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdCheckData)
    if (LogParaDIO* source = GetData()) source->CheckDataSet();
  return CWpKit::OnCommand(view, dc, id, param);
}

}  // namespace davodu
