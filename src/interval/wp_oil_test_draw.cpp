// The oil test kit: the cell table, the result fill, the composition bar
// and the pie.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <numbers>
#include <optional>
#include <vector>

#include "davodu/data/wd_mgr.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/util/gbk.h"
#include "davodu/interval/wp_oil_test.h"
#include "davodu/kits/head_text.h"
#include "davodu/store/well_catalogs.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

// The unit of a production field: "吨" for oil and water, "千方" for gas.
std::string UnitOf(const std::string& field) {
  for (const char* f : {"日产油量", "日产水量", "累产油量", "累产水量"})
    if (field == Gbk(f)) return Gbk("吨");
  for (const char* f : {"日产气量", "累产气量"})
    if (field == Gbk(f)) return Gbk("千方");
  return std::string();
}

std::string Fixed(double v, int digits) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digits, v);
  return buf;
}

// The labels of one pie sector, a block of lines in pie coordinates: x to
// the right and v upwards from the centre, in draw units.
struct PieLabel {
  double angle = 0;  // the sector's middle, clockwise from the top
  std::vector<std::string> lines;
  double line = 0;  // the height of a line
  double w = 0, h = 0;
  double cx = 0, cv = 0;  // the block's centre
  double Left() const { return cx - w / 2; }
  double Right() const { return cx + w / 2; }
  double Bottom() const { return cv - h / 2; }
  double Top() const { return cv + h / 2; }
};

// The distance from the pie's centre to the nearest point of a block.
double Reach(const PieLabel& b) {
  const double dx = b.Left() > 0 ? b.Left() : b.Right() < 0 ? -b.Right() : 0;
  const double dv = b.Bottom() > 0 ? b.Bottom() : b.Top() < 0 ? -b.Top() : 0;
  return std::hypot(dx, dv);
}

// The least t in [0, far] for which place(t) leaves the block at least
// clear from the centre; place(t) moves the block further out as t grows.
template <typename Place>
void PushOut(PieLabel* b, double clear, double far, Place place) {
  double near = 0;
  place(near);
  if (Reach(*b) >= clear) return;
  for (int i = 0; i < 48; ++i) {
    const double mid = (near + far) / 2;
    place(mid);
    (Reach(*b) >= clear ? far : near) = mid;
  }
  place(far);
}

// Places the label blocks of a pie of radius r: each goes out from the pie
// on its sector's middle angle until it keeps gap from the circle, then
// into the span lo to hi across (pie coordinates); a block that comes back
// over the pie there moves straight up (upper half) or down (lower half)
// until clear. Then, taken by their angles from the pie's sides towards
// its top and bottom (so that blocks stacked above or below the pie keep
// the order of their sectors), each block moves on the same way past every
// block placed before that it meets, to twice gap beyond it. Moving away
// from the horizontal middle only takes a block further from the pie, so
// none ends on the pie or on another.
void PlacePieLabels(std::vector<PieLabel>* labels, double r, double gap, double lo, double hi) {
  const double clear = r + gap;
  std::vector<int> away(labels->size());
  for (std::size_t i = 0; i < labels->size(); ++i) {
    PieLabel& b = (*labels)[i];
    const double sx = std::sin(b.angle), sv = std::cos(b.angle);
    PushOut(&b, clear, b.w + b.h, [&](double t) {
      b.cx = (clear + t) * sx;
      b.cv = (clear + t) * sv;
    });
    b.cx = b.w >= hi - lo ? (lo + hi) / 2 : std::clamp(b.cx, lo + b.w / 2, hi - b.w / 2);
    away[i] = sv >= 0 ? 1 : -1;
    const double from = b.cv;
    PushOut(&b, clear, clear + b.h, [&](double t) { b.cv = from + away[i] * t; });
  }
  std::vector<std::size_t> order(labels->size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return std::fabs(std::cos((*labels)[a].angle)) < std::fabs(std::cos((*labels)[b].angle));
  });
  const double space = 2 * gap;
  // A block moved past another meets it no more, whatever the rounding.
  const double slack = 1e-6 * std::max(1.0, space);
  for (std::size_t k = 0; k < order.size(); ++k) {
    PieLabel& b = (*labels)[order[k]];
    // Each pass that moves the block leaves one more block behind it.
    for (std::size_t pass = 0, moved = 1; moved && pass <= k; ++pass) {
      moved = 0;
      for (std::size_t j = 0; j < k; ++j) {
        const PieLabel& o = (*labels)[order[j]];
        const bool across = b.Left() < o.Right() && o.Left() < b.Right();
        const bool along = b.Bottom() + slack < o.Top() + space && o.Bottom() + slack < b.Top() + space;
        if (!across || !along) continue;
        b.cv = away[order[k]] > 0 ? o.Top() + space + b.h / 2 : o.Bottom() - space - b.h / 2;
        moved = 1;
      }
    }
  }
}

}  // namespace

void CWpOilTest::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!visible_) return;
  CWpInWell::Draw(dc, view, clip, done);
  DrawTitle(dc, view, clip, done);
  CWpWell* well = GetWell();
  for (const auto& seg : segs_) {
    // Only tests wholly within the chart's depth range are drawn.
    if (well && (static_cast<float>(seg->top_depth) < well->GetTopDepth() ||
                 static_cast<float>(seg->bottom_depth) > well->GetBottomDepth()))
      continue;
    seg->left = map_nodes_[0].x;
    seg->right = map_nodes_[1].x;
    DrawSegment(dc, *seg);
  }
  border_flags_[3] = border_flags_[4] = 0;
  DrawBorder(dc, view, clip, done);
}

void CWpOilTest::DrawSegment(CDC* dc, const CgOilTestSegment& s) {
  const CCoordTranslator& tr = GetTranslator();
  const CLineTool& line = AfxGetLineTool();
  // The table and the bar keep clear of the pies' lane at the right.
  const double right = s.right - PieLane();
  const double width = right - s.left;
  const double table_right = full_width_ ? right : s.left + width * (1 - bar_fraction_);
  const CRect area = tr.MapToDraw(FLOATRECT{s.left, s.top_y, table_right, s.bottom_y});
  // 1. The result fill; the cell texts are drawn in a colour that stands
  // out from it.
  std::optional<COLORREF> fill_color;
  if (fill_mode_ == 0 || fill_mode_ == 1) {
    ZULOGBRUSH brush = fill_brush_;
    bool fill = fill_mode_ == 1;
    if (fill_mode_ == 0) {
      auto* adapter = dynamic_cast<WDMgrAdapter*>(gateway_);
      CWellDataManager* mgr = adapter ? adapter->GetManager() : nullptr;
      std::shared_ptr<CSymbolManager> oil = mgr ? mgr->GetOilSymbolManager() : nullptr;
      const int i = oil ? oil->FindData(s.result) : -1;
      if (i >= 0) {
        brush.color = oil->GetColor(i);
        fill = true;
      }
    }
    if (fill && AfxGetFillTool().Resolve(brush, zoom_, nullptr)) fill_color = brush.color;
    if (fill) AfxGetFillTool().FillRect(dc, area, brush, zoom_);
  }
  // 2. The grid and the interval's edges.
  const int rows = rows_, cols = cols_;
  const double h = (s.top_y - s.bottom_y) / rows;
  for (int i = 1; i < rows; ++i) {
    const double y = s.top_y - i * h;
    line.DrawLine(dc, tr.MapToDraw(FLOATPOINT{s.left, y}), tr.MapToDraw(FLOATPOINT{table_right, y}), grid_pen_, zoom_);
  }
  const double tw = table_right - s.left;
  for (int i = 1; i < cols && i < static_cast<int>(col_fractions_.size()); ++i) {
    const double x = s.left + col_fractions_[static_cast<std::size_t>(i)] * tw;
    line.DrawLine(dc, tr.MapToDraw(FLOATPOINT{x, s.top_y}), tr.MapToDraw(FLOATPOINT{x, s.bottom_y}), grid_pen_, zoom_);
  }
  ZULOGPEN black;
  black.width = 1.0f;
  for (double y : {s.top_y, s.bottom_y})
    line.DrawLine(dc, tr.MapToDraw(FLOATPOINT{s.left, y}), tr.MapToDraw(FLOATPOINT{right, y}), black, zoom_);
  // 3. The cell texts: at least of a readable size where the cell has room,
  // broken into lines to use its height, and shrunk to fit where it has not.
  if (cell_text_) {
    const double inset = 0.3 * cell_font_.height;
    ZULOGFONT font = cell_font_;
    font.height = static_cast<float>(std::max<double>(std::fabs(cell_font_.height), kHeadReadableHeight));
    if (fill_color) font.color = ReadableOn(cell_font_.color, *fill_color);
    for (int r = 0; r < rows; ++r) {
      for (int c = 0; c < cols && c + 1 < static_cast<int>(col_fractions_.size()); ++c) {
        const std::size_t k = static_cast<std::size_t>(c + cols * r);
        if (k >= fields_.size()) continue;
        const std::string& f = fields_[k];
        const std::string v = k < s.values.size() ? s.values[k] : std::string();
        const std::string text = v.empty() ? f : f + ":  " + v + UnitOf(f);
        const double x0 = s.left + col_fractions_[static_cast<std::size_t>(c)] * tw + inset;
        const double x1 = s.left + col_fractions_[static_cast<std::size_t>(c) + 1] * tw - inset;
        const CRect cell = tr.MapToDraw(FLOATRECT{x0, s.top_y - r * h, x1, s.top_y - (r + 1) * h});
        const double pad = inset * zoom_;
        const WrappedText fitted = WrapToFit(dc, text, font, zoom_, std::abs(cell.right - cell.left),
                                             std::abs(cell.bottom - cell.top) - 2 * pad);
        AfxGetTextTool().DrawTextInRect(dc, cell, fitted.text, ScaledFont(font, fitted.factor), zoom_,
                                        cell_align_h_, cell_align_v_);
      }
    }
  }
  // 4. The composition bar.
  if (!full_width_) DrawBar(dc, s, tr.MapToDraw(FLOATRECT{table_right, s.top_y, right, s.bottom_y}));
  // 5. The leader and the pie.
  if (pie_visible_) DrawPie(dc, s);
}

void CWpOilTest::DrawBar(CDC* dc, const CgOilTestSegment& s, const CRect& bar) {
  const double oil = bar_cumulative_ ? s.oil_total : s.oil;
  const double gas = bar_cumulative_ ? s.gas_total : s.gas;
  const double water = bar_cumulative_ ? s.water_total : s.water;
  const double total = oil + gas + water;
  if (!(total > 0)) return;
  const struct {
    double value;
    const ZULOGBRUSH* brush;
    const char* unit;
  } bands[] = {{oil, &oil_brush_, " 吨"}, {gas, &gas_brush_, " 千方"}, {water, &water_brush_, " 吨"}};
  // Draw Y grows downwards on the page whatever the sign: walk from the top edge.
  const double height = bar.bottom - bar.top;
  double at = bar.top;
  ZULOGPEN black;
  black.width = 1.0f;
  for (const auto& b : bands) {
    const double next = at + height * b.value / total;
    const CRect r{bar.left, static_cast<int>(std::lround(at)), bar.right, static_cast<int>(std::lround(next))};
    if (b.value > 0) {
      AfxGetFillTool().FillRect(dc, r, *b.brush, zoom_);
      // A band lower than its text goes without it; the text stands out
      // from the band's colour.
      if (band_text_) {
        const std::string text = Fixed(b.value, band_precision_) + Gbk(b.unit);
        ZULOGFONT font = band_font_;
        if (AfxGetFillTool().Resolve(*b.brush, zoom_, nullptr)) font.color = ReadableOn(font.color, b.brush->color);
        if (std::abs(r.bottom - r.top) >= AfxGetTextTool().MeasureText(dc, text, font, zoom_).height)
          AfxGetTextTool().DrawTextInRect(dc, r, text, font, zoom_, band_align_h_, band_align_v_);
      }
    }
    if (band_lines_) AfxGetLineTool().DrawLine(dc, {bar.left, r.bottom}, {bar.right, r.bottom}, band_pen_, zoom_);
    at = next;
  }
  AfxGetLineTool().DrawLine(dc, {bar.left, bar.bottom}, {bar.right, bar.bottom}, black, zoom_);
  AfxGetLineTool().DrawLine(dc, {bar.left, bar.top}, {bar.left, bar.bottom}, black, zoom_);
}

CPoint CWpOilTest::PieCentre(const CgOilTestSegment& s) const {
  const double mid = (s.top_y + s.bottom_y) / 2;
  // An unset offset (kFltMax) or one no chart could hold puts the pie at
  // its first place, in the lane.
  const auto usable = [](double v) { return std::isfinite(v) && std::fabs(v) < 1e7; };
  const bool set = usable(s.pie_dx) && usable(s.pie_dy);
  return GetTranslator().MapToDraw(
      FLOATPOINT{s.right + (set ? s.pie_dx : -pie_radius_ * 1.2), mid + (set ? s.pie_dy : 0.0)});
}

void CWpOilTest::DrawPie(CDC* dc, const CgOilTestSegment& s) {
  const CCoordTranslator& tr = GetTranslator();
  const double mid = (s.top_y + s.bottom_y) / 2;
  const CPoint anchor = tr.MapToDraw(FLOATPOINT{s.right - PieLane(), mid});
  const CPoint p = PieCentre(s);
  if (leader_visible_ && (anchor.x != p.x || anchor.y != p.y))
    AfxGetLineTool().DrawLine(dc, anchor, p, leader_pen_, zoom_);
  const double oil = cumulative_ ? s.oil_total : s.oil;
  const double gas = cumulative_ ? s.gas_total : s.gas;
  const double water = cumulative_ ? s.water_total : s.water;
  const double total = oil + gas + water;
  double scale = 1;
  const double largest = cumulative_ ? largest_total_ : largest_daily_;
  if (proportional_ && largest > 0) scale = total / largest;
  const long r = std::lround(zoom_ * pie_radius_ * scale);
  // Draw Y grows upwards or downwards by the device: +1 when upwards.
  const int up = tr.MapToDraw(FLOATPOINT{0, 1}).y > tr.MapToDraw(FLOATPOINT{0, 0}).y ? 1 : -1;
  // The circle as a polygon of one point per degree.
  const auto around = [&](double from, double to) {
    std::vector<CPoint> pts{p};
    const int steps = std::max(2, static_cast<int>(std::ceil((to - from) / (2 * std::numbers::pi) * 360)));
    for (int i = 0; i <= steps; ++i) {
      const double a = from + (to - from) * i / steps;  // clockwise from the top
      pts.push_back({static_cast<int>(p.x + std::lround(r * std::sin(a))),
                     static_cast<int>(p.y + up * std::lround(r * std::cos(a)))});
    }
    return pts;
  };
  if (r > 0 && total > 0) {
    const double values[3] = {oil, gas, water};
    const char* units[3] = {"吨", "千方", "吨"};
    double start = 0;
    std::vector<PieLabel> labels;
    for (int k = 0; k < 3; ++k) {
      const double sweep = 2 * std::numbers::pi * values[k] / total;
      if (values[k] > 0) {
        ZULOGBRUSH brush;
        brush.style = kBrushDefaultSolid;
        brush.color = pie_colors_[k];
        AfxGetFillTool().FillPolygon(dc, around(start, start + sweep), brush, zoom_);
        PieLabel label;
        label.angle = start + sweep / 2;
        if (pie_values_) label.lines.push_back(Fixed(values[k], pie_precision_) + Gbk(units[k]));
        if (pie_shares_) label.lines.push_back(Fixed(values[k] / total, pie_precision_));
        for (const std::string& text : label.lines) {
          const TextSize size = AfxGetTextTool().MeasureText(dc, text, pie_font_, zoom_);
          label.w = std::max(label.w, size.width);
          // A little leading keeps the lines of a block apart.
          label.line = std::max(label.line, 1.15 * size.height);
        }
        label.h = label.line * static_cast<double>(label.lines.size());
        if (!label.lines.empty()) labels.push_back(std::move(label));
      }
      start += sweep;
    }
    // Each sector's label stands outside the pie on the sector's middle
    // angle, inside the column (and the pies' lane when it fits there),
    // moved up or down where it would meet the pie or another label.
    const double left = std::min(tr.MapToDraw(map_nodes_[0]).x, tr.MapToDraw(map_nodes_[1]).x);
    const double right = std::max(tr.MapToDraw(map_nodes_[0]).x, tr.MapToDraw(map_nodes_[1]).x);
    const double lane = std::fabs(PieLane() * zoom_);
    double widest = 0, line = 0;
    for (const PieLabel& l : labels) {
      widest = std::max(widest, l.w);
      line = std::max(line, l.line);
    }
    double lo = lane > 0 && widest <= lane && p.x >= right - lane ? right - lane : left, hi = right;
    if (p.x < left || p.x > right) {
      // A pie dragged out of the column keeps its labels by it.
      lo = -std::numeric_limits<double>::infinity();
      hi = std::numeric_limits<double>::infinity();
    }
    // Labels keep a quarter line from the pie and from one another, and
    // half a line from the column's sides, whose lines are heavier.
    const double gap = 0.25 * line, side = 0.5 * line;
    PlacePieLabels(&labels, static_cast<double>(r), gap, lo + side - p.x, hi - side - p.x);
    for (const PieLabel& l : labels) {
      for (std::size_t i = 0; i < l.lines.size(); ++i) {
        const double v = l.cv + l.h / 2 - (static_cast<double>(i) + 0.5) * l.line;
        const CPoint at{static_cast<int>(std::lround(p.x + l.cx)), static_cast<int>(std::lround(p.y + up * v))};
        AfxGetTextTool().DrawText(dc, at, l.lines[i], pie_font_, zoom_, 0, kAlignCenter, kAlignMiddle);
      }
    }
  }
  // The outline: before the sectors when asked for, and once more over them.
  const auto outline = [&] {
    if (r <= 0) return;
    std::vector<CPoint> circle = around(0, 2 * std::numbers::pi);
    circle.erase(circle.begin());
    for (std::size_t i = 0; i + 1 < circle.size(); ++i)
      AfxGetLineTool().DrawLine(dc, circle[i], circle[i + 1], outline_pen_, zoom_);
  };
  if (outline_visible_ || total > 0) outline();
  if (label_block_) DrawLabelBlock(dc, s, p);
  if (s.pie_selected) {
    const int half = static_cast<int>(std::lround(zoom_ * pie_radius_));
    ZULOGPEN mark;
    mark.style = 997;
    const CPoint corners[] = {{p.x - half, p.y - half}, {p.x + half, p.y - half}, {p.x + half, p.y + half},
                              {p.x - half, p.y + half}};
    for (int i = 0; i < 4; ++i) AfxGetLineTool().DrawLine(dc, corners[i], corners[(i + 1) % 4], mark, zoom_);
  }
}

void CWpOilTest::DrawLabelBlock(CDC* dc, const CgOilTestSegment& s, CPoint centre) {
  // Field texts above and below a label line right of the pie; each shows
  // its value from the well's own test data where the test has one.
  const int x0 = centre.x + static_cast<int>(std::lround(zoom_ * pie_radius_));
  CDIOilTest* io = gateway_ ? gateway_->GetTestOil(TESTOIL_WELL, std::string()) : nullptr;
  const auto text_of = [&](const std::string& field) {
    CZuVariant v;
    if (io && s.index >= 0 && io->GetValue(s.index, field, &v) && !v.IsNull()) {
      const std::string value = v.ToString();
      if (!value.empty()) return field + ":" + value + UnitOf(field);
    }
    return field;
  };
  const CTextTool& tool = AfxGetTextTool();
  const int up = GetTranslator().MapToDraw(FLOATPOINT{0, 1}).y > GetTranslator().MapToDraw(FLOATPOINT{0, 0}).y ? 1 : -1;
  double w = 0;
  const auto draw_list = [&](const std::vector<std::string>& fields, bool above) {
    double y = centre.y;
    std::vector<std::size_t> order(fields.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = above ? fields.size() - 1 - i : i;
    for (std::size_t i : order) {
      const std::string text = text_of(fields[i]);
      const TextSize size = tool.MeasureText(dc, text, label_font_, zoom_);
      w = std::max(w, size.width);
      // Each text sits on its own line: above the label line going up,
      // below it going down.
      y += (above ? up : -up) * size.height;
      const double baseline = above ? y - (up * size.height) / 2 : y + (up * size.height) / 2;
      tool.DrawText(dc, {static_cast<int>(std::lround(x0 + w * 0.125)), static_cast<int>(std::lround(baseline))}, text,
                    label_font_, zoom_, 0, kAlignLeft, kAlignMiddle);
    }
  };
  draw_list(upper_fields_, true);
  draw_list(lower_fields_, false);
  if (upper_fields_.empty() && lower_fields_.empty()) return;
  AfxGetLineTool().DrawLine(dc, {x0, centre.y}, {static_cast<int>(std::lround(x0 + w * 1.25)), centre.y}, label_pen_,
                            zoom_);
}

}  // namespace davodu
