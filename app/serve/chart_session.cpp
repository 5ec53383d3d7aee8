#include "serve/chart_session.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <fstream>
#include <functional>
#include <sstream>
#include <system_error>
#include <utility>

#include <boost/archive/iterators/base64_from_binary.hpp>
#include <boost/archive/iterators/transform_width.hpp>

#include "davodu/host/dialogs/dialogs.h"
#include "davodu/host/graphics/cairo_dc.h"
#include "davodu/host/graphics/render.h"
#include "davodu/host/objects/view.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_object.h"
#include "davodu/host/util/gbk.h"
#include "davodu/interval/wp_segment.h"
#include "davodu/kits/wp_kit.h"
#include "davodu/well/wp_well.h"

namespace davodu::serve {

namespace fs = std::filesystem;
using json = nlohmann::json;

namespace {

// White paper around the chart, as in rendered files (5 mm).
constexpr double kMargin = 500;
// Marks just outside the part a browser shows are drawn too, so that a
// small scroll does not uncover a gap (CSS pixels).
constexpr double kMarksPad = 256;
// Browsers remembered per chart; the one seen longest ago goes first.
constexpr std::size_t kMaxClients = 32;

std::string Base64(const std::string& bytes) {
  using namespace boost::archive::iterators;
  using Encoder = base64_from_binary<transform_width<std::string::const_iterator, 6, 8>>;
  std::string out(Encoder(bytes.begin()), Encoder(bytes.end()));
  out.append((3 - bytes.size() % 3) % 3, '=');
  return out;
}

const char* CursorName(int cursor) {
  switch (cursor) {
    case IDC_SIZEALL:
      return "move";
    case IDC_SIZEWE:
      return "ew-resize";
    case IDC_SIZENS:
      return "ns-resize";
    case IDC_CROSS:
      return "crosshair";
    case IDC_DROP:
      return "copy";
    default:
      return "default";
  }
}

json MenuJson(const std::vector<MenuItem>& menu) {
  json items = json::array();
  for (const MenuItem& item : menu) items.push_back({{"id", item.id}, {"text", GbkToUtf8(item.text)}});
  return items;
}

// The dialogs of a command run for a browser: save dialogs write into the
// session's export folder (the page offers the files for download), open
// dialogs are cancelled (the server reads no file it is not asked for by
// name), questions are answered from the browser's answers and the first
// one beyond them is answered no and kept, messages are kept.
class ServeDialogs : public HostDialogs {
 public:
  ServeDialogs(const fs::path& dir, std::deque<bool> answers)
      : files_(dir.string(), false), answers_(std::move(answers)) {}

  bool FileDialog(const FileDialogRequest& request, std::string* path) override {
    if (!files_.FileDialog(request, path)) return false;
    paths.push_back(*path);
    return true;
  }
  bool AskYesNo(const std::string& gbk_message) override {
    if (!answers_.empty()) {
      const bool yes = answers_.front();
      answers_.pop_front();
      return yes;
    }
    if (question.empty()) question = GbkToUtf8(gbk_message);
    return false;
  }
  void Message(const std::string& gbk_message) override { messages.push_back(GbkToUtf8(gbk_message)); }
  CProcessDialog& Progress() override { return files_.Progress(); }

  std::vector<std::string> paths;
  std::string question;  // UTF-8; empty: none went unanswered
  std::vector<std::string> messages;

 private:
  ConsoleDialogs files_;
  std::deque<bool> answers_;
};

std::vector<CWpWell*> WellsOfDocument(const CZuMapFile& doc) {
  std::vector<CWpWell*> wells;
  for (int m = 0; m < doc.GetMapCount(); ++m)
    if (CZuMap* map = doc.GetMap(m))
      for (int l = 0; l < map->GetLayerCount(); ++l)
        for (CZuObject* obj : map->GetLayer(l)->GetObjectList())
          if (auto* well = dynamic_cast<CWpWell*>(obj)) wells.push_back(well);
  return wells;
}

// A document read from bytes with its data loaded: the copy exports work on.
bool LoadCopy(const std::string& bytes, const std::string& name, CZuMapFile* copy,
              std::string* error) {
  if (!copy->ReadFromData(bytes, name, error)) return false;
  for (CWpWell* well : WellsOfDocument(*copy)) well->LoadChartData();
  return true;
}

bool ReadWhole(const fs::path& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *bytes = s.str();
  return static_cast<bool>(in) || in.eof();
}

}  // namespace

std::mutex& ModuleMutex() {
  static std::mutex mutex;
  return mutex;
}

void ViewParams::Normalize() {
  auto clamp = [](double v, double lo, double hi, double fallback) {
    return std::isfinite(v) ? std::clamp(v, lo, hi) : fallback;
  };
  // Rounded so that browsers at the same zoom share one layout.
  zoom = std::round(clamp(zoom, 0.1, 8, 1) * 1000) / 1000;
  ratio = std::round(clamp(ratio, 0.5, 4, 1) * 100) / 100;
  left = clamp(left, 0, 1e7, 0);
  top = clamp(top, 0, 1e7, 0);
  width = clamp(width, 1, 8192, 1920);
  height = clamp(height, 1, 8192, 1080);
  const bool plain = !client.empty() && client.size() <= 64 &&
                     std::all_of(client.begin(), client.end(), [](char c) {
                       return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
                     });
  if (!plain) client = "browser";
}

// ---------------------------------------------------------------- opening

ChartSession::ChartSession(fs::path path, std::string name, fs::path work_dir)
    : path_(std::move(path)),
      name_(std::move(name)),
      work_dir_(std::move(work_dir)),
      measurer_(CairoDC::CreateRaster(CRect{0, 1, 1, 0}, 1, nullptr)),
      marks_(measurer_.get()) {}

ChartSession::~ChartSession() {
  std::lock_guard module(ModuleMutex());
  clients_.clear();
  doc_.Clear();
}

std::unique_ptr<ChartSession> ChartSession::Open(const fs::path& path, const std::string& name,
                                                 const fs::path& work_dir, std::string* error) {
  std::lock_guard module(ModuleMutex());
  std::unique_ptr<ChartSession> session(new ChartSession(path, name, work_dir));
  if (!session->Load(error)) return nullptr;
  return session;
}

bool ChartSession::Load(std::string* error) {
  std::string bytes;
  if (!ReadWhole(path_, &bytes)) {
    *error = name_ + ": cannot read the chart document";
    return false;
  }
  // Read into a probe first: a damaged file must not empty a chart that is
  // open already.
  {
    CZuMapFile probe;
    if (!probe.ReadFromData(bytes, name_, error)) return false;
    if (WellsOfDocument(probe).empty()) {
      *error = name_ + ": the document holds no well chart";
      return false;
    }
  }
  for (auto& [id, client] : clients_) client.view->Forget();
  gesture_client_.clear();
  if (!doc_.ReadFromData(bytes, name_, error)) return false;
  marks_.Clear();
  CZuMap* map = doc_.GetActiveMap();
  file_zoom_ = map ? map->GetZoomFactor() : 1;
  for (CWpWell* well : Wells()) well->LoadChartData();
  doc_.ClearInvalidRects();
  layout_zoom_ = 0;
  current_bytes_ = saved_bytes_ = Serialize();
  std::error_code ec;
  file_time_ = fs::last_write_time(path_, ec);
  file_size_ = fs::file_size(path_, ec);
  disk_conflict_ = false;
  ++revision_;
  return true;
}

std::vector<CWpWell*> ChartSession::Wells() const { return WellsOfDocument(doc_); }

void ChartSession::AtFileZoom(const std::function<void()>& fn) {
  // The zoom is the browsers', not the document's: the map and the root
  // objects (a well stores its own) are written with the zoom they were
  // read with. Only the fields change; no draw node is built meanwhile.
  CZuMap* map = doc_.GetActiveMap();
  if (!map) return fn();
  const double zoom = map->GetZoomFactor();
  std::vector<std::pair<CZuObject*, double>> roots;
  map->SetZoomFactor(file_zoom_);
  for (int i = 0; i < map->GetLayerCount(); ++i)
    for (CZuObject* obj : map->GetLayer(i)->GetObjectList()) {
      roots.emplace_back(obj, obj->GetZoomFactor());
      obj->CZuObject::SetZoomFactor(file_zoom_);
    }
  fn();
  for (auto& [obj, z] : roots) obj->CZuObject::SetZoomFactor(z);
  map->SetZoomFactor(zoom);
}

std::string ChartSession::Serialize() {
  std::string bytes;
  AtFileZoom([&] { bytes = doc_.SaveToData(); });
  return bytes;
}

// ---------------------------------------------------------------- views

ChartSession::Client& ChartSession::ClientOf(const std::string& id) {
  auto it = clients_.find(id);
  if (it == clients_.end()) {
    if (clients_.size() >= kMaxClients) {
      auto oldest = clients_.end();
      for (auto c = clients_.begin(); c != clients_.end(); ++c)
        if (c->first != gesture_client_ &&
            (oldest == clients_.end() || c->second.last_seen < oldest->second.last_seen))
          oldest = c;
      if (oldest != clients_.end()) clients_.erase(oldest);
    }
    it = clients_.emplace(id, Client{}).first;
    it->second.view = std::make_unique<ChartView>(&doc_, &marks_);
  }
  it->second.last_seen = std::chrono::steady_clock::now();
  return it->second;
}

ChartSession::Client* ChartSession::GestureOwner() {
  if (gesture_client_.empty()) return nullptr;
  auto it = clients_.find(gesture_client_);
  if (it == clients_.end() || !it->second.view->GetCapturedObject()) {
    gesture_client_.clear();
    return nullptr;
  }
  if (std::chrono::steady_clock::now() - gesture_seen_ > kStaleGesture) {
    // The browser went away in the middle of a drag: the gesture ends
    // where its mouse last was, as a release there would end it.
    it->second.view->LButtonUp(gesture_point_, 0);
    it->second.view->SetCursor(IDC_ARROW);
    gesture_client_.clear();
    AfterChange();
    RepaintMarks();
    return nullptr;
  }
  return &it->second;
}

void ChartSession::ForgetOtherMenus(const Client* except) {
  for (auto& [id, client] : clients_) {
    if (&client == except) continue;
    client.view->Forget();
    client.has_menu = false;
  }
}

void ChartSession::EnsureLayout(double zoom) {
  CZuMap* map = doc_.GetActiveMap();
  if (!map) return;
  const FLOATRECT r = map->GetMapRect();
  const FLOATRECT extent{r.left - kMargin, r.top + kMargin, r.right + kMargin, r.bottom - kMargin};
  if (zoom == layout_zoom_ && extent == extent_) return;
  extent_ = extent;
  layout_zoom_ = zoom;
  const double z = kCssPixelsPerMapUnit * zoom;
  map->SetZoomFactor(z);
  map->SetOrigin(FLOATPOINT{extent.left, extent.top});
  // Every kit of the tree takes the zoom and builds its draw nodes again.
  for (int i = 0; i < map->GetLayerCount(); ++i)
    for (CZuObject* obj : map->GetLayer(i)->GetObjectList()) {
      obj->SetZoomFactor(z);
      obj->BuildControlNodePointArray();
    }
  doc_.ClearInvalidRects();
  RepaintMarks();
}

int ChartSession::CssWidth(double zoom) const {
  return std::max(1, static_cast<int>(std::ceil((extent_.right - extent_.left) *
                                                kCssPixelsPerMapUnit * zoom)));
}

int ChartSession::CssHeight(double zoom) const {
  return std::max(1, static_cast<int>(std::ceil((extent_.top - extent_.bottom) *
                                                kCssPixelsPerMapUnit * zoom)));
}

CPoint ChartSession::ToDraw(double x, double y) const {
  return CPoint{static_cast<int>(std::lround(x)), -static_cast<int>(std::lround(y))};
}

void ChartSession::RepaintMarks() {
  marks_.Clear();
  CZuMap* map = doc_.GetActiveMap();
  if (!map) return;
  for (int i = 0; i < map->GetLayerCount(); ++i)
    for (CZuObject* obj : map->GetLayer(i)->GetSelectedObjects())
      obj->DrawSelectedMark(&marks_, nullptr);
}

bool ChartSession::AfterChange() {
  bool changed = !doc_.GetInvalidRects().empty();
  doc_.ClearInvalidRects();
  // In the middle of a gesture the kits hold half-made changes: the
  // document is compared once the gesture ends.
  if (!gesture_client_.empty()) {
    if (changed) ++revision_;
    return changed;
  }
  std::string bytes = Serialize();
  if (bytes != current_bytes_) {
    current_bytes_ = std::move(bytes);
    changed = true;
  }
  if (!changed) return false;
  ++revision_;
  if (layout_zoom_ > 0) EnsureLayout(layout_zoom_);
  return true;
}

// ---------------------------------------------------------------- answers

json ChartSession::StateBody(const ViewParams& view) {
  json wells = json::array();
  int depth_type = 0, scale = 0;
  for (CWpWell* well : Wells()) {
    if (wells.empty()) {
      depth_type = well->GetDepthType();
      scale = well->GetDepthScale();
    }
    wells.push_back(GbkToUtf8(well->GetName()));
  }
  const int height = CssHeight(view.zoom);
  return json{{"chart", name_},
              {"revision", revision_},
              {"zoom", view.zoom},
              {"width", CssWidth(view.zoom)},
              {"height", height},
              {"band_height", kBandHeight},
              {"bands", (height + kBandHeight - 1) / kBandHeight},
              {"dirty", current_bytes_ != saved_bytes_},
              {"conflict", disk_conflict_},
              {"busy", !gesture_client_.empty() && gesture_client_ != view.client},
              {"depth_type", depth_type},
              {"scale", scale},
              {"wells", wells},
              {"marks_version", marks_.version()}};
}

json ChartSession::MarksOverlay(const ViewParams& view) {
  // Marks are in the draw units of the present layout: a browser at
  // another zoom gets them once the layout is its own again.
  if (marks_.marks().empty() || view.zoom != layout_zoom_) return nullptr;
  const CRect b = marks_.Bounds();
  // In CSS pixels from the chart's top-left (draw Y is CSS Y negated).
  const double x0 = std::max<double>(b.left, view.left - kMarksPad);
  const double x1 = std::min<double>(b.right, view.left + view.width + kMarksPad);
  const double y0 = std::max<double>(-b.top, view.top - kMarksPad);
  const double y1 = std::min<double>(-b.bottom, view.top + view.height + kMarksPad);
  if (!(x1 > x0 && y1 > y0)) return nullptr;
  const CRect page{static_cast<int>(std::floor(x0)), -static_cast<int>(std::floor(y0)),
                   static_cast<int>(std::ceil(x1)), -static_cast<int>(std::ceil(y1))};
  std::string error, png;
  std::unique_ptr<CairoDC> dc = CairoDC::CreateRaster(page, view.ratio, &error);
  if (!dc) return nullptr;
  dc->Clear(0x000000);
  marks_.DrawMarks(dc.get());
  if (!dc->EncodePng(&png, &error)) return nullptr;
  return json{{"x", page.left},
              {"y", -page.top},
              {"width", page.Width()},
              {"height", page.Height()},
              {"png", Base64(png)}};
}

bool ChartSession::Poll() {
  std::lock_guard module(ModuleMutex());
  // No polling in the middle of a drag: data reloaded under a gesture
  // would pull the segments from under it.
  if (GestureOwner()) return false;
  for (CWpWell* well : Wells()) well->OnIdle();
  bool changed = AfterChange();

  std::error_code ec;
  const fs::file_time_type time = fs::last_write_time(path_, ec);
  const std::uintmax_t size = ec ? 0 : fs::file_size(path_, ec);
  if (!ec && (time != file_time_ || size != file_size_)) {
    file_time_ = time;
    file_size_ = size;
    if (current_bytes_ != saved_bytes_) {
      disk_conflict_ = true;
    } else {
      const double zoom = layout_zoom_;
      std::string error;
      if (Load(&error)) {
        if (zoom > 0) EnsureLayout(zoom);
        changed = true;
      }
    }
  }
  if (changed) RepaintMarks();
  return changed;
}

Reply ChartSession::State(const ViewParams& view, unsigned long long known_marks) {
  Poll();
  std::lock_guard module(ModuleMutex());
  ClientOf(view.client);
  if (!GestureOwner() || layout_zoom_ == view.zoom) EnsureLayout(view.zoom);
  Reply reply{200, StateBody(view)};
  if (known_marks != marks_.version() && view.zoom == layout_zoom_)
    reply.body["marks"] = MarksOverlay(view);
  return reply;
}

Reply ChartSession::Band(const ViewParams& view, int band, std::string* png) {
  std::unique_lock module(ModuleMutex());
  if (GestureOwner() && layout_zoom_ != view.zoom)
    return Reply::Error(409, "another browser is dragging at another zoom");
  EnsureLayout(view.zoom);
  const int width = CssWidth(view.zoom), height = CssHeight(view.zoom);
  if (band < 0 || static_cast<long long>(band) * kBandHeight >= height)
    return Reply::Error(404, "no band " + std::to_string(band) + " in " + name_);
  const CRect window{0, -band * kBandHeight, width, -std::min(height, (band + 1) * kBandHeight)};
  std::string error;
  std::unique_ptr<CairoDC> dc = CairoDC::CreateRaster(window, view.ratio, &error);
  if (!dc) return Reply::Error(400, name_ + ": " + error);
  PaintDC paint(dc.get());
  DrawWindow(&doc_, &paint, window);
  const unsigned long long revision = revision_;
  module.unlock();
  if (!dc->EncodePng(png, &error)) return Reply::Error(500, error);
  return Reply{200, {{"revision", revision}}};
}

Reply ChartSession::Outline(const ViewParams& view) {
  std::lock_guard module(ModuleMutex());
  if (!GestureOwner() || layout_zoom_ == view.zoom) EnsureLayout(view.zoom);
  const CCoordTranslator& tr = doc_.GetActiveMap()->GetTranslator();
  auto css_x = [&](double x) { return tr.MapXToDrawX(x); };
  auto css_y = [&](double y) { return -tr.MapYToDrawY(y); };
  auto box = [&](const CWpKit* kit) {
    return json{{"class", kit->GetClassName()},
                {"name", GbkToUtf8(kit->GetName())},
                {"title", GbkToUtf8(kit->GetTitleText())},
                {"left", css_x(kit->MapNode(0).x)},
                {"right", css_x(kit->MapNode(1).x)},
                {"head_top", css_y(kit->MapNode(4).y)},
                {"client_top", css_y(kit->MapNode(2).y)},
                {"body_top", css_y(kit->MapNode(0).y)},
                {"body_bottom", css_y(kit->MapNode(10).y)},
                // The handles a drag starts from: the left and right edges,
                // the top of the title band and of the client band.
                {"handles",
                 {{"left", {kit->DrawNode(6).x, -kit->DrawNode(6).y}},
                  {"right", {kit->DrawNode(7).x, -kit->DrawNode(7).y}},
                  {"title_top", {kit->DrawNode(8).x, -kit->DrawNode(8).y}},
                  {"client_top", {kit->DrawNode(9).x, -kit->DrawNode(9).y}}}}};
  };
  json wells = json::array();
  for (CWpWell* well : Wells()) {
    json w = box(well);
    json tracks = json::array();
    for (const CWpKit* track : well->GetChildren()) {
      json t = box(track);
      json contents = json::array();
      for (const CWpKit* content : track->GetChildren()) {
        json c = box(content);
        if (const auto* seg = dynamic_cast<const CWpSegment*>(content)) {
          json segments = json::array();
          for (int i = 0; i < seg->GetSegCount(); ++i) {
            const WPSEGMENT& s = seg->GetSeg(i);
            segments.push_back({{"top", css_y(s.top)},
                                {"bottom", css_y(s.bottom)},
                                {"top_depth", s.top_depth},
                                {"bottom_depth", s.bottom_depth}});
          }
          c["segments"] = segments;
        }
        contents.push_back(c);
      }
      t["contents"] = contents;
      tracks.push_back(t);
    }
    w["tracks"] = tracks;
    wells.push_back(w);
  }
  return Reply{200, {{"revision", revision_}, {"wells", wells}}};
}

// ---------------------------------------------------------------- events

Reply ChartSession::Mouse(const ViewParams& view, const MouseEvent& event) {
  std::unique_lock module(ModuleMutex());
  Client& me = ClientOf(view.client);
  Client* owner = GestureOwner();
  if (owner && owner != &me) {
    if (event.type == MouseEvent::kMove) return Reply{200, StateBody(view)};
    return Reply::Error(409, "another browser is editing this chart; try again when it lets go");
  }
  if (owner && layout_zoom_ != view.zoom)
    return Reply::Error(409, "the zoom changed in the middle of a drag");
  EnsureLayout(view.zoom);
  ChartView& v = *me.view;
  const CPoint p = ToDraw(event.x, event.y);
  const unsigned modifiers = event.flags & (MK_SHIFT | MK_CONTROL);
  json extra = json::object();
  switch (event.type) {
    case MouseEvent::kDown: {
      ForgetOtherMenus(&me);
      me.has_menu = false;
      // A release the page never sent ends the old gesture first.
      if (v.GetCapturedObject()) v.LButtonUp(gesture_point_, modifiers);
      // The selection is painted before the press reaches the object, as a
      // desktop view paints it when the object is picked.
      CZuObject* hit = v.ObjectAt(p);
      CZuMap* map = doc_.GetActiveMap();
      for (int i = 0; i < map->GetLayerCount(); ++i) map->GetLayer(i)->ClearSelection();
      if (hit && hit->GetLayer()) hit->GetLayer()->SetSelectedObject(hit);
      RepaintMarks();
      v.SetCursor(IDC_ARROW);
      if (v.LButtonDown(p, modifiers | MK_LBUTTON)) {
        gesture_client_ = view.client;
        gesture_seen_ = std::chrono::steady_clock::now();
        gesture_point_ = p;
      }
      if (AfterChange()) RepaintMarks();
      break;
    }
    case MouseEvent::kMove:
      if (!v.GetCapturedObject()) break;
      v.MouseMove(p, modifiers | MK_LBUTTON);
      gesture_seen_ = std::chrono::steady_clock::now();
      gesture_point_ = p;
      // A kit that redraws itself while dragging (a text block following
      // the mouse) shows it at once; the document is compared on release.
      if (!doc_.GetInvalidRects().empty()) {
        doc_.ClearInvalidRects();
        ++revision_;
      }
      break;
    case MouseEvent::kUp:
      if (v.GetCapturedObject()) v.LButtonUp(p, modifiers);
      gesture_client_.clear();
      v.SetCursor(IDC_ARROW);
      AfterChange();
      RepaintMarks();
      break;
    case MouseEvent::kDoubleClick:
      ForgetOtherMenus(&me);
      me.has_menu = false;
      v.LButtonDblClk(p, modifiers | MK_LBUTTON);
      AfterChange();
      RepaintMarks();
      break;
    case MouseEvent::kContextMenu: {
      const std::vector<MenuItem> menu = v.RightClick(p, modifiers | MK_RBUTTON);
      me.has_menu = !menu.empty();
      me.menu_point = p;
      extra["menu"] = MenuJson(menu);
      if (AfterChange()) RepaintMarks();
      break;
    }
  }
  Reply reply{200, StateBody(view)};
  reply.body.update(extra);
  reply.body["cursor"] = CursorName(v.GetCursor());
  module.unlock();
  reply.body["marks"] = MarksOverlay(view);
  return reply;
}

Reply ChartSession::Command(const ViewParams& view, unsigned id, const std::deque<bool>& answers) {
  std::unique_lock module(ModuleMutex());
  Client& me = ClientOf(view.client);
  if (Client* owner = GestureOwner(); owner && owner != &me)
    return Reply::Error(409, "another browser is editing this chart; try again when it lets go");
  if (!me.has_menu) return Reply::Error(409, "the menu is out of date: right-click again");
  EnsureLayout(view.zoom);
  // A command sent again with the answer to its question finds its object
  // by asking for the menu at the same place (the "no" changed nothing).
  if (!me.view->GetMenuOwner()) me.view->RightClick(me.menu_point, MK_RBUTTON);
  ForgetOtherMenus(&me);
  const fs::path dir = NextExportDir();
  ServeDialogs dialogs(dir, answers);
  HostDialogs* previous = AfxSetDialogs(&dialogs);
  me.view->Command(id);
  AfxSetDialogs(previous);
  // The menu stays valid for a retry only when its question went unanswered.
  me.has_menu = !dialogs.question.empty();
  AfterChange();
  RepaintMarks();
  Reply reply{200, StateBody(view)};
  json files = json::array();
  for (const std::string& path : dialogs.paths) {
    if (!fs::exists(path)) continue;
    downloads_.push_back(path);
    files.push_back(fs::path(path).filename().string());
  }
  reply.body["files"] = files;
  reply.body["messages"] = dialogs.messages;
  if (!dialogs.question.empty()) reply.body["question"] = dialogs.question;
  module.unlock();
  reply.body["marks"] = MarksOverlay(view);
  return reply;
}

Reply ChartSession::Settings(const ViewParams& view, int depth_type, int scale) {
  std::unique_lock module(ModuleMutex());
  Client& me = ClientOf(view.client);
  if (Client* owner = GestureOwner(); owner && owner != &me)
    return Reply::Error(409, "another browser is editing this chart; try again when it lets go");
  if (depth_type >= 0 && depth_type > CWpWell::kDepthAltitude)
    return Reply::Error(400, "depth type " + std::to_string(depth_type) + " is not 0 (MD), 1 (TVD) or 2 (altitude)");
  if (scale >= 0 && (scale < 1 || scale > 100000))
    return Reply::Error(400, "scale 1:" + std::to_string(scale) + " is outside 1:1 to 1:100000");
  ForgetOtherMenus(nullptr);
  for (CWpWell* well : Wells()) {
    if (depth_type >= 0) well->SetDepthType(depth_type);
    if (scale > 0 && scale != well->GetDepthScale()) {
      well->SetDepthScale(scale);
      well->LoadChartData();
    }
  }
  AfterChange();
  EnsureLayout(view.zoom);
  RepaintMarks();
  Reply reply{200, StateBody(view)};
  module.unlock();
  reply.body["marks"] = MarksOverlay(view);
  return reply;
}

Reply ChartSession::Save() {
  std::lock_guard module(ModuleMutex());
  std::string error;
  bool ok = false;
  AtFileZoom([&] { ok = doc_.SaveToFile(path_.string(), &error); });
  if (!ok) return Reply::Error(500, error);
  saved_bytes_ = current_bytes_ = Serialize();
  std::error_code ec;
  file_time_ = fs::last_write_time(path_, ec);
  file_size_ = fs::file_size(path_, ec);
  disk_conflict_ = false;
  return Reply{200, {{"saved", name_}, {"dirty", false}}};
}

// ---------------------------------------------------------------- exports

fs::path ChartSession::NextExportDir() {
  const fs::path dir = work_dir_ / ("export-" + std::to_string(++export_count_));
  std::error_code ec;
  fs::create_directories(dir, ec);
  return dir;
}

Reply ChartSession::ExportImage(const std::string& format, double dpi, fs::path* file) {
  if (format != "png" && format != "svg" && format != "pdf")
    return Reply::Error(400, "unknown image format '" + format + "' (png, svg or pdf)");
  if (!(dpi >= 10 && dpi <= 1200)) return Reply::Error(400, "impossible resolution " + std::to_string(dpi) + " dpi");
  std::lock_guard module(ModuleMutex());
  CZuMapFile copy;
  std::string error;
  if (!LoadCopy(Serialize(), name_, &copy, &error)) return Reply::Error(500, error);
  *file = NextExportDir() / (fs::path(name_).stem().string() + "." + format);
  RenderOptions options;
  options.dpi = dpi;
  if (!RenderDocument(&copy, file->string(), options, &error)) return Reply::Error(500, error);
  downloads_.push_back(*file);
  return Reply{200, {{"file", file->filename().string()}}};
}

Reply ChartSession::ExportTables(bool utf8) {
  std::lock_guard module(ModuleMutex());
  CZuMapFile copy;
  std::string error;
  if (!LoadCopy(Serialize(), name_, &copy, &error)) return Reply::Error(500, error);
  const fs::path dir = NextExportDir();
  ServeDialogs dialogs(dir, {});
  HostDialogs* previous = AfxSetDialogs(&dialogs);
  for (CWpWell* well : WellsOfDocument(copy)) well->ExportData();
  AfxSetDialogs(previous);
  json files = json::array();
  for (const std::string& path : dialogs.paths) {
    if (!fs::exists(path)) continue;
    if (utf8) {
      std::string text;
      if (ReadWhole(path, &text)) std::ofstream(path, std::ios::binary | std::ios::trunc) << GbkToUtf8(text);
    }
    downloads_.push_back(path);
    files.push_back(fs::path(path).filename().string());
  }
  if (files.empty()) return Reply::Error(404, name_ + ": the chart has nothing to export");
  return Reply{200, {{"files", files}}};
}

fs::path ChartSession::DownloadPath(const std::string& file_name) const {
  // The newest file of that name: names repeat from one export to the next.
  for (auto it = downloads_.rbegin(); it != downloads_.rend(); ++it)
    if (it->filename().string() == file_name) return *it;
  return {};
}

}  // namespace davodu::serve
