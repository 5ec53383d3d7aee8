// Speed of the interval columns: loading a stratification and a sand
// column from the well database, drawing them, and a boundary edit written
// back (two records in one transaction).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "davodu/davodu.h"

namespace davodu {
namespace {

// n strata of 1 m and n sands of 0.6 m from 1000 m in a fresh database
// opened as the process's well database.
void FillDatabase(int n) {
  const auto dir = std::filesystem::temp_directory_path() / "davodu-bench-intervals";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  CWellDataManager* wells = CWellDataManager::Instance();
  wells->Open((dir / "wells.db").string());
  TableImport strata;
  strata.source = "bench";
  strata.well = "W1";
  strata.kind = TableKind::kStratum;
  strata.sub = 3;
  strata.header = {"name", "top", "bottom"};
  TableImport sands = strata;
  sands.kind = TableKind::kSand;
  sands.sub = 0;
  sands.header = {"name", "sand_top", "sand_bottom"};
  for (int i = 0; i < n; ++i) {
    const std::string top = std::to_string(1000 + i), bottom = std::to_string(1001 + i);
    strata.rows.push_back({Gbk("沙三段"), top, bottom});
    sands.rows.push_back({"S", top + ".2", top + ".8"});
  }
  std::string error;
  wells->ImportTableRows(strata, &error);
  wells->ImportTableRows(sands, &error);
}

struct Chart {
  CZuMapFile doc;
  CWpWell* well = nullptr;
  CWpStratum* stratum = nullptr;

  explicit Chart(int n) {
    well = static_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
    doc.GetActiveMap()->AddLayer("chart")->AddObject(well);
    well->SetName("W1");
    well->SetTopDepth(1000);
    well->SetBottomDepth(static_cast<float>(1000 + n));
    well->SetDepthScale(500);
    stratum = well->AddTrack(kCmdWellTrackFirst, -1)->AddStratum("", 1, -1);
    stratum->UseBkColor(true);
    well->AddTrack(kCmdWellTrackFirst, -1)->AddSand("", 1, -1);
  }
};

void BM_LoadIntervalColumns(benchmark::State& state) {
  DaVoduAttach();
  const int n = static_cast<int>(state.range(0));
  FillDatabase(n);
  for (auto _ : state) {
    Chart chart(n);
    chart.well->LoadChartData();
    benchmark::DoNotOptimize(chart.stratum->GetSegCount());
  }
  state.SetItemsProcessed(state.iterations() * n * 2);
  CWellDataManager::Instance()->Close();
}
BENCHMARK(BM_LoadIntervalColumns)->Arg(1000)->Unit(benchmark::kMillisecond);

void BM_DrawIntervalColumns(benchmark::State& state) {
  DaVoduAttach();
  const int n = static_cast<int>(state.range(0));
  FillDatabase(n);
  Chart chart(n);
  chart.well->LoadChartData();
  RecordingDC dc(false);
  for (auto _ : state) {
    dc.Clear();
    chart.well->Draw(&dc, nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(dc.ops().size());
  }
  state.SetItemsProcessed(state.iterations() * n * 2);
  CWellDataManager::Instance()->Close();
}
BENCHMARK(BM_DrawIntervalColumns)->Arg(1000)->Unit(benchmark::kMillisecond);

// A shared boundary moved through the data object (both records in one
// transaction) and every kit showing it reloaded.
void BM_BoundaryWriteBack(benchmark::State& state) {
  DaVoduAttach();
  const int n = static_cast<int>(state.range(0));
  FillDatabase(n);
  Chart chart(n);
  chart.well->LoadChartData();
  double depth = 1500.5;
  for (auto _ : state) {
    depth = depth == 1500.5 ? 1500.25 : 1500.5;
    if (!chart.stratum->SetSegTopDpth(500, depth)) state.SkipWithError("refused");
  }
  state.SetItemsProcessed(state.iterations());
  CWellDataManager::Instance()->Close();
}
BENCHMARK(BM_BoundaryWriteBack)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace davodu
