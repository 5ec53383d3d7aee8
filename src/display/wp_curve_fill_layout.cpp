// The curve kit: the value-coloured shading of the fills, computed from the
// samples and each fill's own colour tables after every layout.
//
// Each depth carries the colour of its own value: the shading is cut into
// one slice per sample (merged where neighbours share a colour) rather than
// into runs coloured by their first value, which would paint a run of clean
// sand in the colour of the shale sample it starts from.
#include <algorithm>
#include <cmath>

#include "davodu/display/wp_curve.h"
#include "davodu/host/util/gbk.h"

namespace davodu {

namespace {

// Lower values of two entries closer than this are one value.
constexpr double kSameLower = 1.1920929e-7;

bool Between(double x, double a, double b) { return (a <= x && x <= b) || (b <= x && x <= a); }

std::uint8_t Blend(std::uint8_t a, std::uint8_t b, double t) {
  const double v = a * (1 - t) + b * t;
  return static_cast<std::uint8_t>(std::clamp(std::trunc(v), 0.0, 255.0));
}

}  // namespace

void CVEFILLSHADE::Clear() {
  values.clear();
  depths.clear();
  polygons.clear();
  colors.clear();
}

bool CVEFILL::TargetsEdge() const { return Target() == Gbk("边框"); }

bool CVEFILL::TargetsLine() const {
  const std::string t = Target();
  return t == Gbk("边框") || t == Gbk("中线") || t == Gbk("指定值线");
}

int CWpCurve::GetPointInColorIndex(const std::vector<WPCVEFILLCOLOR>& table, double x) {
  const int n = static_cast<int>(table.size());
  for (int k = 0; k + 1 < n; ++k) {
    const double a = table[static_cast<std::size_t>(k)].lower;
    const double b = table[static_cast<std::size_t>(k + 1)].lower;
    if ((a <= x && x < b) || (b <= x && x < a)) return k;
  }
  if (n > 0 && Between(x, table.back().lower, table.back().upper)) return n - 1;
  return -1;
}

bool CWpCurve::GetCurveColorref(const std::vector<WPCVEFILLCOLOR>& table, double x,
                                COLORREF* color) {
  const std::size_t n = table.size();
  if (n == 0) return false;
  if (table.front().lower >= x) {
    *color = table.front().color;
    return true;
  }
  if (table.back().lower < x) {
    *color = table.back().color;
    return true;
  }
  for (std::size_t k = 0; k + 1 < n; ++k) {
    const WPCVEFILLCOLOR& a = table[k];
    const WPCVEFILLCOLOR& b = table[k + 1];
    if (!(a.lower <= x && x <= b.lower)) continue;
    if (std::fabs(b.lower - a.lower) < kSameLower) {
      *color = a.color;
      return true;
    }
    const double t = (x - a.lower) / (b.lower - a.lower);
    *color = RGB(Blend(GetRValue(a.color), GetRValue(b.color), t),
                 Blend(GetGValue(a.color), GetGValue(b.color), t),
                 Blend(GetBValue(a.color), GetBValue(b.color), t));
    return true;
  }
  return false;
}

void CWpCurve::GetFillSegmentVal(const std::vector<WPCVEFILLCOLOR>& table, CVEFILLSHADE* shade) {
  shade->values.clear();
  shade->depths.clear();
  const int n = GetSampleCount();
  if (n < 1 || table.empty() || values_.size() != depths_.size()) return;
  // The samples from the first to the last valid one inside the depth range.
  int i = 0;
  while (i < n - 1 && (depths_[i] < top_depth_ || !ValueValid(values_[i]))) ++i;
  int j = n - 1;
  while (j > 0 && (depths_[j] > bottom_depth_ || !ValueValid(values_[j]))) --j;
  std::vector<double> run_values, run_depths;
  auto close_run = [&] {
    if (!run_values.empty()) {
      shade->values.push_back(std::move(run_values));
      shade->depths.push_back(std::move(run_depths));
    }
    run_values.clear();
    run_depths.clear();
  };
  for (int k = i; k <= j; ++k) {
    const double v = values_[static_cast<std::size_t>(k)];
    const bool covered =
        ValueValid(v) && GetPointInColorIndex(table, log_scale_ ? std::log10(v) : v) >= 0;
    if (!covered) {
      close_run();
      continue;
    }
    run_values.push_back(v);
    run_depths.push_back(depths_[static_cast<std::size_t>(k)]);
  }
  close_run();
}

void CWpCurve::GetFillSegmentPoint(const std::vector<WPCVEFILLCOLOR>& table, CVEFILLSHADE* shade,
                                   bool side1) {
  shade->polygons.clear();
  shade->colors.clear();
  const double edge = map_nodes_[side1 ? 1 : 0].x;
  // Values beyond the scale shade up to the column's edge; they are not
  // wrapped back into the column as the drawn line is.
  const double lo = std::min(left_, right_), hi = std::max(left_, right_);
  for (std::size_t r = 0; r < shade->values.size(); ++r) {
    const std::vector<double>& vals = shade->values[r];
    const std::vector<double>& deps = shade->depths[r];
    const std::size_t m = vals.size();
    if (m < 2) continue;  // a lone sample shades no height
    std::vector<double> xs(m), ys(m);
    std::vector<COLORREF> colors(m);
    std::vector<bool> colored(m);
    for (std::size_t k = 0; k < m; ++k) {
      xs[k] = ValToMapX(std::clamp(vals[k], lo, hi));
      ys[k] = DepToMapY(deps[k]);
      COLORREF c = 0;
      colored[k] = GetCurveColorref(table, log_scale_ ? std::log10(vals[k]) : vals[k], &c);
      colors[k] = c;
    }
    for (std::size_t a = 0; a < m;) {
      std::size_t b = a;
      while (b + 1 < m && colored[b + 1] == colored[a] && colors[b + 1] == colors[a]) ++b;
      if (colored[a]) {
        std::vector<FLOATPOINT> poly;
        if (a > 0) {
          const double y = (ys[a - 1] + ys[a]) / 2;
          poly.push_back({edge, y});
          poly.push_back({(xs[a - 1] + xs[a]) / 2, y});
        } else {
          poly.push_back({edge, ys[a]});
        }
        for (std::size_t k = a; k <= b; ++k) poly.push_back({xs[k], ys[k]});
        if (b + 1 < m && colored[b + 1]) {
          // Reach into the next slice, which is drawn over this one.
          poly.push_back({xs[b + 1], ys[b + 1]});
          poly.push_back({edge, ys[b + 1]});
        } else if (b + 1 < m) {
          const double y = (ys[b] + ys[b + 1]) / 2;
          poly.push_back({(xs[b] + xs[b + 1]) / 2, y});
          poly.push_back({edge, y});
        } else {
          poly.push_back({edge, ys[b]});
        }
        if (poly.front().y != poly.back().y) {
          shade->polygons.push_back(std::move(poly));
          shade->colors.push_back(colors[a]);
        }
      }
      a = b + 1;
    }
  }
}

void CWpCurve::ClearCurveColorSegmentAndColorRef(CVEFILL* fill, bool side1) {
  if (fill) fill->Shade(side1 ? 1 : 0).Clear();
}

void CWpCurve::CalCurveColorSegmentAndColorRef(CVEFILL* fill,
                                               const std::vector<WPCVEFILLCOLOR>& table,
                                               bool side1) {
  if (!fill) return;
  CVEFILLSHADE& shade = fill->Shade(side1 ? 1 : 0);
  shade.Clear();
  if (table.empty() || !ScaleUsable()) return;
  GetFillSegmentVal(table, &shade);
  GetFillSegmentPoint(table, &shade, side1);
}

void CWpCurve::CurveColorGradualChange() {
  for (auto& f : fills_) {
    ClearCurveColorSegmentAndColorRef(f.get(), true);
    CalCurveColorSegmentAndColorRef(f.get(), f->colors1, true);
    ClearCurveColorSegmentAndColorRef(f.get(), false);
    CalCurveColorSegmentAndColorRef(f.get(), f->colors0, false);
  }
}

}  // namespace davodu
