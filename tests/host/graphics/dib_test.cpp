#include "davodu/host/graphics/dib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "davodu/host/graphics/cairo_dc.h"
#include "davodu/host/graphics/recording_dc.h"
#include "support/cli.h"
#include "support/pictures.h"
#include "support/png.h"

namespace davodu {
namespace {

using testing::MakePicture;
using testing::ReadFile;
using testing::ScratchDir;

// Left half red, right half blue.
COLORREF Halves(int x, int w) { return x < w / 2 ? RGB(220, 0, 0) : RGB(0, 0, 220); }

bool Near(COLORREF a, COLORREF b, int tolerance) {
  return std::abs(static_cast<int>(GetRValue(a)) - static_cast<int>(GetRValue(b))) <= tolerance &&
         std::abs(static_cast<int>(GetGValue(a)) - static_cast<int>(GetGValue(b))) <= tolerance &&
         std::abs(static_cast<int>(GetBValue(a)) - static_cast<int>(GetBValue(b))) <= tolerance;
}

COLORREF PixelOf(const DeviceImage& im, int x, int y) {
  const std::uint32_t p = im.pixels[static_cast<std::size_t>(y * im.width + x)];
  return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

TEST(Dib, EveryFormatDecodesAndKeepsItsBytes) {
  for (const char* format : {"jpeg", "png", "bmp", "tiff"}) {
    SCOPED_TRACE(format);
    const std::string bytes = MakePicture(format, 40, 20, [](int x, int) { return Halves(x, 40); });
    ASSERT_FALSE(bytes.empty());
    CDIB dib;
    std::string error;
    ASSERT_TRUE(dib.SetTotalBuf(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                &error))
        << error;
    EXPECT_EQ(dib.GetWidth(), 40);
    EXPECT_EQ(dib.GetHeight(), 20);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(dib.GetTotalBuf()), dib.GetTotalBufLength()),
              bytes);
    EXPECT_TRUE(Near(PixelOf(*dib.GetImage(), 5, 10), RGB(220, 0, 0), 12));
    EXPECT_TRUE(Near(PixelOf(*dib.GetImage(), 35, 10), RGB(0, 0, 220), 12));
    // Only a JPEG travels to vector files as its own bytes.
    EXPECT_EQ(dib.GetImage()->jpeg.empty(), std::string(format) != "jpeg");
  }
}

TEST(Dib, ExifOrientationTurnsThePicture) {
  const std::string jpeg = MakePicture("jpeg", 40, 20, [](int x, int) { return Halves(x, 40); });
  struct Case {
    int orientation;
    int width, height;
    bool keeps_jpeg;
  };
  // 6: the camera was turned clockwise; the picture is shown turned back.
  for (const Case c : {Case{1, 40, 20, true}, Case{6, 20, 40, false}, Case{3, 40, 20, false}}) {
    SCOPED_TRACE(c.orientation);
    const std::string bytes = testing::WithExifOrientation(jpeg, c.orientation);
    CDIB dib;
    ASSERT_TRUE(dib.SetTotalBuf(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
    EXPECT_EQ(dib.GetWidth(), c.width);
    EXPECT_EQ(dib.GetHeight(), c.height);
    EXPECT_EQ(!dib.GetImage()->jpeg.empty(), c.keeps_jpeg);
  }
  // Turned half round, the red half is on the right.
  const std::string upside_down = testing::WithExifOrientation(jpeg, 3);
  CDIB dib;
  ASSERT_TRUE(dib.SetTotalBuf(reinterpret_cast<const unsigned char*>(upside_down.data()),
                              upside_down.size()));
  EXPECT_TRUE(Near(PixelOf(*dib.GetImage(), 35, 10), RGB(220, 0, 0), 12));
}

TEST(Dib, BadInputLeavesItEmptyWithAReason) {
  const std::string jpeg = MakePicture("jpeg", 8, 8, [](int, int) { return RGB(1, 2, 3); });
  const std::string cases[] = {"", "not a picture at all", jpeg.substr(0, 20)};
  for (const std::string& bytes : cases) {
    CDIB dib;
    std::string error;
    EXPECT_FALSE(dib.SetTotalBuf(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                 &error));
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_EQ(dib.GetTotalBufLength(), 0u);
    EXPECT_FALSE(error.empty());
  }
  CDIB dib;
  std::string error;
  EXPECT_FALSE(dib.ReadFromFile("/nonexistent/core.jpg", &error));
  EXPECT_NE(error.find("/nonexistent/core.jpg"), std::string::npos) << error;
}

TEST(Dib, DrawsThroughTheDeviceAndNothingWhenEmpty) {
  const std::string png = MakePicture("png", 4, 4, [](int, int) { return RGB(9, 9, 9); });
  CDIB dib;
  ASSERT_TRUE(dib.SetTotalBuf(reinterpret_cast<const unsigned char*>(png.data()), png.size()));
  RecordingDC dc;
  dib.Draw(&dc, CRect{0, 100, 50, 0});
  CDIB().Draw(&dc, CRect{0, 100, 50, 0});
  const std::vector<DrawOp> ops = dc.OpsOf(DrawOp::kImage);
  ASSERT_EQ(ops.size(), 1u);
  EXPECT_EQ(ops[0].image, dib.GetImage());
  EXPECT_EQ(ops[0].points[0], (CPoint{0, 100}));
}

class DibFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = ScratchDir("dib");
    jpeg_ = MakePicture("jpeg", 64, 32, [](int x, int) { return Halves(x, 64); });
    ASSERT_TRUE(dib_.SetTotalBuf(reinterpret_cast<const unsigned char*>(jpeg_.data()), jpeg_.size()));
  }
  // Draws the picture twice into a file of the given type.
  std::string Draw(ImageFormat format, const char* name) {
    const std::string path = dir_ + "/" + name;
    std::string error;
    auto dc = CairoDC::Create(format, path, CRect{0, 1000, 2000, 0}, 0.5, &error);
    EXPECT_TRUE(dc) << error;
    if (!dc) return path;
    dib_.Draw(dc.get(), CRect{100, 900, 900, 500});
    dib_.Draw(dc.get(), CRect{1000, 900, 1800, 500});
    EXPECT_TRUE(dc->Finish(&error)) << error;
    return path;
  }
  static int Count(const std::string& hay, const std::string& needle) {
    int n = 0;
    for (std::size_t at = hay.find(needle); at != std::string::npos; at = hay.find(needle, at + 1)) ++n;
    return n;
  }
  std::string dir_, jpeg_;
  CDIB dib_;
};

TEST_F(DibFiles, PdfEmbedsTheJpegUnchangedAndOnce) {
  const std::string pdf = ReadFile(Draw(ImageFormat::kPdf, "photo.pdf"));
  EXPECT_EQ(Count(pdf, jpeg_), 1);
  EXPECT_NE(pdf.find("/DCTDecode"), std::string::npos);
}

TEST_F(DibFiles, SvgCarriesTheJpeg) {
  const std::string svg = ReadFile(Draw(ImageFormat::kSvg, "photo.svg"));
  EXPECT_NE(svg.find("data:image/jpeg;base64,"), std::string::npos);
}

TEST_F(DibFiles, PngShowsThePictureInItsRectangle) {
  const std::string path = Draw(ImageFormat::kPng, "photo.png");
  const testing::Image image = testing::ReadPng(path);
  ASSERT_EQ(image.width, 1000);
  // Draw (x, y) is pixel (x / 2, (1000 - y) / 2).
  EXPECT_TRUE(Near(image.At(150, 150), RGB(220, 0, 0), 20));  // left half of the first copy
  EXPECT_TRUE(Near(image.At(400, 150), RGB(0, 0, 220), 20));  // right half
  EXPECT_EQ(image.At(475, 150), RGB(255, 255, 255));          // between the copies
  EXPECT_EQ(image.At(150, 350), RGB(255, 255, 255));          // below them
}

}  // namespace
}  // namespace davodu
