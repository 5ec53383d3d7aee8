// The chart server: a browser's gestures and menus reach the kits through
// a ChartSession (drags, menus, questions, the idle poll, two browsers),
// and the HTTP server refuses what it must (no token, a path outside the
// folder, an oversized body).
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "davodu/davodu.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/recording_dc.h"
#include "davodu/host/graphics/styles.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/util/gbk.h"
#include "davodu/data/data_sources.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/store/well_table.h"
#include "davodu/well/wp_well.h"
#include "serve/chart_session.h"
#include "serve/server.h"
#include "serve/view_devices.h"
#include "support/cli.h"

namespace davodu::testing {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;
using serve::ChartSession;
using serve::MouseEvent;
using serve::Reply;
using serve::ViewParams;

// ---------------------------------------------------------------- devices

TEST(MarkLayer, ASecondDrawingOfAMarkRemovesItAsNotXorDoes) {
  serve::MarkLayer marks;
  DevicePen mark;
  mark.rop = kRopNotXor;
  DevicePen plain;
  const CPoint a[] = {{0, 0}, {10, 0}};
  const CPoint b[] = {{0, 5}, {10, 5}};
  marks.Polyline(a, 2, mark);
  marks.Polyline(b, 2, mark);
  marks.Polyline(a, 2, plain);  // ordinary drawing is not a mark
  ASSERT_EQ(marks.marks().size(), 2u);
  marks.Polyline(a, 2, mark);  // off again
  ASSERT_EQ(marks.marks().size(), 1u);
  EXPECT_EQ(marks.marks()[0].points[1], (CPoint{10, 5}));
  const CRect box = marks.Bounds();
  EXPECT_LE(box.left, 0);
  EXPECT_GE(box.right, 10);
  EXPECT_GE(box.top, 5);
}

TEST(PaintDC, LeavesNotXorMarksToTheMarkLayerAndDrawsCopyMarksPlain) {
  RecordingDC inner(false);
  serve::PaintDC paint(&inner);
  EXPECT_TRUE(paint.IsInteractive());
  const CPoint line[] = {{0, 0}, {10, 10}};
  DevicePen xor_pen;
  xor_pen.rop = kRopNotXor;
  DevicePen handle;
  handle.style = kPenMarkHandle;
  handle.dashes = {2, 2};
  paint.Polyline(line, 2, xor_pen);
  paint.Polyline(line, 2, handle);
  ASSERT_EQ(inner.ops().size(), 1u);
  EXPECT_EQ(inner.ops()[0].pen->style, kPenSolid);
  EXPECT_EQ(inner.ops()[0].pen->dashes, handle.dashes);
}

// ---------------------------------------------------------------- paths

TEST(ResolveInside, ConfinesPathsToTheChartsFolder) {
  const fs::path dir = ScratchDir("charts");
  fs::create_directories(dir / "sub");
  std::ofstream(dir / "a.wpd") << "x";
  const fs::path outside = ScratchDir("outside");
  std::ofstream(outside / "b.wpd") << "x";
  fs::create_directory_symlink(outside, dir / "link");
  const struct {
    const char* path;
    bool ok;
  } cases[] = {
      {"a.wpd", true},          {"sub/new.wpd", true},      {"A.WPD", true},
      {"", false},              {"../outside/b.wpd", false}, {"sub/../../x.wpd", false},
      {"/etc/passwd", false},   {"a.txt", false},           {"link/b.wpd", false},
      {"sub\\..\\a.wpd", false},
  };
  for (const auto& c : cases) {
    fs::path out;
    std::string error;
    EXPECT_EQ(serve::ResolveInside(dir, c.path, ".wpd", &out, &error), c.ok) << c.path << ": " << error;
    if (c.ok) {
      EXPECT_EQ(out.string().rfind(fs::canonical(dir).string() + "/", 0), 0u) << out;
    } else {
      EXPECT_NE(error.find(c.path), std::string::npos) << error;
    }
  }
}

// ---------------------------------------------------------------- sessions

// The demo chart and database in a scratch folder, a session on the chart.
class ServeSession : public ::testing::Test {
 protected:
  void SetUp() override {
    DaVoduAttach();
    dir = ScratchDir("demo");
    const CliResult demo = RunCli("demo --out " + dir);
    ASSERT_EQ(demo.exit_code, 0) << demo.out;
    ASSERT_TRUE(CWellDataManager::Instance()->Open(dir + "/demo.db"));
    std::string error;
    session = ChartSession::Open(dir + "/demo.wpd", "demo.wpd", dir + "/work", &error);
    ASSERT_TRUE(session) << error;
    view.client = "a";
    view.Normalize();
    ASSERT_EQ(session->State(view, 0).status, 200);
  }

  Reply Mouse(MouseEvent::Type type, double x, double y, const ViewParams* v = nullptr) {
    MouseEvent e;
    e.type = type;
    e.x = x;
    e.y = y;
    std::lock_guard document(session->mutex());
    return session->Mouse(v ? *v : view, e);
  }
  void Drag(double x0, double y0, double x1, double y1) {
    ASSERT_EQ(Mouse(MouseEvent::kDown, x0, y0).status, 200);
    ASSERT_EQ(Mouse(MouseEvent::kMove, (x0 + x1) / 2, (y0 + y1) / 2).status, 200);
    ASSERT_EQ(Mouse(MouseEvent::kMove, x1, y1).status, 200);
    ASSERT_EQ(Mouse(MouseEvent::kUp, x1, y1).status, 200);
  }
  void Click(double x, double y) { Drag(x, y, x, y); }
  json Outline() { return session->Outline(view).body; }
  // The first content of the demo chart whose title is title (UTF-8).
  // The index of the track holding a content of that title; -1 for none.
  int TrackOf(const std::string& title) {
    const json tracks = Outline()["wells"][0]["tracks"];
    for (std::size_t i = 0; i < tracks.size(); ++i)
      for (const json& c : tracks[i]["contents"])
        if (c["title"] == title) return static_cast<int>(i);
    return -1;
  }
  json Content(const std::string& title) {
    const json outline = Outline();
    for (const json& t : outline["wells"][0]["tracks"])
      for (const json& c : t["contents"])
        if (c["title"] == title) return c;
    return nullptr;
  }
  static double HeadMiddleY(const json& c) {
    return (c["head_top"].get<double>() + c["client_top"].get<double>()) / 2;
  }

  std::string dir;
  std::unique_ptr<ChartSession> session;
  ViewParams view;
};

// The acceptance gesture: a curve's right edge dragged 40 px out widens its
// track, and the saved document holds the wider track.
TEST_F(ServeSession, DraggingACurveEdgeWidensItsTrackInTheSavedDocument) {
  const json gr = Content("GR");
  ASSERT_FALSE(gr.is_null());
  const double width = gr["right"].get<double>() - gr["left"].get<double>();
  Click(gr["handles"]["title_top"][0].get<double>(), HeadMiddleY(gr));  // select it
  const double x = gr["handles"]["right"][0], y = gr["handles"]["right"][1];
  const unsigned long long before = session->revision();
  Drag(x, y, x + 40, y);
  EXPECT_GT(session->revision(), before);
  const json wider = Content("GR");
  EXPECT_NEAR(wider["right"].get<double>() - wider["left"].get<double>(), width + 40, 3);
  EXPECT_TRUE(session->State(view, 0).body["dirty"].get<bool>());

  ASSERT_EQ(session->Save().status, 200);
  EXPECT_FALSE(session->State(view, 0).body["dirty"].get<bool>());
  CZuMapFile saved;
  std::string error;
  ASSERT_TRUE(saved.ReadFromFile(dir + "/demo.wpd", 1, &error)) << error;
  auto* well = dynamic_cast<CWpWell*>(saved.GetActiveMap()->GetLayer(0)->GetObjectList().at(0));
  ASSERT_NE(well, nullptr);
  // The track of the GR curve, wherever the demo places it.
  float track = 0;
  for (CWpKit* t : well->GetChildren())
    for (CWpKit* c : t->GetChildren())
      if (auto* curve = dynamic_cast<CWpCurve*>(c); curve && curve->GetName() == "GR") track = t->GetWidth();
  // 40 CSS px at 96 dpi are 10.58 mm; widths follow the mouse in 0.5 mm steps.
  EXPECT_NEAR(track, (width + 40) / serve::kCssPixelsPerMapUnit, 60);
}

TEST_F(ServeSession, ACurveIsDeletedThroughItsMenu) {
  const json gr = Content("GR");
  ViewParams v = view;
  MouseEvent e;
  e.type = MouseEvent::kContextMenu;
  e.x = gr["handles"]["title_top"][0];
  e.y = HeadMiddleY(gr);
  std::lock_guard document(session->mutex());
  const Reply menu = session->Mouse(v, e);
  ASSERT_EQ(menu.status, 200);
  bool offered = false;
  for (const json& item : menu.body["menu"])
    offered |= item["id"] == 49765 && item["text"] == "删除[GR](&D)";
  ASSERT_TRUE(offered) << menu.body["menu"].dump();
  const Reply done = session->Command(v, 49765, {});
  ASSERT_EQ(done.status, 200) << done.body.dump();
  EXPECT_TRUE(Content("GR").is_null());
  EXPECT_FALSE(Content("SP").is_null());
  // The menu was used up: the same command again is refused.
  EXPECT_EQ(session->Command(v, 49765, {}).status, 409);
}

// A kit's question comes back to the page answered no; sent again with a
// yes, the command runs.
TEST_F(ServeSession, AQuestionGoesToThePageAndTheCommandRunsAgainWithTheAnswer) {
  const int at = TrackOf("GR");  // the SP and GR track
  ASSERT_GE(at, 0);
  const json tracks = Outline()["wells"][0]["tracks"];
  const json& curves = tracks[at];
  std::lock_guard document(session->mutex());
  MouseEvent e;
  e.type = MouseEvent::kContextMenu;
  e.y = (curves["body_top"].get<double>() + curves["body_bottom"].get<double>()) / 2;
  // Across the body, away from the curves, the track itself answers.
  unsigned clear = 0;
  for (e.x = curves["left"].get<double>() + 2; e.x < curves["right"] && clear == 0; e.x += 3) {
    const Reply menu = session->Mouse(view, e);
    for (const json& item : menu.body["menu"])
      if (item["text"] == "清空[内容道](&Q)") clear = item["id"];
  }
  ASSERT_NE(clear, 0u);
  const Reply asked = session->Command(view, clear, {});
  ASSERT_EQ(asked.body.value("question", ""), "确定进行清空操作吗?");
  EXPECT_EQ(session->Outline(view).body["wells"][0]["tracks"][at]["contents"].size(), 2u);
  const Reply yes = session->Command(view, clear, {true});
  EXPECT_FALSE(yes.body.contains("question"));
  EXPECT_EQ(session->Outline(view).body["wells"][0]["tracks"][at]["contents"].size(), 0u);
}

// A stratum boundary dragged in the page is written to the database, and
// the marks show the rubber band while the drag lasts.
TEST_F(ServeSession, AStratumBoundaryDragWritesTheTable) {
  const json stratum = Content("段");
  ASSERT_FALSE(stratum.is_null());
  const json seg = stratum["segments"][1];
  const double x = (stratum["left"].get<double>() + stratum["right"].get<double>()) / 2;
  const double top = seg["top"], bottom = seg["bottom"];
  Click(x, (top + bottom) / 2);  // the second stratum becomes the active one
  ASSERT_EQ(Mouse(MouseEvent::kDown, x, top).status, 200);  // its top handle
  const unsigned long long marks = session->marks().version();
  const Reply moving = Mouse(MouseEvent::kMove, x, top + 20);
  EXPECT_GT(session->marks().version(), marks);
  EXPECT_FALSE(moving.body["marks"].is_null());
  ASSERT_EQ(Mouse(MouseEvent::kUp, x, top + 20).status, 200);

  const double old_top = seg["top_depth"];
  const json after = Content("段")["segments"][1];
  EXPECT_GT(after["top_depth"].get<double>(), old_top + 1);
  std::shared_ptr<CWellTable> table =
      CWellDataManager::Instance()->GetWellStratum(STRATUM_LEVEL3, Utf8ToGbk("示例1井"));
  ASSERT_TRUE(table);
  bool written = false;
  for (int r = 0; r < table->GetCount(); ++r)
    written |= std::abs(table->GetDouble(r, "top") - after["top_depth"].get<double>()) < 0.01;
  EXPECT_TRUE(written);
}

// A change another process makes to the database shows at the next poll,
// and a chart file replaced on disk is read again when nothing is unsaved.
TEST_F(ServeSession, ChangesMadeElsewhereShowOnThePoll) {
  const unsigned long long before = session->revision();
  std::ofstream(dir + "/strata.csv") << "层位,顶深,底深\nEsX,1520,1600\nEsY,1600,1700\n";
  const CliResult import =
      RunCli("import --db " + dir + "/demo.db --well 示例1井 --table stratum3 " + dir + "/strata.csv");
  ASSERT_EQ(import.exit_code, 0) << import.out;
  {
    std::lock_guard document(session->mutex());
    EXPECT_TRUE(session->Poll());
  }
  EXPECT_GT(session->revision(), before);
  EXPECT_EQ(Content("段")["segments"].size(), 2u);

  // Another program rewrites the chart: the session, with nothing unsaved,
  // takes the new file.
  const CliResult rebuilt = RunCli("upgrade " + dir + "/demo.wpd " + dir + "/demo.wpd");
  ASSERT_EQ(rebuilt.exit_code, 0) << rebuilt.out;
  fs::last_write_time(dir + "/demo.wpd", fs::file_time_type::clock::now() + std::chrono::seconds(5));
  const unsigned long long polled = session->revision();
  {
    std::lock_guard document(session->mutex());
    EXPECT_TRUE(session->Poll());
  }
  EXPECT_GT(session->revision(), polled);
}

// One gesture at a time; a change through one browser forgets the menu the
// other has open.
TEST_F(ServeSession, TwoBrowsersTakeTurns) {
  ViewParams other = view;
  other.client = "b";
  const json gr = Content("GR");
  const double hx = gr["handles"]["title_top"][0];
  const double hy = HeadMiddleY(gr);
  MouseEvent menu;
  menu.type = MouseEvent::kContextMenu;
  menu.x = hx;
  menu.y = hy;
  {
    std::lock_guard document(session->mutex());
    ASSERT_FALSE(session->Mouse(other, menu).body["menu"].empty());
  }
  ASSERT_EQ(Mouse(MouseEvent::kDown, hx, hy).status, 200);
  EXPECT_EQ(Mouse(MouseEvent::kDown, hx, hy, &other).status, 409);
  EXPECT_TRUE(session->State(other, 0).body["busy"].get<bool>());
  ASSERT_EQ(Mouse(MouseEvent::kUp, hx, hy).status, 200);
  std::lock_guard document(session->mutex());
  EXPECT_EQ(session->Command(other, 49765, {}).status, 409) << "b's menu was forgotten";
}

// The bands are PNG images of the chart; the zoom scales them.
TEST_F(ServeSession, BandsArePngImagesAtTheBrowsersZoom) {
  std::string png;
  ASSERT_EQ(session->Band(view, 0, &png).status, 200);
  ASSERT_GT(png.size(), 8u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  const int width = session->State(view, 0).body["width"];
  ViewParams half = view;
  half.zoom = 0.5;
  const json small = session->State(half, 0).body;
  EXPECT_NEAR(small["width"].get<int>(), width / 2, 1);
  EXPECT_EQ(session->Band(view, 1000, &png).status, 404);
}

// ---------------------------------------------------------------- http

class ServeHttp : public ::testing::Test {
 protected:
  void SetUp() override {
    DaVoduAttach();
    dir = ScratchDir("charts");
    serve::ServeOptions options;
    options.dir = dir;
    options.port = 0;
    options.work_dir = dir + "/.work";
    server = std::make_unique<serve::Server>(options);
    std::string error;
    ASSERT_TRUE(server->Bind(&error)) << error;
    thread = std::thread([this] { server->Run(); });
    client = std::make_unique<httplib::Client>("127.0.0.1", server->port());
    client->set_read_timeout(60, 0);
    client->set_write_timeout(60, 0);
  }
  void TearDown() override {
    server->Stop();
    if (thread.joinable()) thread.join();
  }
  httplib::Headers Token() const { return {{"X-Davodu-Token", server->token()}}; }

  std::string dir;
  std::unique_ptr<serve::Server> server;
  std::thread thread;
  std::unique_ptr<httplib::Client> client;
};

TEST_F(ServeHttp, RequestsWithoutTheTokenAreRefused) {
  for (const char* path : {"/", "/app.js", "/api/charts", "/api/wells"}) {
    auto res = client->Get(path);
    ASSERT_TRUE(res) << path;
    EXPECT_EQ(res->status, 403) << path;
    res = client->Get((std::string(path) + "?token=wrong").c_str());
    EXPECT_EQ(res->status, 403) << path;
  }
  auto page = client->Get(("/?token=" + server->token()).c_str());
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_NE(page->body.find("/app.js?token=" + server->token()), std::string::npos);
  auto charts = client->Get("/api/charts", Token());
  ASSERT_TRUE(charts);
  EXPECT_EQ(charts->status, 200);
  EXPECT_EQ(server->Url().find("http://127.0.0.1:"), 0u);
}

TEST_F(ServeHttp, AChartOutsideTheFolderIsRefused) {
  const std::string outside = ScratchDir("outside");
  std::ofstream(outside + "/x.wpd") << "x";
  for (const std::string& chart : {std::string("../outside/x.wpd"), outside + "/x.wpd",
                                   std::string("a/../../outside/x.wpd")}) {
    auto res = client->Get("/api/state", httplib::Params{{"chart", chart}}, Token());
    ASSERT_TRUE(res) << chart;
    EXPECT_EQ(res->status, 403) << chart << ": " << res->body;
  }
  auto missing = client->Get("/api/state?chart=none.wpd", Token());
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->status, 404);
}

// The peak resident size of this process, in kB.
long PeakKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

// A body of 100 MB is refused (413) without being kept: it is streamed to
// the server, and the process grows by far less than the body.
TEST_F(ServeHttp, AHundredMegabyteBodyIsRefusedWithoutGrowing) {
  constexpr std::size_t kBody = 100u << 20;
  const std::string chunk(1 << 16, 'x');
  const long before = PeakKb();
  auto res = client->Post(
      "/api/save", Token(), kBody,
      [&](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
        sink.write(chunk.data(), std::min({length, chunk.size(), kBody - offset}));
        return true;
      },
      "application/json");
  // The server may answer and close before the whole body is sent.
  if (res) {
    EXPECT_EQ(res->status, 413);
  }
  const long grown = PeakKb() - before;
  EXPECT_LT(grown, 50 * 1024) << "kB";
  auto after = client->Get("/api/charts", Token());
  ASSERT_TRUE(after);
  EXPECT_EQ(after->status, 200);
}

}  // namespace
}  // namespace davodu::testing
