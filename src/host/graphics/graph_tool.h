// Graphics tools: the host's line, fill, text, point and clip tools.
//
// Kits describe their styles with the stored records (ZULOGPEN, ZULOGBRUSH,
// ZULOGFONT, ZULOGPOINT, whose lengths are in map units) and a zoom factor
// (draw units per map unit). The tools resolve them into device pens, brushes
// and fonts and call the device. On a device that is not interactive they
// draw nothing with the not-xor raster mode or a mark line style (992-999):
// selection frames, highlights and drag shadows belong to views.
#ifndef DAVODU_HOST_GRAPHICS_GRAPH_TOOL_H_
#define DAVODU_HOST_GRAPHICS_GRAPH_TOOL_H_

#include <cstddef>
#include <string>
#include <vector>

#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/styles.h"
#include "davodu/host/util/types.h"

namespace davodu {

class CLineTool {
 public:
  // Device pen for a stored pen at a zoom. Line-style codes map to dash
  // patterns scaled by the zoom; mark codes give a dotted pen of their own.
  DevicePen Resolve(const ZULOGPEN& pen, double zoom) const;

  void DrawLine(CDC* dc, CPoint a, CPoint b, const ZULOGPEN& pen, double zoom) const;
  void DrawPolyline(CDC* dc, const CPoint* points, std::size_t n, const ZULOGPEN& pen,
                    double zoom) const;
  void DrawPolyline(CDC* dc, const std::vector<CPoint>& points, const ZULOGPEN& pen,
                    double zoom) const {
    DrawPolyline(dc, points.data(), points.size(), pen, zoom);
  }
  // The outline of a rectangle.
  void DrawRect(CDC* dc, const CRect& rect, const ZULOGPEN& pen, double zoom) const;
};

class CFillTool {
 public:
  // Device brush for a stored brush; false when the brush fills nothing
  // (the hollow style).
  bool Resolve(const ZULOGBRUSH& brush, double zoom, DeviceBrush* out) const;

  void FillRect(CDC* dc, const CRect& rect, const ZULOGBRUSH& brush, double zoom) const;
  void FillPolygon(CDC* dc, const CPoint* points, std::size_t n, const ZULOGBRUSH& brush,
                   double zoom) const;
  void FillPolygon(CDC* dc, const std::vector<CPoint>& points, const ZULOGBRUSH& brush,
                   double zoom) const {
    FillPolygon(dc, points.data(), points.size(), brush, zoom);
  }
  // A segment array filled as one polygon: the segments' points joined in
  // order. Under the even-odd rule, pieces that each run out from and back
  // to one line (a curve closed at a column edge, for instance) make up
  // their union, and the joins along that line enclose nothing.
  void FillSegments(CDC* dc, const std::vector<std::vector<CPoint>>& segments,
                    const ZULOGBRUSH& brush, double zoom) const;
};

class CTextTool {
 public:
  DeviceFont Resolve(const ZULOGFONT& font, double zoom) const;

  // Text at a point, rotated by angle radians counter-clockwise, aligned by
  // the codes of dc.h (horizontal 0 left, 1 centre, 2 right; vertical 0 top,
  // 1 centre, 2 bottom).
  void DrawText(CDC* dc, CPoint at, const std::string& gbk_text, const ZULOGFONT& font,
                double zoom, double angle = 0, int align_h = kAlignLeft,
                int align_v = kAlignTop) const;
  // Multi-line text (lines split at "\n") inside a rectangle, aligned by the
  // codes and clipped to the rectangle.
  void DrawTextInRect(CDC* dc, const CRect& rect, const std::string& gbk_text,
                      const ZULOGFONT& font, double zoom, int align_h = kAlignLeft,
                      int align_v = kAlignTop) const;
  // Extent of one line of text in draw units.
  TextSize MeasureText(CDC* dc, const std::string& gbk_text, const ZULOGFONT& font,
                       double zoom) const;
};

// Script text: a text whose markers set parts of it as subscripts or
// superscripts, the way stratum aliases are written ("Es\\3/上" is Es with
// a subscript 3 and a superscript 上). A backslash starts a subscript, a
// slash a superscript; the marker of the script in force ends it (back to
// the baseline), the other marker switches to the other script. Markers
// are found between GBK characters only: the second byte of a two-byte
// character may equal the backslash.
class CScriptTextTool {
 public:
  // Whether the text holds a marker, and so is drawn as script text.
  static bool IsScriptText(const std::string& gbk_text);
  // The runs of a script text, empty runs left out.
  static std::vector<TextRun> Parse(const std::string& gbk_text);

  // Draws a script text at a point, like CTextTool::DrawText.
  void DrawScriptText(CDC* dc, CPoint at, const std::string& gbk_text, const ZULOGFONT& font,
                      double zoom, double angle = 0, int align_h = kAlignCenter,
                      int align_v = kAlignMiddle) const;
};

class CPointTool {
 public:
  // A symbol centred at a point; its size is the record's size times the zoom.
  void Draw(CDC* dc, CPoint at, const ZULOGPOINT& point, double zoom) const;
  // A symbol fitted into a rectangle.
  void DrawInRect(CDC* dc, const CRect& rect, const ZULOGPOINT& point) const;
  // A rectangle filled with the pattern of the point's style code
  // (pattern_library.h) in its colour, the point's size being the
  // pattern's size (kPatternCellSize is the natural size; a size that is
  // none draws that). A style that names no pattern is drawn once, fitted
  // into the rectangle.
  void FillRect(CDC* dc, const CRect& rect, const ZULOGPOINT& point, double zoom) const;
};

class CClipTool {
 public:
  // Saves the clip state and returns the level to restore with AbortClip.
  int SaveDC(CDC* dc) const { return dc->SaveDC(); }
  void SetClip(CDC* dc, const CRect& rect) const { dc->SetClipRect(rect.Normalized()); }
  void SetClip(CDC* dc, const std::vector<CPoint>& polygon) const {
    dc->SetClipPolygon(polygon.data(), polygon.size());
  }
  // Clips to a segment array taken as one polygon, as the fill tool fills it.
  void SetClip(CDC* dc, const std::vector<std::vector<CPoint>>& segments) const;
  // Ends clipping: restores the state saved at level.
  void AbortClip(CDC* dc, int level) const { dc->RestoreDC(level); }
};

const CLineTool& AfxGetLineTool();
const CFillTool& AfxGetFillTool();
const CTextTool& AfxGetTextTool();
const CScriptTextTool& AfxGetScriptTextTool();
const CPointTool& AfxGetPointTool();
const CClipTool& AfxGetClipTool();

// Side of the square drawn for a control-node handle, in draw units.
int AfxGetNodeRectWidth();

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_GRAPH_TOOL_H_
