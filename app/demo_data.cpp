#include "demo_data.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <vector>

#include "davodu/host/util/gbk.h"
#include "davodu/import/las_import.h"
#include "davodu/store/deviation.h"
#include "davodu/store/well_data_manager.h"

namespace davodu::app {

namespace {

// A small deterministic noise source, so that every demo is the same.
class Noise {
 public:
  double Next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state_ >> 11) / 9007199254740992.0 - 0.5;
  }

 private:
  std::uint64_t state_ = 20261210;
};

// Sand fraction at a depth: alternating sand bodies and shales of varied
// thickness, cleaner sands deeper down.
double SandFraction(double depth) {
  const double s = std::sin(depth / 7.3) + 0.6 * std::sin(depth / 2.9 + 1.3) +
                   0.35 * std::sin(depth / 23.0 + 0.4);
  const double sand = 1 / (1 + std::exp(-4 * (s - 0.55)));
  return std::clamp(sand * (0.8 + 0.2 * (depth - kDemoTop) / (kDemoBottom - kDemoTop)), 0.0, 1.0);
}

}  // namespace

bool BuildDemoDatabase(CWellDataManager& wells, const std::string& las_path, std::string* error) {
  const std::string well = Gbk(kDemoWell);
  WellInfo info;
  info.name = well;
  info.x = 20512345.0;
  info.y = 4023456.0;
  info.kb = 105.5;
  info.ground = 100.2;
  info.total_depth = 2250;
  info.field = Gbk("示例油田");
  info.well_type = Gbk("定向井");
  if (wells.AddWell(info) < 0) {
    *error = wells.GetLastError();
    return false;
  }
  // Vertical to 1200 m, built to 28 degrees by 1600 m, then held.
  std::vector<SurveyStation> survey;
  for (double md = 0; md <= 2250; md += 50) {
    const double inc = md <= 1200 ? 0 : std::min(28.0, (md - 1200) * 28.0 / 400);
    survey.push_back({md, inc, 135});
  }
  if (!wells.SetDeviation(well, survey)) {
    *error = wells.GetLastError();
    return false;
  }

  const double step = 0.125;
  const int n = static_cast<int>((kDemoBottom - kDemoTop) / step) + 1;
  std::vector<double> depths(static_cast<std::size_t>(n));
  std::vector<std::vector<double>> v(7, std::vector<double>(static_cast<std::size_t>(n)));
  Noise noise;
  for (int i = 0; i < n; ++i) {
    const double d = kDemoTop + i * step;
    const double sand = SandFraction(d);
    const double oil = d > 1560 && d < 1620 ? 1.0 : (d > 1840 && d < 1870 ? 0.7 : 0.0);
    const auto k = static_cast<std::size_t>(i);
    depths[k] = d;
    v[0][k] = 115 - 80 * sand + 6 * noise.Next();                       // GR, API
    v[1][k] = -12 - 48 * sand + 2 * noise.Next();                       // SP, mV
    v[2][k] = std::exp(std::log(4) + sand * (std::log(18) + 2.7 * oil) + 0.15 * noise.Next());  // RT
    v[3][k] = std::exp(std::log(3.5) + sand * std::log(9) + 0.12 * noise.Next());  // RXO
    v[4][k] = 335 - 95 * sand - 25 * (d - kDemoTop) / 1200 + 4 * noise.Next();  // AC, us/m
    v[5][k] = 2.55 - 0.25 * sand + 0.02 * noise.Next();                  // DEN, g/cm3
    v[6][k] = 36 - 20 * sand - 6 * oil + 1.5 * noise.Next();             // CNL, %
  }
  // Washed-out stretches of the shales where the density tool read nothing.
  for (int i = 0; i < n; ++i) {
    const double d = depths[static_cast<std::size_t>(i)];
    if ((d > 1305 && d < 1309) || (d > 1641.5 && d < 1643.5)) v[5][static_cast<std::size_t>(i)] = NAN;
  }
  const char* names[] = {"GR", "SP", "RT", "RXO", "AC", "DEN", "CNL"};
  const char* units[] = {"API", "mV", "Ω·m", "Ω·m", "μs/m", "g/cm3", "%"};
  std::vector<CurveImport> curves;
  for (std::size_t c = 0; c < 7; ++c) curves.push_back({names[c], Gbk(units[c]), depths, v[c]});
  if (!wells.ImportCurves(well, curves, true)) {
    *error = wells.GetLastError();
    return false;
  }

  if (!las_path.empty() && std::filesystem::exists(las_path) &&
      !ImportLasFile(wells, las_path, "", nullptr, error))
    return false;
  return true;
}

}  // namespace davodu::app
