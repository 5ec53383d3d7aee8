// CDC: the drawing surface every kit draws into.
//
// Coordinates are draw coordinates (integer logical units, Y growing
// upwards). A device receives already resolved pens, brushes and fonts: the
// graphics tools (graph_tool.h) turn the host style records into these.
//
// Two back ends implement CDC: RecordingDC (recording_dc.h), which keeps
// every primitive for tests to inspect, and CairoDC (cairo_dc.h), which
// writes PNG, SVG and PDF files.
#ifndef DAVODU_HOST_GRAPHICS_DC_H_
#define DAVODU_HOST_GRAPHICS_DC_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "davodu/host/graphics/styles.h"
#include "davodu/host/util/types.h"

namespace davodu {

// A pen resolved to device terms.
struct DevicePen {
  COLORREF color = 0;
  double width = 0;             // draw units; 0 is the thinnest visible line
  std::vector<double> dashes;   // on/off lengths in draw units; empty: solid
  std::int32_t rop = kRopCopy;  // kRopNotXor: a second drawing removes it
  std::int32_t style = kPenSolid;  // the line-style code the pen came from

  friend bool operator==(const DevicePen&, const DevicePen&) = default;
};

// A brush resolved to device terms.
struct DeviceBrush {
  // kPattern: the tile of the library pattern `style` (pattern_library.h),
  // drawn in `color` over what lies beneath, repeated from the draw origin.
  enum Kind { kSolid, kHatch, kPattern };
  Kind kind = kSolid;
  COLORREF color = 0;
  int hatch = 0;     // for kHatch: a BrushStyleCode from kBrushHatchHorizontal on
  double hatch_spacing = 8;  // draw units between hatch lines
  double pattern_scale = 0;  // for kPattern: draw units per millimetre of the tile
  std::int32_t rop = kRopCopy;
  std::int32_t style = kBrushSolid;  // the style code the brush came from

  friend bool operator==(const DeviceBrush&, const DeviceBrush&) = default;
};

// A font resolved to device terms.
struct DeviceFont {
  std::string face;      // GBK face name as stored
  double height = 10;    // draw units
  int weight = 400;
  bool italic = false;
  bool underline = false;
  COLORREF color = 0;

  friend bool operator==(const DeviceFont&, const DeviceFont&) = default;
};

// Text alignment codes of the text tool: horizontal 0 left, 1 centre,
// 2 right; vertical 0 top, 1 centre, 2 bottom (relative to the anchor).
// A text is aligned on its box: its advance width across and its font
// height up and down (the em square, which holds the glyphs of the CJK and
// Latin faces), so the box MeasureText reports is exactly where it lands.
enum TextAlignH { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };
enum TextAlignV { kAlignTop = 0, kAlignMiddle = 1, kAlignBottom = 2 };

// A decoded picture ready for a device: premultiplied ARGB pixels (one
// native-endian 32-bit word a pixel, rows top down, no padding) and, when the
// picture came from a JPEG that is shown as stored, the file's bytes, which
// vector devices embed unchanged instead of encoding the pixels again.
// Images are shared and never change once made; a device may keep one for
// as long as it is open.
struct DeviceImage {
  int width = 0;   // pixels
  int height = 0;  // pixels
  std::vector<std::uint32_t> pixels;  // width * height words
  std::string jpeg;                   // the JPEG file, or empty
};

struct TextSize {
  double width = 0;   // draw units
  double height = 0;  // draw units
};

// A run of script text: text on the baseline, raised as a superscript or
// lowered as a subscript (stratum codes such as Es with a subscript 3).
struct TextRun {
  enum Place { kSubscript = -1, kBaseline = 0, kSuperscript = 1 };
  std::string text;  // GBK
  int place = kBaseline;

  friend bool operator==(const TextRun&, const TextRun&) = default;
};

class CDC {
 public:
  virtual ~CDC() = default;

  // True for a device behind an interactive view. Marks drawn with the
  // not-xor raster mode (selection frames, highlights, drag shadows) belong
  // to such views only; the graphics tools skip them on other devices.
  virtual bool IsInteractive() const = 0;

  // An open polyline through n points.
  virtual void Polyline(const CPoint* points, std::size_t n, const DevicePen& pen) = 0;
  // A closed polygon, filled with brush when given, outlined with pen when given.
  virtual void Polygon(const CPoint* points, std::size_t n, const DevicePen* pen,
                       const DeviceBrush* brush) = 0;
  // An ellipse inscribed in rect, filled and/or outlined.
  virtual void Ellipse(const CRect& rect, const DevicePen* pen, const DeviceBrush* brush) = 0;
  // Text (GBK) anchored at a point, rotated counter-clockwise by angle
  // radians about the anchor, aligned by the codes above.
  virtual void Text(CPoint at, const std::string& gbk_text, const DeviceFont& font,
                    double angle, int align_h, int align_v) = 0;
  // Box of one line of text in draw units: its advance width, and the font
  // height as its height.
  virtual TextSize MeasureText(const std::string& gbk_text, const DeviceFont& font) = 0;
  // Runs of script text drawn as one line, anchored, rotated and aligned as
  // Text does. The base draws the runs' texts one after another as plain
  // text; devices that can set scripts override it.
  virtual void ScriptText(CPoint at, const std::vector<TextRun>& runs, const DeviceFont& font,
                          double angle, int align_h, int align_v);
  // A picture stretched over a rectangle (its top edge is the picture's
  // first row). Null or empty images draw nothing.
  virtual void Image(const CRect& rect, const std::shared_ptr<const DeviceImage>& image) = 0;

  // Clipping. SaveDC pushes the clip state and returns its level;
  // RestoreDC(level) pops back to it (-1: the last saved state).
  // SetClip* intersect the present clip with a rectangle or polygon.
  virtual int SaveDC() = 0;
  virtual void RestoreDC(int level) = 0;
  virtual void SetClipRect(const CRect& rect) = 0;
  virtual void SetClipPolygon(const CPoint* points, std::size_t n) = 0;
};

inline void CDC::ScriptText(CPoint at, const std::vector<TextRun>& runs, const DeviceFont& font,
                            double angle, int align_h, int align_v) {
  std::string text;
  for (const TextRun& run : runs) text += run.text;
  Text(at, text, font, angle, align_h, align_v);
}

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_DC_H_
