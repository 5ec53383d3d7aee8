// The tiles of library patterns as Cairo sources, for CairoDC.
//
// A tile is recorded once per pattern, colour and size on a recording
// surface, so an SVG or PDF receives it as a vector pattern and a PNG
// rasterises it at its own resolution. A tile's recorded extent is a whole
// number of its units (Cairo's vector back ends round a pattern's extent
// to whole units): pixels for a raster device, 1/16 of a device unit for a
// vector device. In a raster image the tile is also a whole number of
// pixels placed on the pixel grid, so its lines stay sharp and neighbouring
// tiles join without a seam.
#ifndef DAVODU_HOST_GRAPHICS_DETAIL_CAIRO_TILES_H_
#define DAVODU_HOST_GRAPHICS_DETAIL_CAIRO_TILES_H_

#include <cairo.h>

#include <map>
#include <tuple>

#include "davodu/host/graphics/pattern_library.h"
#include "davodu/host/util/types.h"

namespace davodu {

class CairoTileCache {
 public:
  // raster: the device is an image (pixels); hairline: the thinnest line
  // in device units.
  CairoTileCache(bool raster, double hairline) : raster_(raster), hairline_(hairline) {}
  ~CairoTileCache() { Clear(); }
  CairoTileCache(const CairoTileCache&) = delete;
  CairoTileCache& operator=(const CairoTileCache&) = delete;

  // The repeating source of a tile drawn in color with per_mm device units
  // to the millimetre, its tiles laid from the device point (ox, oy); null
  // when the tile would be smaller than a device unit or Cairo fails. The
  // cache keeps the source.
  cairo_pattern_t* Source(const PatternTile& tile, COLORREF color, double per_mm, double ox,
                          double oy);
  void Clear();

 private:
  using Key = std::tuple<int, COLORREF, int, int, long long>;

  bool raster_;
  double hairline_;
  std::map<Key, cairo_pattern_t*> tiles_;
};

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_DETAIL_CAIRO_TILES_H_
