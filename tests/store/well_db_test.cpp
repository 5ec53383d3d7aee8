// The well database: transactions, time stamps, handles and record access.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <numeric>

#include "davodu/host/util/gbk.h"
#include "davodu/store/general_data_manager.h"
#include "davodu/store/well_data_manager.h"
#include "support/cli.h"

namespace davodu {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

class WellDbTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    path_ = testing::ScratchDb(testing::ScratchDir("welldb-" + name));
    wells_ = std::make_unique<CWellDataManager>(path_);
    ASSERT_TRUE(wells_->IsOpen()) << wells_->GetLastError();
  }

  bool ImportRows(const std::string& well, TableKind kind, int sub,
                  const std::vector<std::string>& header,
                  const std::vector<std::vector<std::string>>& rows, std::string* error = nullptr) {
    TableImport in;
    in.source = "rows.csv";
    in.well = well;
    in.kind = kind;
    in.sub = sub;
    for (const auto& h : header) in.header.push_back(Utf8ToGbk(h));
    for (const auto& r : rows) {
      std::vector<std::string> fields;
      for (const auto& f : r) fields.push_back(Utf8ToGbk(f));
      in.rows.push_back(fields);
    }
    std::string ignored;
    return wells_->ImportTableRows(in, error ? error : &ignored);
  }

  // Everything a write could change, as text: wells, curves and tables with
  // their stamps, and the manager's stamp.
  std::string Fingerprint() {
    std::string s = std::to_string(wells_->GetTimeStamp());
    for (const std::string& name : wells_->GetWellNames()) {
      const std::int64_t id = wells_->FindWell(name);
      s += "|" + name + "#" + std::to_string(id);
      if (auto log = wells_->GetWellLog(id)) {
        for (const auto& c : log->GetColumnNames()) {
          auto column = log->GetColumn(c);
          s += " " + c + ":" + std::to_string(column->GetCount()) + ":" +
               std::to_string(column->GetMaxValue()) + ":" + std::to_string(column->GetTimeStamp());
        }
      }
      for (const CWellDataManager::TableSummary& t : wells_->GetTables(id)) {
        s += " " + TableId(t.key.kind, t.key.sub) + "=" + std::to_string(t.rows) + "@" +
             std::to_string(t.stamp);
      }
    }
    return s;
  }

  std::string path_;
  std::unique_ptr<CWellDataManager> wells_;
};

CurveImport Curve(const std::string& name, std::vector<double> depths, std::vector<double> values) {
  return {name, "API", std::move(depths), std::move(values)};
}

TEST_F(WellDbTest, CurvesKeepTheirSamplesAndStatistics) {
  // Written bottom-up, with a NaN and an explicit missing value.
  ASSERT_TRUE(wells_->ImportCurves(
      "W1", {Curve("GR", {102, 101, 100.5, 100}, {40, kNaN, kFltMax, 10}), Curve("SP", {}, {})}))
      << wells_->GetLastError();
  auto log = wells_->GetWellLog("W1");
  ASSERT_TRUE(log);
  EXPECT_EQ(log->GetColumnNames(), (std::vector<std::string>{"GR", "SP"}));
  auto gr = log->GetColumn("gr");
  ASSERT_TRUE(gr);
  EXPECT_EQ(gr->GetCount(), 4);
  EXPECT_EQ(gr->GetMissingCount(), 2);
  EXPECT_EQ(gr->GetStartDepth(), 100);
  EXPECT_EQ(gr->GetStopDepth(), 102);
  EXPECT_EQ(gr->GetMinValue(), 10);
  EXPECT_EQ(gr->GetMaxValue(), 40);
  EXPECT_EQ(gr->GetMaxValue(100, 101), 10);  // the missing samples are skipped
  EXPECT_EQ(gr->GetUnit(), "API");
  const std::vector<double> depths(gr->GetDepthBuf(), gr->GetDepthBuf() + 4);
  const std::vector<double> values(gr->GetDataBuf(), gr->GetDataBuf() + 4);
  EXPECT_EQ(depths, (std::vector<double>{100, 100.5, 101, 102}));
  EXPECT_EQ(values, (std::vector<double>{10, kFltMax, kFltMax, 40}));
  // An empty curve has no buffers and no values.
  auto sp = log->GetColumn("SP");
  EXPECT_EQ(sp->GetCount(), 0);
  EXPECT_EQ(sp->GetDepthBuf(), nullptr);
  EXPECT_EQ(sp->GetMinValue(), kFltMax);

  // Samples at one depth keep their order in the file, whichever the
  // direction of the rest.
  struct Order {
    std::vector<double> depths, values, sorted_depths, sorted_values;
  };
  std::vector<Order> orders = {
      {{101, 100, 101, 99}, {1, 2, 3, 4}, {99, 100, 101, 101}, {4, 2, 1, 3}},
      {{101, 101, 100}, {1, 2, 3}, {100, 101, 101}, {3, 1, 2}},
      {{3, 2, 1}, {1, 2, 3}, {1, 2, 3}, {3, 2, 1}},
  };
  // Many samples over few depths, of both signs and far apart, in a
  // shuffled order: the order a stable sort gives.
  std::vector<double> shuffled_depths, shuffled_values;
  for (int i = 0; i < 3000; ++i) {
    const double d[] = {1670, 1669.875, -12.5, 0, 98765.4321, 1669.75, -3e5};
    shuffled_depths.push_back(d[(i * 7919) % 7]);
    shuffled_values.push_back(i);
  }
  std::vector<std::size_t> by_depth(shuffled_depths.size());
  std::iota(by_depth.begin(), by_depth.end(), 0);
  std::stable_sort(by_depth.begin(), by_depth.end(),
                   [&](std::size_t a, std::size_t b) { return shuffled_depths[a] < shuffled_depths[b]; });
  std::vector<double> sorted_depths, sorted_values;
  for (const std::size_t i : by_depth) {
    sorted_depths.push_back(shuffled_depths[i]);
    sorted_values.push_back(shuffled_values[i]);
  }
  orders.push_back({shuffled_depths, shuffled_values, sorted_depths, sorted_values});
  for (const Order& o : orders) {
    ASSERT_TRUE(wells_->ImportCurves("W9", {Curve("ORD", o.depths, o.values)}));
    auto ord = wells_->GetWellLog("W9")->GetColumn("ORD");
    ASSERT_TRUE(ord);
    const auto n = static_cast<std::size_t>(ord->GetCount());
    EXPECT_EQ(std::vector<double>(ord->GetDepthBuf(), ord->GetDepthBuf() + n), o.sorted_depths);
    EXPECT_EQ(std::vector<double>(ord->GetDataBuf(), ord->GetDataBuf() + n), o.sorted_values);
  }

  // Importing a curve of the same name (any case) replaces it.
  ASSERT_TRUE(wells_->ImportCurves("w1", {Curve("Gr", {1, 2}, {5, 6})}));
  EXPECT_EQ(log->GetColumnCount(), 2);
  EXPECT_EQ(gr->GetCount(), 2);
  EXPECT_EQ(gr->GetMaxValue(), 6);
  EXPECT_FALSE(wells_->ImportCurves("W1", {Curve("GR", {1}, {1})}, /*replace=*/false));
  EXPECT_EQ(gr->GetMaxValue(), 6);
}

TEST_F(WellDbTest, FailedWritesChangeNothing) {
  ASSERT_TRUE(wells_->ImportCurves("W1", {Curve("GR", {1, 2}, {10, 20})}));
  ASSERT_TRUE(ImportRows("W1", TableKind::kLithology, 0, {"顶深", "厚度", "岩性名称"},
                         {{"10", "2", "砂岩"}, {"12", "3", "泥岩"}}));
  auto lith = wells_->GetWellLithology("W1");
  ASSERT_TRUE(lith);
  const struct {
    const char* what;
    std::function<bool()> write;
  } cases[] = {
      // The empty name breaks the curves' CHECK after GR was already rewritten.
      {"curve batch with a nameless curve",
       [&] { return wells_->ImportCurves("W1", {Curve("GR", {1}, {99}), Curve("", {1}, {1})}); }},
      {"curves into a new well",
       [&] { return wells_->ImportCurves("W2", {Curve("GR", {1}, {99}), Curve("", {1}, {1})}); }},
      // The second row has no top: NOT NULL fails after the first was inserted.
      {"rows with a missing top mid-batch",
       [&] {
         return lith->AppendRecords({Gbk("顶深"), Gbk("厚度")},
                                    {{15.0, 1.0}, {CZuVariant(), 1.0}, {17.0, 1.0}});
       }},
      {"text into a number", [&] { return lith->SetValue(0, Gbk("顶深"), Gbk("深")); }},
      {"unknown column", [&] { return lith->SetValue(0, "no_such_column", 1.0); }},
      {"row out of range", [&] { return lith->DeleteRecord(5); }},
      {"a well name in use", [&] {
         WellInfo w;
         w.name = "w1";
         return wells_->AddWell(w) > 0;
       }},
      {"a survey for no well", [&] { return wells_->SetDeviation("W9", {{0, 0, 0}}); }},
      {"import with a bad date on its last row", [&] {
         return ImportRows("W1", TableKind::kShoot, 0, {"顶深", "厚度", "射孔日期"},
                           {{"1", "1", "2010-05-01"}, {"2", "1", "2010-13-01"}});
       }},
  };
  for (const auto& c : cases) {
    const std::string before = Fingerprint();
    EXPECT_FALSE(c.write()) << c.what;
    EXPECT_EQ(Fingerprint(), before) << c.what;
  }
  EXPECT_EQ(wells_->FindWell("W2"), -1);
  EXPECT_EQ(wells_->GetWellLog("W1")->GetColumn("GR")->GetMaxValue(), 20);
  EXPECT_EQ(lith->GetCount(), 2);
}

TEST_F(WellDbTest, StampsGrowWithEveryWriteAndSurviveReopening) {
  ASSERT_TRUE(wells_->ImportCurves("W1", {Curve("GR", {1, 2}, {10, 20})}));
  ASSERT_TRUE(wells_->ImportCurves("W2", {Curve("GR", {1, 2}, {10, 20})}));
  ASSERT_TRUE(ImportRows("W1", TableKind::kLithology, 0, {"顶深", "厚度"}, {{"10", "2"}}));
  ASSERT_TRUE(ImportRows("W1", TableKind::kStratum, 2, {"层位", "顶深", "底深"}, {{"Es1", "5", "9"}}));
  auto lith = wells_->GetWellLithology("W1");
  auto stratum = wells_->GetWellStratum(1, "W1");
  auto gr1 = wells_->GetWellLog("W1")->GetColumn("GR");
  auto gr2 = wells_->GetWellLog("W2")->GetColumn("GR");
  ASSERT_TRUE(lith && stratum && gr1 && gr2);

  const std::uint64_t stratum_stamp = stratum->GetTimeStamp();
  const std::function<bool()> writes[] = {
      [&] { return lith->SetValue(0, Gbk("厚度"), 3.0); },
      [&] { return lith->InsertRecord(0, {{Gbk("顶深"), 8.0}, {Gbk("厚度"), 2.0}}) == 0; },
      [&] { return lith->DeleteRecord(1); },
      [&] { return lith->ReplaceRecords({"top", "thickness"}, {{1.0, 1.0}}); },
  };
  for (const auto& write : writes) {
    const std::uint64_t table = lith->GetTimeStamp();
    const std::uint64_t manager = wells_->GetTimeStamp();
    ASSERT_TRUE(write()) << lith->GetLastError();
    EXPECT_GT(lith->GetTimeStamp(), table);
    EXPECT_GT(wells_->GetTimeStamp(), manager);
  }
  EXPECT_EQ(stratum->GetTimeStamp(), stratum_stamp);  // other tables keep theirs

  // A survey or an elevation change re-stamps every table of that well only.
  const auto stamps = [&] {
    return std::vector<std::uint64_t>{lith->GetTimeStamp(), stratum->GetTimeStamp(),
                                      gr1->GetTimeStamp(), gr2->GetTimeStamp()};
  };
  auto before = stamps();
  ASSERT_TRUE(wells_->SetDeviation("W1", {{0, 0, 0}, {100, 10, 0}}));
  auto after = stamps();
  for (int i = 0; i < 3; ++i) EXPECT_GT(after[i], before[i]) << i;
  EXPECT_EQ(after[3], before[3]);
  WellInfo info;
  ASSERT_TRUE(wells_->GetWellInfo("W1", &info));
  info.kb = 35;
  before = after;
  ASSERT_TRUE(wells_->SetWellInfo(info));
  after = stamps();
  EXPECT_GT(after[0], before[0]);
  info.x = 1000;  // not the elevation: the tables keep their stamps
  ASSERT_TRUE(wells_->SetWellInfo(info));
  EXPECT_EQ(stamps(), after);

  // The stamps are in the file: a new manager reads the same, and the next
  // write still goes beyond them.
  const std::uint64_t kept = lith->GetTimeStamp();
  wells_ = std::make_unique<CWellDataManager>(path_);
  auto reopened = wells_->GetWellLithology("W1");
  ASSERT_TRUE(reopened);
  EXPECT_EQ(reopened->GetTimeStamp(), kept);
  ASSERT_TRUE(reopened->SetValue(0, "top", 2.0));
  EXPECT_GT(reopened->GetTimeStamp(), kept);
}

TEST_F(WellDbTest, HandlesFollowReimportAndRemoval) {
  ASSERT_TRUE(wells_->ImportCurves("W1", {Curve("GR", {1, 2, 3}, {10, 20, 30})}));
  ASSERT_TRUE(ImportRows("W1", TableKind::kLithology, 0, {"顶深", "厚度"}, {{"10", "2"}}));
  const std::int64_t old_id = wells_->FindWell("W1");
  auto log = wells_->GetWellLog("W1");
  auto gr = log->GetColumn("GR");
  auto lith = wells_->GetWellLithology("W1");
  ASSERT_EQ(gr->GetDataBuf()[2], 30);
  const auto snapshot = gr->GetData();

  // Re-import: the same handle shows the new samples; a held snapshot is
  // still the old one, intact.
  ASSERT_TRUE(wells_->ImportCurves("W1", {Curve("GR", {1, 2}, {7, 8})}));
  EXPECT_EQ(gr->GetCount(), 2);
  EXPECT_EQ(gr->GetDataBuf()[1], 8);
  EXPECT_EQ(snapshot->values, (std::vector<double>{10, 20, 30}));

  // Removal: handles report the data gone.
  ASSERT_TRUE(wells_->RemoveWell("W1"));
  EXPECT_EQ(gr->GetCount(), -1);
  EXPECT_EQ(gr->GetDataBuf(), nullptr);
  EXPECT_EQ(gr->GetVerticalDepthBuf(), nullptr);
  EXPECT_EQ(log->GetColumnCount(), -1);
  EXPECT_EQ(lith->GetCount(), -1);
  EXPECT_EQ(lith->GetValue(0, "top"), CZuVariant());
  EXPECT_FALSE(lith->SetValue(0, "top", 1.0));
  EXPECT_EQ(snapshot->values.size(), 3u);

  // A new well of the same name gets a new id; the old handles stay empty.
  ASSERT_TRUE(wells_->ImportCurves("W1", {Curve("GR", {1}, {1})}));
  ASSERT_TRUE(ImportRows("W1", TableKind::kLithology, 0, {"顶深", "厚度"}, {{"1", "1"}}));
  EXPECT_GT(wells_->FindWell("W1"), old_id);
  EXPECT_EQ(gr->GetCount(), -1);
  EXPECT_EQ(lith->GetCount(), -1);
  EXPECT_EQ(wells_->GetWellLithology("W1")->GetCount(), 1);

  // Handles outlive the manager without dangling.
  auto fresh = wells_->GetWellLithology("W1");
  wells_.reset();
  EXPECT_EQ(fresh->GetCount(), -1);
  EXPECT_EQ(fresh->GetTimeStamp(), 0u);
}

TEST_F(WellDbTest, RecordsByColumnNameAndPosition) {
  // English and Chinese headers mixed; a bottom becomes the thickness.
  std::string error;
  ASSERT_TRUE(ImportRows("", TableKind::kLithology, 0, {"well", "top", "底深", "岩性名称"},
                         {{"W1", "10", "12.5", "砂岩"}, {"W1", "12.5", "20", "泥岩"}}, &error))
      << error;
  auto lith = wells_->GetWellLithology("W1");
  auto other = wells_->GetWellLithology("W1");
  ASSERT_TRUE(lith);
  EXPECT_EQ(lith->GetCount(), 2);
  EXPECT_EQ(lith->GetDouble(0, Gbk("厚度")), 2.5);
  EXPECT_EQ(lith->GetDouble(1, "thickness"), 7.5);
  EXPECT_EQ(lith->GetString(0, Gbk("岩性名称")), Gbk("砂岩"));
  EXPECT_EQ(lith->GetValue(0, Gbk("颜色")), CZuVariant());
  EXPECT_EQ(lith->GetDouble(0, Gbk("颜色")), kFltMax);

  ASSERT_EQ(lith->InsertRecord(1, {{Gbk("顶深"), 11.0}, {Gbk("厚度"), 1.0}, {"name", Gbk("煤")}}), 1);
  EXPECT_EQ(other->GetString(1, "name"), Gbk("煤"));  // every handle sees the write
  EXPECT_EQ(other->GetString(2, "name"), Gbk("泥岩"));
  ASSERT_TRUE(lith->DeleteRecord(0));
  EXPECT_EQ(other->GetDouble(0, "top"), 11.0);
  ASSERT_TRUE(lith->SetValue(0, Gbk("颜色"), Gbk("灰")));
  EXPECT_EQ(other->GetString(0, Gbk("颜色")), Gbk("灰"));

  // The change flag belongs to the table, not to one handle.
  EXPECT_FALSE(other->IsModified());
  lith->SetModified(true);
  EXPECT_TRUE(other->IsModified());
}

// Every per-well table kind takes rows under its Chinese and its English
// column names and gives back the same typed values.
TEST_F(WellDbTest, EveryTableKindImportsUnderBothNames) {
  for (const TableLayout& layout : AllTableLayouts()) {
    if (layout.owner != TableOwner::kWell) continue;
    const int sub = layout.sub_count;  // the last of a kind with several
    std::vector<std::string> chinese = {"井名"}, english = {"well"};
    std::vector<std::string> row = {"W1"};
    std::vector<CZuVariant> expected;
    for (const ColumnDef& c : layout.columns) {
      chinese.push_back(c.name);
      english.push_back(c.sql);
      switch (c.type) {
        case ColumnType::kReal: row.push_back("12.5"); expected.push_back(12.5); break;
        case ColumnType::kInt: row.push_back("3"); expected.push_back(3); break;
        case ColumnType::kDate: row.push_back("2010/5/1"); expected.push_back("2010-05-01"); break;
        case ColumnType::kText: row.push_back("文字"); expected.push_back(Gbk("文字")); break;
      }
    }
    // A survey's stations must go deeper: its second row is one further down.
    std::vector<std::string> second = row;
    if (layout.kind == TableKind::kDeviation) second[1] = "20";
    for (const auto* header : {&chinese, &english}) {
      std::string error;
      ASSERT_TRUE(ImportRows("", layout.kind, sub, *header, {row, second}, &error)) << layout.id << error;
      auto table = layout.kind == TableKind::kDeviation ? nullptr : wells_->GetTable("W1", layout.kind, sub);
      if (layout.kind == TableKind::kDeviation) {
        EXPECT_EQ(wells_->GetDeviation("W1").size(), 2u);
        continue;
      }
      ASSERT_TRUE(table) << layout.id;
      ASSERT_EQ(table->GetCount(), 2) << layout.id;
      for (std::size_t c = 0; c < layout.columns.size(); ++c) {
        EXPECT_EQ(table->GetValue(1, Gbk(layout.columns[c].name)), expected[c])
            << layout.id << " " << layout.columns[c].sql;
      }
    }
  }
  EXPECT_EQ(wells_->GetCycleData("W1", Gbk("短期旋回"))->GetCount(), 2);
  EXPECT_EQ(wells_->GetCycleData("W1", Gbk("长期旋回")), nullptr);
}

TEST_F(WellDbTest, ImportRejectsBadRowsNamingLineAndColumn) {
  ASSERT_TRUE(ImportRows("W1", TableKind::kLithology, 0, {"顶深", "厚度"}, {{"1", "1"}}));
  const struct {
    TableKind kind;
    int sub;
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
    const char* message;
  } cases[] = {
      {TableKind::kLithology, 0, {"井名", "顶深"}, {{"W1", "1"}},
       "rows.csv:1: missing column 厚度 (thickness)"},
      {TableKind::kLithology, 0, {"井名", "顶深", "厚度", "colour?"}, {{"W1", "1", "1", "x"}},
       "rows.csv:1: unknown column 'colour?' for 岩性数据"},
      {TableKind::kGass, 0, {"井名", "深度", "底深"}, {{"W1", "1", "2"}},
       "rows.csv:1: unknown column '底深' for 气测数据"},
      {TableKind::kLithology, 0, {"井名", "顶深", "厚度"}, {{"W1", "1", "1"}, {"W1", "abc", "1"}},
       "rows.csv:3: 顶深: 'abc' is not a number"},
      {TableKind::kLithology, 0, {"井名", "顶深", "厚度"}, {{"W1", "", "1"}},
       "rows.csv:2: 顶深 is empty"},
      {TableKind::kShoot, 0, {"井名", "顶深", "厚度", "射孔日期"}, {{"W1", "1", "1", "2010-02-30"}},
       "rows.csv:2: 射孔日期: '2010-02-30' is not a date"},
      {TableKind::kStratum, 0, {"井名", "层位", "顶深", "底深"}, {{"W1", "Es1", "1", "2"}},
       "rows.csv:1: no level: name the table (e.g. stratum1) or add a column for it"},
      {TableKind::kStratum, 0, {"井名", "级别", "层位", "顶深", "底深"}, {{"W1", "6", "Es1", "1", "2"}},
       "rows.csv:2: level: '6' is not one of 1..5"},
      {TableKind::kFaultPoint, 0, {"断点测深", "断距"}, {{"1", "2"}},
       "rows.csv:1: no well: give --well or a 井名 (well) column"},
  };
  for (const auto& c : cases) {
    const std::string before = Fingerprint();
    std::string error;
    EXPECT_FALSE(ImportRows("", c.kind, c.sub, c.header, c.rows, &error)) << c.message;
    EXPECT_EQ(error, c.message);
    EXPECT_EQ(Fingerprint(), before) << c.message;
  }
}

TEST(WellDbDetect, TableKindFromHeader) {
  const struct {
    std::vector<std::string> header;
    const char* kind;  // "" when the header does not tell
  } cases[] = {
      {{"井名", "测深", "井斜角", "方位角"}, "deviation"},
      {{"well", "md", "inc", "azi"}, "deviation"},
      {{"井名", "X坐标", "Y坐标", "补心海拔"}, "wells"},
      {{"井名", "顶深", "厚度", "岩性名称", "颜色"}, "lithology"},
      {{"well", "断点测深", "断距"}, "fault_point"},
      {{"well", "top", "bottom"}, ""},  // fits several
      {{"well", "frobs"}, ""},
  };
  for (const auto& c : cases) {
    TableKind kind;
    int sub = -1;
    std::string error;
    const bool found = CWellDataManager::DetectTableKind(c.header, &kind, &sub, &error);
    EXPECT_EQ(found, *c.kind != 0) << c.kind << error;
    if (found) {
      EXPECT_EQ(TableId(kind, sub), c.kind);
    } else {
      EXPECT_NE(error.find("--table"), std::string::npos);
    }
  }
}

// A manager that looks up one well reads only its row; the answer is the
// same as from the whole list: names without ASCII case, updates seen, and
// unknown names and ids not found.
TEST_F(WellDbTest, OneWellIsFoundWithoutReadingThemAll) {
  ASSERT_TRUE(ImportRows("", TableKind::kWellHeader, 0, {"井名", "补心海拔"},
                         {{"W1", "100"}, {"Ab-2", "200"}, {"井3", "300"}}));
  CWellDataManager fresh(path_);
  WellInfo info;
  ASSERT_TRUE(fresh.GetWellInfo("aB-2", &info));
  EXPECT_EQ(info.name, "Ab-2");
  EXPECT_EQ(info.kb, 200);
  ASSERT_TRUE(fresh.GetWellInfo(Gbk("井3"), &info));
  EXPECT_EQ(fresh.FindWell(info.id), info.id);
  EXPECT_FALSE(fresh.GetWellInfo("W9", &info));
  EXPECT_LT(fresh.FindWell(std::int64_t{999999}), 0);
  info = {};
  ASSERT_TRUE(fresh.GetWellInfo("Ab-2", &info));
  info.kb = 250;
  ASSERT_TRUE(fresh.SetWellInfo(info));
  ASSERT_TRUE(fresh.GetWellInfo("AB-2", &info));
  EXPECT_EQ(info.kb, 250);
  EXPECT_EQ(fresh.GetWellNames().size(), 3u);  // the whole list after single lookups
  ASSERT_TRUE(fresh.GetWellInfo("ab-2", &info));
  EXPECT_EQ(info.kb, 250);
}

TEST_F(WellDbTest, WellHeadersAddAndUpdateWells) {
  ASSERT_TRUE(ImportRows("", TableKind::kWellHeader, 0, {"井名", "补心海拔", "X坐标"},
                         {{"W1", "100", "5"}, {"W2", "200", ""}}));
  ASSERT_TRUE(ImportRows("", TableKind::kWellHeader, 0, {"well", "kb"}, {{"w1", "110"}}));
  WellInfo info;
  ASSERT_TRUE(wells_->GetWellInfo("W1", &info));
  EXPECT_EQ(info.name, "W1");
  EXPECT_EQ(info.kb, 110);
  EXPECT_EQ(info.x, 5);  // not in the second file: kept
  CWellPosition* position = wells_->GetWellPosition();
  EXPECT_EQ(position->GetCount(), 2);
  EXPECT_EQ(position->GetValue(position->FindData("W2"), Gbk("补心海拔")), CZuVariant(200.0));
  EXPECT_EQ(position->GetValue(position->FindData("W2"), "x"), CZuVariant());
  EXPECT_EQ(wells_->ConvertDepthToAltitude("W1", 10), 100);
}

TEST_F(WellDbTest, PointTablesKeepTheirOwnColumns) {
  ASSERT_TRUE(ImportRows("W1", TableKind::kPointData, 2, {"深度", "孔隙度", "描述"},
                         {{"100", "0.25", "细砂"}, {"101", "", "泥"}}));
  auto points = wells_->GetWellPointData(1, "W1");
  ASSERT_TRUE(points);
  EXPECT_EQ(points->GetColumnName(points->GetColumnCount() - 2), Gbk("孔隙度"));
  EXPECT_EQ(points->GetValue(0, Gbk("孔隙度")), CZuVariant(0.25));
  EXPECT_EQ(points->GetValue(1, Gbk("孔隙度")), CZuVariant());
  EXPECT_EQ(points->GetString(1, Gbk("描述")), Gbk("泥"));
  ASSERT_TRUE(points->SetValue(1, Gbk("渗透率"), 12.0));  // a new column
  EXPECT_EQ(points->GetDouble(1, Gbk("渗透率")), 12.0);
  EXPECT_EQ(points->GetValue(0, Gbk("渗透率")), CZuVariant());
  // Tables of fixed columns take no new ones.
  ASSERT_TRUE(ImportRows("W1", TableKind::kGass, 0, {"深度", "全烃"}, {{"1", "2"}}));
  EXPECT_FALSE(wells_->GetWellGass("W1")->SetValue(0, Gbk("渗透率"), 1.0));
}

TEST_F(WellDbTest, ScatteredTablesByName) {
  TableImport in;
  in.source = "scatter.csv";
  in.kind = TableKind::kScatter;
  in.table_name = Gbk("砂体散点");
  in.header = {Gbk("名称"), Gbk("深度"), Gbk("厚度"), Gbk("孔隙度")};
  in.rows = {{"P1", "100", "2", "0.2"}, {"P2", "110", "3", "0.3"}};
  std::string error;
  ASSERT_TRUE(wells_->ImportTableRows(in, &error)) << error;
  CGeneralDataManager general(wells_.get());
  CColPtDataManager* tables = general.GetColPtDataManager();
  EXPECT_EQ(tables->GetCount(), 1);
  auto table = tables->GetData(Gbk("砂体散点"));
  ASSERT_TRUE(table);
  EXPECT_TRUE(table->IsSegmentData());
  EXPECT_EQ(table->GetValNames(), std::vector<std::string>{Gbk("孔隙度")});
  EXPECT_EQ(table->GetDepth(1), 110);
  EXPECT_EQ(table->GetThickness(1), 3);
  EXPECT_EQ(table->GetValue(1, Gbk("孔隙度")), 0.3);
  EXPECT_EQ(table->GetProVal(0, 0), CZuVariant(0.2));

  // Imported again without thicknesses: the same handle follows.
  in.header = {Gbk("名称"), Gbk("深度"), Gbk("孔隙度")};
  in.rows = {{"P1", "100", "0.5"}};
  ASSERT_TRUE(wells_->ImportTableRows(in, &error)) << error;
  EXPECT_EQ(table->GetCount(), 1);
  EXPECT_FALSE(table->IsSegmentData());
  EXPECT_EQ(table->GetValue(0, Gbk("孔隙度")), 0.5);
  ASSERT_TRUE(tables->RemoveData(Gbk("砂体散点")));
  EXPECT_EQ(table->GetCount(), -1);
  EXPECT_FALSE(tables->IsExist(Gbk("砂体散点")));
}

TEST_F(WellDbTest, ChangesByAnotherProcessAreNoticed) {
  ASSERT_TRUE(ImportRows("W1", TableKind::kLithology, 0, {"顶深", "厚度"}, {{"1", "1"}}));
  CWellDataManager other(path_);
  auto mine = wells_->GetWellLithology("W1");
  auto theirs = other.GetWellLithology("W1");
  ASSERT_TRUE(mine && theirs);
  const std::uint64_t stamp = mine->GetTimeStamp();
  ASSERT_EQ(mine->GetCount(), 1);
  ASSERT_TRUE(theirs->AddRecord({{"top", 2.0}, {"thickness", 1.0}}));
  EXPECT_GT(mine->GetTimeStamp(), stamp);  // the poll notices
  EXPECT_EQ(mine->GetCount(), 2);
}

// A new database file is built aside and linked into place whole: the folder
// holds the database and nothing else, with the mode any new file gets; a
// file that cannot be made is reported by its name and leaves nothing.
TEST(WellDbFile, ANewFileAppearsWholeOrNotAtAll) {
  if (testing::OnPostgres()) GTEST_SKIP() << "files only";
  namespace fs = std::filesystem;
  const std::string dir = testing::ScratchDir("welldb-new-file");
  const std::string path = dir + "/fresh.db";
  {
    CWellDataManager wells(path);
    ASSERT_TRUE(wells.IsOpen()) << wells.GetLastError();
    COLORREF color = 0;
    EXPECT_TRUE(wells.GetStratumManager()->GetColor(1, Gbk("沙河街组"), &color));  // seeded
  }
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"fresh.db"});
  const mode_t mask = ::umask(0);
  ::umask(mask);
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);

  const std::string missing = dir + "/no-such-folder/wells.db";
  CWellDataManager nowhere(missing);
  EXPECT_FALSE(nowhere.IsOpen());
  EXPECT_NE(nowhere.GetLastError().find(missing), std::string::npos) << nowhere.GetLastError();
  names.clear();
  for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"fresh.db"});
}

TEST_F(WellDbTest, CataloguesAreSeeded) {
  auto strata = wells_->GetStratumManager();
  COLORREF color = 0;
  EXPECT_TRUE(strata->GetColor(1, Gbk("沙河街组"), &color));
  EXPECT_EQ(color, 0x6090F0u);
  EXPECT_FALSE(strata->GetColor(0, Gbk("沙河街组"), &color));  // not a first-level name
  EXPECT_EQ(color, 0xFFFFFFu);
  EXPECT_EQ(strata->GetParent(2, Gbk("沙三段")), Gbk("沙河街组"));
  EXPECT_EQ(strata->GetAlias(2, Gbk("沙三段")), "Es3");

  auto lith = wells_->GetLithTypeManager();
  EXPECT_EQ(lith->FindLith(""), 0);  // the default lithology
  EXPECT_GT(lith->GetLithPattern(lith->FindLith(Gbk("泥岩"))).code, 0u);
  EXPECT_GE(lith->FindOil(Gbk("油斑")), 0);
  EXPECT_GE(lith->FindColor(Gbk("灰绿")), 0);
  EXPECT_GE(wells_->GetFaciesTypeManager()->FindFaciesTypeByCode("HKB"), 0);
  EXPECT_EQ(wells_->GetCycleSymbolManager()->GetName(0), Gbk("正旋回"));
  EXPECT_GE(wells_->GetTextureSymbolManager()->FindData(Gbk("水平层理")), 0);
  EXPECT_GE(wells_->GetInundationSymbolManager()->FindData(Gbk("强水淹")), 0);

  // Oil tests list their identifying columns; the result fields are not listed.
  TableDefinition def;
  ASSERT_TRUE(wells_->GetTableDefinitionManager()->GetTableDefinition(Gbk("试油数据"), &def));
  ASSERT_GT(def.columns.size(), 24u);
  EXPECT_EQ(def.columns[2].name, Gbk("层段顶测深"));
  EXPECT_TRUE(def.columns[3].listed);
  EXPECT_FALSE(def.columns[4].listed);
  ASSERT_TRUE(wells_->GetTableDefinitionManager()->GetTableDefinition(Gbk("二级分层数据"), &def));
  EXPECT_EQ(def.columns[0].name, Gbk("层位"));
}

// Several cells are one write: all of them, or none when one row is not
// there.
TEST_F(WellDbTest, SeveralCellsAreWrittenAtOnceOrNotAtAll) {
  ASSERT_TRUE(ImportRows("W1", TableKind::kStratum, 1, {"name", "top", "bottom"},
                         {{"A", "10", "20"}, {"B", "20", "30"}}));
  std::shared_ptr<CWellTable> t = wells_->GetWellStratum(0, "W1");
  const std::uint64_t stamp = t->GetTimeStamp();
  ASSERT_TRUE(t->SetValues({{0, "bottom", 22.0}, {1, "top", 22.0}}));
  EXPECT_EQ(t->GetDouble(0, "bottom"), 22);
  EXPECT_EQ(t->GetDouble(1, "top"), 22);
  EXPECT_GT(t->GetTimeStamp(), stamp);

  const std::uint64_t after = t->GetTimeStamp();
  EXPECT_FALSE(t->SetValues({{0, "bottom", 25.0}, {2, "top", 25.0}}));
  EXPECT_FALSE(t->SetValues({{0, "bottom", 25.0}, {1, "top", "not a number"}}));
  EXPECT_EQ(t->GetDouble(0, "bottom"), 22);
  EXPECT_EQ(t->GetTimeStamp(), after);
  EXPECT_FALSE(t->GetLastError().empty());
}

}  // namespace
}  // namespace davodu
