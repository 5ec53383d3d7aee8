#include "demo_data.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <filesystem>
#include <vector>

#include "davodu/host/util/gbk.h"
#include "davodu/import/las_import.h"
#include "davodu/store/deviation.h"
#include "davodu/store/well_catalogs.h"
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

// A depth in the text of an imported table.
std::string DepthText(double depth) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.2f", depth);
  return buf;
}

// One stratification unit of the demo well (texts UTF-8).
struct Unit {
  const char* name;
  double top, bottom;
};

// The stratification at three levels: formations (组), members (段) and
// sub-members (亚段), sharing their boundaries.
const Unit kFormations[] = {{"东营组", kDemoTop, 1450}, {"沙河街组", 1450, kDemoBottom}};
const Unit kMembers[] = {{"东二段", kDemoTop, 1200}, {"东三段", 1200, 1450},
                         {"沙一段", 1450, 1540},     {"沙二段", 1540, 1585},
                         {"沙三段", 1585, kDemoBottom}};
const Unit kSubMembers[] = {{"东二上", kDemoTop, 1100}, {"东二下", 1100, 1200},
                            {"东三上", 1200, 1330},     {"东三下", 1330, 1450},
                            {"沙一上", 1450, 1500},     {"沙一下", 1500, 1540},
                            {"沙二上", 1540, 1562},     {"沙二下", 1562, 1585},
                            {"沙三上", 1585, 1612},     {"沙三中", 1612, 1641},
                            {"沙三下", 1641, kDemoBottom}};

// The catalogue's fourth level: the sub-members with their aliases, whose
// member number is a subscript and whose part a superscript (Es₃上).
struct SubMemberType {
  const char* name;
  const char* alias;
  const char* parent;
  COLORREF color;
};
const SubMemberType kSubMemberTypes[] = {
    {"东二上", "Ed\\2/上", "东二段", RGB(255, 214, 170)}, {"东二下", "Ed\\2/下", "东二段", RGB(250, 200, 150)},
    {"东三上", "Ed\\3/上", "东三段", RGB(255, 190, 130)}, {"东三下", "Ed\\3/下", "东三段", RGB(245, 175, 115)},
    {"沙一上", "Es\\1/上", "沙一段", RGB(196, 220, 250)}, {"沙一下", "Es\\1/下", "沙一段", RGB(176, 205, 245)},
    {"沙二上", "Es\\2/上", "沙二段", RGB(190, 235, 200)}, {"沙二下", "Es\\2/下", "沙二段", RGB(165, 220, 180)},
    {"沙三上", "Es\\3/上", "沙三段", RGB(235, 205, 245)}, {"沙三中", "Es\\3/中", "沙三段", RGB(220, 185, 235)},
    {"沙三下", "Es\\3/下", "沙三段", RGB(205, 165, 225)}};

// The fault of the demo well: the well crosses it at 1606 m, in 沙三上,
// where 6 m of the section are missing.
constexpr double kFaultDepth = 1606;
constexpr double kFaultThrow = 6;

bool ImportRows(CWellDataManager& wells, const std::string& well, TableKind kind, int sub,
                std::vector<std::string> header, std::vector<std::vector<std::string>> rows,
                std::string* error) {
  TableImport in;
  in.source = "demo";
  in.well = well;
  in.kind = kind;
  in.sub = sub;
  in.header = std::move(header);
  in.rows = std::move(rows);
  return wells.ImportTableRows(in, error);
}

bool ImportUnits(CWellDataManager& wells, const std::string& well, int level,
                 const std::vector<Unit>& units, std::string* error) {
  std::vector<std::vector<std::string>> rows;
  for (const Unit& u : units) rows.push_back({Gbk(u.name), DepthText(u.top), DepthText(u.bottom)});
  return ImportRows(wells, well, TableKind::kStratum, level, {"name", "top", "bottom"},
                    std::move(rows), error);
}

// The sub-member a depth lies in.
const char* SubMemberAt(double depth) {
  for (const Unit& u : kSubMembers)
    if (depth >= u.top && depth < u.bottom) return u.name;
  return kSubMembers[std::size(kSubMembers) - 1].name;
}

// Runs of depths (at the curves' step) where the sand fraction exceeds a
// threshold, at least min_thickness thick.
std::vector<std::pair<double, double>> SandRuns(double threshold, double min_thickness) {
  std::vector<std::pair<double, double>> runs;
  const double step = 0.125;
  double start = -1;
  for (double d = kDemoTop; d <= kDemoBottom + step / 2; d += step) {
    const bool sand = d <= kDemoBottom && SandFraction(d) > threshold;
    if (sand && start < 0) start = d;
    if (!sand && start >= 0) {
      if (d - start >= min_thickness) runs.emplace_back(start, d);
      start = -1;
    }
  }
  return runs;
}

// The oil in the pore space at a depth: full in the upper oil-bearing
// stretch, less in the lower one (the logs' RT and CNL read it).
double OilAt(double depth) {
  return depth > 1560 && depth < 1620 ? 1.0 : (depth > 1840 && depth < 1870 ? 0.7 : 0.0);
}

// The interpretation values of a sand-stratum: its porosity and
// permeability from the sand's cleanness, its oil saturation and (in the
// upper oil-bearing stretch, produced for years) its flooding grade. Texts
// UTF-8.
struct LayerReading {
  double porosity, permeability, saturation;
  const char* flooding;
};
LayerReading ReadLayer(double top, double bottom) {
  const double mid = (top + bottom) / 2;
  const double sand = SandFraction(mid);
  LayerReading r;
  r.porosity = 12 + 14 * sand;
  r.permeability = std::pow(10.0, (r.porosity - 10) / 4.5);
  r.saturation = OilAt(mid) > 0 ? 35 + 30 * OilAt(mid) * sand : 8 + 10 * sand;
  static const char* const kGrades[] = {"弱水淹", "中水淹", "未水淹", "强水淹"};
  r.flooding = mid > 1560 && mid < 1620 ? kGrades[static_cast<int>(mid) % 4] : "";
  return r;
}

// Sand-strata where the logs read sand (GR low), the sands within them
// where they read clean sand, and the valid parts of the sands in the two
// oil-bearing stretches, with the interpretation of each sand-stratum.
bool ImportSands(CWellDataManager& wells, const std::string& well, std::string* error) {
  const auto in_oil = [](double d) { return (d > 1560 && d < 1620) || (d > 1840 && d < 1870); };
  std::vector<std::vector<std::string>> rows;
  const std::vector<std::pair<double, double>> sands = SandRuns(0.55, 0.5);
  int number = 0;
  for (const auto& [st_top, st_bottom] : SandRuns(0.42, 0.75)) {
    std::vector<std::string> row = {Gbk(SubMemberAt(st_top)) + std::to_string(++number),
                                    "", "", DepthText(st_top), DepthText(st_bottom), "", "", ""};
    for (const auto& [top, bottom] : sands) {
      if (top < st_top || bottom > st_bottom) continue;
      row[1] = DepthText(top);
      row[2] = DepthText(bottom);
      if (in_oil(top) && bottom - top > 1.5) {
        row[5] = DepthText(top + 0.25);
        row[6] = DepthText(bottom - 0.25);
      }
      // The interpretation: oil where the logs read it (less in the deeper
      // stretch), water elsewhere, dry in thin sands.
      row[7] = Gbk(bottom - top < 1     ? "干层"
                   : !in_oil(top)       ? "水层"
                   : OilAt(top) >= 1.0  ? "油层"
                                        : "差油层");
      break;
    }
    const auto thickness = [&](int top, int bottom) {
      return row[static_cast<std::size_t>(top)].empty()
                 ? std::string()
                 : DepthText(std::stod(row[static_cast<std::size_t>(bottom)]) -
                             std::stod(row[static_cast<std::size_t>(top)]));
    };
    const LayerReading r = ReadLayer(st_top, st_bottom);
    char buf[64];
    row.push_back(thickness(1, 2));
    row.push_back(thickness(5, 6));
    std::snprintf(buf, sizeof buf, "%.1f", r.porosity);
    row.push_back(buf);
    std::snprintf(buf, sizeof buf, "%.1f", r.permeability);
    row.push_back(buf);
    std::snprintf(buf, sizeof buf, "%.1f", r.saturation);
    row.push_back(buf);
    row.push_back(Gbk(r.flooding));
    rows.push_back(std::move(row));
  }
  return ImportRows(wells, well, TableKind::kSand, 0,
                    {"name", "sand_top", "sand_bottom", "stratum_top", "stratum_bottom",
                     "valid_top", "valid_bottom", "result", "sand_thickness", "valid_thickness",
                     "porosity", "permeability", "oil_saturation", "flooding"},
                    std::move(rows), error);
}

// The rock the logs read at a sand fraction: sandstones where GR is low
// (coarser the cleaner), siltstones between, mudstone where GR is high.
struct Rock {
  const char* name;
  const char* color;
};
Rock RockAt(double sand) {
  if (sand > 0.9) return {"中砂岩", "灰白"};
  if (sand > 0.72) return {"细砂岩", "灰白"};
  if (sand > 0.55) return {"粉砂岩", "浅灰"};
  if (sand > 0.42) return {"泥质粉砂岩", "灰"};
  if (sand > 0.25) return {"粉砂质泥岩", "灰绿"};
  return {"泥岩", "深灰"};
}

// The oil-bearing grade of a rock: richer in cleaner sand of an oil-bearing
// stretch, none outside them nor in the clay rocks.
const char* OilGradeAt(double depth, double sand) {
  const double oil = OilAt(depth) * sand;
  if (sand <= 0.55 || oil <= 0) return "";
  if (oil > 0.85) return "富含油";
  if (oil > 0.7) return "油浸";
  if (oil > 0.55) return "油斑";
  return "油迹";
}

// The lithology of the whole logged section, read off the sand fraction at
// the curves' step: one interval per run of one rock and grade, at least
// 0.5 m thick (a thinner run joins the interval above).
bool ImportLithology(CWellDataManager& wells, const std::string& well, std::string* error) {
  struct Run {
    double top, bottom;
    std::string rock, color, oil;
  };
  std::vector<Run> runs;
  const double step = 0.125;
  for (double d = kDemoTop; d < kDemoBottom - step / 2; d += step) {
    const double sand = SandFraction(d + step / 2);
    const Rock rock = RockAt(sand);
    const std::string oil = OilGradeAt(d + step / 2, sand);
    if (!runs.empty() && runs.back().rock == rock.name && runs.back().oil == oil) {
      runs.back().bottom = d + step;
    } else if (!runs.empty() && runs.back().bottom - runs.back().top < 0.5) {
      runs.back().bottom = d + step;
    } else {
      runs.push_back({d, d + step, rock.name, rock.color, oil});
    }
  }
  // Depths to the millimetre: the runs lie on the 0.125 m step, and a
  // rounder text would make neighbours overlap by a centimetre.
  const auto mm = [](double depth) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", depth);
    return std::string(buf);
  };
  std::vector<std::vector<std::string>> rows;
  for (const Run& r : runs) {
    const std::string name = Gbk(r.color.c_str()) + Gbk(r.rock.c_str());
    rows.push_back({mm(r.top), mm(r.bottom - r.top), Gbk(r.oil.c_str()) + name,
                    Gbk(r.color.c_str()), Gbk(r.oil.c_str()), Gbk(r.rock.c_str())});
  }
  return ImportRows(wells, well, TableKind::kLithology, 0,
                    {"top", "thickness", "name", "color", "oil", "lithology"}, std::move(rows),
                    error);
}

// Sidewall cores shot every few metres through the sands of the charted
// stretch, each with the rock and grade the logs read there.
bool ImportSidewallCores(CWellDataManager& wells, const std::string& well, std::string* error) {
  std::vector<std::vector<std::string>> rows;
  int number = 0;
  for (const auto& [top, bottom] : SandRuns(0.5, 1.0)) {
    if (bottom < 1520 || top > 1660) continue;
    for (double d = top + 0.4; d < bottom - 0.2; d += 3.7) {
      const double sand = SandFraction(d);
      const Rock rock = RockAt(sand);
      rows.push_back({DepthText(d), Gbk(rock.color) + Gbk(rock.name), Gbk(OilGradeAt(d, sand)),
                      std::to_string(++number)});
    }
  }
  return ImportRows(wells, well, TableKind::kSideWallCore, 0, {"depth", "lithology", "oil", "sample_no"},
                    std::move(rows), error);
}

// Perforations of the oil layers: the first completion, an interval added
// a year later and a deeper layer opened in 2023.
bool ImportPerforations(CWellDataManager& wells, const std::string& well, std::string* error) {
  return ImportRows(wells, well, TableKind::kShoot, 0,
                    {"top", "thickness", "date", "kind", "name", "density"},
                    {{"1565.00", "8.00", "2019-05-12", Gbk("射孔"), Gbk("沙二上"), "16"},
                     {"1604.00", "12.00", "2019-05-12", Gbk("射孔"), Gbk("沙三上"), "16"},
                     {"1616.50", "3.00", "2020-06-03", Gbk("补孔"), Gbk("沙三上"), "20"},
                     {"1845.00", "10.00", "2023-09-01", Gbk("射孔"), Gbk("沙三下"), "16"}},
                    error);
}

// Four core runs through the two oil layers, and the core analysis
// samples taken from them: one every 40 cm of the core recovered, numbered
// through the well, with the run each came from and its distance below the
// run's top (centimetres).
bool ImportCores(CWellDataManager& wells, const std::string& well, std::string* error) {
  struct CoreRun {
    double top, bottom, core_length;
  };
  const CoreRun kRuns[] = {
      {1562.0, 1570.5, 7.9}, {1570.5, 1578.0, 6.2}, {1609.0, 1617.5, 8.4}, {1617.5, 1625.0, 5.1}};
  const auto fixed = [](double v, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return std::string(buf);
  };
  std::vector<std::vector<std::string>> runs, samples;
  int number = 0;
  for (std::size_t r = 0; r < std::size(kRuns); ++r) {
    const CoreRun& run = kRuns[r];
    runs.push_back({std::to_string(r + 1), fixed(run.top, 2), fixed(run.bottom, 2),
                    fixed(run.bottom - run.top, 2), fixed(run.core_length, 2)});
    for (double cm = 20; cm < run.core_length * 100; cm += 40) {
      const double depth = run.top + cm / 100;
      samples.push_back({std::to_string(++number), fixed(depth, 2), "0.10", fixed(run.top, 2),
                         fixed(run.bottom, 2), fixed(cm, 0),
                         fixed(12 + 14 * SandFraction(depth), 1)});
    }
  }
  return ImportRows(wells, well, TableKind::kIntegratedCore, 0,
                    {"run", "top", "bottom", "footage", "core_length"}, std::move(runs), error) &&
         ImportRows(wells, well, TableKind::kCore, 0,
                    {"sample_no", "top", "thickness", "run_top", "run_bottom", "distance", "porosity"},
                    std::move(samples), error);
}

// Tests of the perforated layers (daily production in tonnes and thousand
// cubic metres) and the production logs run after the first completion and
// after the 2023 opening.
bool ImportTests(CWellDataManager& wells, const std::string& well, std::string* error) {
  const auto text = [](std::initializer_list<const char*> cells) {
    std::vector<std::string> row;
    for (const char* c : cells) row.push_back(Gbk(c));
    return row;
  };
  if (!ImportRows(wells, well, TableKind::kTest, 0,
                  {"name", "top", "bottom", "result", "measure", "regime", "start_date", "oil_per_day",
                   "gas_per_day", "water_per_day", "oil_total", "gas_total", "water_total"},
                  {text({"沙二上", "1565.00", "1573.00", "油层", "射孔", "自喷", "2019-05-20", "18.6", "2.1",
                         "0.8", "420.5", "46.2", "18.3"}),
                   text({"沙三上", "1604.00", "1616.00", "油层", "压裂", "抽油", "2019-06-02", "12.4", "1.3", "3.5",
                         "310.8", "31.0", "92.6"}),
                   text({"沙三下", "1845.00", "1855.00", "油水同层", "射孔", "抽油", "2023-09-10", "4.2", "0.4",
                         "9.6", "", "", ""})},
                  error))
    return false;
  return ImportRows(wells, well, TableKind::kProductFluid, 0, {"date", "top", "bottom", "fluid_per_day", "water_cut"},
                    {{"2020-06-15", "1565.00", "1573.00", "15.2", "12"},
                     {"2020-06-15", "1604.00", "1616.00", "21.0", "18"},
                     {"2023-10-10", "1565.00", "1573.00", "9.8", "35"},
                     {"2023-10-10", "1604.00", "1616.00", "14.5", "42"},
                     {"2023-10-10", "1616.50", "1619.50", "6.1", "28"}},
                    error);
}

bool BuildIntervals(CWellDataManager& wells, const std::string& well, std::string* error) {
  // The sub-members join the stratum catalogue as its fourth level.
  std::shared_ptr<CStratumManager> catalog = wells.GetStratumManager();
  std::vector<std::vector<CZuVariant>> types;
  for (const SubMemberType& t : kSubMemberTypes)
    types.push_back({4, Gbk(t.name), Gbk(t.alias), Gbk(t.parent), static_cast<std::int64_t>(t.color)});
  if (!catalog || !catalog->table().AppendRecords({"level", "name", "alias", "parent", "color"}, types)) {
    *error = catalog ? catalog->table().GetLastError() : "no stratum catalogue";
    return false;
  }
  if (!ImportUnits(wells, well, 2, {std::begin(kFormations), std::end(kFormations)}, error) ||
      !ImportUnits(wells, well, 3, {std::begin(kMembers), std::end(kMembers)}, error) ||
      !ImportUnits(wells, well, 4, {std::begin(kSubMembers), std::end(kSubMembers)}, error))
    return false;
  if (!ImportSands(wells, well, error) || !ImportLithology(wells, well, error) ||
      !ImportSidewallCores(wells, well, error) || !ImportPerforations(wells, well, error) ||
      !ImportCores(wells, well, error) || !ImportTests(wells, well, error))
    return false;
  return ImportRows(wells, well, TableKind::kFaultPoint, 0,
                    {"depth", "throw", "fault", "missing_stratum"},
                    {{DepthText(kFaultDepth), DepthText(kFaultThrow), "F1", Gbk("沙三上")}}, error);
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
    const double oil = OilAt(d);
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
  if (!BuildIntervals(wells, well, error)) return false;

  if (!las_path.empty() && std::filesystem::exists(las_path) &&
      !ImportLasFile(wells, las_path, "", nullptr, error))
    return false;
  return true;
}

}  // namespace davodu::app
