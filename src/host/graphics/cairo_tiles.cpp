#include "davodu/host/graphics/detail/cairo_tiles.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace davodu {

namespace {

// Recorded units per device unit of a vector tile.
constexpr double kVectorUnits = 16;
// The largest tile recorded, in its units.
constexpr double kMaxTileUnits = 1 << 20;

struct Box {
  double x0, y0, x1, y1;
};

Box BoxOf(const TileShape& s, double half_line) {
  if (s.kind == TileShape::kCircle || s.kind == TileShape::kDisc) {
    const double r = s.r + (s.kind == TileShape::kCircle ? half_line : 0);
    return {s.cx - r, s.cy - r, s.cx + r, s.cy + r};
  }
  Box b{std::numeric_limits<double>::max(), std::numeric_limits<double>::max(),
        std::numeric_limits<double>::lowest(), std::numeric_limits<double>::lowest()};
  for (std::size_t i = 0; i + 1 < s.xy.size(); i += 2) {
    b.x0 = std::min(b.x0, s.xy[i]);
    b.x1 = std::max(b.x1, s.xy[i]);
    b.y0 = std::min(b.y0, s.xy[i + 1]);
    b.y1 = std::max(b.y1, s.xy[i + 1]);
  }
  const double grow = s.kind == TileShape::kPolyline ? half_line : 0;
  return {b.x0 - grow, b.y0 - grow, b.x1 + grow, b.y1 + grow};
}

void AddShape(cairo_t* cr, const TileShape& s, double dx, double dy) {
  cairo_new_path(cr);
  switch (s.kind) {
    case TileShape::kCircle:
    case TileShape::kDisc:
      cairo_arc(cr, s.cx + dx, s.cy + dy, s.r, 0, 2 * M_PI);
      cairo_close_path(cr);
      if (s.kind == TileShape::kDisc)
        cairo_fill(cr);
      else
        cairo_stroke(cr);
      return;
    case TileShape::kPolyline:
    case TileShape::kPolygon:
      for (std::size_t i = 0; i + 1 < s.xy.size(); i += 2) {
        if (i == 0)
          cairo_move_to(cr, s.xy[i] + dx, s.xy[i + 1] + dy);
        else
          cairo_line_to(cr, s.xy[i] + dx, s.xy[i + 1] + dy);
      }
      if (s.kind == TileShape::kPolygon) {
        cairo_close_path(cr);
        cairo_fill(cr);
      } else {
        cairo_stroke(cr);
      }
      return;
  }
}

}  // namespace

cairo_pattern_t* CairoTileCache::Source(const PatternTile& tile, COLORREF color, double per_mm,
                                        double ox, double oy) {
  if (!std::isfinite(per_mm) || per_mm <= 0 || tile.shapes.empty()) return nullptr;
  const double q = raster_ ? 1 : kVectorUnits;
  const double ew = std::round(tile.width * per_mm * q), eh = std::round(tile.height * per_mm * q);
  // A tile under two device units shows nothing of its motif.
  if (!(ew >= 2 * q && eh >= 2 * q) || ew > kMaxTileUnits || eh > kMaxTileUnits) return nullptr;
  const double line_units = std::max(tile.line_width * per_mm, hairline_) * q;
  const Key key{tile.code, color, static_cast<int>(ew), static_cast<int>(eh),
                std::llround(line_units * 1000)};

  cairo_pattern_t* source = nullptr;
  if (const auto it = tiles_.find(key); it != tiles_.end()) {
    source = it->second;
  } else {
    const cairo_rectangle_t extents{0, 0, ew, eh};
    cairo_surface_t* surface = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &extents);
    cairo_t* cr = cairo_create(surface);
    // Millimetres of the tile to its recorded units; a raster tile is
    // stretched by at most half a pixel to a whole number of pixels.
    const double sx = ew / tile.width, sy = eh / tile.height;
    cairo_scale(cr, sx, sy);
    cairo_set_source_rgb(cr, GetRValue(color) / 255.0, GetGValue(color) / 255.0,
                         GetBValue(color) / 255.0);
    const double line_mm = line_units / ((sx + sy) / 2);
    cairo_set_line_width(cr, line_mm);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    for (const TileShape& shape : tile.shapes) {
      const Box b = BoxOf(shape, line_mm / 2);
      // The shape, and its copies one tile away wherever they reach into
      // the tile: what leaves over one edge comes back over the other.
      for (double dx : {-tile.width, 0.0, tile.width}) {
        for (double dy : {-tile.height, 0.0, tile.height}) {
          if (b.x1 + dx <= 0 || b.x0 + dx >= tile.width || b.y1 + dy <= 0 || b.y0 + dy >= tile.height)
            continue;
          AddShape(cr, shape, dx, dy);
        }
      }
    }
    cairo_destroy(cr);
    source = cairo_pattern_create_for_surface(surface);
    cairo_surface_destroy(surface);
    if (cairo_pattern_status(source) != CAIRO_STATUS_SUCCESS) {
      cairo_pattern_destroy(source);
      return nullptr;
    }
    cairo_pattern_set_extend(source, CAIRO_EXTEND_REPEAT);
    if (raster_) cairo_pattern_set_filter(source, CAIRO_FILTER_NEAREST);
    tiles_.emplace(key, source);
  }
  // Device space to the tile's units, tiles laid from the origin (on the
  // pixel grid in a raster image).
  if (raster_) {
    ox = std::round(ox);
    oy = std::round(oy);
  }
  cairo_matrix_t m;
  cairo_matrix_init_scale(&m, q, q);
  cairo_matrix_translate(&m, -ox, -oy);
  cairo_pattern_set_matrix(source, &m);
  return source;
}

void CairoTileCache::Clear() {
  for (auto& [key, source] : tiles_) cairo_pattern_destroy(source);
  tiles_.clear();
}

}  // namespace davodu
