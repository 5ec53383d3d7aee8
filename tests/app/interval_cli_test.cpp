// Stratum and sand columns end to end: tables imported from CSV, a chart
// built from a template, rendered in every depth reference, exported,
// dumped and upgraded; and the template keys of the columns.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "davodu/host/util/gbk.h"
#include "support/cli.h"

namespace davodu::testing {
namespace {

const std::string kLas = DAVODU_SOURCE_DIR "/../shared/data/lasio-examples/6038187_v1.2.las";

const char kTemplate[] =
    R"({"scale": 200, "top": 20, "bottom": 60, "tracks": [{"kind": "depth"},)"
    R"( {"kind": "stratum", "title": "层位"}, {"kind": "sand", "sand_type": "一类砂岩数据",)"
    R"( "symbol": "bar", "precision": 1}]})";

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// The LAS well with stratification at level 3, sands and a fault point.
std::string Prepare(const std::string& dir) {
  const std::string db = ScratchDb(dir);
  EXPECT_EQ(RunCli("import --db " + db + " " + kLas).exit_code, 0);
  Write(dir + "/stratum3.csv", "层位,顶深,底深\n沙一段,10,30\n沙二段,30,45\n沙三段,45,80\n");
  Write(dir + "/sand.csv", "层位,砂岩顶深,砂岩底深\nS1,22,26.5\nS2,40,44\n");
  Write(dir + "/fault_point.csv", "断点测深,断距\n50,3\n");
  for (const char* f : {"stratum3.csv", "sand.csv", "fault_point.csv"}) {
    const CliResult r = RunCli("import --db " + db + " --well 'Scorpio E1' " + dir + "/" + f);
    EXPECT_EQ(r.exit_code, 0) << f << ": " << r.out;
  }
  Write(dir + "/t.json", kTemplate);
  return db;
}

TEST(IntervalCli, BuildRenderExportDumpAndUpgrade) {
  if (!std::filesystem::exists(kLas)) GTEST_SKIP() << "no LAS file at " << kLas;
  const std::string dir = ScratchDir("interval-chart");
  const std::string db = Prepare(dir);
  const CliResult built = RunCli("build --db " + db + " --template " + dir +
                                 "/t.json --well 'Scorpio E1' -o " + dir + "/c.wpd");
  ASSERT_EQ(built.exit_code, 0) << built.out;

  for (const char* type : {"md", "tvd", "ad"}) {
    for (const char* ext : {"png", "svg", "pdf"}) {
      const std::string out = dir + "/c-" + type + "." + ext;
      const CliResult r = RunCli("render --db " + db + " " + dir + "/c.wpd -o " + out +
                                 " --dpi 72 --depth-type " + type);
      ASSERT_EQ(r.exit_code, 0) << out << ": " << r.out;
      EXPECT_GT(std::filesystem::file_size(out), 0u) << out;
    }
  }

  const CliResult exported = RunCli("export --db " + db + " " + dir + "/c.wpd --dir " + dir + "/x --utf8");
  ASSERT_EQ(exported.exit_code, 0) << exported.out;
  EXPECT_EQ(ReadFile(dir + "/x/Scorpio E1井层位数据.txt"),
            "顶深[m] 厚度[m] 层位\r\n  20.00    10.0    沙一段\r\n  30.00    15.0    沙二段\r\n"
            "  45.00    15.0    沙三段");
  EXPECT_EQ(ReadFile(dir + "/x/Scorpio E1井砂岩数据.txt"),
            "顶深[m] 厚度[m]\r\n  22.00     4.5\r\n  40.00     4.0");

  const CliResult dump = RunCli("dump " + dir + "/c.wpd");
  ASSERT_EQ(dump.exit_code, 0) << dump.out;
  EXPECT_NE(dump.out.find("60 \"CWpStratum\""), std::string::npos);
  EXPECT_NE(dump.out.find("153 \"ShowField\" \"断点测深\" \"断距\""), std::string::npos);
  EXPECT_NE(dump.out.find("153 \"FillBrush\""), std::string::npos);
  ASSERT_EQ(RunCli("upgrade " + dir + "/c.wpd " + dir + "/again.wpd").exit_code, 0);
  EXPECT_EQ(RunCli("dump " + dir + "/again.wpd").out, dump.out);
}

TEST(IntervalCli, TemplateKeysOfTheColumnsAreChecked) {
  const std::string dir = ScratchDir("interval-template");
  ASSERT_EQ(RunCli("import --db " + ScratchDb(dir) + " --well W1 " + [&] {
              Write(dir + "/stratum3.csv", "层位,顶深,底深\nA,10,30\n");
              return dir + "/stratum3.csv";
            }()).exit_code,
            0);
  const struct {
    const char* track;
    const char* says;
  } cases[] = {
      {R"({"kind": "stratum", "level": 6})", "tracks[0].level: '6' is not a whole number from 1 to 5"},
      {R"({"kind": "stratum", "names": "yes"})", "tracks[0].names: 'yes' is not true or false"},
      {R"({"kind": "sand", "level": 2})", "tracks[0].level: only a stratum or facies track has it"},
      {R"({"kind": "stratum", "symbol": "bar"})", "tracks[0].symbol: only a sand track has it"},
      {R"({"kind": "sand", "symbol": "box"})", "tracks[0].symbol: unknown symbol 'box' (bracket or bar)"},
      {R"({"kind": "sand", "sand_type": 0})", "tracks[0].sand_type: '0' is not a whole number from 1 to 28"},
      {R"({"kind": "sand", "sand_type": 29})", "tracks[0].sand_type: a scattered table is given by its name"},
      {R"({"kind": "sand", "precision": 2.5})", "tracks[0].precision: '2.5' is not a whole number"},
  };
  for (const auto& c : cases) {
    Write(dir + "/t.json", std::string(R"({"scale": 500, "top": 0, "bottom": 50, "tracks": [)") +
                               c.track + "]}");
    const CliResult r = RunCli("build --db " + ScratchDb(dir) + " --template " + dir +
                               "/t.json --well W1 -o " + dir + "/c.wpd");
    EXPECT_EQ(r.exit_code, 1) << c.track;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.track << "\n" << r.out;
  }
  // A table name picks its sand type; any other name is a scattered table.
  for (const char* type : {R"("段数据2")", R"("T1")", "3"}) {
    Write(dir + "/t.json", std::string(R"({"scale": 500, "top": 0, "bottom": 50, "tracks": [)") +
                               R"({"kind": "sand", "sand_type": )" + type + "}]}");
    const CliResult r = RunCli("build --db " + ScratchDb(dir) + " --template " + dir +
                               "/t.json --well W1 -o " + dir + "/c.wpd");
    EXPECT_EQ(r.exit_code, 0) << type << ": " << r.out;
  }
}

}  // namespace
}  // namespace davodu::testing
