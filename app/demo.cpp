// davodu demo: builds a sample chart in a document and renders it.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <string>

#include "commands.h"
#include "davodu/davodu.h"
#include "davodu/host/render.h"
#include "davodu/host/well_data_manager.h"
#include "davodu/well/wp_track_builder.h"
#include "demo_data.h"

namespace davodu::app {

namespace {

const char kDemoHelp[] =
    "usage: davodu demo [--out DIR]\n"
    "\n"
    "Builds a sample well database (DIR/demo.db: a synthetic well with a\n"
    "deviation survey and seven curves, and a real LAS log as a second well),\n"
    "builds a chart of the synthetic well, saves it as DIR/demo.wpd and\n"
    "renders DIR/demo.png, DIR/demo.svg and DIR/demo.pdf. DIR defaults to\n"
    "out/ and is created when missing.\n";

bool MakeDir(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  if (!ec) return true;
  std::fprintf(stderr, "davodu: cannot create %s: %s\n", dir.c_str(), ec.message().c_str());
  return false;
}

// The real log imported as the demo's second well: from the shared LAS
// corpus beside the source tree, or DAVODU_DEMO_LAS.
std::string DemoLasPath() {
  if (const char* env = std::getenv("DAVODU_DEMO_LAS"); env && *env) return env;
  return DAVODU_DEMO_LAS;
}

// Names a curve after its log, colours it, sets its scale and records
// which log it shows; the samples load when the well binds its data.
void BindDemoCurve(CWpCurve* curve, const char* name, float left, float right, bool log,
                   COLORREF color) {
  curve->SetName(name);
  curve->SetTitleText(name);
  ZULOGPEN pen = curve->GetPen();
  pen.color = color;
  pen.width = 20;
  curve->SetPen(&pen);
  curve->SetSource(CVE_WELLLOG);
  curve->SetValueRangeType(0);  // the scale given here, not the data's range
  curve->LogScale(log ? 1 : 0);
  curve->SetLeft(left);
  curve->SetRight(right);
}

struct CurveSpec {
  const char* name;
  float left, right;
  COLORREF color;
};

// A track of curves, with a linear or logarithmic grid.
CWpTrack* AddCurveTrack(CWpWell* well, std::initializer_list<CurveSpec> curves, bool log,
                        float width) {
  CWpTrack* track = well->AddTrack(8005, -1);  // a curve track, gridded
  if (!track) return nullptr;
  track->SetWidth(width);
  if (log) {
    track->LogScale(1);
    track->SetLeft(curves.begin()->left);
    track->SetRight(curves.begin()->right);
  }
  // One head row of 700 (7 mm) for each curve.
  track->SetClientHeight(700.0f * static_cast<float>(curves.size()));
  for (const CurveSpec& c : curves) {
    // Each curve a row of its own in the head, all across the track's width.
    CWpCurve* curve = track->AddCurve(c.name, 0, -1);
    if (!curve) continue;
    BindDemoCurve(curve, c.name, c.left, c.right, log, c.color);
  }
  return track;
}

// The chart of the synthetic well: depth, lithology-side curves,
// resistivities on a logarithmic grid, porosity curves.
CWpWell* BuildDemoChart(CZuLayer* layer) {
  auto* well = dynamic_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
  layer->AddObject(well);
  well->SetName(Gbk(kDemoWell));
  well->SetTitleText(Gbk(kDemoWell) + Gbk(" 综合测井图"));
  well->SetDepthScale(500);
  well->SetTopDepth(1520);
  well->SetBottomDepth(1660);
  well->SetWidth(2000);

  ZULOGFONT font = well->GetTitleFont();
  font.height = 600;
  well->SetTitleFont(&font);
  // The well symbol to the right of the name: an oil well's filled circle.
  ZULOGPOINT symbol = well->GetTypePoint();
  symbol.style = kPointFilledCircle;
  symbol.color = RGB(200, 0, 0);
  symbol.size = 300;
  well->SetTypePoint(symbol);
  well->SetTypeAlign(4);

  CWpTrackBuilder builder(well);
  builder.AddChild(kCmdWellTrackFirst + 22);  // the depth column
  if (CWpKit* depth_track = well->GetChild(well->ChildrenCount() - 1)) {
    depth_track->SetWidth(1800);
    if (CWpKit* depth = depth_track->GetChild(0)) depth->SetTitleText(Gbk("深度(m)"));
  }
  AddCurveTrack(well, {{"SP", -70, -5, RGB(0, 0, 255)}, {"GR", 0, 150, RGB(0, 128, 0)}}, false, 3500);
  AddCurveTrack(well, {{"RT", 1, 1000, RGB(200, 0, 0)}, {"RXO", 1, 1000, RGB(0, 0, 200)}}, true, 4000);
  AddCurveTrack(well,
                {{"AC", 400, 150, RGB(160, 0, 160)},
                 {"DEN", 1.95f, 2.95f, RGB(200, 0, 0)},
                 {"CNL", 45, -15, RGB(0, 0, 160)}},
                false, 4000);
  builder.AddChild(kCmdWellTrackFirst + 2);  // a lithology column
  if (CWpKit* lith_track = well->GetChild(well->ChildrenCount() - 1)) {
    lith_track->SetWidth(2000);
    if (CWpKit* lith = lith_track->GetChild(0)) lith->SetTitleText(Gbk("岩性剖面"));
  }

  // The header table above the tracks.
  if (WellSheet* sheet = well->AddSheet()) {
    const char* labels[7][2] = {{"井名", kDemoWell}, {"油田", "示例油田"}, {"井别", "定向井"},
                                {"补心海拔", "105.5 m"}, {"比例尺", "1:500"},
                                {"井段", "1520-1660 m"}, {"绘图", "DaVodu"}};
    for (int r = 0; r < 7 && sheet->upper; ++r) {
      sheet->upper->SetCellText(r, 0, Gbk(labels[r][0]));
      sheet->upper->SetCellText(r, 1, Gbk(labels[r][1]));
    }
  }
  well->InitDataTable();
  for (CWpKit* track : well->GetChildren())
    for (CWpKit* kit : track->GetChildren())
      if (auto* curve = dynamic_cast<CWpCurve*>(kit)) curve->InitData(curve->GetName(), 2);
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
  BuildDemoChart(doc.GetActiveMap()->AddLayer("chart"));
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
