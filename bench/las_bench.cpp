// Speed of the LAS reader on the largest example file (about 30,000 rows of
// 8 curves), read from memory so that the disk does not count.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "davodu/data/import/las_reader.h"

namespace davodu {
namespace {

// The example files sit in shared/ beside the source tree.
std::string ReadSample() {
  const std::filesystem::path source = std::filesystem::path(__FILE__).parent_path().parent_path();
  const std::filesystem::path path =
      (source / "..").lexically_normal() / "shared" / "data" / "lasio-examples" / "1.2" / "sample_big.las";
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void BM_ReadLasSampleBig(benchmark::State& state) {
  const std::string bytes = ReadSample();
  if (bytes.empty()) {
    state.SkipWithError("sample_big.las not found beside the source tree");
    return;
  }
  std::size_t rows = 0;
  for (auto _ : state) {
    LasFile las;
    LasError error;
    if (!ReadLas(bytes, "sample_big.las", &las, &error)) {
      state.SkipWithError(error.ToString().c_str());
      return;
    }
    rows = las.curves.front().values.size();
    benchmark::DoNotOptimize(las.curves.back().values.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
  state.counters["rows/s"] = benchmark::Counter(static_cast<double>(rows * state.iterations()),
                                                benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReadLasSampleBig)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace davodu
