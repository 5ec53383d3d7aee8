// Speed of the LAS reader on the largest example file (about 30,000 rows of
// 8 curves), read from memory so that the disk does not count.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "davodu/import/las_reader.h"

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

// A 50 MB LAS file of 10 curves, written once to the temporary folder.
const std::string& LargeLasPath() {
  static const std::string path = [] {
    const std::string p = (std::filesystem::temp_directory_path() / "davodu-bench-50mb.las").string();
    std::FILE* f = std::fopen(p.c_str(), "w");
    if (!f) return std::string();
    std::fputs("~VERSION\nVERS. 2.0 :\nWRAP. NO :\n~WELL\nSTRT.M 1000.0 :\nSTOP.M 0 :\n"
               "STEP.M 0.125 :\nNULL. -999.25 :\nWELL. BENCH :\n~CURVE\nDEPT.M :\n", f);
    for (int c = 1; c < 10; ++c) std::fprintf(f, "C%d.U :\n", c);
    std::fputs("~A\n", f);
    long bytes = 0;
    for (long i = 0; bytes < 50L * 1024 * 1024; ++i) {
      int n = std::fprintf(f, "%.3f", 1000.0 + i * 0.125);
      for (int c = 1; c < 10; ++c) n += std::fprintf(f, " %.4f", (i % 997) * 0.37 + c * 11.5);
      n += std::fprintf(f, "\n");
      bytes += n;
    }
    std::fclose(f);
    return p;
  }();
  return path;
}

long PeakRssKb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// Reading a 50 MB file from disk: throughput, and the peak memory the read
// adds against the size of the curve data it yields (run alone with
// --benchmark_filter=Large so that nothing before it raised the peak).
void BM_ReadLasLargeFile(benchmark::State& state) {
  const std::string& path = LargeLasPath();
  if (path.empty()) {
    state.SkipWithError("cannot write the temporary LAS file");
    return;
  }
  const double file_mb = static_cast<double>(std::filesystem::file_size(path)) / (1024 * 1024);
  const long before = PeakRssKb();
  double curve_mb = 0;
  for (auto _ : state) {
    LasFile las;
    LasError error;
    if (!ReadLasFile(path, &las, &error)) {
      state.SkipWithError(error.ToString().c_str());
      return;
    }
    curve_mb = 0;
    for (const LasCurve& c : las.curves) curve_mb += c.values.size() * sizeof(double) / (1024.0 * 1024);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file_mb * 1024 * 1024));
  state.counters["file_MB"] = file_mb;
  state.counters["curve_MB"] = curve_mb;
  state.counters["peak_added_MB"] = static_cast<double>(PeakRssKb() - before) / 1024;
}
BENCHMARK(BM_ReadLasLargeFile)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace davodu
