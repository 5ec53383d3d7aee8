// The sand layer table kit: sub-columns, the data link and editing.
#include "davodu/special/wp_sand_stratum.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "davodu/data/data_sources.h"
#include "davodu/data/wd_mgr.h"
#include "davodu/host/util/exceptions.h"
#include "davodu/host/util/gbk.h"
#include "davodu/host/util/util.h"
#include "davodu/store/well_catalogs.h"
#include "davodu/store/well_data_manager.h"

namespace davodu {

DAVODU_IMPLEMENT_DYNCREATE(CWpSandStratum, CWpSegment)

CWpSandStratum::CWpSandStratum(CZuLayer* layer) : CWpSegment(layer) { Initialize(); }

void CWpSandStratum::Initialize() {
  class_name_ = "CWpSandStratum";
  name_ = type_name_ = "WpSandStratum";
  title_text_ = Gbk("砂层");
  data_source_ = SAND_CLASS2;
  fields_ = DefaultSandStratumFields();
  cell_font_ = ZULOGFONT{};
  cell_font_.height = 200;
  cell_font_.SetFaceName(Gbk("宋体"));
  head_font_ = cell_font_;
  line_pen_ = ZULOGPEN{};
  line_pen_.color = 0;
  line_pen_.color2 = 0xFFFFFF;
  line_pen_.width = 10;
}

void CWpSandStratum::Clear() {
  SepFrmObservee();
  CWpSegment::Clear();
  Initialize();
}

std::string CWpSandStratum::KindLabel() const { return Gbk("砂层数据"); }

// ---------------------------------------------------------------- settings

bool CWpSandStratum::IsFloodingField(const std::string& field) {
  return field == Gbk("水淹级别") || field == Gbk("水淹解释") || EqualsNoCase(field, "flooding");
}

bool CWpSandStratum::FieldsValid(const std::vector<SandStratumField>& fields) {
  if (fields.empty() || fields.size() > kMaxSandStratumFields) return false;
  for (const SandStratumField& f : fields)
    if (f.field.empty() || f.decimals < -1 || f.decimals > kMaxSandStratumDecimals || !(f.width > 0 && f.width <= 100))
      return false;
  return true;
}

bool CWpSandStratum::SetFields(const std::vector<SandStratumField>& fields) {
  if (!FieldsValid(fields)) return false;
  fields_ = fields;
  // The head grows to hold the sub-column titles.
  if (GetStoredTitleHeight() < MinTitle()) SetTitleHeight(MinTitle());
  if (GetData())
    UpdateD2V();
  else
    for (WPSEGMENT& seg : segs_)
      if (auto* rec = dynamic_cast<SandStratumDIndex*>(seg.data.get())) rec->cells.resize(fields_.size());
  SetModifyFlag();
  InvalidSelf();
  return true;
}

bool CWpSandStratum::UsePreset(const std::string& name) {
  bool found = false;
  SetFields(SandStratumPresetFields(name, &found));
  return found;
}

bool CWpSandStratum::IfLineStyleUsed(int code) const {
  return CWpSegment::IfLineStyleUsed(code) || line_pen_.style == code;
}

void CWpSandStratum::Amplify(FLOATPOINT centre, double fx, double fy) {
  CWpSegment::Amplify(centre, fx, fy);
  cell_font_.height *= static_cast<float>(fx);
  head_font_.height *= static_cast<float>(fx);
  line_pen_.width *= static_cast<float>(fx);
}

void CWpSandStratum::DuplicateAttribute(CZuObject* target) {
  auto* s = dynamic_cast<CWpSandStratum*>(target);
  if (!s || s == this) return;
  CWpSegment::DuplicateAttribute(target);
  if (Observee* io = GetObservee()) io->Register(s);
  s->fields_ = fields_;
  s->cell_font_ = cell_font_;
  s->head_font_ = head_font_;
  s->line_pen_ = line_pen_;
}

// ---------------------------------------------------------------- data link

LogSandStratum2DIO* CWpSandStratum::FindDataObject(WDMgrIO* gateway) {
  return gateway->GetSandStratum2DIO(DATA_WELL, data_source_, GetWell());
}

void CWpSandStratum::TakeIdentifier(const LOGSANDSTRATUM& entry) { data_source_ = entry.index; }

void CWpSandStratum::ResetData() {
  // Rows stored with the column stay when there is no data to show.
  WDMgrIO* gateway = Gateway();
  LogSandStratum2DIO* io = gateway ? FindDataObject(gateway) : nullptr;
  if (!io) {
    SepFrmObservee();
    return;
  }
  ClearSeg();
  SetData(io);
}

void CWpSandStratum::SetSandType(int type) {
  if (type == data_source_ || type < SAND_CLASS1 || type > SAND_INTERLAYER) return;
  data_source_ = type;
  ResetData();
}

bool CWpSandStratum::FloodColorOf(const std::string& grade, COLORREF* color) {
  auto* adapter = dynamic_cast<WDMgrAdapter*>(Gateway());
  CWellDataManager* mgr = adapter ? adapter->GetManager() : nullptr;
  std::shared_ptr<CSymbolManager> set = mgr ? mgr->GetInundationSymbolManager() : nullptr;
  const int i = set ? set->FindData(TrimBlanks(grade)) : -1;
  if (i < 0) return false;
  *color = set->GetColor(i);
  return true;
}

void CWpSandStratum::FillCells(LogSandStratum2DIO* io, SandStratumDIndex* rec) {
  rec->cells.clear();
  rec->has_flood_color = false;
  for (const SandStratumField& f : fields_) {
    std::string text;
    if (f.decimals >= 0) {
      const double v = io->GetValue(rec->index, f.field);
      if (!IsMissing(v) && std::isfinite(v)) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%.*f", f.decimals, v);
        text = buf;
      }
    } else {
      text = TrimBlanks(io->GetText(rec->index, f.field));
    }
    if (IsFloodingField(f.field) && !text.empty() && !rec->has_flood_color)
      rec->has_flood_color = FloodColorOf(text, &rec->flood_color);
    rec->cells.push_back(std::move(text));
  }
}

void CWpSandStratum::UpdateD2V() {
  if (LogSandStratum2DIO* io = GetData()) {
    ClearSeg();
    const int n = io->GetCount();
    for (int i = 0; i < n; ++i) {
      const double top = io->GetTop(i), bottom = io->GetBottom(i);
      if (IsMissing(top) || IsMissing(bottom) || !(bottom > top) || !InDepthRange(top, bottom)) continue;
      const int at = AddASeg(DepToMapY(top), DepToMapY(bottom));
      if (at < 0) continue;
      WPSEGMENT& seg = segs_[static_cast<std::size_t>(at)];
      auto rec = std::make_shared<SandStratumDIndex>(i);
      FillCells(io, rec.get());
      seg.data = std::move(rec);
      seg.top_depth = top;
      seg.bottom_depth = bottom;
    }
  }
  InvalidBody();
}

void CWpSandStratum::UpdateSegDepth() {
  if (GetData())
    UpdateD2V();
  else
    CWpSegment::UpdateSegDepth();
}

const SandStratumDIndex* CWpSandStratum::Record(int i) const {
  if (i < 0 || i >= GetSegCount())
    throw CInvalidArgException("CWpSandStratum: no row " + std::to_string(i));
  return dynamic_cast<const SandStratumDIndex*>(segs_[static_cast<std::size_t>(i)].data.get());
}

const std::vector<std::string>& CWpSandStratum::GetCells(int i) const {
  static const std::vector<std::string> kNone;
  const SandStratumDIndex* rec = Record(i);
  return rec ? rec->cells : kNone;
}

bool CWpSandStratum::GetFloodColor(int i, COLORREF* color) const {
  const SandStratumDIndex* rec = Record(i);
  if (!rec || !rec->has_flood_color) return false;
  if (color) *color = rec->flood_color;
  return true;
}

// ---------------------------------------------------------------- editing

int CWpSandStratum::RecordOf(int index) const {
  if (index < 0 || index >= GetSegCount()) return -1;
  const auto* rec = dynamic_cast<const DataIndex*>(segs_[static_cast<std::size_t>(index)].data.get());
  return rec ? rec->index : -1;
}

void CWpSandStratum::MoveSeg(int index, double dy) {
  LogSandStratum2DIO* io = GetData();
  if (!io) {
    CWpSegment::MoveSeg(index, dy);
    SetModifyFlag();
    return;
  }
  const int record = RecordOf(index);
  if (record < 0) return;
  const WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  const double d = SegmentShift(segs_, index, kPickInside, dy, GetBodyTop(), GetBodyBottom(), 0);
  const double shift = static_cast<double>(MapYToDep(static_cast<float>(seg.top + d))) -
                       MapYToDep(static_cast<float>(seg.top));
  if (shift == 0) return;
  SettleEdit(io->Move(record, shift));
}

void CWpSandStratum::MoveSegP(int index, double dy, int which) {
  LogSandStratum2DIO* io = GetData();
  if (!io) {
    CWpSegment::MoveSegP(index, dy, which);
    SetModifyFlag();
    return;
  }
  const int record = RecordOf(index);
  if (record < 0 || (which != kPickTop && which != kPickBottom)) return;
  const WPSEGMENT& seg = segs_[static_cast<std::size_t>(index)];
  const double d = SegmentShift(segs_, index, which, dy, GetBodyTop(), GetBodyBottom(), MinSegThickness());
  const double y = (which == kPickTop ? seg.top : seg.bottom) + d;
  const double depth = MapYToDep(static_cast<float>(y));
  SettleEdit(which == kPickTop ? io->SetTop(record, depth) : io->SetBottom(record, depth));
}

}  // namespace davodu
