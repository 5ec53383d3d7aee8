// davodu render --pages, end to end: a 3,000 m well at 1:200 (15 m of
// paper) as the pages of a PDF and as PNG files, each page with the head,
// within a memory bound.
#include <cairo/cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "support/cli.h"

namespace davodu::testing {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// A LAS file of a 3,000 m well: two curves sampled every 0.125 m.
void WriteLongWell(const std::string& path) {
  std::ofstream out(path);
  out << "~Version\nVERS. 2.0 :\nWRAP. NO :\n"
         "~Well\nSTRT.M 0.0 :\nSTOP.M 3000.0 :\nSTEP.M 0.125 :\nNULL. -999.25 :\n"
         "WELL. LONG1 : WELL\n"
         "~Curve\nDEPT.M : depth\nGR.API : gamma ray\nRT.OHMM : resistivity\n"
         "~A\n";
  char line[96];
  for (int i = 0; i <= 24000; ++i) {
    const double d = i * 0.125;
    std::snprintf(line, sizeof line, "%.3f %.2f %.3f\n", d, 75 + 50 * ((i / 40) % 2 ? 0.6 : -0.6),
                  10 + (i % 97) * 0.5);
    out << line;
  }
}

const char kLongTemplate[] = R"json({
  "title": "{well} 长井段", "scale": 200, "top": 0, "bottom": 3000, "tracks": [
    {"kind": "depth", "title": "深度(m)"},
    {"kind": "curve", "width": 3000, "curves": [{"name": "GR", "left": 0, "right": 150}]},
    {"kind": "curve", "width": 3000, "grid": "log", "curves": [
      {"name": "RT", "left": 1, "right": 100, "log": true}]}]})json";

// The rows of a PNG as raw bytes (none when it cannot be read).
std::vector<std::string> Rows(const std::string& path) {
  cairo_surface_t* s = cairo_image_surface_create_from_png(path.c_str());
  std::vector<std::string> rows;
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(s);
    const int stride = cairo_image_surface_get_stride(s);
    const auto* data = reinterpret_cast<const char*>(cairo_image_surface_get_data(s));
    for (int y = 0; y < cairo_image_surface_get_height(s); ++y)
      rows.emplace_back(data + static_cast<std::ptrdiff_t>(y) * stride, static_cast<std::size_t>(stride));
  }
  cairo_surface_destroy(s);
  return rows;
}

double PeakMemory(const std::string& out) {
  std::smatch m;
  if (!std::regex_search(out, m, std::regex("peak memory ([0-9.]+) MB"))) return -1;
  return std::stod(m[1]);
}

TEST(RenderPagesCli, ALongWellRendersToPagesWithTheHeadOnEach) {
  const std::string dir = ScratchDir("pages");
  const std::string db = ScratchDb(dir);
  WriteLongWell(dir + "/long.las");
  ASSERT_EQ(RunCli("import --db " + db + " " + dir + "/long.las").exit_code, 0);
  std::ofstream(dir + "/t.json") << kLongTemplate;
  const CliResult built = RunCli("build --db " + db + " --template " + dir +
                                 "/t.json --well LONG1 -o " + dir + "/long.wpd");
  ASSERT_EQ(built.exit_code, 0) << built.out;

  // Without pages the PNG would be 15 m tall: refused, pointing at --pages.
  const CliResult whole = RunCli("render --db " + db + " " + dir + "/long.wpd -o " + dir + "/w.png");
  EXPECT_NE(whole.exit_code, 0);
  EXPECT_NE(whole.out.find("--pages"), std::string::npos) << whole.out;

  // PDF pages of A4 height: 15 m of body at about 25 cm a page.
  const CliResult pdf = RunCli("render --db " + db + " " + dir + "/long.wpd -o " + dir +
                               "/long.pdf --pages --stats");
  ASSERT_EQ(pdf.exit_code, 0) << pdf.out;
  std::smatch pages;
  ASSERT_TRUE(std::regex_search(pdf.out, pages, std::regex(", ([0-9]+) pages,"))) << pdf.out;
  const int n = std::stoi(pages[1]);
  EXPECT_GE(n, 55);
  EXPECT_LE(n, 70);
  const std::string bytes = ReadFile(dir + "/long.pdf");
  int page_objects = 0;
  for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos;
       at = bytes.find("/Type /Page", at + 1))
    page_objects += bytes.compare(at, 12, "/Type /Pages") != 0;
  EXPECT_EQ(page_objects, n);
  // The whole 15 m chart drawn to PDF in bounded memory (docs/benchmarks.md).
  const double peak = PeakMemory(pdf.out);
  EXPECT_GT(peak, 0) << pdf.out;
  if (!kSanitized) {
    EXPECT_LT(peak, 100) << pdf.out;
  }

  // PNG pages, one file each, all starting with the same head.
  const CliResult png = RunCli("render --db " + db + " " + dir + "/long.wpd -o " + dir +
                               "/long_%d.png --pages --page-height 400 --dpi 40 --stats");
  ASSERT_EQ(png.exit_code, 0) << png.out;
  ASSERT_TRUE(std::regex_search(png.out, pages, std::regex(", ([0-9]+) pages,"))) << png.out;
  const int m = std::stoi(pages[1]);
  EXPECT_GE(m, 40);
  // Every page starts with the same head: the rows the first two pages
  // share, at least the 15 mm of the chart's head (24 rows at 40 dpi).
  const std::vector<std::string> first = Rows(dir + "/long_1.png");
  const std::vector<std::string> second = Rows(dir + "/long_2.png");
  ASSERT_EQ(first.size(), second.size());
  std::size_t head = 0;
  while (head < first.size() && first[head] == second[head]) ++head;
  EXPECT_GE(head, 24u);
  EXPECT_LT(head, first.size() / 4);
  for (int k = 3; k <= m; ++k) {
    const std::string file = dir + "/long_" + std::to_string(k) + ".png";
    const std::vector<std::string> page = Rows(file);
    ASSERT_EQ(page.size(), first.size()) << file;
    EXPECT_TRUE(std::equal(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(head), page.begin()))
        << file;
  }
  EXPECT_FALSE(std::filesystem::exists(dir + "/long_" + std::to_string(m + 1) + ".png"));
}

TEST(RenderPagesCli, BadPageOptionsAreRefused) {
  const struct {
    const char* args;
    const char* says;
  } cases[] = {
      {"render c.wpd -o x.pdf --page-height 200", "--page-height needs --pages"},
      {"render c.wpd -o x.pdf --pages --page-height 5", "not a page height"},
      {"render c.wpd -o x.pdf --pages --page-height tall", "not a page height"},
  };
  for (const auto& c : cases) {
    const CliResult r = RunCli(c.args);
    EXPECT_EQ(r.exit_code, 2) << c.args << "\n" << r.out;
    EXPECT_NE(r.out.find(c.says), std::string::npos) << c.args << "\n" << r.out;
  }
}

}  // namespace
}  // namespace davodu::testing
