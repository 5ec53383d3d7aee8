#include "davodu/well/chart_template.h"

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <set>
#include <sstream>
#include <vector>

#include "davodu/display/wp_curve.h"
#include "davodu/host/objects/object_factory.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/util/gbk.h"
#include "davodu/kits/content_kinds.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/store/well_table.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_track_builder.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

namespace pt = boost::property_tree;

// English names of the content kinds, by kind number.
const char* const kKindNames[kContentKindCount] = {
    "blank",        "curve",       "lithology",  "sand",           "sand_layer",
    "stratum",      "cycle",       "bedding",    "facies",         "perforation",
    "oil_test",     "result",      "picture",    "graphic",        "parameter",
    "text",         "water_entry", "production", "sidewall_core",  "core",
    "rock_sample",  "program",     "depth"};

constexpr int kKindCurve = 1;
constexpr int kKindDepth = 22;

// A chart is built as a user would build it, track by track and curve by
// curve, each step laying the chart out again: the work grows with the
// square of the columns. These bounds keep a template's chart within a
// second or so; a readable chart stays far below them.
constexpr std::size_t kMaxTracks = 100;
constexpr std::size_t kMaxCurvesPerTrack = 50;

struct CurveEntry {
  std::string name, title;  // UTF-8
  float left = 0, right = 0;
  bool log = false;
  COLORREF color = RGB(0, 0, 0);
};

struct TrackEntry {
  int kind = 0;
  float width = 0;
  bool log_grid = false;
  std::string title;  // UTF-8
  std::vector<CurveEntry> curves;
};

struct ChartEntry {
  bool whole_range = false;
  float top = 0, bottom = 0;
  int scale = 0;
  int depth_type = CWpWell::kDepthMeasured;
  std::string title = "{well}";
  std::vector<TrackEntry> tracks;
};

// Thrown with the message of the first fault found in the template.
struct TemplateFault {
  std::string message;
};

[[noreturn]] void Fault(const std::string& key, const std::string& message) {
  throw TemplateFault{key + ": " + message};
}

std::string Quoted(const std::string& value) { return "'" + value + "'"; }

std::string Join(const std::string& parent, const std::string& key) {
  return parent.empty() ? key : parent + "." + key;
}

// Every key of an object must be one of the known ones.
void CheckKeys(const pt::ptree& node, const std::string& where,
               std::initializer_list<const char*> known) {
  if (node.empty() && !node.data().empty())
    Fault(where.empty() ? "template" : where, Quoted(node.data()) + " is not an object");
  for (const auto& [key, child] : node) {
    bool ok = false;
    for (const char* k : known) ok = ok || key == k;
    if (!ok) Fault(Join(where, key.empty() ? "[]" : key), "unknown key");
  }
}

const pt::ptree* Find(const pt::ptree& node, const char* key) {
  const auto it = node.find(key);
  return it == node.not_found() ? nullptr : &it->second;
}

double Number(const pt::ptree& node, const std::string& key) {
  const std::string& text = node.data();
  double value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || !node.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() ||
      !std::isfinite(value))
    Fault(key, Quoted(text) + " is not a number");
  return value;
}

double NumberOf(const pt::ptree& parent, const char* name, const std::string& where) {
  const pt::ptree* node = Find(parent, name);
  if (!node) Fault(Join(where, name), "missing");
  return Number(*node, Join(where, name));
}

bool BoolOf(const pt::ptree& parent, const char* name, const std::string& where, bool fallback) {
  const pt::ptree* node = Find(parent, name);
  if (!node) return fallback;
  if (node->data() == "true") return true;
  if (node->data() == "false") return false;
  Fault(Join(where, name), Quoted(node->data()) + " is not true or false");
}

std::string TextOf(const pt::ptree& parent, const char* name, const std::string& where,
                   const std::string& fallback) {
  const pt::ptree* node = Find(parent, name);
  if (!node) return fallback;
  if (!node->empty()) Fault(Join(where, name), "not a text");
  return node->data();
}

// The items of an array (property trees keep them under empty keys).
std::vector<const pt::ptree*> Items(const pt::ptree& node, const std::string& key) {
  if (node.empty() && !node.data().empty()) Fault(key, Quoted(node.data()) + " is not a list");
  std::vector<const pt::ptree*> items;
  for (const auto& [k, child] : node) {
    if (!k.empty()) Fault(key, "not a list");
    items.push_back(&child);
  }
  return items;
}

COLORREF Color(const std::string& text, const std::string& key) {
  unsigned value = 0;
  const char* first = text.data() + 1;
  const char* last = text.data() + text.size();
  if (text.size() != 7 || text[0] != '#' ||
      std::from_chars(first, last, value, 16).ptr != last)
    Fault(key, Quoted(text) + " is not a colour #RRGGBB");
  return RGB((value >> 16) & 0xff, (value >> 8) & 0xff, value & 0xff);
}

CurveEntry ReadCurve(const pt::ptree& node, const std::string& where) {
  CheckKeys(node, where, {"name", "title", "left", "right", "log", "color"});
  CurveEntry c;
  c.name = TextOf(node, "name", where, "");
  if (c.name.empty()) Fault(Join(where, "name"), "missing");
  c.title = TextOf(node, "title", where, c.name);
  c.left = static_cast<float>(NumberOf(node, "left", where));
  c.right = static_cast<float>(NumberOf(node, "right", where));
  if (c.left == c.right) Fault(Join(where, "right"), "equals left");
  c.log = BoolOf(node, "log", where, false);
  if (c.log && (c.left <= 0 || c.right <= 0))
    Fault(Join(where, "left"), "a logarithmic scale needs positive left and right");
  c.color = Color(TextOf(node, "color", where, "#000000"), Join(where, "color"));
  return c;
}

TrackEntry ReadTrack(const pt::ptree& node, const std::string& where) {
  CheckKeys(node, where, {"kind", "width", "title", "grid", "curves"});
  TrackEntry t;
  const std::string kind = TextOf(node, "kind", where, "");
  if (kind.empty()) Fault(Join(where, "kind"), "missing");
  t.kind = ContentKindFromName(kind);
  if (t.kind < 0) {
    std::string names;
    for (const char* n : kKindNames) names += (names.empty() ? "" : ", ") + std::string(n);
    Fault(Join(where, "kind"), "unknown kind " + Quoted(kind) + " (one of " + names + ")");
  }
  const float fallback_width = t.kind == kKindCurve ? 3000.0f : t.kind == kKindDepth ? 1800.0f : 2000.0f;
  t.width = Find(node, "width") ? static_cast<float>(NumberOf(node, "width", where)) : fallback_width;
  if (!(t.width > 0)) Fault(Join(where, "width"), "must be positive");
  t.title = TextOf(node, "title", where, "");
  if (t.kind != kKindCurve) {
    if (Find(node, "curves") || Find(node, "grid"))
      Fault(Join(where, Find(node, "curves") ? "curves" : "grid"), "only a curve track has it");
    return t;
  }
  const std::string grid = TextOf(node, "grid", where, "");
  const pt::ptree* curves = Find(node, "curves");
  if (!curves) Fault(Join(where, "curves"), "missing");
  const std::string curves_key = Join(where, "curves");
  const std::vector<const pt::ptree*> items = Items(*curves, curves_key);
  if (items.size() > kMaxCurvesPerTrack)
    Fault(curves_key, std::to_string(items.size()) + " curves, more than a track can hold (" +
                          std::to_string(kMaxCurvesPerTrack) + ")");
  for (std::size_t i = 0; i < items.size(); ++i)
    t.curves.push_back(ReadCurve(*items[i], curves_key + "[" + std::to_string(i) + "]"));
  if (t.curves.empty()) Fault(curves_key, "a curve track needs at least one curve");
  // The grid follows the first curve unless given.
  if (grid.empty()) {
    t.log_grid = t.curves.front().log;
  } else if (grid == "log" || grid == "linear") {
    t.log_grid = grid == "log";
  } else {
    Fault(Join(where, "grid"), "unknown grid " + Quoted(grid) + " (linear or log)");
  }
  if (t.log_grid && !t.curves.front().log)
    Fault(Join(where, "grid"), "a log grid needs a logarithmic first curve");
  return t;
}

ChartEntry ReadChart(const pt::ptree& root) {
  CheckKeys(root, "", {"title", "scale", "top", "bottom", "range", "depth_type", "tracks"});
  ChartEntry chart;
  chart.title = TextOf(root, "title", "", chart.title);
  const double scale = NumberOf(root, "scale", "");
  if (scale < 1 || scale > 1e6 || scale != std::floor(scale))
    Fault("scale", Quoted(root.get<std::string>("scale")) + " is not a scale 1:n (n a whole number)");
  chart.scale = static_cast<int>(scale);

  if (const pt::ptree* range = Find(root, "range")) {
    if (range->data() != "all") Fault("range", Quoted(range->data()) + " is not \"all\"");
    if (Find(root, "top") || Find(root, "bottom"))
      Fault(Find(root, "top") ? "top" : "bottom", "give either top and bottom or \"range\": \"all\"");
    chart.whole_range = true;
  } else {
    if (!Find(root, "top") && !Find(root, "bottom"))
      Fault("top", "missing (give top and bottom in metres, or \"range\": \"all\")");
    chart.top = static_cast<float>(NumberOf(root, "top", ""));
    chart.bottom = static_cast<float>(NumberOf(root, "bottom", ""));
    if (!(chart.top < chart.bottom)) Fault("bottom", "must lie below top");
  }

  const std::string depth_type = TextOf(root, "depth_type", "", "md");
  if (depth_type == "md") {
    chart.depth_type = CWpWell::kDepthMeasured;
  } else if (depth_type == "tvd") {
    chart.depth_type = CWpWell::kDepthVertical;
  } else if (depth_type == "ad") {
    chart.depth_type = CWpWell::kDepthAltitude;
  } else {
    Fault("depth_type", "unknown depth type " + Quoted(depth_type) + " (md, tvd or ad)");
  }

  const pt::ptree* tracks = Find(root, "tracks");
  if (!tracks) Fault("tracks", "missing");
  const std::vector<const pt::ptree*> items = Items(*tracks, "tracks");
  if (items.empty()) Fault("tracks", "a chart needs at least one track");
  if (items.size() > kMaxTracks)
    Fault("tracks", std::to_string(items.size()) + " tracks, more than a chart can hold (" +
                        std::to_string(kMaxTracks) + ")");
  for (std::size_t i = 0; i < items.size(); ++i)
    chart.tracks.push_back(ReadTrack(*items[i], "tracks[" + std::to_string(i) + "]"));
  return chart;
}

// The depths spanned by all curves of the well.
void WholeRange(const std::string& well_gbk, const std::string& well_utf8, ChartEntry* chart) {
  CWellDataManager* wells = CWellDataManager::Instance();
  const auto log = wells->IsOpen() ? wells->GetWellLog(well_gbk) : nullptr;
  double top = kFltMax, bottom = -kFltMax;
  if (log) {
    for (const std::string& name : log->GetColumnNames()) {
      const auto column = log->GetColumn(name);
      if (!column || column->GetCount() <= 0) continue;
      const double start = column->GetStartDepth(), stop = column->GetStopDepth();
      if (start == kFltMax || stop == kFltMax) continue;
      top = std::min(top, std::min(start, stop));
      bottom = std::max(bottom, std::max(start, stop));
    }
  }
  if (!(top < bottom)) Fault("range", "'all', but well " + Quoted(well_utf8) + " has no curve data");
  chart->top = static_cast<float>(top);
  chart->bottom = static_cast<float>(bottom);
}

void AddCurveTrack(CWpWell* well, const TrackEntry& t) {
  CWpTrack* track = well->AddTrack(kCmdWellTrackFirst + kKindCurve, -1);  // gridded
  if (!track) return;
  track->SetWidth(t.width);
  if (t.log_grid) {
    track->LogScale(1);
    track->SetLeft(t.curves.front().left);
    track->SetRight(t.curves.front().right);
  }
  // One head row of 7 mm for each curve.
  track->SetClientHeight(700.0f * static_cast<float>(t.curves.size()));
  for (const CurveEntry& c : t.curves) {
    const std::string name = Utf8ToGbk(c.name);
    CWpCurve* curve = track->AddCurve(name.c_str(), 0, -1);
    if (!curve) continue;
    curve->SetName(name);
    curve->SetTitleText(Utf8ToGbk(c.title));
    ZULOGPEN pen = curve->GetPen();
    pen.color = c.color;
    pen.width = 20;
    curve->SetPen(&pen);
    curve->SetSource(CVE_WELLLOG);
    curve->SetValueRangeType(0);  // the scale given, not the data's range
    curve->LogScale(c.log ? 1 : 0);
    curve->SetLeft(c.left);
    curve->SetRight(c.right);
  }
}

void AddContentTrack(CWpWell* well, const TrackEntry& t) {
  CWpTrackBuilder(well).AddChild(kCmdWellTrackFirst + static_cast<unsigned>(t.kind));
  if (well->ChildrenCount() == 0) return;
  CWpKit* track = well->GetChild(well->ChildrenCount() - 1);
  if (!track) return;
  track->SetWidth(t.width);
  if (CWpKit* content = track->GetChild(0); content && !t.title.empty())
    content->SetTitleText(Utf8ToGbk(t.title));
}

// Templates nest five levels deep (chart, tracks, track, curves, curve).
// The JSON reader descends recursively, so a file of a million "[" would
// exhaust the stack: deeper nesting is refused before it is parsed.
constexpr int kMaxNesting = 64;

// The line on which the nesting of json first goes deeper than kMaxNesting;
// 0 when it never does.
int LineTooDeep(const std::string& json) {
  int depth = 0, line = 1;
  bool in_string = false;
  for (std::size_t i = 0; i < json.size(); ++i) {
    const char c = json[i];
    if (c == '\n') ++line;
    if (in_string) {
      if (c == '\\')
        ++i;  // the escaped character cannot end the string
      else if (c == '"')
        in_string = false;
    } else if (c == '"') {
      in_string = true;
    } else if (c == '[' || c == '{') {
      if (++depth > kMaxNesting) return line;
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return 0;
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace

int ContentKindFromName(const std::string& name) {
  for (int k = 0; k < kContentKindCount; ++k)
    if (name == kKindNames[k]) return k;
  return -1;
}

bool BuildChartFromTemplate(const std::string& json_utf8, const std::string& well_utf8,
                            CZuLayer* layer, std::string* error) {
  std::string ignored;
  if (!error) error = &ignored;
  if (!layer) {
    *error = "no layer to build the chart in";
    return false;
  }
  if (well_utf8.empty()) {
    *error = "no well named";
    return false;
  }
  if (const int line = LineTooDeep(json_utf8)) {
    *error = "line " + std::to_string(line) + ": nested more than " + std::to_string(kMaxNesting) + " levels deep";
    return false;
  }
  pt::ptree root;
  try {
    std::istringstream in(json_utf8);
    pt::read_json(in, root);
  } catch (const pt::json_parser_error& e) {
    *error = "line " + std::to_string(e.line()) + ": " + e.message();
    return false;
  }
  const std::string well_gbk = Utf8ToGbk(well_utf8);
  ChartEntry chart;
  try {
    chart = ReadChart(root);
    if (chart.whole_range) WholeRange(well_gbk, well_utf8, &chart);
  } catch (const TemplateFault& f) {
    *error = f.message;
    return false;
  }

  auto* well = dynamic_cast<CWpWell*>(AfxGetObjectFactory()->CreateObject("CWpWell"));
  if (!well) {
    *error = "cannot make a well object";
    return false;
  }
  layer->AddObject(well);
  well->SetName(well_gbk);
  well->SetTitleText(Utf8ToGbk(ReplaceAll(chart.title, "{well}", well_utf8)));
  well->SetDepthType(chart.depth_type);
  well->SetDepthScale(chart.scale);
  well->SetTopDepth(chart.top);
  well->SetBottomDepth(chart.bottom);
  well->SetWidth(2000);
  for (const TrackEntry& t : chart.tracks) {
    if (t.kind == kKindCurve) {
      AddCurveTrack(well, t);
    } else {
      AddContentTrack(well, t);
    }
  }
  well->LoadChartData();
  return true;
}

}  // namespace davodu
