// The grid settings of a track, how they spread to the other tracks of the
// well, depth-line intervals that follow the depth scale, and the track's
// share of the chart style.
#include <algorithm>
#include <cmath>

#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

constexpr float kSameValue = 0.001f;
// Left and Right must stay above this while log scale is on.
constexpr float kLogMinimum = 1e-9f;

// A new interval is taken when it is a number and differs from the present
// one by at least kSameValue.
bool TakeInterval(float value, float* field) {
  if (!std::isfinite(value) || std::fabs(value - *field) < kSameValue) return false;
  *field = value;
  return true;
}

bool TakePen(const ZULOGPEN* pen, ZULOGPEN* field) {
  if (!pen || *pen == *field) return false;
  *field = *pen;
  return true;
}

int ClampScope(int scope) { return std::clamp(scope, 0, 2); }

}  // namespace

// ---------------------------------------------------------------- settings

void CWpTrack::ShowDepth(int show) {
  if (show == show_depth_) return;
  show_depth_ = show;
  ApplyGrid(1);
}

void CWpTrack::ShowScale(int show) {
  if (show == show_scale_) return;
  show_scale_ = show;
  ApplyGrid(0);
}

void CWpTrack::SetMajDep(float depth) {
  if (TakeInterval(depth, &maj_dep_)) ApplyGrid(1);
}

void CWpTrack::SetMidDep(float depth) {
  if (TakeInterval(depth, &mid_dep_)) ApplyGrid(1);
}

void CWpTrack::SetMinDep(float depth) {
  if (TakeInterval(depth, &min_dep_)) ApplyGrid(1);
}

void CWpTrack::SetMajDepPen(const ZULOGPEN* pen) {
  if (TakePen(pen, &maj_dep_pen_)) ApplyGrid(1);
}

void CWpTrack::SetMidDepPen(const ZULOGPEN* pen) {
  if (TakePen(pen, &mid_dep_pen_)) ApplyGrid(1);
}

void CWpTrack::SetMinDepPen(const ZULOGPEN* pen) {
  if (TakePen(pen, &min_dep_pen_)) ApplyGrid(1);
}

void CWpTrack::SetMajScalePen(const ZULOGPEN* pen) {
  if (TakePen(pen, &maj_scale_pen_)) ApplyGrid(0);
}

void CWpTrack::SetMidScalePen(const ZULOGPEN* pen) {
  if (TakePen(pen, &mid_scale_pen_)) ApplyGrid(0);
}

void CWpTrack::SetMinScalePen(const ZULOGPEN* pen) {
  if (TakePen(pen, &min_scale_pen_)) ApplyGrid(0);
}

void CWpTrack::SetLeft(float value) {
  if (!std::isfinite(value) || (log_scale_ && value < kLogMinimum)) return;
  left_ = value;
}

void CWpTrack::SetRight(float value) {
  if (!std::isfinite(value) || (log_scale_ && value < kLogMinimum)) return;
  right_ = value;
}

void CWpTrack::SetScaleScope(int scope) {
  if (scope == scale_scope_) return;
  scale_scope_ = ClampScope(scope);
  ApplyGrid(0);
}

void CWpTrack::SetDepthScope(int scope) {
  if (scope == depth_scope_) return;
  depth_scope_ = ClampScope(scope);
  ApplyGrid(1);
}

void CWpTrack::SetSclLnScope(int scope) {
  if (scope != 0) ApplyGrid(0);
}

void CWpTrack::SetDepLnScope(int scope) {
  if (scope != 0) ApplyGrid(1);
}

bool CWpTrack::HoldsOnlyCurves() const {
  return std::all_of(children_.begin(), children_.end(),
                     [](const CWpKit* c) { return c->GetWpKitType() == WPKIT_CURVE; });
}

void CWpTrack::ApplyGrid(int depth_lines) {
  const int scope = depth_lines ? depth_scope_ : scale_scope_;
  if (scope == 0 || !parent_) return;
  CWpWell* well = GetWell();
  if (!well) return;
  // Plain copies: the receiving tracks spread nothing themselves, and the
  // caller redraws. Log scale, its range, the divisions and the centre
  // line belong to each track's own data and are never copied.
  for (CWpKit* kit : well->GetChildren()) {
    auto* t = dynamic_cast<CWpTrack*>(kit);
    if (!t || t == this) continue;
    if (scope == 1 && !t->HoldsOnlyCurves()) continue;
    if (depth_lines) {
      t->depth_scope_ = depth_scope_;
      t->show_depth_ = show_depth_;
      t->maj_dep_ = maj_dep_;
      t->mid_dep_ = mid_dep_;
      t->min_dep_ = min_dep_;
      t->maj_dep_pen_ = maj_dep_pen_;
      t->mid_dep_pen_ = mid_dep_pen_;
      t->min_dep_pen_ = min_dep_pen_;
    } else {
      t->scale_scope_ = scale_scope_;
      t->show_scale_ = show_scale_;
      t->maj_scale_pen_ = maj_scale_pen_;
      t->mid_scale_pen_ = mid_scale_pen_;
      t->min_scale_pen_ = min_scale_pen_;
    }
  }
}

// ---------------------------------------------------------------- depth scale and style

void CWpTrack::AutoDepth() {
  const double s = dep_scl_;
  if (!(s > 0) || !std::isfinite(s)) return;
  // MinDep is 1, 2 or 4 times 50 x 10^n metres (n from the scale), the
  // factor chosen by the scale: the lines come 4 to 8 mm apart on paper at
  // the usual scales (1:500 gives 2, 10 and 20 m).
  const double a = std::pow(10.0, std::trunc(std::log10(1.5 / s))) * 0.4;
  const double b = a * s;
  const double f = b > 3 ? 1 : (b > 1 ? 2 : 4);
  min_dep_ = static_cast<float>(a * 125 * f);
  mid_dep_ = min_dep_ * 5;
  maj_dep_ = mid_dep_ * 2;
}

void CWpTrack::ApplyStyle() {
  CWpInWell::ApplyStyle();
  CWpWell* well = GetWell();
  if (well && well->GetStyle() > 2)
    for (int i : {3, 5, 7}) border_flags_[i] = 1;
}

}  // namespace davodu
