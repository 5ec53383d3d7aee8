#include "davodu/well/wp_track.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "davodu/host/records/record_numbers.h"
#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

// A content whose minimum title height is chosen by the test, and whose
// width can be given values the width setter refuses (as a document can).
class SizedContent : public CWpContent {
 public:
  explicit SizedContent(const char* name, float min_title = 0.1f)
      : CWpContent(nullptr), min_title_(min_title) {
    SetTitleText(name);
  }
  float MinTitle() override { return min_title_; }
  void ForceWidth(float width) { width_ = width; }

 private:
  float min_title_;
};

// "A0 B1 C1": each child's title followed by its group.
std::string Layout(const CWpTrack& track) {
  std::string out;
  for (const CWpKit* c : track.GetChildren()) {
    if (!out.empty()) out += ' ';
    out += c->GetTitleText() + std::to_string(static_cast<const CWpContent*>(c)->GetGroup());
  }
  return out;
}

class TrackTest : public KitTest {
 protected:
  TrackTest() { track = MakeRoot<CWpTrack>("CWpTrack"); }

  // Adds contents named by the letters of names, each opening a new group
  // unless it is listed in joined.
  std::vector<SizedContent*> Fill(const std::string& names, const std::string& joined = "") {
    std::vector<SizedContent*> added;
    for (char n : names) {
      auto* c = new SizedContent(std::string(1, n).c_str());
      track->AddChild(c, joined.find(n) != std::string::npos ? 1 : 0);
      added.push_back(c);
    }
    return added;
  }

  CWpTrack* track = nullptr;
};

using TrackGroups = TrackTest;
using TrackDrawOrder = TrackTest;
using TrackLayout = TrackTest;
using TrackRecords = TrackTest;
using TrackContents = TrackTest;

TEST_F(TrackGroups, DefaultsOfANewTrack) {
  EXPECT_EQ(track->GetClassName(), "CWpTrack");
  EXPECT_EQ(track->GetName(), "WpTrk");
  EXPECT_EQ(track->GetTitleText(), "");
  EXPECT_EQ(track->GetWpKitType(), WPKIT_TRACK);
  EXPECT_EQ(track->GetBorderVisible(0), 1);
  EXPECT_EQ(track->GetBorderVisible(2), 0);
  EXPECT_EQ(track->IsShowDepth(), 1);
  EXPECT_EQ(track->IsShowScale(), 1);
  EXPECT_EQ(track->IsLogScale(), 0);
  EXPECT_FLOAT_EQ(track->GetMajDep(), 25);
  EXPECT_FLOAT_EQ(track->GetMinDep(), 1);
  EXPECT_FLOAT_EQ(track->GetLeft(), 0.2f);
  EXPECT_EQ(track->GetMinScale(), 10);
  EXPECT_EQ(track->GetMidScalePen().color, 0x4D4D4Du);
  EXPECT_FLOAT_EQ(track->GetMajDepPen().width, 30);
  EXPECT_EQ(track->GetCurveColor(1), 0x0000FFu);
  EXPECT_EQ(track->GetCurveColor2(8), 0x4080FFu);
  // Without a title text the track needs no title band.
  EXPECT_FLOAT_EQ(track->MinTitle(), 0);
  track->SetTitleText("T");
  EXPECT_FLOAT_EQ(track->MinTitle(), track->GetTitleFont().height);
}

TEST_F(TrackGroups, AddingStacksNewGroupsAndJoinsTheLast) {
  std::vector<SizedContent*> c = Fill("ABC");
  EXPECT_EQ(Layout(*track), "A0 B1 C2");
  c[2]->SetTitleHeight(420);
  c[2]->SetClientHeight(640);
  auto* d = new SizedContent("D");
  track->AddChild(d, 1);
  EXPECT_EQ(Layout(*track), "A0 B1 C2 D2");
  EXPECT_FLOAT_EQ(d->GetTitleHeight(), 420);
  EXPECT_FLOAT_EQ(d->GetClientHeight(), 640);
  EXPECT_EQ(track->GroupsCount(), 3);
  EXPECT_EQ(track->GroupContentCount(2), 2);
  EXPECT_EQ(track->LessGroupContentCount(2), 2);
  EXPECT_EQ(track->GetDrawOrder(), (std::vector<int>{0, 1, 2, 3}));

  // The rows stack from the body up: each content's client band is the
  // rows below its own.
  track->SetClientHeight(1500);
  track->ResetClient();
  EXPECT_FLOAT_EQ(c[0]->GetClientHeight(), 0);
  EXPECT_FLOAT_EQ(c[1]->GetClientHeight(), c[0]->GetTitleHeight());
  EXPECT_NEAR(c[2]->GetClientHeight(), c[0]->GetTitleHeight() + c[1]->GetTitleHeight(), 0.01);
  EXPECT_FLOAT_EQ(d->GetClientHeight(), c[2]->GetClientHeight());
  EXPECT_NEAR(c[2]->GetClientHeight() + c[2]->GetTitleHeight(), 1500, 0.01);
}

TEST_F(TrackGroups, InsertingAtEachPlaceWithEachGroupType) {
  const struct {
    int index, group_type;
    const char* layout;
    std::vector<int> draw_order;
    char joined;  // the neighbour whose title height X takes, or 0
  } cases[] = {
      {0, 0, "X0 A1 B2 C3", {3, 1, 2, 0}, 0},
      {0, -1, "X0 A1 B2 C3", {3, 1, 2, 0}, 0},
      {0, 1, "X0 A0 B1 C2", {3, 1, 2, 0}, 'A'},
      {1, -1, "A0 X0 B1 C2", {3, 0, 2, 1}, 'A'},
      {1, 0, "A0 X1 B2 C3", {3, 0, 2, 1}, 0},
      {1, 1, "A0 X1 B1 C2", {3, 0, 2, 1}, 'B'},
      {3, -1, "A0 B1 C2 X2", {2, 0, 1, 3}, 'C'},
      {3, 0, "A0 B1 C2 X3", {2, 0, 1, 3}, 0},
      {3, 1, "A0 B1 C2 X3", {2, 0, 1, 3}, 0},
      {-5, -1, "A0 B1 C2 X2", {2, 0, 1, 3}, 'C'},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << "index " << tc.index << " type " << tc.group_type);
    track->ClearChildren();
    std::vector<SizedContent*> c = Fill("ABC");
    c[0]->SetTitleHeight(222);
    c[1]->SetTitleHeight(777);
    c[2]->SetTitleHeight(555);
    track->SetDrawOrder({2, 0, 1});
    auto* x = new SizedContent("X");
    track->InsertChild(tc.index, x, tc.group_type);
    EXPECT_EQ(Layout(*track), tc.layout);
    EXPECT_EQ(track->GetDrawOrder(), tc.draw_order);
    if (tc.joined) {
      const float expected = tc.joined == 'A' ? 222 : tc.joined == 'B' ? 777 : 555;
      EXPECT_FLOAT_EQ(x->GetTitleHeight(), expected);
    }
    if (track->FindChild(x) == 0) {
      EXPECT_FLOAT_EQ(x->GetClientHeight(), 0);
    }
    // Inserting a present kit again changes nothing.
    track->InsertChild(0, x, 0);
    EXPECT_EQ(Layout(*track), tc.layout);
  }
}

TEST_F(TrackGroups, RemovingAndDeletingRenumberGroupsAndDrawOrder) {
  std::vector<SizedContent*> c = Fill("ABCD", "C");
  ASSERT_EQ(Layout(*track), "A0 B1 C1 D2");
  track->SetDrawOrder({3, 1, 0, 2});

  track->RemoveChild(c[1]);  // B leaves its group to C
  EXPECT_EQ(Layout(*track), "A0 C1 D2");
  EXPECT_EQ(track->GetDrawOrder(), (std::vector<int>{2, 0, 1}));
  EXPECT_EQ(c[1]->GetParent(), track);  // unlinked, not deleted
  delete c[1];

  track->DeleteChild(c[0]);  // A's group disappears
  EXPECT_EQ(Layout(*track), "C0 D1");
  EXPECT_EQ(track->GetDrawOrder(), (std::vector<int>{1, 0}));

  SizedContent stranger("S");
  track->RemoveChild(&stranger);
  track->DeleteChild(&stranger);
  EXPECT_EQ(Layout(*track), "C0 D1");
  EXPECT_EQ(track->GetDrawOrder(), (std::vector<int>{1, 0}));
}

TEST_F(TrackGroups, StoredGroupNumbersAreRenumberedByDocumentVersion) {
  const struct {
    double version;
    std::vector<int> stored;
    const char* layout;
  } cases[] = {
      // Current documents: the numbers are renumbered in order.
      {3.0003, {0, 2, 2, 5}, "A0 B1 C1 D2"},
      {3.0003, {1, 1, 3, 3}, "A0 B0 C1 D1"},
      // A child numbered below the group before it joins that group
      // instead of splitting it.
      {3.0003, {0, 1, 0, 2}, "A0 B1 C1 D2"},
      {3.0003, {-4, 0, 1, 1}, "A0 B0 C1 D1"},
      // A number renumbered once is renumbered for every later child too.
      {3.0003, {5, 0, 5, 2}, "A0 B0 C0 D1"},
      {3.0003, {2, 1, 2, 9}, "A0 B1 C1 D2"},
      // Older documents stored join flags: non-zero joins the child
      // before it, except for the first such child.
      {3.0, {0, 1, 1, 0}, "A0 B1 C1 D2"},
      {3.0, {1, 1, 0, 7}, "A0 B0 C1 D1"},
      {2.5, {0, 0, 0, 0}, "A0 B1 C2 D3"},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << "version " << tc.version);
    doc.SetVersion(tc.version);
    track->ClearChildren();
    for (std::size_t i = 0; i < tc.stored.size(); ++i) {
      auto* c = new SizedContent(std::string(1, static_cast<char>('A' + i)).c_str());
      track->AddChild(static_cast<CWpKit*>(c));  // the reader's form: no group given
      c->SetGroup(tc.stored[i]);
    }
    track->InitGroup();
    EXPECT_EQ(Layout(*track), tc.layout);
  }
}

TEST_F(TrackDrawOrder, MovesKeepTheEnds) {
  Fill("ABCD");
  std::vector<CWpKit*> kids = track->GetChildren();
  using Move = void (*)(CWpTrack*, CWpKit*);
  const Move front = [](CWpTrack* t, CWpKit* k) { t->MoveFront(k); };
  const Move back = [](CWpTrack* t, CWpKit* k) { t->MoveBack(k); };
  const Move most_front = [](CWpTrack* t, CWpKit* k) { t->MoveMostFront(k); };
  const Move most_back = [](CWpTrack* t, CWpKit* k) { t->MoveMostBack(k); };
  const struct {
    const char* name;
    Move move;
    int child;
    std::vector<int> expected;
  } cases[] = {
      {"front of the last", front, 3, {0, 1, 2, 3}},
      {"back of the first", back, 0, {0, 1, 2, 3}},
      {"front", front, 1, {0, 2, 1, 3}},
      {"back", back, 2, {0, 2, 1, 3}},
      {"most front", most_front, 0, {1, 2, 3, 0}},
      {"most back", most_back, 3, {3, 0, 1, 2}},
  };
  for (const auto& tc : cases) {
    track->SetDrawOrder({0, 1, 2, 3});
    tc.move(track, kids[static_cast<std::size_t>(tc.child)]);
    EXPECT_EQ(track->GetDrawOrder(), tc.expected) << tc.name;
  }
  // A list from outside names every child once.
  track->SetDrawOrder({-1, 2, 2, 7});
  EXPECT_EQ(track->GetDrawOrder(), (std::vector<int>{2, 0, 1, 3}));
}

TEST_F(TrackLayout, GroupMembersShareTheTrackWidth) {
  constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
  const struct {
    std::vector<float> widths;
    std::vector<float> shared;
  } cases[] = {
      {{1000, 3000}, {500, 1500}},
      {{1000, 1000, 2000}, {500, 500, 1000}},
      // Widths with no proportions (a damaged document) share equally.
      {{0, 0}, {1000, 1000}},
      {{kNaN, 1000}, {1000, 1000}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << "first width " << tc.widths[0]);
    track->ClearChildren();
    track->SetPosition(FLOATPOINT{100, 5000}, 1);
    track->SetWidth(2000);
    std::vector<SizedContent*> members;
    auto* solo = new SizedContent("S");
    track->AddChild(solo, 0);
    for (std::size_t i = 0; i < tc.widths.size(); ++i) {
      auto* c = new SizedContent("M");
      track->AddChild(c, i == 0 ? 0 : 1);
      c->ForceWidth(tc.widths[i]);
      members.push_back(c);
    }
    solo->ForceWidth(300);
    track->ResetWidth();
    EXPECT_FLOAT_EQ(solo->GetWidth(), 2000);
    EXPECT_DOUBLE_EQ(solo->MapNode(0).x, 100);
    double x = 100;
    for (std::size_t i = 0; i < members.size(); ++i) {
      EXPECT_FLOAT_EQ(members[i]->GetWidth(), tc.shared[i]) << "member " << i;
      EXPECT_DOUBLE_EQ(members[i]->MapNode(0).x, x) << "member " << i;
      EXPECT_DOUBLE_EQ(members[i]->MapNode(0).y, 5000) << "member " << i;
      x += tc.shared[i];
    }
  }
}

TEST_F(TrackLayout, AContentWidthChangeSetsTheTrackWidthKeepingTheDraggedSide) {
  for (int side : {0, 1}) {
    SCOPED_TRACE(::testing::Message() << "side " << side);
    track->ClearChildren();
    track->SetPosition(FLOATPOINT{0, 0}, 1);
    track->SetWidth(2000);
    std::vector<SizedContent*> c = Fill("AB", "B");
    track->ResetWidth();
    c[0]->SetWidth(1000);
    c[1]->SetWidth(2000);  // the pair now wants 3000
    track->ResetWidth(c[1], side);
    EXPECT_FLOAT_EQ(track->GetWidth(), 3000);
    // The left edge moved: the right edge stays, and the other way round.
    EXPECT_DOUBLE_EQ(track->MapNode(0).x, side == 0 ? -1000 : 0);
    EXPECT_DOUBLE_EQ(track->MapNode(1).x, side == 0 ? 2000 : 3000);
  }
}

TEST_F(TrackLayout, ClientBandScalesOrSqueezesTheRows) {
  const struct {
    const char* name;
    std::vector<float> titles, mins;
    float client;  // < 0: the client band is hidden
    std::vector<float> rows;
  } cases[] = {
      {"taller band", {400, 400}, {0.1f, 0.1f}, 1600, {800, 800}},
      {"equal band", {500, 500}, {0.1f, 0.1f}, 1000, {500, 500}},
      {"squeeze holds a row at its minimum", {1000, 1000, 1000}, {600, 100, 100}, 1500,
       {600, 450, 450}},
      {"squeeze holds every row", {1000, 1000, 1000}, {600, 100, 100}, -1, {600, 100, 100}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    track->ClearChildren();
    track->SetClientVisible(1);
    std::vector<SizedContent*> c;
    for (std::size_t i = 0; i < tc.titles.size(); ++i) {
      c.push_back(new SizedContent("R", tc.mins[i]));
      track->AddChild(c.back(), 0);
    }
    for (std::size_t i = 0; i < c.size(); ++i) c[i]->SetTitleHeight(tc.titles[i]);
    if (tc.client < 0)
      track->SetClientVisible(0);
    else
      track->SetClientHeight(tc.client);
    track->ResetClient();
    float below = 0;
    for (std::size_t i = 0; i < c.size(); ++i) {
      EXPECT_FLOAT_EQ(c[i]->GetTitleHeight(), tc.rows[i]) << "row " << i;
      EXPECT_FLOAT_EQ(c[i]->GetClientHeight(), below) << "row " << i;
      below += tc.rows[i];
    }
  }
}

TEST_F(TrackLayout, ResetEndsWhenTheClientBandCannotBeRaised) {
  const struct {
    const char* name;
    int client_visible;
    float min_title;
    float client_after;
  } cases[] = {
      {"raised to the minimum", 1, 600, 600},
      {"hidden band", 0, 600, 0},
      {"minimum beyond the setter's bound", 1, 60000, 100},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    track->ClearChildren();
    track->SetClientVisible(1);
    track->SetClientHeight(100);
    track->AddChild(new SizedContent("A", tc.min_title), 0);
    track->SetClientVisible(tc.client_visible);
    track->Reset();  // must return
    EXPECT_FLOAT_EQ(track->GetClientHeight(), tc.client_after);
  }
}

TEST_F(TrackLayout, DroppingAContentOnATitle) {
  const struct {
    const char* name;
    CPoint point;
    const char* layout;
    std::vector<double> xs;  // anchors of A, B, X in the layout's order
  } cases[] = {
      {"top third: new group above", {1500, 450}, "A0 X1 B2", {0, 0, 0}},
      {"bottom third: new group below", {1500, 50}, "X0 A1 B2", {0, 0, 0}},
      {"left third: beside, on the left", {300, 250}, "X0 A0 B1", {0, 1500, 0}},
      {"right third: beside, on the right", {2700, 250}, "A0 X0 B1", {0, 1500, 0}},
      {"centre: nothing moves", {1500, 250}, "A0 B1", {0, 0}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.name);
    track->ClearChildren();
    track->SetPosition(FLOATPOINT{0, 0}, 1);
    track->SetWidth(3000);
    track->SetClientHeight(1000);
    Fill("AB");
    track->Reset();  // A's title band spans y 0..500, B's 500..1000
    auto* x = new SizedContent("X");
    track->MoveChild(x, tc.point);
    EXPECT_EQ(Layout(*track), tc.layout);
    for (int i = 0; i < track->ChildrenCount(); ++i)
      EXPECT_DOUBLE_EQ(track->GetChild(i)->MapNode(0).x, tc.xs[static_cast<std::size_t>(i)])
          << "child " << i;
    if (x->GetParent() != track) delete x;
  }
}

TEST_F(TrackLayout, SwappingExchangesPlacesButNotDrawingPlaces) {
  std::vector<SizedContent*> c = Fill("ABC", "C");
  c[0]->SetTitleHeight(300.7f);
  c[1]->SetWidth(1200);
  track->SetDrawOrder({1, 0, 2});
  track->SwapChild(c[0], c[1]);
  EXPECT_EQ(Layout(*track), "B0 A1 C1");
  EXPECT_FLOAT_EQ(c[1]->GetTitleHeight(), 300);  // cut to a whole number
  EXPECT_FLOAT_EQ(c[0]->GetWidth(), 1200);
  EXPECT_EQ(track->GetDrawOrder(), (std::vector<int>{1, 0, 2}));
}

// The records of a track: its base section holding three curves, then the
// "Trk" record and the draw order.
std::string TrackFile(const std::vector<int>& draw_order) {
  CZuMFile file;
  file.OpenWrite();
  for (int i = 0; i < 3; ++i) {
    auto* curve = AfxGetObjectFactory()->CreateObject("CWpCurve");
    curve->SaveToFile(&file);
    AfxGetObjectFactory()->DeleteObject(curve);
  }
  file.SetRecordNumber(kRecEnd);
  file.WriteNextRecord();

  ZULOGPEN pens[6];
  for (int i = 0; i < 6; ++i) {
    pens[i].color = static_cast<COLORREF>(i + 1);
    pens[i].width = 10.f * static_cast<float>(i + 1);
  }
  file.SetRecordNumber(kRecTagged);
  file.AddRecordElement("trk");  // tags of this kind compare without case
  file.AddRecordElement(1);
  file.AddRecordElement(1);
  file.AddRecordElement(0);      // depth lines
  file.AddRecordElement(0);      // scale lines
  file.AddRecordElement(50.f);   // MajDep
  file.AddRecordElement(10.f);   // MidDep
  file.AddRecordElement(2.f);    // MinDep
  for (int i = 0; i < 3; ++i) file.AddRecordElement(&pens[i], sizeof pens[i]);
  file.AddRecordElement(1);      // log scale
  file.AddRecordElement(0.5f);   // Left
  file.AddRecordElement(500.f);  // Right
  file.AddRecordElement(4);      // MajScale
  file.AddRecordElement(1);      // centre line
  file.AddRecordElement(8);      // MinScale
  for (int i = 3; i < 6; ++i) file.AddRecordElement(&pens[i], sizeof pens[i]);
  file.WriteNextRecord();

  // Draw-order tags compare exactly: this one is not the track's.
  file.SetRecordNumber(kRecTagged);
  file.AddRecordElement("drawOrder");
  file.AddRecordElement(1);
  file.WriteNextRecord();
  for (int i : draw_order) {
    file.SetRecordNumber(kRecTagged);
    file.AddRecordElement("DrawOrder");
    file.AddRecordElement(i);
    file.WriteNextRecord();
  }
  file.SetRecordNumber(kRecEnd);
  file.WriteNextRecord();
  return file.GetData();
}

TEST_F(TrackRecords, DrawOrderReadFromADocumentNamesEveryChildOnce) {
  const struct {
    double version;
    std::vector<int> stored, read;
  } cases[] = {
      {3.011, {2, 0, 1}, {2, 0, 1}},
      {3.011, {5, -1, 2, 2}, {2, 0, 1}},
      {3.011, {}, {0, 1, 2}},
      // Older documents draw in child order; a stored order still wins.
      {3.0, {}, {0, 1, 2}},
      {3.0, {2, 0, 1}, {2, 0, 1}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << "version " << tc.version);
    doc.SetVersion(tc.version);
    auto* read = MakeRoot<CWpTrack>("CWpTrack");
    CZuMFile in;
    ASSERT_TRUE(in.OpenRead(TrackFile(tc.stored)));
    ASSERT_EQ(read->ReadFromFile(&in), 1);
    EXPECT_EQ(read->ChildrenCount(), 3);
    EXPECT_EQ(read->GetDrawOrder(), tc.read);
  }
}

TEST_F(TrackRecords, RoundTripKeepsGridAndDrawOrder) {
  auto* first = MakeRoot<CWpTrack>("CWpTrack");
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(TrackFile({1, 2, 0})));
  ASSERT_EQ(first->ReadFromFile(&in), 1);
  EXPECT_EQ(first->IsShowDepth(), 0);
  EXPECT_EQ(first->IsShowScale(), 0);
  EXPECT_FLOAT_EQ(first->GetMajDep(), 50);
  EXPECT_FLOAT_EQ(first->GetMidDep(), 10);
  EXPECT_FLOAT_EQ(first->GetMinDep(), 2);
  EXPECT_EQ(first->IsLogScale(), 1);
  EXPECT_FLOAT_EQ(first->GetLeft(), 0.5f);
  EXPECT_FLOAT_EQ(first->GetRight(), 500);
  EXPECT_EQ(first->GetMajScale(), 4);
  EXPECT_EQ(first->IsShowMid(), 1);
  EXPECT_EQ(first->GetMinScale(), 8);
  EXPECT_EQ(first->GetMinDepPen().color, 3u);
  EXPECT_EQ(first->GetMajScalePen().color, 4u);
  EXPECT_EQ(first->GetMinScalePen().color, 6u);

  // Written by the track and read back: records 60 opens it, so the
  // reader starts after it.
  CZuMFile out;
  out.OpenWrite();
  first->SaveToFile(&out);
  CZuMFile again;
  ASSERT_TRUE(again.OpenRead(out.GetData()));
  ASSERT_TRUE(again.ReadNextRecord());
  ASSERT_EQ(again.GetRecordNumber(), kRecKitStart);
  auto* second = MakeRoot<CWpTrack>("CWpTrack");
  ASSERT_EQ(second->ReadFromFile(&again), 1);
  EXPECT_EQ(second->ChildrenCount(), 3);
  EXPECT_EQ(second->GetDrawOrder(), (std::vector<int>{1, 2, 0}));
  EXPECT_EQ(second->IsShowScale(), 0);
  EXPECT_FLOAT_EQ(second->GetMajDep(), 50);
  EXPECT_FLOAT_EQ(second->GetRight(), 500);
  EXPECT_EQ(second->GetMinScale(), 8);
  EXPECT_EQ(second->GetMidDepPen(), first->GetMidDepPen());
  EXPECT_EQ(second->GetMidScalePen(), first->GetMidScalePen());
  EXPECT_EQ(again.ReadNextRecord(), 0);  // nothing left over

  // A copy carries the same settings and draw order.
  CZuObject* copy = nullptr;
  first->DuplicateObject(&copy, layer);
  auto* dup = dynamic_cast<CWpTrack*>(copy);
  ASSERT_NE(dup, nullptr);
  layer->AddObject(dup);
  EXPECT_EQ(dup->ChildrenCount(), 3);
  EXPECT_EQ(dup->GetDrawOrder(), (std::vector<int>{1, 2, 0}));
  EXPECT_FLOAT_EQ(dup->GetMinDep(), 2);
  dup->Amplify(FLOATPOINT{0, 0}, 2, 1);
  EXPECT_FLOAT_EQ(dup->GetMajDepPen().width, 2 * first->GetMajDepPen().width);
}

TEST_F(TrackContents, AddOperationsCreateAndPlaceTheirKits) {
  using Add = std::function<CWpKit*(CWpTrack*)>;
  const struct {
    const char* class_name;
    Add add;
    const char* title;  // UTF-8
  } cases[] = {
      {"CWpCorelith", [](CWpTrack* t) -> CWpKit* { return t->AddCorelith("L", 0, -1); }, "L"},
      {"CWpSand", [](CWpTrack* t) -> CWpKit* { return t->AddSand("S", 0, -1); }, "S"},
      {"CWpSandStratum", [](CWpTrack* t) -> CWpKit* { return t->AddSandStratum("SS", 0, -1); }, "SS"},
      {"CWpStratum", [](CWpTrack* t) -> CWpKit* { return t->AddStratum("St", 0, -1); }, "St"},
      {"CWpSymbleCycle", [](CWpTrack* t) -> CWpKit* { return t->AddSymbleCycle("Cy", 0, -1); }, "Cy"},
      {"CWpSymbleTexture", [](CWpTrack* t) -> CWpKit* { return t->AddSymbleTexture("Tx", 0, -1); },
       "Tx"},
      {"CWpFacies", [](CWpTrack* t) -> CWpKit* { return t->AddFacies("F", 0, -1); }, "F"},
      {"CWpSymbleShoot", [](CWpTrack* t) -> CWpKit* { return t->AddSymbleShoot("Sh", 0, -1); }, "Sh"},
      {"CWpOilTest", [](CWpTrack* t) -> CWpKit* { return t->AddOilTest("O", 0, -1); }, "O"},
      {"CWpResult", [](CWpTrack* t) -> CWpKit* { return t->AddResult("R", 0, -1); }, "R"},
      {"CWpPicture", [](CWpTrack* t) -> CWpKit* { return t->AddPictureList(0, "P", 0, -1); }, "图片"},
      {"CWpPicture", [](CWpTrack* t) -> CWpKit* { return t->AddPictureList(2, "P", 0, -1); }, "图形"},
      {"CWpParam", [](CWpTrack* t) -> CWpKit* { return t->AddParam("Pa", 0, -1); }, "Pa"},
      {"CWpText", [](CWpTrack* t) -> CWpKit* { return t->AddText(nullptr, "Te", 0, -1); }, "Te"},
      {"CWpWaterEntry",
       [](CWpTrack* t) -> CWpKit* { return t->AddWaterEntryList(true, "W", 0, -1); }, "产液"},
      {"CWpWaterEntry",
       [](CWpTrack* t) -> CWpKit* { return t->AddWaterEntryList(false, "W", 0, -1); }, "吸水"},
      {"CWpSidewallCore", [](CWpTrack* t) -> CWpKit* { return t->AddSidewallCore("Sw", 0, -1); },
       "Sw"},
      {"CWpIntegratedCore",
       [](CWpTrack* t) -> CWpKit* { return t->AddIntegratedCore("Ic", 0, -1); }, "Ic"},
      {"CWpLthSample", [](CWpTrack* t) -> CWpKit* { return t->AddLthSample("Ls", 0, -1); }, "Ls"},
      {"CWpProgram", [](CWpTrack* t) -> CWpKit* { return t->AddProgram("Pr", 0, -1); }, "Pr"},
      {"CWpDepth", [](CWpTrack* t) -> CWpKit* { return t->AddDepth("D", 0, -1); }, "D"},
      {"CWpCurve", [](CWpTrack* t) -> CWpKit* { return t->AddCurve("C", 0, -1); }, "C"},
  };
  int group = 0;
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.class_name);
    CWpKit* kit = tc.add(track);
    ASSERT_NE(kit, nullptr);
    EXPECT_EQ(kit->GetClassName(), tc.class_name);
    EXPECT_EQ(kit->GetParent(), track);
    EXPECT_EQ(track->FindChild(kit), track->ChildrenCount() - 1);
    EXPECT_EQ(kit->GetTitleText(), Gbk(tc.title));
    EXPECT_EQ(static_cast<CWpContent*>(kit)->GetGroup(), group++);
    EXPECT_EQ(track->GetDrawOrder().back(), track->ChildrenCount() - 1);
  }
  // An index inside the list inserts there, the join flag acting as the
  // group type: this one joins the group of the content it lands before.
  CWpKit* first = track->GetChild(0);
  CWpKit* depth = track->AddDepth("", 1, 0);
  EXPECT_EQ(track->GetChild(0), depth);
  EXPECT_EQ(static_cast<CWpContent*>(depth)->GetGroup(),
            static_cast<CWpContent*>(first)->GetGroup());
}

TEST_F(TrackContents, CurvesTakeTheColoursInTurn) {
  std::vector<CWpCurve*> curves;
  for (int i = 0; i < 10; ++i) curves.push_back(track->AddCurve("", 0, -1));
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(curves[static_cast<std::size_t>(i)]->GetPen().color, track->GetCurveColor(i % 9)) << i;
    EXPECT_EQ(curves[static_cast<std::size_t>(i)]->GetTitleFont().color, track->GetCurveColor(i % 9))
        << i;
  }
}

TEST_F(TrackContents, TitleFontsOfAllOrOfTheDepthColumns) {
  CWpCurve* curve = track->AddCurve("C", 0, -1);
  CWpDepth* depth = track->AddDepth("D", 0, -1);
  // A curve's head row is at least what its head needs (MinTitle).
  curve->SetTitleHeight(900);
  depth->SetTitleHeight(500);
  ZULOGFONT font;
  font.height = depth->GetTitleFont().height + 200;
  font.color = 0x123456;
  track->SetDepChildTitleFont(1, font);
  EXPECT_FLOAT_EQ(depth->GetTitleHeight(), 700);  // the band grows with the font
  EXPECT_FLOAT_EQ(curve->GetTitleHeight(), 900);
  track->SetChildTitleFont(2, font);
  EXPECT_EQ(curve->GetTitleFont().color, 0x123456u);
  EXPECT_EQ(depth->GetTitleFont().color, 0x123456u);
  EXPECT_FLOAT_EQ(curve->GetTitleHeight(), 900);  // only the colour changed
}

}  // namespace
}  // namespace davodu::testing
