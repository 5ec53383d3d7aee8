#include "davodu/host/graphics/render.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>

#include "davodu/host/graphics/cairo_dc.h"
#include "davodu/host/graphics/window_dc.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/objects/zu_object.h"

namespace davodu {

namespace {

constexpr double kMapUnitsPerInch = 2540;  // 0.01 mm a unit
constexpr double kPointsPerInch = 72;
// The least body a page must show below the repeated band (1 cm).
constexpr double kMinSlice = 1000;

// Lays the map out at zoom 1 with its origin at 0, so that draw and map
// coordinates agree; false when there is nothing to draw.
bool LayOut(CZuMapFile* document, const std::string& path, FLOATRECT* extent, std::string* error) {
  CZuMap* map = document ? document->GetActiveMap() : nullptr;
  if (!map) {
    *error = path + ": the document has no map to draw";
    return false;
  }
  map->SetOrigin(FLOATPOINT{0, 0});
  map->SetZoomFactor(1);
  // Each object takes the zoom (a kit hands it to its whole tree, which
  // builds its draw nodes again) before it is laid out: a document shown
  // at another zoom must not be drawn with its children's old draw nodes.
  for (int i = 0; i < map->GetLayerCount(); ++i)
    for (CZuObject* obj : map->GetLayer(i)->GetObjectList()) {
      obj->SetZoomFactor(1);
      obj->BuildControlNodePointArray();
    }
  // The page takes what is drawn: a band a kit leaves blank (the lower
  // head of a chart without one) takes no paper.
  const FLOATRECT r = map->GetPaperRect();
  if (!(r.right > r.left) || !(r.top > r.bottom)) {
    *error = path + ": the document is empty";
    return false;
  }
  *extent = r;
  return true;
}

void DrawAll(CZuMapFile* document, CDC* dc, CRect* clip) {
  CZuMap* map = document->GetActiveMap();
  for (int i = 0; i < map->GetLayerCount(); ++i)
    for (CZuObject* obj : map->GetLayer(i)->GetObjectList()) obj->Draw(dc, nullptr, clip, nullptr);
}

int Round(double v) { return static_cast<int>(std::lround(v)); }

double Since(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool CheckOptions(const std::string& path, const RenderOptions& options, ImageFormat* format,
                  std::string* error) {
  if (!ImageFormatFromPath(path, format)) {
    *error = path + ": unknown image type (use .png, .svg or .pdf)";
    return false;
  }
  if (!(options.dpi > 0) || !std::isfinite(options.dpi)) {
    *error = "impossible resolution " + std::to_string(options.dpi) + " dpi";
    return false;
  }
  if (options.pages && *format == ImageFormat::kSvg) {
    *error = path + ": an SVG file has no pages (write PDF, or PNG pages)";
    return false;
  }
  if (options.pages && !(options.page_height > 0 && std::isfinite(options.page_height))) {
    *error = "impossible page height " + std::to_string(options.page_height / 100) + " mm";
    return false;
  }
  return true;
}

double ScaleOf(ImageFormat format, const RenderOptions& options) {
  return (format == ImageFormat::kPng ? options.dpi : kPointsPerInch) / kMapUnitsPerInch;
}

}  // namespace

std::string PagePath(const std::string& path, int number) {
  const std::string n = std::to_string(number);
  if (const std::size_t at = path.find("%d"); at != std::string::npos)
    return path.substr(0, at) + n + path.substr(at + 2);
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return path + "_" + n;
  return path.substr(0, dot) + "_" + n + path.substr(dot);
}

bool PlanPages(CZuMapFile* document, const RenderOptions& options, PagePlan* plan,
               std::string* error) {
  FLOATRECT r;
  if (!LayOut(document, "the chart", &r, error)) return false;
  const double m = options.margin;
  const double left = r.left - m, right = r.right + m, top = r.top + m, bottom = r.bottom - m;
  // The repeated band runs from the top of the paper down to head_bottom.
  const bool has_head = std::isfinite(options.head_bottom) && options.head_bottom < r.top &&
                        options.head_bottom > r.bottom;
  const double body_top = has_head ? options.head_bottom : top;
  const double head_height = top - body_top;
  const double slice = options.page_height - head_height - (has_head ? m : 2 * m);
  if (!(slice >= kMinSlice)) {
    char mm[64];
    std::snprintf(mm, sizeof mm, "%.0f mm", options.page_height / 100);
    *error = "a page of " + std::string(mm) + " leaves no room below the head of the chart (" +
             std::to_string(Round(head_height / 100)) + " mm): give a larger --page-height";
    return false;
  }
  plan->page = CRect{Round(left), Round(top), Round(right), Round(top - options.page_height)};
  plan->head = has_head ? CRect{Round(left), Round(top), Round(right), Round(body_top)} : CRect{};
  plan->slices.clear();
  // Slices meet edge to edge: each starts where the one before ended.
  for (double y = body_top; y > bottom; y -= slice)
    plan->slices.push_back(CRect{Round(left), Round(y), Round(right), Round(std::max(y - slice, bottom))});
  return true;
}

void DrawWindow(CZuMapFile* document, CDC* dc, const CRect& window) {
  WindowDC windowed(dc, window);
  CRect clip = windowed.window();
  DrawAll(document, &windowed, &clip);
}

bool RenderDocument(CZuMapFile* document, const std::string& path, const RenderOptions& options,
                    std::string* error) {
  ImageFormat format;
  if (!CheckOptions(path, options, &format, error)) return false;
  const double scale = ScaleOf(format, options);
  RenderStats stats;
  auto start = std::chrono::steady_clock::now();
  auto done = [&](CairoDC* dc, bool ok) {
    stats.draw = Since(start) - stats.layout - dc->encode_seconds();
    stats.encode = dc->encode_seconds();
    if (options.stats) *options.stats = stats;
    return ok;
  };

  if (!options.pages) {
    FLOATRECT r;
    if (!LayOut(document, path, &r, error)) return false;
    stats.layout = Since(start);
    stats.pages = 1;
    const CRect page = document->GetActiveMap()->GetTranslator().MapToDraw(
        FLOATRECT{r.left - options.margin, r.top + options.margin, r.right + options.margin,
                  r.bottom - options.margin});
    std::unique_ptr<CairoDC> dc = CairoDC::Create(format, path, page, scale, error);
    if (!dc) return false;
    DrawAll(document, dc.get(), nullptr);
    const bool ok = dc->Finish(error);
    return done(dc.get(), ok);
  }

  PagePlan plan;
  if (!PlanPages(document, options, &plan, error)) return false;
  stats.layout = Since(start);
  stats.pages = static_cast<int>(plan.slices.size());
  const bool png = format == ImageFormat::kPng;
  std::unique_ptr<CairoDC> dc =
      CairoDC::Create(format, png ? PagePath(path, 1) : path, plan.page, scale, error);
  if (!dc) return false;
  const int head_height = plan.head.top - plan.head.bottom;
  for (std::size_t k = 0; k < plan.slices.size(); ++k) {
    if (k > 0 && !dc->NextPage(png ? PagePath(path, static_cast<int>(k) + 1) : path, error))
      return done(dc.get(), false);
    if (!plan.head.IsEmpty()) {
      dc->SetOrigin(CPoint{plan.page.left, plan.head.top});
      DrawWindow(document, dc.get(), plan.head);
    }
    // The slice stands right below the band (or at the top of the paper).
    const CRect& s = plan.slices[k];
    dc->SetOrigin(CPoint{plan.page.left, plan.head.IsEmpty() ? s.top : s.top + head_height});
    DrawWindow(document, dc.get(), s);
  }
  const bool ok = dc->Finish(error);
  return done(dc.get(), ok);
}

}  // namespace davodu
