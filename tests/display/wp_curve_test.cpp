// The curve kit: value scales and wrap-around, the draw points and what is
// drawn of them (gaps, wrapped parts, clipping, styles), the head, picking,
// records with fills, fill commands and the text export.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "davodu/display/wp_curve.h"
#include "davodu/display/wp_depth.h"
#include "davodu/host/records/record_numbers.h"
#include "support/cli.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

constexpr COLORREF kLineColor = 0x0000C1;
constexpr COLORREF kWrapColor = 0x0000C2;
constexpr COLORREF kStyleColor = 0x0000C3;

class Curve : public KitTest {
 protected:
  // A free curve over 1000 to 1100 m, 100 map units a metre, 1000 wide at
  // x = 2000, scale 0..100; the pens are told apart by colour.
  CWpCurve* MakeCurve(std::vector<double> values, double first_depth = 1000, double step = 1) {
    auto* c = MakeRoot<CWpCurve>("CWpCurve");
    c->SetTopDepth(1000);
    c->SetBottomDepth(1100);
    c->SetDepScl(100);
    c->SetWidth(1000);
    c->SetPosition(FLOATPOINT{2000, 50000});
    c->SetLeft(0);
    c->SetRight(100);
    ZULOGPEN pen = c->GetPen();
    pen.color = kLineColor;
    c->SetPen(&pen);
    ZULOGPEN wrap = c->GetPenCur2();
    wrap.color = kWrapColor;
    c->SetPenCur2(wrap);
    ZULOGPEN style = c->GetPen2();
    style.color = kStyleColor;
    c->SetPen2(style);
    std::vector<double> depths;
    for (std::size_t i = 0; i < values.size(); ++i) depths.push_back(first_depth + step * i);
    c->SetSamples(depths, values);
    return c;
  }
  void Build(CWpCurve* c) { c->BuildControlNodePointArray(); }
  const std::vector<DrawOp>& DrawBody(CWpCurve* c) {
    Build(c);
    body_top_ = c->DrawNode(0).y;
    body_bottom_ = c->DrawNode(10).y;
    dc.Clear();
    c->Draw(&dc, nullptr, nullptr, nullptr);
    return dc.ops();
  }
  // Polylines drawn with a pen of the colour in the body (or, with head
  // set, in the head).
  std::vector<std::vector<CPoint>> Lines(COLORREF color, bool head = false) const {
    std::vector<std::vector<CPoint>> out;
    for (const DrawOp& op : dc.OpsOf(DrawOp::kPolyline)) {
      if (!op.pen || op.pen->color != color || op.points.empty()) continue;
      const int y = op.points[0].y;
      if ((y > body_top_ || y < body_bottom_) == head) out.push_back(op.points);
    }
    return out;
  }
  int X(const CWpCurve* c, double map_x) const { return c->GetTranslator().MapXToDrawX(map_x); }
  int Y(CWpCurve* c, double depth) const {
    return c->GetTranslator().MapYToDrawY(c->DepToMapY(depth));
  }

  RecordingDC dc;
  int body_top_ = 0, body_bottom_ = 0;
};

// Every coordinate handed to the device lies near the chart: the gap point
// (INT_MAX, INT_MAX) never reaches it.
void ExpectNoGapDrawn(const RecordingDC& dc) {
  for (const DrawOp& op : dc.ops())
    for (const CPoint& p : op.points) {
      EXPECT_LT(std::abs(p.x), 1000000) << op.kind;
      EXPECT_LT(std::abs(p.y), 1000000) << op.kind;
    }
}

TEST_F(Curve, ValueToMapXOnLinearLogAndWrappedScales) {
  struct Case {
    const char* what;
    float left, right, multiples;
    int log;
    double value;
    double expect_x;  // offset from node 0, in widths
    int part;         // -1: part left unchanged (value not mapped)
  };
  const Case cases[] = {
      {"middle", 0, 100, 1, 0, 50, 0.5, 1},
      {"left edge", 0, 100, 1, 0, 0, 0.0, 1},
      {"right edge", 0, 100, 1, 0, 100, 1.0, 1},
      {"just past the right edge is still main", 0, 100, 1, 0, 100.0005, 1.0, 1},
      {"beyond the right end wraps", 0, 100, 1, 0, 130, 0.3, 2},
      {"beyond the left end wraps", 0, 100, 1, 0, -20, 0.8, 0},
      {"two scales beyond the right end", 0, 100, 1, 0, 230, 0.3, 2},
      {"wrapped on a back-up scale twice as wide", 0, 100, 2, 0, 130, 0.15, 2},
      {"reversed scale", 100, 0, 1, 0, 25, 0.75, 1},
      {"reversed, beyond the low end", 100, 0, 1, 0, -20, 0.2, 2},
      {"log middle", 1, 1000, 1, 1, 31.6227766, 0.5, 1},
      {"log zero is not mapped", 1, 1000, 1, 1, 0, 0.0, -1},
      {"log scale with a left end of 0", 0, 1000, 1, 1, 10, 0.0, -1},
      {"equal ends", 50, 50, 1, 0, 50, 0.0, -1},
      {"missing value", 0, 100, 1, 0, -999.25, 0.0, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CWpCurve* k = MakeCurve({1, 2});
    // Switching to a log scale takes the remembered log ends (none yet);
    // the setters then refuse a log end at 0, which leaves it at 0.
    k->LogScale(c.log);
    k->SetLeft(c.left);
    k->SetRight(c.right);
    k->SetMultiples(c.multiples);
    Build(k);
    int part = -1;
    const double x = k->ValToMapX(c.value, &part);
    EXPECT_NEAR((x - k->MapNode(0).x) / k->GetWidth(), c.expect_x, 1e-5);
    EXPECT_EQ(part, c.part);
  }
}

TEST_F(Curve, SettersKeepTheScaleUsable) {
  CWpCurve* c = MakeCurve({1, 2});
  c->SetLeft(0.0005f);
  EXPECT_EQ(c->GetLeft(), 0);
  c->SetScanted(0);
  EXPECT_EQ(c->GetScanted(), 1);
  c->SetScanted(1);
  EXPECT_EQ(c->GetScanted(), 2);
  c->SetMultiples(0);
  EXPECT_EQ(c->GetMultiples(), 1.0f);
  c->SetFrequency(0);
  c->SetFrequency(60);  // wider than half the scale: refused
  EXPECT_EQ(c->GetFrequency(), 1.0f);
  c->SetValueRangeType(9);
  EXPECT_EQ(c->GetValueRangeType(), 2);
  c->SetScaleDecimalDigit(-3);
  EXPECT_EQ(c->GetScaleDecimalDigit(), 0);
  c->LogScale(1);
  const float left = c->GetLeft();
  c->SetLeft(0);
  EXPECT_EQ(c->GetLeft(), left);
}

// Scales a document may hold but the setters refuse: equal ends, a zero
// step, a log scale through 0. Nothing is divided by zero, nothing drawn
// lies off the chart, and the grid stays finite.
TEST_F(Curve, DegenerateScalesDrawNothingAndDivideByNothing) {
  struct Case {
    const char* what;
    std::function<void(CWpCurve*)> set;
    bool draws_body;
  };
  const Case cases[] = {
      {"left equals right", [](CWpCurve* c) { c->SetRight(0); }, false},
      {"both ends zero, recomputed steps", [](CWpCurve* c) { c->SetRight(0); c->LmtCve(); }, false},
      {"log scale with ends at or below 0",
       [](CWpCurve* c) {
         c->SetLeft(-10);
         c->LogScale(1);
       },
       false},
      {"square wave with a zero step",
       [](CWpCurve* c) {
         c->SetCurveType(CVT_SQUARE_LINE);
         c->SetRight(0.0f);
         c->LmtCve();  // frequency 0 on an empty scale
         c->SetRight(100);
       },
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CWpCurve* k = MakeCurve({10, 20, 30, 40});
    c.set(k);
    DrawBody(k);
    EXPECT_EQ(!Lines(kLineColor).empty(), c.draws_body);
    EXPECT_TRUE(std::isfinite(k->GetGridOrigin()));
    EXPECT_TRUE(std::isfinite(k->GetGridStep()));
    ExpectNoGapDrawn(dc);
    EXPECT_EQ(k->GetValue(1001.0f), c.draws_body ? 20.0f : -9999.0f);
  }
}

TEST_F(Curve, ValuesInsideTheScaleMakeOneRunAndOnePolyline) {
  CWpCurve* c = MakeCurve({10, 20, 30, 40});
  DrawBody(c);
  ASSERT_EQ(c->GetDrawSegments().size(), 1u);
  EXPECT_EQ(c->GetDrawSegments()[0].part, 1);
  const auto lines = Lines(kLineColor);
  ASSERT_EQ(lines.size(), 1u);
  ASSERT_EQ(lines[0].size(), 4u);
  EXPECT_EQ(lines[0][1], (CPoint{X(c, 2200), Y(c, 1001)}));
  EXPECT_EQ(lines[0][3], (CPoint{X(c, 2400), Y(c, 1003)}));
}

TEST_F(Curve, WrappedValuesRunFromEdgeToEdge) {
  CWpCurve* c = MakeCurve({50, 130, 50});
  c->ShowScale(1);
  DrawBody(c);
  std::vector<int> parts;
  for (const auto& s : c->GetDrawSegments()) parts.push_back(s.part);
  EXPECT_EQ(parts, (std::vector<int>{1, 2, 1}));
  const auto main = Lines(kLineColor);
  const auto wrapped = Lines(kWrapColor);
  ASSERT_EQ(main.size(), 2u);
  ASSERT_EQ(wrapped.size(), 1u);
  const int right = X(c, 3000), left = X(c, 2000);
  // The first run ends at the right edge halfway between samples 0 and 1,
  // the wrapped run starts there at the left edge, reaches 130 at 0.3 W.
  EXPECT_EQ(main[0].back(), (CPoint{right, Y(c, 1000.5)}));
  EXPECT_EQ(wrapped[0].front(), (CPoint{left, Y(c, 1000.5)}));
  EXPECT_EQ(wrapped[0][1], (CPoint{X(c, 2300), Y(c, 1001)}));
  EXPECT_EQ(wrapped[0].back(), (CPoint{left, Y(c, 1001.5)}));
  EXPECT_EQ(main[1].front(), (CPoint{right, Y(c, 1001.5)}));

  c->ShowScale(0);
  DrawBody(c);
  EXPECT_EQ(Lines(kLineColor).size(), 2u);
  EXPECT_TRUE(Lines(kWrapColor).empty());
}

TEST_F(Curve, AJumpAcrossTheWholeScaleCrossesTwiceAtTheThirds) {
  CWpCurve* c = MakeCurve({-20, 130}, 1000, 3);
  c->ShowScale(1);
  DrawBody(c);
  std::vector<int> parts;
  for (const auto& s : c->GetDrawSegments()) parts.push_back(s.part);
  EXPECT_EQ(parts, (std::vector<int>{0, 1, 2}));
  const auto main = Lines(kLineColor);
  ASSERT_EQ(main.size(), 1u);
  EXPECT_EQ(main[0], (std::vector<CPoint>{{X(c, 2000), Y(c, 1001)}, {X(c, 3000), Y(c, 1002)}}));
}

TEST_F(Curve, GapsAreNeverDrawnInAnyStyle) {
  const double gap = kFltMax;
  // 10, gap, 30, -999.25 (a null marker), 50, 60: the line breaks twice, and
  // the lone 30 is drawn as a short vertical stroke.
  for (int type = 0; type <= 6; ++type) {
    SCOPED_TRACE(type);
    CWpCurve* c = MakeCurve({10, gap, 30, -999.25, 50, 60});
    c->SetCurveType(type);
    c->SetRight(100);
    c->SetLeft(0);
    DrawBody(c);
    ExpectNoGapDrawn(dc);
    const int x30 = X(c, 2300), y30 = Y(c, 1002);
    if (type == 0 || type > 3) {
      const auto lines = Lines(kLineColor);
      ASSERT_EQ(lines.size(), 3u);
      EXPECT_EQ(lines[1], (std::vector<CPoint>{{x30, y30}, {x30, y30 + 100}}));
    }
    if (type % 3 == 1) {
      int body_points = 0;  // 10, 30, 50, 60
      for (const DrawOp& op : dc.OpsOf(DrawOp::kEllipse)) body_points += (op.points[0].y + op.points[1].y) / 2 <= body_top_;
      EXPECT_EQ(body_points, 4);
    }
    if (type % 3 == 2 && type > 0) {
      int bars = 0;
      for (const auto& l : Lines(kStyleColor)) bars += l.size() == 2 && l[0].y == l[1].y;
      EXPECT_EQ(bars, 4);
    }
    if (type % 3 == 0 && type > 0) {
      // Steps only between neighbours that both hold a value: 50 to 60.
      const auto steps = Lines(kStyleColor);
      EXPECT_EQ(steps.size(), 3u);  // one step of three strokes
    }
  }
}

TEST_F(Curve, SquareWaveStepsSitOnTheGridAndScantedThinsBars) {
  CWpCurve* c = MakeCurve({12, 37, 58});
  c->SetCurveType(CVT_SQUARE);
  c->SetFrequency(10);
  DrawBody(c);
  for (const auto& l : Lines(kStyleColor)) {
    if (l.size() != 2 || l[0].x != l[1].x) continue;  // vertical strokes only
    EXPECT_EQ((l[0].x - X(c, 2000)) % 100, 0) << l[0].x;
  }
  CWpCurve* b = MakeCurve({10, 20, 30, 40, 50});
  b->SetCurveType(CVT_BAR);
  b->SetScanted(1);  // every other sample
  DrawBody(b);
  int bars = 0;
  for (const auto& l : Lines(kStyleColor)) bars += l.size() == 2 && l[0].y == l[1].y;
  EXPECT_EQ(bars, 3);
}

TEST_F(Curve, DrawSegmentsAreLimitedToTheDepthsAndTheClipRectangle) {
  std::vector<double> values;
  for (int i = 0; i < 41; ++i) values.push_back(50);
  CWpCurve* c = MakeCurve(values, 990, 1);  // 990 to 1030 m; the kit starts at 1000
  c->SetBottomDepth(1020);
  Build(c);
  ASSERT_EQ(c->GetDrawSegments().size(), 1u);
  const auto& pts = c->GetDrawPoints();
  EXPECT_EQ(pts.front().y, Y(c, 1000));
  EXPECT_EQ(pts.back().y, Y(c, 1020));
  // A clip rectangle of 1005 to 1010 m keeps those points plus 100 units (1 m).
  const CRect clip{X(c, 2000), Y(c, 1005), X(c, 3000), Y(c, 1010)};
  ASSERT_EQ(c->BuildDrw(&clip), 1);
  const CDrawPointSegment s = c->GetDrawSegments()[0];
  // The segment starts one point before the first kept one, so that the
  // line enters the rectangle from outside.
  EXPECT_EQ(pts[s.first].y, Y(c, 1003));
  EXPECT_EQ(pts[s.first + s.count - 1].y, Y(c, 1011));
}

TEST_F(Curve, HeadShowsTitleUnitAndScaleValues) {
  struct Case {
    const char* what;
    float left, right;
    int digits, head_align;
    std::vector<std::string> texts;
  };
  const Case cases[] = {
      {"whole ends", 0, 100, 2, 0, {"GR", "[API]", "0", "100"}},
      {"fractions trimmed", 0.5f, 150.25f, 2, 0, {"GR", "[API]", "0.5", "150.25"}},
      {"no decimals", 0.5f, 150.25f, 0, 0, {"GR", "[API]", "0", "150"}},
      {"both heads", 0, 100, 2, 1, {"GR", "[API]", "0", "100", "GR", "[API]", "0", "100"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CWpCurve* k = MakeCurve({10, 20});
    k->SetTitleText("GR");
    k->SetUnitText("API");
    k->SetLeft(c.left);
    k->SetRight(c.right);
    k->SetScaleDecimalDigit(c.digits);
    k->SetHeadAlign(c.head_align);
    DrawBody(k);
    EXPECT_EQ(dc.Texts(), c.texts);
    int sample_lines = 0;
    for (const auto& l : Lines(kLineColor, true)) sample_lines += l.size() == 2;
    EXPECT_EQ(sample_lines, c.head_align == 1 ? 2 : 1);
  }
}

TEST_F(Curve, PickingMeasuresTheDistanceToTheDrawnCurve) {
  CWpCurve* c = MakeCurve({50, 50, 50, 50});
  Build(c);
  const int x = X(c, 2500), y = Y(c, 1001.5);
  struct Case {
    int type;
    CPoint at;
    float distance;
  };
  const int first = c->GetDrawPoints().front().y, last = c->GetDrawPoints().back().y;
  const Case cases[] = {
      {CVT_LINE, {x + 20, y}, 200},
      {CVT_POINT, {x + 30, y}, 10 * std::hypot(30.0f, 50.0f)},
      {CVT_LINE, {x, first + 1}, FLT_MAX},  // above the curve
      {CVT_LINE, {x, last - 1}, FLT_MAX},   // below it
  };
  for (const Case& k : cases) {
    c->SetCurveType(k.type);
    EXPECT_NEAR(c->PtOnCurve(k.at), k.distance, 1e-3 * k.distance) << k.type;
  }
  CWpCurve* one = MakeCurve({50});
  Build(one);
  EXPECT_EQ(one->PtOnCurve({x, y}), FLT_MAX);
}

CWpCurve* Reread(const std::string& data, CZuLayer* layer) {
  CZuMFile in;
  if (!in.OpenRead(data) || !in.ReadNextRecord()) return nullptr;
  auto* c = dynamic_cast<CWpCurve*>(AfxGetObjectFactory()->CreateObject("CWpCurve"));
  layer->AddObject(c);
  return c->ReadFromFile(&in) ? c : nullptr;
}

std::string Save(CWpCurve* c) {
  CZuMFile out;
  out.OpenWrite();
  c->SaveToFile(&out);
  return out.GetData();
}

TEST_F(Curve, RecordsReadBackWithSamplesAndFills) {
  CWpCurve* c = MakeCurve({10, kFltMax, 30});
  c->SetUnitText("ohm.m");
  c->SetCurveType(CVT_POINT_LINE);
  c->SetScanted(2);
  c->SetMultiples(2.5f);
  c->ShowScale(1);
  c->SetLimitAlign(1);
  c->SetFlagLineValue(42);
  c->SetFlagLineShow(true);
  ZULOGPOINT p2;
  p2.size = 77;
  c->SetPoint2(p2);
  c->SetScaleDecimalDigit(3);
  c->SetPenColorScope(4);
  c->SetFrequency(10);
  c->Operation(0);
  c->Operation(0);
  CVEFILL* f = c->FillAt(1);
  f->SetTarget(Gbk("中线"));
  f->block.sides = 3;
  f->colors1 = {{0, 10, 0xFF, true}, {10, 20, 0xFF00, false}};
  f->colors0 = {{5, 6, 0x123456, true}};
  c->LmtFll();

  CWpCurve* back = Reread(Save(c), layer);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->GetDepth(), c->GetDepth());
  EXPECT_EQ(back->GetValue(), c->GetValue());
  EXPECT_TRUE(back->IsDocumentSamples());
  EXPECT_EQ(back->GetUnitText(), "ohm.m");
  EXPECT_EQ(back->GetCurveType(), CVT_POINT_LINE);
  EXPECT_EQ(back->GetScanted(), 3);
  EXPECT_EQ(back->GetMultiples(), 2.5f);
  EXPECT_EQ(back->IsShowScale(), 1);
  EXPECT_EQ(back->GetLimitAlign(), 1);
  EXPECT_EQ(back->GetLeft(), 0);
  EXPECT_EQ(back->GetRight(), 100);
  EXPECT_EQ(back->GetFlagLineValue(), 42);
  EXPECT_TRUE(back->GetFlagLineShow());
  EXPECT_EQ(back->GetPoint2(), p2);
  EXPECT_EQ(back->GetScaleDecimalDigit(), 3);
  EXPECT_EQ(back->GetPenColorScope(), 4);
  ASSERT_EQ(back->FillCount(), 2);
  EXPECT_EQ(back->GetFillAt(), 1);
  for (int i = 0; i < 2; ++i) {
    SCOPED_TRACE(i);
    // Our own documents keep brushes and sides as written.
    EXPECT_EQ(std::memcmp(&back->FillAt(i)->block, &c->FillAt(i)->block, sizeof(CVEFILLBLOCK)), 0);
    EXPECT_EQ(back->FillAt(i)->colors1, c->FillAt(i)->colors1);
    EXPECT_EQ(back->FillAt(i)->colors0, c->FillAt(i)->colors0);
  }
  EXPECT_EQ(back->FillAt(1)->block.value, 50);
  EXPECT_EQ(back->GetFrequency(), 10);
  // Written again, the document is the same.
  EXPECT_EQ(DumpRecords(Save(back)), DumpRecords(Save(c)));
}

TEST_F(Curve, FillsOfOlderDocumentsSwapBrushesAndSides) {
  const struct {
    int sides, expect;
  } cases[] = {{0, 2}, {1, 1}, {2, 3}, {3, 0}, {-1, 0}};
  for (const auto& k : cases) {
    SCOPED_TRACE(k.sides);
    CWpCurve* c = MakeCurve({10, 20});
    c->Operation(0);
    c->FillAt(0)->block.sides = k.sides;
    const std::string data = Save(c);
    doc.SetVersionText("KESMap2.0");
    CWpCurve* back = Reread(data, layer);
    doc.SetVersionText(CZuMapFile::kCurrentVersionText);
    ASSERT_NE(back, nullptr);
    ASSERT_EQ(back->FillCount(), 1);
    EXPECT_EQ(back->FillAt(0)->block.sides, k.expect);
    EXPECT_EQ(back->FillAt(0)->block.brush0, c->FillAt(0)->block.brush1);
    EXPECT_EQ(back->FillAt(0)->block.brush1, c->FillAt(0)->block.brush0);
  }
}

// A document whose sample blocks are shorter than their count, or of
// unequal lengths, gives arrays of equal length holding only stored bytes.
TEST_F(Curve, ShortSampleBlocksAreReadAsFarAsBothGo) {
  CWpCurve* c = MakeCurve({10, 20, 30, 40});
  const std::string data = Save(c);
  CZuMFile in, patched;
  ASSERT_TRUE(in.OpenRead(data));
  patched.OpenWrite();
  while (in.ReadNextRecord()) {
    std::string tag;
    in.GetRecordElement(0, tag);
    if (in.GetRecordNumber() != kRecTagged || tag != "Cve") {
      CopyRecord(in, &patched);
      continue;
    }
    patched.SetRecordNumber(kRecTagged);
    for (int i = 0; i < in.GetRecordElementCount(); ++i) {
      if (i == 21 || i == 22) {
        const unsigned char* bytes = nullptr;
        std::size_t length = 0;
        in.GetRecordElement(i, bytes, length);
        patched.AddRecordElement(bytes, (i == 21 ? 3 : 2) * sizeof(double));
        continue;
      }
      switch (in.GetRecordElementType(i)) {
        case CZuMFile::kInt: { int v = 0; in.GetRecordElement(i, v); patched.AddRecordElement(v); break; }
        case CZuMFile::kFloat: { float v = 0; in.GetRecordElement(i, v); patched.AddRecordElement(v); break; }
        case CZuMFile::kText: { std::string v; in.GetRecordElement(i, v); patched.AddRecordElement(v); break; }
        default: {
          const unsigned char* b = nullptr;
          std::size_t n = 0;
          in.GetRecordElement(i, b, n);
          patched.AddRecordElement(b, n);
        }
      }
    }
    patched.WriteNextRecord();
  }
  CWpCurve* back = Reread(patched.GetData(), layer);
  ASSERT_NE(back, nullptr);
  EXPECT_EQ(back->GetDepth(), (std::vector<double>{1000, 1001}));
  EXPECT_EQ(back->GetValue(), (std::vector<double>{10, 20}));
}

TEST_F(Curve, FillCommandsEditTheListAndTheCurrentFill) {
  CWpCurve* c = MakeCurve({10, 20});
  c->Operation(0);
  ASSERT_EQ(c->FillCount(), 1);
  const CVEFILLBLOCK& b = c->FillAt(0)->block;
  EXPECT_EQ(c->FillAt(0)->Target(), Gbk("边框"));
  EXPECT_EQ(b.sides, 2);  // a new fill shades side 1 only
  EXPECT_EQ(b.brush1.color, 0xFF8080u);
  EXPECT_EQ(std::string(b.group0), Gbk("所有样式"));
  c->Operation(0);
  c->Operation(0);
  EXPECT_EQ(c->GetFillAt(), 3);
  c->Operation(7 + 1);  // select the first fill
  c->Operation(2);
  EXPECT_EQ(c->FillAt(0)->block.enabled, 0);
  EXPECT_EQ(c->FillAt(1)->block.enabled, 1);
  c->Operation(3);
  EXPECT_EQ(c->FillCount(), 2);
  EXPECT_EQ(c->GetFillAt(), 2);
  c->Operation(5);
  EXPECT_EQ(c->FillAt(0)->block.enabled + c->FillAt(1)->block.enabled, 0);
  c->Operation(4);
  EXPECT_EQ(c->FillAt(0)->block.enabled + c->FillAt(1)->block.enabled, 2);
  c->FillAt(0)->SetTarget(Gbk("指定值线"));
  c->SetRight(60);
  EXPECT_EQ(c->FillAt(0)->block.value, 30);
  c->Operation(6);
  EXPECT_EQ(c->FillCount(), 0);
  EXPECT_EQ(c->GetFillAt(), -1);
}

TEST_F(Curve, ExportWritesOneLinePerSample) {
  ScriptedDialogs dialogs;
  AfxSetDialogs(&dialogs);
  const std::string dir = ScratchDir("curve_export");
  dialogs.file_answers = {dir + "/gr.txt"};
  CWpCurve* c = MakeCurve({45.25, kFltMax, -999.25});
  c->SetTitleText("GR");
  c->SetUnitText(Gbk("无"));
  c->ExportContent();
  AfxSetDialogs(nullptr);
  EXPECT_EQ(dialogs.written, std::vector<std::string>{dir + "/gr.txt"});
  EXPECT_EQ(ReadFile(dir + "/gr.txt"), Gbk("深度[m] ") + "GR" +
                                           "\r\n 1000.000     45.250"
                                           "\r\n 1001.000  -9999.000"
                                           "\r\n 1002.000  -9999.000");
}

TEST_F(Curve, AnUnnamedCurveLoadsNothing) {
  CWpCurve* c = MakeCurve({10, 20});
  c->SetSource(CVE_WELLLOG);
  c->InitData(Gbk("未指定"), 2);
  EXPECT_EQ(c->GetName(), "WpCve");
  EXPECT_EQ(c->GetSampleCount(), 0);
  EXPECT_EQ(c->IsValid(), 0);
}


// Samples come through the well's gateway, trimmed to the kit's depths,
// and the scale follows the data within those depths.
TEST_F(Curve, SamplesAreLoadedThroughTheWellGatewayAndTrimmed) {
  CWellDataManager* wells = CWellDataManager::Instance();
  ASSERT_TRUE(wells->Open(ScratchDb(ScratchDir("curve-gateway"))));
  CurveImport gr{"GR", "", {}, {}};
  for (int i = 0; i <= 20; ++i) {
    gr.depths.push_back(990 + i);
    gr.values.push_back(i == 12 ? kFltMax : 10 + i);
  }
  ASSERT_TRUE(wells->ImportCurves("W1", {gr}));
  auto* well = MakeRoot<CWpWell>("CWpWell");
  well->SetName("W1");
  well->SetTopDepth(1000);
  well->SetBottomDepth(1005);
  well->InitDataTable();
  auto* track = Make<CWpTrack>("CWpTrack");
  well->AddChild(track);
  auto* c = Make<CWpCurve>("CWpCurve");
  track->AddChild(c, 0);
  c->SetRight(1);  // an increasing scale
  c->SetSource(CVE_WELLLOG);
  c->InitData("GR", 2);
  EXPECT_EQ(c->GetName(), "GR");
  EXPECT_EQ(c->GetDepth(), (std::vector<double>{1000, 1001, 1002, 1003, 1004, 1005}));
  EXPECT_EQ(c->GetValue()[2], kFltMax);  // a missing value inside stays
  EXPECT_EQ(c->GetLeft(), 20);
  EXPECT_EQ(c->GetRight(), 25);
  EXPECT_FALSE(c->IsDocumentSamples());
  wells->Close();
}

// The curve's own SetType sets its drawing style; the depth scale keeps no
// title scope; both selection marks draw their handles only when asked.
TEST_F(Curve, NamedSettersAndTheSelectionMarkHandles) {
  CWpCurve* c = MakeCurve({10, 20, 30});
  c->SetType(CVT_SQUARE);
  EXPECT_EQ(c->GetType(), CVT_SQUARE);
  EXPECT_EQ(c->GetCurveType(), CVT_SQUARE);
  EXPECT_EQ(static_cast<CWpContent*>(c)->GetType(), 0) << "the content type is another field";
  c->SetTtlFontSizeApply(1);
  EXPECT_EQ(c->GetTtlFontSizeApply(), 1u);
  EXPECT_EQ(c->GetTtlFontNameApply(), 0u);

  auto* depth = MakeRoot<CWpDepth>("CWpDepth");
  depth->SetTitleScope(2);
  EXPECT_EQ(depth->GetTitleScope(), 0);

  auto handles = [&](auto* kit, int flag) {
    kit->BuildControlNodePointArray();
    dc.Clear();
    kit->DrawSelectedMark(&dc, nullptr, flag);
    int squares = 0;
    for (const DrawOp& op : dc.ops())
      if (op.pen && op.pen->style == kPenMarkHandle) ++squares;
    return squares;
  };
  for (int flag : {0, 1}) {
    EXPECT_EQ(handles(c, flag), 4 * flag) << "curve, handles " << flag;
    EXPECT_EQ(handles(depth, flag), 4 * flag) << "depth scale, handles " << flag;
  }
  // Without handles the curve is not drawn selected either.
  c->BuildControlNodePointArray();
  dc.Clear();
  c->DrawSelectedMark(&dc, nullptr, 0);
  EXPECT_TRUE(Lines(kLineColor).empty());
}

// A curve added to a track of a well with data reads the well's curve of
// its title's name, takes both colour tables in turn, and keeps a square-wave
// step the user set when its data is reloaded.
TEST_F(Curve, AddedCurvesLoadTheirDataAndKeepTheUsersStep) {
  CWellDataManager* wells = CWellDataManager::Instance();
  ASSERT_TRUE(wells->Open(ScratchDb(ScratchDir("curve-added"))));
  CurveImport gr{"GR", "", {}, {}};
  for (int i = 0; i <= 20; ++i) {
    gr.depths.push_back(1000 + i);
    gr.values.push_back(i * 5);
  }
  ASSERT_TRUE(wells->ImportCurves("W1", {gr}));
  auto* well = MakeRoot<CWpWell>("CWpWell");
  well->SetName("W1");
  well->SetTopDepth(1000);
  well->SetBottomDepth(1020);
  well->InitDataTable();
  ASSERT_EQ(well->WellExist(), 1);
  CWpTrack* track = well->AddTrack(0, -1);
  CWpCurve* first = track->AddCurve("SP", 0, -1);
  CWpCurve* gr_kit = track->AddCurve("GR", 0, -1);
  ASSERT_NE(gr_kit, nullptr);
  EXPECT_EQ(gr_kit->GetName(), "GR");
  EXPECT_EQ(gr_kit->GetSource(), CVE_WELLLOG);
  EXPECT_EQ(gr_kit->GetSampleCount(), 21);
  EXPECT_EQ(first->GetName(), "SP") << "named after its title, though the well has no SP";
  EXPECT_EQ(first->GetSampleCount(), 0);
  // The second curve of a track: slot 1 of both tables.
  EXPECT_EQ(gr_kit->GetPen().color, 0x0000FFu);
  EXPECT_EQ(gr_kit->GetTitleFont().color, 0x0000FFu);
  EXPECT_EQ(gr_kit->GetUnitFont().color, 0x0000FFu);
  EXPECT_EQ(gr_kit->GetLimitFont().color, 0x0000FFu);
  EXPECT_EQ(gr_kit->GetPen2().color, 0x000080u);
  EXPECT_EQ(gr_kit->GetPoint().color, 0x000080u);

  gr_kit->SetValueRangeType(0);
  gr_kit->SetLeft(0);
  gr_kit->SetRight(100);
  gr_kit->SetFrequency(10);
  ASSERT_FLOAT_EQ(gr_kit->GetFrequency(), 10);
  well->ResetData();
  EXPECT_EQ(gr_kit->GetSampleCount(), 21);
  EXPECT_FLOAT_EQ(gr_kit->GetFrequency(), 10) << "the user's step survives a reload";

  // A well without data: the curve has no source and loads nothing.
  auto* dry = MakeRoot<CWpWell>("CWpWell");
  dry->SetName("NOWHERE");
  dry->InitDataTable();
  CWpCurve* none = dry->AddTrack(0, -1)->AddCurve("GR", 0, -1);
  EXPECT_EQ(none->GetSource(), 0);
  EXPECT_EQ(none->GetName(), "GR");
  EXPECT_EQ(none->GetSampleCount(), 0);
  wells->Close();
}

// Changing the depth type of a chart whose data is loaded reloads every kit
// in the new reference; a curve that is not in the database keeps its name.
TEST_F(Curve, ADepthTypeChangeReloadsTheCurvesInTheNewReference) {
  CWellDataManager* wells = CWellDataManager::Instance();
  ASSERT_TRUE(wells->Open(ScratchDb(ScratchDir("curve-depth-type"))));
  CurveImport gr{"GR", "", {}, {}};
  for (int i = 0; i <= 300; ++i) {
    gr.depths.push_back(900 + i);
    gr.values.push_back(10 + i % 7);
  }
  ASSERT_TRUE(wells->ImportCurves("W1", {gr}));
  WellInfo info;
  ASSERT_TRUE(wells->GetWellInfo("W1", &info));
  info.kb = 100;  // altitude depth = measured depth - 100 in a vertical well
  ASSERT_TRUE(wells->SetWellInfo(info));

  auto* well = MakeRoot<CWpWell>("CWpWell");
  well->SetName("W1");
  well->SetTopDepth(1000);
  well->SetBottomDepth(1010);
  auto* track = Make<CWpTrack>("CWpTrack");
  well->AddChild(track);
  auto* c = Make<CWpCurve>("CWpCurve");
  auto* missing = Make<CWpCurve>("CWpCurve");
  track->AddChild(c, 0);
  track->AddChild(missing, 0);
  for (CWpCurve* k : {c, missing}) k->SetSource(CVE_WELLLOG);
  c->InitData("GR", 2);
  missing->InitData("NOPE", 2);
  well->LoadChartData();
  ASSERT_EQ(c->GetSampleCount(), 11);
  EXPECT_EQ(c->GetDepth().front(), 1000);

  well->SetDepthType(CWpWell::kDepthAltitude);
  ASSERT_EQ(c->GetSampleCount(), 11);
  EXPECT_NEAR(c->GetDepth().front(), 1000, 1e-9) << "altitude 1000 m is 1100 m measured";
  EXPECT_EQ(c->GetValue().front(), 10 + 200 % 7);
  EXPECT_EQ(missing->GetName(), "NOPE");
  EXPECT_EQ(missing->GetSource(), CVE_WELLLOG);
  wells->Close();
}

}  // namespace
}  // namespace davodu::testing
