// The depth ruler: settings, depth references, records and drawing.
#include "davodu/display/wp_depth.h"

#include "davodu/kits/depth_steps.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "davodu/data/data_sources.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/graphics/dc.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/objects/zu_map.h"
#include "davodu/host/objects/zu_map_file.h"
#include "davodu/host/records/zu_mfile.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/kits/kit_records.h"
#include "davodu/store/well_data_manager.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

// Text angles of the labels by DepthAlign.
constexpr double kLabelAngles[] = {0.0, 1.5707964, 4.712389};

// Truncation towards zero into an int; NaN gives 0 and values beyond the
// int range the nearest end, so that stored garbage cannot overflow.
int TruncToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (v <= static_cast<double>(INT_MIN)) return INT_MIN;
  return static_cast<int>(v);
}

ZULOGPEN TickPenOf(COLORREF color, float width) {
  ZULOGPEN pen;
  pen.color = color;
  pen.width = width;
  return pen;
}

}  // namespace

DAVODU_IMPLEMENT_DYNCREATE(CWpDepth, CWpContent)

CWpDepth::CWpDepth(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

void CWpDepth::Initialize() {
  class_name_ = "CWpDepth";
  name_ = type_name_ = "WpDep";
  title_text_ = Gbk("深度");
  width_ = 800;
  title_height_ = 800;
  client_height_ = 0;
  title_font_.height = 400;
  title_direction_ = 1;
  for (int i : {0, 3, 4}) border_flags_[i] = 0;
  for (int i : {1, 2, 9}) border_flags_[i] = 1;

  tick_align_ = 2;
  tick_space_ = 1.0f;
  tick_num_ = 5;
  tick_pen_ = TickPenOf(0x808080, 10);
  depth_font_ = ZULOGFONT{};
  depth_font_.color = 0x0000AA;
  depth_font_.height = 330;
  ticks_per_label_ = 10;
  depth_align_ = 2;
  depth_scope_ = 0;
  spare_scope_ = 0;
  label_scope_ = label_font_scope_ = tick_scope_ = tick_line_scope_ = 0;
  show_depth_type_ = DT_MD;
  equal_interval_type_ = DEI_CHART;
  large_line_pen_ = TickPenOf(0x0000AA, 50);
  middle_line_pen_ = TickPenOf(0x808080, 30);
  small_line_pen_ = TickPenOf(0x808080, 10);
  title_font_name_apply_ = title_font_size_apply_ = title_font_color_apply_ = 0;
}

void CWpDepth::Clear() {
  CWpContent::Clear();
  Initialize();
}

// ---------------------------------------------------------------- settings

void CWpDepth::SetTickAlign(int align) { tick_align_ = std::clamp(align, -1, 5); }

void CWpDepth::SetTickSpace(float space) {
  const float label_space = GetDepthSpace();
  if (space >= 0.001f) tick_space_ = space;
  SetDepthSpace(label_space);
}

float CWpDepth::GetDepthSpace() const {
  return static_cast<float>(static_cast<double>(ticks_per_label_) * tick_space_);
}

// Both lengths are compared in whole millimetres. A tick spacing below a
// millimetre (only a document can hold one) gives one tick per label
// rather than a division by zero.
void CWpDepth::SetDepthSpace(float space) {
  const double label_mm = std::trunc(static_cast<double>(space) * 1000);
  const double tick_mm = std::trunc(static_cast<double>(tick_space_) * 1000);
  int ticks = 1;
  if (tick_mm >= 1 && std::isfinite(tick_mm) && std::isfinite(label_mm))
    ticks = std::max(1, TruncToInt(label_mm / tick_mm));
  ticks_per_label_ = ticks;
  if (tick_num_ > ticks_per_label_) tick_num_ = ticks_per_label_;
}

void CWpDepth::SetTickNum(int num) {
  if (num > ticks_per_label_)
    tick_num_ = ticks_per_label_;
  else
    tick_num_ = num < 2 ? 1 : num;
}

void CWpDepth::SetDepthAlign(int align) { depth_align_ = std::clamp(align, 0, 2); }
void CWpDepth::SetDepthScope(int scope) { depth_scope_ = std::clamp(scope, 0, 2); }

// ---------------------------------------------------------------- kit slots

void CWpDepth::AutoDepth() {
  const double s = dep_scl_;
  if (!(s > 0) || !std::isfinite(s)) return;
  const double n = std::trunc(std::log10(1.5 / s));
  const float a = static_cast<float>(0.4 * std::pow(10.0, n));
  const float b = a * static_cast<float>(s);
  const int c = b > 3 ? 1 : b > 1 ? 2 : 4;
  tick_space_ = 125 * a * static_cast<float>(c);
  ticks_per_label_ = 10;
  tick_num_ = 5;
}

void CWpDepth::ScaleSegment() {
  if (title_text_.find(':') == std::string::npos) return;
  CWpWell* well = GetWell();
  const int scale = well ? well->GetDepthScale() : GetDepthScale();
  const bool chinese = title_text_.find(Gbk("深度")) != std::string::npos;
  char scale_text[32];
  std::snprintf(scale_text, sizeof scale_text, "(1:%d)", scale);
  title_text_ = (chinese ? Gbk("深度") : std::string("DEP")) + scale_text;
}

void CWpDepth::ApplyStyle() {
  CWpContent::ApplyStyle();
  CWpWell* well = GetWell();
  if (!well) return;
  const int b = well->GetStyle();
  if (b > 3) border_flags_[2] = 1;
  if (b > 2) {
    border_flags_[5] = border_flags_[7] = 1;
  } else if (b >= 0) {
    border_flags_[7] = 1;
  }
  if (b == 0) {
    border_flags_[8] = 1;
    tick_align_ = 2;
  } else if (b == 1 || b == 2) {
    tick_align_ = 0;
  }
}

void CWpDepth::ResetWidth() { BuildControlNodePointArray(); }

bool CWpDepth::IfLineStyleUsed(int code) const {
  return CWpContent::IfLineStyleUsed(code) || code == tick_pen_.style;
}

void CWpDepth::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpContent::Amplify(centre, fx, fy);
  depth_font_.height = static_cast<float>(depth_font_.height * fx);
  for (ZULOGPEN* pen : {&tick_pen_, &large_line_pen_, &middle_line_pen_, &small_line_pen_})
    pen->width = static_cast<float>(pen->width * fx);
}

void CWpDepth::DuplicateAttribute(CZuObject* target) {
  CWpContent::DuplicateAttribute(target);
  auto* d = dynamic_cast<CWpDepth*>(target);
  if (!d || d == this) return;
  d->tick_align_ = tick_align_;
  d->tick_space_ = tick_space_;
  d->tick_num_ = tick_num_;
  d->ticks_per_label_ = ticks_per_label_;
  d->depth_font_ = depth_font_;
  d->depth_align_ = depth_align_;
  d->show_depth_type_ = show_depth_type_;
  d->equal_interval_type_ = equal_interval_type_;
  d->large_line_pen_ = large_line_pen_;
  d->middle_line_pen_ = middle_line_pen_;
  d->small_line_pen_ = small_line_pen_;
  d->title_font_name_apply_ = title_font_name_apply_;
  d->title_font_size_apply_ = title_font_size_apply_;
  d->title_font_color_apply_ = title_font_color_apply_;
}

std::string CWpDepth::KindLabel() const { return Gbk("深度道"); }

// ---------------------------------------------------------------- depth references

namespace {

// The host manager and the well name the conversions need; no manager when
// the chart is not bound to well data.
struct Conversion {
  CWellDataManager* mgr = nullptr;
  std::string well;
};

Conversion ConversionOf(CWpWell* well) {
  Conversion c;
  if (!well) return c;
  if (auto* gateway = dynamic_cast<WDMgrAdapter*>(well->GetDataMgr())) {
    c.mgr = gateway->GetManager();
    c.well = well->GetName();
  }
  return c;
}

// Depths go from one reference to another through measured depth.
double ConvertDepth(CWpWell* well, int from, int to, double x) {
  if (from == to) return x;
  const Conversion c = ConversionOf(well);
  if (!c.mgr) return x;
  const double md = DepthConverter(c.mgr, c.well, from).ToMeasured(x);
  return DepthConverter(c.mgr, c.well, to).FromMeasured(md);
}

}  // namespace

float CWpDepth::DepthToShowDepth(float x) {
  CWpWell* well = GetWell();
  return static_cast<float>(ConvertDepth(well, well ? well->GetDepthType() : DT_MD, show_depth_type_, x));
}

double CWpDepth::ShowDepthToDepth(double x) {
  CWpWell* well = GetWell();
  return ConvertDepth(well, show_depth_type_, well ? well->GetDepthType() : DT_MD, x);
}

// ---------------------------------------------------------------- records

double CWpDepth::DocumentVersion() const {
  const CZuMapFile* doc = GetMapFile();
  return doc ? doc->GetVersion() : CZuMapFile::kCurrentVersion;
}

// The content group travels in the depth record, so there is no content
// section of its own.
int CWpDepth::SaveToFile(CZuMFile* file) {
  CWpKit::SaveToFile(file);
  file->SetRecordNumber(kRecTagged);
  file->AddRecordElement("Dep");
  file->AddRecordElement(tick_align_);
  file->AddRecordElement(tick_space_);
  file->AddRecordElement(tick_num_);
  file->AddRecordElement(&tick_pen_, sizeof tick_pen_);
  file->AddRecordElement(ticks_per_label_);
  file->AddRecordElement(&depth_font_, sizeof depth_font_);
  file->AddRecordElement(depth_align_);
  file->AddRecordElement("DepthType");
  file->AddRecordElement(static_cast<int>(show_depth_type_));
  file->AddRecordElement("bGroup");
  file->AddRecordElement(group_);
  file->AddRecordElement("EqualIntervalType");
  file->AddRecordElement(static_cast<int>(equal_interval_type_));
  file->AddRecordElement("m_penLargeLine");
  file->AddRecordElement(&large_line_pen_, sizeof large_line_pen_);
  file->AddRecordElement("m_penMiddleLine");
  file->AddRecordElement(&middle_line_pen_, sizeof middle_line_pen_);
  file->AddRecordElement("m_penSmallLine");
  file->AddRecordElement(&small_line_pen_, sizeof small_line_pen_);
  file->WriteNextRecord();
  file->SetRecordNumber(kRecEnd);
  file->WriteNextRecord();
  return 1;
}

// Older documents wrote shorter records: the keyed pairs after the fixed
// elements are looked up one after the other, each only where it can be.
int CWpDepth::ReadFromFile(CZuMFile* file) {
  if (!CWpKit::ReadFromFile(file)) return 0;
  while (file->ReadNextRecord()) {
    const unsigned short number = file->GetRecordNumber();
    if (number == kRecEnd) {
      if (DocumentVersion() < kTickPensVersion) {
        large_line_pen_.color = depth_font_.color;
        large_line_pen_.width = tick_pen_.width * 5;
        middle_line_pen_.color = tick_pen_.color;
        middle_line_pen_.width = tick_pen_.width * 3;
        small_line_pen_ = tick_pen_;
      }
      return 1;
    }
    if (number != kRecTagged) continue;
    const int count = file->GetRecordElementCount();
    std::string tag;
    file->GetRecordElement(0, tag);
    int pos = 1;
    if (EqualsNoCase(tag, "Dep")) {
      file->GetRecordElement(1, tick_align_);
      file->GetRecordElement(2, tick_space_);
      file->GetRecordElement(3, tick_num_);
      ReadBlock(file, 4, &tick_pen_);
      file->GetRecordElement(5, ticks_per_label_);
      ReadBlock(file, 6, &depth_font_);
      file->GetRecordElement(7, depth_align_);
      pos = 8;
    }
    // A keyed pair at pos: on a match the value follows and both are used.
    auto keyed = [&](const char* key, auto&& read) {
      std::string text;
      file->GetRecordElement(pos, text);
      if (text == key) {
        read(pos + 1);
        pos += 2;
      } else {
        pos += 1;
      }
    };
    auto read_int = [&](int* out) {
      return [file, out](int index) { file->GetRecordElement(index, *out); };
    };
    int show = show_depth_type_, equal = equal_interval_type_;
    if (count > 7) keyed("DepthType", read_int(&show));
    if (count > 8) keyed("bGroup", read_int(&group_));
    if (count > 9) keyed("EqualIntervalType", read_int(&equal));
    show_depth_type_ = static_cast<DepthType>(show);
    equal_interval_type_ = static_cast<DepthEqualIntervalType>(equal);
    keyed("m_penLargeLine", [&](int i) { ReadBlock(file, i, &large_line_pen_); });
    keyed("m_penMiddleLine", [&](int i) { ReadBlock(file, i, &middle_line_pen_); });
    keyed("m_penSmallLine", [&](int i) { ReadBlock(file, i, &small_line_pen_); });
  }
  return 0;
}

// ---------------------------------------------------------------- drawing

void CWpDepth::Draw(CDC* dc, CView* view, CRect* clip, CRect* done) {
  if (!visible_) return;
  CWpInWell::Draw(dc, view, clip, done);
  DrawTitle(dc, view, clip, done);
  DrawBlankSpace(dc, view);
  DrawBody(dc, clip);
  DrawBorder(dc, view, clip, done);
}

void CWpDepth::DrawBody(CDC* dc, const CRect* clip) {
  const CLineTool& line = AfxGetLineTool();
  const CTextTool& text = AfxGetTextTool();

  // Range, in the chart's reference or in the shown one.
  double start = 0, end = 0;
  if (equal_interval_type_ == DEI_CHART) {
    start = top_depth_;
    end = bottom_depth_;
  } else if (equal_interval_type_ == DEI_SHOWN) {
    start = DepthToShowDepth(top_depth_);
    end = DepthToShowDepth(bottom_depth_);
  }
  // Settings read from a document may be anything: without a usable
  // spacing there is nothing to draw, and counts below 1 count as 1.
  const double space = tick_space_;
  if (!(space > 0) || !std::isfinite(space)) return;
  const std::int64_t per_label = std::max(ticks_per_label_, 1);
  const std::int64_t per_middle = std::max(tick_num_, 1);
  if (IsMissing(start) || IsMissing(-start) || IsMissing(end) || IsMissing(-end)) return;
  AfxModifyStepValue(start, end, static_cast<double>(per_label) * space);
  if (!std::isfinite(start) || !std::isfinite(end) || end < start) return;

  // Label extent across the column and tick lengths.
  const double zoom = zoom_;
  const int extent =
      depth_align_ <= 0
          ? TruncToInt(depth_font_.height * zoom)
          : TruncToInt(depth_font_.GetWidth() * static_cast<double>(AfxFloatToString(end).size()) *
                       zoom);
  const double w = width_ * zoom;
  const std::int64_t h = std::min(TruncToInt((w - extent) / 1.5), TruncToInt(w / 6));
  const std::int64_t long_len = (3 * h) / 2;

  // Ticks are drawn strictly inside the body; those that fall outside the
  // clip are skipped too, but a label reaching into the clip still counts.
  const CPoint* n = draw_nodes_;
  std::int64_t y_high = static_cast<std::int64_t>(n[0].y) - 1;
  std::int64_t y_low = static_cast<std::int64_t>(n[10].y) + 1;
  if (clip) {
    const CRect c = clip->Normalized();
    const std::int64_t margin =
        std::max<std::int64_t>(extent, TruncToInt(depth_font_.height * zoom)) + 1;
    y_high = std::min(y_high, c.top + margin);
    y_low = std::max(y_low, c.bottom - margin);
  }
  if (y_low > y_high) return;

  const double steps = std::floor((end - start) / space);
  if (!(steps >= 0)) return;
  constexpr double kMaxIndex = 1e15;
  const std::int64_t last = static_cast<std::int64_t>(std::min(steps, kMaxIndex));

  const CCoordTranslator& tr = GetTranslator();
  const double node_x = map_nodes_[0].x;
  auto depth_at = [&](std::int64_t i) { return static_cast<double>(i) * space + start; };
  // The draw Y of tick i; none when its depth has no place in the chart.
  auto draw_y = [&](std::int64_t i) -> std::optional<int> {
    const double d = depth_at(i);
    const double chart = equal_interval_type_ == DEI_SHOWN ? ShowDepthToDepth(d) : d;
    if (!std::isfinite(chart) || IsMissing(chart) || IsMissing(-chart)) return std::nullopt;
    return tr.MapToDraw(FLOATPOINT{node_x, DepToMapY(chart)}).y;
  };
  auto first_at_or_below = [&](std::int64_t y) { return FirstStepAtOrBelow(0, last, y, draw_y); };
  const std::int64_t first = first_at_or_below(y_high);
  const std::int64_t beyond = first_at_or_below(y_low - 1);
  if (beyond <= first) return;
  // More ticks than draw units would only smear the column.
  if (beyond - first > y_high - y_low + 1) return;

  const double angle = kLabelAngles[std::clamp(depth_align_, 0, 2)];
  for (std::int64_t i = first; i < beyond; ++i) {
    const std::optional<int> oy = draw_y(i);
    if (!oy) continue;
    const int y = *oy;
    if (y >= n[0].y || y <= n[10].y || y > y_high || y < y_low) continue;

    const bool labelled = i % per_label == 0;
    const bool middle = !labelled && i % per_middle == 0;
    const ZULOGPEN& pen = labelled ? large_line_pen_ : middle ? middle_line_pen_ : small_line_pen_;
    const std::int64_t len = labelled || middle ? long_len : h;

    if (labelled) {
      const double d = depth_at(i);
      const double shown =
          equal_interval_type_ == DEI_SHOWN ? d : DepthToShowDepth(static_cast<float>(d));
      // Rounded to the nearest metre, halves upwards also below zero.
      const double k = std::floor(shown + 0.5);
      if (std::isfinite(k) && std::fabs(k) < 2e9) {
        const double label = show_depth_type_ == DT_AD ? -k : k;
        text.DrawText(dc, CPoint{n[8].x, y}, AfxFloatToString(label), depth_font_, zoom, angle,
                      kAlignCenter, kAlignMiddle);
      }
    }
    if (len <= 0) continue;
    const int length = static_cast<int>(std::min<std::int64_t>(len, CCoordTranslator::kDrawLimit));
    const bool sparse = tick_num_ > 1 && i % tick_num_ == 0;
    const bool left = tick_align_ == 0 || tick_align_ == 2 ||
                      ((tick_align_ == 3 || tick_align_ == 5) && sparse);
    const bool right = tick_align_ == 1 || tick_align_ == 2 ||
                       ((tick_align_ == 4 || tick_align_ == 5) && sparse);
    if (left) line.DrawLine(dc, CPoint{n[0].x, y}, CPoint{n[0].x + length, y}, pen, zoom);
    if (right) line.DrawLine(dc, CPoint{n[1].x, y}, CPoint{n[1].x - length, y}, pen, zoom);
  }
}

void CWpDepth::DrawSelectedMark(CDC* dc, CView*, int handles) {
  ZULOGPEN frame = border_pen_;
  frame.style = kPenMarkDepthFrame;
  frame.rop = kRopNotXor;
  const CLineTool& line = AfxGetLineTool();
  const CPoint* n = draw_nodes_;
  auto join = [&](int a, int b) { line.DrawLine(dc, n[a], n[b], frame, zoom_); };
  if (head_align_ >= 0)
    for (auto [a, b] : {std::pair{4, 5}, std::pair{2, 4}, std::pair{3, 5}}) join(a, b);
  if (head_align_ == 1)
    for (auto [a, b] : {std::pair{14, 15}, std::pair{12, 14}, std::pair{13, 15}}) join(a, b);
  for (auto [a, b] : {std::pair{2, 3}, std::pair{0, 10}, std::pair{1, 11}, std::pair{10, 11}})
    join(a, b);
  if (!handles) return;
  ZULOGPEN handle = frame;
  handle.style = kPenMarkHandle;
  for (int i : {6, 7, 8, 9}) DrawNodeSquare(dc, i, handle);
}

}  // namespace davodu
