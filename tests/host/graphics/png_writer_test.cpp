// The PNG writer gives back the pixels it was given, as Cairo's own encoder
// does, and names the file it cannot write.
#include "davodu/host/graphics/png_writer.h"

#include <cairo/cairo.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "support/cli.h"

namespace davodu::testing {
namespace {

// The pixels of a PNG file as 0xRRGGBB values (empty when unreadable).
std::vector<std::uint32_t> Decode(const std::string& path, int* width, int* height) {
  std::vector<std::uint32_t> out;
  cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(s);
    *width = cairo_image_surface_get_width(s);
    *height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const std::uint8_t* data = cairo_image_surface_get_data(s);
    for (int y = 0; y < *height; ++y)
      for (int x = 0; x < *width; ++x)
        out.push_back(reinterpret_cast<const std::uint32_t*>(data + y * stride)[x] & 0xFFFFFF);
  }
  cairo_surface_destroy(s);
  return out;
}

TEST(PngWriter, WritesThePixelsItIsGiven) {
  const std::string dir = ScratchDir("png");
  // Line art and a colour ramp, with odd sizes so rows are not aligned.
  for (const auto& [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {37, 19}, {301, 257}}) {
    SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h));
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(s);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_pattern_t* ramp = cairo_pattern_create_linear(0, 0, w, h);
    cairo_pattern_add_color_stop_rgb(ramp, 0, 0.9, 0.1, 0.3);
    cairo_pattern_add_color_stop_rgb(ramp, 1, 0.1, 0.6, 0.9);
    cairo_set_source(cr, ramp);
    cairo_rectangle(cr, 0, 0, w / 2.0, h);
    cairo_fill(cr);
    cairo_pattern_destroy(ramp);
    cairo_set_source_rgb(cr, 0, 0.5, 0);
    cairo_move_to(cr, 0, 0);
    for (int i = 1; i < 40; ++i) cairo_line_to(cr, (i * 7919) % (w + 1), i * h / 40.0);
    cairo_stroke(cr);
    cairo_destroy(cr);
    cairo_surface_flush(s);

    const std::string ours = dir + "/ours.png", theirs = dir + "/cairo.png";
    std::string error;
    ASSERT_TRUE(WriteRgbPng(ours, cairo_image_surface_get_data(s), w, h,
                            cairo_image_surface_get_stride(s), &error))
        << error;
    ASSERT_EQ(cairo_surface_write_to_png(s, theirs.c_str()), CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(s);
    int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
    const std::vector<std::uint32_t> a = Decode(ours, &w1, &h1), b = Decode(theirs, &w2, &h2);
    EXPECT_EQ(w1, w);
    EXPECT_EQ(h1, h);
    ASSERT_EQ(a.size(), static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    EXPECT_TRUE(a == b) << "the pixels differ from Cairo's encoding";
    // An RGB file: colour type 2 in the header, no alpha channel.
    EXPECT_EQ(ReadFile(ours).at(25), '\x02');
  }
}

TEST(PngWriter, NamesTheFileItCannotWrite) {
  const std::uint32_t pixel = 0xFFFFFF;
  std::string error;
  EXPECT_FALSE(WriteRgbPng("/proc/no/such/dir/x.png", reinterpret_cast<const std::uint8_t*>(&pixel),
                           1, 1, 4, &error));
  EXPECT_NE(error.find("/proc/no/such/dir/x.png"), std::string::npos) << error;
  EXPECT_FALSE(WriteRgbPng("x.png", nullptr, 1, 1, 4, &error));
}

}  // namespace
}  // namespace davodu::testing
