// The same well on both engines of the well database: importing its curves
// and strata, loading and drawing its chart, and an idle poll. Argument 0
// is a SQLite file in the temporary folder, 1 a PostgreSQL database on the
// server named by DAVODU_BENCH_PG (its maintenance database's URI, e.g.
// postgresql://davodu@/postgres?host=/tmp/cluster; scripts/bench-engines.sh
// starts a throwaway cluster and runs these). Without it the PostgreSQL
// runs are skipped.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "davodu/davodu.h"
#include "davodu/store/detail/sql_db.h"

namespace davodu {
namespace {

constexpr int kSamples = 30000;  // 3000 m every 0.1 m
constexpr int kStrata = 1000;

// A fresh, empty database of the engine; "" (with the benchmark skipped)
// when there is no server to run on.
std::string FreshDb(int engine, benchmark::State& state) {
  if (engine == 0) {
    const auto dir = std::filesystem::temp_directory_path() / "davodu-bench-engines";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return (dir / "wells.db").string();
  }
  const char* server = std::getenv("DAVODU_BENCH_PG");
  if (!server || !*server) {
    state.SkipWithError("DAVODU_BENCH_PG is not set (scripts/bench-engines.sh sets it)");
    return "";
  }
  sql::Db admin;
  admin.Open(server);
  admin.Exec("DROP DATABASE IF EXISTS davodu_bench WITH (FORCE)");
  admin.Exec("CREATE DATABASE davodu_bench");
  const std::string uri = server;
  const std::size_t query = uri.find('?');
  const std::size_t slash = uri.rfind('/', query);
  return uri.substr(0, slash + 1) + "davodu_bench" + (query == std::string::npos ? "" : uri.substr(query));
}

// Eight curves of kSamples samples and kStrata strata of level 3.
void ImportWell(CWellDataManager& wells, benchmark::State& state) {
  static const std::vector<CurveImport> curves = [] {
    std::vector<double> depths(kSamples);
    for (int i = 0; i < kSamples; ++i) depths[static_cast<std::size_t>(i)] = 1000 + i * 0.1;
    std::vector<CurveImport> set;
    for (const char* name : {"GR", "SP", "CAL", "RT", "RXO", "DEN", "CNL", "AC"}) {
      std::vector<double> values(depths.size());
      for (std::size_t i = 0; i < values.size(); ++i) values[i] = std::sin(static_cast<double>(i) * 0.01) * 50 + 60;
      set.push_back({name, "API", depths, values});
    }
    return set;
  }();
  static const TableImport strata = [] {
    TableImport in;
    in.source = "bench";
    in.well = "W1";
    in.kind = TableKind::kStratum;
    in.sub = 3;
    in.header = {"name", "top", "bottom"};
    for (int i = 0; i < kStrata; ++i)
      in.rows.push_back({Gbk("沙三段"), std::to_string(1000 + 3 * i), std::to_string(1003 + 3 * i)});
    return in;
  }();
  std::string error;
  if (!wells.ImportCurves("W1", curves) || !wells.ImportTableRows(strata, &error))
    state.SkipWithError((wells.GetLastError() + error).c_str());
}

// A chart of the well: two curve tracks (GR and SP, RT and AC) and a
// stratum column, at 1:500 over the whole well.
struct Chart {
  CZuMapFile doc;
  CWpWell* well = nullptr;
  Chart() {
    well = static_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
    doc.GetActiveMap()->AddLayer("chart")->AddObject(well);
    well->SetName("W1");
    well->SetTopDepth(1000);
    well->SetBottomDepth(1000 + kSamples * 0.1f);
    well->SetDepthScale(500);
    CWpTrack* logs = well->AddTrack(kCmdWellTrackFirst, -1);
    logs->AddCurve("GR", 0, -1);
    logs->AddCurve("SP", 0, -1);
    CWpTrack* resistivity = well->AddTrack(kCmdWellTrackFirst, -1);
    resistivity->AddCurve("RT", 0, -1);
    resistivity->AddCurve("AC", 0, -1);
    well->AddTrack(kCmdWellTrackFirst, -1)->AddStratum("", 1, -1);
  }
};

void BM_ImportWell(benchmark::State& state) {
  const std::string db = FreshDb(static_cast<int>(state.range(0)), state);
  if (db.empty()) return;
  CWellDataManager wells(db);
  for (auto _ : state) ImportWell(wells, state);
  state.SetItemsProcessed(state.iterations() * (8 * kSamples + kStrata));
}
BENCHMARK(BM_ImportWell)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// Opening a chart: every kit fetches its data from the database (nothing
// is cached between iterations), lays out and draws.
void BM_LoadAndDrawChart(benchmark::State& state) {
  DaVoduAttach();
  const std::string db = FreshDb(static_cast<int>(state.range(0)), state);
  if (db.empty()) return;
  CWellDataManager* wells = CWellDataManager::Instance();
  wells->Open(db);
  ImportWell(*wells, state);
  RecordingDC dc(false);
  for (auto _ : state) {
    Chart chart;
    chart.well->LoadChartData();
    dc.Clear();
    chart.well->Draw(&dc, nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(dc.ops().size());
  }
  wells->Close();
}
BENCHMARK(BM_LoadAndDrawChart)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

// The host's idle poll of an open chart when nothing changed: every data
// object compares its table's stamp.
void BM_IdlePoll(benchmark::State& state) {
  DaVoduAttach();
  const std::string db = FreshDb(static_cast<int>(state.range(0)), state);
  if (db.empty()) return;
  CWellDataManager* wells = CWellDataManager::Instance();
  wells->Open(db);
  ImportWell(*wells, state);
  Chart chart;
  chart.well->LoadChartData();
  for (auto _ : state) benchmark::DoNotOptimize(chart.well->OnIdle());
  wells->Close();
}
BENCHMARK(BM_IdlePoll)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace davodu
