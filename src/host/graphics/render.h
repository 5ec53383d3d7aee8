// Rendering a document to a file: every object of every layer of the active
// map, at its true paper size (one map unit is 0.01 mm), on one page or cut
// into pages.
#ifndef DAVODU_HOST_GRAPHICS_RENDER_H_
#define DAVODU_HOST_GRAPHICS_RENDER_H_

#include <limits>
#include <string>
#include <vector>

#include "davodu/host/util/types.h"

namespace davodu {

class CDC;
class CZuMapFile;

// Where the time of a rendering went, in seconds.
struct RenderStats {
  double layout = 0;  // laying the objects out
  double draw = 0;    // drawing them into the device
  double encode = 0;  // writing the file: PNG encoding, PDF and SVG output
  int pages = 0;
};

struct RenderOptions {
  double dpi = 150;      // raster resolution of PNG output; vector output is exact
  double margin = 500;   // map units of white paper around the drawing (5 mm)

  // Paged output: the drawing cut into pages page_height map units tall,
  // as the pages of one PDF or one PNG file per page (see PagePath). The
  // band above head_bottom (a map Y; NaN: none) is repeated at the top of
  // every page, and below it the drawing runs on from page to page without
  // a gap or an overlap. SVG has no pages.
  bool pages = false;
  double page_height = 29700;  // A4 portrait, 297 mm
  double head_bottom = std::numeric_limits<double>::quiet_NaN();

  RenderStats* stats = nullptr;  // filled in when given
};

// How a drawing is cut into pages, in draw coordinates (map units, Y up).
struct PagePlan {
  CRect page;                 // the drawing's extent across, one page tall
  CRect head;                 // repeated on every page; empty when none
  std::vector<CRect> slices;  // the rest, one a page, top to bottom, edge to edge
};

// The file of page `number` (from 1) of a paged PNG: the first "%d" of
// path replaced by the number, or, without one, "_NUMBER" put before the
// extension.
std::string PagePath(const std::string& path, int number);

// Plans the pages of the active map of a document laid out at zoom 1.
// False with *error set when there is nothing to draw or the repeated band
// leaves no room on a page.
bool PlanPages(CZuMapFile* document, const RenderOptions& options, PagePlan* plan,
               std::string* error);

// Draws the objects of the active map into dc, limited to a window of the
// drawing (WindowDC): what lies outside it is not handed to dc.
void DrawWindow(CZuMapFile* document, CDC* dc, const CRect& window);

// Lays out the objects of the active map (BuildControlNodePointArray) and
// draws them into a PNG, SVG or PDF file chosen by the extension of path.
// Returns false with *error set (naming the file or the limit) on failure.
bool RenderDocument(CZuMapFile* document, const std::string& path, const RenderOptions& options,
                    std::string* error);

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_RENDER_H_
