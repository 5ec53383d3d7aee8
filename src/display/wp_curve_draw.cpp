// The curve kit: draw points, body styles, head, hit tests.
#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

#include "davodu/display/wp_curve.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/util/util.h"
#include "davodu/well/wp_track.h"
#include "davodu/kits/head_text.h"

namespace davodu {

namespace {

bool IsGap(const CPoint& p) { return p == CWpCurve::kGapPoint; }

int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

double Dist(CPoint a, CPoint b) { return std::hypot(double(a.x) - b.x, double(a.y) - b.y); }

// Distance from p to the segment a-b.
double DistToSegment(CPoint p, CPoint a, CPoint b) {
  const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  const double len2 = dx * dx + dy * dy;
  if (len2 == 0) return Dist(p, a);
  const double t = std::clamp(((double(p.x) - a.x) * dx + (double(p.y) - a.y) * dy) / len2, 0.0, 1.0);
  return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

// Distance from p to the infinite line through a and b.
double DistToLine(CPoint p, CPoint a, CPoint b) {
  const double dx = double(b.x) - a.x, dy = double(b.y) - a.y;
  const double len = std::hypot(dx, dy);
  if (len == 0) return Dist(p, a);
  return std::fabs(dx * (double(p.y) - a.y) - dy * (double(p.x) - a.x)) / len;
}

}  // namespace

// ---------------------------------------------------------------- build

void CWpCurve::BuildHead() {
  CWpContent::BuildHead();
  const float min_title = MinTitle();
  if (title_height_ < min_title) {
    title_height_ = min_title;
    CWpContent::BuildHead();
  }
  RecAmp();
}

void CWpCurve::BuildBody() {
  CWpKit::BuildBody();
  drawn_stale_ = true;
}

void CWpCurve::EnsureDrawn() const {
  if (!drawn_stale_) return;
  // Curves are never defined const: the cache may be filled in place.
  auto* self = const_cast<CWpCurve*>(this);
  self->drawn_stale_ = false;
  self->BuildCurve();
  self->BuildDrw(nullptr);
  // The fills' shading follows the layout the points were built for.
  self->CurveColorGradualChange();
}

void CWpCurve::CloseRun(int part) {
  segment_lengths_.push_back(run_length_);
  segment_parts_.push_back(part);
}

// A change of scale part between two samples: the run on the old part ends
// at one edge and the next starts at the opposite edge, at a depth between
// the two samples (one crossing at the middle, two at the thirds).
void CWpCurve::BuildOuterCurve(int from, int to, double d1, double d2) {
  const CCoordTranslator& tr = GetTranslator();
  const double xl = map_nodes_[0].x, xr = map_nodes_[1].x;
  auto cross = [&](int a, int b, double depth) {
    const double ym = DepToMapY(depth);
    const bool rightwards = b > a;
    draw_points_.push_back(tr.MapToDraw(FLOATPOINT{rightwards ? xr : xl, ym}));
    ++run_length_;
    CloseRun(a);
    draw_points_.push_back(tr.MapToDraw(FLOATPOINT{rightwards ? xl : xr, ym}));
    run_length_ = 1;
  };
  if (std::abs(to - from) == 2) {
    cross(from, 1, d1 + (d2 - d1) / 3);
    cross(1, to, d1 + 2 * (d2 - d1) / 3);
  } else {
    cross(from, to, (d1 + d2) / 2);
  }
}

int CWpCurve::BuildCurve() {
  draw_points_.clear();
  segment_lengths_.clear();
  segment_parts_.clear();
  const int n = GetSampleCount();
  if (n < 1 || !ScaleUsable() || values_.size() != depths_.size()) return 0;
  int i = 0;
  while (i < n - 1 && (depths_[i] < top_depth_ || !ValueValid(values_[i]))) ++i;
  int j = n - 1;
  while (j > 0 && (depths_[j] > bottom_depth_ || !ValueValid(values_[j]))) --j;
  if (j < i || !ValueValid(values_[i]) || !ValueValid(values_[j])) return 0;

  const CCoordTranslator& tr = GetTranslator();
  int part = 1;
  double x = ValToMapX(values_[i], &part);
  draw_points_.push_back(tr.MapToDraw(FLOATPOINT{x, DepToMapY(depths_[i])}));
  run_length_ = 1;
  for (int k = i + 1; k <= j; ++k) {
    // Every missing value breaks the line; a null marker such as -999.25
    // is as missing as FLT_MAX and must not be plotted at the edge.
    if (!ValueValid(values_[k])) {
      draw_points_.push_back(kGapPoint);
      ++run_length_;
      continue;
    }
    int next = part;
    x = ValToMapX(values_[k], &next);
    if (next != part) {
      BuildOuterCurve(part, next, depths_[k - 1], depths_[k]);
      part = next;
    }
    draw_points_.push_back(tr.MapToDraw(FLOATPOINT{x, DepToMapY(depths_[k])}));
    ++run_length_;
  }
  CloseRun(part);
  return 1;
}

int CWpCurve::BuildDrw(const CRect* rect) {
  if (drawn_stale_) {
    drawn_stale_ = false;
    BuildCurve();
  }
  if (draw_points_.empty() || segment_lengths_.empty()) return 0;
  if (GetSampleCount() < 1 || !ScaleUsable()) return 0;
  draw_segments_.clear();
  const bool limit = rect && std::min(rect->top, rect->bottom) < std::max(rect->top, rect->bottom);
  const int lo = limit ? std::min(rect->top, rect->bottom) - 100 : 0;
  const int hi = limit ? std::max(rect->top, rect->bottom) + 100 : 0;
  const int n = static_cast<int>(draw_points_.size());
  auto head_ok = [&](int k) {
    const CPoint& p = draw_points_[k];
    if (IsGap(p)) return false;
    return DrwYToDep(p.y) >= top_depth_ - 1e-4f && (!limit || p.y <= hi);
  };
  auto tail_ok = [&](int k) {
    const CPoint& p = draw_points_[k];
    if (IsGap(p)) return false;
    return DrwYToDep(p.y) <= bottom_depth_ + 1e-4f && (!limit || p.y >= lo);
  };
  int i = 0;
  while (n - i >= 3 && !head_ok(i)) ++i;
  int j = n - 1;
  while (j > 1 && !tail_ok(j)) --j;
  if (n - i > 1) ++j;
  if (j < i) return 0;
  int s = 0;
  for (std::size_t r = 0; r < segment_lengths_.size(); ++r) {
    const int e = s + segment_lengths_[r];
    if (e - 1 >= i) {
      const int start = std::max(s + 1, i);
      const int end = std::min(e, j);
      const int count = j == 0 ? 1 : end - start + 1;
      if (count > 0) {
        CDrawPointSegment seg;
        seg.first = std::max(start - 1, 0);
        seg.count = std::min(count, n - seg.first);
        seg.part = segment_parts_[r];
        draw_segments_.push_back(seg);
      }
    }
    s = e;
  }
  return static_cast<int>(draw_segments_.size());
}

// ---------------------------------------------------------------- body

void CWpCurve::DrawCurveSegments(CDC* dc, const ZULOGPEN& pen, double zoom) {
  const CLineTool& line = AfxGetLineTool();
  std::vector<CPoint> run;
  auto flush = [&](const ZULOGPEN& p) {
    if (run.size() == 1) run.push_back(CPoint{run[0].x, run[0].y + 100});
    if (!run.empty()) line.DrawPolyline(dc, run, p, zoom);
    run.clear();
  };
  for (const CDrawPointSegment& seg : draw_segments_) {
    if (seg.part != 1 && !show_scale_) continue;
    const ZULOGPEN& p = seg.part == 1 ? pen : pen_cur2_;
    for (int k = seg.first; k < seg.first + seg.count; ++k) {
      const CPoint& pt = draw_points_[static_cast<std::size_t>(k)];
      if (IsGap(pt))
        flush(p);
      else
        run.push_back(pt);
    }
    flush(p);
  }
}

void CWpCurve::DrawScatteredPoint(CDC* dc, const ZULOGPOINT& point, double zoom) {
  const CPointTool& tool = AfxGetPointTool();
  for (const CDrawPointSegment& seg : draw_segments_) {
    if (seg.part != 1 && !show_scale_) continue;
    const ZULOGPOINT& symbol = seg.part == 1 ? point : point2_;
    for (int k = 0; k < seg.count; k += scanted_) {
      const CPoint& pt = draw_points_[static_cast<std::size_t>(seg.first + k)];
      if (!IsGap(pt)) tool.Draw(dc, pt, symbol, zoom);
    }
  }
}

void CWpCurve::DrawBar(CDC* dc, const ZULOGPEN& pen, double zoom) {
  const CLineTool& line = AfxGetLineTool();
  const int base = right_ >= left_ ? draw_nodes_[0].x : draw_nodes_[1].x;
  for (const CDrawPointSegment& seg : draw_segments_) {
    if (seg.part != 1) continue;
    for (int k = 0; k < seg.count; k += scanted_) {
      const CPoint& pt = draw_points_[static_cast<std::size_t>(seg.first + k)];
      if (!IsGap(pt)) line.DrawLine(dc, CPoint{base, pt.y}, pt, pen, zoom);
    }
  }
}

// Snaps a draw x to the square-wave grid, inside the column. Without a
// usable grid the x stays as it is.
int CWpCurve::SnapToGrid(int x) const {
  int snapped = x;
  if (std::fabs(grid_step_) >= 0.001) {
    const double g = (x - grid_origin_) / grid_step_;
    const double c = std::ceil(g);
    snapped = TruncToInt(((c - g > 0.5) ? c - 1 : c) * grid_step_ + grid_origin_);
  }
  const int x0 = draw_nodes_[0].x, x1 = draw_nodes_[1].x;
  if (snapped < x0) return x0;
  if (snapped >= x1) return x1;
  return snapped;
}

void CWpCurve::DrawSquareWave(CDC* dc, const ZULOGPEN& pen, double zoom) {
  const CLineTool& line = AfxGetLineTool();
  for (const CDrawPointSegment& seg : draw_segments_) {
    if (seg.part != 1 || seg.count < 1) continue;
    for (int k = 0; k + 1 < seg.count; ++k) {
      const CPoint& a = draw_points_[static_cast<std::size_t>(seg.first + k)];
      const CPoint& b = draw_points_[static_cast<std::size_t>(seg.first + k + 1)];
      if (IsGap(a) || IsGap(b)) continue;
      const int x1 = SnapToGrid(a.x), x2 = SnapToGrid(b.x);
      const int ym = TruncToInt((static_cast<double>(a.y) + b.y) / 2);
      line.DrawLine(dc, CPoint{x1, a.y}, CPoint{x1, ym}, pen, zoom);
      line.DrawLine(dc, CPoint{x1, ym}, CPoint{x2, ym}, pen, zoom);
      line.DrawLine(dc, CPoint{x2, ym}, CPoint{x2, b.y}, pen, zoom);
    }
  }
}

void CWpCurve::DrawBody(CDC* dc, bool selected) {
  EnsureDrawn();
  if (std::fabs(static_cast<double>(left_) - right_) < 0.00001 || draw_segments_.empty()) return;
  const double zoom = selected ? 1.0 : zoom_;
  ZULOGPEN style_pen = pen2_;
  if (selected) {
    style_pen.width *= 2;
    if (style_pen.width < 70) style_pen.width = 80;
  }
  if (type_curve_ > 0) {
    switch (type_curve_ % 3) {
      case 0:
        DrawSquareWave(dc, style_pen, zoom);
        break;
      case 1: {
        ZULOGPOINT symbol = point_;
        if (selected) symbol.size *= 2;
        DrawScatteredPoint(dc, symbol, zoom);
        break;
      }
      default:
        DrawBar(dc, style_pen, zoom);
        break;
    }
  }
  if (type_curve_ == 0 || type_curve_ > 3) {
    ZULOGPEN pen = pen_;
    if (selected) pen.width *= 2;
    DrawCurveSegments(dc, pen, zoom_);
  }
}

// ---------------------------------------------------------------- head

void CWpCurve::DrawHead(CDC* dc) {
  if (!title_visible_ || head_align_ < 0) return;
  const double zoom = zoom_;
  const CPoint* n = draw_nodes_;
  const double left = n[0].x, right = n[1].x;
  const double bottom = std::min(n[2].y, n[4].y), top = std::max(n[2].y, n[4].y);
  const double pad = kHeadCellPad * zoom;
  const double room = std::max(0.0, top - bottom - 2 * pad);

  // Arrange the head; a row that could not grow to the head's height
  // shrinks the whole head until it fits.
  double fit = 1;
  HeadLayout head = LayOutHead(dc, zoom, left, right, fit);
  for (int i = 0; i < 4 && head.above + head.below > room && fit > 0.01; ++i) {
    fit *= std::max(0.01, room / (head.above + head.below)) * 0.99;
    head = LayOutHead(dc, zoom, left, right, fit);
  }

  // The line: the block centred in a low row, at the row's middle in a tall
  // one, and never closer to the row's edges than the padding.
  const double b = head.above + head.below;
  const double o = top - bottom < 2 * b ? b / 2 - head.above : 0;
  double yl = n[6].y + o;
  yl = std::min(yl, top - pad - head.above);
  yl = std::max(yl, bottom + pad + head.below);
  std::vector<int> ys{TruncToInt(yl)};
  if (head_align_ == 1) ys.push_back(TruncToInt(n[16].y + (yl - n[6].y)));

  const ZULOGPEN& sample_pen = (type_curve_ >= 1 && type_curve_ <= 3) ? pen2_ : pen_;
  const CTextTool& text = AfxGetTextTool();
  const int xc = n[8].x;
  for (int y : ys) {
    if (head.line)
      AfxGetLineTool().DrawLine(dc, CPoint{TruncToInt(head.line_left), y},
                                CPoint{TruncToInt(head.line_right), y}, sample_pen, zoom);
    if (head.point) AfxGetPointTool().Draw(dc, CPoint{xc, y}, point_, zoom);
    for (const HeadText& t : head.texts)
      text.DrawText(dc, CPoint{TruncToInt(t.x), TruncToInt(y + t.y)}, t.text, t.font, zoom, 0,
                    t.align_h, t.align_v);
  }
}

void CWpCurve::DrawFlagLine(CDC* dc) {
  if (!flag_line_show_ || IsMissing(flag_line_value_)) return;
  const double x = ValToMapX(flag_line_value_);
  const CCoordTranslator& tr = GetTranslator();
  AfxGetLineTool().DrawLine(dc, tr.MapToDraw(FLOATPOINT{x, map_nodes_[0].y}),
                            tr.MapToDraw(FLOATPOINT{x, map_nodes_[10].y}), flag_line_pen_, zoom_);
}

void CWpCurve::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!visible_) return;
  CWpInWell::Draw(dc, view, clip, done);
  DrawHead(dc);
  if (std::fabs(static_cast<double>(left_) - right_) > 0.00001) {
    // In a track the track has drawn the fills of all its curves already.
    if (!dynamic_cast<CWpTrack*>(parent_)) DrawFills(dc, clip);
    DrawBody(dc, false);
  }
  DrawBorder(dc, view, clip, done);
  DrawFlagLine(dc);
  DrawBlankSpace(dc, view);
}

void CWpCurve::DrawSelectedMark(CDC* dc, CView*, int handles) {
  ZULOGPEN frame = border_pen_;
  frame.style = kPenMarkSelection;
  frame.rop = kRopNotXor;
  if (handles) DrawBody(dc, true);
  const CLineTool& line = AfxGetLineTool();
  const CPoint* n = draw_nodes_;
  auto join = [&](int a, int b) { line.DrawLine(dc, n[a], n[b], frame, zoom_); };
  join(2, 3);
  if (title_visible_ && head_align_ >= 0) {
    join(4, 5);
    join(2, 4);
    join(3, 5);
  }
  if (head_align_ == 1) {
    join(14, 15);
    join(12, 14);
    join(13, 15);
  }
  if (!handles) return;
  ZULOGPEN handle = frame;
  handle.style = kPenMarkHandle;
  for (int i : {6, 7, 8, 9}) DrawNodeSquare(dc, i, handle);
}

// ---------------------------------------------------------------- hits

float CWpCurve::PtOnCurve(CPoint point) const {
  EnsureDrawn();
  const float none = FLT_MAX;
  const std::size_t n = draw_points_.size();
  if (n < 2) return none;
  // The pair of real points whose heights bracket the point's.
  std::size_t k = n;
  for (std::size_t i = 0; i + 1 < n; ++i) {
    const CPoint& a = draw_points_[i];
    const CPoint& b = draw_points_[i + 1];
    if (IsGap(a) || IsGap(b)) continue;
    if (a.y >= point.y && point.y >= b.y) {
      k = i;
      break;
    }
  }
  if (k == n) return none;
  const CPoint a = draw_points_[k], b = draw_points_[k + 1];
  const double line_d = DistToLine(point, a, b);
  double d = line_d;
  if (type_curve_ == CVT_POINT) d = std::min(Dist(point, a), Dist(point, b));
  if (type_curve_ == CVT_BAR || type_curve_ == CVT_BAR_LINE) {
    const int base = right_ >= left_ ? draw_nodes_[0].x : draw_nodes_[1].x;
    const double bar = std::min(DistToSegment(point, CPoint{base, a.y}, a),
                                DistToSegment(point, CPoint{base, b.y}, b));
    d = type_curve_ > 3 ? std::min(bar, line_d) : bar;
  }
  if (type_curve_ == CVT_SQUARE || type_curve_ == CVT_SQUARE_LINE) {
    const int x1 = SnapToGrid(a.x), x2 = SnapToGrid(b.x);
    const int ym = TruncToInt((static_cast<double>(a.y) + b.y) / 2);
    const double step = std::min({DistToSegment(point, CPoint{x1, a.y}, CPoint{x1, ym}),
                                  DistToSegment(point, CPoint{x1, ym}, CPoint{x2, ym}),
                                  DistToSegment(point, CPoint{x2, ym}, CPoint{x2, b.y})});
    d = type_curve_ > 3 ? std::min(step, line_d) : step;
  }
  const double result = d * 10;
  return result >= FLT_MAX ? none : static_cast<float>(result);
}

// A curve answers in its title band only (and, free of a track, in its
// body): inside a track the track picks the nearest curve by PtOnCurve, so
// a curve must not claim its whole draw rectangle.
CZuObject* CWpCurve::HitTest(CPoint point) {
  if (CZuObject* hit = HitKits(point)) return hit;
  if (!visible_) return nullptr;
  const CPoint* n = draw_nodes_;
  if (point.x >= n[2].x && point.x <= n[5].x && point.y >= n[2].y && point.y <= n[5].y) return this;
  if (!parent_ && point.x >= n[0].x && point.x <= n[11].x && point.y < n[0].y &&
      point.y >= n[11].y)
    return this;
  return nullptr;
}

int CWpCurve::NodeHitTest(CPoint point) {
  const int r = AfxGetNodeRectWidth() / 2;
  const CPoint* n = draw_nodes_;
  auto in_body = [&] {
    return point.x >= n[0].x && point.x <= n[11].x && point.y >= n[11].y;
  };
  if (point.y + r < n[0].y) return in_body() ? CN_BODY_MOVE : CN_NONE;
  if (point.y + r < n[2].y) return CN_NONE;
  for (int i = 6; i <= 9; ++i)
    if (std::abs(point.x - n[i].x) <= r && std::abs(point.y - n[i].y) <= r) return i - 4;
  if (point.x >= n[2].x && point.x <= n[5].x && point.y - r <= n[5].y) return CN_BODY_MOVE;
  return CN_NONE;
}

}  // namespace davodu
