// The well: settings, data binding without a data gateway, the depth scale
// arithmetic, tracks and their order, records and older documents, menus
// and the mouse.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "davodu/host/objects/chart_view.h"
#include "davodu/host/records/record_numbers.h"
#include "davodu/data/data_set_checker.h"
#include "davodu/well/wp_well_scale.h"
#include "support/cli.h"
#include "support/kit_fixture.h"
#include "support/records.h"

namespace davodu::testing {
namespace {

using Well = KitTest;

void ExpectPoints(const std::vector<ZUPOINT3D>& got, const std::vector<ZUPOINT3D>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_NEAR(got[i].x, want[i].x, 1e-9);
    EXPECT_NEAR(got[i].y, want[i].y, 1e-6);
    EXPECT_NEAR(got[i].z, want[i].z, 1e-9);
  }
}

TEST_F(Well, ANewWellAndItsSetterBounds) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  EXPECT_EQ(well->GetTitleText(), Gbk("井"));
  EXPECT_EQ(well->GetDataMgr(), nullptr);
  EXPECT_EQ(well->GetStyle(), -1);
  EXPECT_FLOAT_EQ(well->GetTitleHeight(), well->GetTitleFont().height + 300);
  int n = -1;
  EXPECT_TRUE(well->ScaleSegment(0, n).empty());
  EXPECT_EQ(n, 0);
  // Without segments the depth mapping is linear.
  well->BuildControlNodePointArray();
  EXPECT_DOUBLE_EQ(well->DepToMapY(1500), well->MapNode(0).y - 500 * well->GetDepScl());

  const struct {
    const char* what;
    void (*set)(CWpWell*);
    double (*get)(const CWpWell*);
    double want;
  } cases[] = {
      {"title align above 9", [](CWpWell* w) { w->SetTitleAlign(12); },
       [](const CWpWell* w) -> double { return w->GetTitleAlign(); }, 9},
      {"symbol align below -1", [](CWpWell* w) { w->SetTypeAlign(-5); },
       [](const CWpWell* w) -> double { return w->GetTypeAlign(); }, -1},
      {"negative top extend", [](CWpWell* w) { w->SetTopExtendDepth(-1); },
       [](const CWpWell* w) -> double { return w->GetTopExtendDepth(); }, 0},
      {"bottom extend", [](CWpWell* w) { w->SetBotExtendDepth(12.5f); },
       [](const CWpWell* w) -> double { return w->GetBotExtendDepth(); }, 12.5},
      {"unknown depth type", [](CWpWell* w) { w->SetDepthType(5); },
       [](const CWpWell* w) -> double { return w->GetDepthType(); }, 0},
      {"vertical depth", [](CWpWell* w) { w->SetDepthType(CWpWell::kDepthVertical); },
       [](const CWpWell* w) -> double { return w->GetDepthType(); }, 1},
      {"unknown range type", [](CWpWell* w) { w->SetRangeType(2); },
       [](const CWpWell* w) -> double { return w->GetRangeType(); }, 0},
  };
  for (const auto& tc : cases) {
    tc.set(well);
    EXPECT_DOUBLE_EQ(tc.get(well), tc.want) << tc.what;
  }
}

TEST_F(Well, TheSymbolSizeKeepsTheTitleBandOnlyWhileShown) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  const float title = well->GetTitleHeight();
  ZULOGPOINT p = well->GetTypePoint();
  p.size = 500;
  well->SetTypePoint(p);  // hidden symbol: the band stays
  EXPECT_FLOAT_EQ(well->GetTitleHeight(), title);
  well->SetTypeAlign(1);
  p.size = 800;
  well->SetTypePoint(p);
  EXPECT_FLOAT_EQ(well->GetTitleHeight(), title + 300);
}

TEST_F(Well, DataBindingOfAWellTheDatabaseDoesNotKnow) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  well->SetName(Gbk("濮1"));
  well->SetTitleText(Gbk("濮1井 濮1"));
  well->SetUnitClass(3);
  well->IniData();  // data access not allowed yet: nothing happens
  EXPECT_EQ(well->WellExist(), 1);
  EXPECT_EQ(well->GetUnitClass(), 3);

  well->InitDataTable();
  EXPECT_EQ(well->GetCanInitData(), 1);
  // An unknown well keeps its gateway but reports that it does not exist.
  EXPECT_NE(well->GetDataMgr(), nullptr);
  EXPECT_EQ(well->WellExist(), 0);
  EXPECT_EQ(well->GetUnitClass(), -1);
  EXPECT_EQ(well->GetTopUnit(), Gbk("未知"));

  // Without data the unit range changes nothing.
  well->SetRangeType(CWpWell::kRangeByUnits);
  well->SetTopUnit("S1");
  well->ComputeValidTopAndBottom();
  EXPECT_FLOAT_EQ(well->GetTopDepth(), 1000);
  EXPECT_EQ(well->GetTopUnit(), "S1");

  const struct {
    std::string name, title;
  } cases[] = {
      {Gbk("濮1"), Gbk("濮1井 濮1")},  // the same well (without case): nothing
      {Gbk("濮12"), Gbk("濮12井 濮12")},
      {Gbk("未指定"), Gbk("井")},
  };
  for (const auto& tc : cases) {
    well->SwitchData(tc.name);
    EXPECT_EQ(well->GetName(), tc.name);
    EXPECT_EQ(well->GetTitleText(), tc.title);
  }
}

TEST_F(Well, ScaleSegmentsFromSandIntervals) {
  // Depths 1000 to 1100 from map Y 0, 10 map units a metre.
  const struct {
    const char* what;
    std::vector<SandInterval> sands;
    double top, sand, shale;
    std::vector<ZUPOINT3D> want;  // start depth, end Y, factor
  } cases[] = {
      {"true thicknesses: all factors 1, as if linear", {{1010, 1020}, {1030, 1035}}, 1000, 0, 0,
       {{1000, -100, 1}, {1010, -200, 1}, {1020, -300, 1}, {1030, -350, 1}, {1035, -1000, 1}}},
      {"sands drawn 5 m tall", {{1010, 1020}, {1030, 1035}}, 1000, 5, 0,
       {{1000, -100, 1}, {1010, -150, 0.5}, {1020, -250, 1}, {1030, -300, 1}, {1035, -950, 1}}},
      {"range starting inside a sand, shale drawn 10 m", {{990, 1020}, {1020.0005, 1040}}, 1000, 0,
       10,
       {{1000, -200, 1}, {1020.0005, -399.995, 1}, {1040, -499.995, 10.0 / 60}}},
      {"no sand in the range", {{900, 950}, {1200, 1300}}, 1000, 5, 0, {{1000, -1000, 1}}},
      {"last sand past the bottom keeps its whole thickness", {{1090, 1110}}, 1000, 4, 0,
       {{1000, -900, 1}, {1090, -940, 0.2}}},
      {"no sands", {}, 1000, 0, 0, {}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.what);
    ExpectPoints(BuildScaleSegments(tc.sands, tc.top, 1100, 0, 10, tc.sand, tc.shale), tc.want);
  }

  // Segments of factor 1 map every depth where the plain scale does.
  auto* well = new FixedScaleWell;
  layer->AddObject(well);
  auto* track = Make<CWpKit>("CWpTrack");
  well->AddChild(track);
  well->SetTopDepth(1000);
  well->SetBottomDepth(1100);
  well->BuildControlNodePointArray();
  track->BuildControlNodePointArray();
  const double y0 = track->MapNode(0).y;
  well->segments = BuildScaleSegments({{1010, 1020}, {1030, 1035}}, 1000, 1100, y0,
                                      track->GetDepScl(), 0, 0);
  for (double d : {1000.0, 1005.0, 1010.0, 1025.0, 1034.0, 1099.0})
    EXPECT_NEAR(track->DepToMapY(d), y0 - (d - 1000) * track->GetDepScl(), 1e-6) << d;
}

TEST_F(Well, FaultPointsAccumulateTheirGaps) {
  const struct {
    const char* what;
    std::vector<FaultPointData> data;
    std::vector<ZUPOINT3D> want;  // depth, shift, gap
  } cases[] = {
      {"two gaps, given out of order, one point below the range",
       {{1500, 3}, {1200, 2}, {2500, 9}},
       {{1200, 0, 2}, {1500, 2, 3}, {2000, 5, 0}}},
      {"a missing gap counts as nothing", {{1300, kFltMax}, {1400, 4}},
       {{1300, 0, 0}, {1400, 0, 4}, {2000, 4, 0}}},
      {"no points at all: no closing point", {}, {}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.what);
    ExpectPoints(BuildFaultPoints(tc.data, 1000, 2000), tc.want);
  }
}

TEST_F(Well, DepthRangeAndUnitNames) {
  const std::vector<StratumUnit> units = {
      {"S1", 1050, 30}, {"S2", 0, 40} /* no usable top: the next one's */, {"S3", 1200, 50},
      {"S4", 1300, 20}};
  EXPECT_DOUBLE_EQ(ValidUnitTop(units, 1), 1200);
  EXPECT_DOUBLE_EQ(ValidUnitTop({{"a", 1000, 5}, {"b", -3, 5}}, 1), 1000);

  const struct {
    const char* what;
    UnitDepthRange in;
    float top_extend, bottom_extend;
    UnitDepthRange want;
  } cases[] = {
      {"units give the depths with their margins", {1000, 2000, "S1", "S3"}, 5, 10,
       {1045, 1260, "S1", "S3"}},
      {"depths already inside the units stay", {1060, 1230, "S1", "S3"}, 5, 10,
       {1060, 1230, "S1", "S3"}},
      {"names not in the list", {1000, 2000, "X", "Y"}, 0, 0,
       {1000, 2000, Gbk("未知"), Gbk("未知")}},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.what);
    UnitDepthRange r = tc.in;
    DepthsFromUnits(units, tc.top_extend, tc.bottom_extend, r);
    EXPECT_FLOAT_EQ(r.top, tc.want.top);
    EXPECT_FLOAT_EQ(r.bottom, tc.want.bottom);
    EXPECT_EQ(r.top_unit, tc.want.top_unit);
    EXPECT_EQ(r.bottom_unit, tc.want.bottom_unit);
  }
  // The other way: the bottom looks above the present bottom unit's
  // thickness (S4, 20 m) and the margin.
  UnitDepthRange r{1045, 1350, "", "S4"};
  UnitsFromDepths(units, 10, 5, r);
  EXPECT_EQ(r.top_unit, "S1");                // holds 1055
  EXPECT_EQ(r.bottom_unit, Gbk("未知"));      // 1325 lies below S4
  r = {1045, 1340, "", "S4"};
  UnitsFromDepths(units, 10, 5, r);
  EXPECT_EQ(r.bottom_unit, "S4");             // 1315
}

// A well with four named tracks A to D, 1000 wide each.
class WellTracks : public KitTest {
 protected:
  WellTracks() {
    well = MakeRoot<CWpWell>("CWpWell");
    for (const char* name : {"A", "B", "C", "D"}) {
      auto* t = Make<CWpTrack>("CWpTrack");
      t->SetName(name);
      well->AddChild(t);
    }
    well->SetWidth(4000);
    well->Update();
  }
  std::string Order() const {
    std::string out;
    for (const CWpKit* k : well->GetChildren()) out += k->GetName().empty() ? "*" : k->GetName();
    return out;
  }
  CWpWell* well;
};

TEST_F(WellTracks, AddTrackInsertsAndWidens) {
  const struct {
    unsigned id;
    int index;
    const char* order;
    int grid;
  } cases[] = {
      {8051, 2, "ABC*D", 1},   // the second in-well block adds right of index
      {8052, 3, "ABCD*", 0},   // right of the last: appended
      {8028, 2, "AB*CD", 1},   // the first block adds at index
      {8030, 0, "*ABCD", 0},
      {8004, -1, "ABCD*", 0},  // the well's menu: at the end
      {0, 99, "ABCD*", 1},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << tc.id << " at " << tc.index);
    const float width = well->GetWidth();
    CWpTrack* t = well->AddTrack(tc.id, tc.index);
    ASSERT_NE(t, nullptr);
    t->SetName("");
    EXPECT_EQ(Order(), tc.order);
    EXPECT_EQ(t->GetParent(), well);
    EXPECT_EQ(t->IsShowScale(), tc.grid);
    EXPECT_EQ(t->IsShowDepth(), tc.grid);
    EXPECT_FLOAT_EQ(t->GetWidth(), 2000);
    EXPECT_FLOAT_EQ(well->GetWidth(), width + 2000);
    well->DeleteChild(t);
    well->SetWidth(width);
  }
}

TEST_F(WellTracks, MoveChildPutsATrackBeforeTheOneAtTheTarget) {
  const struct {
    int from, to;
    const char* order;
  } cases[] = {
      {0, 2, "BACD"},  // before C, counted before the move
      {3, 0, "DABC"}, {1, -1, "ACDB"}, {0, 9, "BCDA"}, {2, 2, "ABCD"}, {7, 0, "ABCD"},
  };
  for (const auto& tc : cases) {
    SCOPED_TRACE(::testing::Message() << tc.from << " to " << tc.to);
    std::vector<CWpKit*> kids = well->GetChildren();
    std::sort(kids.begin(), kids.end(),
              [](const CWpKit* a, const CWpKit* b) { return a->GetName() < b->GetName(); });
    for (CWpKit* k : kids) well->RemoveChild(k);
    for (CWpKit* k : kids) well->AddChild(k);
    well->Update();
    ASSERT_EQ(Order(), "ABCD");
    well->MoveChild(tc.from, tc.to);
    EXPECT_EQ(Order(), tc.order);
    // The tracks stand side by side again in their new order.
    double x = well->MapNode(0).x;
    for (const CWpKit* k : well->GetChildren()) {
      EXPECT_DOUBLE_EQ(k->MapNode(0).x, x) << k->GetName();
      x += k->GetWidth();
    }
  }
}

TEST_F(WellTracks, HitsAndTracksUnderAPoint) {
  CWpKit* b = well->GetChild(1);
  const FLOATPOINT inside{(b->MapNode(0).x + b->MapNode(1).x) / 2,
                          (b->MapNode(0).y + b->MapNode(10).y) / 2};
  EXPECT_EQ(well->PtInTrack(inside), b);
  EXPECT_EQ(well->PtInTrack(FLOATPOINT{b->MapNode(1).x + 0.0005, inside.y}), b);  // edge
  EXPECT_EQ(well->PtInTrack(FLOATPOINT{inside.x, b->MapNode(0).y + 10}), nullptr);  // head
  const CPoint head{well->DrawNode(8).x, well->DrawNode(8).y - 10};
  EXPECT_EQ(well->HitTest(head), well);
  EXPECT_EQ(well->HitTest(CPoint{well->DrawNode(1).x + 1000, head.y}), nullptr);
  // Only in the body, whatever lies there.
  well->SetSelectOnlyBody(1);
  EXPECT_EQ(well->HitTest(head), nullptr);
  const CPoint body = well->GetTranslator().MapToDraw(inside);
  EXPECT_EQ(well->HitTest(body), well);
}

TEST_F(WellTracks, MenuAndCommands) {
  well->SetName(Gbk("濮1"));
  RecordingDC dc;
  ChartView view(&doc, &dc);
  doc.AddMenu(99, "x");
  well->OnRButtonDown(&view, &dc, 0, CPoint{});
  const std::vector<MenuItem>& menu = doc.GetMenu();
  ASSERT_GE(menu.size(), 25u);
  EXPECT_EQ(menu[1].id, 0u);  // separator after what was there
  EXPECT_EQ(menu[2].id, 8004u);
  EXPECT_EQ(menu[2].text, Gbk("内容道"));
  EXPECT_EQ(menu[24].id, 8026u);
  EXPECT_EQ(menu[24].text, Gbk("深度道"));

  std::vector<std::pair<std::string, std::string>> checks;
  CDataSetChecker::Instance()->SetCheckFun([&](const std::string& w, const std::string& set) {
    checks.emplace_back(w, set);
    return true;
  });
  EXPECT_EQ(well->OnCommand(&view, &dc, kCmdCheckWellData, 0), 2);
  CDataSetChecker::Instance()->SetCheckFun(nullptr);
  EXPECT_EQ(well->OnCommand(&view, &dc, kCmdCheckWellData, 0), 2);  // no function: nothing
  ASSERT_EQ(checks.size(), 1u);
  EXPECT_EQ(checks[0].first, Gbk("濮1"));
  EXPECT_EQ(checks[0].second, Gbk("井位数据"));

  // The well's menu adds an empty track at the right end.
  well->OnCommand(&view, &dc, 8004, 0);
  EXPECT_EQ(well->ChildrenCount(), 5);
  EXPECT_FLOAT_EQ(well->GetWidth(), 6000);
}

// A chart saved in a document, read back from the document written with
// another format version.
class OlderDocuments : public KitTest {
 protected:
  OlderDocuments() {
    auto* well = MakeRoot<CWpWell>("CWpWell");
    for (float w : {1500.f, 2500.f}) {
      auto* t = Make<CWpTrack>("CWpTrack");
      well->AddChild(t);
      t->SetWidth(w);
    }
    well->SetWidth(4000);
    well->SetPosition(FLOATPOINT{300, -50}, 1);
    well->Update();
    std::string error;
    path = ScratchDir("older-documents") + "/chart.wpd";
    EXPECT_TRUE(doc.SaveToFile(path, &error)) << error;
  }
  // The saved document with its format version replaced.
  std::string WithVersion(double version) const {
    CZuMFile in, out;
    out.OpenWrite();
    EXPECT_TRUE(in.OpenRead(ReadFile(path)));
    while (in.ReadNextRecord()) {
      if (in.GetRecordNumber() != 1) {
        CopyRecord(in, &out);
        continue;
      }
      std::string magic, text;
      in.GetRecordElement(0, magic);
      in.GetRecordElement(2, text);
      out.SetRecordNumber(1);
      out.AddRecordElement(magic);
      out.AddRecordElement(version);
      out.AddRecordElement(text);
      out.WriteNextRecord();
    }
    return out.GetData();
  }
  std::string path;
};

TEST_F(OlderDocuments, OlderThan30003TheWellMovesRightByHalfItsWidth) {
  const struct {
    double version;
    double shift;
  } cases[] = {{3.0, 2000}, {3.0002, 2000}, {3.0003, 0}, {3.011, 0}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.version);
    CZuMapFile read;
    std::string error;
    ASSERT_TRUE(read.ReadFromData(WithVersion(tc.version), "chart.wpd", &error)) << error;
    auto* well = dynamic_cast<CWpWell*>(read.GetActiveMap()->GetLayer(0)->GetObjectList().at(0));
    ASSERT_NE(well, nullptr);
    EXPECT_DOUBLE_EQ(well->GetPosition().x, 300 + tc.shift);
    EXPECT_DOUBLE_EQ(well->GetPosition().y, -50);
    // The tracks came along: they still fill the well from its left edge.
    ASSERT_EQ(well->ChildrenCount(), 2);
    EXPECT_DOUBLE_EQ(well->GetChild(0)->MapNode(0).x, 300 + tc.shift - 2000);
    EXPECT_DOUBLE_EQ(well->GetChild(1)->MapNode(0).x, 300 + tc.shift - 2000 + 1500);
    EXPECT_FLOAT_EQ(well->GetWidth(), 4000);
  }
}

TEST_F(Well, RecordsRoundTrip) {
  auto* well = MakeRoot<CWpWell>("CWpWell");
  well->AddChild(Make<CWpKit>("CWpTrack"));
  well->SetUnitClass(2);
  well->SetTopUnit("S1");
  well->SetBottomUnit("S9");
  well->SetTopExtendDepth(3);
  well->SetBotExtendDepth(4.5f);
  well->SetTitleAlign(0);
  well->SetTitlePosition(FLOATSIZE{12.5, -7});
  well->SetTypeAlign(2);
  ZULOGPOINT symbol = well->GetTypePoint();
  symbol.style = kPointStar;
  symbol.color = RGB(1, 2, 3);
  symbol.size = 450;
  well->SetTypePoint(symbol);
  well->SetTypePosition(FLOATSIZE{-3, 4});
  well->SetStyle(2, false);
  well->SetPointStyleTemplate("ps");
  well->SetSizeTemplate("sz");
  well->SetBorderColorTemplate("bc");
  well->SetInnerColorTemplate("ic");
  well->SetWellNameStyleTemplate("ns");
  well->SetWellNameSizeTemplate("nz");
  well->SetWellNameColorTemplate("nc");
  well->SetSelectOnlyBody(1);
  well->SetRangeType(CWpWell::kRangeByUnits);
  well->SetDepthType(CWpWell::kDepthAltitude);
  well->SetBlankSpace(true);
  well->SetFaultPointLineShown(false);
  ZULOGPEN pen = well->GetFaultPointLine();
  pen.color = RGB(9, 9, 9);
  well->SetFaultPointLine(pen);
  well->GetFaultInfo().points = {{1200, 0, 2}, {1500, 2, 3}, {2000, 5, 0}};

  CZuMFile out;
  out.OpenWrite();
  well->SaveToFile(&out);
  // After the base section: the "Well" record, the three key/value records,
  // the end of the section.
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(out.GetData()));
  std::vector<std::string> tail;
  while (in.ReadNextRecord())
    if (in.GetRecordNumber() == kRecTagged) {
      std::string tag;
      in.GetRecordElement(0, tag);
      tail.push_back(tag);
      if (tag == "Well") {
        EXPECT_EQ(in.GetRecordElementCount(), 30 + 9 + 2);
        std::string t;
        in.GetRecordElement(21, t);
        EXPECT_EQ(t, "RangeType");
        in.GetRecordElement(25, t);
        EXPECT_EQ(t, "FaultPointInfo");
        double gap = 0;
        in.GetRecordElement(31, gap);  // depth, gap, shift per point
        EXPECT_DOUBLE_EQ(gap, 2);
      }
    }
  ASSERT_GE(tail.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(tail.end() - 4, tail.end()),
            (std::vector<std::string>{"Well", "m_strWellNameStyleTemplate",
                                      "m_strWellNameSizeTemplate", "m_strWellNameColorTemplate"}));

  CZuMFile again;
  ASSERT_TRUE(again.OpenRead(out.GetData()));
  ASSERT_TRUE(again.ReadNextRecord());  // the 60 is the creator's
  CWpWell copy(layer);
  ASSERT_EQ(copy.ReadFromFile(&again), 1);
  EXPECT_EQ(copy.GetUnitClass(), 2);
  EXPECT_EQ(copy.GetTopUnit(), "S1");
  EXPECT_EQ(copy.GetBottomUnit(), "S9");
  EXPECT_FLOAT_EQ(copy.GetTopExtendDepth(), 3);
  EXPECT_FLOAT_EQ(copy.GetBotExtendDepth(), 4.5f);
  EXPECT_EQ(copy.GetTitleAlign(), 0);
  EXPECT_DOUBLE_EQ(copy.GetTitlePosition().cx, 12.5);
  EXPECT_EQ(copy.GetTypeAlign(), 2);
  EXPECT_EQ(copy.GetTypePoint(), symbol);
  EXPECT_DOUBLE_EQ(copy.GetTypePosition().cy, 4);
  EXPECT_EQ(copy.GetStyle(), 2);
  EXPECT_EQ(copy.GetPointStyleTemplate(), "");  // the host has no such template
  EXPECT_EQ(copy.GetWellNameStyleTemplate(), "ns");
  EXPECT_EQ(copy.GetWellNameSizeTemplate(), "nz");
  EXPECT_EQ(copy.GetWellNameColorTemplate(), "nc");
  EXPECT_EQ(copy.GetSelectOnlyBody(), 1);
  EXPECT_EQ(copy.GetRangeType(), CWpWell::kRangeByUnits);
  EXPECT_EQ(copy.GetDepthType(), CWpWell::kDepthAltitude);
  EXPECT_TRUE(copy.IsBlankSpace());
  EXPECT_FALSE(copy.IsFaultPointLine());
  EXPECT_EQ(copy.GetFaultPointLine(), pen);
  ExpectPoints(copy.GetFaultInfo().points, well->GetFaultInfo().points);
  EXPECT_EQ(copy.ChildrenCount(), 1);
}

TEST_F(Well, AShortWellRecordReadsTheGroupsItHas) {
  // An older record of 15 elements: only the fixed part, no zoom and none
  // of the optional groups.
  CZuMFile out;
  out.OpenWrite();
  out.SetRecordNumber(kRecEnd);  // the base section, empty
  out.WriteNextRecord();
  out.SetRecordNumber(kRecTagged);
  out.AddRecordElement("well");
  out.AddRecordElement(0);
  out.AddRecordElement(4);
  out.AddRecordElement("T");
  out.AddRecordElement("B");
  out.AddRecordElement(2.5f);
  out.AddRecordElement(7);
  FLOATSIZE pos{1, 2};
  out.AddRecordElement(&pos, sizeof pos);
  ZULOGPOINT symbol;
  out.AddRecordElement(&symbol, sizeof symbol);
  out.AddRecordElement(3);
  out.AddRecordElement(&pos, sizeof pos);
  for (int i = 0; i < 3; ++i) out.AddRecordElement(1);
  out.AddRecordElement(1);  // style
  out.WriteNextRecord();    // 15 elements: no zoom, nothing optional
  out.SetRecordNumber(kRecEnd);
  out.WriteNextRecord();
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(out.GetData()));
  CWpWell well(layer);
  ASSERT_EQ(well.ReadFromFile(&in), 1);
  EXPECT_EQ(well.WellExist(), 0);
  EXPECT_EQ(well.GetUnitClass(), 4);
  EXPECT_EQ(well.GetTitleAlign(), 7);
  EXPECT_EQ(well.GetTypeAlign(), 3);
  EXPECT_EQ(well.GetStyle(), 1);
  EXPECT_EQ(well.GetDepthType(), 0);
  EXPECT_FLOAT_EQ(well.GetBotExtendDepth(), 0);
  EXPECT_FALSE(well.IsBlankSpace());
}

TEST_F(WellTracks, DraggingTheNameOrTheSymbolPlacesItByHand) {
  RecordingDC dc;
  ChartView view(&doc, &dc);
  // Where the name and the symbol are drawn.
  auto name_at = [&] {
    for (const DrawOp& op : dc.OpsOf(DrawOp::kText))
      if (op.text == well->GetTitleText()) return op.points.at(0);
    ADD_FAILURE() << "no name drawn";
    return CPoint{};
  };
  auto symbol_at = [&] {
    const std::vector<DrawOp> dots = dc.OpsOf(DrawOp::kEllipse);
    if (dots.empty()) {
      ADD_FAILURE() << "no symbol drawn";
      return CPoint{};
    }
    return CPoint{(dots[0].points[0].x + dots[0].points[1].x) / 2,
                  (dots[0].points[0].y + dots[0].points[1].y) / 2};
  };
  // The name sits at the top of the title band and the symbol at its foot:
  // each is dragged into the band.
  const struct {
    const char* what;
    bool name;
    int dx, dy;
  } cases[] = {{"name", true, 30, -20}, {"symbol", false, 30, 20}};
  for (const auto& tc : cases) {
    SCOPED_TRACE(tc.what);
    well->SetTitleAlign(1);
    well->SetTypeAlign(1);
    well->Update();
    dc.Clear();
    well->Draw(&dc, &view, nullptr, nullptr);
    const CPoint at = tc.name ? name_at() : symbol_at();
    ASSERT_EQ(view.LButtonDown(at), well);
    EXPECT_EQ(well->GetEditMode(), 7);
    EXPECT_EQ(view.GetCursor(), IDC_SIZEALL);
    const CPoint to{at.x + tc.dx, at.y + tc.dy};
    view.MouseMove(to);
    view.LButtonUp(to);
    EXPECT_EQ(well->GetEditMode(), EM_NONE);
    EXPECT_EQ(tc.name ? well->GetTitleAlign() : well->GetTypeAlign(), 0);
    EXPECT_EQ(tc.name ? well->GetTypeAlign() : well->GetTitleAlign(), 1);
    dc.Clear();
    well->Draw(&dc, &view, nullptr, nullptr);
    EXPECT_EQ(tc.name ? name_at() : symbol_at(), to);
  }
}

TEST_F(WellTracks, MovingTheWellMovesTheChart) {
  RecordingDC dc;
  ChartView view(&doc, &dc);
  // In the head, left of the name.
  const CPoint press{well->DrawNode(2).x + 10, (well->DrawNode(2).y + well->DrawNode(4).y) / 2};
  ASSERT_EQ(view.LButtonDown(press), well);
  ASSERT_EQ(well->GetEditMode(), EM_MOVE);
  const FLOATPOINT anchor = well->GetPosition();
  const double track_x = well->GetChild(2)->MapNode(0).x;
  view.LButtonUp({press.x + 100, press.y + 40});
  EXPECT_DOUBLE_EQ(well->GetPosition().x, anchor.x + 100);
  EXPECT_DOUBLE_EQ(well->GetPosition().y, anchor.y + 40);
  EXPECT_DOUBLE_EQ(well->GetChild(2)->MapNode(0).x, track_x + 100);
}

TEST_F(WellTracks, ClearAndCopies) {
  well->SetTitleAlign(4);
  well->SetTypeAlign(2);
  well->SetDepthType(CWpWell::kDepthVertical);
  ASSERT_NE(well->AddSheet(), nullptr);
  ZULOGPOINT symbol = well->GetTypePoint();
  symbol.size = 400;
  well->SetTypePoint(symbol);
  well->SetTitlePosition(FLOATSIZE{100, 50});
  well->Amplify(FLOATPOINT{0, 0}, 2, 0.5);
  EXPECT_FLOAT_EQ(well->GetTypePoint().size, 800);
  EXPECT_DOUBLE_EQ(well->GetTitlePosition().cx, 200);
  EXPECT_DOUBLE_EQ(well->GetTitlePosition().cy, 25);

  CWpWell copy(layer);
  well->DuplicateAttribute(&copy);
  EXPECT_EQ(copy.GetTitleAlign(), 4);
  EXPECT_EQ(copy.GetTypeAlign(), 2);
  EXPECT_EQ(copy.GetDepthType(), CWpWell::kDepthVertical);
  EXPECT_EQ(copy.GetTypePoint(), well->GetTypePoint());

  const std::size_t objects = layer->GetObjectList().size();
  well->Clear();
  EXPECT_EQ(well->ChildrenCount(), 0);
  EXPECT_EQ(well->SheetsCount(), 0);
  EXPECT_EQ(layer->GetObjectList().size(), objects - 2);  // both tables went
  EXPECT_EQ(well->GetTitleAlign(), 1);
  EXPECT_EQ(well->GetDepthType(), 0);
  EXPECT_EQ(well->GetTitleText(), Gbk("井"));
}

// Documents of an older layout held depth columns directly in the well.
using LegacyDepthColumn = KitTest;

// The records of a well after its 60, with kits written into its base
// section as such documents have them; with cut the data ends inside a
// depth column.
std::string LegacyWell(CWpWell* well, const std::vector<CWpKit*>& kits, bool cut = false) {
  CZuMFile saved, in, out;
  saved.OpenWrite();
  well->SaveToFile(&saved);
  EXPECT_TRUE(in.OpenRead(saved.GetData()));
  out.OpenWrite();
  in.ReadNextRecord();  // the 60 is read by whoever creates the well
  bool base_ended = false;
  while (in.ReadNextRecord()) {
    if (!base_ended && in.GetRecordNumber() == kRecEnd) {
      base_ended = true;
      for (CWpKit* k : kits) k->SaveToFile(&out);
      if (cut) {
        WriteTexts(&out, kRecKitStart, {"CWpDepth"});
        WriteTexts(&out, kRecName, {"cut"});
        return out.GetData();
      }
    }
    CopyRecord(in, &out);
  }
  return out.GetData();
}

TEST_F(LegacyDepthColumn, ADepthKitInTheWellIsReadIntoATrackOfItsOwn) {
  auto* depth = Make<CWpDepth>("CWpDepth");
  depth->SetWidth(1500);
  depth->SetClientHeight(700);
  depth->SetTitleDirection(2);
  auto* plain = Make<CWpTrack>("CWpTrack");
  // The well is as wide as its columns and the other track's head is what
  // the wrapped column's will be (its title and client swapped), so the
  // layout after the read keeps every size.
  plain->SetTitleHeight(700);
  plain->SetClientHeight(depth->GetTitleHeight());
  CWpWell source(layer);
  source.SetName("W1");
  source.SetWidth(2500);
  source.SetClientHeight(700 + depth->GetTitleHeight());
  const std::string data = LegacyWell(&source, {depth, plain});
  AfxGetObjectFactory()->DeleteObject(depth);
  AfxGetObjectFactory()->DeleteObject(plain);

  auto* well = MakeRoot<CWpWell>("CWpWell");
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(data));
  ASSERT_EQ(well->ReadFromFile(&in), 1);
  EXPECT_EQ(well->GetName(), "W1");
  ASSERT_EQ(well->ChildrenCount(), 2);
  auto* track = dynamic_cast<CWpTrack*>(well->GetChild(0));
  ASSERT_NE(track, nullptr);
  ASSERT_EQ(track->ChildrenCount(), 1);
  auto* read = dynamic_cast<CWpDepth*>(track->GetChild(0));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetParent(), track);
  EXPECT_EQ(track->GetParent(), well);
  EXPECT_EQ(read->GetLayer(), layer);
  EXPECT_EQ(track->GetLayer(), layer);

  // No grid, and of the frame only the title lines.
  EXPECT_EQ(track->IsShowScale(), 0);
  EXPECT_EQ(track->IsShowDepth(), 0);
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(track->GetBorderVisible(i), i == 2 || i == 5 || i == 6 ? 1 : 0) << "flag " << i;
  EXPECT_EQ(read->GetBorderVisible(2), 0);
  // The track takes the column's look.
  EXPECT_FLOAT_EQ(track->GetWidth(), 1500);
  EXPECT_FLOAT_EQ(read->GetWidth(), 1500);
  EXPECT_FLOAT_EQ(track->GetTitleHeight(), 700);
  EXPECT_FLOAT_EQ(track->GetClientHeight(), read->GetTitleHeight());
  EXPECT_EQ(track->GetTitleDirection(), 2);
  EXPECT_EQ(read->GetGroup(), 0);
  EXPECT_EQ(track->GetDrawOrder(), (std::vector<int>{0}));

  // Other kits of the well are read as they are.
  auto* second = dynamic_cast<CWpTrack*>(well->GetChild(1));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->IsShowScale(), 1);
  EXPECT_EQ(second->ChildrenCount(), 0);
}

TEST_F(LegacyDepthColumn, AColumnThatEndsEarlyLeavesNothingBehind) {
  CWpWell source(layer);
  const std::string data = LegacyWell(&source, {}, true);
  auto* well = MakeRoot<CWpWell>("CWpWell");
  CZuMFile in;
  ASSERT_TRUE(in.OpenRead(data));
  EXPECT_EQ(well->ReadFromFile(&in), 0);
  EXPECT_EQ(well->ChildrenCount(), 0);
}

}  // namespace
}  // namespace davodu::testing
