// Lithology and perforation columns end to end: tables imported from CSV, a
// chart built from a template, rendered, exported and read back; and the
// template keys of both columns.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "support/cli.h"

namespace davodu::testing {
namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

std::string Build(const std::string& dir, const std::string& tracks, CliResult* result = nullptr) {
  Write(dir + "/t.json", R"({"scale": 200, "top": 1000, "bottom": 1030, "tracks": [)" + tracks + "]}");
  const CliResult r = RunCli("build --db " + dir + "/wells.db --template " + dir +
                             "/t.json --well W1 -o " + dir + "/c.wpd");
  if (result) *result = r;
  return r.out;
}

// A well with two identical mudstone intervals that touch (drawn as one
// block), a sandstone with an oil-bearing grade, an interval of negative
// thickness (refused), and perforations of three dates.
std::string Prepare(const std::string& dir) {
  Write(dir + "/lithology.csv",
        "顶深,厚度,岩性名称,颜色,含油性,岩性\n"
        "1000,4,泥岩,深灰,,泥岩\n"
        "1004,3,泥岩,深灰,,泥岩\n"
        "1007,5,油浸细砂岩,灰白,油浸,细砂岩\n"
        "1015,-2,泥岩,灰,,泥岩\n"
        "1020,6,粉砂岩,浅灰,,粉砂岩\n");
  Write(dir + "/perforation.csv",
        "顶深,厚度,射孔日期,射孔类型\n"
        "1008,3,2019-05-12,射孔\n"
        "1021,2,2020-06-03,补孔\n"
        "1025,1,2023-01-09,射孔\n");
  for (const char* f : {"lithology.csv", "perforation.csv"}) {
    const CliResult r = RunCli("import --db " + dir + "/wells.db --well W1 " + dir + "/" + f);
    EXPECT_EQ(r.exit_code, 0) << f << ": " << r.out;
  }
  return dir + "/wells.db";
}

TEST(LithologyCli, RendersVectorPatternsAndExportsBothColumns) {
  const std::string dir = ScratchDir("lithology-chart");
  const std::string db = Prepare(dir);
  CliResult built;
  Build(dir,
        R"({"kind": "depth"}, {"kind": "lithology", "title": "岩性", "color_width": 0.3},)"
        R"( {"kind": "perforation", "title": "射孔", "from": "2019-01-01", "to": "2020-12-31"})",
        &built);
  ASSERT_EQ(built.exit_code, 0) << built.out;
  for (const char* ext : {"png", "svg", "pdf"}) {
    const std::string out = dir + "/c." + ext;
    const CliResult r = RunCli("render --db " + db + " " + dir + "/c.wpd -o " + out + " --dpi 100");
    ASSERT_EQ(r.exit_code, 0) << out << ": " << r.out;
    EXPECT_GT(std::filesystem::file_size(out), 0u) << out;
  }
  // The patterns reach the SVG as vector patterns, never as raster images.
  const std::string svg = ReadFile(dir + "/c.svg");
  EXPECT_NE(svg.find("<pattern"), std::string::npos);
  EXPECT_EQ(svg.find("<image"), std::string::npos);

  const CliResult exported = RunCli("export --db " + db + " " + dir + "/c.wpd --dir " + dir + "/x --utf8");
  ASSERT_EQ(exported.exit_code, 0) << exported.out;
  // The negative thickness is refused; only the columns that hold text.
  EXPECT_EQ(ReadFile(dir + "/x/W1井岩性数据.txt"),
            "顶深[m] 厚度[m]       岩性类别 颜色    含油性      岩性\r\n"
            "1000.00     4.0           泥岩 深灰                泥岩\r\n"
            "1004.00     3.0           泥岩 深灰                泥岩\r\n"
            "1007.00     5.0     油浸细砂岩 灰白      油浸    细砂岩\r\n"
            "1020.00     6.0         粉砂岩 浅灰              粉砂岩");
  // Only the perforations of 2019 and 2020.
  EXPECT_EQ(ReadFile(dir + "/x/W1井射孔数据.txt"),
            "顶深[m] 厚度[m]       射孔日期      类型\r\n"
            "1008.00     3.0     2019-05-12      射孔\r\n"
            "1021.00     2.0     2020-06-03      补孔");

  // The date filter is kept in the document.
  ASSERT_EQ(RunCli("upgrade " + dir + "/c.wpd " + dir + "/again.wpd").exit_code, 0);
  EXPECT_EQ(RunCli("dump " + dir + "/again.wpd").out, RunCli("dump " + dir + "/c.wpd").out);
  EXPECT_NE(RunCli("dump " + dir + "/c.wpd").out.find("\"2019-01-01\" \"2020-12-31\""),
            std::string::npos);
}

TEST(LithologyCli, TemplateKeysOfTheColumnsAreChecked) {
  const std::string dir = ScratchDir("lithology-template");
  Prepare(dir);
  const struct {
    const char* track;
    const char* says;  // null: accepted
  } cases[] = {
      {R"({"kind": "lithology", "color_width": 0.2, "oil_width": 0.5, "names": true, "divide_lines": true})",
       nullptr},
      {R"({"kind": "perforation", "from": "2020-1-5"})", nullptr},
      {R"({"kind": "lithology", "color_width": 1.5})", "tracks[0].color_width: '1.5' is not a share from 0 to 1"},
      {R"({"kind": "lithology", "color_width": 0.6, "oil_width": 0.5})",
       "tracks[0].oil_width: the oil strip lies over the pattern strip"},
      {R"({"kind": "sand", "oil_width": 0.1})", "tracks[0].oil_width: only a lithology track has it"},
      {R"({"kind": "lithology", "from": "2020-01-01"})", "tracks[0].from: only a perforation track has it"},
      {R"({"kind": "perforation", "to": "2021-02-29"})", "tracks[0].to: '2021-02-29' is not a date YYYY-MM-DD"},
      {R"({"kind": "perforation", "from": "2020-01-01x"})",
       "tracks[0].from: '2020-01-01x' is not a date YYYY-MM-DD"},
  };
  for (const auto& c : cases) {
    CliResult r;
    Build(dir, c.track, &r);
    if (!c.says) {
      EXPECT_EQ(r.exit_code, 0) << c.track << "\n" << r.out;
      continue;
    }
    EXPECT_EQ(r.exit_code, 1) << c.track;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.track << "\n" << r.out;
  }
}

TEST(LithologyCli, PatternSheetIsDrawnInEveryFormat) {
  const std::string dir = ScratchDir("pattern-sheet");
  for (const char* ext : {"png", "svg", "pdf"}) {
    const std::string out = dir + "/p." + ext;
    const CliResult r = RunCli("patterns -o " + out + " --dpi 72");
    ASSERT_EQ(r.exit_code, 0) << r.out;
    EXPECT_GT(std::filesystem::file_size(out), 0u);
  }
  EXPECT_EQ(RunCli("patterns -o " + dir + "/p.bmp").exit_code, 2);
  EXPECT_EQ(RunCli("patterns").exit_code, 2);
}

}  // namespace
}  // namespace davodu::testing
