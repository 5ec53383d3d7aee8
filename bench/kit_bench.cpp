// Speed of the kit core: depth mapping, layout of a chart-sized tree,
// drawing it into a recording device and into a PNG.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <vector>
#include <string>

#include "davodu/davodu.h"
#include "davodu/host/graphics/render.h"

namespace davodu {
namespace {

class SegmentWell : public CWpWell {
 public:
  explicit SegmentWell(int segments) : CWpWell(nullptr), n_(segments) {}
  void ScaleSegment() override {
    scale_segments_.clear();
    double y = 0;
    const double step = 1000.0 / n_;
    for (int i = 0; i < n_; ++i) {
      const double z = i % 2 ? 0.5 : 1.0;
      y -= dep_scl_ * z * step;
      scale_segments_.push_back({1000 + i * step, y, z});
    }
  }

 private:
  int n_;
};

void BM_DepToMapY(benchmark::State& state) {
  DaVoduAttach();
  CZuMapFile doc;
  CZuLayer* layer = doc.GetActiveMap()->AddLayer("chart");
  auto* well = new SegmentWell(static_cast<int>(state.range(0)));
  layer->AddObject(well);
  auto* track = static_cast<CWpKit*>(AfxGetObjectFactory()->CreateObject("CWpTrack"));
  well->AddChild(track);
  well->ScaleSegment();
  well->BuildControlNodePointArray();
  track->BuildControlNodePointArray();
  double d = 1000;
  for (auto _ : state) {
    benchmark::DoNotOptimize(track->DepToMapY(d));
    d = d >= 2000 ? 1000 : d + 0.37;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DepToMapY)->Arg(0)->Arg(2)->Arg(50)->Arg(500);

// A well of 12 tracks with 8 contents each.
CWpWell* BuildChart(CZuLayer* layer) {
  auto* well = static_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
  layer->AddObject(well);
  for (int t = 0; t < 12; ++t) {
    auto* track = static_cast<CWpKit*>(AfxGetObjectFactory()->CreateObject("CWpTrack"));
    well->AddChild(track);
    track->SetPosition(FLOATPOINT{t * 1000.0, 0}, 0);
    for (int c = 0; c < 8; ++c) {
      auto* content = static_cast<CWpKit*>(AfxGetObjectFactory()->CreateObject("CWpStratum"));
      track->AddChild(content);
      content->SetPosition(FLOATPOINT{t * 1000.0, 0}, 0);
    }
  }
  return well;
}

void LayOutTree(CWpKit* kit) {
  kit->BuildControlNodePointArray();
  for (CWpKit* c : kit->GetChildren()) LayOutTree(c);
}

void BM_BuildAndLayOutChart(benchmark::State& state) {
  DaVoduAttach();
  for (auto _ : state) {
    CZuMapFile doc;
    CWpWell* well = BuildChart(doc.GetActiveMap()->AddLayer("chart"));
    LayOutTree(well);
    benchmark::DoNotOptimize(well->MapNode(10).y);
  }
}
BENCHMARK(BM_BuildAndLayOutChart);

void DrawTree(CWpKit* kit, CDC* dc) {
  kit->Draw(dc, nullptr, nullptr, nullptr);
}

void BM_DrawChartRecording(benchmark::State& state) {
  DaVoduAttach();
  CZuMapFile doc;
  CWpWell* well = BuildChart(doc.GetActiveMap()->AddLayer("chart"));
  LayOutTree(well);
  for (auto _ : state) {
    RecordingDC dc(false);
    DrawTree(well, &dc);
    benchmark::DoNotOptimize(dc.ops().size());
  }
}
BENCHMARK(BM_DrawChartRecording);

void BM_RenderChartPng(benchmark::State& state) {
  DaVoduAttach();
  CZuMapFile doc;
  CWpWell* well = BuildChart(doc.GetActiveMap()->AddLayer("chart"));
  well->SetBottomDepth(1100);
  const std::string path = (std::filesystem::temp_directory_path() / "davodu-bench.png").string();
  for (auto _ : state) {
    std::string error;
    if (!RenderDocument(&doc, path, RenderOptions{}, &error)) state.SkipWithError(error.c_str());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_RenderChartPng)->Unit(benchmark::kMillisecond);

// A curve of 9,601 samples (1200 m every 0.125 m) in a gridded track,
// laid out and drawn at 1:500.
void BM_DrawCurve(benchmark::State& state) {
  DaVoduAttach();
  CZuMapFile doc;
  CZuLayer* layer = doc.GetActiveMap()->AddLayer("chart");
  auto* well = static_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
  layer->AddObject(well);
  well->SetTopDepth(1000);
  well->SetBottomDepth(2200);
  well->SetDepthScale(500);
  CWpTrack* track = well->AddTrack(8005, -1);
  CWpCurve* curve = track->AddCurve("GR", 0, -1);
  std::vector<double> d, v;
  for (int i = 0; i < 9601; ++i) {
    d.push_back(1000 + i * 0.125);
    v.push_back(75 + 50 * std::sin(i * 0.01));
  }
  curve->SetSamples(d, v);
  curve->SetValueRangeType(0);
  curve->SetLeft(0);
  curve->SetRight(150);
  well->Update();
  for (auto _ : state) {
    curve->BuildControlNodePointArray();
    RecordingDC dc(false);
    curve->Draw(&dc, nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(dc.ops().size());
  }
  state.SetItemsProcessed(state.iterations() * 9601);
}
BENCHMARK(BM_DrawCurve)->Unit(benchmark::kMicrosecond);

void BM_RecordFileRoundTrip(benchmark::State& state) {
  DaVoduAttach();
  CZuMapFile doc;
  CWpWell* well = BuildChart(doc.GetActiveMap()->AddLayer("chart"));
  for (auto _ : state) {
    CZuMFile out;
    out.OpenWrite();
    well->SaveToFile(&out);
    CZuMFile in;
    in.OpenRead(out.GetData());
    in.ReadNextRecord();  // the well's record 60
    CWpWell copy(nullptr);
    benchmark::DoNotOptimize(copy.ReadFromFile(&in));
    state.SetBytesProcessed(state.bytes_processed() + static_cast<int64_t>(out.GetData().size()));
  }
}
BENCHMARK(BM_RecordFileRoundTrip)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace davodu
