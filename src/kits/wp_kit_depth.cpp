// The depth side of every kit: the depth range and scale and their spread to
// the children, and the mapping between depths and map or draw Y through the
// well's scale segments and fault points.
#include <algorithm>
#include <cmath>
#include <vector>

#include "davodu/data/observer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/kits/wp_in_well.h"
#include "davodu/kits/wp_kit.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

constexpr double kTol = 0.001;

bool Near(double a, double b) { return std::fabs(a - b) < kTol; }

}  // namespace

void CWpKit::SetTopDepth(float depth) {
  if (Near(depth, top_depth_) || depth > 99900 || depth < -99999) return;
  top_depth_ = depth;
  for (CWpKit* c : children_) c->SetTopDepth(depth);
  ScaleSegment();
  if (GetWpKitType() == WPKIT_WELL) ResetData();
}

void CWpKit::SetBottomDepth(float depth) {
  if (Near(depth, bottom_depth_) || depth > 99900 || depth < -99999) return;
  bottom_depth_ = depth;
  for (CWpKit* c : children_) c->SetBottomDepth(depth);
  ScaleSegment();
  if (GetWpKitType() == WPKIT_WELL) ResetData();
}

void CWpKit::SetDepScl(float scl) {
  if (!(scl >= 1) || Near(scl, dep_scl_)) return;
  dep_scl_ = scl;
  for (CWpKit* c : children_) c->SetDepScl(scl);
  if (auto_depth_) AutoDepth();
  ScaleSegment();
}

int CWpKit::GetDepthScale() const {
  return static_cast<int>(std::floor(100000.0 / dep_scl_ + 0.5));
}

void CWpKit::SetDepthScale(int scale) {
  if (scale <= 0 || scale > 100000) return;
  SetDepScl(static_cast<float>(100000.0 / scale));
}

void CWpKit::SetAutoDepth(int value) {
  if (value == auto_depth_) return;
  auto_depth_ = value;
  if (value) AutoDepth();
  for (CWpKit* c : children_) c->SetAutoDepth(value);
  ScaleSegment();
}

void CWpKit::SetSandThick(float thick) {
  if ((thick > 0 && thick < 0.01f) || Near(thick, sand_thick_) || thick > 20) return;
  sand_thick_ = thick;
  ScaleSegment();
  for (CWpKit* c : children_) c->SetSandThick(thick);
  if (GetWpKitType() == WPKIT_SAND)
    if (auto* observer = dynamic_cast<Observer*>(this)) observer->UpdateWithObservee();
}

void CWpKit::SetShaleThick(float thick) {
  if ((thick > 0 && thick < 0.01f) || Near(thick, shale_thick_) || thick > 20) return;
  shale_thick_ = thick;
  ScaleSegment();
  for (CWpKit* c : children_) c->SetShaleThick(thick);
  if (GetWpKitType() == WPKIT_SAND)
    if (auto* observer = dynamic_cast<Observer*>(this)) observer->UpdateWithObservee();
}

double CWpKit::FaultMapping(CWpWell* well, double depth) {
  float e = static_cast<float>(depth);
  for (const ZUPOINT3D& p : well->GetFaultInfo().points) {
    if (p.x > e || Near(p.x, e)) {
      e = static_cast<float>(e + p.y);
      break;
    }
  }
  return static_cast<float>(map_nodes_[0].y - (e - top_depth_) * dep_scl_);
}

double CWpKit::DepToMapY(double d) {
  const double y0 = map_nodes_[0].y;
  if (d - top_depth_ < kTol) return y0;
  const double linear = y0 - (d - top_depth_) * dep_scl_;
  CWpWell* well = GetWell();
  if (!well) return d - bottom_depth_ > kTol ? map_nodes_[10].y : linear;

  const bool faults = well->IsBlankSpace();
  if (d - bottom_depth_ > kTol) return faults ? FaultMapping(well, bottom_depth_) : map_nodes_[10].y;
  if (d > bottom_depth_) return map_nodes_[10].y;
  if (faults) return FaultMapping(well, d);

  int n = 0;
  const std::vector<ZUPOINT3D>& seg = well->ScaleSegment(IsKindOf(&CWpInWell::classCWpInWell) ? 1 : 0, n);
  n = std::min(n, static_cast<int>(seg.size()));
  if (n == 0) return linear;
  auto value = [&](int i) {
    const double ystart = i == 0 ? y0 : seg[static_cast<std::size_t>(i - 1)].y;
    const ZUPOINT3D& s = seg[static_cast<std::size_t>(i)];
    return ystart - dep_scl_ * s.z * (d - s.x);
  };
  if (n == 1) return value(0);
  if (d - seg[1].x < kTol) return value(0);
  for (int i = 1; i <= n - 2; ++i)
    if (d - seg[static_cast<std::size_t>(i + 1)].x < kTol) return value(i);
  if (d - bottom_depth_ < kTol) return value(n - 1);
  return linear;
}

float CWpKit::MapYToDep(float y) {
  const double y0 = map_nodes_[0].y;
  if (y0 - y < kTol) return top_depth_;
  const double linear = (y0 - y) / dep_scl_ + top_depth_;
  CWpWell* well = GetWell();
  if (!well) return map_nodes_[10].y - y > kTol ? bottom_depth_ : static_cast<float>(linear);
  if (map_nodes_[10].y - y > kTol) return bottom_depth_;

  if (well->IsBlankSpace()) {
    for (const ZUPOINT3D& p : well->GetFaultInfo().points) {
      const double candidate = linear - p.y;
      if (p.x > candidate || Near(p.x, candidate)) return static_cast<float>(candidate);
    }
    return static_cast<float>(linear);
  }

  int n = 0;
  const std::vector<ZUPOINT3D>& seg = well->ScaleSegment(IsKindOf(&CWpInWell::classCWpInWell) ? 1 : 0, n);
  n = std::min(n, static_cast<int>(seg.size()));
  // A segment with no scale (a zero factor) cannot be inverted: use the
  // plain scale instead of dividing by zero.
  auto inverse = [&](double ystart, const ZUPOINT3D& s) {
    const double k = dep_scl_ * s.z;
    if (!(std::fabs(k) > 0) || !std::isfinite(k)) return linear;
    return (ystart - y) / k + s.x;
  };
  if (n == 0) return static_cast<float>(linear);
  if (n == 1) return static_cast<float>(inverse(y0, seg[0]));
  if (y - seg[0].y > kTol) return static_cast<float>(inverse(y0, seg[0]));
  for (int i = 1; i <= n - 1; ++i)
    if (y - seg[static_cast<std::size_t>(i)].y > kTol)
      return static_cast<float>(inverse(seg[static_cast<std::size_t>(i - 1)].y, seg[static_cast<std::size_t>(i)]));
  return static_cast<float>(linear);
}

int CWpKit::DepToDrwY(float depth) { return GetTranslator().MapYToDrawY(DepToMapY(depth)); }

float CWpKit::DrwYToDep(int y) {
  return MapYToDep(static_cast<float>(GetTranslator().DrawYToMapY(y)));
}

}  // namespace davodu
