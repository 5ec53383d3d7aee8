// Several clients on one well database (a team's server, or one file opened
// twice): stamps handed out by the database, changes reaching the other
// client's kits at its next poll, writers that never interleave, read-only
// roles and schema upgrades. Run on SQLite, and on PostgreSQL by the test
// command's throwaway cluster.
#include <gtest/gtest.h>

#include <stdlib.h>

#include <atomic>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "davodu/data/wd_mgr.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/detail/sql_db.h"
#include "davodu/store/detail/well_db_sql.h"
#include "davodu/store/well_data_manager.h"
#include "support/cli.h"
#include "support/interval_data.h"

namespace davodu {
namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

struct CountingKit : Observer {
  int updates = 0;
  void UpdateWithObservee() override { ++updates; }
};

class TeamDatabase : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    dir_ = testing::ScratchDir("team-" + name);
    target_ = testing::ScratchDb(dir_);
    a_ = std::make_unique<CWellDataManager>(target_);
    ASSERT_TRUE(a_->IsOpen()) << a_->GetLastError();
    std::string error;
    ASSERT_TRUE(testing::FillIntervalWells(*a_, &error)) << error;
    b_ = std::make_unique<CWellDataManager>(target_);
    ASSERT_TRUE(b_->IsOpen()) << b_->GetLastError();
  }

  // The stratum boundary between rows 0 and 1 of W1's level 3, as both
  // rows hold it: (bottom of 0, top of 1).
  std::pair<double, double> Boundary(CWellDataManager& wells) {
    std::shared_ptr<CWellTable> t = wells.GetTable("W1", TableKind::kStratum, 3);
    return {t->GetDouble(0, "bottom"), t->GetDouble(1, "top")};
  }

  std::string dir_, target_;
  std::unique_ptr<CWellDataManager> a_, b_;
};

// Every write takes the database's next stamp, whichever client makes it:
// consecutive writes of two clients get consecutive, growing stamps (a
// counter, not two machines' clocks that may disagree).
TEST_F(TeamDatabase, StampsAreHandedOutByTheDatabaseInCommitOrder) {
  std::vector<std::uint64_t> stamps;
  for (CWellDataManager* client : {a_.get(), b_.get(), a_.get()}) {
    std::shared_ptr<CWellTable> t = client->GetTable("W1", TableKind::kStratum, 3);
    ASSERT_TRUE(t->SetValues({{0, "remark", CZuVariant(Gbk("改"))}})) << client->GetLastError();
    stamps.push_back(t->GetTimeStamp());
    EXPECT_EQ(client->GetTimeStamp(), stamps.back()) << "the manager's stamp is the last write's";
  }
  EXPECT_EQ(stamps[1], stamps[0] + 1);
  EXPECT_EQ(stamps[2], stamps[1] + 1);
  // Client a sees b's write of the same table when it asks.
  EXPECT_EQ(a_->GetTable("W1", TableKind::kStratum, 3)->GetTimeStamp(), stamps[2]);
}

// Client a edits a stratum boundary and imports a curve again; the chart
// of client b (its gateway, with a kit on each data object) shows both
// after its next idle poll, and is not refreshed again while nothing
// changes.
TEST_F(TeamDatabase, ChangesOfOneClientReachTheOthersChartAtItsPoll) {
  ASSERT_TRUE(a_->ImportCurves("W1", {{"NEWC", "V", {1000, 1001}, {1, 2}}})) << a_->GetLastError();
  WDMgrAdapter chart_a(a_.get(), "W1"), chart_b(b_.get(), "W1");
  CountingKit strata, curve;
  LogStratum2DIO* seen_strata = chart_b.GetStratum2(STRATUM_LEVEL3, "");
  LogCveDataIO* seen_curve = chart_b.GetLogCve(CVE_WELLLOG, "NEWC", "");
  seen_strata->Attatch(&strata);
  seen_curve->Attatch(&curve);
  for (int i = 0; i < 3; ++i) chart_b.CheckDataUpdate();
  const int strata_before = strata.updates, curve_before = curve.updates;
  ASSERT_EQ(seen_curve->GetValueCount(), 2);

  ASSERT_TRUE(chart_a.GetStratum2(STRATUM_LEVEL3, "")->SetTop(1, 1009));
  ASSERT_TRUE(a_->ImportCurves("W1", {{"NEWC", "V", {1000, 1001, 1002}, {1, 2, 3}}}))
      << a_->GetLastError();
  chart_b.CheckDataUpdate();
  EXPECT_GT(strata.updates, strata_before);
  EXPECT_GT(curve.updates, curve_before);
  EXPECT_EQ(seen_strata->GetTop(1), 1009);
  EXPECT_EQ(seen_curve->GetValueCount(), 3);

  const int strata_after = strata.updates, curve_after = curve.updates;
  for (int i = 0; i < 3; ++i) chart_b.CheckDataUpdate();
  EXPECT_EQ(strata.updates, strata_after) << "no change, no refresh";
  EXPECT_EQ(curve.updates, curve_after);
}

// One client imports a log file while another renders a chart of the same
// well; both succeed, and the next render (its export) has the new curves.
TEST_F(TeamDatabase, ARenderWhileAnotherClientImportsThenShowsTheNewCurves) {
  Write(dir_ + "/t.json",
        R"({"scale": 200, "top": 1000, "bottom": 1040, "tracks": [{"kind": "depth"},)"
        R"( {"kind": "stratum", "level": 3},)"
        R"( {"kind": "curve", "curves": [{"name": "GR", "left": 0, "right": 150},)"
        R"( {"name": "SP", "left": -50, "right": 50}]}]})");
  std::string las =
      "~Version\nVERS. 2.0 :\nWRAP. NO :\n~Well\nWELL. W1 :\nNULL. -999.25 :\n"
      "~Curve\nDEPT.M :\nGR.API :\nSP.MV :\n~A\n";
  for (int i = 0; i < 20000; ++i) {
    const double depth = 1000 + i * 0.002;
    las += std::to_string(depth) + " " + std::to_string(60 + i % 50) + " " + std::to_string(i % 7) + "\n";
  }
  Write(dir_ + "/w.las", las);
  const std::string db = "'" + target_ + "'";
  const std::string chart = dir_ + "/c.wpd";
  ASSERT_EQ(testing::RunCli("build --db " + db + " --template " + dir_ + "/t.json --well W1 -o " + chart)
                .exit_code, 0);

  testing::CliResult imported;
  std::thread importer([&] { imported = testing::RunCli("import --db " + db + " " + dir_ + "/w.las"); });
  const testing::CliResult rendered =
      testing::RunCli("render --db " + db + " " + chart + " -o " + dir_ + "/during.png");
  importer.join();
  EXPECT_EQ(imported.exit_code, 0) << imported.out;
  EXPECT_EQ(rendered.exit_code, 0) << rendered.out;

  const testing::CliResult again =
      testing::RunCli("render --db " + db + " " + chart + " -o " + dir_ + "/after.png");
  EXPECT_EQ(again.exit_code, 0) << again.out;
  const testing::CliResult r =
      testing::RunCli("export --db " + db + " " + chart + " --dir " + dir_ + "/out --utf8");
  ASSERT_EQ(r.exit_code, 0) << r.out;
  const std::string table = testing::ReadFile(dir_ + "/out/W1井曲线数据.txt");
  EXPECT_EQ(table.rfind("深度[m] GR SP\r\n", 0), 0u) << table.substr(0, 200);
}

// Without --db the commands take the database from DAVODU_DB (a file or a
// server alike).
TEST_F(TeamDatabase, DavoduDbNamesTheDatabaseWhenDbIsNotGiven) {
  ::setenv("DAVODU_DB", target_.c_str(), 1);
  const testing::CliResult r = testing::RunCli("show W1");
  ::unsetenv("DAVODU_DB");
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_NE(r.out.find("table stratum3"), std::string::npos) << r.out;
}

// Two clients move the same boundary at once, many times: each move writes
// the bottom of one stratum and the top of the next in one transaction.
// Writers wait for each other, so the two cells always agree and every
// move that reported success is there (the last one of all wins).
TEST_F(TeamDatabase, ConcurrentBoundaryMovesNeverInterleave) {
  constexpr int kMoves = 25;
  std::atomic<int> failures{0};
  std::atomic<int> torn{0};
  auto mover = [&](CWellDataManager* wells, double base) {
    std::shared_ptr<CWellTable> t = wells->GetTable("W1", TableKind::kStratum, 3);
    for (int i = 0; i < kMoves; ++i) {
      const double depth = base + i * 0.01;
      if (!t->SetValues({{0, "bottom", CZuVariant(depth)}, {1, "top", CZuVariant(depth)}})) ++failures;
      const auto [bottom, top] = Boundary(*wells);
      if (bottom != top) ++torn;
    }
  };
  std::thread first(mover, a_.get(), 1008.0);
  std::thread second(mover, b_.get(), 1011.0);
  first.join();
  second.join();
  EXPECT_EQ(failures, 0) << "a writer waits up to the busy timeout";
  EXPECT_EQ(torn, 0);
  CWellDataManager fresh(target_);
  const auto [bottom, top] = Boundary(fresh);
  EXPECT_EQ(bottom, top);
  EXPECT_TRUE(bottom == 1008.0 + (kMoves - 1) * 0.01 || bottom == 1011.0 + (kMoves - 1) * 0.01)
      << bottom;
}

// While another client holds the write lock longer than this client waits,
// its write fails with a message and changes nothing.
TEST_F(TeamDatabase, AWriterThatWaitsTooLongFailsCleanly) {
  sql::Db other;
  other.Open(target_);
  sql::Transaction holding(other);
  const auto before = Boundary(*b_);
  b_->SetBusyTimeout(200);
  std::shared_ptr<CWellTable> t = b_->GetTable("W1", TableKind::kStratum, 3);
  EXPECT_FALSE(t->SetValues({{0, "bottom", CZuVariant(1009.5)}, {1, "top", CZuVariant(1009.5)}}));
  EXPECT_NE(t->GetLastError().find(testing::OnPostgres() ? "busy" : "locked"), std::string::npos)
      << t->GetLastError();
  EXPECT_EQ(Boundary(*b_), before);
}

// A database of schema 2 (stamps taken from the clock, no version table)
// is brought to the current schema on opening: the versions are recorded,
// the stamps kept, and the database's counter goes on above them.
TEST_F(TeamDatabase, AnOlderFileIsUpgradedAndItsStampsKeepGrowing) {
  if (testing::OnPostgres()) GTEST_SKIP() << "only files have schemas older than 3";
  constexpr std::int64_t kClockStamp = 1700000000000000;
  a_.reset();
  b_.reset();
  {
    sql::Db raw;
    raw.Open(target_);
    raw.Exec("DROP TABLE schema_version");
    raw.Exec("UPDATE meta SET value = 2 WHERE key = 'schema_version'");
    raw.Exec("UPDATE table_stamps SET stamp = " + std::to_string(kClockStamp) +
             " WHERE kind = 'stratum' AND sub = 3");
  }
  CWellDataManager wells(target_);
  ASSERT_TRUE(wells.IsOpen()) << wells.GetLastError();
  std::shared_ptr<CWellTable> t = wells.GetTable("W1", TableKind::kStratum, 3);
  EXPECT_EQ(t->GetTimeStamp(), static_cast<std::uint64_t>(kClockStamp));
  ASSERT_TRUE(t->SetValues({{0, "remark", CZuVariant(Gbk("改"))}})) << t->GetLastError();
  EXPECT_GT(wells.GetTimeStamp(), static_cast<std::uint64_t>(kClockStamp))
      << "the counter goes on above the old stamps";
  EXPECT_EQ(t->GetTimeStamp(), wells.GetTimeStamp());
  sql::Db raw;
  raw.Open(target_);
  EXPECT_EQ(raw.QueryInt("SELECT max(version) FROM schema_version"), welldb::kSchemaVersion);
  EXPECT_EQ(raw.QueryInt("SELECT value FROM meta WHERE key = 'schema_version'"), welldb::kSchemaVersion);
}

// A database of schema 4 knew no run of a core sample: opened, its core
// table gains the run's interval and the sample's distance below the run
// top (empty in the rows it had), and the table definitions list them.
TEST_F(TeamDatabase, ASchema4DatabaseGainsTheCoreSamplesRuns) {
  TableImport core;
  core.source = "test";
  core.well = "W1";
  core.kind = TableKind::kCore;
  core.header = {"sample_no", "top"};
  core.rows = {{"7", "1003.5"}};
  std::string error;
  ASSERT_TRUE(a_->ImportTableRows(core, &error)) << error;
  a_.reset();
  b_.reset();
  {
    sql::Db raw;
    raw.Open(target_);
    for (const char* column : {"run_top", "run_bottom", "distance"})
      raw.Exec(std::string("ALTER TABLE core DROP COLUMN ") + column);
    raw.Exec("DELETE FROM cat_table_def WHERE second_name IN ('run_top', 'run_bottom', 'distance')");
    raw.Exec("UPDATE schema_version SET version = 4");
    raw.Exec("UPDATE meta SET value = 4 WHERE key = 'schema_version'");
  }
  CWellDataManager wells(target_);
  ASSERT_TRUE(wells.IsOpen()) << wells.GetLastError();
  std::shared_ptr<CWellTable> t = wells.GetTable("W1", TableKind::kCore, 0);
  ASSERT_EQ(t->GetCount(), 1);
  EXPECT_DOUBLE_EQ(t->GetDouble(0, "top"), 1003.5);
  EXPECT_TRUE(IsMissing(t->GetDouble(0, "run_top")));
  ASSERT_TRUE(t->SetValues({{0, "run_top", CZuVariant(1000.0)}, {0, "distance", CZuVariant(350.0)}}))
      << t->GetLastError();
  EXPECT_DOUBLE_EQ(t->GetDouble(0, Gbk("距顶位置")), 350);
  TableDefinition def;
  ASSERT_TRUE(wells.GetTableDefinitionManager()->GetTableDefinition(Gbk("岩心分析数据"), &def));
  ASSERT_FALSE(def.columns.empty());
  EXPECT_EQ(def.columns.back().name, Gbk("距顶位置"));
  sql::Db raw;
  raw.Open(target_);
  EXPECT_EQ(raw.QueryInt("SELECT count(*) FROM cat_table_def WHERE second_name = 'distance'"), 1);
  EXPECT_EQ(raw.QueryInt("SELECT max(version) FROM schema_version"), welldb::kSchemaVersion);
}

// A database of schema 5 checked that a depth index held 8 bytes a depth.
// Opened, it takes packed samples beside the ones it had, and reads both.
TEST_F(TeamDatabase, ASchema5DatabaseTakesPackedSamples) {
  const auto curve = [](const std::string& name, double step) {
    CurveImport c{name, "API", {}, {}};
    for (int i = 0; i < 200; ++i) {
      c.depths.push_back(1000 + step * i);
      c.values.push_back(i % 2 ? 1.0 / (i + 3) : 60.25 + i);
    }
    return c;
  };
  ASSERT_TRUE(a_->ImportCurves("W1", {curve("OLD", 0.1 / 3)})) << a_->GetLastError();
  a_.reset();
  b_.reset();
  {
    sql::Db raw;
    raw.Open(target_);
    ASSERT_EQ(raw.QueryInt("SELECT count(*) FROM depth_indexes WHERE length(depths) = 8 * count"), 1)
        << "depths no decimal gives are stored whole";
    if (testing::OnPostgres()) {
      raw.Exec(
          "DO $$ DECLARE c text; BEGIN FOR c IN SELECT conname FROM pg_constraint "
          "WHERE conrelid = 'depth_indexes'::regclass AND contype = 'c' LOOP "
          "EXECUTE format('ALTER TABLE depth_indexes DROP CONSTRAINT %I', c); END LOOP; END $$;"
          "ALTER TABLE depth_indexes ADD CHECK(length(depths) = 8 * count)");
    } else {
      const std::int64_t cookie = raw.QueryInt("PRAGMA schema_version");
      raw.Exec("PRAGMA writable_schema = ON");
      raw.Exec("UPDATE sqlite_schema SET sql = replace(sql, '<=', '=') WHERE name = 'depth_indexes'");
      raw.Exec("PRAGMA schema_version = " + std::to_string(cookie + 1));
      raw.Exec("PRAGMA writable_schema = OFF");
    }
    raw.Exec("UPDATE schema_version SET version = 5");
    raw.Exec("UPDATE meta SET value = 5 WHERE key = 'schema_version'");
    EXPECT_ANY_THROW(raw.Exec("UPDATE depth_indexes SET depths = substr(depths, 1, 8)"));
  }
  CWellDataManager wells(target_);
  ASSERT_TRUE(wells.IsOpen()) << wells.GetLastError();
  ASSERT_TRUE(wells.ImportCurves("W1", {curve("NEW", 0.125)})) << wells.GetLastError();
  CWellDataManager fresh(target_);
  auto log = fresh.GetWellLog("W1");
  ASSERT_TRUE(log);
  for (const auto& [name, step] : {std::pair{"OLD", 0.1 / 3}, std::pair{"NEW", 0.125}}) {
    SCOPED_TRACE(name);
    const CurveImport expected = curve(name, step);
    auto c = log->GetColumn(name);
    ASSERT_TRUE(c);
    ASSERT_EQ(c->GetCount(), 200);
    EXPECT_EQ(std::vector<double>(c->GetDepthBuf(), c->GetDepthBuf() + 200), expected.depths);
    EXPECT_EQ(std::vector<double>(c->GetDataBuf(), c->GetDataBuf() + 200), expected.values);
  }
  sql::Db raw;
  raw.Open(target_);
  EXPECT_EQ(raw.QueryInt("SELECT max(version) FROM schema_version"), welldb::kSchemaVersion);
  EXPECT_EQ(raw.QueryInt("SELECT count(*) FROM depth_indexes WHERE length(depths) < 8 * count"), 1)
      << "the new index is packed";
}

// A read-only role of the team's server builds, renders and exports charts,
// and is refused imports and edits with a message that says why.
TEST_F(TeamDatabase, AReadOnlyRoleReadsButCannotWrite) {
  if (!testing::OnPostgres()) GTEST_SKIP() << "roles are the server's";
  {
    sql::Db admin;
    admin.Open(target_);
    admin.Exec(
        "DO $$ BEGIN IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = 'geologist_ro') THEN "
        "CREATE ROLE geologist_ro LOGIN; END IF; END $$;"
        "GRANT USAGE ON SCHEMA public TO geologist_ro;"
        "GRANT SELECT ON ALL TABLES IN SCHEMA public TO geologist_ro");
  }
  // postgresql://davodu@/db?host=... -> postgresql://geologist_ro@/db?host=...
  const std::string reader =
      "postgresql://geologist_ro@" + target_.substr(target_.find('@') + 1);
  CWellDataManager wells(reader);
  ASSERT_TRUE(wells.IsOpen()) << wells.GetLastError();
  EXPECT_EQ(Boundary(wells).first, 1010);
  std::shared_ptr<CWellTable> t = wells.GetTable("W1", TableKind::kStratum, 3);
  EXPECT_FALSE(t->SetValues({{0, "bottom", CZuVariant(1009.5)}, {1, "top", CZuVariant(1009.5)}}));
  EXPECT_NE(t->GetLastError().find("may only read"), std::string::npos) << t->GetLastError();
  EXPECT_EQ(Boundary(*a_).first, 1010);

  Write(dir_ + "/t.json",
                 R"({"scale": 200, "top": 1000, "bottom": 1040, "tracks": [{"kind": "depth"},)"
                 R"( {"kind": "stratum", "level": 3}]})");
  const std::string db = "'" + reader + "'";
  const std::string chart = dir_ + "/c.wpd";
  testing::CliResult r =
      testing::RunCli("build --db " + db + " --template " + dir_ + "/t.json --well W1 -o " + chart);
  ASSERT_EQ(r.exit_code, 0) << r.out;
  r = testing::RunCli("render --db " + db + " " + chart + " -o " + dir_ + "/c.png");
  EXPECT_EQ(r.exit_code, 0) << r.out;
  r = testing::RunCli("export --db " + db + " " + chart + " --dir " + dir_ + "/out");
  EXPECT_EQ(r.exit_code, 0) << r.out;
  Write(dir_ + "/w.las",
                 "~Version\nVERS. 2.0 :\nWRAP. NO :\n~Well\nWELL. W1 :\nNULL. -999.25 :\n"
                 "~Curve\nDEPT.M :\nGR.API :\n~A\n1000 1\n1001 2\n");
  r = testing::RunCli("import --db " + db + " " + dir_ + "/w.las");
  EXPECT_EQ(r.exit_code, 1) << r.out;
  EXPECT_NE(r.out.find("may only read"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace davodu
