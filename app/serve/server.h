// The chart server behind `davodu serve`: one page and a small JSON API
// over HTTP (Debian's cpp-httplib), through which browsers open charts of a
// folder, make charts from templates, and edit them with the kits' own
// gestures and menus (ChartSession).
//
// Security: the server binds to the address it is given (127.0.0.1 by
// default); every request must carry the server's random token (query
// parameter "token" or header "X-Davodu-Token"), else it is answered 403
// before its body is read; chart and template paths are confined to the
// charts folder (symbolic links leading out of it included); request
// bodies are limited to ServeOptions::max_body bytes (413, the body
// discarded as it arrives). Each document is edited by one request at a
// time (ChartSession's document lock).
//
// The API (all answers JSON unless stated; "chart" is a path inside the
// folder; view parameters: client, zoom, ratio, left, top, width, height):
//   GET  /                 the page (also /app.js, /style.css)
//   GET  /api/wells        {"wells": [...]}
//   GET  /api/charts       {"charts": [...], "templates": [...]}
//   POST /api/charts       {"template", "well", "name"}: a chart made and saved
//   GET  /api/state        chart, view, marks: revision, size, marks overlay
//   GET  /api/band         chart, view, band: the band's PNG image
//   GET  /api/outline      chart, view: tracks, contents and intervals
//   POST /api/mouse        chart, view, type (down, move, up, dblclick,
//                          contextmenu), x, y, shift, ctrl
//   POST /api/command      chart, view, id, answers
//   POST /api/settings     chart, view, depth_type, scale
//   POST /api/save         chart
//   GET  /api/export       chart, format (png, svg, pdf), dpi: the file
//   POST /api/tables       chart, utf8: {"files": [...]}
//   GET  /api/download     chart, file: a file an export or command wrote
#ifndef DAVODU_APP_SERVE_SERVER_H_
#define DAVODU_APP_SERVE_SERVER_H_

#include <cstddef>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace davodu::serve {

class ChartSession;

struct ServeOptions {
  std::filesystem::path dir = ".";  // the charts folder
  std::string bind = "127.0.0.1";
  int port = 8410;                  // 0: any free port
  std::string token;                // empty: a random one
  std::size_t max_body = 1 << 20;   // bytes
  std::filesystem::path work_dir;   // the sessions' export files
};

// Resolves a path a browser gives, relative to the charts folder dir, to a
// file inside it with the extension ext (".wpd", ".json"; compared without
// case). The file need not exist, but every folder on the way that exists
// is followed through its links and must stay inside dir. False with
// *error naming the path otherwise (absolute, "..", outside, other type).
bool ResolveInside(const std::filesystem::path& dir, const std::string& relative,
                   const std::string& ext, std::filesystem::path* out, std::string* error);

class Server {
 public:
  explicit Server(ServeOptions options);
  ~Server();
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  // Binds the address and port; false with *error set.
  bool Bind(std::string* error);
  // Serves until Stop is called (from another thread).
  void Run();
  void Stop();

  int port() const { return port_; }
  const std::string& token() const { return options_.token; }
  // The address of the page with the token, to open in a browser.
  std::string Url() const;

  // The session of a chart (opened on first use); null with a reply.
  std::shared_ptr<ChartSession> Session(const std::string& chart, int* status,
                                        std::string* error);

 private:
  class Impl;

  ServeOptions options_;
  int port_ = 0;
  std::unique_ptr<Impl> impl_;
  std::mutex sessions_mutex_;
  std::map<std::string, std::shared_ptr<ChartSession>> sessions_;  // by resolved path
  int session_count_ = 0;
};

// A token of 128 random bits in hexadecimal.
std::string RandomToken();

}  // namespace davodu::serve

#endif  // DAVODU_APP_SERVE_SERVER_H_
