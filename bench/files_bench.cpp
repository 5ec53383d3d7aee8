// Reading documents whose tracks hold many contents (the layout's cost must
// grow with the document, not with its square), and writing text tables.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "davodu/davodu.h"

namespace davodu {
namespace {

// A document of one well whose one track holds n curves, each its own row.
std::string TrackOfContents(int n) {
  DaVoduAttach();
  CZuMapFile doc;
  auto* well = static_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
  doc.GetActiveMap()->AddLayer("chart")->AddObject(well);
  CWpTrack* track = well->AddTrack(kCmdWellTrackFirst + 1, -1);
  for (int i = 0; i < n; ++i) {
    auto* curve = static_cast<CWpKit*>(AfxGetObjectFactory()->CreateObject("CWpCurve"));
    track->AddChild(curve, 0);
  }
  return doc.SaveToData();
}

void BM_ReadTrackOfContents(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string data = TrackOfContents(n);
  for (auto _ : state) {
    CZuMapFile doc;
    if (!doc.ReadFromData(data, "bench")) state.SkipWithError("not read");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * data.size()));
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_ReadTrackOfContents)->Arg(250)->Arg(1000)->Arg(4000)->Unit(benchmark::kMillisecond);

// A curve table of 100 000 rows (depth and two values) written and renamed
// into place, as an export writes it.
void BM_WriteCurveTable(benchmark::State& state) {
  const std::string path = (std::filesystem::temp_directory_path() / "davodu_bench_table.txt").string();
  std::size_t bytes = 0;
  for (auto _ : state) {
    TextTableWriter table;
    std::string error;
    if (!table.Open(path, &error)) state.SkipWithError(error.c_str());
    table.Text("DEPTH GR RT");
    for (int i = 0; i < 100000; ++i) {
      table.NewLine();
      table.Number(1000 + i * 0.125, 9, 3);
      table.Value(i % 7 ? 50.0 + i % 90 : 3.4e38, 11, 3);
      table.Value(1.0 + i % 300, 11, 3);
    }
    if (!table.Commit(&error)) state.SkipWithError(error.c_str());
    bytes = std::filesystem::file_size(path);
  }
  std::filesystem::remove(path);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.SetItemsProcessed(state.iterations() * 100000);
}
BENCHMARK(BM_WriteCurveTable)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace davodu
