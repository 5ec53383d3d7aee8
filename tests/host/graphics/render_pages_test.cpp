// Paged rendering: how a drawing is cut into pages, and a curve drawn page
// by page through the window device loses no sample at the joins.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "davodu/host/graphics/recording_dc.h"
#include "davodu/host/graphics/render.h"
#include "davodu/host/graphics/window_dc.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"
#include "support/cli.h"
#include "support/kit_fixture.h"
#include "support/png.h"

namespace davodu::testing {
namespace {

constexpr COLORREF kLineColor = RGB(200, 0, 0);

class RenderPages : public KitTest {
 protected:
  // A curve of 1000-1100 m at 1:1000 (10 cm of paper), a zigzag sample
  // every half metre, its head above the body.
  CWpCurve* MakeCurve() {
    auto* c = MakeRoot<CWpCurve>("CWpCurve");
    c->SetTopDepth(1000);
    c->SetBottomDepth(1100);
    c->SetDepScl(100);
    c->SetWidth(2000);
    c->SetTitleHeight(1000);
    c->SetPosition(FLOATPOINT{0, 0});
    c->SetLeft(0);
    c->SetRight(100);
    ZULOGPEN pen = c->GetPen();
    pen.color = kLineColor;
    c->SetPen(&pen);
    std::vector<double> depths, values;
    for (int i = 0; i <= 200; ++i) {
      depths.push_back(1000 + 0.5 * i);
      values.push_back(i % 2 ? 80 : 20);
    }
    c->SetSamples(depths, values);
    c->BuildControlNodePointArray();
    return c;
  }
};

TEST_F(RenderPages, PagesRepeatTheHeadAndMeetEdgeToEdge) {
  CWpCurve* c = MakeCurve();
  RenderOptions options;
  options.pages = true;
  options.page_height = 4000;  // 40 mm
  options.head_bottom = c->MapNode(0).y;
  PagePlan plan;
  std::string error;
  ASSERT_TRUE(PlanPages(&doc, options, &plan, &error)) << error;
  EXPECT_EQ(plan.page.top - plan.page.bottom, 4000);
  EXPECT_EQ(plan.head.bottom, c->DrawNode(0).y);
  EXPECT_EQ(plan.head.top, c->DrawNode(4).y + 500);
  // A page: 5 mm of margin and 10 mm of head, 20 mm of body, 5 mm of
  // margin. The drawing below the head (100 mm of body and the margin; the
  // kit draws no lower head) takes six pages.
  ASSERT_EQ(plan.slices.size(), 6u);
  EXPECT_EQ(plan.slices.front().top, plan.head.bottom);
  for (std::size_t k = 0; k + 1 < plan.slices.size(); ++k) {
    EXPECT_EQ(plan.slices[k].top - plan.slices[k].bottom, 2000) << k;
    EXPECT_EQ(plan.slices[k].bottom, plan.slices[k + 1].top) << k;
  }
  EXPECT_EQ(plan.slices.back().bottom, c->DrawNode(10).y - 500);

  // A page too short for the head is refused, naming the head's height.
  options.page_height = 1500;
  EXPECT_FALSE(PlanPages(&doc, options, &plan, &error));
  EXPECT_NE(error.find("--page-height"), std::string::npos) << error;
}

// A page is as tall as the chart draws: the band of the lower head takes
// paper only when the chart has a lower head.
TEST_F(RenderPages, APageEndsWhereTheChartEnds) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  well->SetTopDepth(1000);
  well->SetBottomDepth(1100);
  well->AddTrack(0, -1);
  const std::string dir = ScratchDir("render-page-height");
  for (int head_align : {0, 1}) {
    SCOPED_TRACE(head_align);
    well->SetHeadAlign(head_align);
    well->Update();
    const std::string path = dir + "/chart" + std::to_string(head_align) + ".png";
    RenderOptions options;
    options.dpi = 254;  // a pixel a tenth of a millimetre: 10 map units
    std::string error;
    ASSERT_TRUE(RenderDocument(&doc, path, options, &error)) << error;
    const double top = well->MapNode(4).y;
    const double bottom = well->MapNode(head_align == 1 ? 15 : 10).y;
    ASSERT_GT(well->MapNode(10).y - well->MapNode(15).y, 500) << "a lower head band to leave out";
    const Image image = ReadPng(path);
    EXPECT_NEAR(image.height, (top - bottom + 2 * options.margin) / 10, 1.5);

    // Cut into pages, the last one ends at the same place.
    options.pages = true;
    PagePlan plan;
    ASSERT_TRUE(PlanPages(&doc, options, &plan, &error)) << error;
    EXPECT_EQ(plan.slices.back().bottom, std::lround(bottom - options.margin));
  }
}

// A document last shown at another zoom (a browser view) renders at its
// true size: every kit of the tree, not only the root, is laid out again.
TEST_F(RenderPages, ADocumentShownAtAnotherZoomRendersAtItsSize) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  well->SetTopDepth(1000);
  well->SetBottomDepth(1100);
  CWpTrack* track = well->AddTrack(0, -1);
  well->Update();
  doc.GetActiveMap()->SetZoomFactor(0.5);
  well->SetZoomFactor(0.5);
  well->BuildControlNodePointArray();
  ASSERT_EQ(track->DrawNode(1).x, static_cast<int>(std::lround(track->MapNode(1).x * 0.5)));
  PagePlan plan;
  std::string error;
  ASSERT_TRUE(PlanPages(&doc, RenderOptions{}, &plan, &error)) << error;
  EXPECT_EQ(track->DrawNode(1).x, static_cast<int>(std::lround(track->MapNode(1).x)));
  EXPECT_EQ(track->DrawNode(10).y, static_cast<int>(std::lround(track->MapNode(10).y)));
}

TEST_F(RenderPages, EverySampleIsDrawnAcrossPageJoins) {
  CWpCurve* c = MakeCurve();
  RenderOptions options;
  options.pages = true;
  options.page_height = 4000;
  options.head_bottom = c->MapNode(0).y;
  PagePlan plan;
  std::string error;
  ASSERT_TRUE(PlanPages(&doc, options, &plan, &error)) << error;
  const std::vector<CPoint>& points = c->GetDrawPoints();
  ASSERT_EQ(points.size(), 201u);

  // The curve's segments each page draws.
  std::vector<std::set<std::pair<int, int>>> drawn(plan.slices.size());  // indexes of segment starts
  for (std::size_t k = 0; k < plan.slices.size(); ++k) {
    RecordingDC dc(false);
    DrawWindow(&doc, &dc, plan.slices[k]);
    std::size_t points_drawn = 0;
    for (const DrawOp& op : dc.OpsOf(DrawOp::kPolyline)) {
      if (!op.pen || op.pen->color != kLineColor) continue;
      points_drawn += op.points.size();
      for (std::size_t i = 0; i + 1 < op.points.size(); ++i)
        drawn[k].insert({op.points[i].y, op.points[i + 1].y});
    }
    // A page holds its own part of the curve, not the whole of it.
    EXPECT_LT(points_drawn, points.size() / 2) << "page " << k + 1;
  }
  // Every segment is drawn on each page it reaches, so a segment crossing a
  // join is drawn on both pages and no sample goes missing.
  int crossing = 0;
  for (std::size_t i = 0; i + 1 < points.size(); ++i) {
    const int hi = std::max(points[i].y, points[i + 1].y);
    const int lo = std::min(points[i].y, points[i + 1].y);
    int pages = 0;
    for (std::size_t k = 0; k < plan.slices.size(); ++k) {
      const CRect& s = plan.slices[k];
      if (hi < s.bottom || lo > s.top) continue;
      ++pages;
      EXPECT_TRUE(drawn[k].count({points[i].y, points[i + 1].y})) << "segment " << i << " page " << k + 1;
    }
    EXPECT_GE(pages, 1) << "segment " << i;
    crossing += pages > 1;
  }
  EXPECT_GE(crossing, static_cast<int>(plan.slices.size()) - 2);
}

TEST(WindowDC, CutsPolylinesToTheSegmentsThatReachTheWindow) {
  RecordingDC inner(false);
  {
    WindowDC dc(&inner, CRect{0, 100, 100, 0});
    const CPoint line[] = {{50, 300}, {50, 200}, {50, 150}, {50, 50}, {50, -50}, {50, -150}, {50, -250}};
    DevicePen pen;
    pen.width = 2;
    dc.Polyline(line, 7, pen);
    const CPoint far[] = {{50, 500}, {60, 400}};
    dc.Polyline(far, 2, pen);
    const CRect off{200, 50, 300, 0};
    dc.Ellipse(off, &pen, nullptr);
    dc.Text(CPoint{50, 5000}, "far", DeviceFont{}, 0, kAlignLeft, kAlignTop);
  }
  const std::vector<DrawOp> lines = inner.OpsOf(DrawOp::kPolyline);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<CPoint>{{50, 150}, {50, 50}, {50, -50}}));
  EXPECT_TRUE(inner.OpsOf(DrawOp::kEllipse).empty());
  EXPECT_TRUE(inner.OpsOf(DrawOp::kText).empty());
  // The inner device was clipped to the window and given back as it was.
  const std::vector<DrawOp>& ops = inner.ops();
  ASSERT_GE(ops.size(), 3u);
  EXPECT_EQ(ops.front().kind, DrawOp::kSaveDC);
  EXPECT_EQ(ops[1].kind, DrawOp::kClipRect);
  EXPECT_EQ(ops.back().kind, DrawOp::kRestoreDC);
}

// Script text (a stratum code with a subscript) keeps its runs through the
// window: a page or a browser band shows the scripts as a whole render does.
TEST(WindowDC, PassesScriptTextOnWithItsRuns) {
  RecordingDC inner(false);
  const std::vector<TextRun> runs{{"Es", TextRun::kBaseline}, {"3", TextRun::kSubscript}};
  {
    WindowDC dc(&inner, CRect{0, 100, 100, 0});
    dc.ScriptText(CPoint{50, 50}, runs, DeviceFont{}, 0, kAlignCenter, kAlignMiddle);
    dc.ScriptText(CPoint{50, 5000}, runs, DeviceFont{}, 0, kAlignCenter, kAlignMiddle);
  }
  const std::vector<DrawOp> texts = inner.OpsOf(DrawOp::kText);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].runs, runs);
  EXPECT_EQ(texts[0].points, (std::vector<CPoint>{{50, 50}}));
}

}  // namespace
}  // namespace davodu::testing
