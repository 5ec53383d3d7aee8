// The parameter column kit: settings, intervals and the bound data.
#include "davodu/display/wp_param.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "davodu/data/data_io.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/objects/object_factory.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpParam, CWpContent)

CWpParam::CWpParam(CZuLayer* layer) : CWpContent(layer) {
  SetDefaults();
  InitializeNames();
}

CWpParam::~CWpParam() { SepFrmObservee(); }

void CWpParam::InitializeNames() {
  class_name_ = name_ = type_name_ = "CWpParam";
  title_text_ = Gbk("参数");
}

std::string CWpParam::KindLabel() const { return Gbk("参数"); }

void CWpParam::SetDefaults() {
  text_font_ = ZULOGFONT{};
  text_font_.color = 0;
  text_font_.height = 300;
  text_font_.SetFaceName(Gbk("宋体"));
  align_h_ = align_v_ = Gbk("居中");
  text_direction_ = Gbk("横向");
  bl_width_ = 1.0f;
  bl_color_ = 0;
  state_ = 1;
  data_type_ = Gbk("图形");
  data_table_.clear();
  data_field_.clear();
  segs_.clear();
  last_number_ = 0;
  active_ = -1;
  const bool lines[kLineCount] = {true, false, true, false, false, false};
  std::copy(lines, lines + kLineCount, lines_);
  line_type_ = ZULOGPEN{};
  std::fill(points_, points_ + kPointCount, false);
  point_type_ = ZULOGPOINT{};
  const bool texts[kTextCount] = {false, true, false, false, true, false};
  std::copy(texts, texts + kTextCount, texts_);
  text_type_ = ZULOGFONT{};
  fill_visible_ = false;
  rect_fill_brush_ = ZULOGBRUSH{};
  rect_fill_brush_.style = kBrushDefaultSolid;
  rect_fill_brush_.color = 0xFFFFFF;
  for (std::string& t : templates_) t.clear();
  null_display_ = true;
  text_dir_ = STRDIR_HORIZONTAL;
  angle_type_ = 0;
  digit_num_ = 0;
}

void CWpParam::Clear() {
  ClearChildren();
  CWpContent::Clear();
  ClearContent();
  InitializeNames();
  text_dir_ = STRDIR_HORIZONTAL;
  angle_type_ = 0;
  digit_num_ = 0;
  SepFrmObservee();
}

void CWpParam::ClearContent() {
  segs_.clear();
  active_ = -1;
}

void CWpParam::SetDigitNum(int digits) { digit_num_ = std::clamp(digits, 0, 10); }

// ---------------------------------------------------------------- data

void CWpParam::Initialize(CWpWell* well) {
  text_font_.color = 0;
  text_font_.height = 300;
  text_font_.SetFaceName(Gbk("宋体"));
  align_h_ = align_v_ = Gbk("居中");
  text_direction_ = Gbk("横向");
  bl_width_ = 1.0f;
  bl_color_ = 0;
  state_ = 1;
  data_type_ = Gbk("图形");
  data_table_.clear();
  data_field_.clear();
  if (well) {
    SetLayer(well->GetLayer());
    well_ = well;
    gateway_ = well->GetDataMgr();
  }
  text_dir_ = STRDIR_HORIZONTAL;
  angle_type_ = 0;
  digit_num_ = 0;
}

void CWpParam::UpdateDataMgr() {
  auto* track = dynamic_cast<CWpTrack*>(parent_);
  well_ = track ? track->GetWell() : nullptr;
  gateway_ = well_ ? well_->GetDataMgr() : own_gateway_;
}

LogParaDMgrIO* CWpParam::GetDataInfo() const { return gateway_ ? gateway_->GetParaMgr() : nullptr; }

LogParaDIO* CWpParam::GetData() const { return dynamic_cast<LogParaDIO*>(GetObservee()); }

void CWpParam::InitDataTable() {
  UpdateDataMgr();
  if (!gateway_) return;
  LogParaDIO* source = gateway_->GetPara(data_type_, data_table_, data_field_);
  if (source)
    source->Register(this);
  else
    SepFrmObservee();
}

bool CWpParam::SetData(const std::string& type, const std::string& table, const std::string& field) {
  UpdateDataMgr();
  if (!gateway_) return false;
  LogParaDIO* source = gateway_->GetPara(type, table, field);
  SepFrmObservee();
  if (source) source->Attatch(this);
  return false;
}

void CWpParam::ResetData() {
  state_ = 0;
  // A column of its own intervals keeps them; only a data column reads.
  if (data_type_ == Gbk("图形")) return;
  SetData(data_type_, data_table_, data_field_);
  UpdateData();
}

void CWpParam::UpdateWithObservee() {
  UpdateData();
  InvalidBody();
  if (state_ != 0) InvalidParent();
}

void CWpParam::UpdateData() {
  if (data_type_ == Gbk("图形")) return;
  ClearContent();
  SetupContent();
}

void CWpParam::SetupContent() {
  LogParaDIO* source = GetData();
  if (!source) return;
  const int n = source->GetCount();
  for (int i = 0; i < n; ++i) {
    const std::string value = source->GetValue(i);
    if (!null_display_ && value.empty()) continue;
    // Depths beyond the float range are missing, like kFltMax.
    const double top = source->GetTop(i), bottom = source->GetBottom(i);
    if (!(std::fabs(top) < kFltMax) || !(std::fabs(bottom) < kFltMax)) continue;
    AddSegment(i, Str2Num(value), static_cast<float>(top), static_cast<float>(bottom));
  }
}

std::string CWpParam::Str2Num(const std::string& value) const {
  const std::string text = TrimBlanks(value);
  double number = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(number))
    return value;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", digit_num_, number);
  return buf;
}

// ---------------------------------------------------------------- intervals

bool CWpParam::AddSegment(int number, const std::string& value, float top, float bottom) {
  // A missing depth, or one the chart cannot place, adds no interval.
  if (IsMissing(top) || IsMissing(bottom) || !std::isfinite(top) || !std::isfinite(bottom)) return false;
  const double top_y = DepToMapY(top), bottom_y = DepToMapY(bottom);
  if (!std::isfinite(top_y) || !std::isfinite(bottom_y) || std::fabs(top_y) >= kFltMax ||
      std::fabs(bottom_y) >= kFltMax)
    return false;
  auto seg = std::make_shared<CgParamSegment>();
  seg->number = number;
  seg->value = value;
  seg->top_depth = top;
  seg->bottom_depth = bottom;
  seg->left = static_cast<float>(map_nodes_[0].x);
  seg->right = static_cast<float>(map_nodes_[1].x);
  seg->top_y = static_cast<float>(top_y);
  seg->bottom_y = static_cast<float>(bottom_y);
  seg->owner = this;
  segs_.push_back(std::move(seg));
  return true;
}

CgParamSegment* CWpParam::FindSeg(int number) const {
  if (number == -1) return nullptr;
  for (const auto& s : segs_)
    if (s->number == number) return s.get();
  return nullptr;
}

void CWpParam::ActivateSegment(int n) {
  if (n != active_) {
    if (CgParamSegment* previous = FindSeg(active_)) previous->active = false;
  }
  if (CgParamSegment* seg = FindSeg(n)) seg->active = true;
  active_ = n;
}

float CWpParam::GetActiveSegTopDepth() const {
  const CgParamSegment* s = FindSeg(active_);
  return s ? s->top_depth : 0.0f;
}

float CWpParam::GetActiveSegBotDepth() const {
  const CgParamSegment* s = FindSeg(active_);
  return s ? s->bottom_depth : 0.0f;
}

std::string CWpParam::GetActiveSegValue() const {
  const CgParamSegment* s = FindSeg(active_);
  return s ? s->value : std::string();
}

void CWpParam::SetActiveSegValue(const std::string& value) {
  CgParamSegment* s = FindSeg(active_);
  if (!s) return;
  if (data_type_ == Gbk("图形")) {
    s->value = value;
    SetModifyFlag();
    return;
  }
  LogParaDIO* source = GetData();
  if (source && active_ >= 0 && active_ < source->GetCount()) {
    s->value = value;
    // The source tells every kit that shows it, this one included.
    source->SetValue(active_, value);
  }
}

void CWpParam::BuildBody() {
  CWpKit::BuildBody();
  for (const auto& s : segs_) {
    s->left = static_cast<float>(map_nodes_[0].x);
    s->right = static_cast<float>(map_nodes_[1].x);
    s->top_y = static_cast<float>(DepToMapY(s->top_depth));
    s->bottom_y = static_cast<float>(DepToMapY(s->bottom_depth));
  }
}

// ---------------------------------------------------------------- copies and styles

void CWpParam::DuplicateAttribute(CZuObject* target) {
  CWpContent::DuplicateAttribute(target);
  auto* t = dynamic_cast<CWpParam*>(target);
  if (!t || t == this) return;
  t->align_h_ = align_h_;
  t->align_v_ = align_v_;
  t->text_direction_ = text_direction_;
  t->text_font_ = text_font_;
  t->bl_width_ = bl_width_;
  t->bl_color_ = bl_color_;
  t->data_type_ = data_type_;
  t->data_table_ = data_table_;
  t->data_field_ = data_field_;
  t->text_dir_ = text_dir_;
  t->angle_type_ = angle_type_;
  t->digit_num_ = digit_num_;
  std::copy(lines_, lines_ + kLineCount, t->lines_);
  std::copy(points_, points_ + kPointCount, t->points_);
  std::copy(texts_, texts_ + kTextCount, t->texts_);
  std::copy(templates_, templates_ + kTemplateCount, t->templates_);
  t->line_type_ = line_type_;
  t->point_type_ = point_type_;
  t->text_type_ = text_type_;
  t->fill_visible_ = fill_visible_;
  t->rect_fill_brush_ = rect_fill_brush_;
  t->null_display_ = null_display_;
}

void CWpParam::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpContent::Amplify(centre, fx, fy);
  text_font_.height = static_cast<float>(text_font_.height * fx);
  line_type_.width = static_cast<float>(line_type_.width * fx);
  point_type_.size = static_cast<float>(point_type_.size * fx);
  text_type_.height = static_cast<float>(text_type_.height * fx);
  float size = std::bit_cast<float>(rect_fill_brush_.word3);
  size = static_cast<float>(size * fx);
  rect_fill_brush_.word3 = std::bit_cast<std::int32_t>(size);
}

bool CWpParam::IfLineStyleUsed(int code) const { return pen_.style == code || line_type_.style == code; }
bool CWpParam::IfPointStyleUsed(int code) const { return point_type_.style == code; }
bool CWpParam::IfFillStyleUsed(int code) const { return rect_fill_brush_.style == code; }

}  // namespace davodu
