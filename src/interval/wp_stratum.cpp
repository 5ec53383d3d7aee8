// The stratification kit: settings, the data link, fault labels and the
// editing of shared boundaries.
#include "davodu/interval/wp_stratum.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "davodu/data/data_sources.h"
#include "davodu/host/util/exceptions.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/well_catalogs.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpStratum, CWpSegment)

CWpStratum::CWpStratum(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpStratum::Initialize() {
  class_name_ = name_ = type_name_ = "CWpStratum";
  title_text_ = Gbk("地层");
  table_name_.assign(1, ' ');
  field_name_.assign(1, ' ');  // one blank: no name (assign: GCC 12 warns wrongly on = " ")
  ComposeDataName();
  use_bk_color_ = false;
  name_font_ = ZULOGFONT{};
  name_font_.height = 450;
  name_font_.SetFaceName(Gbk("宋体"));
  show_name_ = true;
  divide_pen_ = ZULOGPEN{};
  divide_pen_.width = 10;
  divide_line_visible_ = true;
  divide_point_ = ZULOGPOINT{};
  divide_point_.style = kPointFilledCircle;
  divide_point_.size = 60;
  divide_point_visible_ = false;
  fault_point_ = ZULOGPOINT{};
  fault_point_.style = kPointTriangle;
  fault_point_.color = RGB(220, 0, 0);
  fault_point_.size = 200;
  fault_point_visible_ = true;
  fault_point_pos_ = FPP_RIGHT;
  fault_font_ = ZULOGFONT{};
  fault_font_.height = 250;
  fault_font_.color = RGB(220, 0, 0);
  fault_font_.SetFaceName(Gbk("宋体"));
  // Documents set it when read; a new kit shows its labels.
  fault_label_visible_ = true;
  fault_label_pos_ = FLP_LEFT;
  horizontal_offset_ = vertical_offset_ = 0;
  show_fields_ = {Gbk("断点测深"), Gbk("断距")};
  fault_points_.clear();
  text_dir_ = STRDIR_HORIZONTAL;
  angle_type_ = kAngleUpright;
}

void CWpStratum::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

std::string CWpStratum::KindLabel() const { return Gbk("分层"); }

// ---------------------------------------------------------------- data link

LogStratum2DIO* CWpStratum::FindDataObject(WDMgrIO* gateway) {
  // Only a scattered table is named; the levels of the well are not.
  const std::string name = data_source_ == STRATUM_SCATT ? data_name_ : std::string();
  return gateway->GetStratum2(static_cast<STRATUMTYPE>(data_source_), name);
}

void CWpStratum::TakeIdentifier(const LOGSTRATUM2& entry) {
  data_source_ = entry.type;
  if (entry.type == STRATUM_SCATT) {
    data_name_ = entry.name;
    SplitDataName();
  }
}

void CWpStratum::SetStratumType(int type) {
  if (type == data_source_) return;
  data_source_ = type;
  ResetData();
}

void CWpStratum::SetStratumGrade(int level) {
  if (level >= STRATUM_LEVEL1 && level <= STRATUM_LEVEL5) SetStratumType(level);
}

void CWpStratum::ComposeDataName() {
  // An empty part is kept as one blank, so that splitting finds two fields.
  std::string name(1, ',');
  name += table_name_.empty() ? std::string_view(" ") : std::string_view(table_name_);
  name += ',';
  name += field_name_.empty() ? std::string_view(" ") : std::string_view(field_name_);
  name += ',';
  data_name_ = std::move(name);
}

void CWpStratum::SplitDataName() {
  const std::vector<std::string> fields = ComposedNameFields(data_name_);
  table_name_ = fields.size() >= 2 ? fields[0] : " ";
  field_name_ = fields.size() >= 2 ? fields[1] : " ";
}

void CWpStratum::SetTableName(const std::string& table) {
  if (table == table_name_) return;
  table_name_ = table;
  ComposeDataName();
  ResetData();
}

void CWpStratum::SetFiledName(const std::string& field) {
  if (field == field_name_) return;
  field_name_ = field;
  ComposeDataName();
  ResetData();
}

void CWpStratum::UpdateD2V() {
  WDMgrIO* gateway = Gateway();
  LogStratumMgrIO* catalog = gateway ? gateway->GetStratumMgr() : nullptr;
  if (!catalog) return;
  if (LogStratum2DIO* io = GetData()) {
    const int n = io->GetCount();
    if (!segs_.empty() && n >= 0) ClearSeg();
    for (int i = 0; i < n; ++i) {
      const double top = io->GetTop(i), bottom = io->GetBottom(i);
      if (IsMissing(top) || IsMissing(bottom) || !InDepthRange(top, bottom)) continue;
      const int at = AddASeg(DepToMapY(top), DepToMapY(bottom));
      if (at < 0) continue;  // overlaps an earlier stratum
      WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
      seg.data = std::make_shared<StratumDIndex>(i, io->GetName(i));
      seg.top_depth = top;
      seg.bottom_depth = bottom;
    }
  }
  for (WPSEGMENT& seg : segs_) {
    auto* rec = dynamic_cast<StratumDIndex*>(seg.data.get());
    if (!rec) continue;
    COLORREF color = 0xFFFFFF;
    if (!catalog->GetColor(rec->name, &color)) color = 0xFFFFFF;
    rec->color = color;
  }
  fault_points_.clear();
  if (LogStratum2DIO* io = GetData()) io->GetFaultPoints(&fault_points_);
  InvalidBody();
}

void CWpStratum::UpdateSegDepth() {
  if (GetData())
    UpdateD2V();
  else
    CWpSegment::UpdateSegDepth();
}

std::string CWpStratum::DisplayName(const std::string& name) {
  LogStratum2DIO* io = GetData();
  const int level = io ? io->GetLevel() : -1;
  if (level < STRATUM_LEVEL1 || level > STRATUM_LEVEL5) return name;
  auto* gateway = dynamic_cast<WDMgrAdapter*>(Gateway());
  CWellDataManager* wells = gateway ? gateway->GetManager() : nullptr;
  std::shared_ptr<CStratumManager> catalog = wells ? wells->GetStratumManager() : nullptr;
  const std::string alias = catalog ? catalog->GetAlias(level, name) : std::string();
  return alias.empty() ? name : alias;
}

std::string CWpStratum::FaultLabel(int i) {
  auto* gateway = dynamic_cast<WDMgrAdapter*>(Gateway());
  CWellDataManager* wells = gateway ? gateway->GetManager() : nullptr;
  std::shared_ptr<CWellTable> table = wells ? wells->GetWellFaultPoint(gateway->GetWellName()) : nullptr;
  if (!table || i < 0 || i >= table->GetCount()) return std::string();
  std::string label;
  const int n = static_cast<int>(show_fields_.size());
  for (int f = 0; f < n; ++f) {
    const std::string& field = show_fields_[static_cast<std::size_t>(f)];
    if (!field.empty()) {
      const CZuVariant v = table->GetValue(i, field);
      if (v.IsNumber()) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%0.0f", v.ToDouble());
        label += buf;
      } else {
        label += v.ToString();
      }
    }
    if (f + 1 < n && !field.empty() && !show_fields_[static_cast<std::size_t>(f + 1)].empty())
      label += "/";
  }
  return label;
}

// ---------------------------------------------------------------- editing

void CWpStratum::PlaceBoundary(int index, int which, double y) {
  WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  const int n = GetSegCount();
  if (which == kPickTop) {
    double top = std::max(y, seg.bottom);
    if (index >= 1) {
      WPSEGMENT& above = segs_[static_cast<std::size_t>(index - 1)];
      top = std::min(top, above.top);
      above.bottom = top;
      AnchorSeg(above);
    }
    seg.top = top;
  } else {
    double bottom = std::min(y, seg.top);
    if (index + 1 < n) {
      WPSEGMENT& below = segs_[static_cast<std::size_t>(index + 1)];
      bottom = std::min(std::max(y, below.bottom), seg.top);
      below.top = bottom;
      AnchorSeg(below);
    }
    seg.bottom = bottom;
  }
  AnchorSeg(seg);
}

bool CWpStratum::WriteBack(int index, int which) {
  LogStratum2DIO* io = GetData();
  if (!io || data_source_ == STRATUM_NONE) {
    SetModifyFlag();
    return true;
  }
  const WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  auto* rec = dynamic_cast<DataIndex*>(seg.data.get());
  const float depth = MapYToDep(static_cast<float>(which == kPickTop ? seg.top : seg.bottom));
  const bool ok = rec && (which == kPickTop ? io->SetTop(rec->index, depth)
                                            : io->SetBottom(rec->index, depth));
  if (ok) {
    // Every kit showing the data reloads, this one too.
    io->Notify();
  } else {
    UpdateD2V();
    InvalidateSeg();
  }
  return ok;
}

void CWpStratum::MoveSegP(int index, double dy, int which) {
  if (index < 0 || index >= GetSegCount() || (which != kPickTop && which != kPickBottom)) return;
  const WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  PlaceBoundary(index, which, (which == kPickTop ? seg.top : seg.bottom) + dy);
  SetModifyFlag();
  WriteBack(index, which);
}

bool CWpStratum::SetSegTopDpth(int index, double depth) {
  if (index < 0 || index >= GetSegCount()) return false;
  PlaceBoundary(index, kPickTop, DepToMapY(depth));
  if (!GetData()) {
    time_stamp_ = AfxGetTimeStamp();
    return true;
  }
  return WriteBack(index, kPickTop);
}

bool CWpStratum::SetSegBottomDpth(int index, double depth) {
  if (index < 0 || index >= GetSegCount()) return false;
  PlaceBoundary(index, kPickBottom, DepToMapY(depth));
  if (!GetData()) {
    time_stamp_ = AfxGetTimeStamp();
    return true;
  }
  return WriteBack(index, kPickBottom);
}

int CWpStratum::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdCheckDataSet)
    if (LogStratum2DIO* io = GetData()) io->CheckDataSet();
  return CWpSegment::OnCommand(view, dc, id, param);
}

// ---------------------------------------------------------------- settings

void CWpStratum::SetLabelShowFieldNum(int n) {
  show_fields_.assign(static_cast<std::size_t>(std::max(n, 0)), std::string());
}

const std::string& CWpStratum::GetShowField(int i) const {
  if (i < 0 || i >= GetLabelShowFieldNum())
    throw CInvalidArgException("show field " + std::to_string(i) + " out of range");
  return show_fields_[static_cast<std::size_t>(i)];
}

void CWpStratum::SetShowField(int i, const std::string& field) {
  if (i < 0 || i >= GetLabelShowFieldNum())
    throw CInvalidArgException("show field " + std::to_string(i) + " out of range");
  show_fields_[static_cast<std::size_t>(i)] = field;
}

bool CWpStratum::IfLineStyleUsed(int code) const {
  return CWpSegment::IfLineStyleUsed(code) || divide_pen_.style == code;
}

bool CWpStratum::IfPointStyleUsed(int code) const {
  return divide_point_.style == code || fault_point_.style == code;
}

void CWpStratum::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpSegment::Amplify(centre, fx, fy);
  const auto f = static_cast<float>(fx);
  name_font_.height *= f;
  divide_pen_.width *= f;
  divide_point_.size *= f;
  fault_point_.size *= f;
  fault_font_.height *= f;
}

void CWpStratum::DuplicateAttribute(CZuObject* target) {
  auto* s = dynamic_cast<CWpStratum*>(target);
  if (!s || s == this) return;
  CWpSegment::DuplicateAttribute(target);
  if (Observee* io = GetObservee()) io->Register(s);
  s->table_name_ = table_name_;
  s->field_name_ = field_name_;
  s->use_bk_color_ = use_bk_color_;
  s->name_font_ = name_font_;
  s->show_name_ = show_name_;
  s->divide_pen_ = divide_pen_;
  s->divide_line_visible_ = divide_line_visible_;
  s->divide_point_ = divide_point_;
  s->divide_point_visible_ = divide_point_visible_;
  s->fault_point_ = fault_point_;
  s->fault_point_visible_ = fault_point_visible_;
  s->fault_point_pos_ = fault_point_pos_;
  s->fault_font_ = fault_font_;
  s->fault_label_visible_ = fault_label_visible_;
  s->fault_label_pos_ = fault_label_pos_;
  s->horizontal_offset_ = horizontal_offset_;
  s->vertical_offset_ = vertical_offset_;
  s->show_fields_ = show_fields_;
  s->fault_points_ = fault_points_;
  s->text_dir_ = text_dir_;
  s->angle_type_ = angle_type_;
}

}  // namespace davodu
