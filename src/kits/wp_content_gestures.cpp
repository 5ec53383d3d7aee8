// The mouse gestures of a content inside its track: dragging its left or
// right edge (width), dragging the edges of its title band (group row
// heights), and moving it: swapping it with another content or dropping it
// into another track.
#include <algorithm>
#include <cmath>

#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/kits/wp_content.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

constexpr double kSnap = 50;

double SnapDown(double v) { return std::floor(v / kSnap) * kSnap; }

}  // namespace

int CWpContent::OnMouseMove(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (edit_mode_ == EM_RESIZE && (selected_handle_ == CN_LEFT || selected_handle_ == CN_RIGHT))
    DragWidth(dc, point);
  else if (edit_mode_ == EM_RESIZE &&
           (selected_handle_ == CN_TITLE_TOP || selected_handle_ == CN_CLIENT_TOP))
    DragTitle(point);
  else if (edit_mode_ == EM_MOVE)
    DragMove(dc, view, point);
  last_point_ = point;
  return CWpInWell::OnMouseMove(view, dc, flags, point);
}

int CWpContent::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (edit_mode_ == EM_RESIZE && (selected_handle_ == CN_LEFT || selected_handle_ == CN_RIGHT)) {
    EndWidthDrag(point);
  } else if (edit_mode_ == EM_RESIZE &&
             (selected_handle_ == CN_TITLE_TOP || selected_handle_ == CN_CLIENT_TOP)) {
    ChangeTitleHeight(point);
  } else if (edit_mode_ == EM_MOVE) {
    if (drop_target_) drop_target_->Highlight(dc, view);  // second drawing removes the mark
    if (CWpWell* well = GetWell(); well && !(well->GetShadowRect() == FLOATRECT{}))
      DrawShadow(dc, well->GetShadowRect());
    EndMove(point);
  }
  drop_target_ = nullptr;
  if (view) view->ReleaseCapture();
  return CWpInWell::OnLButtonUp(view, dc, flags, point);
}

// ---------------------------------------------------------------- width

void CWpContent::DragWidth(CDC*, CPoint point) {
  const double x = GetTranslator().DrawXToMapX(point.x);
  const bool right = selected_handle_ == CN_RIGHT;
  double w = SnapDown(right ? x - map_nodes_[0].x : map_nodes_[1].x - x);
  if (CWpTrack* track = ParentTrack()) w = std::max<double>(w, track->MinWidth());
  CWpTrack* track = ParentTrack();
  const int index = track ? track->FindChild(this) : -1;
  auto* neighbour =
      track ? dynamic_cast<CWpContent*>(track->GetChild(right ? index + 1 : index - 1)) : nullptr;
  if (neighbour && neighbour->GetGroup() == group_) return;  // the pair shares on release
  const double right_x = map_nodes_[1].x;
  SetWidth(static_cast<float>(w));
  if (!right) SetPosition(FLOATPOINT{right_x - width_, map_nodes_[0].y}, 1);
  BuildControlNodePointArray();
}

void CWpContent::EndWidthDrag(CPoint point) {
  if (parent_)
    InvalidParent();
  else
    InvalidSelf();
  const bool right = selected_handle_ == CN_RIGHT;
  CWpTrack* track = ParentTrack();
  const int index = track ? track->FindChild(this) : -1;
  auto* neighbour =
      track ? dynamic_cast<CWpContent*>(track->GetChild(right ? index + 1 : index - 1)) : nullptr;
  if (neighbour && neighbour->GetGroup() == group_) {
    const double x = GetTranslator().DrawXToMapX(point.x);
    const double combined = static_cast<double>(width_) + neighbour->GetWidth();
    double w = SnapDown(right ? x - map_nodes_[0].x : map_nodes_[1].x - x);
    w = std::max<double>(w, MinWidth());
    w = std::min(w, combined - neighbour->MinWidth());
    if (w > MinWidth()) {
      SetWidth(static_cast<float>(w));
      neighbour->SetWidth(static_cast<float>(combined - width_));
    }
    BuildHead();
    neighbour->BuildHead();
  }
  SetPosition(GetPosition(), 1);
  if (track) track->ResetWidth(this, right ? 1 : 0);
  RebuildParent();
}

// ---------------------------------------------------------------- title rows

void CWpContent::DragTitle(CPoint point) {
  CWpTrack* track = ParentTrack();
  const double y = GetTranslator().DrawYToMapY(point.y);
  const bool top = selected_handle_ == CN_TITLE_TOP;
  const double h = SnapDown(top ? y - map_nodes_[2].y : map_nodes_[4].y - y);
  const int groups = track ? track->GroupsCount() : 1;
  if ((top && group_ == groups - 1) || (!top && group_ == 0)) {
    SetTitleHeight(static_cast<float>(std::max<double>(h, MinTitle())));
    BuildHead();
  }
}

void CWpContent::ChangeTitleHeight(CPoint point) {
  CWpTrack* track = ParentTrack();
  if (!track) return;
  const double y = GetTranslator().DrawYToMapY(point.y);
  const bool top = selected_handle_ == CN_TITLE_TOP;
  const double s = SnapDown(top ? y - map_nodes_[2].y : map_nodes_[4].y - y);
  const int groups = track->GroupsCount();
  // The other group whose row shares the moved boundary.
  int other = -1;
  if (top && group_ < groups - 1) other = group_ + 1;
  if (!top && group_ >= 1) other = group_ - 1;
  if (other >= 0) {
    const double mine = track->GroupTitle(group_);
    const double r = mine + track->GroupTitle(other);
    double own, theirs;
    if (s > mine) {
      theirs = std::max<double>(r - s, track->MinGroupTitle(other));
      own = r - theirs;
    } else {
      own = std::max<double>(s, track->MinGroupTitle(group_));
      theirs = r - own;
    }
    track->SetGroupTitle(group_, static_cast<float>(own));
    track->SetGroupTitle(other, static_cast<float>(theirs));
  }
  track->ResetClient(this);
  BuildHead();
  RebuildParent();
}

// ---------------------------------------------------------------- moving

bool CWpContent::IsEraseShadow(CWpKit* last, CWpKit* target, CPoint point) {
  if (!dynamic_cast<CWpContent*>(last) || last == this) return false;
  if (HitTest(point) == this) return false;
  CWpKit* track = target ? (target->GetWpKitType() == WPKIT_TRACK ? target : target->GetParent())
                         : nullptr;
  return !(track && track->UpClientDraw().Contains(point));
}

void CWpContent::DragMove(CDC* dc, CView* view, CPoint point) {
  CWpWell* well = GetWell();
  if (!well) return;
  CWpKit* target = well->HitChild(point);
  const bool usable = target && (dynamic_cast<CWpContent*>(target) || target->GetWpKitType() == WPKIT_TRACK);
  CWpKit* last = drop_target_;
  const FLOATRECT previous = well->GetShadowRect();
  if ((!target || IsEraseShadow(last, target, point)) && !(previous == FLOATRECT{})) {
    DrawShadow(dc, previous);
    well->SetShadowRect(FLOATRECT{});
  }
  if (usable && target != drop_target_) {
    if (drop_target_) drop_target_->Highlight(dc, view);
    target->Highlight(dc, view);
    drop_target_ = target;
  }
  auto* other = dynamic_cast<CWpContent*>(target);
  if (other == this) other = nullptr;
  if (view) view->SetCursor(other && other->IsPtInCenterRect(point) ? IDC_DROP : IDC_SIZEALL);
  if (other) {
    const FLOATRECT shadow = other->CalShadowRect(point);
    const FLOATRECT old = well->GetShadowRect();
    if (!(old == FLOATRECT{})) DrawShadow(dc, old);
    if (!(shadow == FLOATRECT{})) DrawShadow(dc, shadow);
    well->SetShadowRect(shadow);
  }
}

void CWpContent::EndMove(CPoint point) {
  // A title that did not leave its own band: no move at all.
  const CPoint moved{(draw_nodes_[8].x + point.x - press_point_.x),
                     (draw_nodes_[4].y + draw_nodes_[2].y) / 2 + point.y - press_point_.y};
  if (UpTitleDraw().Contains(moved)) return;
  CWpKit* target = drop_target_;
  drop_target_ = nullptr;
  if (!target) return;
  auto* other = dynamic_cast<CWpContent*>(target);
  if (other && other != this && other->IsPtInCenterRect(point)) {
    SwapWpContent(this, other);
    return;
  }
  auto* track = dynamic_cast<CWpTrack*>(target->GetWpKitType() == WPKIT_TRACK ? target : target->GetParent());
  if (!track || !track->UpClientDraw().Contains(point)) return;
  CWpTrack* from = ParentTrack();
  if (from && from != track) {
    from->RemoveChild(this);
    if (from->ChildrenCount() == 0) {
      if (CWpKit* holder = from->GetParent()) {
        holder->SetWidth(holder->GetWidth() - from->GetWidth());
        holder->DeleteChild(from);
      }
    } else {
      from->Reset();
      if (from->GetParent() != track->GetParent()) from->RebuildParent();
    }
  }
  track->MoveChild(this, point);
  if (CWpKit* holder = track->GetParent()) holder->RebuildSelf();
}

int CWpContent::CalSwapGroupType(CWpContent* content) {
  CWpTrack* track = content->ParentTrack();
  if (!track || track->GroupContentCount(content->GetGroup()) < 2) return 0;
  const int index = track->FindChild(content);
  auto* before = dynamic_cast<CWpContent*>(track->GetChild(index - 1));
  return before && before->GetGroup() == content->GetGroup() ? -1 : 1;
}

void CWpContent::SwapWpContent(CWpContent* a, CWpContent* b) {
  if (!a || !b || a == b) return;
  CWpTrack* ta = a->ParentTrack();
  CWpTrack* tb = b->ParentTrack();
  if (!ta || !tb) return;
  if (ta == tb) {
    ta->SwapChild(a, b);
    ta->Reset();
  } else {
    const FLOATPOINT pa = a->GetPosition(), pb = b->GetPosition();
    const float wa = a->GetWidth(), wb = b->GetWidth();
    const int ia = ta->FindChild(a), ib = tb->FindChild(b);
    const int ga = a->CalSwapGroupType(a), gb = b->CalSwapGroupType(b);
    ta->RemoveChild(a);
    tb->RemoveChild(b);
    a->SetWidth(wb);
    b->SetWidth(wa);
    a->SetPosition(pb, 1);
    b->SetPosition(pa, 1);
    a->BuildControlNodePointArray();
    b->BuildControlNodePointArray();
    tb->InsertChild(ib, a, gb);
    ta->InsertChild(ia, b, ga);
    ta->Reset();
    tb->Reset();
    ta->OnChanged(nullptr);
    tb->OnChanged(nullptr);
  }
  a->RebuildParent();
}

}  // namespace davodu
