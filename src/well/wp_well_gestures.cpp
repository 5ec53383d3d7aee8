// Gestures of the well: dragging the name or the symbol to a place of its
// own, and the end of resizing or moving the whole chart.

#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

// Edit mode of a name or symbol drag, and the handles that tell them apart.
constexpr int kEditMark = 7;
constexpr int kHandleSymbol = 10;
constexpr int kHandleName = 11;

// Whether a draw point lies in the map box centre ± (half_w, half_h).
bool InBox(const CCoordTranslator& tr, CPoint point, FLOATPOINT centre, double half_w,
           double half_h) {
  const FLOATRECT box{centre.x - half_w, centre.y + half_h, centre.x + half_w, centre.y - half_h};
  return tr.MapToDraw(box).Contains(point);
}

}  // namespace

int CWpWell::OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (OnNameOrSymbol(view, point)) return 1;
  return CWpKit::OnLButtonDown(view, dc, flags, point);
}

bool CWpWell::OnNameOrSymbol(CView* view, CPoint point) {
  const CCoordTranslator& tr = GetTranslator();
  int handle = 0;
  if (title_visible_ && title_align_ >= 0 &&
      InBox(tr, point, TitleCentre(), NameWidth() / 2, title_font_.height / 2.0))
    handle = kHandleName;
  else if (title_visible_ && symbol_align_ >= 0 &&
           InBox(tr, point, TypeCentre(), symbol_.size / 2.0, symbol_.size / 2.0))
    handle = kHandleSymbol;
  if (!handle) return false;
  hit_kit_ = this;
  edit_mode_ = kEditMark;
  selected_handle_ = handle;
  press_point_ = last_point_ = point;
  if (view) {
    view->SetCursor(IDC_SIZEALL);
    view->SetCapture();
  }
  return true;
}

int CWpWell::OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (edit_mode_ == kEditMark) {
    last_point_ = point;
    return 1;
  }
  return CWpKit::OnMouseMove(view, dc, flags, point);
}

int CWpWell::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (edit_mode_ == kEditMark)
    EndNameOrSymbolDrag(point);
  else if (edit_mode_ == EM_RESIZE && hit_kit_ == this)
    EndResize(point);
  else if (edit_mode_ == EM_MOVE && hit_kit_ == this && !(point == press_point_))
    EndMove(point);
  return CWpKit::OnLButtonUp(view, dc, flags, point);
}

void CWpWell::EndNameOrSymbolDrag(CPoint point) {
  const CCoordTranslator& tr = GetTranslator();
  const double dx = tr.DrawLengthToMap(point.x - press_point_.x);
  const double dy = tr.DrawLengthToMap(point.y - press_point_.y);
  InvalidSelf();
  // The mark moves from where it was drawn and stays where it is put.
  const FLOATPOINT& n0 = map_nodes_[0];
  if (selected_handle_ == kHandleName) {
    const FLOATPOINT c = TitleCentre();
    title_position_ = {c.x - n0.x + dx, c.y - n0.y + dy};
    title_align_ = 0;
  } else {
    TitleCentre();
    const FLOATPOINT c = TypeCentre();
    symbol_position_ = {c.x - n0.x + dx, c.y - n0.y + dy};
    symbol_align_ = 0;
  }
  edit_mode_ = EM_NONE;
  selected_handle_ = CN_NONE;
  RebuildSelf();
  InvalidSelf();
}

void CWpWell::EndResize(CPoint point) {
  const CCoordTranslator& tr = GetTranslator();
  const double dx = tr.DrawLengthToMap(point.x - press_point_.x);
  const double dy = tr.DrawLengthToMap(point.y - press_point_.y);
  InvalidSelf();
  switch (selected_handle_) {
    case CN_LEFT:
    case CN_RIGHT: {
      // The dragged edge follows the mouse, the other one stays.
      double left = map_nodes_[0].x, right = map_nodes_[1].x;
      (selected_handle_ == CN_LEFT ? left : right) += dx;
      const double width = right - left;
      if (width > MinWidth() && width < 100000) {
        SetWidth(static_cast<float>(width));
        const double anchor = column_view_ ? left : left + width / 2;
        SetPosition(FLOATPOINT{anchor, position_.y}, column_view_ ? 1 : 0);
      }
      ResetWidth();
      break;
    }
    case CN_TITLE_TOP:
      SetTitleHeight(static_cast<float>(title_height_ + dy));
      BuildHead();
      break;
    case CN_CLIENT_TOP: {
      // The boundary between the title and client bands moves; the top of
      // the head stays.
      const float before = GetClientHeight();
      SetClientHeight(static_cast<float>(client_height_ + dy));
      SetTitleHeight(title_height_ - (GetClientHeight() - before));
      ResetClient();
      break;
    }
    default:
      break;
  }
  ResetClient();
  ResetWidth();
  Reset();
  OnChanged(nullptr);
  InvalidSelf();
}

void CWpWell::EndMove(CPoint point) {
  const CCoordTranslator& tr = GetTranslator();
  InvalidSelf();
  SetPosition(FLOATPOINT{position_.x + tr.DrawLengthToMap(point.x - press_point_.x),
                         position_.y + tr.DrawLengthToMap(point.y - press_point_.y)},
              1);
  RebuildSelf();
  InvalidSelf();
}

}  // namespace davodu
