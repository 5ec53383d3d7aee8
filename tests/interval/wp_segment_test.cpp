// The segment kit: the list and its rules, picking and the gestures,
// records, and placing the segments again when the mapping changes.
#include <gtest/gtest.h>

#include <vector>

#include "davodu/interval/wp_segment.h"
#include "davodu/kits/oriented_text.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

// A free segment kit of 1000 to 1100 m at 1:500 (200 map units a metre),
// 1000 wide, its body top at y = 0. Draw coordinates equal map ones.
class Segments : public KitTest {
 protected:
  Segments() {
    seg = MakeRoot<CWpSegment>("CWpSegment");
    seg->SetTopDepth(1000);
    seg->SetBottomDepth(1100);
    seg->SetDepthScale(500);
    seg->SetWidth(1000);
    seg->SetPosition(FLOATPOINT{0, 0});
    seg->BuildControlNodePointArray();
  }
  double Y(double depth) { return seg->DepToMapY(depth); }
  // The segments as (top depth, bottom depth) through the kit's mapping.
  std::vector<std::pair<double, double>> Depths() {
    std::vector<std::pair<double, double>> out;
    for (int i = 0; i < seg->GetSegCount(); ++i)
      out.emplace_back(seg->MapYToDep(static_cast<float>(seg->GetSeg(i).top)),
                       seg->MapYToDep(static_cast<float>(seg->GetSeg(i).bottom)));
    return out;
  }
  CPoint At(double depth, double x_fraction = 0.25) {
    return seg->GetTranslator().MapToDraw(FLOATPOINT{1000 * x_fraction, Y(depth)});
  }

  CWpSegment* seg = nullptr;
  RecordingDC dc;
  ChartView view{&doc, &dc};
};

TEST_F(Segments, AddingKeepsTheOrderAndRefusesOverlaps) {
  const struct {
    const char* what;
    std::vector<std::pair<double, double>> adds;  // map y1, y2
    std::vector<int> results;
    std::vector<double> tops;  // after all adds
  } cases[] = {
      {"touching below", {{-10, -15}, {-15, -20}}, {0, 1}, {-10, -15}},
      {"above everything", {{-15, -20}, {-10, -15}}, {0, 0}, {-10, -15}},
      {"overlapping", {{-10, -15}, {-15, -20}, {-13, -17}}, {0, 1, -1}, {-10, -15}},
      {"into a gap", {{-10, -20}, {-30, -40}, {-20, -30}}, {0, 1, 1}, {-10, -20, -30}},
      {"either order", {{-25, -22}}, {0}, {-22}},
      {"outside the body", {{100, 50}, {-30000, -25000}}, {-1, -1}, {}},
      {"partly outside", {{100, -50}}, {0}, {100}},
  };
  for (const auto& c : cases) {
    seg->ClearSeg();
    std::vector<int> results;
    for (const auto& [y1, y2] : c.adds) results.push_back(seg->AddASeg(y1, y2));
    EXPECT_EQ(results, c.results) << c.what;
    std::vector<double> tops;
    for (int i = 0; i < seg->GetSegCount(); ++i) tops.push_back(seg->GetSeg(i).top);
    EXPECT_EQ(tops, c.tops) << c.what;
  }
  EXPECT_THROW(seg->GetSeg(7), CInvalidArgException);
}

TEST(SegmentShift, TheNeighbourRule) {
  // Body from 0 down to -1000; segments [-100,-200], [-300,-400], [-400,-500].
  std::vector<WPSEGMENT> segs(3);
  segs[0].top = -100, segs[0].bottom = -200;
  segs[1].top = -300, segs[1].bottom = -400;
  segs[2].top = -400, segs[2].bottom = -500;
  const struct {
    const char* what;
    int index, part;
    double dy, shift;
  } cases[] = {
      {"whole, up to the segment above", 1, CWpSegment::kPickInside, 150, 100},
      {"whole, down blocked by a touching one", 1, CWpSegment::kPickInside, -50, 0},
      {"whole, up to the body top", 0, CWpSegment::kPickInside, 500, 100},
      {"whole, down to the body bottom", 2, CWpSegment::kPickInside, -900, -500},
      {"top, up to the one above", 1, CWpSegment::kPickTop, 250, 100},
      {"top, down to its bottom and the minimum", 1, CWpSegment::kPickTop, -500, -90},
      {"bottom, up to its top and the minimum", 1, CWpSegment::kPickBottom, 500, 90},
      {"bottom, down blocked", 1, CWpSegment::kPickBottom, -20, 0},
      {"a free move inside the room", 0, CWpSegment::kPickInside, -30, -30},
      {"no such segment", 5, CWpSegment::kPickInside, 10, 0},
      {"no such part", 0, 7, 10, 0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(SegmentShift(segs, c.index, c.part, c.dy, 0, -1000, 10), c.shift) << c.what;
}

TEST_F(Segments, APressPicksASegmentOrABoundaryOfTheActiveOne) {
  seg->AddASeg(Y(1010), Y(1020));
  seg->AddASeg(Y(1030), Y(1040));
  int index = -1;
  EXPECT_EQ(seg->PickSeg(At(1035), index), CWpSegment::kPickInside);
  EXPECT_EQ(index, 1);
  EXPECT_EQ(seg->PickSeg(At(1025), index), CWpSegment::kPickNone);
  EXPECT_EQ(index, -1);
  // Handles only on the active segment, only in the middle.
  EXPECT_EQ(seg->PickSeg(At(1030, 0.5), index), CWpSegment::kPickNone);
  seg->SetActiveSeg(1);
  EXPECT_EQ(seg->PickSeg(At(1030, 0.5), index), CWpSegment::kPickTop);
  EXPECT_EQ(seg->PickSeg(At(1040, 0.5), index), CWpSegment::kPickBottom);
  EXPECT_EQ(seg->PickSeg(At(1040, 0.25), index), CWpSegment::kPickNone);
  EXPECT_EQ(index, -1);
}

// Through a view: select, drag a segment, drag a boundary; in work state 1
// a drag over free space adds a segment; in work state 2 the menu deletes.
TEST_F(Segments, GesturesMoveAddAndDelete) {
  seg->AddASeg(Y(1010), Y(1020));
  seg->AddASeg(Y(1030), Y(1040));
  view.LButtonDown(At(1035));
  EXPECT_EQ(seg->GetActiveSeg(), 1);
  EXPECT_EQ(view.GetCursor(), IDC_SIZEALL);
  view.MouseMove(At(1037), MK_LBUTTON);
  // The rubber band is drawn (and erased) on the view's device only.
  EXPECT_FALSE(dc.OpsOf(DrawOp::kPolyline).empty());
  view.LButtonUp(At(1042));
  EXPECT_EQ(Depths()[1], std::make_pair(1037.0, 1047.0));

  view.LButtonDown(At(1047, 0.5));  // the bottom handle of the active one
  EXPECT_EQ(seg->GetPickState(), CWpSegment::kPickBottom);
  view.MouseMove(At(1050, 0.5), MK_LBUTTON);
  view.LButtonUp(At(1050, 0.5));
  EXPECT_EQ(Depths()[1], std::make_pair(1037.0, 1050.0));

  seg->SetWorkState(CWpSegment::kWorkAdd);
  view.LButtonDown(At(1060));
  view.MouseMove(At(1065), MK_LBUTTON);
  view.LButtonUp(At(1070));
  ASSERT_EQ(seg->GetSegCount(), 3);
  EXPECT_EQ(Depths()[2], std::make_pair(1060.0, 1070.0));
  // Ending on a segment adds nothing.
  view.LButtonDown(At(1080));
  view.MouseMove(At(1070), MK_LBUTTON);
  view.LButtonUp(At(1065));
  EXPECT_EQ(seg->GetSegCount(), 3);

  seg->SetWorkState(CWpSegment::kWorkNone);
  view.LButtonDown(At(1015));
  view.LButtonUp(At(1015));
  for (const MenuItem& item : view.RightClick(At(1015))) EXPECT_NE(item.id, CWpSegment::kCmdDeleteSeg);
  seg->SetWorkState(CWpSegment::kWorkDelete);
  const std::vector<MenuItem> menu = view.RightClick(At(1015));
  ASSERT_EQ(menu.size(), 1u);
  EXPECT_EQ(menu[0].id, CWpSegment::kCmdDeleteSeg);
  EXPECT_EQ(menu[0].text, Gbk("删除图形"));
  view.Command(CWpSegment::kCmdDeleteSeg);
  EXPECT_EQ(seg->GetSegCount(), 2);
  EXPECT_EQ(seg->GetActiveSeg(), -1);
}

// Moving the kit shifts its segments; a new scale, a new depth range, or a
// document read back keeps every segment at its depths.
TEST_F(Segments, SegmentsStayAtTheirDepthsWhenTheMappingChanges) {
  seg->AddASeg(Y(1010), Y(1020));
  seg->AddASeg(Y(1020), Y(1045.5));
  seg->BuildControlNodePointArray();
  const std::vector<std::pair<double, double>> depths = {{1010, 1020}, {1020, 1045.5}};
  ASSERT_EQ(Depths(), depths);

  seg->SetPosition(FLOATPOINT{500, -3000});
  seg->BuildControlNodePointArray();
  EXPECT_EQ(Depths(), depths) << "moved";
  EXPECT_DOUBLE_EQ(seg->GetSeg(0).top, -3000 - 10 * 200);

  seg->SetDepthScale(200);  // 1:500 to 1:200
  seg->BuildControlNodePointArray();
  EXPECT_EQ(Depths(), depths) << "1:200";
  EXPECT_DOUBLE_EQ(seg->GetSeg(0).top, -3000 - 10 * 500);

  seg->SetTopDepth(1005);
  seg->BuildControlNodePointArray();
  EXPECT_EQ(Depths(), depths) << "a new top depth";

  CZuMFile out;
  out.OpenWrite();
  seg->SaveToFile(&out);
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(out.GetData()));
  ASSERT_TRUE(in.ReadNextRecord());
  auto* copy = Make<CWpSegment>("CWpSegment");
  copy->SetLayer(layer);
  ASSERT_EQ(copy->ReadFromFile(&in), 1);
  EXPECT_EQ(copy->GetSegCount(), 0) << "a plain segment kit stores no list";
  AfxGetObjectFactory()->DeleteObject(copy);
}

TEST(OrientedText, DirectionsAndAngles) {
  ZULOGFONT font;
  font.height = 100;
  const struct {
    int direction, angle_type;
    std::size_t texts;
    double angle;
  } cases[] = {
      {STRDIR_HORIZONTAL, kAngleUpright, 2, 0},       // two lines
      {STRDIR_VERTICAL, kAngleUpright, 4, 0},         // four characters
      {STRDIR_VERTICAL, kAngleLeft, 1, 1.570796326794895},
      {STRDIR_VERTICAL, 2, 1, 4.712388980384685},
      {7, kAngleUpright, 0, 0},
  };
  for (const auto& c : cases) {
    RecordingDC dc;
    DrawOrientationText(&dc, CPoint{0, 0}, "ab\n" + Gbk("砂岩"), c.direction, font, c.angle_type, 1);
    const std::vector<DrawOp> texts = dc.OpsOf(DrawOp::kText);
    ASSERT_EQ(texts.size(), c.texts) << c.direction << "/" << c.angle_type;
    if (!texts.empty()) {
      EXPECT_DOUBLE_EQ(texts[0].angle, c.angle);
    }
  }
}

}  // namespace
}  // namespace davodu::testing
