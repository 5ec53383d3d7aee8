// The perforation kit: the data link, the date filter, editing and drawing.
#include "davodu/interval/wp_shoot.h"

#include <memory>

#include "davodu/data/data_date.h"
#include "davodu/data/data_sources.h"
#include "davodu/host/graphics/graph_tool.h"
#include "davodu/host/graphics/pattern_library.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpShoot, CWpSegment)

namespace {

// The colour of the perforation symbols.
constexpr COLORREF kShootColor = RGB(220, 0, 0);

}  // namespace

CWpShoot::CWpShoot(CZuLayer* layer) : CWpSegment(layer) {
  data_source_ = SHOOT_WELL;
  Initialize();
}

void CWpShoot::Initialize() {
  class_name_ = name_ = type_name_ = "CWpShoot";
  title_text_ = Gbk("射孔");
  catalog_ = nullptr;
  start_date_.clear();
  end_date_.clear();
  all_dates_.clear();
}

void CWpShoot::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

std::string CWpShoot::KindLabel() const { return Gbk("射孔"); }

// ---------------------------------------------------------------- data link

LogShootDIO* CWpShoot::FindDataObject(WDMgrIO* gateway) {
  if (data_source_ == 0) return nullptr;
  const std::string name = data_source_ == SHOOT_SCATT ? data_name_ : std::string();
  return gateway->GetShoot(static_cast<SHOOTSOURCE>(data_source_), name);
}

void CWpShoot::TakeIdentifier(const LOGSHOOT& entry) {
  data_source_ = entry.source;
  data_name_ = entry.name;
}

void CWpShoot::ResetData() { ReloadData(); }

void CWpShoot::SetShootSource(int source) {
  if (source == data_source_) return;
  data_source_ = source;
  ResetData();
}

void CWpShoot::SetDataName(const std::string& name) {
  data_name_ = name;
  ResetData();
}

LogShootMgrIO* CWpShoot::GetShootMgr() {
  if (!catalog_)
    if (WDMgrIO* gateway = Gateway()) catalog_ = gateway->GetShootMgr();
  return catalog_;
}

unsigned CWpShoot::SymbolOfType(LogShootMgrIO* catalog, int type) {
  if (catalog && type == 2) return *catalog->GetSetting1();
  if (catalog && type == 3) return *catalog->GetSetting2();
  return kOtherSymbol;
}

void CWpShoot::SetStartDateTime(const std::string& date) {
  if (date == start_date_) return;
  start_date_ = date;
  ResetData();
}

void CWpShoot::SetEndDateTime(const std::string& date) {
  if (date == end_date_) return;
  end_date_ = date;
  ResetData();
}

bool CWpShoot::IsBetweenDateTime(const DataDate& date) const {
  DataDate start, end;
  const bool has_start = ParseDataDate(start_date_, &start);
  const bool has_end = ParseDataDate(end_date_, &end);
  if (!has_start && !has_end) return true;
  if (!has_start) start = end;
  if (!has_end) end = start;
  if (!IsValidDate(date)) return false;
  auto from = DaysOf(start), to = DaysOf(end);
  if (to < from) std::swap(from, to);
  const auto day = DaysOf(date);
  return from <= day && day <= to;
}

void CWpShoot::UpdateD2V() {
  LogShootMgrIO* catalog = GetShootMgr();
  if (!catalog) return;
  if (LogShootDIO* io = GetData()) {
    if (!segs_.empty()) ClearSeg();
    all_dates_.clear();
    io->GetDates(&all_dates_);
    const int n = io->GetCount();
    for (int i = 0; i < n; ++i) {
      const double top = io->GetTop(i), bottom = io->GetBottom(i);
      const int type = io->GetKind(i);
      const DataDate* date = io->GetDate(i);
      if (type == 1 || !IsBetweenDateTime(date ? *date : kInvalidDate)) continue;
      // A missing depth is no interval; a negative thickness is refused
      // rather than drawn upside down.
      if (IsMissing(top) || IsMissing(bottom) || !(bottom > top) || !InDepthRange(top, bottom))
        continue;
      const int at = AddASeg(DepToMapY(top), DepToMapY(bottom));
      if (at < 0) continue;  // overlaps a perforation shown
      WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
      seg.data = std::make_shared<ShootDIndex>(i, type, 0);
      seg.top_depth = top;
      seg.bottom_depth = bottom;
    }
    SetModifyFlag();
  }
  for (WPSEGMENT& seg : segs_)
    if (auto* rec = dynamic_cast<ShootDIndex*>(seg.data.get())) rec->symbol = SymbolOfType(catalog, rec->type);
  InvalidBody();
}

void CWpShoot::UpdateSegDepth() {
  if (GetData())
    UpdateD2V();
  else
    CWpSegment::UpdateSegDepth();
}

const ShootDIndex* CWpShoot::Record(int i) const {
  if (i < 0 || i >= GetSegCount()) return nullptr;
  return dynamic_cast<const ShootDIndex*>(segs_[static_cast<std::size_t>(i)].data.get());
}

int CWpShoot::GetSegType(int i) const {
  const ShootDIndex* rec = Record(i);
  return rec ? rec->type : 0;
}

bool CWpShoot::SetSegType(int i, int type) {
  LogShootMgrIO* catalog = GetShootMgr();
  if (i < 0 || !catalog || i >= GetSegCount()) return false;
  const ShootDIndex* rec = Record(i);
  if (LogShootDIO* io = GetData()) {
    if (!rec || !io->SetKind(rec->index, type)) return false;
    io->Notify();
    return true;
  }
  auto* own = dynamic_cast<ShootDIndex*>(segs_[static_cast<std::size_t>(i)].data.get());
  if (!own) {
    segs_[static_cast<std::size_t>(i)].data = std::make_shared<ShootDIndex>();
    own = static_cast<ShootDIndex*>(segs_[static_cast<std::size_t>(i)].data.get());
  }
  own->type = type;
  own->symbol = SymbolOfType(catalog, type);
  SetModifyFlag();
  InvalidateSeg();
  return true;
}

// ---------------------------------------------------------------- editing

void CWpShoot::MoveSeg(int index, double dy) {
  if (index < 0 || index >= GetSegCount()) return;
  CWpSegment::MoveSeg(index, dy);
  LogShootDIO* io = GetData();
  const ShootDIndex* rec = Record(index);
  if (!io || !rec) {
    time_stamp_ = AfxGetTimeStamp();
    return;
  }
  const double top = MapYToDep(static_cast<float>(segs_[static_cast<std::size_t>(index)].top));
  const double now = io->GetTop(rec->index);
  SettleEdit(!IsMissing(now) && io->Move(rec->index, top - now));
}

void CWpShoot::MoveSegP(int index, double dy, int which) {
  if (index < 0 || index >= GetSegCount() || (which != kPickTop && which != kPickBottom)) return;
  CWpSegment::MoveSegP(index, dy, which);
  LogShootDIO* io = GetData();
  const ShootDIndex* rec = Record(index);
  if (!io || !rec) {
    SetModifyFlag();
    return;
  }
  const WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  const double depth = MapYToDep(static_cast<float>(which == kPickTop ? seg.top : seg.bottom));
  SettleEdit(which == kPickTop ? io->SetTop(rec->index, depth) : io->SetBottom(rec->index, depth));
}

bool CWpShoot::SetSegTopDpth(int i, double depth) {
  if (i < 0 || i >= GetSegCount()) return false;
  if (LogShootDIO* io = GetData()) {
    const ShootDIndex* rec = Record(i);
    return SettleEdit(rec && io->SetTop(rec->index, depth));
  }
  SetSegTop(i, DepToMapY(depth));
  time_stamp_ = AfxGetTimeStamp();
  return true;
}

bool CWpShoot::SetSegBottomDpth(int i, double depth) {
  if (i < 0 || i >= GetSegCount()) return false;
  if (LogShootDIO* io = GetData()) {
    const ShootDIndex* rec = Record(i);
    return SettleEdit(rec && io->SetBottom(rec->index, depth));
  }
  SetSegBottom(i, DepToMapY(depth));
  time_stamp_ = AfxGetTimeStamp();
  return true;
}

int CWpShoot::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdCheckDataSet)
    if (LogShootDIO* io = GetData()) io->CheckDataSet();
  return CWpSegment::OnCommand(view, dc, id, param);
}

// ---------------------------------------------------------------- drawing

void CWpShoot::DrawOneSeg(WPSEGMENT& seg, COLORREF, CDC* dc, CView*, CRect*, CRect*) {
  const auto* rec = dynamic_cast<const ShootDIndex*>(seg.data.get());
  ZULOGPOINT symbol;
  symbol.style = static_cast<std::int32_t>(rec ? rec->symbol : kOtherSymbol);
  symbol.color = kShootColor;
  symbol.size = static_cast<float>(kPatternCellSize);
  const CRect r = MP2LP(FLOATRECT{GetLeft(), seg.top, GetRight(), seg.bottom});
  AfxGetPointTool().FillRect(dc, r, symbol, zoom_);
}

// ---------------------------------------------------------------- settings

bool CWpShoot::IfPointStyleUsed(int code) const {
  for (int i = 0; i < GetSegCount(); ++i) {
    const ShootDIndex* rec = Record(i);
    if (rec && static_cast<int>(rec->symbol) == code) return true;
  }
  return false;
}

void CWpShoot::DuplicateAttribute(CZuObject* target) {
  auto* s = dynamic_cast<CWpShoot*>(target);
  if (!s || s == this) return;
  CWpSegment::DuplicateAttribute(target);
  if (Observee* io = GetObservee()) io->Register(s);
  s->catalog_ = catalog_;
  s->start_date_ = start_date_;
  s->end_date_ = end_date_;
  s->all_dates_ = all_dates_;
}

}  // namespace davodu
