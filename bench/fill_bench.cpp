// Speed of the curve fills: the value-coloured shading computed at layout,
// a crossover between two curves drawn, and a shaded chart rendered.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "davodu/davodu.h"
#include "davodu/host/graphics/render.h"

namespace davodu {
namespace {

constexpr int kSamples = 9601;  // 1200 m every 0.125 m

// A well over 1000-2200 m at 1:500 with one track holding a gamma ray
// shaded from the left edge by a four-colour table, and a second track with
// density and neutron and the crossover fill between them.
struct FillChart {
  CZuMapFile doc;
  CWpWell* well = nullptr;
  CWpCurve* gr = nullptr;
  CWpCurve* den = nullptr;
  CWpCurve* cnl = nullptr;

  explicit FillChart(double bottom = 2200) {
    DaVoduAttach();
    CZuLayer* layer = doc.GetActiveMap()->AddLayer("chart");
    well = static_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
    layer->AddObject(well);
    well->SetTopDepth(1000);
    well->SetBottomDepth(static_cast<float>(bottom));
    well->SetDepthScale(500);
    gr = AddCurve(well->AddTrack(8005, -1), "GR", 0, 150,
                  [](double d) { return 75 + 45 * std::sin(d / 7.3) + 4 * std::sin(d * 13); });
    CWpTrack* porosity = well->AddTrack(8005, -1);
    den = AddCurve(porosity, "DEN", 1.95f, 2.95f, [](double d) { return 2.45 + 0.12 * std::sin(d / 5.1); });
    cnl = AddCurve(porosity, "CNL", 45, -15, [](double d) { return 22 + 10 * std::sin(d / 6.7 + 1); });
    gr->Operation(0);
    CVEFILL* shade = gr->FillAt(0);
    shade->block.sides = 1;
    shade->block.shade0 = 1;
    shade->colors0 = {{0, 50, 0x5CE4FF, false}, {50, 75, 0x5CE4FF, false},
                      {75, 100, 0x6EAAD2, false}, {100, 150, 0xB4B4B4, false}};
    den->Operation(0);
    CVEFILL* cross = den->FillAt(0);
    cross->SetTarget("CNL");
    cross->block.sides = 3;
    well->Update();
  }

  template <typename F>
  static CWpCurve* AddCurve(CWpTrack* track, const char* name, float left, float right, F value) {
    CWpCurve* c = track->AddCurve(name, 0, -1);
    c->SetName(name);
    std::vector<double> d, v;
    for (int i = 0; i < kSamples; ++i) {
      d.push_back(1000 + i * 0.125);
      v.push_back(value(d.back()));
    }
    c->SetSamples(d, v);
    c->SetValueRangeType(0);
    c->SetLeft(left);
    c->SetRight(right);
    return c;
  }
};

// Laying out a curve with a shaded fill: the draw points and the shading
// slices of 9,601 samples.
void BM_LayOutShadedCurve(benchmark::State& state) {
  FillChart chart;
  for (auto _ : state) {
    chart.gr->BuildControlNodePointArray();
    benchmark::DoNotOptimize(chart.gr->FillAt(0)->shade0.polygons.size());
  }
  state.SetItemsProcessed(state.iterations() * kSamples);
  state.counters["slices"] = static_cast<double>(chart.gr->FillAt(0)->shade0.polygons.size());
}
BENCHMARK(BM_LayOutShadedCurve)->Unit(benchmark::kMicrosecond);

// Drawing the two fill tracks (shading, crossover, lines) into a recording
// device.
void BM_DrawFills(benchmark::State& state) {
  FillChart chart;
  for (auto _ : state) {
    RecordingDC dc(false);
    for (CWpKit* track : chart.well->GetChildren()) track->Draw(&dc, nullptr, nullptr, nullptr);
    benchmark::DoNotOptimize(dc.ops().size());
  }
  state.SetItemsProcessed(state.iterations() * kSamples * 3);
}
BENCHMARK(BM_DrawFills)->Unit(benchmark::kMicrosecond);

// The same chart over 100 m rendered to a 150 dpi PNG.
void BM_RenderFillsPng(benchmark::State& state) {
  FillChart chart(1100);
  const std::string path = (std::filesystem::temp_directory_path() / "davodu-fill-bench.png").string();
  for (auto _ : state) {
    std::string error;
    if (!RenderDocument(&chart.doc, path, RenderOptions{}, &error)) state.SkipWithError(error.c_str());
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_RenderFillsPng)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace davodu
