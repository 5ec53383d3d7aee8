// davodu demo: builds a sample chart in a document and renders it.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"
#include "davodu/davodu.h"
#include "davodu/host/render.h"

namespace davodu::app {

namespace {

const char kDemoHelp[] =
    "usage: davodu demo [--out DIR]\n"
    "\n"
    "Builds a sample chart and writes DIR/demo.png, DIR/demo.svg and\n"
    "DIR/demo.pdf (DIR defaults to out/, created when missing).\n";

// A framed column with a title: draws its children, its frame lines and its
// title centred in the title band.
class FrameKit : public CWpKit {
 public:
  FrameKit() : CWpKit(nullptr) {}
  void BuildControlNodePointArray() override {
    CWpKit::BuildControlNodePointArray();
    for (CWpKit* child : GetChildren()) child->BuildControlNodePointArray();
  }
  void Draw(CDC* dc, CView* view, CRect* clip, CRect* done) override {
    CWpKit::Draw(dc, view, clip, done);
    if (GetTitleVisible() && !GetTitleText().empty()) {
      const CPoint at{DrawNode(8).x, (DrawNode(4).y + DrawNode(2).y) / 2};
      AfxGetTextTool().DrawText(dc, at, GetTitleText(), GetTitleFont(), GetZoomFactor(), 0,
                                kAlignCenter, kAlignMiddle);
    }
    DrawBorder(dc, view, clip, done);
  }
};

bool MakeDir(const std::string& dir) {
  if (mkdir(dir.c_str(), 0777) == 0 || errno == EEXIST) return true;
  std::fprintf(stderr, "davodu: cannot create %s: %s\n", dir.c_str(), std::strerror(errno));
  return false;
}

// A chart of three framed columns under a titled head.
void BuildDemo(CZuLayer* layer) {
  auto* chart = new FrameKit;
  layer->AddObject(chart);
  chart->SetTitleText(Gbk("示例井 DaVodu 综合录井图"));
  ZULOGFONT font = chart->GetTitleFont();
  font.height = 600;
  chart->SetTitleFont(&font);
  chart->SetTopDepth(1000);
  chart->SetBottomDepth(1100);
  chart->SetDepthScale(500);
  chart->SetWidth(12000);

  struct Column {
    const char* title;
    float width;
    COLORREF brush;
  };
  const Column columns[] = {
      {"深度", 2000, RGB(255, 255, 255)},
      {"自然伽马 GR", 5000, RGB(230, 245, 230)},
      {"岩性剖面", 5000, RGB(250, 240, 220)},
  };
  double x = 0;
  for (const Column& c : columns) {
    auto* column = new FrameKit;
    chart->AddChild(column);
    column->SetTitleText(Gbk(c.title));
    ZULOGFONT f = column->GetTitleFont();
    f.height = 350;
    f.color = RGB(0, 0, 128);
    column->SetTitleFont(&f);
    column->SetTitleHeight(700);
    column->SetClientHeight(0.5f);
    column->SetWidth(c.width);
    ZULOGBRUSH brush;
    brush.style = kBrushSolid;
    brush.color = c.brush;
    column->SetClientBrush(&brush);
    ZULOGPEN pen = column->GetBorderPen();
    pen.width = 20;
    column->SetBorderPen(&pen);
    column->SetPosition(FLOATPOINT{x, 0}, 0);
    x += c.width;
  }
  chart->SetClientHeight(700 + 0.5f);
  chart->SetPosition(FLOATPOINT{0, 0}, 0);
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

  CZuMapFile doc;
  BuildDemo(doc.GetActiveMap()->AddLayer("chart"));
  for (const char* ext : {"png", "svg", "pdf"}) {
    const std::string path = out + "/demo." + ext;
    std::string error;
    if (!RenderDocument(&doc, path, RenderOptions{}, &error)) {
      std::fprintf(stderr, "davodu: %s\n", error.c_str());
      return 1;
    }
    std::printf("wrote %s\n", path.c_str());
  }
  return 0;
}

}  // namespace davodu::app
