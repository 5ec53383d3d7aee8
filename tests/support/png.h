// Drawing into a PNG and reading its pixels back, for tests that check what
// a kit paints where.
#ifndef DAVODU_TESTS_SUPPORT_PNG_H_
#define DAVODU_TESTS_SUPPORT_PNG_H_

#include <functional>
#include <string>
#include <vector>

#include "davodu/host/graphics/dc.h"
#include "davodu/host/util/types.h"

namespace davodu::testing {

// The pixels of a PNG as COLORREF.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;

  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

// A PNG read back (empty when it cannot be read).
Image ReadPng(const std::string& path);

// Draws into a PNG of the draw rectangle page at scale pixels per draw unit
// and reads it back. PixelX/PixelY give the pixel of a draw coordinate.
struct Canvas {
  CRect page;
  double scale = 1;
  Image image;
  int PixelX(double x) const { return static_cast<int>((x - page.left) * scale); }
  int PixelY(double y) const { return static_cast<int>((page.top - y) * scale); }
  COLORREF AtDraw(double x, double y) const { return image.At(PixelX(x), PixelY(y)); }
};
Canvas DrawToPng(const std::string& path, const CRect& page, double scale,
                 const std::function<void(CDC*)>& draw);

// Checks the pixels of the row at draw y, left to right, skipping those
// within margin pixels of the draw x positions in avoid (lines and edges):
// expected(x) names the colour each should have. Returns the first
// mismatch, or "".
std::string CheckRow(const Canvas& canvas, double y, const std::vector<double>& avoid, int margin,
                     const std::function<COLORREF(double)>& expected);

}  // namespace davodu::testing

#endif  // DAVODU_TESTS_SUPPORT_PNG_H_
