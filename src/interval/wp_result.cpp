// The interpretation result kit: settings, intervals, the bound data and
// editing.
#include "davodu/interval/wp_result.h"

#include <cmath>

#include "davodu/data/data_io.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/objects/object_factory.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/well/wp_track.h"
#include "davodu/well/wp_well.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpResult, CWpContent)

CWpResult::CWpResult(CZuLayer* layer) : CWpContent(layer) {
  SetDefaults();
  InitializeNames();
}

CWpResult::~CWpResult() { SepFrmObservee(); }

void CWpResult::InitializeNames() {
  class_name_ = name_ = type_name_ = "CWpResult";
  title_text_ = Gbk("解释结果");
}

std::string CWpResult::KindLabel() const { return Gbk("解释结果"); }

void CWpResult::SetDefaults() {
  divide_pen_ = ZULOGPEN{};
  divide_pen_.color2 = 0xFFFFFF;
  divide_pen_.color = 0;
  divide_pen_.width = 20.0f;
  divide_pen_.rop = kRopCopy;
  data_type_ = Gbk("图形");
  data_table_.clear();
  data_field_ = Gbk("电测解释");
  loaded_ = true;
  read_counter_ = 0;
  from_document_ = false;
  segs_.clear();
  active_ = -1;
  divide_line_visible_ = true;
  divide_point_ = ZULOGPOINT{};
  divide_point_visible_ = false;
  label_font_ = ZULOGFONT{};
  label_font_.height = 300;
  label_font_.SetFaceName(Gbk("宋体"));
  label_visible_ = false;
}

void CWpResult::Clear() {
  SepFrmObservee();
  ClearChildren();
  CWpContent::Clear();
  SetDefaults();
  InitializeNames();
}

const std::vector<std::string>& CWpResult::GetTableNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    const char* const levels[] = {"一级", "二级", "三级", "四级", "五级"};
    const char* const kinds[] = {"分层界限数据", "分层一类数据", "分层二类数据", "分层视有效数据",
                                 "分层纯有效数据"};
    for (const char* level : levels)
      for (const char* kind : kinds) n.push_back(Gbk(level) + Gbk(kind));
    for (const char* sand : {"一类砂岩数据", "二类砂岩数据", "视有效砂岩数据", "纯有效砂岩数据"})
      n.push_back(Gbk(sand));
    return n;
  }();
  return names;
}

bool CWpResult::IsFloodingField() const {
  return data_field_ == Gbk("水淹解释") || data_field_ == Gbk("水淹级别") || data_field_ == "flooding";
}

// ---------------------------------------------------------------- data

void CWpResult::Initialize(CWpWell* well) {
  divide_pen_.color2 = divide_pen_.color2 ? divide_pen_.color2 : 0xFFFFFF;
  loaded_ = true;
  read_counter_ = 0;
  data_type_ = Gbk("图形");
  data_table_.clear();
  if (well) {
    SetLayer(well->GetLayer());
    well_ = well;
    gateway_ = well->GetDataMgr();
  }
}

void CWpResult::UpdateDataMgr() {
  auto* track = dynamic_cast<CWpTrack*>(parent_);
  well_ = track ? track->GetWell() : nullptr;
  gateway_ = well_ ? well_->GetDataMgr() : nullptr;
}

LogParaDMgrIO* CWpResult::GetDataInfo() const { return gateway_ ? gateway_->GetParaMgr() : nullptr; }

LogParaDIO* CWpResult::GetData() const { return dynamic_cast<LogParaDIO*>(GetObservee()); }

void CWpResult::InitDataTable() {
  UpdateDataMgr();
  LogParaDIO* source = gateway_ ? gateway_->GetPara(data_type_, data_table_, data_field_) : nullptr;
  if (source) {
    SepFrmObservee();
    source->Register(this);
  } else {
    SepFrmObservee();
  }
}

bool CWpResult::SetData(const std::string& type, const std::string& table, const std::string& field) {
  UpdateDataMgr();
  if (type != Gbk("图形") && gateway_) {
    if (LogParaDIO* source = gateway_->GetPara(type, table, field)) {
      data_type_ = type;
      data_table_ = table;
      data_field_ = field;
      SepFrmObservee();
      source->Attatch(this);
      return true;
    }
  }
  SepFrmObservee();
  data_type_ = Gbk("图形");
  data_table_.clear();
  return false;
}

void CWpResult::ResetData() {
  loaded_ = false;
  const std::string type = data_type_, table = data_table_, field = data_field_;
  SetData(type, table, field);
  // The user's choice survives a table that is missing for now.
  if (data_type_ != type) {
    data_type_ = type;
    data_table_ = table;
    data_field_ = field;
  }
  loaded_ = true;
}

void CWpResult::UpdateWithObservee() {
  UpdateData();
  InvalidBody();
  if (loaded_) InvalidParent();
}

void CWpResult::UpdateData() {
  segs_.clear();
  from_document_ = false;
  SetupContent();
  // The active interval keeps its mark when its row is still shown.
  if (CgResultSegment* seg = FindSeg(active_))
    seg->active = true;
  else
    active_ = -1;
}

void CWpResult::SetupContent() {
  LogParaDIO* source = GetData();
  if (!source) return;
  const int n = source->GetCount();
  for (int i = 0; i < n; ++i) {
    const std::string value = source->GetValue(i);
    if (value.empty()) continue;
    const double top = source->GetTop(i), bottom = source->GetBottom(i);
    if (!(std::fabs(top) < kFltMax) || !(std::fabs(bottom) < kFltMax)) continue;
    AddSegment(i, value, static_cast<float>(top), static_cast<float>(bottom));
  }
}

// ---------------------------------------------------------------- intervals

bool CWpResult::AddSegment(int index, const std::string& value, float top, float bottom) {
  if (IsMissing(top) || IsMissing(bottom) || !std::isfinite(top) || !std::isfinite(bottom)) return false;
  const double top_y = DepToMapY(top), bottom_y = DepToMapY(bottom);
  if (!(top_y > -kFltMax) || !(bottom_y < kFltMax)) return false;
  auto seg = std::make_unique<CgResultSegment>();
  seg->index = index;
  seg->value = value;
  seg->top_depth = top;
  seg->bottom_depth = bottom;
  seg->left = map_nodes_[0].x;
  seg->right = map_nodes_[1].x;
  seg->top_y = top_y;
  seg->bottom_y = bottom_y;
  seg->owner = this;
  segs_.push_back(std::move(seg));
  return true;
}

CgResultSegment* CWpResult::FindSeg(int index) const {
  if (index == -1) return nullptr;
  for (const auto& s : segs_)
    if (s->index == index) return s.get();
  return nullptr;
}

void CWpResult::ActivateSegment(int index) {
  if (CgResultSegment* previous = FindSeg(active_)) previous->active = false;
  active_ = index;
  if (CgResultSegment* seg = FindSeg(index))
    seg->active = true;
  else
    active_ = -1;
}

float CWpResult::GetActiveSegTopDepth() const {
  const CgResultSegment* s = FindSeg(active_);
  return s ? s->top_depth : 0.0f;
}

float CWpResult::GetActiveSegBotDepth() const {
  const CgResultSegment* s = FindSeg(active_);
  return s ? s->bottom_depth : 0.0f;
}

std::string CWpResult::GetActiveSegValue() const {
  const CgResultSegment* s = FindSeg(active_);
  return s ? s->value : std::string();
}

void CWpResult::SetActiveSegValue(const std::string& value) {
  CgResultSegment* s = FindSeg(active_);
  if (!s) return;
  if (data_type_ == Gbk("图形")) {
    s->value = value;
    SetModifyFlag();
    return;
  }
  LogParaDIO* source = GetData();
  if (!source) return;
  if (from_document_) {
    // The document numbers its intervals 1, 2, 3, which are no rows: read
    // the data first and find the interval there by its depths.
    const float top = s->top_depth, bottom = s->bottom_depth;
    UpdateData();
    s = nullptr;
    for (const auto& seg : segs_) {
      if (std::fabs(seg->top_depth - top) < 1e-3f && std::fabs(seg->bottom_depth - bottom) < 1e-3f) {
        s = seg.get();
        break;
      }
    }
    ActivateSegment(s ? s->index : -1);
    if (!s) return;
  }
  if (active_ >= 0 && active_ < source->GetCount()) {
    s->value = value;
    // The source tells every kit that shows it, this one included.
    source->SetValue(active_, value);
  }
}

void CWpResult::BuildBody() {
  CWpKit::BuildBody();
  for (const auto& s : segs_) {
    s->left = map_nodes_[0].x;
    s->right = map_nodes_[1].x;
    s->top_y = DepToMapY(s->top_depth);
    s->bottom_y = DepToMapY(s->bottom_depth);
  }
}

// ---------------------------------------------------------------- copies and styles

void CWpResult::DuplicateAttribute(CZuObject* target) {
  CWpContent::DuplicateAttribute(target);
  auto* t = dynamic_cast<CWpResult*>(target);
  if (!t || t == this) return;
  t->divide_pen_ = divide_pen_;
  t->data_type_ = data_type_;
  t->data_table_ = data_table_;
  t->data_field_ = data_field_;
  t->divide_line_visible_ = divide_line_visible_;
  t->divide_point_visible_ = divide_point_visible_;
  t->label_visible_ = label_visible_;
  t->divide_point_ = divide_point_;
  t->label_font_ = label_font_;
}

void CWpResult::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpContent::Amplify(centre, fx, fy);
  divide_pen_.width = static_cast<float>(divide_pen_.width * fx);
  divide_point_.size = static_cast<float>(divide_point_.size * fx);
  label_font_.height = static_cast<float>(label_font_.height * fx);
}

int CWpResult::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdCheckData)
    if (LogParaDIO* source = GetData()) source->CheckDataSet();
  return CWpKit::OnCommand(view, dc, id, param);
}

// ---------------------------------------------------------------- mouse

int CWpResult::SegmentAt(CPoint point) const {
  const FLOATPOINT p = LP2MP(point);
  const float x = static_cast<float>(p.x), y = static_cast<float>(p.y);
  for (const auto& s : segs_)
    if (x > static_cast<float>(s->left) && x < static_cast<float>(s->right) &&
        y > static_cast<float>(s->bottom_y) && y < static_cast<float>(s->top_y))
      return s->index;
  return -1;
}

int CWpResult::OnLButtonDown(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (!IsSelected()) {
    ActivateSegment(-1);
    return 0;
  }
  if (PtInBody(point)) {
    ActivateSegment(SegmentAt(point));
    InvalidBody();
    SetModifyFlag();
    return CZuObject::OnLButtonDown(view, dc, flags, point);
  }
  ActivateSegment(-1);
  InvalidSelf();
  return CWpKit::OnLButtonDown(view, dc, flags, point);
}

int CWpResult::OnLButtonUp(CView* view, CDC* dc, unsigned flags, CPoint point) {
  if (!PtInBody(point)) CWpContent::OnLButtonUp(view, dc, flags, point);
  return 2;
}

}  // namespace davodu
