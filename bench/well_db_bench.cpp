// Speed of the well database: importing a log curve set, reading tables and
// curves through handles, and depth conversion.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {
namespace {

// A fresh database in the temporary folder.
std::unique_ptr<CWellDataManager> FreshDb(const std::string& name) {
  const auto dir = std::filesystem::temp_directory_path() / ("davodu-bench-" + name);
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return std::make_unique<CWellDataManager>((dir / "wells.db").string());
}

// Eight curves of n samples every 0.1 m, as a LAS file would bring them.
std::vector<CurveImport> CurveSet(int n) {
  std::vector<double> depths(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) depths[static_cast<std::size_t>(i)] = 1000 + i * 0.1;
  std::vector<CurveImport> curves;
  for (const char* name : {"GR", "SP", "CAL", "RT", "RXO", "DEN", "CNL", "AC"}) {
    std::vector<double> values(depths.size());
    for (std::size_t i = 0; i < values.size(); ++i) values[i] = std::sin(static_cast<double>(i) * 0.01) * 50 + 60;
    curves.push_back({name, "API", depths, values});
  }
  return curves;
}

void BM_ImportCurveSet(benchmark::State& state) {
  auto wells = FreshDb("import");
  const auto curves = CurveSet(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!wells->ImportCurves("W1", curves)) state.SkipWithError(wells->GetLastError().c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0) * 8);
}
BENCHMARK(BM_ImportCurveSet)->Arg(30000)->Unit(benchmark::kMillisecond);

// Reading a curve through a handle that is already current: the buffer is
// the snapshot's, no copy.
void BM_CurveBufferByHandle(benchmark::State& state) {
  auto wells = FreshDb("curve");
  wells->ImportCurves("W1", CurveSet(30000));
  auto gr = wells->GetWellLog("W1")->GetColumn("GR");
  for (auto _ : state) {
    const double* v = gr->GetDataBuf();
    double sum = 0;
    for (int i = 0, n = gr->GetCount(); i < n; ++i) sum += v[i];
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 30000);
}
BENCHMARK(BM_CurveBufferByHandle)->Unit(benchmark::kMicrosecond);

// After another curve of the well was written the handle checks its stamp
// and keeps its snapshot; after its own curve was rewritten it reloads it.
void BM_CurveReloadAfterWrite(benchmark::State& state) {
  auto wells = FreshDb("reload");
  const auto curves = CurveSet(30000);
  wells->ImportCurves("W1", curves);
  auto gr = wells->GetWellLog("W1")->GetColumn("GR");
  for (auto _ : state) {
    state.PauseTiming();
    wells->ImportCurves("W1", {curves[0]});
    state.ResumeTiming();
    benchmark::DoNotOptimize(gr->GetDataBuf());
  }
}
BENCHMARK(BM_CurveReloadAfterWrite)->Unit(benchmark::kMicrosecond);

void LithologyRows(CWellDataManager& wells, int n) {
  TableImport in;
  in.source = std::string("bench");
  in.well = std::string("W1");
  in.kind = TableKind::kLithology;
  in.header = {Gbk("顶深"), Gbk("厚度"), Gbk("岩性名称")};
  for (int i = 0; i < n; ++i) in.rows.push_back({std::to_string(1000 + i), "1", Gbk("砂岩")});
  std::string error;
  wells.ImportTableRows(in, &error);
}

// Every row of a table by column name through a current handle.
void BM_TableReadByHandle(benchmark::State& state) {
  auto wells = FreshDb("table");
  LithologyRows(*wells, static_cast<int>(state.range(0)));
  auto lith = wells->GetWellLithology("W1");
  const std::string top = Gbk("顶深");
  const std::string thickness = Gbk("厚度");
  for (auto _ : state) {
    double sum = 0;
    for (int i = 0, n = lith->GetCount(); i < n; ++i)
      sum += lith->GetDouble(i, top) + lith->GetDouble(i, thickness);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TableReadByHandle)->Arg(1000)->Unit(benchmark::kMicrosecond);

// One edit through the handle and the re-read that follows it.
void BM_TableWriteAndReread(benchmark::State& state) {
  auto wells = FreshDb("write");
  LithologyRows(*wells, static_cast<int>(state.range(0)));
  auto lith = wells->GetWellLithology("W1");
  const std::string thickness = Gbk("厚度");
  double t = 1;
  for (auto _ : state) {
    lith->SetValue(0, thickness, t += 0.5);
    benchmark::DoNotOptimize(lith->GetDouble(0, thickness));
  }
}
BENCHMARK(BM_TableWriteAndReread)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_ConvertDepthToAltitude(benchmark::State& state) {
  auto wells = FreshDb("convert");
  WellInfo info;
  info.name = "D1";
  info.kb = 100;
  wells->AddWell(info);
  std::vector<SurveyStation> survey;
  for (int i = 0; i <= 100; ++i) survey.push_back({i * 30.0, i * 0.5, i * 2.0});
  wells->SetDeviation("D1", survey);
  for (auto _ : state) {
    double sum = 0;
    for (int i = 0; i < 30000; ++i) sum += wells->ConvertDepthToAltitude("D1", i * 0.1);
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * 30000);
}
BENCHMARK(BM_ConvertDepthToAltitude)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace davodu
