// The oil test, profile and parameter table data objects, the parameter
// catalogue and its configuration file.
#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "davodu/data/adapters/para_adapters.h"
#include "davodu/data/adapters/scatt_table_adapters.h"
#include "davodu/data/adapters/table_adapters.h"
#include "davodu/data/data_date.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"
#include "support/cli.h"

namespace davodu {
namespace {

using Rows = std::vector<std::vector<std::string>>;

class TableAdapters : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir_ = testing::ScratchDir("tables-" + name);
    wells_ = std::make_unique<CWellDataManager>(dir_ + "/wells.db");
    ASSERT_TRUE(wells_->IsOpen()) << wells_->GetLastError();
  }

  void Import(TableKind kind, std::vector<std::string> header, const Rows& rows, int sub = 0,
              const std::string& table_name = "") {
    TableImport in;
    in.source = "test";
    in.well = table_name.empty() ? "W1" : "";
    in.kind = kind;
    in.sub = sub;
    in.table_name = table_name;
    for (std::string& h : header) h = Utf8ToGbk(h);
    in.header = header;
    for (const auto& row : rows) {
      std::vector<std::string> r;
      for (const std::string& cell : row) r.push_back(Utf8ToGbk(cell));
      in.rows.push_back(r);
    }
    std::string error;
    ASSERT_TRUE(wells_->ImportTableRows(in, &error)) << error;
  }

  std::string dir_;
  std::unique_ptr<CWellDataManager> wells_;
};

// A sand table written with the interpretation and flooding columns under
// their import names: the import takes them, and a parameter table reads
// them under the same names.
TEST_F(TableAdapters, InterpretationColumnsResolveByTheirImportNames) {
  Import(TableKind::kSand, {"层位", "砂岩顶深", "砂岩底深", "电测解释", "水淹解释"},
         {{"S1", "1000", "1004", "油层", "弱水淹"}, {"S2", "1010", "1012", "", "强水淹"}});
  WDMgrAdapter gateway(wells_.get(), "W1");
  LogParaDIO* result = gateway.GetPara(Gbk("当前井"), Gbk("一类砂岩数据"), Gbk("电测解释"));
  ASSERT_NE(result, nullptr);
  ASSERT_EQ(result->GetCount(), 2);
  EXPECT_EQ(result->GetValue(0), Gbk("油层"));
  EXPECT_EQ(result->GetValue(1), "");
  EXPECT_DOUBLE_EQ(result->GetTop(0), 1000);
  EXPECT_DOUBLE_EQ(result->GetBottom(1), 1012);
  LogParaDIO* flooding = gateway.GetPara(Gbk("当前井"), Gbk("一类砂岩数据"), Gbk("水淹解释"));
  ASSERT_NE(flooding, nullptr);
  EXPECT_EQ(flooding->GetValue(1), Gbk("强水淹"));

  // A value written through the parameter table lands in its row.
  ASSERT_TRUE(result->SetValue(1, Gbk("水层")));
  EXPECT_EQ(wells_->GetWellSandStratum("W1")->GetString(1, Gbk("解释结论")), Gbk("水层"));
  // A table the gateway does not know gives nothing.
  EXPECT_EQ(gateway.GetPara(Gbk("当前井"), Gbk("没有的数据"), Gbk("电测解释")), nullptr);
}

TEST_F(TableAdapters, OilTestFieldsAndValues) {
  Import(TableKind::kTest, {"层位", "层段顶测深", "层段底测深", "试油结果", "日产油量", "日产水量"},
         {{"S1", "1000", "1006", "油层", "12.5", "3"}});
  WDMgrAdapter gateway(wells_.get(), "W1");
  CDIOilTest* tests = gateway.GetTestOil(TESTOIL_WELL, "");
  ASSERT_NE(tests, nullptr);
  const std::vector<std::string>& fields = *tests->GetFieldNames();
  // The listed definition columns, then the 24 result fields, even where
  // a result field is a column too.
  ASSERT_EQ(fields.size(), 4u + 24u);
  EXPECT_EQ(fields[2], Gbk("层段顶测深"));
  EXPECT_EQ(fields[4], Gbk("试油结果"));
  EXPECT_EQ(fields.back(), Gbk("求产深度"));
  EXPECT_EQ(tests->GetCount(), 1);
  EXPECT_DOUBLE_EQ(tests->GetTop(0), 1000);
  EXPECT_DOUBLE_EQ(tests->GetBottom(0), 1006);
  CZuVariant v;
  ASSERT_TRUE(tests->GetValue(0, Gbk("日产油量"), &v));
  EXPECT_DOUBLE_EQ(v.ToDouble(), 12.5);
  EXPECT_FALSE(tests->GetValue(1, Gbk("日产油量"), &v));
  EXPECT_FALSE(tests->GetValue(0, Gbk("没有的字段"), &v));
  EXPECT_EQ(tests->HasData(), 1);
}

TEST_F(TableAdapters, ProfileDatesSelectionAndRanges) {
  Import(TableKind::kSuction, {"日期", "顶深", "底深", "日注入量", "吸水强度"},
         {{"2011-01-20", "1010", "1012", "30", "2"},
          {"2010-03-05", "1000", "1004", "20", ""},
          {"2010-03-05", "1004", "1006", "10", "4"}});
  WDMgrAdapter gateway(wells_.get(), "W1");
  LogWaterDataIO* water = gateway.GetWaterEntry(WATER_WELL, false, "");
  ASSERT_NE(water, nullptr);
  std::vector<std::string> dates;
  water->GetDates(&dates);
  EXPECT_EQ(dates, (std::vector<std::string>{"2011-01-20", "2010-03-05"}));

  double min = -1, max = -1;
  water->GetMinMax(Gbk("日注入量"), &min, &max);
  EXPECT_DOUBLE_EQ(min, 10);
  EXPECT_DOUBLE_EQ(max, 30);
  water->GetMinMax(Gbk("日期"), &min, &max);  // not a measured value
  EXPECT_DOUBLE_EQ(min, 0);
  EXPECT_DOUBLE_EQ(max, 0);

  // The selection runs in date order whatever the order of the records.
  water->SelectDates({2010, 1, 1}, {2011, 12, 31});
  ASSERT_EQ(water->GetSelectedCount(), 3);
  double top = 0, bottom = 0;
  EXPECT_EQ(water->GetSelected(0, &top, &bottom), (DataDate{2010, 3, 5}));
  EXPECT_DOUBLE_EQ(top, 1000);
  EXPECT_EQ(water->GetSelected(2, &top, &bottom), (DataDate{2011, 1, 20}));
  EXPECT_DOUBLE_EQ(water->GetSelectedValue(1, Gbk("日注入量")), 10);
  // A missing value is no measurement.
  EXPECT_TRUE(IsMissing(water->GetSelectedValue(0, Gbk("吸水强度"))));
  EXPECT_EQ(water->GetSelected(3, &top, &bottom), DataDate{});

  water->SelectDates({2012, 1, 1}, {2012, 2, 1});
  EXPECT_EQ(water->GetSelectedCount(), -1);
  // No production profile in this well.
  EXPECT_EQ(gateway.GetWaterEntry(WATER_WELL, true, ""), nullptr);
}

// A profile over a scattered table: dates from its time column (named, or
// "日期"), intervals from depth and thickness, fields from its value columns.
TEST_F(TableAdapters, ScatteredProfiles) {
  Import(TableKind::kSand, {"层位", "砂岩顶深", "砂岩底深"}, {{"S1", "1000", "1004"}});
  Import(TableKind::kScatter, {"name", "depth", "thickness", "测试日期", "日产液量"},
         {{"p", "1010", "4", "2012-06-01", "30"}, {"p", "1000", "5", "2011-05-02", "12"},
          {"p", "1020", "2", "", "7"}},
         0, "PROF");
  WDMgrAdapter gateway(wells_.get(), "W1");
  EXPECT_EQ(gateway.GetWaterEntry(WATER_SCATT, true, "NONE"), nullptr);
  LogWaterDataIO* profile = gateway.GetWaterEntry(WATER_SCATT, true, Gbk("PROF 测试日期"));
  ASSERT_NE(profile, nullptr);
  std::vector<std::string> dates;
  profile->GetDates(&dates);
  EXPECT_EQ(dates, (std::vector<std::string>{"2012-06-01", "2011-05-02"}));
  double min = 0, max = 0;
  profile->GetMinMax(Gbk("日产液量"), &min, &max);
  EXPECT_DOUBLE_EQ(min, 7);
  EXPECT_DOUBLE_EQ(max, 30);
  profile->SelectDates({2011, 1, 1}, {2012, 12, 31});
  ASSERT_EQ(profile->GetSelectedCount(), 2);
  double top = 0, bottom = 0;
  EXPECT_EQ(profile->GetSelected(0, &top, &bottom), (DataDate{2011, 5, 2}));
  EXPECT_DOUBLE_EQ(top, 1000);
  EXPECT_DOUBLE_EQ(bottom, 1005);
  EXPECT_DOUBLE_EQ(profile->GetSelectedValue(1, Gbk("日产液量")), 30);
  EXPECT_DOUBLE_EQ(profile->GetSelectedValue(1, Gbk("测试日期")), 0) << "the dates are no measurement";
  // Without a time column named, the dates are read from "日期", which
  // this table lacks.
  LogWaterDataIO* undated = gateway.GetWaterEntry(WATER_SCATT, true, "PROF");
  ASSERT_NE(undated, nullptr);
  dates.clear();
  undated->GetDates(&dates);
  EXPECT_TRUE(dates.empty());
}

// Oil tests and a parameter table over a scattered table with thicknesses:
// intervals from depth and thickness, fields from its value columns.
TEST_F(TableAdapters, ScatteredOilTestsAndParameterTables) {
  Import(TableKind::kSand, {"层位", "砂岩顶深", "砂岩底深"}, {{"S1", "1000", "1004"}});
  Import(TableKind::kScatter, {"name", "depth", "thickness", "试油结果", "日产油量"},
         {{"p", "1000", "5", "油层", "12"}, {"p", "1010", "", "水层", ""}}, 0, "TESTS");
  WDMgrAdapter gateway(wells_.get(), "W1");
  CDIOilTestS* none = dynamic_cast<CDIOilTestS*>(gateway.GetTestOil(TESTOIL_SCATT, "NONE"));
  EXPECT_EQ(none, nullptr);
  CDIOilTest* tests = gateway.GetTestOil(TESTOIL_SCATT, "TESTS");
  ASSERT_NE(tests, nullptr);
  EXPECT_EQ(*tests->GetFieldNames(), (std::vector<std::string>{Gbk("试油结果"), Gbk("日产油量")}));
  ASSERT_EQ(tests->GetCount(), 2);
  EXPECT_DOUBLE_EQ(tests->GetTop(0), 1000);
  EXPECT_DOUBLE_EQ(tests->GetBottom(0), 1005);
  EXPECT_TRUE(IsMissing(tests->GetBottom(1))) << "no thickness: no bottom";
  CZuVariant v;
  ASSERT_TRUE(tests->GetValue(0, Gbk("日产油量"), &v));
  EXPECT_DOUBLE_EQ(v.ToDouble(), 12);
  EXPECT_FALSE(tests->GetValue(2, Gbk("日产油量"), &v));

  LogParaDIO* para = gateway.GetPara(Gbk("离散数据"), "TESTS", Gbk("试油结果"));
  ASSERT_NE(para, nullptr);
  ASSERT_EQ(para->GetCount(), 2);
  EXPECT_EQ(para->GetValue(1), Gbk("水层"));
  ASSERT_TRUE(para->SetValue(1, Gbk("干层")));
  EXPECT_EQ(para->GetValue(1), Gbk("干层"));
  EXPECT_EQ(gateway.GetPara(Gbk("离散数据"), "TESTS", Gbk("没有"))->GetValue(0), "");
  EXPECT_EQ(gateway.GetPara(Gbk("离散数据"), "NONE", Gbk("试油结果")), nullptr);
}

// A point data table read as samples: depth, the two named text columns,
// texts cut to 15 bytes without splitting a character; the depth
// reference converts depths both ways.
TEST_F(TableAdapters, PointDataSamples) {
  Import(TableKind::kWellHeader, {"井名", "补心海拔"}, {{"W1", "100"}});
  Import(TableKind::kPointData, {"深度", "名称", "描述"}, {{"1000", "a", "x"}, {"1010", "b", ""}}, 2);
  WDMgrAdapter gateway(wells_.get(), "W1");
  const struct {
    const char* name;
    bool found;
  } names[] = {{"点数据2,名称,描述", true}, {"点数据2,名称", true}, {"点数据2", false},
               {"点数据1,名称", false}, {"井壁,名称,描述", false}};
  for (const auto& n : names)
    EXPECT_EQ(gateway.GetSidewallCoreIO(DATA_WELL, Gbk(n.name)) != nullptr, n.found) << n.name;

  LogSidewallCoreIO* samples = gateway.GetSidewallCoreIO(DATA_WELL, Gbk("点数据2,名称,描述"));
  ASSERT_NE(samples, nullptr);
  ASSERT_EQ(samples->GetCount(), 2);
  EXPECT_DOUBLE_EQ(samples->GetDepth(1), 1010);
  EXPECT_EQ(samples->GetText1(0), "a");
  EXPECT_EQ(samples->GetText2(0), "x");
  ASSERT_TRUE(samples->SetText2(1, Gbk("细砂岩细砂岩细砂岩细砂岩")));  // 24 bytes
  EXPECT_EQ(samples->GetText2(1), Gbk("细砂岩细砂岩细"));                 // 14: the next would split
  ASSERT_TRUE(samples->SetText1(1, "abcdefghijklmnopqrst"));
  EXPECT_EQ(samples->GetText1(1), "abcdefghijklmno");
  ASSERT_TRUE(samples->Insert(1, 1005));
  ASSERT_EQ(samples->GetCount(), 3);
  EXPECT_DOUBLE_EQ(samples->GetDepth(1), 1005);
  EXPECT_EQ(samples->GetText1(1), "");

  gateway.SetDepthType(DT_AD);
  LogSidewallCoreIO* altitude = gateway.GetSidewallCoreIO(DATA_WELL, Gbk("点数据2,名称,描述"));
  ASSERT_NE(altitude, samples);
  EXPECT_DOUBLE_EQ(altitude->GetDepth(0), 900);
  ASSERT_TRUE(altitude->SetDepth(0, 898));
  EXPECT_DOUBLE_EQ(samples->GetDepth(0), 998);
}

TEST(ParaDefinition, LevelClassTablesReadTheirLevelsData) {
  const struct {
    const char* table;
    const char* definition;
  } cases[] = {
      {"二级分层一类数据", "二级分层数据"}, {"五级分层纯有效数据", "五级分层数据"},
      {"三级分层界限数据", "三级分层界限数据"}, {"段数据2", "段数据2"},
      {"视有效砂岩数据", "砂岩数据"},          {"射孔数据", "射孔数据"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParaDefinitionOf(Gbk(c.table)), Gbk(c.definition)) << c.table;
}

TEST_F(TableAdapters, ParaConfigFile) {
  const std::string path = dir_ + "/paraconfig.dat";
  const auto write = [&](const std::string& utf8) {
    std::ofstream(path, std::ios::binary) << Utf8ToGbk(utf8);
  };
  LogParaMgrAdapter catalog;
  catalog.SetManager(wells_.get());
  std::string error;

  write("KES_PARA_CONFIG\r\n数目 4\r\n二级分层一类数据 3 Y\r\na\r\nb\r\nc\r\n岩性数据 0 N\r\n"
        "二级分层一类数据 1 Y\r\nx\r\n试油数据 0 Y\r\n");
  ASSERT_TRUE(catalog.Read(path, &error));
  EXPECT_EQ(error, "");
  ASSERT_EQ(catalog.GetTableCount(Gbk("当前井")), 2);
  EXPECT_EQ(catalog.GetTableName(0, 0), Gbk("二级分层一类数据"));
  EXPECT_EQ(catalog.GetTableName(0, 1), Gbk("试油数据"));
  // An empty name first, then the listed columns of "二级分层数据".
  EXPECT_EQ(catalog.GetFieldName(0, 0, 0), "");
  EXPECT_EQ(catalog.GetFieldName(0, 0, 1), Gbk("层位"));
  EXPECT_EQ(catalog.GetFieldCount(Gbk("当前井"), Gbk("二级分层一类数据")), 1 + 17);
  EXPECT_EQ(catalog.GetFieldCount(Gbk("当前井"), Gbk("岩性数据")), 0);
  EXPECT_EQ(catalog.GetFieldCount(Gbk("别处"), Gbk("岩性数据")), -1);

  write("KES_PARA_CONFIG \n1\n");
  EXPECT_FALSE(catalog.Read(path, &error));
  EXPECT_EQ(error, "Not find KES_PARA_CONFIG file!");
  EXPECT_EQ(catalog.GetTableCount(0), 0);

  // No file: every table the gateway can show.
  error.clear();
  EXPECT_FALSE(catalog.Read(dir_ + "/none.dat", &error));
  EXPECT_EQ(error, "");
  EXPECT_EQ(catalog.GetTableCount(0), 5 + 25 + 3 + 3);
  EXPECT_EQ(catalog.GetSourceName(1), Gbk("离散数据"));
  EXPECT_EQ(catalog.GetSourceName(2), "");
}

}  // namespace
}  // namespace davodu
