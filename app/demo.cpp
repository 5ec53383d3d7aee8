// davodu demo: builds a sample chart in a document and renders it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "commands.h"
#include "davodu/davodu.h"
#include "davodu/host/graphics/render.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/well/chart_template.h"
#include "demo_data.h"
#include "demo_template.h"

namespace davodu::app {

namespace {

const char kDemoHelp[] =
    "usage: davodu demo [--out DIR]\n"
    "\n"
    "Builds a sample well database (DIR/demo.db: a synthetic well with a\n"
    "deviation survey, seven curves, stratification, sands, a fault point,\n"
    "lithology and perforations, and a real LAS log as a second well),\n"
    "builds a chart of the synthetic well, saves it as DIR/demo.wpd and\n"
    "renders DIR/demo.png, DIR/demo.svg and DIR/demo.pdf. DIR defaults to\n"
    "out/ and is created when missing.\n";

// The real log imported as the demo's second well: from the shared LAS
// corpus beside the source tree, or DAVODU_DEMO_LAS.
std::string DemoLasPath() {
  if (const char* env = std::getenv("DAVODU_DEMO_LAS"); env && *env) return env;
  return DAVODU_DEMO_LAS;
}

// The chart of the synthetic well, from the demo template (members and
// sub-members, a program column writing the sub-members' boundary depths
// and thicknesses, depth, lithology-side curves, resistivities on a
// logarithmic grid, porosity curves, sands, lithology, perforations, a
// parameter column of porosities, conclusions), dressed with a larger
// title and a header table.
CWpWell* BuildDemoChart(CZuLayer* layer, std::string* error) {
  if (!BuildChartFromTemplate(kDemoTemplate, kDemoWell, layer, error)) {
    *error = "demo template: " + *error;
    return nullptr;
  }
  auto* well = dynamic_cast<CWpWell*>(layer->GetObjectList().back());
  if (!well) return nullptr;
  ZULOGFONT font = well->GetTitleFont();
  font.height = 600;
  well->SetTitleFont(&font);
  // No well symbol: the title names the chart, not only the well, and a
  // well-kind symbol after it reads as a stray mark.

  // The header table above the tracks and the sign-off table below them,
  // two label/value pairs a row.
  if (WellSheet* sheet = well->AddSheet()) {
    const char* head[4][4] = {{"井名", kDemoWell, "油田", "示例油田"},
                              {"井别", "定向井", "补心海拔", "105.5 m"},
                              {"比例尺", "1:500", "井段", "1520-1660 m"},
                              {"深度", "测量井深", "绘图", "DaVodu"}};
    const char* tail[4][4] = {{"解释人", "示例解释员", "审核人", "示例审核员"},
                              {"绘图日期", "2026-12-10", "图号", "示例1井-01"},
                              {"资料来源", "合成测井数据", "坐标系", "示例坐标"},
                              {"备注", "演示图件", "版本", "DaVodu 0.1"}};
    auto fill = [](CZuObjectCell* cell, const char* (*rows)[4]) {
      if (!cell) return;
      cell->SetRowsAndColumns(4, 4);
      for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c) cell->SetCellText(r, c, Gbk(rows[r][c]));
    };
    fill(sheet->upper, head);
    fill(sheet->lower, tail);
  }
  well->Update();
  return well;
}

}  // namespace

int RunDemo(const Args& args) {
  std::string out = "out";
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--help" || args[i] == "-h") {
      std::fputs(kDemoHelp, stdout);
      return 0;
    }
    if (args[i] == "--out" && i + 1 < args.size()) {
      out = args[++i];
    } else {
      return UsageError("demo: unexpected argument '" + args[i] + "'");
    }
  }
  if (!MakeDir(out)) return 1;

  // A fresh database every time, so the demo always shows the same chart.
  const std::string db = out + "/demo.db";
  for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(db + suffix);
  CWellDataManager* wells = CWellDataManager::Instance();
  std::string error;
  if (!wells->Open(db)) {
    std::fprintf(stderr, "davodu: %s: %s\n", db.c_str(), wells->GetLastError().c_str());
    return 1;
  }
  if (!BuildDemoDatabase(*wells, DemoLasPath(), &error)) {
    std::fprintf(stderr, "davodu: demo database: %s\n", error.c_str());
    return 1;
  }
  std::printf("wrote %s\n", db.c_str());

  CZuMapFile doc;
  if (!BuildDemoChart(doc.GetActiveMap()->AddLayer("chart"), &error)) {
    std::fprintf(stderr, "davodu: %s\n", error.c_str());
    return 1;
  }
  const std::string chart = out + "/demo.wpd";
  if (!doc.SaveToFile(chart, &error)) {
    std::fprintf(stderr, "davodu: %s\n", error.c_str());
    return 1;
  }
  std::printf("wrote %s\n", chart.c_str());
  for (const char* ext : {"png", "svg", "pdf"}) {
    const std::string path = out + "/demo." + ext;
    if (!RenderDocument(&doc, path, RenderOptions{}, &error)) {
      std::fprintf(stderr, "davodu: %s\n", error.c_str());
      return 1;
    }
    std::printf("wrote %s\n", path.c_str());
  }
  return 0;
}

}  // namespace davodu::app
