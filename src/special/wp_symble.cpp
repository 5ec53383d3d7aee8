// The symbol column base: the data link, the catalogue, editing.
#include "davodu/special/wp_symble.h"

#include <memory>

#include "davodu/data/data_sources.h"
#include "davodu/host/util/exceptions.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSymble, CWpSegment)

CWpSymble::CWpSymble(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpSymble::Initialize() {
  class_name_ = name_ = type_name_ = "CWpSymble";
  title_text_ = Gbk("符号");
  catalog_ = nullptr;
  frame_visible_ = false;
  edge_left_ = edge_right_ = 0.05;
  use_bk_color_ = false;
  nearest_top_ = 0;
  table_name_ = field_name_ = " ";
  data_name_ = ", , ,";
  adding_ = false;
}

void CWpSymble::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

void CWpSymble::Update() {
  CWpSegment::Update();
  UpdateD2V();
}

// ---------------------------------------------------------------- data link

ISymbleData* CWpSymble::FindDataObject(WDMgrIO* gateway) {
  return gateway->GetSymbleData(static_cast<SYMBLE_SRC>(data_source_), data_name_);
}

void CWpSymble::TakeIdentifier(const LOGSYMBLE& entry) {
  data_source_ = entry.source;
  data_name_ = entry.name;
}

bool CWpSymble::IsTableData() const {
  return data_source_ >= SYMBLE_SHOOT && data_source_ <= SYMBLE_TEXTURE && GetData() != nullptr;
}

void CWpSymble::InitDataTable() {
  BindDataTable();
  if (WDMgrIO* gateway = Gateway()) catalog_ = gateway->GetSymbleMgr(static_cast<SYMBLE_SRC>(data_source_));
}

void CWpSymble::ResetData() {
  // A local column keeps its intervals: they exist nowhere else.
  if (IsLocalSource(data_source_) && !segs_.empty()) return;
  ClearSeg();
  if (WDMgrIO* gateway = Gateway()) catalog_ = gateway->GetSymbleMgr(static_cast<SYMBLE_SRC>(data_source_));
  ComposeDataName();
}

void CWpSymble::SetSymbleSource(int source) {
  if (source == data_source_) return;
  ClearSeg();
  data_source_ = source;
  catalog_ = nullptr;
  ResetData();
}

void CWpSymble::ComposeDataName() {
  if (table_name_.empty()) table_name_ = " ";
  if (field_name_.empty()) field_name_ = " ";
  data_name_ = "," + table_name_ + "," + field_name_ + ",";
  WDMgrIO* gateway = Gateway();
  SetData(gateway ? gateway->GetSymbleData(static_cast<SYMBLE_SRC>(data_source_), data_name_) : nullptr);
  InvalidateSeg();
  UpdateD2V();
}

void CWpSymble::SplitDataName() {
  const std::vector<std::string> parts = ComposedNameParts(data_name_);
  if (parts.size() > 1) {
    table_name_ = parts[0];
    field_name_ = parts[1];
  } else {
    table_name_ = field_name_ = " ";
  }
  ComposeDataName();
}

void CWpSymble::SetTableName(const std::string& table) {
  if (table == table_name_) return;
  table_name_ = table;
  ComposeDataName();
}

void CWpSymble::SetFiledName(const std::string& field) {
  if (field == field_name_) return;
  field_name_ = field;
  ComposeDataName();
}

void CWpSymble::UpdateD2V() {
  if (!catalog_)
    if (WDMgrIO* gateway = Gateway()) catalog_ = gateway->GetSymbleMgr(static_cast<SYMBLE_SRC>(data_source_));
  if (!catalog_) return;
  if (ISymbleData* io = GetData()) {
    // The object of a local column has no records (-1): its intervals stay.
    const int n = io->GetCount();
    if (!segs_.empty() && n >= 0) ClearSeg();
    for (int i = 0; i < n; ++i) {
      const double top = io->GetTop(i), bottom = io->GetBottom(i);
      if (IsMissing(top) || IsMissing(bottom) || !(bottom > top) || !InDepthRange(top, bottom)) continue;
      const int at = AddASeg(DepToMapY(top), DepToMapY(bottom));
      if (at < 0) continue;
      WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
      seg.data = std::make_shared<SymbleDIndex>(i, io->GetSymble(i));
      seg.top_depth = top;
      seg.bottom_depth = bottom;
    }
  }
  Restyle();
  InvalidBody();
}

void CWpSymble::Restyle() {
  if (!catalog_) return;
  for (WPSEGMENT& seg : segs_) {
    auto* rec = dynamic_cast<SymbleDIndex*>(seg.data.get());
    if (!rec) continue;
    const int k = catalog_->Find(rec->text);
    rec->style = static_cast<std::uint32_t>(catalog_->GetSymbol(k));
    rec->color = catalog_->GetColor(k);
  }
}

void CWpSymble::UpdateSegDepth() {
  if (IsTableData())
    UpdateD2V();
  else
    CWpSegment::UpdateSegDepth();
}

SymbleDIndex* CWpSymble::Record(int i) const {
  if (i < 0 || i >= GetSegCount()) return nullptr;
  return dynamic_cast<SymbleDIndex*>(segs_[static_cast<std::size_t>(i)].data.get());
}

const std::string& CWpSymble::GetSymbleName(int i) const {
  static const std::string kNone;
  GetSeg(i);
  const SymbleDIndex* rec = Record(i);
  return rec ? rec->text : kNone;
}

// ---------------------------------------------------------------- editing

bool CWpSymble::SetSymbleName(int i, const std::string& name) {
  if (i < 0 || !catalog_) return false;
  WPSEGMENT& seg = GetSeg(i);
  auto* rec = dynamic_cast<SymbleDIndex*>(seg.data.get());
  if (!rec) {
    seg.data = std::make_shared<SymbleDIndex>(i);
    rec = static_cast<SymbleDIndex*>(seg.data.get());
  }
  const int k = catalog_->Find(name);
  rec->text = name;
  rec->style = k >= 0 ? static_cast<std::uint32_t>(catalog_->GetSymbol(k)) : kUnknownStyle;
  rec->color = catalog_->GetColor(k);
  SetModifyFlag();
  InvalidateSeg();
  if (!IsTableData()) return false;
  return SettleEdit(GetData()->SetSymble(rec->index, name));
}

void CWpSymble::MoveSeg(int index, double dy) {
  if (index < 0 || index >= GetSegCount()) return;
  CWpSegment::MoveSeg(index, dy);
  const SymbleDIndex* rec = Record(index);
  if (!IsTableData() || !rec) {
    time_stamp_ = AfxGetTimeStamp();
    SetModifyFlag();
    return;
  }
  SetModifyFlag();
  ISymbleData* io = GetData();
  const double top = MapYToDep(static_cast<float>(segs_[static_cast<std::size_t>(index)].top));
  const double now = io->GetTop(rec->index);
  SettleEdit(!IsMissing(now) && io->Move(rec->index, top - now));
}

void CWpSymble::MoveSegP(int index, double dy, int which) {
  if (index < 0 || index >= GetSegCount() || (which != kPickTop && which != kPickBottom)) return;
  SetModifyFlag();
  CWpSegment::MoveSegP(index, dy, which);
  const SymbleDIndex* rec = Record(index);
  if (!IsTableData() || !rec) return;
  ISymbleData* io = GetData();
  const WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  const double depth = MapYToDep(static_cast<float>(which == kPickTop ? seg.top : seg.bottom));
  SettleEdit(which == kPickTop ? io->SetTop(rec->index, depth) : io->SetBottom(rec->index, depth));
}

bool CWpSymble::SetSegTopDpth(int i, double depth) {
  if (i < 0 || i >= GetSegCount() || !SetSegTop(i, DepToMapY(depth))) return false;
  const SymbleDIndex* rec = Record(i);
  if (!IsTableData() || !rec) {
    time_stamp_ = AfxGetTimeStamp();
    return true;
  }
  return SettleEdit(GetData()->SetTop(rec->index, MapYToDep(static_cast<float>(GetSeg(i).top))));
}

bool CWpSymble::SetSegBottomDpth(int i, double depth) {
  if (i < 0 || i >= GetSegCount() || !SetSegBottom(i, DepToMapY(depth))) return false;
  const SymbleDIndex* rec = Record(i);
  if (!IsTableData() || !rec) {
    time_stamp_ = AfxGetTimeStamp();
    return true;
  }
  return SettleEdit(GetData()->SetBottom(rec->index, MapYToDep(static_cast<float>(GetSeg(i).bottom))));
}

void CWpSymble::DeleteSymbleSeg(int i) {
  if (i < 0 || i >= GetSegCount()) return;
  if (IsTableData()) {
    const WPSEGMENT& seg = segs_[static_cast<std::size_t>(i)];
    ISymbleData* io = GetData();
    active_ = -1;
    SettleEdit(io->DeleteSeg(MapYToDep(static_cast<float>(seg.top)), MapYToDep(static_cast<float>(seg.bottom))));
    return;
  }
  // A local column deletes from itself; there is no data object to tell
  // (a column without table data or local symbols has nothing to delete).
  if (!IsLocalSource(data_source_)) return;
  const int state = work_state_;
  work_state_ = kWorkDelete;
  DelASeg(i);
  work_state_ = state;
  active_ = -1;
  SetModifyFlag();
  InvalidateSeg();
}

// ---------------------------------------------------------------- settings

bool CWpSymble::SetEdgeOffL(double x) {
  if (!(x >= 0 && x <= 1) || x + edge_right_ > 1) return false;
  edge_left_ = x;
  return true;
}

bool CWpSymble::SetEdgeOffR(double x) {
  if (!(x >= 0 && x <= 1) || x + edge_left_ > 1) return false;
  edge_right_ = x;
  return true;
}

bool CWpSymble::IfPointStyleUsed(int code) const {
  for (int i = 0; i < GetSegCount(); ++i) {
    const SymbleDIndex* rec = Record(i);
    if (rec && static_cast<int>(rec->style) == code) return true;
  }
  return false;
}

void CWpSymble::DuplicateAttribute(CZuObject* target) {
  auto* s = dynamic_cast<CWpSymble*>(target);
  if (!s || s == this) return;
  CWpSegment::DuplicateAttribute(target);
  if (Observee* io = GetObservee()) io->Register(s);
  s->catalog_ = catalog_;
  s->frame_visible_ = frame_visible_;
  s->edge_left_ = edge_left_;
  s->edge_right_ = edge_right_;
  s->use_bk_color_ = use_bk_color_;
  s->table_name_ = table_name_;
  s->field_name_ = field_name_;
}

}  // namespace davodu
