// Speed of `davodu serve`: a mouse move during a drag, from the request
// leaving the browser to the answer with the updated marks image (the
// target: under 50 ms for the demo chart in a 1920 x 1080 view), and the
// bands a browser fetches after a release. Each figure is a whole HTTP
// round trip to a server on 127.0.0.1 in this process: request, JSON,
// document lock, the kits' gesture, the marks drawn and encoded as PNG,
// base64, the answer. Decoding the image in the page is not included.
//
// The demo chart and database are made by `davodu demo` (DAVODU_CLI).
#include <benchmark/benchmark.h>
#include <httplib.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include <nlohmann/json.hpp>

#include "davodu/davodu.h"
#include "serve/server.h"

namespace davodu {
namespace {

namespace fs = std::filesystem;
using json = nlohmann::json;

// The server on the demo chart, made once for every benchmark.
struct Fixture {
  fs::path dir;
  std::unique_ptr<serve::Server> server;
  std::thread thread;
  std::unique_ptr<httplib::Client> client;
  httplib::Headers headers;

  Fixture() {
    DaVoduAttach();
    dir = fs::temp_directory_path() / "davodu-bench-serve";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string demo = std::string(DAVODU_CLI) + " demo --out " + dir.string() + " >/dev/null";
    if (std::system(demo.c_str()) != 0) std::abort();
    CWellDataManager::Instance()->Open((dir / "demo.db").string());
    serve::ServeOptions options;
    options.dir = dir;
    options.port = 0;
    options.work_dir = dir / "work";
    server = std::make_unique<serve::Server>(options);
    std::string error;
    if (!server->Bind(&error)) std::abort();
    thread = std::thread([this] { server->Run(); });
    client = std::make_unique<httplib::Client>("127.0.0.1", server->port());
    client->set_keep_alive(true);
    client->set_tcp_nodelay(true);  // as a browser's sockets are
    headers = {{"X-Davodu-Token", server->token()}};
  }
  ~Fixture() {
    server->Stop();
    thread.join();
  }

  json View(double ratio) const {
    return {{"chart", "demo.wpd"}, {"client", "bench"}, {"zoom", 1}, {"ratio", ratio},
            {"left", 0},           {"top", 0},          {"width", 1920}, {"height", 1080}};
  }
  json Post(const std::string& path, const json& body) {
    auto res = client->Post(path.c_str(), headers, body.dump(), "application/json");
    if (!res || res->status != 200) std::abort();
    return json::parse(res->body);
  }
  json Mouse(double ratio, const char* type, double x, double y) {
    json body = View(ratio);
    body["type"] = type;
    body["x"] = x;
    body["y"] = y;
    return Post("/api/mouse", body);
  }
  json Content(const std::string& title) {
    httplib::Params params{{"chart", "demo.wpd"}, {"client", "bench"}, {"zoom", "1"}};
    auto res = client->Get("/api/outline", params, headers);
    const json outline = json::parse(res->body);
    for (const json& t : outline["wells"][0]["tracks"])
      for (const json& c : t["contents"])
        if (c["title"] == title) return c;
    std::abort();
  }
};

Fixture& Demo() {
  static Fixture fixture;
  return fixture;
}

// Moves while a stratum boundary is dragged: each answer carries the
// rubber band and the selection marks, drawn and encoded for the view.
void BM_DragMoveStratumBoundary(benchmark::State& state) {
  Fixture& f = Demo();
  const double ratio = static_cast<double>(state.range(0)) / 100;
  const json column = f.Content("段");
  const json seg = column["segments"][1];
  const double x = (column["left"].get<double>() + column["right"].get<double>()) / 2;
  const double top = seg["top"];
  f.Mouse(ratio, "down", x, (top + seg["bottom"].get<double>()) / 2);
  f.Mouse(ratio, "up", x, (top + seg["bottom"].get<double>()) / 2);
  f.Mouse(ratio, "down", x, top);
  std::size_t bytes = 0;
  int k = 0;
  for (auto _ : state) {
    const json answer = f.Mouse(ratio, "move", x, top + 5 + (k++ % 20));
    bytes += answer.dump().size();
  }
  f.Mouse(ratio, "up", x, top);  // back where it was: nothing moves
  state.counters["answer_kB"] = benchmark::Counter(static_cast<double>(bytes) / 1024 / state.iterations());
}
BENCHMARK(BM_DragMoveStratumBoundary)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

// Moves while a curve's right edge is dragged (the track's width).
void BM_DragMoveCurveEdge(benchmark::State& state) {
  Fixture& f = Demo();
  const json gr = f.Content("GR");
  const double hx = gr["handles"]["title_top"][0];
  const double hy = (gr["head_top"].get<double>() + gr["client_top"].get<double>()) / 2;
  f.Mouse(1, "down", hx, hy);
  f.Mouse(1, "up", hx, hy);
  const double x = gr["handles"]["right"][0], y = gr["handles"]["right"][1];
  f.Mouse(1, "down", x, y);
  int k = 0;
  for (auto _ : state) f.Mouse(1, "move", x + 1 + (k++ % 30), y);
  f.Mouse(1, "up", x, y);
}
BENCHMARK(BM_DragMoveCurveEdge)->Unit(benchmark::kMillisecond)->UseRealTime();

// The bands of a 1920 x 1080 view (three of 512 px) after a change: drawn
// by the kits into raster devices and encoded as PNG.
void BM_BandsOfTheView(benchmark::State& state) {
  Fixture& f = Demo();
  const double ratio = static_cast<double>(state.range(0)) / 100;
  std::size_t bytes = 0;
  int rev = 0;
  for (auto _ : state) {
    for (int band = 0; band < 3; ++band) {
      // A new revision number each time: nothing is served from a cache.
      httplib::Params params{{"chart", "demo.wpd"}, {"client", "bench"}, {"zoom", "1"},
                             {"ratio", std::to_string(ratio)}, {"band", std::to_string(band)},
                             {"rev", std::to_string(++rev)}};
      auto res = f.client->Get("/api/band", params, f.headers);
      if (!res || res->status != 200) std::abort();
      bytes += res->body.size();
    }
  }
  state.counters["png_kB"] = benchmark::Counter(static_cast<double>(bytes) / 1024 / state.iterations());
}
BENCHMARK(BM_BandsOfTheView)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace davodu
