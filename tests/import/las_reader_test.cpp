#include "davodu/import/las_reader.h"

#include <gtest/gtest.h>
#include <xxhash.h>

#ifndef BOOST_BIND_GLOBAL_PLACEHOLDERS
#define BOOST_BIND_GLOBAL_PLACEHOLDERS
#endif
#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "support/cli.h"
#include "support/files.h"

namespace davodu {
namespace {

namespace fs = std::filesystem;
using boost::property_tree::ptree;

// The LAS example files and, in expected-summary.json, another reader's
// summary of each: its curves with their statistics, or that it refused
// the file. The folder sits beside the source tree.
fs::path CorpusDir() {
  return (fs::path(DAVODU_SOURCE_DIR) / "..").lexically_normal() / "shared" / "data" / "lasio-examples";
}

// ---------------------------------------------------------------------------
// The reference summary

struct ExpectedCurve {
  std::string mnemonic;
  std::string unit;
  bool text = false;
  std::size_t n = 0;
  std::size_t missing = 0;
  std::optional<double> min, max, sum, first, last;
};

struct Expected {
  bool reads = false;
  std::vector<ExpectedCurve> curves;  // all curves, or the first few (see curve_count)
  std::size_t curve_count = 0;
  std::optional<double> null_value;
  std::optional<double> version;
  std::string well;
  bool wrapped = false;
  std::string index_unit;  // the reference's name of the index unit: "M", "FT", ".1IN" or empty
};

const ptree* Child(const ptree& tree, const std::string& key) {
  const auto it = tree.find(key);
  return it == tree.not_found() ? nullptr : &it->second;
}

// JSON null arrives from the property tree as the text "null".
std::optional<std::string> Text(const ptree& tree, const std::string& key) {
  const ptree* child = Child(tree, key);
  if (child == nullptr || child->data() == "null") return std::nullopt;
  return child->data();
}

std::optional<double> Number(const ptree& tree, const std::string& key) {
  const auto text = Text(tree, key);
  if (!text) return std::nullopt;
  return std::stod(*text);
}

std::map<std::string, Expected> LoadExpected(const fs::path& json) {
  ptree root;
  boost::property_tree::read_json(json.string(), root);
  std::map<std::string, Expected> out;
  for (const auto& [file, entry] : root) {
    Expected& e = out[file];
    e.reads = Text(entry, "reads") == "true";
    if (!e.reads) continue;
    if (const ptree* curves = Child(entry, "curves")) {
      for (const auto& [unused, c] : *curves) {
        ExpectedCurve curve;
        curve.mnemonic = Text(c, "mnemonic").value_or("");
        curve.unit = Text(c, "unit").value_or("");
        curve.text = Text(c, "kind") == "text";
        curve.n = static_cast<std::size_t>(Number(c, "n").value_or(0));
        curve.missing = static_cast<std::size_t>(Number(c, "missing").value_or(0));
        curve.min = Number(c, "min");
        curve.max = Number(c, "max");
        curve.sum = Number(c, "sum");
        curve.first = Number(c, "first");
        curve.last = Number(c, "last");
        e.curves.push_back(curve);
      }
    }
    e.curve_count = e.curves.size();
    e.null_value = Number(entry, "null");
    e.version = Number(entry, "version");
    e.well = Text(entry, "well").value_or("");
    e.wrapped = Text(entry, "wrap") == "YES";
    e.index_unit = Text(entry, "index_unit").value_or("");
  }
  return out;
}

// ---------------------------------------------------------------------------
// Where this reader parts from the reference

// Files this reader refuses. The reference refuses some of them too; for
// the others the reason is given.
struct Rejection {
  const char* file;
  int line;             // the line the error names; 0 for the whole file
  const char* message;  // a part of the message
};

const Rejection kRejections[] = {
    // Refused by the reference as well.
    {"3.0/0-d Array #1 (MS).las", 195, "a second ~C section"},  // one log per ~C/~A pair, six of them
    {"3.0/0-d Array #2 (MS).las", 158, "a second ~C section"},
    {"3.0/0-d Array #3 (MS).las", 160, "a second ~C section"},
    {"dodgy_param_sect.las", 31, "expected \"MNEM.UNIT VALUE : DESCRIPTION\""},  // column titles in ~P
    {"issue92.las", 38, "expected \"MNEM.UNIT VALUE : DESCRIPTION\""},           // a ruler line in ~C
    {"not_a_las_file.las", 1, "text before the first ~ section"},
    {"sample_lastcolblanked.las", 45, "expected 8 values, found 7"},  // two values overwritten by stars

    // The first column is a time of day ("00:00:00"), not a depth.
    {"data_characters.las", 41, "the index value '00:00:00' is not a number: a depth index is needed"},
    {"data_characters_numeric.las", 41, "the index value '00:00:00' is not a number: a depth index is needed"},
};

// Files without log data, read as headers (LasFile::has_data false).
// Files of version 3.0 whose only data sets are phase, test or drilling data
// (~Phase_A_Definition, ~Drilling_Data, ...) hold no log: the reference reads
// most of them as a log without curves, takes a ~Drilling data set for the
// log in two (Curve-Param Unknown), and refuses three (Reshape Error).
// header_only.las defines curves but has no ~A section; in issue79.las the
// data section's line "~   DEPTH TENSION ..." lacks its letter, and the
// reference reads no rows either.
const char* const kHeaderOnly[] = {
    "3.0/Curve-Param Error #1 (MS).LAS",  "3.0/Curve-Param Error #2 (MS).LAS",
    "3.0/Curve-Param Error #3 (MS).LAS",  "3.0/Curve-Param Error #4 (MS).LAS",
    "3.0/Curve-Param Error #5 (MS).LAS",  "3.0/Curve-Param Error #6 (SS).LAS",
    "3.0/Curve-Param Error #7 (SS).LAS",  "3.0/Curve-Param Error #9 (SS).LAS",
    "3.0/Curve-Param Error #10 (SS).LAS", "3.0/Curve-Param Error #12 (SS).LAS",
    "3.0/Curve-Param Error #13 (SS).LAS", "3.0/Curve-Param Error #14 (SS).LAS",
    "3.0/Curve-Param Error #15 (SS).LAS", "3.0/Curve-Param Error #16 (SS).LAS",
    "3.0/Curve-Param Unknown #1(SS).las", "3.0/Curve-Param Unknown #2 (SS).LAS",
    "3.0/Reshape Error #1 (SS).las",      "3.0/Reshape Error #2 (SS).las",
    "3.0/Reshape Error #3 (SS).las",      "header_only.las",
    "issue79.las",
};

// Files read, but not as the reference reads them.
struct Difference {
  const char* file;
  std::function<void(Expected*)> adjust;  // turns the reference's summary into this reader's
};

ExpectedCurve Index(const char* mnemonic, const char* unit, std::size_t n, double first, double last, double sum) {
  return {mnemonic, unit, false, n, 0, std::min(first, last), std::max(first, last), sum, first, last};
}

const std::vector<Difference>& Differences() {
  static const std::vector<Difference> differences = {
      // The log data set ~Log_Definition / ~Log_Data (in capitals), which the
      // reference misses, reading no curves at all.
      {"3.0/Curve-Param Error #8 (SS).las",
       [](Expected* e) {
         e->curves = {Index("DEPT", "m", 201, 1450.0, 1490.0, 295470.0)};
         e->curve_count = 10;
       }},
      {"3.0/Curve-Param Error #11 (SS).las",
       [](Expected* e) {
         e->curves = {Index("DEPT", "m", 96, 1480.0, 1575.0, 146640.0)};
         e->curve_count = 31;
       }},
      // "-1.#IND0000" is how the Microsoft C library prints a NaN: missing.
      // The reference cuts the field at '#' and reads -1.
      {"null_policy_ind.las",
       [](Expected* e) {
         ExpectedCurve& cn = e->curves.at(2);
         ASSERT_EQ(cn.mnemonic, "CN");
         cn = ExpectedCurve{"CN", "PU", false, 10, 10, {}, {}, {}, {}, {}};
       }},
      // Data without curve definitions: the columns are named by the ~A
      // line ("~A  DEPTH  DT  RHOB ..."), where the reference numbers them
      // UNKNOWN:1, UNKNOWN:2, ...
      {"barebones2.las",
       [](Expected* e) {
         const char* names[] = {"DEPTH", "DT", "RHOB", "NPHI", "SFLU", "SFLA", "ILM", "ILD"};
         ASSERT_EQ(e->curves.size(), std::size(names));
         for (std::size_t i = 0; i < e->curves.size(); ++i) e->curves[i].mnemonic = names[i];
         // Nor a ~V or ~W section: no version, NULL or index unit, where
         // the reference reports its defaults.
         e->version.reset();
         e->null_value.reset();
         e->index_unit.clear();
       }},
      // A UTF-8 file: "µS", which the reference decodes as Latin-1 ("ÂµS").
      {"issue79.las", [](Expected* e) { e->curves.at(5).unit = "\u00b5S"; }},
      // A ~Drilling data set only, which the reference reads as the log.
      {"3.0/Curve-Param Unknown #1(SS).las", [](Expected* e) { e->curves.clear(); e->curve_count = 0; }},
      {"3.0/Curve-Param Unknown #2 (SS).LAS", [](Expected* e) { e->curves.clear(); e->curve_count = 0; }},
      // No ~V and no ~W section, hence no VERS and no NULL item; the
      // reference reports its own defaults 2.0 and -9999.25.
      {"barebones.las",
       [](Expected* e) {
         e->version.reset();
         e->null_value.reset();
       }},
  };
  return differences;
}

// ---------------------------------------------------------------------------
// Comparison

bool Near(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)}); }

void ExpectValue(const char* what, const std::optional<double>& expected, double actual) {
  if (expected) {
    EXPECT_TRUE(Near(*expected, actual)) << what << ": expected " << *expected << ", read " << actual;
  } else {
    EXPECT_TRUE(std::isnan(actual)) << what << ": expected missing, read " << actual;
  }
}

void ExpectCurve(const ExpectedCurve& e, const LasCurve& c) {
  SCOPED_TRACE("curve " + e.mnemonic);
  EXPECT_EQ(c.mnemonic, e.mnemonic);
  EXPECT_EQ(c.unit, e.unit);
  EXPECT_EQ(c.is_text, e.text);
  if (e.text) {
    EXPECT_EQ(c.texts.size(), e.n);
    return;
  }
  ASSERT_EQ(c.values.size(), e.n);
  std::size_t missing = 0;
  double min = NAN, max = NAN, sum = 0;
  for (double v : c.values) {
    if (std::isnan(v)) {
      ++missing;
      continue;
    }
    min = std::isnan(min) ? v : std::min(min, v);
    max = std::isnan(max) ? v : std::max(max, v);
    sum += v;
  }
  EXPECT_EQ(missing, e.missing);
  if (missing == c.values.size()) return;  // no statistics for an empty curve
  ExpectValue("min", e.min, min);
  ExpectValue("max", e.max, max);
  ExpectValue("sum", e.sum, sum);
  ExpectValue("first", e.first, c.values.front());
  ExpectValue("last", e.last, c.values.back());
}

void ExpectFile(const Expected& e, const LasFile& f) {
  ASSERT_EQ(f.curves.size(), e.curve_count);
  for (std::size_t i = 0; i < e.curves.size(); ++i) ExpectCurve(e.curves[i], f.curves[i]);
  EXPECT_EQ(f.well_name, e.well);
  EXPECT_EQ(f.has_null, e.null_value.has_value());
  if (e.null_value) {
    EXPECT_DOUBLE_EQ(f.null_value, *e.null_value);
  }
  EXPECT_EQ(f.wrapped, e.wrapped);
  if (e.version) {
    EXPECT_EQ(f.version.empty() ? NAN : std::stod(f.version), *e.version) << "version " << f.version;
  } else {
    EXPECT_EQ(f.version, "");
  }
  const std::map<std::string, double> metres = {{"M", 1.0}, {"FT", 0.3048}, {".1IN", 0.00254}};
  // A file without curves has no index (the reference takes STRT's unit).
  if (const auto it = metres.find(e.index_unit); it != metres.end() && !f.curves.empty()) {
    EXPECT_DOUBLE_EQ(LasIndexUnitToMetres(f.index_unit()), it->second) << "index unit " << f.index_unit();
  }
}

TEST(LasReaderCorpusTest, ReadsWhatTheReferenceReadsAndRejectsTheRest) {
  const fs::path dir = CorpusDir();
  const fs::path json = dir / "expected-summary.json";
  DAVODU_REQUIRE_SHARED_DATA(json);
  std::map<std::string, Expected> expected = LoadExpected(json);
  ASSERT_GE(expected.size(), 100u);

  std::set<std::string> listed;
  for (const Rejection& r : kRejections) listed.insert(r.file);
  for (const Difference& d : Differences()) {
    ASSERT_TRUE(expected.count(d.file)) << d.file;
    ASSERT_TRUE(listed.insert(d.file).second) << d.file << " is listed twice";
    d.adjust(&expected[d.file]);
  }
  const std::set<std::string> header_only(std::begin(kHeaderOnly), std::end(kHeaderOnly));

  std::size_t read = 0;
  for (const auto& [file, e] : expected) {
    SCOPED_TRACE(file);
    const std::string path = (dir / file).string();
    LasFile las;
    LasError error;
    const bool ok = ReadLasFile(path, &las, &error);
    const auto rejection = std::find_if(std::begin(kRejections), std::end(kRejections),
                                        [&](const Rejection& r) { return file == r.file; });
    if (rejection != std::end(kRejections)) {
      ASSERT_FALSE(ok) << "read, though listed as rejected";
      EXPECT_EQ(error.file, path);
      EXPECT_EQ(error.line, rejection->line) << error.ToString();
      EXPECT_NE(error.message.find(rejection->message), std::string::npos) << error.ToString();
      const std::string where = rejection->line > 0 ? ":" + std::to_string(rejection->line) + ": " : ": ";
      EXPECT_EQ(error.ToString().rfind(path + where, 0), 0u) << error.ToString();
      continue;
    }
    ASSERT_TRUE(ok) << error.ToString();
    EXPECT_EQ(las.has_data, header_only.count(file) == 0);
    if (!e.reads) {
      ASSERT_TRUE(header_only.count(file)) << "the reference refuses this file: list it as rejected";
      EXPECT_TRUE(las.curves.empty());
      continue;
    }
    ExpectFile(e, las);
    ++read;
  }
  EXPECT_GE(read, 90u);
}

// ---------------------------------------------------------------------------
// Hand-made files

constexpr const char* kHead =
    "~VERSION INFORMATION\n"
    " VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\n"
    " WRAP.   NO  : ONE LINE PER DEPTH STEP\n"
    "~WELL INFORMATION\n"
    " STRT.M  100.0 : START DEPTH\n"
    " STOP.M  100.2 : STOP DEPTH\n"
    " STEP.M  0.1   : STEP\n"
    " NULL.   -999.25 : NULL VALUE\n"
    " WELL.   W-1   : WELL\n";
constexpr const char* kCurves =
    "~CURVE INFORMATION\n"
    " DEPT.M   : DEPTH\n"
    " GR  .API : GAMMA RAY\n"
    " RT  .OHMM: RESISTIVITY\n";

std::string Las(const std::string& data) { return std::string(kHead) + kCurves + "~A DEPT GR RT\n" + data; }

TEST(LasReaderTest, RejectsMalformedFilesNamingTheLine) {
  const std::string junk_line(10 << 20, 'x');
  std::string many_values;
  while (many_values.size() < (10u << 20)) many_values += "7 ";
  std::string binary(1 << 16, '\0');
  std::mt19937 random(7);
  for (char& c : binary) c = static_cast<char>(random());
  binary[0] = '~';  // looks like a section at first

  const struct {
    const char* name;
    std::string text;
    int line;  // 0: no line
    const char* message;
  } cases[] = {
      {"truncated row", Las("100.0 50 1.0\n100.1 51\n100.2 52 1.2\n"), 16, "expected 3 values, found 2"},
      {"index that is not a number", Las("100.0 50 1\nabc 51 2\n"), 16, "the index value 'abc' is not a number"},
      {"data without curves or rows", std::string(kHead) + "~A\n", 10, "without curve definitions and without rows"},
      {"empty file", "", 0, "empty"},
      {"blank lines only", "\n  \n\t\n", 0, "no ~ section"},
      {"10 MB line before any section", junk_line + "\n" + Las("100 1 2\n"), 1, "text before the first ~ section"},
      {"10 MB line of values", Las("100 1 2\n" + many_values + "\n"), 16, "expected 3 values, found more than"},
      {"10 MB number", Las(std::string(10 << 20, '7') + " 1 2\n"), 15, "is not a number"},
      {"10 MB line in a header", std::string(kHead) + junk_line + "\n" + kCurves + "~A\n1 2 3\n", 10,
       "expected \"MNEM.UNIT VALUE : DESCRIPTION\""},
      {"binary junk", binary, 0, ""},
      {"a second data section", Las("100 1 2\n~A\n101 1 2\n"), 16, "a second ~A section"},
      {"unterminated quote", Las("100 \"abc 2\n"), 15, "unterminated quoted text"},
      {"wrapped data ending inside a row",
       std::string(kHead).replace(std::string(kHead).find("NO  :"), 3, "YES") + kCurves + "~A\n100.0\n50 1\n100.1\n51\n",
       18, "the data ends inside a row: expected 3 values, found 2"},
      {"wrapped row with too many values",
       std::string(kHead).replace(std::string(kHead).find("NO  :"), 3, "YES") + kCurves + "~A\n100.0\n50 1 9\n", 16,
       "more than 3 values"},
      {"unknown WRAP", std::string(kHead).replace(std::string(kHead).find("NO  :"), 3, "MAY") + kCurves + "~A\n1 2 3\n",
       3, "WRAP must be YES or NO"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LasFile las;
    LasError error;
    const auto start = std::chrono::steady_clock::now();
    ASSERT_FALSE(ReadLas(c.text, "made.las", &las, &error));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    EXPECT_EQ(error.file, "made.las");
    if (c.line > 0 || std::string(c.message).size() > 0) {
      EXPECT_EQ(error.line, c.line) << error.ToString();
    }
    EXPECT_NE(error.message.find(c.message), std::string::npos) << error.ToString();
    EXPECT_LT(error.message.size(), 200u);  // quotes of the file are cut short
  }
}

TEST(LasReaderTest, LineEndsEncodingsAndDelimitersDoNotChangeTheReading) {
  // Each variant must read exactly as the plain file: well "W-1", three
  // curves, GR = 50, missing, 52 (the NULL value written another way).
  const std::string plain = Las("100.0 50 1.0\n100.1 -999.2500 1.1\n100.2 52 1.2\n");
  auto replace_all = [](std::string s, const std::string& from, const std::string& to) {
    for (std::size_t i = 0; (i = s.find(from, i)) != std::string::npos; i += to.size()) s.replace(i, from.size(), to);
    return s;
  };
  auto with_dlm = [&](const char* dlm, const std::string& data) {
    std::string head = std::string(kHead);
    head.insert(head.find("~WELL"), std::string(" DLM.  ") + dlm + " : DELIMITER\n");
    return head + kCurves + "~A\n" + data;
  };
  const struct {
    const char* name;
    std::string text;
  } variants[] = {
      {"CRLF", replace_all(plain, "\n", "\r\n")},
      {"CR", replace_all(plain, "\n", "\r")},
      {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + plain},
      {"tabs and blank lines", replace_all(replace_all(plain, " 5", "\t\t5"), "100.1", "\n\n  100.1")},
      {"comma delimiter found in the data", Las("100.0,50,1.0\n100.1, -999.25 ,1.1\n100.2,52,1.2\n")},
      {"DLM COMMA with a quoted text", with_dlm("COMMA", "100.0,50,1.0\n100.1,\"\",1.1\n100.2,52,1.2\n")},
      {"DLM TAB", with_dlm("TAB", "100.0\t50\t1.0\n100.1\t\t1.1\n100.2\t52\t1.2\n")},
      {"decimal commas", Las("100,0 50 1,0\n100,1 -999,25 1,1\n100,2 52 1,2\n")},
      {"comment lines in the data", Las("# first\n100.0 50 1.0\n  # second\n100.1 -999.25 1.1\n100.2 52 1.2\n")},
      {"wrapped", std::string(kHead).replace(std::string(kHead).find("NO  :"), 3, "YES") + kCurves +
                      "~A\n100.0\n50\n1.0\n100.1\n-999.25 1.1\n100.2\n52\n1.2\n"},
  };
  for (const auto& v : variants) {
    SCOPED_TRACE(v.name);
    LasFile las;
    LasError error;
    ASSERT_TRUE(ReadLas(v.text, "made.las", &las, &error)) << error.ToString();
    EXPECT_EQ(las.well_name, "W-1");
    ASSERT_EQ(las.curves.size(), 3u);
    EXPECT_EQ(las.curves[1].mnemonic, "GR");
    EXPECT_EQ(las.curves[2].unit, "OHMM");
    ASSERT_FALSE(las.curves[1].is_text);
    ASSERT_EQ(las.curves[1].values.size(), 3u);
    EXPECT_EQ(las.curves[0].values, (std::vector<double>{100.0, 100.1, 100.2}));
    EXPECT_EQ(las.curves[1].values[0], 50.0);
    EXPECT_TRUE(std::isnan(las.curves[1].values[1]));
    EXPECT_EQ(las.curves[1].values[2], 52.0);
    EXPECT_EQ(las.curves[2].values, (std::vector<double>{1.0, 1.1, 1.2}));
  }
}

// A large data section is read in two halves at once; what it reads, and
// the first error it reports, must not depend on where the halves meet.
TEST(LasReaderTest, ALargeDataSectionReadsLikeASmallOne) {
  constexpr int kRows = 40000;  // about 900 KB of data
  constexpr int kFirstLine = 15;
  // Row i: depth 1000 + i/8, GR = i, RT = i/2; `change` may rewrite rows.
  const auto make = [](const std::function<void(int, std::string*)>& change) {
    std::string data;
    char row[64];
    for (int i = 0; i < kRows; ++i) {
      std::snprintf(row, sizeof row, "%.3f %d %.1f", 1000 + i / 8.0, i, i / 2.0);
      std::string line = row;
      if (change) change(i, &line);
      data += line + "\n";
    }
    return Las(data);
  };
  {
    LasFile las;
    LasError error;
    ASSERT_TRUE(ReadLas(make(nullptr), "big.las", &las, &error)) << error.ToString();
    ASSERT_EQ(las.curves.size(), 3u);
    for (const LasCurve& c : las.curves) ASSERT_EQ(c.values.size(), static_cast<std::size_t>(kRows));
    for (int i = 0; i < kRows; ++i) {
      ASSERT_EQ(las.curves[0].values[i], 1000 + i / 8.0) << i;
      ASSERT_EQ(las.curves[1].values[i], i) << i;
      ASSERT_EQ(las.curves[2].values[i], i / 2.0) << i;
    }
  }
  {
    // Words from a row late in the data on make the column a text column.
    LasFile las;
    LasError error;
    ASSERT_TRUE(ReadLas(make([](int i, std::string* line) {
                          if (i == kRows - 10) line->replace(line->find(' ') + 1, 0, "x");
                        }),
                        "big.las", &las, &error))
        << error.ToString();
    EXPECT_FALSE(las.curves[0].is_text);
    ASSERT_TRUE(las.curves[1].is_text);
    ASSERT_EQ(las.curves[1].texts.size(), static_cast<std::size_t>(kRows));
    EXPECT_EQ(las.curves[1].texts[kRows - 10], "x" + std::to_string(kRows - 10));
    EXPECT_EQ(las.curves[2].values.size(), static_cast<std::size_t>(kRows));
  }
  {
    // No row holds the last value: the curve is there, all missing.
    LasFile las;
    LasError error;
    ASSERT_TRUE(ReadLas(make([](int, std::string* line) { line->erase(line->rfind(' ')); }), "big.las", &las,
                        &error))
        << error.ToString();
    ASSERT_EQ(las.curves.size(), 3u);
    EXPECT_EQ(las.curves[1].values[kRows - 1], kRows - 1);
    ASSERT_EQ(las.curves[2].values.size(), static_cast<std::size_t>(kRows));
    EXPECT_TRUE(std::isnan(las.curves[2].values[kRows - 1]));
  }
  const struct {
    const char* name;
    std::function<void(int, std::string*)> change;
    int row;  // of the error
    const char* message;
  } failures[] = {
      {"short row late", [](int i, std::string* l) { if (i == kRows - 100) l->erase(l->rfind(' ')); },
       kRows - 100, "expected 3 values, found 2"},
      {"short row early, bad index late",
       [](int i, std::string* l) {
         if (i == 100) l->erase(l->rfind(' '));
         if (i == kRows - 100) (*l)[0] = 'z';
       },
       100, "expected 3 values, found 2"},
      {"bad index late", [](int i, std::string* l) { if (i == kRows - 100) (*l)[0] = 'z'; }, kRows - 100,
       "is not a number"},
      {"unterminated quote late, short row early",
       [](int i, std::string* l) {
         if (i == 5) l->erase(l->rfind(' '));
         if (i == kRows - 3) *l += " \"open";
       },
       kRows - 3, "unterminated quoted text"},
      {"first of two long rows",
       [](int i, std::string* l) {
         if (i == kRows / 2 - 1000 || i == kRows - 5) *l += std::string(3000, ' ') + "9 9 9 9 9 9 9 9 9 9";
       },
       kRows / 2 - 1000, "expected 3 values, found 13"},
  };
  for (const auto& f : failures) {
    SCOPED_TRACE(f.name);
    LasFile las;
    LasError error;
    ASSERT_FALSE(ReadLas(make(f.change), "big.las", &las, &error));
    EXPECT_EQ(error.line, kFirstLine + f.row) << error.ToString();
    EXPECT_NE(error.message.find(f.message), std::string::npos) << error.ToString();
  }
}

// The hash recorded is that of the file's bytes, however the file is read:
// from disk or memory, small or large (hashed beside the parse), converted
// to UTF-8 or not.
TEST(LasReaderTest, TheHashIsThatOfTheFilesBytes) {
  std::string rows;
  for (int i = 0; i < 70000; ++i) rows += std::to_string(1000 + i / 8.0) + " " + std::to_string(i) + " 2.5\n";
  std::string cp1252 = Las(rows);
  cp1252.replace(cp1252.find("W-1"), 3, "CAF\xC9");
  const struct {
    const char* name;
    std::string bytes;
  } cases[] = {{"small", Las("100 1 2\n")}, {"large", Las(rows)}, {"large, converted", cp1252}};
  const std::string dir = testing::ScratchDir("las-hash");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    XXH128_canonical_t canonical;
    XXH128_canonicalFromHash(&canonical, XXH3_128bits(c.bytes.data(), c.bytes.size()));
    std::string expected = "xxh128:";
    for (const unsigned char byte : canonical.digest) {
      const char hex[] = "0123456789abcdef";
      expected += hex[byte >> 4];
      expected += hex[byte & 15];
    }
    const std::string path = dir + "/w.las";
    std::ofstream(path, std::ios::binary) << c.bytes;
    LasFile from_disk, from_memory;
    LasError error;
    ASSERT_TRUE(ReadLasFile(path, &from_disk, &error)) << error.ToString();
    ASSERT_TRUE(ReadLas(c.bytes, "w.las", &from_memory, &error)) << error.ToString();
    EXPECT_EQ(from_disk.file_hash, expected);
    EXPECT_EQ(from_memory.file_hash, expected);
    EXPECT_EQ(from_disk.file_size, static_cast<std::int64_t>(c.bytes.size()));
  }
}

TEST(LasReaderTest, TextIsConvertedToUtf8AndTextColumnsAreKeptApart) {
  // Windows-1252: "É" is 0xC9, "€" 0x80. The ZONE column holds words and
  // becomes a text column; quoted texts lose their quotes.
  const std::string text = std::string(kHead).replace(std::string(kHead).find("W-1"), 3, "CAF\xC9 \x80") +
                           "~C\n DEPT.M :\n zone.  : ZONE\n zone.  : ZONE AGAIN\n"
                           "~A\n100.0 \"upper sand\" 1\n100.1 shale 2\n";
  LasFile las;
  LasError error;
  ASSERT_TRUE(ReadLas(text, "cp1252.las", &las, &error)) << error.ToString();
  EXPECT_EQ(las.well_name, "CAF\xC3\x89 \xE2\x82\xAC");
  ASSERT_EQ(las.curves.size(), 3u);
  EXPECT_EQ(las.curves[1].mnemonic, "ZONE:1");
  EXPECT_TRUE(las.curves[1].is_text);
  EXPECT_TRUE(las.curves[1].values.empty());
  EXPECT_EQ(las.curves[1].texts, (std::vector<std::string>{"upper sand", "shale"}));
  EXPECT_EQ(las.curves[2].mnemonic, "ZONE:2");
  EXPECT_FALSE(las.curves[2].is_text);
}

TEST(LasReaderTest, HeaderLinesSplitIntoMnemonicUnitValueAndDescription) {
  const struct {
    const char* line;
    const char* mnemonic;
    const char* unit;
    const char* value;
    const char* description;
  } cases[] = {
      {" STRT.M        1670.000000:", "STRT", "M", "1670.000000", ""},
      {" FLD .        EDAM   : FIELD", "FLD", "", "EDAM", "FIELD"},
      {"TCS .hh:mm 21:30 23-JAN-2001:   Time Circ. Stopped", "TCS", "hh:mm", "21:30 23-JAN-2001",
       "Time Circ. Stopped"},
      {"TIML.hh:mm 23:15 23-JAN-2001:   Time Logger: At Bottom", "TIML", "hh:mm", "23:15 23-JAN-2001",
       "Time Logger: At Bottom"},
      {"EPD  .m   Water depth: 3642 ft :Elevation", "EPD", "m", "Water depth: 3642 ft", "Elevation"},
      {"I. Res..OHM-M                  : I. Res.", "I. RES.", "OHM-M", "", "I. Res."},
      {" .ILM .OHMM    :  7  MEDIUM", "ILM", "OHMM", "", "7  MEDIUM"},
      {"  .ohmm        :  curve 1,2,3", "", "ohmm", "", "curve 1,2,3"},
      {" DT  .[US/M]   : SONIC", "DT", "US/M", "", "SONIC"},
      {"TEST  .cps", "TEST", "cps", "", ""},
      {"TORQ .klbf.ft  : TORQUE", "TORQ", "klbf.ft", "", "TORQUE"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string text = std::string("~P\n") + c.line + "\n" + kCurves + "~A\n1 2 3\n";
    LasFile las;
    LasError error;
    ASSERT_TRUE(ReadLas(text, "made.las", &las, &error)) << error.ToString();
    ASSERT_EQ(las.parameter_section.size(), 1u);
    const LasHeaderItem& item = las.parameter_section[0];
    EXPECT_EQ(item.mnemonic, c.mnemonic);
    EXPECT_EQ(item.unit, c.unit);
    EXPECT_EQ(item.value, c.value);
    EXPECT_EQ(item.description, c.description);
  }
}

// A header without data is how wells are delivered; data without curve
// definitions is named by its ~A line, or numbered.
TEST(LasReaderTest, HeadersWithoutDataAndDataWithoutCurves) {
  const struct {
    const char* name;
    std::string text;
    bool has_data;
    std::vector<std::string> curves;
    std::size_t rows;
  } cases[] = {
      {"no data section", std::string(kHead) + kCurves, false, {"DEPT", "GR", "RT"}, 0},
      {"no curve and no data section", kHead, false, {}, 0},
      {"data named by the ~A line", std::string(kHead) + "~A DEPTH GR RT\n100.0 50 1\n100.1 51 2\n", true,
       {"DEPTH", "GR", "RT"}, 2},
      {"data without names", std::string(kHead) + "~A\n100.0 50 1\n", true, {"UNKNOWN:1", "UNKNOWN:2", "UNKNOWN:3"}, 1},
      {"a ~C section without curves", std::string(kHead) + "~C\n~A\n1 2\n", true, {"UNKNOWN:1", "UNKNOWN:2"}, 1},
      {"names that do not match the columns", std::string(kHead) + "~A DEPTH GR\n1 2 3\n", true,
       {"UNKNOWN:1", "UNKNOWN:2", "UNKNOWN:3"}, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LasFile las;
    LasError error;
    ASSERT_TRUE(ReadLas(c.text, "made.las", &las, &error)) << error.ToString();
    EXPECT_EQ(las.has_data, c.has_data);
    EXPECT_EQ(las.well_name, "W-1");
    std::vector<std::string> names;
    for (const LasCurve& curve : las.curves) {
      names.push_back(curve.mnemonic);
      EXPECT_EQ(curve.values.size(), c.rows);
    }
    EXPECT_EQ(names, c.curves);
  }
}

// Prefixes of real files, cut at every line end and all along the lines:
// each is read or refused, never a crash (the sanitizers watch) and never
// an error without its file.
TEST(LasReaderTest, TruncatedRealFilesAreReadOrRefused) {
  const fs::path dir = CorpusDir();
  DAVODU_REQUIRE_SHARED_DATA(dir);
  for (const char* name : {"sample.las", "2.0/sample_2.0_wrapped.las", "3.0/sample_3.0.las"}) {
    std::ifstream in(dir / name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 1000u) << name;
    const std::size_t stride = bytes.size() / 700 + 1;
    std::size_t read = 0;
    for (std::size_t n = 0; n <= bytes.size(); ++n) {
      const bool at_line_end = n == bytes.size() || bytes[n] == '\n' || bytes[n] == '\r';
      if (n % stride != 0 && !at_line_end) continue;
      LasFile las;
      LasError error;
      if (ReadLas(std::string_view(bytes).substr(0, n), name, &las, &error)) {
        ++read;
        if (!las.has_data) {  // cut before the data: a header
          for (const LasCurve& c : las.curves) ASSERT_TRUE(c.values.empty());
          continue;
        }
        ASSERT_FALSE(las.curves.empty());
        for (const LasCurve& c : las.curves) {
          ASSERT_EQ(c.is_text ? c.texts.size() : c.values.size(), las.curves[0].values.size()) << n;
        }
      } else {
        ASSERT_EQ(error.file, name);
        ASSERT_FALSE(error.message.empty());
      }
    }
    // The full file and its prefixes that end between rows are read.
    EXPECT_GT(read, 3u) << name;
  }
}

TEST(LasReaderTest, MissingFileIsAnErrorNamingIt) {
  LasFile las;
  LasError error;
  ASSERT_FALSE(ReadLasFile("/nonexistent/dir/x.las", &las, &error));
  EXPECT_EQ(error.file, "/nonexistent/dir/x.las");
  EXPECT_NE(error.ToString().find("/nonexistent/dir/x.las: cannot open"), std::string::npos);
}

TEST(LasReaderTest, IndexUnitsConvertToMetres) {
  const struct {
    const char* unit;
    double metres;
  } cases[] = {{"M", 1.0},     {"m", 1.0},      {"METRES", 1.0},   {"метер", 1.0}, {"FT", 0.3048}, {"F", 0.3048},
               {"feet", 0.3048}, {"FOOT", 0.3048}, {".1IN", 0.00254}, {"S", 0.0},     {"", 0.0},      {"MM", 0.0}};
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(LasIndexUnitToMetres(c.unit), c.metres) << c.unit;
}

}  // namespace
}  // namespace davodu
