// The commands that add tracks and contents: which id does what, where the
// new track goes and how the widths follow.
#include "davodu/well/wp_track_builder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "davodu/host/objects/chart_view.h"
#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

// A well of three empty tracks A, B and C, 2000 wide each.
class TrackBuilder : public KitTest {
 protected:
  TrackBuilder() { Build(); }

  void Build() {
    layer->DeleteAllObjects();
    well = MakeRoot<CWpWell>("CWpWell");
    well->SetIsColumnView(true);
    tracks.clear();
    for (const char* name : {"A", "B", "C"}) {
      CWpTrack* t = well->AddTrack(kCmdWellTrackFirst, -1);
      t->SetName(name);
      tracks.push_back(t);
    }
    well->SetWidth(6000);
    well->Update();
  }
  static bool IsNew(const CWpKit* k) { return k->GetName().size() != 1; }
  // The tracks by name, a new one as "+".
  std::string Order() const {
    std::string out;
    for (const CWpKit* k : well->GetChildren()) out += IsNew(k) ? "+" : k->GetName();
    return out;
  }
  CWpTrack* NewTrack() const {
    for (CWpKit* k : well->GetChildren())
      if (IsNew(k)) return static_cast<CWpTrack*>(k);
    return nullptr;
  }
  static std::string Contents(const CWpKit* kit) {
    std::string out;
    for (const CWpKit* c : kit->GetChildren()) out += (out.empty() ? "" : " ") + c->GetClassName();
    return out;
  }

  CWpWell* well = nullptr;
  std::vector<CWpTrack*> tracks;
};

TEST_F(TrackBuilder, EachIdRangeAtItsBoundaries) {
  enum Receiver { kWell, kTrackB };
  const struct {
    unsigned id;
    Receiver to;
    const char* order;      // "+" is the new track
    const char* new_track;  // its contents
    const char* in_b;       // contents of B afterwards
  } cases[] = {
      {8003, kWell, "ABC", "", ""},
      {8004, kWell, "ABC+", "", ""},
      {8005, kWell, "ABC+", "CWpCurve", ""},
      {8026, kWell, "ABC+", "CWpDepth", ""},
      {8027, kWell, "ABC", "", ""},
      {8027, kTrackB, "ABC", "", ""},
      {8028, kTrackB, "A+BC", "CWpCurve", ""},
      {8044, kTrackB, "A+BC", "CWpWaterEntry", ""},
      {8049, kTrackB, "A+BC", "CWpDepth", ""},
      {8050, kTrackB, "ABC", "", ""},
      {8051, kTrackB, "AB+C", "CWpCurve", ""},
      {8072, kTrackB, "AB+C", "CWpDepth", ""},
      {8073, kTrackB, "ABC", "", ""},
      {8074, kTrackB, "ABC", "", "CWpCurve"},
      {8095, kTrackB, "ABC", "", "CWpDepth"},
      {8096, kTrackB, "ABC", "", ""},
      // A command of another kit's menu does nothing.
      {8004, kTrackB, "ABC", "", ""},
      {8028, kWell, "ABC", "", ""},
      {8074, kWell, "ABC", "", ""},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << tc.id << (tc.to == kWell ? " on the well" : " on B"));
    Build();
    CWpTrackBuilder(tc.to == kWell ? static_cast<CWpKit*>(well) : tracks[1]).AddChild(tc.id);
    EXPECT_EQ(Order(), tc.order);
    if (CWpTrack* added = NewTrack()) {
      EXPECT_EQ(Contents(added), tc.new_track);
      EXPECT_FLOAT_EQ(added->GetWidth(), 2000);
    }
    for (CWpTrack* t : tracks) EXPECT_FLOAT_EQ(t->GetWidth(), 2000) << t->GetName();
    EXPECT_EQ(Contents(tracks[1]), tc.in_b);
  }
}

TEST_F(TrackBuilder, EveryKindMakesItsContent) {
  const char* const kClasses[] = {
      "CWpCurve",       "CWpCorelith",    "CWpSand",         "CWpSandStratum",    "CWpStratum",
      "CWpSymbleCycle", "CWpSymbleTexture", "CWpFacies",     "CWpSymbleShoot",    "CWpOilTest",
      "CWpResult",      "CWpPicture",     "CWpPicture",      "CWpParam",          "CWpText",
      "CWpWaterEntry",  "CWpWaterEntry",  "CWpSidewallCore", "CWpIntegratedCore", "CWpLthSample",
      "CWpProgram",     "CWpDepth"};
  CWpTrack* b = tracks[1];
  for (int kind = 1; kind <= 22; ++kind) {
    SCOPED_TRACE(::testing::Message() << "kind " << kind);
    CWpKit* added = CWpTrackBuilder::AddContent(b, kind);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->GetClassName(), kClasses[kind - 1]);
    EXPECT_EQ(b->GetChild(b->ChildrenCount() - 1), added);
  }
  // The picture and profile pairs differ by their titles.
  EXPECT_EQ(b->GetChild(11)->GetTitleText(), Gbk("图片"));
  EXPECT_EQ(b->GetChild(12)->GetTitleText(), Gbk("图形"));
  EXPECT_EQ(b->GetChild(15)->GetTitleText(), Gbk("吸水"));
  EXPECT_EQ(b->GetChild(16)->GetTitleText(), Gbk("产液"));
  EXPECT_EQ(CWpTrackBuilder::AddContent(b, 0), nullptr);
  EXPECT_EQ(CWpTrackBuilder::AddContent(b, 23), nullptr);
}

TEST_F(TrackBuilder, AnEmptyTrackAtTheRightEndWidensTheWell) {
  const float before = well->GetWidth();
  CWpTrackBuilder(well).AddChild(8004);
  ASSERT_EQ(Order(), "ABC+");
  CWpTrack* added = NewTrack();
  EXPECT_FLOAT_EQ(added->GetWidth(), 2000);
  EXPECT_FLOAT_EQ(well->GetWidth(), before + 2000);
  EXPECT_DOUBLE_EQ(added->MapNode(0).x, tracks[2]->MapNode(1).x);
  EXPECT_DOUBLE_EQ(added->MapNode(1).x, well->MapNode(1).x);
}

TEST_F(TrackBuilder, CurveTracksShowTheirGrid) {
  const struct {
    unsigned id;
    int grid;
  } cases[] = {{8005, 1}, {8006, 0}, {8028, 1}, {8029, 0}, {8051, 1}, {8072, 0}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.id);
    Build();
    CWpKit* holder = tc.id < 8028 ? static_cast<CWpKit*>(well) : tracks[1];
    CWpTrackBuilder(holder).AddChild(tc.id);
    CWpTrack* added = NewTrack();
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->IsShowDepth(), tc.grid);
    EXPECT_EQ(added->IsShowScale(), tc.grid);
  }
}

TEST_F(TrackBuilder, ASecondCurveJoinsTheFirstAndWidensTheTrack) {
  CWpTrack* b = tracks[1];
  CWpTrackBuilder(b).AddChild(8074);
  ASSERT_EQ(b->ChildrenCount(), 1);
  const float alone = b->GetWidth();
  CWpTrackBuilder(b).AddChild(8074);
  ASSERT_EQ(b->ChildrenCount(), 2);
  auto* first = static_cast<CWpContent*>(b->GetChild(0));
  auto* second = static_cast<CWpContent*>(b->GetChild(1));
  EXPECT_EQ(first->GetGroup(), 0);
  EXPECT_EQ(second->GetGroup(), 0);
  EXPECT_FLOAT_EQ(b->GetWidth(), alone + second->GetWidth());
  // The curves stand side by side and the tracks to the right made room.
  EXPECT_DOUBLE_EQ(second->MapNode(0).x, first->MapNode(1).x);
  EXPECT_DOUBLE_EQ(tracks[2]->MapNode(0).x, b->MapNode(1).x);
  EXPECT_DOUBLE_EQ(well->MapNode(1).x, tracks[2]->MapNode(1).x);
}

TEST_F(TrackBuilder, MenusReachTheBuilder) {
  RecordingDC dc(true);
  ChartView view(&doc, &dc);
  // The well's menu: a curve track at the right end.
  well->OnCommand(&view, &dc, 8005, 0);
  EXPECT_EQ(Order(), "ABC+");
  // A track's menu: a curve track right of B, then a stratification inside B.
  tracks[1]->OnCommand(&view, &dc, 8051, 0);
  EXPECT_EQ(Order(), "AB+C+");
  EXPECT_EQ(tracks[1]->OnCommand(&view, &dc, 8078, 0), 2);
  EXPECT_EQ(Contents(tracks[1]), "CWpStratum");
}

}  // namespace
}  // namespace davodu::testing
