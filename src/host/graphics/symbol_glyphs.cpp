#include "davodu/host/graphics/symbol_glyphs.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/graphics/pattern_library.h"

namespace davodu {

namespace {

// The glyph's unit square on a rectangle: u from left to right, v from the
// top down.
class Frame {
 public:
  explicit Frame(const CRect& rect) : r_(rect.Normalized()) {}
  CPoint At(double u, double v) const {
    return CPoint{static_cast<int>(std::lround(r_.left + u * r_.Width())),
                  static_cast<int>(std::lround(r_.top - v * r_.Height()))};
  }

 private:
  CRect r_;
};

struct Painter {
  CDC* dc;
  Frame frame;
  DevicePen pen;
  DeviceBrush brush;

  void Line(std::initializer_list<std::pair<double, double>> uv) {
    std::vector<CPoint> pts;
    for (const auto& [u, v] : uv) pts.push_back(frame.At(u, v));
    dc->Polyline(pts.data(), pts.size(), pen);
  }
  void Shape(std::initializer_list<std::pair<double, double>> uv, bool filled) {
    std::vector<CPoint> pts;
    for (const auto& [u, v] : uv) pts.push_back(frame.At(u, v));
    dc->Polygon(pts.data(), pts.size(), &pen, filled ? &brush : nullptr);
  }
  void Wave(double v, double amplitude, int periods) {
    std::vector<CPoint> pts;
    constexpr int kSteps = 48;
    for (int i = 0; i <= kSteps; ++i) {
      const double u = static_cast<double>(i) / kSteps;
      pts.push_back(frame.At(u, v + amplitude * std::sin(2 * std::numbers::pi * periods * u)));
    }
    dc->Polyline(pts.data(), pts.size(), pen);
  }
  void Lens(double u0, double u1, double v, double half_height) {
    const CPoint a = frame.At(u0, v - half_height), b = frame.At(u1, v + half_height);
    dc->Ellipse(CRect{a.x, a.y, b.x, b.y}, &pen, nullptr);
  }
};

void DrawCycle(Painter& p, int which) {
  switch (which) {
    case 1:  // fining upwards: coarse (wide) at the bottom
      p.Shape({{0.5, 0}, {1, 1}, {0, 1}}, false);
      break;
    case 2:  // coarsening upwards
      p.Shape({{0, 0}, {1, 0}, {0.5, 1}}, false);
      break;
    default:  // coarsening, then fining
      p.Shape({{0.5, 0}, {1, 0.5}, {0.5, 1}, {0, 0.5}}, false);
      break;
  }
}

void DrawBedding(Painter& p, int which) {
  switch (which) {
    case 1:  // horizontal
      for (double v : {0.2, 0.4, 0.6, 0.8}) p.Line({{0.05, v}, {0.95, v}});
      break;
    case 2:  // parallel: broken lines
      for (double v : {0.25, 0.5, 0.75}) {
        p.Line({{0.05, v}, {0.45, v}});
        p.Line({{0.55, v}, {0.95, v}});
      }
      break;
    case 3:  // wavy
      for (double v : {0.25, 0.5, 0.75}) p.Wave(v, 0.06, 2);
      break;
    case 4:  // cross: inclined foresets between two bounding surfaces
      p.Line({{0.02, 0.1}, {0.98, 0.1}});
      p.Line({{0.02, 0.9}, {0.98, 0.9}});
      for (double u : {0.05, 0.3, 0.55}) p.Line({{u, 0.1}, {u + 0.4, 0.9}});
      break;
    case 5:  // massive: the bed's bounds only
      p.Line({{0.05, 0.1}, {0.95, 0.1}});
      p.Line({{0.05, 0.9}, {0.95, 0.9}});
      break;
    default:  // lenticular
      p.Line({{0.02, 0.5}, {0.98, 0.5}});
      p.Lens(0.08, 0.42, 0.3, 0.09);
      p.Lens(0.58, 0.92, 0.3, 0.09);
      p.Lens(0.3, 0.7, 0.72, 0.09);
      break;
  }
}

void DrawShootFlag(Painter& p, int which) {
  p.Line({{0.2, 0}, {0.2, 1}});
  switch (which) {
    case 1:  // perforated: a filled pennant
      p.Shape({{0.2, 0}, {0.85, 0.15}, {0.2, 0.3}}, true);
      break;
    case 2:  // added perforation: a square flag
      p.Shape({{0.2, 0}, {0.85, 0}, {0.85, 0.3}, {0.2, 0.3}}, true);
      break;
    case 3:  // plugged: the pennant struck through
      p.Shape({{0.2, 0}, {0.85, 0.15}, {0.2, 0.3}}, false);
      p.Line({{0.2, 0}, {0.85, 0.3}});
      p.Line({{0.2, 0.3}, {0.85, 0}});
      break;
    default:  // fractured: a zigzag flag
      p.Line({{0.2, 0}, {0.45, 0.1}, {0.3, 0.15}, {0.6, 0.2}, {0.45, 0.25}, {0.85, 0.3}});
      break;
  }
}

}  // namespace

bool IsSymbolGlyph(int code) {
  return (code > kGlyphCycleBase && code <= kGlyphCycleBase + 3) ||
         (code > kGlyphBeddingBase && code <= kGlyphBeddingBase + 6) ||
         (code > kGlyphShootBase && code <= kGlyphShootBase + 4);
}

void DrawToFitRect(CDC* dc, const CRect& rect, const ZULOGPOINT& point, double zoom) {
  if (!dc || rect.Normalized().Width() <= 0 || rect.Normalized().Height() <= 0) return;
  if (!IsSymbolGlyph(point.style)) {
    // A fill pattern fills the rectangle; a plain point symbol sits in it.
    AfxGetPointTool().FillRect(dc, rect, point, zoom);
    return;
  }
  Painter p{dc, Frame(rect), {}, {}};
  p.pen.color = point.color;
  p.pen.width = std::max(1.0, 20 * (std::isfinite(zoom) ? zoom : 1.0));
  p.brush.color = point.color;
  const int code = point.style;
  if (code > kGlyphShootBase)
    DrawShootFlag(p, code - kGlyphShootBase);
  else if (code > kGlyphBeddingBase)
    DrawBedding(p, code - kGlyphBeddingBase);
  else
    DrawCycle(p, code - kGlyphCycleBase);
}

}  // namespace davodu
