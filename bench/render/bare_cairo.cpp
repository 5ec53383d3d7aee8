// The bare Cairo program the render benchmark compares `davodu render`
// with: it reads the same curve table, strokes every curve as one polyline
// in its column at the same pixel size and writes the file with Cairo's own
// PNG encoder (or its SVG and PDF surfaces). Nothing else: no layout, no
// text, no grid.
//
//   davodu_bare_cairo CURVES.txt OUT.png|OUT.svg|OUT.pdf WIDTH HEIGHT COLUMNS
//
// CURVES.txt: a header line, then rows of depth and one value per curve.
// WIDTH and HEIGHT are pixels at 100 dpi; the curves share COLUMNS columns
// in order.
#include <cairo-pdf.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: %s CURVES.txt OUT WIDTH HEIGHT COLUMNS\n", argv[0]);
    return 2;
  }
  const std::string out = argv[2];
  const int width = std::atoi(argv[3]), height = std::atoi(argv[4]), columns = std::atoi(argv[5]);
  std::ifstream in(argv[1]);
  std::string line;
  std::getline(in, line);  // names
  std::vector<double> depth;
  std::vector<std::vector<double>> curves;
  while (std::getline(in, line)) {
    std::istringstream row(line);
    double d;
    if (!(row >> d)) continue;
    depth.push_back(d);
    double v;
    for (std::size_t i = 0; row >> v; ++i) {
      if (curves.size() <= i) curves.emplace_back();
      curves[i].push_back(v);
    }
  }
  if (depth.empty() || curves.empty() || width <= 0 || height <= 0 || columns <= 0) return 1;

  const bool png = out.size() > 4 && out.compare(out.size() - 4, 4, ".png") == 0;
  const bool svg = out.size() > 4 && out.compare(out.size() - 4, 4, ".svg") == 0;
  // Vector surfaces in points: the same paper size as the pixels at 100 dpi.
  const double unit = png ? 1.0 : 72.0 / 100.0;
  cairo_surface_t* surface =
      png ? cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height)
      : svg ? cairo_svg_surface_create(out.c_str(), width * unit, height * unit)
            : cairo_pdf_surface_create(out.c_str(), width * unit, height * unit);
  cairo_t* cr = cairo_create(surface);
  cairo_scale(cr, unit, unit);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);

  const double top = depth.front(), bottom = depth.back();
  const double column_width = static_cast<double>(width) / columns;
  const std::size_t per_column = (curves.size() + columns - 1) / columns;
  cairo_set_line_width(cr, 1.0);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (std::size_t c = 0; c < curves.size(); ++c) {
    const std::vector<double>& v = curves[c];
    const auto [lo, hi] = std::minmax_element(v.begin(), v.end());
    const double x0 = column_width * static_cast<double>(c / per_column);
    const double k = *hi > *lo ? column_width / (*hi - *lo) : 0;
    cairo_new_path(cr);
    for (std::size_t i = 0; i < v.size(); ++i) {
      const double x = x0 + (v[i] - *lo) * k;
      const double y = (depth[i] - top) / (bottom - top) * height;
      if (i == 0)
        cairo_move_to(cr, x, y);
      else
        cairo_line_to(cr, x, y);
    }
    cairo_set_source_rgb(cr, (c % 3) / 2.0, ((c + 1) % 3) / 2.0, ((c + 2) % 3) / 2.0);
    cairo_stroke(cr);
  }
  // The column frames.
  cairo_set_source_rgb(cr, 0, 0, 0);
  for (int i = 0; i <= columns; ++i) {
    cairo_move_to(cr, i * column_width, 0);
    cairo_line_to(cr, i * column_width, height);
  }
  cairo_stroke(cr);

  cairo_status_t status = cairo_status(cr);
  if (png && status == CAIRO_STATUS_SUCCESS) status = cairo_surface_write_to_png(surface, out.c_str());
  cairo_destroy(cr);
  cairo_surface_finish(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  if (status != CAIRO_STATUS_SUCCESS) {
    std::fprintf(stderr, "%s: %s\n", out.c_str(), cairo_status_to_string(status));
    return 1;
  }
  return 0;
}
