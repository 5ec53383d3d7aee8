#include "davodu/host/graphics/render.h"

#include <cmath>

#include "davodu/host/graphics/cairo_dc.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/objects/zu_object.h"

namespace davodu {

namespace {

constexpr double kMapUnitsPerInch = 2540;  // 0.01 mm a unit
constexpr double kPointsPerInch = 72;

void LayOut(CZuMap* map) {
  for (int i = 0; i < map->GetLayerCount(); ++i)
    for (CZuObject* obj : map->GetLayer(i)->GetObjectList()) obj->BuildControlNodePointArray();
}

}  // namespace

bool RenderDocument(CZuMapFile* document, const std::string& path, const RenderOptions& options,
                    std::string* error) {
  ImageFormat format;
  if (!ImageFormatFromPath(path, &format)) {
    *error = path + ": unknown image type (use .png, .svg or .pdf)";
    return false;
  }
  if (!(options.dpi > 0) || !std::isfinite(options.dpi)) {
    *error = "impossible resolution " + std::to_string(options.dpi) + " dpi";
    return false;
  }
  CZuMap* map = document ? document->GetActiveMap() : nullptr;
  if (!map) {
    *error = path + ": the document has no map to draw";
    return false;
  }
  // Draw units are map units (zoom 1); the device scales them to pixels or
  // points. The map origin stays at 0 so that draw and map coordinates agree.
  map->SetOrigin(FLOATPOINT{0, 0});
  map->SetZoomFactor(1);
  LayOut(map);
  FLOATRECT r = map->GetMapRect();
  if (r.right <= r.left || r.top <= r.bottom) {
    *error = path + ": the document is empty";
    return false;
  }
  const CCoordTranslator& tr = map->GetTranslator();
  CRect page = tr.MapToDraw(FLOATRECT{r.left - options.margin, r.top + options.margin,
                                      r.right + options.margin, r.bottom - options.margin});
  const double scale =
      (format == ImageFormat::kPng ? options.dpi : kPointsPerInch) / kMapUnitsPerInch;
  std::unique_ptr<CairoDC> dc = CairoDC::Create(format, path, page, scale, error);
  if (!dc) return false;
  for (int i = 0; i < map->GetLayerCount(); ++i)
    for (CZuObject* obj : map->GetLayer(i)->GetObjectList()) obj->Draw(dc.get(), nullptr, nullptr, nullptr);
  return dc->Finish(error);
}

}  // namespace davodu
