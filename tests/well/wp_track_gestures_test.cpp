// Resizing and reordering tracks with the mouse, and the track's menu,
// driven through the view as a host does.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "davodu/display/wp_curve.h"
#include "davodu/host/objects/chart_view.h"
#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

// A well of three empty tracks A, B and C, 2000 wide each, from x 0 to
// 6000; draw coordinates equal map coordinates.
class TrackGestures : public KitTest {
 protected:
  TrackGestures() {
    AfxSetDialogs(&dialogs);
    Build();
  }
  ~TrackGestures() override { AfxSetDialogs(nullptr); }

  void Build() {
    layer->DeleteAllObjects();
    well = MakeRoot<CWpWell>("CWpWell");
    well->SetIsColumnView(true);
    tracks.clear();
    for (const char* name : {"A", "B", "C"}) {
      CWpTrack* t = well->AddTrack(0, -1);
      t->SetName(name);
      tracks.push_back(t);
    }
    well->SetWidth(6000);
    well->Update();
    dc.Clear();
  }
  std::string Order() const {
    std::string out;
    for (const CWpKit* k : well->GetChildren()) out += k->GetName();
    return out;
  }
  static CPoint BodyMiddle(const CWpKit* k) {
    return {(k->DrawNode(0).x + k->DrawNode(1).x) / 2, (k->DrawNode(0).y + k->DrawNode(10).y) / 2};
  }
  static double Snapped(double v) { return std::floor(v / 50) * 50; }
  void Drag(CPoint from, CPoint to) {
    ASSERT_NE(view.LButtonDown(from), nullptr);
    view.MouseMove(to);
    view.LButtonUp(to);
  }

  ScriptedDialogs dialogs;
  RecordingDC dc{true};
  ChartView view{&doc, &dc};
  CWpWell* well = nullptr;
  std::vector<CWpTrack*> tracks;
};

TEST_F(TrackGestures, TheWellStandsAsExpected) {
  ASSERT_EQ(Order(), "ABC");
  for (int i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(tracks[i]->MapNode(0).x, 2000.0 * i);
    EXPECT_FLOAT_EQ(tracks[i]->GetWidth(), 2000);
  }
}

TEST_F(TrackGestures, DraggingAnEdgeResizesInStepsOf50) {
  const struct {
    const char* what;
    int node;   // of track C
    int dx, dy;
    float width;       // C's width after the release
    double right;      // C's right edge after the release
  } cases[] = {
      {"right edge 1234 out", 7, 1234, 0, 3200, 7200},
      {"right edge 1234 in", 7, -1234, 0, 750, 4750},
      {"left edge 1234 out", 6, -1234, 0, 3200, 6000},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.what);
    Build();
    CWpTrack* c = tracks[2];
    const CPoint from = c->DrawNode(tc.node);
    ASSERT_EQ(view.LButtonDown(from), c);
    ASSERT_EQ(c->GetEditMode(), EM_RESIZE);
    dc.Clear();
    view.MouseMove({from.x + tc.dx, from.y + tc.dy});
    // The selection mark went off at the old edge and on at the new one.
    const int edge = tc.node == 7 ? 4000 + static_cast<int>(tc.width) : 6000 - static_cast<int>(tc.width);
    const std::vector<DrawOp> marks = dc.OpsOf(DrawOp::kPolyline);
    ASSERT_FALSE(marks.empty());
    EXPECT_TRUE(std::any_of(marks.begin() + static_cast<long>(marks.size() / 2), marks.end(),
                            [&](const DrawOp& op) {
                              return op.pen->style == kPenMarkDepthFrame &&
                                     op.points[0].x == edge && op.points[1].x == edge;
                            }));
    view.LButtonUp({from.x + tc.dx, from.y + tc.dy});
    EXPECT_FLOAT_EQ(c->GetWidth(), tc.width);
    EXPECT_DOUBLE_EQ(c->MapNode(1).x, tc.right);
    EXPECT_FLOAT_EQ(tracks[1]->GetWidth(), 2000);
    EXPECT_FALSE(view.HasCapture());
  }
}

// Saving writes the well's anchor (the top centre of its span) as node 0
// of its record, but the chart being edited keeps its layout: a drag after
// a save ends as it would without the save.
TEST_F(TrackGestures, SavingLeavesTheLayoutAsItIs) {
  auto drag_c = [&](bool save) {
    Build();
    well->SetIsColumnView(false);
    well->Update();
    const FLOATPOINT node0 = well->MapNode(0);
    if (save) {
      std::string bytes;
      bytes = doc.SaveToData();
      EXPECT_EQ(well->MapNode(0), node0);
      CZuMapFile copy;
      std::string error;
      EXPECT_TRUE(copy.ReadFromData(bytes, "copy", &error)) << error;
    }
    const CPoint from = tracks[2]->DrawNode(7);
    view.LButtonDown(from);
    view.MouseMove({from.x + 1234, from.y});
    view.LButtonUp({from.x + 1234, from.y});
    std::vector<double> edges;
    for (const CWpTrack* t : tracks) edges.push_back(t->MapNode(0).x);
    edges.push_back(tracks[2]->MapNode(1).x);
    return edges;
  };
  const std::vector<double> unsaved = drag_c(false);
  EXPECT_EQ(drag_c(true), unsaved);
}

TEST_F(TrackGestures, DraggingTheHeadEdgesSetsEveryTracksHead) {
  const struct {
    const char* what;
    int node, handle;
  } cases[] = {{"top of the title band", 8, CN_TITLE_TOP}, {"top of the client band", 9, CN_CLIENT_TOP}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.what);
    Build();
    // Titles give the tracks a title band to take hold of.
    for (CWpTrack* t : tracks) t->SetTitleText(t->GetName());
    well->Update();
    CWpTrack* b = tracks[1];
    const CPoint from = b->DrawNode(tc.node);
    ASSERT_EQ(view.LButtonDown(from), b);
    ASSERT_EQ(b->GetSelectedHandle(), tc.handle);
    const double band = tc.handle == CN_TITLE_TOP ? b->GetTitleHeight() : b->GetClientHeight();
    view.MouseMove({from.x, from.y + 1234});
    view.LButtonUp({from.x, from.y + 1234});
    for (CWpTrack* t : tracks) {
      const double now = tc.handle == CN_TITLE_TOP ? t->GetTitleHeight() : t->GetClientHeight();
      EXPECT_DOUBLE_EQ(now, Snapped(band + 1234)) << t->GetName();
    }
  }
}

TEST_F(TrackGestures, DraggingATrackMovesItBetweenTheOthers) {
  const struct {
    int which;
    double to_x;  // map X the head centre is dragged to
    const char* order;
  } cases[] = {
      {0, 5500, "BCA"},  // past the last centre: to the end
      {0, 9000, "BCA"},  // beyond the well: held inside it
      {2, 2500, "ACB"},  // between the centres of A and B
      {2, -800, "CAB"},  // left of everything
      {0, 1300, "ABC"},  // not past B's centre: stays
      {1, 3500, "ABC"},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << tracks[tc.which]->GetName() << " to " << tc.to_x);
    Build();
    CWpTrack* t = tracks[tc.which];
    const CPoint from = BodyMiddle(t);
    const int dx = static_cast<int>(tc.to_x - (t->MapNode(0).x + 1000));
    dc.Clear();
    Drag(from, {from.x + dx, from.y});
    EXPECT_EQ(Order(), tc.order);
    // Every drop-target mark drawn during the drag was taken off again.
    int marks = 0;
    for (const DrawOp& op : dc.OpsOf(DrawOp::kPolyline))
      marks += op.pen->rop == kRopNotXor && op.pen->style != kPenMarkDepthFrame;
    EXPECT_EQ(marks % 2, 0);
  }
}

// A click in a curve track picks the curve nearest to it, or the track when
// every curve is far; a curve's title band picks that curve.
TEST_F(TrackGestures, AClickPicksTheNearestCurveOrTheTrack) {
  well->SetTopDepth(1000);
  well->SetBottomDepth(1010);
  CWpTrack* track = tracks[1];
  CWpCurve* curves[2];
  const double values[2] = {20, 80};  // a fifth and four fifths of the scale
  for (int i = 0; i < 2; ++i) {
    curves[i] = track->AddCurve(i ? "RIGHT" : "LEFT", 0, -1);
    ASSERT_NE(curves[i], nullptr);
    curves[i]->SetLeft(0);
    curves[i]->SetRight(100);
    std::vector<double> depths, v;
    for (int d = 1000; d <= 1010; ++d) {
      depths.push_back(d);
      v.push_back(values[i]);
    }
    curves[i]->SetSamples(depths, v);
  }
  well->Update();
  const int left = track->DrawNode(0).x, right = track->DrawNode(1).x;
  const int y = (track->DrawNode(0).y + track->DrawNode(10).y) / 2;
  const struct {
    double at;  // fraction of the track's width
    CZuObject* picked;
  } cases[] = {
      {0.21, curves[0]}, {0.25, curves[0]}, {0.79, curves[1]}, {0.75, curves[1]}, {0.5, track},
  };
  for (const auto& c : cases) {
    const CPoint p{left + static_cast<int>(c.at * (right - left)), y};
    EXPECT_EQ(well->HitTest(p), c.picked) << "at " << c.at << " of the width";
  }
  // The title band of each curve picks that curve wherever the other lies.
  for (CWpCurve* c : curves) {
    const CPoint title{(c->DrawNode(2).x + c->DrawNode(5).x) / 2,
                       (c->DrawNode(2).y + c->DrawNode(5).y) / 2};
    EXPECT_EQ(well->HitTest(title), c) << c->GetTitleText();
  }
}

TEST_F(TrackGestures, MenuOffersEveryContentKindInsideThenBeside) {
  const std::vector<MenuItem> menu = view.RightClick(BodyMiddle(tracks[1]));
  ASSERT_GE(menu.size(), 22u + 1 + 44);
  for (int k = 1; k <= 22; ++k) {
    EXPECT_EQ(menu[static_cast<std::size_t>(k - 1)].id, 8073u + static_cast<unsigned>(k));
    EXPECT_EQ(menu[static_cast<std::size_t>(k - 1)].text, ContentKindName(k));
  }
  EXPECT_EQ(menu[0].text, Gbk("曲线"));
  EXPECT_EQ(menu[21].text, Gbk("深度"));
  EXPECT_EQ(menu[22].id, 0u);  // a separator before the in-well items
  EXPECT_EQ(menu[22].text, "");
  EXPECT_EQ(menu[23].id, 8028u);
  EXPECT_EQ(menu[23].text, Gbk("曲线道"));
  EXPECT_TRUE(std::any_of(menu.begin(), menu.end(),
                          [](const MenuItem& m) { return m.id == kCmdDelete; }));
  // A content item fills the track.
  EXPECT_EQ(view.Command(8074), 2);
  ASSERT_EQ(tracks[1]->ChildrenCount(), 1);
  EXPECT_EQ(tracks[1]->GetChild(0)->GetClassName(), "CWpCurve");
}

TEST_F(TrackGestures, DividingGroupsFromTheMenu) {
  CWpTrack* b = tracks[1];
  b->AddStratum("", 0, -1);
  b->AddSand("", 0, -1);
  b->SetGroupTitle(0, 2000);
  b->SetGroupTitle(1, 1000);
  b->ResetClient(b->GetChild(0));
  doc.ClearMenu();
  b->OnRButtonDown(&view, &dc, 0, BodyMiddle(b));
  const std::vector<MenuItem>& menu = doc.GetMenu();
  ASSERT_TRUE(std::any_of(menu.begin(), menu.end(), [](const MenuItem& m) {
    return m.id == kCmdDivideGroups && m.text == Gbk("均分子道");
  }));
  EXPECT_EQ(b->OnCommand(&view, &dc, kCmdDivideGroups, 0), 2);
  EXPECT_FLOAT_EQ(b->GroupTitle(0), b->GroupTitle(1));
}

}  // namespace
}  // namespace davodu::testing
