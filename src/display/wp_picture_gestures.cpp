// The picture kit: the mouse. A first press on a block makes it the active
// one; pressing it again near its top centre, bottom centre or right middle
// drags that edge, inside it moves it. A drag on free body space (with Ctrl
// held at the press: from the bottom of the block above) asks for a picture
// for the dragged interval.
#include <cmath>

#include "davodu/display/wp_picture.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_map.h"

namespace davodu {

namespace {

constexpr unsigned kMouseLeft = 1;     // the left button is held
constexpr unsigned kMouseControl = 8;  // the Ctrl key is held
// Edit mode of a block drag in progress.
constexpr int kEditBlock = 10;

bool IsBlockDrag(int mode) {
  return mode == SPM_MOVE || mode == SPM_TOP || mode == SPM_BOTTOM || mode == SPM_RIGHT;
}

}  // namespace

int CWpPicture::OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  width_at_press_ = map_nodes_[1].x - map_nodes_[0].x;
  fit_pending_.clear();
  if (!IsSelected()) {
    pick_mode_ = SPM_NONE;
    active_ = -1;
    ActivateSegment(-1);
    return 0;
  }
  if (PtInBody(point)) {
    OnLButtonDownInBody(view, dc, flags, point);
    return CZuObject::OnLButtonDown(view, dc, flags, point);
  }
  drag_started_ = false;
  ActivateSegment(-1);
  pick_mode_ = SPM_NONE;
  active_ = -1;
  InvalidSelf();
  press_ = point;
  return CWpKit::OnLButtonDown(view, dc, flags, point);
}

void CWpPicture::OnLButtonDownInBody(CView* view, CDC*, unsigned flags, CPoint point) {
  pick_mode_ = PickSeg(point);
  ActivateSegment(active_);
  InvalidBody();
  SetModifyFlag();
  press_ = point;
  if (IsBlockDrag(pick_mode_)) {
    if (view)
      view->SetCursor(pick_mode_ == SPM_MOVE ? IDC_SIZEALL : pick_mode_ == SPM_RIGHT ? IDC_SIZEWE
                                                                                     : IDC_SIZENS);
    edit_mode_ = kEditBlock;
    last_ = press_;
  } else {
    edit_mode_ = EM_NONE;
    if (flags & kMouseControl) {
      snap_ = true;
      snapped_top_ = GetNearestTop(point);
      press_.y = GetTranslator().MapYToDrawY(snapped_top_);
    } else {
      last_ = press_;
      snap_ = false;
    }
    if (view) view->SetCursor(IDC_ARROW);
  }
  if (view) view->SetCapture();
}

int CWpPicture::OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (IsSelected() && PtInBody(point) && edit_mode_ != EM_MOVE && edit_mode_ != EM_RESIZE) {
    OnMouseMoveInBody(view, dc, flags, point);
    return 1;
  }
  if (IsSelected()) last_ = point;
  return CWpContent::OnMouseMove(view, dc, flags, point);
}

void CWpPicture::OnMouseMoveInBody(CView*, CDC* dc, unsigned flags, CPoint point) {
  if (flags & kMouseLeft) {
    button_down_ = true;
    if (!drag_started_) {
      drag_started_ = true;
      if (!snap_) press_ = point;
    } else if (pick_mode_ == SPM_NONE) {
      pick_mode_ = SPM_CREATE;
    }
  } else {
    button_down_ = false;
    pick_mode_ = SPM_NONE;
  }
  const CCoordTranslator& tr = GetTranslator();
  if (pick_mode_ == SPM_CREATE) {
    // The rubber band of the block being made, a mark of the view.
    ZULOGBRUSH band;
    band.style = kBrushDefaultSolid;
    band.color = 0x4000;
    band.rop = kRopNotXor;
    AfxGetFillTool().FillRect(dc, CRect{draw_nodes_[0].x, press_.y, draw_nodes_[1].x, point.y}, band,
                              zoom_);
    InvalidBody();
  } else if (pick_mode_ == SPM_MOVE) {
    const int dy = point.y - last_.y;
    MoveSegment(active_, tr.DrawLengthToMap(std::abs(dy)) * (dy < 0 ? -1 : 1));
    InvalidBody();
    SetModifyFlag();
  } else if (pick_mode_ == SPM_TOP || pick_mode_ == SPM_BOTTOM) {
    ResizeSegment(active_, point.y - last_.y, pick_mode_);
    InvalidBody();
    SetModifyFlag();
  } else if (pick_mode_ == SPM_RIGHT) {
    ResizeSegment(active_, point.x - last_.x, pick_mode_);
    InvalidBody();
    SetModifyFlag();
  }
  last_ = point;
}

int CWpPicture::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  // A drag of the content itself (its width, title or place) ends as every
  // content's does, wherever it is released.
  if (PtInBody(point) && edit_mode_ != EM_MOVE && edit_mode_ != EM_RESIZE) {
    OnLButtonUpInBody(view, dc, flags, point);
  } else {
    CWpContent::OnLButtonUp(view, dc, flags, point);
    UpdateSegments();
  }
  edit_mode_ = EM_NONE;
  drag_started_ = false;
  return 2;
}

void CWpPicture::OnLButtonUpInBody(CView* view, CDC*, unsigned, CPoint point) {
  if (pick_mode_ == SPM_CREATE && button_down_ && PtInBody(point)) {
    const CCoordTranslator& tr = GetTranslator();
    double top = snap_ ? snapped_top_ : tr.DrawYToMapY(press_.y);
    double bottom = tr.DrawYToMapY(point.y);
    // A block dragged upwards spans the same interval.
    if (!snap_ && top < bottom) std::swap(top, bottom);
    std::string name;
    if (ProbeAddSegment(top, bottom) && GetPicture(name)) {
      AddSegment(name, top, bottom, kFltMin, kFltMin, false);
      pick_mode_ = SPM_ACTIVATED;
      InvalidBody();
      SetModifyFlag();
    }
    snap_ = false;
  } else if (!IsBlockDrag(pick_mode_) && pick_mode_ != SPM_CREATE) {
    InvalidBody();
    SetModifyFlag();
  }
  button_down_ = false;
  if (view) view->ReleaseCapture();
}

}  // namespace davodu
