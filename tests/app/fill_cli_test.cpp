// Fills and text blocks on the demo well, end to end: a neutron-density
// crossover and a gamma ray shaded by a colour table, painted where the data
// says (checked on the pixels), written to PNG, SVG and PDF, and a chart
// document whose fills and text blocks survive dump and upgrade unchanged.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "app/demo_data.h"
#include "davodu/davodu.h"
#include "davodu/host/graphics/render.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/well/chart_template.h"
#include "support/cli.h"
#include "support/png.h"

namespace davodu::testing {
namespace {

constexpr COLORREF kDenLeft = RGB(255, 216, 74);    // DEN plots left of CNL
constexpr COLORREF kDenRight = RGB(180, 205, 180);  // DEN plots right of CNL

// The porosity pair alone in a track and GR shaded from the left edge, over
// a stretch that holds a clean sand (to 1626.9 m) and a shale with a washout
// where DEN is missing (1641.5-1643.5 m).
const char kTemplate[] = R"({"scale": 500, "top": 1612, "bottom": 1650, "tracks": [
  {"kind": "curve", "width": 3000, "curves": [
    {"name": "GR", "left": 0, "right": 150, "fills": [{"to": "left", "colors": [
      {"from": 0, "to": 60, "color": "#FFE45C"}, {"from": 60, "to": 90, "color": "#FFE45C"},
      {"from": 90, "to": 120, "color": "#C8A064"}, {"from": 120, "to": 150, "color": "#A0A0A0"}]}]}]},
  {"kind": "curve", "width": 4000, "curves": [
    {"name": "DEN", "left": 1.95, "right": 2.95, "fills": [
      {"to": "CNL", "where_left": "#FFD84A", "where_right": "#B4CDB4"}]},
    {"name": "CNL", "left": 45, "right": -15}]}]})";

// Cairo's SVG writes a colour as percentages with trailing zeros trimmed.
std::string SvgColor(COLORREF c) {
  auto pct = [](int v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%f", v * 100.0 / 255);
    std::string s = buf;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s + "%";
  };
  return "fill:rgb(" + pct(GetRValue(c)) + "," + pct(GetGValue(c)) + "," + pct(GetBValue(c)) + ")";
}

class DemoFills : public ::testing::Test {
 protected:
  void SetUp() override {
    DaVoduAttach();
    dir = ScratchDir("demo");
    const CliResult demo = RunCli("demo --out " + dir);
    ASSERT_EQ(demo.exit_code, 0) << demo.out;
    ASSERT_TRUE(CWellDataManager::Instance()->Open(dir + "/demo.db"));
    layer = doc.GetActiveMap()->AddLayer("chart");
    std::string error;
    ASSERT_TRUE(BuildChartFromTemplate(kTemplate, app::kDemoWell, layer, &error)) << error;
    well = dynamic_cast<CWpWell*>(layer->GetObjectList().back());
    ASSERT_NE(well, nullptr);
  }
  void TearDown() override { CWellDataManager::Instance()->Close(); }

  CWpCurve* Curve(int track, int index) const {
    return dynamic_cast<CWpCurve*>(well->GetChild(track)->GetChild(index));
  }
  // The track drawn with the whole well into a PNG of its body, 10 pixels a
  // millimetre.
  Canvas Paint(int track, const std::string& name) {
    const CRect body = well->GetChild(track)->BodyDraw().Normalized();
    return DrawToPng(dir + "/" + name + ".png", body, 0.1,
                     [&](CDC* dc) { well->Draw(dc, nullptr, nullptr, nullptr); });
  }

  std::string dir;
  CZuMapFile doc;
  CZuLayer* layer = nullptr;
  CWpWell* well = nullptr;
};

// The x span a curve may take around sample i (the line runs to its
// neighbours), widened by three pixels.
struct Span {
  double lo, hi;
};
Span Around(const CWpCurve* c, const std::vector<double>& v, std::size_t i) {
  double lo = c->ValToMapX(v[i]), hi = lo;
  for (std::size_t k : {i - 1, i + 1}) {
    lo = std::min(lo, c->ValToMapX(v[k]));
    hi = std::max(hi, c->ValToMapX(v[k]));
  }
  return {lo - 30, hi + 30};
}

TEST_F(DemoFills, TheCrossoverShadesExactlyBetweenDensityAndNeutron) {
  CWpCurve* den = Curve(1, 0);
  CWpCurve* cnl = Curve(1, 1);
  ASSERT_GT(den->GetSampleCount(), 100);
  ASSERT_EQ(den->GetDepth(), cnl->GetDepth());
  const Canvas canvas = Paint(1, "crossover");
  ASSERT_GT(canvas.image.width, 0);
  const CRect body = well->GetChild(1)->BodyDraw().Normalized();
  const std::vector<double>& d = den->GetDepth();
  const std::vector<double>& vd = den->GetValue();
  const std::vector<double>& vc = cnl->GetValue();
  int left_rows = 0, right_rows = 0, gap_rows = 0;
  for (std::size_t i = 1; i + 1 < d.size(); ++i) {
    const double y = well->GetChild(1)->DepToMapY(d[i]);
    if (y > body.top - 50 || y < body.bottom + 50) continue;  // the frame's lines
    const bool missing = !(vd[i] < 1e30) || std::isnan(vd[i]);
    const bool near_gap = !(vd[i - 1] < 1e30) || !(vd[i + 1] < 1e30) || std::isnan(vd[i - 1]) ||
                          std::isnan(vd[i + 1]);
    auto no_fill = [&](double x) {
      const COLORREF c = canvas.AtDraw(x, y);
      return c == kDenLeft || c == kDenRight ? RGB(255, 255, 255) : c;
    };
    if (missing) {
      ++gap_rows;
      EXPECT_EQ(CheckRow(canvas, y, {}, 0, no_fill), "") << "in the washout at " << d[i] << " m";
      continue;
    }
    if (near_gap) continue;
    const Span a = Around(den, vd, i), b = Around(cnl, vc, i);
    if (a.hi >= b.lo && b.hi >= a.lo) continue;  // the curves touch here
    const bool den_left = a.hi < b.lo;
    ++(den_left ? left_rows : right_rows);
    const double lo = den_left ? a.hi : b.hi, hi = den_left ? b.lo : a.lo;
    EXPECT_EQ(CheckRow(canvas, y, {double(body.left), double(body.right)}, 3,
                       [&](double x) {
                         if ((x >= a.lo && x <= a.hi) || (x >= b.lo && x <= b.hi)) return canvas.AtDraw(x, y);
                         if (x > lo && x < hi) return den_left ? kDenLeft : kDenRight;
                         return no_fill(x);
                       }),
              "")
        << "at " << d[i] << " m";
  }
  EXPECT_GT(left_rows, 5);
  EXPECT_GT(right_rows, 20);
  EXPECT_GT(gap_rows, 10);
}

TEST_F(DemoFills, TheGammaRayIsShadedInTheColourOfEachDepthsValue) {
  CWpCurve* gr = Curve(0, 0);
  ASSERT_GT(gr->GetSampleCount(), 100);
  ASSERT_EQ(gr->FillCount(), 1);
  const std::vector<WPCVEFILLCOLOR>& table = gr->FillAt(0)->colors0;
  const Canvas canvas = Paint(0, "gamma");
  ASSERT_GT(canvas.image.width, 0);
  const CRect body = well->GetChild(0)->BodyDraw().Normalized();
  const std::vector<double>& d = gr->GetDepth();
  const std::vector<double>& v = gr->GetValue();
  int sand = 0;
  for (std::size_t i = 1; i + 1 < d.size(); ++i) {
    COLORREF want = 0;
    ASSERT_TRUE(CWpCurve::GetCurveColorref(table, v[i], &want));
    sand += v[i] < 60;
    const double y = well->GetChild(0)->DepToMapY(d[i]);
    if (y > body.top - 50 || y < body.bottom + 50) continue;  // the frame's lines
    const Span s = Around(gr, v, i);
    EXPECT_EQ(CheckRow(canvas, y, {double(body.left)}, 3,
                       [&](double x) { return x < s.lo ? want : canvas.AtDraw(x, y); }),
              "")
        << "at " << d[i] << " m, GR " << v[i];
  }
  EXPECT_GT(sand, 10) << "the stretch holds a clean sand";
}

TEST_F(DemoFills, TheChartIsWrittenToEveryFormat) {
  const std::string svg = dir + "/c.svg", pdf = dir + "/c.pdf", png = dir + "/c.png";
  std::string error;
  for (const std::string& path : {svg, pdf, png})
    ASSERT_TRUE(RenderDocument(&doc, path, RenderOptions{}, &error)) << error;
  const std::string text = ReadFile(svg);
  // Each side of the crossover is one shape.
  for (COLORREF c : {kDenLeft, kDenRight}) {
    std::size_t count = 0;
    for (std::size_t at = text.find(SvgColor(c)); at != std::string::npos; at = text.find(SvgColor(c), at + 1))
      ++count;
    EXPECT_EQ(count, 1u) << SvgColor(c);
  }
  EXPECT_EQ(ReadFile(pdf).rfind("%PDF", 0), 0u);
  EXPECT_EQ(ReadFile(png).rfind("\x89PNG", 0), 0u);
}

// The demo's chart holds fills and text blocks; dump and upgrade keep them,
// and the export writes the blocks.
TEST_F(DemoFills, DumpAndUpgradeKeepFillsAndTextBlocks) {
  const std::string chart = dir + "/demo.wpd";
  const CliResult before = RunCli("dump " + chart);
  ASSERT_EQ(before.exit_code, 0) << before.out;
  EXPECT_NE(before.out.find("\"CWpText\""), std::string::npos);
  EXPECT_NE(before.out.find("\"油层\""), std::string::npos) << "a text block";
  EXPECT_NE(before.out.find("\"TextBoundary\""), std::string::npos);
  ASSERT_EQ(RunCli("upgrade " + chart + " " + dir + "/up.wpd").exit_code, 0);
  const CliResult after = RunCli("dump " + dir + "/up.wpd");
  ASSERT_EQ(after.exit_code, 0);
  EXPECT_EQ(after.out, before.out);

  // Read back, the chart has its fills and blocks.
  CZuMapFile read;
  std::string error;
  ASSERT_TRUE(read.ReadFromFile(dir + "/up.wpd", 1, &error)) << error;
  int fills = 0, blocks = 0;
  for (CZuObject* obj : read.GetActiveMap()->GetLayer(0)->GetObjectList()) {
    auto* w = dynamic_cast<CWpWell*>(obj);
    if (!w) continue;
    for (CWpKit* track : w->GetChildren())
      for (CWpKit* kit : track->GetChildren()) {
        if (auto* c = dynamic_cast<CWpCurve*>(kit)) fills += c->FillCount();
        if (auto* t = dynamic_cast<CWpText*>(kit)) blocks += t->GetSegCount();
      }
  }
  EXPECT_EQ(fills, 2);
  EXPECT_EQ(blocks, 5);

  // The export writes the text column's blocks as a table.
  const CliResult exported =
      RunCli("export --db " + dir + "/demo.db " + chart + " --dir " + dir + "/out --utf8");
  ASSERT_EQ(exported.exit_code, 0) << exported.out;
  const std::string table = ReadFile(dir + "/out/示例1井井解释结论数据.txt");
  EXPECT_EQ(table.rfind("顶深[m] 厚度[m] 解释结论\r\n1525.90     7.6 水层\r\n", 0), 0u) << table;
}

}  // namespace
}  // namespace davodu::testing
