// The sand kit: settings, the data link, editing and drawing.
#include "davodu/interval/wp_sand.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "davodu/data/data_sources.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSand, CWpSegment)

CWpSand::CWpSand(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpSand::Initialize() {
  class_name_ = "CWpSand";
  name_ = type_name_ = "WpSand";
  title_text_ = Gbk("砂岩");
  symbol_type_ = kSymbolBracket;
  vline_pos_ = kLineMiddle;
  left_pos_ = 0.0;
  right_pos_ = 1.0;
  line_size_ = static_cast<float>(kFltMax);
  show_thickness_ = true;
  thickness_pos_ = 0.5;
  thickness_font_ = ZULOGFONT{};
  thickness_font_.height = 250;
  thickness_font_.SetFaceName(Gbk("宋体"));
  precision_ = 2;
  divide_pen_ = ZULOGPEN{};
  divide_pen_.color = 0;
  divide_pen_.width = 20;
  divide_line_visible_ = true;
  fill_ = true;
  color_word_ = 0xFFFFFF;
  fill_style_ = Gbk("常用填充");
  fill_brush_ = ZULOGBRUSH{};
  fill_brush_.color = 0;
  const float pattern_size = 500.0f;
  std::memcpy(&fill_brush_.word3, &pattern_size, sizeof pattern_size);
  text_dir_ = STRDIR_HORIZONTAL;
  angle_type_ = kAngleUpright;
}

void CWpSand::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

std::string CWpSand::KindLabel() const { return Gbk("砂层"); }

// ---------------------------------------------------------------- settings

bool CWpSand::SetSymbleType(int type) {
  if (type != kSymbolBar && type != kSymbolBracket) return false;
  symbol_type_ = type;
  return true;
}

bool CWpSand::SetVLinePos(int pos) {
  if (pos < kLineLeft || pos > kLineNone) return false;
  vline_pos_ = pos;
  return true;
}

bool CWpSand::SetSymbleLeftPos(double pos) {
  if (!(pos >= 0 && pos <= 1 && pos < right_pos_)) return false;
  left_pos_ = pos;
  return true;
}

bool CWpSand::SetSymbleRightPos(double pos) {
  if (!(pos >= 0 && pos <= 1 && pos > left_pos_)) return false;
  right_pos_ = pos;
  return true;
}

bool CWpSand::SetThkTextPos(double pos) {
  if (!(pos >= 0 && pos <= 1)) return false;
  thickness_pos_ = pos;
  return true;
}

bool CWpSand::IfLineStyleUsed(int code) const {
  return CWpSegment::IfLineStyleUsed(code) || divide_pen_.style == code;
}

void CWpSand::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpSegment::Amplify(centre, fx, fy);
  thickness_font_.height *= static_cast<float>(fx);
  divide_pen_.width *= static_cast<float>(fx);
}

void CWpSand::DuplicateAttribute(CZuObject* target) {
  auto* s = dynamic_cast<CWpSand*>(target);
  if (!s || s == this) return;
  CWpSegment::DuplicateAttribute(target);
  if (Observee* io = GetObservee()) io->Register(s);
  s->symbol_type_ = symbol_type_;
  s->vline_pos_ = vline_pos_;
  s->left_pos_ = left_pos_;
  s->right_pos_ = right_pos_;
  s->line_size_ = line_size_;
  s->show_thickness_ = show_thickness_;
  s->thickness_pos_ = thickness_pos_;
  s->thickness_font_ = thickness_font_;
  s->precision_ = precision_;
  s->divide_pen_ = divide_pen_;
  s->divide_line_visible_ = divide_line_visible_;
  s->fill_ = fill_;
  s->color_word_ = color_word_;
  s->fill_style_ = fill_style_;
  s->fill_brush_ = fill_brush_;
  s->text_dir_ = text_dir_;
  s->angle_type_ = angle_type_;
}

// ---------------------------------------------------------------- data link

LogSandDIO* CWpSand::FindDataObject(WDMgrIO* gateway) {
  // Only a scattered table is named; the well's tables are not.
  const std::string name = data_source_ == SAND_SCATT ? data_name_ : std::string();
  return gateway->GetSand(static_cast<SANDTYPE>(data_source_), name);
}

void CWpSand::TakeIdentifier(const LOGSAND& entry) {
  data_source_ = entry.type;
  if (entry.type == SAND_SCATT) data_name_ = entry.name;
}

void CWpSand::SetSandType(int type) {
  if (type == data_source_) return;
  data_source_ = type;
  ResetData();
}

void CWpSand::SetDataName(const std::string& name) {
  data_name_ = name;
  ResetData();
}

void CWpSand::UpdateD2V() {
  if (LogSandDIO* io = GetData()) {
    ClearSeg();
    const int n = io->GetCount();
    for (int i = 0; i < n; ++i) {
      const double top = io->GetTop(i), bottom = io->GetBottom(i);
      if (IsMissing(top) || IsMissing(bottom) || !InDepthRange(top, bottom)) continue;
      const int at = AddASeg(DepToMapY(top), DepToMapY(bottom));
      if (at < 0) continue;
      WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
      seg.data = std::make_shared<DataIndex>(i);
      seg.top_depth = top;
      seg.bottom_depth = bottom;
    }
  }
  InvalidBody();
}

void CWpSand::UpdateSegDepth() {
  if (GetData())
    UpdateD2V();
  else
    CWpSegment::UpdateSegDepth();
}

// ---------------------------------------------------------------- editing

int CWpSand::RecordOf(int index) const {
  if (index < 0 || index >= GetSegCount()) return -1;
  const auto* rec = dynamic_cast<const DataIndex*>(segs_[static_cast<std::size_t>(index)].data.get());
  return rec ? rec->index : -1;
}

void CWpSand::MoveSeg(int index, double dy) {
  LogSandDIO* io = GetData();
  if (!io) {
    CWpSegment::MoveSeg(index, dy);
    SetModifyFlag();
    return;
  }
  const int record = RecordOf(index);
  if (record < 0) return;
  const WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  // The shift the neighbours allow, as depths through the kit's mapping.
  const double d = SegmentShift(segs_, index, kPickInside, dy, GetBodyTop(), GetBodyBottom(), 0);
  const double shift = static_cast<double>(MapYToDep(static_cast<float>(seg.top + d))) -
                       MapYToDep(static_cast<float>(seg.top));
  if (shift == 0) return;
  // A refused move leaves everything as it was.
  if (io->Move(record, shift)) io->Notify();
}

void CWpSand::MoveSegP(int index, double dy, int which) {
  LogSandDIO* io = GetData();
  if (!io) {
    CWpSegment::MoveSegP(index, dy, which);
    SetModifyFlag();
    return;
  }
  const int record = RecordOf(index);
  if (record < 0 || (which != kPickTop && which != kPickBottom)) return;
  const WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  const double d =
      SegmentShift(segs_, index, which, dy, GetBodyTop(), GetBodyBottom(), MinSegThickness());
  const double y = (which == kPickTop ? seg.top : seg.bottom) + d;
  const double depth = MapYToDep(static_cast<float>(y));
  SettleEdit(which == kPickTop ? io->SetTop(record, depth) : io->SetBottom(record, depth));
}

bool CWpSand::SetSegTopDpth(int index, double depth) {
  if (index < 0 || index >= GetSegCount()) return false;
  if (LogSandDIO* io = GetData()) {
    const int record = RecordOf(index);
    return SettleEdit(record >= 0 && io->SetTop(record, depth));
  }
  segs_[static_cast<std::size_t>(index)].top = DepToMapY(depth);
  segs_[static_cast<std::size_t>(index)].top_depth = depth;
  SetModifyFlag();
  return true;
}

bool CWpSand::SetSegBottomDpth(int index, double depth) {
  if (index < 0 || index >= GetSegCount()) return false;
  if (LogSandDIO* io = GetData()) {
    const int record = RecordOf(index);
    return SettleEdit(record >= 0 && io->SetBottom(record, depth));
  }
  segs_[static_cast<std::size_t>(index)].bottom = DepToMapY(depth);
  segs_[static_cast<std::size_t>(index)].bottom_depth = depth;
  SetModifyFlag();
  return true;
}

// ---------------------------------------------------------------- drawing

std::string CWpSand::ThicknessText(const WPSEGMENT& seg) {
  const float thickness = MapYToDep(static_cast<float>(seg.bottom)) - MapYToDep(static_cast<float>(seg.top));
  const int digits = std::clamp(precision_, 0, 9);
  return AfxFloatToString(thickness, "%." + std::to_string(digits) + "f");
}

void CWpSand::DrawOneSeg(WPSEGMENT& seg, COLORREF, CDC* dc, CView*, CRect*, CRect*) {
  const double left = GetLeft(), width = GetRight() - GetLeft();
  const double x1 = left + width * left_pos_, x2 = left + width * right_pos_;
  const CRect r = MP2LP(FLOATRECT{x1, seg.top, x2, seg.bottom});
  if (symbol_type_ == kSymbolBar && fill_) AfxGetFillTool().FillRect(dc, r, fill_brush_, zoom_);
  if (symbol_type_ == kSymbolBracket && divide_line_visible_) {
    const CLineTool& line = AfxGetLineTool();
    line.DrawLine(dc, CPoint{r.left, r.top}, CPoint{r.right, r.top}, divide_pen_, zoom_);
    line.DrawLine(dc, CPoint{r.left, r.bottom}, CPoint{r.right, r.bottom}, divide_pen_, zoom_);
    auto vertical = [&](int x) { line.DrawLine(dc, CPoint{x, r.top}, CPoint{x, r.bottom}, divide_pen_, zoom_); };
    switch (vline_pos_) {
      case kLineLeft: vertical(r.left); break;
      case kLineRight: vertical(r.right); break;
      case kLineMiddle: vertical((r.left + r.right) / 2); break;
      case kLineBoth: vertical(r.left), vertical(r.right); break;
      default: break;
    }
  }
  if (!show_thickness_) return;
  const double text_x = left + width * thickness_pos_;
  const CRect band = MP2LP(FLOATRECT{text_x, seg.top, GetRight(), seg.bottom});
  // A band lower than the text would have it cross the lines above and
  // below: such thin bodies go without their number.
  const double text_height = thickness_font_.height * zoom_;
  const bool upright = text_dir_ == STRDIR_HORIZONTAL;
  if (upright && std::abs(band.top - band.bottom) < 0.8 * text_height) return;
  DrawOrientationText(dc, CPoint{band.left, (band.top + band.bottom) / 2}, ThicknessText(seg),
                      text_dir_, thickness_font_, angle_type_, zoom_);
}

}  // namespace davodu
