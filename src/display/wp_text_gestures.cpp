// The text kit: the mouse. A drag in the body creates a block (with Ctrl
// held at the press it starts at the bottom of the block above), moves the
// active block by its middle or one of its ends by the handles; a double
// click on the active block starts editing its text, on another block makes
// it the active one.
#include <cmath>

#include "davodu/display/wp_text.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"

namespace davodu {

namespace {

constexpr unsigned kMouseLeft = 1;     // the left button is held
constexpr unsigned kMouseControl = 8;  // the Ctrl key is held
// Edit mode of a block drag in progress.
constexpr int kEditBlock = 10;

}  // namespace

void CWpText::InvalidateBody() { InvalidBody(); }

int CWpText::OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (!IsSelected()) {
    pick_mode_ = SPM_NONE;
    ActivateSegment(-1);
    return 0;
  }
  if (PtInBody(point)) {
    OnLButtonDownInBody(view, dc, flags, point);
    return CZuObject::OnLButtonDown(view, dc, flags, point);
  }
  ActivateSegment(-1);
  drag_started_ = false;
  pick_mode_ = SPM_NONE;
  InvalidSelf();
  return CWpKit::OnLButtonDown(view, dc, flags, point);
}

void CWpText::OnLButtonDownInBody(CView* view, CDC*, unsigned flags, CPoint point) {
  press_ = point;
  pick_mode_ = PickSeg(point);
  ActivateSegment(active_);
  InvalidateBody();
  SetModifyFlag();
  if (pick_mode_ == SPM_MOVE || pick_mode_ == SPM_TOP || pick_mode_ == SPM_BOTTOM) {
    if (view) view->SetCursor(pick_mode_ == SPM_MOVE ? IDC_SIZEALL : IDC_SIZENS);
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
      if (editor_) editor_->DisableEdit();
    }
    if (view) view->SetCursor(IDC_ARROW);
  }
  if (view) view->SetCapture();
}

int CWpText::OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (IsSelected() && PtInBody(point) && edit_mode_ != EM_MOVE && edit_mode_ != EM_RESIZE) {
    OnMouseMoveInBody(view, dc, flags, point);
    return 0;
  }
  return CWpContent::OnMouseMove(view, dc, flags, point);
}

void CWpText::OnMouseMoveInBody(CView*, CDC* dc, unsigned flags, CPoint point) {
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
  if (SegActive()) {
    const int dy = point.y - last_.y;
    if (pick_mode_ == SPM_MOVE) {
      MoveSegment(active_, GetTranslator().DrawLengthToMap(std::abs(dy)) * (dy < 0 ? -1 : 1));
    } else if (pick_mode_ == SPM_TOP || pick_mode_ == SPM_BOTTOM) {
      ResizeSegment(active_, dy, pick_mode_);
    }
    InvalidateBody();
    SetModifyFlag();
  } else if (pick_mode_ == SPM_CREATE) {
    // The rubber band of the block being made, a mark of the view.
    ZULOGBRUSH band;
    band.style = kBrushDefaultSolid;
    band.color = 0x4000;
    band.rop = kRopNotXor;
    AfxGetFillTool().FillRect(dc, CRect{draw_nodes_[0].x, press_.y, draw_nodes_[1].x, point.y},
                              band, zoom_);
    InvalidateBody();
  }
  last_ = point;
}

int CWpText::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  // A drag of the content itself (its width, title or place) ends as every
  // content's does, wherever it is released.
  if (PtInBody(point) && edit_mode_ != EM_MOVE && edit_mode_ != EM_RESIZE) {
    OnLButtonUpInBody(view, dc, flags, point);
  } else {
    CWpContent::OnLButtonUp(view, dc, flags, point);
    LimitSegments();
  }
  edit_mode_ = EM_NONE;
  return 2;
}

void CWpText::OnLButtonUpInBody(CView* view, CDC*, unsigned, CPoint point) {
  if (pick_mode_ == SPM_CREATE && button_down_ && PtInBody(point)) {
    const CCoordTranslator& tr = GetTranslator();
    double top = snap_ ? snapped_top_ : tr.DrawYToMapY(press_.y);
    double bottom = tr.DrawYToMapY(point.y);
    // A block dragged upwards spans the same interval.
    if (!snap_ && top < bottom) std::swap(top, bottom);
    if (ProbeAddSegment(top, bottom)) {
      AddSegment(std::string(), top, bottom, true);
      InvalidateBody();
      SetModifyFlag();
    }
    snap_ = false;
  } else if (pick_mode_ != SPM_CREATE && pick_mode_ != SPM_MOVE && pick_mode_ != SPM_TOP &&
             pick_mode_ != SPM_BOTTOM) {
    InvalidateBody();
    SetModifyFlag();
  }
  button_down_ = false;
  if (view) view->ReleaseCapture();
}

int CWpText::OnLButtonDblClk(CView* view, CDC* dc, unsigned flags, CPoint point) {
  CgTextSegment* seg = PtInBody(point) && editor_ ? FindSeg(GetSegment(point)) : nullptr;
  if (!seg) return CWpContent::OnLButtonDblClk(view, dc, flags, point);
  const FLOATRECT block{seg->left, seg->top_y, seg->right, seg->bottom_y};
  editor_->SetMapRect(block);
  editor_->SetPosition(FLOATPOINT{(seg->left + seg->right) / 2.0, (seg->top_y + seg->bottom_y) / 2.0});
  if (!seg->active) {
    // A first double click only makes the block the active one.
    ActivateSegment(seg->number);
    InvalidateBody();
    return 0;
  }
  seg->editing = true;
  editor_->SetSegment(seg);
  editor_->SetString(seg->text);
  editor_->SetLogFont(font_);
  editor_->SetZoomFactor(zoom_);
  if (layer_) layer_->SetSelectedObject(editor_.get());
  editor_->OnLButtonDblClk(view, dc, flags, point);
  InvalidateBody();
  return 0;
}

}  // namespace davodu
