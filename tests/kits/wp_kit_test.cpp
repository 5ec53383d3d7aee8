#include "davodu/kits/wp_kit.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/kit_fixture.h"

namespace davodu::testing {
namespace {

using KitModel = KitTest;

TEST_F(KitModel, DefaultsOfABaseKit) {
  CWpKit kit(layer);
  EXPECT_EQ(kit.GetClassName(), "CWpKit");
  EXPECT_EQ(kit.GetName(), "WpKit");
  EXPECT_EQ(kit.GetControlNodePointCount(), 20);
  EXPECT_FLOAT_EQ(kit.GetWidth(), 1000);
  EXPECT_FLOAT_EQ(kit.GetTitleHeight(), 800);
  EXPECT_FLOAT_EQ(kit.GetClientHeight(), 1000);
  EXPECT_FLOAT_EQ(kit.GetTopDepth(), 1000);
  EXPECT_FLOAT_EQ(kit.GetBottomDepth(), 2000);
  EXPECT_FLOAT_EQ(kit.GetDepScl(), 200);
  EXPECT_EQ(kit.GetBorderMode(), -1);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(kit.GetBorderVisible(i), 1);
  EXPECT_EQ(kit.GetTitleFont().color, 128u);
  EXPECT_FLOAT_EQ(kit.GetBorderPen().width, 50);
  EXPECT_EQ(kit.GetClientBrush().style, 1000);
  EXPECT_EQ(kit.GetClientBrush().color, 0xC0C0C0u);
  EXPECT_EQ(kit.GetClientFillStyleSet(), Gbk("所有样式"));
}

TEST_F(KitModel, NodesFollowTheLayoutAndMirrorBelowTheBody) {
  CWpKit kit(layer);
  kit.SetPosition(FLOATPOINT{100, 5000}, 0);
  kit.BuildControlNodePointArray();
  const double x0 = 100, y0 = 5000, w = 1000, hc = 1000, ht = 800;
  const double yb = y0 - (2000 - 1000) * 200.0;
  const struct {
    int node;
    double x, y;
  } expected[] = {
      {0, x0, y0},          {1, x0 + w, y0},           {2, x0, y0 + hc},
      {3, x0 + w, y0 + hc}, {4, x0, y0 + hc + ht},     {5, x0 + w, y0 + hc + ht},
      {6, x0, y0 + hc / 2}, {8, x0 + w / 2, y0 + hc + ht}, {9, x0 + w / 2, y0 + hc},
      {10, x0, yb},         {11, x0 + w, yb},          {12, x0, yb - hc},
      {15, x0 + w, yb - hc - ht}, {16, x0, yb - hc / 2}, {18, x0 + w / 2, yb - hc - ht},
      {19, x0 + w / 2, yb - hc},
  };
  for (const auto& e : expected) {
    EXPECT_DOUBLE_EQ(kit.MapNode(e.node).x, e.x) << "node " << e.node;
    EXPECT_DOUBLE_EQ(kit.MapNode(e.node).y, e.y) << "node " << e.node;
  }
  EXPECT_FLOAT_EQ(kit.MapWidth(), 1000);
  EXPECT_FLOAT_EQ(kit.MapHead(), 1800);
  EXPECT_FLOAT_EQ(kit.MapBody(), 200000);
  const FLOATRECT total = kit.TotalMap();
  EXPECT_DOUBLE_EQ(total.top, y0 + hc + ht);
  EXPECT_DOUBLE_EQ(total.bottom, yb - hc - ht);
  EXPECT_EQ(kit.GetMapRect(), total);
  // A hidden title has no height and collapses onto the client band.
  kit.SetTitleVisible(0);
  kit.BuildControlNodePointArray();
  EXPECT_FLOAT_EQ(kit.GetTitleHeight(), 0);
  EXPECT_DOUBLE_EQ(kit.MapNode(4).y, kit.MapNode(2).y);
}

TEST_F(KitModel, DepthScaleSetters) {
  CWpKit kit(layer);
  kit.SetDepthScale(1000);
  EXPECT_FLOAT_EQ(kit.GetDepScl(), 100);
  kit.SetDepthScale(500);
  EXPECT_FLOAT_EQ(kit.GetDepScl(), 200);
  EXPECT_EQ(kit.GetDepthScale(), 500);
  for (int bad : {0, -5, 100001, 2000000}) {
    kit.SetDepthScale(bad);
    EXPECT_FLOAT_EQ(kit.GetDepScl(), 200) << bad;
  }
  kit.SetDepScl(0.5f);
  EXPECT_FLOAT_EQ(kit.GetDepScl(), 200);
  kit.SetDepScl(std::nanf(""));
  EXPECT_FLOAT_EQ(kit.GetDepScl(), 200);
  kit.SetDepthScale(100000);
  EXPECT_FLOAT_EQ(kit.GetDepScl(), 1);
  // 100000 / 3 = 33333.33: the scale reads back rounded.
  kit.SetDepScl(3);
  EXPECT_EQ(kit.GetDepthScale(), 33333);
  kit.SetDepScl(2.5f);  // 40000 exactly
  EXPECT_EQ(kit.GetDepthScale(), 40000);
}

TEST_F(KitModel, DepthSettersIgnoreOutOfRangeAndSpreadToChildren) {
  CWpKit parent(layer);
  auto* child = new CWpKit(nullptr);
  auto* grandchild = new CWpKit(nullptr);
  child->AddChild(grandchild);
  parent.AddChild(child);

  parent.SetTopDepth(1500);
  EXPECT_FLOAT_EQ(grandchild->GetTopDepth(), 1500);
  for (float bad : {99900.5f, 150000.f, -100000.f, 1500.0005f}) {
    parent.SetTopDepth(bad);
    EXPECT_FLOAT_EQ(parent.GetTopDepth(), 1500) << bad;
  }
  parent.SetBottomDepth(2500);
  EXPECT_FLOAT_EQ(grandchild->GetBottomDepth(), 2500);
  parent.SetDepScl(50);
  EXPECT_FLOAT_EQ(grandchild->GetDepScl(), 50);

  // Sand and shale thresholds: (0, 0.01) and above 20 are refused.
  for (float bad : {0.005f, 25.f}) {
    parent.SetSandThick(bad);
    EXPECT_FLOAT_EQ(parent.GetSandThick(), 0) << bad;
  }
  parent.SetShaleThick(2);
  EXPECT_FLOAT_EQ(grandchild->GetShaleThick(), 2);
}

TEST_F(KitModel, DepthMappingWithoutAWell) {
  CWpKit kit(layer);
  kit.SetPosition(FLOATPOINT{0, 0}, 0);
  kit.BuildControlNodePointArray();
  const double y0 = kit.MapNode(0).y, yb = kit.MapNode(10).y;
  for (double d : {1000.0, 999.9995, 500.0, -1e30}) EXPECT_EQ(kit.DepToMapY(d), y0) << d;
  EXPECT_DOUBLE_EQ(kit.DepToMapY(1500), -100000);
  EXPECT_DOUBLE_EQ(kit.DepToMapY(2000), yb);
  EXPECT_EQ(kit.DepToMapY(2000.01), yb);
  EXPECT_EQ(kit.DepToMapY(kFltMax), yb);
  EXPECT_FLOAT_EQ(kit.MapYToDep(100), 1000);
  EXPECT_FLOAT_EQ(kit.MapYToDep(-100000), 1500);
  EXPECT_FLOAT_EQ(kit.MapYToDep(static_cast<float>(yb - 1000)), 2000);
  // Draw coordinates go through the layer's translator (zoom 1 here).
  EXPECT_EQ(kit.DepToDrwY(1500), -100000);
  EXPECT_FLOAT_EQ(kit.DrwYToDep(-100000), 1500);
}

// A chart with two scale segments: 1000-1200 m at the normal scale, then
// 1200-2000 m squeezed to half.
class SegmentedWell : public KitTest {
 protected:
  SegmentedWell() {
    well = new FixedScaleWell;
    layer->AddObject(well);
    track = Make<CWpKit>("CWpTrack");
    well->AddChild(track);
    well->SetPosition(FLOATPOINT{0, 0}, 1);
    const double y_first_end = 0 - 200.0 * 1.0 * 200;  // 200 m at z = 1
    well->segments = {{1000, y_first_end, 1.0}, {1200, y_first_end - 200.0 * 0.5 * 800, 0.5}};
    well->BuildControlNodePointArray();
    track->BuildControlNodePointArray();
  }
  FixedScaleWell* well;
  CWpKit* track;
};

TEST_F(SegmentedWell, SegmentBoundaryMapsToTheEndOfTheFirstSegment) {
  const double y_first_end = -40000;
  EXPECT_DOUBLE_EQ(track->DepToMapY(1200), y_first_end);
  EXPECT_NEAR(track->DepToMapY(1200.0005), y_first_end, 0.2);
  EXPECT_NEAR(track->DepToMapY(1199.9995), y_first_end, 0.2);
  EXPECT_DOUBLE_EQ(track->DepToMapY(1600), y_first_end - 200 * 0.5 * 400);
  EXPECT_DOUBLE_EQ(track->DepToMapY(2000), y_first_end - 200 * 0.5 * 800);
  // Back and forth across both segments.
  for (double d : {1000.5, 1100.0, 1199.0, 1201.0, 1500.0, 1999.0}) {
    const double y = track->DepToMapY(d);
    EXPECT_NEAR(track->MapYToDep(static_cast<float>(y)), d, 0.01) << d;
  }
}

TEST_F(SegmentedWell, FaultPointsShiftDepthsWhileBlankSpaceIsOn) {
  well->faults = {{1300, 0, 10}, {2000, 10, 0}};
  well->GetFaultInfo().blank_space = true;
  well->ScaleSegment();
  well->BuildControlNodePointArray();
  track->BuildControlNodePointArray();
  EXPECT_DOUBLE_EQ(track->DepToMapY(1250), -(1250 - 1000) * 200.0);
  EXPECT_DOUBLE_EQ(track->DepToMapY(1300), -(1300 - 1000) * 200.0);
  EXPECT_DOUBLE_EQ(track->DepToMapY(1400), -(1410 - 1000) * 200.0);
  EXPECT_FLOAT_EQ(track->MapYToDep(-(1410 - 1000) * 200.f), 1400);
  EXPECT_FLOAT_EQ(track->MapYToDep(-(1250 - 1000) * 200.f), 1250);
}

TEST_F(SegmentedWell, ZeroScaleFactorDoesNotDivideByZero) {
  well->segments = {{1000, -40000, 1.0}, {1200, -40000, 0.0}};
  well->BuildControlNodePointArray();
  track->BuildControlNodePointArray();
  const float d = track->MapYToDep(-40000.5f);
  EXPECT_TRUE(std::isfinite(d));
}

TEST_F(KitModel, WidthAndHeightSetters) {
  CWpKit kit(layer);
  kit.SetWidth(100000);
  EXPECT_FLOAT_EQ(kit.GetWidth(), 1000);
  kit.SetWidth(0.05f);  // below MinWidth (0.1)
  EXPECT_FLOAT_EQ(kit.GetWidth(), 1000);
  kit.SetWidth(99999);
  EXPECT_FLOAT_EQ(kit.GetWidth(), 99999);
  kit.SetTitleHeight(10000);
  EXPECT_FLOAT_EQ(kit.GetTitleHeight(), 800);
  kit.SetTitleHeight(500);
  EXPECT_FLOAT_EQ(kit.GetTitleHeight(), 500);
  kit.SetTitleVisible(0);
  kit.SetTitleHeight(700);  // ignored while hidden
  kit.SetTitleVisible(1);
  EXPECT_FLOAT_EQ(kit.GetTitleHeight(), 500);
  kit.SetClientHeight(50000);
  EXPECT_FLOAT_EQ(kit.GetClientHeight(), 1000);
}

TEST_F(KitModel, BorderModesSetTheirFlags) {
  const struct {
    int mode;
    const char* flags;  // flags 0..9
  } cases[] = {
      {0, "0000000000"}, {1, "1111111111"}, {2, "1110000000"}, {3, "0001111111"},
      {4, "0110011000"}, {5, "1101100000"}, {6, "1000000110"}, {7, "1111111001"},
      {8, "1101100111"}, {12, "0000000111"},  // clamped to 9: only 7, 8, 9 kept
  };
  for (const auto& c : cases) {
    CWpKit kit(layer);
    kit.SetBorderMode(c.mode);
    EXPECT_EQ(kit.GetBorderMode(), std::min(c.mode, 9));
    for (int i = 0; i < 10; ++i)
      EXPECT_EQ(kit.GetBorderVisible(i), c.flags[i] - '0') << "mode " << c.mode << " flag " << i;
  }
}

TEST_F(KitModel, BorderFlagsAndStyles) {
  CWpKit kit(layer);
  EXPECT_EQ(kit.GetStyle(), 0);
  kit.SetBorderVisible(0, 10);
  EXPECT_EQ(kit.GetBorderMode(), -1);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(kit.GetBorderVisible(i), 0);
  EXPECT_EQ(kit.GetStyle(), -1);
  kit.SetStyle(1, true);
  EXPECT_EQ(kit.GetStyle(), 1);
  kit.SetStyle(2, true);
  EXPECT_EQ(kit.GetStyle(), 2);
  kit.SetStyle(0, true);
  EXPECT_EQ(kit.GetStyle(), 0);
  kit.SetBorderVisible(0, 3);
  EXPECT_EQ(kit.GetStyle(), 0);  // all but 3 still counts as style 0
  kit.SetBorderVisible(0, 5);
  EXPECT_EQ(kit.GetStyle(), -1);
  EXPECT_THROW(kit.GetBorderVisible(10), CInvalidArgException);
  EXPECT_THROW(kit.GetBorderVisible(-1), CInvalidArgException);
}

TEST_F(KitModel, HeadAlignSpreadsByItsSign) {
  CWpKit root(layer);
  auto* child = new CWpKit(nullptr);
  auto* grandchild = new CWpKit(nullptr);
  child->AddChild(grandchild);
  root.AddChild(child);
  root.SetHeadAlign(5);
  EXPECT_EQ(root.GetHeadAlign(), 1);
  EXPECT_EQ(child->GetHeadAlign(), 1);
  EXPECT_EQ(grandchild->GetHeadAlign(), 1);
  root.SetHeadAlign(-7);
  EXPECT_EQ(grandchild->GetHeadAlign(), -1);
}

TEST_F(KitModel, TitleScopeOneReachesOnlyKitsOfTheSameClass) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  auto* t1 = Make<CWpKit>("CWpTrack");
  auto* t2 = Make<CWpKit>("CWpTrack");
  auto* curve = Make<CWpKit>("CWpCurve");
  well->AddChild(t1);
  well->AddChild(t2);
  t2->AddChild(curve);
  t1->SetTitleScope(1);
  t1->SetTitleVisible(0);
  EXPECT_EQ(t2->GetTitleVisible(), 0);
  EXPECT_EQ(t2->GetBorderVisible(2), 0);
  EXPECT_EQ(curve->GetTitleVisible(), 1);
  EXPECT_EQ(well->GetTitleVisible(), 1);

  // Scope 2 reaches every kit, the well included.
  curve->SetBdrLnScope(2);
  ZULOGPEN pen = curve->GetBorderPen();
  pen.color = RGB(255, 0, 0);
  curve->SetBorderPen(&pen);
  EXPECT_EQ(well->GetBorderPen(), pen);
  EXPECT_EQ(t1->GetBorderPen(), pen);
}

TEST_F(KitModel, WellStyleAppliesToNewChildren) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  well->SetStyle(1, false);
  auto* track = Make<CWpKit>("CWpTrack");
  auto* stratum = Make<CWpKit>("CWpStratum");
  auto* curve = Make<CWpKit>("CWpCurve");
  well->AddChild(track);
  track->AddChild(stratum);
  track->AddChild(curve);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(track->GetBorderVisible(i), 0) << i;
    EXPECT_EQ(curve->GetBorderVisible(i), 0) << i;
    EXPECT_EQ(stratum->GetBorderVisible(i), (i == 0 || i >= 7) ? 1 : 0) << i;
  }
}

TEST_F(KitModel, ChildOperations) {
  CWpKit root(layer);
  auto* a = new CWpKit(nullptr);
  auto* b = new CWpKit(nullptr);
  auto* c = new CWpKit(nullptr);
  root.SetTopDepth(1234);
  root.AddChild(a);
  root.AddChild(a);
  root.AddChild(nullptr);
  EXPECT_EQ(root.ChildrenCount(), 1);
  EXPECT_EQ(a->GetParent(), &root);
  EXPECT_EQ(a->GetLayer(), layer);
  EXPECT_FLOAT_EQ(a->GetTopDepth(), 1234);
  root.InsertChild(0, b);
  root.InsertChild(root.ChildrenCount(), c);  // at count: appends
  EXPECT_EQ(root.GetChild(0), b);
  EXPECT_EQ(root.GetChild(2), c);
  EXPECT_EQ(root.GetChild(3), nullptr);
  EXPECT_EQ(root.FindChild(nullptr), -1);
  EXPECT_THROW(root.ChildAt(3), CInvalidArgException);
  EXPECT_EQ(c->GetAncestor(), &root);

  root.RemoveChild(b);
  EXPECT_EQ(root.ChildrenCount(), 2);
  root.AddChild(b);
  root.DeleteChild(7);  // nothing there
  EXPECT_EQ(root.ChildrenCount(), 3);
  root.ClearChildren();
  EXPECT_EQ(root.ChildrenCount(), 0);
}

TEST_F(KitModel, DeletingAKitForgetsItAsHitKitUpTheTree) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  auto* track = Make<CWpKit>("CWpTrack");
  auto* content = Make<CWpKit>("CWpStratum");
  well->AddChild(track);
  track->AddChild(content);
  well->SetHitKit(content);
  layer->SetSelectedObject(content);
  track->DeleteChild(content);
  EXPECT_EQ(well->GetHitKit(), nullptr);
  EXPECT_FALSE(layer->IsSelected(content));
}

TEST_F(KitModel, SetPositionMovesChildren) {
  CWpKit root(layer);
  auto* child = new CWpKit(nullptr);
  root.AddChild(child);
  child->SetPosition(FLOATPOINT{10, 20}, 0);
  root.SetPosition(FLOATPOINT{100, 200}, 1);
  EXPECT_EQ(child->GetPosition(), (FLOATPOINT{110, 220}));
  root.SetPosition(FLOATPOINT{0, 0}, 0);
  EXPECT_EQ(child->GetPosition(), (FLOATPOINT{110, 220}));
}

TEST_F(KitModel, AmplifyScalesWidthsHorizontallyAndHeightsVertically) {
  CWpKit root(layer);
  auto* child = new CWpKit(nullptr);
  root.AddChild(child);
  root.Amplify(FLOATPOINT{0, 0}, 2, 0.5);
  EXPECT_FLOAT_EQ(root.GetWidth(), 2000);
  EXPECT_FLOAT_EQ(root.GetTitleFont().height, 1600);
  EXPECT_FLOAT_EQ(root.GetBorderPen().width, 100);
  EXPECT_FLOAT_EQ(root.GetTitleHeight(), 400);
  EXPECT_FLOAT_EQ(root.GetDepScl(), 100);
  EXPECT_FLOAT_EQ(child->GetWidth(), 2000);
  EXPECT_FLOAT_EQ(child->GetClientHeight(), 500);
}

TEST_F(KitModel, DuplicationCopiesTheTreeAndItsAttributes) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  auto* track = Make<CWpKit>("CWpTrack");
  well->AddChild(track);
  track->SetTitleText(Gbk("  岩性道 "));
  track->SetWidth(2500);
  well->SetBottomDepth(1800);

  CZuObject* copy = nullptr;
  well->DuplicateObject(&copy, layer);
  auto* twin = dynamic_cast<CWpWell*>(copy);
  ASSERT_NE(twin, nullptr);
  ASSERT_EQ(twin->ChildrenCount(), 1);
  CWpKit* twin_track = twin->GetChild(0);
  EXPECT_NE(twin_track, track);
  EXPECT_EQ(twin_track->GetParent(), twin);
  EXPECT_EQ(twin_track->GetTitleText(), Gbk("岩性道"));
  EXPECT_FLOAT_EQ(twin_track->GetWidth(), 2500);
  EXPECT_FLOAT_EQ(twin_track->GetBottomDepth(), 1800);
  layer->AddObject(twin);
  // The copy lives on after the original is gone.
  layer->DeleteObject(well);
  EXPECT_EQ(twin->GetChild(0)->GetWell(), twin);
}

TEST_F(KitModel, TitleFontChangeGrowsTheTitleBand) {
  CWpKit kit(layer);
  ZULOGFONT font = kit.GetTitleFont();
  font.height = 1000;
  kit.SetTitleFont(&font);
  EXPECT_FLOAT_EQ(kit.GetTitleHeight(), 1000);
  kit.SetTitleFont(nullptr);
  EXPECT_FLOAT_EQ(kit.GetTitleHeight(), 1000);
}

TEST_F(KitModel, UpdateParentForWidthWidensTheAncestors) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  auto* track = Make<CWpKit>("CWpTrack");
  auto* content = Make<CWpKit>("CWpStratum");
  well->AddChild(track);
  track->AddChild(content);
  well->SetWidth(3000);
  track->SetWidth(1000);
  track->SetWidth(1600);
  EXPECT_FLOAT_EQ(CWpKit::GetTrackWidthDelta(), 600);
  track->UpdateParentForWidth();
  EXPECT_FLOAT_EQ(well->GetWidth(), 3600);
}

TEST_F(KitModel, InvalidationGrowsDrawRectanglesBy200) {
  CWpKit kit(layer);
  layer->AddObject(&kit);
  kit.BuildControlNodePointArray();
  doc.ClearInvalidRects();
  kit.InvalidSelf();
  ASSERT_EQ(doc.GetInvalidRects().size(), 1u);
  CRect total = kit.TotalDraw().Normalized();
  CRect r = doc.GetInvalidRects()[0];
  EXPECT_EQ(r.left, total.left - 200);
  EXPECT_EQ(r.right, total.right + 200);
  EXPECT_EQ(r.top, total.top + 200);
  EXPECT_EQ(r.bottom, total.bottom - 200);
  layer->RemoveObject(&kit);
}

}  // namespace
}  // namespace davodu::testing
