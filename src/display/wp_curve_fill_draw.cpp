// The curve kit: drawing the fills.
//
// A fill shades the area between the curve and a boundary, on either side:
// side 0 where the curve lies right of the boundary, side 1 where it lies
// left of it (for an edge fill: side 0 from the left edge to the curve, side
// 1 from the curve to the right edge). Each side is filled with its brush,
// or with the value-coloured shading of its colour table when its shading
// switch is on and the table gave any shading.
//
// Everything is drawn inside the body of the kit: values beyond the scale,
// and the edge closing a polygon, never reach a neighbouring column. The
// curve's path is broken at missing samples, so no fill bridges a gap in the
// data.
#include <algorithm>
#include <cmath>
#include <vector>

#include "davodu/display/wp_curve.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/well/wp_track.h"

namespace davodu {

namespace {

constexpr double kTol = 0.001;
// Points kept beyond an update rectangle, in draw units.
constexpr int kRectMargin = 100;

using Path = std::vector<std::vector<CPoint>>;

// Each stretch of a path closed at a vertical line x: from the line to the
// stretch's first point, along the stretch, and back to the line. Filled or
// clipped as one polygon, the closed stretches make up their union.
Path CloseAt(const Path& path, int x) {
  Path closed;
  for (const std::vector<CPoint>& stretch : path) {
    if (stretch.empty()) continue;
    std::vector<CPoint> poly;
    poly.reserve(stretch.size() + 2);
    poly.push_back(CPoint{x, stretch.front().y});
    poly.insert(poly.end(), stretch.begin(), stretch.end());
    poly.push_back(CPoint{x, stretch.back().y});
    closed.push_back(std::move(poly));
  }
  return closed;
}

// Height spanned by a path, top (largest y) and bottom.
bool PathHeight(const Path& path, int* top, int* bottom) {
  bool any = false;
  for (const std::vector<CPoint>& stretch : path)
    for (const CPoint& p : stretch) {
      *top = any ? std::max(*top, p.y) : p.y;
      *bottom = any ? std::min(*bottom, p.y) : p.y;
      any = true;
    }
  return any;
}

// Styles whose body is bars or a square wave: they shade nothing.
bool IsBarOrSquare(int type) {
  return type == CVT_BAR || type == CVT_SQUARE || type == CVT_BAR_LINE || type == CVT_SQUARE_LINE;
}

}  // namespace

std::vector<std::vector<CPoint>> CWpCurve::FillPath(const CRect* rect) const {
  EnsureDrawn();  // the other curve of a crossover may not have been drawn yet
  Path path;
  bool limit = false;
  int lo = 0, hi = 0;
  if (rect) {
    const CRect r = rect->Normalized();
    if (r.bottom < r.top) {
      limit = true;
      lo = r.bottom - kRectMargin;
      hi = r.top + kRectMargin;
    }
  }
  std::vector<CPoint> stretch;
  auto close = [&] {
    if (!stretch.empty()) path.push_back(std::move(stretch));
    stretch.clear();
  };
  const std::size_t n = draw_points_.size();
  for (const CDrawPointSegment& seg : draw_segments_) {
    if (seg.part != 1) continue;
    for (int k = seg.first; k < seg.first + seg.count; ++k) {
      if (k < 0 || static_cast<std::size_t>(k) >= n) continue;
      const CPoint& p = draw_points_[static_cast<std::size_t>(k)];
      if (p == kGapPoint) {
        close();
        continue;
      }
      if (!limit) {
        stretch.push_back(p);
        continue;
      }
      // Y falls along the path. Points above the rectangle replace each
      // other, so that a stretch starts with the last one above it; the
      // first point below it ends the path.
      if (p.y > hi) {
        stretch.assign(1, p);
        continue;
      }
      stretch.push_back(p);
      if (p.y < lo) {
        close();
        return path;
      }
    }
  }
  close();
  if (limit) {
    // A stretch wholly above the rectangle kept its last point alone.
    std::erase_if(path, [&](const std::vector<CPoint>& s) { return s.size() == 1 && s[0].y > hi; });
  }
  return path;
}

bool CWpCurve::IsDrawFill(const CRect* rect) const {
  if (rect) {
    const CRect body = BodyDraw().Normalized();
    const CRect r = rect->Normalized();
    if (body.left >= r.right || r.left >= body.right || r.bottom >= body.top ||
        body.bottom >= r.top)
      return false;
  }
  if (draw_segments_.empty() || fills_.empty()) return false;
  return type_curve_ == CVT_LINE || type_curve_ == CVT_POINT || type_curve_ == CVT_POINT_LINE;
}

void CWpCurve::DrawFills(CDC* dc, const CRect* rect) {
  EnsureDrawn();  // a track draws every fill before the first curve line
  if (!visible_ || !dc || !IsDrawFill(rect)) return;
  if (std::fabs(static_cast<double>(left_) - right_) <= 0.00001) return;
  const CClipTool& clip = AfxGetClipTool();
  const int level = clip.SaveDC(dc);
  clip.SetClip(dc, BodyDraw());
  for (const auto& f : fills_) {
    const CVEFILLBLOCK& b = f->block;
    if (b.sides < 0 || !b.enabled || !b.enabled2) continue;
    for (int side : {0, 1}) {
      if (!(b.sides & (1 << side))) continue;
      if (f->TargetsLine())
        DrawOneFillToLine(dc, rect, *f, side);
      else
        DrawOneFillToCurve(dc, rect, *f, side);
    }
  }
  clip.AbortClip(dc, level);
}

void CWpCurve::DrawFillShade(CDC* dc, const CVEFILL& fill, int side) {
  const CVEFILLSHADE& shade = fill.Shade(side);
  if (shade.Empty()) return;
  const CCoordTranslator& tr = GetTranslator();
  const CFillTool& tool = AfxGetFillTool();
  ZULOGBRUSH brush;
  brush.style = kBrushDefaultSolid;
  std::vector<CPoint> points;
  for (std::size_t i = 0; i < shade.polygons.size(); ++i) {
    points.clear();
    for (const FLOATPOINT& p : shade.polygons[i]) points.push_back(tr.MapToDraw(p));
    brush.color = shade.colors[i];
    tool.FillPolygon(dc, points, brush, zoom_);
  }
}

void CWpCurve::DrawOneFillToLine(CDC* dc, const CRect* rect, const CVEFILL& fill, int side) {
  const Path path = FillPath(rect);
  if (path.empty()) return;
  const double l = left_, r = right_;
  // The boundary: the edge of the side itself for an edge fill, otherwise
  // the fill's value.
  double v = fill.block.value;
  if (fill.TargetsEdge()) v = side == 0 ? l : r;
  const double dl = std::fabs(v - l), dr = std::fabs(v - r);
  const double u = side == 0 ? dr : dl;  // room on the side's own side
  const double w = side == 0 ? dl : dr;  // boundary's distance from the side's edge
  if (u <= kTol || !std::isfinite(v)) return;

  const CClipTool& clip = AfxGetClipTool();
  const CPoint* n = draw_nodes_;
  // The polygon runs from the side's own edge to the curve: left of the
  // curve for side 0, right of it for side 1.
  const int own_edge = n[side == 0 ? 0 : 1].x;
  const bool shaded = fill.ShadesSide(side) && !fill.Shade(side).Empty();
  const int level = clip.SaveDC(dc);
  if (w >= kTol) {
    // The boundary lies inside: keep the part between it and the opposite
    // edge, where the curve lies beyond the boundary on the side's side.
    double f;
    if (log_scale_) {
      f = (v > 0 && l > 0 && r > 0) ? std::log10(v / l) / std::log10(r / l) : 0;
    } else {
      f = (v - l) / (r - l);
    }
    const double xb_map = map_nodes_[0].x + width_ * f;
    const int xb = std::isfinite(xb_map) ? GetTranslator().MapXToDrawX(xb_map) : n[0].x;
    int top = 0, bottom = 0;
    PathHeight(path, &top, &bottom);
    clip.SetClip(dc, CRect{n[side == 0 ? 1 : 0].x, top, xb, bottom});
  }
  if (shaded)
    DrawFillShade(dc, fill, side);
  else
    AfxGetFillTool().FillSegments(dc, CloseAt(path, own_edge), fill.Brush(side), zoom_);
  clip.AbortClip(dc, level);
}

void CWpCurve::DrawOneFillToCurve(CDC* dc, const CRect* rect, const CVEFILL& fill, int side) {
  auto* track = dynamic_cast<CWpTrack*>(parent_);
  if (!track) return;
  CWpCurve* other = track->FindCurve(fill.Target(), true);
  if (!other || other == this || IsBarOrSquare(other->GetCurveType())) return;
  const Path mine = FillPath(rect);
  const Path theirs = other->FillPath(rect);
  if (mine.empty() || theirs.empty()) return;
  const CPoint* n = draw_nodes_;
  const int own_edge = n[side == 0 ? 0 : 1].x;
  const int opposite_edge = n[side == 0 ? 1 : 0].x;
  // P: from this curve to the side's edge; Q: from the other curve to the
  // opposite edge. Their overlap is the strip between the two curves where
  // this curve lies on the side's side of the other (right of it for side 0).
  const Path q = CloseAt(theirs, opposite_edge);
  const CClipTool& clip = AfxGetClipTool();
  const int level = clip.SaveDC(dc);
  if (fill.ShadesSide(side) && !fill.Shade(side).Empty()) {
    clip.SetClip(dc, q);
    DrawFillShade(dc, fill, side);
  } else {
    clip.SetClip(dc, CloseAt(mine, own_edge));
    AfxGetFillTool().FillSegments(dc, q, fill.Brush(side), zoom_);
  }
  clip.AbortClip(dc, level);
}

}  // namespace davodu
