#include "support/png.h"

#include <cairo/cairo.h>

#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "davodu/host/graphics/cairo_dc.h"

namespace davodu::testing {

Image ReadPng(const std::string& path) {
  Image image;
  cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(s);
    image.width = cairo_image_surface_get_width(s);
    image.height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    for (int y = 0; y < image.height; ++y) {
      const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
      for (int x = 0; x < image.width; ++x) {
        const std::uint32_t p = row[x];  // 0xAARRGGBB
        image.pixels.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
      }
    }
  }
  cairo_surface_destroy(s);
  return image;
}

Canvas DrawToPng(const std::string& path, const CRect& page, double scale,
                 const std::function<void(CDC*)>& draw) {
  Canvas canvas;
  canvas.page = page.Normalized();
  canvas.scale = scale;
  std::string error;
  auto dc = CairoDC::Create(ImageFormat::kPng, path, canvas.page, scale, &error);
  if (!dc) return canvas;
  draw(dc.get());
  if (dc->Finish(&error)) canvas.image = ReadPng(path);
  return canvas;
}

std::string CheckRow(const Canvas& canvas, double y, const std::vector<double>& avoid, int margin,
                     const std::function<COLORREF(double)>& expected) {
  const int py = canvas.PixelY(y);
  if (py < 0 || py >= canvas.image.height) return "row " + std::to_string(py) + " is off the image";
  for (int px = 0; px < canvas.image.width; ++px) {
    const double x = canvas.page.left + (px + 0.5) / canvas.scale;
    bool near = false;
    for (double a : avoid) near = near || std::abs(canvas.PixelX(a) - px) <= margin;
    if (near) continue;
    const COLORREF want = expected(x);
    const COLORREF got = canvas.image.At(px, py);
    if (got != want) {
      std::ostringstream out;
      out << "at pixel (" << px << ", " << py << "): " << std::hex << got << " instead of " << want;
      return out.str();
    }
  }
  return "";
}

}  // namespace davodu::testing
