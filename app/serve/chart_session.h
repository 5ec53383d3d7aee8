// ChartSession: one chart document open in the server, edited through the
// kits' own gestures and menus by one or more browsers.
//
// The session holds the document with its data loaded (the one load order,
// CWpWell::LoadChartData), a ChartView per browser (its gesture and its
// menu), and the marks of the interactive view (MarkLayer). Browsers see
// the chart as horizontal bands of rendered images, drawn at their zoom
// (draw units are CSS pixels at that zoom, so the kits' handles are as big
// as on a desktop) and their device pixel ratio; they lay the marks over
// them as one more image. Every change to the drawing (an edit, a depth
// type or scale switch, a data change seen by the idle poll, the file
// replaced on disk) grows the revision, and the browsers fetch the bands
// of the new revision.
//
// Contract for callers: every method is called with mutex() held (the
// document lock), so one request edits a document at a time. Inside, every
// call into the kits, the well database and the host dialogs also holds
// ModuleMutex(): those are shared by all documents of the process and are
// not made for threads. PNG encoding runs outside the module lock.
//
// Two browsers on one chart share the document: both see every change. One
// gesture runs at a time: while a browser drags, the others' presses and
// commands are refused as busy (a gesture left for kStaleGesture ends
// where its mouse last was). Any change made through one browser forgets
// the menus the others have open, whose objects it may have deleted.
#ifndef DAVODU_APP_SERVE_CHART_SESSION_H_
#define DAVODU_APP_SERVE_CHART_SESSION_H_

#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "davodu/host/objects/chart_view.h"
#include "davodu/host/objects/zu_map_file.h"
#include "serve/view_devices.h"

namespace davodu {
class CairoDC;
class CWpWell;
}  // namespace davodu

namespace davodu::serve {

// The lock of everything the documents of the process share (see above).
std::mutex& ModuleMutex();

// CSS pixels per map unit at zoom 1: a chart at its paper size on a screen
// of 96 pixels an inch.
constexpr double kCssPixelsPerMapUnit = 96.0 / 2540.0;
// Height of one band of the chart's image, in CSS pixels.
constexpr int kBandHeight = 512;
// A gesture without an event for this long ends (see above).
constexpr std::chrono::seconds kStaleGesture{10};

// How a browser looks at the chart: its zoom (1: paper size), its device
// pixel ratio, and the part of the chart it shows, in CSS pixels from the
// chart's top-left corner. Values out of range are clamped by Normalize.
struct ViewParams {
  std::string client;  // the browser's own random identifier
  double zoom = 1;
  double ratio = 1;
  double left = 0, top = 0, width = 1920, height = 1080;

  void Normalize();
};

// A mouse event in CSS pixels from the chart's top-left corner.
struct MouseEvent {
  enum Type { kDown, kMove, kUp, kDoubleClick, kContextMenu };
  Type type = kMove;
  double x = 0, y = 0;
  unsigned flags = 0;  // MK_SHIFT, MK_CONTROL (the buttons are added here)
};

// An answer: an HTTP status and a JSON body ({"error": ...} when failed).
struct Reply {
  int status = 200;
  nlohmann::json body = nlohmann::json::object();

  static Reply Error(int status, const std::string& message) {
    return Reply{status, {{"error", message}}};
  }
};

class ChartSession {
 public:
  // Opens the document at path (name: as the page shows it, relative to
  // the charts folder) and loads its data. Null with *error set when the
  // file is not a chart document or holds no well chart. work_dir: a
  // folder of the session's own for the files its exports write.
  static std::unique_ptr<ChartSession> Open(const std::filesystem::path& path,
                                            const std::string& name,
                                            const std::filesystem::path& work_dir,
                                            std::string* error);
  ~ChartSession();
  ChartSession(const ChartSession&) = delete;
  ChartSession& operator=(const ChartSession&) = delete;

  // The document lock.
  std::mutex& mutex() { return mutex_; }
  const std::string& name() const { return name_; }

  // The idle poll, as a desktop host runs it when idle: the wells poll
  // their data (tables another process changed notify their kits), and a
  // file replaced on disk is read again when there is nothing unsaved.
  // Returns true when the drawing changed.
  bool Poll();

  // The chart's state for a browser: revision, size, unsaved changes, depth
  // type and scale, whether another browser is dragging; with the marks
  // overlay when known_marks differs from the present marks.
  Reply State(const ViewParams& view, unsigned long long known_marks);
  // One band of the chart's image as PNG bytes.
  Reply Band(const ViewParams& view, int band, std::string* png);
  // The tracks and contents with their rectangles in CSS pixels (and the
  // intervals of interval columns), for the page's status line.
  Reply Outline(const ViewParams& view);

  Reply Mouse(const ViewParams& view, const MouseEvent& event);
  // The command chosen from the browser's last menu. A question the kit
  // asks is answered from answers in order; when they run out it is
  // answered no and returned, so that the page can ask the user and send
  // the command again with the answer (answering no changes nothing).
  Reply Command(const ViewParams& view, unsigned id, const std::deque<bool>& answers);
  // Depth type (0 MD, 1 TVD, 2 altitude) and scale 1:n of every well.
  Reply Settings(const ViewParams& view, int depth_type, int scale);
  // Saves the document (atomically).
  Reply Save();

  // The chart as an image file (png, svg or pdf) as it is now, saved or
  // not; *file names the file written in the session's folder.
  Reply ExportImage(const std::string& format, double dpi, std::filesystem::path* file);
  // The chart's text tables, written in the session's folder; the body
  // lists the file names.
  Reply ExportTables(bool utf8);
  // A file written by an export or a command of this session; empty when
  // no such file was written.
  std::filesystem::path DownloadPath(const std::string& file_name) const;

  // For tests and the benchmark.
  CZuMapFile& document() { return doc_; }
  unsigned long long revision() const { return revision_; }
  const MarkLayer& marks() const { return marks_; }

 private:
  struct Client {
    std::unique_ptr<ChartView> view;
    std::chrono::steady_clock::time_point last_seen;
    CPoint menu_point;  // where its last menu was asked for
    bool has_menu = false;
  };

  ChartSession(std::filesystem::path path, std::string name, std::filesystem::path work_dir);

  bool Load(std::string* error);
  std::vector<CWpWell*> Wells() const;
  Client& ClientOf(const std::string& id);
  // The browser dragging now, or null; a stale gesture is ended first.
  Client* GestureOwner();
  // Lays the chart out for a zoom when it is not laid out for it (or its
  // extent moved); the marks are drawn again after a new layout.
  void EnsureLayout(double zoom);
  // After an event: grows the revision when the drawing changed, lays out
  // again and draws the marks of the selection. Returns true on a change.
  bool AfterChange();
  void RepaintMarks();
  // Runs fn (which writes the document) with the zoom the file was read
  // with in force.
  void AtFileZoom(const std::function<void()>& fn);
  // The document's bytes as they would be saved.
  std::string Serialize();
  // Size of the chart's image in CSS pixels at a zoom.
  int CssWidth(double zoom) const;
  int CssHeight(double zoom) const;
  CPoint ToDraw(double x, double y) const;
  // The marks over the part of the chart a browser shows, as JSON with a
  // PNG in base64 (null when none are there).
  nlohmann::json MarksOverlay(const ViewParams& view);
  nlohmann::json StateBody(const ViewParams& view);
  // Other browsers forget their menus (before a change by `except`).
  void ForgetOtherMenus(const Client* except);
  std::filesystem::file_time_type FileTime() const;
  std::filesystem::path NextExportDir();

  std::mutex mutex_;
  std::filesystem::path path_;
  std::string name_;
  std::filesystem::path work_dir_;
  int export_count_ = 0;
  std::vector<std::filesystem::path> downloads_;

  std::unique_ptr<CairoDC> measurer_;  // measures texts for the mark layer
  MarkLayer marks_;
  CZuMapFile doc_;
  std::map<std::string, Client> clients_;
  std::string gesture_client_;  // empty: no gesture in progress
  std::chrono::steady_clock::time_point gesture_seen_;
  CPoint gesture_point_;

  double file_zoom_ = 1;          // the map's zoom as stored in the file
  double layout_zoom_ = 0;        // the zoom the chart is laid out for (0: none)
  FLOATPOINT layout_origin_{};
  FLOATRECT extent_{};            // the chart's map rectangle with its margin
  unsigned long long revision_ = 1;
  std::string current_bytes_;     // the document as it stands
  std::string saved_bytes_;       // the document as the file holds it
  std::filesystem::file_time_type file_time_{};
  std::uintmax_t file_size_ = 0;
  bool disk_conflict_ = false;    // the file changed on disk under unsaved changes
};

}  // namespace davodu::serve

#endif  // DAVODU_APP_SERVE_CHART_SESSION_H_
