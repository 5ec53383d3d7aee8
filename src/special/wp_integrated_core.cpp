// The coring summary kit: the data link, the runs, editing and settings.
#include "davodu/special/wp_integrated_core.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "davodu/data/data_sources.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpIntegratedCore, CWpSegment)

CWpIntegratedCore::CWpIntegratedCore(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpIntegratedCore::Initialize() {
  class_name_ = name_ = type_name_ = "CWpIntegratedCore";
  title_text_ = Gbk("取芯");
  data_source_ = DATA_WELL;
  data_name_.clear();
  outline_pen_ = ZULOGPEN{};
  outline_pen_.width = 10;
  core_brush_ = ZULOGBRUSH{};
  core_brush_.style = kBrushSolid;
  core_brush_.color = 0x5A8CB4;  // a brown of core
  lost_brush_ = ZULOGBRUSH{};
  lost_brush_.style = kBrushHatchBDiagonal;
  lost_brush_.color = 0x000000;
  text_font_ = ZULOGFONT{};
  text_font_.height = 200;
  text_visible_ = true;
  bar_width_ = 0.3;
}

void CWpIntegratedCore::Clear() {
  ClearSeg();
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

std::string CWpIntegratedCore::KindLabel() const { return Gbk("取芯"); }

// ---------------------------------------------------------------- data link

LogIntegratedCoreIO* CWpIntegratedCore::FindDataObject(WDMgrIO* gateway) {
  if (data_source_ == 0) return nullptr;
  return gateway->GetIntegratedCoreIO(static_cast<DATATYPE>(data_source_), data_name_);
}

void CWpIntegratedCore::TakeIdentifier(const LOGINTEGRATEDCORE& entry) {
  data_source_ = entry.type;
  data_name_ = entry.name;
}

void CWpIntegratedCore::ResetData() {
  if (data_source_ != 0) {
    ReloadData();
    return;
  }
  // A column without data shows the runs stored with it.
  SepFrmObservee();
  InvalidBody();
}

void CWpIntegratedCore::SetCoreSource(int source) {
  if (source == data_source_) return;
  data_source_ = source;
  ResetData();
}

void CWpIntegratedCore::UpdateD2V() {
  if (LogIntegratedCoreIO* io = GetData()) {
    const int n = io->GetCount();
    if (!segs_.empty()) ClearSeg();
    for (int i = 0; i < n; ++i) {
      const double top = io->GetTop(i), bottom = io->GetBottom(i);
      if (IsMissing(top) || IsMissing(bottom) || !(bottom > top) || !InDepthRange(top, bottom)) continue;
      const int at = AddASeg(DepToMapY(top), DepToMapY(bottom));
      if (at < 0) continue;  // overlaps a run shown
      auto rec = std::make_shared<CoreRunDIndex>(i);
      rec->run = io->GetRun(i);
      rec->footage = io->GetFootage(i);
      rec->core_length = io->GetCoreLength(i);
      rec->recovery = io->GetRecovery(i);
      WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
      seg.data = std::move(rec);
      seg.top_depth = top;
      seg.bottom_depth = bottom;
    }
  }
  InvalidBody();
}

void CWpIntegratedCore::UpdateSegDepth() {
  if (GetData())
    UpdateD2V();
  else
    CWpSegment::UpdateSegDepth();
}

CoreRunDIndex* CWpIntegratedCore::Record(int i) {
  if (i < 0 || i >= GetSegCount()) return nullptr;
  return dynamic_cast<CoreRunDIndex*>(segs_[static_cast<std::size_t>(i)].data.get());
}

const CoreRunDIndex* CWpIntegratedCore::GetRunRecord(int i) const {
  if (i < 0 || i >= GetSegCount()) return nullptr;
  return dynamic_cast<const CoreRunDIndex*>(segs_[static_cast<std::size_t>(i)].data.get());
}

bool CWpIntegratedCore::AddRun(double top, double bottom, int run, double core_length) {
  if (GetData() || IsMissing(top) || IsMissing(bottom) || !(bottom > top)) return false;
  const int at = AddASeg(DepToMapY(top), DepToMapY(bottom));
  if (at < 0) return false;
  auto rec = std::make_shared<CoreRunDIndex>(at);
  rec->run = run;
  rec->footage = bottom - top;
  rec->core_length = core_length;
  if (!IsMissing(core_length)) rec->recovery = core_length / rec->footage * 100;
  WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
  seg.data = std::move(rec);
  seg.top_depth = top;
  seg.bottom_depth = bottom;
  SetModifyFlag();
  InvalidateSeg();
  return true;
}

double CWpIntegratedCore::RecoveredShare(const CoreRunDIndex* rec) {
  if (!rec) return -1;
  double share = -1;
  if (!IsMissing(rec->recovery))
    share = rec->recovery / 100;
  else if (!IsMissing(rec->core_length) && !IsMissing(rec->footage) && rec->footage > 0)
    share = rec->core_length / rec->footage;
  if (share < 0 || !std::isfinite(share)) return -1;
  return std::min(share, 1.0);
}

// ---------------------------------------------------------------- editing

void CWpIntegratedCore::KeepLocalEdit(int index) {
  WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  AnchorSeg(seg);
  // A run of the column's own: its footage is its interval, and the
  // recovery follows it.
  if (auto* rec = dynamic_cast<CoreRunDIndex*>(seg.data.get())) {
    if (!IsMissing(seg.top_depth) && !IsMissing(seg.bottom_depth))
      rec->footage = seg.bottom_depth - seg.top_depth;
    if (!IsMissing(rec->core_length) && rec->footage > 0)
      rec->recovery = rec->core_length / rec->footage * 100;
  }
  SetTimeStamp(AfxGetTimeStamp());
  SetModifyFlag();
}

void CWpIntegratedCore::MoveSeg(int index, double dy) {
  if (index < 0 || index >= GetSegCount()) return;
  CWpSegment::MoveSeg(index, dy);
  WriteSegEdit(index, 0);
}

void CWpIntegratedCore::MoveSegP(int index, double dy, int which) {
  if (index < 0 || index >= GetSegCount() || (which != kPickTop && which != kPickBottom)) return;
  CWpSegment::MoveSegP(index, dy, which);
  WriteSegEdit(index, which);
}

int CWpIntegratedCore::OnCommand(CView* view, CDC* dc, unsigned id, long param) {
  if (id == kCmdCheckDataSet)
    if (LogIntegratedCoreIO* io = GetData()) io->CheckDataSet();
  return CWpSegment::OnCommand(view, dc, id, param);
}

// ---------------------------------------------------------------- settings

void CWpIntegratedCore::SetBarWidth(double share) {
  if (share >= 0.05 && share <= 0.9) bar_width_ = share;
}

bool CWpIntegratedCore::IfLineStyleUsed(int code) const {
  return CWpSegment::IfLineStyleUsed(code) || outline_pen_.style == code;
}

void CWpIntegratedCore::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpSegment::Amplify(centre, fx, fy);
  outline_pen_.width = static_cast<float>(outline_pen_.width * fx);
  text_font_.height = static_cast<float>(text_font_.height * fx);
}

void CWpIntegratedCore::DuplicateAttribute(CZuObject* target) {
  auto* c = dynamic_cast<CWpIntegratedCore*>(target);
  if (!c || c == this) return;
  CWpSegment::DuplicateAttribute(target);
  if (Observee* io = GetObservee()) io->Register(c);
  c->outline_pen_ = outline_pen_;
  c->core_brush_ = core_brush_;
  c->lost_brush_ = lost_brush_;
  c->text_font_ = text_font_;
  c->text_visible_ = text_visible_;
  c->bar_width_ = bar_width_;
}

}  // namespace davodu
