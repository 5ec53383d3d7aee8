// The curve kit: settings, sample loading, the value scale and the fills.
#include "davodu/display/wp_curve.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#include "davodu/data/wd_mgr.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/data/data_set_checker.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

namespace {

constexpr double kScaleTol = 0.001;   // scale ends closer than this are equal
constexpr double kLogFloor = 0.00001;  // smallest value a log scale maps
constexpr double kLowValue = -990;     // values below this are missing

ZULOGPEN PenOf(COLORREF color, float width) {
  ZULOGPEN pen;
  pen.color = color;
  pen.width = width;
  return pen;
}

// The name of the fill-style group of a brush style; the host keeps no
// named groups here, so every brush belongs to the set of all styles.
std::string StyleGroupName(int /*style*/) { return Gbk("所有样式"); }

void CopyName(char (&out)[32], const std::string& text) {
  std::memset(out, 0, sizeof out);
  std::memcpy(out, text.data(), std::min(text.size(), sizeof out - 1));
}

}  // namespace

std::string CVEFILL::Target() const {
  return std::string(block.target, strnlen(block.target, sizeof block.target));
}

void CVEFILL::SetTarget(const std::string& gbk_name) { CopyName(block.target, gbk_name); }

DAVODU_IMPLEMENT_DYNCREATE(CWpCurve, CWpContent)

CWpCurve::CWpCurve(CZuLayer* layer) : CWpContent(layer) { Initialize(); }

CWpCurve::~CWpCurve() = default;

void CWpCurve::Initialize() {
  class_name_ = "CWpCurve";
  name_ = type_name_ = "WpCve";
  title_text_ = Gbk("曲线");
  title_height_ = title_font_.height + 330;
  client_height_ = 0;
  title_direction_ = 1;
  for (int i : {1, 3, 4, 7, 8}) border_flags_[i] = 0;
  const COLORREF color = title_font_.color;

  source_ = 0;
  table_.clear();
  show_unit_ = 1;
  unit_text_.clear();
  unit_font_ = ZULOGFONT{};
  unit_font_.color = color;
  unit_font_.height = 330;
  unit_font_.SetFaceName(Gbk("宋体"));
  unit_align_ = 1;
  log_scale_ = 0;
  show_scale_ = 0;
  multiples_ = 1.0f;
  left_ = right_ = 0;
  show_limit_ = SSW_LINE_AND_VALUES;
  limit_font_ = ZULOGFONT{};
  limit_font_.color = color;
  limit_font_.height = 330;
  limit_align_ = -1;
  type_curve_ = CVT_LINE;
  point_ = ZULOGPOINT{};
  point_.size = 100;
  point2_ = ZULOGPOINT{};
  point2_.size = 50;
  pen2_ = PenOf(color, 40);
  pen_cur2_ = PenOf(color, 40);
  scanted_ = 1;
  frequency_ = 1.0f;
  depths_.clear();
  values_.clear();
  fills_.clear();
  fill_at_ = -1;
  document_samples_ = 0;
  unt_scope_ = lmt_scope_ = 0;
  grid_origin_ = grid_step_ = 0;
  linear_left_ = linear_right_ = log_left_ = log_right_ = 0;
  draw_points_.clear();
  segment_lengths_.clear();
  segment_parts_.clear();
  draw_segments_.clear();
  flag_line_value_ = 10.0f;
  flag_line_show_ = false;
  flag_line_pen_ = PenOf(0, 30);
  value_range_type_ = 2;
  scale_decimal_digit_ = 2;
  pen_color_scope_ = 7;
  title_font_name_apply_ = title_font_size_apply_ = title_font_color_apply_ = 0;
  ttl_font_name_apply_ = ttl_font_size_apply_ = ttl_font_clr_apply_ = 0;
}

void CWpCurve::Clear() {
  CWpContent::Clear();
  ClearData();
  ClearFills();
  Initialize();
}

// ---------------------------------------------------------------- data

void CWpCurve::SetUnitText(const std::string& unit) {
  unit_text_ = TrimBlanks(unit);
  if (unit_text_ == Gbk("无")) unit_text_.clear();
}

void CWpCurve::SetSamples(std::vector<double> depths, std::vector<double> values) {
  if (depths.size() != values.size()) {
    depths.clear();
    values.clear();
  }
  depths_ = std::move(depths);
  values_ = std::move(values);
}

void CWpCurve::SetSource(int source) {
  if (source == source_) return;
  source_ = source;
  if (source_ != 0) InitData(name_, 2);
}

void CWpCurve::SetTable(const std::string& table) {
  if (EqualsNoCase(table, table_)) return;
  table_ = table;
  InitData(name_, 2);
}

void CWpCurve::ResetData() { InitData(name_, 2); }

void CWpCurve::ClearData() {
  draw_segments_.clear();
  depths_.clear();
  values_.clear();
}

int CWpCurve::IsValid() { return GetSampleCount() > 1 ? 1 : 0; }

LogCveDataIO* CWpCurve::FindCurveData() {
  if (source_ <= 0) return nullptr;
  CWpWell* well = GetWell();
  WDMgrIO* mgr = well ? well->GetDataMgr() : nullptr;
  if (!mgr) return nullptr;
  return mgr->GetLogCve(static_cast<CVESOURCE>(source_), name_, table_);
}

void CWpCurve::InitData(const std::string& name, int mode) {
  name_ = name;
  if (source_ > 0) {
    ClearData();
    if (mode < 2) ClearFills();
    document_samples_ = 0;
  }
  if (name.empty() || name == Gbk("未指定")) {
    name_ = "WpCve";
    draw_segments_.clear();
    return;
  }
  LogCveDataIO* io = FindCurveData();
  if (!io) return;
  UpdateRightLeftValue();
  if (flag_line_value_ > std::max(left_, right_) || flag_line_value_ < std::min(left_, right_))
    flag_line_value_ = (left_ + right_) / 2;
  InitDepAndVal(io);
  // New data settles the scale ends and the square-wave step as reading a
  // document does, so that a chart saved now reads back unchanged. A curve
  // being reloaded (mode 1 or 2) keeps a square-wave step the user set
  // while it still fits the scale; only a new curve (mode 0) takes the
  // step from the scale.
  LmtCve(/*keep_frequency=*/mode != 0);
}

bool CWpCurve::ValueValid(double v) const {
  if (kFltMax - v < kScaleTol) return false;
  if (v < kLowValue) return false;
  if (log_scale_ && v < kLogFloor) return false;
  return true;
}

void CWpCurve::InitDepAndVal(LogCveDataIO* io) {
  const double* dep = io->GetDepthBuffer();
  const double* val = io->GetValueBuffer();
  const int n = io->GetValueCount();
  if (!dep || !val || n <= 0) return;
  auto invalid_front = [&](int i) { return dep[i] < top_depth_ || !ValueValid(val[i]); };
  auto invalid_back = [&](int i) { return dep[i] > bottom_depth_ || !ValueValid(val[i]); };
  int first = 0;
  while (first < n - 1 && invalid_front(first)) ++first;
  int last = n - 1;
  while (last > 0 && invalid_back(last)) --last;
  if (last < first || invalid_front(first) || invalid_back(last)) {
    depths_.clear();
    values_.clear();
    return;
  }
  depths_.assign(dep + first, dep + last + 1);
  values_.assign(val + first, val + last + 1);
}

float CWpCurve::GetValue(float depth) const {
  const int n = GetSampleCount();
  if (n < 2 || !ScaleUsable()) return -9999;
  const double d = depth;
  if (d < depths_.front() || d > depths_.back()) return -9999;
  for (int i = 0; i + 1 < n; ++i) {
    if (depths_[i] <= d && d <= depths_[i + 1])
      return static_cast<float>(depths_[i] + depths_[i + 1] < 2 * d ? values_[i + 1] : values_[i]);
  }
  return -9999;
}

float CWpCurve::GetDepth(float depth) const {
  const int n = GetSampleCount();
  if (n < 2 || !ScaleUsable()) return depth;
  const double d = depth;
  if (d < depths_.front() || d > depths_.back()) return depth;
  for (int i = 0; i + 1 < n; ++i) {
    if (depths_[i] <= d && d <= depths_[i + 1])
      return static_cast<float>(depths_[i] + depths_[i + 1] < 2 * d ? depths_[i + 1] : depths_[i]);
  }
  return depth;
}

void CWpCurve::UpdateRightLeftValue() {
  LogCveDataIO* io = FindCurveData();
  if (!io || value_range_type_ == 0) return;
  double lo, hi;
  if (value_range_type_ == 1) {
    lo = io->GetMinValue();
    hi = io->GetMaxValue();
  } else {
    lo = io->GetMinValue(top_depth_, bottom_depth_);
    hi = io->GetMaxValue(top_depth_, bottom_depth_);
  }
  if (!std::isfinite(lo) || !std::isfinite(hi)) return;
  if (right_ > left_) {
    SetLeft(static_cast<float>(lo));
    SetRight(static_cast<float>(hi));
  } else {
    SetLeft(static_cast<float>(hi));
    SetRight(static_cast<float>(lo));
  }
}

// ---------------------------------------------------------------- scale

// A scale maps only with distinct ends, and on a log scale positive ones.
bool CWpCurve::ScaleUsable() const {
  if (std::fabs(static_cast<double>(left_) - right_) < kScaleTol) return false;
  if (log_scale_ && (left_ < kLogFloor || right_ < kLogFloor)) return false;
  return std::isfinite(left_) && std::isfinite(right_);
}

void CWpCurve::SetLeft(float value, int) {
  if (!std::isfinite(value) || std::fabs(static_cast<double>(value) - left_) < kScaleTol) return;
  if (log_scale_ && value < 1e-9f) return;
  left_ = value;
  (log_scale_ ? log_left_ : linear_left_) = value;
  LmtFll();
}

void CWpCurve::SetRight(float value, int) {
  if (!std::isfinite(value) || std::fabs(static_cast<double>(value) - right_) < kScaleTol) return;
  if (log_scale_ && value < 1e-9f) return;
  right_ = value;
  (log_scale_ ? log_right_ : linear_right_) = value;
  LmtFll();
}

void CWpCurve::LogScale(int flag) {
  if (flag == log_scale_) return;
  log_scale_ = flag;
  SclTrk();
  LmtFll();
  ReCalFillColor(log_scale_ != 0);
}

void CWpCurve::SetValueRangeType(int type) { value_range_type_ = std::clamp(type, 0, 2); }

void CWpCurve::SetScaleDecimalDigit(int digits) { scale_decimal_digit_ = std::clamp(digits, 0, 8); }

void CWpCurve::SetLeftAlignText(bool up) {
  const float lo = std::min(left_, right_), hi = std::max(left_, right_);
  left_ = up ? lo : hi;
  right_ = up ? hi : lo;
}

void CWpCurve::SetCurveType(int type) {
  type_curve_ = std::clamp(type, 0, 6);
  if (type_curve_ == CVT_SQUARE) LmtCve();
}

void CWpCurve::SetFrequency(float f) {
  if (!(f >= 0.001f)) return;
  if (std::fabs(right_ - left_) < f) return;
  if (std::max(left_, right_) < 2 * f) return;
  frequency_ = f;
  RecAmp();
}

void CWpCurve::LmtCve(bool keep_frequency) {
  linear_left_ = std::fabs(left_) < kScaleTol ? 0.0 : left_;
  linear_right_ = std::fabs(right_) < kScaleTol ? 0.0 : right_;
  const double u = std::max(static_cast<double>(left_), 0.01);
  const double v = std::max(static_cast<double>(right_), 0.01);
  if (right_ > left_) {
    log_left_ = std::pow(10.0, std::floor(std::log10(u)));
    log_right_ = std::pow(10.0, std::ceil(std::log10(v)));
  } else {
    log_left_ = std::pow(10.0, std::ceil(std::log10(u)));
    log_right_ = std::pow(10.0, std::floor(std::log10(v)));
  }
  if (value_range_type_ != 0) {
    left_ = static_cast<float>(log_scale_ ? log_left_ : linear_left_);
    right_ = static_cast<float>(log_scale_ ? log_right_ : linear_right_);
  }
  // The square-wave step: a fifth of the larger end, at most a third of the
  // range. An empty scale gives no step; the present one stays then, as it
  // does after reading when the stored step still fits the scale.
  const double q = std::max(std::fabs(left_), std::fabs(right_)) / 5.0;
  const double r = std::fabs(static_cast<double>(right_) - left_);
  const double f = frequency_;
  const bool fits = f >= 0.001 && r >= f && std::max(left_, right_) >= 2 * f;
  const double step = q > r ? r / 3 : q;
  if (!(keep_frequency && fits) && step >= 0.001 && std::isfinite(step))
    frequency_ = static_cast<float>(step);
  RecAmp();
}

// The square-wave grid: multiples of Frequency in draw x. A zero frequency
// or an empty scale (both possible in stored documents) leaves it as it is.
void CWpCurve::RecAmp() {
  const double f = frequency_, l = left_, r = right_;
  if (!(f >= 0.001) || std::fabs(r - l) < kScaleTol || !std::isfinite(l) || !std::isfinite(r))
    return;
  double c, e;
  if (r > l) {
    c = std::floor(l / f);
    e = std::ceil(r / f);
  } else {
    c = std::ceil(l / f);
    e = std::floor(r / f);
  }
  if (std::fabs(e - c) < 1) return;
  const double xl = draw_nodes_[0].x, xr = draw_nodes_[1].x;
  const double k = (xr - xl) / (r - l);
  const double origin = xr - (r - c * f) * k;
  const double step = ((e * f - l) * k + xl - origin) / (e - c);
  if (std::fabs(step) < 0.001 || !std::isfinite(step) || !std::isfinite(origin)) return;
  grid_origin_ = origin;
  grid_step_ = step;
}

void CWpCurve::SclTrk() {
  left_ = static_cast<float>(log_scale_ ? log_left_ : linear_left_);
  right_ = static_cast<float>(log_scale_ ? log_right_ : linear_right_);
  auto* track = dynamic_cast<CWpTrack*>(parent_);
  if (!track) return;
  double lo = std::min(left_, right_), hi = std::max(left_, right_);
  int curves = 0, alike = 0;
  for (CWpKit* k : track->GetChildren()) {
    auto* c = dynamic_cast<CWpCurve*>(k);
    if (!c) continue;
    ++curves;
    if (c->log_scale_ != log_scale_) continue;
    ++alike;
    if (log_scale_) {
      lo = std::min<double>(lo, std::min(c->left_, c->right_));
      hi = std::max<double>(hi, std::max(c->left_, c->right_));
    }
  }
  if (alike != curves) return;
  if (track->IsLogScale() == log_scale_) return;
  const int was_log = track->IsLogScale();
  track->LogScale(log_scale_);
  if (was_log) return;
  const bool increasing = right_ > left_;
  const float common_left = static_cast<float>(increasing ? lo : hi);
  const float common_right = static_cast<float>(increasing ? hi : lo);
  if (common_left >= 1e-9f) track->SetLeft(common_left);
  if (common_right >= 1e-9f) track->SetRight(common_right);
  for (CWpKit* k : track->GetChildren()) {
    if (auto* c = dynamic_cast<CWpCurve*>(k)) {
      c->SetLeft(common_left);
      c->SetRight(common_right);
    }
  }
}

double CWpCurve::ValToMapX(double x, int* part) const {
  const double x0 = map_nodes_[0].x;
  const double l = left_, r = right_, w = width_, mult = multiples_;
  if (GetSampleCount() < 2 || x < kLowValue || !std::isfinite(x)) return x0;
  if (log_scale_ && (l < kLogFloor || r < kLogFloor || x < kLogFloor)) return x0;
  if (std::fabs(l - r) < kScaleTol || !(mult > 0)) return x0;
  double m, b, range;
  if (log_scale_) {
    m = std::log10(x / r);
    b = std::log10(l / x);
    range = std::log10(static_cast<double>(static_cast<float>(r / l)));
  } else {
    m = x - r;
    b = l - x;
    range = r - l;
  }
  int p;
  if (range >= 0)
    p = b > kScaleTol ? 0 : (m > kScaleTol ? 2 : 1);
  else
    p = b < -kScaleTol ? 0 : (m < -kScaleTol ? 2 : 1);
  const double u = range * mult;
  if (u == 0 || !std::isfinite(u)) return x0;
  double v;
  if (p == 1)
    v = b * mult;
  else if (p == 0)
    v = b - u * (std::trunc(b / u) + 1);
  else
    v = u * std::trunc(m / u) - m;
  if (part) *part = p;
  return x0 - v * w / u;
}

// ---------------------------------------------------------------- fills

CVEFILL* CWpCurve::FillAt(int i) const {
  return i >= 0 && i < FillCount() ? fills_[static_cast<std::size_t>(i)].get() : nullptr;
}

int CWpCurve::FindFill(const CVEFILL* fill) const {
  if (!fill) return -1;
  for (int i = 0; i < FillCount(); ++i)
    if (fills_[static_cast<std::size_t>(i)].get() == fill) return i;
  return -1;
}

void CWpCurve::AddFill(std::unique_ptr<CVEFILL> fill) {
  if (!fill || FindFill(fill.get()) >= 0) return;
  fills_.push_back(std::move(fill));
}

void CWpCurve::DelFill(int i) {
  if (i >= 0 && i < FillCount()) fills_.erase(fills_.begin() + i);
}

void CWpCurve::DelFill(CVEFILL* fill) { DelFill(FindFill(fill)); }

void CWpCurve::ClearFills() { fills_.clear(); }

void CWpCurve::Operation(int command) {
  CVEFILL* current = FillAt(fill_at_ - 1);
  switch (command) {
    case 0: {
      auto fill = std::make_unique<CVEFILL>();
      CVEFILLBLOCK& b = fill->block;
      fill->SetTarget(Gbk("边框"));
      b.value = static_cast<float>(kFltMax);
      b.brush0.style = kBrushDefaultSolid;
      b.brush0.color = 0x80FF;
      b.brush0.word2 = 80;
      b.brush0.rop = 100;
      b.brush1.style = kBrushDefaultSolid;
      b.brush1.color = 0xFF8080;
      b.brush1.word2 = 0x308000;
      b.brush1.rop = 100;
      CopyName(b.group0, StyleGroupName(b.brush0.style));
      CopyName(b.group1, StyleGroupName(b.brush1.style));
      fills_.push_back(std::move(fill));
      fill_at_ = FillCount();
      break;
    }
    case 1:
      if (current) current->block.enabled = 1;
      break;
    case 2:
      if (current) current->block.enabled = 0;
      break;
    case 3:
      DelFill(current);
      fill_at_ = FillCount();
      break;
    case 4:
    case 5:
      for (auto& f : fills_) f->block.enabled = command == 4 ? 1 : 0;
      break;
    case 6:
      ClearFills();
      fill_at_ = -1;
      break;
    default:
      fill_at_ = command - 7;
      break;
  }
}

void CWpCurve::LmtFll() {
  for (auto& f : fills_) {
    const std::string target = f->Target();
    if (target == Gbk("边框"))
      f->block.value = static_cast<float>(kFltMax);
    else if (target == Gbk("中线") || target == Gbk("指定值线"))
      f->block.value = (left_ + right_) / 2;
    else
      f->block.value = -999.9f;
  }
}

// Colour tables hold base-10 logarithms while the scale is logarithmic.
void CWpCurve::ReCalFillColor(bool to_log) {
  auto convert = [to_log](double v) {
    if (!to_log) return std::pow(10.0, v);
    return v > 0 ? std::log10(v) : v;
  };
  for (auto& f : fills_) {
    for (auto* table : {&f->colors1, &f->colors0}) {
      for (WPCVEFILLCOLOR& e : *table) {
        e.lower = convert(e.lower);
        e.upper = convert(e.upper);
      }
    }
  }
}

// ---------------------------------------------------------------- kit slots

void CWpCurve::Update() {
  CWpContent::Update();
  BuildBody();
}

void CWpCurve::DuplicateAttribute(CZuObject* target) {
  CWpContent::DuplicateAttribute(target);
  auto* c = dynamic_cast<CWpCurve*>(target);
  if (!c || c == this) return;
  c->source_ = source_;
  c->table_ = table_;
  c->show_unit_ = show_unit_;
  c->unit_text_ = unit_text_;
  c->unit_font_ = unit_font_;
  c->unit_align_ = unit_align_;
  c->log_scale_ = log_scale_;
  c->show_scale_ = show_scale_;
  c->multiples_ = multiples_;
  c->left_ = left_;
  c->right_ = right_;
  c->show_limit_ = show_limit_;
  c->limit_font_ = limit_font_;
  c->limit_align_ = limit_align_;
  c->type_curve_ = type_curve_;
  c->point_ = point_;
  c->pen2_ = pen2_;
  c->pen_cur2_ = pen_cur2_;
  c->scanted_ = scanted_;
  c->frequency_ = frequency_;
  c->depths_ = depths_;
  c->values_ = values_;
  c->ClearFills();
  for (const auto& f : fills_) c->AddFill(std::make_unique<CVEFILL>(*f));
  c->document_samples_ = document_samples_;
  c->grid_origin_ = grid_origin_;
  c->grid_step_ = grid_step_;
  c->linear_left_ = linear_left_;
  c->linear_right_ = linear_right_;
  c->log_left_ = log_left_;
  c->log_right_ = log_right_;
  c->fill_at_ = fill_at_;
  c->unt_scope_ = unt_scope_;
  c->lmt_scope_ = lmt_scope_;
  c->value_range_type_ = value_range_type_;
  c->scale_decimal_digit_ = scale_decimal_digit_;
  c->ttl_font_name_apply_ = ttl_font_name_apply_;
  c->ttl_font_size_apply_ = ttl_font_size_apply_;
  c->ttl_font_clr_apply_ = ttl_font_clr_apply_;
}

void CWpCurve::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpContent::Amplify(centre, fx, fy);
  unit_font_.height = static_cast<float>(unit_font_.height * fx);
  limit_font_.height = static_cast<float>(limit_font_.height * fx);
  pen2_.width = static_cast<float>(pen2_.width * fx);
  flag_line_pen_.width = static_cast<float>(flag_line_pen_.width * fx);
  pen_cur2_.width = static_cast<float>(pen_cur2_.width * fx);
}

bool CWpCurve::IfLineStyleUsed(int code) const {
  return code == pen_.style || code == pen2_.style || code == flag_line_pen_.style;
}

bool CWpCurve::IfPointStyleUsed(int code) const { return code == point_.style; }

bool CWpCurve::IfFillStyleUsed(int code) const {
  for (const auto& f : fills_)
    if (f->block.brush0.style == code || f->block.brush1.style == code) return true;
  return false;
}

int CWpCurve::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdCheckWellData) {
    CDataSetChecker* checker = CDataSetChecker::Instance();
    if (source_ == 1 && checker->HasCheckFun()) {
      CWpWell* well = GetWell();
      checker->CheckData(well ? well->GetName() : std::string(), Gbk("测井数据"));
    } else if (source_ == 2 && checker->HasCheckFun()) {
      checker->CheckData(table_, Gbk("列数据"));
    }
  }
  return CWpKit::OnCommand(view, dc, id, param);
}

std::string CWpCurve::KindLabel() const { return Gbk("曲线"); }

}  // namespace davodu
