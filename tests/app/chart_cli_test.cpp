// davodu build, render and export, end to end, on a chart made from a
// template for an imported LAS well.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "app/demo_template.h"
#include "davodu/davodu.h"
#include "davodu/host/util/gbk.h"
#include "davodu/import/las_reader.h"
#include "support/cli.h"
#include "support/files.h"

namespace davodu::testing {
namespace {

const std::string kLas = SharedData("lasio-examples/6038187_v1.2.las");

// The least a template says; the well's depths run 0.05-136.6 m.
const char kTemplate[] =
    R"({"scale": 500, "top": 20, "bottom": 60, "depth_type": "md", "tracks": [{"kind": "depth"},)"
    R"( {"kind": "curve", "width": 3000, "curves": [{"name": "GAMN", "left": 0, "right": 150,)"
    R"( "log": false, "color": "#008000"}]}]})";

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// A database holding the imported well, and the template beside it.
std::string Prepare(const std::string& dir) {
  const std::string db = ScratchDb(dir);
  EXPECT_EQ(RunCli("import --db " + db + " " + kLas).exit_code, 0);
  Write(dir + "/t.json", kTemplate);
  return db;
}

TEST(ChartCli, BuildRenderAndExport) {
  DAVODU_REQUIRE_SHARED_DATA(kLas);
  const std::string dir = ScratchDir("chart");
  const std::string db = Prepare(dir);
  const CliResult built = RunCli("build --db " + db + " --template " + dir +
                                 "/t.json --well 'Scorpio E1' -o " + dir + "/c.wpd");
  ASSERT_EQ(built.exit_code, 0) << built.out;

  const struct {
    const char* file;
    const char* options;
    const char* magic;
  } images[] = {{"c.png", "--dpi 72", "\x89PNG"}, {"c.svg", "--depth-type tvd", "<?xml"}, {"c.pdf", "", "%PDF"}};
  for (const auto& image : images) {
    const std::string out = dir + "/" + image.file;
    const CliResult r =
        RunCli("render --db " + db + " " + dir + "/c.wpd -o " + out + " " + image.options);
    ASSERT_EQ(r.exit_code, 0) << image.file << ": " << r.out;
    EXPECT_EQ(ReadFile(out).rfind(image.magic, 0), 0u) << image.file;
  }

  // The samples of the chart's depth range, first in GBK, then in UTF-8.
  const std::string name = "/Scorpio E1井曲线数据.txt";
  const struct {
    const char* option;
    std::string header;
  } exports[] = {{"", Utf8ToGbk("深度[m] GAMN\r\n   20.000")}, {"--utf8", "深度[m] GAMN\r\n   20.000"}};
  for (const auto& e : exports) {
    const std::string out = dir + "/export" + e.option;
    const CliResult r = RunCli("export --db " + db + " " + dir + "/c.wpd --dir " + out + " " + e.option);
    ASSERT_EQ(r.exit_code, 0) << r.out;
    const std::string text = ReadFile(out + name);
    EXPECT_EQ(text.rfind(e.header, 0), 0u) << e.option << ": " << text.substr(0, 40);
    EXPECT_NE(text.find("\n   60.000"), std::string::npos);
    EXPECT_EQ(text.find("\n   60.050"), std::string::npos);
  }

  // Every exported value is the LAS file's at that depth, written as the
  // table writes it (-9999 for missing or out-of-range values).
  LasFile las;
  LasError error;
  ASSERT_TRUE(ReadLasFile(kLas, &las, &error)) << error.ToString();
  const LasCurve* gamn = nullptr;
  for (const LasCurve& c : las.curves)
    if (c.mnemonic == "GAMN") gamn = &c;
  ASSERT_NE(gamn, nullptr);
  std::map<std::string, std::string> expected;  // depth text -> value text
  char depth_text[32], value_text[32];
  for (std::size_t i = 0; i < gamn->values.size(); ++i) {
    const double d = las.curves[0].values[i];
    const double v = gamn->values[i];
    std::snprintf(depth_text, sizeof depth_text, "%9.3f", d);
    std::snprintf(value_text, sizeof value_text, "%11.3f", (std::isnan(v) || v > 9e9 || v < -999) ? -9999.0 : v);
    expected[depth_text] = value_text;
  }
  std::istringstream lines(ReadFile(dir + "/export--utf8" + name));
  std::string line;
  std::getline(lines, line);  // the header
  int rows = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // the last line has no break
    ASSERT_EQ(line.size(), 20u) << line;
    const auto it = expected.find(line.substr(0, 9));
    ASSERT_NE(it, expected.end()) << line;
    EXPECT_EQ(line.substr(9), it->second) << "at " << line.substr(0, 9);
    ++rows;
  }
  EXPECT_EQ(rows, 801);  // 20 to 60 m every 0.05 m
}

TEST(ChartCli, BadInputsAreRefusedWithTheirReason) {
  DAVODU_REQUIRE_SHARED_DATA(kLas);
  const std::string dir = ScratchDir("chart-bad");
  const std::string db = Prepare(dir);
  Write(dir + "/syntax.json", "{\"scale\": 500,\n \"top\" 1}");
  Write(dir + "/value.json",
        R"({"scale": 500, "top": 20, "bottom": 60, "tracks": [{"kind": "depth"},)"
        R"( {"kind": "curve", "curves": [{"name": "GAMN", "left": 0, "right": "wide"}]}]})");
  Write(dir + "/kind.json", R"({"scale": 500, "range": "all", "tracks": [{"kind": "lithograph"}]})");
  ASSERT_EQ(RunCli("build --db " + db + " --template " + dir + "/t.json --well 'Scorpio E1' -o " +
                   dir + "/c.wpd").exit_code, 0);
  const std::string build = "build --db " + db + " --well 'Scorpio E1' -o " + dir + "/x.wpd --template ";
  const std::string render = "render --db " + db + " " + dir + "/c.wpd -o " + dir;
  const struct {
    std::string args;
    int exit_code;
    std::string says;
  } cases[] = {
      {build + dir + "/none.json", 1, "cannot read template " + dir + "/none.json"},
      {build + dir + "/syntax.json", 1, dir + "/syntax.json: line 2: "},
      {build + dir + "/value.json", 1,
       dir + "/value.json: tracks[1].curves[0].right: 'wide' is not a number"},
      {build + dir + "/kind.json", 1, dir + "/kind.json: tracks[0].kind: unknown kind 'lithograph'"},
      {"build --db " + db + " --template " + dir + "/t.json --well B7 -o " + dir + "/x.wpd", 1,
       "no well 'B7' in " + db},
      {render + "/c.png --dpi 0", 2, "--dpi '0' is not a positive number"},
      {render + "/c.png --dpi many", 2, "--dpi 'many' is not a positive number"},
      {render + "/c.png --dpi 20000", 1,
       "a PNG can be at most 32767 pixels a side: cut it into pages (--pages), use a lower --dpi"},
      {render + "/c.png --depth-type deep", 2, "--depth-type 'deep' is not md, tvd or ad"},
      {"render --db " + dir + "/none.db " + dir + "/none.wpd -o " + dir + "/n.png", 1,
       dir + "/none.wpd: no such chart document"},
  };
  for (const auto& c : cases) {
    const CliResult r = RunCli(c.args);
    EXPECT_EQ(r.exit_code, c.exit_code) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << "\n" << r.out;
  }
  EXPECT_FALSE(std::filesystem::exists(dir + "/x.wpd"));
}

// A chart names its data; data that does not exist yet is found once it is
// imported, however often the chart was opened and saved meanwhile.
TEST(ChartCli, AChartFindsDataImportedAfterItWasBuilt) {
  const std::string dir = ScratchDir("chart-later");
  const std::string db = ScratchDb(dir);
  auto las = [&](const std::string& name, const std::string& curves, const std::string& rows) {
    Write(dir + "/" + name + ".las",
          "~Version\nVERS. 2.0 :\nWRAP. NO :\n~Well\nWELL. W7 :\nNULL. -999.25 :\n"
          "~Curve\nDEPT.M :\n" + curves + "~A\n" + rows);
    return dir + "/" + name + ".las";
  };
  ASSERT_EQ(RunCli("import --db " + db + " " + las("gr", "GR.API :\n", "100 10\n101 20\n102 30\n"))
                .exit_code, 0);
  Write(dir + "/t.json",
        R"({"scale": 200, "top": 100, "bottom": 102, "tracks": [{"kind": "depth"},)"
        R"( {"kind": "curve", "curves": [{"name": "GR", "left": 0, "right": 50},)"
        R"( {"name": "NEWC", "left": 0, "right": 10}]}]})");
  const std::string chart = dir + "/c.wpd";
  ASSERT_EQ(RunCli("build --db " + db + " --template " + dir + "/t.json --well W7 -o " + chart).exit_code, 0);
  // Opened and saved again while NEWC is still missing.
  ASSERT_EQ(RunCli("render --db " + db + " " + chart + " -o " + dir + "/c.svg").exit_code, 0);
  ASSERT_EQ(RunCli("upgrade " + chart + " " + chart).exit_code, 0);

  ASSERT_EQ(RunCli("import --db " + db + " " + las("newc", "NEWC.V :\n", "100 1\n101 2\n102 3\n"))
                .exit_code, 0);
  const CliResult r = RunCli("export --db " + db + " " + chart + " --dir " + dir + "/out --utf8");
  ASSERT_EQ(r.exit_code, 0) << r.out;
  const std::string table = ReadFile(dir + "/out/W7井曲线数据.txt");
  EXPECT_EQ(table.rfind("深度[m] GR NEWC\r\n", 0), 0u) << table;
  EXPECT_NE(table.find("2.000"), std::string::npos) << table;
}

// Every file of an export run has a name of its own, and a write that fails
// (here: a disk that fills up) fails the command, names the file and leaves
// nothing half-written.
TEST(ChartCli, ExportNamesEachFileOnceAndReportsAFailedWrite) {
  const std::string dir = ScratchDir("chart-export");
  const std::string db = ScratchDb(dir);
  std::string rows;
  for (int i = 0; i < 5000; ++i) rows += std::to_string(100 + i * 0.1) + " " + std::to_string(i % 150) + "\n";
  Write(dir + "/w7.las", "~Version\nVERS. 2.0 :\nWRAP. NO :\n~Well\nWELL. W7 :\nNULL. -999.25 :\n"
                         "~Curve\nDEPT.M :\nGR.API :\n~A\n" + rows);
  ASSERT_EQ(RunCli("import --db " + db + " " + dir + "/w7.las").exit_code, 0);
  Write(dir + "/t.json", R"({"scale": 500, "range": "all", "tracks": [{"kind": "depth"},)"
                         R"( {"kind": "curve", "curves": [{"name": "GR", "left": 0, "right": 150}]}]})");
  ASSERT_EQ(RunCli("build --db " + db + " --template " + dir + "/t.json --well W7 -o " + dir + "/c.wpd")
                .exit_code, 0);
  // One document holding the chart twice: two wells named W7.
  DaVoduAttach();
  CZuMapFile doc, second;
  std::string error;
  ASSERT_TRUE(doc.ReadFromFile(dir + "/c.wpd", 1, &error)) << error;
  ASSERT_TRUE(second.ReadFromFile(dir + "/c.wpd", 1, &error)) << error;
  CZuLayer* from = second.GetActiveMap()->GetLayer(0);
  CZuObject* well = from->GetObjectList().at(0);
  from->RemoveObject(well);
  doc.GetActiveMap()->GetLayer(0)->AddObject(well);
  ASSERT_TRUE(doc.SaveToFile(dir + "/two.wpd", &error)) << error;

  const std::string out = dir + "/out";
  const CliResult r = RunCli("export --db " + db + " " + dir + "/two.wpd --dir " + out);
  ASSERT_EQ(r.exit_code, 0) << r.out;
  EXPECT_EQ(FolderEntries(out), (std::vector<std::string>{"W7井曲线数据(2).txt", "W7井曲线数据.txt"}));
  EXPECT_EQ(ReadFile(out + "/W7井曲线数据.txt"), ReadFile(out + "/W7井曲线数据(2).txt"));
  EXPECT_GT(ReadFile(out + "/W7井曲线数据.txt").size(), 100000u);
  EXPECT_NE(r.out.find("wrote " + out + "/W7井曲线数据(2).txt"), std::string::npos) << r.out;

  const std::string full = dir + "/full";
  CliResult failed;
  {
    const FileSizeLimit limit(64 * 1024);  // the tables are larger
    failed = RunCli("export --db " + db + " " + dir + "/two.wpd --dir " + full + " --utf8");
  }
  EXPECT_EQ(failed.exit_code, 1) << failed.out;
  EXPECT_NE(failed.out.find("davodu: cannot write " + full + "/W7井曲线数据.txt: File too large"),
            std::string::npos) << failed.out;
  EXPECT_NE(failed.out.find("davodu: cannot write " + full + "/W7井曲线数据(2).txt: File too large"),
            std::string::npos) << failed.out;
  EXPECT_EQ(failed.out.find("wrote"), std::string::npos) << failed.out;
  EXPECT_TRUE(FolderEntries(full).empty());
}

// The command carries the demo template in itself; the shipped file is
// the same text.
TEST(ChartCli, ShippedDemoTemplateIsTheBuiltInOne) {
  EXPECT_EQ(ReadFile(DAVODU_SOURCE_DIR "/docs/demo-template.json"), davodu::app::kDemoTemplate);
}

}  // namespace
}  // namespace davodu::testing
