#include "serve/server.h"

#include <httplib.h>

#include <algorithm>
#include <limits>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <system_error>
#include <vector>

#include <nlohmann/json.hpp>

#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/util/gbk.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/well/chart_template.h"
#include "demo_template.h"
#include "serve/chart_session.h"
#include "serve/page_assets.h"

namespace davodu::serve {

namespace fs = std::filesystem;
using json = nlohmann::json;

namespace {

// Charts listed at most (a folder of more is cut short, not walked whole).
constexpr std::size_t kMaxListed = 5000;
// Worker threads: a browser fetches a few bands at once and polls.
constexpr std::size_t kThreads = 8;
// The name of the built-in template.
constexpr const char* kDemoTemplateName = "demo";

bool EqualNoCase(const std::string& a, const std::string& b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// Compares without returning early, so that the time taken does not tell
// how much of a guessed token was right.
bool SameToken(const std::string& given, const std::string& token) {
  if (given.size() != token.size()) return false;
  unsigned char diff = 0;
  for (std::size_t i = 0; i < token.size(); ++i)
    diff |= static_cast<unsigned char>(given[i] ^ token[i]);
  return diff == 0;
}

// True when path lies inside dir (both absolute and without "..").
bool Inside(const fs::path& dir, const fs::path& path) {
  auto d = dir.begin(), p = path.begin();
  for (; d != dir.end(); ++d, ++p) {
    if (d->empty()) continue;  // a trailing separator
    if (p == path.end() || *d != *p) return false;
  }
  return p != path.end();
}

void SendJson(httplib::Response& res, const Reply& reply) {
  res.status = reply.status;
  res.set_content(reply.body.dump(), "application/json; charset=utf-8");
}

void SendError(httplib::Response& res, int status, const std::string& message) {
  SendJson(res, Reply::Error(status, message));
}

// A header value naming a file for download: the UTF-8 name percent-encoded
// (RFC 6266), with a plain ASCII fallback.
std::string Attachment(const std::string& name) {
  std::string encoded, ascii;
  for (unsigned char c : name) {
    if (std::isalnum(c) || c == '.' || c == '-' || c == '_') {
      encoded += static_cast<char>(c);
      ascii += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      encoded += hex;
      ascii += '_';
    }
  }
  return "attachment; filename=\"" + ascii + "\"; filename*=UTF-8''" + encoded;
}

bool SendFile(httplib::Response& res, const fs::path& path, const std::string& type) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  res.set_header("Content-Disposition", Attachment(path.filename().string()));
  res.set_content(s.str(), type);
  return true;
}

const char* ContentType(const std::string& name) {
  auto ends = [&](const char* ext) {
    const std::string e(ext);
    return name.size() >= e.size() && EqualNoCase(name.substr(name.size() - e.size()), e);
  };
  if (ends(".html")) return "text/html; charset=utf-8";
  if (ends(".js")) return "text/javascript; charset=utf-8";
  if (ends(".css")) return "text/css; charset=utf-8";
  if (ends(".png")) return "image/png";
  if (ends(".svg")) return "image/svg+xml";
  if (ends(".pdf")) return "application/pdf";
  return "text/plain; charset=utf-8";
}

// The request's parameters: the JSON body of a POST, the query of a GET.
json Params(const httplib::Request& req) {
  if (req.method == "POST") {
    json body = json::parse(req.body, nullptr, false);
    if (!body.is_object()) throw std::invalid_argument("the request body is not a JSON object");
    return body;
  }
  json params = json::object();
  for (const auto& [key, value] : req.params) params[key] = value;
  return params;
}

double Number(const json& params, const char* key, double fallback) {
  auto it = params.find(key);
  if (it == params.end() || it->is_null()) return fallback;
  if (it->is_number()) return it->get<double>();
  if (it->is_boolean()) return it->get<bool>() ? 1 : 0;
  if (it->is_string()) {
    const std::string& s = it->get_ref<const std::string&>();
    try {
      std::size_t used = 0;
      const double v = std::stod(s, &used);
      if (used == s.size()) return v;
    } catch (const std::exception&) {
    }
    throw std::invalid_argument(std::string(key) + ": '" + s + "' is not a number");
  }
  throw std::invalid_argument(std::string(key) + " is not a number");
}

// A request's number as a whole number of type T: fallback when the type
// cannot hold it (a page sends -1 for "none yet"; any client may send 1e300).
template <typename T>
T Whole(double v, T fallback) {
  if (!(v >= static_cast<double>(std::numeric_limits<T>::min()) &&
        v < static_cast<double>(std::numeric_limits<T>::max()) + 1.0))
    return fallback;
  return static_cast<T>(v);
}

std::string Text(const json& params, const char* key) {
  auto it = params.find(key);
  if (it == params.end() || it->is_null()) return "";
  if (it->is_string()) return it->get<std::string>();
  throw std::invalid_argument(std::string(key) + " is not a text");
}

ViewParams ViewOf(const json& params) {
  ViewParams view;
  view.client = Text(params, "client");
  view.zoom = Number(params, "zoom", 1);
  view.ratio = Number(params, "ratio", 1);
  view.left = Number(params, "left", 0);
  view.top = Number(params, "top", 0);
  view.width = Number(params, "width", 1920);
  view.height = Number(params, "height", 1080);
  view.Normalize();
  return view;
}

std::string PageText(const PageAsset& asset) {
  return std::string(reinterpret_cast<const char*>(asset.data), asset.size);
}

}  // namespace

std::string RandomToken() {
  std::random_device device;
  std::string token;
  for (int i = 0; i < 4; ++i) {
    char hex[9];
    std::snprintf(hex, sizeof hex, "%08x", static_cast<unsigned>(device()));
    token += hex;
  }
  return token;
}

bool ResolveInside(const fs::path& dir, const std::string& relative, const std::string& ext,
                   fs::path* out, std::string* error) {
  auto fail = [&](const std::string& why) {
    *error = "'" + relative + "': " + why;
    return false;
  };
  if (relative.empty()) return fail("no path given");
  if (relative.find('\0') != std::string::npos || relative.find('\\') != std::string::npos)
    return fail("not a path inside the charts folder");
  const fs::path rel(relative);
  if (rel.is_absolute() || rel.has_root_name()) return fail("an absolute path is not inside the charts folder");
  for (const fs::path& part : rel)
    if (part == "..") return fail("'..' leads out of the charts folder");
  if (!EqualNoCase(rel.extension().string(), ext)) return fail("not a " + ext + " file");
  std::error_code ec;
  const fs::path root = fs::canonical(dir, ec);
  if (ec) return fail("the charts folder " + dir.string() + " cannot be read");
  // Links are followed: a link inside the folder that leads out is refused.
  const fs::path full = fs::weakly_canonical(root / rel, ec);
  if (ec) return fail(ec.message());
  if (!Inside(root, full)) return fail("outside the charts folder");
  *out = full;
  return true;
}

// ---------------------------------------------------------------- server

class Server::Impl {
 public:
  explicit Impl(Server* server) : server_(server) {}

  void Route();

  httplib::Server http;

 private:
  using Handler = std::function<void(const json&, httplib::Response&)>;
  // A JSON route: parameters parsed, bad input answered 400.
  void Api(const char* method, const char* path, Handler handler);
  // Runs fn with the chart's session locked (its document lock).
  void WithChart(const json& params, httplib::Response& res,
                 const std::function<void(ChartSession&)>& fn);
  void Page(const httplib::Request& req, httplib::Response& res, const std::string& name);

  void ListCharts(httplib::Response& res);
  void NewChart(const json& params, httplib::Response& res);

  Server* server_;
};

void Server::Impl::Api(const char* method, const char* path, Handler handler) {
  auto run = [handler](const httplib::Request& req, httplib::Response& res) {
    try {
      handler(Params(req), res);
    } catch (const std::invalid_argument& e) {
      SendError(res, 400, e.what());
    } catch (const json::exception& e) {
      SendError(res, 400, e.what());
    }
  };
  if (std::string(method) == "GET")
    http.Get(path, run);
  else
    http.Post(path, run);
}

void Server::Impl::WithChart(const json& params, httplib::Response& res,
                             const std::function<void(ChartSession&)>& fn) {
  int status = 0;
  std::string error;
  std::shared_ptr<ChartSession> session = server_->Session(Text(params, "chart"), &status, &error);
  if (!session) return SendError(res, status, error);
  std::lock_guard document(session->mutex());
  fn(*session);
}

void Server::Impl::Page(const httplib::Request&, httplib::Response& res, const std::string& name) {
  for (std::size_t i = 0; i < kPageAssetCount; ++i) {
    if (name != kPageAssets[i].name) continue;
    std::string text = PageText(kPageAssets[i]);
    // The page asks for its script and style sheet with the token.
    if (name == "index.html") {
      for (std::size_t at; (at = text.find("{{token}}")) != std::string::npos;)
        text.replace(at, 9, server_->token());
    }
    res.set_header("Cache-Control", "no-store");
    res.set_content(text, ContentType(name));
    return;
  }
  SendError(res, 404, "no such page");
}

void Server::Impl::ListCharts(httplib::Response& res) {
  json charts = json::array(), templates = json::array({kDemoTemplateName});
  std::error_code ec;
  const fs::path root = fs::canonical(server_->options_.dir, ec);
  if (!ec) {
    fs::recursive_directory_iterator it(root, fs::directory_options::skip_permission_denied, ec), end;
    std::size_t seen = 0;
    for (; !ec && it != end && seen < kMaxListed; it.increment(ec), ++seen) {
      if (!it->is_regular_file(ec)) continue;
      const std::string ext = it->path().extension().string();
      const std::string rel = fs::relative(it->path(), root, ec).generic_string();
      if (EqualNoCase(ext, ".wpd")) charts.push_back(rel);
      if (EqualNoCase(ext, ".json")) templates.push_back(rel);
    }
  }
  std::sort(charts.begin(), charts.end());
  SendJson(res, Reply{200, {{"charts", charts}, {"templates", templates}}});
}

void Server::Impl::NewChart(const json& params, httplib::Response& res) {
  const std::string templ = Text(params, "template"), well = Text(params, "well");
  std::string name = Text(params, "name");
  if (well.empty()) return SendError(res, 400, "no well given");
  if (name.empty()) name = well + ".wpd";
  if (!EqualNoCase(fs::path(name).extension().string(), ".wpd")) name += ".wpd";
  fs::path chart, templ_path;
  std::string error, text;
  if (!ResolveInside(server_->options_.dir, name, ".wpd", &chart, &error))
    return SendError(res, 403, error);
  if (fs::exists(chart)) return SendError(res, 409, name + " exists already");
  if (templ.empty() || templ == kDemoTemplateName) {
    text = app::kDemoTemplate;
  } else {
    if (!ResolveInside(server_->options_.dir, templ, ".json", &templ_path, &error))
      return SendError(res, 403, error);
    std::ifstream in(templ_path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    if (!in && !in.eof()) return SendError(res, 404, templ + ": cannot read the template");
    text = s.str();
  }
  {
    std::lock_guard module(ModuleMutex());
    CWellDataManager* wells = CWellDataManager::Instance();
    if (wells->FindWell(Utf8ToGbk(well)) < 0)
      return SendError(res, 404, "no well '" + well + "' in " + wells->GetPath());
    CZuMapFile doc;
    if (!BuildChartFromTemplate(text, well, doc.GetActiveMap()->AddLayer("chart"), &error))
      return SendError(res, 400, (templ.empty() ? kDemoTemplateName : templ) + ": " + error);
    std::error_code ec;
    fs::create_directories(chart.parent_path(), ec);
    if (!doc.SaveToFile(chart.string(), &error)) return SendError(res, 500, error);
  }
  std::error_code ec;
  const std::string rel = fs::relative(chart, fs::canonical(server_->options_.dir, ec), ec).generic_string();
  SendJson(res, Reply{200, {{"chart", rel}}});
}

void Server::Impl::Route() {
  http.Get("/", [this](const httplib::Request& req, httplib::Response& res) { Page(req, res, "index.html"); });
  http.Get("/app.js", [this](const httplib::Request& req, httplib::Response& res) { Page(req, res, "app.js"); });
  http.Get("/style.css", [this](const httplib::Request& req, httplib::Response& res) { Page(req, res, "style.css"); });

  Api("GET", "/api/wells", [](const json&, httplib::Response& res) {
    json wells = json::array();
    {
      std::lock_guard module(ModuleMutex());
      for (const std::string& name : CWellDataManager::Instance()->GetWellNames())
        wells.push_back(GbkToUtf8(name));
    }
    SendJson(res, Reply{200, {{"wells", wells}}});
  });
  Api("GET", "/api/charts", [this](const json&, httplib::Response& res) { ListCharts(res); });
  Api("POST", "/api/charts", [this](const json& p, httplib::Response& res) { NewChart(p, res); });

  Api("GET", "/api/state", [this](const json& p, httplib::Response& res) {
    const ViewParams view = ViewOf(p);
    // None known: the marks are sent whatever their version.
    const auto known = Whole<unsigned long long>(Number(p, "marks", -1), ~0ULL);
    WithChart(p, res, [&](ChartSession& s) { SendJson(res, s.State(view, known)); });
  });
  Api("GET", "/api/band", [this](const json& p, httplib::Response& res) {
    const ViewParams view = ViewOf(p);
    const double band = Number(p, "band", -1);
    const double rev = Number(p, "rev", 0);
    WithChart(p, res, [&](ChartSession& s) {
      std::string png;
      const Reply reply = s.Band(view, Whole<int>(band, -1), &png);
      if (reply.status != 200) return SendJson(res, reply);
      // A band of the revision asked for never changes; one of another
      // revision (the chart moved on meanwhile) is not kept.
      const bool current = reply.body["revision"].get<unsigned long long>() == rev;
      res.set_header("Cache-Control", current ? "private, max-age=86400, immutable" : "no-store");
      res.set_content(png, "image/png");
    });
  });
  Api("GET", "/api/outline", [this](const json& p, httplib::Response& res) {
    const ViewParams view = ViewOf(p);
    WithChart(p, res, [&](ChartSession& s) { SendJson(res, s.Outline(view)); });
  });
  Api("POST", "/api/mouse", [this](const json& p, httplib::Response& res) {
    const ViewParams view = ViewOf(p);
    MouseEvent event;
    const std::string type = Text(p, "type");
    if (type == "down") {
      event.type = MouseEvent::kDown;
    } else if (type == "move") {
      event.type = MouseEvent::kMove;
    } else if (type == "up") {
      event.type = MouseEvent::kUp;
    } else if (type == "dblclick") {
      event.type = MouseEvent::kDoubleClick;
    } else if (type == "contextmenu") {
      event.type = MouseEvent::kContextMenu;
    } else {
      return SendError(res, 400, "type: '" + type + "' is not down, move, up, dblclick or contextmenu");
    }
    event.x = std::clamp(Number(p, "x", 0), -1e6, 1e7);
    event.y = std::clamp(Number(p, "y", 0), -1e6, 1e7);
    if (Number(p, "shift", 0) != 0) event.flags |= MK_SHIFT;
    if (Number(p, "ctrl", 0) != 0) event.flags |= MK_CONTROL;
    WithChart(p, res, [&](ChartSession& s) { SendJson(res, s.Mouse(view, event)); });
  });
  Api("POST", "/api/command", [this](const json& p, httplib::Response& res) {
    const ViewParams view = ViewOf(p);
    const double id = Number(p, "id", -1);
    if (!(id > 0 && id < 65536)) return SendError(res, 400, "id: not a menu command");
    std::deque<bool> answers;
    if (auto it = p.find("answers"); it != p.end() && it->is_array())
      for (const json& a : *it) answers.push_back(a.is_boolean() && a.get<bool>());
    WithChart(p, res, [&](ChartSession& s) {
      SendJson(res, s.Command(view, Whole<unsigned>(id, 0), answers));
    });
  });
  Api("POST", "/api/settings", [this](const json& p, httplib::Response& res) {
    const ViewParams view = ViewOf(p);
    const double depth_type = Number(p, "depth_type", -1), scale = Number(p, "scale", -1);
    if (depth_type != std::floor(depth_type) || scale != std::floor(scale) || scale > 1e9)
      return SendError(res, 400, "depth_type and scale are whole numbers");
    WithChart(p, res, [&](ChartSession& s) {
      SendJson(res, s.Settings(view, Whole<int>(depth_type, -1), Whole<int>(scale, -1)));
    });
  });
  Api("POST", "/api/save", [this](const json& p, httplib::Response& res) {
    WithChart(p, res, [&](ChartSession& s) { SendJson(res, s.Save()); });
  });
  Api("GET", "/api/export", [this](const json& p, httplib::Response& res) {
    const std::string format = Text(p, "format");
    const double dpi = Number(p, "dpi", 150);
    WithChart(p, res, [&](ChartSession& s) {
      fs::path file;
      const Reply reply = s.ExportImage(format, dpi, &file);
      if (reply.status != 200) return SendJson(res, reply);
      if (!SendFile(res, file, ContentType(file.string())))
        SendError(res, 500, "cannot read " + file.string());
    });
  });
  Api("POST", "/api/tables", [this](const json& p, httplib::Response& res) {
    const bool utf8 = Number(p, "utf8", 0) != 0;
    WithChart(p, res, [&](ChartSession& s) { SendJson(res, s.ExportTables(utf8)); });
  });
  Api("GET", "/api/download", [this](const json& p, httplib::Response& res) {
    const std::string file = Text(p, "file");
    WithChart(p, res, [&](ChartSession& s) {
      const fs::path path = s.DownloadPath(file);
      if (path.empty() || !SendFile(res, path, ContentType(file)))
        SendError(res, 404, "no file '" + file + "' was written for " + s.name());
    });
  });
}

Server::Server(ServeOptions options) : options_(std::move(options)), impl_(std::make_unique<Impl>(this)) {
  if (options_.token.empty()) options_.token = RandomToken();
  httplib::Server& http = impl_->http;
  http.new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  http.set_payload_max_length(options_.max_body);
  // Answers go out at once: with Nagle's algorithm the body waits behind
  // the headers for the browser's delayed acknowledgement (40 ms a move).
  http.set_tcp_nodelay(true);
  http.set_read_timeout(10, 0);
  http.set_write_timeout(10, 0);
  // Every request shows the token before anything else happens: others
  // are answered 403 before their body is read.
  http.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
    std::string given = req.get_header_value("X-Davodu-Token");
    if (given.empty()) given = req.get_param_value("token");
    if (SameToken(given, options_.token)) return httplib::Server::HandlerResponse::Unhandled;
    res.set_header("Connection", "close");
    SendError(res, 403, "this request does not carry the server's token: open the address "
                        "davodu serve printed when it started");
    return httplib::Server::HandlerResponse::Handled;
  });
  http.set_post_routing_handler([](const httplib::Request&, httplib::Response& res) {
    res.set_header("X-Content-Type-Options", "nosniff");
    res.set_header("X-Frame-Options", "DENY");
    res.set_header("Referrer-Policy", "no-referrer");
    res.set_header("Content-Security-Policy",
                   "default-src 'self'; img-src 'self' data: blob:; frame-ancestors 'none'");
  });
  http.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
    std::string what = "internal error";
    try {
      if (ep) std::rethrow_exception(ep);
    } catch (const std::exception& e) {
      what = e.what();
    } catch (...) {
    }
    SendError(res, 500, what);
  });
  impl_->Route();
}

Server::~Server() { Stop(); }

bool Server::Bind(std::string* error) {
  httplib::Server& http = impl_->http;
  if (options_.port == 0) {
    port_ = http.bind_to_any_port(options_.bind.c_str());
  } else if (http.bind_to_port(options_.bind.c_str(), options_.port)) {
    port_ = options_.port;
  } else {
    port_ = -1;
  }
  if (port_ <= 0) {
    *error = "cannot listen on " + options_.bind + ":" + std::to_string(options_.port) +
             " (in use, or not an address of this machine)";
    return false;
  }
  return true;
}

void Server::Run() { impl_->http.listen_after_bind(); }

void Server::Stop() {
  if (impl_->http.is_running()) impl_->http.stop();
}

std::string Server::Url() const {
  const bool v6 = options_.bind.find(':') != std::string::npos;
  const std::string host = v6 ? "[" + options_.bind + "]" : options_.bind;
  return "http://" + host + ":" + std::to_string(port_) + "/?token=" + options_.token;
}

std::shared_ptr<ChartSession> Server::Session(const std::string& chart, int* status,
                                              std::string* error) {
  fs::path path;
  if (!ResolveInside(options_.dir, chart, ".wpd", &path, error)) {
    *status = 403;
    return nullptr;
  }
  std::lock_guard lock(sessions_mutex_);
  auto it = sessions_.find(path.string());
  if (it != sessions_.end()) return it->second;
  if (!fs::is_regular_file(path)) {
    *status = 404;
    *error = chart + ": no such chart document";
    return nullptr;
  }
  const fs::path work = options_.work_dir / ("chart-" + std::to_string(++session_count_));
  std::shared_ptr<ChartSession> session = ChartSession::Open(path, chart, work, error);
  if (!session) {
    *status = 422;
    return nullptr;
  }
  sessions_.emplace(path.string(), session);
  return session;
}

}  // namespace davodu::serve
