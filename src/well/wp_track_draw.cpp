// How a track draws itself: the grid of its body (depth lines across it,
// linear or logarithmic scale lines down it, the centre line), its
// contents, its title and frame, and its selection mark.
//
// The grid loops are bounded by what can be seen: only the lines inside the
// body and the clip rectangle are visited, and a grid that would put more
// lines than draw units into that space (a step of almost nothing, as a
// damaged document can hold) is not drawn at all.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <string>

#include "davodu/display/wp_curve.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/util/util.h"
#include "davodu/kits/depth_steps.h"
#include "davodu/kits/head_text.h"
#include "davodu/well/wp_track.h"

namespace davodu {

namespace {

// Line-style code of the handle squares of the selection mark.
constexpr std::int32_t kPenMarkNode = 990;
// The depth-line loop never counts past this step number.
constexpr std::int64_t kMaxStep = 2147483646;

// How many steps make one interval, as a whole number: 0 when the interval
// is not a positive number of steps.
std::int64_t StepsPer(double interval, double step) {
  const double k = std::trunc(interval / step);
  if (!(k >= 1)) return 0;
  return k > static_cast<double>(kMaxStep) ? kMaxStep + 1 : static_cast<std::int64_t>(k);
}

// log10 of a float-held value, taken as the whole number it is meant to be
// when it lies within float rounding of one (log10(0.01f) is -2.00000001).
double DecadeLog(double value) {
  const double lg = std::log10(value);
  const double whole = std::round(lg);
  return std::fabs(lg - whole) < 1e-6 ? whole : lg;
}

int ToDraw(double x) { return SaturatingInt(x); }

}  // namespace

// ---------------------------------------------------------------- the whole track

void CWpTrack::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  // The same tests as the kit's drawing: a hidden track, or one outside the
  // clip or already drawn, draws neither its grid nor its frame.
  if (!NeedsDrawing(clip, done)) return;
  DrawBody(dc, view, clip, done);
  CWpInWell::Draw(dc, view, clip, done);
  DrawTitle(dc, view, clip, done);
  DrawBorder(dc, view, clip, done);
}

void CWpTrack::DrawChildren(CDC* dc, CView* view, CRect* clip, CRect* done) {
  // The fills of all curves first, so that no fill covers another curve's line.
  for (int i : draw_order_)
    if (auto* curve = dynamic_cast<CWpCurve*>(GetChild(i))) curve->DrawFills(dc, clip);
  for (int i : draw_order_)
    if (CWpKit* c = GetChild(i)) c->Draw(dc, view, clip, done);
}


void CWpTrack::DrawBody(CDC* dc, CView*, CRect* clip, CRect*) {
  DrawDepthLine(dc, clip);
  if (!show_scale_) return;
  if (log_scale_)
    DrawLogScale(dc);
  else
    DrawLinearScale(dc, clip);
  if (show_mid_) {
    const CPoint* n = draw_nodes_;
    AfxGetLineTool().DrawLine(dc, CPoint{n[8].x, n[0].y}, CPoint{n[8].x, n[10].y}, mid_scale_pen_,
                              zoom_);
  }
}

// ---------------------------------------------------------------- depth lines

void CWpTrack::DrawDepthLine(CDC* dc, const CRect* clip) {
  if (!show_depth_) return;
  const double step = min_dep_;
  if (!(step > 0) || !std::isfinite(step)) return;
  double start = top_depth_, end = bottom_depth_;
  if (!std::isfinite(start) || !std::isfinite(end)) return;
  // Start on a multiple of MajDep so that the major lines fall on its
  // multiples.
  AfxModifyStepValue(start, end, maj_dep_);
  const double steps = std::floor((end - start) / step);
  if (!(steps >= 1)) return;
  const std::int64_t last_step =
      steps >= static_cast<double>(kMaxStep) ? kMaxStep : static_cast<std::int64_t>(steps);

  // Lines are drawn strictly inside the body, and within the clip.
  const CPoint* n = draw_nodes_;
  int y_high = n[0].y - 1, y_low = n[10].y + 1;
  if (clip) {
    const CRect c = clip->Normalized();
    y_high = std::min(y_high, c.top);
    y_low = std::max(y_low, c.bottom);
  }
  if (y_low > y_high) return;

  const CCoordTranslator& tr = GetTranslator();
  auto draw_y = [&](std::int64_t b) {
    return tr.MapYToDrawY(DepToMapY(start + static_cast<double>(b) * step));
  };
  auto first_at_or_below = [&](int y) {
    return FirstStepAtOrBelow(1, last_step, y, [&](std::int64_t b) { return std::optional<int>(draw_y(b)); });
  };
  const std::int64_t first = first_at_or_below(y_high);
  const std::int64_t beyond = first_at_or_below(y_low - 1);
  if (beyond <= first) return;
  const std::int64_t units = static_cast<std::int64_t>(y_high) - y_low + 1;
  if (beyond - first > units) return;  // more lines than draw units: a grey smear

  const std::int64_t k_mid = StepsPer(mid_dep_, step);
  const std::int64_t k_maj = StepsPer(maj_dep_, step);
  const CLineTool& line = AfxGetLineTool();
  for (std::int64_t b = first; b < beyond; ++b) {
    const int y = draw_y(b);
    if (y > y_high || y < y_low) continue;
    const bool mid = k_mid > 1 && b % k_mid == 0;
    const ZULOGPEN* pen = mid ? &mid_dep_pen_ : &min_dep_pen_;
    if (k_maj > 1 && b % k_maj == 0) pen = &maj_dep_pen_;
    line.DrawLine(dc, CPoint{n[0].x, y}, CPoint{n[1].x, y}, *pen, zoom_);
  }
}

// ---------------------------------------------------------------- scale lines

void CWpTrack::DrawLinearScale(CDC* dc, const CRect* clip) {
  const CPoint* n = draw_nodes_;
  const double w = static_cast<double>(n[1].x) - n[0].x;
  const int divisions = min_scale_;
  if (divisions < 2 || !(w > 0) || divisions - 1 > w) return;
  const double unit = w / divisions;
  int i_first = 1, i_last = divisions - 1;
  if (clip) {
    // Only the lines between the clip's sides (one more on either side for
    // the truncation).
    const CRect c = clip->Normalized();
    const double x0 = n[0].x;
    const double count = divisions;
    i_first = static_cast<int>(std::clamp(std::floor((c.left - x0) / unit) - 1, 1.0, count));
    i_last = static_cast<int>(std::clamp(std::ceil((c.right - x0) / unit) + 1, 0.0, count - 1));
  }
  const int every = std::max(maj_scale_, 1);
  const bool has_major = divisions % every == 0;
  const CLineTool& line = AfxGetLineTool();
  for (int i = i_first; i <= i_last; ++i) {
    const int x = ToDraw(n[0].x + i * unit);
    const ZULOGPEN& pen = has_major && i % every == 0 ? maj_scale_pen_ : min_scale_pen_;
    line.DrawLine(dc, CPoint{x, n[0].y}, CPoint{x, n[10].y}, pen, zoom_);
  }
}

void CWpTrack::DrawLogScale(CDC* dc) {
  const double lo = std::min(left_, right_), hi = std::max(left_, right_);
  const bool reversed = right_ < left_;
  // A logarithm needs values above 0 (values at or below 0 come from
  // documents or from before log scale was switched on).
  if (!(lo > 0) || !std::isfinite(hi)) return;
  const double log_lo = std::log10(lo), log_hi = std::log10(hi);
  if (!(log_hi - log_lo > 1e-9)) return;
  const CPoint* n = draw_nodes_;
  const double w = static_cast<double>(n[1].x) - n[0].x;
  if (!(w > 0)) return;

  // Decades from the one holding lo (floor, so that 0.25 is in the decade
  // of 0.1) up to and including the one holding hi, whose lines are drawn up
  // to the right end: a 0.2-2000 resistivity grid shows its 1000 line, and a
  // 0.25-25 grid its 10 and 20 lines. Float-rounded powers of ten stay in
  // their own decade.
  int decade = static_cast<int>(std::floor(DecadeLog(lo)));
  const int last_decade = static_cast<int>(std::floor(DecadeLog(hi)));
  if (static_cast<double>(last_decade - decade + 1) * 9 > w) return;
  // The first line is the next whole mantissa above lo (lo itself is the
  // edge).
  double q = lo / std::pow(10.0, decade);
  if (std::fabs(q - std::round(q)) < 1e-6 * q) q = std::round(q);
  int m = static_cast<int>(std::floor(q)) + 1;
  const double units_per_log = w / (log_hi - log_lo);
  const CLineTool& line = AfxGetLineTool();
  for (;;) {
    if (m > 9) {
      m = 1;
      ++decade;
    }
    if (decade > last_decade) break;
    const double at = std::log10(static_cast<double>(m)) + decade;
    if (at >= log_hi - 1e-9) break;  // hi is the other edge
    const double offset = (at - log_lo) * units_per_log;
    const int x = ToDraw(reversed ? n[1].x - offset : n[0].x + offset);
    line.DrawLine(dc, CPoint{x, n[0].y}, CPoint{x, n[10].y}, m == 1 ? maj_scale_pen_ : min_scale_pen_,
                  zoom_);
    ++m;
  }
}

// ---------------------------------------------------------------- title and mark

void CWpTrack::DrawTitle(CDC* dc, CView*, CRect*, CRect*) {
  const std::string text = TrimBlanks(title_text_);
  if (!title_visible_ || text.empty() || head_align_ < 0) return;
  const CTextTool& tool = AfxGetTextTool();
  const CPoint* n = draw_nodes_;
  // The title shrinks to fit inside its band, clear of the frame.
  const double pad = kHeadCellPad * zoom_;
  const ZULOGFONT font = ScaledFont(
      title_font_, FitFactor(HeadTextSize(dc, text, title_font_, zoom_),
                             std::abs(n[3].x - n[2].x) - 2 * pad, std::abs(n[4].y - n[2].y) - 2 * pad));
  tool.DrawText(dc, CPoint{n[8].x, (n[4].y + n[2].y) / 2}, text, font, zoom_, 0, kAlignCenter,
                kAlignMiddle);
  if (head_align_ == 1)
    tool.DrawText(dc, CPoint{n[8].x, (n[14].y + n[12].y) / 2}, text, font, zoom_, 0, kAlignCenter,
                  kAlignMiddle);
}

void CWpTrack::DrawSelectedMark(CDC* dc, CView*, int handles) {
  ZULOGPEN pen = border_pen_;
  pen.style = kPenMarkDepthFrame;
  pen.rop = kRopNotXor;
  const CLineTool& line = AfxGetLineTool();
  const CPoint* n = draw_nodes_;
  auto seg = [&](int a, int b) { line.DrawLine(dc, n[a], n[b], pen, zoom_); };
  const bool lower = head_align_ == 1;
  if (head_align_ >= 0) {
    if (title_visible_ && n[2].y != n[4].y) {
      seg(4, 5), seg(2, 4), seg(3, 5);
      if (lower) seg(14, 15), seg(12, 14), seg(13, 15);
    }
    seg(2, 3), seg(0, 2), seg(1, 3);
    if (lower) seg(12, 13), seg(10, 12), seg(11, 13);
  }
  seg(0, 1), seg(0, 10), seg(1, 11), seg(10, 11);
  if (!handles) return;
  ZULOGPEN square = pen;
  square.style = kPenMarkNode;
  for (int i : {6, 7, 8, 9}) {
    if (i == 8 && (!title_visible_ || n[8].y == n[9].y)) continue;
    DrawNodeSquare(dc, i, square);
  }
}

}  // namespace davodu
