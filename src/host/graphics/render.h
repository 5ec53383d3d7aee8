// Rendering a document to a file: every object of every layer of the active
// map, at its true paper size (one map unit is 0.01 mm).
#ifndef DAVODU_HOST_GRAPHICS_RENDER_H_
#define DAVODU_HOST_GRAPHICS_RENDER_H_

#include <string>

#include "davodu/host/util/types.h"

namespace davodu {

class CZuMapFile;

struct RenderOptions {
  double dpi = 150;      // raster resolution of PNG output; vector output is exact
  double margin = 500;   // map units of white paper around the drawing (5 mm)
};

// Lays out the objects of the active map (BuildControlNodePointArray) and
// draws them into a PNG, SVG or PDF file chosen by the extension of path.
// Returns false with *error set (naming the file or the limit) on failure.
bool RenderDocument(CZuMapFile* document, const std::string& path, const RenderOptions& options,
                    std::string* error);

}  // namespace davodu

#endif  // DAVODU_HOST_GRAPHICS_RENDER_H_
