#include "davodu/host/graphics/graph_tool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "davodu/host/graphics/recording_dc.h"
#include "davodu/host/util/gbk.h"

namespace davodu {
namespace {

ZULOGPEN Pen(std::int32_t style, std::int32_t rop = kRopCopy, float width = 0) {
  ZULOGPEN pen;
  pen.style = style;
  pen.color = RGB(10, 20, 30);
  pen.width = width;
  pen.rop = rop;
  return pen;
}

ZULOGBRUSH Brush(std::int32_t style, std::int32_t rop = kRopCopy) {
  ZULOGBRUSH brush;
  brush.style = style;
  brush.color = RGB(200, 100, 50);
  brush.rop = rop;
  return brush;
}

TEST(GraphToolTest, LineStyleCodesMapToDashPatterns) {
  struct Case {
    std::int32_t style;
    std::size_t dashes;  // entries of the on/off pattern
    bool drawn;
  };
  const Case cases[] = {
      {kPenSolid, 0, true},      {kPenDash, 2, true},       {kPenDot, 2, true},
      {kPenDashDot, 4, true},    {kPenDashDotDot, 6, true}, {kPenNull, 0, false},
      {6, 0, true},              {991, 0, true},            {-3, 0, true},
      {1000, 0, true},
  };
  const CLineTool& tool = AfxGetLineTool();
  for (const Case& c : cases) {
    SCOPED_TRACE("style " + std::to_string(c.style));
    const DevicePen pen = tool.Resolve(Pen(c.style, kRopCopy, 30), 0.1);
    EXPECT_EQ(pen.dashes.size(), c.dashes);
    EXPECT_DOUBLE_EQ(pen.width, 3.0);
    EXPECT_EQ(pen.style, c.style);

    RecordingDC dc(false);
    tool.DrawLine(&dc, {0, 0}, {100, 50}, Pen(c.style), 0.1);
    ASSERT_EQ(dc.ops().size(), c.drawn ? 1u : 0u);
    if (c.drawn) {
      EXPECT_EQ(dc.ops()[0].points, (std::vector<CPoint>{{0, 0}, {100, 50}}));
    }
  }
}

TEST(GraphToolTest, DashLengthsFollowTheZoomButStayVisible) {
  const CLineTool& tool = AfxGetLineTool();
  for (std::int32_t style : {kPenDash, kPenDot, kPenDashDot, kPenDashDotDot}) {
    SCOPED_TRACE("style " + std::to_string(style));
    const auto near = tool.Resolve(Pen(style), 0.1).dashes;
    const auto far = tool.Resolve(Pen(style), 0.2).dashes;
    ASSERT_EQ(near.size(), far.size());
    for (std::size_t i = 0; i < near.size(); ++i) {
      EXPECT_GT(near[i], 1.0);
      EXPECT_DOUBLE_EQ(far[i], 2 * near[i]);
    }
    // Zoomed far out, no part of the pattern shrinks below one draw unit.
    for (double d : tool.Resolve(Pen(style), 1e-6).dashes) EXPECT_DOUBLE_EQ(d, 1.0);
  }
  // The dash of a dash-dot line is longer than its dot.
  const auto dash_dot = tool.Resolve(Pen(kPenDashDot), 0.1).dashes;
  EXPECT_GT(dash_dot[0], dash_dot[2]);
}

TEST(GraphToolTest, MarksAndNotXorReachOnlyInteractiveDevices) {
  const CLineTool& line = AfxGetLineTool();
  const CFillTool& fill = AfxGetFillTool();
  const std::vector<CPoint> square = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  struct Case {
    const char* name;
    std::function<void(CDC*)> draw;
    std::size_t ops_interactive;
    std::size_t ops_file;
  };
  const Case cases[] = {
      {"plain line", [&](CDC* dc) { line.DrawLine(dc, {0, 0}, {5, 5}, Pen(kPenDash), 1); }, 1, 1},
      {"not-xor line",
       [&](CDC* dc) { line.DrawLine(dc, {0, 0}, {5, 5}, Pen(kPenSolid, kRopNotXor), 1); }, 1, 0},
      {"handle mark polyline",
       [&](CDC* dc) { line.DrawPolyline(dc, square, Pen(kPenMarkHandle), 1); }, 1, 0},
      {"top-right handle mark",
       [&](CDC* dc) { line.DrawRect(dc, {0, 8, 8, 0}, Pen(kPenMarkTopRight), 1); }, 1, 0},
      {"picture outline mark",
       [&](CDC* dc) { line.DrawRect(dc, {0, 8, 8, 0}, Pen(kPenMarkPicture), 1); }, 1, 0},
      {"depth frame mark",
       [&](CDC* dc) { line.DrawRect(dc, {0, 8, 8, 0}, Pen(kPenMarkDepthFrame), 1); }, 1, 0},
      {"selection frame mark",
       [&](CDC* dc) { line.DrawRect(dc, {0, 8, 8, 0}, Pen(kPenMarkSelection), 1); }, 1, 0},
      {"plain hatch fill", [&](CDC* dc) { fill.FillPolygon(dc, square, Brush(kBrushHatchCross), 1); },
       1, 1},
      {"not-xor fill",
       [&](CDC* dc) { fill.FillRect(dc, {0, 8, 8, 0}, Brush(kBrushSolid, kRopNotXor), 1); }, 1, 0},
      {"not-xor segments",
       [&](CDC* dc) {
         fill.FillSegments(dc, {square, square}, Brush(kBrushSolid, kRopNotXor), 1);
       },
       1, 0},
      {"hollow fill", [&](CDC* dc) { fill.FillPolygon(dc, square, Brush(kBrushHollow), 1); }, 0, 0},
      {"null pen", [&](CDC* dc) { line.DrawRect(dc, {0, 8, 8, 0}, Pen(kPenNull), 1); }, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingDC view(true);
    RecordingDC file(false);
    c.draw(&view);
    c.draw(&file);
    EXPECT_EQ(view.ops().size(), c.ops_interactive);
    EXPECT_EQ(file.ops().size(), c.ops_file);
  }

  // On a view the mark keeps its code and gets a dotted pen of its own.
  RecordingDC view(true);
  line.DrawRect(&view, {0, 8, 8, 0}, Pen(kPenMarkSelection, kRopNotXor, 500), 1);
  ASSERT_EQ(view.ops().size(), 1u);
  const DevicePen& mark = *view.ops()[0].pen;
  EXPECT_EQ(mark.style, kPenMarkSelection);
  EXPECT_EQ(mark.rop, kRopNotXor);
  EXPECT_FALSE(mark.dashes.empty());
  EXPECT_NE(mark.dashes, line.Resolve(Pen(kPenDot), 1).dashes);
}

TEST(GraphToolTest, FillStylesResolve) {
  struct Case {
    std::int32_t style;
    bool fills;
    DeviceBrush::Kind kind;
    int hatch;
  };
  const Case cases[] = {
      {kBrushSolid, true, DeviceBrush::kSolid, 0},
      {kBrushHollow, false, DeviceBrush::kSolid, 0},
      {kBrushHatchHorizontal, true, DeviceBrush::kHatch, kBrushHatchHorizontal},
      {kBrushHatchBDiagonal, true, DeviceBrush::kHatch, kBrushHatchBDiagonal},
      {kBrushHatchDiagCross, true, DeviceBrush::kHatch, kBrushHatchDiagCross},
      {kBrushDefaultSolid, true, DeviceBrush::kSolid, 0},
      {kBrushSetNone, false, DeviceBrush::kSolid, 0},
      // Later entries of the set are the library's patterns; an entry the
      // library does not know is still a solid fill.
      {kBrushSetFirstPattern + 16, true, DeviceBrush::kPattern, 0},
      {kBrushSetFirstPattern + 998, true, DeviceBrush::kSolid, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("style " + std::to_string(c.style));
    DeviceBrush out;
    ASSERT_EQ(AfxGetFillTool().Resolve(Brush(c.style, kRopNotXor), 0.1, &out), c.fills);
    if (!c.fills) continue;
    EXPECT_EQ(out.kind, c.kind);
    EXPECT_EQ(out.color, RGB(200, 100, 50));
    EXPECT_EQ(out.rop, kRopNotXor);
    EXPECT_EQ(out.style, c.style);
    if (c.kind == DeviceBrush::kHatch) {
      EXPECT_EQ(out.hatch, c.hatch);
      EXPECT_GE(out.hatch_spacing, 1.0);
    }
  }
}

// A segment array is one polygon, filled and clipped alike: pieces closed
// at one edge make up their union without a second drawing.
TEST(GraphToolTest, SegmentArraysAreOnePolygon) {
  const std::vector<std::vector<CPoint>> pieces = {{{0, 10}, {5, 10}, {5, 6}, {0, 6}},
                                                   {{0, 4}, {7, 4}, {7, 0}, {0, 0}}};
  const std::vector<CPoint> joined = {{0, 10}, {5, 10}, {5, 6}, {0, 6},
                                      {0, 4},  {7, 4},  {7, 0}, {0, 0}};
  RecordingDC dc(false);
  AfxGetFillTool().FillSegments(&dc, pieces, Brush(kBrushSolid), 1);
  AfxGetClipTool().SetClip(&dc, pieces);
  ASSERT_EQ(dc.ops().size(), 2u);
  EXPECT_EQ(dc.ops()[0].kind, DrawOp::kPolygon);
  EXPECT_EQ(dc.ops()[0].points, joined);
  EXPECT_EQ(dc.ops()[1].kind, DrawOp::kClipPolygon);
  EXPECT_EQ(dc.ops()[1].points, joined);
}

TEST(GraphToolTest, TextInRectIsAlignedAndClipped) {
  // RecordingDC measures a line as tall as the font: 10 draw units here.
  ZULOGFONT font;
  font.height = 100;
  const double zoom = 0.1;
  struct Case {
    CRect rect;
    int align_h, align_v;
    int x, first_top;
  };
  const Case cases[] = {
      {{0, 100, 200, 0}, kAlignLeft, kAlignTop, 0, 100},
      {{0, 100, 200, 0}, kAlignCenter, kAlignMiddle, 100, 60},
      {{0, 100, 200, 0}, kAlignRight, kAlignBottom, 200, 20},
      {{200, 0, 0, 100}, kAlignRight, kAlignTop, 200, 100},  // given inside out
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("align " + std::to_string(c.align_h) + "," + std::to_string(c.align_v));
    RecordingDC dc;
    AfxGetTextTool().DrawTextInRect(&dc, c.rect, Gbk("深度\r\ncdef"), font, zoom, c.align_h,
                                    c.align_v);
    const auto& ops = dc.ops();
    ASSERT_EQ(ops.size(), 5u);
    EXPECT_EQ(ops[0].kind, DrawOp::kSaveDC);
    EXPECT_EQ(ops[1].kind, DrawOp::kClipRect);
    EXPECT_EQ(ops[1].points, (std::vector<CPoint>{{0, 100}, {200, 0}}));
    EXPECT_EQ(ops[4].kind, DrawOp::kRestoreDC);
    EXPECT_EQ(ops[4].level, ops[0].level);
    EXPECT_EQ(dc.Texts(), (std::vector<std::string>{Gbk("深度"), "cdef"}));
    for (int i = 0; i < 2; ++i) {
      const DrawOp& text = ops[2 + i];
      EXPECT_EQ(text.points[0], (CPoint{c.x, c.first_top - 10 * i}));
      EXPECT_EQ(text.align_h, c.align_h);
      EXPECT_EQ(text.align_v, kAlignTop);
      EXPECT_DOUBLE_EQ(text.font->height, 10.0);
    }
  }
}

struct Box {
  int left = INT_MAX, bottom = INT_MAX, right = INT_MIN, top = INT_MIN;
  void Add(CPoint p) {
    left = std::min(left, p.x);
    right = std::max(right, p.x);
    bottom = std::min(bottom, p.y);
    top = std::max(top, p.y);
  }
};

TEST(GraphToolTest, PointSymbolsAreCentredAndSized) {
  struct Case {
    std::int32_t style;
    bool filled;
  };
  const Case cases[] = {
      {kPointCircle, false}, {kPointSquare, false},      {kPointTriangle, false},
      {kPointCross, false},  {kPointX, false},           {kPointDiamond, false},
      {kPointFilledCircle, true}, {kPointStar, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("style " + std::to_string(c.style));
    ZULOGPOINT point;
    point.style = c.style;
    point.color = RGB(1, 2, 3);
    point.size = 100;

    RecordingDC dc(false);
    AfxGetPointTool().Draw(&dc, {1000, 2000}, point, 0.4);  // 40 draw units across
    ASSERT_FALSE(dc.ops().empty());
    Box box;
    for (const DrawOp& op : dc.ops()) {
      for (CPoint p : op.points) box.Add(p);
      EXPECT_EQ(op.brush.has_value(), c.filled);
      if (op.pen) {
        EXPECT_EQ(op.pen->color, point.color);
      }
      if (op.brush) {
        EXPECT_EQ(op.brush->color, point.color);
      }
    }
    EXPECT_NEAR(box.left, 980, 2);
    EXPECT_NEAR(box.right, 1020, 2);
    EXPECT_NEAR((box.left + box.right) / 2.0, 1000, 1);
    EXPECT_EQ(box.top, 2020);
    EXPECT_GE(box.bottom, 1980);

    // Fitted into a rectangle wider than tall: the height decides.
    RecordingDC fitted;
    AfxGetPointTool().DrawInRect(&fitted, {0, 60, 100, 0}, point);
    Box in;
    for (const DrawOp& op : fitted.ops()) {
      for (CPoint p : op.points) in.Add(p);
    }
    EXPECT_NEAR((in.left + in.right) / 2.0, 50, 1);
    EXPECT_EQ(in.top, 60);
    EXPECT_GE(in.bottom, 0);
    EXPECT_GE(in.left, 20);
    EXPECT_LE(in.right, 80);
  }
}

TEST(RecordingDCTest, ClipLevelsAndMeasure) {
  RecordingDC dc;
  EXPECT_EQ(dc.SaveDC(), 1);
  EXPECT_EQ(dc.SaveDC(), 2);
  EXPECT_EQ(dc.SaveDC(), 3);
  dc.RestoreDC(2);  // back to the state before the second save
  EXPECT_EQ(dc.SaveDC(), 2);
  dc.RestoreDC(-1);
  EXPECT_EQ(dc.SaveDC(), 2);
  dc.RestoreDC(7);  // never given: ignored
  EXPECT_EQ(dc.SaveDC(), 3);
  dc.RestoreDC(1);
  EXPECT_EQ(dc.SaveDC(), 1);

  const auto restores = dc.OpsOf(DrawOp::kRestoreDC);
  ASSERT_EQ(restores.size(), 4u);
  EXPECT_EQ(restores[1].level, -1);

  DeviceFont font;
  font.height = 12;
  const TextSize size = dc.MeasureText(Gbk("宋体x"), font);  // 5 GBK bytes
  EXPECT_DOUBLE_EQ(size.width, 30);
  EXPECT_DOUBLE_EQ(size.height, 12);
}

TEST(ScriptTextTest, MarkersSetScriptsBetweenCharacters) {
  using R = TextRun;
  const std::string shang = Gbk("上");
  // A two-byte character whose second byte is a backslash is no marker.
  const std::string slashed = "\xD5\x5C";
  const struct {
    std::string text;
    bool script;
    std::vector<TextRun> runs;
  } cases[] = {
      {"Es3", false, {{"Es3", R::kBaseline}}},
      {"Es\\3/" + shang, true, {{"Es", R::kBaseline}, {"3", R::kSubscript}, {shang, R::kSuperscript}}},
      {"K\\1\\-J", true, {{"K", R::kBaseline}, {"1", R::kSubscript}, {"-J", R::kBaseline}}},
      {"a/b/c", true, {{"a", R::kBaseline}, {"b", R::kSuperscript}, {"c", R::kBaseline}}},
      {"Ed" + slashed + "3", false, {{"Ed" + slashed + "3", R::kBaseline}}},
      {"/", true, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CScriptTextTool::Parse(c.text), c.runs) << c.text;
    EXPECT_EQ(CScriptTextTool::IsScriptText(c.text), c.script) << c.text;
  }
  RecordingDC dc;
  ZULOGFONT font;
  AfxGetScriptTextTool().DrawScriptText(&dc, CPoint{5, 6}, "H\\2/x", font, 1);
  const std::vector<DrawOp> texts = dc.OpsOf(DrawOp::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "H2x");
  EXPECT_EQ(texts[0].runs.size(), 3u);
  EXPECT_EQ(texts[0].align_h, kAlignCenter);
}

}  // namespace
}  // namespace davodu
