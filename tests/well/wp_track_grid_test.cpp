// The grid of a track: its settings and how they spread, and the depth and
// scale lines it draws.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

// Grid pens told apart by their colours.
constexpr COLORREF kMajDep = 0xA1, kMidDep = 0xA2, kMinDep = 0xA3;
constexpr COLORREF kMajScale = 0xB1, kMidScale = 0xB2, kMinScale = 0xB3;

ZULOGPEN Pen(COLORREF color) {
  ZULOGPEN pen;
  pen.color = color;
  pen.width = 10;
  return pen;
}

struct Line {
  CPoint a, b;
  COLORREF color;
};

std::vector<Line> Lines(const RecordingDC& dc) {
  std::vector<Line> out;
  for (const DrawOp& op : dc.OpsOf(DrawOp::kPolyline))
    if (op.points.size() == 2 && op.pen) out.push_back({op.points[0], op.points[1], op.pen->color});
  return out;
}

std::vector<Line> LinesOf(const RecordingDC& dc, std::set<COLORREF> colors) {
  std::vector<Line> out;
  for (const Line& l : Lines(dc))
    if (colors.count(l.color)) out.push_back(l);
  return out;
}

// A free track 2000 wide showing depths 1000 to 2000 at 1:500 (200 map
// units a metre); draw coordinates equal map coordinates.
class TrackGrid : public KitTest {
 protected:
  TrackGrid() {
    track = MakeRoot<CWpTrack>("CWpTrack");
    track->SetWidth(2000);
    track->SetTopDepth(1000);
    track->SetBottomDepth(2000);
    track->SetDepScl(200);
    const std::pair<void (CWpTrack::*)(const ZULOGPEN*), COLORREF> pens[] = {
        {&CWpTrack::SetMajDepPen, kMajDep},     {&CWpTrack::SetMidDepPen, kMidDep},
        {&CWpTrack::SetMinDepPen, kMinDep},     {&CWpTrack::SetMajScalePen, kMajScale},
        {&CWpTrack::SetMidScalePen, kMidScale}, {&CWpTrack::SetMinScalePen, kMinScale}};
    for (const auto& [set, color] : pens) {
      const ZULOGPEN pen = Pen(color);
      (track->*set)(&pen);
    }
  }

  const RecordingDC& Draw(CRect* clip = nullptr) {
    track->BuildControlNodePointArray();
    dc.Clear();
    track->Draw(&dc, nullptr, clip, nullptr);
    return dc;
  }
  // Depth lines by pen colour, keyed by depth.
  std::map<double, COLORREF> DepthLines(CRect* clip = nullptr) {
    std::map<double, COLORREF> out;
    for (const Line& l : LinesOf(Draw(clip), {kMajDep, kMidDep, kMinDep})) {
      EXPECT_EQ(l.a.y, l.b.y);
      EXPECT_EQ(l.a.x, track->DrawNode(0).x);
      EXPECT_EQ(l.b.x, track->DrawNode(1).x);
      out[track->GetTopDepth() + (track->DrawNode(0).y - l.a.y) / track->GetDepScl()] = l.color;
    }
    return out;
  }
  // Scale lines by pen colour, keyed by their value on the track's scale.
  std::vector<std::pair<double, COLORREF>> LogLines() {
    std::vector<std::pair<double, COLORREF>> out;
    const std::vector<Line> lines = LinesOf(Draw(), {kMajScale, kMinScale});
    const double lo = std::min(track->GetLeft(), track->GetRight());
    const double hi = std::max(track->GetLeft(), track->GetRight());
    const bool reversed = track->GetRight() < track->GetLeft();
    const double w = track->DrawNode(1).x - track->DrawNode(0).x;
    for (const Line& l : lines) {
      EXPECT_EQ(l.a.x, l.b.x);
      EXPECT_EQ(l.a.y, track->DrawNode(0).y);
      EXPECT_EQ(l.b.y, track->DrawNode(10).y);
      const double from_left = l.a.x - track->DrawNode(0).x;
      const double offset = reversed ? w - from_left : from_left;
      out.push_back({std::pow(10.0, std::log10(lo) + offset / w * std::log10(hi / lo)), l.color});
    }
    return out;
  }

  CWpTrack* track = nullptr;
  RecordingDC dc{false};
};

struct PenCount {
  int major, middle, minor;
};

PenCount Count(const std::map<double, COLORREF>& lines) {
  PenCount c{0, 0, 0};
  for (const auto& [depth, color] : lines) {
    (void)depth;
    c.major += color == kMajDep;
    c.middle += color == kMidDep;
    c.minor += color == kMinDep;
  }
  return c;
}

TEST_F(TrackGrid, DepthLinesTakeTheirPensByInterval) {
  const struct {
    const char* what;
    float min, mid, maj, top, bottom;
    PenCount want;
  } cases[] = {
      {"every 5th middle, every 25th major", 1, 5, 25, 1000, 2000, {39, 160, 800}},
      {"MajDep equal to MinDep: no major line", 1, 5, 1, 1000, 2000, {0, 199, 800}},
      // The lines keep to multiples of MajDep when the top is off them:
      // 1004 to 1099, major at 1025, 1050, 1075.
      {"a top between the major lines", 1, 5, 25, 1003, 1100, {3, 16, 77}},
      {"half-metre steps", 0.5f, 2.5f, 5, 1000, 1010, {1, 2, 16}},
      {"MinDep 0 draws none", 0, 5, 25, 1000, 2000, {0, 0, 0}},
      {"a negative MinDep draws none", -1, 5, 25, 1000, 2000, {0, 0, 0}},
      // 10^12 lines over the body: a grey smear, not drawn (and not walked).
      {"a step of almost nothing draws none", 1e-9f, 5, 25, 1000, 2000, {0, 0, 0}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.what);
    track->SetTopDepth(tc.top);
    track->SetBottomDepth(tc.bottom);
    track->SetMinDep(tc.min);
    track->SetMidDep(tc.mid);
    track->SetMajDep(tc.maj);
    const std::map<double, COLORREF> lines = DepthLines();
    const PenCount got = Count(lines);
    EXPECT_EQ(got.major, tc.want.major);
    EXPECT_EQ(got.middle, tc.want.middle);
    EXPECT_EQ(got.minor, tc.want.minor);
  }
  // Spot checks of the last drawn grid of the first kind.
  track->SetTopDepth(1000);
  track->SetBottomDepth(2000);
  track->SetMinDep(1);
  track->SetMidDep(5);
  track->SetMajDep(25);
  const std::map<double, COLORREF> lines = DepthLines();
  EXPECT_EQ(lines.at(1001), kMinDep);
  EXPECT_EQ(lines.at(1005), kMidDep);
  EXPECT_EQ(lines.at(1025), kMajDep);
  EXPECT_EQ(lines.at(1999), kMinDep);
  EXPECT_EQ(lines.count(1000), 0u);  // the body's own edges are not grid lines
  EXPECT_EQ(lines.count(2000), 0u);
  track->ShowDepth(0);
  EXPECT_TRUE(DepthLines().empty());
}

TEST_F(TrackGrid, DepthLinesStayInsideTheClip) {
  // 100 map units a line over 99000 m: only the 10 m of the clip are drawn.
  track->SetTopDepth(0);
  track->SetBottomDepth(99000);
  track->SetMinDep(0.5f);
  track->SetMidDep(5);
  track->SetMajDep(10);
  track->BuildControlNodePointArray();
  const int y0 = track->DrawNode(0).y;
  CRect clip{0, y0 - 200 * 50000, 2000, y0 - 200 * 50010};  // depths 50000 to 50010
  const std::map<double, COLORREF> lines = DepthLines(&clip);
  ASSERT_EQ(lines.size(), 21u);
  EXPECT_DOUBLE_EQ(lines.begin()->first, 50000);
  EXPECT_DOUBLE_EQ(lines.rbegin()->first, 50010);
  EXPECT_EQ(lines.begin()->second, kMajDep);
  // Lines denser than the draw units of the clip are not drawn at all.
  track->SetMinDep(0.001f);
  EXPECT_TRUE(DepthLines(&clip).empty());
}

TEST_F(TrackGrid, LinearScaleLines) {
  const struct {
    int divisions, every;
    int lines;
    std::vector<int> major_at;  // x of the major lines
  } cases[] = {
      {10, 5, 9, {1000}},
      {10, 3, 9, {}},  // 10 is no multiple of 3: all lines minor
      {4, 2, 3, {1000}},
      {10, 1, 9, {200, 400, 600, 800, 1000, 1200, 1400, 1600, 1800}},
      {1, 1, 0, {}},
  };
  track->ShowDepth(0);
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << tc.divisions << " divisions, major every " << tc.every);
    track->SetMinScale(tc.divisions);
    track->SetMajScale(tc.every);
    const std::vector<Line> lines = LinesOf(Draw(), {kMajScale, kMinScale});
    ASSERT_EQ(static_cast<int>(lines.size()), tc.lines);
    std::vector<int> major;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].a.x, static_cast<int>((i + 1) * 2000 / tc.divisions));
      EXPECT_EQ(lines[i].a.y, track->DrawNode(0).y);
      EXPECT_EQ(lines[i].b.y, track->DrawNode(10).y);
      if (lines[i].color == kMajScale) major.push_back(lines[i].a.x);
    }
    EXPECT_EQ(major, tc.major_at);
  }
  // The centre line belongs to the scale lines.
  track->ShowMid(1);
  std::vector<Line> centre = LinesOf(Draw(), {kMidScale});
  ASSERT_EQ(centre.size(), 1u);
  EXPECT_EQ(centre[0].a.x, 1000);
  track->ShowScale(0);
  EXPECT_TRUE(LinesOf(Draw(), {kMidScale, kMajScale, kMinScale}).empty());
}

// Whole mantissas of a decade, times a power of ten.
std::vector<double> Decade(double power, int from = 1, int to = 9) {
  std::vector<double> v;
  for (int m = from; m <= to; ++m) v.push_back(m * power);
  return v;
}

TEST_F(TrackGrid, LogarithmicScaleLines) {
  auto join = [](std::initializer_list<std::vector<double>> parts) {
    std::vector<double> all;
    for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  };
  const struct {
    float left, right;
    std::vector<double> values;
  } cases[] = {
      // The decade lines 1, 10, 100 and 1000 are major.
      {0.2f, 2000, join({Decade(0.1, 3), Decade(1), Decade(10), Decade(100), {1000}})},
      {2000, 0.2f, join({Decade(0.1, 3), Decade(1), Decade(10), Decade(100), {1000}})},
      {0.25f, 25, join({Decade(0.1, 3), Decade(1), {10, 20}})},
      {0.001f, 0.01f, Decade(0.001, 2)},
      {1, 10, Decade(1, 2)},
      {0.5f, 0.9f, {0.6, 0.7, 0.8}},
  };
  track->ShowDepth(0);
  track->LogScale(1);
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << tc.left << " to " << tc.right);
    track->SetLeft(tc.left);
    track->SetRight(tc.right);
    const auto lines = LogLines();
    ASSERT_EQ(lines.size(), tc.values.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const double v = tc.values[i];
      EXPECT_NEAR(lines[i].first, v, v * 0.01);
      const double mantissa = v / std::pow(10.0, std::floor(std::log10(v) + 1e-9));
      EXPECT_EQ(lines[i].second, std::fabs(mantissa - 1) < 1e-6 ? kMajScale : kMinScale);
    }
  }
}

// The decade that holds the right end is drawn up to that end: the 1000
// line of a 0.2-2000 resistivity grid is the one a reader looks for.
TEST_F(TrackGrid, LogarithmicGridDrawsTheTopDecadeUpToTheRightEnd) {
  track->ShowDepth(0);
  track->LogScale(1);
  track->SetLeft(0.2f);
  track->SetRight(2000);
  const auto lines = LogLines();
  ASSERT_FALSE(lines.empty());
  EXPECT_NEAR(lines.back().first, 1000, 10);
  EXPECT_EQ(lines.back().second, kMajScale);
  track->SetRight(1000);
  EXPECT_NEAR(LogLines().back().first, 900, 9) << "the right end itself is the frame";
}

TEST_F(TrackGrid, LogarithmicScaleWithoutAPositiveRangeDrawsNothing) {
  track->ShowDepth(0);
  const struct {
    float left, right;
  } cases[] = {{0, 2000}, {-1, 100}, {5, 5}, {2000, 0}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << tc.left << " to " << tc.right);
    // Values stored before log scale was switched on.
    track->LogScale(0);
    track->SetLeft(tc.left);
    track->SetRight(tc.right);
    track->LogScale(1);
    EXPECT_TRUE(LinesOf(Draw(), {kMajScale, kMinScale}).empty());
  }
  // While log scale is on such values are refused.
  track->SetLeft(1);
  track->SetLeft(0);
  EXPECT_FLOAT_EQ(track->GetLeft(), 1);
  track->SetRight(-5);
  EXPECT_FLOAT_EQ(track->GetRight(), 0);  // the last value stored above
}

TEST_F(TrackGrid, GridUnderContentsThenTitleThenFrame) {
  track->SetTitleText("GR");
  track->SetTitleHeight(600);
  track->SetHeadAlign(1);
  track->Reset();
  const RecordingDC& drawn = Draw();
  const std::vector<DrawOp>& ops = drawn.ops();
  auto first_index = [&](auto pred) {
    for (std::size_t i = 0; i < ops.size(); ++i)
      if (pred(ops[i])) return static_cast<int>(i);
    return -1;
  };
  const int grid = first_index([](const DrawOp& op) { return op.pen && op.pen->color == kMinDep; });
  const int text = first_index([](const DrawOp& op) { return op.kind == DrawOp::kText; });
  const int frame = first_index([&](const DrawOp& op) {
    return op.kind == DrawOp::kPolyline && op.pen && op.pen->color == track->GetBorderPen().color;
  });
  ASSERT_GE(grid, 0);
  EXPECT_LT(grid, text);
  EXPECT_LT(text, frame);
  // The title in the upper head and, with head align 1, in the lower head.
  std::vector<DrawOp> texts = drawn.OpsOf(DrawOp::kText);
  ASSERT_EQ(texts.size(), 2u);
  const CPoint* n = track->GetControlNodeDrawPointArray();
  EXPECT_EQ(texts[0].points[0], (CPoint{n[8].x, (n[4].y + n[2].y) / 2}));
  EXPECT_EQ(texts[1].points[0], (CPoint{n[8].x, (n[14].y + n[12].y) / 2}));
  EXPECT_EQ(texts[0].text, "GR");

  // A hidden track, or one outside the clip, draws nothing at all.
  CRect away{5000, 100, 6000, -100};
  EXPECT_TRUE(Draw(&away).ops().empty());
  track->SetVisible(0);
  EXPECT_TRUE(Draw().ops().empty());
}

TEST_F(TrackGrid, SelectionMarkIsAnInvertingFrameWithHandles) {
  track->SetTitleText("GR");
  track->SetTitleHeight(600);
  track->Reset();
  RecordingDC view_dc(true);
  track->DrawSelectedMark(&view_dc, nullptr, 1);
  const std::vector<DrawOp> ops = view_dc.ops();
  ASSERT_FALSE(ops.empty());
  int squares = 0;
  for (const DrawOp& op : ops) {
    ASSERT_TRUE(op.pen.has_value());
    EXPECT_EQ(op.pen->rop, kRopNotXor);
    if (op.pen->style == 990) ++squares;
  }
  EXPECT_EQ(squares, 4);
  // With the title hidden the handle on top of it goes.
  track->SetTitleVisible(0);
  track->Reset();
  view_dc.Clear();
  track->DrawSelectedMark(&view_dc, nullptr, 1);
  squares = 0;
  for (const DrawOp& op : view_dc.ops()) squares += op.pen->style == 990;
  EXPECT_EQ(squares, 3);
  // Files get no marks.
  RecordingDC file_dc(false);
  track->DrawSelectedMark(&file_dc, nullptr, 1);
  EXPECT_TRUE(file_dc.ops().empty());
}

TEST_F(TrackGrid, AutoDepthFollowsTheScale) {
  const struct {
    int scale;
    float min, mid, maj;
  } cases[] = {{500, 2, 10, 20}, {200, 1, 5, 10}, {100, 0.5f, 2.5f, 5}, {1000, 5, 25, 50},
               {2000, 10, 50, 100}};
  track->SetAutoDepth(1);
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << "1:" << tc.scale);
    track->SetDepthScale(tc.scale);
    EXPECT_FLOAT_EQ(track->GetMinDep(), tc.min);
    EXPECT_FLOAT_EQ(track->GetMidDep(), tc.mid);
    EXPECT_FLOAT_EQ(track->GetMajDep(), tc.maj);
  }
}

TEST_F(TrackGrid, SettersKeepTheirBounds) {
  track->SetMajDep(25.0005f);  // within 0.001: no change
  EXPECT_FLOAT_EQ(track->GetMajDep(), 25);
  track->SetMinDep(std::nanf(""));
  EXPECT_FLOAT_EQ(track->GetMinDep(), 1);
  track->SetMinScale(0);
  track->SetMajScale(-4);
  EXPECT_EQ(track->GetMinScale(), 1);
  EXPECT_EQ(track->GetMajScale(), 1);
  track->SetDepthScope(7);
  EXPECT_EQ(track->GetDepthScope(), 2);
  track->SetScaleScope(-3);
  EXPECT_EQ(track->GetScaleScope(), 0);
  track->SetSclLnScope(2);
  track->SetDepLnScope(1);
  EXPECT_EQ(track->GetSclLnScope(), 0);
  EXPECT_EQ(track->GetDepLnScope(), 0);
  ZULOGPEN out;
  track->GetMinDepPen(&out);
  EXPECT_EQ(out, Pen(kMinDep));
}

// A well of three tracks: two holding curves and one holding a depth scale.
class GridScope : public KitTest {
 protected:
  GridScope() {
    well = MakeRoot<CWpWell>("CWpWell");
    for (const char* content : {"CWpCurve", "CWpCurve", "CWpDepth"}) {
      auto* t = Make<CWpTrack>("CWpTrack");
      well->AddChild(t);
      t->AddChild(Make<CWpContent>(content), 0);
      tracks.push_back(t);
    }
  }
  CWpWell* well;
  std::vector<CWpTrack*> tracks;
};

TEST_F(GridScope, DepthSettingsSpreadByScope) {
  const struct {
    int scope;
    std::vector<float> min_dep;  // of the three tracks after tracks[0] set 2
  } cases[] = {{0, {2, 1, 1}}, {1, {2, 2, 1}}, {2, {2, 2, 2}}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << "scope " << tc.scope);
    for (CWpTrack* t : tracks) {
      t->SetDepthScope(0);
      t->SetMinDep(1);
    }
    tracks[0]->SetDepthScope(tc.scope);
    tracks[0]->SetMinDep(2);
    for (std::size_t i = 0; i < tracks.size(); ++i)
      EXPECT_FLOAT_EQ(tracks[i]->GetMinDep(), tc.min_dep[i]) << "track " << i;
  }
  // A value within 0.001 of the present one spreads nothing.
  tracks[2]->SetDepthScope(0);
  tracks[2]->SetMinDep(7);
  tracks[0]->SetMinDep(2.0004f);
  EXPECT_FLOAT_EQ(tracks[2]->GetMinDep(), 7);
  // Pens and the flag go along; the scope is copied too.
  const ZULOGPEN pen = Pen(0x123456);
  tracks[0]->SetMajDepPen(&pen);
  tracks[0]->ShowDepth(0);
  EXPECT_EQ(tracks[2]->GetMajDepPen(), pen);
  EXPECT_EQ(tracks[2]->IsShowDepth(), 0);
  EXPECT_EQ(tracks[2]->GetDepthScope(), 2);
  // Scale settings are not depth settings.
  EXPECT_EQ(tracks[2]->IsShowScale(), 1);
}

TEST_F(GridScope, ScaleSettingsSpreadButNotTheScaleItself) {
  tracks[0]->SetScaleScope(2);
  tracks[0]->LogScale(1);
  tracks[0]->SetMinScale(4);
  tracks[0]->SetLeft(2);
  tracks[0]->ShowMid(1);
  const ZULOGPEN pen = Pen(0x654321);
  tracks[0]->SetMinScalePen(&pen);
  for (CWpTrack* t : {tracks[1], tracks[2]}) {
    EXPECT_EQ(t->GetMinScalePen(), pen);
    EXPECT_EQ(t->GetScaleScope(), 2);
    EXPECT_EQ(t->IsLogScale(), 0);
    EXPECT_EQ(t->GetMinScale(), 10);
    EXPECT_FLOAT_EQ(t->GetLeft(), 0.2f);
    EXPECT_EQ(t->IsShowMid(), 0);
    EXPECT_FLOAT_EQ(t->GetMinDep(), 1);
  }
  // The receiving tracks took the scope: a change there spreads as well.
  const ZULOGPEN changed = Pen(0x111111);
  tracks[1]->SetMajScalePen(&changed);
  EXPECT_EQ(tracks[0]->GetMajScalePen(), changed);
  // Without a scope nothing spreads; a new scope spreads at once.
  tracks[0]->SetScaleScope(0);
  const ZULOGPEN own = Pen(0x222222);
  tracks[0]->SetMajScalePen(&own);
  EXPECT_EQ(tracks[2]->GetMajScalePen(), changed);
  tracks[0]->SetScaleScope(1);
  EXPECT_EQ(tracks[1]->GetMajScalePen(), own);
  EXPECT_EQ(tracks[2]->GetMajScalePen(), changed);
  // A scale-line scope re-applies the settings by the scale scope, and
  // stays 0 itself.
  tracks[1]->SetScaleScope(0);
  tracks[1]->SetMajScalePen(&changed);
  tracks[0]->SetSclLnScope(1);
  EXPECT_EQ(tracks[1]->GetMajScalePen(), own);
  EXPECT_EQ(tracks[0]->GetSclLnScope(), 0);
}

TEST_F(GridScope, WellStylesAboveTwoFrameTheLeftSides) {
  well->SetStyle(3, true);
  for (CWpTrack* t : tracks)
    for (int i = 0; i < CWpKit::kBorderCount; ++i)
      EXPECT_EQ(t->GetBorderVisible(i), i == 3 || i == 5 || i == 7 ? 1 : 0) << i;
}

}  // namespace
}  // namespace davodu::testing
