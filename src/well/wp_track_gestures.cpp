// The mouse gestures of a track: dragging an edge handle resizes it (the
// left or right edge its width, the top of the title band its title, the
// top of the client band its client band), dragging its head moves it
// between the other tracks of the well.
#include <algorithm>
#include <cmath>

#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/well/wp_track.h"

namespace davodu {

namespace {

// Sizes follow the mouse in steps of 0.5 mm.
constexpr double kSnap = 50;
// Widths stay below what the width setter accepts.
constexpr double kMaxWidth = 99999;

double SnapDown(double v) { return std::floor(v / kSnap) * kSnap; }

double Between(double v, double a, double b) {
  return std::min(std::max(v, std::min(a, b)), std::max(a, b));
}

}  // namespace

// ---------------------------------------------------------------- mouse

int CWpTrack::OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (edit_mode_ == EM_RESIZE)
    DragEdge(dc, view, point);
  else if (edit_mode_ == EM_MOVE && parent_)
    point = DragOrder(dc, view, point);
  return CWpInWell::OnMouseMove(view, dc, flags, point);
}

int CWpTrack::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (edit_mode_ == EM_RESIZE) {
    EndEdgeDrag();
  } else if (edit_mode_ == EM_MOVE && parent_ && hit_kit_) {
    EndOrderDrag(dc, view);
    // The host's handler ends the gesture where it started: the track has
    // moved by the reordering, not by the mouse.
    point = press_point_;
  }
  if (view) view->ReleaseCapture();
  return CWpInWell::OnLButtonUp(view, dc, flags, point);
}

// ---------------------------------------------------------------- resizing

float CWpTrack::DragWidthLimit() {
  // A track alone in its well is held at what the well needs.
  if (parent_ && parent_->ChildrenCount() < 2) return parent_->MinWidth();
  return MinWidth();
}

void CWpTrack::DragEdge(CDC* dc, CView* view, CPoint point) {
  const CCoordTranslator& tr = GetTranslator();
  const FLOATPOINT p = tr.DrawToMap(point);
  DrawSelectedMark(dc, view, 1);  // off at the old place
  switch (selected_handle_) {
    case CN_LEFT:
    case CN_RIGHT: {
      const bool left = selected_handle_ == CN_LEFT;
      const double distance = left ? map_nodes_[1].x - p.x : p.x - map_nodes_[0].x;
      const double limit = DragWidthLimit();
      width_ = static_cast<float>(std::min(std::max(SnapDown(distance), limit), kMaxWidth));
      if (left) {
        // The right edge stays; the anchor follows the left edge.
        map_nodes_[0].x = map_nodes_[1].x - width_;
        const int x = tr.MapXToDrawX(map_nodes_[0].x);
        for (int i : {0, 2, 4, 10}) draw_nodes_[i].x = x;
      } else {
        const int x = tr.MapXToDrawX(map_nodes_[0].x + width_);
        for (int i : {1, 3, 5, 11}) draw_nodes_[i].x = x;
      }
      break;
    }
    case CN_TITLE_TOP: {
      const float least = parent_ ? parent_->ChildMinTitle() : MinTitle();
      SetTitleHeight(static_cast<float>(std::max<double>(SnapDown(p.y - map_nodes_[2].y), least)));
      const int y = tr.MapYToDrawY(map_nodes_[2].y + GetTitleHeight());
      draw_nodes_[4].y = draw_nodes_[5].y = y;
      break;
    }
    case CN_CLIENT_TOP: {
      const float least = parent_ ? parent_->ChildMinClient() : MinClient();
      SetClientHeight(static_cast<float>(std::max<double>(SnapDown(p.y - map_nodes_[0].y), least)));
      const int y = tr.MapYToDrawY(map_nodes_[0].y + GetClientHeight());
      draw_nodes_[2].y = draw_nodes_[3].y = y;
      break;
    }
    default:
      break;
  }
  DrawSelectedMark(dc, view, 1);  // on at the new place
}

void CWpTrack::EndEdgeDrag() {
  if (parent_)
    parent_->InvalidParent();
  else
    InvalidSelf();
  switch (selected_handle_) {
    case CN_LEFT:
    case CN_RIGHT:
      SetPosition(map_nodes_[0], 1);
      ResetWidth();
      if (parent_) parent_->ResetWidth(this, selected_handle_ == CN_RIGHT ? 1 : 0);
      break;
    case CN_TITLE_TOP:
    case CN_CLIENT_TOP:
      if (parent_) parent_->ResetClient(this);
      if (selected_handle_ == CN_TITLE_TOP)
        BuildHead();
      else
        ResetClient();
      break;
    default:
      break;
  }
  RebuildParent();
}

// ---------------------------------------------------------------- reordering

CPoint CWpTrack::DragOrder(CDC* dc, CView* view, CPoint point) {
  CWpKit* holder = parent_;
  const CCoordTranslator& tr = GetTranslator();
  // The centre of the upper head, moved with the mouse but kept inside the
  // well's upper client band.
  const double cx = (map_nodes_[4].x + map_nodes_[1].x) / 2;
  const double cy = (map_nodes_[4].y + map_nodes_[1].y) / 2;
  const double x = Between(cx + tr.DrawLengthToMap(point.x - press_point_.x),
                           holder->MapNode(2).x, holder->MapNode(1).x);
  const double y = Between(cy + tr.DrawLengthToMap(point.y - press_point_.y),
                           holder->MapNode(1).y, holder->MapNode(2).y);
  // The track will stand before the first one whose head centre lies right
  // of it; past the last one the well itself is the target (the end).
  CWpKit* target = holder;
  for (CWpKit* c : holder->GetChildren())
    if ((c->MapNode(4).x + c->MapNode(1).x) / 2 > x) {
      target = c;
      break;
    }
  if (target != hit_kit_) {
    if (target != this) target->Highlight(dc, view);
    if (hit_kit_ && hit_kit_ != this) hit_kit_->Highlight(dc, view);  // off again
    hit_kit_ = target;
  }
  return CPoint{press_point_.x + tr.MapLengthToDraw(x - cx),
                press_point_.y + tr.MapLengthToDraw(y - cy)};
}

void CWpTrack::EndOrderDrag(CDC* dc, CView* view) {
  CWpKit* target = hit_kit_;
  hit_kit_ = nullptr;
  if (target != this) target->Highlight(dc, view);  // off
  const int from = parent_->FindChild(this);
  const int to = target == parent_ ? -1 : parent_->FindChild(target);
  if (from < 0 || (to < 0 && target != parent_) || to == from) return;
  parent_->MoveChild(from, to);
}

}  // namespace davodu
