// Result, oil test and injection profile columns end to end: tables
// imported from CSV (the interpretation under its import name 电测解释), a
// chart built from a template, rendered and exported.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "davodu/host/util/gbk.h"
#include "support/cli.h"
#include "support/png.h"

namespace davodu::testing {
namespace {

const char kTemplate[] =
    R"({"scale": 200, "top": 995, "bottom": 1020, "tracks": [{"kind": "depth"},)"
    R"( {"kind": "result", "width": 1000, "table": "一类砂岩数据", "field": "电测解释"},)"
    R"( {"kind": "oil_test", "width": 4000, "fill": "result", "bar": true, "pie": true},)"
    R"( {"kind": "water_entry", "width": 3000,)"
    R"(  "params": [{"name": "日注入量", "left": 0, "right": 40, "color": "#00A000"}]}]})";

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

class ResultCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = ScratchDir(std::string("result-cli-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    db = ScratchDb(dir);
    Write(dir + "/sand.csv", "层位,砂岩顶深,砂岩底深,电测解释\nS1,1000,1004,油层\nS2,1006,1008,\nS3,1010,1014,水层\n");
    Write(dir + "/oil_test.csv",
          "层位,层段顶测深,层段底测深,试油结果,日产油量,日产气量,日产水量\n"
          "T1,1000,1004,油层,1,1,2\nT2,1010,1014,水层,0,,6\n");
    Write(dir + "/injection.csv",
          "日期,顶深,底深,日注入量\n2010-03-05,1000,1004,20\n2010-03-05,1006,1008,40\n"
          "2011-01-20,1010,1014,10\n");
    Write(dir + "/t.json", kTemplate);
  }
  CliResult Import(const char* file) {
    return RunCli("import --db " + db + " --well W1 " + dir + "/" + file);
  }

  std::string dir, db;
};

TEST_F(ResultCli, TheColumnsRenderAndExportFromImportedTables) {
  for (const char* f : {"sand.csv", "oil_test.csv", "injection.csv"}) {
    const CliResult r = Import(f);
    ASSERT_EQ(r.exit_code, 0) << f << ": " << r.out;
  }
  const CliResult built = RunCli("build --db " + db + " --template " + dir + "/t.json --well W1 -o " + dir + "/c.wpd");
  ASSERT_EQ(built.exit_code, 0) << built.out;
  const CliResult rendered = RunCli("render --db " + db + " " + dir + "/c.wpd -o " + dir + "/c.png --dpi 254");
  ASSERT_EQ(rendered.exit_code, 0) << rendered.out;

  // The composition bar's oil, gas and water bands and the profile bars
  // are painted; the bars of 20 and 40 (between 0 and 40) are as 1 to 2.
  const Image image = ReadPng(dir + "/c.png");
  ASSERT_GT(image.width, 0);
  const auto count = [&](COLORREF c) { return std::count(image.pixels.begin(), image.pixels.end(), c); };
  EXPECT_GT(count(200), 0) << "oil band";
  EXPECT_GT(count(0x00FFFF), 0) << "gas band";
  EXPECT_GT(count(0xC85000), 0) << "water band";
  // The longest green run of each band of rows taller than the head's
  // colour line.
  std::vector<int> runs;
  int longest_in_band = 0, band_rows = 0;
  for (int y = 0; y <= image.height; ++y) {
    int longest = 0;
    for (int x = 0, run = 0; y < image.height && x < image.width; ++x) {
      run = image.At(x, y) == 0x00A000 ? run + 1 : 0;
      longest = std::max(longest, run);
    }
    if (longest >= 10) {
      longest_in_band = std::max(longest_in_band, longest);
      ++band_rows;
      continue;
    }
    if (band_rows > 5) runs.push_back(longest_in_band);
    longest_in_band = band_rows = 0;
  }
  ASSERT_EQ(runs.size(), 3u) << "one bar per tested interval";
  EXPECT_NEAR(static_cast<double>(runs[1]) / runs[0], 2.0, 0.05);
  EXPECT_NEAR(static_cast<double>(runs[2]) / runs[0], 0.5, 0.05) << "10 in the second date's column";

  const CliResult exported = RunCli("export --db " + db + " " + dir + "/c.wpd --dir " + dir + "/x --utf8");
  ASSERT_EQ(exported.exit_code, 0) << exported.out;
  EXPECT_EQ(ReadFile(dir + "/x/W1井解释结果数据.txt"),
            "顶深[m] 厚度[m] 电测解释\r\n1000.00     4.0      油层\r\n1010.00     4.0      水层");
  const std::string tests = ReadFile(dir + "/x/W1井试油数据.txt");
  EXPECT_EQ(tests.substr(0, tests.find("\r\n")), "顶深[m] 厚度[m] 试油结果 日产油量[t] 日产气量[千方] 日产水量[t]");
  EXPECT_NE(tests.find("油层"), std::string::npos);
}

// A production profile drawn from a scattered table: one column per date of
// its time column, the intervals of each date kept in the document.
TEST_F(ResultCli, AProfileFromAScatteredTable) {
  Write(dir + "/prof.csv", "名称,深度,厚度,测试日期,日产液量\np,1000,4,2012-06-01,20\np,1010,4,2012-06-01,40\n"
                           "p,1000,4,2013-02-11,10\n");
  ASSERT_EQ(Import("sand.csv").exit_code, 0);  // the well
  const CliResult imported = RunCli("import --db " + db + " --table scatter " + dir + "/prof.csv");
  ASSERT_EQ(imported.exit_code, 0) << imported.out;
  Write(dir + "/p.json", R"({"scale": 200, "top": 995, "bottom": 1020, "tracks": [{"kind": "production",)"
                         R"( "table": "prof", "time_field": "测试日期",)"
                         R"( "params": [{"name": "日产液量", "left": 0, "right": 40}]}]})");
  const CliResult built = RunCli("build --db " + db + " --template " + dir + "/p.json --well W1 -o " + dir + "/p.wpd");
  ASSERT_EQ(built.exit_code, 0) << built.out;
  const CliResult dump = RunCli("dump " + dir + "/p.wpd");
  ASSERT_EQ(dump.exit_code, 0) << dump.out;
  EXPECT_NE(dump.out.find(R"("WaterEntry" 2 2 "2012-6-1" "2013-2-11" "离散数据" "prof" "测试日期")"), std::string::npos)
      << dump.out;
  EXPECT_NE(dump.out.find("0 1000 1004 1 20 0 1010 1014 1 40 1 1000 1004 1 10"), std::string::npos) << dump.out;
  ASSERT_EQ(RunCli("render --db " + db + " " + dir + "/p.wpd -o " + dir + "/p.png --dpi 100").exit_code, 0);

  Write(dir + "/bad.json", R"({"scale": 200, "top": 995, "bottom": 1020, "tracks": [{"kind": "production",)"
                           R"( "time_field": "测试日期"}]})");
  const CliResult bad = RunCli("build --db " + db + " --template " + dir + "/bad.json --well W1 -o " + dir + "/b.wpd");
  EXPECT_NE(bad.exit_code, 0);
  EXPECT_NE(bad.out.find("time_field: needs a table"), std::string::npos) << bad.out;
}

// A template naming an unknown oil test fill, or giving a column a key of
// another kind, is refused with the key named.
TEST_F(ResultCli, TemplateKeysAreChecked) {
  ASSERT_EQ(Import("sand.csv").exit_code, 0);
  Write(dir + "/bad.json", R"({"scale": 200, "top": 995, "bottom": 1020, "tracks": [{"kind": "oil_test", "fill": "colour"}]})");
  const CliResult bad = RunCli("build --db " + db + " --template " + dir + "/bad.json --well W1 -o " + dir + "/b.wpd");
  EXPECT_NE(bad.exit_code, 0);
  EXPECT_NE(bad.out.find("colour"), std::string::npos) << bad.out;
  Write(dir + "/labels.json", R"({"scale": 200, "top": 995, "bottom": 1020, "tracks": [{"kind": "oil_test", "labels": true}]})");
  const CliResult misplaced =
      RunCli("build --db " + db + " --template " + dir + "/labels.json --well W1 -o " + dir + "/b.wpd");
  EXPECT_NE(misplaced.exit_code, 0);
  EXPECT_NE(misplaced.out.find("only a result track"), std::string::npos) << misplaced.out;
}

}  // namespace
}  // namespace davodu::testing
