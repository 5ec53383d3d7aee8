// Pictures, program columns and parameter columns on the demo well, end to
// end through the davodu command: a core photograph shown in its interval in
// PNG, SVG and PDF (the PDF holding the JPEG unchanged) and still after its
// file is gone; program bands that follow re-imported strata; programs that
// fail or are not trusted; a parameter column through dump, upgrade and
// export.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/demo_data.h"
#include "davodu/host/util/gbk.h"
#include "support/cli.h"
#include "support/pictures.h"
#include "support/png.h"

namespace davodu::testing {
namespace {

void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }

// Depth 1520 m lies at the body top; 1:500 puts 1 m at 200 map units.
const char kTemplate[] = R"({"scale": 500, "top": 1520, "bottom": 1620, "tracks": [
  {"kind": "depth"},
  {"kind": "picture", "title": "岩心照片", "width": 2500,
   "items": [{"top": 1560, "bottom": 1580, "file": "core.jpg", "keep_ratio": false}]},
  {"kind": "program", "title": "分层", "table": "stratum3", "file": "bands.lua"},
  {"kind": "parameter", "title": "孔隙度", "digits": 1,
   "items": [{"top": 1560, "bottom": 1570, "value": "18.26"}, {"top": 1570, "bottom": 1580, "value": "干层"}]}]})";

const char kBands[] =
    "rect_fill(x0, depth_y(top), x1, depth_y(bottom), {fill = '#FF00FF'})\n"
    "text((x0 + x1) / 2, depth_y((top + bottom) / 2), record['层位'], {align = 'center', valign = 'middle'})\n";

class MediaCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = ScratchDir("media");
    const CliResult demo = RunCli("demo --out " + dir);
    ASSERT_EQ(demo.exit_code, 0) << demo.out;
    db = dir + "/demo.db";
    ImportStrata(1575);
    jpeg = MakePicture("jpeg", 60, 120, [](int, int) { return RGB(0, 160, 0); });
    ASSERT_TRUE(WriteFile(dir + "/core.jpg", jpeg));
    Write(dir + "/bands.lua", kBands);
    Write(dir + "/t.json", kTemplate);
  }
  // Two strata meeting at a boundary.
  void ImportStrata(double boundary) {
    const std::string csv = dir + "/stratum3.csv";
    Write(csv, "well,name,top,bottom\n" + std::string(app::kDemoWell) + ",S1,1540," +
                   std::to_string(boundary) + "\n" + app::kDemoWell + ",S2," +
                   std::to_string(boundary) + ",1600\n");
    const CliResult r = RunCli("import --db " + db + " " + csv);
    ASSERT_EQ(r.exit_code, 0) << r.out;
  }
  CliResult Build(const std::string& templ = "t.json", const std::string& out = "c.wpd") {
    return RunCli("build --db " + db + " --template " + dir + "/" + templ + " --well " +
                  app::kDemoWell + " -o " + dir + "/" + out);
  }
  CliResult Render(const std::string& doc, const std::string& out, const std::string& options = "") {
    return RunCli("render --db " + db + " " + dir + "/" + doc + " -o " + dir + "/" + out + " " + options);
  }
  // The rows of a PNG (rendered at 254 dpi: 10 pixels a millimetre, one
  // pixel for 10 map units) painted in a colour, in the column of x.
  static bool Near(COLORREF c, COLORREF colour) {
    return std::abs(int(GetRValue(c)) - int(GetRValue(colour))) < 40 &&
           std::abs(int(GetGValue(c)) - int(GetGValue(colour))) < 40 &&
           std::abs(int(GetBValue(c)) - int(GetBValue(colour))) < 40;
  }
  static std::pair<int, int> RowsOf(const Image& image, COLORREF colour, int x) {
    int first = -1, last = -1;
    for (int y = 0; y < image.height; ++y) {
      if (!Near(image.At(x, y), colour)) continue;
      if (first < 0) first = y;
      last = y;
    }
    return {first, last};
  }
  // The first column of a PNG with a pixel of a colour.
  static int ColumnOf(const Image& image, COLORREF colour) {
    for (int x = 0; x < image.width; ++x)
      for (int y = 0; y < image.height; y += 5)
        if (Near(image.At(x, y), colour)) return x;
    return -1;
  }

  std::string dir, db, jpeg;
};

TEST_F(MediaCli, ACorePhotographShowsInItsIntervalAndStaysWithTheChart) {
  ASSERT_EQ(Build().exit_code, 0);
  ASSERT_EQ(Render("c.wpd", "c.png", "--dpi 254").exit_code, 0);
  ASSERT_EQ(Render("c.wpd", "c.svg").exit_code, 0);
  ASSERT_EQ(Render("c.wpd", "c.pdf").exit_code, 0);
  // The PDF and the SVG carry the JPEG as it was.
  EXPECT_NE(ReadFile(dir + "/c.pdf").find(jpeg), std::string::npos);
  EXPECT_NE(ReadFile(dir + "/c.svg").find("data:image/jpeg;base64,"), std::string::npos);

  // In the PNG the green photograph spans 20 m: 4000 map units, 400 rows;
  // the program's magenta bands (1540-1600 m) begin 100 rows above it.
  const Image image = ReadPng(dir + "/c.png");
  ASSERT_GT(image.width, 0);
  const int x = ColumnOf(image, RGB(0, 160, 0));
  ASSERT_GE(x, 0) << "no photograph";
  const auto [top, bottom] = RowsOf(image, RGB(0, 160, 0), x + 20);
  EXPECT_NEAR(bottom - top, 400, 4);
  const int magenta = ColumnOf(image, RGB(255, 0, 255));
  ASSERT_GE(magenta, 0);
  const auto [band_top, band_bottom] = RowsOf(image, RGB(255, 0, 255), magenta + 5);
  EXPECT_NEAR(top - band_top, 400, 4);  // 1540 m is 20 m above 1560 m
  EXPECT_NEAR(band_bottom - band_top, 1200, 6);

  // Without the file, the chart shows the same picture.
  std::filesystem::remove(dir + "/core.jpg");
  ASSERT_EQ(Render("c.wpd", "again.png", "--dpi 254").exit_code, 0);
  EXPECT_EQ(ReadFile(dir + "/again.png"), ReadFile(dir + "/c.png"));
}

TEST_F(MediaCli, ProgramBandsFollowTheStrataAndFailuresLeaveAChart) {
  ASSERT_EQ(Build().exit_code, 0);
  ASSERT_EQ(Render("c.wpd", "before.png", "--dpi 254").exit_code, 0);
  ImportStrata(1585);
  ASSERT_EQ(Render("c.wpd", "after.png", "--dpi 254").exit_code, 0);
  // The boundary moved 10 m (200 rows); the two bands keep their colours,
  // so find it by the stratum names' texts: compare the images' rows.
  const Image before = ReadPng(dir + "/before.png"), after = ReadPng(dir + "/after.png");
  ASSERT_EQ(before.height, after.height);
  EXPECT_NE(ReadFile(dir + "/before.png"), ReadFile(dir + "/after.png"));

  const struct {
    const char* source;
    const char* message;
  } cases[] = {{"while true do end", "instructions"}, {"os.execute('touch owned')", "'os'"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    Write(dir + "/bands.lua", c.source);
    ASSERT_EQ(Build("t.json", "bad.wpd").exit_code, 0);
    const CliResult r = Render("bad.wpd", "bad.png", "--dpi 50");
    EXPECT_EQ(r.exit_code, 0) << r.out;
    EXPECT_NE(r.out.find(c.message), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("wrote"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dir + "/owned"));
  }

  // Not trusted: the program does not run, and says nothing.
  const CliResult r = Render("bad.wpd", "skipped.png", "--dpi 50 --no-programs");
  EXPECT_EQ(r.exit_code, 0) << r.out;
  EXPECT_EQ(r.out.find("program"), std::string::npos) << r.out;
}

TEST_F(MediaCli, TheParameterSectionNestsUnderItsKitAndUpgradeKeepsIt) {
  ASSERT_EQ(Build().exit_code, 0);
  const CliResult dump = RunCli("dump " + dir + "/c.wpd");
  ASSERT_EQ(dump.exit_code, 0);
  // The 174 is indented like the kit's other records.
  const std::size_t at = dump.out.find("174 ");
  ASSERT_NE(at, std::string::npos);
  const std::size_t line = dump.out.rfind('\n', at) + 1;
  const std::size_t kit = dump.out.find("60 \"CWpParam\"");
  ASSERT_NE(kit, std::string::npos);
  const std::size_t kit_line = dump.out.rfind('\n', kit) + 1;
  EXPECT_EQ(at - line, kit - kit_line + 2);
  EXPECT_NE(dump.out.find("153 \"18.26\" 1560f 1570f"), std::string::npos);
  ASSERT_EQ(RunCli("upgrade " + dir + "/c.wpd " + dir + "/u.wpd").exit_code, 0);
  EXPECT_EQ(RunCli("dump " + dir + "/u.wpd").out, dump.out);
}

TEST_F(MediaCli, ExportWritesTheParameterTableAndNoneForPicturesOrPrograms) {
  ASSERT_EQ(Build().exit_code, 0);
  const CliResult r = RunCli("export --db " + db + " " + dir + "/c.wpd --dir " + dir + "/x --utf8");
  ASSERT_EQ(r.exit_code, 0) << r.out;
  // The values as stored, right-aligned in the name column the title and
  // the values make 10 bytes wide (GBK).
  EXPECT_EQ(ReadFile(dir + "/x/" + app::kDemoWell + "井孔隙度数据.txt"),
            "顶深[m] 厚度[m] 孔隙度\r\n1560.00    10.0     18.26\r\n1570.00    10.0      干层");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir + "/x")) ++files;
  EXPECT_EQ(files, 1);
}

TEST_F(MediaCli, TemplateFaultsNameTheFile) {
  Write(dir + "/missing.json", R"({"scale": 500, "top": 1520, "bottom": 1620, "tracks": [
    {"kind": "picture", "items": [{"top": 1560, "bottom": 1580, "file": "nowhere.jpg"}]}]})");
  CliResult r = Build("missing.json", "m.wpd");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_NE(r.out.find("tracks[0].items[0].file"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("nowhere.jpg"), std::string::npos) << r.out;
  Write(dir + "/syntax.json", R"({"scale": 500, "top": 1520, "bottom": 1620, "tracks": [
    {"kind": "program", "table": "stratum3", "source": "rect_fill(("}]})");
  r = Build("syntax.json", "s.wpd");
  EXPECT_NE(r.exit_code, 0);
  EXPECT_NE(r.out.find("tracks[0].source"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace davodu::testing
