// Speed of the core columns: loading the rock samples of many core runs
// (samples grouped by their run's interval), drawing them, and a run moved
// with all of its samples written back.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "davodu/davodu.h"

namespace davodu {
namespace {

constexpr int kSamplesPerRun = 20;

TableImport Import(TableKind kind, std::vector<std::string> header) {
  TableImport in;
  in.source = "bench";
  in.well = std::string("W1");
  in.kind = kind;
  in.header = std::move(header);
  return in;
}

// n core analysis samples, 20 to a run of 9 m, runs every 10 m from 1000 m,
// and the runs' summary, in a fresh database opened as the process's.
void FillDatabase(int n) {
  const auto dir = std::filesystem::temp_directory_path() / "davodu-bench-cores";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  CWellDataManager* wells = CWellDataManager::Instance();
  wells->Open((dir / "wells.db").string());
  TableImport samples = Import(TableKind::kCore, {"sample_no", "top", "run_top", "run_bottom", "distance"});
  TableImport runs = Import(TableKind::kIntegratedCore, {"run", "top", "bottom", "core_length"});
  for (int i = 0; i < n; ++i) {
    const int run = i / kSamplesPerRun;
    const double top = 1000 + 10.0 * run, distance = 40.0 * (i % kSamplesPerRun) + 20;
    samples.rows.push_back({std::to_string(i + 1), std::to_string(top + distance / 100), std::to_string(top),
                            std::to_string(top + 9), std::to_string(distance)});
    if (i % kSamplesPerRun == 0)
      runs.rows.push_back({std::to_string(run + 1), std::to_string(top), std::to_string(top + 9), "8.1"});
  }
  std::string error;
  wells->ImportTableRows(samples, &error);
  wells->ImportTableRows(runs, &error);
}

struct Chart {
  CZuMapFile doc;
  CWpWell* well = nullptr;
  CWpLthSample* samples = nullptr;
  CWpIntegratedCore* runs = nullptr;

  explicit Chart(int n) {
    well = static_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
    doc.GetActiveMap()->AddLayer("chart")->AddObject(well);
    well->SetName("W1");
    well->SetTopDepth(1000);
    well->SetBottomDepth(static_cast<float>(1000 + 10 * (n / kSamplesPerRun + 1)));
    well->SetDepthScale(500);
    samples = well->AddTrack(kCmdWellTrackFirst, -1)->AddLthSample("", 1, -1);
    samples->SetTableName(Gbk("岩心分析数据"));
    samples->SetDepthFiledName("distance");
    samples->SetNumberFiledName("sample_no");
    samples->SetSampleSource(LSMAPLE_CORE);
    runs = well->AddTrack(kCmdWellTrackFirst, -1)->AddIntegratedCore("", 1, -1);
  }
};

void BM_LoadCoreColumns(benchmark::State& state) {
  DaVoduAttach();
  const int n = static_cast<int>(state.range(0));
  FillDatabase(n);
  for (auto _ : state) {
    Chart chart(n);
    chart.well->LoadChartData();
    benchmark::DoNotOptimize(chart.samples->GetSegCount());
  }
  state.SetItemsProcessed(state.iterations() * n);
  CWellDataManager::Instance()->Close();
}
BENCHMARK(BM_LoadCoreColumns)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

void BM_DrawCoreColumns(benchmark::State& state) {
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
  state.SetItemsProcessed(state.iterations() * n);
  CWellDataManager::Instance()->Close();
}
BENCHMARK(BM_DrawCoreColumns)->Arg(2000)->Unit(benchmark::kMillisecond);

// A run of 20 samples moved by 10 cm and back: 40 rows written in one
// transaction, then the column reloads every sample.
void BM_MoveRunWriteBack(benchmark::State& state) {
  DaVoduAttach();
  const int n = static_cast<int>(state.range(0));
  FillDatabase(n);
  Chart chart(n);
  chart.well->LoadChartData();
  LogLthSampleDIO* io = chart.samples->GetData();
  double delta = 0.1;
  for (auto _ : state) {
    if (io && io->Move(0, delta)) io->Notify();
    delta = -delta;
  }
  CWellDataManager::Instance()->Close();
}
BENCHMARK(BM_MoveRunWriteBack)->Arg(2000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace davodu
