// The stratification, sand, segment-table, scattered and fault point data
// objects: the gateway's factories, reading, the edits and their rules,
// and the depth-reference forms.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/sand_adapters.h"
#include "davodu/data/adapters/stratum_adapters.h"
#include "davodu/data/data_set_checker.h"
#include "davodu/data/interval_rule.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/general_data_manager.h"
#include "davodu/store/well_data_manager.h"
#include "support/cli.h"
#include "support/interval_data.h"

namespace davodu {
namespace {

struct CountingKit : Observer {
  int updates = 0;
  void UpdateWithObservee() override { ++updates; }
};

class IntervalAdapters : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wells_ = std::make_unique<CWellDataManager>(testing::ScratchDb(testing::ScratchDir("intervals-" + name)));
    ASSERT_TRUE(wells_->IsOpen()) << wells_->GetLastError();
    std::string error;
    ASSERT_TRUE(testing::FillIntervalWells(*wells_, &error)) << error;
  }
  void TearDown() override { CDataSetChecker::Instance()->SetCheckFun({}); }

  double Cell(const char* well, TableKind kind, int sub, int row, const char* column) {
    std::shared_ptr<CWellTable> t = wells_->GetTable(well, kind, sub);
    return t ? t->GetDouble(row, column) : kFltMax;
  }

  std::unique_ptr<CWellDataManager> wells_;
};

TEST(IntervalRule, NeighboursAndOrder) {
  const DepthInterval above{990, 1000}, below{1020, 1030};
  const struct {
    const char* what;
    DepthInterval moved;
    bool fits;
  } cases[] = {
      {"between", {1005, 1015}, true},
      {"touching both", {1000, 1020}, true},
      {"within the tolerance of the neighbour", {999.9995, 1020.0005}, true},
      {"into the one above", {999, 1010}, false},
      {"into the one below", {1010, 1021}, false},
      {"upside down", {1015, 1005}, false},
      {"no thickness", {1010, 1010}, true},
      {"missing top", {kFltMax, 1010}, false},
      {"not a number", {NAN, 1010}, false},
  };
  for (const auto& c : cases) EXPECT_EQ(FitsBetweenNeighbours(&above, c.moved, &below), c.fits) << c.what;
  // No neighbour, or a neighbour without depths, sets no limit.
  EXPECT_TRUE(FitsBetweenNeighbours(nullptr, {500, 5000}, nullptr));
  const DepthInterval unknown{kFltMax, kFltMax};
  EXPECT_TRUE(FitsBetweenNeighbours(&unknown, {500, 600}, &unknown));
}

TEST(ComposedNames, EmptyFieldsAreDropped) {
  const struct {
    const char* name;
    std::vector<std::string> fields;
  } cases[] = {
      {",T,F,", {"T", "F"}}, {"T,F", {"T", "F"}}, {", , ,", {}}, {",,T,,", {"T"}},
      {" T , F ", {"T", "F"}}, {"", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ComposedNameFields(c.name), c.fields) << c.name;
}

TEST_F(IntervalAdapters, FactoriesCheckTheWellAndTheTable) {
  WDMgrAdapter gw(wells_.get(), "W1");
  WDMgrAdapter unknown(wells_.get(), "NOPE");
  struct Case {
    const char* what;
    bool found;
    bool got;
  };
  const Case cases[] = {
      {"a level with a table", true, gw.GetStratum2(STRATUM_LEVEL3, "") != nullptr},
      {"a level without one", false, gw.GetStratum2(STRATUM_LEVEL1, "") != nullptr},
      {"no data", true, gw.GetStratum2(STRATUM_NONE, "") != nullptr},
      {"a scattered table", true, gw.GetStratum2(STRATUM_SCATT, ",T,LAYER,") != nullptr},
      {"a scattered name without its column", false, gw.GetStratum2(STRATUM_SCATT, ",T,") != nullptr},
      {"a missing scattered table", false, gw.GetStratum2(STRATUM_SCATT, ",X,LAYER,") != nullptr},
      {"a level of an unknown well", false, unknown.GetStratum2(STRATUM_LEVEL3, "") != nullptr},
      {"the list form", true, gw.GetStratum(STRATUM_LEVEL3, "") != nullptr},
      {"sand of the well", true, gw.GetSand(SAND_CLASS1, "") != nullptr},
      {"sand of an unknown well", false, unknown.GetSand(SAND_CLASS1, "") != nullptr},
      {"no fine stratification", false, gw.GetSand(static_cast<SANDTYPE>(13), "") != nullptr},
      {"no interlayers", false, gw.GetSand(SAND_INTERLAYER, "") != nullptr},
      {"segment table 1", true, gw.GetSand(SAND_SEGMENT1, "") != nullptr},
      {"no segment table 2", false, gw.GetSand(SAND_SEGMENT2, "") != nullptr},
      {"a scattered sand table", true, gw.GetSand(SAND_SCATT, "T more") != nullptr},
      {"no sand", true, gw.GetSand(SAND_NONE, "") != nullptr},
      {"an unknown sand type", false, gw.GetSand(static_cast<SANDTYPE>(31), "") != nullptr},
      {"fault points of the chart's well", true, gw.GetFaultPointDIO(FAULTPOINT_WELL, "W1") != nullptr},
      {"fault points of another well", true, gw.GetFaultPointDIO(FAULTPOINT_WELL, "D1") != nullptr},
      {"an unknown well's fault points", false, gw.GetFaultPointDIO(FAULTPOINT_WELL, "NOPE") != nullptr},
  };
  for (const Case& c : cases) EXPECT_EQ(c.got, c.found) << c.what;

  LogStratum2DIO* none = gw.GetStratum2(STRATUM_NONE, "");
  EXPECT_EQ(none->GetCount(), -1);
  EXPECT_EQ(none->GetLevel(), -1);
  FaultPointPairs points;
  EXPECT_TRUE(none->GetFaultPoints(&points));
  EXPECT_TRUE(points.empty());
  EXPECT_EQ(gw.GetSand(SAND_NONE, "")->GetSandType(), SAND_NONE);
}

TEST_F(IntervalAdapters, StratificationReadsNamesAndFaultPoints) {
  WDMgrAdapter gw(wells_.get(), "W1");
  LogStratum2DIO* s = gw.GetStratum2(STRATUM_LEVEL3, "");
  ASSERT_EQ(s->GetCount(), 4);
  EXPECT_EQ(s->GetName(1), Gbk("沙二段"));
  EXPECT_EQ(s->GetTop(1), 1010);
  EXPECT_EQ(s->GetBottom(1), 1025);
  EXPECT_EQ(s->GetTop(9), kFltMax);
  EXPECT_EQ(s->GetName(9), "");
  EXPECT_EQ(s->GetLevel(), STRATUM_LEVEL3);
  FaultPointPairs points;
  ASSERT_TRUE(s->GetFaultPoints(&points));
  ASSERT_EQ(points.size(), 1u);
  EXPECT_EQ(points[0], std::make_pair(1020.0, 5.0));

  std::vector<std::string> checked;
  CDataSetChecker::Instance()->SetCheckFun([&](const std::string& owner, const std::string& set) {
    checked.push_back(owner + "|" + set);
    return true;
  });
  s->CheckDataSet();
  gw.GetSand(static_cast<SANDTYPE>(SAND_SEGMENT1), "")->CheckDataSet();
  EXPECT_EQ(checked, (std::vector<std::string>{"W1|" + Gbk("分层界限.三级分层界限数据"),
                                               "W1|" + Gbk("段数据")}));
}

// A boundary shared by two strata moves in both records, in one write;
// a refused edit writes nothing.
TEST_F(IntervalAdapters, AStratumBoundaryMovesBothRecordsAtOnce) {
  WDMgrAdapter gw(wells_.get(), "W1");
  LogStratum2DIO* s = gw.GetStratum2(STRATUM_LEVEL3, "");
  std::shared_ptr<CWellTable> table = wells_->GetWellStratum(STRATUM_LEVEL3, "W1");
  const std::uint64_t before = table->GetTimeStamp();

  ASSERT_TRUE(s->SetTop(1, 1008));
  EXPECT_EQ(s->GetBottom(0), 1008);
  EXPECT_EQ(s->GetTop(1), 1008);
  EXPECT_GT(table->GetTimeStamp(), before);

  ASSERT_TRUE(s->SetBottom(1, 1028));
  EXPECT_EQ(s->GetBottom(1), 1028);
  EXPECT_EQ(s->GetTop(2), 1028);

  const struct {
    const char* what;
    bool top;
    int index;
    double depth;
  } refused[] = {
      {"a top below its own bottom", true, 1, 1030},
      {"a top above the top of the stratum above", true, 1, 999},
      {"a bottom below the bottom of the stratum below", false, 1, 1041},
      {"a bottom above its own top", false, 1, 1005},
      {"no such stratum", true, 7, 1000},
  };
  for (const auto& r : refused) {
    const std::uint64_t stamp = table->GetTimeStamp();
    EXPECT_FALSE(r.top ? s->SetTop(r.index, r.depth) : s->SetBottom(r.index, r.depth)) << r.what;
    EXPECT_EQ(table->GetTimeStamp(), stamp) << r.what;
  }
  EXPECT_EQ(s->GetTop(1), 1008);
  EXPECT_EQ(s->GetBottom(0), 1008);
  EXPECT_FALSE(s->Move(1, 1));
}

// The first-class sand of the well: rows without a sand top are not
// intervals of their own; a top moved down stops at the valid part inside,
// a bottom moved up at the last valid part; a move takes the inner parts
// along and stops at the neighbours.
TEST_F(IntervalAdapters, SandIntervalsKeepTheirInsides) {
  WDMgrAdapter gw(wells_.get(), "W1");
  LogSandDIO* sand = gw.GetSand(SAND_CLASS1, "");
  ASSERT_EQ(sand->GetCount(), 3);
  EXPECT_EQ(sand->GetTop(0), 1002);
  EXPECT_EQ(sand->GetTop(2), 1030);
  LogSandDIO* strata = gw.GetSand(SAND_CLASS2, "");
  ASSERT_EQ(strata->GetCount(), 2) << "a sand-stratum top of 0 is no interval";
  EXPECT_EQ(strata->GetBottom(1), 1020);
  EXPECT_EQ(gw.GetSand(SAND_VALID, "")->GetCount(), 2);

  ASSERT_TRUE(sand->SetTop(0, 1004));
  EXPECT_EQ(sand->GetTop(0), 1003) << "stops at the valid top inside";
  ASSERT_TRUE(sand->SetBottom(0, 1005));
  EXPECT_EQ(sand->GetBottom(0), 1006.8) << "stops at the last valid bottom inside";
  ASSERT_TRUE(sand->SetTop(0, 1002.5));
  EXPECT_EQ(sand->GetTop(0), 1002.5) << "moving up is free";

  ASSERT_TRUE(sand->Move(0, 1));
  EXPECT_EQ(sand->GetTop(0), 1003.5);
  EXPECT_EQ(Cell("W1", TableKind::kSand, 0, 0, "valid_top"), 1004);
  EXPECT_EQ(Cell("W1", TableKind::kSand, 0, 1, "valid_top"), 1007.2);
  EXPECT_EQ(Cell("W1", TableKind::kSand, 0, 0, "stratum_top"), 1001) << "the outer body stays";
  EXPECT_FALSE(sand->Move(0, 6)) << "into the next sand";
  EXPECT_FALSE(sand->SetBottom(1, 1031)) << "into the next sand";
  EXPECT_FALSE(gw.GetSand(SAND_NETVALID, "")->SetTop(0, 1000));
}

// Segment tables move both ends of an interval and stop at the previous
// interval's bottom (not its top).
TEST_F(IntervalAdapters, SegmentTableMovesBothEndsWithinItsNeighbours) {
  WDMgrAdapter gw(wells_.get(), "W1");
  LogSandDIO* seg = gw.GetSand(SAND_SEGMENT1, "");
  ASSERT_EQ(seg->GetCount(), 3);
  EXPECT_EQ(seg->GetSandType(), SAND_SEGMENT1);
  ASSERT_TRUE(seg->Move(1, -4));
  EXPECT_EQ(seg->GetTop(1), 1006);
  EXPECT_EQ(seg->GetBottom(1), 1011);
  EXPECT_FALSE(seg->Move(1, -2)) << "would reach above the previous bottom (1005)";
  ASSERT_TRUE(seg->Move(1, -1));
  EXPECT_TRUE(seg->Move(1, 10)) << "touches the next top";
  EXPECT_FALSE(seg->Move(1, 1)) << "would reach below the next top";
  EXPECT_TRUE(seg->SetTop(1, 1012));
  EXPECT_FALSE(seg->SetTop(1, 1021)) << "below its own bottom";
}

// Scattered tables: a new top keeps the bottom (the thickness changes with
// it) in one write; a stratification name must hold exactly a table and a
// column, leading and trailing commas aside.
TEST_F(IntervalAdapters, ScatteredTablesKeepDepthAndThicknessTogether) {
  WDMgrAdapter gw(wells_.get(), "W1");
  LogSandDIO* sand = gw.GetSand(SAND_SCATT, "T");
  ASSERT_EQ(sand->GetCount(), 3);
  EXPECT_EQ(sand->GetSandType(), SAND_SCATT);
  EXPECT_EQ(sand->GetBottom(1), 1015);
  ASSERT_TRUE(sand->SetTop(1, 1007));
  EXPECT_EQ(sand->GetTop(1), 1007);
  EXPECT_EQ(sand->GetBottom(1), 1015);
  EXPECT_FALSE(sand->Move(1, -3)) << "into the record above";
  EXPECT_TRUE(sand->Move(1, 5));
  EXPECT_EQ(sand->GetTop(2), 1020);

  LogStratum2DIO* strata = gw.GetStratum2(STRATUM_SCATT, ",T,LAYER,");
  ASSERT_NE(strata, nullptr);
  EXPECT_EQ(strata->GetName(2), "c");
  EXPECT_EQ(strata->GetLevel(), STRATUM_SCATT);
  // Record 0 (1000-1005) and record 1 (now 1012-1020) do not touch: only
  // the record itself moves.
  ASSERT_TRUE(strata->SetBottom(0, 1004));
  EXPECT_EQ(strata->GetBottom(0), 1004);
  EXPECT_EQ(strata->GetTop(1), 1012);

  const struct {
    const char* name;
    bool table;
  } names[] = {{",T,LAYER,", true}, {"T,LAYER", true}, {",T,", false}, {"T", false},
               {",T,LAYER,X,", false}, {", , ,", false}};
  for (const auto& n : names)
    EXPECT_EQ(!LogStratum2ScattAdapter(wells_.get(), n.name).GetTableName().empty(), n.table) << n.name;
}

// In true vertical depth and altitude the depths are converted both ways;
// a fault's gap is the distance between its converted ends.
TEST_F(IntervalAdapters, DepthReferencesConvertDepthsMovesAndGaps) {
  WDMgrAdapter gw(wells_.get(), "D1");
  gw.SetDepthType(DT_TVD);
  LogStratum2DIO* s = gw.GetStratum2(STRATUM_LEVEL3, "");
  const double tvd_top = wells_->ConvertDepthToZ("D1", 1100);
  ASSERT_LT(tvd_top, 1099) << "the hole is deviated below 1000 m";
  EXPECT_DOUBLE_EQ(s->GetTop(1), tvd_top);
  EXPECT_DOUBLE_EQ(s->GetBottom(0), tvd_top);

  ASSERT_TRUE(s->SetTop(1, tvd_top + 10));
  const double md = wells_->ConvertZToDepth("D1", tvd_top + 10);
  EXPECT_NEAR(Cell("D1", TableKind::kStratum, 3, 1, "top"), md, 1e-6);
  EXPECT_NEAR(Cell("D1", TableKind::kStratum, 3, 0, "bottom"), md, 1e-6);
  EXPECT_NEAR(s->GetTop(1), tvd_top + 10, 1e-6);

  FaultPointPairs points;
  ASSERT_TRUE(s->GetFaultPoints(&points));
  ASSERT_EQ(points.size(), 1u);
  const double d = wells_->ConvertDepthToZ("D1", 1150);
  const double gap = wells_->ConvertDepthToZ("D1", 1160) - d;
  EXPECT_DOUBLE_EQ(points[0].first, d);
  EXPECT_DOUBLE_EQ(points[0].second, gap);
  EXPECT_LT(gap, 10);
  LogFaultPointIO* faults = gw.GetFaultPointDIO(FAULTPOINT_WELL, "D1");
  ASSERT_EQ(faults->GetCount(), 1);
  EXPECT_DOUBLE_EQ(faults->GetDepth1(0), d);
  EXPECT_DOUBLE_EQ(faults->GetDepth2(0), gap);

  // Altitude of the vertical well W1: kelly bushing 100 m.
  WDMgrAdapter w1(wells_.get(), "W1");
  w1.SetDepthType(DT_AD);
  LogSandDIO* seg = w1.GetSand(SAND_SEGMENT1, "");
  EXPECT_DOUBLE_EQ(seg->GetTop(1), 910);
  ASSERT_TRUE(seg->Move(1, 2));
  EXPECT_DOUBLE_EQ(Cell("W1", TableKind::kSegmentData, 1, 1, "top"), 1012);
  EXPECT_DOUBLE_EQ(seg->GetBottom(1), 917);
  EXPECT_EQ(seg->GetTop(7), kFltMax) << "a missing depth stays missing";
  LogFaultPointIO* w1_faults = w1.GetFaultPointDIO(FAULTPOINT_WELL, "W1");
  EXPECT_DOUBLE_EQ(w1_faults->GetDepth1(0), 920);
  EXPECT_DOUBLE_EQ(w1_faults->GetDepth2(0), 5);
}

TEST_F(IntervalAdapters, TheStratumListFindsUnitsByDepthAndName) {
  WDMgrAdapter gw(wells_.get(), "W1");
  LogStratumDIO* md = gw.GetStratum(STRATUM_LEVEL3, "");
  ASSERT_EQ(md->GetCount(), 4);
  EXPECT_EQ(md->FindByName(Gbk("沙二段")), 1);
  EXPECT_EQ(md->FindByName("x"), -1);
  EXPECT_EQ(md->GetThickness(1), 15);
  gw.SetDepthType(DT_TVD);
  LogStratumDIO* tvd = gw.GetStratum(STRATUM_LEVEL3, "");
  gw.SetDepthType(DT_AD);
  LogStratumDIO* ad = gw.GetStratum(STRATUM_LEVEL3, "");
  EXPECT_DOUBLE_EQ(ad->GetTop(1), 910);
  EXPECT_DOUBLE_EQ(ad->GetThickness(1), 15);
  // At a bottom: the next unit in measured and altitude depth, the same
  // one (both ends included) in true vertical depth.
  const struct {
    LogStratumDIO* io;
    double depth;
    int found;
  } cases[] = {{md, 1010, 1}, {ad, 910, 1}, {tvd, 1010, 0}, {md, 1005, 0},
               {md, 999, -1}, {tvd, 1041, -1}};
  for (const auto& c : cases) EXPECT_EQ(c.io->FindByDepth(c.depth), c.found) << c.depth;
}

// A change written through one gateway reaches the kits of another after
// its poll.
TEST_F(IntervalAdapters, AnotherChartSeesAnEditAfterItsPoll) {
  WDMgrAdapter a(wells_.get(), "W1"), b(wells_.get(), "W1");
  CountingKit kit;
  LogStratum2DIO* sb = b.GetStratum2(STRATUM_LEVEL3, "");
  sb->Attatch(&kit);
  // The first polls refresh (the data, then the stratum colours).
  for (int i = 0; i < 3; ++i) b.CheckDataUpdate();
  const int seen = kit.updates;
  b.CheckDataUpdate();
  EXPECT_EQ(kit.updates, seen);
  ASSERT_TRUE(a.GetStratum2(STRATUM_LEVEL3, "")->SetTop(1, 1009));
  b.CheckDataUpdate();
  EXPECT_GT(kit.updates, seen);
  EXPECT_EQ(sb->GetTop(1), 1009);
}

}  // namespace
}  // namespace davodu
