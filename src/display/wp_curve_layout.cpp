// The curve kit: the arrangement of its head.
//
// The head is one row of the track's head: the title over the sample line,
// the scale values at the ends of the line (above it, on it or below it),
// and the unit beside the title, above it or below the line. Every text
// keeps clear of the line and of its neighbours and stays inside the row:
// a title and scale values too wide to share their row readably take a row
// each, and what is still too wide is shrunk. The chart layout grows the
// row to the height this arrangement needs (MinTitle); drawing shrinks the
// whole head when the row could not grow.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "davodu/display/wp_curve.h"
#include "davodu/host/util/util.h"
#include "davodu/kits/head_text.h"

namespace davodu {

namespace {

// Trailing zeros, then a trailing point, of a fixed-point text.
std::string TrimZeros(std::string text) {
  if (text.find('.') == std::string::npos) return text;
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  return text;
}

// A text of the head while it is being arranged: its font and box in draw
// units at the present size.
struct Piece {
  std::string text;
  ZULOGFONT font;
  double w = 0, h = 0;
  int rank = 0;  // drawing order: title, unit, left and right scale value

  void Shrink(double f) {
    if (!(f < 1)) return;
    font = ScaledFont(font, f);
    w *= f;
    h *= f;
  }
  // Still readable after shrinking by f.
  bool ReadableAt(double f) const { return f >= 1 || font.height * f >= kHeadReadableHeight; }
};

// Pieces side by side with a gap between them.
double RowWidth(const std::vector<Piece*>& row, double gap) {
  double w = 0;
  for (const Piece* p : row) w += p->w;
  if (row.size() > 1) w += gap * static_cast<double>(row.size() - 1);
  return w;
}

double RowHeight(const std::vector<Piece*>& row) {
  double h = 0;
  for (const Piece* p : row) h = std::max(h, p->h);
  return h;
}

}  // namespace

CWpCurve::HeadLayout CWpCurve::LayOutHead(CDC* dc, double zoom, double left, double right,
                                          double fit) const {
  HeadLayout out;
  std::vector<int> ranks;  // of out.texts, to draw them in a fixed order
  const double z = zoom;
  const double gap = kHeadTextGap * z, pad = kHeadCellPad * z;
  const double word = kHeadWordGap * z;  // between texts side by side
  const double avail = std::max(0.0, right - left - 2 * pad);

  // The sample band: the line and the point symbol drawn on it.
  double band = pen_.width;
  if (type_curve_ == CVT_POINT_LINE) band = std::max<double>(point_.size, pen_.width);
  if (type_curve_ == CVT_POINT) band = point_.size;
  const double half_band = std::max(0.0, band) / 2 * z;
  const double clear = half_band + gap;  // texts keep this far from the line's centre
  out.line = type_curve_ != CVT_POINT && (show_limit_ == 1 || show_limit_ == 3);
  out.point = type_curve_ == CVT_POINT || type_curve_ == CVT_POINT_LINE;

  auto make = [&](const std::string& text, const ZULOGFONT& font, int rank) {
    Piece p{text, ScaledFont(font, fit)};
    p.rank = rank;
    const TextSize s = HeadTextSize(dc, text, p.font, z);
    p.w = s.width;
    p.h = s.height;
    return p;
  };
  const bool unit_shown = !unit_text_.empty() && show_unit_;
  const bool limits = show_limit_ == 1 || show_limit_ == 2;
  Piece title = make(title_text_, title_font_, 0);
  Piece unit = unit_shown ? make("[" + unit_text_ + "]", unit_font_, 1) : Piece{};
  Piece lo, hi;
  if (limits) {
    char format[16];
    std::snprintf(format, sizeof format, "%%.%df", scale_decimal_digit_);
    std::string left_text = AfxFloatToString(left_, format);
    std::string right_text = AfxFloatToString(right_, format);
    if (scale_decimal_digit_ > 0) {
      left_text = TrimZeros(left_text);
      right_text = TrimZeros(right_text);
    }
    lo = make(left_text, limit_font_, 2);
    hi = make(right_text, limit_font_, 3);
  }

  // The centred groups: over the line (the title, with the unit beside it
  // for UnitAlign -1), on top of that (the unit for UnitAlign 0) and below
  // the line (the unit for UnitAlign 1). The scale values stand above the
  // line, on it or below it by LimitAlign.
  std::vector<Piece*> over, top, under;
  if (!title.text.empty()) over.push_back(&title);
  if (unit_shown) (unit_align_ == -1 ? over : unit_align_ == 0 ? top : under).push_back(&unit);
  const int pair_at = limits ? limit_align_ : 2;

  auto shrink_row = [&](std::vector<Piece*>& row, double f) {
    for (Piece* p : row) p->Shrink(f);
  };
  auto alone = [&](std::vector<Piece*>& row) { shrink_row(row, FitFactor(RowWidth(row, word), 0, avail, 0)); };
  // The scale values on a row of their own; when even that is not readable
  // they stagger, each on its own row (not when they stand on the line).
  bool staggered = false;
  auto pair_alone = [&] {
    const double f = FitFactor(lo.w + hi.w + word, 0, avail, 0);
    if (pair_at == 0 || (lo.ReadableAt(f) && hi.ReadableAt(f))) {
      lo.Shrink(f);
      hi.Shrink(f);
      return;
    }
    staggered = true;
    lo.Shrink(FitFactor(lo.w, 0, avail, 0));
    hi.Shrink(FitFactor(hi.w, 0, avail, 0));
  };
  // The group sharing a row with the scale values, when they fit together
  // readably; otherwise each gets a row of its own.
  std::vector<Piece*>* sharing = pair_at <= 0 ? &over : pair_at == 1 ? &under : nullptr;
  bool shared = false;
  if (sharing && !sharing->empty()) {
    const double f = FitFactor(RowWidth(*sharing, word) + lo.w + hi.w + 2 * word, 0, avail, 0);
    shared = lo.ReadableAt(f) && hi.ReadableAt(f);
    for (const Piece* p : *sharing) shared = shared && p->ReadableAt(f);
    if (shared) {
      shrink_row(*sharing, f);
      lo.Shrink(f);
      hi.Shrink(f);
    } else {
      pair_alone();
    }
  } else if (limits) {
    pair_alone();
  }
  for (std::vector<Piece*>* row : {&over, &top, &under})
    if (row != sharing || !shared) alone(*row);

  const double pair_h = limits ? std::max(lo.h, hi.h) : 0;
  const double xc = (left + right) / 2;
  // A centred group within [l, r], bottom or top aligned at y.
  auto place_row = [&](const std::vector<Piece*>& row, double l, double r, double y, int align_v) {
    if (row.empty()) return;
    const double w = RowWidth(row, word);
    const double cx = r - l <= w ? (l + r) / 2 : std::clamp(xc, l + w / 2, r - w / 2);
    if (row.size() == 1) {
      out.texts.push_back({row[0]->text, row[0]->font, cx, y, kAlignCenter, align_v});
      ranks.push_back(row[0]->rank);
      return;
    }
    // Side by side: the first from the left edge of the group, the last to
    // its right edge, any between from the left.
    double x = cx - w / 2;
    for (std::size_t i = 0; i < row.size(); ++i) {
      const bool last = i + 1 == row.size();
      out.texts.push_back({row[i]->text, row[i]->font, last ? cx + w / 2 : x, y,
                           last ? kAlignRight : kAlignLeft, align_v});
      ranks.push_back(row[i]->rank);
      x += row[i]->w + word;
    }
  };
  const double inner_l = left + pad, inner_r = right - pad;
  // The scale values at the ends of a row (staggered: the left one on this
  // row, the right one on the next, step away from the line); returns the
  // height they take.
  auto place_pair = [&](double y, int align_v, double step) {
    const double y_hi = staggered ? y + step * (lo.h + gap) : y;
    out.texts.push_back({lo.text, lo.font, inner_l, y, kAlignLeft, align_v});
    out.texts.push_back({hi.text, hi.font, inner_r, y_hi, kAlignRight, align_v});
    ranks.push_back(lo.rank);
    ranks.push_back(hi.rank);
    return staggered ? lo.h + gap + hi.h : std::max(lo.h, hi.h);
  };
  // The free span between the scale values of a shared row.
  const double span_l = inner_l + lo.w + word, span_r = inner_r - hi.w - word;

  // Above the line, from the line up.
  double up = clear;
  bool above_any = false;
  auto stack_up = [&](const std::vector<Piece*>& row, double l, double r) {
    if (row.empty()) return;
    place_row(row, l, r, up, kAlignBottom);
    up += RowHeight(row) + gap;
    above_any = true;
  };
  if (pair_at == -1) {
    double h = place_pair(up, kAlignBottom, 1);
    if (shared) {
      place_row(over, span_l, span_r, up, kAlignBottom);
      h = std::max(h, RowHeight(over));
    }
    up += h + gap;
    above_any = true;
    if (!shared) stack_up(over, inner_l, inner_r);
  } else if (pair_at == 0) {
    place_pair(0, kAlignMiddle, 0);
    if (!shared) up = std::max(up, pair_h / 2 + gap);
    stack_up(over, shared ? span_l : inner_l, shared ? span_r : inner_r);
  } else {
    stack_up(over, inner_l, inner_r);
  }
  stack_up(top, inner_l, inner_r);
  out.above = above_any ? up - gap : half_band;

  // Below the line, from the line down.
  double down = clear;
  bool below_any = false;
  auto stack_down = [&](const std::vector<Piece*>& row, double l, double r) {
    if (row.empty()) return;
    place_row(row, l, r, -down, kAlignTop);
    down += RowHeight(row) + gap;
    below_any = true;
  };
  if (pair_at == 1) {
    double h = place_pair(-down, kAlignTop, -1);
    if (shared) {
      place_row(under, span_l, span_r, -down, kAlignTop);
      h = std::max(h, RowHeight(under));
    }
    down += h + gap;
    below_any = true;
    if (!shared) stack_down(under, inner_l, inner_r);
  } else {
    stack_down(under, inner_l, inner_r);
  }
  out.below = below_any ? down - gap : half_band;
  if (pair_at == 0) {
    out.above = std::max(out.above, pair_h / 2);
    out.below = std::max(out.below, pair_h / 2);
  }

  // The line runs across the row, or between the scale values standing on it.
  out.line_left = left;
  out.line_right = right;
  if (pair_at == 0) {
    out.line_left = std::min(xc, span_l);
    out.line_right = std::max(xc, span_r);
  }
  std::vector<std::size_t> order(out.texts.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return ranks[a] < ranks[b]; });
  std::vector<HeadText> sorted;
  sorted.reserve(order.size());
  for (std::size_t i : order) sorted.push_back(std::move(out.texts[i]));
  out.texts = std::move(sorted);
  return out;
}

float CWpCurve::MinTitle() {
  if (!title_visible_ || head_align_ < 0) return CWpContent::MinTitle();
  const HeadLayout head = LayOutHead(nullptr, 1.0, 0, width_, 1.0);
  const double need = head.above + head.below + 2 * kHeadCellPad;
  return static_cast<float>(std::max<double>(need, CWpContent::MinTitle()));
}

}  // namespace davodu
