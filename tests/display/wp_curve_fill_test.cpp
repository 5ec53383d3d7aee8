// Curve fills: what each kind of fill paints where (checked on the pixels of
// a PNG), the value-coloured shading and its caches, and the order in which
// a track draws fills and lines.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "davodu/display/wp_curve.h"
#include "support/cli.h"
#include "support/kit_fixture.h"
#include "support/png.h"

namespace davodu::testing {
namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kSide0 = RGB(0, 200, 255);
constexpr COLORREF kSide1 = RGB(255, 150, 0);
constexpr COLORREF kYellow = RGB(255, 228, 92);
constexpr COLORREF kBrown = RGB(200, 160, 100);
constexpr COLORREF kGrey = RGB(160, 160, 160);

ZULOGBRUSH Brush(COLORREF color) {
  ZULOGBRUSH b;
  b.style = kBrushDefaultSolid;
  b.color = color;
  return b;
}

class Fills : public KitTest {
 protected:
  // A track 2000 wide over 1000 to 1100 m at 100 map units a metre (draw
  // units are map units here): its body runs from (0, 0) to (2000, -10000).
  // No grid, so that only fills, lines and the frame are painted.
  Fills() {
    track = MakeRoot<CWpTrack>("CWpTrack");
    track->SetTopDepth(1000);
    track->SetBottomDepth(1100);
    track->SetDepScl(100);
    track->SetWidth(2000);
    track->ShowDepth(0);
    track->ShowScale(0);
  }

  // A curve of the track on a 0..100 scale, one sample every step metres
  // from 1000 m, drawn with a thin pen.
  CWpCurve* AddCurve(const char* name, const std::vector<double>& values, double step = 1) {
    CWpCurve* c = track->AddCurve(name, 0, -1);
    c->SetName(name);
    c->SetLeft(0);
    c->SetRight(100);
    ZULOGPEN pen = c->GetPen();
    pen.width = 10;
    c->SetPen(&pen);
    std::vector<double> depths;
    for (std::size_t i = 0; i < values.size(); ++i) depths.push_back(1000 + step * i);
    c->SetSamples(depths, values);
    return c;
  }

  CVEFILL* AddFill(CWpCurve* c, const char* target, int sides) {
    c->Operation(0);
    CVEFILL* f = c->FillAt(c->FillCount() - 1);
    f->SetTarget(Gbk(target));
    f->block.sides = sides;
    f->block.brush0 = Brush(kSide0);
    f->block.brush1 = Brush(kSide1);
    c->LmtFll();
    return f;
  }

  // Lays the track out and lets every curve build its draw points and
  // shading, as its first drawing would.
  void Layout() {
    track->SetPosition(FLOATPOINT{0, 0}, 1);
    track->Update();
    for (CWpKit* k : track->GetChildren())
      if (auto* c = dynamic_cast<CWpCurve*>(k)) c->GetDrawPoints();
  }

  // The track drawn into a PNG of its body and margin draw units around it,
  // 10 pixels a metre.
  Canvas Paint(const std::string& name, int margin = 0) {
    Layout();
    CRect page = track->BodyDraw().Normalized();
    page.Inflate(margin);
    return DrawToPng(ScratchDir("fills") + "/" + name + ".png", page, 0.1,
                     [&](CDC* dc) { track->Draw(dc, nullptr, nullptr, nullptr); });
  }

  double XOf(const CWpCurve* c, double value) const { return c->ValToMapX(value); }
  double YOf(double depth) { return track->DepToMapY(depth); }

  CWpTrack* track = nullptr;
};

// ---------------------------------------------------------------- line fills

TEST_F(Fills, LineFillsShadeTheirSidesBetweenTheBoundaryAndTheCurve) {
  // Blocks of ten samples at 20 and 80, so the curve runs straight down
  // through the middle of each block.
  std::vector<double> values;
  for (int i = 0; i <= 100; ++i) values.push_back((i / 10) % 2 == 0 ? 20 : 80);
  struct Case {
    const char* what;
    const char* target;
    int sides;
    double value;  // for a value line
  };
  const Case cases[] = {
      {"a new fill shades from the curve to the right edge with brush 1", "边框", 2, 0},
      {"an edge fill of side 0 shades from the left edge to the curve", "边框", 1, 0},
      {"a middle-line fill shades where the curve lies right of 50, and left of it", "中线", 3, 0},
      {"a value-line fill of side 0 shades right of 30 where the curve is", "指定值线", 1, 30},
      {"a value-line fill of side 1 shades left of 30 where the curve is", "指定值线", 2, 30},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    for (CWpKit* child : std::vector<CWpKit*>(track->GetChildren())) track->DeleteChild(child);
    CWpCurve* c = AddCurve("GR", values);
    CVEFILL* f = AddFill(c, k.target, k.sides);
    if (std::string(k.target) == "指定值线") f->block.value = static_cast<float>(k.value);
    const Canvas canvas = Paint("line" + std::to_string(&k - cases));
    ASSERT_GT(canvas.image.width, 0);
    const double left = track->BodyDraw().Normalized().left;
    const double right = track->BodyDraw().Normalized().right;
    const bool edge = std::string(k.target) == "边框";
    const double line = edge ? 0 : XOf(c, std::string(k.target) == "中线" ? 50 : k.value);
    for (int block = 0; block < 10; ++block) {
      const double depth = 1005 + 10 * block;
      const double xc = XOf(c, values[static_cast<std::size_t>(depth - 1000)]);
      const double b0 = edge ? left : line, b1 = edge ? right : line;
      auto expected = [&](double x) {
        if ((k.sides & 1) && xc > b0 && x > b0 && x < xc) return kSide0;
        if ((k.sides & 2) && xc < b1 && x > xc && x < b1) return kSide1;
        return kWhite;
      };
      EXPECT_EQ(CheckRow(canvas, YOf(depth), {left, right, xc, line}, 3, expected), "")
          << "at " << depth << " m";
    }
  }
}

TEST_F(Fills, AFillToNoCurveOfTheTrackDrawsNothing) {
  CWpCurve* c = AddCurve("GR", std::vector<double>(101, 40));
  AddFill(c, "NONE", 3);
  Layout();
  RecordingDC dc(false);
  track->Draw(&dc, nullptr, nullptr, nullptr);
  for (const DrawOp& op : dc.OpsOf(DrawOp::kPolygon)) EXPECT_FALSE(op.brush.has_value());
}

// ---------------------------------------------------------------- crossover

// Two curves crossing each other, each with a stretch of missing samples:
// one colour exactly where A lies right of B, the other where it lies left,
// nothing beyond the two curves and nothing across either gap.
TEST_F(Fills, ACrossoverShadesOnlyBetweenTheCurvesAndNeverAcrossAGap) {
  std::vector<double> a, b;
  const double step = 0.5;
  for (int i = 0; i <= 200; ++i) {
    const double d = 1000 + step * i;
    a.push_back(d > 1040 && d < 1044 ? kFltMax : 50 + 35 * std::sin(2 * std::numbers::pi * (d - 1000) / 25));
    b.push_back(d > 1070 && d < 1073 ? -999.25 : 50 + 15 * std::cos(2 * std::numbers::pi * (d - 1000) / 40));
  }
  CWpCurve* ca = AddCurve("A", a, step);
  CWpCurve* cb = AddCurve("B", b, step);
  AddFill(ca, "b", 3);  // names compare without case
  const Canvas canvas = Paint("crossover");
  ASSERT_GT(canvas.image.width, 0);
  const CRect body = track->BodyDraw().Normalized();
  int rows = 0, gap_rows = 0;
  for (std::size_t i = 1; i + 1 < a.size(); ++i) {
    const double d = 1000 + step * i;
    const bool a_missing = a[i - 1] == kFltMax || a[i] == kFltMax || a[i + 1] == kFltMax;
    const bool b_missing = b[i - 1] < -990 || b[i] < -990 || b[i + 1] < -990;
    const double y = YOf(d);
    if (a[i] == kFltMax || b[i] < -990) {
      // Inside a gap: no fill colour anywhere in the row.
      ++gap_rows;
      EXPECT_EQ(CheckRow(canvas, y, {}, 0,
                         [&](double x) {
                           const COLORREF c = canvas.AtDraw(x, y);
                           return c == kSide0 || c == kSide1 ? kWhite : c;
                         }),
                "")
          << "in the gap at " << d << " m";
      continue;
    }
    if (a_missing || b_missing) continue;  // the edge of a gap
    const double xa = XOf(ca, a[i]), xb = XOf(cb, b[i]);
    if (std::fabs(xa - xb) < 60) continue;  // too close to a crossing to tell pixels apart
    ++rows;
    const COLORREF between = xa > xb ? kSide0 : kSide1;
    const double lo = std::min(xa, xb), hi = std::max(xa, xb);
    EXPECT_EQ(CheckRow(canvas, y, {double(body.left), double(body.right), xa, xb}, 3,
                       [&](double x) {
                         if (x > lo && x < hi) return between;
                         const COLORREF c = canvas.AtDraw(x, y);
                         return c == kSide0 || c == kSide1 ? kWhite : c;  // anything but a fill
                       }),
              "")
        << "at " << d << " m";
  }
  EXPECT_GT(rows, 100);
  EXPECT_GT(gap_rows, 10);
}

// A track draws the fills of all its curves before any line, so that a
// fill of the last curve does not cover the lines of the others.
TEST_F(Fills, ATrackDrawsEveryFillBeneathEveryCurveLine) {
  CWpCurve* a = AddCurve("A", std::vector<double>(101, 30));
  CWpCurve* b = AddCurve("B", std::vector<double>(101, 70));
  AddFill(b, "A", 3);
  AddFill(a, "边框", 1);
  Layout();
  RecordingDC dc(false);
  track->Draw(&dc, nullptr, nullptr, nullptr);
  int last_fill = -1, first_line = -1;
  for (std::size_t i = 0; i < dc.ops().size(); ++i) {
    const DrawOp& op = dc.ops()[i];
    if (op.kind == DrawOp::kPolygon && op.brush) last_fill = static_cast<int>(i);
    const bool body_line = op.kind == DrawOp::kPolyline && op.pen &&
                           (op.pen->color == a->GetPen().color || op.pen->color == b->GetPen().color) &&
                           op.points.size() > 2;
    if (body_line && first_line < 0) first_line = static_cast<int>(i);
  }
  ASSERT_GE(last_fill, 0);
  ASSERT_GE(first_line, 0);
  EXPECT_LT(last_fill, first_line);
}

// ---------------------------------------------------------------- shading

TEST(FillTables, BandsAndColoursOfAValue) {
  const std::vector<WPCVEFILLCOLOR> t = {
      {0, 10, RGB(255, 0, 0), false}, {10, 20, RGB(0, 0, 255), false}, {20, 30, RGB(0, 255, 0), false}};
  struct Case {
    double x;
    int band;
    bool colored;
    COLORREF color;
  };
  const Case cases[] = {
      {-1, -1, true, RGB(255, 0, 0)},  // below the table: no band, the first colour
      {0, 0, true, RGB(255, 0, 0)},
      {5, 0, true, RGB(127, 0, 127)},  // half way from red to blue
      {15, 1, true, RGB(0, 127, 127)},
      {25, 2, true, RGB(0, 255, 0)},   // the last entry keeps its colour
      {30, 2, true, RGB(0, 255, 0)},   // its upper value belongs to it
      {35, -1, true, RGB(0, 255, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.x);
    EXPECT_EQ(CWpCurve::GetPointInColorIndex(t, c.x), c.band);
    COLORREF color = 0;
    EXPECT_EQ(CWpCurve::GetCurveColorref(t, c.x, &color), c.colored);
    EXPECT_EQ(color, c.color);
  }
  COLORREF color = 0;
  EXPECT_EQ(CWpCurve::GetPointInColorIndex({}, 5), -1);
  EXPECT_FALSE(CWpCurve::GetCurveColorref({}, 5, &color));
}

// The shading of a gamma ray from the left edge: each depth takes the colour
// of its own value, so a clean sand between two shales is yellow all through.
TEST_F(Fills, EachDepthIsShadedInTheColourOfItsOwnValue) {
  std::vector<double> gr;
  for (int i = 0; i <= 100; ++i) gr.push_back(i >= 10 && i < 30 ? 45 : (i == 60 ? kFltMax : 100));
  CWpCurve* c = AddCurve("GR", gr);
  c->SetRight(150);
  CVEFILL* f = AddFill(c, "边框", 1);
  f->colors0 = {{0, 60, kYellow, false}, {60, 90, kYellow, false}, {90, 120, kBrown, false},
                {120, 150, kGrey, false}};
  f->block.shade0 = 1;
  const Canvas canvas = Paint("gamma");
  ASSERT_GT(canvas.image.width, 0);
  COLORREF shale = 0;
  ASSERT_TRUE(CWpCurve::GetCurveColorref(f->colors0, 100, &shale));
  const double left = track->BodyDraw().Normalized().left;
  for (double d : {1001.0, 1005.0, 1011.0, 1020.0, 1028.0, 1035.0, 1058.0, 1062.0, 1090.0}) {
    const double v = gr[static_cast<std::size_t>(d - 1000)];
    const COLORREF want = v == 45 ? kYellow : shale;
    const double xc = XOf(c, v);
    EXPECT_EQ(CheckRow(canvas, YOf(d), {left, xc}, 3,
                       [&](double x) { return x < xc ? want : canvas.AtDraw(x, YOf(d)); }),
              "")
        << "at " << d << " m";
  }
  // Across the missing sample nothing is shaded.
  const double xc = XOf(c, 100);
  EXPECT_EQ(canvas.AtDraw(left + (xc - left) / 2, YOf(1060)), kWhite);
}

// Runs are the stretches of samples the table covers: missing values and
// values outside the table end them.
TEST_F(Fills, ShadingRunsStopAtMissingAndUncoveredValues) {
  CWpCurve* c = AddCurve("GR", {5, 15, kFltMax, 25, 35, 12, 13});
  CVEFILL* f = AddFill(c, "边框", 1);
  f->colors0 = {{0, 10, RGB(255, 0, 0), false}, {10, 30, RGB(0, 0, 255), false}};
  Layout();
  EXPECT_EQ(f->shade0.values, (std::vector<std::vector<double>>{{5, 15}, {25}, {12, 13}}));
  EXPECT_EQ(f->shade0.depths, (std::vector<std::vector<double>>{{1000, 1001}, {1003}, {1005, 1006}}));
  ASSERT_EQ(f->shade0.polygons.size(), f->shade0.colors.size());
  EXPECT_TRUE(f->shade1.Empty());  // side 1 has no table
}

// Two shaded fills keep their own colours: the left one from its table, the
// right one from its.
TEST_F(Fills, EveryFillKeepsTheShadingOfItsOwnTables) {
  CWpCurve* c = AddCurve("GR", std::vector<double>(101, 50));
  CVEFILL* left = AddFill(c, "边框", 1);
  left->colors0 = {{0, 100, kYellow, false}};
  left->block.shade0 = 1;
  CVEFILL* right = AddFill(c, "边框", 2);
  right->colors1 = {{0, 100, kGrey, false}};
  right->block.shade1 = 1;
  const Canvas canvas = Paint("two-fills");
  ASSERT_GT(canvas.image.width, 0);
  const CRect body = track->BodyDraw().Normalized();
  const double xc = XOf(c, 50);
  EXPECT_EQ(CheckRow(canvas, YOf(1050), {double(body.left), double(body.right), xc}, 3,
                     [&](double x) { return x < xc ? kYellow : kGrey; }),
            "");
}

// Values beyond the scale shade up to the edge of the column and never into
// the neighbouring one.
TEST_F(Fills, ShadingStaysInsideTheColumn) {
  std::vector<double> v;
  for (int i = 0; i <= 100; ++i) v.push_back(i < 50 ? 130 : -30);
  CWpCurve* c = AddCurve("GR", v);
  CVEFILL* f = AddFill(c, "边框", 3);
  f->colors0 = {{-100, 200, kYellow, false}};
  f->colors1 = {{-100, 200, kGrey, false}};
  f->block.shade0 = f->block.shade1 = 1;
  const Canvas canvas = Paint("clip", 400);
  ASSERT_GT(canvas.image.width, 0);
  const CRect body = track->BodyDraw().Normalized();
  for (double d : {1020.0, 1080.0}) {
    EXPECT_EQ(CheckRow(canvas, YOf(d), {double(body.left), double(body.right)}, 3,
                       [&](double x) {
                         if (x < body.left || x > body.right) return kWhite;
                         return d < 1050 ? kYellow : kGrey;  // beyond the right end, then the left
                       }),
              "")
        << "at " << d << " m";
  }
  // Every fill is painted under a clip to the body.
  RecordingDC dc(false);
  track->Draw(&dc, nullptr, nullptr, nullptr);
  std::vector<bool> clipped;  // per saved level: clipped to the body
  int fills = 0;
  for (const DrawOp& op : dc.ops()) {
    if (op.kind == DrawOp::kSaveDC) clipped.push_back(!clipped.empty() && clipped.back());
    if (op.kind == DrawOp::kRestoreDC && !clipped.empty()) clipped.pop_back();
    if (op.kind == DrawOp::kClipRect && !clipped.empty() &&
        CRect{op.points[0].x, op.points[0].y, op.points[1].x, op.points[1].y}.Normalized() == body)
      clipped.back() = true;
    if (op.kind == DrawOp::kPolygon && op.brush) {
      ++fills;
      EXPECT_TRUE(!clipped.empty() && clipped.back()) << "fill " << fills << " is not clipped";
    }
  }
  EXPECT_GT(fills, 1);
}

// With the shading switched on but no colours to shade with, the brush
// fills the side.
TEST_F(Fills, ShadingWithoutColoursFallsBackToTheBrush) {
  CWpCurve* c = AddCurve("GR", std::vector<double>(101, 50));
  CVEFILL* f = AddFill(c, "边框", 1);
  f->block.shade0 = f->block.shade1 = 1;
  const Canvas canvas = Paint("fallback");
  ASSERT_GT(canvas.image.width, 0);
  const CRect body = track->BodyDraw().Normalized();
  const double xc = XOf(c, 50);
  EXPECT_EQ(CheckRow(canvas, YOf(1050), {double(body.left), double(body.right), xc}, 3,
                     [&](double x) { return x < xc ? kSide0 : kWhite; }),
            "");
}

TEST_F(Fills, SwitchingToALogScaleTakesTheTablesToLogarithms) {
  CWpCurve* c = AddCurve("RT", std::vector<double>(101, 50));
  c->SetLeft(1);
  c->SetRight(1000);
  CVEFILL* f = AddFill(c, "边框", 1);
  f->colors0 = {{100, 1000, kYellow, false}};
  c->LogScale(1);
  EXPECT_DOUBLE_EQ(f->colors0[0].lower, 2);
  EXPECT_DOUBLE_EQ(f->colors0[0].upper, 3);
  c->LogScale(0);
  EXPECT_DOUBLE_EQ(f->colors0[0].lower, 100);
}

}  // namespace
}  // namespace davodu::testing
