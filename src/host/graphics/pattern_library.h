// The pattern library of the graph tools: the fill patterns that brush and
// point style codes from 1001 up name (the entries of the fill-style set;
// 1000, the set's first entry, fills nothing).
//
// Each pattern is a tile drawn procedurally from a few shapes (lines,
// circles, discs, polygons) in millimetres of paper at its natural size,
// repeated across the filled area. Devices draw the tiles as vectors (an SVG
// or PDF pattern) or rasterise them at their own resolution, so a pattern
// stays crisp at any dpi; its size is in paper units, so it looks the same
// at every depth scale.
//
// Code ranges (docs/patterns.md shows every pattern):
//   1001-1099  lithologies: 1000 + the lithology catalogue's pattern number
//   1101-1107  oil-bearing grades: 1100 + the grade catalogue's symbol number
//              (1107, not oil-bearing, draws nothing)
//   1201-1203  perforation symbols
// Codes the library does not know keep the old meaning of a set entry: a
// solid fill in the brush colour.
#ifndef DAVODU_HOST_GRAPHICS_PATTERN_LIBRARY_H_
#define DAVODU_HOST_GRAPHICS_PATTERN_LIBRARY_H_

#include <string>
#include <vector>

namespace davodu {

// The first code of each family; a family's entries follow from base + 1.
constexpr int kLithPatternBase = 1000;
constexpr int kOilPatternBase = 1100;
constexpr int kShootPatternBase = 1200;

// The size a pattern is drawn at when nothing else is said: the side of its
// reference cell in map units (0.01 mm). A brush's or point's size scales
// the pattern by size / kPatternCellSize.
constexpr double kPatternCellSize = 400;

// One shape of a tile, in millimetres, Y growing downwards as on the page.
struct TileShape {
  enum Kind {
    kPolyline,  // points, stroked
    kPolygon,   // points, filled
    kCircle,    // centre and radius, stroked
    kDisc,      // centre and radius, filled
  };
  Kind kind = kPolyline;
  std::vector<double> xy;  // x0, y0, x1, y1, ... (polylines and polygons)
  double cx = 0, cy = 0, r = 0;
};

struct PatternTile {
  int code = 0;
  const char* name = "";     // English
  const char* name_cn = "";  // Chinese, UTF-8
  double width = 4;          // tile size in millimetres at the natural size
  double height = 4;
  double line_width = 0.12;  // of the stroked shapes, in millimetres
  bool solid = false;        // the whole tile is filled (coal, oil-saturated)
  // The shapes of one tile. A shape reaching over an edge of the tile
  // continues over the opposite edge: tiles join seamlessly.
  std::vector<TileShape> shapes;
};

// The pattern of a code; null for codes the library does not know.
const PatternTile* FindPattern(int code);
// Every pattern, by code.
const std::vector<PatternTile>& AllPatterns();

// The style code of a lithology catalogue's pattern number (numbers of 1000
// and more are taken as codes already) and of an oil-bearing grade's symbol
// number (likewise from 1100).
int LithPatternCode(int number);
int OilPatternCode(int number);

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_PATTERN_LIBRARY_H_
