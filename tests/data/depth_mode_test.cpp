// Data sources and depth references: source names, depth conversions of a
// vertical and a deviated well, and curves read in each depth reference.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/depth_mode_adapter.h"
#include "davodu/data/adapters/log_cve_adapters.h"
#include "davodu/data/data_sources.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/types.h"
#include "davodu/store/well_data_manager.h"
#include "support/cli.h"

namespace davodu {
namespace {

TEST(DataSourceNames, SourcesMapToHostTablesAndDataSets) {
  struct Case {
    std::string got;
    const char* want;  // UTF-8
  };
  const Case cases[] = {
      {SandTypeName(1), "一类砂岩数据"},
      {SandTypeName(4), "纯有效砂岩数据"},
      {SandTypeName(5), "一级分层一类数据"},
      {SandTypeName(6), "一级分层二类数据"},
      {SandTypeName(13), "三级分层一类数据"},
      {SandTypeName(14), "三级分层二类数据"},
      {SandTypeName(24), "五级分层纯有效数据"},
      {SandTypeName(25), "夹层数据"},
      {SandTypeName(27), "段数据2"},
      {SandTypeName(29), ""},
      {SandDataSetName(13), "分层数据.三级分层数据"},
      {SandDataSetName(2), "砂岩数据"},
      {SandDataSetName(28), "段数据"},
      {StratumDataSetName(0), "分层界限.一级分层界限数据"},
      {StratumTableName(5), ""},
      {PointTableName(CVE_POINT2), "点数据2"},
      {PointTableName(CVE_GASS), ""},
      {SegTableNameByID(SAND_SEGMENT3), "段数据3"},
      {SegTableNameByID(SAND_SCATT), ""},
      {CycleKindName(SYMBLE_CYCLE_SHORT), "短期旋回"},
      {FirstField(Gbk("表一 深度\t孔隙度"), " \t"), "表一"},
  };
  for (const Case& c : cases) EXPECT_EQ(GbkToUtf8(c.got), c.want);

  for (int t = SAND_CLASS1; t <= SAND_SEGMENT3; ++t) EXPECT_EQ(SandTypeOfName(SandTypeName(t)), t);
  EXPECT_EQ(PointTableIndex(Gbk("点数据1")), 0);
  EXPECT_EQ(PointTableIndex(Gbk("点数据2")), 1);
  EXPECT_EQ(PointTableIndex("anything"), 2);
  EXPECT_EQ(CommaFields("a,,b").size(), 3u);

  const std::vector<std::pair<std::vector<int>, SymbolCatalog>> groups = {
      {{1, 5, -2}, SymbolCatalog::kShoot},
      {{2, 3, 4, 6, -1}, SymbolCatalog::kCycle},
      {{7, 8, -3}, SymbolCatalog::kTexture},
      {{0, 9, -4}, SymbolCatalog::kNone}};
  for (const auto& [sources, catalog] : groups)
    for (int s : sources) EXPECT_EQ(SymbolCatalogOf(s), catalog) << s;
}

class DepthModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    wells_ = std::make_unique<CWellDataManager>(testing::ScratchDb(testing::ScratchDir("depthmode-" + name)));
    ASSERT_TRUE(wells_->IsOpen()) << wells_->GetLastError();
    CurveImport gr{"GR", "", {}, {}};
    for (int i = 0; i <= 20; ++i) {
      gr.depths.push_back(1000 + 10 * i);
      gr.values.push_back(i == 7 ? 500 : i);
    }
    ASSERT_TRUE(wells_->ImportCurves("V", {gr}));
    ASSERT_TRUE(wells_->ImportCurves("D", {gr}));
    for (const char* well : {"V", "D"}) {
      WellInfo info;
      ASSERT_TRUE(wells_->GetWellInfo(well, &info));
      info.kb = 100;
      ASSERT_TRUE(wells_->SetWellInfo(info));
    }
    // Straight down to 500 m, then building to 60 degrees by 600 m.
    ASSERT_TRUE(wells_->SetDeviation("D", {{0, 0, 0}, {500, 0, 0}, {600, 60, 90}, {3000, 60, 90}}));
  }

  std::unique_ptr<CWellDataManager> wells_;
};

TEST_F(DepthModeTest, ConvertsBetweenReferencesAndKeepsMissingValues) {
  struct Case {
    const char* well;
    int mode;
    double md;
    double depth;     // expected in the mode; NaN: only checked by round trip
    double tolerance;
  };
  const double any = std::nan("");
  const Case cases[] = {
      {"V", DT_MD, 1234.5, 1234.5, 0},
      {"V", DT_TVD, 1234.5, 1234.5, 1e-6},
      {"V", DT_AD, 1234.5, 1134.5, 1e-6},  // below a datum 100 m up
      {"V", DT_AD, 50, -50, 1e-6},         // above the datum
      {"D", DT_TVD, 400, 400, 1e-6},       // above the kick-off
      {"D", DT_TVD, 1600, any, 0},
      {"D", DT_AD, 1600, any, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.well) + " mode " + std::to_string(c.mode) + " md " +
                 std::to_string(c.md));
    DepthConverter conv(wells_.get(), c.well, c.mode);
    const double depth = conv.FromMeasured(c.md);
    if (!std::isnan(c.depth)) {
      EXPECT_NEAR(depth, c.depth, c.tolerance);
    }
    EXPECT_NEAR(conv.ToMeasured(depth), c.md, 1e-6);
  }

  // 1000 m of hole at 60 degrees below 600 m descend about 500 m.
  DepthConverter tvd(wells_.get(), "D", DT_TVD);
  DepthConverter ad(wells_.get(), "D", DT_AD);
  const double z = tvd.FromMeasured(1600);
  EXPECT_NEAR(z - tvd.FromMeasured(600), 500, 1e-3);
  EXPECT_LT(z, 1600 - 400);
  EXPECT_NEAR(ad.FromMeasured(1600), z - 100, 1e-6);

  for (const char* well : {"V", "D", "nowhere"}) {
    for (int mode : {DT_MD, DT_TVD, DT_AD}) {
      DepthConverter conv(wells_.get(), well, mode);
      EXPECT_EQ(conv.FromMeasured(kFltMax), kFltMax) << well << mode;
      EXPECT_EQ(conv.ToMeasured(kFltMax), kFltMax) << well << mode;
      EXPECT_EQ(conv.ToMeasured(-kFltMax), kFltMax) << well << mode;
    }
  }
  EXPECT_EQ(DepthConverter(wells_.get(), "nowhere", DT_TVD).FromMeasured(1000), kFltMax);
}

TEST_F(DepthModeTest, CurvesOfADeviatedWellInEachReference) {
  WDMgrAdapter gw(wells_.get(), "D");
  LogCveDataIO* md = gw.GetLogCve(CVE_WELLLOG, "GR", "");
  ASSERT_NE(md, nullptr);
  const int n = md->GetValueCount();
  ASSERT_EQ(n, 21);
  const std::vector<double> md_depths(md->GetDepthBuffer(), md->GetDepthBuffer() + n);

  for (DepthType mode : {DT_TVD, DT_AD}) {
    SCOPED_TRACE(mode);
    gw.SetDepthType(mode);
    DepthConverter conv(wells_.get(), "D", mode);
    LogCveDataIO* io = gw.GetLogCve(CVE_WELLLOG, "GR", "");
    ASSERT_NE(io, nullptr);
    ASSERT_EQ(io->GetValueCount(), n);
    const double* depths = io->GetDepthBuffer();
    ASSERT_NE(depths, nullptr);
    for (int i = 0; i < n; ++i) EXPECT_NEAR(depths[i], conv.FromMeasured(md_depths[i]), 1e-6) << i;
    EXPECT_NEAR(io->GetTopDepth(), conv.FromMeasured(1000), 1e-6);
    EXPECT_NEAR(io->GetBottomDepth(), conv.FromMeasured(1200), 1e-6);
    EXPECT_EQ(io->GetValueBuffer()[7], 500);
    EXPECT_EQ(io->GetUnit(), "");

    // Range queries take depths of the mode: the spike at 1070 m MD lies
    // inside [1065, 1075] MD and outside [1075, 1095] MD.
    EXPECT_EQ(io->GetMaxValue(conv.FromMeasured(1065), conv.FromMeasured(1075)),
              md->GetMaxValue(1065, 1075));
    EXPECT_EQ(io->GetMaxValue(conv.FromMeasured(1065), conv.FromMeasured(1075)), 500);
    EXPECT_EQ(io->GetMaxValue(conv.FromMeasured(1075), conv.FromMeasured(1095)), 9);
    EXPECT_EQ(io->GetMinValue(conv.FromMeasured(1075), conv.FromMeasured(1095)), 8);
    EXPECT_EQ(io->GetMinValue(), 0);
  }

  // The altitude class still hands out the measured depths.
  auto* ad = dynamic_cast<LogCveDADAdapter*>(gw.GetLogCve(CVE_WELLLOG, "GR", ""));
  ASSERT_NE(ad, nullptr);
  EXPECT_EQ(ad->GetMDDepthBuffer()[3], 1030);
}

// A measured-depth curve without samples, to see how the depth-mode classes
// treat a missing top.
class EmptyCurve : public CurveAdapterBase {
 public:
  std::string GetName() override { return "E"; }
  double GetTopDepth() override { return kFltMax; }
  double GetBottomDepth() override { return kFltMax; }
  double GetMaxValue(double, double) override { return 0; }
  double GetMaxValue() override { return 0; }
  double GetMinValue(double, double) override { return 0; }
  double GetMinValue() override { return 0; }
  int GetValueCount() override { return 0; }
  const double* GetDepthBuffer() override { return nullptr; }
  const double* GetValueBuffer() override { return nullptr; }

 protected:
  std::uint64_t HostTimeStamp() override { return 0; }
};

TEST_F(DepthModeTest, MissingCurveDepthsInTheDepthReferences) {
  CurveDepthModeAdapter<EmptyCurve, DT_AD> ad(wells_.get(), "V");
  CurveDepthModeAdapter<EmptyCurve, DT_TVD> tvd(wells_.get(), "V");
  // A missing depth stays the missing value in every reference: negated in
  // altitude mode it would no longer read as missing.
  EXPECT_EQ(ad.GetTopDepth(), kFltMax);
  EXPECT_EQ(ad.GetBottomDepth(), kFltMax);
  EXPECT_TRUE(IsMissing(ad.GetTopDepth()));
  EXPECT_EQ(tvd.GetTopDepth(), kFltMax);
  EXPECT_EQ(ad.GetDepthBuffer(), nullptr);
  EXPECT_EQ(tvd.GetDepthBuffer(), nullptr);
}

TEST_F(DepthModeTest, TableCurvesReadTheirOwnTables) {
  auto import = [&](TableKind kind, int sub, std::vector<std::string> header,
                    std::vector<std::vector<std::string>> rows) {
    TableImport in;
    in.source = "rows.csv";
    in.well = "V";
    in.kind = kind;
    in.sub = sub;
    in.header = std::move(header);
    in.rows = std::move(rows);
    std::string error;
    ASSERT_TRUE(wells_->ImportTableRows(in, &error)) << error;
  };
  import(TableKind::kPointData, 2, {"depth", "POR"}, {{"1010", "0.1"}, {"1020", "0.3"}});
  import(TableKind::kCore, 0, {"top", "porosity"},
         {{"1001", "12"}, {"1002", ""}, {"1003", "18"}});
  WDMgrAdapter gw(wells_.get(), "V");

  EXPECT_EQ(gw.GetLogCve(CVE_POINT1, "POR", ""), nullptr) << "table 1 was never written";
  LogCveDataIO* point = gw.GetLogCve(CVE_POINT2, "POR", "");
  ASSERT_NE(point, nullptr);
  ASSERT_EQ(point->GetValueCount(), 2);
  EXPECT_DOUBLE_EQ(point->GetValueBuffer()[1], 0.3);
  EXPECT_DOUBLE_EQ(point->GetBottomDepth(), 1020);

  EXPECT_EQ(gw.GetLogCve(CVE_CORE, "no such value", ""), nullptr);
  LogCveDataIO* core = gw.GetLogCve(CVE_CORE, "porosity", "");
  ASSERT_NE(core, nullptr);
  ASSERT_EQ(core->GetValueCount(), 3);
  EXPECT_EQ(core->GetValueBuffer()[1], 0) << "a missing value shows as 0";
  EXPECT_EQ(core->GetMaxValue(), 18) << "but is not the maximum";
  EXPECT_EQ(core->GetMinValue(), 12);
  // A range above the first sample holds nothing.
  EXPECT_EQ(core->GetMaxValue(900, 950), 1.7976931348623157e308);
  // Ranges read the buffers, where the missing value is 0.
  EXPECT_EQ(core->GetMaxValue(1000, 1002.5), 12);
  EXPECT_EQ(core->GetMinValue(1000, 1002.5), 0);

  gw.SetDepthType(DT_AD);
  LogCveDataIO* core_ad = gw.GetLogCve(CVE_CORE, "porosity", "");
  ASSERT_NE(core_ad, nullptr);
  EXPECT_NE(core_ad, core);
  EXPECT_NEAR(core_ad->GetDepthBuffer()[2], 903, 1e-6);
  EXPECT_EQ(core_ad->GetMaxValue(901.5, 903.5), 18);
  EXPECT_EQ(core_ad->GetMaxValue(900.5, 902.5), 12);
}

}  // namespace
}  // namespace davodu
