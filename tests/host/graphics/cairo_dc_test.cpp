#include "davodu/host/graphics/cairo_dc.h"

#include <cairo/cairo.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <numbers>
#include <string>
#include <vector>

#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/util/gbk.h"

namespace davodu {
namespace {

namespace fs = std::filesystem;

// A folder of its own for each test, removed afterwards.
class CairoDCTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->name());
    std::replace(name.begin(), name.end(), '/', '_');
    dir_ = fs::path(::testing::TempDir()) /
           ("davodu_cairo_" + name + "_" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }
  std::string PathOf(const std::string& file) const { return (dir_ / file).string(); }

  fs::path dir_;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A PNG read back with Cairo; pixels as COLORREF.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> pixels;

  COLORREF At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
  bool Inked(int x, int y) const {
    COLORREF c = At(x, y);
    return GetRValue(c) < 200 || GetGValue(c) < 200 || GetBValue(c) < 200;
  }
  int Count(int x0, int y0, int x1, int y1, const std::function<bool(COLORREF)>& pred) const {
    int n = 0;
    for (int y = y0; y < y1; ++y) {
      for (int x = x0; x < x1; ++x) n += pred(At(x, y)) ? 1 : 0;
    }
    return n;
  }
};

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

bool IsColor(COLORREF c, COLORREF want) {
  auto close = [](unsigned a, unsigned b) { return (a > b ? a - b : b - a) <= 8; };
  return close(GetRValue(c), GetRValue(want)) && close(GetGValue(c), GetGValue(want)) &&
         close(GetBValue(c), GetBValue(want));
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

DeviceBrush Solid(COLORREF color) {
  DeviceBrush b;
  b.color = color;
  return b;
}

std::vector<CPoint> Rect(int left, int top, int right, int bottom) {
  return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

// The page of the scene: 400 x 200 draw units from (1000, 2000) down to
// (1400, 1800); at a scale of 0.5 a 200 x 100 pixel image. A draw point
// (x, y) lands on pixel ((x - 1000) / 2, (2000 - y) / 2).
constexpr CRect kPage{1000, 2000, 1400, 1800};
constexpr double kScale = 0.5;

void DrawScene(CairoDC* dc) {
  // Red square in the top-left corner: pixels 0..20 x 0..20.
  auto red = Rect(1000, 2000, 1040, 1960);
  DeviceBrush red_brush = Solid(kRed);
  dc->Polygon(red.data(), red.size(), nullptr, &red_brush);

  // Green cross hatch: pixels 30..50 x 0..20.
  auto hatch = Rect(1060, 2000, 1100, 1960);
  DeviceBrush hatch_brush = Solid(kGreen);
  hatch_brush.kind = DeviceBrush::kHatch;
  hatch_brush.hatch = kBrushHatchCross;
  hatch_brush.hatch_spacing = 12;  // 6 pixels
  dc->Polygon(hatch.data(), hatch.size(), nullptr, &hatch_brush);

  // Blue band clipped twice (to pixels 0..60, then 20..100): only 20..60 of
  // rows 25..50 is blue. After the restore the clip is gone again, so the
  // black line at pixel column 90 appears.
  const int outer = dc->SaveDC();
  dc->SetClipRect({1000, 1950, 1120, 1900});
  dc->SaveDC();
  auto inner_clip = std::vector<CPoint>{{1040, 1950}, {1200, 1950}, {1200, 1900}, {1040, 1900}};
  dc->SetClipPolygon(inner_clip.data(), inner_clip.size());
  auto band = Rect(1000, 1950, 1400, 1900);
  DeviceBrush blue = Solid(kBlue);
  dc->Polygon(band.data(), band.size(), nullptr, &blue);
  dc->RestoreDC(outer);

  DevicePen thick;
  thick.width = 4;  // 2 pixels
  CPoint line[2] = {{1180, 1950}, {1180, 1900}};
  dc->Polyline(line, 2, thick);

  // Marks are never drawn into a file, even when handed to the device.
  auto mark_area = Rect(1140, 1950, 1160, 1900);
  DeviceBrush xor_brush = Solid(kRed);
  xor_brush.rop = kRopNotXor;
  DevicePen mark;
  mark.style = kPenMarkSelection;
  mark.width = 10;
  dc->Polygon(mark_area.data(), mark_area.size(), &mark, &xor_brush);

  // A hairline along pixel row 52.
  DevicePen hairline;
  CPoint row[2] = {{1200, 1896}, {1400, 1896}};
  dc->Polyline(row, 2, hairline);

  // Chinese text in the "宋体" face, its top at pixel row 60.
  DeviceFont font;
  font.face = Utf8ToGbk("宋体");
  font.height = 40;  // 20 pixels
  dc->Text({1010, 1880}, Utf8ToGbk("宋体 Abc"), font, 0, kAlignLeft, kAlignTop);
}

TEST_F(CairoDCTest, WritesEachFormat) {
  struct Case {
    ImageFormat format;
    const char* file;
    std::vector<std::string> magics;  // one of these starts the file
  };
  const Case cases[] = {
      {ImageFormat::kPng, "scene.png", {"\x89PNG\r\n\x1a\n"}},
      {ImageFormat::kSvg, "scene.svg", {"<?xml", "<svg"}},
      {ImageFormat::kPdf, "scene.pdf", {"%PDF-"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    std::string error;
    auto dc = CairoDC::Create(c.format, PathOf(c.file), kPage, kScale, &error);
    ASSERT_NE(dc, nullptr) << error;
    DrawScene(dc.get());
    ASSERT_TRUE(dc->Finish(&error)) << error;
    const std::string bytes = ReadFile(PathOf(c.file));
    ASSERT_GT(bytes.size(), 100u);
    EXPECT_TRUE(std::any_of(c.magics.begin(), c.magics.end(),
                            [&](const std::string& m) { return bytes.starts_with(m); }));
    // Drawing after Finish does nothing, and the device cannot finish twice.
    DrawScene(dc.get());
    EXPECT_FALSE(dc->Finish(&error));
    EXPECT_EQ(ReadFile(PathOf(c.file)), bytes);
  }
}

TEST_F(CairoDCTest, PngPixelsLandWhereDrawn) {
  std::string error;
  const std::string path = PathOf("scene.png");
  auto dc = CairoDC::Create(ImageFormat::kPng, path, kPage, kScale, &error);
  ASSERT_NE(dc, nullptr) << error;
  DrawScene(dc.get());
  ASSERT_TRUE(dc->Finish(&error)) << error;

  const Image img = ReadPng(path);
  ASSERT_EQ(img.width, 200);
  ASSERT_EQ(img.height, 100);
  auto is = [](COLORREF want) { return [want](COLORREF c) { return IsColor(c, want); }; };

  // The red square sits at the top left: Y is flipped and the scale halves.
  EXPECT_TRUE(IsColor(img.At(10, 10), kRed));
  EXPECT_TRUE(IsColor(img.At(10, 90), kWhite));
  EXPECT_TRUE(IsColor(img.At(25, 10), kWhite));
  EXPECT_EQ(img.Count(0, 0, 20, 20, is(kRed)), 400);

  // Hatch: green lines inside its square only, with white between them.
  const int green = img.Count(30, 0, 50, 20, is(kGreen));
  EXPECT_GT(green, 40);
  EXPECT_LT(green, 200);
  EXPECT_EQ(img.Count(0, 0, 200, 100, is(kGreen)), green);

  // Clip stack: blue only where both clips overlapped.
  EXPECT_EQ(img.Count(20, 25, 60, 50, is(kBlue)), 40 * 25);
  EXPECT_EQ(img.Count(0, 0, 200, 100, is(kBlue)), 40 * 25);
  EXPECT_TRUE(IsColor(img.At(89, 37), RGB(0, 0, 0)));
  EXPECT_TRUE(IsColor(img.At(90, 37), RGB(0, 0, 0)));

  // Marks and not-xor fills left no trace.
  EXPECT_EQ(img.Count(66, 24, 84, 51, [](COLORREF c) { return !IsColor(c, kWhite); }), 0);

  // The hairline is visible.
  EXPECT_TRUE(img.Inked(150, 51) || img.Inked(150, 52));

  // The text has ink, all of it below its top-aligned anchor.
  int inked = 0, top = INT_MAX;
  for (int y = 53; y < 100; ++y) {
    for (int x = 0; x < 200; ++x) {
      if (img.Inked(x, y)) {
        ++inked;
        top = std::min(top, y);
      }
    }
  }
  EXPECT_GT(inked, 50);
  EXPECT_GE(top, 59);
}

// A raster device in memory draws what a PNG file would hold: the bytes it
// encodes are those of the file.
TEST_F(CairoDCTest, RasterInMemoryEncodesTheSamePng) {
  std::string error, png;
  const std::string path = PathOf("file.png");
  auto file = CairoDC::Create(ImageFormat::kPng, path, kPage, kScale, &error);
  ASSERT_NE(file, nullptr) << error;
  DrawScene(file.get());
  ASSERT_TRUE(file->Finish(&error)) << error;
  auto raster = CairoDC::CreateRaster(kPage, kScale, &error);
  ASSERT_NE(raster, nullptr) << error;
  DrawScene(raster.get());
  ASSERT_TRUE(raster->EncodePng(&png, &error)) << error;
  EXPECT_EQ(png, ReadFile(path));
  EXPECT_TRUE(raster->Finish(&error)) << error;  // no file to write
  EXPECT_FALSE(raster->EncodePng(&png, &error)) << "closed";
  EXPECT_EQ(CairoDC::CreateRaster(CRect{0, 0, 0, 0}, 1, &error), nullptr);
}

TEST_F(CairoDCTest, TextAlignsAndTurnsAboutItsAnchor) {
  // The anchor is draw (100, 100) on a 200 x 200 page: pixel (100, 100).
  enum Side { kBefore, kAcross, kAfter };  // of the anchor along one axis
  struct Case {
    const char* name;
    double angle;
    int align_h, align_v;
    Side x, y;          // in pixels: y grows downwards
    bool upright;       // taller than wide
  };
  const double kQuarter = std::numbers::pi / 2;
  const Case cases[] = {
      {"left top", 0, kAlignLeft, kAlignTop, kAfter, kAfter, false},
      {"right bottom", 0, kAlignRight, kAlignBottom, kBefore, kBefore, false},
      {"centre middle", 0, kAlignCenter, kAlignMiddle, kAcross, kAcross, false},
      {"quarter turn left top", kQuarter, kAlignLeft, kAlignTop, kAfter, kBefore, true},
      {"quarter turn left bottom", kQuarter, kAlignLeft, kAlignBottom, kBefore, kBefore, true},
      {"quarter turn back left top", -kQuarter, kAlignLeft, kAlignTop, kBefore, kAfter, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    const std::string path = PathOf("text.png");
    auto dc = CairoDC::Create(ImageFormat::kPng, path, {0, 200, 200, 0}, 1.0, &error);
    ASSERT_NE(dc, nullptr) << error;
    DeviceFont font;
    font.face = Utf8ToGbk("宋体");
    font.height = 20;
    dc->Text({100, 100}, Utf8ToGbk("宋体测试"), font, c.angle, c.align_h, c.align_v);
    ASSERT_TRUE(dc->Finish(&error)) << error;

    const Image img = ReadPng(path);
    ASSERT_EQ(img.width, 200);
    int x0 = INT_MAX, y0 = INT_MAX, x1 = INT_MIN, y1 = INT_MIN;
    for (int y = 0; y < img.height; ++y) {
      for (int x = 0; x < img.width; ++x) {
        if (!img.Inked(x, y)) continue;
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = std::max(y1, y);
      }
    }
    ASSERT_LE(x0, x1) << "no ink";
    auto check = [](Side side, int lo, int hi) {
      switch (side) {
        case kBefore: return hi <= 101;
        case kAfter: return lo >= 99;
        case kAcross: return lo < 95 && hi > 105;
      }
      return false;
    };
    EXPECT_TRUE(check(c.x, x0, x1)) << "x " << x0 << ".." << x1;
    EXPECT_TRUE(check(c.y, y0, y1)) << "y " << y0 << ".." << y1;
    // Four Chinese characters of 20 pixels: about 80 by 20.
    const int w = x1 - x0 + 1, h = y1 - y0 + 1;
    EXPECT_EQ(h > w, c.upright) << w << " x " << h;
    EXPECT_NEAR(std::max(w, h), 80, 8);
  }
}

TEST_F(CairoDCTest, MeasureTextIsInDrawUnits) {
  DeviceFont font;
  font.face = Utf8ToGbk("宋体");
  font.height = 20;
  const std::string two = Utf8ToGbk("宋体");
  const std::string four = Utf8ToGbk("宋体宋体");
  std::vector<TextSize> sizes;
  for (double scale : {1.0, 3.0}) {
    std::string error;
    auto dc = CairoDC::Create(ImageFormat::kPng, PathOf("m.png"), {0, 10, 10, 0}, scale, &error);
    ASSERT_NE(dc, nullptr) << error;
    const TextSize s = dc->MeasureText(two, font);
    EXPECT_NEAR(dc->MeasureText(four, font).width, 2 * s.width, 0.5);
    sizes.push_back(s);
  }
  // Chinese characters are one em wide; the line is a little taller.
  EXPECT_NEAR(sizes[0].width, 40, 2);
  EXPECT_GE(sizes[0].height, 20);
  EXPECT_LE(sizes[0].height, 40);
  EXPECT_NEAR(sizes[1].width, sizes[0].width, 0.5);
  EXPECT_NEAR(sizes[1].height, sizes[0].height, 0.5);
}

TEST_F(CairoDCTest, FaceNamesResolveToInstalledFonts) {
  // A PDF names the fonts it embeds, so the face each name chose shows.
  struct Case {
    const char* face;  // UTF-8
    const char* text;
    const char* embedded;
  };
  const Case cases[] = {
      {"宋体", "宋体", "NotoSerifCJK"},    {"仿宋", "宋体", "NotoSerifCJK"},
      {"楷体", "宋体", "NotoSerifCJK"},    {"SimSun", "宋体", "NotoSerifCJK"},
      {"黑体", "宋体", "NotoSansCJK"},     {"微软雅黑", "宋体", "NotoSansCJK"},
      {"simhei", "宋体", "NotoSansCJK"},   {"DejaVu Serif", "Abc", "DejaVuSerif"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    std::string error;
    const std::string path = PathOf("face.pdf");
    auto dc = CairoDC::Create(ImageFormat::kPdf, path, {0, 100, 100, 0}, 1.0, &error);
    ASSERT_NE(dc, nullptr) << error;
    DeviceFont font;
    font.face = Utf8ToGbk(c.face);
    font.height = 12;
    dc->Text({10, 90}, Utf8ToGbk(c.text), font, 0, kAlignLeft, kAlignTop);
    ASSERT_TRUE(dc->Finish(&error)) << error;
    EXPECT_NE(ReadFile(path).find(c.embedded), std::string::npos);
  }
}

TEST_F(CairoDCTest, CreateRefusesImpossibleDevices) {
  struct Case {
    const char* name;
    ImageFormat format;
    std::string path;
    CRect page;
    double scale;
    std::vector<std::string> message;  // parts the error must hold
  };
  const Case cases[] = {
      {"empty page", ImageFormat::kPng, PathOf("a.png"), {0, 100, 0, 0}, 1, {"empty"}},
      {"zero scale", ImageFormat::kSvg, PathOf("a.svg"), {0, 100, 100, 0}, 0, {"scale"}},
      {"negative scale", ImageFormat::kPdf, PathOf("a.pdf"), {0, 100, 100, 0}, -2, {"scale"}},
      {"NaN scale", ImageFormat::kPng, PathOf("a.png"), {0, 100, 100, 0}, std::nan(""), {"scale"}},
      {"too wide", ImageFormat::kPng, PathOf("a.png"), {0, 10, 40000, 0}, 1,
       {"32767", "dpi", "SVG"}},
      {"too tall", ImageFormat::kPng, PathOf("a.png"), {0, 1000, 10, 0}, 33, {"32767"}},
      {"no folder", ImageFormat::kPng, PathOf("missing/a.png"), {0, 100, 100, 0}, 1,
       {"missing/a.png"}},
      {"no folder for a PDF", ImageFormat::kPdf, PathOf("missing/a.pdf"), {0, 100, 100, 0}, 1,
       {"missing/a.pdf"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string error;
    EXPECT_EQ(CairoDC::Create(c.format, c.path, c.page, c.scale, &error), nullptr);
    for (const std::string& part : c.message) {
      EXPECT_NE(error.find(part), std::string::npos) << error;
    }
    EXPECT_FALSE(fs::exists(c.path));
  }
  // A vector file has no size limit.
  std::string error;
  auto big = CairoDC::Create(ImageFormat::kSvg, PathOf("big.svg"), {0, 10, 40000, 0}, 1, &error);
  ASSERT_NE(big, nullptr) << error;
  EXPECT_TRUE(big->Finish(&error)) << error;
}

TEST_F(CairoDCTest, FinishReportsAFailedWrite) {
  const fs::path sub = dir_ / "gone";
  fs::create_directories(sub);
  std::string error;
  const std::string path = (sub / "a.png").string();
  auto dc = CairoDC::Create(ImageFormat::kPng, path, {0, 10, 10, 0}, 1, &error);
  ASSERT_NE(dc, nullptr) << error;
  fs::remove_all(sub);
  EXPECT_FALSE(dc->Finish(&error));
  EXPECT_NE(error.find(path), std::string::npos) << error;
}

TEST_F(CairoDCTest, PagesShowOtherPartsOfTheDrawing) {
  // A red square at draw (100..120, 380..400), a blue one 200 units lower;
  // pages of 200 x 200 draw units at scale 1.
  auto draw = [](CDC* dc) {
    DeviceBrush red = Solid(kRed), blue = Solid(kBlue);
    auto a = Rect(100, 400, 120, 380), b = Rect(100, 200, 120, 180);
    dc->Polygon(a.data(), a.size(), nullptr, &red);
    dc->Polygon(b.data(), b.size(), nullptr, &blue);
  };
  std::string error;
  auto dc = CairoDC::Create(ImageFormat::kPng, PathOf("p1.png"), {0, 400, 200, 200}, 1, &error);
  ASSERT_NE(dc, nullptr) << error;
  draw(dc.get());
  ASSERT_TRUE(dc->NextPage(PathOf("p2.png"), &error)) << error;
  dc->SetOrigin({0, 200});  // the next 200 units down
  draw(dc.get());
  ASSERT_TRUE(dc->Finish(&error)) << error;
  const Image first = ReadPng(PathOf("p1.png")), second = ReadPng(PathOf("p2.png"));
  ASSERT_EQ(first.height, 200);
  ASSERT_EQ(second.height, 200);
  EXPECT_TRUE(IsColor(first.At(110, 10), kRed));
  EXPECT_TRUE(IsColor(first.At(110, 190), kWhite));
  EXPECT_TRUE(IsColor(second.At(110, 10), kBlue));  // a fresh page: no red left
  EXPECT_EQ(second.Count(0, 0, 200, 200, [](COLORREF c) { return IsColor(c, kRed); }), 0);

  // A PDF holds its pages; an SVG has only one.
  auto pdf = CairoDC::Create(ImageFormat::kPdf, PathOf("p.pdf"), {0, 400, 200, 200}, 1, &error);
  ASSERT_NE(pdf, nullptr) << error;
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(pdf->NextPage(PathOf("p.pdf"), &error)) << error;
  ASSERT_TRUE(pdf->Finish(&error)) << error;
  EXPECT_NE(ReadFile(PathOf("p.pdf")).find("/Count 3"), std::string::npos);
  auto svg = CairoDC::Create(ImageFormat::kSvg, PathOf("p.svg"), {0, 400, 200, 200}, 1, &error);
  ASSERT_NE(svg, nullptr) << error;
  EXPECT_FALSE(svg->NextPage(PathOf("p.svg"), &error));
  EXPECT_NE(error.find("one page"), std::string::npos) << error;
}

TEST(CairoImageFormatTest, FromPath) {
  struct Case {
    const char* path;
    bool known;
    ImageFormat format;
  };
  const Case cases[] = {
      {"out/chart.png", true, ImageFormat::kPng}, {"CHART.PNG", true, ImageFormat::kPng},
      {"a.Svg", true, ImageFormat::kSvg},         {"a.b.pdf", true, ImageFormat::kPdf},
      {"chart.jpg", false, {}},                   {"png", false, {}},
      {"chart.png/x", false, {}},                 {"", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    ImageFormat f = ImageFormat::kSvg;
    ASSERT_EQ(ImageFormatFromPath(c.path, &f), c.known);
    if (c.known) {
      EXPECT_EQ(f, c.format);
    }
  }
}

}  // namespace
}  // namespace davodu
