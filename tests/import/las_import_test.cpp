// Every LAS file of the shared corpus that the reference reader reads,
// imported into one well database: the stored curves are the file's (the
// reader's agreement with the reference, and where and why it parts from
// it, e.g. "-1.#IND" read as missing in null_policy_ind.las, is checked in
// las_reader_test.cpp).
#include "davodu/import/las_import.h"

#include <gtest/gtest.h>

#ifndef BOOST_BIND_GLOBAL_PLACEHOLDERS
#define BOOST_BIND_GLOBAL_PLACEHOLDERS
#endif
#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <string>

#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/import/las_reader.h"
#include "davodu/store/well_data_manager.h"
#include "support/cli.h"

namespace davodu {
namespace {

namespace fs = std::filesystem;

fs::path CorpusDir() {
  return (fs::path(DAVODU_SOURCE_DIR) / "..").lexically_normal() / "shared" / "data" / "lasio-examples";
}

// Files whose index is not a depth: a time of day, or seconds.
const std::map<std::string, std::string> kNotDepth = {
    {"data_characters.las", ":41: the index value '00:00:00' is not a number: a depth index is needed"},
    {"data_characters_numeric.las", ":41: the index value '00:00:00' is not a number: a depth index is needed"},
    {"2.0/sample_2.0_based.las", ": the index ETIM is in 'S', which is not a length: a depth index is needed"},
};

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)}); }

TEST(LasImportCorpusTest, EveryFileTheReferenceReadsIsStoredAsRead) {
  const fs::path dir = CorpusDir();
  const fs::path json = dir / "expected-summary.json";
  if (!fs::exists(json)) GTEST_SKIP() << "no LAS examples at " << dir;
  boost::property_tree::ptree root;
  boost::property_tree::read_json(json.string(), root);
  CWellDataManager wells(testing::ScratchDb(testing::ScratchDir("corpus")));
  ASSERT_TRUE(wells.IsOpen()) << wells.GetLastError();

  int imported = 0, headers = 0;
  for (const auto& [file, entry] : root) {
    if (entry.get<std::string>("reads", "") != "true") continue;
    SCOPED_TRACE(file);
    const std::string path = (dir / file).string();
    LasImportResult result;
    std::string error;
    const bool ok = ImportLasFile(wells, path, file, &result, &error);
    if (const auto it = kNotDepth.find(file); it != kNotDepth.end()) {
      EXPECT_FALSE(ok);
      EXPECT_EQ(error.rfind(path + it->second, 0), 0u) << error;
      EXPECT_EQ(wells.FindWell(Utf8ToGbk(file)), -1);
      continue;
    }
    ASSERT_TRUE(ok) << error;
    LasFile las;
    LasError las_error;
    ASSERT_TRUE(ReadLasFile(path, &las, &las_error));
    EXPECT_EQ(result.header_only, !las.has_data);
    const std::vector<CurveSummary> stored = wells.GetCurveSummaries(Utf8ToGbk(file));
    if (!las.has_data) {
      EXPECT_TRUE(stored.empty());
      EXPECT_GE(wells.FindWell(Utf8ToGbk(file)), 0);
      ++headers;
      continue;
    }
    const std::string unit = las.index_unit();
    const double scale = TrimBlanks(unit).empty() ? 1.0 : LasIndexUnitToMetres(unit);
    const std::vector<double>& index = las.curves.front().values;
    std::size_t k = 0;
    for (std::size_t i = 1; i < las.curves.size(); ++i) {
      const LasCurve& c = las.curves[i];
      if (c.is_text) continue;
      ASSERT_LT(k, stored.size());
      const CurveSummary& s = stored[k++];
      SCOPED_TRACE(c.mnemonic);
      EXPECT_EQ(GbkToUtf8(s.name), c.mnemonic);  // names GBK lacks come back unchanged
      EXPECT_EQ(GbkToUtf8(s.unit), c.unit);
      EXPECT_EQ(s.count, static_cast<int>(c.values.size()));
      const auto missing = std::count_if(c.values.begin(), c.values.end(), [](double v) { return std::isnan(v); });
      EXPECT_EQ(s.missing, missing);
      if (missing < static_cast<long>(c.values.size())) {
        double lo = INFINITY, hi = -INFINITY;
        for (double v : c.values) {
          if (!std::isnan(v)) lo = std::min(lo, v), hi = std::max(hi, v);
        }
        EXPECT_TRUE(Near(s.min, lo)) << s.min << " " << lo;
        EXPECT_TRUE(Near(s.max, hi)) << s.max << " " << hi;
      } else {
        EXPECT_TRUE(IsMissing(s.min));
      }
      if (!index.empty()) {
        const auto [top, bottom] = std::minmax_element(index.begin(), index.end());
        EXPECT_TRUE(Near(s.top, *top * scale)) << s.top;
        EXPECT_TRUE(Near(s.bottom, *bottom * scale)) << s.bottom;
      }
    }
    EXPECT_EQ(k, stored.size());
    ++imported;
  }
  EXPECT_GE(imported, 98);
  EXPECT_EQ(headers, 18);

  // Header-only files create their wells with name, UWI, location and
  // elevation (in metres).
  WellInfo info;
  ASSERT_TRUE(wells.GetWellInfo("header_only.las", &info));
  EXPECT_EQ(info.field, "MINUTEMAID");
  EXPECT_DOUBLE_EQ(info.kb, 32 * 0.3048);
  ASSERT_TRUE(wells.GetWellInfo("3.0/Curve-Param Error #1 (MS).LAS", &info));
  EXPECT_EQ(info.uwi, "999999999999");
  EXPECT_EQ(info.location, "DUMMY LOC");
  EXPECT_DOUBLE_EQ(info.kb, 202.99 * 0.3048);
  const std::vector<LogRunInfo> runs = wells.GetLogRuns("header_only.las");
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(runs[0].curves_written, 0);
  EXPECT_TRUE(std::any_of(runs[0].items.begin(), runs[0].items.end(), [](const LogRunItem& i) {
    return i.section == "well" && i.mnemonic == "EKB" && i.unit == "ft" && i.value == "32.00000";
  }));
}

// A file imported again is recognised and changes nothing, until a later
// import replaced some of its curves.
TEST(LasImportTest, ReimportIsRecognisedByHash) {
  const fs::path las = CorpusDir() / "1.2" / "sample.las";
  const fs::path other = CorpusDir() / "2.0" / "sample_2.0.las";
  if (!fs::exists(las) || !fs::exists(other)) GTEST_SKIP() << "no LAS examples";
  CWellDataManager wells(testing::ScratchDb(testing::ScratchDir("reimport")));
  std::string error;
  LasImportResult r;
  ASSERT_TRUE(ImportLasFile(wells, las.string(), "W", &r, &error)) << error;
  EXPECT_FALSE(r.already_imported);
  const std::uint64_t stamp = wells.GetTimeStamp();
  ASSERT_TRUE(ImportLasFile(wells, las.string(), "W", &r, &error)) << error;
  EXPECT_TRUE(r.already_imported);
  EXPECT_EQ(wells.GetTimeStamp(), stamp);
  EXPECT_EQ(wells.GetLogRuns("W").size(), 1u);
  // The same curves from another file; the first file then restores them.
  ASSERT_TRUE(ImportLasFile(wells, other.string(), "W", &r, &error)) << error;
  ASSERT_TRUE(ImportLasFile(wells, las.string(), "W", &r, &error)) << error;
  EXPECT_FALSE(r.already_imported);
  const std::vector<LogRunInfo> runs = wells.GetLogRuns("W");
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].curves_current, 0);
  EXPECT_EQ(runs[2].curves_current, runs[2].curves_written);
  EXPECT_EQ(runs[0].hash, runs[2].hash);
  EXPECT_EQ(runs[0].hash.rfind("xxh128:", 0), 0u);
  EXPECT_EQ(runs[0].size, static_cast<std::int64_t>(fs::file_size(las)));
}

}  // namespace
}  // namespace davodu
