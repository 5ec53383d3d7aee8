#include "davodu/well/chart_template.h"

#include <boost/property_tree/json_parser.hpp>
#include <boost/property_tree/ptree.hpp>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <optional>
#include <set>
#include <sstream>
#include <vector>

#include "davodu/data/data_date.h"
#include "davodu/display/wp_curve.h"
#include "davodu/display/wp_param.h"
#include "davodu/display/wp_picture.h"
#include "davodu/display/wp_program.h"
#include "davodu/display/wp_text.h"
#include "davodu/host/graphics/dib.h"
#include "davodu/host/program/program.h"
#include "davodu/host/objects/object_factory.h"
#include "davodu/host/objects/zu_layer.h"
#include "davodu/host/util/gbk.h"
#include "davodu/interval/wp_corelith.h"
#include "davodu/interval/wp_sand.h"
#include "davodu/interval/wp_shoot.h"
#include "davodu/interval/wp_oil_test.h"
#include "davodu/interval/wp_result.h"
#include "davodu/special/wp_facies.h"
#include "davodu/special/wp_lth_sample.h"
#include "davodu/special/wp_sand_stratum.h"
#include "davodu/special/wp_sidewall_core.h"
#include "davodu/special/wp_symble_shoot.h"
#include "davodu/interval/wp_stratum.h"
#include "davodu/interval/wp_water_entry.h"
#include "davodu/kits/content_kinds.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/store/well_schema.h"
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
constexpr int kKindLithology = 2;
constexpr int kKindSand = 3;
constexpr int kKindStratum = 5;
constexpr int kKindPerforation = 9;
constexpr int kKindDepth = 22;

// The specialised columns.
constexpr int kKindFacies = 8;
constexpr int kKindSidewallCore = 18;
constexpr int kKindRockSample = 20;
constexpr int kKindSandLayer = 4;
// "perforation_symbol": the perforation kind's symbol column, in a track
// of its own like any content ("perforation" is the perforation column).
constexpr const char* kPerforationSymbolName = "perforation_symbol";

constexpr int kKindText = 15;
constexpr int kKindPicture = 12;
constexpr int kKindGraphic = 13;
constexpr int kKindProgram = 21;
constexpr int kKindParameter = 14;
constexpr int kKindOilTest = 10;
constexpr int kKindResult = 11;
constexpr int kKindInjection = 16;
constexpr int kKindProduction = 17;

// One entry of a fill's colour table.
struct FillColorEntry {
  double from = 0, to = 0;
  COLORREF color = 0;
};

// A fill of a curve: what it reaches to and how each side is shaded.
struct FillEntry {
  enum Kind { kLeft, kRight, kMiddle, kValue, kCurve };
  Kind kind = kLeft;
  std::string curve;  // UTF-8, for kCurve
  double value = 0;   // for kValue
  std::optional<COLORREF> where_left, where_right, color;
  std::vector<FillColorEntry> colors;
};

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
  std::vector<FillEntry> fills;
};

// A text block of a text track.
struct TextItem {
  float top = 0, bottom = 0;
  std::string text;  // UTF-8
};

// The keys of the interval columns (docs/templates.md, "Interval columns").
struct StratumEntry {
  int level = 3;      // 1..5
  bool names = true;  // stratum names (aliases) in the bands
  bool fill = true;   // catalogue colours
};
struct SandEntry {
  int type = SAND_CLASS1;
  std::string table;  // GBK; a scattered table (type 29)
  bool bar = false;   // filled bars instead of brackets
  int precision = 2;  // decimals of the thickness
};

// The keys of the specialised columns (docs/templates.md, "Specialised
// columns").
struct SpecialEntry {
  bool symbol_column = false;  // perforation_symbol
  int facies_level = 3;        // facies: stratification data of level 1..4
  std::string table;           // facies: a scattered table (GBK)
  bool names = true;           // facies: the facies names; sidewall cores: the texts
  int mark_step = 5;           // rock_sample: every n-th sample numbered
  bool numbers = true;         // rock_sample: the numbers of marked samples
  // sand_layer: the SANDTYPE of the layers, a preset of the site file, or
  // the sub-columns themselves.
  int layer_type = SAND_CLASS2;
  std::vector<SandStratumField> layer_fields;  // empty: the site's first preset
};

// A picture block of a picture or graphic track.
struct PictureItem {
  float top = 0, bottom = 0;
  std::string path;  // UTF-8, resolved against the template's folder
  bool keep_ratio = true;
};

// An interval of a parameter track's own.
struct ParamItem {
  float top = 0, bottom = 0;
  std::string value;  // UTF-8
};

// The settings of a parameter track.
struct ParamEntry {
  std::vector<ParamItem> items;
  std::string data;   // "", "well" or "scatter"
  std::string field;  // UTF-8
  int digits = 0;
  bool empty_values = true;
  std::optional<std::vector<std::string>> lines, values_at;
  bool vertical = false;
  std::optional<COLORREF> fill, line_color, text_color;
  std::optional<double> font_size;
  std::vector<std::pair<int, std::string>> styles;  // template slot, name (UTF-8)
};

// The keys of the lithology and perforation columns (docs/templates.md,
// "Lithology columns", "Perforation columns").
struct LithologyEntry {
  double color_width = 0.25;  // share of the colour strip
  std::optional<double> oil_width;  // share of the oil strip; the kit's own by default
  bool names = false;
  bool divide_lines = false;
};
struct PerforationEntry {
  std::string from, to;  // "YYYY-MM-DD"; empty: not limited
};

// The keys of the result, oil test and profile columns (docs/templates.md,
// "Result columns", "Oil test columns", "Profile columns").
struct ResultEntry {
  std::string table;                   // GBK; empty: graphics mode
  std::string field = "电测解释";      // UTF-8
  bool labels = true;
};
struct OilTestEntry {
  bool cells = true;
  std::string fill = "result";  // none, result, brush
  bool bar = true;
  bool pie = false;
};
struct ProfileParam {
  std::string name;  // UTF-8
  double left = 0, right = 0;
  std::optional<COLORREF> color;
};
struct ProfileEntry {
  std::vector<ProfileParam> params;
  std::string start, end;  // "YYYY-MM-DD"; empty: the first and last date of the data
  std::string table;       // a scattered table (GBK); empty: the well's profile table
  std::string time_field;  // the scattered table's date column (GBK); empty: "日期"
};

struct TrackEntry {
  int kind = 0;
  float width = 0;
  bool log_grid = false;
  std::string title;  // UTF-8
  std::vector<CurveEntry> curves;
  std::vector<TextItem> items;  // text tracks
  bool transparent = true;      // text tracks
  std::string align = "left";   // text tracks: left, center, right
  std::string valign = "top";   // text tracks: top, middle, bottom
  StratumEntry stratum;
  SandEntry sand;
  std::vector<PictureItem> pictures;  // picture and graphic tracks
  std::string table;            // program tracks: the bound table (UTF-8)
  std::string program;          // program tracks: the program text (UTF-8)
  ParamEntry param;             // parameter tracks
  LithologyEntry lithology;
  PerforationEntry perforation;
  ResultEntry result;
  OilTestEntry oil_test;
  ProfileEntry profile;
  SpecialEntry special;
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

// ---------------------------------------------------------------- fills

std::string Indexed(const std::string& key, std::size_t i) {
  return key + "[" + std::to_string(i) + "]";
}

std::vector<FillColorEntry> ReadFillColors(const pt::ptree& node, const std::string& key, bool log) {
  std::vector<FillColorEntry> table;
  const std::vector<const pt::ptree*> items = Items(node, key);
  if (items.empty()) Fault(key, "a colour table needs at least one entry");
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::string where = Indexed(key, i);
    CheckKeys(*items[i], where, {"from", "to", "color"});
    FillColorEntry e;
    e.from = NumberOf(*items[i], "from", where);
    e.to = NumberOf(*items[i], "to", where);
    if (!(e.from < e.to)) Fault(Join(where, "to"), "must be above from");
    if (log && e.from <= 0) Fault(Join(where, "from"), "a logarithmic curve needs positive values");
    if (!table.empty() && e.from != table.back().to)
      Fault(Join(where, "from"), "does not continue the entry before (its to)");
    const pt::ptree* color = Find(*items[i], "color");
    if (!color) Fault(Join(where, "color"), "missing");
    e.color = Color(color->data(), Join(where, "color"));
    table.push_back(e);
  }
  return table;
}

std::optional<COLORREF> OptionalColor(const pt::ptree& node, const char* name, const std::string& where) {
  if (!Find(node, name)) return std::nullopt;
  return Color(TextOf(node, name, where, ""), Join(where, name));
}

FillEntry ReadFill(const pt::ptree& node, const std::string& where, bool log) {
  CheckKeys(node, where, {"to", "value", "where_left", "where_right", "color", "colors"});
  FillEntry f;
  const std::string to = TextOf(node, "to", where, "");
  if (to.empty()) Fault(Join(where, "to"), "missing (left, right, middle, value or a curve name)");
  if (to == "left") {
    f.kind = FillEntry::kLeft;
  } else if (to == "right") {
    f.kind = FillEntry::kRight;
  } else if (to == "middle") {
    f.kind = FillEntry::kMiddle;
  } else if (to == "value") {
    f.kind = FillEntry::kValue;
  } else {
    f.kind = FillEntry::kCurve;
    f.curve = to;
    if (Utf8ToGbk(to).size() >= sizeof(CVEFILLBLOCK::target))
      Fault(Join(where, "to"), Quoted(to) + " is longer than a fill's target name can be");
  }
  if (f.kind == FillEntry::kValue) {
    f.value = NumberOf(node, "value", where);
    if (log && f.value <= 0) Fault(Join(where, "value"), "a logarithmic curve needs a positive value");
  } else if (Find(node, "value")) {
    Fault(Join(where, "value"), "only a fill to \"value\" has it");
  }
  f.where_left = OptionalColor(node, "where_left", where);
  f.where_right = OptionalColor(node, "where_right", where);
  f.color = OptionalColor(node, "color", where);
  const bool to_edge = f.kind == FillEntry::kLeft || f.kind == FillEntry::kRight;
  if (to_edge && (f.where_left || f.where_right))
    Fault(Join(where, f.where_left ? "where_left" : "where_right"),
          "a fill to an edge shades one side: give color or colors");
  if (const pt::ptree* colors = Find(node, "colors"))
    f.colors = ReadFillColors(*colors, Join(where, "colors"), log);
  if (!f.color && !f.where_left && !f.where_right && f.colors.empty())
    Fault(where, "give color, where_left, where_right or colors");
  return f;
}

std::vector<FillEntry> ReadFills(const pt::ptree& node, const std::string& key, bool log) {
  std::vector<FillEntry> fills;
  const std::vector<const pt::ptree*> items = Items(node, key);
  for (std::size_t i = 0; i < items.size(); ++i)
    fills.push_back(ReadFill(*items[i], Indexed(key, i), log));
  return fills;
}

// A fill to a curve names another curve of the same track.
void CheckFillTargets(const TrackEntry& t, const std::string& curves_key) {
  for (std::size_t i = 0; i < t.curves.size(); ++i) {
    for (std::size_t k = 0; k < t.curves[i].fills.size(); ++k) {
      const FillEntry& f = t.curves[i].fills[k];
      if (f.kind != FillEntry::kCurve) continue;
      const std::string key = Join(Indexed(curves_key, i), Indexed("fills", k)) + ".to";
      bool found = false;
      for (std::size_t j = 0; j < t.curves.size(); ++j)
        found = found || (j != i && EqualsNoCase(Utf8ToGbk(t.curves[j].name), Utf8ToGbk(f.curve)));
      if (!found)
        Fault(key, "no other curve " + Quoted(f.curve) +
                       " in this track (left, right, middle, value or a curve of the track)");
    }
  }
}

// The fill record of a fill entry, on a curve whose scale is set.
void AddFill(CWpCurve* curve, const FillEntry& f, bool log) {
  curve->Operation(0);  // a new fill with the defaults
  CVEFILL* fill = curve->FillAt(curve->FillCount() - 1);
  if (!fill) return;
  CVEFILLBLOCK& b = fill->block;
  switch (f.kind) {
    case FillEntry::kLeft:
    case FillEntry::kRight:
      fill->SetTarget(Gbk("边框"));
      break;
    case FillEntry::kMiddle:
      fill->SetTarget(Gbk("中线"));
      break;
    case FillEntry::kValue:
      fill->SetTarget(Gbk("指定值线"));
      break;
    case FillEntry::kCurve:
      fill->SetTarget(Utf8ToGbk(f.curve));
      break;
  }
  // The boundary value, as LmtFll places it on the present scale.
  const float middle = (curve->GetLeft() + curve->GetRight()) / 2;
  switch (f.kind) {
    case FillEntry::kLeft:
    case FillEntry::kRight: b.value = static_cast<float>(kFltMax); break;
    case FillEntry::kMiddle: b.value = middle; break;
    case FillEntry::kValue: b.value = static_cast<float>(f.value); break;
    case FillEntry::kCurve: b.value = -999.9f; break;
  }
  // Side 0 lies where the curve is right of the boundary (for an edge fill:
  // from the left edge to the curve), side 1 where it is left of it.
  std::optional<COLORREF> side0 = f.where_right, side1 = f.where_left;
  if (f.kind == FillEntry::kLeft) side0 = f.color, side1.reset();
  if (f.kind == FillEntry::kRight) side1 = f.color, side0.reset();
  const bool both = !f.where_left && !f.where_right;
  if (both && (f.kind == FillEntry::kMiddle || f.kind == FillEntry::kValue ||
               f.kind == FillEntry::kCurve))
    side0 = side1 = f.color;
  bool shades[2] = {side0.has_value(), side1.has_value()};
  if (!f.colors.empty() && !shades[0] && !shades[1]) {
    shades[0] = f.kind != FillEntry::kRight;
    shades[1] = f.kind != FillEntry::kLeft;
  }
  std::vector<WPCVEFILLCOLOR> table;
  for (const FillColorEntry& e : f.colors) {
    WPCVEFILLCOLOR c;
    // Tables of a logarithmic curve hold the logarithms of the values.
    c.lower = log ? std::log10(e.from) : e.from;
    c.upper = log ? std::log10(e.to) : e.to;
    c.color = e.color;
    table.push_back(c);
  }
  b.sides = (shades[0] ? 1 : 0) | (shades[1] ? 2 : 0);
  const std::optional<COLORREF> colors[2] = {side0, side1};
  for (int side : {0, 1}) {
    ZULOGBRUSH& brush = side ? b.brush1 : b.brush0;
    brush.style = kBrushDefaultSolid;
    brush.color = colors[side].value_or(table.empty() ? brush.color : table.front().color);
    brush.rop = kRopCopy;
    if (!table.empty() && shades[side]) {
      fill->Table(side) = table;
      (side ? b.shade1 : b.shade0) = 1;
    }
  }
}

// ---------------------------------------------------------------- curves

CurveEntry ReadCurve(const pt::ptree& node, const std::string& where) {
  CheckKeys(node, where, {"name", "title", "left", "right", "log", "color", "fills"});
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
  if (const pt::ptree* fills = Find(node, "fills"))
    c.fills = ReadFills(*fills, Join(where, "fills"), c.log);
  return c;
}

// ---------------------------------------------------------------- text tracks

void ReadTextTrack(const pt::ptree& node, const std::string& where, TrackEntry* t) {
  t->transparent = BoolOf(node, "transparent", where, true);
  t->align = TextOf(node, "align", where, t->align);
  if (t->align != "left" && t->align != "center" && t->align != "right")
    Fault(Join(where, "align"), "unknown alignment " + Quoted(t->align) + " (left, center or right)");
  t->valign = TextOf(node, "valign", where, t->valign);
  if (t->valign != "top" && t->valign != "middle" && t->valign != "bottom")
    Fault(Join(where, "valign"), "unknown alignment " + Quoted(t->valign) + " (top, middle or bottom)");
  const pt::ptree* items = Find(node, "items");
  if (!items) return;
  const std::string key = Join(where, "items");
  const std::vector<const pt::ptree*> list = Items(*items, key);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string at = Indexed(key, i);
    CheckKeys(*list[i], at, {"top", "bottom", "text"});
    TextItem item;
    item.top = static_cast<float>(NumberOf(*list[i], "top", at));
    item.bottom = static_cast<float>(NumberOf(*list[i], "bottom", at));
    if (!(item.top < item.bottom)) Fault(Join(at, "bottom"), "must lie below top");
    if (!Find(*list[i], "text")) Fault(Join(at, "text"), "missing");
    item.text = TextOf(*list[i], "text", at, "");
    for (std::size_t j = 0; j < t->items.size(); ++j)
      if (item.top < t->items[j].bottom && t->items[j].top < item.bottom)
        Fault(at, "overlaps " + Indexed("items", j));
    t->items.push_back(item);
  }
}

void AddTextItems(CWpKit* track, const TrackEntry& t) {
  auto* text = dynamic_cast<CWpText*>(track ? track->GetChild(0) : nullptr);
  if (!text) return;
  text->SetTransparent(t.transparent);
  text->SetTextAlignH(Gbk(t.align == "center" ? "居中" : t.align == "right" ? "右对齐" : "左对齐"));
  text->SetTextAlignV(Gbk(t.valign == "middle" ? "居中" : t.valign == "bottom" ? "底对齐" : "顶对齐"));
  for (const TextItem& item : t.items) text->AddSegmentAtDepth(Utf8ToGbk(item.text), item.top, item.bottom);
}

// A whole number within [lo, hi].
int IntegerOf(const pt::ptree& parent, const char* name, const std::string& where, int lo, int hi) {
  const double v = NumberOf(parent, name, where);
  if (v != std::floor(v) || v < lo || v > hi)
    Fault(Join(where, name), Quoted(parent.get<std::string>(name)) + " is not a whole number from " +
                                 std::to_string(lo) + " to " + std::to_string(hi));
  return static_cast<int>(v);
}

// The keys of the stratum and sand columns (CheckKindKeys has checked that
// each belongs to its kind).
void ReadIntervalKeys(const pt::ptree& node, const std::string& where, TrackEntry* t) {
  if (t->kind == kKindStratum) {
    if (Find(node, "level")) t->stratum.level = IntegerOf(node, "level", where, 1, 5);
    t->stratum.names = BoolOf(node, "names", where, true);
    t->stratum.fill = BoolOf(node, "fill", where, true);
  } else if (t->kind == kKindSand) {
    if (const pt::ptree* type = Find(node, "sand_type")) {
      const std::string text = type->data();
      const std::string key = Join(where, "sand_type");
      if (!type->empty() || text.empty()) Fault(key, "not a sand type or a table name");
      double number = 0;
      const auto r = std::from_chars(text.data(), text.data() + text.size(), number);
      if (r.ec == std::errc() && r.ptr == text.data() + text.size()) {
        if (number == static_cast<double>(SAND_SCATT)) Fault(key, "a scattered table is given by its name");
        t->sand.type = IntegerOf(node, "sand_type", where, SAND_CLASS1, SAND_SEGMENT3);
      } else {
        // A table of the well by its name ("一类砂岩数据", "段数据2"), else a
        // scattered table.
        const std::string gbk = Utf8ToGbk(text);
        const int named = SandTypeOfName(gbk);
        t->sand.type = named > 0 ? named : SAND_SCATT;
        if (named <= 0) t->sand.table = gbk;
      }
    }
    const std::string symbol = TextOf(node, "symbol", where, "bracket");
    if (symbol != "bracket" && symbol != "bar")
      Fault(Join(where, "symbol"), "unknown symbol " + Quoted(symbol) + " (bracket or bar)");
    t->sand.bar = symbol == "bar";
    if (Find(node, "precision")) t->sand.precision = IntegerOf(node, "precision", where, 0, 6);
  }
}

// ---------------------------------------------------------------- picture tracks

// A file named in the template: absolute, or relative to the template's
// folder.
std::string ResolvePath(const std::string& file, const std::string& base_dir) {
  std::filesystem::path p(file);
  if (p.is_relative() && !base_dir.empty()) p = std::filesystem::path(base_dir) / p;
  return p.lexically_normal().string();
}

bool ReadWholeFile(const std::string& path, std::string* text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream s;
  s << in.rdbuf();
  *text = s.str();
  return static_cast<bool>(in) || in.eof();
}

void ReadPictureTrack(const pt::ptree& node, const std::string& where, const std::string& base_dir,
                      TrackEntry* t) {
  const pt::ptree* items = Find(node, "items");
  if (!items) return;
  const std::string key = Join(where, "items");
  const std::vector<const pt::ptree*> list = Items(*items, key);
  for (std::size_t i = 0; i < list.size(); ++i) {
    const std::string at = Indexed(key, i);
    CheckKeys(*list[i], at, {"top", "bottom", "file", "keep_ratio"});
    PictureItem item;
    item.top = static_cast<float>(NumberOf(*list[i], "top", at));
    item.bottom = static_cast<float>(NumberOf(*list[i], "bottom", at));
    if (!(item.top < item.bottom)) Fault(Join(at, "bottom"), "must lie below top");
    const std::string file = TextOf(*list[i], "file", at, "");
    if (file.empty()) Fault(Join(at, "file"), "missing");
    item.path = ResolvePath(file, base_dir);
    item.keep_ratio = BoolOf(*list[i], "keep_ratio", at, true);
    for (std::size_t j = 0; j < t->pictures.size(); ++j)
      if (item.top < t->pictures[j].bottom && t->pictures[j].top < item.bottom)
        Fault(at, "overlaps " + Indexed("items", j));
    // The picture is read now, so that a missing or broken file is named
    // before anything is built.
    CgPicSegment probe(nullptr);
    probe.name = Utf8ToGbk(item.path);
    if (probe.IsMapPicture()) {
      if (!std::filesystem::exists(item.path))
        Fault(Join(at, "file"), "cannot open " + item.path + ": no such file");
    } else {
      CDIB dib;
      std::string error;
      if (!dib.ReadFromFile(item.path, &error)) Fault(Join(at, "file"), error);
    }
    t->pictures.push_back(item);
  }
}

void AddPictureItems(CWpKit* track, const TrackEntry& t) {
  auto* picture = dynamic_cast<CWpPicture*>(track ? track->GetChild(0) : nullptr);
  if (!picture) return;
  for (const PictureItem& item : t.pictures)
    picture->AddSegmentAtDepth(Utf8ToGbk(item.path), item.top, item.bottom, item.keep_ratio);
}

// ---------------------------------------------------------------- program tracks

void ReadProgramTrack(const pt::ptree& node, const std::string& where, const std::string& base_dir,
                      TrackEntry* t) {
  t->table = TextOf(node, "table", where, "");
  if (t->table.empty()) Fault(Join(where, "table"), "missing (the table the program runs over)");
  TableKind kind;
  int sub = 0;
  if (!ParseTableName(t->table, &kind, &sub) || GetTableLayout(kind).owner != TableOwner::kWell)
    Fault(Join(where, "table"), "unknown table " + Quoted(t->table) +
                                    " (a table of the well, such as stratum3 or 三级分层界限数据)");
  const bool has_file = Find(node, "file") != nullptr, has_source = Find(node, "source") != nullptr;
  if (has_file == has_source) Fault(where, "give the program as file or as source (one of them)");
  if (has_file) {
    const std::string path = ResolvePath(TextOf(node, "file", where, ""), base_dir);
    if (!ReadWholeFile(path, &t->program)) Fault(Join(where, "file"), "cannot read " + path);
  } else {
    t->program = TextOf(node, "source", where, "");
  }
  if (!IsValidUtf8(t->program)) Fault(Join(where, has_file ? "file" : "source"), "the program is not UTF-8 text");
  CProgram check;
  check.SetSource(Utf8ToGbk(t->program));
  std::string error;
  if (!check.Compile(&error)) Fault(Join(where, has_file ? "file" : "source"), error);
}

void SetUpProgram(CWpKit* track, const TrackEntry& t) {
  auto* kit = dynamic_cast<CWpProgram*>(track ? track->GetChild(0) : nullptr);
  if (!kit) return;
  CProgram& program = kit->GetProgram();
  program.SetName(kit->GetTitleText() + Gbk("程序"));
  program.SetTableName(Utf8ToGbk(t.table));
  program.SetSource(Utf8ToGbk(t.program));
}

// ---------------------------------------------------------------- parameter tracks

std::vector<std::string> NameList(const pt::ptree& node, const std::string& key,
                                  std::initializer_list<const char*> known) {
  std::vector<std::string> names;
  for (const pt::ptree* item : Items(node, key)) {
    const std::string name = item->data();
    bool ok = false;
    std::string all;
    for (const char* k : known) {
      ok = ok || name == k;
      all += (all.empty() ? "" : ", ") + std::string(k);
    }
    if (!ok || !item->empty()) Fault(key, "unknown place " + Quoted(name) + " (" + all + ")");
    names.push_back(name);
  }
  return names;
}

void ReadParameterTrack(const pt::ptree& node, const std::string& where, TrackEntry* t) {
  ParamEntry& p = t->param;
  p.data = TextOf(node, "data", where, "");
  if (!p.data.empty() && p.data != "well" && p.data != "scatter")
    Fault(Join(where, "data"), "unknown data " + Quoted(p.data) + " (well or scatter)");
  t->table = TextOf(node, "table", where, "");
  p.field = TextOf(node, "field", where, "");
  if (!p.data.empty() && (t->table.empty() || p.field.empty()))
    Fault(Join(where, t->table.empty() ? "table" : "field"), "missing (a data column names its table and field)");
  if (p.data.empty() && (Find(node, "table") || Find(node, "field")))
    Fault(Join(where, Find(node, "table") ? "table" : "field"), "needs \"data\": \"well\" or \"scatter\"");
  if (Find(node, "digits")) {
    const double d = NumberOf(node, "digits", where);
    if (d < 0 || d > 10 || d != std::floor(d)) Fault(Join(where, "digits"), "must be a whole number 0 to 10");
    p.digits = static_cast<int>(d);
  }
  p.empty_values = BoolOf(node, "empty_values", where, true);
  p.vertical = BoolOf(node, "vertical", where, false);
  if (const pt::ptree* lines = Find(node, "lines"))
    p.lines = NameList(*lines, Join(where, "lines"), {"top", "middle", "bottom", "left", "center", "right"});
  if (const pt::ptree* at = Find(node, "values_at"))
    p.values_at = NameList(*at, Join(where, "values_at"), {"top", "middle", "bottom", "left", "right"});
  p.fill = OptionalColor(node, "fill", where);
  p.line_color = OptionalColor(node, "color", where);
  p.text_color = OptionalColor(node, "text_color", where);
  if (Find(node, "font_size")) {
    p.font_size = NumberOf(node, "font_size", where);
    if (!(*p.font_size > 0)) Fault(Join(where, "font_size"), "must be positive");
  }
  if (const pt::ptree* styles = Find(node, "styles")) {
    const std::string key = Join(where, "styles");
    static constexpr std::pair<const char*, int> kSlots[] = {
        {"line_style", CWpParam::kLineTypeTemp},   {"line_size", CWpParam::kLineSizeTemp},
        {"line_color", CWpParam::kLineColorTemp},  {"point_style", CWpParam::kPointTypeTemp},
        {"point_size", CWpParam::kPointSizeTemp},  {"point_color", CWpParam::kPointColorTemp},
        {"text_face", CWpParam::kTextTypeTemp},    {"text_size", CWpParam::kTextSizeTemp},
        {"text_color", CWpParam::kTextColorTemp},  {"fill_style", CWpParam::kRectTypeTemp},
        {"fill_size", CWpParam::kRectSizeTemp},    {"fill_back_color", CWpParam::kRectBColorTemp},
        {"fill_color", CWpParam::kRectIColorTemp}};
    if (styles->empty() && !styles->data().empty()) Fault(key, "not an object");
    for (const auto& [name, child] : *styles) {
      int slot = -1;
      for (const auto& [k, v] : kSlots)
        if (name == k) slot = v;
      if (slot < 0) Fault(Join(key, name), "unknown key");
      p.styles.emplace_back(slot, TextOf(*styles, name.c_str(), key, ""));
    }
  }
  if (const pt::ptree* items = Find(node, "items")) {
    if (!p.data.empty()) Fault(Join(where, "items"), "a data column reads its intervals from its table");
    const std::string key = Join(where, "items");
    const std::vector<const pt::ptree*> list = Items(*items, key);
    for (std::size_t i = 0; i < list.size(); ++i) {
      const std::string at = Indexed(key, i);
      CheckKeys(*list[i], at, {"top", "bottom", "value"});
      ParamItem item;
      item.top = static_cast<float>(NumberOf(*list[i], "top", at));
      item.bottom = static_cast<float>(NumberOf(*list[i], "bottom", at));
      if (!(item.top < item.bottom)) Fault(Join(at, "bottom"), "must lie below top");
      const pt::ptree* value = Find(*list[i], "value");
      if (!value) Fault(Join(at, "value"), "missing");
      if (!value->empty()) Fault(Join(at, "value"), "not a text or number");
      item.value = value->data();
      p.items.push_back(item);
    }
  }
}

void SetUpParameter(CWpKit* track, const TrackEntry& t) {
  auto* kit = dynamic_cast<CWpParam*>(track ? track->GetChild(0) : nullptr);
  if (!kit) return;
  const ParamEntry& p = t.param;
  kit->SetDigitNum(p.digits);
  kit->SetNullDisplay(p.empty_values);
  if (p.lines) {
    static constexpr std::pair<const char*, CWpParam::Line> kLines[] = {
        {"top", CWpParam::kTopHLine},   {"middle", CWpParam::kMidHLine}, {"bottom", CWpParam::kBottomHLine},
        {"left", CWpParam::kLeftVLine}, {"center", CWpParam::kMidVLine}, {"right", CWpParam::kRightVLine}};
    for (const auto& [name, line] : kLines)
      kit->SetLineVisible(line, std::find(p.lines->begin(), p.lines->end(), name) != p.lines->end());
  }
  if (p.values_at) {
    static constexpr std::pair<const char*, CWpParam::Text> kPlaces[] = {
        {"top", CWpParam::kTopHText},   {"middle", CWpParam::kMidHText}, {"bottom", CWpParam::kBottomHText},
        {"left", CWpParam::kLeftVText}, {"right", CWpParam::kRightVText}};
    kit->SetTextVisible(CWpParam::kMidVText, false);
    for (const auto& [name, place] : kPlaces)
      kit->SetTextVisible(place, std::find(p.values_at->begin(), p.values_at->end(), name) != p.values_at->end());
  }
  if (p.vertical) kit->SetTextDir(STRDIR_VERTICAL);
  if (p.fill) {
    ZULOGBRUSH brush = kit->GetRectFillBrush();
    brush.style = kBrushDefaultSolid;
    brush.color = *p.fill;
    kit->SetRectFillBrush(brush);
    kit->SetFillVisible(true);
  }
  if (p.line_color) {
    ZULOGPEN pen = kit->GetLineType();
    pen.color = *p.line_color;
    kit->SetLineType(pen);
  }
  ZULOGFONT font = kit->GetTextFont();
  if (p.text_color) font.color = *p.text_color;
  if (p.font_size) font.height = static_cast<float>(*p.font_size);
  kit->SetTextFont(font);
  for (const auto& [slot, name] : p.styles)
    kit->SetTemplateName(static_cast<CWpParam::Template>(slot), Utf8ToGbk(name));
  if (!p.data.empty()) {
    kit->SetDataType(Gbk(p.data == "well" ? "当前井" : "离散数据"));
    kit->SetDataTable(Utf8ToGbk(t.table));
    kit->SetDataField(Utf8ToGbk(p.field));
  }
  int number = 0;
  for (const ParamItem& item : p.items) kit->AddSegment(++number, Utf8ToGbk(item.value), item.top, item.bottom);
}

// Keys only some kinds of track have.
void CheckKindKeys(const pt::ptree& node, const std::string& where, int kind) {
  struct Owned {
    const char* key;
    std::initializer_list<int> kinds;
    const char* who;
  };
  const Owned owned[] = {
      {"items", {kKindText, kKindPicture, kKindGraphic, kKindParameter},
       "a text, picture, graphic or parameter track"},
      {"transparent", {kKindText}, "a text track"},
      {"align", {kKindText}, "a text track"},
      {"valign", {kKindText}, "a text track"},
      {"table", {kKindProgram, kKindParameter, kKindResult, kKindFacies, kKindRockSample,
                 kKindSidewallCore, kKindInjection, kKindProduction},
       "a program, parameter, result, facies, rock sample, sidewall_core, water_entry or production track"},
      {"mark_step", {kKindRockSample}, "a rock sample track"},
      {"numbers", {kKindRockSample}, "a rock sample track"},
      {"data", {kKindParameter}, "a parameter track"},
      {"field", {kKindParameter, kKindResult}, "a parameter or result track"},
      {"digits", {kKindParameter}, "a parameter track"},
      {"empty_values", {kKindParameter}, "a parameter track"},
      {"lines", {kKindParameter}, "a parameter track"},
      {"values_at", {kKindParameter}, "a parameter track"},
      {"vertical", {kKindParameter}, "a parameter track"},
      {"fill", {kKindStratum, kKindParameter, kKindOilTest}, "a stratum, parameter or oil test track"},
      {"level", {kKindStratum, kKindFacies}, "a stratum or facies track"},
      {"names", {kKindStratum, kKindLithology, kKindFacies, kKindSidewallCore},
       "a stratum, lithology, facies or sidewall_core track"},
      {"sand_type", {kKindSand, kKindSandLayer}, "a sand or sand_layer track"},
      {"preset", {kKindSandLayer}, "a sand_layer track"},
      {"fields", {kKindSandLayer}, "a sand_layer track"},
      {"symbol", {kKindSand}, "a sand track"},
      {"precision", {kKindSand}, "a sand track"},
      {"color", {kKindParameter}, "a parameter track"},
      {"text_color", {kKindParameter}, "a parameter track"},
      {"font_size", {kKindParameter}, "a parameter track"},
      {"styles", {kKindParameter}, "a parameter track"},
      {"file", {kKindProgram}, "a program track"},
      {"source", {kKindProgram}, "a program track"},
  };
  for (const Owned& o : owned) {
    if (!Find(node, o.key)) continue;
    bool ok = false;
    for (int k : o.kinds) ok = ok || k == kind;
    if (!ok) Fault(Join(where, o.key), std::string("only ") + o.who + " has it");
  }
}

// ---------------------------------------------------------------- lithology and perforation

// A share of a column's width, 0 to 1.
double ShareOf(const pt::ptree& parent, const char* name, const std::string& where) {
  const double v = NumberOf(parent, name, where);
  if (v < 0 || v > 1)
    Fault(Join(where, name), Quoted(parent.get<std::string>(name)) + " is not a share from 0 to 1");
  return v;
}

void ReadLithologyKeys(const pt::ptree& node, const std::string& where, TrackEntry* t) {
  for (const char* key : {"color_width", "oil_width", "divide_lines"})
    if (Find(node, key) && t->kind != kKindLithology) Fault(Join(where, key), "only a lithology track has it");
  if (t->kind != kKindLithology) return;
  LithologyEntry& l = t->lithology;
  if (Find(node, "color_width")) l.color_width = ShareOf(node, "color_width", where);
  if (Find(node, "oil_width")) {
    l.oil_width = ShareOf(node, "oil_width", where);
    if (*l.oil_width > 1 - l.color_width + 1e-9)
      Fault(Join(where, "oil_width"), "the oil strip lies over the pattern strip: at most 1 - color_width");
  }
  l.names = BoolOf(node, "names", where, false);
  l.divide_lines = BoolOf(node, "divide_lines", where, false);
}

void ReadPerforationKeys(const pt::ptree& node, const std::string& where, TrackEntry* t) {
  for (const char* key : {"from", "to"}) {
    if (!Find(node, key)) continue;
    if (t->kind != kKindPerforation) Fault(Join(where, key), "only a perforation track has it");
    const std::string text = TextOf(node, key, where, "");
    DataDate date;
    if (!ParseDataDate(text, &date))
      Fault(Join(where, key), Quoted(text) + " is not a date YYYY-MM-DD");
    (std::string_view(key) == "from" ? t->perforation.from : t->perforation.to) = FormatDataDate(date);
  }
}

void ApplyLithologyKeys(CWpCorelith* lith, const LithologyEntry& l) {
  lith->SetColorPer(l.color_width);
  if (l.oil_width) lith->SetCtOilPer(*l.oil_width);
  lith->SetNameVisible(l.names);
  lith->SetDivideLineVisible(l.divide_lines);
}

// A perforation column in a track of its own (the track menus' perforation
// item would add the perforation symbol column instead).
void AddPerforationTrack(CWpWell* well, const TrackEntry& t) {
  CWpTrack* track = well->AddTrack(kCmdWellTrackFirst, -1);
  if (!track) return;
  track->SetWidth(t.width);
  CWpShoot* shoot = track->AddShoot(t.title.empty() ? "" : Utf8ToGbk(t.title).c_str(), 1, -1);
  if (shoot) {
    shoot->SetStartDateTime(t.perforation.from);
    shoot->SetEndDateTime(t.perforation.to);
  }
  well->Reset();
  well->ResetClient();
  well->ResetWidth();
  well->Reset();
}

void ReadResultKeys(const pt::ptree& node, const std::string& where, TrackEntry* t);
// ---------------------------------------------------------------- specialised columns

// The sub-columns of a sand_layer track, as the site file gives them
// (sand_stratum_options.h).
std::vector<SandStratumField> ReadLayerFields(const pt::ptree& node, const std::string& key) {
  const std::vector<const pt::ptree*> items = Items(node, key);
  if (items.empty()) Fault(key, "a sand_layer track needs at least one field");
  if (items.size() > kMaxSandStratumFields)
    Fault(key, std::to_string(items.size()) + " fields, more than " + std::to_string(kMaxSandStratumFields));
  std::vector<SandStratumField> fields;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const pt::ptree& item = *items[i];
    const std::string where = key + "[" + std::to_string(i) + "]";
    CheckKeys(item, where, {"field", "title", "decimals", "width"});
    SandStratumField f;
    const std::string field = TextOf(item, "field", where, "");
    if (field.empty()) Fault(Join(where, "field"), "missing");
    f.field = Utf8ToGbk(field);
    f.title = Utf8ToGbk(TextOf(item, "title", where, field));
    if (Find(item, "decimals")) f.decimals = IntegerOf(item, "decimals", where, -1, kMaxSandStratumDecimals);
    if (Find(item, "width")) {
      f.width = NumberOf(item, "width", where);
      if (!(f.width > 0 && f.width <= 100)) Fault(Join(where, "width"), "must be above 0 and at most 100");
    }
    fields.push_back(std::move(f));
  }
  return fields;
}

void ReadSpecialKeys(const pt::ptree& node, const std::string& where, TrackEntry* t) {
  SpecialEntry& e = t->special;
  if (t->kind == kKindFacies) {
    if (Find(node, "level")) e.facies_level = IntegerOf(node, "level", where, 1, 4);
    e.table = Utf8ToGbk(TextOf(node, "table", where, ""));
    e.names = BoolOf(node, "names", where, true);
  } else if (t->kind == kKindSidewallCore) {
    e.table = Utf8ToGbk(TextOf(node, "table", where, ""));
    e.names = BoolOf(node, "names", where, false);
  } else if (t->kind == kKindSandLayer) {
    if (const pt::ptree* type = Find(node, "sand_type")) {
      // A number, or the name of a sand or stratification data table.
      const int named = SandTypeOfName(Utf8ToGbk(type->data()));
      if (named >= SAND_CLASS1 && named <= SAND_INTERLAYER)
        e.layer_type = named;
      else
        e.layer_type = IntegerOf(node, "sand_type", where, SAND_CLASS1, SAND_INTERLAYER);
    }
    const std::string preset = TextOf(node, "preset", where, "");
    if (const pt::ptree* fields = Find(node, "fields")) {
      if (!preset.empty()) Fault(Join(where, "fields"), "a track has a preset or fields, not both");
      e.layer_fields = ReadLayerFields(*fields, Join(where, "fields"));
    } else if (!preset.empty()) {
      bool found = false;
      e.layer_fields = SandStratumPresetFields(Utf8ToGbk(preset), &found);
      if (!found) Fault(Join(where, "preset"), Quoted(preset) + " is not a preset of " + SandStratumOptionPath());
    }
  }
  if (t->kind == kKindRockSample) {
    if (Find(node, "mark_step")) e.mark_step = IntegerOf(node, "mark_step", where, 0, 1000000);
    e.table = Utf8ToGbk(TextOf(node, "table", where, ""));
    e.numbers = BoolOf(node, "numbers", where, true);
  }
}

void ApplySpecialKeys(CWpKit* content, const TrackEntry& t) {
  const SpecialEntry& e = t.special;
  if (auto* facies = dynamic_cast<CWpFacies*>(content)) {
    facies->SetNameVisible(e.names);
    if (!e.table.empty())
      facies->SetFaciesSource(FACIES_SCATT, "," + e.table + ",");
    else
      facies->SetFaciesSource(FACIES_FINE_FIRST + e.facies_level - 1);
  }
  if (auto* samples = dynamic_cast<CWpLthSample*>(content)) {
    samples->SetMarkStep(e.mark_step);
    samples->SetMarkTextVisible(e.numbers ? 1 : 0);
    // The well's core analysis samples, or a scattered table's, placed by
    // their distance below the run top and numbered by their sample number.
    samples->SetTableName(e.table.empty() ? Gbk("岩心分析数据") : e.table);
    samples->SetDepthFiledName(Gbk("距顶位置"));
    samples->SetNumberFiledName(Gbk("样品编号"));
    samples->SetSampleSource(e.table.empty() ? LSMAPLE_CORE : LSMAPLE_SCATT);
  }
  if (auto* cores = dynamic_cast<CWpSidewallCore*>(content)) {
    cores->SetLithologyTextVisible(e.names);
    cores->SetGradeTextVisible(e.names);
    if (!e.table.empty()) cores->SetDataSource(DATA_SCATT, e.table + Gbk(",岩性,含油级别"));
  }
  if (auto* layers = dynamic_cast<CWpSandStratum*>(content)) {
    if (!e.layer_fields.empty()) layers->SetFields(e.layer_fields);
    layers->SetSandType(e.layer_type);
  }
  if (auto* flags = dynamic_cast<CWpSymbleShoot*>(content)) {
    flags->SetStartDateTime(t.perforation.from);
    flags->SetEndDateTime(t.perforation.to);
  }
}

TrackEntry ReadTrack(const pt::ptree& node, const std::string& where, const std::string& base_dir) {
  CheckKeys(node, where, {"kind", "width", "title", "grid", "curves", "items", "transparent", "align",
                          "valign", "table", "file", "source", "data", "field", "digits",
                          "empty_values", "lines", "values_at", "vertical", "fill", "color",
                          "text_color", "font_size", "styles", "level", "names", "sand_type",
                          "symbol", "precision", "color_width", "oil_width", "divide_lines",
                          "from", "to", "labels", "cells", "bar", "pie", "params", "start", "end",
                          "mark_step", "numbers", "preset", "fields", "time_field"});

  TrackEntry t;
  const std::string kind = TextOf(node, "kind", where, "");
  if (kind.empty()) Fault(Join(where, "kind"), "missing");
  t.kind = ContentKindFromName(kind);
  if (kind == kPerforationSymbolName) {
    t.kind = kKindPerforation;
    t.special.symbol_column = true;
  }
  if (t.kind < 0) {
    std::string names;
    for (const char* n : kKindNames) names += (names.empty() ? "" : ", ") + std::string(n);
    names += std::string(", ") + kPerforationSymbolName;
    Fault(Join(where, "kind"), "unknown kind " + Quoted(kind) + " (one of " + names + ")");
  }
  const float fallback_width = t.kind == kKindCurve ? 3000.0f : t.kind == kKindDepth ? 1800.0f : 2000.0f;
  t.width = Find(node, "width") ? static_cast<float>(NumberOf(node, "width", where)) : fallback_width;
  if (!(t.width > 0)) Fault(Join(where, "width"), "must be positive");
  t.title = TextOf(node, "title", where, "");
  CheckKindKeys(node, where, t.kind);
  ReadIntervalKeys(node, where, &t);
  if (t.kind == kKindText) ReadTextTrack(node, where, &t);
  if (t.kind == kKindPicture || t.kind == kKindGraphic) ReadPictureTrack(node, where, base_dir, &t);
  if (t.kind == kKindProgram) ReadProgramTrack(node, where, base_dir, &t);
  if (t.kind == kKindParameter) ReadParameterTrack(node, where, &t);
  ReadLithologyKeys(node, where, &t);
  ReadPerforationKeys(node, where, &t);
  ReadResultKeys(node, where, &t);
  ReadSpecialKeys(node, where, &t);
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
  CheckFillTargets(t, curves_key);
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

ChartEntry ReadChart(const pt::ptree& root, const std::string& base_dir) {
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
    chart.tracks.push_back(ReadTrack(*items[i], "tracks[" + std::to_string(i) + "]", base_dir));
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
    // The head reads in the curve's colour: name, unit and scale values.
    ZULOGFONT title = curve->GetTitleFont(), unit = curve->GetUnitFont(), limit = curve->GetLimitFont();
    title.color = unit.color = limit.color = c.color;
    curve->SetTitleFont(&title);
    curve->SetUnitFont(unit);
    curve->SetLimitFont(limit);
    curve->SetSource(CVE_WELLLOG);
    curve->SetValueRangeType(0);  // the scale given, not the data's range
    curve->LogScale(c.log ? 1 : 0);
    curve->SetLeft(c.left);
    curve->SetRight(c.right);
    for (const FillEntry& f : c.fills) AddFill(curve, f, c.log);
  }
}

// A stratum or sand column as its keys say.
void ApplyIntervalKeys(CWpKit* content, const TrackEntry& t) {
  if (auto* stratum = dynamic_cast<CWpStratum*>(content)) {
    stratum->SetStratumType(t.stratum.level - 1);
    stratum->ShowStratumName(t.stratum.names);
    stratum->UseBkColor(t.stratum.fill);
  } else if (auto* sand = dynamic_cast<CWpSand*>(content)) {
    if (!t.sand.table.empty()) sand->SetDataName(t.sand.table);
    sand->SetSandType(t.sand.type);
    sand->SetThkTextPrecision(t.sand.precision);
    if (t.sand.bar) {
      sand->SetSymbleType(CWpSand::kSymbolBar);
      ZULOGBRUSH brush;
      brush.style = kBrushSolid;
      brush.color = RGB(255, 214, 92);  // sand yellow
      sand->SetFillBrush(brush);
      // The thickness stands beside the bar.
      sand->SetSymbleRightPos(0.45);
      sand->SetThkTextPos(0.72);
    } else {
      // A bracket open to the right, the thickness inside it.
      sand->SetSymbleType(CWpSand::kSymbolBracket);
      sand->SetVLinePos(CWpSand::kLineLeft);
      sand->SetSymbleLeftPos(0.15);
      sand->SetSymbleRightPos(0.85);
    }
  }
}


// ---------------------------------------------------------------- result, oil test and profiles

void ReadResultKeys(const pt::ptree& node, const std::string& where, TrackEntry* t) {
  const struct {
    const char* key;
    std::initializer_list<int> kinds;
    const char* who;
  } owned[] = {{"labels", {kKindResult}, "a result track"},
               {"cells", {kKindOilTest}, "an oil test track"},
               {"bar", {kKindOilTest}, "an oil test track"},
               {"pie", {kKindOilTest}, "an oil test track"},
               {"params", {kKindInjection, kKindProduction}, "a water_entry or production track"},
               {"start", {kKindInjection, kKindProduction}, "a water_entry or production track"},
               {"end", {kKindInjection, kKindProduction}, "a water_entry or production track"},
               {"time_field", {kKindInjection, kKindProduction}, "a water_entry or production track"}};
  for (const auto& o : owned) {
    if (!Find(node, o.key)) continue;
    if (std::find(o.kinds.begin(), o.kinds.end(), t->kind) == o.kinds.end())
      Fault(Join(where, o.key), std::string("only ") + o.who + " has it");
  }
  if (t->kind == kKindResult) {
    ResultEntry& r = t->result;
    r.table = Utf8ToGbk(TextOf(node, "table", where, ""));
    r.field = TextOf(node, "field", where, r.field);
    if (r.field.empty()) Fault(Join(where, "field"), "must name a field");
    r.labels = BoolOf(node, "labels", where, true);
  } else if (t->kind == kKindOilTest) {
    OilTestEntry& o = t->oil_test;
    o.cells = BoolOf(node, "cells", where, true);
    o.fill = TextOf(node, "fill", where, o.fill);
    if (o.fill != "none" && o.fill != "result" && o.fill != "brush")
      Fault(Join(where, "fill"), "unknown fill " + Quoted(o.fill) + " (none, result or brush)");
    o.bar = BoolOf(node, "bar", where, true);
    o.pie = BoolOf(node, "pie", where, false);
  } else if (t->kind == kKindInjection || t->kind == kKindProduction) {
    ProfileEntry& p = t->profile;
    p.table = Utf8ToGbk(TextOf(node, "table", where, ""));
    p.time_field = Utf8ToGbk(TextOf(node, "time_field", where, ""));
    if (!p.time_field.empty() && p.table.empty()) Fault(Join(where, "time_field"), "needs a table");
    for (const char* key : {"start", "end"}) {
      if (!Find(node, key)) continue;
      const std::string text = TextOf(node, key, where, "");
      DataDate date;
      if (!ParseDataDate(text, &date)) Fault(Join(where, key), Quoted(text) + " is not a date YYYY-MM-DD");
      (std::string_view(key) == "start" ? p.start : p.end) = FormatDataDate(date);
    }
    if (const pt::ptree* params = Find(node, "params")) {
      const std::string key = Join(where, "params");
      const std::vector<const pt::ptree*> list = Items(*params, key);
      for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string at = Indexed(key, i);
        CheckKeys(*list[i], at, {"name", "left", "right", "color"});
        ProfileParam param;
        param.name = TextOf(*list[i], "name", at, "");
        if (param.name.empty()) Fault(Join(at, "name"), "missing");
        if (Find(*list[i], "left")) param.left = NumberOf(*list[i], "left", at);
        if (Find(*list[i], "right")) param.right = NumberOf(*list[i], "right", at);
        param.color = OptionalColor(*list[i], "color", at);
        p.params.push_back(param);
      }
    }
  }
}

void ApplyOilTestKeys(CWpKit* content, const TrackEntry& t) {
  auto* kit = dynamic_cast<CWpOilTest*>(content);
  if (!kit) return;
  const OilTestEntry& o = t.oil_test;
  kit->SetCellTextVisible(o.cells);
  kit->SetFillMode(o.fill == "result" ? 0 : o.fill == "brush" ? 1 : 2);
  kit->SetFullWidth(!o.bar);
  kit->SetPieVisible(o.pie);
}

void ApplyProfileKeys(CWpKit* content, const TrackEntry& t) {
  auto* kit = dynamic_cast<CWpWaterEntry*>(content);
  if (!kit) return;
  kit->SetToProductedFluid(t.kind == kKindProduction);
  if (!t.title.empty()) kit->SetTitleText(Utf8ToGbk(t.title));
  const ProfileEntry& p = t.profile;
  kit->SetParamNumber(static_cast<int>(p.params.size()));
  for (std::size_t i = 0; i < p.params.size(); ++i) {
    const int k = static_cast<int>(i);
    kit->SetParamName(k, Utf8ToGbk(p.params[i].name));
    kit->SetParamRange(k, p.params[i].left, p.params[i].right);
    kit->SetParamColor(k, p.params[i].color.value_or(CWpWaterEntry::GetPreSetColor(k)));
  }
  if (!p.table.empty()) {
    kit->SetSourceType(Gbk("离散数据"));
    kit->SetScattTimeField(p.time_field);
    kit->SetScattTable(p.table);
  }
  // An end alone is the start's partner too; the kit reads both when bound.
  if (!p.start.empty()) kit->SetStartDate(p.start);
  if (!p.end.empty()) kit->SetEndDate(p.end);
}

void ApplyResultKeys(CWpKit* content, const TrackEntry& t) {
  if (auto* result = dynamic_cast<CWpResult*>(content)) {
    const ResultEntry& r = t.result;
    result->SetLabelVisible(r.labels);
    result->SetDataField(Utf8ToGbk(r.field));
    if (!r.table.empty()) {
      result->SetDataType(Gbk("当前井"));
      result->SetDataTable(r.table);
    }
  }
  ApplyOilTestKeys(content, t);
  ApplyProfileKeys(content, t);
}

void AddContentTrack(CWpWell* well, const TrackEntry& t) {
  CWpTrackBuilder(well).AddChild(kCmdWellTrackFirst + static_cast<unsigned>(t.kind));
  if (well->ChildrenCount() == 0) return;
  CWpKit* track = well->GetChild(well->ChildrenCount() - 1);
  if (!track) return;
  track->SetWidth(t.width);
  CWpKit* content = track->GetChild(0);
  if (content && !t.title.empty()) content->SetTitleText(Utf8ToGbk(t.title));
  if (t.kind == kKindText) AddTextItems(track, t);
  if (t.kind == kKindPicture || t.kind == kKindGraphic) AddPictureItems(track, t);
  if (t.kind == kKindProgram) SetUpProgram(track, t);
  if (t.kind == kKindParameter) SetUpParameter(track, t);
  if (content) ApplyIntervalKeys(content, t);
  if (auto* lith = dynamic_cast<CWpCorelith*>(content)) ApplyLithologyKeys(lith, t.lithology);
  ApplyResultKeys(content, t);
  ApplySpecialKeys(content, t);
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
                            CZuLayer* layer, std::string* error, const std::string& base_dir) {
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
    chart = ReadChart(root, base_dir);
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
  float width = 0;
  for (const TrackEntry& t : chart.tracks) {
    if (t.kind == kKindCurve) {
      AddCurveTrack(well, t);
    } else if (t.kind == kKindPerforation && !t.special.symbol_column) {
      AddPerforationTrack(well, t);
    } else {
      AddContentTrack(well, t);
    }
    width += t.width;
  }
  // The chart is as wide as its tracks, each as wide as the template says:
  // every track added was laid out within the well's width of the moment,
  // and a well of any other width would share itself among them.
  if (well->ChildrenCount() == static_cast<int>(chart.tracks.size())) {
    for (std::size_t i = 0; i < chart.tracks.size(); ++i)
      well->GetChild(static_cast<int>(i))->SetWidth(chart.tracks[i].width);
  }
  well->SetWidth(width);
  well->LoadChartData();
  return true;
}

}  // namespace davodu
