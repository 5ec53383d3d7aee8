// The glyphs of the symbol columns and the point tool's stretching of a
// symbol to a rectangle.
//
// A glyph is a drawing in a unit square that is stretched, not scaled, to
// the rectangle it is drawn in: a cycle's triangle spans the whole depth
// interval and the column's width however tall the interval is. Codes:
//   1301-1303  cycles: 正旋回 (fining upwards: a triangle, its base at the
//              bottom, its apex at the top), 反旋回 (the triangle upside
//              down), 复合旋回 (a diamond: coarsening then fining)
//   1311-1316  bedding textures: 水平层理, 平行层理, 波状层理, 交错层理,
//              块状层理, 透镜状层理
//   1321-1324  perforation flags: 射孔, 补孔, 堵孔, 压裂 (a staff along the
//              interval with its flag at the top)
// The codes lie above the generic point styles (0-8) and apart from the
// fill patterns (pattern_library.h), so a catalogue entry cannot be taken
// for a circle or a lithology.
#ifndef DAVODU_HOST_GRAPHICS_SYMBOL_GLYPHS_H_
#define DAVODU_HOST_GRAPHICS_SYMBOL_GLYPHS_H_

#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/styles.h"
#include "davodu/host/util/types.h"

namespace davodu {

constexpr int kGlyphCycleBase = 1300;
constexpr int kGlyphBeddingBase = 1310;
constexpr int kGlyphShootBase = 1320;

// Whether a style code names a glyph.
bool IsSymbolGlyph(int code);

// Draws a point symbol stretched to a rectangle (draw units) at a layer's
// zoom: a glyph spans the rectangle; a fill pattern fills it at the
// point's size; any other point style is drawn once, as large as the
// rectangle's smaller side allows, in its middle. Glyph lines are 0.2 mm
// wide at zoom 1. Nothing is drawn for an empty rectangle.
void DrawToFitRect(CDC* dc, const CRect& rect, const ZULOGPOINT& point, double zoom);

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_SYMBOL_GLYPHS_H_
