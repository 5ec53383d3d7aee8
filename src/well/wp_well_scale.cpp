#include "davodu/well/wp_well_scale.h"

#include <algorithm>
#include <cmath>

#include "davodu/host/util/gbk.h"

namespace davodu {

namespace {

constexpr double kTol = 0.001;

bool UsableTop(double top) { return top >= kTol && top <= 100000; }

const std::string& Unknown() { return Gbk("未知"); }

}  // namespace

std::vector<ZUPOINT3D> BuildScaleSegments(const std::vector<SandInterval>& sands, double top,
                                          double bottom, double y0, double dep_scl,
                                          double sand_thick, double shale_thick) {
  std::vector<ZUPOINT3D> out;
  const int n = static_cast<int>(sands.size());
  if (n == 0) return out;
  double y = y0;
  // One piece: its true thickness is drawn as the setting (or as itself when
  // the setting is about 0). A piece without thickness draws nothing and
  // has no factor to give, so it is left out.
  auto piece = [&](double start, double true_thick, double setting) {
    if (!(true_thick > 0)) return;
    const double drawn = setting < kTol ? true_thick : setting;
    y -= dep_scl * drawn;
    out.push_back({start, y, drawn / true_thick});
  };
  auto at = [&](int i) -> const SandInterval& { return sands[static_cast<std::size_t>(i)]; };

  int first = n - 1;
  for (int i = 0; i < n - 1; ++i)
    if (at(i).bottom >= top && at(i).bottom - top > kTol) {
      first = i;
      break;
    }
  int last = 0;
  for (int i = n - 1; i >= 0; --i)
    if (at(i).top <= bottom) {
      last = i;
      break;
    }
  if (first > last || at(first).bottom - top <= kTol || at(last).top > bottom) {
    piece(top, bottom - top, shale_thick);
    return out;
  }
  for (int i = first; i <= last; ++i) {
    const SandInterval& s = at(i);
    if (i == first && !(s.top - top > kTol)) {
      // The range starts inside this sand.
      piece(top, s.bottom - top, sand_thick);
    } else {
      if (i == first) piece(top, s.top - top, shale_thick);
      piece(s.top, s.bottom - s.top, sand_thick);
    }
    if (i < last) {
      const double gap = at(i + 1).top - s.bottom;
      if (gap > kTol) piece(s.bottom, gap, shale_thick);
    } else if (bottom - s.bottom > kTol) {
      piece(s.bottom, bottom - s.bottom, shale_thick);
    }
  }
  return out;
}

void AccumulateFaultShifts(std::vector<ZUPOINT3D>& points) {
  double shift = 0;
  for (ZUPOINT3D& p : points) {
    if (IsMissing(p.z) || !std::isfinite(p.z)) p.z = 0;
    p.y = shift;
    shift += p.z;
  }
}

std::vector<ZUPOINT3D> BuildFaultPoints(const std::vector<FaultPointData>& data, double top,
                                        double bottom) {
  std::vector<ZUPOINT3D> points;
  for (const FaultPointData& p : data)
    if (p.depth - top > -kTol && p.depth - bottom < kTol) points.push_back({p.depth, 0, p.gap});
  if (!data.empty()) points.push_back({bottom, 0, 0});
  std::stable_sort(points.begin(), points.end(),
                   [](const ZUPOINT3D& a, const ZUPOINT3D& b) { return a.x < b.x; });
  AccumulateFaultShifts(points);
  return points;
}

int FindUnitByName(const std::vector<StratumUnit>& units, const std::string& name) {
  for (std::size_t i = 0; i < units.size(); ++i)
    if (units[i].name == name) return static_cast<int>(i);
  return -1;
}

int FindUnitByDepth(const std::vector<StratumUnit>& units, double depth) {
  for (std::size_t i = 0; i < units.size(); ++i) {
    const StratumUnit& u = units[i];
    if (depth - u.top > -kTol && depth - (u.top + u.thickness) < kTol) return static_cast<int>(i);
  }
  return -1;
}

double ValidUnitTop(const std::vector<StratumUnit>& units, int i) {
  const int n = static_cast<int>(units.size());
  if (i < 0 || i >= n) return 0;
  auto top = [&](int k) { return units[static_cast<std::size_t>(k)].top; };
  for (int k = i; k < n; ++k)
    if (UsableTop(top(k))) return top(k);
  for (int k = i - 1; k >= 0; --k)
    if (UsableTop(top(k))) return top(k);
  return top(i);
}

void DepthsFromUnits(const std::vector<StratumUnit>& units, float top_extend,
                     float bottom_extend, UnitDepthRange& range) {
  const double top_ext = std::max(0.0f, top_extend);
  const double bottom_ext = std::max(0.0f, bottom_extend);
  // Inside [a, b] when the product of the distances to both ends is at most
  // 0.001.
  auto inside = [](double d, double a, double b) { return (d - a) * (d - b) <= kTol; };

  const int t = FindUnitByName(units, range.top_unit);
  if (t < 0) {
    range.top_unit = Unknown();
  } else {
    const double top = ValidUnitTop(units, t);
    const double h = units[static_cast<std::size_t>(t)].thickness;
    if (!inside(range.top, top, top + h)) {
      range.top = static_cast<float>(top - top_ext);
      range.top_unit = units[static_cast<std::size_t>(t)].name;
    }
  }
  const int b = FindUnitByName(units, range.bottom_unit);
  if (b < 0) {
    range.bottom_unit = Unknown();
  } else {
    const double top = ValidUnitTop(units, b);
    const double h = units[static_cast<std::size_t>(b)].thickness;
    if (!inside(range.bottom, top, top + h)) range.bottom = static_cast<float>(top + h + bottom_ext);
  }
}

void UnitsFromDepths(const std::vector<StratumUnit>& units, float top_extend,
                     float bottom_extend, UnitDepthRange& range) {
  const double top_ext = std::max(0.0f, top_extend);
  const double bottom_ext = std::max(0.0f, bottom_extend);
  auto name_at = [&](double depth) {
    const int i = FindUnitByDepth(units, depth);
    return i < 0 ? Unknown() : units[static_cast<std::size_t>(i)].name;
  };
  double h = 0;
  if (!range.bottom_unit.empty() && range.bottom_unit != Unknown()) {
    const int b = FindUnitByName(units, range.bottom_unit);
    if (b >= 0) h = units[static_cast<std::size_t>(b)].thickness;
  }
  range.top_unit = name_at(range.top + top_ext);
  range.bottom_unit = name_at(range.bottom - bottom_ext - h);
}

}  // namespace davodu
